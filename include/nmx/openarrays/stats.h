// Open-array functions: mean, standard deviation, variance and mean absolute deviation of a
// range, and counting the elements within a value interval.
#pragma once

#include <type_traits>

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

// Ranges are inclusive and come as lows then highs, except for CountValues (pairs). Sums are
// accumulated in double in the order first index outermost. The scalar outputs are set to 0
// before the checks, so they hold 0 after a nonzero status.

/// Mean := the mean of A[Lo..Hi]. Returns 0; -1 for an empty A; -2 when a bound lies outside A
/// or Lo > Hi.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int MeanArray(const Arr& A, int Lo, int Hi, double& Mean);

/// Mean := the mean of the block [LoCol..HiCol][LoRow..HiRow]; codes as the 1-D member.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int MeanArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& Mean);

/// Mean := the mean of the 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay).
template <class Arr>
requires NumArray<Arr, 3, 3>
NMX_API int MeanArray(const Arr& A, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow,
                      int HiLay, double& Mean);

/// Mean := the mean of the 4-D block from (LoCol, ..., LoTSlot) to (HiCol, ..., HiTSlot).
template <class Arr>
requires NumArray<Arr, 4, 4>
NMX_API int MeanArray(const Arr& A, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol,
                      int HiRow, int HiLay, int HiTSlot, double& Mean);

/// StdDev := the sample standard deviation (divisor n - 1) of A[Lo..Hi]; 0 for a single
/// element. Computed from the deviations about the mean, so a large common offset costs no
/// digits. Returns 0; -1 for an empty A; -2 for an invalid range.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int StdDevArray(const Arr& A, int Lo, int Hi, double& StdDev);

/// StdDev of the block [LoCol..HiCol][LoRow..HiRow]; as the 1-D member.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int StdDevArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& StdDev);

/// StdDev of the 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay).
template <class Arr>
requires NumArray<Arr, 3, 3>
NMX_API int StdDevArray(const Arr& A, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow,
                        int HiLay, double& StdDev);

/// StdDev of the 4-D block from (LoCol, ..., LoTSlot) to (HiCol, ..., HiTSlot).
template <class Arr>
requires NumArray<Arr, 4, 4>
NMX_API int StdDevArray(const Arr& A, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol,
                        int HiRow, int HiLay, int HiTSlot, double& StdDev);

/// Mean and sample variance (divisor n - 1) of A[Lo..Hi]; the variance of a single element
/// is 0 (unlike the vector's MeanVar, which reports 1 for fewer than three values). Computed
/// from the deviations about the mean. Returns 0; -1 for an empty A; -2 for an invalid range.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int MeanVarArray(const Arr& A, int Lo, int Hi, double& Mean, double& Variance);

/// Mean and sample variance of the block [LoCol..HiCol][LoRow..HiRow]; as the 1-D member.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int MeanVarArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& Mean,
                         double& Variance);

/// The mean absolute deviation about the mean, Σ|x - mean| / n, of all of A; -1.0 for an
/// empty A.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API double MeanAbsDev(const Arr& A);

/// The number of elements x of A[Lo..Hi] with LowVal <= x <= HighVal. -1 for an empty A; -2
/// when a bound lies outside A, Lo > Hi or LowVal > HighVal.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int CountValues(const Arr& A, int Lo, int Hi, std::type_identity_t<ElemOf<Arr>> LowVal,
                        std::type_identity_t<ElemOf<Arr>> HighVal);

/// CountValues over the block [LoCol..HiCol][LoRow..HiRow] (bounds in pairs).
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow,
                        std::type_identity_t<ElemOf<Arr>> LowVal,
                        std::type_identity_t<ElemOf<Arr>> HighVal);

/// CountValues over a 3-D block, bounds in pairs (column, row, layer).
template <class Arr>
requires NumArray<Arr, 3, 3>
NMX_API int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow, int LoLay,
                        int HiLay, std::type_identity_t<ElemOf<Arr>> LowVal,
                        std::type_identity_t<ElemOf<Arr>> HighVal);

/// CountValues over a 4-D block, bounds in pairs (column, row, layer, time slot).
template <class Arr>
requires NumArray<Arr, 4, 4>
NMX_API int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow, int LoLay,
                        int HiLay, int LoTSlot, int HiTSlot,
                        std::type_identity_t<ElemOf<Arr>> LowVal,
                        std::type_identity_t<ElemOf<Arr>> HighVal);

}  // namespace NMX_openarrays
