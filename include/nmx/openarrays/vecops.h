// Open-array functions: dot and cross products of one-dimensional arrays taken as vectors.
#pragma once

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// DotProd := Σ A[i]·B[i] in index order (double arithmetic for doubles, 32-bit wrapping
/// arithmetic for integers). Returns 0; -1 when A or B is empty; -2 when the lengths differ
/// (DotProd unchanged).
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int VectorDotProduct(const Arr& A, const Arr& B, ElemOf<Arr>& DotProd);

/// Result := A × B for three-element vectors: (a1·b2 - a2·b1, a2·b0 - a0·b2, a0·b1 - a1·b0),
/// Result resized to 3 (integers in 32-bit wrapping arithmetic). Returns 0; -1 when A or B is
/// empty; -2 unless both have exactly 3 elements (Result unchanged). Result may be A or B.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int VectorCrossProduct(const Arr& A, const Arr& B, Arr& Result);

}  // namespace NMX_openarrays
