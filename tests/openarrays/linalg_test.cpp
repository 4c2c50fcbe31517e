#include "nmx/openarrays/linalg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

#include "math1/isa.h"
#include "nmx/base/progress.h"
#include "nmx/platform/random.h"
#include "openarrays/nd_builders.h"
#include "support/isa_levels.h"
#include "support/tolerance.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using NMX_nmxbase::acrColumns;
using NMX_nmxbase::acrRows;

constexpr double kEps = nmx_test::kEps;

// ---------------------------------------------------------------------------------------------
// Helpers.

using nmx_test::AtEachIsa;

// Restores the progress and abort globals however a test ends.
struct TGlobalsGuard {
  ~TGlobalsGuard() {
    NMX_nmxbase::AbortMathProc = false;
    NMX_nmxbase::MathFeedBackProc = nullptr;
  }
};

// The n × n matrix with entries Fn(row, column), as an array of columns.
template <class F>
TDouble2DArray MatrixOf(std::size_t Rows, std::size_t Cols, F Fn) {
  TDouble2DArray A(Cols, TDoubleArray(Rows));
  for (std::size_t J = 0; J < Cols; ++J) {
    for (std::size_t I = 0; I < Rows; ++I) A[J][I] = Fn(I, J);
  }
  return A;
}

TDouble2DArray RandomMatrix(std::size_t Rows, std::size_t Cols, std::uint64_t Seed) {
  NMX_platform::SetRandSeed(Seed);
  return MatrixOf(Rows, Cols,
                  [](std::size_t, std::size_t) { return 2 * NMX_platform::Random() - 1; });
}

// A plain product, M(i, j) = Σ_k A(i, k)·B(k, j) in ascending k from 0.
TDouble2DArray PlainProduct(const TDouble2DArray& A, const TDouble2DArray& B) {
  return MatrixOf(A[0].size(), B.size(), [&](std::size_t I, std::size_t J) {
    double S = 0.0;
    for (std::size_t K = 0; K < A.size(); ++K) S += A[K][I] * B[J][K];
    return S;
  });
}

double MaxAbsDiff(const TDouble2DArray& A, const TDouble2DArray& B) {
  double D = 0.0;
  for (std::size_t J = 0; J < A.size(); ++J) {
    for (std::size_t I = 0; I < A[J].size(); ++I) D = std::max(D, std::fabs(A[J][I] - B[J][I]));
  }
  return D;
}

double MaxAbs(const TDouble2DArray& A) {
  double D = 0.0;
  for (const auto& Col : A) {
    for (const double X : Col) D = std::max(D, std::fabs(X));
  }
  return D;
}

TDouble2DArray Identity(std::size_t N) {
  return MatrixOf(N, N, [](std::size_t I, std::size_t J) { return I == J ? 1.0 : 0.0; });
}

