// The library's own random variates: Bernoulli, Cauchy, normal, and a combined congruential
// generator.
#pragma once

#include <cstdint>

#include "nmx/config.h"

namespace NMX_math1 {

/// True with probability Prob: always for Prob >= 1, never for Prob <= 0.
NMX_API bool BRandom(double Prob);

/// A Cauchy variate: Location + Scale * tan(pi * (u - 0.5)).
NMX_API double CRandom(double Location, double Scale);

/// Two independent standard normal variates by the polar method: draws p, q uniform in
/// (-1, 1) (in this order) until s = p^2 + q^2 lies in (0, 1), then Z1 = p f and Z2 = q f with
/// f = sqrt(-2 ln s / s). No state is kept.
NMX_API void PolarNormalPair(double& Z1, double& Z2) noexcept;

/// A standard normal variate by the polar method. Values come in pairs; the second of a pair
/// is kept for the next call (per thread).
NMX_API double GRandom();

/// A combined multiplicative congruential generator with three seeds, in [0, 1). A nonzero
/// Seed restarts the sequence from that seed; Seed 0 continues it. The seeds are per thread,
/// started from the platform's generator.
NMX_API double LongRand(std::int32_t Seed);

}  // namespace NMX_math1
