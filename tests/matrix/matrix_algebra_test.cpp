#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "matrix/matrix_builders.h"
#include "matrix/svd.h"
#include "nmx/base/progress.h"
#include "nmx/matrix/matrix.h"
#include "nmx/vector/vector.h"
#include "support/tolerance.h"

namespace {

using mat_test::EventLog;
using mat_test::Rows;
using mat_test::RowsOf;
using mat_test::SetRows;
using NMX_matrix::TMatrix;
using NMX_vector::TVector;

// Restores the progress globals after a test that sets them.
struct ProgressGuard {
  ProgressGuard() { Reset(); }
  ~ProgressGuard() { Reset(); }
  static void Reset() {
    NMX_nmxbase::AbortMathProc = false;
    NMX_nmxbase::MathFeedBackProc = nullptr;
    NMX_nmxbase::ProcStat = 0.0;
  }
};

// A matrix of Nc columns and Nr rows with values of mixed magnitude and sign, so that a sum
// taken in any other order than the promised one rounds differently.
void FillAwkward(TMatrix& M, int Nc, int Nr, unsigned Seed) {
  std::mt19937_64 Gen(Seed);
  std::uniform_real_distribution<double> U(-1.0, 1.0);
  std::uniform_int_distribution<int> Exp(-20, 20);
  M.Resize(Nc, Nr);
  for (int c = 1; c <= Nc; ++c) {
    for (int r = 1; r <= Nr; ++r) M.SetVal(c, r, std::ldexp(U(Gen), Exp(Gen)));
  }
}

bool SameBits(double A, double B) {
  return std::memcmp(&A, &B, sizeof A) == 0;
}

TEST(MatrixAlgebra, ElementWiseArithmetic) {
  TMatrix A, B, R;
  SetRows(A, {{1, 2}, {3, 4}});
  SetRows(B, {{10, 20}, {30, 40}});
  EventLog Log(A);
  EXPECT_TRUE(A.Add(&B));
  EXPECT_EQ(RowsOf(A), (Rows{{11, 22}, {33, 44}}));
  EXPECT_TRUE(A.Subtract(&B));
  A.SMult(2.0);
  A.SAdd(-1.0);
  EXPECT_EQ(RowsOf(A), (Rows{{1, 3}, {5, 7}}));
  EXPECT_TRUE(A.EMult(&B, &R));
  EXPECT_EQ(RowsOf(R), (Rows{{10, 60}, {150, 280}}));
  EXPECT_EQ(Log.Calls, "CCCCC");
  TMatrix Other;
  Other.Resize(2, 3);
  EXPECT_FALSE(A.Add(&Other));
  EXPECT_FALSE(A.Subtract(nullptr));
  EXPECT_FALSE(A.EMult(&Other, &R));
  EXPECT_FALSE(A.EMult(&B, nullptr));
  EXPECT_EQ(Log.Calls, "CCCCC");
}

TEST(MatrixAlgebra, ProductShapes) {
  TMatrix A, B, R;
  SetRows(A, {{1, 2, 3}, {4, 5, 6}});  // 3 columns, 2 rows
  SetRows(B, {{1, 0, 2, 1}, {0, 1, 1, 2}, {1, 1, 0, 3}});  // 4 columns, 3 rows
  EXPECT_TRUE(A.Multiply(&B, &R));
  EXPECT_EQ(RowsOf(R), (Rows{{4, 5, 4, 14}, {10, 11, 13, 32}}));
  TMatrix Wrong, Untouched;
  Wrong.Resize(4, 2);
  SetRows(Untouched, {{7}});
  EXPECT_FALSE(A.Multiply(&Wrong, &Untouched));
  EXPECT_EQ(RowsOf(Untouched), (Rows{{7}}));

  TMatrix C;
  SetRows(C, {{1, 1, 1}, {2, 0, 1}});  // Bᵀ has 3 rows
  EXPECT_TRUE(A.MultiplyTransposed(&C, &R));
  EXPECT_EQ(RowsOf(R), (Rows{{6, 5}, {15, 14}}));
  EXPECT_FALSE(A.MultiplyTransposed(&B, &R));

  TMatrix D;
  SetRows(D, {{1}, {-1}});
  EventLog Log(A);
  EXPECT_TRUE(A.TransposeAndMultiply(&D, &R));
  EXPECT_EQ(RowsOf(R), (Rows{{-3}, {-3}, {-3}}));
  EXPECT_EQ(Log.Calls, "");  // Selfᵀ products fire nothing of Self

  TVector V, W;
  V.Resize(3);
  for (int K = 1; K <= 3; ++K) V.SetVal(K, K);
  EXPECT_TRUE(A.Multiply(&V, &W));
  EXPECT_EQ(std::vector<double>(W.Data().begin(), W.Data().end()), (std::vector<double>{14, 32}));
  EXPECT_EQ(Log.Calls, "C");
  EXPECT_TRUE(A.TransposeAndMultiply(&W, &V));
  EXPECT_EQ(std::vector<double>(V.Data().begin(), V.Data().end()),
            (std::vector<double>{142, 188, 234}));
  EXPECT_FALSE(A.TransposeAndMultiply(&V, &W));
  EXPECT_FALSE(A.Multiply(&W, &V));
}

TEST(MatrixAlgebra, ResultHandlersSeeOneChangePerCell) {
  TMatrix A, B, R;
  SetRows(A, {{1, 2}, {3, 4}});
  SetRows(B, {{1, 0}, {0, 1}});
  R.Resize(2, 2);
  EventLog Log(R);
  EXPECT_TRUE(A.Multiply(&B, &R));
  EXPECT_EQ(Log.Calls, "CCCC");
  EXPECT_EQ(RowsOf(R), RowsOf(A));
}

// Every product form gives the bits of its plain ascending-order loop, on sizes that leave
// remainders in any blocking.
TEST(MatrixAlgebra, ProductsAreTheAscendingLoopBitForBit) {
  struct Case {
    int M, K, N;
  };
  const Case Cases[] = {{1, 1, 1}, {7, 7, 7}, {63, 65, 7}, {65, 63, 66}, {257, 9, 65}, {5, 257, 3}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.M << " x " << C.K << " x " << C.N);
    TMatrix A, B, Bt, At, R;
    FillAwkward(A, C.K, C.M, 1);
    FillAwkward(B, C.N, C.K, 2);
    FillAwkward(Bt, C.K, C.N, 3);
    FillAwkward(At, C.M, C.K, 4);
    ASSERT_TRUE(A.Multiply(&B, &R));
    int Bad = 0;
    for (int i = 1; i <= C.M; ++i) {
      for (int j = 1; j <= C.N; ++j) {
        double S = 0.0;
        for (int k = 1; k <= C.K; ++k) S += A.GetVal(k, i) * B.GetVal(j, k);
        Bad += !SameBits(S, R.GetVal(j, i));
      }
    }
    ASSERT_TRUE(A.MultiplyTransposed(&Bt, &R));
    for (int i = 1; i <= C.M; ++i) {
      for (int j = 1; j <= C.N; ++j) {
        double S = 0.0;
        for (int k = 1; k <= C.K; ++k) S += A.GetVal(k, i) * Bt.GetVal(k, j);
        Bad += !SameBits(S, R.GetVal(j, i));
      }
    }
    ASSERT_TRUE(At.TransposeAndMultiply(&B, &R));
    for (int i = 1; i <= C.M; ++i) {
      for (int j = 1; j <= C.N; ++j) {
        double S = 0.0;
        for (int k = 1; k <= C.K; ++k) S += At.GetVal(i, k) * B.GetVal(j, k);
        Bad += !SameBits(S, R.GetVal(j, i));
      }
    }
    EXPECT_EQ(Bad, 0);
  }
}

