#include "nmx/datatable/datatable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "nmx/base/errors.h"
#include "nmx/matrix/matrix.h"
#include "nmx/platform/exceptions.h"

namespace {

using NMX_datatable::ENMXDataTableError;
using NMX_datatable::TDataTable;
using NMX_datatable::TMScaleType;
using NMX_matrix::TMatrix;
using NMX_nmxbase::TLogicOp;
namespace dt = NMX_datatable;

/// The numbers separated by commas.
std::string Joined(std::initializer_list<int> Numbers) {
  std::string Out;
  for (const int N : Numbers) {
    if (!Out.empty()) Out += ',';
    Out += std::to_string(N);
  }
  return Out;
}

/// Records the table's notifications in the order they come: C change, S setup, N names,
/// A attributes, X cell states, R resize (with its four counts), E sort exchange.
struct EventLog {
  explicit EventLog(TDataTable& T) {
    T.OnChange = [this, &T](NMX_platform::TObject* S) { Note(S, &T, "C"); };
    T.OnChangeSetup = [this, &T](NMX_platform::TObject* S) { Note(S, &T, "S"); };
    T.OnChangeNames = [this, &T](NMX_platform::TObject* S) { Note(S, &T, "N"); };
    T.OnChangeAttrib = [this, &T](NMX_platform::TObject* S) { Note(S, &T, "A"); };
    T.OnChangeCellState = [this, &T](NMX_platform::TObject* S) { Note(S, &T, "X"); };
    T.OnResize = [this, &T](NMX_platform::TObject* S, int Oc, int Or, int Nc, int Nr) {
      Note(S, &T, "R(" + Joined({Oc, Or, Nc, Nr}) + ")");
    };
  }
  void Note(NMX_platform::TObject* Sender, TDataTable* T, const std::string& What) {
    EXPECT_EQ(Sender, T);
    Calls += What;
  }
  std::string Calls;
};

/// A table of the given rows (each the values of its columns), states and handlers untouched.
void SetRows(TDataTable& T, const std::vector<std::vector<double>>& Rows) {
  T.Resize(static_cast<int>(Rows[0].size()), static_cast<int>(Rows.size()));
  for (std::size_t r = 0; r < Rows.size(); ++r) {
    for (std::size_t c = 0; c < Rows[r].size(); ++c) {
      T.NumericData().SetVal(static_cast<int>(c + 1), static_cast<int>(r + 1), Rows[r][c]);
    }
  }
}

// The number of the 8-digit registers in which two checksum texts differ.
int RegistersDiffering(const std::string& A, const std::string& B) {
  int N = 0;
  for (std::size_t i = 0; i < 64; i += 8) N += A.compare(i, 8, B, i, 8) != 0;
  return N;
}

// --- construction and dimensions ---------------------------------------------------------------

TEST(DataTable, NewTableIsOneIntervalCellWithDefaultNames) {
  TDataTable T;
  EXPECT_EQ(T.ClassName(), "TDataTable");
  EXPECT_EQ(T.NrOfColumns(), 1);
  EXPECT_EQ(T.NrOfRows(), 1);
  EXPECT_EQ(T.NumericData().NrOfColumns(), 1);
  EXPECT_EQ(T.NumericData().NrOfRows(), 1);
  EXPECT_EQ(T.Elem(1, 1), 0.0);
  EXPECT_EQ(T.ColName(1), "C-1");
  EXPECT_EQ(T.RowName(1), "R-1");
  EXPECT_EQ(T.ColAttrib(1), 0);
  EXPECT_EQ(T.RowAttrib(1), 0);
  EXPECT_EQ(T.CellState(1, 1), 0);
  EXPECT_EQ(T.MScaleType(1), dt::stInterval);
  EXPECT_EQ(T.CountNominalIDs(1), 0);
  EXPECT_TRUE(T.Comment().empty());
  EXPECT_FALSE(T.ExtMatAssigned());
  EXPECT_EQ(dt::MScaleTypeNames[dt::stOrdinal], "Ordinal");
}

TEST(DataTable, AnOwnerDeletesItsTable) {
  auto Owner = std::make_unique<NMX_platform::TComponent>();
  auto* T = new TDataTable(Owner.get());
  EXPECT_EQ(Owner->ComponentCount(), 1);
  EXPECT_EQ(Owner->Components(0), T);
  Owner.reset();  // frees the table and its matrix; the sanitizer build checks for leaks
}

TEST(DataTable, GrowingKeepsTheOverlapAndNamesTheNewLines) {
  TDataTable T;
  SetRows(T, {{1, 2}, {3, 4}});
  T.SetColName(2, "weight");
  T.SetRowName(2, "second");
  T.SetColAttrib(2, 7);
  T.SetRowAttrib(1, -3);
  T.SetMScaleType(1, dt::stRatio);
  T.SetCellState(2, 2, 64);
  EventLog Log(T);
  T.Resize(3, 4);
  EXPECT_EQ(Log.Calls, "R(2,2,3,4)");
  EXPECT_EQ(T.NrOfColumns(), 3);
  EXPECT_EQ(T.NrOfRows(), 4);
  EXPECT_EQ(T.NumericData().NrOfColumns(), 3);
  EXPECT_EQ(T.NumericData().NrOfRows(), 4);
  EXPECT_EQ(T.Elem(2, 2), 4.0);
  EXPECT_EQ(T.Elem(3, 4), 0.0);
  EXPECT_EQ(T.ColName(2), "weight");
  EXPECT_EQ(T.ColName(3), "C-3");
  EXPECT_EQ(T.RowName(2), "second");
  EXPECT_EQ(T.RowName(3), "R-3");
  EXPECT_EQ(T.RowName(4), "R-4");
  EXPECT_EQ(T.ColAttrib(2), 7);
  EXPECT_EQ(T.RowAttrib(1), -3);
  EXPECT_EQ(T.RowAttrib(4), 0);
  EXPECT_EQ(T.MScaleType(1), dt::stRatio);
  EXPECT_EQ(T.MScaleType(3), dt::stInterval);
  EXPECT_EQ(T.CellState(2, 2), 64);
  EXPECT_EQ(T.CellState(2, 3), 0);
  EXPECT_EQ(T.CellState(3, 2), 0);

  Log.Calls.clear();
  T.Resize(3, 4);
  EXPECT_EQ(Log.Calls, "");
  T.Resize(12, 1);  // shrinking the rows and growing the columns at once
  EXPECT_EQ(T.ColName(12), "C-12");
  EXPECT_EQ(T.CellState(2, 1), 0);
  EXPECT_EQ(T.Elem(2, 1), 2.0);
}

TEST(DataTable, ChangesOfTheMatrixReachTheTableAfterEveryResize) {
  TDataTable T;
  EventLog Log(T);
  T.Resize(2, 3);
  T.NumericData().SetVal(1, 1, 5.0);
  T.SetNrCols(4);
  T.NumericData().SetVal(4, 1, 5.0);
  T.SetNrRows(1);
  T.NumericData().SetVal(4, 1, 6.0);
  EXPECT_EQ(Log.Calls, "R(1,1,2,3)CR(2,3,4,3)CR(4,3,4,1)C");
  EXPECT_EQ(T.CellStates().size(), 4u);
}

TEST(DataTable, ImpossibleDimensionsRaiseAndLeaveTheTableAlone) {
  TDataTable T;
  SetRows(T, {{1, 2}, {3, 4}});
  EventLog Log(T);
  for (const auto& [Nc, Nr] : std::vector<std::pair<int, int>>{{0, 2}, {2, 0}, {-1, -1}}) {
    SCOPED_TRACE(std::to_string(Nc) + " x " + std::to_string(Nr));
    EXPECT_THROW(T.Resize(Nc, Nr), NMX_nmxbase::ENMXError);
    EXPECT_EQ(T.NrOfColumns(), 2);
    EXPECT_EQ(T.NrOfRows(), 2);
    EXPECT_EQ(T.NumericData().NrOfColumns(), 2);
    EXPECT_EQ(T.Elem(2, 2), 4.0);
  }
  EXPECT_EQ(Log.Calls, "");
  T.NumericData().SetVal(1, 1, 9.0);  // still routed to the table
  EXPECT_EQ(Log.Calls, "C");
}

TEST(DataTable, MemoryExhaustionWhileResizingIsReported) {
  TDataTable T;
  T.SetName("Big");
  try {
    T.Resize(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    FAIL() << "no exception";
  } catch (const ENMXDataTableError& E) {
    EXPECT_EQ(std::string(E.what()), "Component \"Big\": not enough memory on heap");
  }
  EXPECT_EQ(T.NrOfColumns(), 1);
  EXPECT_EQ(T.NumericData().NrOfColumns(), 1);
}

// --- cells -------------------------------------------------------------------------------------

TEST(DataTable, ElemRoundsCategoricalColumnsOnly) {
  struct Case {
    TMScaleType Scale;
    double Stored, Read;
  };
  const Case Cases[] = {
      {dt::stNominal, 2.5, 2.0},  {dt::stNominal, 3.5, 4.0},  {dt::stOrdinal, -0.5, -0.0},
      {dt::stOrdinal, 2.6, 3.0},  {dt::stInterval, 2.5, 2.5}, {dt::stRatio, 3.5, 3.5},
      {dt::stUnknown, 1.25, 1.25},
  };
  TDataTable T;
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(dt::MScaleTypeNames[C.Scale]) + " " + std::to_string(C.Stored));
    T.SetMScaleType(1, C.Scale);
    T.SetElem(1, 1, C.Stored);
    EXPECT_EQ(T.Elem(1, 1), C.Read);
    EXPECT_EQ(T.NumericData().GetVal(1, 1), C.Stored);
  }
}

