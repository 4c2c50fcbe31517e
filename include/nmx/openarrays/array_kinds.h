// The arrays the open-array functions accept: the base library's nested vectors of rank 1 to
// 4, told apart by element type and rank. The functions are constrained with these concepts,
// so exactly the listed members of each family exist; their bodies are compiled in the
// library for every member.
#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace NMX_openarrays {

/// The rank (number of dimensions) and element type of a nested std::vector; rank 0 for
/// anything else. Only the standard allocator is taken, as the library is compiled for the
/// base library's array types.
template <class A>
struct TArrayTraits {
  static constexpr int Rank = 0;
  using Elem = A;
};

template <class T>
struct TArrayTraits<std::vector<T>> {
  static constexpr int Rank = 1 + TArrayTraits<T>::Rank;
  using Elem = typename TArrayTraits<T>::Elem;
};

/// Number of dimensions of a nested vector (TDouble2DArray: 2).
template <class A>
inline constexpr int RankOf = TArrayTraits<std::remove_cvref_t<A>>::Rank;

/// Element type of a nested vector (TDouble2DArray: double).
template <class A>
using ElemOf = typename TArrayTraits<std::remove_cvref_t<A>>::Elem;

/// Any nested vector of rank 1 to 4.
template <class A>
concept NdArray = (RankOf<A> >= 1) && (RankOf<A> <= 4);

/// A nested vector of element type T whose rank lies in MinRank..MaxRank.
template <class A, class T, int MinRank, int MaxRank>
concept ArrayOf = NdArray<A> && std::same_as<ElemOf<A>, T> && (RankOf<A> >= MinRank) &&
                  (RankOf<A> <= MaxRank);

/// A double or 32-bit integer array whose rank lies in MinRank..MaxRank.
template <class A, int MinRank, int MaxRank>
concept NumArray =
    ArrayOf<A, double, MinRank, MaxRank> || ArrayOf<A, std::int32_t, MinRank, MaxRank>;

/// A Boolean array whose rank lies in MinRank..MaxRank.
template <class A, int MinRank, int MaxRank>
concept BoolArray = ArrayOf<A, bool, MinRank, MaxRank>;

/// The nested vector of element type T and rank R (NestedOf<double, 2> is TDouble2DArray).
template <class T, int R>
struct TNestedVector {
  using Type = std::vector<typename TNestedVector<T, R - 1>::Type>;
};
template <class T>
struct TNestedVector<T, 1> {
  using Type = std::vector<T>;
};
template <class T, int R>
using NestedOf = typename TNestedVector<T, R>::Type;

}  // namespace NMX_openarrays
