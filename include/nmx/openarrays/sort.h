// Open-array functions: sorting with an index trail, and sorting into a set of distinct values.
#pragma once

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// Sorts A in place by the library's comb sort (first gap from n - 1, equal elements never
/// exchanged, not stable) and keeps Ix in step: Ix is first set to 1, 2, ..., n, the 1-based
/// positions before sorting (also when n < 2), and every exchange of A[i] and A[j] exchanges
/// Ix[i] and Ix[j], so Ix[k] tells where A[k] stood. Returns 0; -1 for fewer than 2 elements
/// (A unchanged). No progress is reported. NaNs compare false with everything and stay where
/// they are, so data with NaNs comes out only partly ordered.
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int SortArray(bool Ascending, Arr& A, NMX_nmxbase::TIntArray& Ix);

/// Sorts A (ascending, or descending when Ascending is false) and keeps each value once: A is
/// shortened accordingly. Returns the number of elements removed, or -1 for fewer than 2
/// elements (A unchanged). The sort steps the process-wide progress counter once per pass.
NMX_API int SortAndRemoveDuplicates(NMX_nmxbase::TIntArray& A, bool Ascending);

}  // namespace NMX_openarrays
