// Signum, ceiling and floor to 32-bit integers.
#pragma once

#include "nmx/config.h"

namespace NMX_math1 {

/// -1 for x < 0, 1 otherwise: also 1 for 0, -0 and NaN (the result is never 0).
NMX_API int Signum(double x) noexcept;

/// The smallest integer >= x (ceiling). Results beyond the 32-bit range are clamped to it
/// (so +inf gives 2147483647 and -inf -2147483648); NaN gives 0.
NMX_API int IntPos(double x) noexcept;

/// The largest integer <= x (floor), clamped like `IntPos`; NaN gives 0.
NMX_API int IntNeg(double x) noexcept;

}  // namespace NMX_math1
