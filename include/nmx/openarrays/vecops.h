// Open-array functions: dot and cross products of one-dimensional arrays taken as vectors.
#pragma once

#include <cstddef>
#include <utility>

#include "nmx/openarrays/detail/elem.h"
#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

/// DotProd := Σ A[i]·B[i] in index order (double arithmetic for doubles, 32-bit wrapping
/// arithmetic for integers). Returns 0; -1 when A or B is empty; -2 when the lengths differ
/// (DotProd unchanged).
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int VectorDotProduct(const Arr& A, const Arr& B, detail::ElemOf<Arr>& DotProd) {
  using T = detail::ElemOf<Arr>;
  if (A.empty() || B.empty()) return -1;
  if (A.size() != B.size()) return -2;
  T Sum = T(0);
  for (std::size_t I = 0; I < A.size(); ++I) {
    Sum = detail::AddElem(Sum, detail::MulElem(A[I], B[I]));
  }
  DotProd = Sum;
  return 0;
}

/// Result := A × B for three-element vectors: (a1·b2 - a2·b1, a2·b0 - a0·b2, a0·b1 - a1·b0),
/// Result resized to 3 (integers in 32-bit wrapping arithmetic). Returns 0; -1 when A or B is
/// empty; -2 unless both have exactly 3 elements (Result unchanged). Result may be A or B.
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int VectorCrossProduct(const Arr& A, const Arr& B, Arr& Result) {
  using detail::MulElem;
  using detail::SubElem;
  if (A.empty() || B.empty()) return -1;
  if (A.size() != 3 || B.size() != 3) return -2;
  Arr C{SubElem(MulElem(A[1], B[2]), MulElem(A[2], B[1])),
        SubElem(MulElem(A[2], B[0]), MulElem(A[0], B[2])),
        SubElem(MulElem(A[0], B[1]), MulElem(A[1], B[0]))};
  Result = std::move(C);
  return 0;
}

}  // namespace NMX_openarrays
