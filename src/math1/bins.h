// Where a double falls in a row of equally wide histogram bins: the one bin rule behind the
// vector's histogram and the open arrays' frequency distributions.
#pragma once

#include <cmath>

namespace NMX_math1::detail {

/// Where a value goes in a histogram: a bin index >= 0, or one of these.
inline constexpr int kUnderflow = -1;
inline constexpr int kOverflow = -2;
inline constexpr int kNotCounted = -3;

/// The number of bins round(|LastBin - FirstBin| / BinWidth) + 1 of a double histogram, or 0
/// when that is not 1..MaxBins (a BinWidth that is not > 0 and NaN anywhere included).
inline int DoubleBinCount(double FirstBin, double LastBin, double BinWidth,
                          double MaxBins = 500.0) noexcept {
  if (!(BinWidth > 0.0)) return 0;
  const double Bins = std::nearbyint(std::fabs(LastBin - FirstBin) / BinWidth) + 1.0;
  if (!(Bins <= MaxBins)) return 0;
  return static_cast<int>(Bins);
}

/// NBins bins of width Width from First on. Values below First are underflow, values at or
/// above LastBin + Width (Top) overflow, NaN goes to NaNGoes (counted nowhere unless a caller
/// says otherwise), and every other value goes to bin ⌊(x − First) / Width⌋.
struct TDoubleBins {
  double First;
  double Top;
  double Width;
  int NBins;
  int NaNGoes = kNotCounted;

  int operator()(double X) const noexcept {
    if (X < First) return kUnderflow;
    if (X >= Top) return kOverflow;
    if (std::isnan(X)) return NaNGoes;
    const double B = std::floor((X - First) / Width);
    // When LastBin - First is not a whole number of bins, a value below Top can map just past
    // the last bin; it counts as overflow, so the bins keep their number and width.
    if (!(B < NBins)) return kOverflow;
    return static_cast<int>(B);
  }
};

}  // namespace NMX_math1::detail
