// TMatrix: random fills, arithmetic, products, transposition, norms, balancing, the Cholesky
// factor and finite differences.
#include "nmx/matrix/matrix.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <utility>

#include "math1/gemm.h"
#include "matrix/svd.h"
#include "nmx/base/errors.h"
#include "nmx/math1/norms.h"
#include "nmx/math1/random.h"
#include "nmx/platform/random.h"

namespace NMX_matrix {
namespace {

using Size = std::size_t;
using NMX_math1::detail::GemmAscending;
using NMX_math1::detail::TTrans;

}  // namespace

TMatrix::TMatrix(NMX_platform::TComponent* AOwner) : TMatrixBase<double>(AOwner) {}

// --- random fills ------------------------------------------------------------------------------

void TMatrix::FillRandomUniform(double RangeLow, double RangeHigh) {
  FillRandomUniform(1, FNCol, 1, FNRow, RangeLow, RangeHigh);
}

void TMatrix::FillRandomUniform(int LowCol, int HighCol, int LowRow, int HighRow,
                                double RangeLow, double RangeHigh) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  const double Width = RangeHigh - RangeLow;
  for (int C = LowCol; C <= HighCol; ++C) {
    for (int R = LowRow; R <= HighRow; ++R) {
      FMat[Offset(C, R)] = RangeLow + NMX_platform::Random() * Width;
    }
  }
  Changed();
}

void TMatrix::FillRandomGauss(double Mean, double StdDev) {
  FillRandomGauss(1, FNCol, 1, FNRow, Mean, StdDev);
}

void TMatrix::FillRandomGauss(int LowCol, int HighCol, int LowRow, int HighRow, double Mean,
                              double StdDev) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  for (int C = LowCol; C <= HighCol; ++C) {
    for (int R = LowRow; R <= HighRow; ++R) {
      FMat[Offset(C, R)] = Mean + StdDev * NMX_math1::GRandom();
    }
  }
  Changed();
}

// --- element-wise arithmetic -------------------------------------------------------------------

bool TMatrix::Add(const TMatrix* MatB) {
  if (MatB == nullptr || MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
  for (Size K = 0; K < FMat.size(); ++K) FMat[K] += MatB->FMat[K];
  Changed();
  return true;
}

bool TMatrix::Subtract(const TMatrix* MatB) {
  if (MatB == nullptr || MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
  for (Size K = 0; K < FMat.size(); ++K) FMat[K] -= MatB->FMat[K];
  Changed();
  return true;
}

void TMatrix::SMult(double Scalar) {
  for (double& X : FMat) X *= Scalar;
  Changed();
}

void TMatrix::SAdd(double Scalar) {
  for (double& X : FMat) X += Scalar;
  Changed();
}

bool TMatrix::EMult(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || MatB->FNCol != FNCol || MatB->FNRow != FNRow) {
    return false;
  }
  std::vector<double> Out(FMat.size());
  for (Size K = 0; K < FMat.size(); ++K) Out[K] = FMat[K] * MatB->FMat[K];
  MatRes->StoreCells(FNCol, FNRow, std::move(Out));
  Changed();
  return true;
}

void TMatrix::StoreCells(int Nc, int Nr, std::vector<double>&& Cells) {
  Resize(Nc, Nr);
  if (!OnChange) {
    FMat = std::move(Cells);
    return;
  }
  // A handler watches: one SetVal per cell, and it may resize this matrix in between.
  for (int C = 1; C <= Nc; ++C) {
    for (int R = 1; R <= Nr; ++R) {
      SetVal(C, R, Cells[static_cast<Size>(C - 1) * static_cast<Size>(Nr) + static_cast<Size>(R - 1)]);
    }
  }
}

// --- products ----------------------------------------------------------------------------------

bool TMatrix::Multiply(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || FNCol != MatB->FNRow) return false;
  const int M = FNRow, N = MatB->FNCol, K = FNCol;
  std::vector<double> Out(static_cast<Size>(M) * static_cast<Size>(N));
  GemmAscending(TTrans::No, TTrans::No, M, N, K, FMat.data(), M, MatB->FMat.data(), K,
                Out.data(), M);
  MatRes->StoreCells(N, M, std::move(Out));
  Changed();
  return true;
}

