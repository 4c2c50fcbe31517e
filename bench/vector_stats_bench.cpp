// Vector statistics against correct peers on the same data, measurements around 1e7 with a
// spread of 1 (the data the deviation form is for):
// - TVector::MeanVar of 10^7 doubles against Eigen's two-pass form (the mean, then the squared
//   norm of the centred vector), against a plain streaming read (Eigen's sum, which may
//   reorder its additions: the memory bandwidth bound) and against the sum in element order.
//   MeanVar promises that sum, a chain of dependent additions, which no wider instruction set
//   can shorten; the deviations are formed in its shadow.
// - SkewKurt (the fourth-order moments) and PearsonCorrCoeff against Eigen's two-pass forms,
//   and the fourth-order moments kernel at each instruction-set level.
// - Percentile(50) of 10^6 doubles against std::nth_element on a copy.
#include <benchmark/benchmark.h>

#include <Eigen/Core>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "nmx/math1/moments.h"
#include "nmx/platform/random.h"
#include "nmx/vector/vector.h"
#include "support/isa_level.h"
#include "support/ratio_main.h"

namespace {

constexpr int kLarge = 10000000;
constexpr int kMedium = 1000000;

std::vector<double> MakeData(int N, std::uint64_t Seed) {
  NMX_platform::SetRandSeed(Seed);
  std::vector<double> D(static_cast<std::size_t>(N));
  for (double& X : D) X = 1e7 + NMX_platform::Random() * 2.0 - 1.0;
  return D;
}

const std::vector<double>& LargeData() {
  static const std::vector<double> Data = MakeData(kLarge, 20240701);
  return Data;
}

const std::vector<double>& OtherLargeData() {
  static const std::vector<double> Data = MakeData(kLarge, 20240703);
  return Data;
}

const std::vector<double>& MediumData() {
  static const std::vector<double> Data = MakeData(kMedium, 20240702);
  return Data;
}

// A vector holding Data; filled once, outside every timed region.
const NMX_vector::TVector& VectorOf(const std::vector<double>& Data) {
  static std::map<const std::vector<double>*, std::unique_ptr<NMX_vector::TVector>> Vectors;
  auto& V = Vectors[&Data];
  if (!V) {
    V = std::make_unique<NMX_vector::TVector>();
    V->Resize(static_cast<int>(Data.size()));
    V->CopyFrom(Data, 0, 0, 1);
  }
  return *V;
}

Eigen::Map<const Eigen::VectorXd> EigenOf(const std::vector<double>& D) {
  return {D.data(), static_cast<Eigen::Index>(D.size())};
}

void SetBytes(benchmark::State& State, std::size_t N) {
  State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(N * sizeof(double)));
}

void BM_MeanVar_TVector(benchmark::State& State) {
  const NMX_vector::TVector& V = VectorOf(LargeData());
  for (auto _ : State) {
    double Mean = 0.0, Variance = 0.0;
    V.MeanVar(0, 0, Mean, Variance);
    benchmark::DoNotOptimize(Mean);
    benchmark::DoNotOptimize(Variance);
  }
  SetBytes(State, LargeData().size());
}

// The two-pass peer: the mean, then the squared norm of the centred vector.
void BM_MeanVar_EigenTwoPass(benchmark::State& State) {
  const auto X = EigenOf(LargeData());
  for (auto _ : State) {
    const double Mean = X.mean();
    double Variance = (X.array() - Mean).matrix().squaredNorm() / static_cast<double>(X.size() - 1);
    benchmark::DoNotOptimize(Mean);
    benchmark::DoNotOptimize(Variance);
  }
  SetBytes(State, LargeData().size());
}

// The sum in element order, one dependent addition after the other: what the mean alone
// costs, and so the least a mean and variance can cost.
void BM_InOrderSum(benchmark::State& State) {
  const std::vector<double>& D = LargeData();
  for (auto _ : State) {
    double S = 0.0;
    for (const double X : D) S += X;
    benchmark::DoNotOptimize(S);
  }
  SetBytes(State, D.size());
}

// One streaming read: the bound that memory sets.
void BM_StreamingRead_EigenSum(benchmark::State& State) {
  const auto X = EigenOf(LargeData());
  for (auto _ : State) {
    double S = X.sum();
    benchmark::DoNotOptimize(S);
  }
  SetBytes(State, LargeData().size());
}

void BM_SkewKurt_TVector(benchmark::State& State) {
  const NMX_vector::TVector& V = VectorOf(LargeData());
  for (auto _ : State) {
    double Skew = 0.0, Kurt = 0.0;
    V.SkewKurt(0, 0, Skew, Kurt);
    benchmark::DoNotOptimize(Skew);
    benchmark::DoNotOptimize(Kurt);
  }
  SetBytes(State, LargeData().size());
}

