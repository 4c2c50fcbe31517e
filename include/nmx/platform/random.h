// The platform's uniform pseudo-random generator: one engine per thread.
#pragma once

#include <cstdint>

#include "nmx/config.h"

namespace NMX_platform {

/// A uniform draw in [0, 1) with 53 random bits, from this thread's engine.
NMX_API double Random() noexcept;

/// A uniform integer in [0, Range); 0 when Range <= 0.
NMX_API int Random(int Range) noexcept;

/// Reseed this thread's engine from the clock (and a per-call counter, so two calls in the
/// same clock tick still differ).
NMX_API void Randomize() noexcept;

/// The seed last set with `SetRandSeed` or drawn by `Randomize` on this thread.
NMX_API std::uint64_t RandSeed() noexcept;

/// Seed this thread's engine: the same seed gives the same sequence on every machine.
NMX_API void SetRandSeed(std::uint64_t Seed) noexcept;

}  // namespace NMX_platform
