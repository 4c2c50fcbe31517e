#include "nmx/openarrays/distribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using NMX_nmxbase::TBool2DArray;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The rank is min(round(n·prob/100), n - 1) with ties to even and no interpolation; the
// expected values are read off the sorted data by hand.
TEST(PercentileArray, RankWithoutInterpolation) {
  struct Case {
    TDoubleArray A;
    double Prob;
    double Expected;
  };
  const Case Cases[] = {
      {{4, 1, 3, 2}, 50, 3},     // rank round(2) = 2: the third smallest
      {{4, 1, 3, 2}, 0, 1},      //
      {{4, 1, 3, 2}, 100, 4},    // rank 4 is cut to n - 1
      {{4, 1, 3, 2}, 250, 4},    // prob clamped to 100
      {{4, 1, 3, 2}, -5, 1},     // and to 0
      {{7, 5}, 0, 5},            //
      {{7, 5}, 25, 5},           // n·prob/100 = 0.5 rounds to even 0
      {{7, 5}, 75, 7},           // 1.5 rounds to 2, cut to 1
      {{9, 8, 7, 6, 5}, 50, 7},  // 2.5 rounds to even 2
      {{9, 8, 7, 6, 5}, 70, 9},  // 3.5 rounds to even 4: the largest
      {{9, 8, 7, 6, 5}, 30, 7},  // 1.5 rounds to even 2
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "prob " << C.Prob << " of " << C.A.size());
    EXPECT_EQ(PercentileArray(C.Prob, C.A), C.Expected);
  }
  // The integer member and the untouched input.
  const TIntArray I{40, 10, 30, 20};
  EXPECT_EQ(PercentileArray(50.0, I), 30.0);
  EXPECT_EQ(I, (TIntArray{40, 10, 30, 20}));
  EXPECT_EQ(PercentileArray(50.0, TDoubleArray{}), 0.0);
  EXPECT_TRUE(std::isnan(PercentileArray(kNaN, TDoubleArray{1, 2})));
}

TEST(PercentileArray, RangesAreClipped) {
  const TDoubleArray A{10, 1, 7, 3, 5};
  struct Case {
    int Lo, Hi;
    double Expected;  // prob 100 of the clipped range: its largest value
  };
  const Case Cases[] = {{1, 3, 7}, {3, 1, 7}, {-4, 0, 10}, {2, 99, 7}, {-1, 99, 10}, {4, 4, 5}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "Lo " << C.Lo << " Hi " << C.Hi);
    EXPECT_EQ(PercentileArray(100.0, A, C.Lo, C.Hi), C.Expected);
  }
  EXPECT_EQ(PercentileArray(50.0, TDoubleArray{}, 0, 3), 0.0);

  // 3 columns of 2 rows: columns {1, 2}, {30, 40}, {5, 6}.
  const TDouble2DArray B{{1, 2}, {30, 40}, {5, 6}};
  EXPECT_EQ(PercentileArray(0.0, B, 1, 0, 2, 1), 5.0);       // columns 1..2
  EXPECT_EQ(PercentileArray(100.0, B, 0, 1, 2, 1), 40.0);    // row 1 only
  EXPECT_EQ(PercentileArray(100.0, B, 5, 7, -3, -1), 40.0);  // clipped and exchanged: all
  EXPECT_EQ(PercentileArray(50.0, TDouble2DArray{{1, 2}, {3}}, 0, 0, 1, 1), 0.0);  // ragged
}

TEST(FrequDistOfArray, CountsAndCodes) {
  // Bins of width 1 from 0: [0,1) [1,2) [2,3); 3 and above overflow, below 0 underflow.
  const TDoubleArray A{-0.5, 0, 0.5, 1, 2.999, 3, 7, kNaN};
  TIntArray Histo{99};
  int Under = -1, Over = -1, Max = -1;
  ASSERT_EQ(FrequDistOfArray(A, 0, 0, 0, 2, 1, Histo, Under, Over, Max), 0);
  EXPECT_EQ(Histo, (TIntArray{2, 1, 1}));
  EXPECT_EQ(Under, 1);
  EXPECT_EQ(Over, 2);  // the NaN is counted nowhere
  EXPECT_EQ(Max, 2);
  ASSERT_EQ(FrequDistOfArray(A, 1, 3, 0, 2, 1, Histo, Under, Over, Max), 0);
  EXPECT_EQ(Histo, (TIntArray{2, 1, 0}));
  EXPECT_EQ(Under + Over, 0);

  struct Case {
    int Lo, Hi;
    double First, Last, Width;
    int Status;
  };
  const Case Cases[] = {
      {-1, 2, 0, 2, 1, -1}, {0, 8, 0, 2, 1, -1},    {3, 1, 0, 2, 1, -2},
      {0, 1, 5, 5, 1, -3},  {0, 1, kNaN, 5, 1, -3}, {0, 1, 0, 2, 0, -4},
      {0, 1, 0, 2, -1, -4}, {0, 1, 0, 2, kNaN, -4}, {0, 1, 0, 10, 0.001, -5},
      {0, 1, 0, 999, 1, 0}, {0, 1, 0, 1000, 1, -5}, {0, 1, 0, HUGE_VAL, 1, -5},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.Lo << ".." << C.Hi << " bins " << C.First << ".."
                                      << C.Last << " width " << C.Width);
    TIntArray H{42};
    int U = 7, O = 7, M = 7;
    EXPECT_EQ(FrequDistOfArray(A, C.Lo, C.Hi, C.First, C.Last, C.Width, H, U, O, M), C.Status);
    if (C.Status != 0) {
      EXPECT_EQ(H, TIntArray{42});
      EXPECT_EQ(U + O + M, 21);
    }
  }
  EXPECT_EQ(FrequDistOfArray(TDoubleArray{}, 0, 0, 0, 2, 1, Histo, Under, Over, Max), -1);
}

