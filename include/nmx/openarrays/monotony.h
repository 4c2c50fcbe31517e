// Open-array functions: shape tests of 1-D arrays (breaks of a straight line, monotony, two
// values only).
#pragma once

#include <type_traits>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// Finds where a sampled straight line bends: d := A[1] - A[0]; for j = 2..n-1, when
/// |A[j] - A[j-1] - d| > Tolerance, j - 1 is appended to Breaks and d := A[j] - A[j-1].
/// Breaks then holds exactly the appended indices; their number is returned. With fewer than
/// 3 elements the result is 0 and Breaks is left as it is. A NaN difference is no break.
NMX_API int CheckLinearity(const NMX_nmxbase::TDoubleArray& A, double Tolerance,
                           NMX_nmxbase::TIntArray& Breaks);

/// The same for integers with Tolerance 0: every change of the difference is a break. The
/// differences are exact (taken in 64 bits), so no wrap-around can hide or fake a break.
NMX_API int CheckLinearity(const NMX_nmxbase::TIntArray& A, NMX_nmxbase::TIntArray& Breaks);

/// True when A never changes direction: the sign of the first non-zero difference A[k] -
/// A[k+1] holds for every later non-zero difference (equal neighbours are allowed, an
/// all-equal A is monotone). True for fewer than 3 elements. A pair with a NaN counts as equal.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API bool IsMonotone(const Arr& A);

/// True when every difference A[k] - A[k+1] has the sign of the first one, which must not be
/// 0: false when A[0] = A[1] (or a NaN takes part). True for fewer than 3 elements, [1, 1]
/// included.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API bool IsStrictlyMonotone(const Arr& A);

/// True when A holds exactly two distinct values; Val1 and Val2 then receive them in
/// ascending order. Val1 and Val2 are set to 0 first; false for fewer than 2 elements, when a
/// third value occurs, and also when all elements are equal (unlike the vector's
/// IsDichotomous); on false Val1 holds A[0] and Val2 the first value differing from it, if
/// any were found.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API bool IsDichotomous(const Arr& A, ElemOf<Arr>& Val1, ElemOf<Arr>& Val2);

}  // namespace NMX_openarrays
