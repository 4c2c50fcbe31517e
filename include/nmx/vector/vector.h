// TVector, the component holding a vector of doubles.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/platform/component.h"
#include "nmx/vector/errors.h"
#include "nmx/vector/integ_method.h"
#include "nmx/vector/intvector.h"

namespace NMX_vector {

namespace detail {
struct VectorCore;
}

/// A vector of doubles, addressed 1..NrOfElem, with change notifications.
///
/// A vector always has at least one element. Reads outside 1..NrOfElem give 0, writes there
/// are ignored, and element ranges are normalised by MakeValidElemRange: indices are never
/// errors. Every SetVal fires OnChange, so the copies and fills fire it once per element
/// written and once more at their end (when no OnChange handler is set they write the array
/// directly, which nobody can tell apart). Dynamic arrays passed in or out are 0-based;
/// two-dimensional ones are addressed [column][row].
class NMX_API TVector : public NMX_platform::TComponent {
 public:
  /// One element, value 0; IsEmpty is true and no handler is set. Raises ENMXVectorError
  /// ("not enough memory on heap") when the element cannot be allocated.
  explicit TVector(TComponent* AOwner = nullptr);
  ~TVector() override;

  std::string ClassName() const override { return "TVector"; }

  /// Copies NrOfElem, IsEmpty, the elements and the three handlers of a TVector; fires
  /// nothing. Any other Source goes to the base class, which raises EConvertError ("Cannot
  /// assign a TIntVector to a TVector"). A failed allocation raises ENMXVectorError and leaves
  /// this vector as it was.
  void Assign(const NMX_platform::TPersistent* Source) override;

  // --- size ---------------------------------------------------------------------------------

  /// The number of elements (at least 1).
  int NrOfElem() const noexcept { return FNElem; }
  /// Resize(NE) when NE > 0 and differs from NrOfElem; other values are ignored.
  void SetVecSize(int NE);
  /// Gives the vector NE elements: the first min(old, NE) keep their values, new ones are 0.
  /// Fires OnChange, then OnResize, and returns true. NE equal to NrOfElem returns true and
  /// fires nothing; NE <= 0 returns false and changes nothing. Raises ENMXVectorError ("not
  /// enough memory") when the array cannot grow; the vector is then unchanged. IsEmpty is not
  /// touched.
  bool Resize(int NE);

  // --- elements -----------------------------------------------------------------------------

  /// Element Elem, or 0 outside 1..NrOfElem.
  double GetVal(int Elem) const noexcept {
    return Elem >= 1 && Elem <= FNElem ? FVec[static_cast<std::size_t>(Elem - 1)] : 0.0;
  }
  /// Stores Value in element Elem, clears IsEmpty and fires OnChange; outside 1..NrOfElem it
  /// does nothing at all.
  void SetVal(int Elem, double Value) {
    if (Elem < 1 || Elem > FNElem) return;
    FVec[static_cast<std::size_t>(Elem - 1)] = Value;
    FIsEmpty = false;
    Changed();
  }
  /// The indexed property: the same as GetVal.
  double Elem(int Index) const noexcept { return GetVal(Index); }

  /// The elements, read only: Data()[k - 1] is element k. Valid until the next resize or Assign.
  std::span<const double> Data() const noexcept { return FVec; }

  /// True until a value is stored; Clear sets it again. A marker for the caller only.
  bool IsEmpty() const noexcept { return FIsEmpty; }
  void SetIsEmpty(bool Value) noexcept { FIsEmpty = Value; }

  /// Normalises an element range: (0, 0) becomes (1, NrOfElem); otherwise each bound is
  /// clipped to 1..NrOfElem and a reversed pair exchanged. Returns -1 when a bound was
  /// clipped, else 0 (an exchange alone does not count).
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

