// TDataTable, a table of numbers with names, attributes, measurement scales and cell states.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/datatable/errors.h"
#include "nmx/matrix/matrix.h"
#include "nmx/platform/component.h"

namespace NMX_datatable {

/// A string of at most N single-byte characters held inline, so that reading a name or an
/// identifier never allocates. Longer values are cut to their first N characters.
template <std::size_t N>
class TShortStr {
 public:
  static constexpr std::size_t Capacity = N;

  constexpr TShortStr() noexcept = default;
  /// The first N characters of S.
  constexpr TShortStr(std::string_view S) noexcept {  // NOLINT(google-explicit-constructor)
    FLen = static_cast<std::uint8_t>(S.size() < N ? S.size() : N);
    for (std::size_t i = 0; i < FLen; ++i) FChars[i] = S[i];
  }

  constexpr std::string_view View() const noexcept { return {FChars.data(), FLen}; }
  std::string Str() const { return std::string(View()); }
  constexpr std::size_t Length() const noexcept { return FLen; }
  constexpr bool Empty() const noexcept { return FLen == 0; }
  constexpr operator std::string_view() const noexcept { return View(); }  // NOLINT

  friend constexpr bool operator==(const TShortStr& A, const TShortStr& B) noexcept {
    return A.View() == B.View();
  }
  friend constexpr bool operator==(const TShortStr& A, std::string_view B) noexcept {
    return A.View() == B;
  }

 private:
  static_assert(N < 256, "the length is kept in one byte");
  std::array<char, N> FChars{};
  std::uint8_t FLen = 0;
};

/// A column or row name: at most 50 characters.
using TDTNameStr = TShortStr<50>;
/// A nominal identifier: at most 10 characters.
using TNominalIDStr = TShortStr<10>;

/// The measurement scale of a column.
enum TMScaleType : std::uint8_t {
  stUnknown = 0,
  stNominal = 1,
  stOrdinal = 2,
  stInterval = 3,
  stRatio = 4
};

/// The names of the scales, indexed by TMScaleType.
inline constexpr std::array<std::string_view, 5> MScaleTypeNames = {
    "Unknown", "Nominal", "Ordinal", "Interval", "Ratio"};

/// The highest slot of the nominal identifiers of a column (slots 0..MaxNominalID).
inline constexpr int MaxNominalID = 150;

/// The scale of a column and its category identifiers; an empty identifier is a free slot.
struct TVTypeSpec {
  TMScaleType MScaleType = stInterval;
  std::array<TNominalIDStr, MaxNominalID + 1> IDs{};
};

/// Fired after a change of dimensions: Sender, OldColumns, OldRows, NewColumns, NewRows.
using TDataTableResizeEvent = std::function<void(NMX_platform::TObject* Sender, int OldColumns,
                                                 int OldRows, int NewColumns, int NewRows)>;

/// A table of NrOfColumns columns (variables) and NrOfRows rows (objects), both indexed from 1.
/// The values live in a TMatrix (NumericData) that the table owns or, after
/// AssignAnotherDataMatrix, borrows from the caller. Beside the values every column and row
/// has a name and an integer attribute, every column a measurement scale with 151 nominal
/// identifiers, every cell a state byte:
///
///   bit 0 (1)       the cell counts as not a number
///   bit 1 (2)       empty (IsEmpty); also not a number
///   bits 2..4       free marks
///   bit 5 (32)      imputed (IsImputed)
///   bits 6, 7       the two user marks
///
/// A cell of a nominal or ordinal column holds the slot of its identifier (0..150) as a
/// double. Reads outside the table give the neutral value (0, the empty string, stUnknown,
/// false); writes there do nothing and fire nothing.
///
/// While the table lives, the OnChange of NumericData is routed to DataHasChanged and its
/// OnSortExchange to ExchangeDuringSort; replace them and the table no longer hears of
/// changes. A borrowed matrix must outlive the table (or be handed back by destroying the
/// table first); its dimensions must not be changed behind the table's back.
class NMX_API TDataTable : public NMX_platform::TComponent {
 public:
  /// A 1 × 1 table: value 0, column C-1, row R-1, attributes 0, state 0, scale stInterval with
  /// empty identifiers, empty comment, its own NumericData. Raises ENMXDataTableError
  /// ("failed to initialize (out of memory)") when that cannot be allocated.
  explicit TDataTable(NMX_platform::TComponent* AOwner = nullptr);
  /// Frees an owned NumericData; a borrowed one only loses its change and sort-exchange
  /// handlers.
  ~TDataTable() override;