TEST(DataTable, WritesInsideNotifyTwiceAndOutsideNotAtAll) {
  TDataTable T;
  T.Resize(2, 2);
  EventLog Log(T);
  T.SetElem(2, 1, 1.5);
  EXPECT_EQ(Log.Calls, "CC");
  Log.Calls.clear();
  for (const auto& [c, r] : std::vector<std::pair<int, int>>{{0, 1}, {3, 1}, {1, 0}, {1, 3}}) {
    SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
    T.SetElem(c, r, 9.0);
    T.SetCellState(c, r, 1);
    T.SetIsEmpty(c, r, true);
    T.SetIsImputed(c, r, true);
    T.SetElemNominal(c, r, "x");
    EXPECT_EQ(T.Elem(c, r), 0.0);
    EXPECT_EQ(T.CellState(c, r), 0);
    EXPECT_FALSE(T.IsNumber(c, r));
    EXPECT_TRUE(T.ElemNominal(c, r).Empty());
  }
  T.SetColName(3, "x");
  T.SetRowAttrib(0, 1);
  T.SetMScaleType(3, dt::stNominal);
  T.SetNominalID(3, 0, "x");
  EXPECT_EQ(Log.Calls, "");
  EXPECT_EQ(T.MScaleType(3), dt::stUnknown);
  EXPECT_TRUE(T.ColName(0).Empty());
}

