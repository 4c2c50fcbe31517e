#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "nmx/platform/random.h"
#include "nmx/vector/intvector.h"
#include "support/tolerance.h"
#include "vector/vector_builders.h"

namespace {

using vec_test::ErrorOf;
using vec_test::SetValues;
using vec_test::Values;

using NMX_nmxbase::TIntArray;
using NMX_vector::ENMXVectorError;
using NMX_vector::TIntVector;

TEST(IntVectorStats, MeanVarRulesAndOffsetData) {
  TIntVector V;
  double Mean = 0, Variance = 0;
  SetValues(V, {2, 4});
  V.MeanVar(0, 0, Mean, Variance);
  EXPECT_EQ(Mean, 3.0);
  EXPECT_EQ(Variance, 1.0);
  SetValues(V, {5, 5, 5});
  V.MeanVar(0, 0, Mean, Variance);
  EXPECT_EQ(Variance, 0.0);
  // Sums in double: the squares of INT_MAX do not overflow.
  SetValues(V, {INT_MAX, INT_MAX, INT_MIN});
  V.MeanVar(0, 0, Mean, Variance);
  // Exact: mean (2^32 - 2 - 2^31) / 3, variance 3 (2^32 - 1)^2 / 9 (fractions by hand).
  NMX_EXPECT_REL(Mean, (4294967294.0 - 2147483648.0) / 3, 1e-15);
  NMX_EXPECT_REL(Variance, 4294967295.0 * 4294967295.0 / 3, 1e-15);

  // x(k) = 2e9 + ((37k mod n) mod 10)^2, k = 0..1000, where the raw power sums in double give
  // a variance of -3670. Exact values from Python's fractions over these integers (m = sum/n,
  // var = sum (x - m)^2 / (n - 1); skewness and kurtosis with the roots by decimal at 50
  // digits), the script quoted in vector_stats_test.cpp.
  const int N = 1001;
  V.Resize(N);
  for (int K = 0; K < N; ++K) {
    const int J = (37 * K) % N % 10;
    V.SetVal(K + 1, 2000000000 + J * J);
  }
  V.MeanVar(0, 0, Mean, Variance);
  EXPECT_EQ(Mean, 2000000028.4715285);  // the in-order double sum / n
  EXPECT_LE(std::fabs(Variance - 721.8614385614386) / 721.8614385614386, N * nmx_test::kEps)
      << Variance;
  double S = 0, Kurt = 0;
  V.SkewKurt(0, 0, S, Kurt);
  EXPECT_LE(std::fabs(S - 0.67374646800125859) / 0.67374646800125859, 4 * N * nmx_test::kEps) << S;
  EXPECT_LE(std::fabs(Kurt + 0.86284736405454043) / 0.86284736405454043, 4 * N * nmx_test::kEps)
      << Kurt;

  // y(k) = -2e9 + 3 ((37k mod n) mod 10) + ((37k mod n) mod 7): r exact as above.
  TIntVector Y;
  Y.Resize(N);
  for (int K = 0; K < N; ++K) {
    const int J = (37 * K) % N;
    Y.SetVal(K + 1, -2000000000 + 3 * (J % 10) + J % 7);
  }
  NMX_EXPECT_REL(V.PearsonCorrCoeff(&Y), 0.93770131664924472, 1e-12);
  Y.Fill(7);
  EXPECT_EQ(V.PearsonCorrCoeff(&Y), 0.0);
}

TEST(IntVectorStats, MinMaxStartValues) {
  struct Case {
    TIntArray X;
    std::int32_t Min, Max;
    int MinIx, MaxIx;
  };
  const Case Cases[] = {
      {{3, -1, 7, -1, 7}, -1, 7, 2, 3},
      // The maximum search starts at -2147483647: -2147483648 is never found as the maximum.
      {{INT_MIN, INT_MIN}, INT_MIN, -2147483647, 1, 0},
      {{INT_MAX}, 2147483647, INT_MAX, 0, 1},
      {{-2147483647, 0}, -2147483647, 0, 1, 2},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TIntVector V;
    SetValues(V, C.X);
    std::int32_t Min = 0, Max = 0;
    int MinIx = -1, MaxIx = -1;
    V.MinMax(0, 0, Min, Max, MinIx, MaxIx);
    EXPECT_EQ(Min, C.Min);
    EXPECT_EQ(Max, C.Max);
    EXPECT_EQ(MinIx, C.MinIx);
    EXPECT_EQ(MaxIx, C.MaxIx);
    std::int32_t Min2 = 0, Max2 = 0;
    V.MinMax(0, 0, Min2, Max2);
    EXPECT_EQ(Min2, C.Min);
    EXPECT_EQ(Max2, C.Max);
  }
}

TEST(IntVectorStats, SumDotProductCorrelateWrap) {
  TIntVector X, Y;
  X.SetName("IV");
  SetValues(X, {INT_MAX, 1, 5});
  EXPECT_EQ(X.Sum(1, 2), INT_MIN);
  EXPECT_EQ(X.Sum(0, 0), INT_MIN + 5);
  SetValues(Y, {2, 7, -1});
  // 2 (2^31 - 1) + 7 - 5 = 2^32 - 2 + 2 = 0 modulo 2^32.
  EXPECT_EQ(X.DotProduct(&Y), 0);
  SetValues(X, {65536, INT_MIN});
  SetValues(Y, {65536, -1});
  EXPECT_EQ(X.DotProduct(&Y), INT_MIN);  // 2^32 wraps to 0, -2^31 * -1 to -2^31
  EXPECT_EQ(X.DotProduct(nullptr), 0);
  SetValues(Y, {1});
  EXPECT_EQ(ErrorOf([&] { X.DotProduct(&Y); }),
            "Component \"IV\": vectors have different dimensions");

  // Correlate: sum over i = 1..N of x(i) y(i + shift); y outside contributes 0, a single
  // overlapping index counts.
  SetValues(X, {1, 2, 3});
  SetValues(Y, {4, 5, 6});
  EXPECT_EQ(X.Correlate(&Y, 0), 32);
  EXPECT_EQ(X.Correlate(&Y, 1), 1 * 5 + 2 * 6);
  EXPECT_EQ(X.Correlate(&Y, -2), 3 * 4);
  EXPECT_EQ(X.Correlate(&Y, 2), 1 * 6);
  EXPECT_EQ(X.Correlate(&Y, 3), 0);
  EXPECT_EQ(X.Correlate(&Y, INT_MAX), 0);
  EXPECT_EQ(X.Correlate(&Y, INT_MIN), 0);
  EXPECT_EQ(X.Correlate(nullptr, 0), 0);
  SetValues(X, {65536, 65536});
  SetValues(Y, {65536, 65536});
  EXPECT_EQ(X.Correlate(&Y, 0), 0);
}

TEST(IntVectorStats, EuclideanDistanceAndMeansInDouble) {
  TIntVector X, Y;
  X.SetName("IV");
  SetValues(X, {INT_MIN, 0});
  SetValues(Y, {INT_MAX, 0});
  EXPECT_EQ(X.EuclideanDistance(&Y), 4294967295.0);
  SetValues(Y, {1});
  EXPECT_EQ(ErrorOf([&] { X.EuclideanDistance(&Y); }),
            "EuclideanDistance: dimensions of vectors do not match");
  EXPECT_EQ(ErrorOf([&] { X.GeometricMean(0, 0); }),
            "Component \"IV\": negative argument passed to GeometricMean");
  EXPECT_EQ(ErrorOf([&] { X.HarmonicMean(2, 2); }),
            "Component \"IV\": negative or zero argument passed to HarmonicMean");
  SetValues(X, {1, 4, 0});
  NMX_EXPECT_ULPS(X.GeometricMean(1, 2), 2.0, 1);
  EXPECT_EQ(X.GeometricMean(0, 0), 0.0);
  NMX_EXPECT_ULPS(X.HarmonicMean(1, 2), 1.6, 1);
}

TEST(IntVectorStats, OrderStatisticsInterpolateWithoutOverflow) {
  TIntVector V;
  SetValues(V, {INT_MAX, INT_MIN});
  // The neighbours differ by 2^32 - 1, beyond the 32-bit range: -2^31 + (2^32 - 1) / 2.
  EXPECT_EQ(V.Percentile(50, 0, 0), -0.5);
  double Q1 = 0, Q2 = 0, Q3 = 0;
  EXPECT_TRUE(V.Quartiles(0, 0, Q1, Q2, Q3));
  EXPECT_EQ(Q1, INT_MIN);
  EXPECT_EQ(Q2, -0.5);
  EXPECT_EQ(Q3, INT_MAX);
  SetValues(V, {4, 2, 3, 1});
  EXPECT_EQ(V.Percentile(50, 0, 0), 2.5);
  EXPECT_EQ(V.Percentile(100, 0, 0), 4.0);
  EXPECT_EQ(V.Percentile(-5, 0, 0), 1.0);
  V.Quartiles(0, 0, Q1, Q2, Q3);
  EXPECT_EQ(Q1, 1.25);
  EXPECT_EQ(Q3, 3.75);
  SetValues(V, {3, 1, 3, 2, 2});
  EXPECT_EQ(V.Mode(0, 0), 2);
  EXPECT_EQ(V.Mode(1, 3), 3);
  EXPECT_EQ(Values(V), (TIntArray{3, 1, 3, 2, 2}));
}

TEST(IntVectorStats, HistogramRules) {
  TIntVector V;
  V.SetName("IV");
  SetValues(V, {-1, 0, 2, 3, 5, 9, 12, 13, 40});
  TIntArray Histo;
  int Under = -1, Over = -1, MaxCnt = -1;
  // |10 - 0| div 3 + 1 = 4 bins of width 3, covering 0..11. Values count up to LastBin +
  // BinWidth = 13, so 12 maps to bin index 4, one past the last: it counts as Overflow.
  ASSERT_TRUE(V.Histogram(1, 9, 0, 10, 3, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo, (TIntArray{2, 2, 0, 1}));
  EXPECT_EQ(Under, 1);
  EXPECT_EQ(Over, 3);
  EXPECT_EQ(MaxCnt, 2);
  // A width <= 0 counts as 1; indices outside the vector read 0.
  ASSERT_TRUE(V.Histogram(-1, 3, 0, 2, 0, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo, (TIntArray{3, 0, 1}));
  EXPECT_EQ(Under, 1);
  ASSERT_TRUE(V.Histogram(1, 8, 2, 0, -5, Histo, Under, Over, MaxCnt));  // reversed bins
  EXPECT_EQ(Histo.size(), 3U);

  // Too many bins raise, with ".Histogram" inside the quotes; nothing is changed.
  Histo = {9};
  Under = Over = MaxCnt = -1;
  const std::string Expected = "Component \"IV.Histogram\": invalid number of bins";
  EXPECT_EQ(ErrorOf([&] { V.Histogram(0, 0, 0, 500, 1, Histo, Under, Over, MaxCnt); }), Expected);
  EXPECT_EQ(ErrorOf([&] { V.Histogram(0, 0, INT_MIN, INT_MAX, 1, Histo, Under, Over, MaxCnt); }),
            Expected);
  EXPECT_EQ(Histo, TIntArray{9});
  EXPECT_EQ(Under, -1);
  EXPECT_EQ(ErrorOf([&] { V.Histogram(0, 0, 0, 499, 1, Histo, Under, Over, MaxCnt); }), "");
  EXPECT_EQ(Histo.size(), 500U);
  // Extreme bounds: the bin arithmetic is 64-bit.
  SetValues(V, {INT_MIN, INT_MAX, 0});
  ASSERT_TRUE(V.Histogram(1, 3, INT_MIN, INT_MAX, INT_MAX, Histo, Under, Over, MaxCnt));
  EXPECT_EQ(Histo, (TIntArray{1, 1, 1}));

  // Into an integer vector (even this one).
  SetValues(V, {1, 1, 2});
  ASSERT_TRUE(V.Histogram(1, 3, 1, 3, 1, &V, Under, Over, MaxCnt));
  EXPECT_EQ(Values(V), (TIntArray{2, 1, 0}));
  EXPECT_FALSE(V.Histogram(0, 0, 1, 3, 1, nullptr, Under, Over, MaxCnt));
  EXPECT_NE(ErrorOf([&] { V.Histogram(0, 0, 0, 1000, 1, &V, Under, Over, MaxCnt); }), "");
}

TEST(IntVectorStats, SearchingAndDichotomy) {
  TIntVector V;
  SetValues(V, {INT_MIN, 0, INT_MAX});
  EXPECT_EQ(V.Find(0, 0, INT_MAX), 3);  // distances beyond 32 bits
  EXPECT_EQ(V.Find(0, 0, -5), 2);
  EXPECT_EQ(V.FindExact(0, 0, INT_MIN), 1);
  EXPECT_EQ(V.FindExact(2, 3, INT_MIN), 0);
  EXPECT_EQ(V.FindInSortedVector(true, INT_MAX - 1), 3);
  EXPECT_EQ(V.FindInSortedVector(true, -1073741824), 2);  // a tie goes to the higher index
  SetValues(V, {9, 7, 5});
  EXPECT_EQ(V.FindInSortedVector(false, 6), 3);

  std::int32_t V1 = -1, V2 = -1;
  SetValues(V, {4, 4, 9, 4});
  EXPECT_TRUE(V.IsDichotomous(V1, V2));
  EXPECT_EQ(V1, 4);
  EXPECT_EQ(V2, 9);
  SetValues(V, {4, 4, 9, 5});
  EXPECT_FALSE(V.IsDichotomous(V1, V2));
  SetValues(V, {4});
  EXPECT_FALSE(V.IsDichotomous(V1, V2));
  EXPECT_EQ(V1, 0);
  EXPECT_EQ(V2, 0);
}

TEST(IntVectorStats, SortElemsEventsAndOrder) {
  TIntVector V;
  SetValues(V, {3, 1, 2});
  std::string Log;
  V.OnChange = [&Log](NMX_platform::TObject*) { Log += "C "; };
  V.OnSortExchange = [&Log](NMX_platform::TObject*, std::uint8_t What, int I, int J, int First,
                            int Last) {
    Log += std::to_string(What) + ":" + std::to_string(I) + "," + std::to_string(J) + "," +
           std::to_string(First) + "," + std::to_string(Last) + " ";
  };
  V.SortElems(true, 0, 0);
  EXPECT_EQ(Log, "0:1,2,0,0 0:2,3,0,0 C ");
  EXPECT_EQ(Values(V), (TIntArray{1, 2, 3}));

  NMX_platform::SetRandSeed(314159);
  V.OnChange = nullptr;
  V.OnSortExchange = nullptr;
  V.Resize(500);
  for (int K = 1; K <= 500; ++K) V.SetVal(K, NMX_platform::Random(1000) - 500);
  TIntArray Expected = Values(V);
  std::sort(Expected.begin(), Expected.end(), [](int A, int B) { return A > B; });
  V.SortElems(false, 0, 0);
  EXPECT_EQ(Values(V), Expected) << "seed 314159";
}

}  // namespace
