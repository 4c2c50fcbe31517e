// Open-array functions: copying blocks into pre-sized arrays, and columns and rows between
// one- and two-dimensional arrays.
#pragma once

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// A 2-D source and a 1-D destination of one element type (double, integer, Boolean).
template <class Arr2, class Arr1>
concept LinePair = (NumArray<Arr2, 2, 2> || BoolArray<Arr2, 2, 2>) && (RankOf<Arr1> == 1) &&
                   std::same_as<ElemOf<Arr1>, ElemOf<Arr2>>;

namespace detail {
/// Raises ENMXError "deprecated function, see help for details".
[[noreturn]] NMX_API void ThrowDeprecated();
}  // namespace detail

// ---------------------------------------------------------------------------------------------
// CopyArray: blocks into a destination the caller has sized; Dest is never resized.

/// Writes the whole of Src into Dest from DestIx. Returns 0; -1 when Src or Dest is empty; -2
/// when DestIx lies outside Dest or Src does not fit from it (Dest unchanged).
template <class Arr>
requires NumArray<Arr, 1, 1> || BoolArray<Arr, 1, 1>
NMX_API int CopyArray(const Arr& Src, int DestIx, Arr& Dest);

/// Writes the whole of Src into Dest with Src[0][0] at Dest[DestCol][DestRow]; codes as above.
template <class Arr>
requires NumArray<Arr, 2, 2> || BoolArray<Arr, 2, 2>
NMX_API int CopyArray(const Arr& Src, int DestCol, int DestRow, Arr& Dest);

/// Writes the whole 3-D Src into Dest from (DestCol, DestRow, DestLay); codes as above.
template <class Arr>
requires NumArray<Arr, 3, 3>
NMX_API int CopyArray(const Arr& Src, int DestCol, int DestRow, int DestLay, Arr& Dest);

/// Writes the whole 4-D Src into Dest from (DestCol, DestRow, DestLay, DestTSlot).
template <class Arr>
requires NumArray<Arr, 4, 4>
NMX_API int CopyArray(const Arr& Src, int DestCol, int DestRow, int DestLay, int DestTSlot,
                      Arr& Dest);

/// Writes Src[Lo..Hi] into Dest from DestIx. Returns 0; -1 when Src or Dest is empty; -2 unless
/// Lo <= Hi both lie in Src, DestIx lies in Dest and the block fits (Dest unchanged).
template <class Arr>
requires NumArray<Arr, 1, 1>
NMX_API int CopyArray(const Arr& Src, int Lo, int Hi, int DestIx, Arr& Dest);

/// Writes the block [LoCol..HiCol][LoRow..HiRow] of Src into Dest from (DestCol, DestRow).
template <class Arr>
requires NumArray<Arr, 2, 2>
NMX_API int CopyArray(const Arr& Src, int LoCol, int LoRow, int HiCol, int HiRow, int DestCol,
                      int DestRow, Arr& Dest);

/// The 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay) into Dest.
template <class Arr>
requires NumArray<Arr, 3, 3>
NMX_API int CopyArray(const Arr& Src, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow,
                      int HiLay, int DestCol, int DestRow, int DestLay, Arr& Dest);

/// The 4-D block from (LoCol, LoRow, LoLay, LoTSlot) to (HiCol, HiRow, HiLay, HiTSlot) into
/// Dest.
template <class Arr>
requires NumArray<Arr, 4, 4>
NMX_API int CopyArray(const Arr& Src, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol,
                      int HiRow, int HiLay, int HiTSlot, int DestCol, int DestRow, int DestLay,
                      int DestTSlot, Arr& Dest);

// ---------------------------------------------------------------------------------------------
// Columns and rows of 2-D arrays (Src[column][row]).

/// Dest := Src[Col][FirstRow..LastRow], resized to the count. Returns 0; -1 for an empty Src;
/// -2 when FirstRow > LastRow or either lies outside the rows; -3 when Col lies outside.
template <class Arr2, class Arr1>
requires LinePair<Arr2, Arr1>
NMX_API int CopyArrayColumn(const Arr2& Src, int Col, int FirstRow, int LastRow, Arr1& Dest);

/// Dest := Src[FirstCol..LastCol][Row], resized to the count. Returns 0; -1 for an empty Src;
/// -2 when the column range is invalid; -3 when Row lies outside the rows.
template <class Arr2, class Arr1>
requires LinePair<Arr2, Arr1>
NMX_API int CopyArrayRow(const Arr2& Src, int Row, int FirstCol, int LastCol, Arr1& Dest);

/// Writes Src[Col][FirstRow..LastRow] into the pre-sized Dest from DestIx; a block longer than
/// the room left ends at Dest's last element. Returns 0; -1 when Src or Dest is empty; -2 for
/// an invalid row range; -3 for an invalid Col; -4 when DestIx lies outside Dest.
NMX_API int Copy2DColTo1DArray(const NMX_nmxbase::TDouble2DArray& Src, int Col, int FirstRow,
                               int LastRow, NMX_nmxbase::TDoubleArray& Dest, int DestIx);

/// Writes Src[FirstCol..LastCol][Row] into the pre-sized Dest from DestIx; as
/// Copy2DColTo1DArray, with -2 for an invalid column range and -3 for an invalid Row.
NMX_API int Copy2DRowTo1DArray(const NMX_nmxbase::TDouble2DArray& Src, int Row, int FirstCol,
                               int LastCol, NMX_nmxbase::TDoubleArray& Dest, int DestIx);

/// Writes Src[FirstElem..LastElem] down column Col of the pre-sized Dest from FirstRow,
/// stopping at Dest's last row; FirstElem = LastElem = 0 means all of Src. Returns 0; -1 when
/// FirstElem or LastElem lies outside Src or FirstElem > LastElem; -2 (tested after, and
/// overriding -1) when Dest is empty or Col or FirstRow lies outside it. Dest is never resized.
template <class Arr1, class Arr2>
requires LinePair<Arr2, Arr1>
NMX_API int CopyToArrayColumn(const Arr1& Src, int FirstElem, int LastElem, int Col, int FirstRow,
                              Arr2& Dest);

/// Writes Src[FirstElem..LastElem] along row Row of the pre-sized Dest from FirstCol, stopping
/// at Dest's last column; codes as CopyToArrayColumn.
template <class Arr1, class Arr2>
requires LinePair<Arr2, Arr1>
NMX_API int CopyToArrayRow(const Arr1& Src, int FirstElem, int LastElem, int FirstCol, int Row,
                           Arr2& Dest);

/// Superseded by CopyToArrayColumn: always raises NMX_nmxbase::ENMXError with the message
/// "deprecated function, see help for details".
template <class Arr1, class Arr2>
requires LinePair<Arr2, Arr1>
[[noreturn]] int CopyVectorToArrayColumn(const Arr1& /*Src*/, int /*FirstElem*/, int /*LastElem*/,
                                         int /*Col*/, int /*FirstRow*/, Arr2& /*Dest*/) {
  detail::ThrowDeprecated();
}

/// Superseded by CopyToArrayRow: always raises NMX_nmxbase::ENMXError with the message
/// "deprecated function, see help for details".
template <class Arr1, class Arr2>
requires LinePair<Arr2, Arr1>
[[noreturn]] int CopyVectorToArrayRow(const Arr1& /*Src*/, int /*FirstElem*/, int /*LastElem*/,
                                      int /*FirstCol*/, int /*Row*/, Arr2& /*Dest*/) {
  detail::ThrowDeprecated();
}

}  // namespace NMX_openarrays
