// TMatrix, the component holding a matrix of doubles, with its arithmetic and linear algebra.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/matrix/matrix_base.h"
#include "nmx/platform/component.h"
#include "nmx/vector/vector.h"

namespace NMX_matrix {

/// The matrix norms of TMatrix::Norm.
enum TNormType : std::uint8_t { ntColwise = 0, ntRowwise = 1, ntSpectral = 2, ntFrobenius = 3 };

/// A matrix of doubles. Everything it shares with the integer matrix (storage, access, fills,
/// copies, checksum) is documented in TMatrixBase; here is what only a matrix of doubles has.
///
/// In the arithmetic the matrix is read in the usual sense: cell [c, r] is the element in row r
/// and column c, so a matrix of NrOfRows m and NrOfColumns n is m × n. Operations with a result
/// matrix or vector resize it with its own Resize (its handlers fire accordingly) and write it
/// without per-cell notifications; none of them checks whether the result is also an operand,
/// which the caller must avoid. Every dot product is accumulated in double in ascending index
/// order, starting from 0, one product and one addition at a time, whatever the size: the
/// products are blocked and vectorised across independent entries only, so they give the
/// bits of the plain loop on every processor.
class NMX_API TMatrix : public TMatrixBase<double> {
 public:
  /// One column of one row, cell 0; DataID empty, Precision 15 and -1, no handlers. Raises
  /// ENMXMatrixError when the cell cannot be allocated.
  explicit TMatrix(NMX_platform::TComponent* AOwner = nullptr);

  std::string ClassName() const override { return "TMatrix"; }

  // --- random fills (each fires OnChange once) ----------------------------------------------

  /// Every cell := RangeLow + u · (RangeHigh - RangeLow), u uniform in [0, 1) from the
  /// platform generator, drawn column by column.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  /// The same over the normalised range.
  void FillRandomUniform(int LowCol, int HighCol, int LowRow, int HighRow, double RangeLow,
                         double RangeHigh);
  /// Every cell := Mean + StdDev · g, g a standard normal variate (NMX_math1::GRandom).
  void FillRandomGauss(double Mean, double StdDev);
  /// The same over the normalised range.
  void FillRandomGauss(int LowCol, int HighCol, int LowRow, int HighRow, double Mean,
                       double StdDev);

  // --- arithmetic ---------------------------------------------------------------------------

  /// Self := Self + MatB in place, then OnChange. False (nothing done) for a nullptr or other
  /// dimensions.
  bool Add(const TMatrix* MatB);
  /// Self := Self - MatB in place, then OnChange; false as for Add.
  bool Subtract(const TMatrix* MatB);
  /// Every cell := cell · Scalar, then OnChange.
  void SMult(double Scalar);
  /// Every cell := cell + Scalar, then OnChange.
  void SAdd(double Scalar);
  /// MatRes := the element-wise product, sized like Self; then OnChange of Self. False for a
  /// nullptr or when MatB's dimensions differ.
  bool EMult(const TMatrix* MatB, TMatrix* MatRes);
  /// MatRes := Self · MatB (MatB.NrOfColumns columns, NrOfRows rows); then OnChange of Self.
  /// False, with MatRes untouched, for a nullptr or NrOfColumns != MatB.NrOfRows.
  bool Multiply(const TMatrix* MatB, TMatrix* MatRes);
  /// MatRes := Self · MatBᵀ (MatB.NrOfRows columns, NrOfRows rows); then OnChange of Self.
  /// False for a nullptr or NrOfColumns != MatB.NrOfColumns.
  bool MultiplyTransposed(const TMatrix* MatB, TMatrix* MatRes);
  /// MatRes := Selfᵀ · MatB (MatB.NrOfColumns columns, NrOfColumns rows); fires nothing of
  /// Self. False for a nullptr or NrOfRows != MatB.NrOfRows.
  bool TransposeAndMultiply(const TMatrix* MatB, TMatrix* MatRes);
  /// VecRes (NrOfRows elements) := Self · VecB; then OnChange of Self. False for a nullptr or
  /// NrOfColumns != VecB.NrOfElem.
  bool Multiply(const NMX_vector::TVector* VecB, NMX_vector::TVector* VecRes);
  /// VecRes (NrOfColumns elements) := Selfᵀ · VecB; fires nothing of Self. False for a nullptr
  /// or NrOfRows != VecB.NrOfElem.
  bool TransposeAndMultiply(const NMX_vector::TVector* VecB, NMX_vector::TVector* VecRes);