  std::string ClassName() const override { return "TDataTable"; }

  // --- the matrix of values -----------------------------------------------------------------

  /// The matrix holding the values, cell [c, r] for column c and row r.
  NMX_matrix::TMatrix& NumericData() const noexcept { return *FData; }
  /// True after AssignAnotherDataMatrix: NumericData is the caller's.
  bool ExtMatAssigned() const noexcept { return FExtMatAssigned; }

  /// Makes NewDMat the table's matrix, borrowed: the table takes its dimensions (names,
  /// attributes, types and states keep their overlap, OnResize fires when they change), frees
  /// its own matrix, routes NewDMat's OnChange and OnSortExchange to itself (replacing what
  /// they were) and sets every column to stInterval, identifiers kept. Then OnResize fires
  /// (again), followed by OnChange, OnChangeSetup, OnChangeNames, OnChangeAttrib and
  /// OnChangeCellState. A matrix borrowed before loses its handlers and is otherwise left as
  /// it is. nullptr does nothing; the table's own matrix stays its own.
  void AssignAnotherDataMatrix(NMX_matrix::TMatrix* NewDMat);

  // --- dimensions ---------------------------------------------------------------------------

  int NrOfColumns() const noexcept { return FNrOfCols; }
  int NrOfRows() const noexcept { return FNrOfRows; }
  /// Resize(Nc, NrOfRows), except that NumericData gets back the OnChange it had before
  /// (rather than DataHasChanged) and OnResize reports the rows as both old and new.
  void SetNrCols(int Nc);
  /// Resize(NrOfColumns, Nr), with the same differences as SetNrCols.
  void SetNrRows(int Nr);
  /// Gives the table NrCols × NrRows: values, states, names, attributes and types keep their
  /// overlap; new columns are named C-<c>, new rows R-<r>, new attributes and states are 0,
  /// new columns stInterval with empty identifiers. Fires only OnResize (Sender, old and new
  /// dimensions), and nothing when the dimensions stay. Raises ENMXDataTableError ("not enough
  /// memory on heap") when the arrays cannot be allocated, and NMX_nmxbase::ENMXError when
  /// NumericData cannot take the dimensions (a count below 1 among them); the table is then
  /// unchanged.
  void Resize(int NrCols, int NrRows);

  // --- cells --------------------------------------------------------------------------------

  /// The value of cell [ACol, ARow]; for nominal and ordinal columns rounded to the nearest
  /// integer (ties to even); 0 outside the table.
  double Elem(int ACol, int ARow) const noexcept;
  double GetElem(int ACol, int ARow) const noexcept { return Elem(ACol, ARow); }
  /// Stores Value through NumericData (whose change fires OnChange) and fires OnChange once
  /// more: one write notifies twice.
  void SetElem(int ACol, int ARow, double Value);

  /// The identifier of a nominal or ordinal cell: IDs[k] for the rounded value k in 0..150,
  /// else the decimal text of k cut to 10 characters (NAN, INF or -INF for a value that is no
  /// finite number). Empty outside the table and for other scales.
  TNominalIDStr ElemNominal(int ACol, int ARow) const;
  TNominalIDStr GetElemNominal(int ACol, int ARow) const { return ElemNominal(ACol, ARow); }
  /// Stores the slot of Value (found ignoring case, or the lowest free slot, which then
  /// receives Value) as the cell's value and fires OnChange. The scale is neither tested nor
  /// changed. Raises ENMXDataTableError ("number of available nominal values exceeded"),
  /// with nothing changed, when Value is new and no slot is free.
  void SetElemNominal(int ACol, int ARow, std::string_view Value);

