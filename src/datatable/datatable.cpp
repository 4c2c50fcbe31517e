// TDataTable: the table model, its resizing, cell access, states, identifiers and copies.
#include "nmx/datatable/datatable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

#include "math1/elem.h"
#include "nmx/base/crc.h"
#include "nmx/base/errors.h"
#include "nmx/base/strings.h"
#include "nmx/math1/digits.h"

namespace NMX_datatable {
namespace {

using NMX_matrix::TMatrix;
using NMX_nmxbase::TNotifyEvent;
using Size = std::size_t;

constexpr std::string_view kInitFailed = "failed to initialize (out of memory)";
constexpr std::string_view kNominalsExceeded = "number of available nominal values exceeded";

Size U(int X) noexcept { return static_cast<Size>(X); }

TDTNameStr DefaultName(char Prefix, int Number) {
  char Buf[16] = {Prefix, '-'};
  const auto Res = std::to_chars(Buf + 2, Buf + sizeof Buf, Number);
  return TDTNameStr(std::string_view(Buf, static_cast<Size>(Res.ptr - Buf)));
}

char FoldAscii(char C) noexcept { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; }

bool SameID(std::string_view A, std::string_view B, bool IgnoreCase) noexcept {
  if (A.size() != B.size()) return false;
  if (!IgnoreCase) return A == B;
  for (Size i = 0; i < A.size(); ++i) {
    if (FoldAscii(A[i]) != FoldAscii(B[i])) return false;
  }
  return true;
}

// Eight CRC-32 registers, a byte at position k feeding register k mod 8.
class Crc8Lanes {
 public:
  void Feed(Size Position, std::uint8_t B) noexcept {
    auto& R = FReg[Position % 8];
    R = NMX_nmxbase::CalcNextCRC32(B, R);
  }
  void FeedText(std::string_view S) noexcept {
    for (Size i = 0; i < S.size(); ++i) Feed(i + 1, static_cast<std::uint8_t>(S[i]));
  }
  std::string Text() const {
    std::string Out;
    Out.reserve(64);
    for (const std::uint32_t R : FReg) {
      Out += NMX_math1::Hex(static_cast<std::int32_t>(~R), 8);
    }
    return Out;
  }

 private:
  std::uint32_t FReg[8] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu,
                           0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
};

// Takes the OnChange of a matrix away for a bulk write and gives it back afterwards, also
// when the write raises: the table notifies once at the end instead of once per cell.
class QuietMatrix {
 public:
  explicit QuietMatrix(TMatrix& M) : FM(M), FSaved(std::move(M.OnChange)) { FM.OnChange = nullptr; }
  ~QuietMatrix() { FM.OnChange = std::move(FSaved); }
  QuietMatrix(const QuietMatrix&) = delete;
  QuietMatrix& operator=(const QuietMatrix&) = delete;

 private:
  TMatrix& FM;
  TNotifyEvent FSaved;
};

}  // namespace

// The per-column and per-row arrays of one set of dimensions, built aside before a resize
// touches anything.
struct TDataTable::Arrays {
  std::vector<TDTNameStr> ColName, RowName;
  std::vector<std::int32_t> ColAtt, RowAtt;
  std::vector<TVTypeSpec> VType;
  std::vector<std::uint8_t> CState;
};

// Detaches the five notify events of the table for a bulk operation and restores them on
// every way out.
class TDataTable::MuteEvents {
 public:
  explicit MuteEvents(TDataTable& T, bool OnlyChangeAndSetup = false) : FT(T) {
    FChange = std::exchange(T.OnChange, nullptr);
    FSetup = std::exchange(T.OnChangeSetup, nullptr);
    if (!OnlyChangeAndSetup) {
      FNames = std::exchange(T.OnChangeNames, nullptr);
      FAttrib = std::exchange(T.OnChangeAttrib, nullptr);
      FCellSt = std::exchange(T.OnChangeCellState, nullptr);
      FAll = true;
    }
  }
  ~MuteEvents() {
    FT.OnChange = std::move(FChange);
    FT.OnChangeSetup = std::move(FSetup);
    if (FAll) {
      FT.OnChangeNames = std::move(FNames);
      FT.OnChangeAttrib = std::move(FAttrib);
      FT.OnChangeCellState = std::move(FCellSt);
    }
  }
  MuteEvents(const MuteEvents&) = delete;
  MuteEvents& operator=(const MuteEvents&) = delete;

