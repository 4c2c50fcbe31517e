#include "nmx/openarrays/threshold.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using NMX_nmxbase::TBool2DArray;
using NMX_nmxbase::TBoolArray;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(DichotomizeArray, ThresholdAndInterval) {
  TBool2DArray B{{true}};
  ASSERT_EQ(DichotomizeArray(TDouble2DArray{{1, 2.5, kNaN}, {3, -1, 2}}, 2.0, B), 0);
  EXPECT_EQ(B, (TBool2DArray{{false, true, false}, {true, false, false}}));
  ASSERT_EQ(DichotomizeArray(TDouble2DArray{{1, 2.5, kNaN}, {3, -1, 2}}, 3.0, 1.0, B), 0);
  EXPECT_EQ(B, (TBool2DArray{{true, true, false}, {true, false, true}}));  // bounds inclusive

  TBoolArray C;
  ASSERT_EQ(DichotomizeArray(TIntArray{5, 6, 7}, 6, C), 0);
  EXPECT_EQ(C, (TBoolArray{false, false, true}));
  ASSERT_EQ(DichotomizeArray(TIntArray{5, 6, 7}, 6, 7, C), 0);
  EXPECT_EQ(C, (TBoolArray{false, true, true}));
  TBool2DArray D;
  ASSERT_EQ(DichotomizeArray(TInt2DArray{{0}, {1}}, 0, D), 0);
  EXPECT_EQ(D, (TBool2DArray{{false}, {true}}));

  // Empty and ragged arrays leave B alone.
  TBoolArray Kept{true};
  EXPECT_EQ(DichotomizeArray(TIntArray{}, 0, Kept), -1);
  EXPECT_EQ(DichotomizeArray(TIntArray{}, 0, 1, Kept), -1);
  EXPECT_EQ(Kept, TBoolArray{true});
  TBool2DArray Kept2{{true}};
  EXPECT_EQ(DichotomizeArray(TDouble2DArray{{1, 2}, {3}}, 0.0, Kept2), -1);
  EXPECT_EQ(Kept2, TBool2DArray{{true}});
}

TEST(DiscretizeArray, LevelsAndCodes) {
  // Three levels: 0 | 0.5 | 1, the middle one for 0 < x < 10.
  TDouble2DArray A{{-1, 0, 5, 9.99}, {10, 11, kNaN, 0.001}};
  ASSERT_EQ(DiscretizeArray(A, 3, 0, 10, 0, 1), 0);
  EXPECT_EQ(A[0], (TDoubleArray{0, 0, 0.5, 0.5}));
  EXPECT_EQ(A[1][0], 1.0);
  EXPECT_EQ(A[1][1], 1.0);
  EXPECT_TRUE(std::isnan(A[1][2]));
  EXPECT_EQ(A[1][3], 0.5);

  // Five levels -10, -5, 0, 5, 10 (step 5); inner steps of 1 from 0: (0,1) -> -5, [1,2) -> 0,
  // [2,3) -> 5.
  TDouble2DArray B{{0.5, 1, 2.5, 3}};
  ASSERT_EQ(DiscretizeArray(B, 5, 0, 3, -10, 10), 0);
  EXPECT_EQ(B[0], (TDoubleArray{-5, 0, 5, 10}));

  struct Case {
    int NLevels;
    double Low, High;
    int Status;
  };
  const Case Cases[] = {{2, 0, 1, -1}, {3, 1, 1, -2}, {2, 1, 0, -2}, {3, kNaN, 1, -2}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.NLevels << " levels " << C.Low << ".." << C.High);
    TDouble2DArray X{{4, 5}};
    EXPECT_EQ(DiscretizeArray(X, C.NLevels, C.Low, C.High, 0, 1), C.Status);
    EXPECT_EQ(X, (TDouble2DArray{{4, 5}}));
  }
}

}  // namespace
