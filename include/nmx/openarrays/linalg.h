// Open-array functions: two-dimensional double arrays as matrices. Inversion, LU and LUP
// factors, the determinant, the symmetric eigen decomposition, permutations, matrix products
// and the hat matrix of a regression design.
//
// An array A with c columns of r rows is read as the r × c matrix M with M(i, j) = A[j][i]
// (i the row, j the column, both from 0): the cell layout of the matrix components. Arrays
// are taken as rectangular with the extents along the first path; a ragged array counts as
// empty.
#pragma once

#include "nmx/base/types.h"
#include "nmx/config.h"

namespace NMX_openarrays {

/// Replaces the square matrix A by its inverse: Crout's LU decomposition with implicit partial
/// pivoting (each row weighted by the reciprocal of its largest magnitude; on equal weighted
/// magnitudes the later row becomes the pivot), then one forward and one back substitution per
/// column of the identity. A pivot of magnitude below 1e-100 marks the matrix singular.
///
/// Each column of the decomposition and each column of the solution adds 1 to `ProcStat` and
/// calls `MathFeedBackProc`; `AbortMathProc` is tested before the row scaling and after every
/// such step.
///
/// Returns 0 on success; -1 for an empty or non-square A (A unchanged); -2 when the working
/// arrays cannot be allocated (A unchanged); -3 on failure, with A holding:
/// - a row of zeros, or `AbortMathProc` set before the start: A unchanged;
/// - a singular pivot: the decomposed factors (unit-lower L below the diagonal, U on and above
///   it, rows exchanged as pivoted, each tiny pivot replaced by 1e-100);
/// - an abort during the decomposition at column j: columns 0..j-1 decomposed, columns j..
///   as given, all rows exchanged as pivoted so far;
/// - an abort during the substitutions: the decomposed factors.
NMX_API int InvertArray(NMX_nmxbase::TDouble2DArray& A);

/// C := the matrix product A·B: C[j][i] = Σ_k A[k][i]·B[j][k], summed in ascending k from 0,
/// so C has B's number of columns and A's number of rows. Integer elements are converted to
/// double exactly. C becomes empty when an operand is empty (or ragged) or when A's number of
/// columns differs from B's number of rows. C may be one of the operands.
NMX_API void MultiplyArrays(const NMX_nmxbase::TDouble2DArray& A,
                            const NMX_nmxbase::TDouble2DArray& B, NMX_nmxbase::TDouble2DArray& C);
NMX_API void MultiplyArrays(const NMX_nmxbase::TInt2DArray& A, const NMX_nmxbase::TDouble2DArray& B,
                            NMX_nmxbase::TDouble2DArray& C);
NMX_API void MultiplyArrays(const NMX_nmxbase::TDouble2DArray& A, const NMX_nmxbase::TInt2DArray& B,
                            NMX_nmxbase::TDouble2DArray& C);

/// C := A·B for integer matrices as above, in 32-bit arithmetic that wraps on overflow. C
/// becomes empty on an empty operand or a dimension mismatch.
NMX_API void MultiplyArrays(const NMX_nmxbase::TInt2DArray& A, const NMX_nmxbase::TInt2DArray& B,
                            NMX_nmxbase::TInt2DArray& C);

/// The outer product of the column vector X and the row vector Y: C gets Y.size() columns of
/// X.size() rows with C[j][i] = X[i]·Y[j] (for integers in 32-bit wrapping arithmetic). C
/// becomes empty when X or Y is empty.
NMX_API void MultiplyArrays(const NMX_nmxbase::TDoubleArray& X, const NMX_nmxbase::TDoubleArray& Y,
                            NMX_nmxbase::TDouble2DArray& C);
NMX_API void MultiplyArrays(const NMX_nmxbase::TIntArray& X, const NMX_nmxbase::TIntArray& Y,
                            NMX_nmxbase::TInt2DArray& C);

/// Hat := X·(XᵀX)⁻¹·Xᵀ for the design X (observations in rows, variables in columns): a
/// square array with one column and one row per observation. The inverse comes from
/// `InvertArray`. Returns 0; -1 for an empty X; otherwise the nonzero status of the
/// inversion (-3 when XᵀX is singular). Hat is unchanged on failure.
NMX_API int CalcHatMatrix(const NMX_nmxbase::TDouble2DArray& X,
                          NMX_nmxbase::TDouble2DArray& Hat);

/// Factors the square A as A = L·U with partial pivoting (the row of largest magnitude is the
/// pivot, the later row on ties). U is upper triangular. L is the unit lower-triangular factor
/// with its rows put back in A's order (triangular when no rows were exchanged); when the
/// exchanges form an odd permutation, the last column of L and the last diagonal element of U
/// are negated, which leaves L·U unchanged. So det(L) = +1, and the product of U's diagonal
/// is the signed determinant of A.
///
/// Returns 0; -1 for an empty or non-square A; -3 for a singular A (a pivot column of exact
/// zeros). L and U are unchanged on failure; A is never changed.
NMX_API int LUdecomposition(const NMX_nmxbase::TDouble2DArray& A, NMX_nmxbase::TDouble2DArray& L,
                            NMX_nmxbase::TDouble2DArray& U);

/// Factors the square A as P·A = L·U with partial pivoting (as `LUdecomposition`): L unit
/// lower triangular, U upper triangular, P the permutation matrix as an integer array
/// (P[j][i] = 1 when row i of P·A is row j of A), Sign = +1 or -1, the sign of the permutation
/// (det P). Returns 0; -1 for an empty or non-square A; -3 for a singular A (a pivot column of
/// exact zeros). L, U, P and Sign are unchanged on failure.
NMX_API int LUPdecomposition(const NMX_nmxbase::TDouble2DArray& A, NMX_nmxbase::TDouble2DArray& L,
                             NMX_nmxbase::TDouble2DArray& U, NMX_nmxbase::TInt2DArray& P,
                             int& Sign);

/// The determinant of the square A, with its sign: the product of the pivots of the LU
/// decomposition with partial pivoting, times the sign of the row exchanges. The product is
/// formed with a separate binary exponent, so it overflows or underflows only when the
/// determinant itself does. 0 for a singular A, and also for an empty or non-square A.
NMX_API double Determinant(const NMX_nmxbase::TDouble2DArray& A);

/// Eigenvalues and eigenvectors of the symmetric A, read from its lower triangle (A[j][i] with
/// i >= j; the strict upper triangle is ignored): Householder reduction to tridiagonal form,
/// then the QL method with implicit shifts. Values[k] is the k-th eigenvalue and Vectors[k]
/// (a column) its eigenvector, of unit length, with its component of largest magnitude
/// positive (the first one on ties). Descending sorts the pairs by decreasing eigenvalue,
/// otherwise by increasing eigenvalue.
///
/// Returns 0; -1 for an empty or non-square A; -2 for a NaN or infinite element of the lower
/// triangle; -3 when the QL iteration does not converge. Vectors and Values are unchanged on
/// failure.
NMX_API int EigenDecomposition(const NMX_nmxbase::TDouble2DArray& A, bool Descending,
                               NMX_nmxbase::TDouble2DArray& Vectors,
                               NMX_nmxbase::TDoubleArray& Values);

/// B := A with its rows or its columns permuted by the permutation matrix P (an integer array
/// read as a matrix, as every array here): `acrRows` gives P·A, `acrColumns` gives A·P; with
/// Inverse, Pᵀ (the inverse permutation) takes P's place. So with P from `LUPdecomposition`,
/// PermuteArray(A, P, acrRows, false, B) gives the B = P·A that equals L·U.
///
/// Returns 0; -1 for an empty A or P; -2 when P is not a permutation matrix (square, 0 and 1
/// only, one 1 in each row and column) of the size of A's rows (acrRows) or columns
/// (acrColumns), or Apply is neither. B is unchanged on failure; B may be A.
NMX_API int PermuteArray(const NMX_nmxbase::TDouble2DArray& A, const NMX_nmxbase::TInt2DArray& P,
                         NMX_nmxbase::TApplyColRow Apply, bool Inverse,
                         NMX_nmxbase::TDouble2DArray& B);

}  // namespace NMX_openarrays