 private:
  TDataTable& FT;
  bool FAll = false;
  TNotifyEvent FChange, FSetup, FNames, FAttrib, FCellSt;
};

// --- construction ------------------------------------------------------------------------------

TDataTable::TDataTable(NMX_platform::TComponent* AOwner) : TComponent(AOwner) {
  try {
    FOwnData = std::make_unique<TMatrix>(nullptr);
    FColName.assign(1, DefaultName('C', 1));
    FRowName.assign(1, DefaultName('R', 1));
    FColAtt.assign(1, 0);
    FRowAtt.assign(1, 0);
    FVType.assign(1, TVTypeSpec{});
    FCState.assign(1, 0);
  } catch (const std::bad_alloc&) {
    FOwnData.reset();
    NMX_nmxbase::RaiseComponentError<ENMXDataTableError>(this, kInitFailed);
  } catch (const NMX_matrix::ENMXMatrixError&) {
    FOwnData.reset();
    NMX_nmxbase::RaiseComponentError<ENMXDataTableError>(this, kInitFailed);
  }
  FData = FOwnData.get();
  FData->Fill(0.0);
  RouteMatrix(*FData);
}

TDataTable::~TDataTable() { ReleaseMatrix(); }

void TDataTable::RouteMatrix(TMatrix& M) {
  M.OnChange = [this](NMX_platform::TObject* Sender) { DataHasChanged(Sender); };
  M.OnSortExchange = [this](NMX_platform::TObject* Sender, std::uint8_t What, int I1, int I2,
                            int First, int Last) {
    ExchangeDuringSort(Sender, What, I1, I2, First, Last);
  };
}

void TDataTable::ReleaseMatrix() noexcept {
  // A borrowed matrix stays the caller's; it must not call into a table that is gone.
  if (FExtMatAssigned && FData != nullptr) {
    FData->OnChange = nullptr;
    FData->OnSortExchange = nullptr;
  }
}

// --- dimensions --------------------------------------------------------------------------------

TDataTable::Arrays TDataTable::GrownArrays(int NrCols, int NrRows) const {
  Arrays A;
  const Size KeepCols = U(std::min(NrCols, FNrOfCols));
  const Size KeepRows = U(std::min(NrRows, FNrOfRows));
  try {
    A.ColName.reserve(U(NrCols));
    A.ColName.assign(FColName.begin(), FColName.begin() + static_cast<std::ptrdiff_t>(KeepCols));
    for (int c = static_cast<int>(KeepCols) + 1; c <= NrCols; ++c) {
      A.ColName.push_back(DefaultName('C', c));
    }
    A.RowName.reserve(U(NrRows));
    A.RowName.assign(FRowName.begin(), FRowName.begin() + static_cast<std::ptrdiff_t>(KeepRows));
    for (int r = static_cast<int>(KeepRows) + 1; r <= NrRows; ++r) {
      A.RowName.push_back(DefaultName('R', r));
    }
    A.ColAtt.assign(U(NrCols), 0);
    std::copy_n(FColAtt.begin(), KeepCols, A.ColAtt.begin());
    A.RowAtt.assign(U(NrRows), 0);
    std::copy_n(FRowAtt.begin(), KeepRows, A.RowAtt.begin());
    A.VType.assign(U(NrCols), TVTypeSpec{});
    std::copy_n(FVType.begin(), KeepCols, A.VType.begin());
    A.CState.assign(U(NrCols) * U(NrRows), 0);
    for (Size c = 0; c < KeepCols; ++c) {
      std::copy_n(FCState.begin() + static_cast<std::ptrdiff_t>(c * U(FNrOfRows)), KeepRows,
                  A.CState.begin() + static_cast<std::ptrdiff_t>(c * U(NrRows)));
    }
  } catch (const std::bad_alloc&) {
    NMX_nmxbase::RaiseComponentError<ENMXDataTableError>(this, NMX_nmxbase::kNoMemoryOnHeap);
  } catch (const std::length_error&) {
    NMX_nmxbase::RaiseComponentError<ENMXDataTableError>(this, NMX_nmxbase::kNoMemoryOnHeap);
  }
  return A;
}

void TDataTable::ResizeInternal(int NrCols, int NrRows, const TNotifyEvent& Rerouted,
                                bool ResizeMatrix) {
  if (NrCols == FNrOfCols && NrRows == FNrOfRows) return;
  if (NrCols < 1 || NrRows < 1) {
    // The matrix always has a cell; a table without one would break the invariant that both
    // have the same dimensions.
    NMX_nmxbase::RaiseComponentError<NMX_nmxbase::ENMXError>(
        this, "the data matrix cannot take " + std::to_string(NrCols) + " columns and " +
                  std::to_string(NrRows) + " rows");
  }
  // A cell count no matrix can hold is refused before anything is allocated: the per-column
  // arrays alone could be granted lazily and then fill all memory.
  if (U(NrCols) * U(NrRows) > std::vector<double>().max_size()) {
    NMX_nmxbase::RaiseComponentError<ENMXDataTableError>(this, NMX_nmxbase::kNoMemoryOnHeap);
  }
  // Everything that can fail comes before the first change, so a failure leaves the table
  // (and its matrix) as they were.
  Arrays A = GrownArrays(NrCols, NrRows);
  if (ResizeMatrix) {
    TNotifyEvent Before = std::move(FData->OnChange);
    FData->OnChange = nullptr;
    try {
      FData->Resize(NrCols, NrRows);
    } catch (...) {
      FData->OnChange = std::move(Before);
      throw;
    }
    FData->OnChange = Rerouted ? Rerouted : std::move(Before);
  }
  const int OldCols = FNrOfCols;
  const int OldRows = FNrOfRows;
  FColName.swap(A.ColName);
  FRowName.swap(A.RowName);
  FColAtt.swap(A.ColAtt);
  FRowAtt.swap(A.RowAtt);
  FVType.swap(A.VType);
  FCState.swap(A.CState);
  FNrOfCols = NrCols;
  FNrOfRows = NrRows;
  if (OnResize) OnResize(this, OldCols, OldRows, NrCols, NrRows);
}

void TDataTable::Resize(int NrCols, int NrRows) {
  ResizeInternal(
      NrCols, NrRows,
      [this](NMX_platform::TObject* Sender) { DataHasChanged(Sender); }, true);
}

void TDataTable::SetNrCols(int Nc) { ResizeInternal(Nc, FNrOfRows, nullptr, true); }

void TDataTable::SetNrRows(int Nr) { ResizeInternal(FNrOfCols, Nr, nullptr, true); }

int TDataTable::MakeValidColRange(int& LowCol, int& HighCol) const noexcept {
  return NMX_math1::detail::ValidRange(FNrOfCols, LowCol, HighCol);
}

int TDataTable::MakeValidRowRange(int& LowRow, int& HighRow) const noexcept {
  return NMX_math1::detail::ValidRange(FNrOfRows, LowRow, HighRow, /*ExchangeCounts=*/true);
}

// --- cells -------------------------------------------------------------------------------------

double TDataTable::Elem(int ACol, int ARow) const noexcept {
  if (!Inside(ACol, ARow)) return 0.0;
  const double V = FData->GetVal(ACol, ARow);
  return IsCategorical(FVType[U(ACol - 1)].MScaleType) ? std::nearbyint(V) : V;
}

void TDataTable::SetElem(int ACol, int ARow, double Value) {
  if (!Inside(ACol, ARow)) return;
  FData->SetVal(ACol, ARow, Value);
  ChangedData();
}

TNominalIDStr TDataTable::ElemNominal(int ACol, int ARow) const {
  if (!Inside(ACol, ARow)) return {};
  const TVTypeSpec& T = FVType[U(ACol - 1)];
  if (!IsCategorical(T.MScaleType)) return {};
  const double K = std::nearbyint(FData->GetVal(ACol, ARow));
  if (K >= 0.0 && K <= MaxNominalID) return T.IDs[static_cast<Size>(K)];
  // A value that is no slot reads as its number, as far as 10 characters hold it.
  if (std::isnan(K)) return TNominalIDStr("NAN");
  if (std::isinf(K)) return TNominalIDStr(K > 0 ? "INF" : "-INF");
  char Buf[400];
  const auto Res = std::to_chars(Buf, Buf + sizeof Buf, K, std::chars_format::fixed);
  return TNominalIDStr(std::string_view(Buf, static_cast<Size>(Res.ptr - Buf)));
}

void TDataTable::SetElemNominal(int ACol, int ARow, std::string_view Value) {
  if (!Inside(ACol, ARow)) return;
  int K = OrdinalOfNominalID(ACol, Value, true);
  if (K < 0) {
    auto& IDs = FVType[U(ACol - 1)].IDs;
    const auto Free = std::find_if(IDs.begin(), IDs.end(), [](const TNominalIDStr& S) {
      return S.Empty();
    });
    if (Free == IDs.end()) {
      NMX_nmxbase::RaiseComponentError<ENMXDataTableError>(this, kNominalsExceeded);
    }
    *Free = TNominalIDStr(Value);
    K = static_cast<int>(Free - IDs.begin());
  }
  {
    QuietMatrix Quiet(*FData);
    FData->SetVal(ACol, ARow, K);
  }
  ChangedData();
}

std::uint8_t TDataTable::CellState(int ACol, int ARow) const noexcept {
  return Inside(ACol, ARow) ? FCState[Cell(ACol, ARow)] : std::uint8_t{0};
}

void TDataTable::SetCellState(int ACol, int ARow, std::uint8_t State) {
  if (!Inside(ACol, ARow)) return;
  auto& S = FCState[Cell(ACol, ARow)];
  if (S == State) return;
  S = State;
  ChangedCellStates();
}

bool TDataTable::IsNumber(int ACol, int ARow) const noexcept {
  return Inside(ACol, ARow) && (FCState[Cell(ACol, ARow)] & 3u) == 0;
}

bool TDataTable::IsEmpty(int ACol, int ARow) const noexcept {
  return (CellState(ACol, ARow) & 2u) != 0;
}

bool TDataTable::IsImputed(int ACol, int ARow) const noexcept {
  return (CellState(ACol, ARow) & 32u) != 0;
}

void TDataTable::SetIsEmpty(int ACol, int ARow, bool Value) {
  if (!Inside(ACol, ARow)) return;
  const std::uint8_t S = FCState[Cell(ACol, ARow)];
  SetCellState(ACol, ARow, static_cast<std::uint8_t>(Value ? (S | 2u) : (S & ~2u)));
  ChangedData();
}

void TDataTable::SetIsImputed(int ACol, int ARow, bool Value) {
  if (!Inside(ACol, ARow)) return;
  const std::uint8_t S = FCState[Cell(ACol, ARow)];
  SetCellState(ACol, ARow, static_cast<std::uint8_t>(Value ? (S | 32u) : (S & ~32u)));
  ChangedData();
}

// --- names, attributes, scales, comment --------------------------------------------------------

TDTNameStr TDataTable::ColName(int ColNr) const noexcept {
  return ColInside(ColNr) ? FColName[U(ColNr - 1)] : TDTNameStr{};
}

TDTNameStr TDataTable::RowName(int RowNr) const noexcept {
  return RowInside(RowNr) ? FRowName[U(RowNr - 1)] : TDTNameStr{};
}

void TDataTable::SetColName(int ColNr, std::string_view Name) {
  if (!ColInside(ColNr)) return;
  FColName[U(ColNr - 1)] = TDTNameStr(Name);
  ChangedNames();
}

void TDataTable::SetRowName(int RowNr, std::string_view Name) {
  if (!RowInside(RowNr)) return;
  FRowName[U(RowNr - 1)] = TDTNameStr(Name);
  ChangedNames();
}

int TDataTable::MaxColNameLength() const noexcept {
  Size M = 0;
  for (const auto& N : FColName) M = std::max(M, N.Length());
  return static_cast<int>(M);
}

int TDataTable::MaxRowNameLength() const noexcept {
  Size M = 0;
  for (const auto& N : FRowName) M = std::max(M, N.Length());
  return static_cast<int>(M);
}

std::int32_t TDataTable::ColAttrib(int ColNr) const noexcept {
  return ColInside(ColNr) ? FColAtt[U(ColNr - 1)] : 0;
}

std::int32_t TDataTable::RowAttrib(int RowNr) const noexcept {
  return RowInside(RowNr) ? FRowAtt[U(RowNr - 1)] : 0;
}

void TDataTable::SetColAttrib(int ColNr, std::int32_t Attrib) {
  if (!ColInside(ColNr)) return;
  FColAtt[U(ColNr - 1)] = Attrib;
  ChangedAttrib();
}

void TDataTable::SetRowAttrib(int RowNr, std::int32_t Attrib) {
  if (!RowInside(RowNr)) return;
  FRowAtt[U(RowNr - 1)] = Attrib;
  ChangedAttrib();
}

void TDataTable::SetColAttributes(std::int32_t Attrib) {
  std::fill(FColAtt.begin(), FColAtt.end(), Attrib);
  ChangedAttrib();
}

void TDataTable::SetRowAttributes(std::int32_t Attrib) {
  std::fill(FRowAtt.begin(), FRowAtt.end(), Attrib);
  ChangedAttrib();
}

namespace {
std::int32_t Masked(std::int32_t A, std::int32_t Attrib, std::uint32_t Mask) noexcept {
  const auto Bits = (static_cast<std::uint32_t>(A) & ~Mask) |
                    (static_cast<std::uint32_t>(Attrib) & Mask);
  return static_cast<std::int32_t>(Bits);
}
}  // namespace

void TDataTable::SetColAttributes(std::int32_t Attrib, std::uint32_t Mask) {
  for (auto& A : FColAtt) A = Masked(A, Attrib, Mask);
  ChangedAttrib();
}

void TDataTable::SetRowAttributes(std::int32_t Attrib, std::uint32_t Mask) {
  for (auto& A : FRowAtt) A = Masked(A, Attrib, Mask);
  ChangedAttrib();
}

TMScaleType TDataTable::MScaleType(int ColNr) const noexcept {
  return ColInside(ColNr) ? FVType[U(ColNr - 1)].MScaleType : stUnknown;
}

void TDataTable::SetMScaleType(int ColNr, TMScaleType Scale) {
  if (!ColInside(ColNr)) return;
  FVType[U(ColNr - 1)].MScaleType = Scale;
  ChangedSetup();
}

void TDataTable::SetComment(std::string_view Value) {
  FComment = NMX_stringl::RemoveControlChars(Value);
  ChangedSetup();
}

// --- nominal identifiers -----------------------------------------------------------------------

TNominalIDStr TDataTable::NominalID(int ColIx, int OrdVal) const noexcept {
  if (!ColInside(ColIx) || OrdVal < 0 || OrdVal > MaxNominalID) return {};
  const TVTypeSpec& T = FVType[U(ColIx - 1)];
  return IsCategorical(T.MScaleType) ? T.IDs[U(OrdVal)] : TNominalIDStr{};
}

void TDataTable::SetNominalID(int ColIx, int OrdVal, std::string_view MScaleID) {
  if (!ColInside(ColIx) || OrdVal < 0 || OrdVal > MaxNominalID) return;
  TVTypeSpec& T = FVType[U(ColIx - 1)];
  if (MScaleID.empty() || IsCategorical(T.MScaleType)) T.IDs[U(OrdVal)] = TNominalIDStr(MScaleID);
  ChangedSetup();
}

int TDataTable::OrdinalOfNominalID(int Col, std::string_view ID,
                                   bool IgnoreCase) const noexcept {
  const TNominalIDStr Key(ID);
  if (!ColInside(Col) || Key.Empty()) return -1;
  const TVTypeSpec& T = FVType[U(Col - 1)];
  if (!IsCategorical(T.MScaleType)) return -1;
  for (int k = 0; k <= MaxNominalID; ++k) {
    if (SameID(T.IDs[U(k)].View(), Key.View(), IgnoreCase)) return k;
  }
  return -1;
}

int TDataTable::AddNominalID(int Col, std::string_view MScaleID) {
  if (!ColInside(Col)) return -1;
  const int Known = OrdinalOfNominalID(Col, MScaleID, true);
  if (Known >= 0) return Known;
  TVTypeSpec& T = FVType[U(Col - 1)];
  const auto Free =
      std::find_if(T.IDs.begin(), T.IDs.end(), [](const TNominalIDStr& S) { return S.Empty(); });
  if (Free == T.IDs.end()) return -1;
  T.MScaleType = stNominal;
  *Free = TNominalIDStr(MScaleID);
  ChangedSetup();
  return static_cast<int>(Free - T.IDs.begin());
}

void TDataTable::ClearNominalIDs(int Col) {
  if (!ColInside(Col)) return;
  FVType[U(Col - 1)].IDs.fill(TNominalIDStr{});
  ChangedSetup();
}

int TDataTable::CountNominalIDs(int Col) const noexcept {
  if (!ColInside(Col)) return 0;
  const auto& IDs = FVType[U(Col - 1)].IDs;
  return static_cast<int>(
      std::count_if(IDs.begin(), IDs.end(), [](const TNominalIDStr& S) { return !S.Empty(); }));
}

// --- cell states over the table ----------------------------------------------------------------

template <class Op>
void TDataTable::ForEachState(Op&& Change) {
  for (auto& S : FCState) S = static_cast<std::uint8_t>(Change(S));
  ChangedCellStates();
}

void TDataTable::SetAllCellStates(std::uint8_t State) {
  ForEachState([State](std::uint8_t) { return State; });
}

void TDataTable::UnmarkAllCells() {
  ForEachState([](std::uint8_t S) { return S & 63u; });
}

void TDataTable::InvertCellStates(std::uint8_t StateMask) {
  ForEachState([StateMask](std::uint8_t S) { return S ^ StateMask; });
}

void TDataTable::ExchangeMarkings() {
  ForEachState([](std::uint8_t S) { return (S & 63u) | ((S & 64u) << 1) | ((S & 128u) >> 1); });
}

void TDataTable::SetCellStates(int LowCol, int LowRow, int HighCol, int HighRow,
                               std::uint8_t State, NMX_nmxbase::TLogicOp LogicOp) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  const unsigned B = State;
  const unsigned NotB = static_cast<std::uint8_t>(~State);
  const auto Apply = [&](unsigned S) -> unsigned {
    switch (LogicOp) {
      case NMX_nmxbase::loAnd: return S & B;
      case NMX_nmxbase::loOr: return S | B;
      case NMX_nmxbase::loXor: return S ^ B;
      case NMX_nmxbase::loAndNot: return S & NotB;
      case NMX_nmxbase::loOrNot: return S | NotB;
      case NMX_nmxbase::loXorNot: return S ^ NotB;
    }
    return S;
  };
  for (int c = LowCol; c <= HighCol; ++c) {
    for (int r = LowRow; r <= HighRow; ++r) {
      auto& S = FCState[Cell(c, r)];
      S = static_cast<std::uint8_t>(Apply(S));
    }
  }
  ChangedCellStates();
}

