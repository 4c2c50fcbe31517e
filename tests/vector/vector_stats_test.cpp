#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "nmx/base/progress.h"
#include "nmx/platform/random.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector.h"
#include "support/tolerance.h"
#include "vector/vector_builders.h"

#if defined(__linux__)
#include <sys/resource.h>

#include <fstream>
#endif

namespace {

using vec_test::ErrorOf;
using vec_test::SetValues;
using vec_test::Values;

using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TIntArray;
using NMX_vector::ENMXVectorError;
using NMX_vector::TIntVector;
using NMX_vector::TVector;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// --- moments ---------------------------------------------------------------------------------

TEST(VectorStats, MeanVarSmallRangesAndTheVarianceOfOne) {
  struct Case {
    TDoubleArray X;
    int Lo, Hi;
    double Mean, Variance;
  };
  const Case Cases[] = {
      {{2, 4}, 0, 0, 3, 1},              // two values report 1
      {{1, 2, 3}, 0, 0, 2, 1},           // a true variance of 1
      {{5, 5, 5}, 0, 0, 5, 0},           //
      {{7}, 0, 0, 7, 1},                 //
      {{1, 2, 3, 10, 20}, 5, 4, 15, 1},  // reversed range of two
      {{1, 2, 3, 10, 20}, -4, 3, 2, 1},  // clipped
      {{1, 2, 4, 10, 20}, 2, 4, 16.0 / 3, 52.0 / 3},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector V;
    SetValues(V, C.X);
    double Mean = -1, Variance = -1;
    V.MeanVar(C.Lo, C.Hi, Mean, Variance);
    NMX_EXPECT_ULPS(Mean, C.Mean, 1);
    NMX_EXPECT_ULPS(Variance, C.Variance, 2);
  }
}

TEST(VectorStats, MeanIsTheSumInElementOrder) {
  // 1 + 1e-16 + ... rounds back to 1 at every step; any reordering would keep the small terms.
  TVector V;
  TDoubleArray X(1000, 1e-16);
  X[0] = 1.0;
  SetValues(V, X);
  double Mean = 0, Variance = 0;
  V.MeanVar(0, 0, Mean, Variance);
  EXPECT_EQ(Mean, 1.0 / 1000);
  EXPECT_EQ(V.Sum(0, 0), 1.0);
}

// Data sharing a large offset, where Σx² - (Σx)²/n loses every digit (it gives 1.104 instead
// of 0.00289 at 1e7, and a negative variance at 1e9). x(k) = (Offset + Drift k) + H p(k) with
// p(k) = ((37 k mod n) mod 10)^2, k = 0..n-1, built in double as below. The reference moments
// are exact over the stored doubles, from Python:
//   from fractions import Fraction as F; from decimal import Decimal, getcontext
//   getcontext().prec = 50; xs = [the doubles as here]; X = [F(x) for x in xs]
//   m = sum(X) / n; c = [x - m for x in X]; var = sum(v * v for v in c) / (n - 1)
//   skew = (sum(v**3 for v in c) / n) / var**1.5, kurt = (sum(v**4 for v in c) / n) / var**2 - 3
// (the powers 1.5 and 2 of var taken in Decimal). The mean is the sum in element order in
// double (a plain Python loop "s += x", then s / n), which MeanVar must give bit for bit.
struct OffsetCase {
  int N;
  double Offset, H, Drift;
  double Mean, Variance, Skewness, Kurtosis;
};

double OffsetPattern(int N, int K) {
  const int J = (37 * K) % N;
  return static_cast<double>((J % 10) * (J % 10));
}

void FillOffsetData(TVector& V, const OffsetCase& C) {
  V.Resize(C.N);
  for (int K = 0; K < C.N; ++K) {
    V.SetVal(K + 1, (C.Offset + C.Drift * K) + C.H * OffsetPattern(C.N, K));
  }
}

// Printed briefly, which keeps the generated test names short.
void PrintTo(const OffsetCase& C, std::ostream* Os) {
  *Os << C.N << " values near " << C.Offset;
}

class VectorStatsOffset : public testing::TestWithParam<OffsetCase> {};

TEST_P(VectorStatsOffset, MomentsKeepTheirDigits) {
  const OffsetCase& C = GetParam();
  TVector V;
  FillOffsetData(V, C);
  double Mean = 0, Variance = 0;
  V.MeanVar(0, 0, Mean, Variance);
  EXPECT_EQ(Mean, C.Mean);
  // The rounding bound of sums of n terms, n eps, with a little room for the moments.
  const double Tol = C.N * nmx_test::kEps;
  EXPECT_LE(std::fabs(Variance - C.Variance) / C.Variance, Tol) << Variance;
  double Skewness = 0, Kurtosis = 0;
  V.SkewKurt(0, 0, Skewness, Kurtosis);
  EXPECT_LE(std::fabs(Skewness - C.Skewness) / C.Skewness, 4 * Tol) << Skewness;
  EXPECT_LE(std::fabs(Kurtosis - C.Kurtosis) / std::fabs(C.Kurtosis), 4 * Tol) << Kurtosis;
  double Sd = 0;
  V.Standardize(Mean, Sd);
  EXPECT_LE(std::fabs(Sd * Sd - C.Variance) / C.Variance, 2 * Tol);
}

INSTANTIATE_TEST_SUITE_P(
    LargeOffsets, VectorStatsOffset,
    testing::Values(OffsetCase{1001, 1e6, 0.002, 0.0, 1000000.0569430552, 0.0028874457544931327,
                               0.67374646755526157, -0.86284736438153986},
                    OffsetCase{1001, 1e7, 0.002, 0.0, 10000000.056943001, 0.0028874457758915951,
                               0.67374646846789332, -0.86284736192703082},
                    OffsetCase{1001, 1e9, 0.002, 0.0, 1000000000.0569465, 0.0028874457073289317,
                               0.6737458482848917, -0.86284958056358818},
                    OffsetCase{5000, 1e7, 0.002, 1e-5, 10000000.081994994, 0.0030937220910609037,
                               0.60648471897128231, -0.75382516085343909},
                    OffsetCase{3000, -3e8, 0.01, 0.0, -299999999.71499693, 0.072129042694750928,
                               0.67323331579789913, -0.86144639325623773}),
    [](const testing::TestParamInfo<OffsetCase>& Info) {
      return "Case" + std::to_string(Info.index);
    });

TEST(VectorStats, MeanVarAcrossBlockBoundaries) {
  // Sizes around the block length; the variance of 1..n is n(n + 1)/12 exactly.
  for (const int N : {3, 1023, 1024, 1025, 2048, 2049, 5000}) {
    TVector V;
    V.Resize(N);
    V.FillSerial(1.0, 1.0);
    double Mean = 0, Variance = 0;
    V.MeanVar(0, 0, Mean, Variance);
    EXPECT_EQ(Mean, (N + 1) / 2.0) << N;
    NMX_EXPECT_REL(Variance, N * (N + 1.0) / 12.0, 1e-14);
  }
  // Data whose first values lie far from the rest: the shifts follow the blocks.
  TVector V;
  V.Resize(3000);
  for (int K = 1; K <= 3000; ++K) V.SetVal(K, K <= 1024 ? 1e8 : 1e8 + 1e6);
  double Mean = 0, Variance = 0;
  V.MeanVar(0, 0, Mean, Variance);
  // 1024 values a, 1976 values a + d: variance d² 1024 1976 / (3000 2999).
  NMX_EXPECT_REL(Variance, 1e12 * 1024.0 * 1976.0 / (3000.0 * 2999.0), 1e-14);
}

TEST(VectorStats, MeanVarOfNonFiniteData) {
  TVector V;
  SetValues(V, {1, kNaN, 3});
  double Mean = 0, Variance = 0;
  V.MeanVar(0, 0, Mean, Variance);
  EXPECT_TRUE(std::isnan(Mean));
  EXPECT_TRUE(std::isnan(Variance));
  SetValues(V, {1, kInf, 3});
  V.MeanVar(0, 0, Mean, Variance);
  EXPECT_EQ(Mean, kInf);
  EXPECT_TRUE(std::isnan(Variance));
}

TEST(VectorStats, SkewKurtAndSampleForms) {
  TVector V;
  SetValues(V, {2, 8, 0, 4, 1, 9, 9, 0});
  double S = 0, K = 0;
  // Decimal at 50 digits from the exact moments: m3/s^3 and m4/s^4 - 3 with s² = m2 n/(n-1).
  V.SkewKurt(0, 0, S, K);
  NMX_EXPECT_REL(S, 0.21694455589273337, 1e-15);
  NMX_EXPECT_REL(K, -1.9786570732641982, 1e-15);
  // The bias-corrected G1 = sqrt(n(n-1))/(n-2) g1 and G2 = ((n+1) g2 + 6)(n-1)/((n-2)(n-3)),
  // g1, g2 from the biased moments: a different route to the same quantities.
  V.SkewKurtSample(0, 0, S, K);
  NMX_EXPECT_REL(S, 0.33058218040797466, 1e-14);
  NMX_EXPECT_REL(K, -2.0986022580960868, 1e-14);

  // Fewer than four values, and constant data, give 0 and 0.
  V.SkewKurt(1, 3, S, K);
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(K, 0.0);
  V.SkewKurtSample(1, 3, S, K);
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(K, 0.0);
  V.Resize(1500);
  V.Fill(1e7 + 0.1);
  V.SkewKurt(0, 0, S, K);
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(K, 0.0);
  for (int N : {4, 5, 1500}) {  // the bias correction must not invent a shape
    V.Resize(N);
    V.Fill(2.5);
    V.SkewKurtSample(0, 0, S, K);
    EXPECT_EQ(S, 0.0) << N;
    EXPECT_EQ(K, 0.0) << N;
  }
}

TEST(VectorStats, MinMaxFirstOccurrenceAndStartValues) {
  TVector V;
  SetValues(V, {3, -1, 7, -1, 7, 2});
  double Lo = 0, Hi = 0;
  int LoIx = -1, HiIx = -1;
  V.MinMax(0, 0, Lo, Hi, LoIx, HiIx);
  EXPECT_EQ(Lo, -1.0);
  EXPECT_EQ(LoIx, 2);
  EXPECT_EQ(Hi, 7.0);
  EXPECT_EQ(HiIx, 3);
  V.MinMax(4, 6, Lo, Hi, LoIx, HiIx);
  EXPECT_EQ(LoIx, 4);
  EXPECT_EQ(HiIx, 5);
  // One element is both extremes.
  V.MinMax(6, 6, Lo, Hi);
  EXPECT_EQ(Lo, 2.0);
  EXPECT_EQ(Hi, 2.0);

  // The searches start at +-1.7e308, not at the largest double: values beyond are found only
  // on their side, and NaN never.
  SetValues(V, {1.75e308, kInf});
  V.MinMax(0, 0, Lo, Hi, LoIx, HiIx);
  EXPECT_EQ(Lo, 1.7e308);
  EXPECT_EQ(LoIx, 0);
  EXPECT_EQ(Hi, kInf);
  EXPECT_EQ(HiIx, 2);
  SetValues(V, {kNaN, kNaN});
  V.MinMax(0, 0, Lo, Hi, LoIx, HiIx);
  EXPECT_EQ(Lo, 1.7e308);
  EXPECT_EQ(Hi, -1.7e308);
  EXPECT_EQ(LoIx, 0);
  EXPECT_EQ(HiIx, 0);
}

TEST(VectorStats, GeometricAndHarmonicMeans) {
  TVector V;
  V.SetName("Vec");
  SetValues(V, {0, 4});
  EXPECT_EQ(V.GeometricMean(0, 0), 0.0);
  SetValues(V, {1, 4});
  NMX_EXPECT_ULPS(V.GeometricMean(0, 0), 2.0, 1);
  NMX_EXPECT_ULPS(V.HarmonicMean(0, 0), 1.6, 1);  // 2 / (1 + 1/4)
  SetValues(V, {-1, 4});
  EXPECT_EQ(ErrorOf([&] { V.GeometricMean(0, 0); }),
            "Component \"Vec\": negative argument passed to GeometricMean");
  EXPECT_EQ(V.GeometricMean(2, 2), 4.0);  // the range decides
  // A zero fixes the result, but a negative element after it still raises.
  SetValues(V, {0, -1});
  EXPECT_NE(ErrorOf([&] { V.GeometricMean(0, 0); }), "");
  EXPECT_EQ(ErrorOf([&] { V.HarmonicMean(0, 0); }),
            "Component \"Vec\": negative or zero argument passed to HarmonicMean");
  SetValues(V, {2, -0.0});
  EXPECT_EQ(V.GeometricMean(0, 0), 0.0);  // -0 is zero, not negative
  EXPECT_NE(ErrorOf([&] { V.HarmonicMean(0, 0); }), "");
}

// --- order statistics ------------------------------------------------------------------------

TEST(VectorStats, PercentileQuartilesMode) {
  struct PCase {
    TDoubleArray X;
    double Prob;
    int Lo, Hi;
    double Expected;
  };
  const PCase Percentiles[] = {
      {{4, 2, 3, 1}, 50, 0, 0, 2.5}, {{4, 2, 3, 1}, 100, 0, 0, 4}, {{4, 2, 3, 1}, 250, 0, 0, 4},
      {{4, 2, 3, 1}, -5, 0, 0, 1},   {{4, 2, 3, 1}, 0, 0, 0, 1},   {{4, 2, 3, 1}, 25, 0, 0, 1.75},
      {{4, 2, 3, 1}, 50, 2, 2, 2},   {{4, 2, 3, 1}, 50, 3, 1, 3},  {{1, 3, 2, 4, 5}, 90, 0, 0, 4.6},
  };
  for (const PCase& C : Percentiles) {
    TVector V;
    SetValues(V, C.X);
    NMX_EXPECT_ULPS(V.Percentile(C.Prob, C.Lo, C.Hi), C.Expected, 1);
  }

  struct QCase {
    TDoubleArray X;
    double Q1, Q2, Q3;
  };
  const QCase Quartiles[] = {
      {{4, 3, 2, 1}, 1.25, 2.5, 3.75},
      {{5, 1}, 1, 3, 5},
      {{7}, 7, 7, 7},
      {{1, 2, 3}, 1, 2, 3},
      {{6, 7, 15, 36, 39, 40, 41, 42, 43, 47, 49}, 15, 40, 43},
  };
  for (const QCase& C : Quartiles) {
    TVector V;
    SetValues(V, C.X);
    double Q1 = 0, Q2 = 0, Q3 = 0;
    EXPECT_TRUE(V.Quartiles(0, 0, Q1, Q2, Q3));
    EXPECT_EQ(Q1, C.Q1);
    EXPECT_EQ(Q2, C.Q2);
    EXPECT_EQ(Q3, C.Q3);
    EXPECT_EQ(Values(V), C.X);  // the vector itself is not sorted
  }

  struct MCase {
    TDoubleArray X;
    double Mode;
  };
  const MCase Modes[] = {{{3, 1, 3, 2, 2}, 2}, {{4, 9, 1}, 1}, {{5, 5, 1, 5, 1}, 5}, {{8}, 8}};
  for (const MCase& C : Modes) {
    TVector V;
    SetValues(V, C.X);
    EXPECT_EQ(V.Mode(0, 0), C.Mode);
  }
}

TEST(VectorStats, OrderStatisticsReportSortProgressAndNaNProb) {
  TVector V;
  SetValues(V, {5, 3, 9, 1, 7});
  NMX_nmxbase::ProcStat = 0.0;
  V.Percentile(50, 0, 0);
  const double AfterOne = NMX_nmxbase::ProcStat;
  EXPECT_GT(AfterOne, 0.0);
  double Q1 = 0, Q2 = 0, Q3 = 0;
  V.Quartiles(0, 0, Q1, Q2, Q3);
  EXPECT_EQ(NMX_nmxbase::ProcStat, 2 * AfterOne);
  NMX_nmxbase::ProcStat = 0.0;
  EXPECT_TRUE(std::isnan(V.Percentile(kNaN, 0, 0)));
  EXPECT_TRUE(std::isnan(V.Percentile(kNaN, 2, 2)));  // one element: NaN too, not the element
}

// Order statistics of separate vectors in separate threads: the results are each thread's
// own, and the process-wide pass counter, updated atomically, counts every pass of every
// sort (ThreadSanitizer runs this test in CI).
TEST(VectorStatsThreads, OrderStatisticsOfSeparateVectorsInParallel) {
  constexpr int kThreads = 4;
  struct Results {
    double Q1 = 0, Q2 = 0, Q3 = 0, P = 0, Mode = 0, Median = 0, QuantDiff = 0;
  };
  auto Work = [](TVector& V, Results& R) {
    V.Quartiles(0, 0, R.Q1, R.Q2, R.Q3);
    R.P = V.Percentile(12.5, 0, 0);
    R.Mode = V.Mode(0, 0);
    V.QNormalize(75, R.Median, R.QuantDiff);
  };
  std::vector<std::unique_ptr<TVector>> Vectors, Copies;
  NMX_platform::SetRandSeed(8080);
  for (int T = 0; T < kThreads; ++T) {
    Vectors.push_back(std::make_unique<TVector>());
    Vectors.back()->Resize(20000 + 1000 * T);
    for (int K = 1; K <= Vectors.back()->NrOfElem(); ++K) {
      Vectors.back()->SetVal(K, NMX_platform::Random(500));
    }
    Copies.push_back(std::make_unique<TVector>());
    Copies.back()->Assign(Vectors.back().get());
  }
  // The same work, one vector after the other, counting its passes.
  std::vector<Results> Serial(kThreads), Parallel(kThreads);
  NMX_nmxbase::ProcStat = 0.0;
  for (int T = 0; T < kThreads; ++T) Work(*Copies[T], Serial[T]);
  const double Passes = NMX_nmxbase::ProcStat;
  NMX_nmxbase::ProcStat = 0.0;
  std::vector<std::thread> Threads;
  for (int T = 0; T < kThreads; ++T) {
    Threads.emplace_back([&Work, &Vectors, &Parallel, T] { Work(*Vectors[T], Parallel[T]); });
  }
  for (std::thread& T : Threads) T.join();
  EXPECT_EQ(NMX_nmxbase::ProcStat.load(), Passes);
  for (int T = 0; T < kThreads; ++T) {
    SCOPED_TRACE(T);
    EXPECT_EQ(Parallel[T].Q1, Serial[T].Q1);
    EXPECT_EQ(Parallel[T].Q3, Serial[T].Q3);
    EXPECT_EQ(Parallel[T].P, Serial[T].P);
    EXPECT_EQ(Parallel[T].Mode, Serial[T].Mode);
    EXPECT_EQ(Parallel[T].QuantDiff, Serial[T].QuantDiff);
    EXPECT_EQ(Values(*Vectors[T]), Values(*Copies[T]));
  }
  NMX_nmxbase::ProcStat = 0.0;
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define NMX_TEST_NO_RLIMIT 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define NMX_TEST_NO_RLIMIT 1
#endif

// Sanitizers reserve address space of their own and do not let an allocation fail softly.
#if defined(__linux__) && !defined(NMX_TEST_NO_RLIMIT)
// The kB of address space in use, from /proc/self/status.
long VmSizeKiB() {
  std::ifstream Status("/proc/self/status");
  std::string Word;
  while (Status >> Word) {
    if (Word == "VmSize:") {
      long KiB = 0;
      Status >> KiB;
      return KiB;
    }
  }
  return -1;
}

TEST(VectorStatsDeathTest, OrderStatisticsRaiseWhenTheCopyCannotBeAllocated) {
  GTEST_FLAG_SET(death_test_style, "fast");
  TVector V;
  V.SetName("Big");
  V.Resize(10000000);  // 80 MB; the child below may grow by 16 MB only
  auto Try = [&V](int Which) {
    const long KiB = VmSizeKiB();
    const rlim_t Limit = (static_cast<rlim_t>(KiB) + rlim_t{16384}) * 1024;  // 16 MB more
    const rlimit R{Limit, Limit};
    if (KiB < 0 || setrlimit(RLIMIT_AS, &R) != 0) std::_Exit(2);
    const std::string Message = ErrorOf([&] {
      double Q1 = 0, Q2 = 0, Q3 = 0;
      if (Which == 0) V.Percentile(50, 0, 0);
      if (Which == 1) V.Quartiles(0, 0, Q1, Q2, Q3);
    });
    std::_Exit(Message == "Component \"Big\": not enough memory on heap" ? 0 : 1);
  };
  EXPECT_EXIT(Try(0), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(Try(1), testing::ExitedWithCode(0), "");
}
#endif

// --- histogram -------------------------------------------------------------------------------

TEST(VectorStats, HistogramBinsAndTotals) {
  TVector V;
  SetValues(V, {0, 0.5, 3, 9.99, 10, 10.5, 11, -0.1, kNaN, 3.5});
  TIntArray Histo{7, 7};
  int Under = -1, Over = -1, MaxCnt = -1;
  ASSERT_TRUE(V.Histogram(1, 10, 0, 10, 1, Histo, Under, Over, MaxCnt));
  ASSERT_EQ(Histo.size(), 11U);
  // 10.5 lies in the last bin [10, 11), 11 beyond it; the NaN is not counted.
  EXPECT_EQ(Histo, (TIntArray{2, 0, 0, 2, 0, 0, 0, 0, 0, 1, 2}));
  EXPECT_EQ(Under, 1);
  EXPECT_EQ(Over, 1);
  EXPECT_EQ(MaxCnt, 2);

  // Indices outside the vector read 0 and are counted; a reversed range counts nothing but
  // still gives zeroed bins.
  ASSERT_TRUE(V.Histogram(-1, 12, 0, 10, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo[0], 2 + 4);
  EXPECT_EQ(MaxCnt, 6);
  ASSERT_TRUE(V.Histogram(0, 0, 0, 10, 1, Histo, Under, Over, MaxCnt));  // (0, 0) is index 0
  EXPECT_EQ(Histo[0], 1);
  EXPECT_EQ(MaxCnt, 1);
  ASSERT_TRUE(V.Histogram(5, 4, 0, 4, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo, (TIntArray{0, 0, 0, 0, 0}));
  EXPECT_EQ(Under + Over + MaxCnt, 0);
  // The whole index range is counted at once, and counts stop at INT_MAX.
  ASSERT_TRUE(V.Histogram(INT_MIN, INT_MAX, 0, 10, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo[0], INT_MAX);
  EXPECT_EQ(Over, 1);
}

TEST(VectorStats, HistogramBinCountRules) {
  TVector V;
  SetValues(V, {11.2, 11.5, 0.2});
  TIntArray Histo{9};
  int Under = -1, Over = -1, MaxCnt = -1;
  // More than 500 bins, or a width that is not positive: false, nothing touched.
  EXPECT_FALSE(V.Histogram(1, 3, 0, 1000, 1, Histo, Under, Over, MaxCnt));
  EXPECT_FALSE(V.Histogram(1, 3, 0, 10, 0, Histo, Under, Over, MaxCnt));
  EXPECT_FALSE(V.Histogram(1, 3, 0, 10, -1, Histo, Under, Over, MaxCnt));
  EXPECT_FALSE(V.Histogram(1, 3, 0, kNaN, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo, TIntArray{9});
  EXPECT_EQ(Under, -1);
  EXPECT_EQ(MaxCnt, -1);
  EXPECT_TRUE(V.Histogram(1, 3, 0, 499, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo.size(), 500U);
  // round(10.4) + 1 = 11 bins up to 11, but values count up to LastBin + BinWidth = 11.4:
  // 11.2 maps to bin index 11, one past the last, and counts as Overflow.
  ASSERT_TRUE(V.Histogram(1, 3, 0, 10.4, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo.size(), 11U);
  EXPECT_EQ(Over, 2);
  EXPECT_EQ(Histo[0], 1);
  // round(10.6) + 1 = 12 bins: 11.2 and 11.5 are in the last one.
  ASSERT_TRUE(V.Histogram(1, 3, 0, 10.6, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo.size(), 12U);
  EXPECT_EQ(Histo[11], 2);
  EXPECT_EQ(Over, 0);
  // Ties of the bin count round to even: 2.5 bins -> 2 + 1.
  ASSERT_TRUE(V.Histogram(1, 3, 0, 2.5, 1, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo.size(), 3U);
}

TEST(VectorStats, HistogramIntoAnIntegerVector) {
  TVector V;
  SetValues(V, {1, 1, 2, 5});
  TIntVector H;
  std::string Calls;
  H.OnChange = [&Calls](NMX_platform::TObject*) { Calls += 'C'; };
  H.OnResize = [&Calls](NMX_platform::TObject*) { Calls += 'R'; };
  int Under = 0, Over = 0, MaxCnt = 0;
  ASSERT_TRUE(V.Histogram(1, 4, 1, 3, 1, &H, Under, Over, MaxCnt));
  EXPECT_EQ(TIntArray(H.Data().begin(), H.Data().end()), (TIntArray{2, 1, 0}));
  EXPECT_EQ(Over, 1);
  EXPECT_EQ(MaxCnt, 2);
  EXPECT_EQ(Calls, "CRCCCC");  // resize, one OnChange per count, one at the end
  EXPECT_FALSE(V.Histogram(1, 4, 1, 3, 1, nullptr, Under, Over, MaxCnt));
  EXPECT_FALSE(V.Histogram(1, 4, 0, 600, 1, &H, Under, Over, MaxCnt));
  EXPECT_EQ(H.NrOfElem(), 3);
}

// --- integration -----------------------------------------------------------------------------

TEST(VectorStats, IntegrateRulesAndBounds) {
  using NMX_vector::imSimple;
  using NMX_vector::imSimpson;
  using NMX_vector::imTrapezoidal;
  using NMX_vector::TIntegMethod;
  struct Case {
    const char* Data;  // "linear": v(k) = k; "cubic": v(k) = k^3 on 1..12; else [1, 2, 3]
    double Lo, Hi;
    TIntegMethod Method;
    double Expected;
  };
  // The expected values are the exact integrals where the rule is exact: trapezoids on a
  // linear function, Simpson, 3/8, Boole and the alternative extended rule on a cubic
  // (integral of t^3 from a to b is (b^4 - a^4) / 4).
  const Case Cases[] = {
      {"linear", 1, 5, imTrapezoidal, 12},
      {"linear", 1, 5, imSimpson, 12},
      {"linear", 1, 5, imSimple, 12},
      {"linear", 1.5, 1.5, imSimple, 0},
      {"linear", 1.5, 1.5, imTrapezoidal, 0},
      {"linear", 1.5, 1.5, imSimpson, 0},
      {"short", 2.2, 2.8, imSimple, 1.5},
      {"short", 2.2, 2.8, imTrapezoidal, 1.5},
      {"short", 2.8, 2.2, imSimpson, 1.5},
      {"linear", 1.5, 4.25, imTrapezoidal, (4.25 * 4.25 - 1.5 * 1.5) / 2},  // b > a
      {"linear", 1.5, 2.25, imTrapezoidal, (2.25 * 2.25 - 1.5 * 1.5) / 2},  // b = a
      {"linear", 1.5, 2.25, imSimpson, (2.25 * 2.25 - 1.5 * 1.5) / 2},
      {"linear", 1.5, 3.25, imSimpson, (3.25 * 3.25 - 1.5 * 1.5) / 2},  // d = 1
      {"linear", 0.5, 9.75, imSimpson, (9.75 * 9.75 - 1.0) / 2},        // d = 8, lo clamped
      {"linear", 2.5, 5.5, imSimple, 3 * 4.0},                          // mean of 3, 4, 5
      {"cubic", 2, 4, imSimpson, (256 - 16) / 4.0},                     // Simpson
      {"cubic", 2, 5, imSimpson, (625 - 16) / 4.0},                     // three-eighths
      {"cubic", 2, 6, imSimpson, (1296 - 16) / 4.0},                    // Boole
      {"cubic", 2, 7, imSimpson, (2401 - 16) / 4.0},                    // extended, d = 5
      {"cubic", 1, 12, imSimpson, (20736 - 1) / 4.0},                   // extended, d = 11
      {"cubic", 30, -4, imSimpson, (20736 - 1) / 4.0},                  // clamped, reversed
      {"linear", 1, 5, static_cast<TIntegMethod>(3), 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector V;
    const std::string Data = C.Data;
    if (Data == "linear") {
      V.Resize(10);
      V.FillSerial(1, 1);
    } else if (Data == "cubic") {
      V.Resize(12);
      for (int K = 1; K <= 12; ++K) V.SetVal(K, 1.0 * K * K * K);
    } else {
      SetValues(V, {1, 2, 3});
    }
    NMX_EXPECT_REL(V.Integrate(C.Lo, C.Hi, C.Method), C.Expected, 1e-14);
  }
  TVector V;
  SetValues(V, {4});
  EXPECT_EQ(V.Integrate(1, 1, imSimpson), 0.0);
  EXPECT_TRUE(std::isnan(V.Integrate(kNaN, 1, imTrapezoidal)));
}

// --- searching -------------------------------------------------------------------------------

TEST(VectorStats, FindAndFindExact) {
  TVector V;
  SetValues(V, {5, 1, 3, 1, 3.5});
  EXPECT_EQ(V.Find(0, 0, 3.25), 3);  // 3 and 3.5 tie: the first wins
  EXPECT_EQ(V.Find(0, 0, -7), 2);
  EXPECT_EQ(V.Find(3, 5, 0.9), 4);
  EXPECT_EQ(V.FindExact(0, 0, 1), 2);
  EXPECT_EQ(V.FindExact(3, 9, 1), 4);
  EXPECT_EQ(V.FindExact(0, 0, 2), 0);
  SetValues(V, {kNaN, kInf});
  EXPECT_EQ(V.Find(0, 0, 0), 0);  // no distance below the largest double
}

TEST(VectorStats, FindInSortedVector) {
  struct Case {
    TDoubleArray X;
    bool Ascending;
    double Value;
    int Expected;
  };
  const Case Cases[] = {
      {{1, 2, 3, 4}, true, 2.4, 2},
      {{1, 2, 3, 4}, true, 2.5, 3},  // a tie goes to the higher
      {{1, 2, 3, 4}, true, 3, 3},
      {{1, 2, 3, 4}, true, -9, 1},
      {{1, 2, 3, 4}, true, 99, 4},
      {{4, 3, 2, 1}, false, 2.4, 3},
      {{4, 3, 2, 1}, false, 3.5, 2},
      {{4, 3, 2, 1}, false, 0, 4},
      {{7}, true, 0, 1},
      {{1, 2}, true, 1.5, 2},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector V;
    SetValues(V, C.X);
    EXPECT_EQ(V.FindInSortedVector(C.Ascending, C.Value), C.Expected) << C.Value;
  }
}

// --- sorting ---------------------------------------------------------------------------------

TEST(VectorStats, SortElemsAnnouncesExchangesThenOnChangeOnce) {
  TVector V;
  SetValues(V, {3, 1, 2});
  std::string Log;
  V.OnChange = [&Log](NMX_platform::TObject*) { Log += "C "; };
  V.OnSortExchange = [&Log, &V](NMX_platform::TObject* Sender, std::uint8_t What, int I, int J,
                                int First, int Last) {
    EXPECT_EQ(Sender, &V);
    Log += std::to_string(What) + ":" + std::to_string(I) + "," + std::to_string(J) + "," +
           std::to_string(First) + "," + std::to_string(Last) + " ";
  };
  V.SortElems(true, 0, 0);
  // Gap trunc(2 / 1.3) = 1: (1, 2) then (2, 3); a clean pass ends it.
  EXPECT_EQ(Log, "0:1,2,0,0 0:2,3,0,0 C ");
  EXPECT_EQ(Values(V), (TDoubleArray{1, 2, 3}));

  Log.clear();
  V.SortElems(true, 0, 0);  // already sorted: no exchange, still one OnChange
  EXPECT_EQ(Log, "C ");
  Log.clear();
  V.SortElems(false, 3, 3);  // one element: nothing at all
  V.SortElems(false, 9, 3);  // clipped to 3..3
  EXPECT_EQ(Log, "");
  V.SortElems(false, 3, -2);  // reversed, then clipped to 1..3
  EXPECT_EQ(Values(V), (TDoubleArray{3, 2, 1}));
}

// The gap rule, pinned: elements (37 k mod 101), k = 1..100, sorted ascending. The gap starts
// from the range length less one (99) and shrinks as floor(10 gap / 13): 76, 58, 44, ... A
// shrink factor of 1.31 or 1.29 would change the first gaps. Reference from the rule with
// exact fractions:
//   a = [(37*k) % 101 for k in range(1, 101)]; gap = 99
//   loop: gap = int(Fraction(gap) / Fraction(13, 10)) or 1; exchange a[i] > a[i + gap] ...
// 322 exchanges; the first twelve and the gaps in the order they occur are below. Without a
// handler the math1 kernel sorts and must leave exactly the same order.
TEST(VectorStats, SortElemsFollowsTheCombGapRule) {
  auto Fill = [](TVector& V) {
    V.Resize(100);
    for (int K = 1; K <= 100; ++K) V.SetVal(K, (37 * K) % 101);
  };
  TVector V;
  Fill(V);
  std::vector<std::pair<int, int>> Exchanges;
  V.OnSortExchange = [&Exchanges](NMX_platform::TObject*, std::uint8_t, int I, int J, int, int) {
    Exchanges.emplace_back(I, J);
  };
  V.SortElems(true, 0, 0);
  ASSERT_EQ(Exchanges.size(), 322U);
  const std::vector<std::pair<int, int>> First12{{1, 77},  {2, 78},  {4, 80},  {5, 81},
                                                 {6, 82},  {7, 83},  {8, 84},  {9, 85},
                                                 {10, 86}, {12, 88}, {13, 89}, {15, 91}};
  EXPECT_TRUE(std::equal(First12.begin(), First12.end(), Exchanges.begin()));
  std::vector<int> Gaps;
  for (const auto& [I, J] : Exchanges) {
    if (Gaps.empty() || Gaps.back() != J - I) Gaps.push_back(J - I);
  }
  EXPECT_EQ(Gaps, (std::vector<int>{76, 58, 44, 33, 25, 19, 14, 10, 7, 5, 3, 2, 1}));

  TVector W;  // no handler: the fast kernel
  Fill(W);
  W.SortElems(true, 0, 0);
  EXPECT_EQ(Values(W), Values(V));
  TDoubleArray Expected(100);
  for (int K = 0; K < 100; ++K) Expected[static_cast<std::size_t>(K)] = K + 1;
  EXPECT_EQ(Values(W), Expected);
}

TEST(VectorStats, SortElemsOrdersRandomRanges) {
  NMX_platform::SetRandSeed(271828);
  for (const int N : {2, 3, 10, 97, 1000}) {
    TVector V;
    V.Resize(N);
    V.FillRandomUniform(-1, 1);
    TDoubleArray Expected = Values(V);
    const int Lo = N / 4 + 1, Hi = N;
    std::sort(Expected.begin() + (Lo - 1), Expected.end(), std::greater<>());
    int Exchanges = 0;
    V.OnSortExchange = [&Exchanges](NMX_platform::TObject*, std::uint8_t, int, int, int, int) {
      ++Exchanges;
    };
    V.SortElems(false, Lo, Hi);
    EXPECT_EQ(Values(V), Expected) << "seed 271828, N " << N;
    EXPECT_GT(Exchanges, 0);
  }
}

TEST(VectorStats, SortElemsSurvivesAHandlerThatShrinksTheVector) {
  TVector V;
  SetValues(V, {5, 4, 3, 2, 1});
  V.OnSortExchange = [&V](NMX_platform::TObject*, std::uint8_t, int, int, int, int) {
    V.Resize(2);
  };
  V.SortElems(true, 0, 0);
  EXPECT_EQ(V.NrOfElem(), 2);
}

// --- scaling ---------------------------------------------------------------------------------

TEST(VectorStats, StandardizeQNormalizeMeanCenterFireNothing) {
  TVector V;
  int Changes = 0;
  SetValues(V, {2, 4});
  V.OnChange = [&Changes](NMX_platform::TObject*) { ++Changes; };
  double Mean = 0, Sd = 0;
  V.Standardize(Mean, Sd);
  EXPECT_EQ(Values(V), (TDoubleArray{-1, 1}));
  EXPECT_EQ(Mean, 3.0);
  EXPECT_EQ(Sd, 1.0);

  V.OnChange = nullptr;
  SetValues(V, {6, 6, 6});
  V.OnChange = [&Changes](NMX_platform::TObject*) { ++Changes; };
  V.Standardize(Mean, Sd);
  EXPECT_EQ(Sd, 0.0);
  EXPECT_EQ(Values(V), (TDoubleArray{6, 6, 6}));

  V.OnChange = nullptr;
  SetValues(V, {5, 1, 4, 2, 3});
  V.OnChange = [&Changes](NMX_platform::TObject*) { ++Changes; };
  double Median = 0, QuantDiff = 0;
  V.QNormalize(25, Median, QuantDiff);
  EXPECT_EQ(Median, 3.0);
  EXPECT_EQ(QuantDiff, 1.0);
  EXPECT_EQ(Values(V), (TDoubleArray{2, -2, 1, -1, 0}));
  V.QNormalize(50, Median, QuantDiff);  // QuantDiff 0: unchanged
  EXPECT_EQ(QuantDiff, 0.0);
  EXPECT_EQ(Values(V), (TDoubleArray{2, -2, 1, -1, 0}));

  EXPECT_EQ(V.MeanCenter(), 0.0);
  V.OnChange = nullptr;
  SetValues(V, {1, 2, 6});
  V.OnChange = [&Changes](NMX_platform::TObject*) { ++Changes; };
  EXPECT_EQ(V.MeanCenter(), 3.0);
  EXPECT_EQ(Values(V), (TDoubleArray{-2, -1, 3}));
  EXPECT_EQ(Changes, 0);
}

// --- two vectors -----------------------------------------------------------------------------

TEST(VectorStats, IsDichotomous) {
  struct Case {
    TDoubleArray X;
    bool Expected;
    double V1, V2;
  };
  const Case Cases[] = {{{1, 1, 1}, true, 1, 1},  {{1, 2, 1, 2}, true, 1, 2},
                        {{1, 2, 3}, false, 1, 2}, {{4, 4, 9, 4, 9}, true, 4, 9},
                        {{4}, false, 0, 0},       {{1, 1, 2, 2, 7}, false, 1, 2}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector V;
    SetValues(V, C.X);
    double V1 = -1, V2 = -1;
    EXPECT_EQ(V.IsDichotomous(V1, V2), C.Expected);
    EXPECT_EQ(V1, C.V1);
    EXPECT_EQ(V2, C.V2);
  }
}

TEST(VectorStats, PearsonCorrCoeffZeroCasesAndOffsetData) {
  TVector X, Y;
  SetValues(X, {1, 2, 3});
  SetValues(Y, {2, 4, 6});
  NMX_EXPECT_ULPS(X.PearsonCorrCoeff(&Y), 1.0, 1);
  SetValues(Y, {6, 4, 2});
  NMX_EXPECT_ULPS(X.PearsonCorrCoeff(&Y), -1.0, 1);
  SetValues(Y, {0.1, 0.1, 0.1});  // constant (and its sum is inexact)
  EXPECT_EQ(X.PearsonCorrCoeff(&Y), 0.0);
  SetValues(Y, {0, 0, 0});
  EXPECT_EQ(X.PearsonCorrCoeff(&Y), 0.0);
  SetValues(Y, {1, 2});
  EXPECT_EQ(X.PearsonCorrCoeff(&Y), 0.0);  // different lengths: no exception
  EXPECT_EQ(X.PearsonCorrCoeff(nullptr), 0.0);
  SetValues(X, {3});
  SetValues(Y, {4});
  EXPECT_EQ(X.PearsonCorrCoeff(&Y), 0.0);

  // Offset data (the raw sums give 1.565 here). x as in the offset moments test (n 1001, 1e7),
  // y(k) = (5e6 + 0.001 ((37k mod n) mod 7)) + 0.0005 ((37k mod n) mod 10); exact r from
  // fractions over the stored doubles, the root by decimal at 50 digits.
  const int N = 1001;
  X.Resize(N);
  Y.Resize(N);
  for (int K = 0; K < N; ++K) {
    const int J = (37 * K) % N;
    X.SetVal(K + 1, 1e7 + 0.002 * OffsetPattern(N, K));
    Y.SetVal(K + 1, (5e6 + 0.001 * (J % 7)) + 0.0005 * (J % 10));
  }
  NMX_EXPECT_REL(X.PearsonCorrCoeff(&Y), 0.56111471074339292, 1e-12);
  Y.Fill(1e7 + 0.1);
  EXPECT_EQ(X.PearsonCorrCoeff(&Y), 0.0);

  // Exactly linear data whose squared deviations leave the double range: 1, not NaN or 0.
  for (const double Unit : {1e160, 1e-170}) {
    SCOPED_TRACE(Unit);
    for (int K = 1; K <= N; ++K) {
      X.SetVal(K, Unit * (K % 13));
      Y.SetVal(K, 4.0 * X.GetVal(K));
    }
    EXPECT_EQ(X.PearsonCorrCoeff(&Y), 1.0);
  }
}

TEST(VectorStats, CorrelateDotProductEuclideanDistance) {
  TVector X, Y;
  X.SetName("X");
  SetValues(X, {1, 2, 3});
  SetValues(Y, {4, 5, 6});
  EXPECT_EQ(X.Correlate(&Y, 0), 32.0);
  EXPECT_EQ(X.Correlate(&Y, 1), 2 * 4 + 3 * 5.0);   // x(i) y(i - 1), i = 2..3
  EXPECT_EQ(X.Correlate(&Y, -1), 1 * 5 + 2 * 6.0);  // i = 1..2
  EXPECT_EQ(X.Correlate(&Y, 2), 0.0);               // a single index overlaps
  EXPECT_EQ(X.Correlate(&Y, INT_MIN), 0.0);
  EXPECT_EQ(X.Correlate(nullptr, 0), 0.0);
  EXPECT_EQ(X.DotProduct(&Y), 32.0);
  EXPECT_EQ(X.DotProduct(nullptr), 0.0);
  SetValues(Y, {4, 5});
  EXPECT_EQ(X.Correlate(&Y, 0), 1 * 4 + 2 * 5.0);
  EXPECT_EQ(ErrorOf([&] { X.DotProduct(&Y); }),
            "Component \"X\": vectors have different dimensions");
  EXPECT_EQ(ErrorOf([&] { X.EuclideanDistance(&Y); }),
            "EuclideanDistance: dimensions of vectors do not match");
  EXPECT_EQ(ErrorOf([&] { X.EuclideanDistance(nullptr); }),
            "EuclideanDistance: dimensions of vectors do not match");
  SetValues(X, {0, 0});
  SetValues(Y, {3, 4});
  EXPECT_EQ(X.EuclideanDistance(&Y), 5.0);
}

}  // namespace
