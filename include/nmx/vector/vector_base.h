// TVectorBase, what the vector components of doubles and of 32-bit integers share: storage,
// element access, notifications, copies, fills, element-wise arithmetic, statistics, sorting
// and the files both read and write alike.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/platform/component.h"
#include "nmx/vector/errors.h"

namespace NMX_vector {

/// A vector of elements of type T (double or std::int32_t), addressed 1..NrOfElem, with change
/// notifications. TVector and TIntVector derive from it and add what only one of them has;
/// the members below behave alike for both, except where a comment says how they differ.
///
/// A vector always has at least one element. Reads outside 1..NrOfElem give 0, writes there
/// are ignored, and element ranges are normalised by MakeValidElemRange: indices are never
/// errors. Every SetVal fires OnChange, so the copies and fills fire it once per element
/// written and once more at their end; when no OnChange handler is set they write the array
/// directly, which nobody can tell apart. Dynamic arrays passed in or out are 0-based;
/// two-dimensional ones are addressed [column][row]. Integer arithmetic (AbsVal, SMult, Add,
/// Subtract, FillSerial, Sum, DotProduct) is 32-bit and wraps around on overflow; means,
/// variances, moments and distances of integers are taken in double.
template <class T>
class NMX_API TVectorBase : public NMX_platform::TComponent {
 public:
  /// The element type and the dynamic arrays of it.
  using TElem = T;
  using TArray = std::vector<T>;
  using T2DArray = std::vector<TArray>;

  ~TVectorBase() override;

  /// Copies NrOfElem, IsEmpty, the elements and the three handlers of a vector of the same
  /// element type; fires nothing. Any other Source goes to the base class, which raises
  /// EConvertError ("Cannot assign a TIntVector to a TVector"). A failed allocation raises
  /// ENMXVectorError and leaves this vector as it was.
  void Assign(const NMX_platform::TPersistent* Source) override;

  // --- size ---------------------------------------------------------------------------------

  /// The number of elements (at least 1).
  int NrOfElem() const noexcept { return FNElem; }
  /// Gives the vector NE elements: the first min(old, NE) keep their values, new ones are 0.
  /// Fires OnChange, then OnResize, and returns true. NE equal to NrOfElem returns true and
  /// fires nothing; NE <= 0 returns false and changes nothing. Raises ENMXVectorError ("not
  /// enough memory") when the array cannot grow; the vector is then unchanged. IsEmpty is not
  /// touched.
  bool Resize(int NE);

  // --- elements -----------------------------------------------------------------------------

  /// Element Elem, or 0 outside 1..NrOfElem.
  T GetVal(int Elem) const noexcept {
    return Elem >= 1 && Elem <= FNElem ? FVec[static_cast<std::size_t>(Elem - 1)] : T(0);
  }
  /// Stores Value in element Elem, clears IsEmpty and fires OnChange; outside 1..NrOfElem it
  /// does nothing at all.
  void SetVal(int Elem, T Value) {
    if (Elem < 1 || Elem > FNElem) return;
    FVec[static_cast<std::size_t>(Elem - 1)] = Value;
    FIsEmpty = false;
    Changed();
  }
  /// The indexed property: the same as GetVal.
  T Elem(int Index) const noexcept { return GetVal(Index); }

  /// The elements, read only: Data()[k - 1] is element k. Valid until the next resize or
  /// Assign.
  std::span<const T> Data() const noexcept { return FVec; }

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
  /// The Euclidean length sqrt(sum of squares), by NMX_math1::EuclideanLength: right wherever
  /// it is representable (elements beyond about 1e154 or all below about 1e-154 are summed
  /// scaled by a power of two); elsewhere the plain sum's result, bit for bit.
  double CalcVecLeng() const noexcept;
  /// The checksum text: one CRC-32 register per byte of the element type (eight for doubles,
  /// four for integers), register j fed with byte j (little endian) of every element in
  /// order, each complemented and printed as 8 upper-case hex digits, register 0 first.
  /// Changing one byte of the data changes only its register's eight digits.
  std::string CRCofData() const;

  // --- copying ------------------------------------------------------------------------------

