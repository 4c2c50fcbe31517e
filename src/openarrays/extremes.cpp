#include "nmx/openarrays/extremes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace detail {

/// What MaxArray (IsMax) and MinArray return for an empty array: ∓2147483648 / 2147483647 as
/// doubles for 1-D and 2-D double arrays, ∓ the largest double for 3-D and 4-D ones, the int32
/// limits for integer arrays.
template <class T, int Rank, bool IsMax>
constexpr T EmptyExtreme() {
  if constexpr (std::is_same_v<T, double>) {
    if constexpr (Rank <= 2) return IsMax ? -2147483648.0 : 2147483647.0;
    return IsMax ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  } else {
    return IsMax ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
  }
}

/// The start values of MinMaxArray: the largest finite value of the element type for the
/// minimum (its negative for the maximum; -2147483648 for integers).
template <class T>
constexpr T MinStart() {
  return std::numeric_limits<T>::max();
}
template <class T>
constexpr T MaxStart() {
  if constexpr (std::is_floating_point_v<T>) return -std::numeric_limits<T>::max();
  return std::numeric_limits<T>::min();
}

/// The extreme of A and its first position (first index outermost); strictly greater (smaller)
/// elements replace it, so ties keep the earlier position. Pos is written only for a usable A.
template <bool IsMax, class Arr>
ElemOf<Arr> ExtremeBody(const Arr& A, TIndex<RankOf<Arr>>* Pos) {
  using T = ElemOf<Arr>;
  if (!IsUsable(A)) return EmptyExtreme<T, RankOf<Arr>, IsMax>();
  ExtentsOf<Arr> Lo{}, Hi{}, BestIx{};
  FullBox(Extents(A), Lo, Hi);
  T Best = T();
  bool Started = false;
  ForEachInBox(A, Lo, Hi, [&](const T& X, const auto& Ix) {
    if (!Started || (IsMax ? X > Best : X < Best)) {
      Best = X;
      BestIx = Ix;
      Started = true;
    }
  });
  if (Pos != nullptr) *Pos = BestIx;
  return Best;
}

template <class T>
struct TMinMaxScan {
  T Minimum = MinStart<T>();
  T Maximum = MaxStart<T>();
  bool Started = false;

  void Take(T X) {
    if (!Started) {
      Minimum = Maximum = X;
      Started = true;
      return;
    }
    if (X < Minimum) Minimum = X;
    if (X > Maximum) Maximum = X;
  }
};

template <class Arr>
int MinMaxBody(const Arr& A, ElemOf<Arr>& Minimum, ElemOf<Arr>& Maximum) {
  using T = ElemOf<Arr>;
  TMinMaxScan<T> Scan;
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  if (!IsUsable(A)) return -1;
  const auto E = Extents(A);
  ForEachElem(A, E.data(), [&Scan](const T& X) { Scan.Take(X); });
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  return 0;
}

template <class T>
int MinMaxSpanBody(std::span<const T> A, T& Minimum, T& Maximum) {
  TMinMaxScan<T> Scan;
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  if (A.empty()) return -1;
  for (const T X : A) Scan.Take(X);
  Minimum = Scan.Minimum;
  Maximum = Scan.Maximum;
  return 0;
}

/// MinMaxArray over the box [Lo, Hi]; a reversed box is no error and finds nothing.
template <class Arr>
int MinMaxBoxBody(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
                  const std::array<int, RankOf<Arr>>& Hi, ElemOf<Arr>& Minimum,
                  ElemOf<Arr>& Maximum, TIndex<RankOf<Arr>>& MinIx, TIndex<RankOf<Arr>>& MaxIx) {
  using T = ElemOf<Arr>;
  Minimum = MinStart<T>();
  Maximum = MaxStart<T>();
  MinIx = {};
  MaxIx = {};
  if (!IsUsable(A)) return -1;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (!MakeBox(Lo, Hi, Extents(A), BoxLo, BoxHi, true)) return -2;
  // The first element to reach a start value is taken even when it only equals it, so that a
  // range holding nothing but the largest value still reports a position inside the range.
  bool HaveMin = false, HaveMax = false;
  ForEachInBox(A, BoxLo, BoxHi, [&](const T& X, const auto& Ix) {
    if (HaveMin ? X < Minimum : X <= Minimum) {
      Minimum = X;
      MinIx = Ix;
      HaveMin = true;
    }
    if (HaveMax ? X > Maximum : X >= Maximum) {
      Maximum = X;
      MaxIx = Ix;
      HaveMax = true;
    }
  });
  return 0;
}

}  // namespace detail

template <class Arr>
requires NumArray<Arr, 1, 4> ElemOf<Arr> MaxArray(const Arr& A) {
  return detail::ExtremeBody<true>(A, nullptr);
}

