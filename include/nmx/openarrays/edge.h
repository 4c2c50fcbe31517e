// Open-array functions: edge vectors, the profile of a two-dimensional array along its rows or
// its columns (minimum, maximum, sum, mean or standard deviation of each).
#pragma once

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// Dest := one statistic per row (`orRowwise`: Dest gets one element per row, taken across the
/// columns listed in EdgeIx, in list order) or per column (`orColwise`: one element per
/// column, taken down the rows listed in EdgeIx). An empty EdgeIx lists every column (row) in
/// ascending order. A listed index outside the array is skipped and makes the status -2; the
/// elements are still computed from the valid indices. Integer elements are taken as doubles.
///
/// The statistics, each element started afresh:
/// - `eoMin`, `eoMax`: the smallest (largest) value; uc_MaxDouble (-uc_MaxDouble) when no
///   listed index is valid. A NaN never replaces the value held.
/// - `eoSum`: the sum in list order, from 0.
/// - `eoMean`: that sum divided by a count that depends on the orientation and the element
///   type: `orRowwise` divides by the number of columns of A, however many EdgeIx lists;
///   `orColwise` divides by the number of valid listed rows for a double array (giving 0 when
///   there is none; the status is -2 then) but by the number of rows of A for an integer
///   array. With an empty EdgeIx each form is the ordinary mean.
/// - `eoStdDev`: the sample standard deviation (divisor k - 1) of the k valid listed values,
///   0 when k < 3. Computed from the deviations about the mean, so values sharing a large
///   offset keep their digits.
///
/// Returns 0; -1 for an array without columns or whose first column has no rows (or a ragged
/// array); -2 for an invalid listed index, or for an Orient or EdgeOp outside its
/// enumeration. Dest is unchanged on -1 and on an invalid enumeration value.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int EdgeVector(const Arr& A, NMX_nmxbase::TOrientation Orient,
                       NMX_nmxbase::TEdgeOp EdgeOp, const NMX_nmxbase::TIntArray& EdgeIx,
                       NMX_nmxbase::TDoubleArray& Dest);

/// EdgeVector over every column (`orRowwise`) or every row (`orColwise`): the member above
/// with an empty EdgeIx.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int EdgeVector(const Arr& A, NMX_nmxbase::TOrientation Orient,
                       NMX_nmxbase::TEdgeOp EdgeOp, NMX_nmxbase::TDoubleArray& Dest);

}  // namespace NMX_openarrays
