// Open-array functions: transposition, trace and reversal along one dimension.
#pragma once

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// A becomes its transpose: extents (old second, old first) with A'[j][i] = A[i][j]. Returns
/// 0, or -1 for an empty A.
template <class Arr>
requires NumArray<Arr, 2, 2> || BoolArray<Arr, 2, 2>
NMX_API int TransposeArray(Arr& A);

/// Trace := 0, then for a square A the sum of A[i][i] (in 32-bit wrapping arithmetic for
/// integers). Returns 0; -1 for an empty A; -2 when the two extents differ.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int TraceOfArray(const Arr& A, ElemOf<Arr>& Trace);

/// Reverses the order of A along dimension Dim (1 = first index, up to the rank). Returns 0;
/// -1 for an empty A; -2 for any other Dim.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int FlipDimArray(Arr& A, int Dim);

}  // namespace NMX_openarrays
