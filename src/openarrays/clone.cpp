#include "nmx/openarrays/clone.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace detail {

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

template <class Src, class Dest>
requires CloneMember<Src, Dest>
int CloneArray(const Src& Source, Dest& Result) {
  return detail::CloneBody(Source, Result);
}

template <class Src, class Dest>
requires CloneReverseMember<Src, Dest>
int CloneAndReverseArray(const Src& Source, Dest& Result) {
  return detail::CloneReverseBody(Source, Result);
}

// The members of the family, compiled here: the pairs of CloneMember and CloneReverseMember.
#define NMX_CLONE(S, D) template int CloneArray<detail::S, detail::D>(const detail::S&, detail::D&);
#define NMX_CLONE_REVERSE(S, D) \
  template int CloneAndReverseArray<detail::S, detail::D>(const detail::S&, detail::D&);
// Double and integer arrays of one rank (Suffix: Array, 2DArray, ...), each to both types.
#define NMX_CLONE_NUM(M, Suffix)      \
  M(TDouble##Suffix, TDouble##Suffix) \
  M(TDouble##Suffix, TInt##Suffix) M(TInt##Suffix, TDouble##Suffix) M(TInt##Suffix, TInt##Suffix)
NMX_CLONE(TBoolArray, TBoolArray)
NMX_CLONE(TBool2DArray, TBool2DArray)
NMX_CLONE(TSingleArray, TDoubleArray)
NMX_CLONE(TDoubleArray, TSingleArray)
NMX_CLONE_NUM(NMX_CLONE, Array)
NMX_CLONE_NUM(NMX_CLONE, 2DArray)
NMX_CLONE_NUM(NMX_CLONE, 3DArray)
NMX_CLONE_NUM(NMX_CLONE, 4DArray)
NMX_CLONE_REVERSE(TBoolArray, TBoolArray)
NMX_CLONE_REVERSE(TSingleArray, TDoubleArray)
NMX_CLONE_REVERSE(TDoubleArray, TSingleArray)
NMX_CLONE_NUM(NMX_CLONE_REVERSE, Array)
#undef NMX_CLONE_NUM
#undef NMX_CLONE_REVERSE
#undef NMX_CLONE

}  // namespace NMX_openarrays
