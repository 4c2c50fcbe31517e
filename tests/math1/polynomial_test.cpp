#include "nmx/math1/polynomial.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "nmx/math1/errors.h"

namespace {

using NMX_math1::CenteredPolynomial;
using NMX_math1::Polynomial;

TEST(Polynomial, EvaluatesUpToTheOrder) {
  const std::array<double, 4> C{1, -3, 0.5, 2};  // 1 - 3x + x^2/2 + 2x^3
  // Values of small integers and halves are exact in doubles: closed form by hand.
  EXPECT_EQ(Polynomial(C, 3, 2.0), 1 - 6 + 2 + 16);
  EXPECT_EQ(Polynomial(C, 3, -0.5), 1 + 1.5 + 0.125 - 0.25);
  EXPECT_EQ(Polynomial(C, 1, 2.0), -5);  // higher coefficients are ignored
  EXPECT_EQ(Polynomial(C, 0, 1e300), 1);
  EXPECT_EQ(CenteredPolynomial(C, 3, 10.0, 12.0), 13);
  EXPECT_EQ(CenteredPolynomial(C, 2, -1.0, -1.0), 1);

  // Summed upwards in powers, not by Horner: with x = 1e8 and coefficients 1, 1, the x^2 term
  // 1e16 swallows the 1 only after it, so the sum is 1e16 + 1e8 exactly rounded once per step.
  const std::array<double, 3> Ones{1, 1, 1};
  EXPECT_EQ(Polynomial(Ones, 2, 1e8), (1.0 + 1e8) + 1e16);
}

TEST(Polynomial, RejectsAnOrderOutsideTheCoefficients) {
  const std::array<double, 3> C{1, 2, 3};
  for (int Order : {-1, 3, 100}) {
    for (bool Centered : {false, true}) {
      try {
        if (Centered) {
          CenteredPolynomial(C, Order, 0.0, 1.0);
        } else {
          Polynomial(C, Order, 1.0);
        }
        ADD_FAILURE() << "no exception for order " << Order;
      } catch (const NMX_math1::ENMXMath1Error& E) {
        EXPECT_STREQ(E.what(), "Polynomial: invalid order of polynomial");
      }
    }
  }
  EXPECT_THROW(Polynomial(std::span<const double>{}, 0, 1.0), NMX_math1::ENMXMath1Error);
}

}  // namespace
