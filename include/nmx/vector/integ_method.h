// TIntegMethod, the rule TVector::Integrate applies to the sampled values.
#pragma once

#include <cstdint>

namespace NMX_vector {

/// How TVector::Integrate integrates its samples: the mean value times the width
/// (imSimple), trapezoids (imTrapezoidal), or the Simpson family of rules (imSimpson). The
/// ordinals are fixed.
enum TIntegMethod : std::uint8_t { imSimple = 0, imTrapezoidal = 1, imSimpson = 2 };

}  // namespace NMX_vector