// Equal shapes and equal bits in every element (NaNs and the sign of zero included).
testing::AssertionResult SameBits(const TDouble2DArray& A, const TDouble2DArray& B) {
  if (A.size() != B.size()) return testing::AssertionFailure() << "column counts differ";
  for (std::size_t J = 0; J < A.size(); ++J) {
    if (A[J].size() != B[J].size()) {
      return testing::AssertionFailure() << "column " << J << " lengths differ";
    }
    for (std::size_t I = 0; I < A[J].size(); ++I) {
      if (std::bit_cast<std::uint64_t>(A[J][I]) != std::bit_cast<std::uint64_t>(B[J][I])) {
        return testing::AssertionFailure()
               << "[" << J << "][" << I << "]: " << nmx_test::Digits17(A[J][I]) << " vs "
               << nmx_test::Digits17(B[J][I]);
      }
    }
  }
  return testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------------------------
// The inversion written plainly, step for step as the algorithm reads: a row-major copy, the
// row scales, Crout's columns with the weighted pivot search (later rows win ties), the 1e-100
// substitute, then per column of the identity the forward substitution with the exchanges and
// its first-nonzero start, and the back substitution. Progress and abort as promised.
void RefStep() {
  const double S = NMX_nmxbase::ProcStat.load() + 1.0;
  NMX_nmxbase::ProcStat.store(S);
  if (NMX_nmxbase::MathFeedBackProc) NMX_nmxbase::MathFeedBackProc(S);
}

int RefInvert(TDouble2DArray& A) {
  const std::size_t N = A.size();
  if (N == 0 || A[0].size() != N) return -1;
  std::vector<std::vector<double>> M(N, std::vector<double>(N));
  for (std::size_t I = 0; I < N; ++I) {
    for (std::size_t J = 0; J < N; ++J) M[I][J] = A[J][I];
  }
  const auto Store = [&](const std::vector<std::vector<double>>& X) {
    for (std::size_t J = 0; J < N; ++J) {
      for (std::size_t I = 0; I < N; ++I) A[J][I] = X[I][J];
    }
  };
  std::vector<double> Scale(N);
  std::vector<std::size_t> Index(N);
  for (std::size_t I = 0; I < N; ++I) {
    if (NMX_nmxbase::AbortMathProc) return -3;
    double Big = 0.0;
    for (std::size_t J = 0; J < N; ++J) {
      if (std::fabs(M[I][J]) > Big) Big = std::fabs(M[I][J]);
    }
    if (Big == 0.0) return -3;
    Scale[I] = 1.0 / Big;
  }
  bool Singular = false;
  for (std::size_t J = 0; J < N; ++J) {
    RefStep();
    if (NMX_nmxbase::AbortMathProc) {
      Store(M);
      return -3;
    }
    for (std::size_t I = 0; I < J; ++I) {
      double Sum = M[I][J];
      for (std::size_t K = 0; K < I; ++K) Sum -= M[I][K] * M[K][J];
      M[I][J] = Sum;
    }
    double Big = 0.0;
    std::size_t P = J;
    for (std::size_t I = J; I < N; ++I) {
      double Sum = M[I][J];
      for (std::size_t K = 0; K < J; ++K) Sum -= M[I][K] * M[K][J];
      M[I][J] = Sum;
      if (Scale[I] * std::fabs(Sum) >= Big) {
        Big = Scale[I] * std::fabs(Sum);
        P = I;
      }
    }
    if (P != J) {
      std::swap(M[P], M[J]);
      Scale[P] = Scale[J];
    }
    Index[J] = P;
    if (std::fabs(M[J][J]) < 1e-100) {
      Singular = true;
      M[J][J] = 1e-100;
    }
    if (J + 1 < N) {
      for (std::size_t I = J + 1; I < N; ++I) M[I][J] = M[I][J] / M[J][J];
    }
  }
  if (Singular) {
    Store(M);
    return -3;
  }
  std::vector<std::vector<double>> R(N, std::vector<double>(N));
  for (std::size_t J = 0; J < N; ++J) {
    RefStep();
    if (NMX_nmxbase::AbortMathProc) {
      Store(M);
      return -3;
    }
    std::vector<double> B(N, 0.0);
    B[J] = 1.0;
    bool Started = false;
    std::size_t First = 0;
    for (std::size_t I = 0; I < N; ++I) {
      double S = B[Index[I]];
      B[Index[I]] = B[I];
      if (Started) {
        for (std::size_t K = First; K < I; ++K) S -= M[I][K] * B[K];
      } else if (S != 0.0) {
        Started = true;
        First = I;
      }
      B[I] = S;
    }
    for (std::size_t I = N; I-- > 0;) {
      double S = B[I];
      for (std::size_t K = I + 1; K < N; ++K) S -= M[I][K] * B[K];
      B[I] = S / M[I][I];
    }
    for (std::size_t I = 0; I < N; ++I) R[I][J] = B[I];
  }
  Store(R);
  return 0;
}

// Runs the library's inversion and the plain one on copies of A (each from the same progress
// count, with the same abort trigger) and expects the same status, the same bits in A and
// the same number of progress steps. AbortAt > 0 sets the abort flag at that step.
void ExpectSameAsReference(const TDouble2DArray& A, double AbortAt = 0) {
  TGlobalsGuard Guard;
  const auto Run = [&](const std::function<int(TDouble2DArray&)>& Invert, TDouble2DArray& X,
                       double& Steps) {
    NMX_nmxbase::ProcStat = 0.0;
    NMX_nmxbase::AbortMathProc = false;
    NMX_nmxbase::MathFeedBackProc = [AbortAt](double S) {
      if (AbortAt > 0 && S >= AbortAt) NMX_nmxbase::AbortMathProc = true;
    };
    const int Status = Invert(X);
    Steps = NMX_nmxbase::ProcStat.load();
    NMX_nmxbase::AbortMathProc = false;
    return Status;
  };
  TDouble2DArray Ours = A, Ref = A;
  double OurSteps = 0, RefSteps = 0;
  const int OurStatus = Run([](TDouble2DArray& X) { return InvertArray(X); }, Ours, OurSteps);
  const int RefStatus = Run(RefInvert, Ref, RefSteps);
  EXPECT_EQ(OurStatus, RefStatus);
  EXPECT_EQ(OurSteps, RefSteps);
  EXPECT_TRUE(SameBits(Ours, Ref));
}

// ---------------------------------------------------------------------------------------------
// InvertArray.

TEST(InvertArray, SameBitsAsThePlainAlgorithm) {
  // Sizes around the 32-column panels of the decomposition and the groups of 48 right-hand
  // sides (and blocks of 48 rows) of the substitutions; 290 runs the forward products past
  // their 256-deep blocks of k.
  struct TCase {
    std::size_t N;
    std::uint64_t Seed;
  };
  const TCase Cases[] = {{1, 11},  {2, 12},  {3, 13},   {7, 14},   {32, 15},
                         {33, 16}, {47, 19}, {48, 20},  {49, 22},  {70, 17},
                         {96, 23}, {97, 24}, {130, 18}, {145, 25}, {290, 26}};
  AtEachIsa([&] {
    for (const TCase& C : Cases) {
      SCOPED_TRACE(testing::Message() << "n = " << C.N << ", seed " << C.Seed);
      ExpectSameAsReference(RandomMatrix(C.N, C.N, C.Seed));
    }
  });
}

// One large case at the best level only (the plain reference is slow): many groups of
// right-hand sides, blocks of rows and panels, a partial group at the end.
TEST(InvertArray, SameBitsAtSize501) {
  ExpectSameAsReference(RandomMatrix(501, 501, 27));
}

// Inverses full of exact zeros, reached through sums of products with zeros of both signs:
// block-diagonal and lower-triangular patterns with their rows shuffled, zero cells +0 or -0.
// Here the blocked forward substitution's extra products must leave every sum, and every sign
// of zero, as the plain substitution has it.
TEST(InvertArray, SameBitsOnInversesWithZeros) {
  struct TCase {
    const char* Pattern;
    std::size_t N;
    bool (*NonZero)(std::size_t I, std::size_t J);
  };
  const TCase Cases[] = {
      {"blocks of 7", 60, [](std::size_t I, std::size_t J) { return I / 7 == J / 7; }},
      {"blocks of 7", 110, [](std::size_t I, std::size_t J) { return I / 7 == J / 7; }},
      {"lower triangle", 100, [](std::size_t I, std::size_t J) { return I >= J; }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Pattern << ", n = " << C.N);
    NMX_platform::SetRandSeed(30 + C.N);
    std::vector<std::size_t> Row(C.N);
    for (std::size_t I = 0; I < C.N; ++I) Row[I] = I;
    for (std::size_t I = C.N - 1; I > 0; --I) {
      std::swap(Row[I],
                Row[static_cast<std::size_t>(NMX_platform::Random(static_cast<int>(I + 1)))]);
    }
    const TDouble2DArray A = MatrixOf(C.N, C.N, [&](std::size_t I, std::size_t J) {
      const double R = NMX_platform::Random();
      if (!C.NonZero(Row[I], J)) return R < 0.5 ? 0.0 : -0.0;
      if (Row[I] == J) return R < 0.5 ? 4.0 : -4.0;
      return R < 0.3 ? 0.0 : 2 * R - 1;
    });
    TDouble2DArray X = A;
    ASSERT_EQ(InvertArray(X), 0);  // the solution is reached, not only the factors
    AtEachIsa([&] { ExpectSameAsReference(A); });
  }
}

// Small integers: many equal weighted magnitudes (the later row must win) and, now and then,
// a singular matrix whose decomposed state is compared too.
TEST(InvertArray, SameBitsOnTiesAndSingularMatrices) {
  for (std::uint64_t Seed = 1; Seed <= 12; ++Seed) {
    SCOPED_TRACE(testing::Message() << "seed " << Seed);
    NMX_platform::SetRandSeed(Seed);
    const std::size_t N = 3 + Seed * 5;
    const int Spread = Seed % 3 == 0 ? 2 : 3;  // narrower values make singular matrices likely
    ExpectSameAsReference(MatrixOf(N, N, [&](std::size_t, std::size_t) {
      return static_cast<double>(NMX_platform::Random(2 * Spread + 1) - Spread);
    }));
  }
}

TEST(InvertArray, AbortMidwayLeavesTheStateReached) {
  // Steps 1..n are the decomposition's columns, n+1..2n the columns of the solution.
  const TDouble2DArray A = RandomMatrix(75, 75, 21);
  for (const double AbortAt :
       {1.0, 2.0, 31.0, 33.0, 40.0, 64.0, 75.0, 76.0, 110.0, 123.0, 124.0, 150.0}) {
    SCOPED_TRACE(testing::Message() << "abort at step " << AbortAt);
    ExpectSameAsReference(A, AbortAt);
  }
}

TEST(InvertArray, NonFiniteFactorsTakeTheColumnwisePath) {
  // Row 0 weighs 1e200, row 1 1e-300: row 0 stays the pivot and L(1, 0) = 1e200 / 1e-200
  // overflows; the third row keeps the rest finite.
  const TDouble2DArray A = MatrixOf(3, 3, [](std::size_t I, std::size_t J) {
    const double M[3][3] = {{1e-200, 0.0, 1e-201}, {1e200, 1e300, 1.0}, {0.5, 2.0, 3.0}};
    return M[I][J];
  });
  ExpectSameAsReference(A);
}

TEST(InvertArray, SmallCasesAndStatuses) {
  TGlobalsGuard Guard;
  TDouble2DArray D{{2, 0}, {0, 4}};
  ASSERT_EQ(InvertArray(D), 0);
  EXPECT_TRUE(SameBits(D, TDouble2DArray{{0.5, 0}, {0, 0.25}}));

  TDouble2DArray NotSquare{{1, 2, 3}, {4, 5, 6}};  // 2 columns of 3 rows
  const TDouble2DArray NotSquareCopy = NotSquare;
  EXPECT_EQ(InvertArray(NotSquare), -1);
  EXPECT_TRUE(SameBits(NotSquare, NotSquareCopy));
  TDouble2DArray Empty;
  EXPECT_EQ(InvertArray(Empty), -1);
  TDouble2DArray Ragged{{1, 2}, {3}};
  EXPECT_EQ(InvertArray(Ragged), -1);

  // Singular: the second pivot is exactly 0; A then holds the factors, rows exchanged (row 1,
  // of weight 1/4 · 2, wins the tie with row 0, of weight 1/2 · 1), L(1, 0) = 1/2 and the
  // pivot replaced by 1e-100.
  TDouble2DArray S{{1, 2}, {2, 4}};
  EXPECT_EQ(InvertArray(S), -3);
  EXPECT_TRUE(SameBits(S, TDouble2DArray{{2, 0.5}, {4, 1e-100}}));

  // A row of zeros: -3 and A unchanged.
  TDouble2DArray Z{{1, 0, 3}, {2, 0, 1}, {5, 0, 7}};
  const TDouble2DArray ZCopy = Z;
  EXPECT_EQ(InvertArray(Z), -3);
  EXPECT_TRUE(SameBits(Z, ZCopy));

  // The abort flag set before the call: -3, A unchanged, no progress.
  TDouble2DArray R = RandomMatrix(40, 40, 5);
  const TDouble2DArray RCopy = R;
  NMX_nmxbase::ProcStat = 0.0;
  NMX_nmxbase::AbortMathProc = true;
  EXPECT_EQ(InvertArray(R), -3);
  EXPECT_TRUE(SameBits(R, RCopy));
  EXPECT_EQ(NMX_nmxbase::ProcStat.load(), 0.0);
}

TEST(InvertArray, LongerColumnsAreCut) {
  // The extents come from the first path (2 columns of 2 rows); the excess row of column 1 is
  // ignored and dropped from the result.
  TDouble2DArray A{{2, 0}, {0, 4, 99}};
  ASSERT_EQ(InvertArray(A), 0);
  EXPECT_TRUE(SameBits(A, TDouble2DArray{{0.5, 0}, {0, 0.25}}));
}

TEST(InvertArray, ProductWithTheInverseIsTheIdentity) {
  // Well conditioned: random plus n on the diagonal.
  for (const std::size_t N : {5u, 50u, 97u}) {
    SCOPED_TRACE(testing::Message() << "n = " << N);
    TDouble2DArray A = RandomMatrix(N, N, 100 + N);
    for (std::size_t I = 0; I < N; ++I) A[I][I] += static_cast<double>(N);
    TDouble2DArray X = A;
    ASSERT_EQ(InvertArray(X), 0);
    EXPECT_LE(MaxAbsDiff(PlainProduct(A, X), Identity(N)), 8 * N * kEps);
    EXPECT_LE(MaxAbsDiff(PlainProduct(X, A), Identity(N)), 8 * N * kEps);
  }
}

// Hilbert matrices H(i, j) = 1 / (i + j + 1) against their exact inverses,
// (-1)^(i+j) (i+j+1) C(n+i, n-j-1) C(n+j, n-i-1) C(i+j, i)² (0-based), integers. The relative
// error may reach about n·cond(H)·eps; cond₂(H) from
// python3 -c "import numpy as np; n=8; print(np.linalg.cond(
//   np.array([[1/(i+j+1) for j in range(n)] for i in range(n)])))"
TEST(InvertArray, HilbertMatrices) {
  const double Cond[] = {0, 0, 1.928e1, 5.241e2, 1.551e4, 4.766e5, 1.495e7, 4.754e8, 1.526e10};
  const auto Binomial = [](std::int64_t N, std::int64_t K) {
    std::int64_t B = 1;
    for (std::int64_t I = 1; I <= K; ++I) B = B * (N - K + I) / I;
    return B;
  };
  for (std::size_t N = 2; N <= 8; ++N) {
    SCOPED_TRACE(testing::Message() << "n = " << N);
    const std::int64_t Nn = static_cast<std::int64_t>(N);
    TDouble2DArray H = MatrixOf(
        N, N, [](std::size_t I, std::size_t J) { return 1.0 / static_cast<double>(I + J + 1); });
    const TDouble2DArray Exact = MatrixOf(N, N, [&](std::size_t Iu, std::size_t Ju) {
      const auto I = static_cast<std::int64_t>(Iu), J = static_cast<std::int64_t>(Ju);
      const std::int64_t C = Binomial(I + J, I);
      const std::int64_t V =
          (I + J + 1) * Binomial(Nn + I, Nn - J - 1) * Binomial(Nn + J, Nn - I - 1) * C * C;
      return static_cast<double>((I + J) % 2 == 0 ? V : -V);
    });
    ASSERT_EQ(InvertArray(H), 0);
    EXPECT_LE(MaxAbsDiff(H, Exact) / MaxAbs(Exact), static_cast<double>(N) * Cond[N] * kEps);
  }
}

// ---------------------------------------------------------------------------------------------
// MultiplyArrays.

TEST(MultiplyArrays, SmallProductsOfEveryMember) {
  // A = [1 2 3; 4 5 6] (2 × 3), B = [1 0; 0 1; 2 -1] (3 × 2): A·B = [7 -1; 16 -1].
  const TDouble2DArray Ad{{1, 4}, {2, 5}, {3, 6}};
  const TDouble2DArray Bd{{1, 0, 2}, {0, 1, -1}};
  const TInt2DArray Ai{{1, 4}, {2, 5}, {3, 6}};
  const TInt2DArray Bi{{1, 0, 2}, {0, 1, -1}};
  const TDouble2DArray Expected{{7, 16}, {-1, -1}};
  TDouble2DArray C;
  MultiplyArrays(Ad, Bd, C);
  EXPECT_TRUE(SameBits(C, Expected));
  MultiplyArrays(Ai, Bd, C);
  EXPECT_TRUE(SameBits(C, Expected));
  MultiplyArrays(Ad, Bi, C);
  EXPECT_TRUE(SameBits(C, Expected));
  TInt2DArray Ci;
  MultiplyArrays(Ai, Bi, Ci);
  EXPECT_EQ(Ci, (TInt2DArray{{7, 16}, {-1, -1}}));

  // Outer products: a column of 3 times a row of 2 gives 2 columns of 3 rows.
  MultiplyArrays(TDoubleArray{1, -2, 0.5}, TDoubleArray{3, 4}, C);
  EXPECT_TRUE(SameBits(C, TDouble2DArray{{3, -6, 1.5}, {4, -8, 2}}));
  MultiplyArrays(TIntArray{1, -2, 65536}, TIntArray{3, 65536}, Ci);
  // 65536·65536 = 2^32 wraps to 0.
  EXPECT_EQ(Ci, (TInt2DArray{{3, -6, 196608}, {65536, -131072, 0}}));
}

TEST(MultiplyArrays, IntegerProductsWrap) {
  // 46341² = 2147488281 = 2^31 + 4633 wraps to -2147479015; twice that wraps to 9266.
  const TInt2DArray A{{46341}, {46341}};  // 1 × 2
  const TInt2DArray B{{46341, 46341}};    // 2 × 1
  TInt2DArray C;
  MultiplyArrays(A, B, C);
  EXPECT_EQ(C, (TInt2DArray{{9266}}));
  MultiplyArrays(TIntArray{46341}, TIntArray{46341}, C);
  EXPECT_EQ(C, (TInt2DArray{{-2147479015}}));
}

TEST(MultiplyArrays, SameBitsAsThePlainSum) {
  struct TCase {
    std::size_t Rows, Inner, Cols;
  };
  const TCase Cases[] = {{1, 1, 1}, {3, 7, 2}, {33, 17, 65}, {64, 100, 5}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Rows << " × " << C.Inner << " × " << C.Cols);
    const TDouble2DArray A = RandomMatrix(C.Rows, C.Inner, 7 + C.Rows);
    const TDouble2DArray B = RandomMatrix(C.Inner, C.Cols, 8 + C.Cols);
    TDouble2DArray P;
    MultiplyArrays(A, B, P);
    EXPECT_TRUE(SameBits(P, PlainProduct(A, B)));
  }
}

