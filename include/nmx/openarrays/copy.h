// Open-array functions: copying blocks into pre-sized arrays, and columns and rows between
// one- and two-dimensional arrays.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

namespace detail {

/// Raises ENMXError "deprecated function, see help for details".
[[noreturn]] NMX_API void ThrowDeprecated();

/// Writes the block [Lo, Hi] of Src into Dest with its first element at Off, after checking
/// that the block lies in Src and fits into Dest from Off.
template <class Arr>
int CopyBlockBody(const Arr& Src, const TIndex<RankOf<Arr>>& Lo, const TIndex<RankOf<Arr>>& Hi,
                  const std::array<int, RankOf<Arr>>& Off, Arr& Dest) {
  const auto DestE = Extents(Dest);
  ExtentsOf<Arr> DestLo{};
  for (std::size_t K = 0; K < DestE.size(); ++K) {
    if (!InExtent(Off[K], DestE[K])) return -2;
    DestLo[K] = static_cast<std::size_t>(Off[K]);
    if (Hi[K] - Lo[K] + 1 > DestE[K] - DestLo[K]) return -2;
  }
  if (&Src == &Dest) {
    // Source and destination blocks may overlap: read from a copy.
    const Arr Copy = Src;
    ForEachPairInBoxes(Copy, Lo, Hi, Dest, DestLo, [](const auto& X, auto&& Y) { Y = X; });
  } else {
    ForEachPairInBoxes(Src, Lo, Hi, Dest, DestLo, [](const auto& X, auto&& Y) { Y = X; });
  }
  return 0;
}

template <class Arr>
int CopyWholeBody(const Arr& Src, const std::array<int, RankOf<Arr>>& Off, Arr& Dest) {
  if (!IsUsable(Src) || !IsUsable(Dest)) return -1;
  ExtentsOf<Arr> Lo{}, Hi{};
  FullBox(Extents(Src), Lo, Hi);
  return CopyBlockBody(Src, Lo, Hi, Off, Dest);
}

template <class Arr>
int CopyRangeBody(const Arr& Src, const std::array<int, RankOf<Arr>>& SrcLo,
                  const std::array<int, RankOf<Arr>>& SrcHi,
                  const std::array<int, RankOf<Arr>>& Off, Arr& Dest) {
  if (!IsUsable(Src) || !IsUsable(Dest)) return -1;
  ExtentsOf<Arr> Lo{}, Hi{};
  if (!MakeBox(SrcLo, SrcHi, Extents(Src), Lo, Hi)) return -2;
  return CopyBlockBody(Src, Lo, Hi, Off, Dest);
}

/// The element of a 2-D array on a line: along a column (Src[Fixed][I]) or along a row
/// (Src[I][Fixed]).
template <class A>
decltype(auto) LineElem(A&& Src, bool AlongColumn, std::size_t Fixed, std::size_t I) {
  return AlongColumn ? Src[Fixed][I] : Src[I][Fixed];
}

/// CopyArrayColumn (AlongColumn) and CopyArrayRow: Dest := the line from First to Last.
template <class Arr2, class Arr1>
int CopyLineBody(const Arr2& Src, bool AlongColumn, int Fixed, int First, int Last, Arr1& Dest) {
  if (!IsUsable(Src)) return -1;
  const auto E = Extents(Src);
  const std::size_t Along = AlongColumn ? E[1] : E[0];
  const std::size_t Across = AlongColumn ? E[0] : E[1];
  if (!InExtent(First, Along) || !InExtent(Last, Along) || First > Last) return -2;
  if (!InExtent(Fixed, Across)) return -3;
  const auto F = static_cast<std::size_t>(Fixed);
  const auto Lo = static_cast<std::size_t>(First);
  Arr1 Line(static_cast<std::size_t>(Last - First) + 1);
  for (std::size_t I = 0; I < Line.size(); ++I) Line[I] = LineElem(Src, AlongColumn, F, Lo + I);
  Dest = std::move(Line);
  return 0;
}

/// Copy2DColTo1DArray (AlongColumn) and Copy2DRowTo1DArray: the line into Dest from DestIx,
/// shortened to end at Dest's last element.
template <class Arr2, class Arr1>
int CopyLineIntoBody(const Arr2& Src, bool AlongColumn, int Fixed, int First, int Last, Arr1& Dest,
                     int DestIx) {
  if (!IsUsable(Src) || Dest.empty()) return -1;
  const auto E = Extents(Src);
  const std::size_t Along = AlongColumn ? E[1] : E[0];
  const std::size_t Across = AlongColumn ? E[0] : E[1];
  if (!InExtent(First, Along) || !InExtent(Last, Along) || First > Last) return -2;
  if (!InExtent(Fixed, Across)) return -3;
  if (!InExtent(DestIx, Dest.size())) return -4;
  const auto F = static_cast<std::size_t>(Fixed);
  const auto Lo = static_cast<std::size_t>(First);
  const auto D = static_cast<std::size_t>(DestIx);
  const std::size_t N = std::min(static_cast<std::size_t>(Last - First) + 1, Dest.size() - D);
  for (std::size_t I = 0; I < N; ++I) Dest[D + I] = LineElem(Src, AlongColumn, F, Lo + I);
  return 0;
}

/// CopyToArrayColumn (AlongColumn) and CopyToArrayRow: Src[FirstElem..LastElem] along the
/// line of Dest from Start, stopping at Dest's last row (column).
template <class Arr1, class Arr2>
int CopyToLineBody(const Arr1& Src, int FirstElem, int LastElem, bool AlongColumn, int Fixed,
                   int Start, Arr2& Dest) {
  int Status = 0;
  if (FirstElem == 0 && LastElem == 0 && !Src.empty()) {
    LastElem = static_cast<int>(std::min<std::size_t>(Src.size() - 1, 2147483647));
  }
  if (!InExtent(FirstElem, Src.size()) || !InExtent(LastElem, Src.size()) || FirstElem > LastElem) {
    Status = -1;
  }
  // The destination test comes second and overrides.
  if (!IsUsable(Dest)) {
    Status = -2;
  } else {
    const auto E = Extents(Dest);
    const std::size_t Along = AlongColumn ? E[1] : E[0];
    const std::size_t Across = AlongColumn ? E[0] : E[1];
    if (!InExtent(Fixed, Across) || !InExtent(Start, Along)) Status = -2;
    if (Status == 0) {
      const auto F = static_cast<std::size_t>(Fixed);
      const auto S = static_cast<std::size_t>(Start);
      const auto Lo = static_cast<std::size_t>(FirstElem);
      const std::size_t N = std::min(static_cast<std::size_t>(LastElem - FirstElem) + 1, Along - S);
      for (std::size_t I = 0; I < N; ++I) LineElem(Dest, AlongColumn, F, S + I) = Src[Lo + I];
    }
  }
  return Status;
}

/// A 2-D source and a 1-D destination of one element type (double, integer, Boolean).
template <class Arr2, class Arr1>
concept LinePair = (NumArray<Arr2, 2, 2> || BoolArray<Arr2, 2, 2>)&&RankOf<Arr1> == 1 &&
                   std::same_as<ElemOf<Arr1>, ElemOf<Arr2>>;

}  // namespace detail

