#include "nmx/openarrays/boolean.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using NMX_nmxbase::TBool2DArray;
using NMX_nmxbase::TBoolArray;

TEST(CountTrueCellsOfArray, WholeAndRanges) {
  EXPECT_EQ(CountTrueCellsOfArray(TBoolArray{true, false, true}), 2);
  EXPECT_EQ(CountTrueCellsOfArray(TBoolArray{}), -1);
  // 3 columns, 2 rows.
  const TBool2DArray A{{true, true}, {false, true}, {true, false}};
  EXPECT_EQ(CountTrueCellsOfArray(A), 4);
  struct Case {
    int LoCol, HiCol, LoRow, HiRow, Count;
  };
  for (const Case& C : {Case{0, 0, 0, 0, 4},   // 0, 0 is the whole extent in both
                        Case{1, 2, 0, 0, 2},   // columns 1..2, all rows
                        Case{2, 1, 1, 1, 1},   // reversed columns are exchanged
                        Case{0, 0, 1, 1, 2},   // all columns, row 1
                        Case{0, 2, 1, 0, 4},   // reversed rows are exchanged too
                        Case{0, 3, 0, 1, -2},  // column 3 is outside
                        Case{0, 0, 0, 2, -2},  // row 2 is outside
                        Case{-1, 1, 0, 0, -2}}) {
    SCOPED_TRACE(testing::Message() << C.LoCol << " " << C.HiCol << " " << C.LoRow << " "
                                    << C.HiRow);
    EXPECT_EQ(CountTrueCellsOfArray(A, C.LoCol, C.HiCol, C.LoRow, C.HiRow), C.Count);
  }
  EXPECT_EQ(CountTrueCellsOfArray(TBool2DArray{}, 0, 0, 0, 0), -1);
  EXPECT_EQ(CountTrueCellsOfArray(TBool2DArray{{true}, {}}), -1);  // ragged
}

TEST(InvertArray, NegatesEveryElement) {
  TBoolArray A{true, false};
  ASSERT_EQ(InvertArray(A), 0);
  EXPECT_EQ(A, (TBoolArray{false, true}));
  TBool2DArray B{{true}, {false}};
  ASSERT_EQ(InvertArray(B), 0);
  EXPECT_EQ(B, (TBool2DArray{{false}, {true}}));
  TBoolArray Empty;
  EXPECT_EQ(InvertArray(Empty), -1);
}

TEST(BoolToNumArray, ToIntegerAndDouble) {
  TIntArray I{7};
  ASSERT_EQ(BoolToNumArray(TBoolArray{true, false, true}, -1, 5, I), 0);
  EXPECT_EQ(I, (TIntArray{5, -1, 5}));
  TDouble2DArray D;
  ASSERT_EQ(BoolToNumArray(TBool2DArray{{false, true}, {true, true}}, 0.5, 2.0, D), 0);
  EXPECT_EQ(D, (TDouble2DArray{{0.5, 2.0}, {2.0, 2.0}}));
  EXPECT_EQ(BoolToNumArray(TBoolArray{}, 0, 1, I), -1);
  EXPECT_EQ(I, (TIntArray{5, -1, 5}));
}

template <class A>
class EqualEveryRank : public ::testing::Test {};
using IntArrays = ::testing::Types<TIntArray, TInt2DArray, TInt3DArray, TInt4DArray>;
TYPED_TEST_SUITE(EqualEveryRank, IntArrays, oa_test::ArrayTypeNames);

TYPED_TEST(EqualEveryRank, ExtentsAndElements) {
  using A = TypeParam;
  const auto E = OddExtents<A>();
  const A X = Serial<A>(E);
  A Y = X;
  EXPECT_TRUE(EqualArrays(X, Y));
  Y = Serial<A>(E, 1);
  EXPECT_FALSE(EqualArrays(X, Y));
  auto Longer = E;
  Longer[RankOf<A> - 1] += 1;
  EXPECT_FALSE(EqualArrays(X, Serial<A>(Longer)));
  EXPECT_FALSE(EqualArrays(X, A{}));
  EXPECT_TRUE(EqualArrays(A{}, A{}));
}

}  // namespace
