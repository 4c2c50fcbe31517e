// Open-array functions: cloning with element conversion, and cloning in reverse order.
#pragma once

#include <type_traits>

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// Whether S and D are single and double, either way round.
template <class S, class D>
inline constexpr bool IsSingleDoublePair =
    (std::is_same_v<S, float> && std::is_same_v<D, double>) ||
    (std::is_same_v<S, double> && std::is_same_v<D, float>);

/// The members of CloneArray: Boolean 1-D, 2-D to Boolean; double and integer 1-D to 4-D, each
/// to its own type or to the other; single <-> double 1-D.
template <class Src, class Dest>
concept CloneMember =
    NdArray<Src> && NdArray<Dest> && (RankOf<Src> == RankOf<Dest>) &&
    ((BoolArray<Src, 1, 2> && BoolArray<Dest, 1, 2>) ||
     (IsSingleDoublePair<ElemOf<Src>, ElemOf<Dest>> && RankOf<Src> == 1) ||
     (NumArray<Src, 1, 4> && NumArray<Dest, 1, 4>));

/// The members of CloneAndReverseArray: the same pairs, 1-D only.
template <class Src, class Dest>
concept CloneReverseMember = CloneMember<Src, Dest> && (RankOf<Src> == 1);

/// Result := a copy of Source with Source's extents, each element converted: double to integer
/// clamped to the 32-bit range and rounded to nearest, ties to even (NaN gives 0); double to
/// single rounded to single (beyond its range to the largest single or infinity); integer and
/// single to double exactly. Returns 0, or -1 for an empty Source (Result unchanged).
template <class Src, class Dest>
requires CloneMember<Src, Dest>
NMX_API int CloneArray(const Src& Source, Dest& Result);

/// Result[i] := Source[n - 1 - i], converted as by CloneArray (1-D). Returns 0, or -1 for an
/// empty Source (Result unchanged). Source and Result may be the same array.
template <class Src, class Dest>
requires CloneReverseMember<Src, Dest>
NMX_API int CloneAndReverseArray(const Src& Source, Dest& Result);

}  // namespace NMX_openarrays
