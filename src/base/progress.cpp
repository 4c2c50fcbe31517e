#include "nmx/base/progress.h"

namespace NMX_nmxbase {

double ProcStat = 0.0;
std::function<void(double)> MathFeedBackProc;
std::atomic<bool> AbortMathProc{false};

void StepProgress() {
  ProcStat += 1.0;
  if (MathFeedBackProc) MathFeedBackProc(ProcStat);
}

}  // namespace NMX_nmxbase
