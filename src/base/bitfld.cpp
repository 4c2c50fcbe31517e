#include "nmx/base/bitfld.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace NMX_dstruct {
namespace {

constexpr int kWordBits = 64;

std::size_t WordOf(int Ix) {
  return static_cast<std::size_t>(Ix) / kWordBits;
}
std::uint64_t MaskOf(int Ix) {
  return std::uint64_t{1} << (static_cast<unsigned>(Ix) % kWordBits);
}

}  // namespace

void TBitFld::SetSize(int n) {
  const int NewHigh = n < 0 ? -1 : n;
  // n + 1 bits; computed in 64 bits so that n = INT_MAX does not overflow.
  const std::size_t Words =
      static_cast<std::size_t>((static_cast<std::int64_t>(NewHigh) + kWordBits) / kWordBits);
  FWords.resize(Words, 0);
  FHigh = NewHigh;
  MaskTail();
}

void TBitFld::MaskTail() noexcept {
  const int Used = (FHigh + 1) % kWordBits;
  if (Used != 0 && !FWords.empty()) FWords.back() &= (std::uint64_t{1} << Used) - 1;
}

void TBitFld::Clear() noexcept {
  std::fill(FWords.begin(), FWords.end(), 0);
}

void TBitFld::Invert() noexcept {
  for (std::uint64_t& W : FWords) W = ~W;
  MaskTail();
}

void TBitFld::SetBit(int Ix, bool Value) noexcept {
  if (Ix < 0 || Ix > FHigh) return;
  if (Value)
    FWords[WordOf(Ix)] |= MaskOf(Ix);
  else
    FWords[WordOf(Ix)] &= ~MaskOf(Ix);
}

bool TBitFld::GetBit(int Ix) const noexcept {
  if (Ix < 0 || Ix > FHigh) return false;
  return (FWords[WordOf(Ix)] & MaskOf(Ix)) != 0;
}

int TBitFld::CountTrueBits() const noexcept {
  int Count = 0;
  for (const std::uint64_t W : FWords) Count += std::popcount(W);
  return Count;
}

int TBitFld::FirstTrueBit() const noexcept {
  for (std::size_t I = 0; I < FWords.size(); ++I) {
    if (FWords[I] != 0) return static_cast<int>(I * kWordBits) + std::countr_zero(FWords[I]);
  }
  return -1;
}

void TBitFld::Clone(const TBitFld& Source) {
  if (this != &Source) *this = Source;
}

void TBitFld::CombineWith(const TBitFld& Other, NMX_nmxbase::TLogicOp Op) noexcept {
  using namespace NMX_nmxbase;
  if (Op > loXorNot) return;
  const bool Complement = Op == loAndNot || Op == loOrNot || Op == loXorNot;
  // Other may be this very field: each of its words is read before that word is written.
  for (std::size_t I = 0; I < FWords.size(); ++I) {
    std::uint64_t B = I < Other.FWords.size() ? Other.FWords[I] : 0;
    if (Complement) B = ~B;
    switch (Op) {
      case loAnd:
      case loAndNot:
        FWords[I] &= B;
        break;
      case loOr:
      case loOrNot:
        FWords[I] |= B;
        break;
      case loXor:
      case loXorNot:
        FWords[I] ^= B;
        break;
    }
  }
  MaskTail();
}

}  // namespace NMX_dstruct
