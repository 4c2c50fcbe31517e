// Element-level helpers of the containers and the open-array functions: conversion between
// element types, 32-bit integer arithmetic that wraps, and uniform random indices.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "nmx/config.h"

namespace NMX_math1::detail {

/// X clamped to [-2147483648, 2147483647], then rounded to the nearest integer, ties to even
/// (in the default rounding mode); NaN gives 0.
NMX_API std::int32_t RoundToInt32(double X) noexcept;

/// X rounded to single. Beyond the single range the result is the IEEE one (the largest single
/// within half a unit in the last place, else an infinity of X's sign), without the undefined
/// conversion of an out-of-range double.
NMX_API float ToSingle(double X) noexcept;

/// A uniform index in [0, Range) from the platform's generator; 0 when Range < 2. Ranges beyond
/// the int range are drawn from a double variate.
NMX_API std::size_t RandomIndex(std::size_t Range) noexcept;

/// The element conversions of the module: double to integer by RoundToInt32, double to single
/// by ToSingle, integer or single to double exactly, same type unchanged.
template <class To, class From>
To ConvertElem(From X) noexcept {
  if constexpr (std::is_same_v<To, From>) {
    return X;
  } else if constexpr (std::is_same_v<To, std::int32_t> && std::is_same_v<From, double>) {
    return RoundToInt32(X);
  } else if constexpr (std::is_same_v<To, float> && std::is_same_v<From, double>) {
    return ToSingle(X);
  } else {
    static_assert(std::is_same_v<To, double>, "no such element conversion");
    return static_cast<double>(X);
  }
}

/// True for the 32-bit integer element type, whose arithmetic wraps.
template <class T>
inline constexpr bool IsInt32 = std::is_same_v<T, std::int32_t>;

template <class T>
constexpr T AddElem(T X, T Y) noexcept {
  if constexpr (IsInt32<T>) {
    return static_cast<T>(static_cast<std::uint32_t>(X) + static_cast<std::uint32_t>(Y));
  } else {
    return X + Y;
  }
}

template <class T>
constexpr T SubElem(T X, T Y) noexcept {
  if constexpr (IsInt32<T>) {
    return static_cast<T>(static_cast<std::uint32_t>(X) - static_cast<std::uint32_t>(Y));
  } else {
    return X - Y;
  }
}

template <class T>
constexpr T MulElem(T X, T Y) noexcept {
  if constexpr (IsInt32<T>) {
    return static_cast<T>(static_cast<std::uint32_t>(X) * static_cast<std::uint32_t>(Y));
  } else {
    return X * Y;
  }
}

/// |X|; the integer -2147483648 wraps onto itself.
template <class T>
constexpr T AbsElem(T X) noexcept {
  if constexpr (IsInt32<T>) {
    return X < 0 ? static_cast<T>(0U - static_cast<std::uint32_t>(X)) : X;
  } else {
    return std::fabs(X);
  }
}

}  // namespace NMX_math1::detail
