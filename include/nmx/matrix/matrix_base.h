// TMatrixBase, what the dense matrices of doubles and of 32-bit integers share: storage,
// dimensions, cell access, notifications, range normalisation, fills, copies and the checksum.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/matrix/errors.h"
#include "nmx/platform/component.h"
#include "nmx/vector/vector.h"
#include "nmx/vector/vector_base.h"

namespace NMX_matrix {

/// Called by the distance computations with the two rows to compare; the handler sets
/// Distance.
using TOnCalcDistanceEvent =
    std::function<void(NMX_platform::TObject* Sender, int Row1, int Row2, double& Distance)>;

/// A matrix of cells of type T (double or std::int32_t), NrOfColumns × NrOfRows, cell [c, r]
/// addressed from 1 in both directions, column first. It always has at least one column and
/// one row. TMatrix derives from it and adds what only a matrix of doubles has.
///
/// The cells live in one contiguous column-major buffer: cell [c, r] is Data()[(c - 1) ·
/// NrOfRows + (r - 1)]. Dynamic arrays passed in or out are addressed [column][row] from 0.
///
/// Indices are never errors: reads outside the matrix give 0, writes there are ignored, ranges
/// are normalised by MakeValidColRange / MakeValidRowRange, and the copies report their cases
/// by result codes. Every SetVal fires OnChange, so the copies that write cell by cell fire it
/// once per cell (and, where stated, once more at the end); when no OnChange handler is set
/// they write the buffer directly, which nobody can tell apart.
template <class T>
class NMX_API TMatrixBase : public NMX_platform::TComponent {
 public:
  /// The cell type and the dynamic arrays of it.
  using TElem = T;
  using TArray = std::vector<T>;
  using T2DArray = std::vector<TArray>;
  /// The vectors holding the same element type (TVector for a matrix of doubles).
  using TVectorOf = NMX_vector::TVectorBase<T>;

  ~TMatrixBase() override;

  /// Copies the dimensions, DataID, every cell, both Precision values and the five handlers of
  /// a matrix of the same cell type; fires nothing. Any other Source goes to the base class,
  /// which raises EConvertError. A failed allocation raises ENMXMatrixError and leaves this
  /// matrix as it was.
  void Assign(const NMX_platform::TPersistent* Source) override;

  // --- dimensions ---------------------------------------------------------------------------

  /// The number of columns (at least 1).
  int NrOfColumns() const noexcept { return FNCol; }
  /// The number of rows (at least 1).
  int NrOfRows() const noexcept { return FNRow; }
  /// Resize(Nc, NrOfRows), a negative Nc counting as 0 (which changes nothing).
  void SetNCols(int Nc);
  /// Resize(NrOfColumns, Nr), a negative Nr counting as 0.
  void SetNRows(int Nr);

  /// Gives the matrix Nc columns of Nr rows: cells inside both the old and the new dimensions
  /// keep their values, new cells are 0. Fires OnChange, then OnResize, and returns true.
  /// Nc <= 0, Nr <= 0 or the current dimensions return false and fire nothing. Raises
  /// ENMXMatrixError ("Component "<Name>": not enough memory on heap") when the cells cannot
  /// be allocated; the matrix is then unchanged.
  bool Resize(int Nc, int Nr);
  /// Resize, and only when that returned true: every cell 0, OnChange, OnResize. Returns
  /// Resize's result (so the current dimensions leave the cells as they are).
  bool ResizeAndClear(int Nc, int Nr);

  /// Removes column col, the later ones moving down by one; false (nothing changed) for a col
  /// outside the matrix or a matrix of one column.
  bool RemoveColumn(int col);
  /// Removes row row likewise; false for a row outside the matrix or a matrix of one row.
  bool RemoveRow(int row);

  /// Normalises a column range: (0, 0) becomes (1, NrOfColumns); otherwise each bound is
  /// clipped to 1..NrOfColumns and a reversed pair exchanged. Returns -1 when a bound was
  /// clipped, else 0 (an exchange alone does not count).
  int MakeValidColRange(int& LowCol, int& HighCol) const noexcept;
  /// The same over the rows, except that an exchange also returns -1.
  int MakeValidRowRange(int& LowRow, int& HighRow) const noexcept;

  // --- cells --------------------------------------------------------------------------------