  /// The state byte of a cell, 0 outside the table.
  std::uint8_t CellState(int ACol, int ARow) const noexcept;
  std::uint8_t GetCellState(int ACol, int ARow) const noexcept { return CellState(ACol, ARow); }
  /// Stores the byte; OnChangeCellState fires only when it changed.
  void SetCellState(int ACol, int ARow, std::uint8_t State);
  /// Bits 0 and 1 clear.
  bool IsNumber(int ACol, int ARow) const noexcept;
  /// Bit 1.
  bool IsEmpty(int ACol, int ARow) const noexcept;
  bool GetIsEmpty(int ACol, int ARow) const noexcept { return IsEmpty(ACol, ARow); }
  /// Sets or clears bit 1 through SetCellState, then always fires OnChange (inside the table).
  void SetIsEmpty(int ACol, int ARow, bool Value);
  /// Bit 5.
  bool IsImputed(int ACol, int ARow) const noexcept;
  bool GetIsImputed(int ACol, int ARow) const noexcept { return IsImputed(ACol, ARow); }
  /// Sets or clears bit 5 as SetIsEmpty does bit 1.
  void SetIsImputed(int ACol, int ARow, bool Value);

  /// The state bytes, column-major: CellStates()[(c - 1) · NrOfRows + r - 1] is cell [c, r].
  /// Valid until the next change of dimensions.
  std::span<const std::uint8_t> CellStates() const noexcept { return FCState; }

  // --- names, attributes, scales, comment ---------------------------------------------------

  TDTNameStr ColName(int ColNr) const noexcept;
  TDTNameStr RowName(int RowNr) const noexcept;
  /// Stores the first 50 characters of Name and fires OnChangeNames.
  void SetColName(int ColNr, std::string_view Name);
  void SetRowName(int RowNr, std::string_view Name);
  /// The longest column (row) name, 0 for none.
  int MaxColNameLength() const noexcept;
  int MaxRowNameLength() const noexcept;

  std::int32_t ColAttrib(int ColNr) const noexcept;
  std::int32_t RowAttrib(int RowNr) const noexcept;
  /// Stores the attribute and fires OnChangeAttrib.
  void SetColAttrib(int ColNr, std::int32_t Attrib);
  void SetRowAttrib(int RowNr, std::int32_t Attrib);
  /// Every column (row) attribute := Attrib; OnChangeAttrib.
  void SetColAttributes(std::int32_t Attrib);
  void SetRowAttributes(std::int32_t Attrib);
  /// Every column (row) attribute a := (a and not Mask) or (Attrib and Mask); OnChangeAttrib.
  void SetColAttributes(std::int32_t Attrib, std::uint32_t Mask);
  void SetRowAttributes(std::int32_t Attrib, std::uint32_t Mask);

  /// The scale of a column, stUnknown outside the table.
  TMScaleType MScaleType(int ColNr) const noexcept;
  /// Stores the scale (identifiers untouched) and fires OnChangeSetup.
  void SetMScaleType(int ColNr, TMScaleType Scale);

  const std::string& Comment() const noexcept { return FComment; }
  /// Stores Value without its control characters and fires OnChangeSetup.
  void SetComment(std::string_view Value);

  // --- nominal identifiers ------------------------------------------------------------------

  /// Identifier OrdVal (0..150) of a nominal or ordinal column; empty otherwise.
  TNominalIDStr NominalID(int ColIx, int OrdVal) const noexcept;
  TNominalIDStr GetNominalID(int ColIx, int OrdVal) const noexcept {
    return NominalID(ColIx, OrdVal);
  }
  /// Stores the identifier (an empty one always, freeing the slot; a non-empty one only in a
  /// nominal or ordinal column) and fires OnChangeSetup whenever both indices are valid.
  void SetNominalID(int ColIx, int OrdVal, std::string_view MScaleID);
  /// The lowest slot holding ID (its first 10 characters; IgnoreCase folds ASCII letters);
  /// -1 outside the table, for an empty ID, for a column neither nominal nor ordinal, or when
  /// no slot holds it.
  int OrdinalOfNominalID(int Col, std::string_view ID, bool IgnoreCase) const noexcept;
  /// The slot of MScaleID when the column has it (case ignored); else stores it in the lowest
  /// free slot, makes the column stNominal, fires OnChangeSetup and returns that slot. -1
  /// outside the table or when no slot is free (nothing changed).
  int AddNominalID(int Col, std::string_view MScaleID);
  /// Empties all 151 slots of the column; OnChangeSetup.
  void ClearNominalIDs(int Col);
  /// The number of non-empty slots of the column (0 outside the table).
  int CountNominalIDs(int Col) const noexcept;

  // --- cell states over the table -----------------------------------------------------------

