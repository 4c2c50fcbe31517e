// Comb sort and ordered insertion into plain arrays, typed and untyped.
#pragma once

#include <cstdint>
#include <span>

#include "nmx/base/types.h"
#include "nmx/config.h"

namespace NMX_math1 {

/// Sort Data in place by comb sort (the gap shrinks by the factor 1.3 per pass, down to 1,
/// until a pass of gap 1 exchanges nothing). Not stable. Out of order means a > b when
/// Ascending, a < b otherwise, so equal elements are never exchanged and a NaN, which
/// compares false with everything, stays where it is: data with NaNs comes out only partly
/// ordered.
/// Each pass adds 1 to `NMX_nmxbase::ProcStat` and calls `MathFeedBackProc` if it is set; fewer
/// than two elements make no pass.
NMX_API void SortArray(std::span<double> Data, bool Ascending);
NMX_API void SortArray(std::span<std::int32_t> Data, bool Ascending);
NMX_API void SortArray(std::span<float> Data, bool Ascending);

/// The same on N elements of the kind Kind at Data (8-byte doubles for `vkDouble` and
/// `vkReal`, 4-byte singles for `vkSingle`, 32-bit integers for `vkInteger` and `vkLongint`).
/// Any other kind, N <= 1 or a null Data does nothing.
NMX_API void SortArray(void* Data, int N, NMX_nmxbase::TVarKind Kind, bool Ascending);

/// Insert Value into Data, which is sorted in the order Ascending gives, keeping its length:
/// the elements from the first one >= Value (<= Value when descending) up move one place up,
/// the last element is lost, and Value is stored in the gap. Returns the 0-based position of
/// Value, or -1 when nothing was inserted: Value lies beyond the last element, Data is empty,
/// or Value equals the element found and AllowDuplicates is false. An equal value goes in
/// front of its equal.
NMX_API int SortIntoArray(std::span<double> Data, double Value, bool Ascending,
                          bool AllowDuplicates);
NMX_API int SortIntoArray(std::span<float> Data, float Value, bool Ascending, bool AllowDuplicates);
NMX_API int SortIntoArray(std::span<std::int32_t> Data, std::int32_t Value, bool Ascending,
                          bool AllowDuplicates);

/// The same on N elements of the kind Kind at Data, Value pointing at one element of that
/// kind. Returns the 1-based position, or 0 when nothing was inserted (also for an unknown
/// kind, N <= 0 or a null pointer).
NMX_API int SortIntoArray(void* Data, int N, NMX_nmxbase::TVarKind Kind, const void* Value,
                          bool Ascending, bool AllowDuplicates);

/// For 0 <= Ix <= High: move the elements Ix..High-1 one place up (the last is lost) and store
/// Value at Ix. Other Ix do nothing. Keeps a companion array in step with `SortIntoArray`.
NMX_API void InsertIntoArray(std::span<double> Data, double Value, int Ix);
NMX_API void InsertIntoArray(std::span<float> Data, float Value, int Ix);
NMX_API void InsertIntoArray(std::span<std::int32_t> Data, std::int32_t Value, int Ix);

/// The same on N elements of the kind Kind at Data, with the 1-based position 1 <= Ix <= N.
/// An unknown kind, another Ix or a null pointer does nothing.
NMX_API void InsertIntoArray(void* Data, int N, NMX_nmxbase::TVarKind Kind, const void* Value,
                             int Ix);

}  // namespace NMX_math1
