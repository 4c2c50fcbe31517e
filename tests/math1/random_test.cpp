#include "nmx/math1/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "nmx/platform/random.h"

namespace {

using NMX_math1::BRandom;
using NMX_math1::CRandom;
using NMX_math1::GRandom;
using NMX_math1::LongRand;

// Reference sequences from the generator's recurrence in exact integers (python3 with 32-bit
// wrapping and truncating remainders; the seeds are s1 = |r|, s2 = |r xor r shl 8| mod 990923,
// s3 = |r xor r shl 16| mod 990923 with r = Seed mod 990923).
TEST(LongRand, SeededSequencesAreReproducible) {
  struct Case {
    std::int32_t Seed;
    double Values[4];
  };
  const Case Cases[] = {
      {1, {0.2979690208513005, 0.6968748289645017, 0.6440085868716272, 0.8541923406552778}},
      {-123456789,
       {0.9520191188952741, 0.8654845884555906, 0.25302422478763353, 0.9235657088933378}},
      {2147483647,
       {0.5166717926221054, 0.7870059459445687, 0.7201846151086748, 0.20774704841535785}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    EXPECT_EQ(LongRand(C.Seed), C.Values[0]) << C.Seed;
    for (int I = 1; I < 4; ++I) EXPECT_EQ(LongRand(0), C.Values[I]) << C.Seed << " #" << I;
    EXPECT_EQ(LongRand(C.Seed), C.Values[0]) << "restart " << C.Seed;
  }
}

TEST(LongRand, StaysInTheUnitInterval) {
  LongRand(-2147483647 - 1);
  for (int I = 0; I < 100000; ++I) {
    const double U = LongRand(0);
    ASSERT_GE(U, 0.0);
    ASSERT_LT(U, 1.0);
  }
}

// Each thread has its own seeds: a sequence restarted in another thread does not disturb this
// one.
TEST(LongRand, SeedsArePerThread) {
  LongRand(1);
  std::thread([] { LongRand(12345); }).join();
  EXPECT_EQ(LongRand(0), 0.6968748289645017);
}

TEST(BRandom, EdgesAndFrequency) {
  NMX_platform::SetRandSeed(31);
  int Hits = 0;
  for (int I = 0; I < 10000; ++I) {
    EXPECT_TRUE(BRandom(1.0));
    EXPECT_TRUE(BRandom(5.0));
    EXPECT_FALSE(BRandom(0.0));
    EXPECT_FALSE(BRandom(-1.0));
    Hits += BRandom(0.3) ? 1 : 0;
  }
  EXPECT_NEAR(Hits, 3000, 230);  // 5 standard deviations of a binomial(10000, 0.3)
}

TEST(CRandom, FollowsTheUniformDrawThroughTheTangent) {
  NMX_platform::SetRandSeed(57);
  std::vector<double> U;
  for (int I = 0; I < 5; ++I) U.push_back(NMX_platform::Random());
  NMX_platform::SetRandSeed(57);
  for (double X : U) {
    EXPECT_DOUBLE_EQ(CRandom(3.0, 2.0), 3.0 + 2.0 * std::tan(std::numbers::pi * (X - 0.5)));
  }
  // The median of a Cauchy sample is Location, its quartiles Location -+ Scale.
  std::vector<double> S;
  for (int I = 0; I < 20001; ++I) S.push_back(CRandom(-1.0, 0.5));
  std::sort(S.begin(), S.end());
  EXPECT_NEAR(S[10000], -1.0, 0.03);
  EXPECT_NEAR(S[5000], -1.5, 0.04);
  EXPECT_NEAR(S[15000], -0.5, 0.04);
}

TEST(GRandom, StandardNormalMoments) {
  NMX_platform::SetRandSeed(2024);
  constexpr int kN = 40000;
  double Sum = 0, SumSq = 0;
  int Within1 = 0;
  for (int I = 0; I < kN; ++I) {
    const double G = GRandom();
    ASSERT_TRUE(std::isfinite(G));
    Sum += G;
    SumSq += G * G;
    Within1 += std::fabs(G) < 1.0 ? 1 : 0;
  }
  // Bounds of about 5 standard errors; P(|Z| < 1) = erf(1/sqrt 2) = 0.682689.
  EXPECT_NEAR(Sum / kN, 0.0, 0.025);
  EXPECT_NEAR(SumSq / kN, 1.0, 0.036);
  EXPECT_NEAR(static_cast<double>(Within1) / kN, 0.682689, 0.012);
}

// Values come in pairs: every second call returns the stored spare and draws nothing.
TEST(GRandom, EverySecondCallDrawsNothing) {
  NMX_platform::SetRandSeed(5);
  const double FirstDraw = NMX_platform::Random();
  auto DrewNothing = [FirstDraw] {
    NMX_platform::SetRandSeed(5);
    GRandom();
    return NMX_platform::Random() == FirstDraw;
  };
  const bool Call1 = DrewNothing();  // an earlier test may have left a spare
  const bool Call2 = DrewNothing();
  const bool Call3 = DrewNothing();
  const bool Call4 = DrewNothing();
  EXPECT_NE(Call1, Call2);
  EXPECT_NE(Call2, Call3);
  EXPECT_NE(Call3, Call4);
}

}  // namespace
