#include "nmx/base/crc.h"

#include <array>

namespace NMX_nmxbase {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> Table{};
  for (std::uint32_t N = 0; N < 256; ++N) {
    std::uint32_t C = N;
    for (int K = 0; K < 8; ++K) C = (C & 1U) != 0 ? 0xEDB88320U ^ (C >> 1) : C >> 1;
    Table[N] = C;
  }
  return Table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint32_t CalcNextCRC32(std::uint8_t B, std::uint32_t Crc) noexcept {
  return kCrcTable[(Crc ^ B) & 0xFFU] ^ (Crc >> 8);
}

}  // namespace NMX_nmxbase
