#include "nmx/math1/kahan.h"

namespace NMX_math1 {

TKahanSum::TKahanSum(NMX_platform::TComponent* AOwner) : NMX_platform::TComponent(AOwner) {
  Reset();
}

void TKahanSum::Reset() noexcept {
  Sum = 0.0;
  cps = 0.0;
}

// Out of line on purpose: the library is built without contraction and without fast-math, so
// every step below is rounded to double as written. Compiled inline in a caller built with
// -ffast-math, the compensation would be simplified away to 0.
void TKahanSum::Add(double ANumber) noexcept {
  const double Y = ANumber - cps;
  const double T = Sum + Y;
  cps = (T - Sum) - Y;
  Sum = T;
}

}  // namespace NMX_math1
