// The bodies TVector and TIntVector share, written once over the element type: range rules,
// resizing, copies in and out, fills, the CRC text, mirroring and shuffling.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "nmx/base/crc.h"
#include "nmx/base/errors.h"
#include "nmx/math1/digits.h"
#include "nmx/platform/random.h"
#include "nmx/vector/errors.h"

namespace NMX_vector::detail {

/// Friend of both vector classes. V is TVector or TIntVector; it has the fields FNElem,
/// FIsEmpty, FVec and the public SetVal, GetVal, Changed, Resized and OnChange.
struct VectorCore {
  /// The element type of the vector class V.
  template <class V>
  using ElemOf = typename decltype(V::FVec)::value_type;

  /// The message of operations on two vectors of different NrOfElem.
  static constexpr std::string_view kDifferentDimensions = "vectors have different dimensions";

  /// The vector's exception with the resize form of the "not enough memory" message.
  [[noreturn]] static void NoMemory(const NMX_platform::TComponent* Self) {
    throw ENMXVectorError(NMX_nmxbase::ComponentMessage(Self, NMX_nmxbase::kNoMemory));
  }

  /// Normalises an element range of a vector with NElem elements; see
  /// TVector::MakeValidElemRange.
  static int MakeValidElemRange(int NElem, int& LowElem, int& HighElem) noexcept {
    if (LowElem == 0 && HighElem == 0) {
      LowElem = 1;
      HighElem = NElem;
      return 0;
    }
    int Status = 0;
    auto Clip = [NElem, &Status](int& X) {
      if (X <= 0) {
        X = 1;
        Status = -1;
      } else if (X > NElem) {
        X = NElem;
        Status = -1;
      }
    };
    Clip(LowElem);
    Clip(HighElem);
    if (HighElem < LowElem) std::swap(LowElem, HighElem);
    return Status;
  }

  template <class V>
  static bool Resize(V& Self, int NE) {
    if (NE == Self.FNElem) return true;
    if (NE <= 0) return false;
    // Growing a vector of scalars has the strong guarantee: on failure nothing changed.
    try {
      Self.FVec.resize(static_cast<std::size_t>(NE));
    } catch (const std::bad_alloc&) {
      NoMemory(&Self);
    }
    // Give back the storage of a vector that shrank a lot. That needs a new block; when it
    // cannot be had, the vector simply keeps the old one.
    if (Self.FVec.capacity() / 2 > Self.FVec.size()) {
      try {
        Self.FVec.shrink_to_fit();
      } catch (const std::bad_alloc&) {
        // the larger block stays in use
      }
    }
    Self.FNElem = NE;
    Self.Changed();
    Self.Resized();
    return true;
  }

  /// Writes Count values to the elements First, First + 1, ... as SetVal would: Get(J, Out)
  /// delivers value J (0-based) and may return false to skip its target (a source cell that
  /// does not exist). Targets outside 1..NrOfElem are dropped. Does not fire the final
  /// OnChange; the caller does.
  ///
  /// Without an OnChange handler nobody can observe the single writes, so they go straight
  /// into the array; with one, every write is a SetVal and Get re-checks its source each time,
  /// since the handler may resize this vector or the source between two writes.
  template <class V, class Getter>
  static void WriteRun(V& Self, std::int64_t First, std::int64_t Count, Getter&& Get) {
    using T = ElemOf<V>;
    const std::int64_t JFirst = std::max<std::int64_t>(0, 1 - First);
    if (!Self.OnChange) {
      const std::int64_t JLast = std::min<std::int64_t>(Count - 1, Self.FNElem - First);
      bool Wrote = false;
      // Ascending, one element at a time: a copy of a vector onto an overlapping part of itself
      // repeats values exactly as the single SetVal calls would.
      for (std::int64_t J = JFirst; J <= JLast; ++J) {
        T Value{};
        if (Get(J, Value)) {
          Self.FVec[static_cast<std::size_t>(First + J - 1)] = Value;
          Wrote = true;
        }
      }
      if (Wrote) Self.FIsEmpty = false;
      return;
    }
    for (std::int64_t J = JFirst; J < Count; ++J) {
      const std::int64_t Target = First + J;
      if (Target > INT_MAX) break;
      T Value{};
      if (Get(J, Value)) Self.SetVal(static_cast<int>(Target), Value);
    }
  }

  /// Every element := Next() in element order, as SetVal would; then OnChange.
  template <class V, class Generator>
  static void FillWith(V& Self, Generator&& Next) {
    if (!Self.OnChange) {
      for (auto& X : Self.FVec) X = Next();
      Self.FIsEmpty = false;
    } else {
      const int N = Self.FNElem;
      for (int K = 1; K <= N; ++K) Self.SetVal(K, Next());
    }
    Self.Changed();
  }

