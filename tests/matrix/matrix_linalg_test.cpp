#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "matrix/matrix_builders.h"
#include "nmx/matrix/matrix.h"
#include "support/tolerance.h"

namespace {

using mat_test::Rows;
using mat_test::RowsOf;
using mat_test::SetRows;
using NMX_matrix::TMatrix;

void Hilbert(TMatrix& H, int N) {
  H.Resize(N, N);
  for (int R = 1; R <= N; ++R) {
    for (int C = 1; C <= N; ++C) H.SetVal(C, R, 1.0 / (R + C - 1));
  }
}

// The largest |(A·B - I)(r, c)|.
double DistanceFromIdentity(TMatrix& A, TMatrix& B) {
  TMatrix P;
  A.Multiply(&B, &P);
  double Worst = 0;
  for (int R = 1; R <= P.NrOfRows(); ++R) {
    for (int C = 1; C <= P.NrOfColumns(); ++C) {
      Worst = std::max(Worst, std::fabs(P.GetVal(C, R) - (R == C ? 1.0 : 0.0)));
    }
  }
  return Worst;
}

TEST(MatrixLinalg, InvertSmallCases) {
  TMatrix A;
  SetRows(A, {{2, 0}, {0, 4}});
  EXPECT_TRUE(A.Invert());
  EXPECT_EQ(RowsOf(A), (Rows{{0.5, 0}, {0, 0.25}}));
  SetRows(A, {{1, 2}, {2, 4}});
  EXPECT_FALSE(A.Invert());
  TMatrix B;
  SetRows(B, {{1, 2, 3}, {4, 5, 6}});
  EXPECT_FALSE(B.Invert());
  EXPECT_EQ(RowsOf(B), (Rows{{1, 2, 3}, {4, 5, 6}}));
}

TEST(MatrixLinalg, InverseTimesMatrixIsTheIdentity) {
  // Well conditioned: random with a heavy diagonal; ill conditioned: Hilbert matrices, whose
  // condition numbers (about 1.5e7 for n = 6, 1.5e10 for n = 8) bound the error by cond · eps.
  TMatrix A, Inv;
  std::mt19937_64 Gen(11);
  std::uniform_real_distribution<double> U(-1, 1);
  A.Resize(50, 50);
  for (int R = 1; R <= 50; ++R) {
    for (int C = 1; C <= 50; ++C) A.SetVal(C, R, U(Gen) + (R == C ? 20 : 0));
  }
  Inv.Assign(&A);
  ASSERT_TRUE(Inv.Invert());
  EXPECT_LT(DistanceFromIdentity(A, Inv), 1e-14);
  const double Bounds[][2] = {{6, 1.5e7}, {8, 1.5e10}};
  for (const auto& B : Bounds) {
    SCOPED_TRACE(::testing::Message() << "Hilbert " << B[0]);
    Hilbert(A, static_cast<int>(B[0]));
    Inv.Assign(&A);
    ASSERT_TRUE(Inv.Invert());
    EXPECT_LT(DistanceFromIdentity(A, Inv), 10 * B[1] * 2.2e-16);
  }
}

TEST(MatrixLinalg, DeterminantHasItsSign) {
  struct Case {
    const char* Name;
    Rows Cells;
    double Det;
  };
  const Case Cases[] = {
      {"one swap", {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}, -1},
      {"a cycle of three", {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, 1},
      {"pivoting needed", {{2, 1, -1}, {-3, -1, 2}, {-2, 1, 2}}, -1},
      {"singular", {{1, 2}, {2, 4}}, 0},
      {"diagonal", {{3, 0}, {0, -5}}, -15},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TMatrix A;
    SetRows(A, C.Cells);
    NMX_EXPECT_ULPS(A.Determinant(), C.Det, 16);
  }
  TMatrix NotSquare;
  NotSquare.Resize(2, 3);
  NotSquare.Fill(1.0);
  EXPECT_EQ(NotSquare.Determinant(), 0.0);
}

TEST(MatrixLinalg, LUFactorsRebuildTheMatrix) {
  TMatrix A, L, U, P;
  SetRows(A, {{0, 2, 1, 4}, {3, 1, 0, 2}, {1, 1, 5, 0}, {2, 0, 1, 1}});  // a zero first pivot
  ASSERT_TRUE(A.LUdecomposition(&L, &U));
  ASSERT_EQ(L.NrOfColumns(), 4);
  L.Multiply(&U, &P);
  for (int R = 1; R <= 4; ++R) {
    for (int C = 1; C <= 4; ++C) EXPECT_NEAR(P.GetVal(C, R), A.GetVal(C, R), 1e-15);
    for (int C = 1; C < R; ++C) EXPECT_EQ(U.GetVal(C, R), 0.0);  // U upper triangular
  }
  // The product of U's diagonal is the signed determinant.
  double Product = 1;
  for (int I = 1; I <= 4; ++I) Product *= U.GetVal(I, I);
  NMX_EXPECT_ULPS(Product, A.Determinant(), 16);

  TMatrix Singular;
  SetRows(Singular, {{1, 2}, {2, 4}});
  SetRows(L, {{9}});
  EXPECT_FALSE(Singular.LUdecomposition(&L, &U));
  EXPECT_EQ(RowsOf(L), (Rows{{9}}));
  EXPECT_FALSE(A.LUdecomposition(nullptr, &U));
}

TEST(MatrixLinalg, HatMatrix) {
  TMatrix X, H;
  SetRows(X, {{1}, {1}, {1}});
  ASSERT_EQ(X.CalcHatMatrix(&H), 0);
  ASSERT_EQ(H.NrOfColumns(), 3);
  for (const double V : H.Data()) NMX_EXPECT_ULPS(V, 1.0 / 3.0, 4);
  // A design of 5 observations and 2 variables: H is 5 × 5, symmetric, and projects X onto
  // itself (H·X = X).
  SetRows(X, {{1, 0.5}, {1, 1.5}, {1, 2}, {1, 4}, {1, 7}});
  ASSERT_EQ(X.CalcHatMatrix(&H), 0);
  ASSERT_EQ(H.NrOfColumns(), 5);
  ASSERT_EQ(H.NrOfRows(), 5);
  TMatrix HX;
  H.Multiply(&X, &HX);
  for (int R = 1; R <= 5; ++R) {
    for (int C = 1; C <= 2; ++C) EXPECT_NEAR(HX.GetVal(C, R), X.GetVal(C, R), 1e-14);
    for (int C = 1; C <= 5; ++C) EXPECT_NEAR(H.GetVal(C, R), H.GetVal(R, C), 1e-15);
  }
  SetRows(X, {{1, 1}, {2, 2}});
  EXPECT_EQ(X.CalcHatMatrix(&H), -3);
  EXPECT_EQ(X.CalcHatMatrix(nullptr), -1);
}

}  // namespace
