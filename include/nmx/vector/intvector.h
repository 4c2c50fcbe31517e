// TIntVector, the component holding a vector of 32-bit integers.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/platform/component.h"
#include "nmx/vector/errors.h"

namespace NMX_vector {

namespace detail {
struct VectorCore;
}

/// A vector of 32-bit signed integers, addressed 1..NrOfElem, with change notifications.
///
/// It behaves as TVector does (see there for the index, range and notification rules), with
/// integer elements and arrays (TIntArray, TInt2DArray). Its arithmetic (AbsVal, SMult, Add,
/// Subtract, FillSerial) is 32-bit and wraps around on overflow; it has no random fills and
/// no SetVecLeng.
class NMX_API TIntVector : public NMX_platform::TComponent {
 public:
  /// One element, value 0; IsEmpty is true and no handler is set. Raises ENMXVectorError
  /// ("not enough memory on heap") when the element cannot be allocated.
  explicit TIntVector(TComponent* AOwner = nullptr);
  ~TIntVector() override;

  std::string ClassName() const override { return "TIntVector"; }

  /// Copies NrOfElem, IsEmpty, the elements and the three handlers of a TIntVector; fires
  /// nothing. Any other Source goes to the base class, which raises EConvertError ("Cannot
  /// assign a TVector to a TIntVector"). A failed allocation raises ENMXVectorError and leaves
  /// this vector as it was.
  void Assign(const NMX_platform::TPersistent* Source) override;

  // --- size ---------------------------------------------------------------------------------

  /// The number of elements (at least 1).
  int NrOfElem() const noexcept { return FNElem; }
  /// Resize(NE) when NE > 0 and differs from NrOfElem; other values are ignored.
  void SetIntVecSize(int NE);
  /// Gives the vector NE elements: the first min(old, NE) keep their values, new ones are 0.
  /// Fires OnChange, then OnResize, and returns true. NE equal to NrOfElem returns true and
  /// fires nothing; NE <= 0 returns false and changes nothing. Raises ENMXVectorError ("not
  /// enough memory") when the array cannot grow; the vector is then unchanged.
  bool Resize(int NE);

  // --- elements -----------------------------------------------------------------------------

  /// Element Elem, or 0 outside 1..NrOfElem.
  std::int32_t GetVal(int Elem) const noexcept {
    return Elem >= 1 && Elem <= FNElem ? FVec[static_cast<std::size_t>(Elem - 1)] : 0;
  }
  /// Stores Value in element Elem, clears IsEmpty and fires OnChange; outside 1..NrOfElem it
  /// does nothing at all.
  void SetVal(int Elem, std::int32_t Value) {
    if (Elem < 1 || Elem > FNElem) return;
    FVec[static_cast<std::size_t>(Elem - 1)] = Value;
    FIsEmpty = false;
    Changed();
  }
  /// The indexed property: the same as GetVal.
  std::int32_t Elem(int Index) const noexcept { return GetVal(Index); }

  /// The elements, read only: Data()[k - 1] is element k. Valid until the next resize or Assign.
  std::span<const std::int32_t> Data() const noexcept { return FVec; }

  /// True until a value is stored; Clear sets it again. A marker for the caller only.
  bool IsEmpty() const noexcept { return FIsEmpty; }
  void SetIsEmpty(bool Value) noexcept { FIsEmpty = Value; }

  /// Normalises an element range as TVector::MakeValidElemRange does; returns -1 when a bound
  /// was clipped, else 0.
  int MakeValidElemRange(int& LowElem, int& HighElem) const noexcept;

  // --- notifications ------------------------------------------------------------------------

  /// Fires OnChange if it is set.
  void Changed() {
    if (OnChange) OnChange(this);
  }
  /// Fires OnResize if it is set.
  void Resized() {
    if (OnResize) OnResize(this);
  }

  /// Fired after the data changed, with this vector as Sender.
  NMX_nmxbase::TNotifyEvent OnChange;
  /// Fired after the number of elements changed (after OnChange).
  NMX_nmxbase::TNotifyEvent OnResize;
  /// Fired for each exchange a sort makes (What 0: elements).
  NMX_nmxbase::TSortExchgEvent OnSortExchange;

  // --- length and checksum ------------------------------------------------------------------

  /// The Euclidean length, the same as CalcVecLeng (read only).
  double Leng() const noexcept { return CalcVecLeng(); }
  /// sqrt of the sum of the elements squared as doubles (no integer overflow).
  double CalcVecLeng() const noexcept;
  /// A 32-digit checksum text: four CRC-32 registers, register j fed with byte j (little
  /// endian) of every element in order, each complemented and printed as 8 upper-case hex
  /// digits, register 0 first.
  std::string CRCofData() const;

  // --- copying ------------------------------------------------------------------------------

