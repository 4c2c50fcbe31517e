#include "nmx/math1/kahan.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using NMX_math1::TKahanSum;

// 1 + ten times 1e-16: the double nearest the exact sum is 1.000000000000001, checked with
//   python3 -c "from fractions import Fraction as F; print(float(1 + 10 * F(1e-16)))"
// while plain summation loses every term.
TEST(TKahanSum, KeepsTheDigitsOfManySmallTerms) {
  TKahanSum K;
  EXPECT_EQ(K.Sum, 0.0);
  K.Add(1.0);
  double Plain = 1.0;
  for (int I = 0; I < 10; ++I) {
    K.Add(1e-16);
    Plain += 1e-16;
  }
  EXPECT_EQ(Plain, 1.0);
  EXPECT_EQ(K.Sum, 1.000000000000001);

  K.Reset();
  EXPECT_EQ(K.Sum, 0.0);
  // The compensation is reset too: after Reset, 1 + 1e-16 is plain 1 (the lost part of the
  // earlier sum must not come back).
  K.Add(1.0);
  K.Add(1e-16);
  EXPECT_EQ(K.Sum, 1.0);
}

TEST(TKahanSum, ComponentBasics) {
  auto Owner = std::make_unique<NMX_platform::TComponent>();
  auto* K = new TKahanSum(Owner.get());
  EXPECT_EQ(K->ClassName(), "TKahanSum");
  EXPECT_EQ(K->Owner(), Owner.get());
  EXPECT_EQ(Owner->ComponentCount(), 1);
  K->Add(2.5);
  EXPECT_EQ(K->Sum, 2.5);
  // The owner deletes K (ASan reports a leak otherwise).
}

}  // namespace
