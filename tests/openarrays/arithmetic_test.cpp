#include "nmx/openarrays/arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

template <class A>
concept HasElemw = requires(const A& X, A& Y) {
  MultiplyArraysElemw(X, X, Y);
};
template <class A>
concept HasReciprocal = requires(A& X) {
  ReciprocalArray(X, 0.0);
};
static_assert(HasElemw<TInt2DArray> && !HasElemw<TDouble3DArray>);
static_assert(HasReciprocal<TDouble4DArray> && !HasReciprocal<TIntArray>);

template <class A>
class ArithmeticEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(ArithmeticEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

// Each function against its element rule, on values -k..., so that signs and Abs matter.
TYPED_TEST(ArithmeticEveryRank, ElementRules) {
  using A = TypeParam;
  using T = ElemOf<A>;
  const auto E = OddExtents<A>();
  const A X = Serial<A>(E, T(-7));
  const A Y = Build<A>(E, [K = 0](const auto&) mutable { return T(3 * (K++ % 5) - 4); });
  const auto Xs = Flat(X), Ys = Flat(Y);
  auto Expect = [&](const A& Got, auto Rule) {
    const auto G = Flat(Got);
    ASSERT_EQ(ExtentsOf(Got), E);
    for (std::size_t K = 0; K < G.size(); ++K) EXPECT_EQ(G[K], T(Rule(Xs[K], Ys[K]))) << K;
  };
  A R = X;
  ASSERT_EQ(AbsValArray(R), 0);
  Expect(R, [](T U, T) { return U < 0 ? -U : U; });
  R = X;
  ASSERT_EQ(IncArray(R, 2), 0);
  Expect(R, [](T U, T) { return U + 2; });
  R = X;
  ASSERT_EQ(MultiplyArrayByScalar(R, -3), 0);
  Expect(R, [](T U, T) { return U * -3; });
  A Out;
  ASSERT_EQ(MultiplyArrayByScalar(X, 4, Out), 0);
  Expect(Out, [](T U, T) { return U * 4; });
  ASSERT_EQ(AddScalarToArray(X, -5, Out), 0);
  Expect(Out, [](T U, T) { return U - 5; });
  ASSERT_EQ(AddArrays(X, Y, Out), 0);
  Expect(Out, [](T U, T V) { return U + V; });
  ASSERT_EQ(SubtractArrays(X, Y, Out), 0);
  Expect(Out, [](T U, T V) { return U - V; });
  R = X;
  ASSERT_EQ(AccumulateArray(R, Y, 3), 0);
  Expect(R, [](T U, T V) { return U + 3 * V; });
  if constexpr (HasReciprocal<A>) {
    R = X;
    ASSERT_EQ(ReciprocalArray(R, 42.0), 0);
    Expect(R, [](T U, T) { return U != 0 ? 1.0 / U : 42.0; });
  }
  if constexpr (HasElemw<A>) {
    ASSERT_EQ(MultiplyArraysElemw(X, Y, Out), 0);
    Expect(Out, [](T U, T V) { return U * V; });
  }

  // Errors change nothing: an empty operand (-1), different extents (-2).
  A Empty;
  auto Other = E;
  Other[0] += 1;
  const A Z = Serial<A>(Other);
  const A Kept = Out;
  EXPECT_EQ(AddArrays(X, Empty, Out), -1);
  EXPECT_EQ(SubtractArrays(Empty, Y, Out), -1);
  EXPECT_EQ(AddArrays(X, Z, Out), -2);
  EXPECT_EQ(MultiplyArrayByScalar(Empty, 2, Out), -1);
  EXPECT_EQ(AddScalarToArray(Empty, 2, Out), -1);
  EXPECT_EQ(Out, Kept);
  R = X;
  EXPECT_EQ(AccumulateArray(R, Z, 1), -2);
  EXPECT_EQ(AccumulateArray(R, Empty, 1), -1);
  EXPECT_EQ(R, X);
  EXPECT_EQ(IncArray(Empty, 1), -1);
  EXPECT_EQ(AbsValArray(Empty), -1);
}

TEST(Arithmetic, ResultMayBeAnOperand) {
  TDoubleArray A{1, 2, 3};
  const TDoubleArray B{10, 20, 30};
  ASSERT_EQ(AddArrays(A, B, A), 0);
  EXPECT_EQ(A, (TDoubleArray{11, 22, 33}));
  ASSERT_EQ(MultiplyArrayByScalar(A, 2.0, A), 0);
  EXPECT_EQ(A, (TDoubleArray{22, 44, 66}));
  ASSERT_EQ(AccumulateArray(A, A, -1.0), 0);
  EXPECT_EQ(A, TDoubleArray(3, 0.0));
}

TEST(Arithmetic, IntegersWrapIn32Bits) {
  TIntArray A{INT32_MAX, INT32_MIN, 65536};
  ASSERT_EQ(IncArray(A, 1), 0);
  EXPECT_EQ(A, (TIntArray{INT32_MIN, INT32_MIN + 1, 65537}));
  TIntArray B{65536, INT32_MIN, -3};
  ASSERT_EQ(MultiplyArrayByScalar(B, 65536), 0);
  EXPECT_EQ(B, (TIntArray{0, 0, -196608}));
  TIntArray C{INT32_MIN, -5};
  ASSERT_EQ(AbsValArray(C), 0);
  EXPECT_EQ(C, (TIntArray{INT32_MIN, 5}));  // -2^31 has no positive counterpart
  TIntArray D;
  ASSERT_EQ(SubtractArrays(TIntArray{INT32_MIN}, TIntArray{1}, D), 0);
  EXPECT_EQ(D, TIntArray{INT32_MAX});
  TIntArray F{1};
  ASSERT_EQ(AccumulateArray(F, TIntArray{INT32_MAX}, 2), 0);  // 1 + 2 * (2^31 - 1) mod 2^32
  EXPECT_EQ(F, TIntArray{-1});
}

TEST(ReciprocalArray, ZerosGetTheirValue) {
  TDoubleArray A{2, 0, -4, -0.0};
  ASSERT_EQ(ReciprocalArray(A, 99.0), 0);
  EXPECT_EQ(A, (TDoubleArray{0.5, 99, -0.25, 99}));
  NMX_nmxbase::TDouble3DArray B(1, TDouble2DArray(1, TDoubleArray{4, 0}));
  ASSERT_EQ(ReciprocalArray(B, -1.0), 0);
  EXPECT_EQ(B[0][0], (TDoubleArray{0.25, -1}));
}

TEST(SumOfSquaredDiffs, ValuesAndCodes) {
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2, 3}, TDoubleArray{1, 4, 0}), 13.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2}, TDoubleArray{1, 2, 3}), -2.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{}, TDoubleArray{1}), -1.0);
  const TDouble2DArray B{{0, 0}, {1, 5}};
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2}, B, 1), 9.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2}, B, 2), -3.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2}, B, -1), -3.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2, 3}, B, 0), -2.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1}, TDouble2DArray{}, 0), -1.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2}, TDouble2DArray{{1, 2}, {3}}, 0), -1.0);
}

}  // namespace
