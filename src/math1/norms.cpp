#include "nmx/math1/norms.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>

namespace NMX_math1 {
namespace {

// Inside these bounds no square overflowed, and squares that underflowed lost at most
// n · 2^-1075 together, far below the last digit of the sum. Outside them the plain sum may
// be infinite or 0 (or short of digits) although its root is representable.
constexpr double kLowestSafeSum = 0x1p-970;

// The root of Σ d(i)², d(i) = Diff(i) for i < N, taken plainly and, where that sum leaves the
// safe range, again with every difference scaled by the power of two that brings the largest
// one into [0.5, 1): the scaling is exact, squares far below the largest one cannot matter,
// and the sum is at most N.
template <class Diff>
double LengthOf(std::size_t N, Diff&& D) noexcept {
  double Sum = 0.0;
  for (std::size_t I = 0; I < N; ++I) {
    const double V = D(I);
    Sum += V * V;
  }
  if (Sum >= kLowestSafeSum && Sum <= DBL_MAX) return std::sqrt(Sum);
  if (std::isnan(Sum)) return Sum;
  double Largest = 0.0;
  for (std::size_t I = 0; I < N; ++I) Largest = std::max(Largest, std::fabs(D(I)));
  if (Largest == 0.0 || std::isinf(Largest)) return Largest;
  int Exponent = 0;
  std::frexp(Largest, &Exponent);
  double Scaled = 0.0;
  for (std::size_t I = 0; I < N; ++I) {
    const double V = std::ldexp(D(I), -Exponent);
    Scaled += V * V;
  }
  return std::ldexp(std::sqrt(Scaled), Exponent);
}

template <class T>
double DistanceOf(std::span<const T> X, std::span<const T> Y) noexcept {
  const std::size_t N = std::min(X.size(), Y.size());
  const double Plain = LengthOf(
      N, [&](std::size_t I) { return static_cast<double>(X[I]) - static_cast<double>(Y[I]); });
  if (!std::isinf(Plain)) return Plain;
  // A difference itself overflowed (elements of opposite sign beyond half the range): take
  // the differences of the halves, which cannot, and double the result.
  const double Half = LengthOf(N, [&](std::size_t I) {
    return static_cast<double>(X[I]) * 0.5 - static_cast<double>(Y[I]) * 0.5;
  });
  return 2.0 * Half;
}

}  // namespace

double EuclideanLength(std::span<const double> X) noexcept {
  return LengthOf(X.size(), [X](std::size_t I) { return X[I]; });
}

double EuclideanLength(std::span<const std::int32_t> X) noexcept {
  return LengthOf(X.size(), [X](std::size_t I) { return static_cast<double>(X[I]); });
}

double EuclideanDistance(std::span<const double> X, std::span<const double> Y) noexcept {
  return DistanceOf(X, Y);
}

double EuclideanDistance(std::span<const std::int32_t> X,
                         std::span<const std::int32_t> Y) noexcept {
  return DistanceOf(X, Y);
}

}  // namespace NMX_math1
