// The main of every benchmark program: the console output as usual, then for each listed
// pair the ratio of the mean real times per iteration, nmx over its peer.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace nmx_bench {

/// One line of the closing summary: "ratio <What>: <time of Ours / time of Peer>".
struct TRatio {
  const char* What;
  const char* Ours;
  const char* Peer;
};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Plain text: the output usually ends up in a log.
  RatioReporter() : benchmark::ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& R : Runs) {
      if (R.error_occurred) continue;
      if (R.run_type == Run::RT_Iteration) {
        TTotal& T = FTimes[R.run_name.function_name];
        T.Time += R.GetAdjustedRealTime();
        T.Count += 1;
      } else if (R.aggregate_name == "mean") {
        FMeans[R.run_name.function_name] = R.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(Runs);
  }

  /// Mean time of A over mean time of B; negative when either did not run.
  double Ratio(const std::string& A, const std::string& B) const {
    const double TA = Mean(A), TB = Mean(B);
    return TA > 0.0 && TB > 0.0 ? TA / TB : -1.0;
  }

 private:
  struct TTotal {
    double Time = 0.0;
    int Count = 0;
  };
  std::map<std::string, TTotal> FTimes;
  std::map<std::string, double> FMeans;

  // From the runs, or from the "mean" aggregate when only aggregates are reported.
  double Mean(const std::string& Name) const {
    if (const auto I = FTimes.find(Name); I != FTimes.end())
      return I->second.Time / I->second.Count;
    if (const auto I = FMeans.find(Name); I != FMeans.end()) return I->second;
    return -1.0;
  }
};

/// Runs the registered benchmarks and prints the ratios; returns main's exit code.
inline int RunWithRatios(int argc, char** argv, std::initializer_list<TRatio> Ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();
  for (const TRatio& R : Ratios) {
    const double Value = Reporter.Ratio(R.Ours, R.Peer);
    if (Value >= 0.0) std::printf("ratio %s: %.2f\n", R.What, Value);
  }
  return 0;
}

}  // namespace nmx_bench