  template <class V>
  static void Clone(V& Self, const V* VecSource) {
    if (VecSource == nullptr) return;
    Self.Resize(VecSource->FNElem);
    WriteRun(Self, 1, VecSource->FNElem, [VecSource](std::int64_t J, ElemOf<V>& Out) {
      Out = VecSource->GetVal(static_cast<int>(J + 1));
      return true;
    });
    Self.Changed();
  }

  template <class V>
  static int CopyFromVector(V& Self, const V* Src, int SrcElemLo, int SrcElemHi, int DestElem) {
    if (Src == nullptr) return -1;
    const int SrcN = Src->FNElem;
    if (SrcElemLo == 0 && SrcElemHi == 0) {
      SrcElemLo = 1;
      SrcElemHi = SrcN;
    } else {
      int Status = 0;
      if (SrcElemLo < 1 || SrcElemLo > SrcN || SrcElemHi < 1 || SrcElemHi > SrcN) Status = -2;
      if (DestElem < 1 || DestElem > Self.FNElem) Status = -3;
      if (Status != 0) return Status;
      if (SrcElemHi < SrcElemLo) std::swap(SrcElemLo, SrcElemHi);
    }
    const std::int64_t Lo = SrcElemLo;
    WriteRun(Self, DestElem, SrcElemHi - Lo + 1, [Src, Lo](std::int64_t J, ElemOf<V>& Out) {
      Out = Src->GetVal(static_cast<int>(Lo + J));
      return true;
    });
    Self.Changed();
    return 0;
  }

  template <class V>
  static int CopyFromArray(V& Self, const std::vector<ElemOf<V>>& Src, int SrcElemLo, int SrcElemHi,
                           int DestElem) {
    if (Src.empty()) return -1;
    const auto Len = static_cast<std::int64_t>(Src.size());
    std::int64_t Lo = SrcElemLo, Hi = SrcElemHi;
    if (Lo == 0 && Hi == 0) {
      Hi = Len - 1;
    } else {
      int Status = 0;
      if (Lo < 0 || Lo >= Len || Hi < 0 || Hi >= Len) Status = -2;
      if (DestElem < 1 || DestElem > Self.FNElem) Status = -3;
      if (Status != 0) return Status;
      if (Hi < Lo) std::swap(Lo, Hi);
    }
    WriteRun(Self, DestElem, Hi - Lo + 1, [&Src, Lo](std::int64_t J, ElemOf<V>& Out) {
      const auto I = static_cast<std::size_t>(Lo + J);
      if (I >= Src.size()) return false;
      Out = Src[I];
      return true;
    });
    Self.Changed();
    return 0;
  }

  /// X clamped to 0..Count - 1 (Count > 0).
  static std::int64_t ClampIndex(std::int64_t X, std::size_t Count) noexcept {
    return std::clamp<std::int64_t>(X, 0, static_cast<std::int64_t>(Count) - 1);
  }

  template <class V>
  static void CopyFrom2DArrayRow(V& Self, const std::vector<std::vector<ElemOf<V>>>& SrcArray,
                                 int Row, int FirstCol, int LastCol, int DestElem) {
    // Row is clipped to the rows of column 0; without rows there is nothing to copy.
    if (SrcArray.empty() || SrcArray[0].empty()) return;
    const auto R = static_cast<std::size_t>(ClampIndex(Row, SrcArray[0].size()));
    std::int64_t C1 = ClampIndex(FirstCol, SrcArray.size());
    std::int64_t C2 = ClampIndex(LastCol, SrcArray.size());
    if (C2 < C1) std::swap(C1, C2);
    if (DestElem + (C2 - C1) < 1 || DestElem > Self.FNElem) return;
    WriteRun(Self, DestElem, C2 - C1 + 1, [&SrcArray, R, C1](std::int64_t J, ElemOf<V>& Out) {
      const auto C = static_cast<std::size_t>(C1 + J);
      // A column shorter than column 0 has no cell in this row: its target is skipped.
      if (C >= SrcArray.size() || R >= SrcArray[C].size()) return false;
      Out = SrcArray[C][R];
      return true;
    });
    Self.Changed();
  }

  template <class V>
  static void CopyFrom2DArrayColumn(V& Self, const std::vector<std::vector<ElemOf<V>>>& SrcArray,
                                    int Col, int FirstRow, int LastRow, int DestElem) {
    if (SrcArray.empty() || SrcArray[0].empty()) return;
    const auto C = static_cast<std::size_t>(ClampIndex(Col, SrcArray.size()));
    std::int64_t R1 = ClampIndex(FirstRow, SrcArray[0].size());
    std::int64_t R2 = ClampIndex(LastRow, SrcArray[0].size());
    if (R2 < R1) std::swap(R1, R2);
    if (DestElem + (R2 - R1) < 1 || DestElem > Self.FNElem) return;
    WriteRun(Self, DestElem, R2 - R1 + 1, [&SrcArray, C, R1](std::int64_t J, ElemOf<V>& Out) {
      const auto R = static_cast<std::size_t>(R1 + J);
      // Rows run over column 0; the cells a shorter column lacks are skipped.
      if (C >= SrcArray.size() || R >= SrcArray[C].size()) return false;
      Out = SrcArray[C][R];
      return true;
    });
    Self.Changed();
  }