  /// Becomes a copy of VecSource: Resize to its size, every element through SetVal, then
  /// OnChange. nullptr does nothing.
  void Clone(const TVectorBase* VecSource);
  /// Copies elements SrcElemLo..SrcElemHi of Src to DestElem, DestElem + 1, ...; targets
  /// beyond this vector are dropped. (0, 0) copies all of Src and leaves DestElem unchecked
  /// (targets below 1 are dropped as well). Returns 0, or with nothing copied and nothing
  /// fired: -1 for a nullptr Src, -2 for a source bound outside 1..Src->NrOfElem, -3 for
  /// DestElem outside 1..NrOfElem (-3 wins over -2). A reversed range is exchanged. Elements
  /// go one by one in ascending order, so an overlapping copy of a vector onto itself with
  /// DestElem > SrcElemLo repeats the values it has already copied.
  int CopyFrom(const TVectorBase* Src, int SrcElemLo, int SrcElemHi, int DestElem);
  /// The same from a 0-based array: -1 for an empty Src, (0, 0) for the whole array, -2 for a
  /// source index outside 0..size - 1, -3 for DestElem outside 1..NrOfElem; Src[i] goes to
  /// element DestElem + (i - SrcElemLo).
  int CopyFrom(const TArray& Src, int SrcElemLo, int SrcElemHi, int DestElem);
  /// Copies SrcArray[c][Row] for c = FirstCol..LastCol to elements DestElem, DestElem + 1,
  /// ... Row is clipped to the rows of column 0, the columns to those of the array (and
  /// exchanged if reversed). Copies and fires OnChange only if some target lies in
  /// 1..NrOfElem; targets outside are dropped, and so are columns too short to have the row.
  /// An empty array, or one whose column 0 is empty, copies nothing.
  void CopyFrom2DArrayRow(const T2DArray& SrcArray, int Row, int FirstCol, int LastCol,
                          int DestElem);
  /// The same down one column: Col is clipped to the columns, FirstRow and LastRow to the rows
  /// of column 0; SrcArray[Col][r] goes to element DestElem + (r - FirstRow), and rows that
  /// column Col lacks are skipped.
  void CopyFrom2DArrayColumn(const T2DArray& SrcArray, int Col, int FirstRow, int LastRow,
                             int DestElem);
  /// Copies elements LowElem..HighElem (made valid) to DestArray[DestElem], ...; DestElem
  /// below 0 counts as 0. DestArray gets exactly DestElem + (HighElem - LowElem + 1) entries:
  /// those below DestElem keep their values, a longer array is cut. Fires nothing. Raises
  /// ENMXVectorError ("not enough memory") when DestArray cannot grow; it is then unchanged.
  void CopyToArray(TArray& DestArray, int LowElem, int HighElem, int DestElem) const;
  /// Copies elements LowElem..HighElem (made valid) into a column (AsColumn) or a row of
  /// DestArray, which is not resized: element i goes to DestArray[DestCol][DestRow + i -
  /// LowElem] or DestArray[DestCol + i - LowElem][DestRow]. DestCol is clipped to the columns
  /// and DestRow to the rows of column 0; targets beyond the end of a column or beyond the
  /// last column are skipped. Fires nothing.
  void CopyToArray(T2DArray& DestArray, int LowElem, int HighElem, int DestCol, int DestRow,
                   bool AsColumn) const;

  // --- filling ------------------------------------------------------------------------------

  /// Every element := value (through SetVal), then OnChange.
  void Fill(T value);
  /// Element 1 := Offset, each next one the previous plus Diff, accumulated step by step (so
  /// element 11 of FillSerial(0, 0.1) is ten additions of 0.1, not 10 · 0.1; integers wrap).
  void FillSerial(T Offset, T Diff);
  /// Every element := 0, IsEmpty := true, then OnChange (once).
  void Clear();

  // --- element-wise operations (each fires OnChange once) -----------------------------------

  /// Every element := its absolute value (the integer -2147483648 stays as it is).
  void AbsVal();
  /// Reverses the order of the elements.
  void Mirror();
  /// A random permutation: reseeds the platform generator from the clock, then makes
  /// NrOfElem exchanges between two uniformly drawn positions. Fires nothing.
  void ShuffleElems();
  /// Every element := element · scalar.
  void SMult(T scalar);
  /// Element k += OtherVec->GetVal(k). nullptr does nothing; a different NrOfElem raises
  /// ENMXVectorError ("vectors have different dimensions").
  void Add(const TVectorBase* OtherVec);
  /// Element k -= OtherVec->GetVal(k); nullptr and the error as for Add.
  void Subtract(const TVectorBase* OtherVec);

  // --- statistics, order statistics, searching and sorting ----------------------------------
  //
  // Ranges are made valid with MakeValidElemRange: (0, 0) is the whole vector. Nothing here
  // fires OnChange except SortElems.

