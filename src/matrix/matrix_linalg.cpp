// TMatrix: inversion, the LU factors, the determinant and the hat matrix, through the array
// functions of the open-array module (the cells go out and come back as nested arrays).
#include <algorithm>
#include <cstddef>

#include "nmx/matrix/matrix.h"
#include "nmx/openarrays/linalg.h"

namespace NMX_matrix {
namespace {

using NMX_nmxbase::TDouble2DArray;

TDouble2DArray Nested(const TMatrix& M) {
  TDouble2DArray A(static_cast<std::size_t>(M.NrOfColumns()));
  for (int C = 1; C <= M.NrOfColumns(); ++C) {
    const auto Col = M.Column(C);
    A[static_cast<std::size_t>(C - 1)].assign(Col.begin(), Col.end());
  }
  return A;
}

}  // namespace

void TMatrix::TakeNested(const NMX_nmxbase::TDouble2DArray& A) {
  for (int C = 1; C <= FNCol; ++C) {
    const auto& Col = A[static_cast<std::size_t>(C - 1)];
    std::copy(Col.begin(), Col.end(), FMat.begin() + static_cast<std::ptrdiff_t>(Offset(C, 1)));
  }
}

bool TMatrix::Invert() {
  if (FNCol != FNRow) return false;
  TDouble2DArray A = Nested(*this);
  const int Status = NMX_openarrays::InvertArray(A);
  TakeNested(A);
  return Status == 0;
}

bool TMatrix::LUdecomposition(TMatrix* MatL, TMatrix* MatU) {
  if (FNCol != FNRow || MatL == nullptr || MatU == nullptr) return false;
  TDouble2DArray L, U;
  if (NMX_openarrays::LUdecomposition(Nested(*this), L, U) != 0) return false;
  MatL->Resize(FNCol, FNCol);
  MatL->CopyFromArray(L, 0, 0, 0, 0, 1, 1);
  MatU->Resize(FNCol, FNCol);
  MatU->CopyFromArray(U, 0, 0, 0, 0, 1, 1);
  return true;
}

double TMatrix::Determinant() {
  if (FNCol != FNRow) return 0.0;
  return NMX_openarrays::Determinant(Nested(*this));
}

int TMatrix::CalcHatMatrix(TMatrix* HatMat) {
  if (HatMat == nullptr) return -1;
  HatMat->Resize(FNRow, FNRow);
  TDouble2DArray Hat;
  const int Status = NMX_openarrays::CalcHatMatrix(Nested(*this), Hat);
  if (Status == 0) HatMat->TakeNested(Hat);
  return Status;
}

}  // namespace NMX_matrix