TEST(MultiplyArrays, MismatchOrEmptyGivesAnEmptyResult) {
  const TDouble2DArray A{{1, 2}, {3, 4}, {5, 6}};  // 2 × 3
  TDouble2DArray C{{9}};
  MultiplyArrays(A, A, C);  // 3 columns against 2 rows
  EXPECT_TRUE(C.empty());
  C = {{9}};
  MultiplyArrays(A, TDouble2DArray{}, C);
  EXPECT_TRUE(C.empty());
  C = {{9}};
  MultiplyArrays(TDoubleArray{}, TDoubleArray{1}, C);
  EXPECT_TRUE(C.empty());
  TInt2DArray Ci{{9}};
  MultiplyArrays(TInt2DArray{{1, 2}}, TInt2DArray{{1, 2, 3}}, Ci);
  EXPECT_TRUE(Ci.empty());
}

TEST(MultiplyArrays, ResultMayBeAnOperand) {
  TDouble2DArray A{{1, 3}, {2, 4}};  // [1 2; 3 4]
  MultiplyArrays(A, A, A);           // [7 10; 15 22]
  EXPECT_TRUE(SameBits(A, TDouble2DArray{{7, 15}, {10, 22}}));
}

// ---------------------------------------------------------------------------------------------
// CalcHatMatrix.

