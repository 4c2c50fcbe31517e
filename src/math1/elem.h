// Element-level helpers of the containers and the open-array functions: conversion between
// element types, 32-bit integer arithmetic that wraps, uniform random indices, the range rule
// and the checksum of a run of cells.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
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

/// The range rule of the 1-based containers over N cells: (0, 0) becomes (1, N); otherwise
/// each bound is clipped to 1..N and a reversed pair exchanged. Returns -1 when a bound was
/// clipped, else 0; the exchange counts as well when ExchangeCounts (the rows of a matrix).
constexpr int ValidRange(int N, int& Low, int& High, bool ExchangeCounts = false) noexcept {
  if (Low == 0 && High == 0) {
    Low = 1;
    High = N;
    return 0;
  }
  int Status = 0;
  const auto Clip = [N, &Status](int& X) {
    if (X < 1) {
      X = 1;
      Status = -1;
    } else if (X > N) {
      X = N;
      Status = -1;
    }
  };
  Clip(Low);
  Clip(High);
  if (High < Low) {
    const int Keep = Low;
    Low = High;
    High = Keep;
    if (ExchangeCounts) Status = -1;
  }
  return Status;
}

/// The checksum text of a run of cells: one CRC-32 register per byte of the element type,
/// register j fed with byte j (little endian) of every cell in order, each complemented and
/// printed as 8 upper-case hex digits, register 0 first. Empty cells give "".
NMX_API std::string CellsChecksum(std::span<const double> Cells);
NMX_API std::string CellsChecksum(std::span<const std::int32_t> Cells);

}  // namespace NMX_math1::detail
