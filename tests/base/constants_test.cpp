#include "nmx/base/constants.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "support/tolerance.h"

namespace {

using namespace NMX_univconst;

TEST(Constants, LargestValuesAreTheLargestFinite) {
  EXPECT_EQ(uc_MaxDouble, DBL_MAX);
  EXPECT_EQ(uc_MaxReal, DBL_MAX);
  EXPECT_TRUE(std::isinf(std::nextafter(uc_MaxDouble, INFINITY)));
  EXPECT_EQ(uc_MaxSingle, FLT_MAX);
  EXPECT_TRUE(std::isinf(std::nextafter(uc_MaxSingle, INFINITY)));
  EXPECT_EQ(uc_MaxInt64, INT64_C(9223372036854775807));
}

TEST(Constants, RootsAreCorrectlyRounded) {
  // Long double evaluation, rounded once to double.
  const long double Pi = std::numbers::pi_v<long double>;
  EXPECT_EQ(uc_sqrt2, static_cast<double>(std::sqrt(2.0L)));
  EXPECT_EQ(uc_sqrt2pitom1, static_cast<double>(1.0L / std::sqrt(2.0L * Pi)));
  NMX_EXPECT_ULPS(uc_sqrt2 * uc_sqrt2, 2.0, 1);
}

TEST(Constants, LnFactorialSpotValues) {
  EXPECT_EQ(uc_LnFactorial[0], 0.0);
  EXPECT_EQ(uc_LnFactorial[1], 0.0);
  // n! exact in doubles (20! = 2^18 * 9280784638125), logarithm within an ulp.
  NMX_EXPECT_ULPS(uc_LnFactorial[5], std::log(120.0), 1);
  NMX_EXPECT_ULPS(uc_LnFactorial[10], std::log(3628800.0), 1);
  NMX_EXPECT_ULPS(uc_LnFactorial[20], std::log(2432902008176640000.0), 1);
  // mpmath.loggamma(1001) at 50 digits: 5912.1281784881633488781308867...
  EXPECT_EQ(uc_LnFactorial[1000], 5912.128178488163);
  EXPECT_EQ(LnFactorial(1000), uc_LnFactorial[1000]);
  EXPECT_EQ(LnFactorial(7), uc_LnFactorial[7]);
  EXPECT_TRUE(std::isnan(LnFactorial(-1)));
  EXPECT_TRUE(std::isnan(LnFactorial(1001)));
}

// Every entry against lgammal(n + 1) rounded to double: with a 64-bit long double that is
// within 1 ulp of the true value (the table itself is correctly rounded).
TEST(Constants, LnFactorialTableAgreesWithLgamma) {
  constexpr std::uint64_t kUlps = std::numeric_limits<long double>::digits >= 64 ? 1 : 4;
  for (int N = 2; N < kLnFactorialCount; ++N) {
    const auto Reference = static_cast<double>(std::lgamma(static_cast<long double>(N) + 1.0L));
    NMX_EXPECT_ULPS(uc_LnFactorial[static_cast<std::size_t>(N)], Reference, kUlps) << "n = " << N;
  }
}

}  // namespace
