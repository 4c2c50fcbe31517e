#include "nmx/math1/moments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "math1/isa.h"
#include "nmx/platform/random.h"
#include "support/tolerance.h"

namespace {

using NMX_math1::CentralMoments;
using NMX_math1::CoMoments;
using NMX_math1::TCoMoments;
using NMX_math1::TMoments;
namespace D = NMX_math1::detail;

// Deviations that are multiples of 1/4, so that offset + deviation is exact and the central
// sums have closed forms in integers: with q = 4d, n² 64 M3 = n² Σq³ - 3n Σq Σq² + 2 (Σq)³,
// and likewise for M2 and M4.
__extension__ typedef __int128 Int128;  // exact sums of fourth powers

std::int64_t Quarter(std::size_t K) {
  return static_cast<std::int64_t>((K * 37) % 11) - 5 + static_cast<std::int64_t>(K % 4 == 0);
}

struct ExactMoments {
  double M2, M3, M4;
};

ExactMoments ExactOf(std::size_t N) {
  Int128 S1 = 0, S2 = 0, S3 = 0, S4 = 0;
  for (std::size_t K = 0; K < N; ++K) {
    const Int128 Q = Quarter(K);
    S1 += Q;
    S2 += Q * Q;
    S3 += Q * Q * Q;
    S4 += Q * Q * Q * Q;
  }
  const Int128 Nn = static_cast<Int128>(N);
  // Σ(q - q̄)^k n^(k-1) as integers, then divided by n^(k-1) 4^k in long double.
  const Int128 C2 = Nn * S2 - S1 * S1;
  const Int128 C3 = Nn * Nn * S3 - 3 * Nn * S1 * S2 + 2 * S1 * S1 * S1;
  const Int128 C4 =
      Nn * Nn * Nn * S4 - 4 * Nn * Nn * S1 * S3 + 6 * Nn * S1 * S1 * S2 - 3 * S1 * S1 * S1 * S1;
  const long double Nl = static_cast<long double>(N);
  return {static_cast<double>(static_cast<long double>(C2) / (Nl * 16.0L)),
          static_cast<double>(static_cast<long double>(C3) / (Nl * Nl * 64.0L)),
          static_cast<double>(static_cast<long double>(C4) / (Nl * Nl * Nl * 256.0L))};
}

std::vector<double> OffsetData(double Offset, std::size_t N) {
  std::vector<double> X(N);
  for (std::size_t K = 0; K < N; ++K) X[K] = Offset + 0.25 * static_cast<double>(Quarter(K));
  return X;
}

TEST(Moments, CentralSumsOfOffsetDataMatchTheirClosedForms) {
  for (const double Offset : {0.0, 1e6, 1e9, -3e8, 1e12}) {
    for (const std::size_t N : {2u, 3u, 7u, 1023u, 1024u, 1025u, 3001u, 10000u}) {
      SCOPED_TRACE("offset " + nmx_test::Digits17(Offset) + ", n " + std::to_string(N));
      const std::vector<double> X = OffsetData(Offset, N);
      const ExactMoments E = ExactOf(N);
      const TMoments M = CentralMoments(X, 4);
      ASSERT_EQ(M.N, N);
      EXPECT_EQ(M.Exponent, 0);
      NMX_EXPECT_REL(M.M2, E.M2, 1e-13);
      // M3 may be near 0 by symmetry: measure its error against its natural size.
      const double Scale3 = std::pow(E.M2, 1.5) / std::sqrt(static_cast<double>(N));
      EXPECT_LE(std::fabs(M.M3 - E.M3), 1e-12 * Scale3) << nmx_test::Digits17(M.M3);
      NMX_EXPECT_REL(M.M4, E.M4, 1e-12);
      // The second-order pass alone gives the same M2 and the plain sum in element order.
      const TMoments M2Only = CentralMoments(X, 2);
      EXPECT_EQ(M2Only.M2, M.M2);
      double Plain = 0.0;
      for (const double V : X) Plain += V;
      EXPECT_EQ(M2Only.Sum, Plain);
      EXPECT_EQ(M.Sum, Plain);
    }
  }
}

TEST(Moments, DataWithoutSpreadHasZeroCentralSums) {
  // 0.1 summed 2049 times is not 2049 · 0.1: the mean misses 0.1 by some units in the last
  // place, and so would every deviation.
  for (const double V : {0.1, -7.3e9, 1e-300, 0.0, 5.0}) {
    SCOPED_TRACE(nmx_test::Digits17(V));
    const std::vector<double> X(2049, V);
    const TMoments M = CentralMoments(X, 4);
    EXPECT_EQ(M.M2, 0.0);
    EXPECT_EQ(M.M3, 0.0);
    EXPECT_EQ(M.M4, 0.0);
    EXPECT_EQ(M.SampleVariance(), 0.0);
  }
  const std::vector<std::int32_t> I(1500, -2147483647);
  EXPECT_EQ(CentralMoments(I, 4).M2, 0.0);
}

TEST(Moments, ExtremeMagnitudesAreScaledByPowersOfTwo) {
  // Exactly linear data whose squared deviations overflow (1e160) or underflow (1e-170).
  for (const double Unit : {1e160, 1e-170, 1e200, 1e-300}) {
    SCOPED_TRACE(nmx_test::Digits17(Unit));
    std::vector<double> X(3000), Y(3000);
    for (std::size_t K = 0; K < X.size(); ++K) {
      X[K] = Unit * static_cast<double>(K % 17);
      Y[K] = 2.0 * X[K];
    }
    const TMoments M = CentralMoments(X, 4);
    EXPECT_NE(M.Exponent, 0);
    // The spread of k mod 17 over 3000 values, exactly: n = 3000 = 176·17 + 8.
    double Mean = 0.0, Ss = 0.0;
    for (std::size_t K = 0; K < X.size(); ++K) Mean += static_cast<double>(K % 17);
    Mean /= 3000.0;
    for (std::size_t K = 0; K < X.size(); ++K) {
      const double Dv = static_cast<double>(K % 17) - Mean;
      Ss += Dv * Dv;
    }
    const double Sd = std::sqrt(Ss / 2999.0);
    NMX_EXPECT_REL(M.SampleStdDev() / Unit, Sd, 1e-12);
    const TCoMoments C = CoMoments(X, Y);
    EXPECT_EQ(C.Correlation(), 1.0);
    std::vector<double> Neg(Y);
    for (double& V : Neg) V = -V;
    EXPECT_EQ(CoMoments(X, Neg).Correlation(), -1.0);
  }
}

TEST(Moments, PiecesGiveTheMomentsOfTheirConcatenation) {
  const std::vector<double> X = OffsetData(1e7, 5000);
  const std::span<const double> All(X);
  const std::span<const double> Parts[] = {All.subspan(0, 3), All.subspan(3, 0),
                                           All.subspan(3, 1500), All.subspan(1503)};
  const TMoments Whole = CentralMoments(X, 4);
  const TMoments Pieced = CentralMoments(Parts, 4);
  EXPECT_EQ(Pieced.N, Whole.N);
  EXPECT_EQ(Pieced.Sum, Whole.Sum);
  NMX_EXPECT_REL(Pieced.M2, Whole.M2, 1e-13);
  NMX_EXPECT_REL(Pieced.M4, Whole.M4, 1e-12);
  EXPECT_EQ(CentralMoments(std::span<const std::span<const double>>()).N, 0u);
  const TMoments Empty = CentralMoments(std::span<const double>());
  EXPECT_EQ(Empty.N, 0u);
  EXPECT_EQ(Empty.M2, 0.0);
  EXPECT_TRUE(std::isnan(Empty.SampleVariance()));
}

TEST(Moments, NonFiniteDataGivesNaN) {
  std::vector<double> X = OffsetData(3.0, 100);
  X[50] = std::nan("");
  EXPECT_TRUE(std::isnan(CentralMoments(X).M2));
  X[50] = HUGE_VAL;
  EXPECT_TRUE(std::isnan(CentralMoments(X, 4).M2));
}

TEST(Moments, CoMomentsOfIntegersAndUnequalLengths) {
  const std::vector<std::int32_t> X = {2147483647, -2147483647 - 1, 0, 5, 5};
  const std::vector<std::int32_t> Y = {1, -1, 0, 0, 0, 99};
  const TCoMoments C = CoMoments(X, Y);
  EXPECT_EQ(C.N, 5u);
  EXPECT_EQ(C.SumY, 0.0);
  // Exact: ȳ = 0, so CXY = Σ x y = 2147483647 + 2147483648.
  EXPECT_EQ(C.CXY, 4294967295.0);
  EXPECT_EQ(C.M2Y, 2.0);
}

// Every instruction-set variant gives the same bits. The levels the processor lacks are
// skipped (SetIsa never goes above the host).
TEST(Moments, InstructionSetVariantsGiveTheSameBits) {
  NMX_platform::SetRandSeed(424242);
  std::vector<double> X(70001), Y(70001);
  std::vector<std::int32_t> I(70001);
  for (std::size_t K = 0; K < X.size(); ++K) {
    X[K] = 1e8 + NMX_platform::Random();
    Y[K] = X[K] * 3.0 - NMX_platform::Random();
    I[K] = static_cast<std::int32_t>(NMX_platform::Random() * 4e9 - 2e9);
  }
  const D::TIsa Host = D::HostIsa();
  D::SetIsa(D::TIsa::Baseline);
  const TMoments Ref = CentralMoments(X, 4);
  const TMoments RefI = CentralMoments(I, 4);
  const TCoMoments RefC = CoMoments(X, Y);
  for (const D::TIsa Level : {D::TIsa::Avx2, D::TIsa::Avx512}) {
    if (Level > Host) continue;
    SCOPED_TRACE(static_cast<int>(Level));
    ASSERT_EQ(D::SetIsa(Level), Level);
    const TMoments M = CentralMoments(X, 4);
    EXPECT_EQ(M.Sum, Ref.Sum);
    EXPECT_EQ(M.M2, Ref.M2);
    EXPECT_EQ(M.M3, Ref.M3);
    EXPECT_EQ(M.M4, Ref.M4);
    const TMoments MI = CentralMoments(I, 4);
    EXPECT_EQ(MI.M2, RefI.M2);
    EXPECT_EQ(MI.M4, RefI.M4);
    const TCoMoments C = CoMoments(X, Y);
    EXPECT_EQ(C.CXY, RefC.CXY);
    EXPECT_EQ(C.M2Y, RefC.M2Y);
  }
  D::SetIsa(Host);
}

}  // namespace