  /// The Euclidean length, the same as CalcVecLeng.
  double Leng() const noexcept { return CalcVecLeng(); }
  /// The Euclidean length sqrt(sum of squares). Computed without overflow or underflow: data
  /// whose plain sum of squares would leave the double range (elements beyond about 1e154 or
  /// all below about 1e-154) is summed scaled by a power of two, so the length is right
  /// wherever it is representable. Elsewhere the result is the plain sum's, bit for bit.
  double CalcVecLeng() const noexcept;
  /// Multiplies every element by x / L, L being CalcVecLeng, and fires OnChange; nothing
  /// happens when L <= 0. Where x / L itself overflows (L tiny), each element is divided by L
  /// first and then multiplied by x, so representable results stay finite.
  void SetVecLeng(double x);
  /// A 64-digit checksum text: eight CRC-32 registers, register j fed with byte j (little
  /// endian) of every element in order, each complemented and printed as 8 upper-case hex
  /// digits, register 0 first. Changing one byte of the data changes only its register's
  /// eight digits.
  std::string CRCofData() const;

  // --- copying ------------------------------------------------------------------------------

  /// Becomes a copy of VecSource: Resize to its size, every element through SetVal, then
  /// OnChange. nullptr does nothing.
  void Clone(const TVector* VecSource);
  /// Copies elements SrcElemLo..SrcElemHi of Src to DestElem, DestElem + 1, ...; targets
  /// beyond this vector are dropped. (0, 0) copies all of Src and leaves DestElem unchecked
  /// (targets below 1 are dropped as well). Returns 0, or with nothing copied and nothing
  /// fired: -1 for a nullptr Src, -2 for a source bound outside 1..Src->NrOfElem, -3 for
  /// DestElem outside 1..NrOfElem (-3 wins over -2). A reversed range is exchanged. Elements
  /// go one by one in ascending order, so an overlapping copy of a vector onto itself with
  /// DestElem > SrcElemLo repeats the values it has already copied.
  int CopyFrom(const TVector* Src, int SrcElemLo, int SrcElemHi, int DestElem);
  /// The same from a 0-based array: -1 for an empty Src, (0, 0) for the whole array, -2 for a
  /// source index outside 0..size - 1, -3 for DestElem outside 1..NrOfElem; Src[i] goes to
  /// element DestElem + (i - SrcElemLo).
  int CopyFrom(const NMX_nmxbase::TDoubleArray& Src, int SrcElemLo, int SrcElemHi, int DestElem);
  /// Copies SrcArray[c][Row] for c = FirstCol..LastCol to elements DestElem, DestElem + 1,
  /// ... Row is clipped to the rows of column 0, the columns to those of the array (and
  /// exchanged if reversed). Copies and fires OnChange only if some target lies in 1..NrOfElem;
  /// targets outside are dropped, and so are columns too short to have the row. An empty
  /// array, or one whose column 0 is empty, copies nothing.
  void CopyFrom2DArrayRow(const NMX_nmxbase::TDouble2DArray& SrcArray, int Row, int FirstCol,
                          int LastCol, int DestElem);
  /// The same down one column: Col is clipped to the columns, FirstRow and LastRow to the rows
  /// of column 0; SrcArray[Col][r] goes to element DestElem + (r - FirstRow), and rows that
  /// column Col lacks are skipped.
  void CopyFrom2DArrayColumn(const NMX_nmxbase::TDouble2DArray& SrcArray, int Col, int FirstRow,
                             int LastRow, int DestElem);
  /// Copies elements LowElem..HighElem (made valid) to DestArray[DestElem], ...; DestElem
  /// below 0 counts as 0. DestArray gets exactly DestElem + (HighElem - LowElem + 1) entries:
  /// those below DestElem keep their values, a longer array is cut. Fires nothing. Raises
  /// ENMXVectorError ("not enough memory") when DestArray cannot grow; it is then unchanged.
  void CopyToArray(NMX_nmxbase::TDoubleArray& DestArray, int LowElem, int HighElem,
                   int DestElem) const;
  /// Copies elements LowElem..HighElem (made valid) into a column (AsColumn) or a row of
  /// DestArray, which is not resized: element i goes to DestArray[DestCol][DestRow + i -
  /// LowElem] or DestArray[DestCol + i - LowElem][DestRow]. DestCol is clipped to the columns
  /// and DestRow to the rows of column 0; targets beyond the end of a column or beyond the
  /// last column are skipped. Fires nothing.
  void CopyToArray(NMX_nmxbase::TDouble2DArray& DestArray, int LowElem, int HighElem, int DestCol,
                   int DestRow, bool AsColumn) const;

