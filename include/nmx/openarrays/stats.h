// Open-array functions: mean, standard deviation, variance and mean absolute deviation of a
// range, and counting the elements within a value interval.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <type_traits>

#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

namespace detail {

/// Mean and sample variance (divisor n - 1; 0 for one element) of the box. Two passes: the
/// mean first, then the squared deviations from it, with the sum of the deviations as a
/// correction for the rounding of the mean. Raw power sums (Σx² - (Σx)²/n) would cancel every
/// digit on data with a large common offset.
template <class Arr>
void BoxMeanVar(const Arr& A, const TIndex<RankOf<Arr>>& Lo, const TIndex<RankOf<Arr>>& Hi,
                double& Mean, double& Variance) {
  const std::size_t N = BoxCount(Lo, Hi);
  double Sum = 0.0;
  ForEachInBox(A, Lo, Hi, [&Sum](const auto& X, const auto&) { Sum += static_cast<double>(X); });
  const double Count = static_cast<double>(N);
  Mean = Sum / Count;
  Variance = 0.0;
  if (N < 2) return;
  double SumDev = 0.0, SumSq = 0.0;
  const double M = Mean;
  ForEachInBox(A, Lo, Hi, [&](const auto& X, const auto&) {
    const double D = static_cast<double>(X) - M;
    SumDev += D;
    SumSq += D * D;
  });
  const double V = (SumSq - SumDev * SumDev / Count) / (Count - 1.0);
  Variance = V < 0.0 ? 0.0 : V;  // a rounding below 0 becomes 0; NaN stays NaN
}

/// Checks A and the range (lows then highs) and gives the box; -1 empty A, -2 invalid range.
template <class Arr>
int CheckRange(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
               const std::array<int, RankOf<Arr>>& Hi, TIndex<RankOf<Arr>>& BoxLo,
               TIndex<RankOf<Arr>>& BoxHi) {
  if (!IsUsable(A)) return -1;
  if (!MakeBox(Lo, Hi, Extents(A), BoxLo, BoxHi)) return -2;
  return 0;
}

template <class Arr>
int MeanBody(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
             const std::array<int, RankOf<Arr>>& Hi, double& Mean) {
  Mean = 0.0;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  double Sum = 0.0;
  ForEachInBox(A, BoxLo, BoxHi,
               [&Sum](const auto& X, const auto&) { Sum += static_cast<double>(X); });
  Mean = Sum / static_cast<double>(BoxCount(BoxLo, BoxHi));
  return 0;
}

template <class Arr>
int StdDevBody(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
               const std::array<int, RankOf<Arr>>& Hi, double& StdDev) {
  StdDev = 0.0;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  double Mean = 0.0, Variance = 0.0;
  BoxMeanVar(A, BoxLo, BoxHi, Mean, Variance);
  StdDev = std::sqrt(Variance);
  return 0;
}

template <class Arr>
int MeanVarBody(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
                const std::array<int, RankOf<Arr>>& Hi, double& Mean, double& Variance) {
  Mean = 0.0;
  Variance = 0.0;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  BoxMeanVar(A, BoxLo, BoxHi, Mean, Variance);
  return 0;
}

/// CountValues over the range given in pairs (low, high per dimension).
template <class Arr>
int CountBody(const Arr& A, const std::array<int, 2 * RankOf<Arr>>& Pairs, ElemOf<Arr> LowVal,
              ElemOf<Arr> HighVal) {
  std::array<int, RankOf<Arr>> Lo{}, Hi{};
  for (std::size_t K = 0; K < Lo.size(); ++K) {
    Lo[K] = Pairs[2 * K];
    Hi[K] = Pairs[2 * K + 1];
  }
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  if (!(LowVal <= HighVal)) return -2;
  int Count = 0;
  ForEachInBox(A, BoxLo, BoxHi, [&](const auto& X, const auto&) {
    if (LowVal <= X && X <= HighVal) ++Count;
  });
  return Count;
}

}  // namespace detail

// Ranges are inclusive and come as lows then highs, except for CountValues (pairs). Sums are
// accumulated in double in the order first index outermost. The scalar outputs are set to 0
// before the checks, so they hold 0 after a nonzero status.

/// Mean := the mean of A[Lo..Hi]. Returns 0; -1 for an empty A; -2 when a bound lies outside A
/// or Lo > Hi.
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int MeanArray(const Arr& A, int Lo, int Hi, double& Mean) {
  return detail::MeanBody(A, {Lo}, {Hi}, Mean);
}

/// Mean := the mean of the block [LoCol..HiCol][LoRow..HiRow]; codes as the 1-D member.
template <class Arr>
requires detail::NumArray<Arr, 2, 2>
int MeanArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& Mean) {
  return detail::MeanBody(A, {LoCol, LoRow}, {HiCol, HiRow}, Mean);
}

/// Mean := the mean of the 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay).
template <class Arr>
requires detail::NumArray<Arr, 3, 3>
int MeanArray(const Arr& A, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow, int HiLay,
              double& Mean) {
  return detail::MeanBody(A, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay}, Mean);
}

