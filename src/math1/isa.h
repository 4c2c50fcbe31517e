// Instruction-set variants of the hot kernels. The library is compiled for the baseline of its
// target; on x86-64 the sort and the moments are compiled twice more, for AVX2 and for
// AVX-512, and the processor picks the body when the library loads. Every variant makes the
// same operations in the same order, so the results are the same bits on every processor.
#pragma once

#include <cstdint>

#include "nmx/config.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define NMX_ISA_VARIANTS 1
// flatten inlines the whole template body into the variant, so all of it is compiled for
// the wider instruction set; the bodies stay free of contraction (-ffp-contract=off).
#define NMX_TARGET_AVX2 __attribute__((target("avx2"), flatten))
#define NMX_TARGET_AVX512 \
  __attribute__((target("avx512f,avx512bw,avx512dq,avx512vl,avx2"), flatten))
#else
#define NMX_ISA_VARIANTS 0
#endif

namespace NMX_math1::detail {

/// The instruction-set levels with bodies of their own.
enum class TIsa : std::uint8_t { Baseline = 0, Avx2 = 1, Avx512 = 2 };

/// The level the kernels use: the best the processor and its operating system offer, unless
/// lowered with SetIsa.
NMX_API TIsa ActiveIsa() noexcept;

/// The best level this processor supports.
NMX_API TIsa HostIsa() noexcept;

/// Makes the kernels use Level, or HostIsa() where Level is above it; returns the level now
/// in use. For tests and benchmarks that compare the variants (exported for them).
NMX_API TIsa SetIsa(TIsa Level) noexcept;

}  // namespace NMX_math1::detail
