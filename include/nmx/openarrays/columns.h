// Open-array functions over the columns and rows of 2-D double arrays: centring,
// normalising, the correlation of two columns and distances between two objects (rows).
#pragma once

#include "nmx/base/types.h"
#include "nmx/config.h"

namespace NMX_openarrays {

/// Subtracts from each column (first index) its mean over the rows, the sum taken in element
/// order and divided by the number of rows. Means receives the column means only when it
/// already holds elements (it is then resized to the number of columns); an empty Means stays
/// empty. An empty or ragged A is left as it is, and so is Means.
NMX_API void MeanCenterColumnsOfArray(NMX_nmxbase::TDouble2DArray& A,
                                      NMX_nmxbase::TDoubleArray& Means);

/// The same per row (second index): each row's mean over the columns is subtracted from it;
/// Means, when it holds elements, receives one mean per row.
NMX_API void MeanCenterRowsOfArray(NMX_nmxbase::TDouble2DArray& A,
                                   NMX_nmxbase::TDoubleArray& Means);

/// Divides each column by its Euclidean length sqrt(Σx²), which is right wherever it is
/// representable (no square overflows). A column of length 0 is left as it is and makes the
/// result -1; the other columns are still normalised. Returns 0, or -1 also for an empty or
/// ragged A (nothing changed).
NMX_API int NormalizeColumns(NMX_nmxbase::TDouble2DArray& A);

/// The same per row: each row is divided by its length over the columns.
NMX_API int NormalizeRows(NMX_nmxbase::TDouble2DArray& A);

/// Pearson's correlation of the columns Col1 and Col2 over all rows, from the deviations
/// about the means (so data with a large common offset keeps its digits). 0 for fewer than 3
/// rows, for a column without spread (all equal, all zero included), for a column index
/// outside A and for an empty or ragged A.
NMX_API double PearsonCorrCoeffColsOfArray(const NMX_nmxbase::TDouble2DArray& A, int Col1,
                                           int Col2);

/// Dist := the distance (or similarity) of the objects, rows Obj1 and Obj2, over the variables,
/// columns FirstVar..LastVar, with a = A[v][Obj1], b = A[v][Obj2]:
/// `dmTanimoto` Σab / (Σa² + Σb² - Σab), `dmManhattan` Σ|a - b|, `dmEuclidean` sqrt(Σ(a - b)²)
/// (right wherever representable), `dmSqrEuclidean` Σ(a - b)², `dmDice` 2Σab / (Σa² + Σb²);
/// any ordinal beyond these gives 0. The two similarities are NaN when both objects are 0
/// over the variables (0/0). Dist is set to 0 first and stays 0 on a nonzero status. The
/// status is the last failing test of: -1 for `dmUserDefined`; -2 when Obj1 or Obj2 lies
/// outside the rows; -3 when FirstVar or LastVar lies outside the columns (an empty or ragged
/// A included); -4 when LastVar < FirstVar. 0 otherwise.
NMX_API int DistanceOfObjects(const NMX_nmxbase::TDouble2DArray& A, NMX_nmxbase::TDistMode Mode,
                              int Obj1, int Obj2, int FirstVar, int LastVar, double& Dist);

}  // namespace NMX_openarrays