TEST(MatrixAlgebra, SquareIsTheSameOnAnyNumberOfThreads) {
  ProgressGuard Guard;
  TMatrix A, One, Many, Default;
  FillAwkward(A, 70, 33, 5);
  ASSERT_TRUE(A.Square(&One, 3.0, 1));
  ASSERT_TRUE(A.Square(&Many, 3.0, 4));
  ASSERT_TRUE(A.Square(&Default, 3.0));
  ASSERT_EQ(One.NrOfColumns(), 70);
  ASSERT_EQ(One.NrOfRows(), 70);
  int Bad = 0;
  for (int i = 1; i <= 70; ++i) {
    for (int j = 1; j <= 70; ++j) {
      double S = 0.0;
      for (int r = 1; r <= 33; ++r) S += A.GetVal(i, r) * A.GetVal(j, r);
      S /= 3.0;
      Bad += !SameBits(S, One.GetVal(i, j)) + !SameBits(S, Many.GetVal(i, j)) +
             !SameBits(S, Default.GetVal(i, j));
    }
  }
  EXPECT_EQ(Bad, 0);
  EXPECT_EQ(NMX_nmxbase::ProcStat.load(), 3 * 70.0);
}

TEST(MatrixAlgebra, SquareOnThreadsReportsProgressAndStopsOnAbort) {
  ProgressGuard Guard;
  TMatrix A, R;
  FillAwkward(A, 3, 4, 6);
  std::vector<double> Seen;
  NMX_nmxbase::MathFeedBackProc = [&](double P) { Seen.push_back(P); };
  ASSERT_TRUE(A.Square(&R, 1.0, 1));
  EXPECT_EQ(Seen, (std::vector<double>{1, 2, 3}));
  Seen.clear();
  ASSERT_TRUE(A.Square(&R, 1.0, 8));  // three workers for three columns
  EXPECT_EQ(NMX_nmxbase::ProcStat.load(), 6.0);
  EXPECT_EQ(Seen.back(), 6.0);

  // Abort after the first row: later rows keep what the resize left.
  NMX_nmxbase::MathFeedBackProc = [](double) { NMX_nmxbase::AbortMathProc = true; };
  TMatrix Fresh;
  EXPECT_FALSE(A.Square(&Fresh, 1.0, 1));
  EXPECT_NE(Fresh.GetVal(1, 1), 0.0);
  EXPECT_EQ(Fresh.GetVal(2, 2), 0.0);
  EXPECT_FALSE(A.Square(&Fresh, 1.0, 4));
  EXPECT_FALSE(A.Square(nullptr, 1.0, 1));
}

