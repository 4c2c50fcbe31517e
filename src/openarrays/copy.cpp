#include "nmx/openarrays/copy.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "nmx/base/errors.h"
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace detail {

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

}  // namespace detail

template <class Arr>
requires NumArray<Arr, 1, 1> || BoolArray<Arr, 1, 1>
int CopyArray(const Arr& Src, int DestIx, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestIx}, Dest);
}

template <class Arr>
requires NumArray<Arr, 2, 2> || BoolArray<Arr, 2, 2>
int CopyArray(const Arr& Src, int DestCol, int DestRow, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestCol, DestRow}, Dest);
}

template <class Arr>
requires NumArray<Arr, 3, 3>
int CopyArray(const Arr& Src, int DestCol, int DestRow, int DestLay, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestCol, DestRow, DestLay}, Dest);
}

template <class Arr>
requires NumArray<Arr, 4, 4>
int CopyArray(const Arr& Src, int DestCol, int DestRow, int DestLay, int DestTSlot, Arr& Dest) {
  return detail::CopyWholeBody(Src, {DestCol, DestRow, DestLay, DestTSlot}, Dest);
}

template <class Arr>
requires NumArray<Arr, 1, 1>
int CopyArray(const Arr& Src, int Lo, int Hi, int DestIx, Arr& Dest) {
  return detail::CopyRangeBody(Src, {Lo}, {Hi}, {DestIx}, Dest);
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int CopyArray(const Arr& Src, int LoCol, int LoRow, int HiCol, int HiRow, int DestCol, int DestRow,
              Arr& Dest) {
  return detail::CopyRangeBody(Src, {LoCol, LoRow}, {HiCol, HiRow}, {DestCol, DestRow}, Dest);
}

template <class Arr>
requires NumArray<Arr, 3, 3>
int CopyArray(const Arr& Src, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow, int HiLay,
              int DestCol, int DestRow, int DestLay, Arr& Dest) {
  return detail::CopyRangeBody(Src, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay},
                               {DestCol, DestRow, DestLay}, Dest);
}

template <class Arr>
requires NumArray<Arr, 4, 4>
int CopyArray(const Arr& Src, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol, int HiRow,
              int HiLay, int HiTSlot, int DestCol, int DestRow, int DestLay, int DestTSlot,
              Arr& Dest) {
  return detail::CopyRangeBody(Src, {LoCol, LoRow, LoLay, LoTSlot}, {HiCol, HiRow, HiLay, HiTSlot},
                               {DestCol, DestRow, DestLay, DestTSlot}, Dest);
}

template <class Arr2, class Arr1>
requires LinePair<Arr2, Arr1>
int CopyArrayColumn(const Arr2& Src, int Col, int FirstRow, int LastRow, Arr1& Dest) {
  return detail::CopyLineBody(Src, true, Col, FirstRow, LastRow, Dest);
}

template <class Arr2, class Arr1>
requires LinePair<Arr2, Arr1>
int CopyArrayRow(const Arr2& Src, int Row, int FirstCol, int LastCol, Arr1& Dest) {
  return detail::CopyLineBody(Src, false, Row, FirstCol, LastCol, Dest);
}

template <class Arr1, class Arr2>
requires LinePair<Arr2, Arr1>
int CopyToArrayColumn(const Arr1& Src, int FirstElem, int LastElem, int Col, int FirstRow,
                      Arr2& Dest) {
  return detail::CopyToLineBody(Src, FirstElem, LastElem, true, Col, FirstRow, Dest);
}

template <class Arr1, class Arr2>
requires LinePair<Arr2, Arr1>
int CopyToArrayRow(const Arr1& Src, int FirstElem, int LastElem, int FirstCol, int Row,
                   Arr2& Dest) {
  return detail::CopyToLineBody(Src, FirstElem, LastElem, false, Row, FirstCol, Dest);
}

namespace detail {

void ThrowDeprecated() {
  throw NMX_nmxbase::ENMXError("deprecated function, see help for details");
}

}  // namespace detail

int Copy2DColTo1DArray(const NMX_nmxbase::TDouble2DArray& Src, int Col, int FirstRow, int LastRow,
                       NMX_nmxbase::TDoubleArray& Dest, int DestIx) {
  return detail::CopyLineIntoBody(Src, true, Col, FirstRow, LastRow, Dest, DestIx);
}

int Copy2DRowTo1DArray(const NMX_nmxbase::TDouble2DArray& Src, int Row, int FirstCol, int LastCol,
                       NMX_nmxbase::TDoubleArray& Dest, int DestIx) {
  return detail::CopyLineIntoBody(Src, false, Row, FirstCol, LastCol, Dest, DestIx);
}

// The members of the family, compiled here.
#define NMX_INST(A) template int CopyArray<A>(const A&, int, A&);
NMX_NUM_1(NMX_INST)
NMX_INST(detail::TBoolArray)
#undef NMX_INST
#define NMX_INST(A) template int CopyArray<A>(const A&, int, int, A&);
NMX_NUM_2(NMX_INST)
NMX_INST(detail::TBool2DArray)
#undef NMX_INST
#define NMX_INST(A) template int CopyArray<A>(const A&, int, int, int, A&);
    NMX_NUM_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int CopyArray<A>(const A&, int, int, int, int, A&);
        NMX_NUM_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int CopyArray<A>(const A&, int, int, int, A&);
            NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int CopyArray<A>(const A&, int, int, int, int, int, int, A&);
                NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) \
  template int CopyArray<A>(const A&, int, int, int, int, int, int, int, int, int, A&);
                    NMX_NUM_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A)                                                                               \
  template int CopyArray<A>(const A&, int, int, int, int, int, int, int, int, int, int, int, int, \
                            A&);
                        NMX_NUM_4(NMX_INST)
#undef NMX_INST
// The columns and rows, for the LinePair members: a 2-D source A2 and a 1-D destination A1
// of one element type.
#define NMX_LINES(A2, A1)                                                                       \
  template int CopyArrayColumn<detail::A2, detail::A1>(const detail::A2&, int, int, int,        \
                                                       detail::A1&);                            \
  template int CopyArrayRow<detail::A2, detail::A1>(const detail::A2&, int, int, int,           \
                                                    detail::A1&);                               \
  template int CopyToArrayColumn<detail::A1, detail::A2>(const detail::A1&, int, int, int, int, \
                                                         detail::A2&);                          \
  template int CopyToArrayRow<detail::A1, detail::A2>(const detail::A1&, int, int, int, int,    \
                                                      detail::A2&);
                            NMX_LINES(TDouble2DArray, TDoubleArray)
                                NMX_LINES(TInt2DArray, TIntArray)
                                    NMX_LINES(TBool2DArray, TBoolArray)
#undef NMX_LINES

}  // namespace NMX_openarrays