  // --- filling ------------------------------------------------------------------------------

  /// Every element := value (through SetVal), then OnChange.
  void Fill(double value);
  /// Element 1 := Offset, each next one the previous plus Diff, accumulated step by step in
  /// double (so element 11 of FillSerial(0, 0.1) is ten additions of 0.1, not 10 * 0.1).
  void FillSerial(double Offset, double Diff);
  /// Every element := RangeLow + u * (RangeHigh - RangeLow), u uniform in [0, 1) from the
  /// platform generator, drawn in element order.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  /// Every element := g * StdDev + Mean, g a standard normal variate (NMX_math1::GRandom).
  void FillRandomGauss(double Mean, double StdDev);
  /// Every element := 0, IsEmpty := true, then OnChange (once).
  void Clear();

  // --- element-wise operations (each fires OnChange once) -----------------------------------

  /// Every element := its absolute value.
  void AbsVal();
  /// Reverses the order of the elements.
  void Mirror();
  /// A random permutation: reseeds the platform generator from the clock, then makes
  /// NrOfElem exchanges between two uniformly drawn positions. Fires nothing.
  void ShuffleElems();
  /// Every element := element * scalar.
  void SMult(double scalar);
  /// Element k += OtherVec->GetVal(k). nullptr does nothing; a different NrOfElem raises
  /// ENMXVectorError ("vectors have different dimensions").
  void Add(const TVector* OtherVec);
  /// Element k -= OtherVec->GetVal(k); nullptr and the error as for Add.
  void Subtract(const TVector* OtherVec);

  // --- statistics, order statistics, searching and sorting (src/vector/vector_stats.cpp) ---
  //
  // Ranges LowElem, HighElem are made valid with MakeValidElemRange: (0, 0) is the whole
  // vector. Sums run in element order, in double unless said otherwise. Nothing here fires
  // OnChange except SortElems; Standardize, QNormalize and MeanCenter change the elements
  // without firing it.

