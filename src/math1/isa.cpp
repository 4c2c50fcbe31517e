#include "math1/isa.h"

#include <atomic>

namespace NMX_math1::detail {
namespace {

TIsa Detect() noexcept {
#if NMX_ISA_VARIANTS
  // The checks include the operating system's support for the wider registers.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl")) {
    return TIsa::Avx512;
  }
  if (__builtin_cpu_supports("avx2")) return TIsa::Avx2;
#endif
  return TIsa::Baseline;
}

// Read on every kernel call; relaxed is enough, since each level gives the same results.
std::atomic<TIsa>& Active() noexcept {
  static std::atomic<TIsa> Level{HostIsa()};
  return Level;
}

}  // namespace

TIsa HostIsa() noexcept {
  static const TIsa Host = Detect();
  return Host;
}

TIsa ActiveIsa() noexcept {
  return Active().load(std::memory_order_relaxed);
}

TIsa SetIsa(TIsa Level) noexcept {
  if (Level > HostIsa()) Level = HostIsa();
  Active().store(Level, std::memory_order_relaxed);
  return Level;
}

}  // namespace NMX_math1::detail
