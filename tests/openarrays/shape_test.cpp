#include "nmx/openarrays/shape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(TransposeArray, SwapsTheExtents) {
  TDouble2DArray A{{1, 2, 3}, {4, 5, 6}};  // 2 columns, 3 rows
  ASSERT_EQ(TransposeArray(A), 0);
  EXPECT_EQ(A, (TDouble2DArray{{1, 4}, {2, 5}, {3, 6}}));
  NMX_nmxbase::TBool2DArray B{{true, false}};
  ASSERT_EQ(TransposeArray(B), 0);
  EXPECT_EQ(B, (NMX_nmxbase::TBool2DArray{{true}, {false}}));
  TInt2DArray Ragged{{1, 2}, {3}};
  EXPECT_EQ(TransposeArray(Ragged), -1);
  EXPECT_EQ(Ragged, (TInt2DArray{{1, 2}, {3}}));
}

TEST(TraceOfArray, SquareOnly) {
  double T = -1;
  ASSERT_EQ(TraceOfArray(TDouble2DArray{{1, 2}, {3, 4}}, T), 0);
  EXPECT_EQ(T, 5.0);
  T = -1;
  EXPECT_EQ(TraceOfArray(TDouble2DArray{{1, 2, 3}, {3, 4, 5}}, T), -2);
  EXPECT_EQ(T, 0.0);
  std::int32_t I = -1;
  ASSERT_EQ(TraceOfArray(TInt2DArray{{INT32_MAX, 0}, {0, 1}}, I), 0);
  EXPECT_EQ(I, INT32_MIN);  // wraps
  EXPECT_EQ(TraceOfArray(TInt2DArray{}, I), -1);
  EXPECT_EQ(I, 0);
}

template <class A>
class FlipEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(FlipEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

TYPED_TEST(FlipEveryRank, EachDimension) {
  using A = TypeParam;
  using T = ElemOf<A>;
  constexpr int R = RankOf<A>;
  const auto E = OddExtents<A>();
  const A X = Serial<A>(E);
  const auto Xs = Flat(X);
  for (int Dim = 1; Dim <= R; ++Dim) {
    A Y = X;
    ASSERT_EQ(FlipDimArray(Y, Dim), 0);
    // Y[.., i, ..] = X[.., n - 1 - i, ..] along Dim.
    Visit(Y, [&](const auto& Ix, T V) {
      auto J = Ix;
      J[Dim - 1] = E[Dim - 1] - 1 - Ix[Dim - 1];
      std::size_t Linear = 0;
      for (std::size_t K = 0; K < J.size(); ++K) Linear = Linear * E[K] + J[K];
      EXPECT_EQ(V, Xs[Linear]) << "Dim " << Dim;
    });
    ASSERT_EQ(FlipDimArray(Y, Dim), 0);
    EXPECT_EQ(Y, X);
  }
  A Y = X;
  EXPECT_EQ(FlipDimArray(Y, 0), -2);
  EXPECT_EQ(FlipDimArray(Y, R + 1), -2);
  EXPECT_EQ(Y, X);
  A Empty;
  EXPECT_EQ(FlipDimArray(Empty, 1), -1);
}

}  // namespace
