// Runs a benchmark at one instruction-set level of the library's kernels (the argument of
// the benchmark: 0 baseline, 1 AVX2, 2 AVX-512), restoring the best level afterwards.
#pragma once

#include <benchmark/benchmark.h>

#include "math1/isa.h"

namespace nmx_bench {

class TIsaLevel {
 public:
  /// Sets the level State.range(0); Available() is false, and the benchmark is skipped, when
  /// the processor lacks it.
  explicit TIsaLevel(benchmark::State& State) {
    const auto Wanted = static_cast<NMX_math1::detail::TIsa>(State.range(0));
    FAvailable = NMX_math1::detail::SetIsa(Wanted) == Wanted;
    if (!FAvailable) State.SkipWithError("this processor lacks the instruction set");
  }
  ~TIsaLevel() { NMX_math1::detail::SetIsa(NMX_math1::detail::HostIsa()); }
  TIsaLevel(const TIsaLevel&) = delete;
  TIsaLevel& operator=(const TIsaLevel&) = delete;

  bool Available() const { return FAvailable; }

 private:
  bool FAvailable = false;
};

}  // namespace nmx_bench