  /// Mean := sum / n (summed in element order) and the sample variance (divisor n - 1) of the
  /// range. A range of one or two elements reports the variance 1; a rounding below 0 gives 0.
  /// The variance is formed from deviations, block by block, with the blocks combined by the
  /// pairwise update, so a large common offset of the data costs no digits.
  void MeanVar(int LowElem, int HighElem, double& Mean, double& Variance) const;
  /// The smallest and the largest element of the range; the searches start at 1.7e308 and
  /// -1.7e308, so a range that holds nothing beyond these reports the start values.
  void MinMax(int LowElem, int HighElem, double& Minimum, double& Maximum) const;
  /// The same with the indices of the first smallest and the first largest element; an index
  /// is 0 when no element went beyond its start value (all NaN, say).
  void MinMax(int LowElem, int HighElem, double& Minimum, double& Maximum, int& MinIx,
              int& MaxIx) const;
  /// The sum of the range, in element order.
  double Sum(int LowElem, int HighElem) const;
  /// exp(sum of ln x / n), or 0 when an element is 0. Raises ENMXVectorError ("negative
  /// argument passed to GeometricMean") when an element of the range is negative.
  double GeometricMean(int LowElem, int HighElem) const;
  /// n / sum of 1/x. Raises ENMXVectorError ("negative or zero argument passed to
  /// HarmonicMean") when an element of the range is <= 0.
  double HarmonicMean(int LowElem, int HighElem) const;
  /// Skewness m3 / s^3 and excess kurtosis m4 / s^4 - 3 of the range, m3 and m4 the central
  /// moments divided by n, s the sample standard deviation (divisor n - 1). Both are 0 for
  /// fewer than four elements and for constant data.
  void SkewKurt(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const;
  /// The bias-corrected sample skewness n^2 S / ((n - 1)(n - 2)) and kurtosis
  /// (K + 3) n^2 (n + 1) / ((n - 1)(n - 2)(n - 3)) - 3 (n - 1)^2 / ((n - 2)(n - 3)), S and K being
  /// the SkewKurt values; 0 and 0 for fewer than four elements and for a range of equal values
  /// (which has no shape; the formula would give a kurtosis of 26.5 for four of them).
  void SkewKurtSample(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const;
  /// The quartiles of the range by the (n + 1)p rule on the sorted values t[1..n]: pos =
  /// (n + 1)q, k = trunc(pos); t[1] for k = 0, t[n] for k >= n, else t[k] interpolated
  /// linearly towards t[k + 1]. One element gives it three times. Always true. Sorts a copy
  /// (NMX_math1::SortArray, which reports progress); raises ENMXVectorError ("not enough
  /// memory on heap") when the copy cannot be allocated.
  bool Quartiles(int LowElem, int HighElem, double& Q1, double& Q2, double& Q3) const;
  /// The prob percentile (prob in percent, clamped to 0..100) of the range: on the sorted
  /// values t[0..n-1], t[k] + (t[k+1] - t[k]) f with k + f = (n - 1) prob / 100; prob 100
  /// gives the largest value. A NaN prob gives NaN. Sorts a copy as Quartiles does, and raises
  /// the same "not enough memory on heap".
  double Percentile(double prob, int LowElem, int HighElem) const;
  /// The value of the longest run of equal values in the sorted range; runs of equal length
  /// go to the smaller value, so without repeats it is the smallest element. Sorts a copy as
  /// Quartiles does.
  double Mode(int LowElem, int HighElem) const;
  /// Counts the values of elements FirstElem..LastElem (not clipped: indices outside the
  /// vector read 0, so (0, 0) counts one 0; none for LastElem < FirstElem) into
  /// round(|LastBin - FirstBin| / BinWidth) + 1 bins, bin k covering [FirstBin + k BinWidth,
  /// FirstBin + (k + 1) BinWidth). Values below FirstBin count as Underflow; values from
  /// LastBin + BinWidth up, and values that map to a bin index beyond the last bin (possible
  /// when LastBin - FirstBin is not a multiple of BinWidth), as Overflow. NaN values are not
  /// counted. MaxCnt is the largest bin count. Histo gets exactly the bins. Returns false and
  /// changes nothing for more than 500 bins or a BinWidth that is not > 0.
  bool Histogram(int FirstElem, int LastElem, double FirstBin, double LastBin, double BinWidth,
                 NMX_nmxbase::TIntArray& Histo, int& Underflow, int& Overflow, int& MaxCnt) const;
  /// The same into an integer vector, which is resized to the number of bins (SetIntVecSize)
  /// and receives the counts in elements 1..NBins (CopyFrom, so its handlers fire). A nullptr
  /// Histo returns false and changes nothing.
  bool Histogram(int FirstElem, int LastElem, double FirstBin, double LastBin, double BinWidth,
                 TIntVector* Histo, int& Underflow, int& Overflow, int& MaxCnt) const;
  /// Integrates the elements as samples at 1, 2, ..., NrOfElem between BoundLow and
  /// BoundHigh (each clamped to 1..NrOfElem, exchanged if reversed). The stretches between a
  /// bound and its nearest sample are trapezoids with the bound's value interpolated; the
  /// samples a..b inside the bounds go by Method: imSimple takes their mean times the width,
  /// imTrapezoidal adds trapezoids, imSimpson uses Simpson's rule for 3 samples, the
  /// three-eighths rule for 4, Boole's rule for 5 and the alternative extended Simpson rule
  /// for more (trapezoids for 1 or 2), summed in extended precision. Any other Method gives 0;
  /// a NaN bound gives NaN.
  double Integrate(double BoundLow, double BoundHigh, TIntegMethod Method) const;
  /// The index of the element of the range nearest to value (the first one on ties), or 0
  /// when no distance is below the largest double.
  int Find(int LowElem, int HighElem, double value) const;
  /// The first index of the range whose element equals value, or 0.
  int FindExact(int LowElem, int HighElem, double value) const;
  /// Bisects the vector, sorted ascending (Ascending) or descending, for Value: an index
  /// holding Value, or the one of the final pair nearer to it (the higher one on a tie).
  int FindInSortedVector(bool Ascending, double Value) const;
  /// Sorts elements RangeFirst..RangeLast in place by comb sort (both 0: all; reversed bounds
  /// are exchanged, then clipped). Each exchange of elements i and j fires OnSortExchange
  /// (this, 0, i, j, 0, 0); OnChange fires once at the end. A range of one element does
  /// nothing. Not stable; reports no progress.
  void SortElems(bool Ascending, int RangeFirst, int RangeLast);
  /// Gives mean and stddev of all elements (MeanVar) and, when stddev > 0, replaces every x
  /// by (x - mean) / stddev. One or two elements have stddev 1.
  void Standardize(double& mean, double& stddev);
  /// Median := Percentile(50), QuantDiff := |Median - Percentile(RefQuant)| over all
  /// elements; when QuantDiff > 0, every x becomes (x - Median) / QuantDiff.
  void QNormalize(double RefQuant, double& Median, double& QuantDiff);
  /// Subtracts the mean of all elements from each of them and returns that mean.
  double MeanCenter();
  /// True when the vector holds at most two distinct values, v1 being element 1 and v2 the
  /// first value that differs from it (v2 = v1 for constant data). Fewer than two elements
  /// give false with v1 = v2 = 0.
  bool IsDichotomous(double& v1, double& v2) const;
  /// Pearson's correlation coefficient of this vector and OtherVec, formed from deviations
  /// about the means. 0 for a nullptr, different lengths, fewer than two elements, a vector
  /// of zeros or a constant vector.
  double PearsonCorrCoeff(const TVector* OtherVec) const;
  /// The lagged cross product sum of x(i) y(i - ElemShift) over the indices where both exist;
  /// 0 for a nullptr and when fewer than two indices overlap.
  double Correlate(const TVector* OtherVec, int ElemShift) const;
  /// The sum of x(i) y(i); 0 for a nullptr. Raises ENMXVectorError ("vectors have different
  /// dimensions") for different lengths.
  double DotProduct(const TVector* OtherVec) const;
  /// sqrt of the sum of (x(i) - y(i))^2. Raises ENMXVectorError ("EuclideanDistance:
  /// dimensions of vectors do not match") for different lengths and for a nullptr.
  double EuclideanDistance(const TVector* OtherVec) const;

 private:
  // The moments behind SkewKurt and SkewKurtSample; N receives the length of the range.
  void SkewKurtIntern(int LowElem, int HighElem, double& Skewness, double& Kurtosis, int& N) const;

 public:
  // --- files and streams (src/vector/vector_files.cpp) --------------------------------------
  //
  // Files are written in binary mode with CR LF line ends; the readers take CR LF or LF and a
  // last line without its line break. Numbers are read as whole words by std::from_chars (so
  // never by the locale): "1e3", "-0.5", "+2" and the words INF and NAN in any case are
  // numbers, "5x" or "+-5" are not. No reader allocates for a size that its input merely
  // claims; see each one for the rule.

  /// Writes the vector as an ASC data file of one column: the comment (line feeds replaced by
  /// blanks; an empty Comment gives "Exported by NMX TVector component: " and FName), the
  /// counts 1 and NrOfElem, the flags "FALSE FALSE FALSE FALSE", then each element as
  /// NMX_stringl::strff(value, 12, Precision). Returns 0, or -1 when the file cannot be
  /// created (nothing is written). Raises NMX_platform::EInOutError when a write fails after
  /// the file was created.
  int ExportAsASC(const std::string& FName, int Precision, const std::string& Comment) const;
  /// Reads an ASC data file of one column into the vector; Comment receives line 1. Returns
  /// 0, -8 for a missing file, -7 for more than one column (checked before the header
  /// reader's own code), a nonzero code of NMX_filesys::ReadHeaderOfASC for a header it
  /// rejects (in these three cases the vector is unchanged), -5 for a row attribute that is
  /// no number, -6 for a value that is no number nor "###", also when the file ends before
  /// the last row. "###" and NaN in any spelling ("NAN", "nan") store 0.
  ///
  /// The vector is resized to the row count and the values go in through SetVal; when reading
  /// stops at row k with an error, the vector ends with k elements, element k keeping the
  /// value it had. Column and row names are skipped. A row count above what the rest of the
  /// file can hold (two bytes a row) is not allocated up front: the first resize stops at
  /// that bound and the vector grows as rows arrive, so the result is the same; only the
  /// OnChange and OnResize calls of the resizes differ.
  int ImportASC(const std::string& FName, std::string& Comment);
  /// Writes elements FirstElem..LastElem (exchanged if reversed, then made valid with
  /// MakeValidElemRange) to a list file: the line "FirstElem LastElem", then one value a line.
  /// Precision 0..20 gives that many decimals in fixed point, without padding; -1 and -2
  /// give scientific notation of exactly 13 and 26 characters: a blank or '-', one digit, the
  /// point, 4 or 17 decimals, 'E', the exponent's sign and four digits (1234.56 with -1 is
  /// " 1.2346E+0003"). Precision below -2 counts as 2, above 20 as 20. Returns false when the
  /// file cannot be created; write errors after that are ignored and the result is true.
  bool StoreOnFile(int FirstElem, int LastElem, int Precision, const std::string& FileName) const;
  /// Reads a list file written by StoreOnFile. Line 1 must hold the two integers first and
  /// last, else the result is false and nothing changes (likewise for a missing file). With
  /// AdjustVectorSize the vector is resized to last (not to last - first + 1); then, if
  /// NrOfElem >= last, one value a word is read for each index first..last and stored by
  /// SetVal (a word that is no number leaves its element as it was), and the result is true;
  /// if NrOfElem < last nothing is read and the result is false. OnChange fires at the end in
  /// both cases. Reading stops where the file ends. AdjustVectorSize does not grow the vector
  /// beyond 65536 elements unless the rest of the file could hold last values (two bytes a
  /// value): otherwise the resize is skipped and the call fails as for a short vector.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize);
  /// With AutoDetect false the two-argument LoadFromFile. With AutoDetect true it reads a
  /// plain list of numbers: AdjustVectorSize resizes the vector to the number of lines that
  /// hold a decimal digit; then elements 1..NrOfElem take the words of the file in order,
  /// across line breaks (a word that is no number leaves its element as it was, and reading
  /// stops where the file ends). Fires OnChange and returns true; false when the file cannot
  /// be opened.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect);
  /// Writes, from the stream's current position, LowElem and HighElem (made valid with
  /// MakeValidElemRange) and elements LowElem..HighElem, each item a 10-byte 80-bit extended
  /// value (NMX_streams::WriteExtendedToStream): 10 * (count + 2) bytes in all. A failed
  /// write shows in the stream's state only. There is no null stream to replace: the caller
  /// passes a stream, memory (std::stringstream) or file (std::ofstream) alike.
  void SaveToStream(std::ostream& OutStream, int LowElem, int HighElem) const;
  /// Reads what SaveToStream wrote, from the stream's current position. The two indices are
  /// rounded to integers; when either cannot be read or is NaN, infinite or beyond the int
  /// range, the result is false and nothing changes. AdjustVectorSize resizes the vector to
  /// the last index; if then NrOfElem < last, nothing more is read and the result is false.
  /// Otherwise the values first..last are read and stored by SetVal; the stream's end makes
  /// the result false and leaves the remaining elements as they were. OnChange fires at the
  /// end (after the indices were read). AdjustVectorSize does not grow the vector beyond
  /// 65536 elements unless the rest of the stream holds last values; otherwise the resize is
  /// skipped (so is it for a stream that cannot tell its size).
  bool LoadFromStream(std::istream& InStream, bool AdjustVectorSize);

 protected:
  /// Hands the copy to Dest->Assign when Dest is a TVector, else to the base class.
  void AssignTo(NMX_platform::TPersistent* Dest) const override;

  /// Fires OnSortExchange (if set) with this vector as Sender and the five arguments.
  void SortExchange(std::uint8_t What, int Index1, int Index2, int First, int Last) {
    if (OnSortExchange) OnSortExchange(this, What, Index1, Index2, First, Last);
  }

 private:
  friend struct detail::VectorCore;

  int FNElem = 1;
  bool FIsEmpty = true;
  NMX_nmxbase::TDoubleArray FVec;
};

}  // namespace NMX_vector