  /// Every state byte := State; OnChangeCellState.
  void SetAllCellStates(std::uint8_t State);
  /// Combines every state s of the normalised range with State by LogicOp (loAnd s and State,
  /// loOr, loXor, loAndNot s and not State, loOrNot, loXorNot); another LogicOp changes
  /// nothing. OnChangeCellState fires in every case.
  void SetCellStates(int LowCol, int LowRow, int HighCol, int HighRow, std::uint8_t State,
                     NMX_nmxbase::TLogicOp LogicOp);
  /// Clears the user marks (bits 6 and 7) of every cell; OnChangeCellState.
  void UnmarkAllCells();
  /// Every state := state xor StateMask; OnChangeCellState.
  void InvertCellStates(std::uint8_t StateMask);
  /// Swaps bits 6 and 7 of every cell; OnChangeCellState.
  void ExchangeMarkings();
  /// True when some state byte of the column (row) shares a bit with State; false outside.
  bool IfColHasCellState(int Col, std::uint8_t State) const noexcept;
  bool IfRowHasCellState(int Row, std::uint8_t State) const noexcept;
  /// The same over the normalised range.
  bool IfAnyCellHasCellState(int LowCol, int LowRow, int HighCol, int HighRow,
                             std::uint8_t State) const noexcept;
  /// Copies every state byte of ExtTab and fires OnChangeCellState; false (nothing changed)
  /// for a nullptr or other dimensions.
  bool CopyCellStatesFrom(const TDataTable* ExtTab);

  // --- ranges -------------------------------------------------------------------------------

  /// (0, 0) becomes (1, NrOfColumns) with result 0; otherwise each bound is clipped into
  /// 1..NrOfColumns (result -1 when one was) and a reversed pair exchanged (which alone leaves
  /// the result 0).
  int MakeValidColRange(int& LowCol, int& HighCol) const noexcept;
  /// The same over the rows, except that an exchange also gives -1.
  int MakeValidRowRange(int& LowRow, int& HighRow) const noexcept;

  // --- whole-table operations ---------------------------------------------------------------

  /// Default names, attributes and states 0, every column stInterval with empty identifiers,
  /// empty comment, every value 0 (NumericData's change fires OnChange); then OnChangeNames,
  /// OnChangeAttrib, OnChangeCellState, OnChangeSetup. The dimensions stay.
  void Clear();
  /// From another TDataTable: comment, dimensions, values, names, attributes, types, states,
  /// the sort flag and the nine handlers; the matrix this table uses, its ownership and its
  /// routing stay. Fires nothing. Any other Source goes to the base class (EConvertError).
  /// Everything is copied aside first: a failed allocation leaves this table as it was.
  void Assign(const NMX_platform::TPersistent* Source) override;
  /// Becomes a copy of ExtTab: dimensions (OnResize fires when they change), comment, names,
  /// attributes, scales, identifiers (empty for source columns neither nominal nor ordinal),
  /// values as the source's Elem reads them, states. Then OnChange, OnChangeCellState,
  /// OnChangeSetup, OnChangeNames, OnChangeAttrib and finally OnResize (also when the
  /// dimensions stayed). nullptr does nothing.
  void Clone(const TDataTable* ExtTab);
  /// The same as Clone.
  void CopyContentsFrom(const TDataTable* ExtTab) { Clone(ExtTab); }
  /// Copies the values (as the source's Elem reads them) and states of the source block
  /// [SourceColLo..SourceColHi] × [SourceRowLo..SourceRowHi], each bound clamped into the
  /// source (0 becomes 1, not "all") and a reversed pair exchanged, source cell [c, r] going
  /// to [c - SourceColLo + DestCol, r - SourceRowLo + DestRow]; cells falling outside this
  /// table are dropped. Then OnChange and OnChangeCellState. A table copied onto itself reads
  /// the whole block before writing. nullptr does nothing.
  void CopyFrom(const TDataTable* ExtTab, int SourceColLo, int SourceRowLo, int SourceColHi,
                int SourceRowHi, int DestCol, int DestRow);
  /// Copies column SrcCol of ExtTab to DestCol: name, attribute, scale, identifiers and, for
  /// the rows both tables have, values and states; then OnChange, OnChangeCellState,
  /// OnChangeSetup, OnChangeNames, OnChangeAttrib. Returns 0; -3 when the row counts differ
  /// (the copy is made); with nothing changed -4 for a nullptr, -2 for DestCol outside this
  /// table, -1 for SrcCol outside the source.
  int CopyColumnFrom(const TDataTable* ExtTab, int SrcCol, int DestCol);

