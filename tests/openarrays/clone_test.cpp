#include "nmx/openarrays/clone.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using NMX_nmxbase::TBool2DArray;
using NMX_nmxbase::TBoolArray;
using NMX_nmxbase::TSingleArray;

template <class S, class D>
concept HasClone = requires(const S& X, D& Y) {
  CloneArray(X, Y);
};
template <class S, class D>
concept HasReverse = requires(const S& X, D& Y) {
  CloneAndReverseArray(X, Y);
};
static_assert(HasClone<TDouble4DArray, TInt4DArray> && HasClone<TInt3DArray, TDouble3DArray>);
static_assert(HasClone<TSingleArray, TDoubleArray> && HasClone<TDoubleArray, TSingleArray>);
static_assert(!HasClone<TSingleArray, TSingleArray> && !HasClone<TBoolArray, TIntArray>);
static_assert(!HasClone<TDouble2DArray, TDoubleArray>);
static_assert(HasReverse<TBoolArray, TBoolArray> && !HasReverse<TDouble2DArray, TDouble2DArray>);

TEST(CloneArray, DoubleToIntegerClampsThenRoundsHalfToEven) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const double Inf = std::numeric_limits<double>::infinity();
  struct Case {
    double In;
    std::int32_t Out;
  };
  const Case Cases[] = {{2.5, 2},
                        {3.5, 4},
                        {1e12, INT32_MAX},
                        {-2.5, -2},
                        {0.5, 0},
                        {-0.5, 0},
                        {1.5, 2},
                        {-1e12, INT32_MIN},
                        {2147483647.4, INT32_MAX},
                        {2147483646.5, 2147483646},
                        {-2147483648.6, INT32_MIN},
                        {-2147483647.5, -2147483648},
                        {Inf, INT32_MAX},
                        {-Inf, INT32_MIN},
                        {NaN, 0},
                        {-7.49, -7}};
  TDoubleArray Src;
  TIntArray Expected;
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    Src.push_back(C.In);
    Expected.push_back(C.Out);
  }
  TIntArray Result;
  ASSERT_EQ(CloneArray(Src, Result), 0);
  EXPECT_EQ(Result, Expected);
}

TEST(CloneArray, DoubleToSingleRoundsAndSaturatesLikeIEEE) {
  // 0x1.fffffe8p127 lies a quarter unit above the largest single, 0x1.ffffffp127 is the tie.
  const TDoubleArray Src{0.1, -1e300, 0x1.fffffe8p127, 0x1.ffffffp127, 1e-50};
  TSingleArray Result;
  ASSERT_EQ(CloneArray(Src, Result), 0);
  EXPECT_EQ(Result[0], 0.1F);
  EXPECT_EQ(Result[1], -std::numeric_limits<float>::infinity());
  EXPECT_EQ(Result[2], FLT_MAX);
  EXPECT_EQ(Result[3], std::numeric_limits<float>::infinity());
  EXPECT_EQ(Result[4], 0.0F);
  TDoubleArray Back;
  ASSERT_EQ(CloneArray(TSingleArray{0.1F, 2.0F}, Back), 0);
  EXPECT_EQ(Back, (TDoubleArray{static_cast<double>(0.1F), 2.0}));
}

template <class A>
class CloneEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(CloneEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

TYPED_TEST(CloneEveryRank, SameTypeAndCrossTypeKeepExtents) {
  using A = TypeParam;
  using T = ElemOf<A>;
  const auto E = OddExtents<A>();
  // Halves for the doubles, so that the conversion to integers rounds ties to even.
  const A Src = Build<A>(E, [K = 0](const auto&) mutable {
    return std::is_same_v<T, double> ? T(K++) + T(0.5) : T(K++);
  });
  A Same;
  ASSERT_EQ(CloneArray(Src, Same), 0);
  EXPECT_EQ(Same, Src);
  using Other =
      std::conditional_t<std::is_same_v<T, double>,
                         typename NMX_openarrays::NestedOf<std::int32_t, RankOf<A>>,
                         typename NMX_openarrays::NestedOf<double, RankOf<A>>>;
  Other Converted;
  ASSERT_EQ(CloneArray(Src, Converted), 0);
  EXPECT_EQ(ExtentsOf(Converted), E);
  const auto In = Flat(Src);
  const auto Out = Flat(Converted);
  for (std::size_t K = 0; K < In.size(); ++K) {
    if constexpr (std::is_same_v<T, double>) {
      EXPECT_EQ(Out[K], static_cast<std::int32_t>(std::nearbyint(In[K])));
    } else {
      EXPECT_EQ(Out[K], static_cast<double>(In[K]));
    }
  }
  // An empty or ragged source leaves the result alone.
  const A Empty;
  EXPECT_EQ(CloneArray(Empty, Converted), -1);
  EXPECT_EQ(Flat(Converted), Out);
  // Cloning into itself keeps the array.
  A Self = Src;
  ASSERT_EQ(CloneArray(Self, Self), 0);
  EXPECT_EQ(Self, Src);
}

TEST(CloneArray, RaggedSourceAndBooleans) {
  const TDouble2DArray Ragged{{1, 2}, {3}};
  TDouble2DArray Result{{9}};
  EXPECT_EQ(CloneArray(Ragged, Result), -1);
  EXPECT_EQ(Result, (TDouble2DArray{{9}}));
  // Inner arrays longer than the first path are cut to it.
  ASSERT_EQ(CloneArray(TDouble2DArray{{1, 2}, {3, 4, 5}}, Result), 0);
  EXPECT_EQ(Result, (TDouble2DArray{{1, 2}, {3, 4}}));

  const TBool2DArray B{{true, false}, {false, false}};
  TBool2DArray C;
  ASSERT_EQ(CloneArray(B, C), 0);
  EXPECT_EQ(C, B);
}

TEST(CloneAndReverseArray, ReversesAndConverts) {
  TIntArray I;
  ASSERT_EQ(CloneAndReverseArray(TDoubleArray{0.5, 1.5, 2.5}, I), 0);
  EXPECT_EQ(I, (TIntArray{2, 2, 0}));
  TDoubleArray D;
  ASSERT_EQ(CloneAndReverseArray(TIntArray{1, 2, 3}, D), 0);
  EXPECT_EQ(D, (TDoubleArray{3, 2, 1}));
  TBoolArray B{true, false, false};
  ASSERT_EQ(CloneAndReverseArray(B, B), 0);  // into itself
  EXPECT_EQ(B, (TBoolArray{false, false, true}));
  TSingleArray S;
  ASSERT_EQ(CloneAndReverseArray(TDoubleArray{1, 0.1}, S), 0);
  EXPECT_EQ(S, (TSingleArray{0.1F, 1.0F}));
  EXPECT_EQ(CloneAndReverseArray(TDoubleArray{}, D), -1);
  EXPECT_EQ(D, (TDoubleArray{3, 2, 1}));
}

}  // namespace