  /// Becomes a copy of VecSource: Resize to its size, every element through SetVal, then
  /// OnChange. nullptr does nothing.
  void Clone(const TIntVector* VecSource);
  /// Copies elements SrcElemLo..SrcElemHi of Src to DestElem, ...; the rules and status codes
  /// (0, -1, -2, -3) are those of TVector::CopyFrom.
  int CopyFrom(const TIntVector* Src, int SrcElemLo, int SrcElemHi, int DestElem);
  /// The same from a 0-based array, as TVector::CopyFrom does.
  int CopyFrom(const NMX_nmxbase::TIntArray& Src, int SrcElemLo, int SrcElemHi, int DestElem);
  /// Copies part of row Row of a [column][row] array, as TVector::CopyFrom2DArrayRow does.
  void CopyFrom2DArrayRow(const NMX_nmxbase::TInt2DArray& SrcArray, int Row, int FirstCol,
                          int LastCol, int DestElem);
  /// Copies part of column Col, as TVector::CopyFrom2DArrayColumn does.
  void CopyFrom2DArrayColumn(const NMX_nmxbase::TInt2DArray& SrcArray, int Col, int FirstRow,
                             int LastRow, int DestElem);
  /// Copies a range out into an array sized to fit, as TVector::CopyToArray does.
  void CopyToArray(NMX_nmxbase::TIntArray& DestArray, int LowElem, int HighElem,
                   int DestElem) const;
  /// Copies a range into a column or a row of a 2-D array, as TVector::CopyToArray does.
  void CopyToArray(NMX_nmxbase::TInt2DArray& DestArray, int LowElem, int HighElem, int DestCol,
                   int DestRow, bool AsColumn) const;

  // --- filling ------------------------------------------------------------------------------

  /// Every element := value (through SetVal), then OnChange.
  void Fill(std::int32_t value);
  /// Element 1 := Offset, each next one the previous plus Diff in wrapping 32-bit arithmetic.
  void FillSerial(std::int32_t Offset, std::int32_t Diff);
  /// Every element := 0, IsEmpty := true, then OnChange (once).
  void Clear();

  // --- element-wise operations (each fires OnChange once; arithmetic wraps) -----------------

  /// Every element := its absolute value; -2147483648 stays as it is.
  void AbsVal();
  /// Reverses the order of the elements.
  void Mirror();
  /// A random permutation: reseeds the platform generator from the clock, then makes
  /// NrOfElem exchanges between two uniformly drawn positions. Fires nothing.
  void ShuffleElems();
  /// Every element := element * scalar, modulo 2^32.
  void SMult(std::int32_t scalar);
  /// Element k += OtherVec->GetVal(k) modulo 2^32. nullptr does nothing; a different NrOfElem
  /// raises ENMXVectorError ("vectors have different dimensions").
  void Add(const TIntVector* OtherVec);
  /// Element k -= OtherVec->GetVal(k) modulo 2^32; nullptr and the error as for Add.
  void Subtract(const TIntVector* OtherVec);

  // --- statistics, order statistics, searching and sorting (src/vector/intvector_stats.cpp)
  //
  // As those of TVector (see there for the range and notification rules), with these
  // differences: Sum, DotProduct and Correlate add in wrapping 32-bit arithmetic; MeanVar,
  // the moments, PearsonCorrCoeff and EuclideanDistance work in double (no integer overflow);
  // there are no Integrate, Standardize, QNormalize and MeanCenter.