  /// MatRes := SelfᵀSelf / Norm (n × n, n = NrOfColumns): entry [i, j] = [j, i] is the dot
  /// product of columns i and j divided by Norm. Uses the processor count less one threads
  /// (at least one). See the three-argument form.
  bool Square(TMatrix* MatRes, double Norm);
  /// The cross-product matrix with NThreads threads. MatRes is resized to n × n and written
  /// without per-cell notifications. With NThreads <= 1 the calling thread works through the
  /// rows i = 1..n: before each it tests NMX_nmxbase::AbortMathProc (set: the result is false
  /// and later rows keep what the resize left), adds 1 to ProcStat and calls MathFeedBackProc.
  /// With more, columns are handed to at most min(NThreads, n) worker threads in ascending
  /// order; each worker computes entries [Column, j] and [j, Column], j >= Column, and adds 1
  /// to ProcStat. The calling thread sleeps until a worker finishes (no spinning), calls
  /// MathFeedBackProc on each wake-up, hands out the next column, and on AbortMathProc stops
  /// handing out columns, waits for the running workers and returns false. Every variant gives
  /// the same bits. False for a nullptr MatRes.
  bool Square(TMatrix* MatRes, double Norm, int NThreads);

  /// Self := Selfᵀ, the dimensions exchanged; OnChange and OnResize; true. Raises
  /// ENMXMatrixError ("not enough memory on heap") when the cells cannot be allocated; the
  /// matrix is then unchanged.
  bool Transpose();
  /// Self := Self⁻¹ in place by NMX_openarrays::InvertArray; true exactly when that returns 0
  /// (a square matrix not found singular). Otherwise false, the cells holding what
  /// InvertArray leaves on its failure paths. Fires nothing.
  bool Invert();
  /// Factors a square Self (unchanged) as Self = L·U by NMX_openarrays::LUdecomposition:
  /// partial pivoting, U upper triangular, L unit lower triangular with its rows put back in
  /// Self's order (so triangular only when no rows were exchanged; for an odd permutation its
  /// last column and U's last diagonal element are negated, which keeps L·U). On success MatL
  /// and MatU become n × n and receive L and U through CopyFromArray, and the result is true;
  /// false, with both untouched, for a non-square Self, a nullptr, or a singular matrix.
  bool LUdecomposition(TMatrix* MatL, TMatrix* MatU);
  /// The determinant with its sign: the product of the pivots of the LU decomposition with
  /// partial pivoting times the sign of its row exchanges (NMX_openarrays::Determinant). The
  /// product of U's diagonal alone would have the wrong sign for every odd permutation. 0 for a
  /// singular matrix and for a non-square one; overflows only when the determinant does.
  double Determinant();
  /// The Cholesky factor L of the symmetric matrix read from the lower triangle (row >=
  /// column). Self's strict upper triangle receives Lᵀ; MatL becomes n × n with L in its lower
  /// triangle (through SetVal; its cells above the diagonal are not written). False for a
  /// non-square Self or a nullptr MatL (nothing changes), and when a pivot was not positive
  /// (the factor is still completed, that diagonal entry 0).
  bool CholeskyDecomp(TMatrix* MatL);
  /// Balances a square matrix by similarity scalings until no row/column factor exceeds
  /// Tolerance (clamped to 1.000001..1.05), at most 100 passes. False for a non-square matrix.
  bool Balance(double Tolerance);
  /// The norm nt: ntColwise the largest column sum of absolute values, ntRowwise the largest
  /// row sum, ntSpectral the largest singular value, ntFrobenius the square root of the sum
  /// of squares (computed without overflow or underflow in the squares); any other value 0.
  /// ntSpectral raises ENMXMatrixError ("near singular covariance matrix") when the singular
  /// value decomposition fails to converge or sees NMX_nmxbase::AbortMathProc.
  double Norm(TNormType nt);
  /// The sum of the diagonal of a square matrix, in order; 0 for a non-square one.
  double Trace() const;
  /// HatMat := X (XᵀX)⁻¹ Xᵀ, X being Self (NrOfRows × NrOfRows), by
  /// NMX_openarrays::CalcHatMatrix; returns its status (0, or its error code with HatMat only
  /// resized). -1 for a nullptr HatMat.
  int CalcHatMatrix(TMatrix* HatMat);
  /// Finite differences of order Order in place: acrColumns down each column (the matrix
  /// loses Order rows), acrRows along each row (it loses Order columns). Returns 0 and fires
  /// OnChange and OnResize (beside those of the resize); -1 for Order outside 1..10, -2 when
  /// Order is not below the rows (columns); any other Mode returns 0 and changes nothing.
  int Diff(int Order, NMX_nmxbase::TApplyColRow Mode);

