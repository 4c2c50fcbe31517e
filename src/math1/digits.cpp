#include "nmx/math1/digits.h"

#include <algorithm>

namespace NMX_math1 {
namespace {

// Digits of a power-of-two base: Shift bits per digit, NDig clamped to 1..MaxDig.
std::string PowerOfTwoDigits(std::int32_t Value, int NDig, int Shift, int MaxDig) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  NDig = std::clamp(NDig, 1, MaxDig);
  // 64 bits of room so that digits above bit 31 come out as zeros, not as a shift overflow.
  std::uint64_t U = static_cast<std::uint32_t>(Value);
  const std::uint64_t Mask = (1U << Shift) - 1U;
  std::string Text(static_cast<std::size_t>(NDig), '0');
  for (int I = NDig - 1; I >= 0 && U != 0; --I) {
    Text[static_cast<std::size_t>(I)] = kDigits[U & Mask];
    U >>= Shift;
  }
  return Text;
}

}  // namespace

std::string Hex(std::int32_t Value, std::uint8_t NDig) {
  return PowerOfTwoDigits(Value, NDig, 4, 16);
}

std::string Octal(std::int32_t Value, std::uint8_t NDig) {
  return PowerOfTwoDigits(Value, NDig, 3, 11);
}

std::string Bin(std::int32_t Value, std::uint8_t NDig) {
  return PowerOfTwoDigits(Value, NDig, 1, 32);
}

}  // namespace NMX_math1
