// Polynomial evaluation.
#pragma once

#include <span>

#include "nmx/config.h"

namespace NMX_math1 {

/// Sum of Coeffs[k] * x^k for k = 0..Order, summed from k = 0 upwards with the power built by
/// repeated multiplication (not Horner's scheme, so the rounding differs from it).
/// Throws `ENMXMath1Error` "Polynomial: invalid order of polynomial" unless
/// 0 <= Order <= High(Coeffs).
NMX_API double Polynomial(std::span<const double> Coeffs, int Order, double x);

/// The same in powers of (x - Center); throws the same error, with the same message.
NMX_API double CenteredPolynomial(std::span<const double> Coeffs, int Order, double Center,
                                  double x);

}  // namespace NMX_math1
