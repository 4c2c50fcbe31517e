// Where a double falls in a row of equally wide histogram bins: the one bin rule behind the
// vector's histogram and the open arrays' frequency distributions.
#pragma once

#include <cmath>

namespace NMX_math1::detail {

/// Where a value goes in a histogram: a bin index >= 0, or one of these.
inline constexpr int kUnderflow = -1;
inline constexpr int kOverflow = -2;
inline constexpr int kNotCounted = -3;

/// NBins bins of width Width from First on. Values below First are underflow, values at or
/// above LastBin + Width (Top) overflow, NaN is counted nowhere, and every other value goes
/// to bin ⌊(x − First) / Width⌋.
struct TDoubleBins {
  double First;
  double Top;
  double Width;
  int NBins;

  int operator()(double X) const noexcept {
    if (X < First) return kUnderflow;
    if (X >= Top) return kOverflow;
    if (std::isnan(X)) return kNotCounted;
    const double B = std::floor((X - First) / Width);
    // When LastBin - First is not a whole number of bins, a value below Top can map just past
    // the last bin; it counts as overflow, so the bins keep their number and width.
    if (!(B < NBins)) return kOverflow;
    return static_cast<int>(B);
  }
};

}  // namespace NMX_math1::detail
