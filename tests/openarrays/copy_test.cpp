#include "nmx/openarrays/copy.h"

#include <gtest/gtest.h>

#include <string>

#include "nmx/base/errors.h"
#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using NMX_nmxbase::TBool2DArray;
using NMX_nmxbase::TBoolArray;

TEST(CopyArray, WholeIntoPresizedDest) {
  const TDoubleArray Src{1, 2, 3};
  TDoubleArray Dest(4, 0.0);
  EXPECT_EQ(CopyArray(Src, 2, Dest), -2);  // does not fit from 2
  EXPECT_EQ(Dest, TDoubleArray(4, 0.0));
  ASSERT_EQ(CopyArray(Src, 1, Dest), 0);
  EXPECT_EQ(Dest, (TDoubleArray{0, 1, 2, 3}));
  EXPECT_EQ(CopyArray(Src, -1, Dest), -2);
  EXPECT_EQ(CopyArray(Src, 4, Dest), -2);
  TDoubleArray Empty;
  EXPECT_EQ(CopyArray(Src, 0, Empty), -1);
  EXPECT_EQ(CopyArray(Empty, 0, Dest), -1);
  EXPECT_TRUE(Empty.empty());  // never resized

  TBool2DArray B(3, TBoolArray(3, false));
  ASSERT_EQ(CopyArray(TBool2DArray{{true, true}}, 2, 1, B), 0);
  EXPECT_EQ(B, (TBool2DArray{{false, false, false}, {false, false, false}, {false, true, true}}));
}

TEST(CopyArray, OverlappingCopyWithinOneArray) {
  TIntArray A{1, 2, 3, 4};
  ASSERT_EQ(CopyArray(A, 0, 2, 1, A), 0);  // A[0..2] to A[1..3]
  EXPECT_EQ(A, (TIntArray{1, 1, 2, 3}));
  TIntArray B{1, 2, 3, 4};
  ASSERT_EQ(CopyArray(B, 1, 3, 0, B), 0);
  EXPECT_EQ(B, (TIntArray{2, 3, 4, 4}));
}

