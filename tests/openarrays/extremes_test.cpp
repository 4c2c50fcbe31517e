#include "nmx/openarrays/extremes.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(MaxMinArray, FirstPositionWinsTies) {
  int Ix = -1;
  EXPECT_EQ(MaxArray(TIntArray{3, 7, 7}, Ix), 7);
  EXPECT_EQ(Ix, 1);
  EXPECT_EQ(MaxArray(TDoubleArray{9, 1}, Ix), 9.0);
  EXPECT_EQ(Ix, 0);
  EXPECT_EQ(MinArray(TDoubleArray{4, 1, 1, 8}, Ix), 1.0);
  EXPECT_EQ(Ix, 1);
  int Col = -1, Row = -1;
  const TDouble2DArray A{{1, 5}, {5, 0}, {0, 2}};
  EXPECT_EQ(MaxArray(A, Col, Row), 5.0);
  EXPECT_EQ(Col, 0);
  EXPECT_EQ(Row, 1);
  EXPECT_EQ(MinArray(A, Col, Row), 0.0);
  EXPECT_EQ(Col, 1);
  EXPECT_EQ(Row, 1);
  // A NaN never replaces an extreme.
  EXPECT_EQ(MaxArray(TDoubleArray{1, std::nan(""), 3}, Ix), 3.0);
  EXPECT_EQ(Ix, 2);
}

TEST(MaxMinArray, EmptyArraysGiveTheirStartValues) {
  const double Big = std::numeric_limits<double>::max();
  int Ix = 42, Col = 43, Row = 44;
  EXPECT_EQ(MaxArray(TDoubleArray{}), -2147483648.0);
  EXPECT_EQ(MinArray(TDoubleArray{}, Ix), 2147483647.0);
  EXPECT_EQ(MaxArray(TDouble2DArray{}, Col, Row), -2147483648.0);
  EXPECT_EQ(MinArray(TDouble2DArray(3)), 2147483647.0);  // three empty columns
  EXPECT_EQ(MaxArray(NMX_nmxbase::TDouble3DArray{}), -Big);
  EXPECT_EQ(MinArray(NMX_nmxbase::TDouble4DArray{}), Big);
  EXPECT_EQ(MaxArray(TInt3DArray{}), INT32_MIN);
  EXPECT_EQ(MinArray(TIntArray{}, Ix), INT32_MAX);
  EXPECT_EQ(Ix, 42);  // positions untouched
  EXPECT_EQ(Col, 43);
  EXPECT_EQ(Row, 44);
  // A ragged array counts as empty.
  EXPECT_EQ(MaxArray(TDouble2DArray{{1, 2}, {3}}), -2147483648.0);
}

