#include "nmx/base/progress.h"

namespace NMX_nmxbase {

std::atomic<double> ProcStat{0.0};
std::function<void(double)> MathFeedBackProc;
std::atomic<bool> AbortMathProc{false};

void StepProgress() {
  const double Stat = ProcStat.fetch_add(1.0, std::memory_order_relaxed) + 1.0;
  if (MathFeedBackProc) MathFeedBackProc(Stat);
}

}  // namespace NMX_nmxbase
