// Central moments: the one kernel behind every mean, variance, skewness, kurtosis and
// correlation of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "nmx/config.h"

namespace NMX_math1 {

/// The count, the plain sum and the central sums of a sequence of numbers.
///
/// Sum is Σx in element order, rounded to double after each addition: the sum, and so the
/// mean Sum / N, that the statistics of the library promise. M2, M3 and M4 are the sums of
/// the second to fourth powers of the deviations from the mean. They are never formed from
/// raw power sums (Σx² - (Σx)²/n cancels every digit when the data share a large offset):
/// each block of 1024 values is taken about a shift close to its values, and the blocks are
/// merged by the pairwise update formulas (Chan, Golub and LeVeque; Pébay for M3 and M4).
///
/// Where the powers of the deviations would leave the range of normal doubles (data near
/// 1e160 or 1e-170), the deviations are scaled by a power of two, exactly, and Exponent
/// tells how: the true sums are M2·4^Exponent, M3·8^Exponent and M4·16^Exponent. Ratios of
/// them (a correlation, a skewness) need no rescaling; SampleVariance and SampleStdDev apply
/// it. On ordinary data Exponent is 0. Data without spread gives M2 = M3 = M4 = 0 exactly.
struct NMX_API TMoments {
  std::size_t N = 0;
  double Sum = 0.0;
  int Exponent = 0;
  double M2 = 0.0;
  double M3 = 0.0;
  double M4 = 0.0;

  /// M2 / (N - 1) at its true scale: infinite or 0 only where the variance itself leaves the
  /// double range. NaN for fewer than two values.
  double SampleVariance() const noexcept;
  /// The square root of SampleVariance, computed at the scale of the deviations, so it is
  /// right wherever the deviation is representable (the variance of data near 1e-170 is
  /// not, its root is). NaN for fewer than two values.
  double SampleStdDev() const noexcept;
};

/// The co-moments of two sequences of equal length: the plain sums and central sums of each,
/// and CXY, the sum of the products of the deviations from the two means. Scaled as in
/// TMoments, each sequence by its own power of two: the true sums are M2X·4^ExponentX,
/// M2Y·4^ExponentY and CXY·2^(ExponentX + ExponentY).
struct NMX_API TCoMoments {
  std::size_t N = 0;
  double SumX = 0.0;
  double SumY = 0.0;
  int ExponentX = 0;
  int ExponentY = 0;
  double M2X = 0.0;
  double M2Y = 0.0;
  double CXY = 0.0;

  /// Pearson's r, CXY / sqrt(M2X·M2Y), from the scaled sums (exact for exactly linear data
  /// wherever it is representable). NaN when either sequence has no spread.
  double Correlation() const noexcept;
};

/// Σx in element order and the central sums of X: M2 only for HighestOrder 2 (one pass, at
/// the cost of the plain sum), M2 to M4 for HighestOrder 4. An empty X gives all zeros.
NMX_API TMoments CentralMoments(std::span<const double> X, int HighestOrder = 2);
NMX_API TMoments CentralMoments(std::span<const std::int32_t> X, int HighestOrder = 2);

/// The same over a sequence that lies in pieces (the columns of a block of a 2-D array, say),
/// taken in the order given: Sum is the plain sum over all pieces in that order.
NMX_API TMoments CentralMoments(std::span<const std::span<const double>> Pieces,
                                int HighestOrder = 2);
NMX_API TMoments CentralMoments(std::span<const std::span<const std::int32_t>> Pieces,
                                int HighestOrder = 2);

/// The co-moments of X and Y over their common length min(|X|, |Y|).
NMX_API TCoMoments CoMoments(std::span<const double> X, std::span<const double> Y);
NMX_API TCoMoments CoMoments(std::span<const std::int32_t> X, std::span<const std::int32_t> Y);

}  // namespace NMX_math1
