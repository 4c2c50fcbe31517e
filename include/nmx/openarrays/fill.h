// Open-array functions: filling with a value, a range, an arithmetic series, a diagonal or
// random numbers.
#pragma once

#include <cstdint>
#include <type_traits>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

// ---------------------------------------------------------------------------------------------
// FillArray

/// Sets every element of A to Value. Returns 0, or -1 for an empty A.
template <class Arr>
requires NumArray<Arr, 1, 4> || BoolArray<Arr, 1, 2>
NMX_API int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value);

/// Sets the elements A[Lo..Hi] to Value. Returns 0, -1 for an empty A, -2 when a bound lies
/// outside A or Lo > Hi (nothing is changed then).
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int Lo, int Hi);

/// The block [LoCol..HiCol][LoRow..HiRow] := Value; codes as for the 1-D range member.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int LoCol, int LoRow,
                      int HiCol, int HiRow);

/// The 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay) := Value.
template <class Arr>
requires NumArray<Arr, 3, 3>
NMX_API int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int LoCol, int LoRow,
                      int LoLay, int HiCol, int HiRow, int HiLay);

/// The 4-D block from (LoCol, LoRow, LoLay, LoTSlot) to (HiCol, HiRow, HiLay, HiTSlot) := Value.
template <class Arr>
requires NumArray<Arr, 4, 4>
NMX_API int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int LoCol, int LoRow,
                      int LoLay, int LoTSlot, int HiCol, int HiRow, int HiLay, int HiTSlot);

// ---------------------------------------------------------------------------------------------
// FillArraySerial

/// An arithmetic series. 1-D: A[i] := Offset + i·Diff (one product per element; the integer
/// member wraps in 32 bits). 2-D to 4-D: the elements are visited first index outermost
/// (A[0][0], A[0][1], ..., A[1][0], ...); the first gets Offset, and Diff is added to a running
/// value after each element. Returns 0, or -1 for an empty A.
template <class Arr>
requires ArrayOf<Arr, double, 1, 4> || ArrayOf<Arr, std::int32_t, 1, 3>
NMX_API int FillArraySerial(Arr& A, std::type_identity_t<ElemOf<Arr>> Offset,
                            std::type_identity_t<ElemOf<Arr>> Diff);

/// The series 0, 1, 2, ... (Offset 0, Diff 1).
template <class Arr>
requires NumArray<Arr, 1, 3>
NMX_API int FillArraySerial(Arr& A);

// ---------------------------------------------------------------------------------------------
// FillDiagArray

/// For an array whose extents are all equal: the elements whose indices are all equal := Value,
/// every other element := 0. Returns 0, -1 for an empty A, -2 when the extents differ.
template <class Arr>
requires NumArray<Arr, 2, 4>
NMX_API int FillDiagArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value);

// ---------------------------------------------------------------------------------------------
// Random fills. Each call reseeds the platform's generator from the clock first
// (`NMX_platform::Randomize`), so a seed set beforehand does not make the result reproducible.

/// Each element := Mean + StdDev·z with z a standard normal variate (polar method on the
/// platform's generator). Returns 0, -1 for an empty A, -2 when StdDev < 0 or is NaN.
template <class Arr>
requires ArrayOf<Arr, double, 1, 4>
NMX_API int FillRandomNormal(Arr& A, double Mean, double StdDev);

/// Uniform random elements. double: RangeLow + (RangeHigh - RangeLow)·u with u in [0, 1).
/// Integer: ⌊RangeLow + (RangeHigh - RangeLow)·u⌋, so RangeHigh itself never occurs (unless it
/// equals RangeLow). Returns 0, -1 for an empty A, -2 when RangeLow > RangeHigh (or NaN).
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int FillRandomUniform(Arr& A, std::type_identity_t<ElemOf<Arr>> RangeLow,
                              std::type_identity_t<ElemOf<Arr>> RangeHigh);

/// Uniform random integers in RangeLow..RangeHigh, both included (m = RangeHigh - RangeLow + 1
/// values). With AllowRepetitions each element is drawn independently; without, the elements
/// are distinct: A receives a uniformly drawn ordered selection of A.size() of the m values
/// (every arrangement equally likely). Returns 0; -1 for an empty A; -2 when RangeHigh <
/// RangeLow; without repetitions -3 when m < A.size() and -4 when m > 1000000.
NMX_API int FillRandomUniform(NMX_nmxbase::TIntArray& A, std::int32_t RangeLow,
                              std::int32_t RangeHigh, bool AllowRepetitions);

}  // namespace NMX_openarrays