bool TMatrix::MultiplyTransposed(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || FNCol != MatB->FNCol) return false;
  const int M = FNRow, N = MatB->FNRow, K = FNCol;
  std::vector<double> Out(static_cast<Size>(M) * static_cast<Size>(N));
  GemmAscending(TTrans::No, TTrans::Yes, M, N, K, FMat.data(), M, MatB->FMat.data(), N,
                Out.data(), M);
  MatRes->StoreCells(N, M, std::move(Out));
  Changed();
  return true;
}

bool TMatrix::TransposeAndMultiply(const TMatrix* MatB, TMatrix* MatRes) {
  if (MatB == nullptr || MatRes == nullptr || FNRow != MatB->FNRow) return false;
  const int M = FNCol, N = MatB->FNCol, K = FNRow;
  std::vector<double> Out(static_cast<Size>(M) * static_cast<Size>(N));
  GemmAscending(TTrans::Yes, TTrans::No, M, N, K, FMat.data(), K, MatB->FMat.data(), K,
                Out.data(), M);
  MatRes->StoreCells(N, M, std::move(Out));
  return true;
}

bool TMatrix::Multiply(const NMX_vector::TVector* VecB, NMX_vector::TVector* VecRes) {
  if (VecB == nullptr || VecRes == nullptr || FNCol != VecB->NrOfElem()) return false;
  std::vector<double> Out(static_cast<Size>(FNRow));
  GemmAscending(TTrans::No, TTrans::No, FNRow, 1, FNCol, FMat.data(), FNRow, VecB->Data().data(),
                FNCol, Out.data(), FNRow);
  VecRes->Resize(FNRow);
  for (int R = 1; R <= FNRow; ++R) VecRes->SetVal(R, Out[static_cast<Size>(R - 1)]);
  Changed();
  return true;
}

bool TMatrix::TransposeAndMultiply(const NMX_vector::TVector* VecB, NMX_vector::TVector* VecRes) {
  if (VecB == nullptr || VecRes == nullptr || FNRow != VecB->NrOfElem()) return false;
  std::vector<double> Out(static_cast<Size>(FNCol));
  GemmAscending(TTrans::Yes, TTrans::No, FNCol, 1, FNRow, FMat.data(), FNRow,
                VecB->Data().data(), FNRow, Out.data(), FNCol);
  VecRes->Resize(FNCol);
  for (int C = 1; C <= FNCol; ++C) VecRes->SetVal(C, Out[static_cast<Size>(C - 1)]);
  return true;
}

// --- transposition, trace, norms ---------------------------------------------------------------

bool TMatrix::Transpose() {
  std::vector<double> Out;
  try {
    Out.resize(FMat.size());
  } catch (const std::bad_alloc&) {
    RaiseNoMemory();
  }
  // Cell [c, r] of the transpose (NrOfRows columns of NrOfColumns rows) is old [r, c].
  const Size M = static_cast<Size>(FNRow), N = static_cast<Size>(FNCol);
  constexpr Size kTile = 32;
  for (Size C0 = 0; C0 < N; C0 += kTile) {
    for (Size R0 = 0; R0 < M; R0 += kTile) {
      for (Size C = C0; C < std::min(N, C0 + kTile); ++C) {
        for (Size R = R0; R < std::min(M, R0 + kTile); ++R) Out[R * N + C] = FMat[C * M + R];
      }
    }
  }
  TakeCells(FNRow, FNCol, std::move(Out));
  return true;
}

double TMatrix::Trace() const {
  if (FNCol != FNRow) return 0.0;
  double Sum = 0.0;
  for (int I = 1; I <= FNCol; ++I) Sum += FMat[Offset(I, I)];
  return Sum;
}

double TMatrix::Norm(TNormType nt) {
  switch (nt) {
    case ntColwise: {
      double Largest = 0.0;
      for (int C = 1; C <= FNCol; ++C) {
        double Sum = 0.0;
        for (const double X : Column(C)) Sum += std::fabs(X);
        Largest = std::max(Largest, Sum);
      }
      return Largest;
    }
    case ntRowwise: {
      std::vector<double> Sums(static_cast<Size>(FNRow), 0.0);
      for (int C = 1; C <= FNCol; ++C) {
        const auto Col = Column(C);
        for (Size R = 0; R < Sums.size(); ++R) Sums[R] += std::fabs(Col[R]);
      }
      double Largest = 0.0;
      for (const double S : Sums) Largest = std::max(Largest, S);
      return Largest;
    }
    case ntSpectral:
      return SpectralNorm();
    case ntFrobenius:
      return NMX_math1::EuclideanLength(Data());
  }
  return 0.0;
}