bool TDataTable::IfColHasCellState(int Col, std::uint8_t State) const noexcept {
  if (!ColInside(Col)) return false;
  return IfAnyCellHasCellState(Col, 1, Col, FNrOfRows, State);
}

bool TDataTable::IfRowHasCellState(int Row, std::uint8_t State) const noexcept {
  if (!RowInside(Row)) return false;
  return IfAnyCellHasCellState(1, Row, FNrOfCols, Row, State);
}

bool TDataTable::IfAnyCellHasCellState(int LowCol, int LowRow, int HighCol, int HighRow,
                                       std::uint8_t State) const noexcept {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  unsigned Any = 0;
  for (int c = LowCol; c <= HighCol; ++c) {
    for (int r = LowRow; r <= HighRow; ++r) Any |= FCState[Cell(c, r)];
  }
  return (Any & State) != 0;
}

bool TDataTable::CopyCellStatesFrom(const TDataTable* ExtTab) {
  if (ExtTab == nullptr || ExtTab->FNrOfCols != FNrOfCols || ExtTab->FNrOfRows != FNrOfRows) {
    return false;
  }
  if (ExtTab != this) FCState = ExtTab->FCState;
  ChangedCellStates();
  return true;
}

// --- whole-table operations --------------------------------------------------------------------