  /// Mean := the sum in element order / n, and the sample variance (divisor n - 1) of the
  /// range. A range of one or two elements reports the variance 1; a rounding below 0 gives
  /// 0. The variance comes from NMX_math1::CentralMoments: formed from deviations, never
  /// from raw power sums, so a large common offset of the data costs no digits.
  void MeanVar(int LowElem, int HighElem, double& Mean, double& Variance) const;
  /// The smallest and the largest element of the range. The searches start at 1.7e308 and
  /// -1.7e308 for doubles, at 2147483647 and -2147483647 (not -2147483648) for integers, so a
  /// range that holds nothing beyond these reports the start values.
  void MinMax(int LowElem, int HighElem, T& Minimum, T& Maximum) const;
  /// The same with the indices of the first smallest and the first largest element; an index
  /// is 0 when no element went beyond its start value (all NaN, say).
  void MinMax(int LowElem, int HighElem, T& Minimum, T& Maximum, int& MinIx, int& MaxIx) const;
  /// The sum of the range in element order (for integers modulo 2^32).
  T Sum(int LowElem, int HighElem) const;
  /// exp(sum of ln x / n), or 0 when an element is 0. Raises ENMXVectorError ("negative
  /// argument passed to GeometricMean") when an element of the range is negative.
  double GeometricMean(int LowElem, int HighElem) const;
  /// n / sum of 1/x. Raises ENMXVectorError ("negative or zero argument passed to
  /// HarmonicMean") when an element of the range is <= 0.
  double HarmonicMean(int LowElem, int HighElem) const;
  /// Skewness m3 / s³ and excess kurtosis m4 / s⁴ - 3 of the range, m3 and m4 the central
  /// moments divided by n, s the sample standard deviation (divisor n - 1). Both are 0 for
  /// fewer than four elements and for constant data. The central sums come from
  /// NMX_math1::CentralMoments in double: about shifts close to the data, block by block,
  /// which keeps more digits on data with a large offset than sums about one rounded mean
  /// would, even in extended precision.
  void SkewKurt(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const;
  /// The bias-corrected sample skewness n² S / ((n - 1)(n - 2)) and kurtosis
  /// (K + 3) n² (n + 1) / ((n - 1)(n - 2)(n - 3)) - 3 (n - 1)² / ((n - 2)(n - 3)), S and K
  /// being the SkewKurt values; 0 and 0 for fewer than four elements and for a range of equal
  /// values (which has no shape; the formula would give a kurtosis of 26.5 for four of them).
  void SkewKurtSample(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const;
  /// The quartiles of the range by the (n + 1)p rule on the sorted values t[1..n]: pos =
  /// (n + 1)q, k = trunc(pos); t[1] for k = 0, t[n] for k >= n, else t[k] interpolated
  /// linearly towards t[k + 1] (for integers with the exact difference of the neighbours).
  /// One element gives it three times. Always true. Sorts a copy (NMX_math1::SortArray, which
  /// reports progress); raises ENMXVectorError ("not enough memory on heap") when the copy
  /// cannot be allocated.
  bool Quartiles(int LowElem, int HighElem, double& Q1, double& Q2, double& Q3) const;
  /// The prob percentile (prob in percent, clamped to 0..100) of the range: on the sorted
  /// values t[0..n-1], t[k] + (t[k+1] - t[k]) f with k + f = (n - 1) prob / 100; prob 100
  /// gives the largest value, one element gives that element. A NaN prob gives NaN, for any
  /// n. Sorts a copy as Quartiles does, and raises the same "not enough memory on heap".
  double Percentile(double prob, int LowElem, int HighElem) const;
  /// The value of the longest run of equal values in the sorted range; runs of equal length
  /// go to the smaller value, so without repeats it is the smallest element. Sorts a copy as
  /// Quartiles does.
  T Mode(int LowElem, int HighElem) const;
  /// The index of the element of the range nearest to value (the first one on ties), or 0
  /// when no distance is below the largest double.
  int Find(int LowElem, int HighElem, T value) const;
  /// The first index of the range whose element equals value, or 0.
  int FindExact(int LowElem, int HighElem, T value) const;
  /// Bisects the vector, sorted ascending (Ascending) or descending, for Value: an index
  /// holding Value, or the one of the final pair nearer to it (the higher one on a tie).
  int FindInSortedVector(bool Ascending, T Value) const;
  /// Sorts elements RangeFirst..RangeLast in place by comb sort (both 0: all; reversed bounds
  /// are exchanged, then clipped), the gap starting from the range's length less one. Each
  /// exchange of elements i and j fires OnSortExchange (this, 0, i, j, 0, 0); OnChange fires
  /// once at the end. A range of one element does nothing. Not stable; reports no progress.
  /// Without an OnSortExchange handler the math1 kernel sorts at full speed, making the same
  /// exchanges.
  void SortElems(bool Ascending, int RangeFirst, int RangeLast);
  /// True when the vector holds at most two distinct values, v1 being element 1 and v2 the
  /// first value that differs from it (v2 = v1 for constant data). Fewer than two elements
  /// give false with v1 = v2 = 0.
  bool IsDichotomous(T& v1, T& v2) const;
  /// Pearson's correlation coefficient of this vector and OtherVec, from the co-moments of
  /// NMX_math1::CoMoments (deviations about the means, scaled by powers of two where their
  /// products would leave the double range, so exactly linear data gives ±1 near 1e160 and
  /// 1e-170 alike). 0 for a nullptr, different lengths, fewer than two elements, a vector of
  /// zeros or a constant vector.
  double PearsonCorrCoeff(const TVectorBase* OtherVec) const;
  /// The sum of x(i) y(i) in element order (for integers modulo 2^32); 0 for a nullptr.
  /// Raises ENMXVectorError ("vectors have different dimensions") for different lengths.
  T DotProduct(const TVectorBase* OtherVec) const;
  /// sqrt of the sum of (x(i) - y(i))², by NMX_math1::EuclideanDistance. Raises
  /// ENMXVectorError ("EuclideanDistance: dimensions of vectors do not match") for different
  /// lengths and for a nullptr.
  double EuclideanDistance(const TVectorBase* OtherVec) const;

  // --- files and streams --------------------------------------------------------------------
  //
  // Files are written in binary mode with CR LF line ends; the readers take CR LF or LF and a
  // last line without its line break. Numbers are read as whole words by std::from_chars (so
  // never by the locale): "1e3", "-0.5", "+2" and the words INF and NAN in any case are
  // numbers, "5x" or "+-5" are not. A word of more than a mebibyte is no number. Integer
  // vectors take a number clamped to the int32 range and rounded to nearest, ties to even
  // ("2.5" gives 2, "1e10" gives 2147483647); for them a NaN is no readable value. No reader
  // allocates for a size that its input merely claims; see each one for the rule.

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
  /// Writes, from the stream's current position, LowElem and HighElem (made valid with
  /// MakeValidElemRange) and elements LowElem..HighElem. A TVector writes each item as a
  /// 10-byte 80-bit extended value (NMX_streams::WriteExtendedToStream): 10 · (count + 2)
  /// bytes in all; a TIntVector as a 4-byte little-endian integer
  /// (NMX_streams::WriteLongintToStream): 4 · (count + 2) bytes. A failed write shows in the
  /// stream's state only. There is no null stream to replace: the caller passes a stream,
  /// memory (std::stringstream) or file (std::ofstream) alike.
  void SaveToStream(std::ostream& OutStream, int LowElem, int HighElem) const;
  /// Reads what SaveToStream wrote, from the stream's current position. The two indices are
  /// rounded to integers; when either cannot be read (or, stored as extended values, is NaN,
  /// infinite or beyond the int range), the result is false and nothing changes.
  /// AdjustVectorSize resizes the vector to the last index; if then NrOfElem < last, nothing
  /// more is read and the result is false. Otherwise the values first..last are read and
  /// stored by SetVal; the stream's end makes the result false and leaves the remaining
  /// elements as they were. OnChange fires at the end (after the indices were read).
  /// AdjustVectorSize does not grow the vector beyond 65536 elements unless the rest of the
  /// stream holds last values; otherwise the resize is skipped (so is it for a stream that
  /// cannot tell its size).
  bool LoadFromStream(std::istream& InStream, bool AdjustVectorSize);

 protected:
  /// One element, value 0; IsEmpty is true and no handler is set. Raises ENMXVectorError
  /// ("not enough memory on heap") when the element cannot be allocated.
  explicit TVectorBase(NMX_platform::TComponent* AOwner);

  /// Hands the copy to Dest->Assign when Dest is a vector of the same element type, else to
  /// the base class.
  void AssignTo(NMX_platform::TPersistent* Dest) const override;

  /// Fires OnSortExchange (if set) with this vector as Sender and the five arguments.
  void SortExchange(std::uint8_t What, int Index1, int Index2, int First, int Last) {
    if (OnSortExchange) OnSortExchange(this, What, Index1, Index2, First, Last);
  }

  // The write paths of the copies and fills, defined in the library's sources.
  template <class Getter>
  void WriteRun(std::int64_t First, std::int64_t Count, Getter&& Get);
  template <class Generator>
  void FillWith(Generator&& Next);

  int FNElem = 1;
  bool FIsEmpty = true;
  TArray FVec;

 private:
  // The moments behind SkewKurt and SkewKurtSample; N receives the length of the range.
  void SkewKurtIntern(int LowElem, int HighElem, double& Skewness, double& Kurtosis, int& N) const;
};

// The two element types are compiled into the library, never in a caller's sources.
extern template class TVectorBase<double>;
extern template class TVectorBase<std::int32_t>;

}  // namespace NMX_vector
