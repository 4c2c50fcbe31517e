#include "nmx/platform/random.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace {

using NMX_platform::Random;

TEST(Random, SameSeedGivesSameSequence) {
  NMX_platform::SetRandSeed(12345);
  std::vector<double> First;
  for (int I = 0; I < 100; ++I) First.push_back(Random());
  NMX_platform::SetRandSeed(12345);
  for (int I = 0; I < 100; ++I) ASSERT_EQ(Random(), First[static_cast<std::size_t>(I)]) << I;
  EXPECT_EQ(NMX_platform::RandSeed(), 12345U);
}

TEST(Random, DrawsStayInRangeAndCoverIt) {
  NMX_platform::SetRandSeed(7);
  double Lo = 1.0, Hi = 0.0;
  std::array<int, 6> Counts{};
  for (int I = 0; I < 60000; ++I) {
    const double U = Random();
    ASSERT_GE(U, 0.0);
    ASSERT_LT(U, 1.0);
    Lo = std::min(Lo, U);
    Hi = std::max(Hi, U);
    const int K = Random(6);
    ASSERT_GE(K, 0);
    ASSERT_LT(K, 6);
    ++Counts[static_cast<std::size_t>(K)];
  }
  EXPECT_LT(Lo, 1e-3);
  EXPECT_GT(Hi, 1 - 1e-3);
  for (int C : Counts) EXPECT_NEAR(C, 10000, 500);  // about 5 standard deviations
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
}

TEST(Random, RandomizeAndThreadsGiveDifferentSequences) {
  NMX_platform::Randomize();
  const double A = Random();
  NMX_platform::Randomize();
  const double B = Random();
  EXPECT_NE(A, B);

  NMX_platform::SetRandSeed(99);
  const double Main = Random();
  double Other = Main;
  std::thread T([&] { Other = Random(); });  // its own engine, seeded from the clock
  T.join();
  EXPECT_NE(Main, Other);
}

}  // namespace
