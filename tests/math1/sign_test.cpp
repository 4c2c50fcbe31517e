#include "nmx/math1/sign.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using NMX_math1::IntNeg;
using NMX_math1::IntPos;
using NMX_math1::Signum;

TEST(Sign, SignumCeilingAndFloor) {
  const double Inf = std::numeric_limits<double>::infinity();
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  struct Case {
    double X;
    int Sign, Pos, Neg;
  };
  const Case Cases[] = {
      {0.0, 1, 0, 0},
      {-0.0, 1, 0, 0},
      {2.0, 1, 2, 2},
      {2.1, 1, 3, 2},
      {2.5, 1, 3, 2},
      {-2.1, -1, -2, -3},
      {-2.0, -1, -2, -2},
      {-1e-300, -1, 0, -1},
      {2147483646.5, 1, kMax, 2147483646},
      {2147483647.0, 1, kMax, kMax},
      {-2147483648.0, -1, kMin, kMin},
      {-2147483647.5, -1, -2147483647, kMin},
      // Beyond the 32-bit range: clamped to it; NaN gives 0.
      {3e9, 1, kMax, kMax},
      {-3e9, -1, kMin, kMin},
      {Inf, 1, kMax, kMax},
      {-Inf, -1, kMin, kMin},
      {NaN, 1, 0, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    EXPECT_EQ(Signum(C.X), C.Sign) << C.X;
    EXPECT_EQ(IntPos(C.X), C.Pos) << C.X;
    EXPECT_EQ(IntNeg(C.X), C.Neg) << C.X;
  }
}

}  // namespace