// ---------------------------------------------------------------------------------------------
// CopyArray: blocks into a destination the caller has sized; Dest is never resized.

/// Writes the whole of Src into Dest from DestIx. Returns 0; -1 when Src or Dest is empty; -2
/// when DestIx lies outside Dest or Src does not fit from it (Dest unchanged).
template <class Arr>
requires detail::NumArray<Arr, 1, 1> || detail::BoolArray<Arr, 1, 1>
int CopyArray(const Arr& Src, int DestIx, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestIx}, Dest);
}

/// Writes the whole of Src into Dest with Src[0][0] at Dest[DestCol][DestRow]; codes as above.
template <class Arr>
requires detail::NumArray<Arr, 2, 2> || detail::BoolArray<Arr, 2, 2>
int CopyArray(const Arr& Src, int DestCol, int DestRow, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestCol, DestRow}, Dest);
}

/// Writes the whole 3-D Src into Dest from (DestCol, DestRow, DestLay); codes as above.
template <class Arr>
requires detail::NumArray<Arr, 3, 3>
int CopyArray(const Arr& Src, int DestCol, int DestRow, int DestLay, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestCol, DestRow, DestLay}, Dest);
}

/// Writes the whole 4-D Src into Dest from (DestCol, DestRow, DestLay, DestTSlot).
template <class Arr>
requires detail::NumArray<Arr, 4, 4>
int CopyArray(const Arr& Src, int DestCol, int DestRow, int DestLay, int DestTSlot, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestCol, DestRow, DestLay, DestTSlot}, Dest);
}

/// Writes Src[Lo..Hi] into Dest from DestIx. Returns 0; -1 when Src or Dest is empty; -2 unless
/// Lo <= Hi both lie in Src, DestIx lies in Dest and the block fits (Dest unchanged).
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int CopyArray(const Arr& Src, int Lo, int Hi, int DestIx, Arr& Dest) {
  return detail::CopyRangeBody(Src, {Lo}, {Hi}, {DestIx}, Dest);
}

