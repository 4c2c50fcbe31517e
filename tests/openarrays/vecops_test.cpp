#include "nmx/openarrays/vecops.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(VectorDotProduct, ValuesAndCodes) {
  double D = -1;
  ASSERT_EQ(VectorDotProduct(TDoubleArray{1, 2, 3}, TDoubleArray{4, -5, 6}, D), 0);
  EXPECT_EQ(D, 12.0);
  EXPECT_EQ(VectorDotProduct(TDoubleArray{1, 2}, TDoubleArray{1}, D), -2);
  EXPECT_EQ(VectorDotProduct(TDoubleArray{}, TDoubleArray{}, D), -1);
  EXPECT_EQ(D, 12.0);
  std::int32_t I = 0;
  ASSERT_EQ(VectorDotProduct(TIntArray{65536, 3}, TIntArray{65536, 2}, I), 0);
  EXPECT_EQ(I, 6);  // 2^32 wraps to 0
}

TEST(VectorCrossProduct, RightHandedAndInPlace) {
  TDoubleArray C;
  ASSERT_EQ(VectorCrossProduct(TDoubleArray{1, 0, 0}, TDoubleArray{0, 1, 0}, C), 0);
  EXPECT_EQ(C, (TDoubleArray{0, 0, 1}));
  TIntArray A{1, 2, 3};
  ASSERT_EQ(VectorCrossProduct(A, TIntArray{4, 5, 6}, A), 0);  // into an operand
  EXPECT_EQ(A, (TIntArray{-3, 6, -3}));
  EXPECT_EQ(VectorCrossProduct(TDoubleArray{1, 2}, TDoubleArray{1, 2}, C), -2);
  EXPECT_EQ(VectorCrossProduct(TDoubleArray{1, 2, 3}, TDoubleArray{}, C), -1);
  EXPECT_EQ(C, (TDoubleArray{0, 0, 1}));
}

}  // namespace