TEST(CalcHatMatrix, SmallCases) {
  TDouble2DArray Hat;
  ASSERT_EQ(CalcHatMatrix(TDouble2DArray{{1, 1, 1}}, Hat), 0);
  ASSERT_EQ(Hat.size(), 3u);
  for (const auto& Col : Hat) {
    ASSERT_EQ(Col.size(), 3u);
    for (const double X : Col) NMX_EXPECT_ULPS(X, 1.0 / 3.0, 2);
  }
  const TDouble2DArray Before{{5}};
  Hat = Before;
  EXPECT_EQ(CalcHatMatrix(TDouble2DArray{}, Hat), -1);
  EXPECT_EQ(CalcHatMatrix(TDouble2DArray{{1, 1}, {2, 2}}, Hat), -3);  // collinear columns
  EXPECT_TRUE(SameBits(Hat, Before));
}

// The hat matrix is the orthogonal projection onto X's columns: symmetric, idempotent, H·X = X,
// trace = the number of columns.
TEST(CalcHatMatrix, IsTheProjectionOntoTheColumns) {
  TDouble2DArray X = RandomMatrix(9, 3, 31);
  for (double& V : X[0]) V = 1.0;  // an intercept column
  TDouble2DArray H;
  ASSERT_EQ(CalcHatMatrix(X, H), 0);
  ASSERT_EQ(H.size(), 9u);
  const double Tol = 64 * kEps;
  double Trace = 0.0;
  for (std::size_t I = 0; I < 9; ++I) {
    Trace += H[I][I];
    for (std::size_t J = 0; J < 9; ++J) EXPECT_NEAR(H[J][I], H[I][J], Tol);
  }
  EXPECT_NEAR(Trace, 3.0, Tol);
  EXPECT_LE(MaxAbsDiff(PlainProduct(H, H), H), Tol);
  EXPECT_LE(MaxAbsDiff(PlainProduct(H, X), X), Tol);
}

