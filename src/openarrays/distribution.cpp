#include "nmx/openarrays/distribution.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "math1/bins.h"
#include "nmx/math1/select.h"
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {
namespace {

using NMX_nmxbase::TBool2DArray;
using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TIntArray;

// The percentile of the values in Work (which it rearranges): rank min(round(n·prob/100),
// n - 1), found by selection.
double PercentileOfCopy(double prob, std::vector<double>& Work) {
  if (Work.empty()) return 0.0;
  if (std::isnan(prob)) return prob;
  prob = std::clamp(prob, 0.0, 100.0);
  const double N = static_cast<double>(Work.size());
  const double Rank = std::min(std::nearbyint(N * prob / 100.0), N - 1.0);
  const int Last = static_cast<int>(Work.size() - 1);
  return NMX_math1::QuickSelect(Work, static_cast<int>(Rank), 0, Last);
}

// Clips Lo and Hi into 0..High and puts them in order.
void ClipRange(int& Lo, int& Hi, std::size_t Extent) {
  const int High = static_cast<int>(Extent) - 1;
  Lo = std::clamp(Lo, 0, High);
  Hi = std::clamp(Hi, 0, High);
  if (Hi < Lo) std::swap(Lo, Hi);
}

// The number of bins, or the status -3..-5 for bounds and widths that give none.
int CountBins(double FirstBin, double LastBin, double BinWidth, int& NBins) {
  if (!(FirstBin < LastBin)) return -3;
  if (!(BinWidth > 0.0)) return -4;
  const double Bins = std::nearbyint(std::fabs(LastBin - FirstBin) / BinWidth) + 1.0;
  if (!(Bins <= 1000.0)) return -5;
  NBins = static_cast<int>(Bins);
  return 0;
}

// Counts the values handed to Each (a function that calls its argument once per value) into
// the bins and stores the outputs.
template <class ForEachValue>
void Count(double FirstBin, double LastBin, double BinWidth, int NBins, ForEachValue&& Each,
           TIntArray& Histo, int& Underflow, int& Overflow, int& MaxCnt) {
  const NMX_math1::detail::TDoubleBins Bin{FirstBin, LastBin + BinWidth, BinWidth, NBins};
  // The array indices are ints, but a 2-D block may hold more than INT_MAX cells: count in 64
  // bits and saturate.
  std::vector<std::int64_t> Counts(static_cast<std::size_t>(NBins), 0);
  std::int64_t Under = 0, Over = 0;
  Each([&](double X) {
    const int B = Bin(X);
    if (B >= 0) {
      ++Counts[static_cast<std::size_t>(B)];
    } else if (B == NMX_math1::detail::kUnderflow) {
      ++Under;
    } else if (B == NMX_math1::detail::kOverflow) {
      ++Over;
    }
  });
  auto Saturated = [](std::int64_t C) {
    return static_cast<int>(std::min<std::int64_t>(C, INT_MAX));
  };
  Histo.assign(Counts.size(), 0);
  MaxCnt = 0;
  for (std::size_t K = 0; K < Counts.size(); ++K) {
    Histo[K] = Saturated(Counts[K]);
    MaxCnt = std::max(MaxCnt, Histo[K]);
  }
  Underflow = Saturated(Under);
  Overflow = Saturated(Over);
}

// The checks and the counting of the two 2-D members; Skip(col, row) tells the masked cells.
template <class SkipCell>
int FrequDist2D(const TDouble2DArray& A, int LoCol, int LoRow, int HiCol, int HiRow,
                double FirstBin, double LastBin, double BinWidth, int ExtraStatus, SkipCell&& Skip,
                TIntArray& Histo, int& Underflow, int& Overflow, int& MaxCnt) {
  const auto E = detail::IsUsable(A) ? detail::Extents(A) : detail::ExtentsOf<TDouble2DArray>{};
  if (!detail::InExtent(LoCol, E[0]) || !detail::InExtent(HiCol, E[0]) ||
      !detail::InExtent(LoRow, E[1]) || !detail::InExtent(HiRow, E[1])) {
    return -1;
  }
  if (HiCol < LoCol || HiRow < LoRow) return -2;
  int NBins = 0;
  if (const int Status = CountBins(FirstBin, LastBin, BinWidth, NBins); Status != 0) {
    return Status;
  }
  if (ExtraStatus != 0) return ExtraStatus;
  if (LoCol == 0 && LoRow == 0 && HiCol == 0 && HiRow == 0) {
    HiCol = static_cast<int>(E[0]) - 1;
    HiRow = static_cast<int>(E[1]) - 1;
  }
  auto Each = [&](auto&& Take) {
    for (int C = LoCol; C <= HiCol; ++C) {
      const auto& Column = A[static_cast<std::size_t>(C)];
      for (int R = LoRow; R <= HiRow; ++R) {
        if (!Skip(C, R)) Take(Column[static_cast<std::size_t>(R)]);
      }
    }
  };
  Count(FirstBin, LastBin, BinWidth, NBins, Each, Histo, Underflow, Overflow, MaxCnt);
  return 0;
}

}  // namespace

template <class Arr>
requires NumArray<Arr, 1, 1>
double PercentileArray(double prob, const Arr& A) {
  std::vector<double> Work(A.begin(), A.end());
  return PercentileOfCopy(prob, Work);
}

#define NMX_INST(A) template double PercentileArray<A>(double, const A&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST

double PercentileArray(double prob, const TDoubleArray& A, int Lo, int Hi) {
  if (A.empty()) return 0.0;
  ClipRange(Lo, Hi, A.size());
  std::vector<double> Work(A.begin() + Lo, A.begin() + Hi + 1);
  return PercentileOfCopy(prob, Work);
}

double PercentileArray(double prob, const TDouble2DArray& A, int LoCol, int LoRow, int HiCol,
                       int HiRow) {
  if (!detail::IsUsable(A)) return 0.0;
  const auto E = detail::Extents(A);
  ClipRange(LoCol, HiCol, E[0]);
  ClipRange(LoRow, HiRow, E[1]);
  std::vector<double> Work;
  Work.reserve(static_cast<std::size_t>(HiCol - LoCol + 1) *
               static_cast<std::size_t>(HiRow - LoRow + 1));
  for (int C = LoCol; C <= HiCol; ++C) {
    const auto& Column = A[static_cast<std::size_t>(C)];
    Work.insert(Work.end(), Column.begin() + LoRow, Column.begin() + HiRow + 1);
  }
  return PercentileOfCopy(prob, Work);
}

int FrequDistOfArray(const TDoubleArray& A, int Lo, int Hi, double FirstBin, double LastBin,
                     double BinWidth, TIntArray& Histo, int& Underflow, int& Overflow,
                     int& MaxCnt) {
  if (!detail::InExtent(Lo, A.size()) || !detail::InExtent(Hi, A.size())) return -1;
  if (Hi < Lo) return -2;
  int NBins = 0;
  if (const int Status = CountBins(FirstBin, LastBin, BinWidth, NBins); Status != 0) {
    return Status;
  }
  if (Lo == 0 && Hi == 0) Hi = static_cast<int>(A.size()) - 1;
  auto Each = [&](auto&& Take) {
    for (int K = Lo; K <= Hi; ++K) Take(A[static_cast<std::size_t>(K)]);
  };
  Count(FirstBin, LastBin, BinWidth, NBins, Each, Histo, Underflow, Overflow, MaxCnt);
  return 0;
}

int FrequDistOfArray(const TDouble2DArray& A, int LoCol, int LoRow, int HiCol, int HiRow,
                     double FirstBin, double LastBin, double BinWidth, TIntArray& Histo,
                     int& Underflow, int& Overflow, int& MaxCnt) {
  return FrequDist2D(
      A, LoCol, LoRow, HiCol, HiRow, FirstBin, LastBin, BinWidth, 0, [](int, int) { return false; },
      Histo, Underflow, Overflow, MaxCnt);
}

int FrequDistOfArray(const TDouble2DArray& A, const TBool2DArray& Mask, int LoCol, int LoRow,
                     int HiCol, int HiRow, double FirstBin, double LastBin, double BinWidth,
                     TIntArray& Histo, int& Underflow, int& Overflow, int& MaxCnt) {
  // A ragged Mask has no extents to compare: it differs from A like a Mask of other extents.
  const bool MaskFits = detail::IsUsable(Mask) && detail::IsUsable(A) &&
                        detail::Extents(Mask)[0] == A.size() &&
                        detail::Extents(Mask)[1] == A[0].size();
  return FrequDist2D(
      A, LoCol, LoRow, HiCol, HiRow, FirstBin, LastBin, BinWidth, MaskFits ? 0 : -6,
      [&Mask](int C, int R) {
        return static_cast<bool>(Mask[static_cast<std::size_t>(C)][static_cast<std::size_t>(R)]);
      },
      Histo, Underflow, Overflow, MaxCnt);
}

}  // namespace NMX_openarrays