  /// Cell [Nc, Nr], or 0 outside the matrix.
  T GetVal(int Nc, int Nr) const noexcept {
    return Inside(Nc, Nr) ? FMat[Offset(Nc, Nr)] : T(0);
  }
  /// Stores Value in cell [Nc, Nr] and fires OnChange; outside the matrix it does nothing.
  void SetVal(int Nc, int Nr, T Value) {
    if (!Inside(Nc, Nr)) return;
    FMat[Offset(Nc, Nr)] = Value;
    Changed();
  }
  /// The default indexed property: the same as GetVal.
  T Elem(int Nc, int Nr) const noexcept { return GetVal(Nc, Nr); }

  /// The cells, read only, column-major: Data()[(c - 1) · NrOfRows + r - 1] is cell [c, r].
  /// Valid until the next change of dimensions or Assign.
  std::span<const T> Data() const noexcept { return FMat; }
  /// Column c (1-based, inside the matrix) as a span of NrOfRows cells.
  std::span<const T> Column(int c) const noexcept {
    return std::span<const T>(FMat).subspan(Offset(c, 1), static_cast<std::size_t>(FNRow));
  }

  /// A free identifier of the data, not interpreted by the matrix (initially empty).
  const std::string& DataID() const noexcept { return FDataID; }
  void SetDataID(std::string Value) { FDataID = std::move(Value); }

  /// The two precision settings the writers use: Precision(1) (initially 15) for ix <= 1 and
  /// Precision(2) (initially -1) for ix > 1.
  int GetFPrecis(int ix) const noexcept { return FPrecis[ix > 1 ? 1 : 0]; }
  /// Stores value, clamped to -1..25, in Precision(2) for ix > 1, else in Precision(1).
  void SetFPrecis(int ix, int value) noexcept;
  /// The indexed property: the same as GetFPrecis.
  int Precision(int ix) const noexcept { return GetFPrecis(ix); }

  /// The checksum text: eight CRC-32 registers for a matrix of doubles (four for integers),
  /// register j fed with byte j (little endian) of every cell, column by column, each
  /// complemented and printed as 8 upper-case hex digits, register 0 first.
  std::string CRCofData() const;

  // --- notifications ------------------------------------------------------------------------

  /// Fires OnChange if it is set.
  void Changed() {
    if (OnChange) OnChange(this);
  }
  /// Fires OnResize if it is set.
  void Resized() {
    if (OnResize) OnResize(this);
  }
  /// Fires OnSortExchange (if set) with this matrix as Sender and the five values: what was
  /// exchanged (1 two columns, 2 two rows), the two indices, and the range of the other
  /// dimension moved with them.
  void SortExchange(std::uint8_t ExchgWhat, int Index1, int Index2, int First, int Last) {
    if (OnSortExchange) OnSortExchange(this, ExchgWhat, Index1, Index2, First, Last);
  }
  /// Fires OnPercentDone (if set) with this matrix as Sender; the Sender argument is not
  /// passed on.
  void PercDone(NMX_platform::TObject* Sender, int PercentDone);

  /// Fired after cell values changed, with this matrix as Sender.
  NMX_nmxbase::TNotifyEvent OnChange;
  /// Fired after the dimensions changed (after OnChange).
  NMX_nmxbase::TNotifyEvent OnResize;
  /// Fired for each exchange of two columns or rows a sort makes.
  NMX_nmxbase::TSortExchgEvent OnSortExchange;
  /// Asked for the distance of two rows by the distance computations that defer to it.
  TOnCalcDistanceEvent OnCalcDistance;
  /// Fired by long operations with their progress in percent.
  NMX_nmxbase::TOnPercentDoneEvent OnPercentDone;

  // --- filling ------------------------------------------------------------------------------

  /// Every cell := value, then OnChange.
  void Fill(T value);
  /// The cells of the normalised range := value, then OnChange.
  void Fill(int LowCol, int HighCol, int LowRow, int HighRow, T value);
  /// Cells [i, i], i = 1..min(NrOfColumns, NrOfRows), := value; then OnChange.
  void FillDiag(T value);
  /// Column by column, rows ascending within a column: the first cell := Offset, each next
  /// one the previous plus Diff, accumulated step by step (integers wrap). Fires nothing.
  void FillSerial(T Offset, T Diff);

  // --- copying ------------------------------------------------------------------------------

