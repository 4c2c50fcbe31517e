// The statistics bodies TVector and TIntVector share, written once over the element type:
// moments, order statistics, histogram counting, searches, the comb sort that announces its
// exchanges, and the two-vector measures.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "nmx/base/errors.h"
#include "nmx/base/types.h"
#include "nmx/math1/sort.h"
#include "nmx/platform/component.h"
#include "nmx/vector/detail/vector_core.h"
#include "nmx/vector/errors.h"

namespace NMX_vector::detail {

/// The exception of a component operation: `Component "<Name>": <Text>`.
[[noreturn]] inline void RaiseComponentError(const NMX_platform::TComponent* Self,
                                             std::string_view Text) {
  throw ENMXVectorError(NMX_nmxbase::ComponentMessage(Self, Text));
}

/// The elements LowElem..HighElem after MakeValidElemRange, and the index of the first one.
template <class T>
struct ElemRange {
  std::span<const T> X;
  int First = 1;
};

template <class T>
ElemRange<T> MakeRange(std::span<const T> Data, int LowElem, int HighElem) noexcept {
  VectorCore::MakeValidElemRange(static_cast<int>(Data.size()), LowElem, HighElem);
  return {Data.subspan(static_cast<std::size_t>(LowElem - 1),
                       static_cast<std::size_t>(HighElem - LowElem + 1)),
          LowElem};
}

/// |A - B| as a double; exact for 32-bit integers.
inline double Distance(double A, double B) noexcept {
  return std::fabs(A - B);
}
inline double Distance(std::int32_t A, std::int32_t B) noexcept {
  return std::fabs(static_cast<double>(std::int64_t{A} - std::int64_t{B}));
}

/// B - A for neighbours of a sorted array; for integers the exact difference (it may exceed
/// the 32-bit range).
inline double Difference(double A, double B) noexcept {
  return B - A;
}
inline double Difference(std::int32_t A, std::int32_t B) noexcept {
  return static_cast<double>(std::int64_t{B} - std::int64_t{A});
}

// --- moments ---------------------------------------------------------------------------------

/// Σ(x - Shift) and Σ(x - Shift)² over a block that is in cache. These two sums have no
/// promised order, so they run in independent lanes: two 16-byte vectors of doubles (SSE2 or
/// NEON, on every target), or two scalar pairs for other element types.
template <class T>
void BlockDeviations(const T* P, std::size_t Len, double Shift, double& D1, double& D2) noexcept {
  double T1 = 0.0, T2 = 0.0, U1 = 0.0, U2 = 0.0;
  std::size_t I = 0;
  if constexpr (std::is_same_v<T, double>) {
    using V2 [[gnu::vector_size(16)]] = double;
    const V2 Sh = {Shift, Shift};
    V2 A1 = {0.0, 0.0}, B1 = {0.0, 0.0}, A2 = {0.0, 0.0}, B2 = {0.0, 0.0};
    for (; I + 4 <= Len; I += 4) {
      V2 X, Y;
      std::memcpy(&X, P + I, sizeof X);
      std::memcpy(&Y, P + I + 2, sizeof Y);
      X -= Sh;
      Y -= Sh;
      A1 += X;
      B1 += Y;
      A2 += X * X;
      B2 += Y * Y;
    }
    const V2 S1 = A1 + B1, S2 = A2 + B2;
    T1 = S1[0];
    U1 = S1[1];
    T2 = S2[0];
    U2 = S2[1];
  } else {
    for (; I + 2 <= Len; I += 2) {
      const double X = static_cast<double>(P[I]) - Shift;
      const double Y = static_cast<double>(P[I + 1]) - Shift;
      T1 += X;
      U1 += Y;
      T2 += X * X;
      U2 += Y * Y;
    }
  }
  for (; I < Len; ++I) {
    const double X = static_cast<double>(P[I]) - Shift;
    T1 += X;
    T2 += X * X;
  }
  D1 = T1 + U1;
  D2 = T2 + U2;
}

/// The sum of X in element order, and M2, the sum of squared deviations from the mean of X,
/// in one pass over memory.
///
/// M2 is never formed from raw power sums: Σx² - (Σx)²/n cancels every digit when the data
/// share a large offset. The data go in blocks of kBlock elements (8 KiB of doubles, well
/// inside the first-level cache). For each block, the running sum in element order goes
/// through it first, alone: a loop of one add per element keeps the most loads in flight.
/// Then, while the block is in cache, the deviations about a shift close to its values (the
/// previous block's mean; for the first block its own) give the block's mean and M2, the
/// rounding of the shift corrected by the sum of the deviations. The block means are kept
/// relative to the first shift, so their differences keep their digits, and the blocks are
/// merged by the pairwise update M2 = M2a + M2b + δ² na nb / (na + nb).
template <class T>
void SumAndM2(std::span<const T> X, double& Sum, double& M2) noexcept {
  constexpr std::size_t kBlock = 1024;
  const std::size_t N = X.size();
  double S = 0.0;
  double Origin = 0.0;  // the first shift; the means below are relative to it
  double Shift = 0.0;
  double Mean = 0.0;  // of the blocks merged so far
  double Acc = 0.0;   // their M2
  std::size_t Done = 0;
  for (std::size_t Start = 0; Start < N; Start += kBlock) {
    const std::size_t Len = std::min(kBlock, N - Start);
    const T* P = X.data() + Start;
    for (std::size_t I = 0; I < Len; ++I) S += static_cast<double>(P[I]);
    const double L = static_cast<double>(Len);
    if (Start == 0) {
      Origin = S / L;
      Shift = Origin;
    }
    double D1 = 0.0, D2 = 0.0;
    BlockDeviations(P, Len, Shift, D1, D2);
    const double BlockMean = (Shift - Origin) + D1 / L;
    const double BlockM2 = D2 - D1 * (D1 / L);
    if (Done == 0) {
      Mean = BlockMean;
      Acc = BlockM2;
    } else {
      const double Total = static_cast<double>(Done + Len);
      const double Delta = BlockMean - Mean;
      Mean += Delta * (L / Total);
      Acc += BlockM2 + Delta * Delta * (static_cast<double>(Done) * (L / Total));
    }
    Done += Len;
    Shift = Origin + BlockMean;
  }
  Sum = S;
  M2 = Acc;
}

/// Mean := Σx / n and the variance M2 / (n - 1): 1 for fewer than three values, 0 for a
/// rounding below 0 (NaN stays NaN).
template <class T>
void MeanVarOf(std::span<const T> X, double& Mean, double& Variance) noexcept {
  double S = 0.0, M2 = 0.0;
  SumAndM2(X, S, M2);
  const double N = static_cast<double>(X.size());
  Mean = S / N;
  Variance = 1.0;
  if (X.size() >= 3) {
    Variance = M2 / (N - 1.0);
    if (Variance < 0.0) Variance = 0.0;
  }
}

/// The sum in element order, in double.
template <class T>
double SumInOrder(std::span<const T> X) noexcept {
  double S = 0.0;
  for (const T V : X) S += static_cast<double>(V);
  return S;
}

/// Minimum and maximum with the indices of their first occurrences; the searches start at
/// Start and -Start, indices at 0.
template <class T>
void MinMaxOf(const ElemRange<T>& R, T Start, T& Minimum, T& Maximum, int& MinIx,
              int& MaxIx) noexcept {
  Minimum = Start;
  Maximum = -Start;
  MinIx = 0;
  MaxIx = 0;
  int K = R.First;
  for (const T V : R.X) {
    if (V < Minimum) {
      Minimum = V;
      MinIx = K;
    }
    if (V > Maximum) {
      Maximum = V;
      MaxIx = K;
    }
    ++K;
  }
}

template <class T>
double GeometricMeanOf(const NMX_platform::TComponent* Self, std::span<const T> X) {
  bool AnyZero = false;
  double SumLn = 0.0;
  // Every element is checked for its sign, also after a zero has fixed the result.
  for (const T V : X) {
    if (V < 0) RaiseComponentError(Self, "negative argument passed to GeometricMean");
    if (V == 0) {
      AnyZero = true;
    } else {
      SumLn += std::log(static_cast<double>(V));
    }
  }
  if (AnyZero) return 0.0;
  return std::exp(SumLn / static_cast<double>(X.size()));
}

template <class T>
double HarmonicMeanOf(const NMX_platform::TComponent* Self, std::span<const T> X) {
  double SumInv = 0.0;
  // A NaN is neither negative nor zero: it runs through to a NaN result.
  for (const T V : X) {
    if (V <= 0) RaiseComponentError(Self, "negative or zero argument passed to HarmonicMean");
    SumInv += 1.0 / static_cast<double>(V);
  }
  return static_cast<double>(X.size()) / SumInv;
}

/// Skewness and excess kurtosis about the mean: m := Σx / n in extended precision, c := x - m,
/// s² := (Σc² - (Σc)²/n) / (n - 1), Skewness := Σc³ / n / s³, Kurtosis := Σc⁴ / n / s⁴ - 3.
/// Both stay 0 for fewer than four values or s = 0.
///
/// The sums start from deviations, so nothing cancels against the offset of the data. What
/// is left is the rounding of m itself, which on data with a large offset is a sizeable part
/// of the spread (near 1e9 it costs Σc³ nine digits). δ := Σc / n measures it, and the
/// sums are taken about m + δ instead: Σc² - nδ² (the s² above), Σc³ - 3δΣc² + 2nδ³ and
/// Σc⁴ - 4δΣc³ + 6δ²Σc² - 3nδ⁴, the binomial expansions of Σ(c - δ)^k.
template <class T>
void SkewKurtOf(std::span<const T> X, double& Skewness, double& Kurtosis, int& N) noexcept {
  Skewness = 0.0;
  Kurtosis = 0.0;
  N = static_cast<int>(X.size());
  if (N < 4) return;
  const long double Count = static_cast<long double>(N);
  long double Sum = 0.0L;
  for (const T V : X) Sum += static_cast<long double>(V);
  const long double M = Sum / Count;
  long double SumC = 0.0L, SumC2 = 0.0L;
  double SumC3 = 0.0, SumC4 = 0.0;
  for (const T V : X) {
    const long double C = static_cast<long double>(V) - M;
    const long double C2 = C * C;
    SumC += C;
    SumC2 += C2;
    SumC3 = static_cast<double>(static_cast<long double>(SumC3) + C2 * C);
    SumC4 = static_cast<double>(static_cast<long double>(SumC4) + C2 * C2);
  }
  const long double S = std::sqrt((SumC2 - SumC * SumC / Count) / (Count - 1.0L));
  if (S == 0.0L) return;
  const long double Delta = SumC / Count;
  const long double Delta2 = Delta * Delta;
  const auto C3 = static_cast<long double>(SumC3), C4 = static_cast<long double>(SumC4);
  const long double Central3 = C3 - 3.0L * Delta * SumC2 + 2.0L * Count * Delta2 * Delta;
  const long double Central4 =
      C4 - 4.0L * Delta * C3 + 6.0L * Delta2 * SumC2 - 3.0L * Count * Delta2 * Delta2;
  Skewness = static_cast<double>(Central3 / Count / S / S / S);
  Kurtosis = static_cast<double>(Central4 / Count / (S * S * (S * S)) - 3.0L);
}

/// True when all values of X are equal (also for an empty X).
template <class T>
bool IsConstant(std::span<const T> X) noexcept {
  for (const T V : X) {
    if (!(V == X[0])) return false;
  }
  return true;
}

/// The bias-corrected forms of SkewKurtOf's values for n >= 4; 0 and 0 below, and 0 and 0
/// for data without spread (X all equal), which has no shape: SkewKurtOf reports 0 and 0
/// there, and the correction would turn that into a kurtosis of 26.5 for four equal values.
template <class T>
void SampleSkewKurt(std::span<const T> X, int N, double& Skewness, double& Kurtosis) noexcept {
  if (Skewness == 0.0 && Kurtosis == 0.0 && IsConstant(X)) return;
  if (N < 4) {
    Skewness = 0.0;
    Kurtosis = 0.0;
    return;
  }
  const double n = static_cast<double>(N);
  Kurtosis = (Kurtosis + 3.0) * n * n * (n + 1.0) / (n - 1.0) / (n - 2.0) / (n - 3.0) -
             3.0 * (n - 1.0) * (n - 1.0) / (n - 2.0) / (n - 3.0);
  Skewness = n * Skewness * n / (n - 1.0) / (n - 2.0);
}

// --- order statistics ------------------------------------------------------------------------

/// A copy of X sorted ascending by NMX_math1::SortArray (which reports its passes to the
/// progress hook). A copy that cannot be allocated raises "not enough memory on heap".
template <class T>
std::vector<T> SortedCopy(const NMX_platform::TComponent* Self, std::span<const T> X) {
  std::vector<T> Copy;
  try {
    Copy.assign(X.begin(), X.end());
  } catch (const std::bad_alloc&) {
    RaiseComponentError(Self, NMX_nmxbase::kNoMemoryOnHeap);
  }
  NMX_math1::SortArray(std::span<T>(Copy), true);
  return Copy;
}

/// The prob percentile of the sorted values T[0..n-1]: T[k] + (T[k+1] - T[k]) f with
/// k + f = (n - 1) prob / 100, prob clamped to 0..100.
template <class T>
double PercentileOfSorted(const std::vector<T>& Sorted, double prob) noexcept {
  const std::size_t N = Sorted.size();
  if (prob < 0.0) prob = 0.0;
  if (prob > 100.0) prob = 100.0;
  if (N == 1) return static_cast<double>(Sorted[0]);
  if (prob == 100.0) return static_cast<double>(Sorted[N - 1]);
  const double Pos = static_cast<double>(N - 1) * prob / 100.0;
  if (std::isnan(Pos)) return Pos;
  const double K = std::trunc(Pos);
  const double F = Pos - K;
  const auto Ix = static_cast<std::size_t>(K);
  // A prob just below 100 can round Pos up to n - 1, which has no upper neighbour.
  if (Ix >= N - 1) return static_cast<double>(Sorted[N - 1]);
  return static_cast<double>(Sorted[Ix]) + Difference(Sorted[Ix], Sorted[Ix + 1]) * F;
}

/// The three quartiles of the sorted values by the (n + 1)q rule (1-based positions).
template <class T>
void QuartilesOfSorted(const std::vector<T>& Sorted, double& Q1, double& Q2, double& Q3) noexcept {
  const std::size_t N = Sorted.size();
  auto Quartile = [&Sorted, N](double q) {
    if (N == 1) return static_cast<double>(Sorted[0]);
    const double Pos = static_cast<double>(N + 1) * q;
    const double K = std::trunc(Pos);
    const double F = Pos - K;
    const auto Ix = static_cast<std::size_t>(K);  // 1-based
    if (Ix == 0) return static_cast<double>(Sorted[0]);
    if (Ix >= N) return static_cast<double>(Sorted[N - 1]);
    return static_cast<double>(Sorted[Ix - 1]) + Difference(Sorted[Ix - 1], Sorted[Ix]) * F;
  };
  Q1 = Quartile(0.25);
  Q2 = Quartile(0.5);
  Q3 = Quartile(0.75);
}

/// The value of the first longest run of equal values in the sorted array.
template <class T>
T ModeOfSorted(const std::vector<T>& Sorted) noexcept {
  T Mode = Sorted[0];
  std::size_t Longest = 1, Run = 1;
  for (std::size_t I = 1; I < Sorted.size(); ++I) {
    Run = Sorted[I] == Sorted[I - 1] ? Run + 1 : 1;
    if (Run > Longest) {
      Longest = Run;
      Mode = Sorted[I];
    }
  }
  return Mode;
}

// --- histogram -------------------------------------------------------------------------------

/// Where a value goes in a histogram: a bin index >= 0, or one of these.
inline constexpr int kUnderflow = -1;
inline constexpr int kOverflow = -2;
inline constexpr int kNotCounted = -3;

/// Counts the values of the elements FirstElem..LastElem of Data (indices outside read 0) into
/// NBins bins, Bin(x) telling where x goes, and stores the counts in Histo (resized to NBins)
/// and the three totals. Counts beyond the int range, possible only for index ranges of more
/// than 2^31 elements, stay at INT_MAX.
template <class T, class BinOf>
void CountHistogram(std::span<const T> Data, int FirstElem, int LastElem, int NBins, BinOf&& Bin,
                    NMX_nmxbase::TIntArray& Histo, int& Underflow, int& Overflow, int& MaxCnt) {
  std::vector<std::int64_t> Counts(static_cast<std::size_t>(NBins), 0);
  std::int64_t Under = 0, Over = 0;
  auto Tally = [&](T X, std::int64_t Times) {
    const int B = Bin(X);
    if (B >= 0) {
      Counts[static_cast<std::size_t>(B)] += Times;
    } else if (B == kUnderflow) {
      Under += Times;
    } else if (B == kOverflow) {
      Over += Times;
    }
  };
  if (LastElem >= FirstElem) {
    const std::int64_t N = static_cast<std::int64_t>(Data.size());
    const std::int64_t Lo = std::max<std::int64_t>(FirstElem, 1);
    const std::int64_t Hi = std::min<std::int64_t>(LastElem, N);
    for (std::int64_t K = Lo; K <= Hi; ++K) Tally(Data[static_cast<std::size_t>(K - 1)], 1);
    // The indices outside the vector all read 0: they are counted at once.
    const std::int64_t Outside =
        (std::int64_t{LastElem} - FirstElem + 1) - std::max<std::int64_t>(0, Hi - Lo + 1);
    if (Outside > 0) Tally(T(0), Outside);
  }
  auto Saturated = [](std::int64_t C) {
    return static_cast<int>(std::min<std::int64_t>(C, INT_MAX));
  };
  Histo.resize(static_cast<std::size_t>(NBins));
  MaxCnt = 0;
  for (std::size_t B = 0; B < Counts.size(); ++B) {
    Histo[B] = Saturated(Counts[B]);
    MaxCnt = std::max(MaxCnt, Histo[B]);
  }
  Underflow = Saturated(Under);
  Overflow = Saturated(Over);
}

// --- searching -------------------------------------------------------------------------------

/// The index of the element nearest to Value, the first on ties; 0 when no distance is below
/// the largest double.
template <class T>
int FindNearest(const ElemRange<T>& R, T Value) noexcept {
  double Best = std::numeric_limits<double>::max();
  int Ix = 0, K = R.First;
  for (const T V : R.X) {
    const double D = Distance(V, Value);
    if (D < Best) {
      Best = D;
      Ix = K;
    }
    ++K;
  }
  return Ix;
}

template <class T>
int FindEqual(const ElemRange<T>& R, T Value) noexcept {
  const auto It = std::find(R.X.begin(), R.X.end(), Value);
  return It == R.X.end() ? 0 : R.First + static_cast<int>(It - R.X.begin());
}

/// Bisection of a sorted vector (1-based result): an index holding Value, or the one of the
/// last pair nearer to Value, the higher one on a tie.
template <class T>
int FindInSorted(std::span<const T> Data, bool Ascending, T Value) noexcept {
  auto At = [&Data](int K) { return Data[static_cast<std::size_t>(K - 1)]; };
  int Lo = 1, Hi = static_cast<int>(Data.size());
  while (Hi - Lo >= 2) {
    const int Mid = Lo + (Hi - Lo) / 2;
    const T X = At(Mid);
    if (X == Value) return Mid;
    if (Ascending ? Value > X : Value < X) {
      Lo = Mid;
    } else {
      Hi = Mid;
    }
  }
  return Distance(At(Lo), Value) < Distance(At(Hi), Value) ? Lo : Hi;
}

// --- sorting ---------------------------------------------------------------------------------

/// The next comb gap, Trunc(Gap / 1.3), 0 becoming 1. With 1.3 taken in extended precision
/// (as NMX_math1::SortArray does) the quotient truncates to floor(10 Gap / 13); the split form
/// cannot overflow.
inline int NextCombGap(int Gap) noexcept {
  const int Next = Gap / 13 * 10 + Gap % 13 * 10 / 13;
  return Next == 0 ? 1 : Next;
}

/// Comb sort of the 1-based elements First..Last of Vec (1 <= First < Last <= size), the gap
/// starting at Last - First. Exchanged(i, j) is called after each exchange and returns false
/// to stop the sort (an exchange handler that shrank the vector below Last). Vec is indexed
/// afresh after every call, since a handler may have moved its storage.
template <class T, class Notify>
void CombSortRange(std::vector<T>& Vec, bool Ascending, int First, int Last, Notify&& Exchanged) {
  int Gap = Last - First;
  bool Swapped = false;
  do {
    Gap = NextCombGap(Gap);
    Swapped = false;
    for (int I = First; I <= Last - Gap; ++I) {
      const auto Ix = static_cast<std::size_t>(I - 1);
      T& A = Vec[Ix];
      T& B = Vec[Ix + static_cast<std::size_t>(Gap)];
      if (Ascending ? A > B : A < B) {
        std::swap(A, B);
        Swapped = true;
        if (!Exchanged(I, I + Gap)) return;
      }
    }
  } while (Gap != 1 || Swapped);
}

/// The range rule of SortElems: (0, 0) is all; reversed bounds are exchanged, then clipped.
/// False when fewer than two elements remain.
inline bool MakeSortRange(int NElem, int& RangeFirst, int& RangeLast) noexcept {
  if (RangeFirst == 0 && RangeLast == 0) {
    RangeFirst = 1;
    RangeLast = NElem;
  }
  if (RangeLast < RangeFirst) std::swap(RangeFirst, RangeLast);
  RangeFirst = std::clamp(RangeFirst, 1, NElem);
  RangeLast = std::clamp(RangeLast, 1, NElem);
  return RangeLast - RangeFirst >= 1;
}

// --- two vectors -----------------------------------------------------------------------------

template <class T>
bool IsDichotomousOf(std::span<const T> X, T& v1, T& v2) noexcept {
  v1 = T(0);
  v2 = T(0);
  if (X.size() < 2) return false;
  v1 = X[0];
  v2 = X[0];
  std::size_t I = 1;
  while (I < X.size() && X[I] == v1) ++I;
  if (I == X.size()) return true;
  v2 = X[I];
  for (++I; I < X.size(); ++I) {
    if (X[I] != v1 && X[I] != v2) return false;
  }
  return true;
}

/// Pearson's r of X and Y. The checks on the raw sums of squares are kept (all zeros give 0),
/// but the variances and the covariance come from deviations about the means, corrected by
/// the sums of the deviations, so a large common offset costs no digits.
template <class T>
double PearsonOf(std::span<const T> X, std::span<const T> Y) noexcept {
  if (X.size() != Y.size() || X.size() < 2) return 0.0;
  const std::size_t N = X.size();
  double Sx = 0.0, Sy = 0.0, Sxx = 0.0, Syy = 0.0;
  for (std::size_t I = 0; I < N; ++I) {
    const double A = static_cast<double>(X[I]), B = static_cast<double>(Y[I]);
    Sx += A;
    Sy += B;
    Sxx += A * A;
    Syy += B * B;
  }
  if (Sxx <= 0.0 || Syy <= 0.0) return 0.0;
  const double Count = static_cast<double>(N);
  const double Mx = Sx / Count, My = Sy / Count;
  double Dx = 0.0, Dy = 0.0, Dxx = 0.0, Dyy = 0.0, Dxy = 0.0;
  for (std::size_t I = 0; I < N; ++I) {
    const double A = static_cast<double>(X[I]) - Mx, B = static_cast<double>(Y[I]) - My;
    Dx += A;
    Dy += B;
    Dxx += A * A;
    Dyy += B * B;
    Dxy += A * B;
  }
  const double Vx = Dxx - Dx * (Dx / Count);
  const double Vy = Dyy - Dy * (Dy / Count);
  if (Vx == 0.0 || Vy == 0.0) return 0.0;
  const double Cov = Dxy - Dx * (Dy / Count);
  // sqrt|vx vy|, which is exact for exactly linear data; where the product leaves the double
  // range the roots are taken one by one.
  double Denom = std::sqrt(std::fabs(Vx * Vy));
  if (!(Denom > 0.0) || std::isinf(Denom)) {
    Denom = std::sqrt(std::fabs(Vx)) * std::sqrt(std::fabs(Vy));
  }
  return Cov / Denom;
}

/// sqrt of Σ (x - y)², in double.
template <class T>
double EuclideanOf(std::span<const T> X, std::span<const T> Y) noexcept {
  double S = 0.0;
  for (std::size_t I = 0; I < X.size(); ++I) {
    const double D = static_cast<double>(X[I]) - static_cast<double>(Y[I]);
    S += D * D;
  }
  return std::sqrt(S);
}

/// The message of EuclideanDistance for vectors of different lengths (not a component one).
inline constexpr std::string_view kEuclideanMismatch =
    "EuclideanDistance: dimensions of vectors do not match";

}  // namespace NMX_vector::detail
