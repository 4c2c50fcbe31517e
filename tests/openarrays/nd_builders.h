// Test helpers for the open-array tests: building nested arrays of any rank from a function of
// the position, reading them back flat, and calling the rank-dependent range overloads.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "nmx/base/types.h"
#include "nmx/openarrays/array_kinds.h"

namespace oa_test {

using NMX_openarrays::ElemOf;
using NMX_openarrays::RankOf;

template <class A>
using Ix = std::array<std::size_t, RankOf<A>>;

template <class A, class F, std::size_t R>
void BuildLevel(A& X, const std::array<std::size_t, R>& E, std::array<std::size_t, R>& Pos,
                std::size_t D, F& Fn) {
  X.resize(E[D]);
  for (std::size_t I = 0; I < E[D]; ++I) {
    Pos[D] = I;
    if constexpr (RankOf<A> == 1) {
      X[I] = Fn(static_cast<const std::array<std::size_t, R>&>(Pos));
    } else {
      BuildLevel(X[I], E, Pos, D + 1, Fn);
    }
  }
}

/// An array of extents E with element Fn(index) at each index.
template <class A, class F>
A Build(const Ix<A>& E, F Fn) {
  A X;
  Ix<A> Pos{};
  BuildLevel(X, E, Pos, 0, Fn);
  return X;
}

/// An array of extents E holding 0, 1, 2, ... in the order first index outermost.
template <class A>
A Serial(const Ix<A>& E, ElemOf<A> Start = 0) {
  ElemOf<A> Next = Start;
  return Build<A>(E, [&Next](const auto&) { return Next++; });
}

/// Calls Fn(index, element) for each element of a rectangular X, first index outermost.
template <class A, class F, std::size_t R = RankOf<A>>
void Visit(const A& X, F Fn) {
  std::array<std::size_t, R> Pos{};
  auto Rec = [&](auto&& Self, const auto& Y, std::size_t D) -> void {
    for (std::size_t I = 0; I < Y.size(); ++I) {
      Pos[D] = I;
      if constexpr (RankOf<std::remove_cvref_t<decltype(Y)>> == 1) {
        Fn(static_cast<const std::array<std::size_t, R>&>(Pos), static_cast<ElemOf<A>>(Y[I]));
      } else {
        Self(Self, Y[I], D + 1);
      }
    }
  };
  Rec(Rec, X, 0);
}

/// The elements of X in the order first index outermost.
template <class A>
std::vector<ElemOf<A>> Flat(const A& X) {
  std::vector<ElemOf<A>> Out;
  Visit(X, [&Out](const auto&, ElemOf<A> V) { Out.push_back(V); });
  return Out;
}

/// The extents of X along the first path.
template <class A>
Ix<A> ExtentsOf(const A& X) {
  Ix<A> E{};
  auto Rec = [&](auto&& Self, const auto& Y, std::size_t D) -> void {
    E[D] = Y.size();
    if constexpr (RankOf<std::remove_cvref_t<decltype(Y)>> != 1) {
      if (!Y.empty()) Self(Self, Y[0], D + 1);
    }
  };
  Rec(Rec, X, 0);
  return E;
}

/// An index array of R copies of V.
template <std::size_t R>
std::array<int, R> AllOf(int V) {
  std::array<int, R> A{};
  A.fill(V);
  return A;
}

/// Calls Fn(args..., lows..., highs..., rest...) : the "lows then highs" argument order.
template <std::size_t R, class F>
auto LowsHighs(const std::array<int, R>& Lo, const std::array<int, R>& Hi, F Fn) {
  std::array<int, 2 * R> Args{};
  for (std::size_t K = 0; K < R; ++K) {
    Args[K] = Lo[K];
    Args[R + K] = Hi[K];
  }
  return std::apply(Fn, Args);
}

/// Calls Fn(Lo0, Hi0, Lo1, Hi1, ...): the "pairs" argument order.
template <std::size_t R, class F>
auto Pairs(const std::array<int, R>& Lo, const std::array<int, R>& Hi, F Fn) {
  std::array<int, 2 * R> Args{};
  for (std::size_t K = 0; K < R; ++K) {
    Args[2 * K] = Lo[K];
    Args[2 * K + 1] = Hi[K];
  }
  return std::apply(Fn, Args);
}

/// Calls Fn(I0, I1, ...) with the R indices as separate arguments.
template <std::size_t R, class F>
auto Spread(const std::array<int, R>& I, F Fn) {
  return std::apply(Fn, I);
}

/// True when Ix lies in the inclusive box [Lo, Hi].
template <std::size_t R>
bool InBox(const std::array<std::size_t, R>& Ix, const std::array<int, R>& Lo,
           const std::array<int, R>& Hi) {
  for (std::size_t K = 0; K < R; ++K) {
    if (static_cast<int>(Ix[K]) < Lo[K] || static_cast<int>(Ix[K]) > Hi[K]) return false;
  }
  return true;
}

using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDouble3DArray;
using NMX_nmxbase::TDouble4DArray;
using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TInt2DArray;
using NMX_nmxbase::TInt3DArray;
using NMX_nmxbase::TInt4DArray;
using NMX_nmxbase::TIntArray;

/// Every double and integer array of rank 1 to 4.
using AllNumArrays = ::testing::Types<TDoubleArray, TDouble2DArray, TDouble3DArray, TDouble4DArray,
                                      TIntArray, TInt2DArray, TInt3DArray, TInt4DArray>;

/// Short names for typed tests ("Double2D", "Int4D") instead of the spelled-out vector types.
struct ArrayTypeNames {
  template <class A>
  static std::string GetName(int) {
    using E = ElemOf<A>;
    const char* Kind = std::is_same_v<E, double> ? "Double"
                       : std::is_same_v<E, bool> ? "Bool"
                                                 : "Int";
    return std::string(Kind) + std::to_string(RankOf<A>) + "D";
  }
};

/// Extents 3, 4, 5, 2 cut to the rank: small, distinct per dimension, not square.
template <class A>
Ix<A> OddExtents() {
  constexpr std::array<std::size_t, 4> All{3, 4, 5, 2};
  Ix<A> E{};
  for (std::size_t K = 0; K < E.size(); ++K) E[K] = All[K];
  return E;
}

}  // namespace oa_test