TEST(MatrixAlgebra, SquareOfItself) {
  TMatrix A;
  SetRows(A, {{1, 2}, {3, 4}});
  ASSERT_TRUE(A.Square(&A, 1.0, 1));
  EXPECT_EQ(RowsOf(A), (Rows{{10, 14}, {14, 20}}));
}

TEST(MatrixAlgebra, TransposeAndTrace) {
  TMatrix A;
  SetRows(A, {{1, 2, 3}, {4, 5, 6}});
  EventLog Log(A);
  EXPECT_TRUE(A.Transpose());
  EXPECT_EQ(Log.Calls, "CR");
  EXPECT_EQ(RowsOf(A), (Rows{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_EQ(A.Trace(), 0.0);  // not square
  TMatrix B;
  FillAwkward(B, 37, 45, 8);
  TMatrix C;
  C.Assign(&B);
  C.Transpose();
  C.Transpose();
  EXPECT_EQ(RowsOf(C), RowsOf(B));
  SetRows(B, {{1, 2}, {3, 4}});
  EXPECT_EQ(B.Trace(), 5.0);
}

TEST(MatrixAlgebra, Norms) {
  TMatrix A;
  SetRows(A, {{1, -2}, {3, 4}});
  EXPECT_EQ(A.Norm(NMX_matrix::ntColwise), 6.0);
  EXPECT_EQ(A.Norm(NMX_matrix::ntRowwise), 7.0);
  EXPECT_EQ(A.Norm(NMX_matrix::ntFrobenius), std::sqrt(30.0));
  EXPECT_EQ(A.Norm(static_cast<NMX_matrix::TNormType>(9)), 0.0);
  SetRows(A, {{3, 0}, {0, -5}});
  EXPECT_EQ(A.Norm(NMX_matrix::ntSpectral), 5.0);
  // [[1, 2], [3, 4]]: the square root of the larger eigenvalue 15 + sqrt(221) of AᵀA.
  SetRows(A, {{1, 2}, {3, 4}});
  NMX_EXPECT_ULPS(A.Norm(NMX_matrix::ntSpectral), std::sqrt(15.0 + std::sqrt(221.0)), 8);
  // Fewer rows than columns: one row (1, 2, 3) has the norm sqrt(14).
  SetRows(A, {{1, 2, 3}});
  NMX_EXPECT_ULPS(A.Norm(NMX_matrix::ntSpectral), std::sqrt(14.0), 8);
  // Huge entries: no square overflows.
  SetRows(A, {{3e200, 0}, {4e200, 0}});
  NMX_EXPECT_ULPS(A.Norm(NMX_matrix::ntFrobenius), 5e200, 2);
  NMX_EXPECT_ULPS(A.Norm(NMX_matrix::ntSpectral), 5e200, 8);
}

TEST(MatrixAlgebra, SpectralNormAbortRaises) {
  ProgressGuard Guard;
  TMatrix A;
  SetRows(A, {{1, 2}, {3, 4}});
  NMX_nmxbase::AbortMathProc = true;
  try {
    A.Norm(NMX_matrix::ntSpectral);
    FAIL() << "no exception";
  } catch (const NMX_matrix::ENMXMatrixError& E) {
    EXPECT_STREQ(E.what(), "near singular covariance matrix");
  }
}

// A = U diag(W) Vᵀ with orthonormal V, on tall, square and wide matrices.
TEST(MatrixAlgebra, SingularValueDecompositionRebuildsItsInput) {
  const int Shapes[][2] = {{7, 5}, {6, 6}, {3, 5}, {1, 1}, {40, 12}};
  for (const auto& S : Shapes) {
    const int M = S[0], N = S[1];
    SCOPED_TRACE(::testing::Message() << M << " x " << N);
    std::mt19937_64 Gen(static_cast<unsigned>(M * 100 + N));
    std::uniform_real_distribution<double> U(-1.0, 1.0);
    std::vector<double> A(static_cast<std::size_t>(M * N)), Orig, V, W;
    for (double& X : A) X = U(Gen);
    Orig = A;
    ASSERT_TRUE(NMX_matrix::detail::SingularValueDecomposition(M, N, A, V, W));
    for (int i = 0; i < M; ++i) {
      for (int j = 0; j < N; ++j) {
        double X = 0.0;
        for (int k = 0; k < N; ++k) X += A[static_cast<std::size_t>(k * M + i)] * W[static_cast<std::size_t>(k)] * V[static_cast<std::size_t>(k * N + j)];
        EXPECT_NEAR(X, Orig[static_cast<std::size_t>(j * M + i)], 1e-13);
      }
    }
    for (int p = 0; p < N; ++p) {
      EXPECT_GE(W[static_cast<std::size_t>(p)], 0.0);
      for (int q = 0; q < N; ++q) {
        double X = 0.0;
        for (int k = 0; k < N; ++k) X += V[static_cast<std::size_t>(p * N + k)] * V[static_cast<std::size_t>(q * N + k)];
        EXPECT_NEAR(X, p == q ? 1.0 : 0.0, 1e-13);
      }
    }
  }
}

TEST(MatrixAlgebra, Cholesky) {
  TMatrix A, L;
  SetRows(A, {{4, 2}, {2, 3}});
  ASSERT_TRUE(A.CholeskyDecomp(&L));
  EXPECT_EQ(RowsOf(L), (Rows{{2, 0}, {1, std::sqrt(2.0)}}));
  EXPECT_EQ(A.GetVal(2, 1), 1.0);  // the upper-right cell holds Lᵀ
  EXPECT_EQ(A.GetVal(1, 2), 2.0);
  SetRows(A, {{1, 2}, {2, 1}});
  EXPECT_FALSE(A.CholeskyDecomp(&L));
  TMatrix NotSquare;
  NotSquare.Resize(2, 3);
  EXPECT_FALSE(NotSquare.CholeskyDecomp(&L));
  EXPECT_FALSE(A.CholeskyDecomp(nullptr));
  // L Lᵀ rebuilds a larger positive definite matrix (BᵀB + I), read from its lower triangle.
  TMatrix B, S;
  FillAwkward(B, 6, 9, 9);
  B.Square(&S, 1.0, 1);
  for (int i = 1; i <= 6; ++i) S.SetVal(i, i, S.GetVal(i, i) + 1.0);
  TMatrix Orig;
  Orig.Assign(&S);
  ASSERT_TRUE(S.CholeskyDecomp(&L));
  for (int i = 1; i <= 6; ++i) {
    for (int j = 1; j <= i; ++j) {
      double X = 0.0;
      for (int k = 1; k <= j; ++k) X += L.GetVal(k, i) * L.GetVal(k, j);
      NMX_EXPECT_REL(X, Orig.GetVal(j, i), 1e-14);
    }
  }
}

TEST(MatrixAlgebra, Balance) {
  TMatrix A;
  SetRows(A, {{1, 100, 0}, {0.01, 2, 50}, {3, 0.5, 3}});
  TMatrix Orig;
  Orig.Assign(&A);
  EXPECT_TRUE(A.Balance(0.5));  // the tolerance becomes 1.000001
  // A similarity: the diagonal and the trace stay, and each product a(i,k) a(k,i) too.
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(A.GetVal(i, i), Orig.GetVal(i, i));
    for (int k = 1; k <= 3; ++k) {
      NMX_EXPECT_REL(A.GetVal(k, i) * A.GetVal(i, k), Orig.GetVal(k, i) * Orig.GetVal(i, k), 1e-14);
    }
  }
  // Row and column sums off the diagonal now agree closely.
  for (int i = 1; i <= 3; ++i) {
    double R = 0, C = 0;
    for (int k = 1; k <= 3; ++k) {
      if (k == i) continue;
      R += std::fabs(A.GetVal(k, i));
      C += std::fabs(A.GetVal(i, k));
    }
    EXPECT_NEAR(R / C, 1.0, 1e-5);
  }
  // A row without off-diagonal weight stays as it is instead of turning into NaN.
  SetRows(A, {{1, 0}, {5, 2}});
  EXPECT_TRUE(A.Balance(1.01));
  EXPECT_EQ(RowsOf(A), (Rows{{1, 0}, {5, 2}}));
  A.Resize(3, 2);
  EXPECT_FALSE(A.Balance(1.01));
}

TEST(MatrixAlgebra, Diff) {
  TMatrix A;
  SetRows(A, {{1, 10}, {4, 20}, {9, 40}, {16, 80}});
  TMatrix B;
  B.Assign(&A);
  EventLog Log(B);
  EXPECT_EQ(B.Diff(1, NMX_nmxbase::acrColumns), 0);
  EXPECT_EQ(RowsOf(B), (Rows{{3, 10}, {5, 20}, {7, 40}}));
  EXPECT_EQ(Log.Calls, "CRCR");
  B.Assign(&A);
  EXPECT_EQ(B.Diff(2, NMX_nmxbase::acrColumns), 0);
  EXPECT_EQ(RowsOf(B), (Rows{{2, 10}, {2, 20}}));
  B.Assign(&A);
  EXPECT_EQ(B.Diff(4, NMX_nmxbase::acrColumns), -2);
  EXPECT_EQ(B.Diff(0, NMX_nmxbase::acrColumns), -1);
  EXPECT_EQ(B.Diff(11, NMX_nmxbase::acrRows), -1);
  EXPECT_EQ(B.Diff(2, NMX_nmxbase::acrRows), -2);
  EXPECT_EQ(B.Diff(1, static_cast<NMX_nmxbase::TApplyColRow>(5)), 0);
  EXPECT_EQ(RowsOf(B), RowsOf(A));
  EXPECT_EQ(B.Diff(1, NMX_nmxbase::acrRows), 0);
  EXPECT_EQ(RowsOf(B), (Rows{{9}, {16}, {31}, {64}}));
}

}  // namespace