TEST(DataTable, CellStateBitsAndTheirNotifications) {
  TDataTable T;
  EventLog Log(T);
  T.SetCellState(1, 1, 0);  // the byte already stored
  EXPECT_EQ(Log.Calls, "");
  T.SetIsEmpty(1, 1, false);  // no change of the byte, OnChange all the same
  EXPECT_EQ(Log.Calls, "C");
  Log.Calls.clear();
  T.SetIsEmpty(1, 1, true);
  EXPECT_EQ(Log.Calls, "XC");
  EXPECT_TRUE(T.IsEmpty(1, 1));
  EXPECT_FALSE(T.IsNumber(1, 1));
  T.SetIsImputed(1, 1, true);
  EXPECT_EQ(T.CellState(1, 1), 2 + 32);
  T.SetIsEmpty(1, 1, false);
  EXPECT_TRUE(T.IsNumber(1, 1));
  EXPECT_TRUE(T.IsImputed(1, 1));
  T.SetCellState(1, 1, 1 + 128);
  EXPECT_FALSE(T.IsNumber(1, 1));
  EXPECT_FALSE(T.IsEmpty(1, 1));
  T.SetCellState(1, 1, 4 + 8 + 16 + 64 + 128);
  EXPECT_TRUE(T.IsNumber(1, 1));
}

// --- nominal identifiers -----------------------------------------------------------------------

TEST(DataTable, NominalValuesTakeSlotsIgnoringCaseAndCutToTenCharacters) {
  TDataTable T;
  T.Resize(1, 4);
  T.SetMScaleType(1, dt::stNominal);
  EventLog Log(T);
  T.SetElemNominal(1, 1, "ABC");
  T.SetElemNominal(1, 2, "abc");
  T.SetElemNominal(1, 3, "twelve-chars");
  T.SetElemNominal(1, 4, "TWELVE-CHAZZ");  // the same first ten characters
  EXPECT_EQ(Log.Calls, "CCCC");
  EXPECT_EQ(T.Elem(1, 1), 0.0);
  EXPECT_EQ(T.Elem(1, 2), 0.0);
  EXPECT_EQ(T.Elem(1, 3), 1.0);
  EXPECT_EQ(T.Elem(1, 4), 1.0);
  EXPECT_EQ(T.ElemNominal(1, 2), "ABC");
  EXPECT_EQ(T.NominalID(1, 1), "twelve-cha");
  EXPECT_EQ(T.CountNominalIDs(1), 2);
  EXPECT_EQ(T.OrdinalOfNominalID(1, "abc", false), -1);
  EXPECT_EQ(T.OrdinalOfNominalID(1, "ABC", false), 0);
  EXPECT_EQ(T.OrdinalOfNominalID(1, "TWELVE-CHARS+", true), 1);
  EXPECT_EQ(T.OrdinalOfNominalID(1, "", true), -1);
  T.SetMScaleType(1, dt::stRatio);
  EXPECT_EQ(T.OrdinalOfNominalID(1, "ABC", false), -1);
  EXPECT_TRUE(T.NominalID(1, 0).Empty());
  EXPECT_TRUE(T.ElemNominal(1, 1).Empty());
}

TEST(DataTable, TheHundredAndFiftySecondIdentifierDoesNotFit) {
  TDataTable T;
  T.SetMScaleType(1, dt::stNominal);
  for (int k = 0; k <= 150; ++k) {
    std::string ID = std::to_string(k);
    ID.insert(ID.begin(), 'v');
    T.SetElemNominal(1, 1, ID);
  }
  EXPECT_EQ(T.Elem(1, 1), 150.0);
  EXPECT_EQ(T.CountNominalIDs(1), 151);
  const std::string Before = T.CRCofNamesAndAttributes();
  EventLog Log(T);
  try {
    T.SetElemNominal(1, 1, "one more");
    FAIL() << "no exception";
  } catch (const ENMXDataTableError& E) {
    EXPECT_EQ(std::string(E.what()),
              "Component \"\": number of available nominal values exceeded");
  }
  EXPECT_EQ(T.AddNominalID(1, "one more"), -1);
  EXPECT_EQ(T.AddNominalID(1, "V7"), 7);  // a known one is still found
  EXPECT_EQ(Log.Calls, "");
  EXPECT_EQ(T.Elem(1, 1), 150.0);
  EXPECT_EQ(T.CRCofNamesAndAttributes(), Before);
}

