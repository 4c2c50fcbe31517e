#include "nmx/openarrays/rescale.h"

#include <array>
#include <cmath>
#include <limits>

#include "nmx/math1/moments.h"
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

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
      const NMX_math1::TMoments M = BoxMoments(A, BoxLo, BoxHi);
      S = M.Sum / static_cast<double>(M.N);
      F = Mode == rsmMeanCenter ? 1.0 : M.N >= 2 ? M.SampleStdDev() : 0.0;
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

template <class Arr>
requires ArrayOf<Arr, double, 1, 1>
int RescaleArray(Arr& A, int Lo, int Hi, TRescaleMode Mode, double& Shift, double& Scale) {
  return detail::RescaleBody(A, {Lo}, {Hi}, Mode, Shift, Scale);
}

template <class Arr>
requires ArrayOf<Arr, double, 2, 2>
int RescaleArray(Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, TRescaleMode Mode,
                 double& Shift, double& Scale) {
  return detail::RescaleBody(A, {LoCol, LoRow}, {HiCol, HiRow}, Mode, Shift, Scale);
}

// The members of the family, compiled here.
template int RescaleArray<detail::TDoubleArray>(detail::TDoubleArray&, int, int, TRescaleMode,
                                                double&, double&);
template int RescaleArray<detail::TDouble2DArray>(detail::TDouble2DArray&, int, int, int, int,
                                                  TRescaleMode, double&, double&);

}  // namespace NMX_openarrays