void TDataTable::Clear() {
  for (int c = 1; c <= FNrOfCols; ++c) FColName[U(c - 1)] = DefaultName('C', c);
  for (int r = 1; r <= FNrOfRows; ++r) FRowName[U(r - 1)] = DefaultName('R', r);
  std::fill(FCState.begin(), FCState.end(), 0);
  std::fill(FColAtt.begin(), FColAtt.end(), 0);
  std::fill(FRowAtt.begin(), FRowAtt.end(), 0);
  std::fill(FVType.begin(), FVType.end(), TVTypeSpec{});
  FComment.clear();
  FData->Fill(0.0);
  ChangedNames();
  ChangedAttrib();
  ChangedCellStates();
  ChangedSetup();
}

void TDataTable::Assign(const NMX_platform::TPersistent* Source) {
  const auto* Src = dynamic_cast<const TDataTable*>(Source);
  if (Src == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (Src == this) return;
  // Every copy is taken before anything changes, so a failed allocation leaves this table as
  // it was.
  Arrays A;
  std::string Comment;
  std::vector<double> Values;
  NMX_nmxbase::TNotifyEvent Change, Setup, Names, CellSt, Attrib;
  NMX_nmxbase::TOnPercentDoneEvent Percent;
  TDataTableResizeEvent Resized;
  NMX_nmxbase::TSortExchgEvent Exchange;
  NMX_nmxbase::TExportTextEvent Export;
  const int Nc = Src->FNrOfCols;
  const int Nr = Src->FNrOfRows;
  try {
    A.ColName = Src->FColName;
    A.RowName = Src->FRowName;
    A.ColAtt = Src->FColAtt;
    A.RowAtt = Src->FRowAtt;
    A.VType = Src->FVType;
    A.CState = Src->FCState;
    Comment = Src->FComment;
    // Read over the table's dimensions: the source's matrix may be a borrowed one whose
    // dimensions were changed behind its back, and the copy must keep this table consistent.
    Values.resize(U(Nc) * U(Nr));
    for (int c = 1; c <= Nc; ++c) {
      for (int r = 1; r <= Nr; ++r) Values[Src->Cell(c, r)] = Src->FData->GetVal(c, r);
    }
    Change = Src->OnChange;
    Setup = Src->OnChangeSetup;
    Names = Src->OnChangeNames;
    CellSt = Src->OnChangeCellState;
    Attrib = Src->OnChangeAttrib;
    Percent = Src->OnPercentDone;
    Resized = Src->OnResize;
    Exchange = Src->OnSortExchange;
    Export = Src->OnExportText;
  } catch (const std::bad_alloc&) {
    NMX_nmxbase::RaiseComponentError<ENMXDataTableError>(this, NMX_nmxbase::kNoMemoryOnHeap);
  }
  {
    QuietMatrix Quiet(*FData);
    FData->Resize(Nc, Nr);  // the one step that may still raise; nothing else changed yet
    for (int c = 1; c <= Nc; ++c) {
      for (int r = 1; r <= Nr; ++r) FData->SetVal(c, r, Values[Src->Cell(c, r)]);
    }
  }
  FColName.swap(A.ColName);
  FRowName.swap(A.RowName);
  FColAtt.swap(A.ColAtt);
  FRowAtt.swap(A.RowAtt);
  FVType.swap(A.VType);
  FCState.swap(A.CState);
  FComment.swap(Comment);
  FNrOfCols = Nc;
  FNrOfRows = Nr;
  FSortIncludeHd = Src->FSortIncludeHd;
  OnChange = std::move(Change);
  OnChangeSetup = std::move(Setup);
  OnChangeNames = std::move(Names);
  OnChangeCellState = std::move(CellSt);
  OnChangeAttrib = std::move(Attrib);
  OnPercentDone = std::move(Percent);
  OnResize = std::move(Resized);
  OnSortExchange = std::move(Exchange);
  OnExportText = std::move(Export);
}

void TDataTable::AssignTo(NMX_platform::TPersistent* Dest) const {
  if (auto* Other = dynamic_cast<TDataTable*>(Dest)) {
    Other->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

void TDataTable::Clone(const TDataTable* ExtTab) {
  if (ExtTab == nullptr) return;
  const int OldCols = FNrOfCols;
  const int OldRows = FNrOfRows;
  {
    MuteEvents Mute(*this);
    Resize(ExtTab->FNrOfCols, ExtTab->FNrOfRows);
    FComment = ExtTab->FComment;
    QuietMatrix Quiet(*FData);
    for (int c = 1; c <= FNrOfCols; ++c) {
      const Size Ix = U(c - 1);
      FColName[Ix] = ExtTab->FColName[Ix];
      FColAtt[Ix] = ExtTab->FColAtt[Ix];
      FVType[Ix].MScaleType = ExtTab->FVType[Ix].MScaleType;
      // Identifiers go as the source's GetNominalID reads them: empty for a column that is
      // neither nominal nor ordinal.
      for (int k = 0; k <= MaxNominalID; ++k) FVType[Ix].IDs[U(k)] = ExtTab->NominalID(c, k);
      for (int r = 1; r <= FNrOfRows; ++r) FData->SetVal(c, r, ExtTab->Elem(c, r));
    }
    FRowName = ExtTab->FRowName;
    FRowAtt = ExtTab->FRowAtt;
    FCState = ExtTab->FCState;
  }
  ChangedData();
  ChangedCellStates();
  ChangedSetup();
  ChangedNames();
  ChangedAttrib();
  if (OnResize) OnResize(this, OldCols, OldRows, FNrOfCols, FNrOfRows);
}

void TDataTable::CopyFrom(const TDataTable* ExtTab, int SourceColLo, int SourceRowLo,
                          int SourceColHi, int SourceRowHi, int DestCol, int DestRow) {
  if (ExtTab == nullptr) return;
  SourceColLo = std::clamp(SourceColLo, 1, ExtTab->FNrOfCols);
  SourceColHi = std::clamp(SourceColHi, 1, ExtTab->FNrOfCols);
  SourceRowLo = std::clamp(SourceRowLo, 1, ExtTab->FNrOfRows);
  SourceRowHi = std::clamp(SourceRowHi, 1, ExtTab->FNrOfRows);
  if (SourceColLo > SourceColHi) std::swap(SourceColLo, SourceColHi);
  if (SourceRowLo > SourceRowHi) std::swap(SourceRowLo, SourceRowHi);
  const int NCols = SourceColHi - SourceColLo + 1;
  const int NRows = SourceRowHi - SourceRowLo + 1;
  // The block is read whole before the first write: copied within one table, source and
  // destination may overlap.
  std::vector<double> Values(U(NCols) * U(NRows));
  std::vector<std::uint8_t> States(Values.size());
  for (int i = 0; i < NCols; ++i) {
    for (int j = 0; j < NRows; ++j) {
      const Size At = U(i) * U(NRows) + U(j);
      Values[At] = ExtTab->Elem(SourceColLo + i, SourceRowLo + j);
      States[At] = ExtTab->CellState(SourceColLo + i, SourceRowLo + j);
    }
  }
  {
    QuietMatrix Quiet(*FData);
    for (int i = 0; i < NCols; ++i) {
      for (int j = 0; j < NRows; ++j) {
        // In 64 bits: a destination far outside must not wrap into the table.
        const long long C = static_cast<long long>(DestCol) + i;
        const long long R = static_cast<long long>(DestRow) + j;
        if (C < 1 || C > FNrOfCols || R < 1 || R > FNrOfRows) continue;
        const Size At = U(i) * U(NRows) + U(j);
        FData->SetVal(static_cast<int>(C), static_cast<int>(R), Values[At]);
        FCState[Cell(static_cast<int>(C), static_cast<int>(R))] = States[At];
      }
    }
  }
  ChangedData();
  ChangedCellStates();
}

int TDataTable::CopyColumnFrom(const TDataTable* ExtTab, int SrcCol, int DestCol) {
  if (ExtTab == nullptr) return -4;
  if (!ColInside(DestCol)) return -2;
  if (!ExtTab->ColInside(SrcCol)) return -1;
  {
    QuietMatrix Quiet(*FData);
    const Size D = U(DestCol - 1);
    const Size S = U(SrcCol - 1);
    FColName[D] = ExtTab->FColName[S];
    FColAtt[D] = ExtTab->FColAtt[S];
    FVType[D].MScaleType = ExtTab->FVType[S].MScaleType;
    for (int k = 0; k <= MaxNominalID; ++k) FVType[D].IDs[U(k)] = ExtTab->NominalID(SrcCol, k);
    const int Rows = std::min(FNrOfRows, ExtTab->FNrOfRows);
    for (int r = 1; r <= Rows; ++r) {
      FData->SetVal(DestCol, r, ExtTab->Elem(SrcCol, r));
      FCState[Cell(DestCol, r)] = ExtTab->FCState[ExtTab->Cell(SrcCol, r)];
    }
  }
  ChangedData();
  ChangedCellStates();
  ChangedSetup();
  ChangedNames();
  ChangedAttrib();
  return FNrOfRows != ExtTab->FNrOfRows ? -3 : 0;
}

void TDataTable::AssignAnotherDataMatrix(TMatrix* NewDMat) {
  if (NewDMat == nullptr) return;
  const int OldCols = FNrOfCols;
  const int OldRows = FNrOfRows;
  {
    MuteEvents Mute(*this, /*OnlyChangeAndSetup=*/true);
    // Only the table's own arrays take the new dimensions: the matrix given up is either
    // freed right after or the caller's, whose values must not be cut.
    ResizeInternal(NewDMat->NrOfColumns(), NewDMat->NrOfRows(), nullptr, false);
    if (NewDMat != FData) {
      ReleaseMatrix();
      FOwnData.reset();
      FData = NewDMat;
      FExtMatAssigned = true;
    }
    // Handing the table its own matrix again keeps it owned: marking it borrowed would leak it.
    RouteMatrix(*FData);
    for (auto& T : FVType) T.MScaleType = stInterval;
    if (OnResize) OnResize(this, OldCols, OldRows, FNrOfCols, FNrOfRows);
  }
  ChangedData();
  ChangedSetup();
  ChangedNames();
  ChangedAttrib();
  ChangedCellStates();
}

// --- checksums ---------------------------------------------------------------------------------

std::string TDataTable::CRCofNamesAndAttributes() const {
  Crc8Lanes Crc;
  Crc.FeedText(FComment);
  for (const auto& N : FColName) Crc.FeedText(N.View());
  for (Size c = 0; c < FColAtt.size(); ++c) {
    Crc.Feed(c + 1, static_cast<std::uint8_t>(static_cast<std::uint32_t>(FColAtt[c]) & 0xFFu));
  }
  for (const auto& N : FRowName) Crc.FeedText(N.View());
  for (Size r = 0; r < FRowAtt.size(); ++r) {
    Crc.Feed(r + 1, static_cast<std::uint8_t>(static_cast<std::uint32_t>(FRowAtt[r]) & 0xFFu));
  }
  for (Size c = 0; c < FVType.size(); ++c) Crc.Feed(c + 1, FVType[c].MScaleType);
  for (const auto& T : FVType) {
    for (const auto& ID : T.IDs) Crc.FeedText(ID.View());
  }
  return Crc.Text();
}

std::string TDataTable::CRCofCellStates() const {
  Crc8Lanes Crc;
  for (int c = 1; c <= FNrOfCols; ++c) {
    for (int r = 1; r <= FNrOfRows; ++r) Crc.Feed(U(r), FCState[Cell(c, r)]);
  }
  return Crc.Text();
}

// --- notifications -----------------------------------------------------------------------------

void TDataTable::ChangedData() {
  if (OnChange) OnChange(this);
}
void TDataTable::ChangedSetup() {
  if (OnChangeSetup) OnChangeSetup(this);
}
void TDataTable::ChangedNames() {
  if (OnChangeNames) OnChangeNames(this);
}
void TDataTable::ChangedAttrib() {
  if (OnChangeAttrib) OnChangeAttrib(this);
}
void TDataTable::ChangedCellStates() {
  if (OnChangeCellState) OnChangeCellState(this);
}

void TDataTable::DataHasChanged(NMX_platform::TObject* /*Sender*/) { ChangedData(); }

void TDataTable::PercDone(NMX_platform::TObject* /*Sender*/, int Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

void TDataTable::ExchangeDuringSort(NMX_platform::TObject* /*Sender*/, std::uint8_t What,
                                    int Index1, int Index2, int First, int Last) {
  // The matrix reports indices inside itself; a direct call may not, so everything is
  // checked against the table before anything moves.
  if (What == 1) {
    if (ColInside(Index1) && ColInside(Index2) && Index1 != Index2) {
      if (FSortIncludeHd) {
        std::swap(FColAtt[U(Index1 - 1)], FColAtt[U(Index2 - 1)]);
        std::swap(FVType[U(Index1 - 1)], FVType[U(Index2 - 1)]);
        std::swap(FColName[U(Index1 - 1)], FColName[U(Index2 - 1)]);
      }
      const int Lo = std::max(std::min(First, Last), 1);
      const int Hi = std::min(std::max(First, Last), FNrOfRows);
      for (int r = Lo; r <= Hi; ++r) std::swap(FCState[Cell(Index1, r)], FCState[Cell(Index2, r)]);
    }
  } else if (RowInside(Index1) && RowInside(Index2) && Index1 != Index2) {
    if (FSortIncludeHd) {
      std::swap(FRowAtt[U(Index1 - 1)], FRowAtt[U(Index2 - 1)]);
      std::swap(FRowName[U(Index1 - 1)], FRowName[U(Index2 - 1)]);
    }
    const int Lo = std::max(std::min(First, Last), 1);
    const int Hi = std::min(std::max(First, Last), FNrOfCols);
    for (int c = Lo; c <= Hi; ++c) std::swap(FCState[Cell(c, Index1)], FCState[Cell(c, Index2)]);
  }
  if (OnSortExchange) OnSortExchange(this, What, Index1, Index2, First, Last);
}

}  // namespace NMX_datatable
