// Open-array functions: percentiles and frequency distributions of arrays.
#pragma once

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// The prob percentile of A without interpolation: prob is clamped to 0..100 and the result
/// is the element of rank K = min(round(n·prob/100), n - 1) (ties to even; rank 0 is the
/// smallest), so prob 50 of four values gives the third smallest. A is not changed (the
/// selection works on a copy). 0 for an empty A; NaN for a NaN prob. Elements that are NaN
/// have no rank: with them the result may be a NaN or a value off its rank.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API double PercentileArray(double prob, const Arr& A);

/// The percentile of A[Lo..Hi]. The bounds are clipped, not validated: a negative bound
/// counts as 0, one beyond the end as the last index, and reversed bounds are exchanged.
/// 0 for an empty A.
NMX_API double PercentileArray(double prob, const NMX_nmxbase::TDoubleArray& A, int Lo, int Hi);

/// The percentile of the block [LoCol..HiCol][LoRow..HiRow] (lows then highs). Each bound is
/// clipped into its dimension, and reversed bounds are exchanged. 0 for an empty or ragged A.
NMX_API double PercentileArray(double prob, const NMX_nmxbase::TDouble2DArray& A, int LoCol,
                               int LoRow, int HiCol, int HiRow);

/// Counts A[Lo..Hi] into NBins = round((LastBin - FirstBin) / BinWidth) + 1 bins of width
/// BinWidth from FirstBin on: Histo receives the counts, Underflow the values below FirstBin,
/// Overflow those at or above LastBin + BinWidth (and those that round into a bin past the
/// last when the bounds are not a whole number of bins apart), MaxCnt the largest count.
/// NaN elements are counted nowhere. Lo = Hi = 0 is the whole array. The range is validated:
/// returns 0; -1 when Lo or Hi lies outside A (so for an empty A too); -2 when Hi < Lo; -3
/// when FirstBin >= LastBin (or either is NaN); -4 when BinWidth <= 0 (or NaN); -5 for more
/// than 1000 bins. On a nonzero status the outputs are not changed.
NMX_API int FrequDistOfArray(const NMX_nmxbase::TDoubleArray& A, int Lo, int Hi, double FirstBin,
                             double LastBin, double BinWidth, NMX_nmxbase::TIntArray& Histo,
                             int& Underflow, int& Overflow, int& MaxCnt);

/// The same over the block [LoCol..HiCol][LoRow..HiRow] (lows then highs); all four bounds 0
/// is the whole array. -1 when a bound lies outside A (an empty or ragged A included), -2 for
/// reversed bounds, the other codes as above.
NMX_API int FrequDistOfArray(const NMX_nmxbase::TDouble2DArray& A, int LoCol, int LoRow, int HiCol,
                             int HiRow, double FirstBin, double LastBin, double BinWidth,
                             NMX_nmxbase::TIntArray& Histo, int& Underflow, int& Overflow,
                             int& MaxCnt);

/// The same counting only the cells whose Mask value is false (a true Mask cell is masked
/// out, so an all-true Mask counts nothing). Codes as the unmasked member, then -6 when
/// Mask's extents differ from A's (or Mask is ragged).
NMX_API int FrequDistOfArray(const NMX_nmxbase::TDouble2DArray& A,
                             const NMX_nmxbase::TBool2DArray& Mask, int LoCol, int LoRow,
                             int HiCol, int HiRow, double FirstBin, double LastBin,
                             double BinWidth, NMX_nmxbase::TIntArray& Histo, int& Underflow,
                             int& Overflow, int& MaxCnt);

}  // namespace NMX_openarrays
