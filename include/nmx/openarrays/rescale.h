// Open-array functions: rescaling a range of a double array (to the unit interval, to zero
// mean and unit deviation, ...), reporting the shift and scale used so that it can be undone.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "nmx/openarrays/detail/nd.h"
#include "nmx/openarrays/stats.h"

namespace NMX_openarrays {

/// How RescaleArray maps the elements x of a range onto x' = (x - Shift) / Scale.
enum TRescaleMode : std::uint8_t {
  rsmMinMax = 0,       ///< Shift = minimum, Scale = maximum - minimum: onto [0, 1]
  rsmStandardize = 1,  ///< Shift = mean, Scale = sample standard deviation (divisor n - 1)
  rsmMeanCenter = 2,   ///< Shift = mean, Scale = 1
  rsmMaxAbs = 3        ///< Shift = 0, Scale = the largest |x|: onto [-1, 1]
};

namespace detail {

template <class Arr>
int RescaleBody(Arr& A, const std::array<int, RankOf<Arr>>& Lo,
                const std::array<int, RankOf<Arr>>& Hi, TRescaleMode Mode, double& Shift,
                double& Scale) {
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  double S = 0.0, F = 1.0;
  switch (Mode) {
    case rsmMinMax: {
      // fmin and fmax pass over NaN elements.
      double Mn = std::numeric_limits<double>::infinity(), Mx = -Mn;
      ForEachInBox(A, BoxLo, BoxHi, [&](double X, const auto&) {
        Mn = std::fmin(Mn, X);
        Mx = std::fmax(Mx, X);
      });
      S = Mn;
      F = Mx - Mn;
      break;
    }
    case rsmStandardize:
    case rsmMeanCenter: {
      double Variance = 0.0;
      BoxMeanVar(A, BoxLo, BoxHi, S, Variance);
      F = Mode == rsmStandardize ? std::sqrt(Variance) : 1.0;
      break;
    }
    case rsmMaxAbs: {
      double Mx = 0.0;
      ForEachInBox(A, BoxLo, BoxHi,
                   [&Mx](double X, const auto&) { Mx = std::fmax(Mx, std::fabs(X)); });
      F = Mx;
      break;
    }
    default:
      return -3;
  }
  if (!std::isfinite(S) || !std::isfinite(F) || !(F > 0.0)) return -4;
  ForEachInBox(A, BoxLo, BoxHi, [S, F](double& X, const auto&) { X = (X - S) / F; });
  Shift = S;
  Scale = F;
  return 0;
}

}  // namespace detail

/// Rescales the elements of A[Lo..Hi] in place to x' = (x - Shift) / Scale, with Shift and
/// Scale taken from the range as Mode says, and reports both (x = x'·Scale + Shift undoes it).
/// Returns 0; -1 for an empty A; -2 when a bound lies outside A or Lo > Hi; -3 for an unknown
/// Mode; -4 when the scale is 0 or not finite (a constant range, a single element for
/// rsmStandardize, infinities). On a nonzero status nothing is changed, Shift and Scale
/// included.
template <class Arr>
requires detail::ArrayOf<Arr, double, 1, 1>
int RescaleArray(Arr& A, int Lo, int Hi, TRescaleMode Mode, double& Shift, double& Scale) {
  return detail::RescaleBody(A, {Lo}, {Hi}, Mode, Shift, Scale);
}

/// RescaleArray over the block [LoCol..HiCol][LoRow..HiRow] of a 2-D A; as the 1-D member.
template <class Arr>
requires detail::ArrayOf<Arr, double, 2, 2>
int RescaleArray(Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, TRescaleMode Mode,
                 double& Shift, double& Scale) {
  return detail::RescaleBody(A, {LoCol, LoRow}, {HiCol, HiRow}, Mode, Shift, Scale);
}

}  // namespace NMX_openarrays
