// Euclidean lengths and distances of sequences, right wherever the result is representable.
#pragma once

#include <cstdint>
#include <span>

#include "nmx/config.h"

namespace NMX_math1 {

/// sqrt(Σx²), summed in element order. Where that plain sum would leave the double range
/// (elements beyond about 1e154, or all below about 1e-154) the elements are summed again,
/// scaled by a power of two (exactly), so the length is right wherever it is representable;
/// elsewhere the result is the plain sum's, bit for bit. 0 for an empty X; NaN when an
/// element is NaN.
NMX_API double EuclideanLength(std::span<const double> X) noexcept;
/// The same over 32-bit integers, each squared as a double (no integer overflow).
NMX_API double EuclideanLength(std::span<const std::int32_t> X) noexcept;

/// sqrt(Σ(x - y)²) over the common length of X and Y, with the same care for the range: the
/// differences are rescaled where their squares would overflow or underflow.
NMX_API double EuclideanDistance(std::span<const double> X, std::span<const double> Y) noexcept;
NMX_API double EuclideanDistance(std::span<const std::int32_t> X,
                                 std::span<const std::int32_t> Y) noexcept;

}  // namespace NMX_math1
