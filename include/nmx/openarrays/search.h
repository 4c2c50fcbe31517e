// Open-array functions: finding a value in plain and sorted arrays and a text in an array of
// strings.
#pragma once

#include <cstdint>
#include <string_view>

#include "nmx/base/types.h"
#include "nmx/config.h"

namespace NMX_openarrays {

/// The index of the first element of A equal to Key; -1 for an empty A; -2 when there is
/// none.
NMX_API int FindInArray(std::int32_t Key, const NMX_nmxbase::TIntArray& A);

/// The index of the first element of A that matches Text: equals it, or with
/// AllowPartialMatch contains it. With IgnoreCase both sides are compared with the ASCII
/// letters in lower case (the comparison never depends on the locale). -1 for an empty A; -2
/// when nothing matches. An empty Text is contained in every element.
NMX_API int FindInArray(std::string_view Text, const NMX_nmxbase::TStrArray& A, bool IgnoreCase,
                        bool AllowPartialMatch);

/// The index of Value in A, which is sorted ascending (descending when Ascending is false),
/// by bisection: the index of an element met on the way that equals Value, else that of the
/// nearer of the two neighbours that bracket Value, a tie going to the higher index. -1 for
/// an empty A; -2 when Value lies outside [A[0], A[n-1]] ([A[n-1], A[0]] descending), a NaN
/// Value included.
NMX_API int FindInSortedArray(double Value, const NMX_nmxbase::TDoubleArray& A, bool Ascending);

}  // namespace NMX_openarrays
