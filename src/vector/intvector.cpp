// TIntVector: what only the integer vector has (its histogram and its lagged correlation).
#include "nmx/vector/intvector.h"

#include <algorithm>
#include <cstdint>

#include "nmx/base/errors.h"
#include "vector/histogram.h"

namespace NMX_vector {
namespace {

// 32-bit sums and products wrap: they are formed on the unsigned bit patterns, which C++
// defines modulo 2^32, and converted back.
std::uint32_t Bits(std::int32_t X) noexcept {
  return static_cast<std::uint32_t>(X);
}

}  // namespace

TIntVector::TIntVector(NMX_platform::TComponent* AOwner) : TVectorBase<std::int32_t>(AOwner) {}

void TIntVector::SetIntVecSize(int NE) {
  if (NE > 0 && NE != FNElem) Resize(NE);
}

bool TIntVector::Histogram(int FirstElem, int LastElem, std::int32_t FirstBin, std::int32_t LastBin,
                           std::int32_t BinWidth, NMX_nmxbase::TIntArray& Histo, int& Underflow,
                           int& Overflow, int& MaxCnt) const {
  const std::int64_t Width = BinWidth <= 0 ? 1 : BinWidth;
  // In 64 bits |LastBin - FirstBin| cannot overflow, so the count is never <= 0.
  const std::int64_t Span = std::int64_t{LastBin} - std::int64_t{FirstBin};
  const std::int64_t NBins = (Span < 0 ? -Span : Span) / Width + 1;
  if (NBins <= 0 || NBins > 500) {
    NMX_nmxbase::RaiseComponentError<ENMXVectorError>(this, "invalid number of bins", ".Histogram");
  }
  const std::int64_t First = FirstBin;
  const std::int64_t Top = std::int64_t{LastBin} + Width;
  auto Bin = [First, Top, Width, NBins](std::int32_t X) {
    if (X < First) return detail::kUnderflow;
    if (X >= Top) return detail::kOverflow;
    const std::int64_t B = (X - First) / Width;  // X - First >= 0: div is floor
    // When LastBin - FirstBin is not a multiple of the width, values just below Top map one
    // past the last bin; they count as Overflow (as in TVector::Histogram).
    return B < NBins ? static_cast<int>(B) : detail::kOverflow;
  };
  detail::CountHistogram(Data(), FirstElem, LastElem, static_cast<int>(NBins), Bin, Histo,
                         Underflow, Overflow, MaxCnt);
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

std::int32_t TIntVector::Correlate(const TIntVector* OtherVec, int ElemShift) const {
  if (OtherVec == nullptr) return 0;
  // Only the i with 1 <= i + ElemShift <= OtherVec->NrOfElem contribute.
  const std::int64_t Lo = std::max<std::int64_t>(1, 1 - std::int64_t{ElemShift});
  const std::int64_t Hi =
      std::min<std::int64_t>(FNElem, std::int64_t{OtherVec->NrOfElem()} - ElemShift);
  std::uint32_t S = 0;
  for (std::int64_t I = Lo; I <= Hi; ++I) {
    S += Bits(FVec[static_cast<std::size_t>(I - 1)]) *
         Bits(OtherVec->Data()[static_cast<std::size_t>(I + ElemShift - 1)]);
  }
  return static_cast<std::int32_t>(S);
}

}  // namespace NMX_vector
