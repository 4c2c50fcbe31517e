#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "matrix/matrix_builders.h"
#include "nmx/matrix/matrix.h"
#include "nmx/platform/random.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector.h"
#include "support/tolerance.h"

namespace {

using mat_test::EventLog;
using mat_test::Rows;
using mat_test::RowsOf;
using mat_test::SetRows;
using NMX_matrix::TMatrix;
using NMX_vector::TVector;

std::vector<double> Values(const TVector& V) {
  return {V.Data().begin(), V.Data().end()};
}

// A one-column matrix of the given values.
void Column(TMatrix& M, const std::vector<double>& X) {
  Rows R;
  for (const double V : X) R.push_back({V});
  SetRows(M, R);
}

TEST(MatrixStats, MeanVarAndSums) {
  struct Case {
    std::vector<double> X;
    double Mean, Variance;
  };
  const Case Cases[] = {{{1, 3}, 2, 1}, {{1, 2, 6}, 3, 7}, {{5}, 5, 1}, {{4, 4, 4}, 4, 0}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.X.size() << " cells");
    TMatrix M;
    Column(M, C.X);
    double Mean = 0, Variance = 0;
    M.MeanVar(0, 0, 0, 0, Mean, Variance);
    EXPECT_EQ(Mean, C.Mean);
    EXPECT_EQ(Variance, C.Variance);
  }
  // A large common offset costs no digits: 1e9 + 1, +2, +3, +4 have the variance 5/3.
  TMatrix M;
  SetRows(M, {{1e9 + 1, 1e9 + 3}, {1e9 + 2, 1e9 + 4}});
  double Mean = 0, Variance = 0;
  M.MeanVar(0, 0, 0, 0, Mean, Variance);
  NMX_EXPECT_ULPS(Variance, 5.0 / 3.0, 2);
  EXPECT_EQ(M.Sum(2, 1, 2, 2), 2e9 + 7);
  double Lo = 0, Hi = 0;
  M.MinMax(1, 2, 2, 2, Lo, Hi);  // row 2 only
  EXPECT_EQ(Lo, 1e9 + 2);
  EXPECT_EQ(Hi, 1e9 + 4);
  EXPECT_EQ(M.CountValues(0, 0, 0, 0, 1e9 + 2, 1e9 + 3), 2);  // both ends count
}

TEST(MatrixStats, MeansOfOtherKinds) {
  TMatrix M;
  SetRows(M, {{1, 4}});
  EXPECT_EQ(M.GeometricMean(0, 0, 0, 0), 2.0);
  NMX_EXPECT_ULPS(M.HarmonicMean(0, 0, 0, 0), 1.6, 2);
  SetRows(M, {{0, 5}});
  EXPECT_EQ(M.GeometricMean(0, 0, 0, 0), 0.0);
  EXPECT_THROW(M.HarmonicMean(0, 0, 0, 0), NMX_matrix::ENMXMatrixError);
  SetRows(M, {{-1, 5}});
  M.SetName("M");
  try {
    M.GeometricMean(0, 0, 0, 0);
    FAIL() << "no exception";
  } catch (const NMX_matrix::ENMXMatrixError& E) {
    EXPECT_STREQ(E.what(), "Component \"M\": negative argument passed to GeometricMean");
  }
}

TEST(MatrixStats, SkewnessAndKurtosis) {
  // Reference: scipy.stats.skew([1, 2, 3, 10]) = 1.0910894511799618 scaled by the population
  // standard deviation; here the sample one: m3 / s³ with s² = Σd² / 3. Values 1, 2, 3, 10:
  // mean 4, d = -3 -2 -1 6, Σd² = 50, Σd³ = 180, Σd⁴ = 1394.
  TMatrix M;
  SetRows(M, {{1, 3}, {2, 10}});
  double S = 0, K = 0;
  M.SkewKurt(0, 0, 0, 0, S, K);
  const double Sd = std::sqrt(50.0 / 3.0);
  NMX_EXPECT_REL(S, 180.0 / 4.0 / (Sd * Sd * Sd), 1e-15);
  NMX_EXPECT_REL(K, 1394.0 / 4.0 / (Sd * Sd * Sd * Sd) - 3.0, 1e-15);
  M.SkewKurtSample(0, 0, 0, 0, S, K);
  NMX_EXPECT_REL(S, 180.0 / 4.0 / (Sd * Sd * Sd) * 16.0 / 3.0 / 2.0, 1e-15);
  SetRows(M, {{7, 7}, {7, 7}});
  M.SkewKurtSample(0, 0, 0, 0, S, K);
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(K, 0.0);
}