  /// Becomes a copy of the cells of MatSource: Resize to its dimensions, every cell through
  /// SetVal, then OnChange and OnResize. Handlers, DataID and Precision are not copied.
  /// nullptr does nothing.
  void Clone(const TMatrixBase* MatSource);

  /// Copies the source block [SourceColLo..SourceColHi] × [SourceRowLo..SourceRowHi] of
  /// MatSource to this matrix, source cell [c, r] going to [c - SourceColLo + DestCol, r -
  /// SourceRowLo + DestRow] through SetVal (targets outside are dropped); then OnChange. Each
  /// bound is clamped into the source's dimensions separately (0 becomes 1: two zeros select
  /// the first column or row, not all), reversed bounds are exchanged. nullptr does nothing.
  /// Copying a matrix onto itself reads every source cell before the first write.
  void CopyFrom(const TMatrixBase* MatSource, int SourceColLo, int SourceRowLo, int SourceColHi,
                int SourceRowHi, int DestCol, int DestRow);

  /// Sets DestVec to 0, then element c - FirstCol + 1 := cell [c, Row] for the normalised
  /// columns FirstCol..LastCol (cut to the vector's length); Row is clamped into the matrix.
  /// nullptr does nothing.
  void CopyRowToVec(TVectorOf* DestVec, int Row, int FirstCol, int LastCol) const;
  /// The same starting at element DestElem: element DestElem + c - FirstCol := cell [c, Row];
  /// positions below 1 are dropped. Nothing happens when DestElem > NrOfElem or no element
  /// would reach position 1.
  void CopyRowToVec(TVectorOf* DestVec, int Row, int FirstCol, int LastCol, int DestElem) const;
  /// CopyRowToVec down column Col (clamped) over the normalised rows FirstRow..LastRow.
  void CopyColToVec(TVectorOf* DestVec, int Col, int FirstRow, int LastRow) const;
  /// CopyRowToVec with DestElem, down column Col.
  void CopyColToVec(TVectorOf* DestVec, int Col, int FirstRow, int LastRow, int DestElem) const;

  /// Writes the normalised rows FirstRow..LastRow of column Col (clamped) into Dest in place
  /// (its length is kept): Dest is set to 0, then Dest[DestElem + r - FirstRow] := cell [Col,
  /// r] wherever that index lies inside Dest. DestElem is 0-based. Nothing happens for an
  /// empty Dest, DestElem > size - 1, or when no index would reach 0.
  void CopyColTo1DArray(TArray& Dest, int Col, int FirstRow, int LastRow, int DestElem) const;
  /// The same along row Row over the normalised columns FirstCol..LastCol.
  void CopyRowTo1DArray(TArray& Dest, int Row, int FirstCol, int LastCol, int DestElem) const;

  /// Copies elements FirstElem..LastElem (normalised by the vector) of Src through SetVal:
  /// along row DestRow from column DestCol for Dim = dimColumns, down column DestCol from row
  /// DestRow for dimRows; any other Dim copies nothing. Then OnChange. nullptr does nothing.
  void CopyFromVec(NMX_nmxbase::TDims Dim, const TVectorOf* Src, int FirstElem, int LastElem,
                   int DestCol, int DestRow);
  /// CopyFromVec(dimRows, ...): down a column.
  void CopyFromVec(const TVectorOf* Src, int FirstElem, int LastElem, int DestCol, int DestRow);
  /// CopyFromVec down a column (AsColumn) or along a row.
  void CopyFromVec(const TVectorOf* Src, int FirstElem, int LastElem, int DestCol, int DestRow,
                   bool AsColumn);

  /// Copies the cells [SrcColLo..SrcColHi] × [SrcRowLo..SrcRowHi] into Dest, which keeps its
  /// size: cell [c, r] goes to Dest[c - SrcColLo + DestCol][r - SrcRowLo + DestRow] (DestCol
  /// and DestRow 0-based), the block cut to fit. Returns 0, or with nothing copied: -1 for a
  /// Dest without columns or whose first column has no rows, -2 when MakeValidColRange
  /// reports -1, -3 when MakeValidRowRange does (also for SrcRowLo > SrcRowHi), -4 for
  /// DestCol or DestRow outside Dest. Columns of Dest shorter than its first are not written
  /// beyond their end.
  int CopyToArray(NMX_nmxbase::TDouble2DArray& Dest, int SrcColLo, int SrcRowLo, int SrcColHi,
                  int SrcRowHi, int DestCol, int DestRow) const;
  /// The same into an integer array, each value rounded to nearest, ties to even (clamped to
  /// the int32 range; NaN gives 0).
  int CopyToArray(NMX_nmxbase::TInt2DArray& Dest, int SrcColLo, int SrcRowLo, int SrcColHi,
                  int SrcRowHi, int DestCol, int DestRow) const;

