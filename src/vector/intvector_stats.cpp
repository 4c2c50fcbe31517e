// TIntVector: statistics, order statistics, histogram, searching and sorting.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "nmx/base/errors.h"
#include "nmx/vector/detail/stats_core.h"
#include "nmx/vector/intvector.h"

namespace NMX_vector {
namespace {

namespace D = detail;

// The start values of the extreme searches: 2147483647 and its negation -2147483647.
constexpr std::int32_t kMinMaxStart = 2147483647;

// 32-bit sums and products wrap: they are formed on the unsigned bit patterns, which C++
// defines modulo 2^32, and converted back.
std::uint32_t Bits(std::int32_t X) noexcept {
  return static_cast<std::uint32_t>(X);
}

}  // namespace

void TIntVector::MeanVar(int LowElem, int HighElem, double& Mean, double& Variance) const {
  D::MeanVarOf(D::MakeRange(Data(), LowElem, HighElem).X, Mean, Variance);
}

void TIntVector::MinMax(int LowElem, int HighElem, std::int32_t& Minimum,
                        std::int32_t& Maximum) const {
  int MinIx = 0, MaxIx = 0;
  MinMax(LowElem, HighElem, Minimum, Maximum, MinIx, MaxIx);
}

void TIntVector::MinMax(int LowElem, int HighElem, std::int32_t& Minimum, std::int32_t& Maximum,
                        int& MinIx, int& MaxIx) const {
  D::MinMaxOf(D::MakeRange(Data(), LowElem, HighElem), kMinMaxStart, Minimum, Maximum, MinIx,
              MaxIx);
}

std::int32_t TIntVector::Sum(int LowElem, int HighElem) const {
  std::uint32_t S = 0;
  for (const std::int32_t X : D::MakeRange(Data(), LowElem, HighElem).X) S += Bits(X);
  return static_cast<std::int32_t>(S);
}

double TIntVector::GeometricMean(int LowElem, int HighElem) const {
  return D::GeometricMeanOf(this, D::MakeRange(Data(), LowElem, HighElem).X);
}

double TIntVector::HarmonicMean(int LowElem, int HighElem) const {
  return D::HarmonicMeanOf(this, D::MakeRange(Data(), LowElem, HighElem).X);
}

void TIntVector::SkewKurtIntern(int LowElem, int HighElem, double& Skewness, double& Kurtosis,
                                int& N) const {
  D::SkewKurtOf(D::MakeRange(Data(), LowElem, HighElem).X, Skewness, Kurtosis, N);
}

void TIntVector::SkewKurt(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const {
  int N = 0;
  SkewKurtIntern(LowElem, HighElem, Skewness, Kurtosis, N);
}

void TIntVector::SkewKurtSample(int LowElem, int HighElem, double& Skewness,
                                double& Kurtosis) const {
  int N = 0;
  SkewKurtIntern(LowElem, HighElem, Skewness, Kurtosis, N);
  D::SampleSkewKurt(D::MakeRange(Data(), LowElem, HighElem).X, N, Skewness, Kurtosis);
}

bool TIntVector::Quartiles(int LowElem, int HighElem, double& Q1, double& Q2, double& Q3) const {
  const auto Sorted = D::SortedCopy(this, D::MakeRange(Data(), LowElem, HighElem).X);
  D::QuartilesOfSorted(Sorted, Q1, Q2, Q3);
  return true;
}

double TIntVector::Percentile(double prob, int LowElem, int HighElem) const {
  const auto Sorted = D::SortedCopy(this, D::MakeRange(Data(), LowElem, HighElem).X);
  return D::PercentileOfSorted(Sorted, prob);
}

std::int32_t TIntVector::Mode(int LowElem, int HighElem) const {
  return D::ModeOfSorted(D::SortedCopy(this, D::MakeRange(Data(), LowElem, HighElem).X));
}

bool TIntVector::Histogram(int FirstElem, int LastElem, std::int32_t FirstBin, std::int32_t LastBin,
                           std::int32_t BinWidth, NMX_nmxbase::TIntArray& Histo, int& Underflow,
                           int& Overflow, int& MaxCnt) const {
  const std::int64_t Width = BinWidth <= 0 ? 1 : BinWidth;
  // In 64 bits |LastBin - FirstBin| cannot overflow, so the count is never <= 0.
  const std::int64_t Span = std::int64_t{LastBin} - std::int64_t{FirstBin};
  const std::int64_t NBins = (Span < 0 ? -Span : Span) / Width + 1;
  if (NBins <= 0 || NBins > 500) {
    throw ENMXVectorError("Component \"" + Name() + ".Histogram\": invalid number of bins");
  }
  const std::int64_t First = FirstBin;
  const std::int64_t Top = std::int64_t{LastBin} + Width;
  auto Bin = [First, Top, Width, NBins](std::int32_t X) {
    if (X < First) return D::kUnderflow;
    if (X >= Top) return D::kOverflow;
    const std::int64_t B = (X - First) / Width;  // X - First >= 0: div is floor
    // When LastBin - FirstBin is not a multiple of the width, values just below Top map one
    // past the last bin; they count as Overflow (as in TVector::Histogram).
    return B < NBins ? static_cast<int>(B) : D::kOverflow;
  };
  D::CountHistogram(Data(), FirstElem, LastElem, static_cast<int>(NBins), Bin, Histo, Underflow,
                    Overflow, MaxCnt);
  return true;
}

bool TIntVector::Histogram(int FirstElem, int LastElem, std::int32_t FirstBin, std::int32_t LastBin,
                           std::int32_t BinWidth, TIntVector* Histo, int& Underflow, int& Overflow,
                           int& MaxCnt) const {
  if (Histo == nullptr) return false;
  NMX_nmxbase::TIntArray Counts;
  Histogram(FirstElem, LastElem, FirstBin, LastBin, BinWidth, Counts, Underflow, Overflow, MaxCnt);
  Histo->SetIntVecSize(static_cast<int>(Counts.size()));
  Histo->CopyFrom(Counts, 0, 0, 1);
  return true;
}

int TIntVector::Find(int LowElem, int HighElem, std::int32_t value) const {
  return D::FindNearest(D::MakeRange(Data(), LowElem, HighElem), value);
}

int TIntVector::FindExact(int LowElem, int HighElem, std::int32_t value) const {
  return D::FindEqual(D::MakeRange(Data(), LowElem, HighElem), value);
}

int TIntVector::FindInSortedVector(bool Ascending, std::int32_t Value) const {
  return D::FindInSorted(Data(), Ascending, Value);
}

void TIntVector::SortElems(bool Ascending, int RangeFirst, int RangeLast) {
  if (!D::MakeSortRange(FNElem, RangeFirst, RangeLast)) return;
  if (!OnSortExchange) {
    D::CombSortRange(FVec, Ascending, RangeFirst, RangeLast, [](int, int) { return true; });
  } else {
    const int Last = RangeLast;
    D::CombSortRange(FVec, Ascending, RangeFirst, RangeLast, [this, Last](int I, int J) {
      SortExchange(0, I, J, 0, 0);
      return FNElem >= Last;
    });
  }
  Changed();
}

bool TIntVector::IsDichotomous(std::int32_t& v1, std::int32_t& v2) const {
  return D::IsDichotomousOf(Data(), v1, v2);
}

double TIntVector::PearsonCorrCoeff(const TIntVector* OtherVec) const {
  if (OtherVec == nullptr) return 0.0;
  return D::PearsonOf(Data(), OtherVec->Data());
}

std::int32_t TIntVector::Correlate(const TIntVector* OtherVec, int ElemShift) const {
  if (OtherVec == nullptr) return 0;
  // Only the i with 1 <= i + ElemShift <= OtherVec->NrOfElem contribute.
  const std::int64_t Lo = std::max<std::int64_t>(1, 1 - std::int64_t{ElemShift});
  const std::int64_t Hi =
      std::min<std::int64_t>(FNElem, std::int64_t{OtherVec->FNElem} - ElemShift);
  std::uint32_t S = 0;
  for (std::int64_t I = Lo; I <= Hi; ++I) {
    S += Bits(FVec[static_cast<std::size_t>(I - 1)]) *
         Bits(OtherVec->FVec[static_cast<std::size_t>(I + ElemShift - 1)]);
  }
  return static_cast<std::int32_t>(S);
}

std::int32_t TIntVector::DotProduct(const TIntVector* OtherVec) const {
  if (OtherVec == nullptr) return 0;
  if (OtherVec->FNElem != FNElem) D::RaiseComponentError(this, D::VectorCore::kDifferentDimensions);
  std::uint32_t S = 0;
  for (std::size_t I = 0; I < FVec.size(); ++I) S += Bits(FVec[I]) * Bits(OtherVec->FVec[I]);
  return static_cast<std::int32_t>(S);
}

double TIntVector::EuclideanDistance(const TIntVector* OtherVec) const {
  if (OtherVec == nullptr || OtherVec->FNElem != FNElem) {
    throw ENMXVectorError(std::string(D::kEuclideanMismatch));
  }
  return D::EuclideanOf(Data(), OtherVec->Data());
}

}  // namespace NMX_vector