TEST(MatrixStats, QuartilesAndPercentiles) {
  struct Case {
    std::vector<double> X;
    double Q1, Q2, Q3;
  };
  const Case Cases[] = {{{4, 1, 3, 2}, 1.25, 2.5, 3.75},
                        {{3, 1, 2}, 1, 2, 3},
                        {{2, 1}, 1, 1.5, 2},
                        {{7}, 7, 7, 7}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.X.size() << " cells");
    TMatrix M;
    Column(M, C.X);
    double Q1 = 0, Q2 = 0, Q3 = 0;
    EXPECT_TRUE(M.Quartiles(0, 0, 0, 0, Q1, Q2, Q3));
    EXPECT_EQ(Q1, C.Q1);
    EXPECT_EQ(Q2, C.Q2);
    EXPECT_EQ(Q3, C.Q3);
  }
  TMatrix M;
  SetRows(M, {{4, 2}, {1, 3}});
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0), 3.0);
  EXPECT_EQ(M.Percentile(0, 0, 0, 0, 0), 1.0);
  EXPECT_EQ(M.Percentile(-5, 0, 0, 0, 0), 1.0);
  EXPECT_EQ(M.Percentile(100, 0, 0, 0, 0), 4.0);  // rank n: the largest
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0, 0), M.Percentile(50, 0, 0, 0, 0));
  // A sample of a range of zeros and positives: a prob among the zeros gives 0.
  TMatrix Z;
  Z.Resize(10, 10);
  Z.Fill(6, 10, 0, 0, 5.0);  // half zeros, half fives
  EXPECT_EQ(Z.Percentile(25, 0, 0, 0, 0, 50), 0.0);
  EXPECT_EQ(Z.Percentile(95, 0, 0, 0, 0, 50), 5.0);
}

