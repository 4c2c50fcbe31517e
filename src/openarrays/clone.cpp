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

// The members of the family, compiled here.
template int CloneArray<detail::TBoolArray, detail::TBoolArray>(const detail::TBoolArray&, detail::TBoolArray&);
template int CloneArray<detail::TBool2DArray, detail::TBool2DArray>(const detail::TBool2DArray&, detail::TBool2DArray&);
template int CloneArray<detail::TSingleArray, detail::TDoubleArray>(const detail::TSingleArray&, detail::TDoubleArray&);
template int CloneArray<detail::TDoubleArray, detail::TSingleArray>(const detail::TDoubleArray&, detail::TSingleArray&);
template int CloneArray<detail::TDoubleArray, detail::TDoubleArray>(const detail::TDoubleArray&, detail::TDoubleArray&);
template int CloneArray<detail::TDoubleArray, detail::TIntArray>(const detail::TDoubleArray&, detail::TIntArray&);
template int CloneArray<detail::TIntArray, detail::TDoubleArray>(const detail::TIntArray&, detail::TDoubleArray&);
template int CloneArray<detail::TIntArray, detail::TIntArray>(const detail::TIntArray&, detail::TIntArray&);
template int CloneArray<detail::TDouble2DArray, detail::TDouble2DArray>(const detail::TDouble2DArray&, detail::TDouble2DArray&);
template int CloneArray<detail::TDouble2DArray, detail::TInt2DArray>(const detail::TDouble2DArray&, detail::TInt2DArray&);
template int CloneArray<detail::TInt2DArray, detail::TDouble2DArray>(const detail::TInt2DArray&, detail::TDouble2DArray&);
template int CloneArray<detail::TInt2DArray, detail::TInt2DArray>(const detail::TInt2DArray&, detail::TInt2DArray&);
template int CloneArray<detail::TDouble3DArray, detail::TDouble3DArray>(const detail::TDouble3DArray&, detail::TDouble3DArray&);
template int CloneArray<detail::TDouble3DArray, detail::TInt3DArray>(const detail::TDouble3DArray&, detail::TInt3DArray&);
template int CloneArray<detail::TInt3DArray, detail::TDouble3DArray>(const detail::TInt3DArray&, detail::TDouble3DArray&);
template int CloneArray<detail::TInt3DArray, detail::TInt3DArray>(const detail::TInt3DArray&, detail::TInt3DArray&);
template int CloneArray<detail::TDouble4DArray, detail::TDouble4DArray>(const detail::TDouble4DArray&, detail::TDouble4DArray&);
template int CloneArray<detail::TDouble4DArray, detail::TInt4DArray>(const detail::TDouble4DArray&, detail::TInt4DArray&);
template int CloneArray<detail::TInt4DArray, detail::TDouble4DArray>(const detail::TInt4DArray&, detail::TDouble4DArray&);
template int CloneArray<detail::TInt4DArray, detail::TInt4DArray>(const detail::TInt4DArray&, detail::TInt4DArray&);
template int CloneAndReverseArray<detail::TBoolArray, detail::TBoolArray>(const detail::TBoolArray&, detail::TBoolArray&);
template int CloneAndReverseArray<detail::TSingleArray, detail::TDoubleArray>(const detail::TSingleArray&, detail::TDoubleArray&);
template int CloneAndReverseArray<detail::TDoubleArray, detail::TSingleArray>(const detail::TDoubleArray&, detail::TSingleArray&);
template int CloneAndReverseArray<detail::TDoubleArray, detail::TDoubleArray>(const detail::TDoubleArray&, detail::TDoubleArray&);
template int CloneAndReverseArray<detail::TDoubleArray, detail::TIntArray>(const detail::TDoubleArray&, detail::TIntArray&);
template int CloneAndReverseArray<detail::TIntArray, detail::TDoubleArray>(const detail::TIntArray&, detail::TDoubleArray&);
template int CloneAndReverseArray<detail::TIntArray, detail::TIntArray>(const detail::TIntArray&, detail::TIntArray&);

}  // namespace NMX_openarrays