/// Mean := the mean of the 4-D block from (LoCol, ..., LoTSlot) to (HiCol, ..., HiTSlot).
template <class Arr>
requires detail::NumArray<Arr, 4, 4>
int MeanArray(const Arr& A, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol, int HiRow,
              int HiLay, int HiTSlot, double& Mean) {
  return detail::MeanBody(A, {LoCol, LoRow, LoLay, LoTSlot}, {HiCol, HiRow, HiLay, HiTSlot}, Mean);
}

/// StdDev := the sample standard deviation (divisor n - 1) of A[Lo..Hi]; 0 for a single
/// element. Computed from the deviations about the mean, so a large common offset costs no
/// digits. Returns 0; -1 for an empty A; -2 for an invalid range.
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int StdDevArray(const Arr& A, int Lo, int Hi, double& StdDev) {
  return detail::StdDevBody(A, {Lo}, {Hi}, StdDev);
}

/// StdDev of the block [LoCol..HiCol][LoRow..HiRow]; as the 1-D member.
template <class Arr>
requires detail::NumArray<Arr, 2, 2>
int StdDevArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& StdDev) {
  return detail::StdDevBody(A, {LoCol, LoRow}, {HiCol, HiRow}, StdDev);
}

/// StdDev of the 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay).
template <class Arr>
requires detail::NumArray<Arr, 3, 3>
int StdDevArray(const Arr& A, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow, int HiLay,
                double& StdDev) {
  return detail::StdDevBody(A, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay}, StdDev);
}

/// StdDev of the 4-D block from (LoCol, ..., LoTSlot) to (HiCol, ..., HiTSlot).
template <class Arr>
requires detail::NumArray<Arr, 4, 4>
int StdDevArray(const Arr& A, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol, int HiRow,
                int HiLay, int HiTSlot, double& StdDev) {
  return detail::StdDevBody(A, {LoCol, LoRow, LoLay, LoTSlot}, {HiCol, HiRow, HiLay, HiTSlot},
                            StdDev);
}

/// Mean and sample variance (divisor n - 1) of A[Lo..Hi]; the variance of a single element
/// is 0 (unlike the vector's MeanVar, which reports 1 for fewer than three values). Computed
/// from the deviations about the mean. Returns 0; -1 for an empty A; -2 for an invalid range.
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int MeanVarArray(const Arr& A, int Lo, int Hi, double& Mean, double& Variance) {
  return detail::MeanVarBody(A, {Lo}, {Hi}, Mean, Variance);
}

/// Mean and sample variance of the block [LoCol..HiCol][LoRow..HiRow]; as the 1-D member.
template <class Arr>
requires detail::NumArray<Arr, 2, 2>
int MeanVarArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& Mean,
                 double& Variance) {
  return detail::MeanVarBody(A, {LoCol, LoRow}, {HiCol, HiRow}, Mean, Variance);
}

/// The mean absolute deviation about the mean, Σ|x - mean| / n, of all of A; -1.0 for an
/// empty A.
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
double MeanAbsDev(const Arr& A) {
  if (A.empty()) return -1.0;
  double Sum = 0.0;
  for (const auto X : A) Sum += static_cast<double>(X);
  const double Count = static_cast<double>(A.size());
  const double Mean = Sum / Count;
  double SumAbs = 0.0;
  for (const auto X : A) SumAbs += std::fabs(static_cast<double>(X) - Mean);
  return SumAbs / Count;
}

/// The number of elements x of A[Lo..Hi] with LowVal <= x <= HighVal. -1 for an empty A; -2
/// when a bound lies outside A, Lo > Hi or LowVal > HighVal.
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int CountValues(const Arr& A, int Lo, int Hi, std::type_identity_t<detail::ElemOf<Arr>> LowVal,
                std::type_identity_t<detail::ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {Lo, Hi}, LowVal, HighVal);
}

/// CountValues over the block [LoCol..HiCol][LoRow..HiRow] (bounds in pairs).
template <class Arr>
requires detail::NumArray<Arr, 2, 2>
int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow,
                std::type_identity_t<detail::ElemOf<Arr>> LowVal,
                std::type_identity_t<detail::ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {LoCol, HiCol, LoRow, HiRow}, LowVal, HighVal);
}

/// CountValues over a 3-D block, bounds in pairs (column, row, layer).
template <class Arr>
requires detail::NumArray<Arr, 3, 3>
int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow, int LoLay, int HiLay,
                std::type_identity_t<detail::ElemOf<Arr>> LowVal,
                std::type_identity_t<detail::ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {LoCol, HiCol, LoRow, HiRow, LoLay, HiLay}, LowVal, HighVal);
}

/// CountValues over a 4-D block, bounds in pairs (column, row, layer, time slot).
template <class Arr>
requires detail::NumArray<Arr, 4, 4>
int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow, int LoLay, int HiLay,
                int LoTSlot, int HiTSlot, std::type_identity_t<detail::ElemOf<Arr>> LowVal,
                std::type_identity_t<detail::ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {LoCol, HiCol, LoRow, HiRow, LoLay, HiLay, LoTSlot, HiTSlot}, LowVal,
                           HighVal);
}

}  // namespace NMX_openarrays
