// Open-array functions: element-wise and scalar arithmetic, accumulation and the sum of
// squared differences.
#pragma once

#include <type_traits>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

// Integer members compute in 32-bit arithmetic that wraps (2147483647 + 1 gives -2147483648);
// double members in double. Every function below returns 0 on success and -1 for an empty
// array (nothing is changed then); the two-array functions return -2 for different extents.

/// x := |x| for every element. The integer -2147483648 stays -2147483648 (it has no positive
/// counterpart in 32 bits).
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int AbsValArray(Arr& A);

/// x := 1/x for x != 0, x := ValueForZero for x = 0 (either sign).
template <class Arr>
requires ArrayOf<Arr, double, 1, 4>
NMX_API int ReciprocalArray(Arr& A, double ValueForZero);

/// x := x + Delta for every element.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int IncArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Delta);

/// x := x·Factor for every element.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int MultiplyArrayByScalar(Arr& A, std::type_identity_t<ElemOf<Arr>> Factor);

/// Result := A·Factor, Result given A's extents.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int MultiplyArrayByScalar(const Arr& A, std::type_identity_t<ElemOf<Arr>> Factor,
                                  Arr& Result);

/// Result := A + Delta, Result given A's extents.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int AddScalarToArray(const Arr& A, std::type_identity_t<ElemOf<Arr>> Delta, Arr& Result);

/// Result := A + B element by element. -2 when the extents differ.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int AddArrays(const Arr& A, const Arr& B, Arr& Result);

/// Result := A - B element by element. -2 when the extents differ.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int SubtractArrays(const Arr& A, const Arr& B, Arr& Result);

/// Result := A·B element by element (1-D, 2-D). -2 when the extents differ.
template <class Arr>
requires NumArray<Arr, 1, 2>
NMX_API int MultiplyArraysElemw(const Arr& A, const Arr& B, Arr& Result);

/// A := A + Factor·B element by element (a scaled accumulation, A += Factor·B). Returns 0; -1
/// when A or B is empty; -2 when the extents differ (A unchanged).
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int AccumulateArray(Arr& A, const Arr& B, std::type_identity_t<ElemOf<Arr>> Factor);

/// Σ (A[i] - B[i])², summed in double in index order. -1.0 when A or B is empty, -2.0 when the
/// lengths differ.
NMX_API double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A,
                                 const NMX_nmxbase::TDoubleArray& B);

/// Σ (A[i] - B[Col][i])². -1.0 when A or B is empty; -2.0 when A's length differs from the
/// length of B's columns; -3.0 when Col lies outside B.
NMX_API double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A,
                                 const NMX_nmxbase::TDouble2DArray& B, int Col);

}  // namespace NMX_openarrays
