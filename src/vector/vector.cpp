// TVector: what only a vector of doubles has (length scaling, random fills, histogram,
// integration, lagged correlation, standardising).
#include "nmx/vector/vector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

#include "math1/bins.h"
#include "nmx/math1/moments.h"
#include "nmx/math1/random.h"
#include "nmx/platform/random.h"
#include "vector/histogram.h"
#include "vector/write_paths.h"

namespace NMX_vector {

TVector::TVector(NMX_platform::TComponent* AOwner) : TVectorBase<double>(AOwner) {}

void TVector::SetVecSize(int NE) {
  if (NE > 0 && NE != FNElem) Resize(NE);
}

void TVector::SetVecLeng(double x) {
  const double L = CalcVecLeng();
  if (L <= 0.0) return;
  const double Factor = x / L;
  if (std::isinf(Factor) && std::isfinite(x)) {
    // L is so small that x / L overflows, although the scaled elements (each at most x in
    // magnitude) are representable.
    for (double& X : FVec) X = X / L * x;
  } else {
    for (double& X : FVec) X *= Factor;
  }
  Changed();
}

void TVector::FillRandomUniform(double RangeLow, double RangeHigh) {
  const double Width = RangeHigh - RangeLow;
  FillWith([RangeLow, Width] { return RangeLow + NMX_platform::Random() * Width; });
}

void TVector::FillRandomGauss(double Mean, double StdDev) {
  FillWith([Mean, StdDev] { return NMX_math1::GRandom() * StdDev + Mean; });
}

bool TVector::Histogram(int FirstElem, int LastElem, double FirstBin, double LastBin,
                        double BinWidth, NMX_nmxbase::TIntArray& Histo, int& Underflow,
                        int& Overflow, int& MaxCnt) const {
  const int NBins = NMX_math1::detail::DoubleBinCount(FirstBin, LastBin, BinWidth);
  if (NBins == 0) return false;
  const NMX_math1::detail::TDoubleBins Bin{FirstBin, LastBin + BinWidth, BinWidth, NBins};
  detail::CountHistogram(Data(), FirstElem, LastElem, NBins, Bin, Histo, Underflow, Overflow,
                         MaxCnt);
  return true;
}

bool TVector::Histogram(int FirstElem, int LastElem, double FirstBin, double LastBin,
                        double BinWidth, TIntVector* Histo, int& Underflow, int& Overflow,
                        int& MaxCnt) const {
  if (Histo == nullptr) return false;
  NMX_nmxbase::TIntArray Counts;
  if (!Histogram(FirstElem, LastElem, FirstBin, LastBin, BinWidth, Counts, Underflow, Overflow,
                 MaxCnt)) {
    return false;
  }
  Histo->SetIntVecSize(static_cast<int>(Counts.size()));
  Histo->CopyFrom(Counts, 0, 0, 1);
  return true;
}

double TVector::Integrate(double BoundLow, double BoundHigh, TIntegMethod Method) const {
  if (std::isnan(BoundLow) || std::isnan(BoundHigh))
    return std::numeric_limits<double>::quiet_NaN();
  const double NE = static_cast<double>(FNElem);
  double Lo = std::clamp(BoundLow, 1.0, NE);
  double Hi = std::clamp(BoundHigh, 1.0, NE);
  if (Lo > Hi) std::swap(Lo, Hi);
  const double W = Hi - Lo;
  // The samples a..b lie inside [lo, hi]; b = a - 1 when no sample does.
  const int A = static_cast<int>(std::ceil(Lo));
  const int B = static_cast<int>(std::trunc(Hi));
  auto V = [this](int K) { return GetVal(K); };
  // The trapezoids between a bound and its nearest sample, the bound's value interpolated.
  const double HiFrac = Hi - B;
  const double LoFrac = A - Lo;
  const double R =
      HiFrac == 0.0 ? 0.0 : HiFrac * (V(B) + (V(B) + HiFrac * (V(B + 1) - V(B)))) / 2.0;
  const double L =
      LoFrac == 0.0 ? 0.0 : LoFrac * (V(A) + (V(A - 1) + (Lo - A + 1) * (V(A) - V(A - 1)))) / 2.0;

  auto Trapezoidal = [&]() {
    if (B < A) {
      // Both bounds between the samples b and a: the mean of their interpolated values.
      const double AtLo = V(B) + (Lo - B) * (V(A) - V(B));
      const double AtHi = V(B) + (Hi - B) * (V(A) - V(B));
      return (AtLo + AtHi) / 2.0 * W;
    }
    double Inner = 0.0;
    for (int K = A; K < B; ++K) Inner += (V(K) + V(K + 1)) / 2.0;
    return R + L + Inner;
  };

  switch (Method) {
    case imSimple: {
      if (B < A) return (V(B) + V(A)) / 2.0 * W;
      double S = 0.0;
      for (int K = A; K <= B; ++K) S += V(K);
      return S / (B - A + 1) * W;
    }
    case imTrapezoidal:
      return Trapezoidal();
    case imSimpson: {
      const int Span = B - A;
      if (Span <= 1) return Trapezoidal();
      auto X = [&V](int K) { return static_cast<long double>(V(K)); };
      long double Rule = 0.0L;
      if (Span == 2) {
        Rule = (X(A) + 4.0L * X(A + 1) + X(A + 2)) / 3.0L;
      } else if (Span == 3) {
        Rule = 3.0L / 8.0L * (X(A) + 3.0L * X(A + 1) + 3.0L * X(A + 2) + X(A + 3));
      } else if (Span == 4) {
        Rule = 2.0L / 45.0L *
               (7.0L * X(A) + 32.0L * X(A + 1) + 12.0L * X(A + 2) + 32.0L * X(A + 3) +
                7.0L * X(A + 4));
      } else {
        // The alternative extended Simpson rule: end weights 3/8, 7/6, 23/24, inner ones 1.
        Rule = 3.0L / 8.0L * X(A) + 7.0L / 6.0L * X(A + 1) + 23.0L / 24.0L * X(A + 2);
        for (int K = A + 3; K <= B - 3; ++K) Rule += X(K);
        Rule += 23.0L / 24.0L * X(B - 2) + 7.0L / 6.0L * X(B - 1) + 3.0L / 8.0L * X(B);
      }
      return static_cast<double>(static_cast<long double>(R) + static_cast<long double>(L) + Rule);
    }
  }
  return 0.0;
}

double TVector::Correlate(const TVector* OtherVec, int ElemShift) const {
  if (OtherVec == nullptr) return 0.0;
  const std::int64_t Lo = std::max<std::int64_t>(1, std::int64_t{ElemShift} + 1);
  const std::int64_t Hi =
      std::min<std::int64_t>(FNElem, std::int64_t{ElemShift} + OtherVec->NrOfElem());
  if (Hi - Lo + 1 < 2) return 0.0;
  const double* X = FVec.data();
  const double* Y = OtherVec->Data().data();
  double S = 0.0;
  for (std::int64_t I = Lo; I <= Hi; ++I) {
    S += X[static_cast<std::size_t>(I - 1)] * Y[static_cast<std::size_t>(I - ElemShift - 1)];
  }
  return S;
}

void TVector::Standardize(double& mean, double& stddev) {
  double Variance = 0.0;
  MeanVar(0, 0, mean, Variance);
  stddev = std::sqrt(Variance);
  if (stddev <= 0.0) return;
  for (double& X : FVec) X = (X - mean) / stddev;
}

void TVector::QNormalize(double RefQuant, double& Median, double& QuantDiff) {
  const double P = Percentile(RefQuant, 0, 0);
  Median = Percentile(50.0, 0, 0);
  QuantDiff = std::fabs(Median - P);
  if (QuantDiff <= 0.0) return;
  for (double& X : FVec) X = (X - Median) / QuantDiff;
}

double TVector::MeanCenter() {
  // The mean MeanVar gives: the sum in element order over n.
  const double Mean = NMX_math1::CentralMoments(Data()).Sum / static_cast<double>(FNElem);
  for (double& X : FVec) X -= Mean;
  return Mean;
}

}  // namespace NMX_vector