TEST(MatrixStats, Histogram) {
  TMatrix M;
  SetRows(M, {{10.5, 11, -0.1}, {0, 3.5, std::numeric_limits<double>::quiet_NaN()}});
  NMX_nmxbase::TIntArray Histo;
  int Under = 0, Over = 0, MaxCnt = 0;
  ASSERT_TRUE(M.Histogram(0, 0, 0, 0, 0, 10, 1, Histo, Under, Over, MaxCnt));
  ASSERT_EQ(Histo.size(), 11u);
  EXPECT_EQ(Histo[10], 1);  // 10.5
  EXPECT_EQ(Histo[0], 1);
  EXPECT_EQ(Histo[3], 1);
  EXPECT_EQ(Over, 1);   // 11
  EXPECT_EQ(Under, 2);  // -0.1 and NaN
  EXPECT_EQ(MaxCnt, 1);
  Under = 99;
  EXPECT_FALSE(M.Histogram(0, 0, 0, 0, 0, 10, 0.01, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Under, 99);
  NMX_vector::TIntVector Counts;
  ASSERT_TRUE(M.Histogram(1, 1, 1, 2, 0, 10, 5, &Counts, Under, Over, MaxCnt));
  EXPECT_EQ(Counts.NrOfElem(), 3);
  EXPECT_EQ(Counts.GetVal(1), 1);  // 0
  EXPECT_EQ(Counts.GetVal(3), 1);  // 10.5
}

TEST(MatrixStats, Correlate) {
  TMatrix A, B;
  SetRows(A, {{1, 2}, {3, 5}});
  SetRows(B, {{2e9 + 2, 2e9 + 4}, {2e9 + 6, 2e9 + 10}});  // 2 A + 2e9: exactly linear
  EXPECT_EQ(A.Correlate(&B), 1.0);
  B.Fill(0.0);
  EXPECT_EQ(A.Correlate(&B), 0.0);
  B.Resize(1, 1);
  EXPECT_THROW(A.Correlate(&B), NMX_matrix::ENMXMatrixError);
}

TEST(MatrixStats, MeanVecAndNormalisations) {
  TMatrix M;
  SetRows(M, {{1, 10}, {3, 10}, {8, 40}});
  TVector Means, Sds;
  M.MeanVec(NMX_nmxbase::dimColumns, &Means);
  EXPECT_EQ(Values(Means), (std::vector<double>{4, 20}));
  M.MeanVec(NMX_nmxbase::dimRows, &Means);
  EXPECT_EQ(Values(Means), (std::vector<double>{5.5, 6.5, 24}));

  TMatrix S;
  S.Assign(&M);
  EventLog Log(S);
  S.StandardizeColumns(&Means, &Sds);
  EXPECT_EQ(Log.Calls, "C");
  EXPECT_EQ(Values(Means), (std::vector<double>{4, 20}));
  NMX_EXPECT_ULPS(Sds.GetVal(1), std::sqrt(13.0), 2);
  double Mean = 0, Variance = 0;
  S.MeanVar(1, 0, 1, 0, Mean, Variance);
  EXPECT_NEAR(Mean, 0.0, 1e-15);
  NMX_EXPECT_ULPS(Variance, 1.0, 4);
  S.Assign(&M);
  S.MeanCenterRows(&Means);
  EXPECT_EQ(RowsOf(S), (Rows{{-4.5, 4.5}, {-3.5, 3.5}, {-16, 16}}));
  // Two cells a row: variance 1, so rows are only centred and report 1.
  S.Assign(&M);
  S.StandardizeRows(nullptr, &Sds);
  EXPECT_EQ(Values(Sds), (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(RowsOf(S), (Rows{{-4.5, 4.5}, {-3.5, 3.5}, {-16, 16}}));

  TMatrix Q;
  SetRows(Q, {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}});
  TVector Medians, Diffs;
  Q.QNormalizeRows(0, &Medians, &Diffs);
  EXPECT_EQ(Medians.NrOfElem(), 5);
  EXPECT_EQ(Diffs.NrOfElem(), 5);
  EXPECT_EQ(Values(Medians), (std::vector<double>{2, 4, 6, 8, 10}));  // rank round(2 · 0.5) = 1
  Q.QNormalizeColumns(0, &Medians, &Diffs);
  EXPECT_EQ(Values(Diffs).size(), 2u);
}

TEST(MatrixStats, SortRowsMovesOnlyTheRange) {
  TMatrix M;
  SetRows(M, {{5, 50, 500, 1}, {3, 30, 300, 2}, {4, 40, 400, 3}, {1, 10, 100, 4}, {2, 20, 200, 5}});
  std::vector<int> Whats;
  M.OnSortExchange = [&](NMX_platform::TObject*, std::uint8_t What, int, int, int First,
                         int Last) {
    Whats.push_back(What);
    EXPECT_EQ(First, 2);
    EXPECT_EQ(Last, 3);
  };
  // Rows 1..5 by column 1; the cells of columns 2..3 move, and the keys outside them too.
  M.SortRows(1, true, 2, 1, 3, 5);
  EXPECT_EQ(RowsOf(M), (Rows{{1, 10, 100, 1}, {2, 20, 200, 2}, {3, 30, 300, 3}, {4, 40, 400, 4},
                             {5, 50, 500, 5}}));
  ASSERT_FALSE(Whats.empty());
  EXPECT_TRUE(std::all_of(Whats.begin(), Whats.end(), [](int W) { return W == 2; }));

  // Sorted data: no exchange, one change.
  M.OnSortExchange = nullptr;
  EventLog Log(M);
  M.SortRows(1, true, 0, 0, 0, 0);
  EXPECT_EQ(Log.Calls, "C");
  // The key column outside the moved range is sorted too; descending; by a row for columns.
  M.SortRows(4, false, 1, 1, 2, 5);
  EXPECT_EQ(RowsOf(M)[0], (std::vector<double>{5, 50, 100, 5}));
  M.SortCols(1, false, 0, 0, 0, 0);
  EXPECT_EQ(RowsOf(M)[0], (std::vector<double>{100, 50, 5, 5}));
  Log.Calls.clear();
  M.SortRows(1, true, 0, 3, 0, 3);  // one row: nothing fires
  EXPECT_EQ(Log.Calls, "");
}

// Without an exchange handler the sorts take a faster path; it must leave every cell where the
// exchanges would, equal keys included.
TEST(MatrixStats, SortsWithAndWithoutAHandlerAgree) {
  struct Case {
    bool Rows;
    int Key, LowCol, LowRow, HighCol, HighRow;
    bool Ascending;
  };
  const Case Cases[] = {{true, 1, 0, 0, 0, 0, true},   {true, 4, 2, 3, 5, 40, false},
                        {true, 6, 1, 1, 3, 60, true},  {false, 2, 0, 0, 0, 0, false},
                        {false, 50, 2, 10, 5, 30, true}, {false, 5, 1, 10, 6, 30, true}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << (C.Rows ? "rows by column " : "columns by row ") << C.Key);
    TMatrix Fast, Slow;
    Fast.Resize(6, 60);
    NMX_platform::SetRandSeed(17);
    Fast.FillRandomUniform(0, 4);
    for (int Col = 1; Col <= 6; ++Col) {
      for (int Row = 1; Row <= 60; ++Row) Fast.SetVal(Col, Row, std::floor(Fast.GetVal(Col, Row)) + Row * 1e-3 * (Col > 1));
    }
    Slow.Assign(&Fast);
    int Exchanges = 0;
    Slow.OnSortExchange = [&](NMX_platform::TObject*, std::uint8_t, int, int, int, int) { ++Exchanges; };
    if (C.Rows) {
      Fast.SortRows(C.Key, C.Ascending, C.LowCol, C.LowRow, C.HighCol, C.HighRow);
      Slow.SortRows(C.Key, C.Ascending, C.LowCol, C.LowRow, C.HighCol, C.HighRow);
    } else {
      Fast.SortCols(C.Key, C.Ascending, C.LowCol, C.LowRow, C.HighCol, C.HighRow);
      Slow.SortCols(C.Key, C.Ascending, C.LowCol, C.LowRow, C.HighCol, C.HighRow);
    }
    EXPECT_GT(Exchanges, 0);
    EXPECT_EQ(RowsOf(Fast), RowsOf(Slow));
  }
}

TEST(MatrixStats, MirrorAndExchange) {
  TMatrix M;
  SetRows(M, {{1, 2, 3}, {4, 5, 6}});
  EventLog Log(M);
  M.MirrorColumns();
  M.MirrorRows();
  EXPECT_EQ(RowsOf(M), (Rows{{6, 5, 4}, {3, 2, 1}}));
  M.ExchangeColumns(1, 3);
  M.ExchangeRows(1, 2);
  EXPECT_EQ(RowsOf(M), (Rows{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(Log.Calls, "CCCC");
}

TEST(MatrixStats, Searches) {
  TMatrix M;
  Column(M, {1, 3, 5, 7});
  struct Case {
    double Value;
    int Row;
  };
  for (const Case& C : {Case{5, 3}, Case{4, 3}, Case{100, 4}, Case{-100, 1}}) {
    SCOPED_TRACE(::testing::Message() << "value " << C.Value);
    EXPECT_EQ(M.FindInSortedColumn(1, true, C.Value), C.Row);
  }
  SetRows(M, {{1, 9}, {4, 2}});
  int Col = -1, Row = -1;
  M.Find(0, 0, 0, 0, 3.0, Col, Row);  // 2 and 4 are equally near: the first met
  EXPECT_EQ(Col, 1);
  EXPECT_EQ(Row, 2);
  NMX_nmxbase::TBool2DArray B;
  EXPECT_EQ(M.Dichotomize(2.0, B), 2);
  EXPECT_EQ(B, (NMX_nmxbase::TBool2DArray{{false, true}, {true, false}}));
}

TEST(MatrixStats, EdgeVector) {
  TMatrix M;
  SetRows(M, {{1, 2}, {3, 4}, {5, 6}, {7, 8}});
  TVector D;
  EXPECT_EQ(M.EdgeVector(NMX_nmxbase::orColwise, NMX_nmxbase::eoMean, {1, 2}, &D), 0);
  EXPECT_EQ(Values(D), (std::vector<double>{1.0, 1.5}));  // the sum of rows 1, 2 over 4 rows
  EXPECT_EQ(M.EdgeVector(NMX_nmxbase::orColwise, NMX_nmxbase::eoMean, &D), 0);
  EXPECT_EQ(Values(D), (std::vector<double>{4, 5}));
  EXPECT_EQ(M.EdgeVector(NMX_nmxbase::orRowwise, NMX_nmxbase::eoStdDev, &D), 0);
  EXPECT_EQ(Values(D), (std::vector<double>{0, 0, 0, 0}));  // two columns: fewer than 3
  EXPECT_EQ(M.EdgeVector(NMX_nmxbase::orRowwise, NMX_nmxbase::eoMax, {2, 5}, &D), -2);
  EXPECT_EQ(Values(D), (std::vector<double>{2, 4, 6, 8}));
  SetRows(M, {{1e9 + 1}, {1e9 + 2}, {1e9 + 3}, {1e9 + 4}});
  EXPECT_EQ(M.EdgeVector(NMX_nmxbase::orColwise, NMX_nmxbase::eoStdDev, &D), 0);
  NMX_EXPECT_ULPS(D.GetVal(1), std::sqrt(5.0 / 3.0), 2);
  EXPECT_EQ(M.EdgeVector(NMX_nmxbase::orColwise, NMX_nmxbase::eoMin, nullptr), -1);
}

TEST(MatrixStats, DistancesOfRows) {
  TMatrix M;
  SetRows(M, {{1, 2, 2}, {4, 6, 2}, {0, 0, 0}});
  struct Case {
    NMX_nmxbase::TDistMode Mode;
    double Want;
  };
  // a = (1, 2, 2), b = (4, 6, 2): Σab 20, Σa² 9, Σb² 56, differences 3, 4, 0.
  const Case Cases[] = {{NMX_nmxbase::dmTanimoto, 20.0 / 45.0}, {NMX_nmxbase::dmManhattan, 7},
                        {NMX_nmxbase::dmEuclidean, 5},           {NMX_nmxbase::dmSqrEuclidean, 25},
                        {NMX_nmxbase::dmDice, 40.0 / 65.0},       {NMX_nmxbase::dmUserDefined, 0}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(C.Mode));
    EXPECT_EQ(M.DistanceOfObjects(C.Mode, 1, 2), C.Want);
  }
  EXPECT_EQ(M.DistanceOfObjects(NMX_nmxbase::dmDice, 3, 3), 0.0);  // rows of zeros: 0, not NaN
  M.OnCalcDistance = [](NMX_platform::TObject*, int R1, int R2, double& D) { D = R1 * 10 + R2; };
  EXPECT_EQ(M.DistanceOfObjects(NMX_nmxbase::dmUserDefined, 1, 2), 12.0);

  TMatrix DMat;
  DMat.Resize(3, 3);
  DMat.Fill(9.0);
  EXPECT_EQ(M.CalcDistMat(NMX_nmxbase::dmUserDefined, &DMat), 0);
  EXPECT_EQ(RowsOf(DMat), (Rows{{0, 12, 13}, {12, 0, 23}, {13, 23, 0}}));  // the handler's
  // Every mode gives the bits of DistanceOfObjects, pair by pair.
  TMatrix R, D;
  NMX_platform::SetRandSeed(3);
  R.Resize(7, 23);
  R.FillRandomGauss(0, 1e3);
  D.Resize(23, 23);
  for (const auto Mode : {NMX_nmxbase::dmTanimoto, NMX_nmxbase::dmManhattan,
                          NMX_nmxbase::dmEuclidean, NMX_nmxbase::dmSqrEuclidean,
                          NMX_nmxbase::dmDice}) {
    SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(Mode));
    ASSERT_EQ(R.CalcDistMat(Mode, &D), 0);
    int Bad = 0;
    for (int I = 1; I <= 23; ++I) {
      for (int J = 1; J <= 23; ++J) {
        const double Want = I == J ? 0.0 : R.DistanceOfObjects(Mode, I, J);
        Bad += D.GetVal(I, J) != Want;
      }
    }
    EXPECT_EQ(Bad, 0);
  }
  // With a handler on DMat every cell goes through SetVal: 23 diagonal and 23 · 22 others.
  TMatrix Watched;
  Watched.Resize(23, 23);
  int Changes = 0;
  Watched.OnChange = [&](NMX_platform::TObject*) { ++Changes; };
  ASSERT_EQ(R.CalcDistMat(NMX_nmxbase::dmManhattan, &Watched), 0);
  EXPECT_EQ(Changes, 23 * 23);
  ASSERT_EQ(R.CalcDistMat(NMX_nmxbase::dmManhattan, &D), 0);
  EXPECT_EQ(RowsOf(Watched), RowsOf(D));
  TMatrix Wrong;
  Wrong.Resize(2, 3);
  Wrong.Fill(9.0);
  EXPECT_EQ(M.CalcDistMat(NMX_nmxbase::dmEuclidean, &Wrong), -2);
  Wrong.Resize(3, 2);
  EXPECT_EQ(M.CalcDistMat(NMX_nmxbase::dmEuclidean, &Wrong), -1);
  EXPECT_EQ(Wrong.GetVal(1, 1), 9.0);
}

TEST(MatrixStats, ResampleExtMat) {
  TMatrix Src, M;
  SetRows(Src, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}});
  NMX_nmxbase::TIntArray Cols(1), RowsIx(1);
  ASSERT_EQ(M.ResampleExtMat(&Src, 100, 100, false, Cols, RowsIx), 0);
  EXPECT_EQ(Cols, (NMX_nmxbase::TIntArray{1, 2, 3}));
  std::vector<int> Sorted(RowsIx.begin(), RowsIx.end());
  std::sort(Sorted.begin(), Sorted.end());
  EXPECT_EQ(Sorted, (std::vector<int>{1, 2, 3, 4}));  // a permutation of the rows
  for (int R = 1; R <= 4; ++R) {
    EXPECT_EQ(M.GetVal(2, R), Src.GetVal(2, RowsIx[static_cast<std::size_t>(R - 1)]));
  }
  ASSERT_EQ(M.ResampleExtMat(&Src, 67, 50, true, Cols, RowsIx), 0);
  EXPECT_EQ(M.NrOfColumns(), 2);
  EXPECT_EQ(M.NrOfRows(), 2);
  EXPECT_NE(Cols[0], Cols[1]);
  NMX_nmxbase::TIntArray Empty;
  EXPECT_EQ(M.ResampleExtMat(nullptr, 50, 50, true, Cols, RowsIx), -3);
  EXPECT_EQ(M.ResampleExtMat(&Src, 50, 50, true, Empty, RowsIx), -5);
  EXPECT_EQ(M.ResampleExtMat(&Src, 0, 0, true, Cols, RowsIx), -2);
  EXPECT_EQ(M.ResampleExtMat(&Src, 101, 50, true, Cols, RowsIx), -1);
  EXPECT_EQ(M.NrOfColumns(), 2);
}

}  // namespace