  /// Copies Src[FirstElem..LastElem] (0-based; both 0: the whole array; reversed bounds are
  /// exchanged) through SetVal, Src[0] aligned with cell [Col, Row]: element i goes to [Col,
  /// Row + i] when AsColumn, else to [Col + i, Row]. Returns 0, or with nothing copied: -1 for
  /// an empty Src, -4 for a bound outside Src, -5 for Col or Row outside the matrix. No
  /// OnChange beyond the per-cell ones.
  int CopyFromArray(const NMX_nmxbase::TDoubleArray& Src, int FirstElem, int LastElem, int Col,
                    int Row, bool AsColumn);
  /// The same from an integer array.
  int CopyFromArray(const NMX_nmxbase::TIntArray& Src, int FirstElem, int LastElem, int Col,
                    int Row, bool AsColumn);
  /// Copies the block Src[SrcColLo..SrcColHi][SrcRowLo..SrcRowHi] (0-based; a pair of zeros
  /// selects all columns or all rows) through SetVal, Src[i][j] going to [Col + i, Row + j].
  /// Returns 0, -1 for a Src without columns or rows, -2 for a column bound outside it, -3
  /// for a row bound outside it (rows counted in its first column), -5 for Col or Row outside
  /// the matrix. Reversed bounds copy nothing (and return 0). Rows missing in a shorter
  /// column of Src are skipped.
  int CopyFromArray(const NMX_nmxbase::TDouble2DArray& Src, int SrcColLo, int SrcRowLo,
                    int SrcColHi, int SrcRowHi, int Col, int Row);
  /// The same from an integer array.
  int CopyFromArray(const NMX_nmxbase::TInt2DArray& Src, int SrcColLo, int SrcRowLo,
                    int SrcColHi, int SrcRowHi, int Col, int Row);

  /// Dest := all cells, NrOfColumns arrays of NrOfRows values. Returns 0; -1, with Dest left
  /// empty, when Dest is empty on entry (an empty array stands for "no array").
  int DuplicateDataAsArray(T2DArray& Dest) const;

  // --- statistics over ranges ---------------------------------------------------------------
  //
  // Ranges are normalised by MakeValidColRange / MakeValidRowRange (two zeros: the whole
  // dimension); mind the order of the range arguments, which differs between the members.
  // Cells are visited column by column, rows ascending within a column. Variances and the
  // higher moments come from NMX_math1::CentralMoments: formed from deviations, never from raw
  // power sums, so a large common offset of the data costs no digits. Nothing here changes
  // the matrix.

