// Open-array functions: transposition, trace and reversal along one dimension.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>

#include "nmx/openarrays/detail/elem.h"
#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

namespace detail {

/// Reverses the first E[0] entries of X at depth Dim (0 = this level) within the extents E.
template <class Arr>
void FlipLevel(Arr& X, const std::size_t* E, int Dim) {
  if (Dim == 0) {
    std::reverse(X.begin(), X.begin() + static_cast<std::ptrdiff_t>(E[0]));
    return;
  }
  if constexpr (RankOf < Arr >> 1) {
    for (std::size_t I = 0; I < E[0]; ++I) FlipLevel(X[I], E + 1, Dim - 1);
  }
}

}  // namespace detail

/// A becomes its transpose: extents (old second, old first) with A'[j][i] = A[i][j]. Returns
/// 0, or -1 for an empty A.
template <class Arr>
requires detail::NumArray<Arr, 2, 2> || detail::BoolArray<Arr, 2, 2>
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

/// Trace := 0, then for a square A the sum of A[i][i] (in 32-bit wrapping arithmetic for
/// integers). Returns 0; -1 for an empty A; -2 when the two extents differ.
template <class Arr>
requires detail::NumArray<Arr, 2, 2>
int TraceOfArray(const Arr& A, detail::ElemOf<Arr>& Trace) {
  using T = detail::ElemOf<Arr>;
  Trace = T(0);
  if (!detail::IsUsable(A)) return -1;
  const auto E = detail::Extents(A);
  if (E[0] != E[1]) return -2;
  T Sum = T(0);
  for (std::size_t I = 0; I < E[0]; ++I) Sum = detail::AddElem(Sum, A[I][I]);
  Trace = Sum;
  return 0;
}

/// Reverses the order of A along dimension Dim (1 = first index, up to the rank). Returns 0;
/// -1 for an empty A; -2 for any other Dim.
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int FlipDimArray(Arr& A, int Dim) {
  if (!detail::IsUsable(A)) return -1;
  if (Dim < 1 || Dim > detail::RankOf<Arr>) return -2;
  const auto E = detail::Extents(A);
  detail::FlipLevel(A, E.data(), Dim - 1);
  return 0;
}

}  // namespace NMX_openarrays
