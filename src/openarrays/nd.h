// Rank-generic helpers of the open-array functions over nested std::vector arrays: extents,
// usability, rectangular resizing, index boxes and ordered traversal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "math1/elem.h"
#include "nmx/math1/moments.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays::detail {

using NMX_math1::detail::AbsElem;
using NMX_math1::detail::AddElem;
using NMX_math1::detail::ConvertElem;
using NMX_math1::detail::IsInt32;
using NMX_math1::detail::MulElem;
using NMX_math1::detail::RandomIndex;
using NMX_math1::detail::SubElem;

/// The extents taken along the first path: A.size(), A[0].size(), A[0][0].size(), ...
/// Once an extent is 0 the deeper ones are 0 too.
template <NdArray A>
std::array<std::size_t, RankOf<A>> Extents(const A& X) {
  std::array<std::size_t, RankOf<A>> E{};
  E[0] = X.size();
  if constexpr (RankOf<A> != 1) {
    if (!X.empty()) {
      const auto Inner = Extents(X[0]);
      for (std::size_t K = 0; K < Inner.size(); ++K) E[K + 1] = Inner[K];
    }
  }
  return E;
}

template <class A>
using ExtentsOf = std::array<std::size_t, RankOf<A>>;

/// True when every inner array is at least as long as the first-path extent of its level, so
/// that indexing within the extents never leaves the storage. E points at this level's extent.
template <NdArray A>
bool CoversExtents(const A& X, const std::size_t* E) {
  if (X.size() < E[0]) return false;
  if constexpr (RankOf<A> != 1) {
    for (std::size_t I = 0; I < E[0]; ++I) {
      if (!CoversExtents(X[I], E + 1)) return false;
    }
  }
  return true;
}

/// True when no extent is 0 and every inner array holds its extent. An array that is not
/// usable is treated as empty: a ragged array is never read beyond an inner array's end.
template <NdArray A>
bool IsUsable(const A& X) {
  const auto E = Extents(X);
  for (std::size_t K : E) {
    if (K == 0) return false;
  }
  return CoversExtents(X, E.data());
}

/// Give X exactly the extents E (every level, rectangular). Elements kept keep their values.
template <NdArray A>
void SetExtents(A& X, const std::size_t* E) {
  X.resize(E[0]);
  if constexpr (RankOf<A> != 1) {
    for (auto& Inner : X) SetExtents(Inner, E + 1);
  }
}

template <NdArray A>
void SetExtents(A& X, const ExtentsOf<A>& E) {
  SetExtents(X, E.data());
}

/// Call F on each element within the extents E, first index outermost (A[0][0], A[0][1], ...,
/// A[1][0], ...). F receives a reference (a proxy for std::vector<bool>).
template <NdArray A, class F>
void ForEachElem(A&& X, const std::size_t* E, F&& Fn) {
  if constexpr (RankOf<A> == 1) {
    for (std::size_t I = 0; I < E[0]; ++I) Fn(X[I]);
  } else {
    for (std::size_t I = 0; I < E[0]; ++I) ForEachElem(X[I], E + 1, Fn);
  }
}

/// Call F on each pair of corresponding elements of X and Y within the extents E, first index
/// outermost.
template <NdArray A, NdArray B, class F>
void ForEachPair(A&& X, B&& Y, const std::size_t* E, F&& Fn) {
  static_assert(RankOf<A> == RankOf<B>);
  if constexpr (RankOf<A> == 1) {
    for (std::size_t I = 0; I < E[0]; ++I) Fn(X[I], Y[I]);
  } else {
    for (std::size_t I = 0; I < E[0]; ++I) ForEachPair(X[I], Y[I], E + 1, Fn);
  }
}

/// Call F on each triple of corresponding elements of X, Y and Z within the extents E, first
/// index outermost.
template <NdArray A, NdArray B, NdArray C, class F>
void ForEachTriple(A&& X, B&& Y, C&& Z, const std::size_t* E, F&& Fn) {
  static_assert(RankOf<A> == RankOf<B> && RankOf<A> == RankOf<C>);
  if constexpr (RankOf<A> == 1) {
    for (std::size_t I = 0; I < E[0]; ++I) Fn(X[I], Y[I], Z[I]);
  } else {
    for (std::size_t I = 0; I < E[0]; ++I) ForEachTriple(X[I], Y[I], Z[I], E + 1, Fn);
  }
}

/// True when the two arrays are usable and have equal extents.
template <NdArray A, NdArray B>
bool UsableAndSame(const A& X, const B& Y) {
  static_assert(RankOf<A> == RankOf<B>);
  return IsUsable(X) && IsUsable(Y) && Extents(X) == Extents(Y);
}

/// An index per dimension.
template <std::size_t R>
using TIndex = std::array<std::size_t, R>;

/// True when 0 <= I < Extent.
constexpr bool InExtent(int I, std::size_t Extent) noexcept {
  return I >= 0 && static_cast<std::size_t>(I) < Extent;
}

/// Checks the bounds of a box (inclusive, per dimension) against the extents E: true when
/// 0 <= Lo[k] <= Hi[k] < E[k] for every k. Then BoxLo, BoxHi receive the bounds as indices.
/// With AllowReversed a low bound above its high bound passes too (the box is then empty).
template <std::size_t R>
bool MakeBox(const std::array<int, R>& Lo, const std::array<int, R>& Hi,
             const std::array<std::size_t, R>& E, TIndex<R>& BoxLo, TIndex<R>& BoxHi,
             bool AllowReversed = false) {
  for (std::size_t K = 0; K < R; ++K) {
    if (!InExtent(Lo[K], E[K]) || !InExtent(Hi[K], E[K])) return false;
    if (!AllowReversed && Lo[K] > Hi[K]) return false;
  }
  for (std::size_t K = 0; K < R; ++K) {
    BoxLo[K] = static_cast<std::size_t>(Lo[K]);
    BoxHi[K] = static_cast<std::size_t>(Hi[K]);
  }
  return true;
}

