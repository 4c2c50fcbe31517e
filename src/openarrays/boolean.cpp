#include "nmx/openarrays/boolean.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace detail {

template <class Arr>
int CountTrueBody(const Arr& A, const TIndex<RankOf<Arr>>& Lo, const TIndex<RankOf<Arr>>& Hi) {
  int Count = 0;
  ForEachInBox(A, Lo, Hi, [&Count](bool X, const auto&) { Count += X ? 1 : 0; });
  return Count;
}

}  // namespace detail

template <class Arr>
requires BoolArray<Arr, 1, 2>
int CountTrueCellsOfArray(const Arr& A) {
  if (!detail::IsUsable(A)) return -1;
  detail::ExtentsOf<Arr> Lo{}, Hi{};
  detail::FullBox(detail::Extents(A), Lo, Hi);
  return detail::CountTrueBody(A, Lo, Hi);
}

template <class Arr>
requires BoolArray<Arr, 2, 2>
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

template <class Arr>
requires BoolArray<Arr, 1, 2>
int InvertArray(Arr& A) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  detail::ForEachElem(A, E.data(), [](auto&& X) { X = !static_cast<bool>(X); });
  return 0;
}

template <class BArr, class NArr>
requires BoolToNumPair<BArr, NArr>
int BoolToNumArray(const BArr& A, ElemOf<NArr> FalseVal, ElemOf<NArr> TrueVal, NArr& Result) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  NArr R;
  detail::SetExtents(R, E);
  detail::ForEachPair(A, R, E.data(), [=](bool X, auto& Y) { Y = X ? TrueVal : FalseVal; });
  Result = std::move(R);
  return 0;
}

template <class Arr>
requires ArrayOf<Arr, std::int32_t, 1, 4>
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

// The members of the family, compiled here.
#define NMX_INST(A) template int CountTrueCellsOfArray<A>(const A&);
NMX_BOOL_1_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int CountTrueCellsOfArray<A>(const A&, int, int, int, int);
NMX_INST(detail::TBool2DArray)
#undef NMX_INST
#define NMX_INST(A) template int InvertArray<A>(A&);
NMX_BOOL_1_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template bool EqualArrays<A>(const A&, const A&);
NMX_INT_1_4(NMX_INST)
#undef NMX_INST
#define NMX_BOOL_TO_NUM(B, N)                                                            \
  template int BoolToNumArray<detail::B, detail::N>(const detail::B&, ElemOf<detail::N>, \
                                                    ElemOf<detail::N>, detail::N&);
NMX_BOOL_TO_NUM(TBoolArray, TDoubleArray)
NMX_BOOL_TO_NUM(TBoolArray, TIntArray)
NMX_BOOL_TO_NUM(TBool2DArray, TDouble2DArray)
NMX_BOOL_TO_NUM(TBool2DArray, TInt2DArray)
#undef NMX_BOOL_TO_NUM

}  // namespace NMX_openarrays