template <class A>
class CopyEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(CopyEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

TYPED_TEST(CopyEveryRank, WholeAndRangeBlocks) {
  using A = TypeParam;
  using T = ElemOf<A>;
  constexpr std::size_t R = RankOf<A>;
  Ix<A> Small{}, Big{};
  Small.fill(2);
  Big.fill(4);
  const A Src = Serial<A>(Small, 1);
  const A Zero = Build<A>(Big, [](const auto&) { return T(0); });
  const auto Off = AllOf<R>(1);

  // Whole: Src lands at [1, 2] in every dimension of Dest, the rest stays 0.
  A Dest = Zero;
  ASSERT_EQ(Spread(Off, [&](auto... O) { return CopyArray(Src, O..., Dest); }), 0);
  Visit(Dest, [&](const auto& Ix, T V) {
    if (!InBox(Ix, Off, AllOf<R>(2))) {
      EXPECT_EQ(V, T(0));
      return;
    }
    T Expected = 1;  // serial number of Ix - 1 in the 2 x 2 x ... source
    T Step = 1;
    for (std::size_t K = R; K-- > 0;) {
      Expected += T(static_cast<int>(Ix[K] - 1)) * Step;
      Step *= 2;
    }
    EXPECT_EQ(V, Expected);
  });
  // The same block does not fit from 3; an offset at the extent is outside.
  Dest = Zero;
  EXPECT_EQ(Spread(AllOf<R>(3), [&](auto... O) { return CopyArray(Src, O..., Dest); }), -2);
  EXPECT_EQ(Spread(AllOf<R>(4), [&](auto... O) { return CopyArray(Src, O..., Dest); }), -2);
  EXPECT_EQ(Dest, Zero);
  A Empty;
  EXPECT_EQ(Spread(Off, [&](auto... O) { return CopyArray(Empty, O..., Dest); }), -1);
  EXPECT_EQ(Spread(Off, [&](auto... O) { return CopyArray(Src, O..., Empty); }), -1);

  // Range: the block [1, 2] of a 4 x 4 x ... source to offset 0; a bad range gives -2.
  const A Big4 = Serial<A>(Big);
  Dest = Zero;
  auto Call = [&](const std::array<int, R>& Lo, const std::array<int, R>& Hi,
                  const std::array<int, R>& O) {
    return LowsHighs(Lo, Hi, [&](auto... B) {
      return Spread(O, [&](auto... D) { return CopyArray(Big4, B..., D..., Dest); });
    });
  };
  ASSERT_EQ(Call(AllOf<R>(1), AllOf<R>(2), AllOf<R>(0)), 0);
  const auto Whole = Flat(Big4);
  Visit(Dest, [&](const auto& Ix, T V) {
    if (!InBox(Ix, AllOf<R>(0), AllOf<R>(1))) {
      EXPECT_EQ(V, T(0));
      return;
    }
    std::size_t Linear = 0;
    for (std::size_t K = 0; K < R; ++K) Linear = Linear * 4 + Ix[K] + 1;
    EXPECT_EQ(V, Whole[Linear]);
  });
  const A Copied = Dest;
  EXPECT_EQ(Call(AllOf<R>(2), AllOf<R>(1), AllOf<R>(0)), -2);   // reversed
  EXPECT_EQ(Call(AllOf<R>(1), AllOf<R>(4), AllOf<R>(0)), -2);   // outside Src
  EXPECT_EQ(Call(AllOf<R>(0), AllOf<R>(2), AllOf<R>(2)), -2);   // does not fit
  EXPECT_EQ(Call(AllOf<R>(0), AllOf<R>(0), AllOf<R>(-1)), -2);  // negative offset
  EXPECT_EQ(Dest, Copied);
}

TEST(CopyArrayColumnRow, CodesAndResizing) {
  // 3 columns, 2 rows.
  const TDouble2DArray A{{1, 2}, {3, 4}, {5, 6}};
  TDoubleArray Dest{9, 9, 9, 9, 9};
  ASSERT_EQ(CopyArrayRow(A, 1, 0, 2, Dest), 0);
  EXPECT_EQ(Dest, (TDoubleArray{2, 4, 6}));
  ASSERT_EQ(CopyArrayColumn(A, 2, 0, 1, Dest), 0);
  EXPECT_EQ(Dest, (TDoubleArray{5, 6}));

  struct Case {
    bool Row;
    int Fixed, First, Last, Status;
  };
  for (const Case& C : {Case{true, 2, 0, 2, -3}, Case{true, -1, 0, 2, -3}, Case{true, 0, 2, 1, -2},
                        Case{true, 0, 0, 3, -2}, Case{false, 3, 0, 1, -3}, Case{false, 0, 1, 0, -2},
                        Case{false, 5, -1, 0, -2}}) {
    SCOPED_TRACE(testing::Message() << C.Row << " " << C.Fixed << " " << C.First << " " << C.Last);
    TDoubleArray D{7};
    const int Status = C.Row ? CopyArrayRow(A, C.Fixed, C.First, C.Last, D)
                             : CopyArrayColumn(A, C.Fixed, C.First, C.Last, D);
    EXPECT_EQ(Status, C.Status);
    EXPECT_EQ(D, TDoubleArray{7});
  }
  TDoubleArray D;
  EXPECT_EQ(CopyArrayColumn(TDouble2DArray{}, 0, 0, 0, D), -1);

  // The integer and Boolean members.
  TIntArray I;
  ASSERT_EQ(CopyArrayColumn(TInt2DArray{{1, 2, 3}}, 0, 1, 2, I), 0);
  EXPECT_EQ(I, (TIntArray{2, 3}));
  TBoolArray B;
  ASSERT_EQ(CopyArrayRow(TBool2DArray{{true, false}, {false, true}}, 1, 0, 1, B), 0);
  EXPECT_EQ(B, (TBoolArray{false, true}));
}

TEST(Copy2DTo1DArray, ShortensAtDestEnd) {
  const TDouble2DArray A{{1, 2, 3, 4}, {5, 6, 7, 8}};
  TDoubleArray Dest(3, 0.0);
  ASSERT_EQ(Copy2DColTo1DArray(A, 1, 0, 3, Dest, 1), 0);  // four values, room for two
  EXPECT_EQ(Dest, (TDoubleArray{0, 5, 6}));
  ASSERT_EQ(Copy2DRowTo1DArray(A, 3, 0, 1, Dest, 0), 0);
  EXPECT_EQ(Dest, (TDoubleArray{4, 8, 6}));

  TDoubleArray Empty;
  EXPECT_EQ(Copy2DColTo1DArray(A, 0, 0, 1, Empty, 0), -1);
  EXPECT_EQ(Copy2DColTo1DArray(TDouble2DArray{}, 0, 0, 1, Dest, 0), -1);
  EXPECT_EQ(Copy2DColTo1DArray(A, 0, 2, 1, Dest, 0), -2);
  EXPECT_EQ(Copy2DColTo1DArray(A, 2, 0, 1, Dest, 0), -3);
  EXPECT_EQ(Copy2DColTo1DArray(A, 0, 0, 1, Dest, 3), -4);
  EXPECT_EQ(Copy2DRowTo1DArray(A, 0, 0, 2, Dest, 0), -2);
  EXPECT_EQ(Copy2DRowTo1DArray(A, 4, 0, 1, Dest, 0), -3);
  EXPECT_EQ(Copy2DRowTo1DArray(A, 0, 0, 1, Dest, -1), -4);
  EXPECT_EQ(Dest, (TDoubleArray{4, 8, 6}));
}

TEST(CopyToArrayColumnRow, StopsAtDestEdgeAndReportsInOrder) {
  TInt2DArray Dest(2, TIntArray(3, 0));                                      // 2 columns, 3 rows
  ASSERT_EQ(CopyToArrayColumn(TIntArray{1, 2, 3, 4}, 0, 0, 1, 1, Dest), 0);  // all of Src
  EXPECT_EQ(Dest, (TInt2DArray{{0, 0, 0}, {0, 1, 2}}));
  ASSERT_EQ(CopyToArrayRow(TIntArray{7, 8, 9}, 1, 2, 0, 0, Dest), 0);
  EXPECT_EQ(Dest, (TInt2DArray{{8, 0, 0}, {9, 1, 2}}));
  ASSERT_EQ(CopyToArrayRow(TIntArray{5, 6, 7}, 0, 0, 1, 2, Dest), 0);  // room for one
  EXPECT_EQ(Dest, (TInt2DArray{{8, 0, 0}, {9, 1, 5}}));

  struct Case {
    int First, Last, Col, FirstRow, Status;
  };
  const TIntArray Src{1, 2};
  for (const Case& C : {Case{0, 2, 0, 0, -1}, Case{-1, 1, 0, 0, -1}, Case{1, 0, 0, 0, -1},
                        Case{0, 1, 2, 0, -2}, Case{0, 1, 0, 3, -2}, Case{5, 6, 0, -1, -2}}) {
    SCOPED_TRACE(testing::Message() << C.First << " " << C.Last << " " << C.Col << " "
                                    << C.FirstRow);
    TInt2DArray D = Dest;
    EXPECT_EQ(CopyToArrayColumn(Src, C.First, C.Last, C.Col, C.FirstRow, D), C.Status);
    EXPECT_EQ(D, Dest);
  }
  TInt2DArray Empty;
  EXPECT_EQ(CopyToArrayColumn(Src, 0, 0, 0, 0, Empty), -2);
  EXPECT_EQ(CopyToArrayColumn(TIntArray{}, 0, 0, 0, 0, Dest), -1);
  TBool2DArray B(1, TBoolArray(2, false));
  ASSERT_EQ(CopyToArrayColumn(TBoolArray{true, true}, 0, 0, 0, 0, B), 0);
  EXPECT_EQ(B, TBool2DArray(1, TBoolArray(2, true)));
}

TEST(CopyVectorToArray, DeprecatedAlwaysRaises) {
  TDouble2DArray Dest(2, TDoubleArray(2));
  try {
    CopyVectorToArrayColumn(TDoubleArray{1}, 0, 0, 0, 0, Dest);
    FAIL() << "no exception";
  } catch (const NMX_nmxbase::ENMXError& E) {
    EXPECT_EQ(std::string(E.what()), "deprecated function, see help for details");
  }
  TBool2DArray B;
  EXPECT_THROW(CopyVectorToArrayRow(TBoolArray{}, 0, 0, 0, 0, B), NMX_nmxbase::ENMXError);
  TInt2DArray I;
  EXPECT_THROW(CopyVectorToArrayRow(TIntArray{1}, 0, 0, 0, 0, I), NMX_nmxbase::ENMXError);
}

}  // namespace
