#include "nmx/openarrays/shape.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace detail {

/// Reverses the first E[0] entries of X at depth Dim (0 = this level) within the extents E.
template <class Arr>
void FlipLevel(Arr& X, const std::size_t* E, int Dim) {
  if (Dim == 0) {
    std::reverse(X.begin(), X.begin() + static_cast<std::ptrdiff_t>(E[0]));
    return;
  }
  if constexpr (RankOf<Arr> != 1) {
    for (std::size_t I = 0; I < E[0]; ++I) FlipLevel(X[I], E + 1, Dim - 1);
  }
}

}  // namespace detail

template <class Arr>
requires NumArray<Arr, 2, 2> || BoolArray<Arr, 2, 2>
int TransposeArray(Arr& A) {
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  Arr T;
  detail::SetExtents(T, {E[1], E[0]});
  for (std::size_t I = 0; I < E[0]; ++I) {
    for (std::size_t J = 0; J < E[1]; ++J) T[J][I] = A[I][J];
  }
  A = std::move(T);
  return 0;
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int TraceOfArray(const Arr& A, ElemOf<Arr>& Trace) {
  using T = ElemOf<Arr>;
  Trace = T(0);
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  if (E[0] != E[1]) return -2;
  T Sum = T(0);
  for (std::size_t I = 0; I < E[0]; ++I) Sum = detail::AddElem(Sum, A[I][I]);
  Trace = Sum;
  return 0;
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int FlipDimArray(Arr& A, int Dim) {
  if (!detail::IsUsable(A)) return -1;
  if (Dim < 1 || Dim > RankOf<Arr>) return -2;
  const auto E = detail::Extents(A);
  detail::FlipLevel(A, E.data(), Dim - 1);
  return 0;
}

// The members of the family, compiled here.
#define NMX_INST(A) template int TransposeArray<A>(A&);
NMX_NUM_2(NMX_INST)
NMX_INST(detail::TBool2DArray)
#undef NMX_INST
#define NMX_INST(A) template int TraceOfArray<A>(const A&, ElemOf<A>&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FlipDimArray<A>(A&, int);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