TEST(DataTable, NominalReadsOfValuesThatAreNoSlot) {
  struct Case {
    double Stored;
    std::string Read;
  };
  const Case Cases[] = {
      {200.0, "200"},     {150.4, ""},     {-1.0, "-1"},
      {1e20, "1000000000"}, {std::nan(""), "NAN"}, {-INFINITY, "-INF"},
  };
  TDataTable T;
  T.SetMScaleType(1, dt::stOrdinal);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Stored);
    T.SetElem(1, 1, C.Stored);
    EXPECT_EQ(T.ElemNominal(1, 1), C.Read);
  }
}

TEST(DataTable, AddNominalIdMakesTheColumnNominal) {
  TDataTable T;
  EventLog Log(T);
  EXPECT_EQ(T.AddNominalID(1, "red"), 0);
  EXPECT_EQ(T.MScaleType(1), dt::stNominal);
  EXPECT_EQ(T.AddNominalID(1, "green"), 1);
  EXPECT_EQ(T.AddNominalID(1, "RED"), 0);
  EXPECT_EQ(T.AddNominalID(2, "blue"), -1);
  EXPECT_EQ(Log.Calls, "SS");
}

TEST(DataTable, SetNominalIdStoresTextOnlyInCategoricalColumns) {
  TDataTable T;
  EventLog Log(T);
  T.SetNominalID(1, 3, "x");  // interval: not stored, but the indices were valid
  EXPECT_EQ(T.CountNominalIDs(1), 0);
  T.SetMScaleType(1, dt::stOrdinal);
  T.SetNominalID(1, 3, "x");
  T.SetNominalID(1, 150, "y");
  T.SetNominalID(1, 151, "z");
  T.SetNominalID(1, -1, "z");
  EXPECT_EQ(T.CountNominalIDs(1), 2);
  T.SetMScaleType(1, dt::stRatio);
  T.SetNominalID(1, 3, "");  // an empty identifier frees its slot on any scale
  T.SetMScaleType(1, dt::stOrdinal);
  EXPECT_EQ(T.NominalID(1, 150), "y");
  EXPECT_TRUE(T.NominalID(1, 3).Empty());
  T.ClearNominalIDs(1);
  T.ClearNominalIDs(2);
  EXPECT_EQ(T.CountNominalIDs(1), 0);
  EXPECT_EQ(Log.Calls, "SSSSSSSS");
}

// --- names, attributes, comment ----------------------------------------------------------------

TEST(DataTable, NamesAreCutToFiftyCharacters) {
  TDataTable T;
  T.Resize(2, 2);
  EventLog Log(T);
  T.SetColName(1, std::string(60, 'n'));
  T.SetRowName(2, "abc");
  EXPECT_EQ(Log.Calls, "NN");
  EXPECT_EQ(T.ColName(1), std::string(50, 'n'));
  EXPECT_EQ(T.MaxColNameLength(), 50);
  EXPECT_EQ(T.MaxRowNameLength(), 3);
}

TEST(DataTable, AttributesWholeAndMasked) {
  TDataTable T;
  T.Resize(3, 2);
  EventLog Log(T);
  T.SetColAttributes(0x0F0F);
  T.SetColAttrib(2, -1);
  T.SetColAttributes(0x00F0, 0x00FF);
  EXPECT_EQ(T.ColAttrib(1), 0x0FF0);
  EXPECT_EQ(T.ColAttrib(2), static_cast<std::int32_t>(0xFFFFFFF0u));
  T.SetRowAttributes(5);
  T.SetRowAttributes(-1, 0x80000000u);  // the sign bit alone
  EXPECT_EQ(T.RowAttrib(2), static_cast<std::int32_t>(0x80000005u));
  EXPECT_EQ(Log.Calls, "AAAAA");
}

TEST(DataTable, CommentLosesItsControlCharacters) {
  TDataTable T;
  EventLog Log(T);
  T.SetComment("line 1\r\nline\t2\x7f");
  EXPECT_EQ(T.Comment(), "line 1line2");
  EXPECT_EQ(Log.Calls, "S");
}

// --- cell states over the table ----------------------------------------------------------------

