#include "nmx/openarrays/columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "openarrays/nd_builders.h"
#include "support/tolerance.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(MeanCenter, ColumnsAndRows) {
  // Columns {1, 2, 6} and {10, 20, 30}: means 3 and 20; rows means 5.5, 11, 18.
  TDouble2DArray A{{1, 2, 6}, {10, 20, 30}};
  TDoubleArray Means{0};
  MeanCenterColumnsOfArray(A, Means);
  EXPECT_EQ(A, (TDouble2DArray{{-2, -1, 3}, {-10, 0, 10}}));
  EXPECT_EQ(Means, (TDoubleArray{3, 20}));

  TDouble2DArray B{{1, 2, 6}, {10, 20, 30}};
  TDoubleArray NoMeans;
  MeanCenterRowsOfArray(B, NoMeans);
  EXPECT_EQ(B, (TDouble2DArray{{-4.5, -9, -12}, {4.5, 9, 12}}));
  EXPECT_TRUE(NoMeans.empty());  // an empty Means is not filled
  TDoubleArray RowMeans{1, 2, 3, 4, 5};
  TDouble2DArray C{{1, 2, 6}, {10, 20, 30}};
  MeanCenterRowsOfArray(C, RowMeans);
  EXPECT_EQ(RowMeans, (TDoubleArray{5.5, 11, 18}));

  TDouble2DArray Empty;
  TDoubleArray Kept{7};
  MeanCenterColumnsOfArray(Empty, Kept);
  EXPECT_EQ(Kept, TDoubleArray{7});
}

TEST(Normalize, UnitLengthAndZeroColumns) {
  TDouble2DArray A{{3, 4}, {0, 0}, {1e200, 1e200}};
  EXPECT_EQ(NormalizeColumns(A), -1);  // the zero column stays and is reported
  EXPECT_EQ(A[0], (TDoubleArray{0.6, 0.8}));
  EXPECT_EQ(A[1], (TDoubleArray{0, 0}));
  // sqrt(2e400) overflows as a plain sum of squares; the length is 1e200·sqrt(2).
  NMX_EXPECT_ULPS(A[2][0], std::sqrt(0.5), 2);

  TDouble2DArray B{{3, 0}, {4, 5}};
  EXPECT_EQ(NormalizeRows(B), 0);
  EXPECT_EQ(B, (TDouble2DArray{{0.6, 0}, {0.8, 1}}));
  TDouble2DArray Empty;
  EXPECT_EQ(NormalizeRows(Empty), -1);
}

TEST(PearsonCorrCoeffColsOfArray, FromDeviations) {
  // x = 1..5, y = 2, 1, 4, 3, 5: Σdxdy = 8, Σdx² = Σdy² = 10, r = 0.8 (closed form).
  const TDoubleArray X{1, 2, 3, 4, 5}, Y{2, 1, 4, 3, 5};
  NMX_EXPECT_ULPS(PearsonCorrCoeffColsOfArray(TDouble2DArray{X, Y}, 0, 1), 0.8, 4);
  // The same around 1e9 (exact doubles): raw power sums lose every digit here.
  TDoubleArray Xo = X, Yo = Y;
  for (double& V : Xo) V += 1e9;
  for (double& V : Yo) V += 1e9;
  NMX_EXPECT_ULPS(PearsonCorrCoeffColsOfArray(TDouble2DArray{Xo, Yo}, 0, 1), 0.8, 4);
  // Exactly linear, falling, around 1e12 in steps of 0.5: r = -1.
  TDoubleArray U, V;
  for (int K = 0; K < 50; ++K) {
    U.push_back(1e12 + 0.5 * K);
    V.push_back(-3e12 - 1.5 * K);
  }
  NMX_EXPECT_ULPS(PearsonCorrCoeffColsOfArray(TDouble2DArray{U, V}, 0, 1), -1.0, 4);

  struct Case {
    TDouble2DArray A;
    int Col1, Col2;
  };
  const Case Zeros[] = {
      {{{1, 2}, {2, 1}}, 0, 1},                                      // fewer than 3 rows
      {{{1, 2, 3}, {4, 4, 4}}, 0, 1},                                // no spread
      {{{0, 0, 0}, {1, 2, 3}}, 0, 1},                                // a zero column
      {{{1, 2, 3}, {3, 1, 2}}, 0, 2},                                // column index outside
      {{{1, 2, 3}, {3, 1, 2}}, -1, 0}, {{{1, 2, 3}, {3, 1}}, 0, 1},  // ragged
  };
  for (const Case& C : Zeros) {
    SCOPED_TRACE(::testing::Message() << C.A.size() << " columns, " << C.Col1 << " and " << C.Col2);
    EXPECT_EQ(PearsonCorrCoeffColsOfArray(C.A, C.Col1, C.Col2), 0.0);
  }
}