template <class A>
class ExtremesEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(ExtremesEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

TYPED_TEST(ExtremesEveryRank, FindsPlantedExtremes) {
  using A = TypeParam;
  using T = ElemOf<A>;
  const auto E = OddExtents<A>();
  // 0 everywhere, 9 at the last index, -9 and a second -9 later in the order.
  const A X = Build<A>(E, [&, K = 0](const auto& Ix) mutable {
    ++K;
    bool Last = true;
    for (std::size_t D = 0; D < Ix.size(); ++D) Last = Last && Ix[D] + 1 == E[D];
    if (Last) return T(9);
    return K == 2 || K == 5 ? T(-9) : T(0);
  });
  EXPECT_EQ(MaxArray(X), T(9));
  EXPECT_EQ(MinArray(X), T(-9));
  T Mn = 0, Mx = 0;
  ASSERT_EQ(MinMaxArray(X, Mn, Mx), 0);
  EXPECT_EQ(Mn, T(-9));
  EXPECT_EQ(Mx, T(9));
  const A Empty;
  EXPECT_EQ(MinMaxArray(Empty, Mn, Mx), -1);
  EXPECT_EQ(Mn, std::numeric_limits<T>::max());
  EXPECT_EQ(Mx, (std::is_same_v<T, double> ? -std::numeric_limits<T>::max()
                                           : std::numeric_limits<T>::min()));
}

TEST(MinMaxArray, SingleAndPlainSequences) {
  float Mn = 0, Mx = 0;
  ASSERT_EQ(MinMaxArray(NMX_nmxbase::TSingleArray{2.5F, -1.0F, 7.0F}, Mn, Mx), 0);
  EXPECT_EQ(Mn, -1.0F);
  EXPECT_EQ(Mx, 7.0F);
  EXPECT_EQ(MinMaxArray(NMX_nmxbase::TSingleArray{}, Mn, Mx), -1);
  EXPECT_EQ(Mn, FLT_MAX);
  EXPECT_EQ(Mx, -FLT_MAX);

  const double Raw[] = {3, -2, 8, 8};
  double DMn = 0, DMx = 0;
  ASSERT_EQ(MinMaxArray(std::span<const double>(Raw), DMn, DMx), 0);
  EXPECT_EQ(DMn, -2.0);
  EXPECT_EQ(DMx, 8.0);
  const std::int32_t IRaw[] = {5};
  std::int32_t IMn = 0, IMx = 0;
  ASSERT_EQ(MinMaxArray(std::span<const std::int32_t>(IRaw), IMn, IMx), 0);
  EXPECT_EQ(IMn, 5);
  EXPECT_EQ(IMx, 5);
  EXPECT_EQ(MinMaxArray(std::span<const std::int32_t>(), IMn, IMx), -1);
  EXPECT_EQ(IMn, INT32_MAX);
  EXPECT_EQ(IMx, INT32_MIN);
}

TEST(MinMaxArray, RangesWithPositions) {
  const TDoubleArray A{5, 1, 9, 1, 9, 0};
  double Mn = 0, Mx = 0;
  int MnIx = -1, MxIx = -1;
  ASSERT_EQ(MinMaxArray(A, 1, 4, Mn, Mx, MnIx, MxIx), 0);
  EXPECT_EQ(Mn, 1.0);
  EXPECT_EQ(MnIx, 1);
  EXPECT_EQ(Mx, 9.0);
  EXPECT_EQ(MxIx, 2);
  // A reversed range is no error and finds nothing: start values and positions 0.
  ASSERT_EQ(MinMaxArray(A, 4, 1, Mn, Mx, MnIx, MxIx), 0);
  EXPECT_EQ(Mn, std::numeric_limits<double>::max());
  EXPECT_EQ(Mx, -std::numeric_limits<double>::max());
  EXPECT_EQ(MnIx, 0);
  EXPECT_EQ(MxIx, 0);
  EXPECT_EQ(MinMaxArray(A, 0, 6, Mn, Mx, MnIx, MxIx), -2);
  EXPECT_EQ(MinMaxArray(A, -1, 2, Mn, Mx, MnIx, MxIx), -2);
  EXPECT_EQ(MinMaxArray(TDoubleArray{}, 0, 0, Mn, Mx, MnIx, MxIx), -1);

  // A range holding only the start value still reports a position inside the range.
  std::int32_t IMn = 0, IMx = 0;
  ASSERT_EQ(MinMaxArray(TIntArray{0, INT32_MAX, INT32_MAX}, 1, 2, IMn, IMx, MnIx, MxIx), 0);
  EXPECT_EQ(IMn, INT32_MAX);
  EXPECT_EQ(MnIx, 1);
  EXPECT_EQ(MxIx, 1);

  const TInt2DArray B{{4, 4, 4}, {4, -1, 7}, {7, -1, 0}};
  int MnC = -1, MnR = -1, MxC = -1, MxR = -1;
  ASSERT_EQ(MinMaxArray(B, 1, 0, 2, 2, IMn, IMx, MnC, MnR, MxC, MxR), 0);
  EXPECT_EQ(IMn, -1);
  EXPECT_EQ(MnC, 1);
  EXPECT_EQ(MnR, 1);
  EXPECT_EQ(IMx, 7);
  EXPECT_EQ(MxC, 1);  // [1][2] comes before [2][0], columns outermost
  EXPECT_EQ(MxR, 2);
  EXPECT_EQ(MinMaxArray(B, 0, 0, 3, 2, IMn, IMx, MnC, MnR, MxC, MxR), -2);
}

}  // namespace
