// Open-array functions: serialising a 2-D array into a 1-D one, removing a row or a column.
#pragma once

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// B := the c·r elements of A (c columns, r rows): ColumnWise, column after column
/// (B[row + col·r] = A[col][row]); else row after row (B[col + row·c] = A[col][row]). An
/// empty or ragged A leaves B unchanged.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API void SerializeArray(const Arr& A, bool ColumnWise, NestedOf<ElemOf<Arr>, 1>& B);

/// Removes row Row from every column: the rows after it move up by one, and A ends with c
/// columns of r - 1 rows. False (A unchanged) for an empty or ragged A or a Row outside
/// 0..r-1.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API bool RemoveRow(Arr& A, int Row);

/// Removes column Col: the columns after it move down by one, and A ends with c - 1 columns
/// of r rows. False (A unchanged) for an empty or ragged A or a Col outside 0..c-1.
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API bool RemoveColumn(Arr& A, int Col);

}  // namespace NMX_openarrays
