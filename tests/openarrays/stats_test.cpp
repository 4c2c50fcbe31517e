#include "nmx/openarrays/stats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "openarrays/nd_builders.h"
#include "support/tolerance.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(StdDevArray, SmallCases) {
  double Sd = -1;
  ASSERT_EQ(StdDevArray(TDoubleArray{1, 2, 3, 4}, 0, 3, Sd), 0);
  NMX_EXPECT_ULPS(Sd, std::sqrt(5.0 / 3.0), 2);  // Σ(x - 2.5)² = 5, divisor 3
  ASSERT_EQ(StdDevArray(TDoubleArray{1, 2, 3, 4}, 2, 2, Sd), 0);
  EXPECT_EQ(Sd, 0.0);  // one element
  ASSERT_EQ(StdDevArray(TIntArray{7, 7, 7}, 0, 2, Sd), 0);
  EXPECT_EQ(Sd, 0.0);
  // Errors set the output to 0 first.
  Sd = 5;
  EXPECT_EQ(StdDevArray(TDoubleArray{1, 2}, 1, 0, Sd), -2);
  EXPECT_EQ(Sd, 0.0);
  Sd = 5;
  EXPECT_EQ(StdDevArray(TDoubleArray{}, 0, 0, Sd), -1);
  EXPECT_EQ(Sd, 0.0);
}

// Values 1e7 + 0.1, 1e7 + 0.3, ..., 1001 of them: the raw power sums Σx² - (Σx)²/n cancel all
// but five digits here (they give 57.8226...); the deviations about the mean keep them all.
TEST(StdDevArray, LargeCommonOffsetKeepsItsDigits) {
  TDoubleArray X;
  for (int K = 0; K <= 1000; ++K) X.push_back(1e7 + (0.1 + 0.2 * K));
  // Exact values of these doubles, from
  // python3 -c "from fractions import Fraction as F; from decimal import *;
  //   getcontext().prec=40; f=[F(1e7+(0.1+0.2*k)) for k in range(1001)]; m=sum(f)/1001;
  //   v=sum((x-m)**2 for x in f)/1000; print((Decimal(v.numerator)/v.denominator).sqrt())"
  const double Exact = 57.82162225327066603258;
  const double ExactVar = 3343.339999999925494194;
  const double ExactMean = 10000100.09999999999962784;
  double Sd = 0, Mean = 0, Var = 0;
  ASSERT_EQ(StdDevArray(X, 0, 1000, Sd), 0);
  NMX_EXPECT_REL(Sd, Exact, nmx_test::kLoose);
  ASSERT_EQ(MeanVarArray(X, 0, 1000, Mean, Var), 0);
  NMX_EXPECT_REL(Var, ExactVar, nmx_test::kLoose);
  NMX_EXPECT_REL(Mean, ExactMean, 4 * nmx_test::kEps);
  // The same data as one column of a 2-D array.
  const TDouble2DArray Y{TDoubleArray(X.size(), 0.0), X};
  ASSERT_EQ(StdDevArray(Y, 1, 0, 1, 1000, Sd), 0);
  NMX_EXPECT_REL(Sd, Exact, nmx_test::kLoose);
}