  // --- statistics and transformations of a matrix of doubles ------------------------------

  /// Counts the cells of the range (X columns, Y rows, normalised) into round(|LastBin -
  /// FirstBin| / BinWidth) + 1 bins, bin k covering [FirstBin + k BinWidth, FirstBin + (k + 1)
  /// BinWidth). Cells below FirstBin and NaN count as Underflow; cells from LastBin + BinWidth
  /// up, and cells that map to a bin beyond the last (when LastBin - FirstBin is not a whole
  /// number of bins), as Overflow. MaxCnt is the largest bin count. Returns false, touching
  /// nothing, for more than 500 bins or a BinWidth that is not > 0.
  bool Histogram(int LoX, int LoY, int HiX, int HiY, double FirstBin, double LastBin,
                 double BinWidth, NMX_nmxbase::TIntArray& Histo, int& Underflow, int& Overflow,
                 int& MaxCnt) const;
  /// The same into an integer vector, resized to the number of bins (elements 1..nbins).
  /// False for a nullptr Histo.
  bool Histogram(int LoX, int LoY, int HiX, int HiY, double FirstBin, double LastBin,
                 double BinWidth, NMX_vector::TIntVector* Histo, int& Underflow, int& Overflow,
                 int& MaxCnt) const;
  /// Pearson's correlation of the corresponding cells of this matrix and OtherMat, from the
  /// co-moments about the means (no digits lost to an offset); 0 for fewer than three cells,
  /// for cells all 0 or without spread in either matrix. Raises ENMXMatrixError ("matrices do
  /// not match") for other dimensions or a nullptr.
  double Correlate(const TMatrix* OtherMat) const;

  /// Subtracts from every cell the mean of its column; Means, when given, receives them.
  /// OnChange once.
  void MeanCenterColumns(NMX_vector::TVector* Means);
  /// The same per row.
  void MeanCenterRows(NMX_vector::TVector* Means);
  /// Per column: MeanVar; when the variance is > 0, every cell becomes (x - mean) / sqrt(var),
  /// else the column stays. Means and StdDevs, when given, receive mean and sqrt(var) (a
  /// column of one or two cells has variance 1: it is only centred). OnChange once.
  void StandardizeColumns(NMX_vector::TVector* Means, NMX_vector::TVector* StdDevs);
  /// The same per row.
  void StandardizeRows(NMX_vector::TVector* Means, NMX_vector::TVector* StdDevs);
  /// Per column: med = Percentile(50), d = |med - Percentile(RefQuant)|; when d > 0 every cell
  /// becomes (x - med) / d. Medians and QuantDiffs, when given, receive med and d. OnChange
  /// once.
  void QNormalizeColumns(double RefQuant, NMX_vector::TVector* Medians,
                         NMX_vector::TVector* QuantDiffs);
  /// The same per row.
  void QNormalizeRows(double RefQuant, NMX_vector::TVector* Medians,
                      NMX_vector::TVector* QuantDiffs);