// The two-pass peer of SkewKurt: the mean, then the sums of the second to fourth powers of
// the deviations.
void BM_SkewKurt_EigenTwoPass(benchmark::State& State) {
  const auto X = EigenOf(LargeData());
  for (auto _ : State) {
    const double N = static_cast<double>(X.size());
    const auto D = X.array() - X.mean();
    const double M2 = D.square().sum(), M3 = D.cube().sum(), M4 = D.square().square().sum();
    const double S = std::sqrt(M2 / (N - 1.0));
    double Skew = M3 / N / (S * S * S);
    double Kurt = M4 / N / (S * S * S * S) - 3.0;
    benchmark::DoNotOptimize(Skew);
    benchmark::DoNotOptimize(Kurt);
  }
  SetBytes(State, LargeData().size());
}

void BM_Pearson_TVector(benchmark::State& State) {
  const NMX_vector::TVector& X = VectorOf(LargeData());
  const NMX_vector::TVector& Y = VectorOf(OtherLargeData());
  for (auto _ : State) {
    double R = X.PearsonCorrCoeff(&Y);
    benchmark::DoNotOptimize(R);
  }
  SetBytes(State, 2 * LargeData().size());
}

void BM_Pearson_EigenTwoPass(benchmark::State& State) {
  const auto X = EigenOf(LargeData());
  const auto Y = EigenOf(OtherLargeData());
  for (auto _ : State) {
    const auto DX = (X.array() - X.mean()).matrix();
    const auto DY = (Y.array() - Y.mean()).matrix();
    double R = DX.dot(DY) / std::sqrt(DX.squaredNorm() * DY.squaredNorm());
    benchmark::DoNotOptimize(R);
  }
  SetBytes(State, 2 * LargeData().size());
}

// The fourth-order moments kernel at one instruction-set level (0, 1, 2).
void BM_Moments4_Isa(benchmark::State& State) {
  const nmx_bench::TIsaLevel Level(State);
  if (!Level.Available()) return;
  for (auto _ : State) {
    const NMX_math1::TMoments M = NMX_math1::CentralMoments(LargeData(), 4);
    benchmark::DoNotOptimize(M.M4);
  }
  SetBytes(State, LargeData().size());
}

void BM_Percentile50_TVector(benchmark::State& State) {
  const NMX_vector::TVector& V = VectorOf(MediumData());
  for (auto _ : State) {
    double P = V.Percentile(50.0, 0, 0);
    benchmark::DoNotOptimize(P);
  }
  SetBytes(State, MediumData().size());
}

// The peer's median: copy, nth_element for the lower middle, then the smallest of the upper
// part for the interpolation, as Percentile(50) interpolates between the two middle values.
void BM_NthElement_Copy(benchmark::State& State) {
  const std::vector<double>& D = MediumData();
  std::vector<double> Work(D.size());
  for (auto _ : State) {
    std::copy(D.begin(), D.end(), Work.begin());
    const double Pos = static_cast<double>(Work.size() - 1) * 0.5;
    const auto K = static_cast<std::ptrdiff_t>(Pos);
    std::nth_element(Work.begin(), Work.begin() + K, Work.end());
    const double Lo = Work[static_cast<std::size_t>(K)];
    const double Hi = *std::min_element(Work.begin() + K + 1, Work.end());
    double P = Lo + (Hi - Lo) * (Pos - static_cast<double>(K));
    benchmark::DoNotOptimize(P);
  }
  SetBytes(State, MediumData().size());
}

BENCHMARK(BM_MeanVar_TVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeanVar_EigenTwoPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InOrderSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamingRead_EigenSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkewKurt_TVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkewKurt_EigenTwoPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pearson_TVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pearson_EigenTwoPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Moments4_Isa)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Percentile50_TVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NthElement_Copy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"MeanVar / Eigen two-pass", "BM_MeanVar_TVector", "BM_MeanVar_EigenTwoPass"},
       {"MeanVar / streaming read", "BM_MeanVar_TVector", "BM_StreamingRead_EigenSum"},
       {"MeanVar / in-order sum", "BM_MeanVar_TVector", "BM_InOrderSum"},
       {"SkewKurt / Eigen two-pass", "BM_SkewKurt_TVector", "BM_SkewKurt_EigenTwoPass"},
       {"SkewKurt / MeanVar", "BM_SkewKurt_TVector", "BM_MeanVar_TVector"},
       {"PearsonCorrCoeff / Eigen two-pass", "BM_Pearson_TVector", "BM_Pearson_EigenTwoPass"},
       {"moments to M4, AVX2/baseline", "BM_Moments4_Isa/1", "BM_Moments4_Isa/0"},
       {"moments to M4, AVX-512/baseline", "BM_Moments4_Isa/2", "BM_Moments4_Isa/0"},
       {"Percentile(50) / nth_element", "BM_Percentile50_TVector", "BM_NthElement_Copy"}});
}
