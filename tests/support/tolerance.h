// Tolerance helpers for the tests: ULP distance, relative error with a floor, named tiers.
// A failure prints both values with 17 significant digits, so the report is exact.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace nmx_test {

inline constexpr double kEps = std::numeric_limits<double>::epsilon();

/// Named tolerance tiers, in multiples of the machine epsilon.
inline constexpr double kTight = 4 * kEps;       // a few roundings
inline constexpr double kLoose = 64 * kEps;      // a longer chain of operations
inline constexpr double kAlgorithm = 1e-10;      // an iterative or truncated method

/// Text of x with 17 significant digits.
inline std::string Digits17(double X) {
  char Buf[40];
  std::snprintf(Buf, sizeof Buf, "%.17g", X);
  return Buf;
}

/// Number of representable doubles between A and B (0 for equal values, also +0 and -0).
inline std::uint64_t UlpDistance(double A, double B) {
  if (A == B) return 0;
  if (std::isnan(A) || std::isnan(B)) return std::numeric_limits<std::uint64_t>::max();
  // Map the sign-magnitude bit patterns onto a monotonic unsigned scale.
  auto Key = [](double X) {
    const auto Bits = std::bit_cast<std::uint64_t>(X);
    return (Bits & 0x8000000000000000ULL) != 0 ? ~Bits + 1 : Bits | 0x8000000000000000ULL;
  };
  const std::uint64_t KA = Key(A), KB = Key(B);
  return KA > KB ? KA - KB : KB - KA;
}

/// |A - B| / max(|B|, Floor): the relative error, turning absolute below Floor.
inline double RelErr(double A, double B, double Floor = 1.0) {
  return std::fabs(A - B) / std::fmax(std::fabs(B), Floor);
}

inline testing::AssertionResult WithinUlps(const char* ExprA, const char* ExprB, const char*,
                                           double A, double B, std::uint64_t MaxUlps) {
  const std::uint64_t D = UlpDistance(A, B);
  if (D <= MaxUlps) return testing::AssertionSuccess();
  return testing::AssertionFailure() << ExprA << " = " << Digits17(A) << " and " << ExprB
                                     << " = " << Digits17(B) << " are " << D
                                     << " ulps apart (at most " << MaxUlps << " allowed)";
}

inline testing::AssertionResult WithinRel(const char* ExprA, const char* ExprB, const char*,
                                          double A, double B, double Tol) {
  const double E = RelErr(A, B);
  if (E <= Tol) return testing::AssertionSuccess();
  return testing::AssertionFailure() << ExprA << " = " << Digits17(A) << " and " << ExprB
                                     << " = " << Digits17(B) << " differ by " << E
                                     << " relative (floor 1; at most " << Tol << " allowed)";
}

}  // namespace nmx_test

/// Expect A within MaxUlps units in the last place of B.
#define NMX_EXPECT_ULPS(A, B, MaxUlps) EXPECT_PRED_FORMAT3(nmx_test::WithinUlps, A, B, MaxUlps)
/// Expect A within the relative tolerance Tol of B (absolute below magnitude 1).
#define NMX_EXPECT_REL(A, B, Tol) EXPECT_PRED_FORMAT3(nmx_test::WithinRel, A, B, Tol)
