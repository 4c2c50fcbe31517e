// Open-array functions: Boolean arrays (counting, negation, conversion to numbers) and the
// equality of integer arrays.
#pragma once

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// A Boolean source and a double or integer result of the same rank (1-D, 2-D).
template <class BArr, class NArr>
concept BoolToNumPair =
    BoolArray<BArr, 1, 2> && NumArray<NArr, 1, 2> && (RankOf<BArr> == RankOf<NArr>);

/// The number of true elements of A, or -1 for an empty A.
template <class Arr>
requires BoolArray<Arr, 1, 2>
NMX_API int CountTrueCellsOfArray(const Arr& A);

/// The number of true elements of the block [LoCol..HiCol][LoRow..HiRow] (bounds in pairs).
/// The pair 0, 0 stands for the whole extent of its dimension; reversed bounds are exchanged.
/// -1 for an empty A; -2 when a bound lies outside A.
template <class Arr>
requires BoolArray<Arr, 2, 2>
NMX_API int CountTrueCellsOfArray(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow);

/// Negates every element of A. Returns 0, or -1 for an empty A.
template <class Arr>
requires BoolArray<Arr, 1, 2>
NMX_API int InvertArray(Arr& A);

/// Result[i] := TrueVal where A[i] is true, else FalseVal; Result gets A's extents. Returns 0,
/// or -1 for an empty A (Result unchanged).
template <class BArr, class NArr>
requires BoolToNumPair<BArr, NArr>
NMX_API int BoolToNumArray(const BArr& A, ElemOf<NArr> FalseVal, ElemOf<NArr> TrueVal,
                           NArr& Result);

/// True when A and B have the same extents and equal elements. An array that is empty (or
/// ragged, see the module notes) equals another empty one and no non-empty one.
template <class Arr>
requires ArrayOf<Arr, std::int32_t, 1, 4>
NMX_API bool EqualArrays(const Arr& A, const Arr& B);

}  // namespace NMX_openarrays
