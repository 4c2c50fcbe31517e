// The process-wide progress counter, progress procedure and abort flag of long computations.
#pragma once

#include <atomic>
#include <functional>

#include "nmx/config.h"

namespace NMX_nmxbase {

/// Counter of passes made by long loops; each pass adds 1, then calls `MathFeedBackProc`.
/// One counter for the process, as callers expect; its updates are atomic, so statistics
/// computed in several threads at once (each sorting its own copy) count every pass and race
/// on nothing. Read it with load() or by conversion to double.
NMX_API extern std::atomic<double> ProcStat;

/// Called with `ProcStat` after each pass when set; unset at start. Set it before starting
/// threads that report progress: it is read, never locked.
NMX_API extern std::function<void(double)> MathFeedBackProc;

/// When true, abortable loops stop with a failure result. Atomic, so another thread (a user
/// interface, a watchdog) may set it while a computation runs.
NMX_API extern std::atomic<bool> AbortMathProc;

/// Add one pass to `ProcStat` and report the new count to `MathFeedBackProc` if that is set.
NMX_API void StepProgress();

}  // namespace NMX_nmxbase