// Bounds 0 and 1 with width 0.4: round(2.5) = 2, so 3 bins [0,.4) [.4,.8) [.8,1.2), and 1.2
// is where overflow starts.
TEST(FrequDistOfArray, TwoDimensionalAndMasked) {
  const TDouble2DArray A{{0.1, 0.5, 0.9}, {1.1, 1.3, -1}};
  TIntArray Histo;
  int Under = 0, Over = 0, Max = 0;
  ASSERT_EQ(FrequDistOfArray(A, 0, 0, 0, 0, 0, 1, 0.4, Histo, Under, Over, Max), 0);
  EXPECT_EQ(Histo, (TIntArray{1, 1, 2}));
  EXPECT_EQ(Under, 1);
  EXPECT_EQ(Over, 1);
  ASSERT_EQ(FrequDistOfArray(A, 0, 1, 1, 2, 0, 1, 0.4, Histo, Under, Over, Max), 0);
  EXPECT_EQ(Histo, (TIntArray{0, 1, 1}));  // 0.5, 0.9, 1.3 and -1 in rows 1..2
  EXPECT_EQ(Under, 1);
  EXPECT_EQ(Over, 1);

  const TBool2DArray AllTrue{{true, true, true}, {true, true, true}};
  ASSERT_EQ(FrequDistOfArray(A, AllTrue, 0, 0, 0, 0, 0, 1, 0.4, Histo, Under, Over, Max), 0);
  EXPECT_EQ(Histo, (TIntArray{0, 0, 0}));
  EXPECT_EQ(Under + Over + Max, 0);
  const TBool2DArray Some{{false, true, false}, {false, true, true}};
  ASSERT_EQ(FrequDistOfArray(A, Some, 0, 0, 0, 0, 0, 1, 0.4, Histo, Under, Over, Max), 0);
  EXPECT_EQ(Histo, (TIntArray{1, 0, 2}));  // 0.1, 0.9 and 1.1 counted
  EXPECT_EQ(Over, 0);
  EXPECT_EQ(Under, 0);

  struct Case {
    int LoCol, LoRow, HiCol, HiRow;
    TBool2DArray Mask;
    int Status;
  };
  const Case Cases[] = {
      {0, 0, 2, 0, Some, -1},
      {0, 0, 1, 3, Some, -1},
      {-1, 0, 1, 0, Some, -1},
      {1, 0, 0, 0, Some, -2},
      {0, 2, 1, 1, Some, -2},
      {0, 0, 1, 2, {{false, false}}, -6},
      {0, 0, 1, 2, {{false, false, false}, {false}}, -6},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << C.LoCol << "," << C.LoRow << " .. " << C.HiCol << "," << C.HiRow);
    TIntArray H{42};
    EXPECT_EQ(FrequDistOfArray(A, C.Mask, C.LoCol, C.LoRow, C.HiCol, C.HiRow, 0, 1, 0.4, H, Under,
                               Over, Max),
              C.Status);
    EXPECT_EQ(H, TIntArray{42});
  }
  // Bins are checked before the mask: a bad width wins over a Mask of other extents.
  EXPECT_EQ(FrequDistOfArray(A, TBool2DArray{}, 0, 0, 0, 0, 0, 1, 0, Histo, Under, Over, Max), -4);
  EXPECT_EQ(
      FrequDistOfArray(TDouble2DArray{{1, 2}, {3}}, 0, 0, 0, 0, 0, 1, 1, Histo, Under, Over, Max),
      -1);  // ragged
}

}  // namespace