/// Writes the block [LoCol..HiCol][LoRow..HiRow] of Src into Dest from (DestCol, DestRow).
template <class Arr>
requires detail::NumArray<Arr, 2, 2>
int CopyArray(const Arr& Src, int LoCol, int LoRow, int HiCol, int HiRow, int DestCol, int DestRow,
              Arr& Dest) {
  return detail::CopyRangeBody(Src, {LoCol, LoRow}, {HiCol, HiRow}, {DestCol, DestRow}, Dest);
}

/// The 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay) into Dest.
template <class Arr>
requires detail::NumArray<Arr, 3, 3>
int CopyArray(const Arr& Src, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow, int HiLay,
              int DestCol, int DestRow, int DestLay, Arr& Dest) {
  return detail::CopyRangeBody(Src, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay},
                               {DestCol, DestRow, DestLay}, Dest);
}

/// The 4-D block from (LoCol, LoRow, LoLay, LoTSlot) to (HiCol, HiRow, HiLay, HiTSlot) into
/// Dest.
template <class Arr>
requires detail::NumArray<Arr, 4, 4>
int CopyArray(const Arr& Src, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol, int HiRow,
              int HiLay, int HiTSlot, int DestCol, int DestRow, int DestLay, int DestTSlot,
              Arr& Dest) {
  return detail::CopyRangeBody(Src, {LoCol, LoRow, LoLay, LoTSlot}, {HiCol, HiRow, HiLay, HiTSlot},
                               {DestCol, DestRow, DestLay, DestTSlot}, Dest);
}

// ---------------------------------------------------------------------------------------------
// Columns and rows of 2-D arrays (Src[column][row]).

/// Dest := Src[Col][FirstRow..LastRow], resized to the count. Returns 0; -1 for an empty Src;
/// -2 when FirstRow > LastRow or either lies outside the rows; -3 when Col lies outside.
template <class Arr2, class Arr1>
requires detail::LinePair<Arr2, Arr1>
int CopyArrayColumn(const Arr2& Src, int Col, int FirstRow, int LastRow, Arr1& Dest) {
  return detail::CopyLineBody(Src, true, Col, FirstRow, LastRow, Dest);
}

/// Dest := Src[FirstCol..LastCol][Row], resized to the count. Returns 0; -1 for an empty Src;
/// -2 when the column range is invalid; -3 when Row lies outside the rows.
template <class Arr2, class Arr1>
requires detail::LinePair<Arr2, Arr1>
int CopyArrayRow(const Arr2& Src, int Row, int FirstCol, int LastCol, Arr1& Dest) {
  return detail::CopyLineBody(Src, false, Row, FirstCol, LastCol, Dest);
}

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
requires detail::LinePair<Arr2, Arr1>
int CopyToArrayColumn(const Arr1& Src, int FirstElem, int LastElem, int Col, int FirstRow,
                      Arr2& Dest) {
  return detail::CopyToLineBody(Src, FirstElem, LastElem, true, Col, FirstRow, Dest);
}

/// Writes Src[FirstElem..LastElem] along row Row of the pre-sized Dest from FirstCol, stopping
/// at Dest's last column; codes as CopyToArrayColumn.
template <class Arr1, class Arr2>
requires detail::LinePair<Arr2, Arr1>
int CopyToArrayRow(const Arr1& Src, int FirstElem, int LastElem, int FirstCol, int Row,
                   Arr2& Dest) {
  return detail::CopyToLineBody(Src, FirstElem, LastElem, false, Row, FirstCol, Dest);
}

/// Superseded by CopyToArrayColumn: always raises NMX_nmxbase::ENMXError with the message
/// "deprecated function, see help for details".
template <class Arr1, class Arr2>
requires detail::LinePair<Arr2, Arr1>
[[noreturn]] int CopyVectorToArrayColumn(const Arr1& /*Src*/, int /*FirstElem*/, int /*LastElem*/,
                                         int /*Col*/, int /*FirstRow*/, Arr2& /*Dest*/) {
  detail::ThrowDeprecated();
}

/// Superseded by CopyToArrayRow: always raises NMX_nmxbase::ENMXError with the message
/// "deprecated function, see help for details".
template <class Arr1, class Arr2>
requires detail::LinePair<Arr2, Arr1>
[[noreturn]] int CopyVectorToArrayRow(const Arr1& /*Src*/, int /*FirstElem*/, int /*LastElem*/,
                                      int /*FirstCol*/, int /*Row*/, Arr2& /*Dest*/) {
  detail::ThrowDeprecated();
}

}  // namespace NMX_openarrays
