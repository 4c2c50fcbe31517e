#include "nmx/math1/exchange.h"

namespace NMX_math1 {

void ExChange(void* A, void* B, std::uint16_t Size) noexcept {
  if (A == nullptr || B == nullptr) return;
  auto* PA = static_cast<unsigned char*>(A);
  auto* PB = static_cast<unsigned char*>(B);
  for (std::uint16_t I = 0; I < Size; ++I) {
    const unsigned char T = PA[I];
    PA[I] = PB[I];
    PB[I] = T;
  }
}

}  // namespace NMX_math1
