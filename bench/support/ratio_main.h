// The main of every benchmark program: the console output as usual, then for each listed
// pair the ratio of the median CPU times per iteration, nmx over its peer. Unless the command
// line says otherwise, each benchmark is repeated 7 times and only the aggregates are shown.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace nmx_bench {

/// One line of the closing summary: "ratio <What>: <median CPU time of Ours / of Peer>".
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
      const std::string Name = R.run_name.function_name + Args(R);
      if (R.run_type == Run::RT_Aggregate && R.aggregate_name == "median") {
        FMedians[Name] = R.GetAdjustedCPUTime();
      } else if (R.run_type == Run::RT_Iteration) {
        FSingles[Name] = R.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(Runs);
  }

  /// Median CPU time of A over that of B (a single run's time without repetitions); negative
  /// when either did not run.
  double Ratio(const std::string& A, const std::string& B) const {
    const double TA = Time(A), TB = Time(B);
    return TA > 0.0 && TB > 0.0 ? TA / TB : -1.0;
  }

 private:
  // "/<args>" of a benchmark with arguments, so that "BM_Sort/3" can be named in a ratio.
  static std::string Args(const Run& R) {
    return R.run_name.args.empty() ? std::string() : "/" + R.run_name.args;
  }

  double Time(const std::string& Name) const {
    if (const auto I = FMedians.find(Name); I != FMedians.end()) return I->second;
    if (const auto I = FSingles.find(Name); I != FSingles.end()) return I->second;
    return -1.0;
  }

  std::map<std::string, double> FMedians;
  std::map<std::string, double> FSingles;
};

/// Runs the registered benchmarks and prints the ratios; returns main's exit code.
inline int RunWithRatios(int argc, char** argv, std::initializer_list<TRatio> Ratios) {
  // Repetitions by default: the median is robust against a busy neighbour on a shared
  // machine. Flags given on the command line come later and win.
  std::vector<char*> Args(argv, argv + argc);
  static char Repetitions[] = "--benchmark_repetitions=7";
  static char AggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  Args.insert(Args.begin() + 1, {Repetitions, AggregatesOnly});
  int Count = static_cast<int>(Args.size());
  benchmark::Initialize(&Count, Args.data());
  if (benchmark::ReportUnrecognizedArguments(Count, Args.data())) return 1;
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
