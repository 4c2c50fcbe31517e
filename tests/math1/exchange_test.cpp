#include "nmx/math1/exchange.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

using NMX_math1::ExChange;
using NMX_math1::SortSwap;

// Two distinct values per type, at the ends of the range where there are ends.
template <typename T>
class ExChangeTyped : public testing::Test {
 protected:
  static void Check(T A, T B) {
    T X = A, Y = B;
    ExChange(X, Y);
    EXPECT_EQ(X, B);
    EXPECT_EQ(Y, A);
  }
};

using ExChangeTypes =
    testing::Types<std::int32_t, std::uint8_t, float, double, long double, bool, char16_t,
                   std::uint16_t, std::int8_t, std::uint32_t, std::int64_t>;
TYPED_TEST_SUITE(ExChangeTyped, ExChangeTypes);

TYPED_TEST(ExChangeTyped, ExchangesTheTwoValues) {
  using T = TypeParam;
  this->Check(std::numeric_limits<T>::lowest(), std::numeric_limits<T>::max());
  this->Check(T{1}, T{0});
}

TEST(ExChange, StringsAndOverloadsPickedByType) {
  std::string A = "first", B(100, 'x');
  ExChange(A, B);
  EXPECT_EQ(A, std::string(100, 'x'));
  EXPECT_EQ(B, "first");

  // char16_t and uint16_t, int8_t and uint8_t are distinct types: each pair reaches its own
  // overload and keeps its full value.
  char16_t C1 = u'\xFFFF', C2 = u'a';
  ExChange(C1, C2);
  EXPECT_EQ(C1, u'a');
  EXPECT_EQ(C2, u'\xFFFF');
  long double L1 = 1.0L + std::numeric_limits<long double>::epsilon(), L2 = 2.0L;
  ExChange(L1, L2);
  EXPECT_EQ(L2, 1.0L + std::numeric_limits<long double>::epsilon());  // not cut to double
}

TEST(ExChange, UntypedExchangesSizeBytes) {
  std::array<unsigned char, 6> A{1, 2, 3, 4, 5, 6}, B{11, 12, 13, 14, 15, 16};
  ExChange(A.data(), B.data(), 4);
  EXPECT_EQ(A, (std::array<unsigned char, 6>{11, 12, 13, 14, 5, 6}));
  EXPECT_EQ(B, (std::array<unsigned char, 6>{1, 2, 3, 4, 15, 16}));

  ExChange(A.data(), B.data(), 0);
  EXPECT_EQ(A[0], 11);
  ExChange(nullptr, B.data(), 4);
  ExChange(A.data(), nullptr, 4);
  EXPECT_EQ(A[0], 11);
  EXPECT_EQ(B[0], 1);

  // Whole values, unaligned, and a block of the largest size.
  double X = 1.5, Y = -2.25;
  ExChange(&X, &Y, sizeof X);
  EXPECT_EQ(X, -2.25);
  EXPECT_EQ(Y, 1.5);
  std::array<unsigned char, 65536> Big{}, Other{};
  Big.fill(7);
  ExChange(Big.data() + 1, Other.data() + 1, 65535);
  EXPECT_EQ(Big[0], 7);
  EXPECT_EQ(Big[65535], 0);
  EXPECT_EQ(Other[0], 0);
  EXPECT_EQ(Other[65535], 7);
}

TEST(SortSwap, ExchangesUnlessStrictlyInTheGivenOrder) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double A, B;
    bool Ascending;
    bool Result;
  };
  const Case Cases[] = {
      {1, 2, true, false}, {3, 1, true, true},   {2, 2, true, true},   {2, 1, false, false},
      {1, 3, false, true}, {2, 2, false, false}, {NaN, 1, true, true}, {1, NaN, false, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    double A = C.A, B = C.B;
    EXPECT_EQ(SortSwap(A, B, C.Ascending), C.Result) << C.A << " " << C.B << " " << C.Ascending;
    const double WantA = C.Result ? C.B : C.A;
    const double WantB = C.Result ? C.A : C.B;
    EXPECT_TRUE(A == WantA || (std::isnan(A) && std::isnan(WantA)));
    EXPECT_TRUE(B == WantB || (std::isnan(B) && std::isnan(WantB)));
  }
}

}  // namespace
