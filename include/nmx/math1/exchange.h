// ExChange and SortSwap: exchanging two values.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "nmx/config.h"

namespace NMX_math1 {

/// Exchange the values of A and B.
inline void ExChange(std::int32_t& A, std::int32_t& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(std::uint8_t& A, std::uint8_t& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(float& A, float& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(double& A, double& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(long double& A, long double& B) noexcept {
  std::swap(A, B);
}
/// Strings exchange their buffers; no characters are copied.
inline void ExChange(std::string& A, std::string& B) noexcept {
  A.swap(B);
}
inline void ExChange(bool& A, bool& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(char16_t& A, char16_t& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(std::uint16_t& A, std::uint16_t& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(std::int8_t& A, std::int8_t& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(std::uint32_t& A, std::uint32_t& B) noexcept {
  std::swap(A, B);
}
inline void ExChange(std::int64_t& A, std::int64_t& B) noexcept {
  std::swap(A, B);
}

/// Exchange Size bytes at A with Size bytes at B, byte by byte. Size 0, or a null pointer,
/// does nothing. The two blocks must not overlap.
NMX_API void ExChange(void* A, void* B, std::uint16_t Size) noexcept;

/// Put A and B in order: when (A < B) equals Ascending nothing happens and the result is
/// false; otherwise A and B are exchanged and the result is true. So with Ascending true two
/// equal values (or a NaN) count as out of order and are exchanged.
inline bool SortSwap(double& A, double& B, bool Ascending) noexcept {
  if ((A < B) == Ascending) return false;
  std::swap(A, B);
  return true;
}

}  // namespace NMX_math1
