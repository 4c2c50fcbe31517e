// Open-array functions: largest and smallest elements, with and without their positions.
#pragma once

#include <cstdint>
#include <span>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// The element types of MinMaxArray: single 1-D, double and integer 1-D to 4-D.
template <class Arr>
concept MinMaxMember = NumArray<Arr, 1, 4> || ArrayOf<Arr, float, 1, 1>;

// For NaN elements the comparisons are false: a NaN never replaces an extreme, but a NaN met
// first (where the first element starts the search) stays.

/// The largest element of A. For an empty A: -2147483648.0 for double 1-D and 2-D arrays, the
/// negative largest double for 3-D and 4-D ones, -2147483648 for integer arrays.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API ElemOf<Arr> MaxArray(const Arr& A);

/// The smallest element of A. For an empty A: 2147483647.0 for double 1-D and 2-D arrays, the
/// largest double for 3-D and 4-D ones, 2147483647 for integer arrays.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API ElemOf<Arr> MinArray(const Arr& A);

/// The largest element of A and in Ix the position of its first occurrence (0 when it is the
/// first element). For an empty A the value of MaxArray(A), Ix unchanged.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API ElemOf<Arr> MaxArray(const Arr& A, int& Ix);

/// The smallest element of A and the position of its first occurrence; as MaxArray.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API ElemOf<Arr> MinArray(const Arr& A, int& Ix);

/// The largest element of a 2-D A and its first position, columns outermost ([0][0], [0][1],
/// ..., [1][0], ...). For an empty A the value of MaxArray(A), Col and Row unchanged.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API ElemOf<Arr> MaxArray(const Arr& A, int& Col, int& Row);

/// The smallest element of a 2-D A and its first position; as MaxArray.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API ElemOf<Arr> MinArray(const Arr& A, int& Col, int& Row);

/// Minimum and Maximum of A. Both are first set to their start values (the largest finite
/// value of the element type and its negative; 2147483647 and -2147483648 for integers), which
/// an empty A leaves there with status -1. Otherwise both start at the first element, every
/// further element is compared strictly, and the status is 0.
template <class Arr>
requires MinMaxMember<Arr>
NMX_API int MinMaxArray(const Arr& A, ElemOf<Arr>& Minimum, ElemOf<Arr>& Maximum);

/// MinMaxArray over a plain sequence of doubles.
NMX_API int MinMaxArray(std::span<const double> A, double& Minimum, double& Maximum);

/// MinMaxArray over a plain sequence of 32-bit integers.
NMX_API int MinMaxArray(std::span<const std::int32_t> A, std::int32_t& Minimum,
                        std::int32_t& Maximum);

/// Minimum and Maximum of A[Lo..Hi] with the positions MinIx, MaxIx of their first
/// occurrences. The outputs first get the start values of MinMaxArray and the positions 0.
/// Returns 0; -1 for an empty A; -2 when a bound lies outside A. Lo > Hi is no error: the
/// range is empty and the outputs keep their start values.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int MinMaxArray(const Arr& A, int Lo, int Hi, ElemOf<Arr>& Minimum, ElemOf<Arr>& Maximum,
                        int& MinIx, int& MaxIx);

/// Minimum and Maximum of the block [LoCol..HiCol][LoRow..HiRow] with the positions of their
/// first occurrences (columns outermost); as the 1-D member.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int MinMaxArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow,
                        ElemOf<Arr>& Minimum, ElemOf<Arr>& Maximum, int& MinCol, int& MinRow,
                        int& MaxCol, int& MaxRow);

}  // namespace NMX_openarrays
