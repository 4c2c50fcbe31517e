#include "nmx/vector/intvector.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "nmx/base/errors.h"
#include "nmx/vector/detail/vector_core.h"

namespace NMX_vector {
namespace {

using Core = detail::VectorCore;

// 32-bit arithmetic wraps: it is done on the unsigned bit patterns and converted back, which
// C++20 defines as modulo 2^32.
std::uint32_t Bits(std::int32_t X) noexcept {
  return static_cast<std::uint32_t>(X);
}
std::int32_t Wrap(std::uint32_t U) noexcept {
  return static_cast<std::int32_t>(U);
}

}  // namespace

TIntVector::TIntVector(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FVec.assign(1, 0);
  } catch (const std::bad_alloc&) {
    throw ENMXVectorError(NMX_nmxbase::ComponentMessage(this, NMX_nmxbase::kNoMemoryOnHeap));
  }
}

TIntVector::~TIntVector() = default;

void TIntVector::Assign(const NMX_platform::TPersistent* Source) {
  if (const auto* Other = dynamic_cast<const TIntVector*>(Source)) {
    Core::AssignFrom(*this, *Other);
    return;
  }
  TComponent::Assign(Source);
}

void TIntVector::AssignTo(NMX_platform::TPersistent* Dest) const {
  if (auto* Other = dynamic_cast<TIntVector*>(Dest)) {
    Other->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

void TIntVector::SetIntVecSize(int NE) {
  if (NE > 0 && NE != FNElem) Resize(NE);
}

bool TIntVector::Resize(int NE) {
  return Core::Resize(*this, NE);
}

int TIntVector::MakeValidElemRange(int& LowElem, int& HighElem) const noexcept {
  return Core::MakeValidElemRange(FNElem, LowElem, HighElem);
}

double TIntVector::CalcVecLeng() const noexcept {
  // A square is below 2^62 and the sum below 2^93: no overflow in double.
  double Sum = 0.0;
  for (const std::int32_t X : FVec) {
    const auto D = static_cast<double>(X);
    Sum += D * D;
  }
  return std::sqrt(Sum);
}

std::string TIntVector::CRCofData() const {
  return Core::CRCofData<std::int32_t>(FVec);
}

void TIntVector::Clone(const TIntVector* VecSource) {
  Core::Clone(*this, VecSource);
}

int TIntVector::CopyFrom(const TIntVector* Src, int SrcElemLo, int SrcElemHi, int DestElem) {
  return Core::CopyFromVector(*this, Src, SrcElemLo, SrcElemHi, DestElem);
}

int TIntVector::CopyFrom(const NMX_nmxbase::TIntArray& Src, int SrcElemLo, int SrcElemHi,
                         int DestElem) {
  return Core::CopyFromArray(*this, Src, SrcElemLo, SrcElemHi, DestElem);
}

void TIntVector::CopyFrom2DArrayRow(const NMX_nmxbase::TInt2DArray& SrcArray, int Row, int FirstCol,
                                    int LastCol, int DestElem) {
  Core::CopyFrom2DArrayRow(*this, SrcArray, Row, FirstCol, LastCol, DestElem);
}

void TIntVector::CopyFrom2DArrayColumn(const NMX_nmxbase::TInt2DArray& SrcArray, int Col,
                                       int FirstRow, int LastRow, int DestElem) {
  Core::CopyFrom2DArrayColumn(*this, SrcArray, Col, FirstRow, LastRow, DestElem);
}

void TIntVector::CopyToArray(NMX_nmxbase::TIntArray& DestArray, int LowElem, int HighElem,
                             int DestElem) const {
  Core::CopyToArray(*this, DestArray, LowElem, HighElem, DestElem);
}

void TIntVector::CopyToArray(NMX_nmxbase::TInt2DArray& DestArray, int LowElem, int HighElem,
                             int DestCol, int DestRow, bool AsColumn) const {
  Core::CopyToArray(*this, DestArray, LowElem, HighElem, DestCol, DestRow, AsColumn);
}

void TIntVector::Fill(std::int32_t value) {
  Core::FillWith(*this, [value] { return value; });
}

void TIntVector::FillSerial(std::int32_t Offset, std::int32_t Diff) {
  std::uint32_t Next = Bits(Offset);
  Core::FillWith(*this, [&Next, Diff] {
    const std::int32_t Value = Wrap(Next);
    Next += Bits(Diff);
    return Value;
  });
}

void TIntVector::Clear() {
  std::fill(FVec.begin(), FVec.end(), 0);
  FIsEmpty = true;
  Changed();
}

void TIntVector::AbsVal() {
  for (std::int32_t& X : FVec) {
    if (X < 0) X = Wrap(0U - Bits(X));
  }
  Changed();
}

void TIntVector::Mirror() {
  Core::Mirror(FVec);
  Changed();
}

void TIntVector::ShuffleElems() {
  Core::Shuffle(FVec);
}

void TIntVector::SMult(std::int32_t scalar) {
  for (std::int32_t& X : FVec) X = Wrap(Bits(X) * Bits(scalar));
  Changed();
}

void TIntVector::Add(const TIntVector* OtherVec) {
  if (OtherVec == nullptr) return;
  if (OtherVec->FNElem != FNElem) {
    throw ENMXVectorError(NMX_nmxbase::ComponentMessage(this, Core::kDifferentDimensions));
  }
  for (std::size_t K = 0; K < FVec.size(); ++K)
    FVec[K] = Wrap(Bits(FVec[K]) + Bits(OtherVec->FVec[K]));
  Changed();
}

void TIntVector::Subtract(const TIntVector* OtherVec) {
  if (OtherVec == nullptr) return;
  if (OtherVec->FNElem != FNElem) {
    throw ENMXVectorError(NMX_nmxbase::ComponentMessage(this, Core::kDifferentDimensions));
  }
  for (std::size_t K = 0; K < FVec.size(); ++K)
    FVec[K] = Wrap(Bits(FVec[K]) - Bits(OtherVec->FVec[K]));
  Changed();
}

}  // namespace NMX_vector
