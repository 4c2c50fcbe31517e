#include "nmx/openarrays/edge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "nmx/base/constants.h"
#include "openarrays/nd_builders.h"
#include "support/tolerance.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using NMX_nmxbase::eoMax;
using NMX_nmxbase::eoMean;
using NMX_nmxbase::eoMin;
using NMX_nmxbase::eoStdDev;
using NMX_nmxbase::eoSum;
using NMX_nmxbase::orColwise;
using NMX_nmxbase::orRowwise;
using NMX_nmxbase::TEdgeOp;
using NMX_nmxbase::TOrientation;

// 2 columns of 4 rows: column 0 = 1, 2, 3, 4; column 1 = 10, 20, 30, 40.
const TDouble2DArray kD{{1, 2, 3, 4}, {10, 20, 30, 40}};
const TInt2DArray kI{{1, 2, 3, 4}, {10, 20, 30, 40}};

struct TCase {
  const char* Name;
  TOrientation Orient;
  TEdgeOp Op;
  TIntArray Ix;
  int Status;
  TDoubleArray Double;  // the result for kD
  TDoubleArray Int;     // the result for kI
};

TEST(EdgeVector, RulesOfEachStatistic) {
  const double Max = NMX_univconst::uc_MaxDouble;
  const TCase Cases[] = {
      {"row minima", orRowwise, eoMin, {}, 0, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {"column maxima of rows 1, 3", orColwise, eoMax, {1, 3}, 0, {4, 40}, {4, 40}},
      {"row sums, column 1 twice", orRowwise, eoSum, {1, 1}, 0, {20, 40, 60, 80}, {20, 40, 60, 80}},
      {"column sums", orColwise, eoSum, {}, 0, {10, 100}, {10, 100}},
      // The means of the whole rows and columns.
      {"row means", orRowwise, eoMean, {}, 0, {5.5, 11, 16.5, 22}, {5.5, 11, 16.5, 22}},
      {"column means", orColwise, eoMean, {}, 0, {2.5, 25}, {2.5, 25}},
      // Down the columns: divided by the rows taken for doubles, by all 4 rows for integers.
      {"column means of rows 0, 1", orColwise, eoMean, {0, 1}, 0, {1.5, 15}, {0.75, 7.5}},
      // Across the rows always by the 2 columns of the array.
      {"row means of column 0", orRowwise, eoMean, {0}, 0, {0.5, 1, 1.5, 2}, {0.5, 1, 1.5, 2}},
      // Fewer than three values give 0.
      {"row deviations of two columns", orRowwise, eoStdDev, {}, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
      // Rows 0..2 of column 0: 1, 2, 3 (deviation 1); of column 1: 10, 20, 30 (10).
      {"column deviations of rows 0..2", orColwise, eoStdDev, {2, 0, 1}, 0, {1, 10}, {1, 10}},
      // Invalid indices are skipped and reported; no valid index at all leaves the start
      // values (and a mean of 0).
      {"row sums, columns 0 and 5", orRowwise, eoSum, {0, 5}, -2, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {"column maxima of row -1", orColwise, eoMax, {-1}, -2, {-Max, -Max}, {-Max, -Max}},
      {"column minima of row 4", orColwise, eoMin, {4}, -2, {Max, Max}, {Max, Max}},
      {"column means of row 9", orColwise, eoMean, {9}, -2, {0, 0}, {0, 0}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TDoubleArray Dest{-1};
    EXPECT_EQ(EdgeVector(kD, C.Orient, C.Op, C.Ix, Dest), C.Status);
    EXPECT_EQ(Dest, C.Double);
    Dest = {-1};
    EXPECT_EQ(EdgeVector(kI, C.Orient, C.Op, C.Ix, Dest), C.Status);
    EXPECT_EQ(Dest, C.Int);
    if (C.Ix.empty()) {
      Dest = {-1};
      EXPECT_EQ(EdgeVector(kD, C.Orient, C.Op, Dest), C.Status);
      EXPECT_EQ(Dest, C.Double);
    }
  }
}

TEST(EdgeVector, NoColumnsOrNoRows) {
  TDoubleArray Dest{7, 8};
  EXPECT_EQ(EdgeVector(TDouble2DArray{}, orRowwise, eoSum, Dest), -1);
  EXPECT_EQ(EdgeVector(TDouble2DArray{{}, {}}, orColwise, eoSum, Dest), -1);
  EXPECT_EQ(EdgeVector(TInt2DArray{{1, 2}, {3}}, orColwise, eoSum, Dest), -1);  // ragged
  EXPECT_EQ(EdgeVector(kD, static_cast<TOrientation>(2), eoSum, Dest), -2);
  EXPECT_EQ(EdgeVector(kD, orRowwise, static_cast<TEdgeOp>(5), Dest), -2);
  EXPECT_EQ(Dest, (TDoubleArray{7, 8}));
}

TEST(EdgeVector, ExtremesPassOverNaN) {
  const double Nan = std::numeric_limits<double>::quiet_NaN();
  const TDouble2DArray A{{Nan, 2}, {3, Nan}, {-1, 5}};
  TDoubleArray Dest;
  ASSERT_EQ(EdgeVector(A, orRowwise, eoMin, Dest), 0);
  EXPECT_EQ(Dest, (TDoubleArray{-1, 2}));
  ASSERT_EQ(EdgeVector(A, orRowwise, eoMax, Dest), 0);
  EXPECT_EQ(Dest, (TDoubleArray{3, 5}));
}

// Values 1e9 + 0.25·k, k = 0..4, in a row and in a column: the deviations are -0.5, -0.25, 0,
// 0.25, 0.5 exactly, so the deviation is sqrt(0.625 / 4) exactly as a closed form. The raw
// sums Σx² - (Σx)²/5 near 5e18 keep no digit of 0.625.
TEST(EdgeVector, LargeOffsetKeepsItsDigits) {
  const double Exact = std::sqrt(0.625 / 4);
  TDouble2DArray Cols(5, TDoubleArray(1));
  TDouble2DArray Rows(1, TDoubleArray(5));
  for (int K = 0; K < 5; ++K) {
    Cols[K][0] = 1e9 + 0.25 * K;
    Rows[0][K] = 1e9 + 0.25 * K;
  }
  TDoubleArray Dest;
  ASSERT_EQ(EdgeVector(Cols, orRowwise, eoStdDev, Dest), 0);
  ASSERT_EQ(Dest.size(), 1u);
  NMX_EXPECT_ULPS(Dest[0], Exact, 4);
  ASSERT_EQ(EdgeVector(Rows, orColwise, eoStdDev, TIntArray{4, 3, 2, 1, 0}, Dest), 0);
  NMX_EXPECT_ULPS(Dest[0], Exact, 4);
  // Integers around 2e9: 2000000000 + k, deviation sqrt(2.5).
  const TInt2DArray I{{2000000000, 2000000001, 2000000002, 2000000003, 2000000004}};
  ASSERT_EQ(EdgeVector(I, orColwise, eoStdDev, Dest), 0);
  NMX_EXPECT_ULPS(Dest[0], std::sqrt(2.5), 4);
}

}  // namespace