  /// Mean := sum / n, summed in double in element order, and the sample variance (divisor
  /// n - 1), formed from deviations; one or two elements report the variance 1.
  void MeanVar(int LowElem, int HighElem, double& Mean, double& Variance) const;
  /// The smallest and largest element; the searches start at 2147483647 and -2147483647
  /// (not -2147483648), so a range of nothing but -2147483648 reports Maximum -2147483647.
  void MinMax(int LowElem, int HighElem, std::int32_t& Minimum, std::int32_t& Maximum) const;
  /// The same with the indices of the first smallest and first largest element; an index is
  /// 0 when no element went beyond its start value.
  void MinMax(int LowElem, int HighElem, std::int32_t& Minimum, std::int32_t& Maximum, int& MinIx,
              int& MaxIx) const;
  /// The sum of the range modulo 2^32.
  std::int32_t Sum(int LowElem, int HighElem) const;
  /// exp(sum of ln x / n), or 0 when an element is 0. Raises ENMXVectorError ("negative
  /// argument passed to GeometricMean") when an element of the range is negative.
  double GeometricMean(int LowElem, int HighElem) const;
  /// n / sum of 1/x. Raises ENMXVectorError ("negative or zero argument passed to
  /// HarmonicMean") when an element of the range is <= 0.
  double HarmonicMean(int LowElem, int HighElem) const;
  /// Skewness and excess kurtosis of the range, as TVector::SkewKurt.
  void SkewKurt(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const;
  /// The bias-corrected forms, as TVector::SkewKurtSample.
  void SkewKurtSample(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const;
  /// The quartiles by the (n + 1)p rule, as TVector::Quartiles; the interpolation uses the
  /// exact difference of the neighbours. Raises ENMXVectorError ("not enough memory on heap")
  /// when the sorted copy cannot be allocated.
  bool Quartiles(int LowElem, int HighElem, double& Q1, double& Q2, double& Q3) const;
  /// The prob percentile, as TVector::Percentile (and the same error).
  double Percentile(double prob, int LowElem, int HighElem) const;
  /// The most frequent value, the smaller one on ties, as TVector::Mode.
  std::int32_t Mode(int LowElem, int HighElem) const;
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
  /// The index of the element nearest to value (the first on ties).
  int Find(int LowElem, int HighElem, std::int32_t value) const;
  /// The first index whose element equals value, or 0.
  int FindExact(int LowElem, int HighElem, std::int32_t value) const;
  /// Bisects the sorted vector for Value, as TVector::FindInSortedVector.
  int FindInSortedVector(bool Ascending, std::int32_t Value) const;
  /// Sorts a range in place by comb sort announcing every exchange, as TVector::SortElems.
  void SortElems(bool Ascending, int RangeFirst, int RangeLast);
  /// True when the vector holds at most two distinct values, as TVector::IsDichotomous.
  bool IsDichotomous(std::int32_t& v1, std::int32_t& v2) const;
  /// Pearson's correlation coefficient in double, as TVector::PearsonCorrCoeff.
  double PearsonCorrCoeff(const TIntVector* OtherVec) const;
  /// The sum of x(i) OtherVec->GetVal(i + ElemShift) over i = 1..NrOfElem modulo 2^32:
  /// indices outside OtherVec contribute 0, and a single overlapping index counts. 0 for a
  /// nullptr.
  std::int32_t Correlate(const TIntVector* OtherVec, int ElemShift) const;
  /// The sum of x(i) y(i) modulo 2^32; 0 for a nullptr. Raises ENMXVectorError ("vectors
  /// have different dimensions") for different lengths.
  std::int32_t DotProduct(const TIntVector* OtherVec) const;
  /// sqrt of the sum of (x(i) - y(i))^2 in double. Raises ENMXVectorError
  /// ("EuclideanDistance: dimensions of vectors do not match") for different lengths and for
  /// a nullptr.
  double EuclideanDistance(const TIntVector* OtherVec) const;

 private:
  // The moments behind SkewKurt and SkewKurtSample; N receives the length of the range.
  void SkewKurtIntern(int LowElem, int HighElem, double& Skewness, double& Kurtosis, int& N) const;

 public:
  // --- files and streams (src/vector/intvector_files.cpp) -----------------------------------
  //
  // The formats and rules of TVector's files and streams (see there), with integers: values
  // are read as numbers, clamped to the int32 range and rounded to nearest, ties to even
  // ("2.5" gives 2, "1e10" gives 2147483647); a NaN is no readable value.

  /// Writes the vector as an ASC data file of one column, each element a plain decimal
  /// integer; an empty Comment gives "Exported by NMX TIntVector component: " and FName.
  /// Returns 0, or -1 when the file cannot be created. Raises NMX_platform::EInOutError when
  /// a write fails after the file was created.
  int ExportAsASC(const std::string& FName, const std::string& Comment) const;
  /// Reads an ASC data file of one column, with the status codes and rules of
  /// TVector::ImportASC; a value that is NaN ("NAN", "nan") or "###" stores 0.
  int ImportASC(const std::string& FName, std::string& Comment);
  /// Writes a list file: the line "FirstElem LastElem", then one plain integer a line. A
  /// reversed pair is exchanged, FirstElem <= 0 becomes 1 and LastElem > NrOfElem becomes
  /// NrOfElem; nothing else is clipped, so (9, 7) on three elements writes "7 3" and no value.
  /// Returns false when the file cannot be created, else true (later write errors are
  /// ignored).
  bool StoreOnFile(int FirstElem, int LastElem, const std::string& FileName) const;
  /// Reads a list file, as TVector::LoadFromFile does.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize);
  /// Writes LowElem and HighElem (made valid) and elements LowElem..HighElem from the
  /// stream's current position, each item a 4-byte little-endian integer
  /// (NMX_streams::WriteLongintToStream): 4 * (count + 2) bytes. A failed write shows in the
  /// stream's state only; there is no null stream to replace.
  void SaveToStream(std::ostream& OutStream, int LowElem, int HighElem) const;
  /// Reads what SaveToStream wrote, with the rules of TVector::LoadFromStream (4-byte items).
  bool LoadFromStream(std::istream& InStream, bool AdjustVectorSize);

 protected:
  /// Hands the copy to Dest->Assign when Dest is a TIntVector, else to the base class.
  void AssignTo(NMX_platform::TPersistent* Dest) const override;

  /// Fires OnSortExchange (if set) with this vector as Sender and the five arguments.
  void SortExchange(std::uint8_t What, int Index1, int Index2, int First, int Last) {
    if (OnSortExchange) OnSortExchange(this, What, Index1, Index2, First, Last);
  }

 private:
  friend struct detail::VectorCore;

  int FNElem = 1;
  NMX_nmxbase::TIntArray FVec;
  bool FIsEmpty = true;
};

}  // namespace NMX_vector