TEST(DataTable, LogicOpsCombineStatesInTheRangeOnly) {
  struct Case {
    int Op;
    std::uint8_t Mask, Result;
  };
  // Every cell starts at 0b0110'0101 = 101.
  const Case Cases[] = {
      {NMX_nmxbase::loAnd, 64, 64},     {NMX_nmxbase::loOr, 2, 103},
      {NMX_nmxbase::loXor, 5, 96},      {NMX_nmxbase::loAndNot, 64, 37},
      {NMX_nmxbase::loOrNot, 254, 101}, {NMX_nmxbase::loXorNot, 254, 100},
      {6, 255, 101},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Op);
    TDataTable T;
    T.Resize(3, 3);
    T.SetAllCellStates(101);
    EventLog Log(T);
    T.SetCellStates(2, 2, 3, 3, C.Mask, static_cast<TLogicOp>(C.Op));
    EXPECT_EQ(Log.Calls, "X");
    EXPECT_EQ(T.CellState(2, 2), C.Result);
    EXPECT_EQ(T.CellState(3, 3), C.Result);
    EXPECT_EQ(T.CellState(1, 2), 101);
    EXPECT_EQ(T.CellState(2, 1), 101);
  }
}

TEST(DataTable, WholeTableStateOperations) {
  TDataTable T;
  T.Resize(2, 1);
  T.SetCellState(1, 1, 64 + 1);
  T.SetCellState(2, 1, 128 + 32);
  EventLog Log(T);
  T.ExchangeMarkings();
  EXPECT_EQ(T.CellState(1, 1), 128 + 1);
  EXPECT_EQ(T.CellState(2, 1), 64 + 32);
  T.InvertCellStates(3);
  EXPECT_EQ(T.CellState(1, 1), 128 + 2);
  T.UnmarkAllCells();
  EXPECT_EQ(T.CellState(1, 1), 2);
  EXPECT_EQ(T.CellState(2, 1), 32 + 3);
  T.SetAllCellStates(8);
  EXPECT_EQ(T.CellState(2, 1), 8);
  EXPECT_EQ(Log.Calls, "XXXX");
}

TEST(DataTable, StateQueriesOverColumnsRowsAndRanges) {
  TDataTable T;
  T.Resize(3, 3);
  T.SetCellState(2, 3, 32);
  EXPECT_TRUE(T.IfColHasCellState(2, 32 + 1));
  EXPECT_FALSE(T.IfColHasCellState(2, 64));
  EXPECT_FALSE(T.IfColHasCellState(1, 32));
  EXPECT_FALSE(T.IfColHasCellState(4, 255));
  EXPECT_TRUE(T.IfRowHasCellState(3, 32));
  EXPECT_FALSE(T.IfRowHasCellState(2, 32));
  EXPECT_FALSE(T.IfRowHasCellState(0, 255));
  EXPECT_TRUE(T.IfAnyCellHasCellState(0, 0, 0, 0, 32));
  EXPECT_TRUE(T.IfAnyCellHasCellState(3, 9, 2, 3, 32));  // clipped and exchanged
  EXPECT_FALSE(T.IfAnyCellHasCellState(1, 1, 3, 2, 32));

  TDataTable Other;
  Other.Resize(3, 2);
  EXPECT_FALSE(T.CopyCellStatesFrom(&Other));
  EXPECT_FALSE(T.CopyCellStatesFrom(nullptr));
  Other.Resize(3, 3);
  EventLog Log(Other);
  EXPECT_TRUE(Other.CopyCellStatesFrom(&T));
  EXPECT_EQ(Log.Calls, "X");
  EXPECT_EQ(Other.CellState(2, 3), 32);
}

TEST(DataTable, RangesAreNormalisedWithTheirTwoResultRules) {
  struct Case {
    int Lo, Hi, WantLo, WantHi, ColResult, RowResult;
  };
  const Case Cases[] = {
      {0, 0, 1, 10, 0, 0},  {5, 2, 2, 5, 0, -1},  {2, 5, 2, 5, 0, 0},
      {0, 4, 1, 4, -1, -1}, {3, 12, 3, 10, -1, -1}, {12, -3, 1, 10, -1, -1},
  };
  TDataTable T;
  T.Resize(10, 10);
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Lo) + ".." + std::to_string(C.Hi));
    int Lo = C.Lo, Hi = C.Hi;
    EXPECT_EQ(T.MakeValidColRange(Lo, Hi), C.ColResult);
    EXPECT_EQ(Lo, C.WantLo);
    EXPECT_EQ(Hi, C.WantHi);
    Lo = C.Lo;
    Hi = C.Hi;
    EXPECT_EQ(T.MakeValidRowRange(Lo, Hi), C.RowResult);
    EXPECT_EQ(Lo, C.WantLo);
    EXPECT_EQ(Hi, C.WantHi);
  }
}

// --- checksums ---------------------------------------------------------------------------------

