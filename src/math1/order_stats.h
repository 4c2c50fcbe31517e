// Order statistics of sorted values: the interpolating percentile and the (n + 1)p quartile
// rule that the vector and matrix statistics share.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace NMX_math1::detail {

// B - A for neighbours of a sorted array; for integers the exact difference (it may exceed the
// 32-bit range).
inline double Difference(double A, double B) noexcept {
  return B - A;
}
inline double Difference(std::int32_t A, std::int32_t B) noexcept {
  return static_cast<double>(std::int64_t{B} - std::int64_t{A});
}

// The prob percentile of the sorted values S[0..n-1]: S[k] + (S[k+1] - S[k]) f with
// k + f = (n - 1) prob / 100, prob clamped to 0..100; NaN for a NaN prob.
template <class T>
double PercentileOfSorted(const std::vector<T>& S, double prob) noexcept {
  const std::size_t N = S.size();
  if (std::isnan(prob)) return prob;
  prob = std::clamp(prob, 0.0, 100.0);
  if (N == 1) return static_cast<double>(S[0]);
  if (prob == 100.0) return static_cast<double>(S[N - 1]);
  const double Pos = static_cast<double>(N - 1) * prob / 100.0;
  const double K = std::trunc(Pos);
  const double F = Pos - K;
  const auto Ix = static_cast<std::size_t>(K);
  // A prob just below 100 can round Pos up to n - 1, which has no upper neighbour.
  if (Ix >= N - 1) return static_cast<double>(S[N - 1]);
  return static_cast<double>(S[Ix]) + Difference(S[Ix], S[Ix + 1]) * F;
}

// The quartile q of the sorted values by the (n + 1)q rule (1-based positions).
template <class T>
double QuartileOfSorted(const std::vector<T>& S, double q) noexcept {
  const std::size_t N = S.size();
  if (N == 1) return static_cast<double>(S[0]);
  const double Pos = static_cast<double>(N + 1) * q;
  const double K = std::trunc(Pos);
  const double F = Pos - K;
  const auto Ix = static_cast<std::size_t>(K);
  if (Ix == 0) return static_cast<double>(S[0]);
  if (Ix >= N) return static_cast<double>(S[N - 1]);
  return static_cast<double>(S[Ix - 1]) + Difference(S[Ix - 1], S[Ix]) * F;
}

}  // namespace NMX_math1::detail
