#include "nmx/base/colors.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace NMX_nmxcolors {
namespace {

int Clamp255(int C) {
  return std::clamp(C, 0, 255);
}

}  // namespace

int RGBtoGray(int R, int G, int B) noexcept {
  // In thousandths the weights are exact integers, so ties (0.114 * 250 = 28.5) are ties.
  const int N = 299 * Clamp255(R) + 587 * Clamp255(G) + 114 * Clamp255(B);
  int Q = N / 1000;
  const int Rem = N % 1000;
  if (Rem > 500 || (Rem == 500 && Q % 2 != 0)) ++Q;
  return Q;
}

void RGBtoHSI(int R, int G, int B, double& H, double& S, double& I) noexcept {
  const int Rc = Clamp255(R), Gc = Clamp255(G), Bc = Clamp255(B);
  const int Sum = Rc + Gc + Bc;
  I = Sum / 3.0;
  // 1 - min/I written as (Sum - 3 min) / Sum: integers exact, one rounding.
  S = Sum == 0 ? 0.0 : static_cast<double>(Sum - 3 * std::min({Rc, Gc, Bc})) / Sum;
  if (Rc == Gc && Gc == Bc) {
    H = 0.0;
    return;
  }
  // The textbook arccos form cos H = ((R - G) + (R - B)) / (2 sqrt((R - G)^2 + (R - B)(G - B)))
  // is the angle of the projection (2R - G - B, sqrt(3) (G - B)); atan2 gives it without the
  // argument drifting outside [-1, 1] and without the case split on B > G.
  double Deg =
      std::atan2(std::numbers::sqrt3 * (Gc - Bc), 2 * Rc - Gc - Bc) * (180.0 / std::numbers::pi);
  if (Deg < 0.0) Deg += 360.0;
  H = Deg >= 360.0 ? 0.0 : Deg;
}

}  // namespace NMX_nmxcolors
