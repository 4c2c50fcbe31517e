#include "nmx/math1/select.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "nmx/platform/random.h"

namespace {

using NMX_math1::QuickSelect;

TEST(QuickSelect, SmallCases) {
  std::vector<double> D{7, 5};
  EXPECT_EQ(QuickSelect(D, 0, 0, 1), 5);
  D = {5, 1, 4, 2, 3};
  EXPECT_EQ(QuickSelect(D, 2, 0, 4), 3);
  D = {5, 1, 4, 2, 3};
  EXPECT_EQ(QuickSelect(D, 4, 0, 4), 5);
  D = {5, 1, 4, 2, 3};
  EXPECT_EQ(QuickSelect(D, 0, 0, 4), 1);
  D = {4};
  EXPECT_EQ(QuickSelect(D, 0, 0, 0), 4);

  // All equal: the value comes back and nothing moves (the -0 stays where it is).
  D = {2, 2, 2};
  EXPECT_EQ(QuickSelect(D, 1, 0, 2), 2);
  D = {0.0, -0.0, 0.0};
  QuickSelect(D, 2, 0, 2);
  EXPECT_TRUE(std::signbit(D[1]));
}

// The selected value equals the K-th of the sorted range, for every K; the range is a
// permutation of what it was, and elements outside it are left alone.
TEST(QuickSelect, AgreesWithSortingOnRandomRanges) {
  constexpr std::uint64_t kSeed = 4711;
  NMX_platform::SetRandSeed(kSeed);
  for (int N : {2, 3, 10, 33, 200}) {
    std::vector<double> Base(static_cast<std::size_t>(N));
    for (double& X : Base) X = NMX_platform::Random(N / 3 + 1);  // many ties
    const int Lo = N / 4, Hi = N - 1 - N / 5;
    std::vector<double> Sorted(Base.begin() + Lo, Base.begin() + Hi + 1);
    std::sort(Sorted.begin(), Sorted.end());
    for (int K = Lo; K <= Hi; ++K) {
      std::vector<double> D = Base;
      EXPECT_EQ(QuickSelect(D, K, Lo, Hi), Sorted[static_cast<std::size_t>(K - Lo)])
          << "seed " << kSeed << ", n = " << N << ", K = " << K;
      EXPECT_TRUE(std::equal(D.begin(), D.begin() + Lo, Base.begin()));
      EXPECT_TRUE(std::equal(D.begin() + Hi + 1, D.end(), Base.begin() + Hi + 1));
      std::vector<double> Range(D.begin() + Lo, D.begin() + Hi + 1);
      std::sort(Range.begin(), Range.end());
      EXPECT_EQ(Range, Sorted);
    }
  }
}

TEST(QuickSelect, BadBoundsNeitherCrashNorTouchTheData) {
  const std::vector<double> Base{5, 1, 4, 2, 3};
  struct Case {
    int K, Lo, Hi;
    double Result;
  };
  const Case Cases[] = {
      {0, 3, 2, 0},   // empty range
      {5, 0, 4, 0},   // K above the range
      {-1, 0, 4, 0},  // K below the range
      {1, 2, 4, 0},   // K below Lo
      {7, 0, 9, 0},   // Hi clipped to 4, K still outside
      {-3, -5, 9, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    std::vector<double> D = Base;
    EXPECT_EQ(QuickSelect(D, C.K, C.Lo, C.Hi), C.Result) << C.K << " " << C.Lo << " " << C.Hi;
    EXPECT_EQ(D, Base);
  }
  // Bounds beyond the array are clipped to it.
  std::vector<double> D = Base;
  EXPECT_EQ(QuickSelect(D, 4, -3, 100), 5);
  D = Base;
  EXPECT_EQ(QuickSelect(D, 0, -3, 100), 1);
  std::vector<double> Empty;
  EXPECT_EQ(QuickSelect(Empty, 0, 0, 0), 0);
}

// A NaN breaks the order (as a pivot it sorts low, as a partner high), but a range with NaNs
// must neither hang nor leave the range, and values off the NaNs' way are still found.
TEST(QuickSelect, NaNsEndTheCallWithinTheRange) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  for (int K = 1; K <= 6; ++K) {
    std::vector<double> D{9, NaN, 3, 1, NaN, 2, NaN, 8};
    const double R = QuickSelect(D, K, 1, 6);
    EXPECT_TRUE(std::isnan(R) || R == 1 || R == 2 || R == 3) << K;
    EXPECT_EQ(D[0], 9);
    EXPECT_EQ(D[7], 8);
  }
  std::vector<double> D{NaN, 3, 1, NaN, 2};
  EXPECT_EQ(QuickSelect(D, 0, 0, 4), 1);
}

TEST(QuickSelectAbundant, SplitsAroundTheAbundantValue) {
  const std::vector<double> Base{0, 0, 0, 7, -1};
  const double Expected[] = {-1, 0, 0, 0, 7};
  for (int K = 0; K < 5; ++K) {
    EXPECT_EQ(QuickSelect(Base, K, 0, 4, 0.0), Expected[K]) << "K = " << K;
  }
  EXPECT_EQ(Base, (std::vector<double>{0, 0, 0, 7, -1}));  // Data is not changed

  // Out-of-range K gives 0; so do a data set of abundant values only and K beyond it.
  EXPECT_EQ(QuickSelect(Base, -1, 0, 4, 0.0), 0);
  EXPECT_EQ(QuickSelect(Base, 5, 0, 4, 0.0), 0);
  const std::vector<double> AllSame{3, 3, 3};
  EXPECT_EQ(QuickSelect(AllSame, 2, 0, 2, 3.0), 3);
  EXPECT_EQ(QuickSelect(AllSame, 3, 0, 2, 3.0), 0);
  EXPECT_EQ(QuickSelect(std::vector<double>{}, 0, 0, -1, 3.0), 0);
}

TEST(QuickSelectAbundant, AgreesWithSortingOnSparseData) {
  constexpr std::uint64_t kSeed = 815;
  NMX_platform::SetRandSeed(kSeed);
  std::vector<double> D(300);
  for (double& X : D) X = NMX_platform::Random(4) == 0 ? NMX_platform::Random() * 4 - 2 : 0.5;
  std::vector<double> Sorted = D;
  std::sort(Sorted.begin(), Sorted.end());
  for (int K = 0; K < 300; ++K) {
    EXPECT_EQ(QuickSelect(D, K, 0, 299, 0.5), Sorted[static_cast<std::size_t>(K)])
        << "seed " << kSeed << ", K = " << K;
  }
}

}  // namespace
