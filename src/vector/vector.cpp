#include "nmx/vector/vector.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <new>

#include "nmx/base/errors.h"
#include "nmx/math1/random.h"
#include "nmx/platform/random.h"
#include "nmx/vector/detail/vector_core.h"

namespace NMX_vector {
namespace {

using Core = detail::VectorCore;

// The length of V by sums of elements scaled with the power of two that brings the largest
// magnitude into [0.5, 1): the scaling is exact, so only squares far below the largest one
// (which cannot matter) may underflow, and the sum is at most the element count.
double ScaledLength(std::span<const double> V) noexcept {
  double Largest = 0.0;
  for (const double X : V) Largest = std::max(Largest, std::fabs(X));
  if (Largest == 0.0 || std::isinf(Largest)) return Largest;
  int Exponent = 0;
  std::frexp(Largest, &Exponent);
  double Sum = 0.0;
  for (const double X : V) {
    const double Y = std::ldexp(X, -Exponent);
    Sum += Y * Y;
  }
  return std::ldexp(std::sqrt(Sum), Exponent);
}

}  // namespace

TVector::TVector(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FVec.assign(1, 0.0);
  } catch (const std::bad_alloc&) {
    throw ENMXVectorError(NMX_nmxbase::ComponentMessage(this, NMX_nmxbase::kNoMemoryOnHeap));
  }
}

TVector::~TVector() = default;

void TVector::Assign(const NMX_platform::TPersistent* Source) {
  if (const auto* Other = dynamic_cast<const TVector*>(Source)) {
    Core::AssignFrom(*this, *Other);
    return;
  }
  TComponent::Assign(Source);
}

void TVector::AssignTo(NMX_platform::TPersistent* Dest) const {
  if (auto* Other = dynamic_cast<TVector*>(Dest)) {
    Other->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

void TVector::SetVecSize(int NE) {
  if (NE > 0 && NE != FNElem) Resize(NE);
}

bool TVector::Resize(int NE) {
  return Core::Resize(*this, NE);
}

int TVector::MakeValidElemRange(int& LowElem, int& HighElem) const noexcept {
  return Core::MakeValidElemRange(FNElem, LowElem, HighElem);
}

double TVector::CalcVecLeng() const noexcept {
  double Sum = 0.0;
  for (const double X : FVec) Sum += X * X;
  // Inside these bounds no square overflowed, and squares that underflowed lost at most
  // n * 2^-1075 together, far below the last digit of the sum. Outside them the plain sum may
  // be infinite or 0 (or short of digits) although the length is representable.
  constexpr double kLowestSafeSum = 0x1p-970;
  if (Sum >= kLowestSafeSum && Sum <= DBL_MAX) return std::sqrt(Sum);
  if (std::isnan(Sum)) return Sum;
  return ScaledLength(FVec);
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

std::string TVector::CRCofData() const {
  return Core::CRCofData<double>(FVec);
}

void TVector::Clone(const TVector* VecSource) {
  Core::Clone(*this, VecSource);
}

int TVector::CopyFrom(const TVector* Src, int SrcElemLo, int SrcElemHi, int DestElem) {
  return Core::CopyFromVector(*this, Src, SrcElemLo, SrcElemHi, DestElem);
}

int TVector::CopyFrom(const NMX_nmxbase::TDoubleArray& Src, int SrcElemLo, int SrcElemHi,
                      int DestElem) {
  return Core::CopyFromArray(*this, Src, SrcElemLo, SrcElemHi, DestElem);
}

void TVector::CopyFrom2DArrayRow(const NMX_nmxbase::TDouble2DArray& SrcArray, int Row, int FirstCol,
                                 int LastCol, int DestElem) {
  Core::CopyFrom2DArrayRow(*this, SrcArray, Row, FirstCol, LastCol, DestElem);
}

void TVector::CopyFrom2DArrayColumn(const NMX_nmxbase::TDouble2DArray& SrcArray, int Col,
                                    int FirstRow, int LastRow, int DestElem) {
  Core::CopyFrom2DArrayColumn(*this, SrcArray, Col, FirstRow, LastRow, DestElem);
}

void TVector::CopyToArray(NMX_nmxbase::TDoubleArray& DestArray, int LowElem, int HighElem,
                          int DestElem) const {
  Core::CopyToArray(*this, DestArray, LowElem, HighElem, DestElem);
}

void TVector::CopyToArray(NMX_nmxbase::TDouble2DArray& DestArray, int LowElem, int HighElem,
                          int DestCol, int DestRow, bool AsColumn) const {
  Core::CopyToArray(*this, DestArray, LowElem, HighElem, DestCol, DestRow, AsColumn);
}

void TVector::Fill(double value) {
  Core::FillWith(*this, [value] { return value; });
}

void TVector::FillSerial(double Offset, double Diff) {
  double Next = Offset;
  Core::FillWith(*this, [&Next, Diff] {
    const double Value = Next;
    Next += Diff;
    return Value;
  });
}

void TVector::FillRandomUniform(double RangeLow, double RangeHigh) {
  const double Width = RangeHigh - RangeLow;
  Core::FillWith(*this, [RangeLow, Width] { return RangeLow + NMX_platform::Random() * Width; });
}

void TVector::FillRandomGauss(double Mean, double StdDev) {
  Core::FillWith(*this, [Mean, StdDev] { return NMX_math1::GRandom() * StdDev + Mean; });
}

void TVector::Clear() {
  std::fill(FVec.begin(), FVec.end(), 0.0);
  FIsEmpty = true;
  Changed();
}

void TVector::AbsVal() {
  for (double& X : FVec) X = std::fabs(X);
  Changed();
}

void TVector::Mirror() {
  Core::Mirror(FVec);
  Changed();
}

void TVector::ShuffleElems() {
  Core::Shuffle(FVec);
}

void TVector::SMult(double scalar) {
  for (double& X : FVec) X *= scalar;
  Changed();
}

void TVector::Add(const TVector* OtherVec) {
  if (OtherVec == nullptr) return;
  if (OtherVec->FNElem != FNElem) {
    throw ENMXVectorError(NMX_nmxbase::ComponentMessage(this, Core::kDifferentDimensions));
  }
  for (std::size_t K = 0; K < FVec.size(); ++K) FVec[K] += OtherVec->FVec[K];
  Changed();
}

void TVector::Subtract(const TVector* OtherVec) {
  if (OtherVec == nullptr) return;
  if (OtherVec->FNElem != FNElem) {
    throw ENMXVectorError(NMX_nmxbase::ComponentMessage(this, Core::kDifferentDimensions));
  }
  for (std::size_t K = 0; K < FVec.size(); ++K) FVec[K] -= OtherVec->FVec[K];
  Changed();
}

}  // namespace NMX_vector
