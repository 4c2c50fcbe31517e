// SortArray (comb sort) against std::sort on the same 10^6 random doubles and 32-bit integers.
// Every iteration sorts a fresh copy of the data; the copy is outside the timed region. At the
// end the program prints the ratio of the mean times, SortArray over std::sort.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "nmx/math1/sort.h"
#include "nmx/platform/random.h"
#include "support/ratio_main.h"

namespace {

constexpr std::size_t kSize = 1000000;

const std::vector<double>& Doubles() {
  static const std::vector<double> Data = [] {
    NMX_platform::SetRandSeed(20240611);
    std::vector<double> D(kSize);
    for (double& X : D) X = NMX_platform::Random() * 2e6 - 1e6;
    return D;
  }();
  return Data;
}

const std::vector<std::int32_t>& Integers() {
  static const std::vector<std::int32_t> Data = [] {
    NMX_platform::SetRandSeed(20240612);
    std::vector<std::int32_t> D(kSize);
    // The whole 32-bit range: u * 2^32 - 2^31 lies in [-2^31, 2^31).
    for (std::int32_t& X : D) {
      X = static_cast<std::int32_t>(NMX_platform::Random() * 4294967296.0 - 2147483648.0);
    }
    return D;
  }();
  return Data;
}

template <typename T, typename Sorter>
void TimeSort(benchmark::State& State, const std::vector<T>& Source, Sorter Sort) {
  std::vector<T> Work(Source.size());
  for (auto _ : State) {
    State.PauseTiming();
    std::copy(Source.begin(), Source.end(), Work.begin());
    State.ResumeTiming();
    Sort(Work);
    benchmark::DoNotOptimize(Work.data());
    benchmark::ClobberMemory();
  }
  if (!std::is_sorted(Work.begin(), Work.end())) State.SkipWithError("result is not sorted");
  State.SetItemsProcessed(State.iterations() * static_cast<std::int64_t>(Source.size()));
}

void BM_SortArray_Double(benchmark::State& State) {
  TimeSort(State, Doubles(), [](std::vector<double>& D) { NMX_math1::SortArray(D, true); });
}
void BM_StdSort_Double(benchmark::State& State) {
  TimeSort(State, Doubles(), [](std::vector<double>& D) { std::sort(D.begin(), D.end()); });
}
void BM_SortArray_Int32(benchmark::State& State) {
  TimeSort(State, Integers(), [](std::vector<std::int32_t>& D) { NMX_math1::SortArray(D, true); });
}
void BM_StdSort_Int32(benchmark::State& State) {
  TimeSort(State, Integers(), [](std::vector<std::int32_t>& D) { std::sort(D.begin(), D.end()); });
}

BENCHMARK(BM_SortArray_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortArray_Int32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort_Int32)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"SortArray/std::sort (double)", "BM_SortArray_Double", "BM_StdSort_Double"},
       {"SortArray/std::sort (int32)", "BM_SortArray_Int32", "BM_StdSort_Int32"}});
}