  /// EdgeVector with all columns (orRowwise) or all rows (orColwise).
  int EdgeVector(NMX_nmxbase::TOrientation Orient, NMX_nmxbase::TEdgeOp EdgeOp,
                 NMX_vector::TVector* Dest);
  /// The profile of the matrix: orRowwise gives Dest NrOfRows elements, element r the
  /// statistic of cells [c, r] over the columns c listed in EdgeIx (1-based; empty: all);
  /// orColwise NrOfColumns elements over the listed rows. eoMin and eoMax start from ±the
  /// largest double, eoSum adds, eoMean divides the sum by the number of columns (rows) of the
  /// matrix, not by the number listed; eoStdDev is the sample standard deviation of the k
  /// values used, 0 for k < 3, from deviations. A listed index outside the matrix is skipped
  /// and makes the result -2, else 0. Other EdgeOp values leave the elements 0. A nullptr Dest
  /// returns -1.
  int EdgeVector(NMX_nmxbase::TOrientation Orient, NMX_nmxbase::TEdgeOp EdgeOp,
                 const NMX_nmxbase::TIntArray& EdgeIx, NMX_vector::TVector* Dest);
  /// The distance of rows obj1 and obj2 over all columns: dmTanimoto Σab / (Σa² + Σb² - Σab),
  /// dmManhattan Σ|a - b|, dmEuclidean sqrt Σ(a - b)², dmSqrEuclidean Σ(a - b)², dmDice 2Σab /
  /// (Σa² + Σb²), dmUserDefined what OnCalcDistance sets (0 without a handler); other modes
  /// 0. Rows outside the matrix read 0. Tanimoto and Dice of two rows of zeros are 0 (0/0).
  double DistanceOfObjects(NMX_nmxbase::TDistMode Mode, int obj1, int obj2);
  /// DMat (not resized) := the distances of all pairs of rows, through SetVal, the diagonal
  /// 0. Returns 0; -2 when DMat's columns differ from NrOfRows, else -1 when DMat is not
  /// square; -1 for a nullptr. DMat is untouched on failure.
  int CalcDistMat(NMX_nmxbase::TDistMode Mode, TMatrix* DMat);
  /// Fills this matrix with a random selection of SrcMat's columns and rows: nc =
  /// round(columns · colpct / 100) columns (all, in order, when nc is every column; else
  /// distinct ones at random), nr = round(rows · rowpct / 100) rows drawn at random, repeats
  /// allowed exactly when BootStrap. RndColIx and RndRowIx receive the 1-based numbers drawn.
  /// Returns 0; -3 for a nullptr SrcMat, -5 when RndColIx or RndRowIx is empty on entry, -2
  /// for nr < 1 or rowpct > 100, else -1 for nc < 1 or colpct > 100 (nothing changes). The
  /// platform generator is reseeded from the clock.
  int ResampleExtMat(const TMatrix* SrcMat, double colpct, double rowpct, bool BootStrap,
                     NMX_nmxbase::TIntArray& RndColIx, NMX_nmxbase::TIntArray& RndRowIx);

 private:
  // Resizes this matrix to Nc × Nr with its own Resize and writes Cells (column-major) into it
  // as SetVal would: straight into the buffer without an OnChange handler, else one SetVal per
  // cell, column by column. Results are computed before they are stored, so a result that is
  // also an operand is never read after it was resized.
  void StoreCells(int Nc, int Nr, std::vector<double>&& Cells);
  // The largest singular value; raises "near singular covariance matrix" on failure.
  double SpectralNorm() const;
  // Takes the cells of the nested array A, of the dimensions this matrix has.
  void TakeNested(const NMX_nmxbase::TDouble2DArray& A);
};

}  // namespace NMX_matrix
