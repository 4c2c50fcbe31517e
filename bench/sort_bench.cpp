// SortArray (comb sort) against std::sort on 10^6 doubles of five shapes: random (std::sort's
// hardest case, where the comb sort does best), sorted, reversed, nearly sorted and few
// distinct values (where std::sort is quick and the comb sort still makes all its passes),
// and on random 32-bit integers. Each iteration sorts a fresh copy; the copy is outside the
// timed region. The instruction-set bodies of the sort are compared on random doubles too.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "nmx/math1/sort.h"
#include "nmx/platform/random.h"
#include "support/isa_level.h"
#include "support/ratio_main.h"

namespace {

constexpr std::size_t kSize = 1000000;

enum TShape : int { shRandom, shSorted, shReversed, shNearlySorted, shFewDistinct };

std::vector<double> MakeDoubles(TShape Shape) {
  NMX_platform::SetRandSeed(20240611);
  std::vector<double> D(kSize);
  for (double& X : D) X = NMX_platform::Random() * 2e6 - 1e6;
  switch (Shape) {
    case shRandom:
      break;
    case shSorted:
      std::sort(D.begin(), D.end());
      break;
    case shReversed:
      std::sort(D.begin(), D.end(), std::greater<>());
      break;
    case shNearlySorted:
      // Sorted, then 1 % of the elements exchanged with a random partner.
      std::sort(D.begin(), D.end());
      for (std::size_t K = 0; K < kSize / 100; ++K) {
        std::swap(D[static_cast<std::size_t>(NMX_platform::Random(static_cast<int>(kSize)))],
                  D[static_cast<std::size_t>(NMX_platform::Random(static_cast<int>(kSize)))]);
      }
      break;
    case shFewDistinct:
      for (double& X : D) X = static_cast<double>(NMX_platform::Random(10));
      break;
  }
  return D;
}

const std::vector<double>& Doubles(TShape Shape) {
  static std::vector<std::vector<double>> Cache(5);
  auto& D = Cache[static_cast<std::size_t>(Shape)];
  if (D.empty()) D = MakeDoubles(Shape);
  return D;
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

void BM_SortArray(benchmark::State& State) {
  TimeSort(State, Doubles(static_cast<TShape>(State.range(0))),
           [](std::vector<double>& D) { NMX_math1::SortArray(D, true); });
}
void BM_StdSort(benchmark::State& State) {
  TimeSort(State, Doubles(static_cast<TShape>(State.range(0))),
           [](std::vector<double>& D) { std::sort(D.begin(), D.end()); });
}
void BM_SortArray_Int32(benchmark::State& State) {
  TimeSort(State, Integers(), [](std::vector<std::int32_t>& D) { NMX_math1::SortArray(D, true); });
}
void BM_StdSort_Int32(benchmark::State& State) {
  TimeSort(State, Integers(), [](std::vector<std::int32_t>& D) { std::sort(D.begin(), D.end()); });
}

// The sort at one instruction-set level (0 baseline, 1 AVX2, 2 AVX-512), on random doubles.
void BM_SortArray_Isa(benchmark::State& State) {
  const nmx_bench::TIsaLevel Level(State);
  if (!Level.Available()) return;
  TimeSort(State, Doubles(shRandom), [](std::vector<double>& V) { NMX_math1::SortArray(V, true); });
}

BENCHMARK(BM_SortArray)->DenseRange(shRandom, shFewDistinct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort)->DenseRange(shRandom, shFewDistinct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortArray_Int32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort_Int32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortArray_Isa)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"SortArray/std::sort, random doubles", "BM_SortArray/0", "BM_StdSort/0"},
       {"SortArray/std::sort, sorted", "BM_SortArray/1", "BM_StdSort/1"},
       {"SortArray/std::sort, reversed", "BM_SortArray/2", "BM_StdSort/2"},
       {"SortArray/std::sort, nearly sorted", "BM_SortArray/3", "BM_StdSort/3"},
       {"SortArray/std::sort, few distinct", "BM_SortArray/4", "BM_StdSort/4"},
       {"SortArray/std::sort, random int32", "BM_SortArray_Int32", "BM_StdSort_Int32"},
       {"SortArray AVX2/baseline", "BM_SortArray_Isa/1", "BM_SortArray_Isa/0"},
       {"SortArray AVX-512/baseline", "BM_SortArray_Isa/2", "BM_SortArray_Isa/0"}});
}