// --- balancing, Cholesky, differences ----------------------------------------------------------

bool TMatrix::Balance(double Tolerance) {
  Tolerance = std::clamp(Tolerance, 1.000001, 1.05);
  if (FNCol != FNRow) return false;
  const int N = FNCol;
  auto A = [this](int Row, int Col) -> double& { return FMat[Offset(Col, Row)]; };
  double Largest = 2.1;
  for (int Pass = 0; Largest > Tolerance && Pass < 100; ++Pass) {
    Largest = 0.0;
    for (int I = 1; I <= N; ++I) {
      double RowSum = 0.0, ColSum = 0.0;
      for (int K = 1; K <= N; ++K) {
        if (K == I) continue;
        RowSum += std::fabs(A(I, K));
        ColSum += std::fabs(A(K, I));
      }
      // A row without off-diagonal weight has nothing to balance against: its factor would be
      // 0 and the division would turn its zeros into NaN.
      if (ColSum == 0.0 || RowSum == 0.0) continue;
      const double F = std::sqrt(RowSum / ColSum);
      Largest = std::max(Largest, F);
      for (int K = 1; K <= N; ++K) {
        if (K == I) continue;
        A(I, K) /= F;
        A(K, I) *= F;
      }
    }
  }
  return true;
}

bool TMatrix::CholeskyDecomp(TMatrix* MatL) {
  if (FNCol != FNRow || MatL == nullptr) return false;
  const int N = FNCol;
  // L(j, i) for j > i lives in Self's cell of row i, column j: column j of Self holds row j of
  // L above the diagonal, so the sums below run down contiguous columns.
  auto Cell = [this](int Col, int Row) -> double& { return FMat[Offset(Col, Row)]; };
  std::vector<double> D(static_cast<Size>(N), 0.0);
  bool Positive = true;
  for (int I = 1; I <= N; ++I) {
    for (int J = I; J <= N; ++J) {
      double S = Cell(I, J);  // a(j, i): row j, column i, the lower triangle
      for (int K = I - 1; K >= 1; --K) S -= Cell(I, K) * Cell(J, K);
      if (J == I) {
        if (S > 0.0) {
          D[static_cast<Size>(I - 1)] = std::sqrt(S);
        } else {
          Positive = false;
        }
      } else {
        Cell(J, I) = S / D[static_cast<Size>(I - 1)];
      }
    }
  }
  MatL->Resize(N, N);
  for (int I = 1; I <= N; ++I) {
    MatL->SetVal(I, I, D[static_cast<Size>(I - 1)]);
    for (int J = I + 1; J <= N; ++J) MatL->SetVal(I, J, Cell(J, I));
  }
  return Positive;
}

int TMatrix::Diff(int Order, NMX_nmxbase::TApplyColRow Mode) {
  if (Order < 1 || Order > 10) return -1;
  if (Mode == NMX_nmxbase::acrColumns) {
    if (Order >= FNRow) return -2;
    const Size M = static_cast<Size>(FNRow);
    for (int Pass = 0; Pass < Order; ++Pass) {
      for (Size C = 0; C < static_cast<Size>(FNCol); ++C) {
        double* Col = FMat.data() + C * M;
        for (Size K = 0; K + 1 < M; ++K) Col[K] = Col[K + 1] - Col[K];
      }
    }
    Resize(FNCol, FNRow - Order);
  } else if (Mode == NMX_nmxbase::acrRows) {
    if (Order >= FNCol) return -2;
    const Size M = static_cast<Size>(FNRow), N = static_cast<Size>(FNCol);
    for (int Pass = 0; Pass < Order; ++Pass) {
      for (Size C = 0; C + 1 < N; ++C) {
        for (Size R = 0; R < M; ++R) FMat[C * M + R] = FMat[(C + 1) * M + R] - FMat[C * M + R];
      }
    }
    Resize(FNCol - Order, FNRow);
  } else {
    return 0;
  }
  Changed();
  Resized();
  return 0;
}

}  // namespace NMX_matrix

namespace NMX_matrix {

double TMatrix::SpectralNorm() const {
  std::vector<double> A = FMat, V, W;
  if (!detail::SingularValueDecomposition(FNRow, FNCol, A, V, W)) {
    throw ENMXMatrixError("near singular covariance matrix");
  }
  double Largest = 0.0;
  for (const double X : W) Largest = std::max(Largest, X);
  return Largest;
}

}  // namespace NMX_matrix