TEST(DataTable, CellStateChecksumFollowsDimensionsAndOneByteOneRegister) {
  TDataTable A, B;
  A.Resize(3, 5);
  B.Resize(3, 5);
  B.SetCellState(2, 2, 7);
  B.SetCellState(2, 2, 0);
  const std::string Zero = A.CRCofCellStates();
  EXPECT_EQ(Zero.size(), 64u);
  EXPECT_EQ(Zero.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(B.CRCofCellStates(), Zero);
  B.Resize(5, 3);
  EXPECT_NE(B.CRCofCellStates(), Zero);

  A.SetCellState(2, 3, 1);  // row 3 feeds register 3
  const std::string One = A.CRCofCellStates();
  EXPECT_EQ(RegistersDiffering(One, Zero), 1);
  EXPECT_NE(One.compare(24, 8, Zero, 24, 8), 0);
}

TEST(DataTable, NamesChecksumSeesEveryPartOfTheSetup) {
  TDataTable T;
  T.Resize(3, 2);
  const std::string Base = T.CRCofNamesAndAttributes();
  EXPECT_EQ(Base.size(), 64u);
  struct Case {
    const char* What;
    void (*Change)(TDataTable&);
  };
  const Case Cases[] = {
      {"comment", [](TDataTable& X) { X.SetComment("c"); }},
      {"column name", [](TDataTable& X) { X.SetColName(3, "C-4"); }},
      {"row name", [](TDataTable& X) { X.SetRowName(1, "x"); }},
      {"column attribute", [](TDataTable& X) { X.SetColAttrib(2, 256 + 1); }},
      {"row attribute", [](TDataTable& X) { X.SetRowAttrib(2, 9); }},
      {"scale", [](TDataTable& X) { X.SetMScaleType(1, dt::stRatio); }},
      {"identifier", [](TDataTable& X) { X.AddNominalID(3, "id"); }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    TDataTable X;
    X.Resize(3, 2);
    C.Change(X);
    EXPECT_NE(X.CRCofNamesAndAttributes(), Base);
  }
  // Only the low byte of an attribute counts: 256 reads like 0.
  T.SetColAttrib(1, 256);
  EXPECT_EQ(T.CRCofNamesAndAttributes(), Base);
}

// --- whole-table operations --------------------------------------------------------------------

TEST(DataTable, ClearResetsEverythingButTheDimensions) {
  TDataTable T;
  SetRows(T, {{1, 2}, {3, 4}});
  T.SetColName(1, "a");
  T.SetRowName(2, "b");
  T.SetColAttrib(1, 3);
  T.SetRowAttrib(1, 3);
  T.AddNominalID(2, "x");
  T.SetCellState(1, 1, 9);
  T.SetComment("note");
  EventLog Log(T);
  T.Clear();
  EXPECT_EQ(Log.Calls, "CNAXS");
  EXPECT_EQ(T.NrOfColumns(), 2);
  EXPECT_EQ(T.Elem(2, 2), 0.0);
  EXPECT_EQ(T.ColName(1), "C-1");
  EXPECT_EQ(T.RowName(2), "R-2");
  EXPECT_EQ(T.ColAttrib(1), 0);
  EXPECT_EQ(T.RowAttrib(1), 0);
  EXPECT_EQ(T.MScaleType(2), dt::stInterval);
  EXPECT_EQ(T.CountNominalIDs(2), 0);
  EXPECT_EQ(T.CellState(1, 1), 0);
  EXPECT_TRUE(T.Comment().empty());
}

// A 2 × 3 source: column 1 nominal with identifiers, column 2 interval holding identifiers
// that only a nominal reading would show.
void BuildSource(TDataTable& S) {
  SetRows(S, {{0, 1.5}, {1.5, 2.5}, {2.5, -7}});
  S.SetMScaleType(1, dt::stNominal);
  S.SetNominalID(1, 0, "lo");
  S.SetNominalID(1, 2, "hi");
  S.SetMScaleType(2, dt::stNominal);
  S.SetNominalID(2, 5, "hidden");
  S.SetMScaleType(2, dt::stInterval);
  S.SetColName(2, "mass");
  S.SetRowName(3, "third");
  S.SetColAttrib(1, 4);
  S.SetRowAttrib(2, 8);
  S.SetCellState(2, 3, 2);
  S.SetComment("source");
}

TEST(DataTable, CloneCopiesTheModelAndNotifiesInItsOrder) {
  TDataTable S, T;
  BuildSource(S);
  EventLog Log(T);
  T.Clone(&S);
  EXPECT_EQ(Log.Calls, "R(1,1,2,3)CXSNAR(1,1,2,3)");
  EXPECT_EQ(T.Elem(1, 2), 2.0);  // 1.5 arrives rounded
  EXPECT_EQ(T.NumericData().GetVal(1, 3), 2.0);
  EXPECT_EQ(T.Elem(2, 2), 2.5);
  EXPECT_EQ(T.NominalID(1, 2), "hi");
  EXPECT_EQ(T.ElemNominal(1, 3), "hi");
  T.SetMScaleType(2, dt::stNominal);
  EXPECT_TRUE(T.NominalID(2, 5).Empty());  // not readable in the source, not copied
  EXPECT_EQ(T.ColName(2), "mass");
  EXPECT_EQ(T.RowName(3), "third");
  EXPECT_EQ(T.ColAttrib(1), 4);
  EXPECT_EQ(T.RowAttrib(2), 8);
  EXPECT_EQ(T.CellState(2, 3), 2);
  EXPECT_EQ(T.Comment(), "source");

  Log.Calls.clear();
  T.CopyContentsFrom(&S);
  EXPECT_EQ(Log.Calls, "CXSNAR(2,3,2,3)");
  T.Clone(nullptr);
  EXPECT_EQ(Log.Calls, "CXSNAR(2,3,2,3)");
}

TEST(DataTable, AssignCopiesEverythingSilentlyAndKeepsTheRouting) {
  TDataTable S, T;
  BuildSource(S);
  int SourceChanges = 0;
  S.OnChange = [&SourceChanges](NMX_platform::TObject*) { ++SourceChanges; };
  T.Assign(&S);
  EXPECT_EQ(SourceChanges, 0);
  EXPECT_EQ(T.NrOfColumns(), 2);
  EXPECT_EQ(T.NrOfRows(), 3);
  EXPECT_EQ(T.NumericData().GetVal(1, 2), 1.5);  // values as stored, not rounded
  EXPECT_EQ(T.CRCofNamesAndAttributes(), S.CRCofNamesAndAttributes());
  EXPECT_EQ(T.CRCofCellStates(), S.CRCofCellStates());
  EXPECT_EQ(T.NumericData().CRCofData(), S.NumericData().CRCofData());
  EXPECT_FALSE(T.OnChangeSetup);
  ASSERT_TRUE(T.OnChange);
  // T's matrix still reports to T, whose OnChange is now the source's handler.
  T.NumericData().SetVal(1, 1, 3.0);
  EXPECT_EQ(SourceChanges, 1);
  EXPECT_EQ(S.Elem(1, 1), 0.0);

  TMatrix M;
  EXPECT_THROW(T.Assign(&M), NMX_platform::EConvertError);
  EXPECT_THROW(M.Assign(&S), NMX_platform::EConvertError);
}

TEST(DataTable, CopyFromMovesValuesAndStatesOfABlock) {
  TDataTable S, T;
  BuildSource(S);
  T.Resize(3, 3);
  EventLog Log(T);
  // Bounds 0 mean 1, reversed ones are exchanged: source block [1..2] × [2..3] to [2, 1].
  T.CopyFrom(&S, 2, 3, 0, 2, 2, 1);
  EXPECT_EQ(Log.Calls, "CX");
  EXPECT_EQ(T.Elem(2, 1), 2.0);  // source nominal 1.5, read rounded
  EXPECT_EQ(T.Elem(3, 1), 2.5);
  EXPECT_EQ(T.Elem(3, 2), -7.0);
  EXPECT_EQ(T.CellState(3, 2), 2);
  EXPECT_EQ(T.Elem(1, 1), 0.0);
  EXPECT_EQ(T.ColName(3), "C-3");  // names are not copied
  T.CopyFrom(&S, 1, 1, 2, 3, std::numeric_limits<int>::max(), 1);  // nothing lands inside
  EXPECT_EQ(T.Elem(3, 2), -7.0);
  T.CopyFrom(nullptr, 1, 1, 1, 1, 1, 1);
  EXPECT_EQ(Log.Calls, "CXCX");
}

TEST(DataTable, CopyFromWithinOneTableReadsBeforeItWrites) {
  TDataTable T;
  SetRows(T, {{1, 2, 3, 4}});
  T.SetCellState(1, 1, 1);
  T.CopyFrom(&T, 1, 1, 3, 1, 2, 1);  // shift right by one, overlapping
  EXPECT_EQ(T.Elem(1, 1), 1.0);
  EXPECT_EQ(T.Elem(2, 1), 1.0);
  EXPECT_EQ(T.Elem(3, 1), 2.0);
  EXPECT_EQ(T.Elem(4, 1), 3.0);
  EXPECT_EQ(T.CellState(2, 1), 1);
  EXPECT_EQ(T.CellState(3, 1), 0);
}

TEST(DataTable, CopyColumnFromResults) {
  struct Case {
    bool Source;
    int SrcCol, DestCol, Result;
  };
  const Case Cases[] = {
      {false, 1, 1, -4}, {true, 3, 1, -1}, {true, 1, 4, -2}, {true, 0, 0, -2}, {true, 2, 3, -3},
  };
  TDataTable S;
  BuildSource(S);
  S.Resize(2, 5);
  S.SetElem(2, 5, 42.0);
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.SrcCol) + " -> " + std::to_string(C.DestCol));
    TDataTable T;
    T.Resize(3, 7);
    EventLog Log(T);
    const std::string Before = T.CRCofNamesAndAttributes();
    EXPECT_EQ(T.CopyColumnFrom(C.Source ? &S : nullptr, C.SrcCol, C.DestCol), C.Result);
    if (C.Result != -3) {
      EXPECT_EQ(Log.Calls, "");
      EXPECT_EQ(T.CRCofNamesAndAttributes(), Before);
      continue;
    }
    EXPECT_EQ(Log.Calls, "CXSNA");
    EXPECT_EQ(T.ColName(3), "mass");
    EXPECT_EQ(T.Elem(3, 2), 2.5);
    EXPECT_EQ(T.CellState(3, 3), 2);
    EXPECT_EQ(T.Elem(3, 5), 42.0);
    EXPECT_EQ(T.Elem(3, 6), 0.0);
    EXPECT_EQ(T.RowName(3), "R-3");
  }
}