  // --- checksums ----------------------------------------------------------------------------

  /// Eight CRC-32 registers over the comment, names, attributes, scales and identifiers (a
  /// byte at position k feeds register k mod 8), complemented and printed as 64 upper-case
  /// hex digits, register 0 first.
  std::string CRCofNamesAndAttributes() const;
  /// The same scheme over the state bytes, column by column, the byte of row r at position r.
  std::string CRCofCellStates() const;

  // --- notifications ------------------------------------------------------------------------

  /// Each fires its event, if set, with the table as Sender.
  void ChangedData();
  void ChangedSetup();
  void ChangedNames();
  void ChangedAttrib();
  void ChangedCellStates();
  /// The handler of NumericData's OnChange: ChangedData.
  void DataHasChanged(NMX_platform::TObject* Sender);
  /// Fires OnPercentDone with the table (not Sender) as Sender.
  void PercDone(NMX_platform::TObject* Sender, int Percent);
  /// The handler of NumericData's OnSortExchange: for What = 1 (columns Index1 and Index2
  /// exchanged over rows First..Last) the states of the two columns are exchanged over those
  /// rows, and with SortIncludeHd also their names, attributes and types; for any other What
  /// the same for two rows over columns First..Last (names and attributes). No notification
  /// of its own; then OnSortExchange fires with the table as Sender and the same arguments.
  void ExchangeDuringSort(NMX_platform::TObject* Sender, std::uint8_t What, int Index1,
                          int Index2, int First, int Last);

  /// Whether the exchanges of a sort also move names, attributes and types (set by the sorts).
  bool SortIncludeHd() const noexcept { return FSortIncludeHd; }

  NMX_nmxbase::TNotifyEvent OnChange;
  NMX_nmxbase::TNotifyEvent OnChangeSetup;
  NMX_nmxbase::TNotifyEvent OnChangeNames;
  NMX_nmxbase::TNotifyEvent OnChangeCellState;
  NMX_nmxbase::TNotifyEvent OnChangeAttrib;
  NMX_nmxbase::TOnPercentDoneEvent OnPercentDone;
  TDataTableResizeEvent OnResize;
  NMX_nmxbase::TSortExchgEvent OnSortExchange;
  NMX_nmxbase::TExportTextEvent OnExportText;

 protected:
  void AssignTo(NMX_platform::TPersistent* Dest) const override;

 private:
  struct Arrays;
  class MuteEvents;

  bool Inside(int Col, int Row) const noexcept {
    return Col >= 1 && Col <= FNrOfCols && Row >= 1 && Row <= FNrOfRows;
  }
  bool ColInside(int Col) const noexcept { return Col >= 1 && Col <= FNrOfCols; }
  bool RowInside(int Row) const noexcept { return Row >= 1 && Row <= FNrOfRows; }
  std::size_t Cell(int Col, int Row) const noexcept {
    return static_cast<std::size_t>(Col - 1) * static_cast<std::size_t>(FNrOfRows) +
           static_cast<std::size_t>(Row - 1);
  }
  static bool IsCategorical(TMScaleType S) noexcept { return S == stNominal || S == stOrdinal; }

  void RouteMatrix(NMX_matrix::TMatrix& M);
  void ReleaseMatrix() noexcept;
  // The new arrays for NrCols × NrRows, the overlap copied (all or nothing).
  Arrays GrownArrays(int NrCols, int NrRows) const;
  // Resizes arrays and matrix; the matrix's OnChange afterwards is Rerouted.
  void ResizeInternal(int NrCols, int NrRows, const NMX_nmxbase::TNotifyEvent& Rerouted,
                      bool ResizeMatrix);
  template <class Op>
  void ForEachState(Op&& Change);

  std::unique_ptr<NMX_matrix::TMatrix> FOwnData;
  NMX_matrix::TMatrix* FData = nullptr;
  bool FExtMatAssigned = false;
  int FNrOfCols = 1;
  int FNrOfRows = 1;
  std::vector<TDTNameStr> FColName;
  std::vector<TDTNameStr> FRowName;
  std::vector<std::int32_t> FColAtt;
  std::vector<std::int32_t> FRowAtt;
  std::vector<TVTypeSpec> FVType;
  std::vector<std::uint8_t> FCState;  // column-major, like the matrix cells
  std::string FComment;
  bool FSortIncludeHd = false;
};

}  // namespace NMX_datatable