// ---------------------------------------------------------------------------------------------
// LU, LUP, determinant, permutation.

TEST(LUdecomposition, RebuildsAAndCarriesTheSignedDeterminant) {
  struct TCase {
    const char* Name;
    TDouble2DArray A;
    double Det;  // closed forms; see each case
  };
  const TCase Cases[] = {
      {"exchange of two rows", {{0, 1}, {1, 0}}, -1.0},
      {"cyclic permutation of three", {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, 1.0},
      {"already triangular", {{2, 0, 0}, {1, 3, 0}, {4, 5, -1}}, -6.0},
      // Rows [2 -1 0.5 3; 1 4 -2 0; 0.25 1 3 -1; 5 0 1 2]; cofactor expansion in exact
      // rationals (Python's fractions.Fraction) gives -138.
      {"dyadic 4 × 4", {{2, 1, 0.25, 5}, {-1, 4, 1, 0}, {0.5, -2, 3, 1}, {3, 0, -1, 2}}, -138.0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TDouble2DArray Copy = C.A;
    TDouble2DArray L, U;
    ASSERT_EQ(LUdecomposition(C.A, L, U), 0);
    EXPECT_TRUE(SameBits(C.A, Copy));
    const std::size_t N = C.A.size();
    EXPECT_LE(MaxAbsDiff(PlainProduct(L, U), C.A), 8 * kEps * MaxAbs(C.A));
    double Prod = 1.0;
    for (std::size_t I = 0; I < N; ++I) {
      Prod *= U[I][I];
      for (std::size_t J = 0; J < I; ++J) EXPECT_EQ(U[J][I], 0.0) << "U below the diagonal";
    }
    NMX_EXPECT_REL(Prod, C.Det, 16 * kEps);
    NMX_EXPECT_REL(Determinant(C.A), C.Det, 16 * kEps);
  }
}

TEST(LUdecomposition, StatusesLeaveTheFactorsAlone) {
  TDouble2DArray L{{7}}, U{{8}};
  EXPECT_EQ(LUdecomposition(TDouble2DArray{{1, 2, 3}, {4, 5, 6}}, L, U), -1);
  EXPECT_EQ(LUdecomposition(TDouble2DArray{}, L, U), -1);
  EXPECT_EQ(LUdecomposition(TDouble2DArray{{1, 2}, {2, 4}}, L, U), -3);
  EXPECT_TRUE(SameBits(L, TDouble2DArray{{7}}));
  EXPECT_TRUE(SameBits(U, TDouble2DArray{{8}}));
}

TEST(LUPdecomposition, PermutedARebuildsFromTheFactors) {
  for (const std::size_t N : {1u, 2u, 5u, 33u, 80u}) {
    SCOPED_TRACE(testing::Message() << "n = " << N);
    const TDouble2DArray A = RandomMatrix(N, N, 40 + N);
    TDouble2DArray L, U, PA;
    TInt2DArray P;
    int Sign = 0;
    ASSERT_EQ(LUPdecomposition(A, L, U, P, Sign), 0);
    for (std::size_t J = 0; J < N; ++J) {
      EXPECT_EQ(L[J][J], 1.0);
      for (std::size_t I = 0; I < J; ++I) {
        EXPECT_EQ(L[J][I], 0.0);
        EXPECT_EQ(U[I][J], 0.0);
        EXPECT_LE(std::fabs(L[I][J]), 1.0) << "partial pivoting bounds L";
      }
    }
    ASSERT_EQ(PermuteArray(A, P, acrRows, false, PA), 0);
    EXPECT_LE(MaxAbsDiff(PlainProduct(L, U), PA), 4 * N * kEps);
    // Sign is det P, and det A = Sign · Π U(i, i).
    TDouble2DArray Pd(N, TDoubleArray(N));
    for (std::size_t J = 0; J < N; ++J) {
      for (std::size_t I = 0; I < N; ++I) Pd[J][I] = P[J][I];
    }
    EXPECT_EQ(Determinant(Pd), static_cast<double>(Sign));
    double Prod = Sign;
    for (std::size_t I = 0; I < N; ++I) Prod *= U[I][I];
    NMX_EXPECT_REL(Determinant(A), Prod, 4 * N * kEps);
    // LUdecomposition gives the same pivots: its U differs at most in the sign of the last
    // diagonal element, and its L·U rebuilds A itself.
    TDouble2DArray L2, U2;
    ASSERT_EQ(LUdecomposition(A, L2, U2), 0);
    EXPECT_EQ(U2[N - 1][N - 1], Sign * U[N - 1][N - 1]);
    EXPECT_LE(MaxAbsDiff(PlainProduct(L2, U2), A), 4 * N * kEps);
  }
  TDouble2DArray L{{7}}, U;
  TInt2DArray P;
  int Sign = 5;
  EXPECT_EQ(LUPdecomposition(TDouble2DArray{{0, 0}, {1, 1}}, L, U, P, Sign), -3);
  EXPECT_EQ(LUPdecomposition(TDouble2DArray{{1, 2}}, L, U, P, Sign), -1);
  EXPECT_EQ(Sign, 5);
  EXPECT_TRUE(SameBits(L, TDouble2DArray{{7}}));
}

TEST(Determinant, ClosedForms) {
  // Vandermonde: det [x_i^j] = Π_{i<k} (x_k - x_i); nodes -2, -1, 0.5, 1, 3, 4 give
  // (1·2.5·3·5·6)·(1.5·2·4·5)·(0.5·2.5·3.5)·(2·3)·1 = 354375.
  const double X[] = {-2, -1, 0.5, 1, 3, 4};
  const TDouble2DArray V = MatrixOf(
      6, 6, [&](std::size_t I, std::size_t J) { return std::pow(X[I], static_cast<double>(J)); });
  NMX_EXPECT_REL(Determinant(V), 354375.0, 64 * kEps);
  // Exchanging two rows flips the sign.
  TDouble2DArray W = V;
  for (auto& Col : W) std::swap(Col[0], Col[4]);
  NMX_EXPECT_REL(Determinant(W), -354375.0, 64 * kEps);
  // A product that would overflow on the way: diag(1e200, 1e200, 1e-200, 1e-200).
  const double Diag[] = {1e200, 1e200, 1e-200, 1e-200};
  const TDouble2DArray D =
      MatrixOf(4, 4, [&](std::size_t I, std::size_t J) { return I == J ? Diag[I] : 0.0; });
  NMX_EXPECT_REL(Determinant(D), 1.0, 4 * kEps);
  EXPECT_EQ(Determinant(TDouble2DArray{{1, 2}, {2, 4}}), 0.0);
  EXPECT_EQ(Determinant(TDouble2DArray{{1, 2, 3}, {4, 5, 6}}), 0.0);
  EXPECT_EQ(Determinant(TDouble2DArray{}), 0.0);
  EXPECT_EQ(Determinant(TDouble2DArray{{-3.5}}), -3.5);
}

TEST(PermuteArray, RowsColumnsAndInverses) {
  // P sends row 0 to row 1, row 1 to row 2, row 2 to row 0: (P·A)(i, :) = A(s(i), :) with
  // s = (2, 0, 1), so P(0, 2) = P(1, 0) = P(2, 1) = 1.
  TInt2DArray P(3, TIntArray(3, 0));
  P[2][0] = P[0][1] = P[1][2] = 1;
  const TDouble2DArray A =
      MatrixOf(3, 3, [](std::size_t I, std::size_t J) { return static_cast<double>(10 * I + J); });
  TDouble2DArray Pd(3, TDoubleArray(3));
  for (std::size_t J = 0; J < 3; ++J) {
    for (std::size_t I = 0; I < 3; ++I) Pd[J][I] = P[J][I];
  }
  TDouble2DArray Pt = Pd;
  for (std::size_t J = 0; J < 3; ++J) {
    for (std::size_t I = 0; I < 3; ++I) Pt[J][I] = Pd[I][J];
  }
  struct TCase {
    NMX_nmxbase::TApplyColRow Apply;
    bool Inverse;
    TDouble2DArray Expected;
  };
  const TCase Cases[] = {{acrRows, false, PlainProduct(Pd, A)},
                         {acrRows, true, PlainProduct(Pt, A)},
                         {acrColumns, false, PlainProduct(A, Pd)},
                         {acrColumns, true, PlainProduct(A, Pt)}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "apply " << int(C.Apply) << ", inverse " << C.Inverse);
    TDouble2DArray B;
    ASSERT_EQ(PermuteArray(A, P, C.Apply, C.Inverse, B), 0);
    EXPECT_TRUE(SameBits(B, C.Expected));
    // In place, and back again.
    TDouble2DArray X = A;
    ASSERT_EQ(PermuteArray(X, P, C.Apply, C.Inverse, X), 0);
    ASSERT_EQ(PermuteArray(X, P, C.Apply, !C.Inverse, X), 0);
    EXPECT_TRUE(SameBits(X, A));
  }
  // A non-square A: rows permute with a 2 × 2 P, columns with a 3 × 3 one.
  const TDouble2DArray R{{1, 2}, {3, 4}, {5, 6}};  // 2 rows, 3 columns
  TDouble2DArray B{{42}};
  EXPECT_EQ(PermuteArray(R, P, acrRows, false, B), -2);
  EXPECT_EQ(PermuteArray(R, P, acrColumns, false, B), 0);
  EXPECT_EQ(PermuteArray(R, TInt2DArray{{0, 1}, {1, 0}}, acrRows, false, B), 0);
  EXPECT_TRUE(SameBits(B, TDouble2DArray{{2, 1}, {4, 3}, {6, 5}}));
}

TEST(PermuteArray, InvalidPermutations) {
  const TDouble2DArray A{{1, 2}, {3, 4}};
  const TDouble2DArray Before{{42}};
  struct TCase {
    const char* Name;
    TInt2DArray P;
    int Status;
  };
  const TCase Cases[] = {{"empty", {}, -1},
                         {"two ones in a row", {{1, 1}, {0, 0}}, -2},
                         {"a two", {{2, 0}, {0, 1}}, -2},
                         {"all zero", {{0, 0}, {0, 0}}, -2},
                         {"not square", {{1, 0}}, -2},
                         {"wrong size", {{1}}, -2}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TDouble2DArray B = Before;
    EXPECT_EQ(PermuteArray(A, C.P, acrRows, false, B), C.Status);
    EXPECT_TRUE(SameBits(B, Before));
  }
  TDouble2DArray B = Before;
  EXPECT_EQ(PermuteArray(A, TInt2DArray{{1, 0}, {0, 1}}, static_cast<NMX_nmxbase::TApplyColRow>(7),
                         false, B),
            -2);
  EXPECT_EQ(PermuteArray(TDouble2DArray{}, TInt2DArray{{1}}, acrRows, false, B), -1);
  EXPECT_TRUE(SameBits(B, Before));
}

// ---------------------------------------------------------------------------------------------
// EigenDecomposition.

// Checks A·v = λv, orthonormality, the order and the sign rule.
void ExpectEigenPairs(const TDouble2DArray& A, bool Descending, double Tol) {
  const std::size_t N = A.size();
  TDouble2DArray Vecs;
  TDoubleArray Vals;
  ASSERT_EQ(EigenDecomposition(A, Descending, Vecs, Vals), 0);
  ASSERT_EQ(Vecs.size(), N);
  ASSERT_EQ(Vals.size(), N);
  const double Scale = std::max(1.0, MaxAbs(A));
  for (std::size_t K = 0; K < N; ++K) {
    SCOPED_TRACE(testing::Message() << "pair " << K);
    if (K > 0) {
      EXPECT_TRUE(Descending ? Vals[K - 1] >= Vals[K] : Vals[K - 1] <= Vals[K]);
    }
    std::size_t Largest = 0;
    for (std::size_t I = 0; I < N; ++I) {
      if (std::fabs(Vecs[K][I]) > std::fabs(Vecs[K][Largest])) Largest = I;
      double Av = 0.0;
      for (std::size_t J = 0; J < N; ++J) Av += A[std::min(I, J)][std::max(I, J)] * Vecs[K][J];
      EXPECT_NEAR(Av, Vals[K] * Vecs[K][I], Tol * Scale);
    }
    EXPECT_GT(Vecs[K][Largest], 0.0);
    for (std::size_t L = 0; L <= K; ++L) {
      double Dot = 0.0;
      for (std::size_t I = 0; I < N; ++I) Dot += Vecs[K][I] * Vecs[L][I];
      EXPECT_NEAR(Dot, K == L ? 1.0 : 0.0, Tol);
    }
  }
}

TEST(EigenDecomposition, KnownSpectra) {
  // [2 1; 1 2]: 1 with (1, -1)/√2 up to sign, 3 with (1, 1)/√2.
  TDouble2DArray Vecs;
  TDoubleArray Vals;
  ASSERT_EQ(EigenDecomposition(TDouble2DArray{{2, 1}, {1, 2}}, false, Vecs, Vals), 0);
  NMX_EXPECT_ULPS(Vals[0], 1.0, 4);
  NMX_EXPECT_ULPS(Vals[1], 3.0, 4);
  NMX_EXPECT_REL(Vecs[1][0], std::sqrt(0.5), 4 * kEps);
  NMX_EXPECT_REL(Vecs[1][1], std::sqrt(0.5), 4 * kEps);
  NMX_EXPECT_REL(std::fabs(Vecs[0][0]), std::sqrt(0.5), 4 * kEps);
  EXPECT_EQ(Vecs[0][0], -Vecs[0][1]);

  // The second-difference matrix tridiag(-1, 2, -1) of order n has the eigenvalues
  // 2 - 2 cos(kπ/(n+1)), k = 1..n.
  const std::size_t N = 12;
  const TDouble2DArray T = MatrixOf(N, N, [](std::size_t I, std::size_t J) {
    return I == J ? 2.0 : (I + 1 == J || J + 1 == I ? -1.0 : 0.0);
  });
  ASSERT_EQ(EigenDecomposition(T, true, Vecs, Vals), 0);
  for (std::size_t K = 0; K < N; ++K) {
    SCOPED_TRACE(testing::Message() << "k = " << K);
    const double Exact =
        2.0 - 2.0 * std::cos(static_cast<double>(N - K) * std::numbers::pi / (N + 1));
    EXPECT_NEAR(Vals[K], Exact, 16 * kEps);
  }

  // [4 1 2; 1 3 0; 2 0 5] from
  // python3 -c "import numpy as np; print(np.linalg.eigh(np.array([[4.,1,2],[1,3,0],[2,0,5]]))[0])"
  ASSERT_EQ(EigenDecomposition(TDouble2DArray{{4, 1, 2}, {1, 3, 0}, {2, 0, 5}}, false, Vecs, Vals),
            0);
  const double Numpy[] = {1.854897308799577, 3.4760236029181342, 6.6690790882822881};
  for (std::size_t K = 0; K < 3; ++K) NMX_EXPECT_REL(Vals[K], Numpy[K], 16 * kEps);
}

TEST(EigenDecomposition, RandomSymmetricMatrices) {
  for (const std::size_t N : {1u, 2u, 9u, 40u}) {
    for (const bool Descending : {false, true}) {
      SCOPED_TRACE(testing::Message() << "n = " << N << ", descending " << Descending);
      TDouble2DArray A = RandomMatrix(N, N, 60 + N);
      // The strict upper triangle is not read: fill it with nonsense.
      for (std::size_t J = 0; J < N; ++J) {
        for (std::size_t I = 0; I < J; ++I) A[J][I] = 1e30;
      }
      ExpectEigenPairs(A, Descending, 64 * static_cast<double>(N) * kEps);
    }
  }
}

TEST(EigenDecomposition, RepeatedEigenvalues) {
  // The identity plus a rank-one matrix: eigenvalue 1 four times, and 1 + |u|² = 31 once.
  const double Uv[] = {1, 2, 3, 4, 0};
  const TDouble2DArray A = MatrixOf(
      5, 5, [&](std::size_t I, std::size_t J) { return (I == J ? 1.0 : 0.0) + Uv[I] * Uv[J]; });
  ExpectEigenPairs(A, true, 256 * kEps);
  TDouble2DArray Vecs;
  TDoubleArray Vals;
  ASSERT_EQ(EigenDecomposition(A, true, Vecs, Vals), 0);
  // A backward-stable method moves each eigenvalue by a few eps·‖A‖₂, here ‖A‖₂ = 31.
  NMX_EXPECT_REL(Vals[0], 31.0, 16 * kEps);
  for (std::size_t K = 1; K < 5; ++K) EXPECT_NEAR(Vals[K], 1.0, 16 * kEps * 31);
}

TEST(EigenDecomposition, Statuses) {
  TDouble2DArray Vecs{{7}};
  TDoubleArray Vals{8};
  EXPECT_EQ(EigenDecomposition(TDouble2DArray{}, false, Vecs, Vals), -1);
  EXPECT_EQ(EigenDecomposition(TDouble2DArray{{1, 2, 3}, {4, 5, 6}}, false, Vecs, Vals), -1);
  const double Nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(EigenDecomposition(TDouble2DArray{{1, Nan}, {Nan, 1}}, false, Vecs, Vals), -2);
  EXPECT_EQ(EigenDecomposition(TDouble2DArray{{1, 0}, {0, INFINITY}}, false, Vecs, Vals), -2);
  EXPECT_TRUE(SameBits(Vecs, TDouble2DArray{{7}}));
  EXPECT_EQ(Vals, TDoubleArray{8});
  // A NaN above the diagonal is not read.
  EXPECT_EQ(EigenDecomposition(TDouble2DArray{{1, 0}, {Nan, 1}}, false, Vecs, Vals), 0);
}

}  // namespace