  template <class V>
  static void CopyToArray(const V& Self, std::vector<ElemOf<V>>& DestArray, int LowElem,
                          int HighElem, int DestElem) {
    MakeValidElemRange(Self.FNElem, LowElem, HighElem);
    const auto D = static_cast<std::size_t>(std::max(DestElem, 0));
    const auto Count = static_cast<std::size_t>(HighElem - LowElem + 1);
    try {
      DestArray.resize(D + Count);
    } catch (const std::bad_alloc&) {
      NoMemory(&Self);
    }
    std::copy_n(Self.FVec.begin() + (LowElem - 1), Count,
                DestArray.begin() + static_cast<std::ptrdiff_t>(D));
  }

  template <class V>
  static void CopyToArray(const V& Self, std::vector<std::vector<ElemOf<V>>>& DestArray,
                          int LowElem, int HighElem, int DestCol, int DestRow, bool AsColumn) {
    MakeValidElemRange(Self.FNElem, LowElem, HighElem);
    if (DestArray.empty()) return;
    const std::size_t NCol = DestArray.size();
    const auto C = static_cast<std::size_t>(ClampIndex(DestCol, NCol));
    // DestRow is clipped to the rows of column 0 (to 0 when column 0 is empty); every write
    // below checks the length of the column it goes to, so ragged arrays are safe.
    std::int64_t R = DestRow;
    R = std::max<std::int64_t>(
        std::min<std::int64_t>(R, static_cast<std::int64_t>(DestArray[0].size()) - 1), 0);
    const auto Row = static_cast<std::size_t>(R);
    const auto Count = static_cast<std::size_t>(HighElem - LowElem + 1);
    const auto* Src = Self.FVec.data() + (LowElem - 1);
    if (AsColumn) {
      auto& Column = DestArray[C];
      const std::size_t Room = Column.size() > Row ? Column.size() - Row : 0;
      std::copy_n(Src, std::min(Count, Room), Column.begin() + static_cast<std::ptrdiff_t>(Row));
    } else {
      const std::size_t Room = NCol - C;
      for (std::size_t K = 0; K < std::min(Count, Room); ++K) {
        auto& Column = DestArray[C + K];
        if (Row < Column.size()) Column[Row] = Src[K];
      }
    }
  }

  /// The checksum text: one CRC-32 register per byte lane of the element type, fed with the
  /// little-endian bytes of each element, complemented, printed as 8 upper-case hex digits
  /// each, register 0 first.
  template <class T>
  static std::string CRCofData(std::span<const T> Data) {
    static_assert(sizeof(T) == 8 || sizeof(T) == 4);
    using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    std::array<std::uint32_t, sizeof(T)> Reg;
    Reg.fill(0xFFFFFFFFU);
    for (const T X : Data) {
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

  /// Exchanges elements 1 and N, 2 and N - 1, ... (OnChange is the caller's).
  template <class T>
  static void Mirror(std::vector<T>& Vec) noexcept {
    std::reverse(Vec.begin(), Vec.end());
  }

  /// Reseeds the platform generator from the clock, then makes N exchanges between two
  /// positions drawn independently and uniformly (a position may meet itself).
  template <class T>
  static void Shuffle(std::vector<T>& Vec) noexcept {
    NMX_platform::Randomize();
    const int N = static_cast<int>(Vec.size());
    for (int K = 0; K < N; ++K) {
      const int I = NMX_platform::Random(N);
      const int J = NMX_platform::Random(N);
      std::swap(Vec[static_cast<std::size_t>(I)], Vec[static_cast<std::size_t>(J)]);
    }
  }

  /// Self := Source with size, IsEmpty, elements and the three handlers; fires nothing. Every
  /// copy is made before anything changes, so a failed allocation leaves Self as it was.
  template <class V>
  static void AssignFrom(V& Self, const V& Source) {
    if (&Self == &Source) return;
    decltype(Self.FVec) Vec;
    decltype(Self.OnChange) OnChange;
    decltype(Self.OnResize) OnResize;
    decltype(Self.OnSortExchange) OnSortExchange;
    try {
      Vec = Source.FVec;
      OnChange = Source.OnChange;
      OnResize = Source.OnResize;
      OnSortExchange = Source.OnSortExchange;
    } catch (const std::bad_alloc&) {
      NoMemory(&Self);
    }
    Self.FVec.swap(Vec);
    Self.FNElem = Source.FNElem;
    Self.FIsEmpty = Source.FIsEmpty;
    Self.OnChange = std::move(OnChange);
    Self.OnResize = std::move(OnResize);
    Self.OnSortExchange = std::move(OnSortExchange);
  }
};

}  // namespace NMX_vector::detail
