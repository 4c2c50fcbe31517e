// Open-array functions: cloning with element conversion, and cloning in reverse order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "nmx/openarrays/detail/elem.h"
#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

namespace detail {

template <class S, class D>
inline constexpr bool IsSingleDoublePair = (std::is_same_v<S, float> &&
                                            std::is_same_v<D, double>) ||
                                           (std::is_same_v<S, double> && std::is_same_v<D, float>);

/// The members of CloneArray: Boolean 1-D, 2-D to Boolean; double and integer 1-D to 4-D, each
/// to its own type or to the other; single <-> double 1-D.
template <class Src, class Dest>
concept CloneMember = NdArray<Src> && NdArray<Dest> && RankOf<Src>
== RankOf<Dest> && ((BoolArray<Src, 1, 2> && BoolArray<Dest, 1, 2>) ||
                    (IsSingleDoublePair<ElemOf<Src>, ElemOf<Dest>> && RankOf<Src> == 1) ||
                    (NumArray<Src, 1, 4> && NumArray<Dest, 1, 4>));

/// The members of CloneAndReverseArray: the same pairs, 1-D only.
template <class Src, class Dest>
concept CloneReverseMember = CloneMember<Src, Dest> && RankOf<Src>
== 1;

template <class Src, class Dest>
int CloneBody(const Src& Source, Dest& Result) {
  using S = ElemOf<Src>;
  using D = ElemOf<Dest>;
  if (!IsUsable(Source)) return -1;
  const auto E = Extents(Source);
  if constexpr (std::is_same_v<Src, Dest>) {
    if (static_cast<const void*>(&Source) == static_cast<const void*>(&Result)) {
      SetExtents(Result, E);  // drops what lies beyond the extents; the rest is already there
      return 0;
    }
  }
  SetExtents(Result, E);
  ForEachPair(Source, Result, E.data(),
              [](const auto& X, auto&& Y) { Y = ConvertElem<D, S>(static_cast<S>(X)); });
  return 0;
}

template <class Src, class Dest>
int CloneReverseBody(const Src& Source, Dest& Result) {
  using S = ElemOf<Src>;
  using D = ElemOf<Dest>;
  if (Source.empty()) return -1;
  const std::size_t N = Source.size();
  Dest Reversed(N);  // a separate array, so that Source and Result may be the same object
  for (std::size_t I = 0; I < N; ++I) Reversed[I] = ConvertElem<D, S>(Source[N - 1 - I]);
  Result = std::move(Reversed);
  return 0;
}

}  // namespace detail

/// Result := a copy of Source with Source's extents, each element converted: double to integer
/// clamped to the 32-bit range and rounded to nearest, ties to even (NaN gives 0); double to
/// single rounded to single (beyond its range to the largest single or infinity); integer and
/// single to double exactly. Returns 0, or -1 for an empty Source (Result unchanged).
template <class Src, class Dest>
requires detail::CloneMember<Src, Dest>
int CloneArray(const Src& Source, Dest& Result) {
  return detail::CloneBody(Source, Result);
}

/// Result[i] := Source[n - 1 - i], converted as by CloneArray (1-D). Returns 0, or -1 for an
/// empty Source (Result unchanged). Source and Result may be the same array.
template <class Src, class Dest>
requires detail::CloneReverseMember<Src, Dest>
int CloneAndReverseArray(const Src& Source, Dest& Result) {
  return detail::CloneReverseBody(Source, Result);
}

}  // namespace NMX_openarrays