template <class Arr>
requires NumArray<Arr, 1, 4> ElemOf<Arr> MinArray(const Arr& A) {
  return detail::ExtremeBody<false>(A, nullptr);
}

template <class Arr>
requires NumArray<Arr, 1, 1> ElemOf<Arr> MaxArray(const Arr& A, int& Ix) {
  detail::TIndex<1> Pos{};
  const bool Usable = detail::IsUsable(A);
  const auto Result = detail::ExtremeBody<true>(A, &Pos);
  if (Usable) Ix = static_cast<int>(Pos[0]);
  return Result;
}

template <class Arr>
requires NumArray<Arr, 1, 1> ElemOf<Arr> MinArray(const Arr& A, int& Ix) {
  detail::TIndex<1> Pos{};
  const bool Usable = detail::IsUsable(A);
  const auto Result = detail::ExtremeBody<false>(A, &Pos);
  if (Usable) Ix = static_cast<int>(Pos[0]);
  return Result;
}

template <class Arr>
requires NumArray<Arr, 2, 2> ElemOf<Arr> MaxArray(const Arr& A, int& Col, int& Row) {
  detail::TIndex<2> Pos{};
  const bool Usable = detail::IsUsable(A);
  const auto Result = detail::ExtremeBody<true>(A, &Pos);
  if (Usable) {
    Col = static_cast<int>(Pos[0]);
    Row = static_cast<int>(Pos[1]);
  }
  return Result;
}

template <class Arr>
requires NumArray<Arr, 2, 2> ElemOf<Arr> MinArray(const Arr& A, int& Col, int& Row) {
  detail::TIndex<2> Pos{};
  const bool Usable = detail::IsUsable(A);
  const auto Result = detail::ExtremeBody<false>(A, &Pos);
  if (Usable) {
    Col = static_cast<int>(Pos[0]);
    Row = static_cast<int>(Pos[1]);
  }
  return Result;
}

template <class Arr>
requires MinMaxMember<Arr>
int MinMaxArray(const Arr& A, ElemOf<Arr>& Minimum, ElemOf<Arr>& Maximum) {
  return detail::MinMaxBody(A, Minimum, Maximum);
}

template <class Arr>
requires NumArray<Arr, 1, 1>
int MinMaxArray(const Arr& A, int Lo, int Hi, ElemOf<Arr>& Minimum, ElemOf<Arr>& Maximum,
                int& MinIx, int& MaxIx) {
  detail::TIndex<1> MinPos{}, MaxPos{};
  const int Status = detail::MinMaxBoxBody(A, {Lo}, {Hi}, Minimum, Maximum, MinPos, MaxPos);
  MinIx = static_cast<int>(MinPos[0]);
  MaxIx = static_cast<int>(MaxPos[0]);
  return Status;
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int MinMaxArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, ElemOf<Arr>& Minimum,
                ElemOf<Arr>& Maximum, int& MinCol, int& MinRow, int& MaxCol, int& MaxRow) {
  detail::TIndex<2> MinPos{}, MaxPos{};
  const int Status =
      detail::MinMaxBoxBody(A, {LoCol, LoRow}, {HiCol, HiRow}, Minimum, Maximum, MinPos, MaxPos);
  MinCol = static_cast<int>(MinPos[0]);
  MinRow = static_cast<int>(MinPos[1]);
  MaxCol = static_cast<int>(MaxPos[0]);
  MaxRow = static_cast<int>(MaxPos[1]);
  return Status;
}

int MinMaxArray(std::span<const double> A, double& Minimum, double& Maximum) {
  return detail::MinMaxSpanBody(A, Minimum, Maximum);
}

int MinMaxArray(std::span<const std::int32_t> A, std::int32_t& Minimum, std::int32_t& Maximum) {
  return detail::MinMaxSpanBody(A, Minimum, Maximum);
}

// The members of the family, compiled here.
#define NMX_INST(A) template ElemOf<A> MaxArray<A>(const A&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template ElemOf<A> MinArray<A>(const A&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template ElemOf<A> MaxArray<A>(const A&, int&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template ElemOf<A> MinArray<A>(const A&, int&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template ElemOf<A> MaxArray<A>(const A&, int&, int&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template ElemOf<A> MinArray<A>(const A&, int&, int&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MinMaxArray<A>(const A&, ElemOf<A>&, ElemOf<A>&);
NMX_NUM_1_4(NMX_INST)
NMX_INST(detail::TSingleArray)
#undef NMX_INST
#define NMX_INST(A) \
  template int MinMaxArray<A>(const A&, int, int, ElemOf<A>&, ElemOf<A>&, int&, int&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A)                                                                             \
  template int MinMaxArray<A>(const A&, int, int, int, int, ElemOf<A>&, ElemOf<A>&, int&, int&, \
                              int&, int&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
