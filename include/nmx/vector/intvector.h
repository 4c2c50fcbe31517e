// TIntVector, the component holding a vector of 32-bit integers.
#pragma once

#include <cstdint>
#include <string>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/platform/component.h"
#include "nmx/vector/errors.h"
#include "nmx/vector/vector_base.h"

namespace NMX_vector {

/// A vector of 32-bit signed integers, addressed 1..NrOfElem, with change notifications.
/// Everything it shares with TVector is documented in TVectorBase (its arithmetic wraps
/// around on overflow, its means and moments are taken in double); here is what only the
/// integer vector has. It has no random fills, no SetVecLeng, Integrate, Standardize,
/// QNormalize or MeanCenter.
class NMX_API TIntVector : public TVectorBase<std::int32_t> {
 public:
  /// One element, value 0; IsEmpty is true and no handler is set. Raises ENMXVectorError
  /// ("not enough memory on heap") when the element cannot be allocated.
  explicit TIntVector(NMX_platform::TComponent* AOwner = nullptr);

  std::string ClassName() const override { return "TIntVector"; }

  /// Resize(NE) when NE > 0 and differs from NrOfElem; other values are ignored.
  void SetIntVecSize(int NE);

  /// Counts the values of elements FirstElem..LastElem (not clipped: indices outside read 0,
  /// so (0, 0) counts one 0) into |LastBin - FirstBin| div BinWidth + 1 bins; a BinWidth <= 0
  /// counts as 1. A value x with FirstBin <= x < LastBin + BinWidth goes to bin
  /// (x - FirstBin) div BinWidth, smaller ones to Underflow, larger ones to Overflow, and so do
  /// values that map beyond the last bin (when LastBin - FirstBin is not a multiple of
  /// BinWidth). MaxCnt is the largest bin count. Returns true; raises ENMXVectorError
  /// ("Component "<Name>.Histogram": invalid number of bins") for more than 500 bins.
  bool Histogram(int FirstElem, int LastElem, std::int32_t FirstBin, std::int32_t LastBin,
                 std::int32_t BinWidth, NMX_nmxbase::TIntArray& Histo, int& Underflow,
                 int& Overflow, int& MaxCnt) const;
  /// The same into an integer vector, resized to the number of bins (SetIntVecSize) and
  /// filled with CopyFrom, so its handlers fire. A nullptr Histo returns false and changes
  /// nothing.
  bool Histogram(int FirstElem, int LastElem, std::int32_t FirstBin, std::int32_t LastBin,
                 std::int32_t BinWidth, TIntVector* Histo, int& Underflow, int& Overflow,
                 int& MaxCnt) const;
  /// The sum of x(i) OtherVec->GetVal(i + ElemShift) over i = 1..NrOfElem modulo 2^32:
  /// indices outside OtherVec contribute 0, and a single overlapping index counts. 0 for a
  /// nullptr.
  std::int32_t Correlate(const TIntVector* OtherVec, int ElemShift) const;

  // --- files --------------------------------------------------------------------------------

  /// Writes the vector as an ASC data file of one column, each element a plain decimal
  /// integer; an empty Comment gives "Exported by NMX TIntVector component: " and FName.
  /// Returns 0, or -1 when the file cannot be created. Raises NMX_platform::EInOutError when
  /// a write fails after the file was created.
  int ExportAsASC(const std::string& FName, const std::string& Comment) const;
  /// Writes a list file: the line "FirstElem LastElem", then one plain integer a line. A
  /// reversed pair is exchanged, FirstElem <= 0 becomes 1 and LastElem > NrOfElem becomes
  /// NrOfElem; nothing else is clipped, so (9, 7) on three elements writes "7 3" and no value.
  /// Returns false when the file cannot be created, else true (later write errors are
  /// ignored).
  bool StoreOnFile(int FirstElem, int LastElem, const std::string& FileName) const;
};

}  // namespace NMX_vector