  /// The sum of the cells of the range, in order (for integers modulo 2^32).
  T Sum(int LoC, int LoR, int HiC, int HiR) const;
  /// Mean := the sum / n; Variance := the sample variance (divisor n - 1), exactly 1 for one
  /// or two cells.
  void MeanVar(int LowCol, int LowRow, int HighCol, int HighRow, double& Mean,
               double& Variance) const;
  /// The smallest and the largest cell of the range; the searches start from the largest
  /// double and its negation (2147483647 and -2147483647 for integers), so a range holding
  /// only NaN reports those.
  void MinMax(int LowCol, int LowRow, int HighCol, int HighRow, T& Minimum, T& Maximum) const;
  /// exp(Σ ln x / n); 0 when a cell is 0. Raises ENMXMatrixError ("negative argument passed
  /// to GeometricMean") at the first negative cell.
  double GeometricMean(int LowCol, int LowRow, int HighCol, int HighRow) const;
  /// n / Σ(1/x). Raises ENMXMatrixError ("negative or zero argument passed to
  /// HarmonicMean") at the first cell <= 0.
  double HarmonicMean(int LowCol, int LowRow, int HighCol, int HighRow) const;
  /// Skewness m3 / s³ and excess kurtosis m4 / s⁴ - 3 of the range, m3 and m4 the central
  /// moments divided by n and s the sample standard deviation; 0 and 0 for fewer than two
  /// cells and for cells without spread.
  void SkewKurt(int LowCol, int LowRow, int HighCol, int HighRow, double& Skewness,
                double& Kurtosis) const;
  /// The bias-corrected forms n² S / ((n - 1)(n - 2)) and (K + 3) n² (n + 1) / ((n - 1)(n -
  /// 2)(n - 3)) - 3 (n - 1)² / ((n - 2)(n - 3)); 0 and 0 for n <= 3 and for cells without
  /// spread (for which the formula would report a kurtosis of its constant term).
  void SkewKurtSample(int LowCol, int LowRow, int HighCol, int HighRow, double& Skewness,
                      double& Kurtosis) const;
  /// SkewKurt, also giving the number of cells NData.
  void SkewKurtIntern(int LowCol, int LowRow, int HighCol, int HighRow, double& Skewness,
                      double& Kurtosis, int& NData) const;
  /// The quartiles by the (n + 1)p rule on the sorted cells x1..xn: k = trunc((n + 1)p), x1
  /// for k = 0, xn for k >= n, else xk interpolated towards xk+1; one cell gives it three
  /// times. Always true. Sorts a copy (NMX_math1::SortArray, which reports its passes); a copy
  /// that cannot be allocated raises ENMXMatrixError ("not enough memory on heap").
  bool Quartiles(int LowCol, int LowRow, int HighCol, int HighRow, double& Q1, double& Q2,
                 double& Q3) const;
  /// The cell of 0-based rank round(n · prob / 100) (ties to even) of the range, prob clamped
  /// to 0..100, found by NMX_math1::QuickSelect: prob 0 gives the minimum, 50 over four cells
  /// the third smallest. A rank of n (prob near 100) gives the largest cell. The copy it
  /// selects in raises as Quartiles does.
  double Percentile(double prob, int LowCol, int LowRow, int HighCol, int HighRow) const;
  /// An estimate from SampleSize cells drawn with replacement (a random column of the range,
  /// then a random row; the platform generator is reseeded from the clock): the cell of rank
  /// round(SampleSize · prob / 100) of the sample. For a matrix of doubles, a prob that falls
  /// among the sample's zeros gives 0. SampleSize 0 or not below n gives the exact Percentile.
  double Percentile(double prob, int LowCol, int LowRow, int HighCol, int HighRow,
                    int SampleSize) const;
  /// The number of cells x of the range with RangeLow <= x <= RangeHigh.
  int CountValues(int LowCol, int HighCol, int LowRow, int HighRow, double RangeLow,
                  double RangeHigh) const;
  /// ColIx, RowIx := the cell of the range nearest to Value (the first met on ties, columns
  /// outer); both 0 when no difference is below the largest double.
  void Find(int LowCol, int HighCol, int LowRow, int HighRow, T Value, int& ColIx,
            int& RowIx) const;
  /// Bisects column Col, sorted ascending (ColIsAscending) or descending, for Value: a row
  /// holding Value, or the one of the final pair nearer to it (the higher one on a tie). Col
  /// is not checked; outside the matrix the column reads 0.
  int FindInSortedColumn(int Col, bool ColIsAscending, T Value) const;
  /// ResultArray := NrOfColumns × NrOfRows, true where the cell exceeds Threshold; returns the
  /// number of true cells.
  int Dichotomize(double Threshold, NMX_nmxbase::TBool2DArray& ResultArray) const;
  /// Means := the column means (dimColumns) or the row means (dimRows), resized to fit; any
  /// other Dim or a nullptr does nothing.
  void MeanVec(NMX_nmxbase::TDims Dim, NMX_vector::TVector* Means) const;

  // --- reordering (each fires OnChange once) -----------------------------------------------

  /// Sorts the rows LowRow..HighRow by their cells in column SortColIx by comb sort (the gap
  /// starting from HighRow - LowRow, equal keys never exchanged): each exchange swaps the
  /// cells of the two rows in columns LowCol..HighCol, and the key cells too when the key
  /// column lies outside them, then fires OnSortExchange(this, 2, i, j, LowCol, HighCol).
  /// Cells outside LowCol..HighCol stay. A range of one row returns at once, firing nothing.
  /// SortColIx is not checked (outside the matrix nothing is sorted).
  void SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  /// The same for the columns LowCol..HighCol by their cells in row SortRowIx, exchanges
  /// reported as OnSortExchange(this, 1, i, j, LowRow, HighRow).
  void SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  /// Reverses the order of the columns.
  void MirrorColumns();
  /// Reverses the order of the rows.
  void MirrorRows();
  /// Exchanges two whole columns; indices outside the matrix change nothing (OnChange fires
  /// all the same).
  void ExchangeColumns(int c1, int c2);
  /// Exchanges two whole rows; indices outside the matrix change nothing.
  void ExchangeRows(int r1, int r2);

