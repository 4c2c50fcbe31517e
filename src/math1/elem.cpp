#include "math1/elem.h"

#include <array>
#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

#include "nmx/base/crc.h"
#include "nmx/math1/digits.h"
#include "nmx/platform/random.h"

namespace NMX_math1::detail {

std::int32_t RoundToInt32(double X) noexcept {
  if (std::isnan(X)) return 0;
  // Clamping first keeps the conversion below defined; the bounds are integers, so rounding
  // after clamping gives the same as clamping after rounding.
  if (X <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  if (X >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::nearbyint(X));
}

float ToSingle(double X) noexcept {
  constexpr double kMaxSingle = static_cast<double>(FLT_MAX);
  if (std::isfinite(X) && std::fabs(X) > kMaxSingle) {
    // The largest single is 2^128 - 2^104; values closer to it than half its spacing (2^103)
    // round down to it, the tie and beyond round to infinity (its mantissa is odd).
    const float R =
        std::fabs(X) < kMaxSingle + 0x1p103 ? FLT_MAX : std::numeric_limits<float>::infinity();
    return std::signbit(X) ? -R : R;
  }
  return static_cast<float>(X);
}

std::size_t RandomIndex(std::size_t Range) noexcept {
  if (Range < 2) return 0;
  if (Range <= static_cast<std::size_t>(INT_MAX)) {
    return static_cast<std::size_t>(NMX_platform::Random(static_cast<int>(Range)));
  }
  // The product may round up to Range itself; the last index takes that case.
  const auto J = static_cast<std::size_t>(NMX_platform::Random() * static_cast<double>(Range));
  return J < Range ? J : Range - 1;
}

namespace {

template <class T>
std::string ChecksumOf(std::span<const T> Cells) {
  static_assert(sizeof(T) == 8 || sizeof(T) == 4);
  if (Cells.empty()) return {};
  using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
  std::array<std::uint32_t, sizeof(T)> Reg;
  Reg.fill(0xFFFFFFFFU);
  for (const T X : Cells) {
    const auto B = std::bit_cast<Bits>(X);
    // Shifting the value picks the bytes in little-endian order on any host.
    for (std::size_t J = 0; J < sizeof(T); ++J) {
      Reg[J] = NMX_nmxbase::CalcNextCRC32(static_cast<std::uint8_t>(B >> (8 * J)), Reg[J]);
    }
  }
  std::string Text;
  Text.reserve(8 * sizeof(T));
  for (const std::uint32_t R : Reg) Text += NMX_math1::Hex(std::bit_cast<std::int32_t>(~R), 8);
  return Text;
}

}  // namespace

std::string CellsChecksum(std::span<const double> Cells) {
  return ChecksumOf(Cells);
}
std::string CellsChecksum(std::span<const std::int32_t> Cells) {
  return ChecksumOf(Cells);
}

}  // namespace NMX_math1::detail
