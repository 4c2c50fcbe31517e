// Open-array functions: Boolean arrays (counting, negation, conversion to numbers) and the
// equality of integer arrays.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

namespace detail {

template <class Arr>
int CountTrueBody(const Arr& A, const TIndex<RankOf<Arr>>& Lo, const TIndex<RankOf<Arr>>& Hi) {
  int Count = 0;
  ForEachInBox(A, Lo, Hi, [&Count](bool X, const auto&) { Count += X ? 1 : 0; });
  return Count;
}

/// A Boolean source and a double or integer result of the same rank (1-D, 2-D).
template <class BArr, class NArr>
concept BoolToNumPair = BoolArray<BArr, 1, 2> && NumArray<NArr, 1, 2> && RankOf<BArr>
== RankOf<NArr>;

}  // namespace detail

/// The number of true elements of A, or -1 for an empty A.
template <class Arr>
requires detail::BoolArray<Arr, 1, 2>
int CountTrueCellsOfArray(const Arr& A) {
  if (!detail::IsUsable(A)) return -1;
  detail::ExtentsOf<Arr> Lo{}, Hi{};
  detail::FullBox(detail::Extents(A), Lo, Hi);
  return detail::CountTrueBody(A, Lo, Hi);
}

/// The number of true elements of the block [LoCol..HiCol][LoRow..HiRow] (bounds in pairs).
/// The pair 0, 0 stands for the whole extent of its dimension; reversed bounds are exchanged.
/// -1 for an empty A; -2 when a bound lies outside A.
template <class Arr>
requires detail::BoolArray<Arr, 2, 2>
int CountTrueCellsOfArray(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  std::array<int, 2> Lo{LoCol, LoRow}, Hi{HiCol, HiRow};
  for (std::size_t K = 0; K < 2; ++K) {
    if (Lo[K] == 0 && Hi[K] == 0) {
      Hi[K] = static_cast<int>(E[K] - 1);
    } else if (Lo[K] > Hi[K]) {
      std::swap(Lo[K], Hi[K]);
    }
  }
  detail::TIndex<2> BoxLo{}, BoxHi{};
  if (!detail::MakeBox(Lo, Hi, E, BoxLo, BoxHi)) return -2;
  return detail::CountTrueBody(A, BoxLo, BoxHi);
}

/// Negates every element of A. Returns 0, or -1 for an empty A.
template <class Arr>
requires detail::BoolArray<Arr, 1, 2>
int InvertArray(Arr& A) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  detail::ForEachElem(A, E.data(), [](auto&& X) { X = !static_cast<bool>(X); });
  return 0;
}

/// Result[i] := TrueVal where A[i] is true, else FalseVal; Result gets A's extents. Returns 0,
/// or -1 for an empty A (Result unchanged).
template <class BArr, class NArr>
requires detail::BoolToNumPair<BArr, NArr>
int BoolToNumArray(const BArr& A, detail::ElemOf<NArr> FalseVal, detail::ElemOf<NArr> TrueVal,
                   NArr& Result) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  NArr R;
  detail::SetExtents(R, E);
  detail::ForEachPair(A, R, E.data(), [=](bool X, auto& Y) { Y = X ? TrueVal : FalseVal; });
  Result = std::move(R);
  return 0;
}

/// True when A and B have the same extents and equal elements. An array that is empty (or
/// ragged, see the module notes) equals another empty one and no non-empty one.
template <class Arr>
requires detail::ArrayOf<Arr, std::int32_t, 1, 4>
bool EqualArrays(const Arr& A, const Arr& B) {
  const bool UsableA = detail::IsUsable(A), UsableB = detail::IsUsable(B);
  if (!UsableA || !UsableB) return !UsableA && !UsableB;
  const auto E = detail::Extents(A);
  if (detail::Extents(B) != E) return false;
  bool Equal = true;
  detail::ForEachPair(A, B, E.data(),
                      [&Equal](std::int32_t X, std::int32_t Y) { Equal = Equal && X == Y; });
  return Equal;
}

}  // namespace NMX_openarrays