  // --- files and streams --------------------------------------------------------------------
  //
  // Text files are written in binary mode with CR LF line ends; the readers take CR LF or LF
  // and a last line without its line break, and read numbers as whole words by
  // std::from_chars (never by the locale). A matrix of doubles writes each value as set by
  // Precision: Precision(2) decimals in fixed point (0..25), or, with Precision(2) = -1 (the
  // default), the shortest text that reads back as the same double; right-aligned in at least
  // Precision(1) characters, values of a row separated by a blank. NaN and the infinities are
  // written NAN, INF and -INF. A matrix of integers writes plain decimal integers. No reader
  // allocates for a size that its input merely claims.

  /// Writes the matrix as an ASC data file: line 1 the comment (line feeds replaced by blanks;
  /// empty: "Exported by NMX <class> component: " and FName), the column and row counts, the
  /// flags "FALSE FALSE FALSE FALSE", then one line per row. Returns 0, or -1 when the file
  /// cannot be created (nothing is written). Raises NMX_platform::EInOutError when a write
  /// fails after the file was created.
  int ExportAsASC(const std::string& FName, const std::string& Comment) const;
  /// The same with names: CustData[0] holds the column names and CustData[1] the row names;
  /// each list that is present and not empty sets its flag and is written, names in double
  /// quotes (a double quote inside a name is written as a single quote, a line break as a
  /// blank; a list shorter than the matrix is padded with empty names).
  int ExportAsASC(const std::string& FName, const std::string& Comment,
                  const NMX_nmxbase::TStr2DArray& CustData) const;
  /// Reads an ASC data file into the matrix, resized to its column and row counts; Comment
  /// receives line 1. Returns 0, -8 for a missing file, the nonzero code of
  /// NMX_filesys::ReadHeaderOfASC for a header it rejects (the matrix is then unchanged), -5
  /// for a row attribute that is no number, -6 for a value that is neither a number nor
  /// "###", also when the file ends before the last value. "###" stores NaN in a matrix of
  /// doubles (so does "NAN") and 0 in a matrix of integers (so does any NaN). When reading
  /// stops in row k, the matrix keeps rows 1..k, the cells of row k not yet read holding what
  /// they had. Values go in through SetVal. A header announcing more columns than the rest of
  /// the file could hold values gives -6 with the matrix unchanged; rows are allocated as the
  /// file backs them.
  int ImportASC(const std::string& FName, std::string& Comment);
  /// The same, returning the names: CustData[0] the column names, CustData[1] the row names
  /// (each an empty list when the file has none), as ExportAsASC writes them.
  int ImportASC(const std::string& FName, std::string& Comment, NMX_nmxbase::TStr2DArray& CustData);
  /// Writes the block [LoC..HiC] × [LoR..HiR] (each range normalised) to a list file: line 1
  /// "LoC LoR HiC HiR", then one line per row with its values. False when the file cannot be
  /// created; write errors after that are ignored and the result is true.
  bool StoreOnFile(int LoC, int LoR, int HiC, int HiR, const std::string& FileName) const;
  /// Reads a list file written by StoreOnFile. Line 1 must hold the four integers, else the
  /// result is false and nothing changes (likewise for a missing file). With AdjustMatrixSize
  /// the matrix is resized to HiC columns and HiR rows; then, if it has at least that many,
  /// the values are read row by row into the block through SetVal (a word that is no number
  /// leaves its cell as it was; reading stops where the file ends) and the result is true;
  /// else nothing is read and the result is false. OnChange fires at the end in both cases.
  /// AdjustMatrixSize does not grow the matrix beyond 65536 cells unless the rest of the file
  /// could hold the block's values.
  bool LoadFromFile(const std::string& FileName, bool AdjustMatrixSize);
  /// Writes LoC, LoR, HiC, HiR (each range normalised) and the cells of the block column by
  /// column, from the stream's current position: a matrix of doubles every item as a 10-byte
  /// 80-bit extended value, a matrix of integers as a 4-byte little-endian integer. A failed
  /// write shows in the stream's state only.
  void SaveToStream(std::ostream& OutStream, int LoC, int LoR, int HiC, int HiR) const;
  /// Reads what SaveToStream wrote. When the four indices cannot be read (or are no valid
  /// integers, or a range is reversed or below 1), the result is false and nothing changes.
  /// AdjustMatrixSize resizes the matrix to HiC × HiR (within the bound of LoadFromFile);
  /// if the matrix then lacks the block, nothing more is read and the result is false.
  /// Otherwise the cells are read column by column through SetVal; the stream's end makes
  /// the result false and leaves the rest as it was. OnChange fires at the end.
  bool LoadFromStream(std::istream& InStream, bool AdjustMatrixSize);

