// TBitFld, a resizable field of bits.
#pragma once

#include <cstdint>
#include <vector>

#include "nmx/base/types.h"
#include "nmx/config.h"

namespace NMX_dstruct {

/// A field of bits with indices 0..Size(), all false after `SetSize`, copied by value.
///
/// Indices outside the field are never errors: `GetBit` gives false there and `SetBit`
/// ignores them.
class NMX_API TBitFld {
 public:
  /// An empty field (`Size()` is -1).
  TBitFld() = default;

  /// Give the field the bits 0..n (n + 1 bits; n < 0 gives none). Bits kept by the new size
  /// keep their values, new bits are false.
  void SetSize(int n);
  /// The highest index, -1 for an empty field.
  int Size() const noexcept { return FHigh; }

  /// Make every bit false.
  void Clear() noexcept;
  /// Negate every bit.
  void Invert() noexcept;

  /// Set bit Ix to Value; an index outside 0..Size() does nothing.
  void SetBit(int Ix, bool Value) noexcept;
  /// Bit Ix, false outside 0..Size().
  bool GetBit(int Ix) const noexcept;

  /// Number of bits that are true.
  int CountTrueBits() const noexcept;
  /// The lowest index of a true bit, -1 if there is none.
  int FirstTrueBit() const noexcept;

  /// Become a copy of Source (size and bits).
  void Clone(const TBitFld& Source);

  /// this := this Op Other, bit by bit over this field's indices: Other's bits beyond its size
  /// count as false, and the "not" forms (`loAndNot`, `loOrNot`, `loXorNot`) combine with the
  /// complement of Other. Other ordinals change nothing. The size stays as it is.
  void CombineWith(const TBitFld& Other, NMX_nmxbase::TLogicOp Op) noexcept;

  friend bool operator==(const TBitFld&, const TBitFld&) = default;

 private:
  // Clear the unused bits of the last word, so whole-word counts and comparisons stay exact.
  void MaskTail() noexcept;

  int FHigh = -1;
  std::vector<std::uint64_t> FWords;
};

}  // namespace NMX_dstruct
