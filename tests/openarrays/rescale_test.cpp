#include "nmx/openarrays/rescale.h"

#include <gtest/gtest.h>

#include <cmath>

#include "openarrays/nd_builders.h"
#include "support/tolerance.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(RescaleArray, ModesOnARange) {
  struct Case {
    TRescaleMode Mode;
    double Shift, Scale;
    TDoubleArray Expected;
  };
  // The range is elements 1..4 of {100, 2, 4, 6, 8, 100}: min 2, max 8, mean 5,
  // sd sqrt(20/3).
  const double Sd = std::sqrt(20.0 / 3.0);
  const Case Cases[] = {
      {rsmMinMax, 2, 6, {100, 0, 1.0 / 3, 2.0 / 3, 1, 100}},
      {rsmStandardize, 5, Sd, {100, -3 / Sd, -1 / Sd, 1 / Sd, 3 / Sd, 100}},
      {rsmMeanCenter, 5, 1, {100, -3, -1, 1, 3, 100}},
      {rsmMaxAbs, 0, 8, {100, 0.25, 0.5, 0.75, 1, 100}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TDoubleArray A{100, 2, 4, 6, 8, 100};
    double Shift = -1, Scale = -1;
    ASSERT_EQ(RescaleArray(A, 1, 4, C.Mode, Shift, Scale), 0) << int(C.Mode);
    NMX_EXPECT_ULPS(Shift, C.Shift, 0);
    NMX_EXPECT_ULPS(Scale, C.Scale, 2);
    for (std::size_t I = 0; I < A.size(); ++I) NMX_EXPECT_ULPS(A[I], C.Expected[I], 4);
    // x = x'·Scale + Shift undoes it.
    for (std::size_t I = 1; I <= 4; ++I) {
      NMX_EXPECT_REL(A[I] * Scale + Shift, 2.0 * static_cast<double>(I), nmx_test::kTight);
    }
  }
}

TEST(RescaleArray, CodesChangeNothing) {
  const TDoubleArray Orig{3, 3, 3};
  TDoubleArray A = Orig;
  double Shift = -1, Scale = -1;
  EXPECT_EQ(RescaleArray(A, 0, 2, rsmMinMax, Shift, Scale), -4);       // constant range
  EXPECT_EQ(RescaleArray(A, 1, 1, rsmStandardize, Shift, Scale), -4);  // one element
  EXPECT_EQ(RescaleArray(A, 0, 3, rsmMinMax, Shift, Scale), -2);
  EXPECT_EQ(RescaleArray(A, 2, 1, rsmMinMax, Shift, Scale), -2);
  EXPECT_EQ(RescaleArray(A, 0, 2, static_cast<TRescaleMode>(9), Shift, Scale), -3);
  TDoubleArray Empty;
  EXPECT_EQ(RescaleArray(Empty, 0, 0, rsmMinMax, Shift, Scale), -1);
  EXPECT_EQ(A, Orig);
  EXPECT_EQ(Shift, -1.0);
  EXPECT_EQ(Scale, -1.0);
  // A mean-centred constant range is fine: Scale 1.
  ASSERT_EQ(RescaleArray(A, 0, 2, rsmMeanCenter, Shift, Scale), 0);
  EXPECT_EQ(A, TDoubleArray(3, 0.0));
}

TEST(RescaleArray, TwoDimensionalBlock) {
  TDouble2DArray A{{1, 2}, {3, 4}, {5, 6}};
  double Shift = 0, Scale = 0;
  ASSERT_EQ(RescaleArray(A, 1, 0, 2, 1, rsmMinMax, Shift, Scale), 0);  // 3, 4, 5, 6
  EXPECT_EQ(Shift, 3.0);
  EXPECT_EQ(Scale, 3.0);
  EXPECT_EQ(A[0], (TDoubleArray{1, 2}));
  EXPECT_EQ(A[2][1], 1.0);
  EXPECT_EQ(A[1][0], 0.0);
}

}  // namespace