 protected:
  /// One column of one row, cell 0; DataID empty, Precision 15 and -1, no handlers.
  explicit TMatrixBase(NMX_platform::TComponent* AOwner);

  /// Hands the copy to Dest->Assign when Dest is a matrix of the same cell type, else to the
  /// base class.
  void AssignTo(NMX_platform::TPersistent* Dest) const override;

  bool Inside(int Nc, int Nr) const noexcept {
    return Nc >= 1 && Nc <= FNCol && Nr >= 1 && Nr <= FNRow;
  }
  std::size_t Offset(int Nc, int Nr) const noexcept {
    return static_cast<std::size_t>(Nc - 1) * static_cast<std::size_t>(FNRow) +
           static_cast<std::size_t>(Nr - 1);
  }
  /// Writes a cell as SetVal would: straight into the buffer without an OnChange handler.
  void PutVal(int Nc, int Nr, T Value) {
    if (OnChange) {
      SetVal(Nc, Nr, Value);
    } else if (Inside(Nc, Nr)) {
      FMat[Offset(Nc, Nr)] = Value;
    }
  }
  /// Replaces the cells by Cells (Nc columns of Nr rows, column-major) and the dimensions, then
  /// fires OnChange and OnResize. For the operations that build a new buffer.
  void TakeCells(int Nc, int Nr, TArray&& Cells);
  /// Raises ENMXMatrixError "Component "<Name>": not enough memory on heap".
  [[noreturn]] void RaiseNoMemory() const;

  /// The columns of a normalised range as pieces of the cell buffer.
  std::vector<std::span<const T>> Pieces(int LowCol, int LowRow, int HighCol, int HighRow) const;
  /// A copy of the cells of a normalised range; raises "not enough memory on heap".
  TArray RangeCopy(int LowCol, int LowRow, int HighCol, int HighRow) const;

  int FNCol = 1;
  int FNRow = 1;
  int FAuxCol = 0;
  int FAuxRow = 0;
  std::string FDataID;
  int FPrecis[2] = {15, -1};
  TArray FMat;
  bool FirstCell = false;

 private:
  void CopyLineToVec(TVectorOf* DestVec, bool AlongRow, int Line, int First, int Last,
                     int DestElem, bool WithDest) const;
  template <class Out>
  void CopyLineTo1DArray(std::vector<Out>& Dest, bool AlongRow, int Line, int First, int Last,
                         int DestElem) const;
  template <class Out>
  int CopyToArrayOf(std::vector<std::vector<Out>>& Dest, int SrcColLo, int SrcRowLo,
                    int SrcColHi, int SrcRowHi, int DestCol, int DestRow) const;
  template <class In>
  int CopyFrom1D(const std::vector<In>& Src, int FirstElem, int LastElem, int Col, int Row,
                 bool AsColumn);
  // The text of one value in the files.
  std::string ValueText(T X) const;
  // The comb sort of lines Low..High keyed by Key(i), Swap(i, j) exchanging two lines.
  template <class KeyAt, class SwapLines>
  void CombSortLines(int Low, int High, bool Ascending, KeyAt&& Key, SwapLines&& Swap);
  template <class In>
  int CopyFrom2D(const std::vector<std::vector<In>>& Src, int SrcColLo, int SrcRowLo,
                 int SrcColHi, int SrcRowHi, int Col, int Row);
};

// The two cell types are compiled into the library, never in a caller's sources.
extern template class TMatrixBase<double>;
extern template class TMatrixBase<std::int32_t>;

}  // namespace NMX_matrix