/// The box of all elements within the extents E (every extent nonzero).
template <std::size_t R>
void FullBox(const std::array<std::size_t, R>& E, TIndex<R>& BoxLo, TIndex<R>& BoxHi) {
  for (std::size_t K = 0; K < R; ++K) {
    BoxLo[K] = 0;
    BoxHi[K] = E[K] - 1;
  }
}

/// Number of elements of the box; 0 when a low bound exceeds its high bound.
template <std::size_t R>
std::size_t BoxCount(const TIndex<R>& BoxLo, const TIndex<R>& BoxHi) {
  std::size_t N = 1;
  for (std::size_t K = 0; K < R; ++K) {
    if (BoxLo[K] > BoxHi[K]) return 0;
    N *= BoxHi[K] - BoxLo[K] + 1;
  }
  return N;
}

template <std::size_t D, class A, std::size_t R, class F>
void ForEachInBoxLevel(A&& X, const TIndex<R>& Lo, const TIndex<R>& Hi, TIndex<R>& Ix, F& Fn) {
  for (std::size_t I = Lo[D]; I <= Hi[D]; ++I) {
    Ix[D] = I;
    if constexpr (D + 1 == R) {
      Fn(X[I], static_cast<const TIndex<R>&>(Ix));
    } else {
      ForEachInBoxLevel<D + 1>(X[I], Lo, Hi, Ix, Fn);
    }
  }
}

/// Call Fn(element, index) on each element of the box [Lo, Hi] (inclusive), first index
/// outermost. The box must lie within storage; an empty box (a low bound above its high bound)
/// visits nothing.
template <NdArray A, class F>
void ForEachInBox(A&& X, const ExtentsOf<A>& Lo, const ExtentsOf<A>& Hi, F&& Fn) {
  if (BoxCount(Lo, Hi) == 0) return;
  ExtentsOf<A> Ix{};
  ForEachInBoxLevel<0>(X, Lo, Hi, Ix, Fn);
}

template <std::size_t D, class A, class B, std::size_t R, class F>
void ForEachPairInBoxesLevel(A&& X, const TIndex<R>& Lo, const TIndex<R>& Hi, B&& Y,
                             const TIndex<R>& YLo, F& Fn) {
  for (std::size_t I = Lo[D]; I <= Hi[D]; ++I) {
    const std::size_t J = YLo[D] + (I - Lo[D]);
    if constexpr (D + 1 == R) {
      Fn(X[I], Y[J]);
    } else {
      ForEachPairInBoxesLevel<D + 1>(X[I], Lo, Hi, Y[J], YLo, Fn);
    }
  }
}

/// Call Fn(x, y) on each element x of the box [Lo, Hi] of X and the element y of Y at the same
/// place relative to YLo, first index outermost. Both boxes must lie within storage.
template <NdArray A, NdArray B, class F>
void ForEachPairInBoxes(A&& X, const ExtentsOf<A>& Lo, const ExtentsOf<A>& Hi, B&& Y,
                        const ExtentsOf<B>& YLo, F&& Fn) {
  static_assert(RankOf<A> == RankOf<B>);
  if (BoxCount(Lo, Hi) == 0) return;
  ForEachPairInBoxesLevel<0>(X, Lo, Hi, Y, YLo, Fn);
}

template <std::size_t D, class A, std::size_t R, class T>
void CollectRuns(const A& X, const TIndex<R>& Lo, const TIndex<R>& Hi,
                 std::vector<std::span<const T>>& Out) {
  if constexpr (D + 1 == R) {
    Out.emplace_back(X.data() + Lo[D], Hi[D] - Lo[D] + 1);
  } else {
    for (std::size_t I = Lo[D]; I <= Hi[D]; ++I) CollectRuns<D + 1>(X[I], Lo, Hi, Out);
  }
}

/// The box [Lo, Hi] as the contiguous runs of its last dimension, in traversal order (first
/// index outermost): the pieces the moments kernel takes. The box must lie within storage.
template <NdArray A>
std::vector<std::span<const ElemOf<A>>> BoxPieces(const A& X, const ExtentsOf<A>& Lo,
                                                  const ExtentsOf<A>& Hi) {
  std::vector<std::span<const ElemOf<A>>> Pieces;
  if (BoxCount(Lo, Hi) > 0) CollectRuns<0>(X, Lo, Hi, Pieces);
  return Pieces;
}

/// The plain sum (in traversal order) and central sums of the box, from the moments kernel:
/// deviations, never raw power sums, so a large common offset costs no digits.
template <NdArray A>
NMX_math1::TMoments BoxMoments(const A& X, const ExtentsOf<A>& Lo, const ExtentsOf<A>& Hi) {
  const auto Pieces = BoxPieces(X, Lo, Hi);
  return NMX_math1::CentralMoments(std::span<const std::span<const ElemOf<A>>>(Pieces));
}

/// Checks A and the range (lows then highs) and gives the box: 0, -1 for an empty A, -2 for
/// an invalid range.
template <NdArray A>
int CheckRange(const A& X, const std::array<int, RankOf<A>>& Lo,
               const std::array<int, RankOf<A>>& Hi, ExtentsOf<A>& BoxLo, ExtentsOf<A>& BoxHi) {
  if (!IsUsable(X)) return -1;
  if (!MakeBox(Lo, Hi, Extents(X), BoxLo, BoxHi)) return -2;
  return 0;
}

}  // namespace NMX_openarrays::detail
