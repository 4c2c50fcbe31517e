// Universal constants: largest values, square roots and the ln n! table.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <numbers>

#include "nmx/config.h"

namespace NMX_univconst {

/// The largest finite double; the start value of minimum searches (and its negation of maximum
/// searches).
inline constexpr double uc_MaxDouble = std::numeric_limits<double>::max();
/// The same value under its second name: reals are doubles in this library.
inline constexpr double uc_MaxReal = std::numeric_limits<double>::max();
/// The largest finite single (float).
inline constexpr float uc_MaxSingle = std::numeric_limits<float>::max();
/// The largest 64-bit signed integer, 2^63 - 1.
inline constexpr std::int64_t uc_MaxInt64 = std::numeric_limits<std::int64_t>::max();
/// The square root of 2, correctly rounded.
inline constexpr double uc_sqrt2 = std::numbers::sqrt2;
/// 1 / sqrt(2 pi), the peak of the standard normal density, correctly rounded
/// (mpmath at 50 digits: float(1/mpmath.sqrt(2*mpmath.pi))).
inline constexpr double uc_sqrt2pitom1 = 0.3989422804014327;

/// Number of entries of `uc_LnFactorial`: ln n! for n = 0..1000.
inline constexpr int kLnFactorialCount = 1001;

/// ln n! for n = 0..1000, each entry the double nearest to the true value.
NMX_API extern const std::array<double, kLnFactorialCount> uc_LnFactorial;

/// ln n! from the table for 0 <= n <= 1000; NaN for any other n.
NMX_API double LnFactorial(int n) noexcept;

}  // namespace NMX_univconst
