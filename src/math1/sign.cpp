#include "nmx/math1/sign.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace NMX_math1 {
namespace {

// An integral double converted to int without the undefined behaviour of an out-of-range
// conversion: clamped to the 32-bit range, NaN to 0.
int ClampToInt(double Integral) noexcept {
  if (std::isnan(Integral)) return 0;
  if (Integral >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (Integral <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<int>(Integral);
}

}  // namespace

int Signum(double x) noexcept {
  return x < 0.0 ? -1 : 1;
}

int IntPos(double x) noexcept {
  return ClampToInt(std::ceil(x));
}

int IntNeg(double x) noexcept {
  return ClampToInt(std::floor(x));
}

}  // namespace NMX_math1
