#include "nmx/openarrays/fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "nmx/openarrays/shuffle.h"
#include "nmx/platform/random.h"
#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

// The member sets: exactly the listed element types and ranks exist.
template <class A>
concept HasSerial = requires(A X) {
  FillArraySerial(X, 1, 2);
};
template <class A>
concept HasSerial0 = requires(A X) {
  FillArraySerial(X);
};
template <class A>
concept HasFill = requires(A X) {
  FillArray(X, {});
};
static_assert(HasSerial<TDouble4DArray> && HasSerial<TInt3DArray> && !HasSerial<TInt4DArray>);
static_assert(HasSerial0<TDouble3DArray> && !HasSerial0<TDouble4DArray>);
static_assert(HasFill<NMX_nmxbase::TBool2DArray> && !HasFill<NMX_nmxbase::TSingleArray>);
template <class A>
concept HasDiag = requires(A X) {
  FillDiagArray(X, 1);
};
template <class A>
concept HasNormal = requires(A X) {
  FillRandomNormal(X, 0.0, 1.0);
};
static_assert(HasDiag<TInt4DArray> && !HasDiag<TDoubleArray>);
static_assert(HasNormal<TDouble4DArray> && !HasNormal<TIntArray>);

template <class A>
class FillEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(FillEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

TYPED_TEST(FillEveryRank, FillArrayWholeAndRange) {
  using A = TypeParam;
  using T = ElemOf<A>;
  constexpr std::size_t R = RankOf<A>;
  A X = Serial<A>(OddExtents<A>());
  ASSERT_EQ(FillArray(X, 7), 0);  // an int literal fills double arrays too
  for (T V : Flat(X)) EXPECT_EQ(V, T(7));

  // An interior box, from 1 to extent - 2 (at least 1) in every dimension.
  X = Serial<A>(OddExtents<A>());
  const auto Before = X;
  const auto Lo = AllOf<R>(1);
  auto Hi = Lo;
  for (std::size_t K = 0; K < R; ++K) {
    Hi[K] = std::max(1, static_cast<int>(OddExtents<A>()[K]) - 2);
  }
  ASSERT_EQ(LowsHighs(Lo, Hi, [&](auto... B) { return FillArray(X, -1, B...); }), 0);
  const auto Old = Flat(Before);
  std::size_t K = 0;
  Visit(X, [&](const auto& Ix, T V) {
    EXPECT_EQ(V, InBox(Ix, Lo, Hi) ? T(-1) : Old[K]);
    ++K;
  });

  // Invalid ranges change nothing: low above high in the last dimension, a bound at the extent,
  // a negative bound.
  auto BadHi = Hi;
  BadHi[R - 1] = 0;
  auto AtExtent = Hi;
  AtExtent[0] = static_cast<int>(OddExtents<A>()[0]);
  auto Negative = Lo;
  Negative[R - 1] = -1;
  X = Before;
  for (const auto& [L, H] :
       {std::pair{Lo, BadHi}, std::pair{Lo, AtExtent}, std::pair{Negative, Hi}}) {
    EXPECT_EQ(LowsHighs(L, H, [&](auto... B) { return FillArray(X, 9, B...); }), -2);
  }
  EXPECT_EQ(X, Before);

  A Empty;
  EXPECT_EQ(FillArray(Empty, 1), -1);
  EXPECT_EQ(LowsHighs(Lo, Hi, [&](auto... B) { return FillArray(Empty, 9, B...); }), -1);
}

TYPED_TEST(FillEveryRank, SerialDiagonalAndUniform) {
  using A = TypeParam;
  using T = ElemOf<A>;
  constexpr std::size_t R = RankOf<A>;
  A X = Build<A>(OddExtents<A>(), [](const auto&) { return T(0); });
  if constexpr (HasSerial<A>) {
    // 1-D: Offset + i·Diff; higher ranks: a running sum; both give Offset + k·Diff here.
    ASSERT_EQ(FillArraySerial(X, 3, 2), 0);
    const auto V = Flat(X);
    for (std::size_t K = 0; K < V.size(); ++K) EXPECT_EQ(V[K], T(3 + 2 * static_cast<int>(K)));
  }
  if constexpr (HasSerial0<A>) {
    ASSERT_EQ(FillArraySerial(X), 0);
    EXPECT_EQ(Flat(X), Flat(Serial<A>(OddExtents<A>())));
  }
  if constexpr (R >= 2) {
    EXPECT_EQ(FillDiagArray(X, 5), -2);  // extents 3, 4, ... differ
    Ix<A> Square{};
    Square.fill(3);
    A S = Serial<A>(Square);
    ASSERT_EQ(FillDiagArray(S, 5), 0);
    Visit(S, [](const auto& Ix, T V) {
      const bool Diagonal = std::all_of(Ix.begin(), Ix.end(), [&](auto I) { return I == Ix[0]; });
      EXPECT_EQ(V, Diagonal ? T(5) : T(0));
    });
  }
  ASSERT_EQ(FillRandomUniform(X, 1, 3), 0);
  for (T V : Flat(X)) {
    EXPECT_GE(V, T(1));
    EXPECT_LT(V, T(3));
  }
  const auto Before = X;
  EXPECT_EQ(FillRandomUniform(X, 3, 1), -2);
  EXPECT_EQ(X, Before);
  if constexpr (HasNormal<A>) {
    ASSERT_EQ(FillRandomNormal(X, 0.0, 0.0), 0);  // StdDev 0: every element the mean
    for (T V : Flat(X)) EXPECT_EQ(V, 0.0);
    ASSERT_EQ(FillRandomNormal(X, 10.0, 1.0), 0);
    for (T V : Flat(X)) EXPECT_NEAR(V, 10.0, 7.0);
    EXPECT_EQ(FillRandomNormal(X, 0.0, -1.0), -2);
  }
}

TEST(FillArraySerial, ProductIn1DRunningSumIn2D) {
  TDoubleArray A(4);
  ASSERT_EQ(FillArraySerial(A, 1.0, 0.5), 0);
  EXPECT_EQ(A, (TDoubleArray{1, 1.5, 2, 2.5}));
  TDouble2DArray B(2, TDoubleArray(2));
  ASSERT_EQ(FillArraySerial(B, 1.0, 0.5), 0);
  EXPECT_EQ(B, (TDouble2DArray{{1, 1.5}, {2, 2.5}}));

  // Diff 0.1 shows the difference: 1-D elements are one product each, 2-D ones carry the
  // rounding of every addition (0.1 + 0.1 + 0.1 != 3 * 0.1 in double).
  TDoubleArray C(4);
  TDouble2DArray D(1, TDoubleArray(4));
  FillArraySerial(C, 0.0, 0.1);
  FillArraySerial(D, 0.0, 0.1);
  EXPECT_EQ(C[3], 3.0 * 0.1);
  EXPECT_EQ(D[0][3], 0.1 + 0.1 + 0.1);

  // Integer series wrap in 32 bits instead of overflowing.
  TIntArray I(3);
  ASSERT_EQ(FillArraySerial(I, INT32_MAX, 1), 0);
  EXPECT_EQ(I, (TIntArray{INT32_MAX, INT32_MIN, INT32_MIN + 1}));
  NMX_nmxbase::TInt2DArray J(1, TIntArray(2));
  ASSERT_EQ(FillArraySerial(J, INT32_MAX, 1), 0);
  EXPECT_EQ(J[0][1], INT32_MIN);
}

TEST(FillArray, BooleanArrays) {
  NMX_nmxbase::TBoolArray A(3, false);
  ASSERT_EQ(FillArray(A, true), 0);
  EXPECT_EQ(A, NMX_nmxbase::TBoolArray(3, true));
  NMX_nmxbase::TBool2DArray B(2, NMX_nmxbase::TBoolArray(2, true));
  ASSERT_EQ(FillArray(B, false), 0);
  EXPECT_EQ(B, NMX_nmxbase::TBool2DArray(2, NMX_nmxbase::TBoolArray(2, false)));
  NMX_nmxbase::TBool2DArray Empty(2);  // two empty columns: extent 0
  EXPECT_EQ(FillArray(Empty, true), -1);
}

TEST(FillArray, RaggedArraysCountAsEmpty) {
  // The second column is shorter than the first: writing its row 2 would leave the storage.
  TDouble2DArray A{{1, 2, 3}, {4, 5}};
  const auto Before = A;
  EXPECT_EQ(FillArray(A, 0.0), -1);
  EXPECT_EQ(FillArray(A, 0.0, 0, 0, 1, 2), -1);
  EXPECT_EQ(FillArraySerial(A), -1);
  EXPECT_EQ(A, Before);
  // Longer inner arrays are fine: only the extent of the first path is filled.
  TDouble2DArray B{{1, 2}, {4, 5, 6}};
  EXPECT_EQ(FillArray(B, 0.0), 0);
  EXPECT_EQ(B, (TDouble2DArray{{0, 0}, {0, 0, 6}}));
}

TEST(FillRandomUniform, IntegerRangeHighNeverOccurs) {
  TIntArray A(20000);
  ASSERT_EQ(FillRandomUniform(A, 1, 3), 0);
  std::set<std::int32_t> Seen(A.begin(), A.end());
  EXPECT_EQ(Seen, (std::set<std::int32_t>{1, 2}));
  // The whole int32 range: the width 2^32 - 1 is formed without overflow.
  ASSERT_EQ(FillRandomUniform(A, INT32_MIN, INT32_MAX), 0);
  EXPECT_EQ(std::count(A.begin(), A.end(), INT32_MAX), 0);
  // A degenerate range gives its single value.
  ASSERT_EQ(FillRandomUniform(A, 5, 5), 0);
  EXPECT_EQ(std::count(A.begin(), A.end(), 5), 20000);
}

TEST(FillRandomUniform, DoubleWithinRange) {
  TDouble3DArray A(10, TDouble2DArray(10, TDoubleArray(10)));
  ASSERT_EQ(FillRandomUniform(A, -2.0, 3.0), 0);
  double Sum = 0;
  for (double V : Flat(A)) {
    ASSERT_GE(V, -2.0);
    ASSERT_LT(V, 3.0);
    Sum += V;
  }
  // Mean of U(-2, 3) is 0.5, standard error sqrt(25/12 / 1000) = 0.046; 6 of them.
  EXPECT_NEAR(Sum / 1000.0, 0.5, 0.28);
  EXPECT_EQ(FillRandomUniform(A, 1.0, std::nan("")), -2);
}

TEST(FillRandomUniform, ReseedsAtEachCall) {
  // A seed set beforehand is replaced by a clock seed, so two runs differ.
  TDoubleArray A(8), B(8);
  NMX_platform::SetRandSeed(42);
  FillRandomUniform(A, 0.0, 1.0);
  NMX_platform::SetRandSeed(42);
  FillRandomUniform(B, 0.0, 1.0);
  EXPECT_NE(A, B);
}

TEST(FillRandomUniform, WithAndWithoutRepetitions) {
  TIntArray A(3000);
  ASSERT_EQ(FillRandomUniform(A, 1, 3, true), 0);
  EXPECT_EQ(std::set<std::int32_t>(A.begin(), A.end()), (std::set<std::int32_t>{1, 2, 3}));

  // Without repetitions: distinct values from the range, and all of them when m = n.
  TIntArray B(50);
  ASSERT_EQ(FillRandomUniform(B, -10, 49, false), 0);
  EXPECT_EQ(std::set<std::int32_t>(B.begin(), B.end()).size(), 50U);
  EXPECT_GE(*std::min_element(B.begin(), B.end()), -10);
  EXPECT_LE(*std::max_element(B.begin(), B.end()), 49);
  TIntArray C(10);
  ASSERT_EQ(FillRandomUniform(C, 1, 10, false), 0);
  std::sort(C.begin(), C.end());
  EXPECT_EQ(C, (TIntArray{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

  // Every value can land in every place: with m = n = 3 all six arrangements occur, also the
  // three that keep a value in its place (a cyclic shuffle would give only two arrangements).
  std::set<TIntArray> Arrangements;
  for (int Run = 0; Run < 600; ++Run) {
    TIntArray E(3);
    ASSERT_EQ(FillRandomUniform(E, 1, 3, false), 0);
    Arrangements.insert(E);
  }
  EXPECT_EQ(Arrangements.size(), 6U);

  // Each error leaves A as it was; -4 only without repetitions.
  TIntArray D(4, 0), Empty;
  struct Case {
    std::int32_t Low, High;
    bool Repeat;
    int Status;
  };
  for (const Case& K : {Case{1, 3, false, -3}, Case{0, 1000000, false, -4}, Case{3, 1, true, -2},
                        Case{3, 1, false, -2}}) {
    SCOPED_TRACE(testing::Message() << K.Low << " " << K.High << " " << K.Repeat);
    EXPECT_EQ(FillRandomUniform(D, K.Low, K.High, K.Repeat), K.Status);
    EXPECT_EQ(D, TIntArray(4, 0));
  }
  EXPECT_EQ(FillRandomUniform(D, 0, 999999, false), 0);  // m = 1000000 is allowed
  EXPECT_EQ(FillRandomUniform(D, INT32_MIN, INT32_MAX, true), 0);
  EXPECT_EQ(FillRandomUniform(Empty, 1, 3, true), -1);
}

TEST(FillRandomNormal, MomentsAndStatus) {
  TDouble2DArray A(200, TDoubleArray(100));
  ASSERT_EQ(FillRandomNormal(A, 5.0, 2.0), 0);
  const auto V = Flat(A);
  double Sum = 0;
  for (double X : V) Sum += X;
  const double Mean = Sum / static_cast<double>(V.size());
  double Sq = 0;
  for (double X : V) Sq += (X - Mean) * (X - Mean);
  const double Sd = std::sqrt(Sq / static_cast<double>(V.size() - 1));
  // Standard errors: mean 2/sqrt(20000) = 0.014, sd about 2/sqrt(40000) = 0.01; 6 of them.
  EXPECT_NEAR(Mean, 5.0, 0.085);
  EXPECT_NEAR(Sd, 2.0, 0.06);

  TDoubleArray B(3, 1.0);
  EXPECT_EQ(FillRandomNormal(B, 0.0, -1.0), -2);
  EXPECT_EQ(FillRandomNormal(B, 0.0, std::nan("")), -2);
  EXPECT_EQ(B, TDoubleArray(3, 1.0));
  ASSERT_EQ(FillRandomNormal(B, 4.0, 0.0), 0);
  EXPECT_EQ(B, TDoubleArray(3, 4.0));
  TDoubleArray Empty;
  EXPECT_EQ(FillRandomNormal(Empty, 0.0, 1.0), -1);
}

TEST(ShuffleArray, CyclicPermutationWithoutReseeding) {
  TIntArray Two{1, 2};
  ASSERT_EQ(ShuffleArray(Two), 0);
  EXPECT_EQ(Two, (TIntArray{2, 1}));

  for (std::uint64_t Seed : {1U, 2U, 3U, 77U}) {
    NMX_platform::SetRandSeed(Seed);
    TDoubleArray A{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_EQ(ShuffleArray(A), 0);
    for (std::size_t I = 0; I < A.size(); ++I) EXPECT_NE(A[I], static_cast<double>(I)) << Seed;
    // One cycle through all elements: following the permutation from 0 visits all ten.
    std::size_t Pos = 0, Steps = 0;
    do {
      Pos = static_cast<std::size_t>(A[Pos]);
      ++Steps;
    } while (Pos != 0 && Steps <= A.size());
    EXPECT_EQ(Steps, A.size()) << Seed;
    // No reseeding: the same seed gives the same permutation.
    NMX_platform::SetRandSeed(Seed);
    TDoubleArray B{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    ShuffleArray(B);
    EXPECT_EQ(A, B);
  }
  TIntArray One{5}, Empty;
  EXPECT_EQ(ShuffleArray(One), -1);
  EXPECT_EQ(ShuffleArray(Empty), -1);
  EXPECT_EQ(One, TIntArray{5});
}

}  // namespace
