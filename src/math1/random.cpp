#include "nmx/math1/random.h"

#include <cmath>
#include <numbers>

#include "nmx/platform/random.h"

namespace NMX_math1 {
namespace {

// Per-thread module state: the spare normal value and the three LongRand seeds. Each thread
// starts its seeds as u * 990000 rounded to the nearest integer.
struct TRandomState {
  bool HaveSpare = false;
  double Spare = 0.0;
  std::int32_t S1 = InitialSeed();
  std::int32_t S2 = InitialSeed();
  std::int32_t S3 = InitialSeed();

  static std::int32_t InitialSeed() {
    return static_cast<std::int32_t>(std::nearbyint(NMX_platform::Random() * 990000.0));
  }
};

TRandomState& State() {
  thread_local TRandomState S;
  return S;
}

// 32-bit arithmetic that wraps instead of overflowing.
std::int32_t Wrap(std::uint32_t U) {
  return static_cast<std::int32_t>(U);
}
std::int32_t Abs32(std::int32_t X) {
  return X < 0 ? Wrap(0U - static_cast<std::uint32_t>(X)) : X;
}

}  // namespace

bool BRandom(double Prob) {
  if (Prob >= 1.0) return true;
  return NMX_platform::Random() < Prob;
}

double CRandom(double Location, double Scale) {
  const double U = NMX_platform::Random();
  return Location + Scale * std::tan(std::numbers::pi * (U - 0.5));
}

void PolarNormalPair(double& Z1, double& Z2) noexcept {
  double P = 0.0, Q = 0.0, R = 0.0;
  do {
    P = 2.0 * NMX_platform::Random() - 1.0;
    Q = 2.0 * NMX_platform::Random() - 1.0;
    R = P * P + Q * Q;
    // R = 0 would divide by zero below; it has probability 2^-106 but is cheap to rule out.
  } while (R >= 1.0 || R == 0.0);
  const double F = std::sqrt(-2.0 * std::log(R) / R);
  Z1 = P * F;
  Z2 = Q * F;
}

double GRandom() {
  TRandomState& S = State();
  if (S.HaveSpare) {
    S.HaveSpare = false;
    return S.Spare;
  }
  S.HaveSpare = true;
  double First = 0.0;
  PolarNormalPair(S.Spare, First);
  return First;
}

double LongRand(std::int32_t Seed) {
  TRandomState& S = State();
  if (Seed != 0) {
    const std::int32_t R = Seed % 990923;  // C++ remainder keeps the sign of Seed
    const auto U = static_cast<std::uint32_t>(R);
    S.S1 = Abs32(R);
    S.S2 = Abs32(Wrap(U ^ (U << 8))) % 990923;
    S.S3 = Abs32(Wrap(U ^ (U << 16))) % 990923;
  }
  // Products stay below 2^31 for seeds below the moduli; wrap anyway for seeds that are not.
  S.S1 = Wrap(static_cast<std::uint32_t>(S.S1) * 1187U) % 1001003;
  S.S2 = Wrap(static_cast<std::uint32_t>(S.S2) * 983U) % 990923;
  S.S3 = Wrap(static_cast<std::uint32_t>(S.S3) * 1283U) % 1400423;
  const double E = S.S1 / 1001003.0 + S.S2 / 990923.0 + S.S3 / 1400423.0;
  return E - std::trunc(E);
}

}  // namespace NMX_math1