// --- a borrowed matrix -------------------------------------------------------------------------

TEST(DataTable, ABorrowedMatrixServesTheTableAndOutlivesIt) {
  TMatrix M;
  M.Resize(2, 3);
  M.SetVal(2, 3, 8.0);
  M.OnChange = [](NMX_platform::TObject*) { FAIL() << "replaced by the table's handler"; };
  {
    TDataTable T;
    T.SetMScaleType(1, dt::stNominal);
    T.AddNominalID(1, "kept");
    EventLog Log(T);
    T.AssignAnotherDataMatrix(&M);
    EXPECT_EQ(Log.Calls, "R(1,1,2,3)R(1,1,2,3)CSNAX");
    EXPECT_TRUE(T.ExtMatAssigned());
    EXPECT_EQ(&T.NumericData(), &M);
    EXPECT_EQ(T.NrOfColumns(), 2);
    EXPECT_EQ(T.RowName(3), "R-3");
    EXPECT_EQ(T.Elem(2, 3), 8.0);
    EXPECT_EQ(T.MScaleType(1), dt::stInterval);
    T.SetMScaleType(1, dt::stNominal);
    EXPECT_EQ(T.NominalID(1, 0), "kept");
    Log.Calls.clear();
    M.SetVal(1, 1, 2.0);
    EXPECT_EQ(Log.Calls, "C");
    T.SetElem(1, 2, 4.0);
    EXPECT_EQ(M.GetVal(1, 2), 4.0);
  }
  EXPECT_FALSE(M.OnChange);
  EXPECT_FALSE(M.OnSortExchange);
  EXPECT_EQ(M.GetVal(1, 2), 4.0);
  M.SetVal(1, 1, 3.0);  // nothing calls into the table that is gone
}

