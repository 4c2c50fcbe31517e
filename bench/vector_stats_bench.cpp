// TVector::MeanVar and TVector::Sum of 10^7 doubles against the textbook loop over a
// std::vector<double> (Σx and Σx² in one pass), and TVector::Percentile(50) of 10^6 doubles
// against std::nth_element on a copy; Sum also against a plain summing loop. Bytes processed are
// reported, so the console shows GB/s; at the end the program prints the ratios of the mean times,
// nmx over the peer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "nmx/platform/random.h"
#include "nmx/vector/vector.h"
#include "support/ratio_main.h"

namespace {

constexpr int kLarge = 10000000;
constexpr int kMedium = 1000000;

// Measurements around 1e7 with a spread of about 1, the kind of data the deviation form is
// for; the timing does not depend on the values.
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

void BM_Sum_TVector(benchmark::State& State) {
  const NMX_vector::TVector& V = VectorOf(LargeData());
  for (auto _ : State) {
    double S = V.Sum(0, 0);
    benchmark::DoNotOptimize(S);
  }
  SetBytes(State, LargeData().size());
}

// The textbook one-pass loop: Σx and Σx², then (Σx² - (Σx)²/n) / (n - 1).
void BM_PlainLoop_StdVector(benchmark::State& State) {
  const std::vector<double>& D = LargeData();
  for (auto _ : State) {
    double S = 0.0, S2 = 0.0;
    for (const double X : D) {
      S += X;
      S2 += X * X;
    }
    const double N = static_cast<double>(D.size());
    double Mean = S / N;
    double Variance = (S2 - S * S / N) / (N - 1.0);
    benchmark::DoNotOptimize(Mean);
    benchmark::DoNotOptimize(Variance);
  }
  SetBytes(State, LargeData().size());
}

// The plain sum: one running total in element order, as Sum keeps it.
void BM_PlainSum_StdVector(benchmark::State& State) {
  const std::vector<double>& D = LargeData();
  for (auto _ : State) {
    double S = 0.0;
    for (const double X : D) S += X;
    benchmark::DoNotOptimize(S);
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
BENCHMARK(BM_Sum_TVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoop_StdVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSum_StdVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Percentile50_TVector)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NthElement_Copy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"MeanVar / textbook loop", "BM_MeanVar_TVector", "BM_PlainLoop_StdVector"},
       {"Sum / plain sum loop", "BM_Sum_TVector", "BM_PlainSum_StdVector"},
       {"Percentile(50) / nth_element", "BM_Percentile50_TVector", "BM_NthElement_Copy"}});
}