template <class A>
class StatsEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(StatsEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

TYPED_TEST(StatsEveryRank, RangesOfEveryRank) {
  using A = TypeParam;
  constexpr std::size_t R = RankOf<A>;
  const auto E = OddExtents<A>();
  const A X = Serial<A>(E);  // 0, 1, 2, ... in order
  const auto Lo = AllOf<R>(0);
  std::array<int, R> Hi{};
  for (std::size_t K = 0; K < R; ++K) Hi[K] = static_cast<int>(E[K]) - 1;
  const double N = static_cast<double>(Flat(X).size());

  // The whole array: the mean of 0..N-1 is (N-1)/2, the variance N(N+1)/12.
  double Mean = -1, Sd = -1;
  ASSERT_EQ(LowsHighs(Lo, Hi, [&](auto... B) { return MeanArray(X, B..., Mean); }), 0);
  EXPECT_EQ(Mean, (N - 1) / 2);
  ASSERT_EQ(LowsHighs(Lo, Hi, [&](auto... B) { return StdDevArray(X, B..., Sd); }), 0);
  NMX_EXPECT_REL(Sd, std::sqrt(N * (N + 1) / 12), nmx_test::kTight);

  // The last element alone.
  ASSERT_EQ(LowsHighs(Hi, Hi, [&](auto... B) { return MeanArray(X, B..., Mean); }), 0);
  EXPECT_EQ(Mean, N - 1);
  ASSERT_EQ(LowsHighs(Hi, Hi, [&](auto... B) { return StdDevArray(X, B..., Sd); }), 0);
  EXPECT_EQ(Sd, 0.0);

  // Codes: a bound at the extent, reversed bounds, an empty array.
  auto Over = Hi;
  Over[R - 1] += 1;
  EXPECT_EQ(LowsHighs(Lo, Over, [&](auto... B) { return MeanArray(X, B..., Mean); }), -2);
  EXPECT_EQ(Mean, 0.0);
  EXPECT_EQ(LowsHighs(Hi, Lo, [&](auto... B) { return StdDevArray(X, B..., Sd); }), -2);
  const A Empty;
  EXPECT_EQ(LowsHighs(Lo, Lo, [&](auto... B) { return MeanArray(Empty, B..., Mean); }), -1);

  // CountValues (pairs): the inclusive interval [2, 5] holds 2, 3, 4, 5 (1-D: only 2).
  EXPECT_EQ(Pairs(Lo, Hi, [&](auto... B) { return CountValues(X, B..., 2, 5); }), R == 1 ? 1 : 4);
  EXPECT_EQ(Pairs(Lo, Hi, [&](auto... B) { return CountValues(X, B..., 5, 2); }), -2);
  EXPECT_EQ(Pairs(Lo, Over, [&](auto... B) { return CountValues(X, B..., 2, 5); }), -2);
  EXPECT_EQ(Pairs(Lo, Lo, [&](auto... B) { return CountValues(Empty, B..., 2, 5); }), -1);
}

TEST(MeanVarArray, OneAndTwoDimensional) {
  double Mean = -1, Var = -1;
  ASSERT_EQ(MeanVarArray(TIntArray{9, 1, 2, 6, 9}, 1, 3, Mean, Var), 0);
  EXPECT_EQ(Mean, 3.0);
  EXPECT_EQ(Var, 7.0);  // (4 + 1 + 9) / 2
  ASSERT_EQ(MeanVarArray(TDoubleArray{4}, 0, 0, Mean, Var), 0);
  EXPECT_EQ(Mean, 4.0);
  EXPECT_EQ(Var, 0.0);
  EXPECT_EQ(MeanVarArray(TDoubleArray{4}, 0, 1, Mean, Var), -2);
  EXPECT_EQ(Mean, 0.0);
  EXPECT_EQ(Var, 0.0);
  const TDouble2DArray B{{1, 2}, {3, 4}, {5, 6}};
  ASSERT_EQ(MeanVarArray(B, 1, 0, 2, 1, Mean, Var), 0);  // 3, 4, 5, 6
  EXPECT_EQ(Mean, 4.5);
  NMX_EXPECT_ULPS(Var, 5.0 / 3.0, 2);
  EXPECT_EQ(MeanVarArray(TDouble2DArray{}, 0, 0, 0, 0, Mean, Var), -1);
}

TEST(MeanAbsDev, AboutTheMean) {
  EXPECT_EQ(MeanAbsDev(TDoubleArray{1, 2, 3, 4, 10}), 2.4);  // mean 4; 3 + 2 + 1 + 0 + 6
  EXPECT_EQ(MeanAbsDev(TIntArray{-5}), 0.0);
  EXPECT_EQ(MeanAbsDev(TIntArray{INT32_MAX, INT32_MIN}), 2147483647.5);  // no integer overflow
  EXPECT_EQ(MeanAbsDev(TDoubleArray{}), -1.0);
}

TEST(CountValues, BoundsAreInclusive) {
  const TDoubleArray A{1, 2, 2.5, 3, 4};
  EXPECT_EQ(CountValues(A, 0, 4, 2.0, 3.0), 3);
  EXPECT_EQ(CountValues(A, 1, 3, 2.5, 2.5), 1);
  EXPECT_EQ(CountValues(A, 0, 4, 2.0, 1.0), -2);
  EXPECT_EQ(CountValues(A, 3, 1, 1.0, 4.0), -2);
  EXPECT_EQ(CountValues(TDoubleArray{1, std::nan(""), 2}, 0, 2, 0.0, 5.0), 2);
}

}  // namespace