TEST(DataTable, ReplacingABorrowedMatrixGivesTheOldOneBackUntouched) {
  TMatrix First, Second;
  First.Resize(3, 3);
  First.SetVal(3, 3, 1.0);
  Second.Resize(2, 2);
  TDataTable T;
  T.AssignAnotherDataMatrix(&First);
  EventLog Log(T);
  T.AssignAnotherDataMatrix(&Second);
  EXPECT_EQ(Log.Calls, "R(3,3,2,2)R(3,3,2,2)CSNAX");
  EXPECT_EQ(First.NrOfColumns(), 3);
  EXPECT_EQ(First.GetVal(3, 3), 1.0);
  EXPECT_FALSE(First.OnChange);
  EXPECT_FALSE(First.OnSortExchange);
  Log.Calls.clear();
  First.SetVal(1, 1, 1.0);
  Second.SetVal(1, 1, 1.0);
  EXPECT_EQ(Log.Calls, "C");

  T.AssignAnotherDataMatrix(nullptr);
  EXPECT_EQ(&T.NumericData(), &Second);
}

TEST(DataTable, HandingTheTableItsOwnMatrixKeepsItOwned) {
  TDataTable T;
  T.AssignAnotherDataMatrix(&T.NumericData());
  EXPECT_FALSE(T.ExtMatAssigned());
  EventLog Log(T);
  T.NumericData().SetVal(1, 1, 1.0);
  EXPECT_EQ(Log.Calls, "C");
}  // the sanitizer build shows the matrix is freed exactly once

// --- sorting and progress hooks ----------------------------------------------------------------

TEST(DataTable, StatesFollowTheRowsTheMatrixSortExchanges) {
  TDataTable T;
  SetRows(T, {{3, 30}, {1, 10}, {2, 20}});
  T.SetCellState(2, 1, 5);  // row 1, whose key is 3
  T.SetRowName(1, "three");
  std::vector<std::string> Seen;
  T.OnSortExchange = [&](NMX_platform::TObject* S, std::uint8_t What, int I1, int I2, int F,
                         int L) {
    EXPECT_EQ(S, &T);
    Seen.push_back(std::to_string(What) + ":" + Joined({I1, I2, F, L}));
  };
  T.NumericData().SortRows(1, true, 1, 1, 2, 3);
  EXPECT_FALSE(Seen.empty());
  EXPECT_EQ(T.Elem(1, 3), 3.0);
  EXPECT_EQ(T.CellState(2, 3), 5);
  EXPECT_EQ(T.CellState(2, 1), 0);
  EXPECT_EQ(T.RowName(1), "three");  // names move only when a table sort asks for it

  Seen.clear();
  T.ExchangeDuringSort(nullptr, 1, 1, 9, 1, 3);  // an index outside: nothing moves
  EXPECT_EQ(T.CellState(2, 3), 5);
  EXPECT_EQ(Seen, std::vector<std::string>{"1:1,9,1,3"});
}

TEST(DataTable, PercDoneNamesTheTable) {
  TDataTable T;
  int Got = -1;
  T.OnPercentDone = [&](NMX_platform::TObject* S, int P) {
    EXPECT_EQ(S, &T);
    Got = P;
  };
  TMatrix Other;
  T.PercDone(&Other, 42);
  EXPECT_EQ(Got, 42);
}

}  // namespace
