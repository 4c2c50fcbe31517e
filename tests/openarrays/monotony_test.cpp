#include "nmx/openarrays/monotony.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(CheckLinearity, BreaksOfTheDifferences) {
  struct Case {
    TDoubleArray A;
    double Tolerance;
    TIntArray Breaks;
  };
  const Case Cases[] = {
      {{0, 1, 2, 4, 6}, 0.1, {2}},
      {{0, 1, 2, 4, 6}, 1.0, {}},  // a change of exactly the tolerance is no break
      {{0, 1, 0, 1, 0}, 0.5, {1, 2, 3}},
      {{5, 5, 5, 5}, 0, {}},
      {{0, 1, kNaN, 3}, 0.1, {}},  // NaN differences compare as no break
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.A.size() << " elements, tolerance " << C.Tolerance);
    TIntArray Breaks{77, 77};
    EXPECT_EQ(CheckLinearity(C.A, C.Tolerance, Breaks), static_cast<int>(C.Breaks.size()));
    EXPECT_EQ(Breaks, C.Breaks);
  }
  TIntArray Kept{77};
  EXPECT_EQ(CheckLinearity(TDoubleArray{1, 5}, 0.0, Kept), 0);
  EXPECT_EQ(Kept, TIntArray{77});  // fewer than 3 elements: left as it is

  TIntArray Breaks;
  EXPECT_EQ(CheckLinearity(TIntArray{0, 2, 4, 5, 6, 6}, Breaks), 2);
  EXPECT_EQ(Breaks, (TIntArray{2, 4}));
  // The differences 2^32 - 1 and -1 agree in 32-bit wrap-around, but they are not equal.
  EXPECT_EQ(CheckLinearity(TIntArray{INT32_MIN, INT32_MAX, INT32_MAX - 1}, Breaks), 1);
  EXPECT_EQ(Breaks, TIntArray{1});
}

TEST(Monotony, PlainAndStrict) {
  struct Case {
    TDoubleArray A;
    bool Monotone, Strict;
  };
  const Case Cases[] = {
      {{1, 1, 2, 2, 3}, true, false}, {{1, 1}, true, true},
      {{2, 1}, true, true},           {{}, true, true},
      {{3, 2, 1}, true, true},        {{1, 2, 3}, true, true},
      {{4, 4, 4}, true, false},       {{1, 3, 2}, false, false},
      {{1, 2, 2}, true, false},       {{2, 2, 3, 1}, false, false},
      {{1, kNaN, 3}, true, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << C.A.size() << " elements starting " << (C.A.empty() ? 0.0 : C.A[0]));
    EXPECT_EQ(IsMonotone(C.A), C.Monotone);
    EXPECT_EQ(IsStrictlyMonotone(C.A), C.Strict);
  }
  // Integer differences would overflow; the signs come from comparisons.
  EXPECT_TRUE(IsStrictlyMonotone(TIntArray{INT32_MIN, 0, INT32_MAX}));
  EXPECT_FALSE(IsMonotone(TIntArray{INT32_MAX, INT32_MIN, INT32_MAX}));
}

TEST(IsDichotomous, TwoValuesOnly) {
  struct Case {
    TIntArray A;
    bool Expected;
    std::int32_t Val1, Val2;
  };
  const Case Cases[] = {
      {{5, 1, 5}, true, 1, 5}, {{2, 2, 2}, false, 2, 0}, {{1, 2, 3}, false, 1, 2},
      {{9}, false, 0, 0},      {{}, false, 0, 0},        {{3, 3, 8}, true, 3, 8},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.A.size() << " elements");
    std::int32_t V1 = -5, V2 = -5;
    EXPECT_EQ(IsDichotomous(C.A, V1, V2), C.Expected);
    EXPECT_EQ(V1, C.Val1);
    EXPECT_EQ(V2, C.Val2);
  }
  double D1 = 0, D2 = 0;
  EXPECT_TRUE(IsDichotomous(TDoubleArray{0.5, -0.5}, D1, D2));
  EXPECT_EQ(D1, -0.5);
  EXPECT_EQ(D2, 0.5);
}

}  // namespace