TEST(DistanceOfObjects, ModesAndCodes) {
  // Two variables (columns), objects are rows: row 0 = (0, 0), row 1 = (3, 4), row 2 = (1, 2).
  const TDouble2DArray A{{0, 3, 1}, {0, 4, 2}};
  struct Case {
    NMX_nmxbase::TDistMode Mode;
    int Obj1, Obj2;
    double Expected;  // closed forms
  };
  const Case Cases[] = {
      {NMX_nmxbase::dmEuclidean, 0, 1, 5},
      {NMX_nmxbase::dmSqrEuclidean, 0, 1, 25},
      {NMX_nmxbase::dmManhattan, 1, 2, 4},                    // |3-1| + |4-2|
      {NMX_nmxbase::dmTanimoto, 1, 2, 11.0 / (25 + 5 - 11)},  // Σab = 3 + 8
      {NMX_nmxbase::dmDice, 1, 2, 22.0 / 30},
      {static_cast<NMX_nmxbase::TDistMode>(9), 1, 2, 0},  // an unknown ordinal: 0, status 0
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << int{C.Mode});
    double Dist = -1;
    ASSERT_EQ(DistanceOfObjects(A, C.Mode, C.Obj1, C.Obj2, 0, 1, Dist), 0);
    NMX_EXPECT_ULPS(Dist, C.Expected, 2);
  }
  double Dist = 0;
  ASSERT_EQ(DistanceOfObjects(A, NMX_nmxbase::dmEuclidean, 1, 2, 1, 1, Dist), 0);
  EXPECT_EQ(Dist, 2.0);  // variable 1 only

  struct Bad {
    NMX_nmxbase::TDistMode Mode;
    int Obj1, Obj2, First, Last;
    int Status;
  };
  const Bad Bads[] = {
      {NMX_nmxbase::dmUserDefined, 0, 1, 0, 1, -1},  {NMX_nmxbase::dmEuclidean, 0, 3, 0, 1, -2},
      {NMX_nmxbase::dmUserDefined, -1, 0, 0, 1, -2},  // later codes override
      {NMX_nmxbase::dmEuclidean, 0, 1, 0, 2, -3},    {NMX_nmxbase::dmEuclidean, 5, 1, -1, 0, -3},
      {NMX_nmxbase::dmEuclidean, 0, 1, 1, 0, -4},    {NMX_nmxbase::dmUserDefined, 9, 9, 2, -7, -4},
  };
  for (const Bad& B : Bads) {
    SCOPED_TRACE(::testing::Message() << "mode " << int{B.Mode} << " objects " << B.Obj1 << ","
                                      << B.Obj2 << " vars " << B.First << ".." << B.Last);
    double D = 7;
    EXPECT_EQ(DistanceOfObjects(A, B.Mode, B.Obj1, B.Obj2, B.First, B.Last, D), B.Status);
    EXPECT_EQ(D, 0.0);
  }
  EXPECT_EQ(DistanceOfObjects(TDouble2DArray{}, NMX_nmxbase::dmEuclidean, 0, 0, 0, 0, Dist), -3);
}

}  // namespace
