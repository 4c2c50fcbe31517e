// ASC data files, list files and binary streams of TVector and TIntVector.
#include <gtest/gtest.h>

#include "vector/vector_builders.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "nmx/base/streams.h"
#include "nmx/platform/exceptions.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector.h"
#include "support/temp_file.h"

namespace {

using vec_test::SetValues;
using vec_test::Values;

using nmx_test::TempFile;
using NMX_vector::TIntVector;
using NMX_vector::TVector;

const std::string kHeaderFlags =
    "FALSE FALSE FALSE FALSE\t;row attributes, column names, row names, nominal variables\r\n";

// Records OnChange as 'C' and OnResize as 'R', and the largest size any resize gave.
template <class V>
struct EventLog {
  std::string Calls;
  int LargestSize = 0;
  explicit EventLog(V& Vec) {
    Vec.OnChange = [this](NMX_platform::TObject*) { Calls += 'C'; };
    Vec.OnResize = [this, &Vec](NMX_platform::TObject*) {
      Calls += 'R';
      LargestSize = std::max(LargestSize, Vec.NrOfElem());
    };
  }
};

// An ASC file of one column with the given row count, flags and data section.
std::string Asc(const std::string& Rows, const std::string& Data,
                const std::string& Flags = "FALSE FALSE FALSE FALSE",
                const std::string& Cols = "1") {
  return "a comment\r\n" + Cols + "\t;nr. of columns\r\n" + Rows + "\t;nr. of rows\r\n" + Flags +
         "\t;flags\r\n" + Data;
}

// --- ASC ------------------------------------------------------------------------------------

TEST(VectorFilesAsc, ExportWritesTheExactBytes) {
  TempFile File("export.asc");
  TVector V;
  SetValues(V, std::vector<double>{1.5, -2.0});
  ASSERT_EQ(V.ExportAsASC(File.Path(), 3, ""), 0);
  EXPECT_EQ(File.Read(), "Exported by NMX TVector component: " + File.Path() +
                             "\r\n1\t;nr. of columns\r\n2\t;nr. of rows\r\n" + kHeaderFlags +
                             "       1.500\r\n      -2.000\r\n");

  TIntVector I;
  SetValues(I, std::vector<std::int32_t>{7, -2147483647 - 1});
  ASSERT_EQ(I.ExportAsASC(File.Path(), "two\nlines"), 0);
  EXPECT_EQ(File.Read(), "two lines\r\n1\t;nr. of columns\r\n2\t;nr. of rows\r\n" + kHeaderFlags +
                             "7\r\n-2147483648\r\n");
}

TEST(VectorFilesAsc, ExportThenImportGivesTheVectorBack) {
  TempFile File("roundtrip.asc");
  TVector V;
  SetValues(V, std::vector<double>{1.5, -2.0, 0.0, 1e-3, 12345.678});
  ASSERT_EQ(V.ExportAsASC(File.Path(), 3, "my data"), 0);
  TVector W;
  EventLog<TVector> Log(W);
  std::string Comment;
  ASSERT_EQ(W.ImportASC(File.Path(), Comment), 0);
  EXPECT_EQ(Comment, "my data");
  EXPECT_EQ(Values(W), Values(V));
  EXPECT_FALSE(W.IsEmpty());
  // One resize to the row count, then one OnChange per value; the final resize is a no-op.
  EXPECT_EQ(Log.Calls, "CRCCCCC");

  TIntVector I;
  SetValues(I, std::vector<std::int32_t>{3, -4, 2147483647, 0});
  ASSERT_EQ(I.ExportAsASC(File.Path(), ""), 0);
  TIntVector J;
  ASSERT_EQ(J.ImportASC(File.Path(), Comment), 0);
  EXPECT_EQ(Comment, "Exported by NMX TIntVector component: " + File.Path());
  EXPECT_EQ(Values(J), Values(I));
}

TEST(VectorFilesAsc, ExportReportsFilesThatCannotBeWritten) {
  TVector V;
  EXPECT_EQ(V.ExportAsASC(std::filesystem::temp_directory_path().string(), 2, ""), -1);
  EXPECT_EQ(V.ExportAsASC("/nonexistent-dir/x.asc", 2, ""), -1);
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  // Creating succeeds, the writes fail: the platform's I/O error.
  EXPECT_THROW(V.ExportAsASC("/dev/full", 2, ""), NMX_platform::EInOutError);
  TIntVector I;
  EXPECT_THROW(I.ExportAsASC("/dev/full", ""), NMX_platform::EInOutError);
}

struct AscCase {
  const char* Name;
  std::string Content;
  int Status;
  std::vector<double> Expected;  // of a vector that held {7, 8, 9} before
};

// Printed by name, which keeps the generated test names short.
void PrintTo(const AscCase& C, std::ostream* Os) {
  *Os << C.Name;
}

class VectorFilesAscImport : public testing::TestWithParam<AscCase> {};

TEST_P(VectorFilesAscImport, StatusSizeAndValues) {
  const AscCase& C = GetParam();
  TempFile File("import.asc");
  File.Write(C.Content);
  TVector V;
  SetValues(V, std::vector<double>{7, 8, 9});
  std::string Comment;
  EXPECT_EQ(V.ImportASC(File.Path(), Comment), C.Status);
  EXPECT_EQ(Values(V), C.Expected);
}

const std::string kFlagsAttr = "TRUE FALSE FALSE FALSE";
const std::string kFlagsColNames = "FALSE TRUE FALSE FALSE";
const std::string kFlagsRowNames = "FALSE FALSE TRUE FALSE";

INSTANTIATE_TEST_SUITE_P(
    Cases, VectorFilesAscImport,
    testing::Values(
        AscCase{"Plain", Asc("2", "1.5\r\n-2\r\n"), 0, {1.5, -2}},
        AscCase{"LfAndNoFinalLineBreak", "c\n1\n2\nFALSE FALSE FALSE\n1.5\n-2", 0, {1.5, -2}},
        AscCase{"NumberForms",
                Asc("5", "+2\r\n1e3\r\n-.5\r\n5.\r\n-INF\r\n"),
                0,
                {2, 1000, -0.5, 5, -std::numeric_limits<double>::infinity()}},
        AscCase{"NanAndHashesStoreZero", Asc("4", "NAN\r\n###\r\nnan\r\n4\r\n"), 0, {0, 0, 0, 4}},
        AscCase{"RowNamesAreSkipped",
                Asc("2", "\"r1\" 5\r\n\"row 2\"\t6\r\n", kFlagsRowNames),
                0,
                {5, 6}},
        AscCase{
            "ColumnNameIsSkipped", Asc("2", "\"col a\"\r\n5\r\n6\r\n", kFlagsColNames), 0, {5, 6}},
        AscCase{"RowAttributesAreSkipped", Asc("2", "1.0 5\r\n2 6\r\n", kFlagsAttr), 0, {5, 6}},
        AscCase{"ZeroRowsKeepTheSize", Asc("0", ""), 0, {7, 8, 9}},
        AscCase{"FewerRowsShrink", Asc("2", "1\r\n2\r\n"), 0, {1, 2}},
        // Words, not lines, are the items: extra words on a line become the next rows.
        AscCase{"TwoValuesOnALine", Asc("2", "1 2\r\n3\r\n"), 0, {1, 2}},
        AscCase{"AbcInRow3", Asc("4", "1\r\n2\r\nabc\r\n4\r\n"), -6, {1, 2, 9}},
        AscCase{"TrailingGarbage", Asc("2", "1\r\n2x\r\n"), -6, {1, 8}},
        AscCase{"DoubleSign", Asc("2", "1\r\n+-2\r\n"), -6, {1, 8}},
        AscCase{"BadAttribute", Asc("2", "1 5\r\nx 6\r\n", kFlagsAttr), -5, {5, 8}},
        // A file that ends early: row 4 fails and stays with the value it had (0, new).
        AscCase{"EndsEarly", Asc("5", "1\r\n2\r\n3"), -6, {1, 2, 3, 0}},
        AscCase{
            "ThreeColumns", Asc("2", "1 2 3\r\n", "FALSE FALSE FALSE FALSE", "3"), -7, {7, 8, 9}},
        AscCase{"HeaderEndsEarly", "comment\r\n1\t;c\r\n", -2, {7, 8, 9}},
        AscCase{"ColumnCountNoNumber",
                "comment\r\nx\r\n2\r\nFALSE FALSE FALSE\r\n1\r\n",
                -3,
                {7, 8, 9}},
        AscCase{"NegativeRowCount", Asc("-2", "1\r\n"), -4, {7, 8, 9}},
        AscCase{"HugeRowCount", Asc("99999999999", "1\r\n"), -4, {7, 8, 9}},
        AscCase{"FlagsNoWords", Asc("1", "1\r\n", "yes no"), -5, {7, 8, 9}}),
    [](const testing::TestParamInfo<AscCase>& Info) { return std::string(Info.param.Name); });

TEST(VectorFilesAsc, MissingFileGivesMinus8) {
  TempFile File("missing.asc");
  TVector V;
  std::string Comment = "kept";
  EXPECT_EQ(V.ImportASC(File.Path(), Comment), -8);
  TIntVector I;
  EXPECT_EQ(I.ImportASC(File.Path(), Comment), -8);
  EXPECT_EQ(Comment, "kept");
}

TEST(VectorFilesAsc, IntegerImportRoundsAndClamps) {
  TempFile File("int.asc");
  // Ties go to even; values beyond the int32 range are clamped before rounding.
  File.Write(Asc("8", "2.5\r\n3.5\r\n-2.5\r\n1e10\r\n-1e10\r\nINF\r\n###\r\nNAN\r\n"));
  TIntVector I;
  std::string Comment;
  ASSERT_EQ(I.ImportASC(File.Path(), Comment), 0);
  EXPECT_EQ(Values(I),
            (std::vector<std::int32_t>{2, 4, -2, 2147483647, -2147483647 - 1, 2147483647, 0, 0}));
}

TEST(VectorFilesAsc, ErrorRowKeepsItsOldValueAndEventsFollowTheResizes) {
  TempFile File("error.asc");
  File.Write(Asc("4", "10\r\n20\r\nbad\r\n40\r\n"));
  TVector V;
  SetValues(V, std::vector<double>{1, 2, 3, 4, 5});
  EventLog<TVector> Log(V);
  std::string Comment;
  EXPECT_EQ(V.ImportASC(File.Path(), Comment), -6);
  EXPECT_EQ(Comment, "a comment");
  EXPECT_EQ(Values(V), (std::vector<double>{10, 20, 3}));
  EXPECT_EQ(Log.Calls, "CRCCCR");

  // A failure in row 1 stores nothing: IsEmpty stays as it was.
  File.Write(Asc("3", "bad\r\n"));
  TVector Fresh;
  EXPECT_EQ(Fresh.ImportASC(File.Path(), Comment), -6);
  EXPECT_TRUE(Fresh.IsEmpty());
  EXPECT_EQ(Fresh.NrOfElem(), 1);
}

TEST(VectorFilesAsc, LyingRowCountIsNotAllocated) {
  TempFile File("lying.asc");
  File.Write(Asc("2000000000", "1\r\n2\r\n3\r\n"));
  TVector V;
  EventLog<TVector> Log(V);
  std::string Comment;
  // The same outcome as with any row count above 3: row 4 is missing.
  EXPECT_EQ(V.ImportASC(File.Path(), Comment), -6);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2, 3, 0}));
  EXPECT_LE(Log.LargestSize, 16);

  // A longer vector keeps its old values past the rows that were read.
  std::string Data;
  for (int K = 1; K <= 40; ++K) Data += std::to_string(K) + "\r\n";
  File.Write(Asc("2000000000", Data));
  TIntVector I;
  SetValues(I, std::vector<std::int32_t>(100, 5));
  EXPECT_EQ(I.ImportASC(File.Path(), Comment), -6);
  std::vector<std::int32_t> Expected(41, 5);
  for (int K = 0; K < 40; ++K) Expected[static_cast<std::size_t>(K)] = K + 1;
  EXPECT_EQ(Values(I), Expected);
}

// --- list files -----------------------------------------------------------------------------

struct PrecisionCase {
  int Precision;
  double Value;
  const char* Text;
};

TEST(VectorFilesList, StoreOnFileFollowsThePrecisionRules) {
  // Expected texts from python3: '%.2f' % x, '%.20f' % 0.1, '%.4e' and '%.17e' % x, with
  // the exponent widened to four digits.
  const PrecisionCase Cases[] = {
      {2, 3.14159, "3.14"},
      {-7, -2.5, "-2.50"},
      {0, 2.5, "2"},
      {25, 0.1, "0.10000000000000000555"},
      {20, 0.1, "0.10000000000000000555"},
      {-1, 1234.56, " 1.2346E+0003"},
      {-1, -0.000123456, "-1.2346E-0004"},
      {-1, 0.0, " 0.0000E+0000"},
      {-1, 5e-324, " 4.9407E-0324"},
      {-2, 1234.56, " 1.23455999999999995E+0003"},
      {-2, -1e-300, "-1.00000000000000003E-0300"},
      {-1, std::numeric_limits<double>::quiet_NaN(), "          NAN"},
  };
  TempFile File("store.lst");
  for (const PrecisionCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector V;
    V.SetVal(1, C.Value);
    ASSERT_TRUE(V.StoreOnFile(1, 1, C.Precision, File.Path()));
    EXPECT_EQ(File.Read(), std::string("1 1\r\n") + C.Text + "\r\n") << "Precision " << C.Precision;
  }
}

TEST(VectorFilesList, StoreOnFileRanges) {
  TempFile File("range.lst");
  TVector V;
  SetValues(V, std::vector<double>{1, 2, 3, 4, 5});
  ASSERT_TRUE(V.StoreOnFile(4, 2, 1, File.Path()));
  EXPECT_EQ(File.Read(), "2 4\r\n2.0\r\n3.0\r\n4.0\r\n");
  ASSERT_TRUE(V.StoreOnFile(-1, 99, 0, File.Path()));
  EXPECT_EQ(File.Read(), "1 5\r\n1\r\n2\r\n3\r\n4\r\n5\r\n");

  TIntVector I;
  SetValues(I, std::vector<std::int32_t>{1, -2, 3});
  ASSERT_TRUE(I.StoreOnFile(3, -4, File.Path()));
  EXPECT_EQ(File.Read(), "1 3\r\n1\r\n-2\r\n3\r\n");
  // Only FirstElem <= 0 and LastElem > NrOfElem are clipped.
  ASSERT_TRUE(I.StoreOnFile(9, 7, File.Path()));
  EXPECT_EQ(File.Read(), "7 3\r\n");

  EXPECT_FALSE(V.StoreOnFile(1, 5, 2, "/nonexistent-dir/x.lst"));
  EXPECT_FALSE(I.StoreOnFile(1, 5, std::filesystem::temp_directory_path().string()));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_TRUE(V.StoreOnFile(1, 5, 2, "/dev/full"));  // write errors are not reported
  }
}

TEST(VectorFilesList, PartRoundTripsIntoAShorterVector) {
  TempFile File("part.lst");
  TVector V;
  SetValues(V, std::vector<double>{1, 2, 0.1, -1.0 / 3.0, 1e300});
  ASSERT_TRUE(V.StoreOnFile(3, 5, -2, File.Path()));
  TVector W;
  SetValues(W, std::vector<double>{9, 8});
  EventLog<TVector> Log(W);
  ASSERT_TRUE(W.LoadFromFile(File.Path(), true));
  // 17 decimals in scientific form give every double back exactly.
  EXPECT_EQ(Values(W), (std::vector<double>{9, 8, 0.1, -1.0 / 3.0, 1e300}));
  EXPECT_EQ(Log.Calls, "CRCCCC");

  TIntVector I;
  SetValues(I, std::vector<std::int32_t>{5, -6, 2147483647});
  ASSERT_TRUE(I.StoreOnFile(2, 3, File.Path()));
  TIntVector J;
  ASSERT_TRUE(J.LoadFromFile(File.Path(), true));
  EXPECT_EQ(Values(J), (std::vector<std::int32_t>{0, -6, 2147483647}));
  EXPECT_FALSE(J.IsEmpty());
}

TEST(VectorFilesList, ShortVectorWithoutAdjustReadsNothing) {
  TempFile File("short.lst");
  File.Write("1 3\r\n1\r\n2\r\n3\r\n");
  TVector V;
  SetValues(V, std::vector<double>{7, 8});
  EventLog<TVector> Log(V);
  EXPECT_FALSE(V.LoadFromFile(File.Path(), false));
  EXPECT_EQ(Values(V), (std::vector<double>{7, 8}));
  EXPECT_EQ(Log.Calls, "C");
}

struct ListCase {
  const char* Name;
  std::string Content;
  bool Adjust;
  bool Result;
  std::vector<double> Expected;  // of a vector that held {7, 8, 9} before
};

void PrintTo(const ListCase& C, std::ostream* Os) {
  *Os << C.Name;
}

class VectorFilesListLoad : public testing::TestWithParam<ListCase> {};

TEST_P(VectorFilesListLoad, ResultAndValues) {
  const ListCase& C = GetParam();
  TempFile File("load.lst");
  File.Write(C.Content);
  TVector V;
  SetValues(V, std::vector<double>{7, 8, 9});
  EXPECT_EQ(V.LoadFromFile(File.Path(), C.Adjust), C.Result);
  EXPECT_EQ(Values(V), C.Expected);
  // The integer vector follows the same rules; its values are the rounded ones.
  TIntVector I;
  SetValues(I, std::vector<std::int32_t>{7, 8, 9});
  EXPECT_EQ(I.LoadFromFile(File.Path(), C.Adjust), C.Result);
  ASSERT_EQ(I.NrOfElem(), V.NrOfElem());
  for (int K = 1; K <= I.NrOfElem(); ++K) {
    EXPECT_EQ(I.GetVal(K), static_cast<std::int32_t>(std::nearbyint(V.GetVal(K)))) << K;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VectorFilesListLoad,
    testing::Values(
        ListCase{"LfNoFinalLineBreak", "2 3\n4\n5", false, true, {7, 4, 5}},
        ListCase{"AdjustShrinks", "1 2\r\n4\r\n5\r\n", true, true, {4, 5}},
        ListCase{
            "UnreadableValueIsSkipped", "1 3\r\n1\r\nabc\r\n3.5\r\n", false, true, {1, 8, 3.5}},
        ListCase{"EndsEarly", "1 5\r\n1\r\n2", true, true, {1, 2, 9, 0, 0}},
        ListCase{"OneIndexOnly", "3\r\n1\r\n", true, false, {7, 8, 9}},
        ListCase{"ThreeIndices", "1 2 3\r\n1\r\n", true, false, {7, 8, 9}},
        ListCase{"IndexNoInteger", "1 2.0\r\n1\r\n2\r\n", true, false, {7, 8, 9}},
        ListCase{"IndexBeyondInt", "1 3000000000\r\n1\r\n", true, false, {7, 8, 9}},
        ListCase{"Empty", "", true, false, {7, 8, 9}},
        // Indices below 1 read their values and drop them.
        ListCase{"NegativeFirst", "-1 2\r\n1\r\n2\r\n3\r\n4\r\n", false, true, {3, 4, 9}},
        ListCase{"ReversedIndices", "3 1\r\n1\r\n", false, true, {7, 8, 9}},
        // A huge last index that the file cannot back is not allocated: the resize is
        // skipped and the call fails as for a short vector.
        ListCase{"LyingLast", "1 2000000000\r\n1\r\n", true, false, {7, 8, 9}},
        ListCase{"LyingFirstAndLast", "2000000000 2000000000\r\n1\r\n", true, false, {7, 8, 9}},
        // The loop over first..last ends with the data instead of running 2^31 times.
        ListCase{"HugeRangeEndsWithTheData", "-2147483647 3\r\n1\r\n", false, true, {7, 8, 9}}),
    [](const testing::TestParamInfo<ListCase>& Info) { return std::string(Info.param.Name); });

TEST(VectorFilesList, MissingFileChangesNothing) {
  TempFile File("missing.lst");
  TVector V;
  EventLog<TVector> Log(V);
  EXPECT_FALSE(V.LoadFromFile(File.Path(), true));
  EXPECT_FALSE(V.LoadFromFile(File.Path(), true, true));
  TIntVector I;
  EXPECT_FALSE(I.LoadFromFile(File.Path(), true));
  EXPECT_EQ(Log.Calls, "");
  EXPECT_TRUE(V.IsEmpty());
}

TEST(VectorFilesList, AdjustMayGrowFarWhenTheFileHoldsTheValues) {
  // 70000 values exceed the free growth of 65536 elements; the file backs them.
  TempFile File("long.lst");
  std::string Data = "1 70000\n";
  for (int K = 1; K <= 70000; ++K) Data += std::to_string(K % 10) + "\n";
  File.Write(Data);
  TIntVector I;
  ASSERT_TRUE(I.LoadFromFile(File.Path(), true));
  EXPECT_EQ(I.NrOfElem(), 70000);
  EXPECT_EQ(I.GetVal(70000), 0);
  EXPECT_EQ(I.GetVal(69999), 9);
}

TEST(VectorFilesList, AutoDetectReadsPlainNumbers) {
  TempFile File("plain.txt");
  // Three lines hold a digit; the numbers are read as words across the lines.
  File.Write("1.5\r\n\r\n  2.5  3.5\n// end\n-4");
  TVector V;
  EventLog<TVector> Log(V);
  ASSERT_TRUE(V.LoadFromFile(File.Path(), true, true));
  EXPECT_EQ(Values(V), (std::vector<double>{1.5, 2.5, 3.5}));
  EXPECT_EQ(Log.Calls, "CRCCCC");

  // Without adjusting: the words of the counted lines in order; the line "// end" holds no
  // digit, was not counted and is passed over.
  SetValues(V, std::vector<double>{0, 0, 0, 9, 9, 6, 7});
  ASSERT_TRUE(V.LoadFromFile(File.Path(), false, true));
  EXPECT_EQ(Values(V), (std::vector<double>{1.5, 2.5, 3.5, -4, 9, 6, 7}));

  // A title line is no data: it used to take element 1 and shift every value by one.
  File.Write("temperature\n20.5\n21\n19.5\n");
  ASSERT_TRUE(V.LoadFromFile(File.Path(), true, true));
  EXPECT_EQ(Values(V), (std::vector<double>{20.5, 21, 19.5}));
  // On a counted line every word counts, also those before its first digit ("nan" is a
  // number, "x" is none and leaves its element as it was).
  File.Write("a b\nnan x 4\ny\n5");
  SetValues(V, std::vector<double>{7, 7, 7, 7, 7});
  ASSERT_TRUE(V.LoadFromFile(File.Path(), false, true));
  EXPECT_TRUE(std::isnan(V.GetVal(1)));
  EXPECT_EQ(V.GetVal(2), 7.0);
  EXPECT_EQ(V.GetVal(3), 4.0);
  EXPECT_EQ(V.GetVal(4), 5.0);
  EXPECT_EQ(V.GetVal(5), 7.0);

  File.Write("no digits\n");
  TVector W;
  ASSERT_TRUE(W.LoadFromFile(File.Path(), true, true));
  EXPECT_EQ(W.NrOfElem(), 1);
  EXPECT_TRUE(W.IsEmpty());

  // AutoDetect false reads a list file.
  File.Write("1 2\n3\n4\n");
  ASSERT_TRUE(W.LoadFromFile(File.Path(), true, false));
  EXPECT_EQ(Values(W), (std::vector<double>{3, 4}));
}

// --- binary streams -------------------------------------------------------------------------

TEST(VectorFilesStream, LayoutAndRoundTrip) {
  TVector V;
  SetValues(V, std::vector<double>{0.1, -std::numeric_limits<double>::infinity(), 5e-324, -0.0});
  std::stringstream S(std::ios::in | std::ios::out | std::ios::binary);
  V.SaveToStream(S, 2, 4);
  EXPECT_EQ(S.str().size(), 5U * 10U);
  TVector W;
  EventLog<TVector> Log(W);
  ASSERT_TRUE(W.LoadFromStream(S, true));
  EXPECT_EQ(W.NrOfElem(), 4);
  EXPECT_EQ(W.GetVal(1), 0.0);
  EXPECT_EQ(W.GetVal(2), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(W.GetVal(3), 5e-324);
  EXPECT_TRUE(std::signbit(W.GetVal(4)));
  EXPECT_EQ(Log.Calls, "CRCCCC");

  TIntVector I;
  SetValues(I, std::vector<std::int32_t>{1, -2, 0x01020304});
  std::stringstream T(std::ios::in | std::ios::out | std::ios::binary);
  T << "ab";  // items start at the current position
  I.SaveToStream(T, 0, 0);
  EXPECT_EQ(T.str(), std::string("ab\1\0\0\0\3\0\0\0\1\0\0\0\xFE\xFF\xFF\xFF\4\3\2\1", 22));
  T.seekg(2);
  TIntVector J;
  ASSERT_TRUE(J.LoadFromStream(T, true));
  EXPECT_EQ(Values(J), Values(I));
}

TEST(VectorFilesStream, SaveMakesTheRangeValid) {
  TVector V;
  SetValues(V, std::vector<double>{1, 2, 3});
  std::stringstream S(std::ios::in | std::ios::out | std::ios::binary);
  V.SaveToStream(S, 3, -5);  // becomes 1..3
  EXPECT_EQ(S.str().size(), 50U);
  TVector W;
  ASSERT_TRUE(W.LoadFromStream(S, true));
  EXPECT_EQ(Values(W), Values(V));
}

template <class V>
std::string Saved(const V& Vec) {
  std::ostringstream S(std::ios::binary);
  Vec.SaveToStream(S, 0, 0);
  return S.str();
}

TEST(VectorFilesStream, TruncatedAndCorruptedStreams) {
  TVector Source;
  SetValues(Source, std::vector<double>{1.5, 2.5, 3.5});
  const std::string Full = Saved(Source);
  struct Case {
    std::string Bytes;
    bool Result;
    std::vector<double> Expected;  // of a vector that held {7, 8, 9, 10} before
    const char* Calls;
  };
  auto Extended = [](long double X) {
    std::ostringstream S(std::ios::binary);
    NMX_streams::WriteExtendedToStream(S, X);
    return S.str();
  };
  const std::string First = Full.substr(0, 10);
  const std::string Values3 = Full.substr(20);
  const std::string NanIndex =
      First + Extended(std::numeric_limits<long double>::quiet_NaN()) + Values3;
  const std::string InfIndex =
      Extended(-std::numeric_limits<long double>::infinity()) + Full.substr(10);
  const std::string BeyondInt = First + Extended(3.0e9L) + Values3;
  const std::string LastTwoBillion = First + Extended(2.0e9L) + Values3;
  const Case Cases[] = {
      {"", false, {7, 8, 9, 10}, ""},
      {Full.substr(0, 15), false, {7, 8, 9, 10}, ""},
      {Full.substr(0, 20), false, {7, 8, 9}, "CRC"},  // ends after the indices
      {Full.substr(0, 39), false, {1.5, 8, 9}, "CRCC"},
      {Full, true, {1.5, 2.5, 3.5}, "CRCCCC"},
      {NanIndex, false, {7, 8, 9, 10}, ""},
      {InfIndex, false, {7, 8, 9, 10}, ""},
      {BeyondInt, false, {7, 8, 9, 10}, ""},
      // Not allocated: the stream cannot hold 2e9 values, so the vector is too short.
      {LastTwoBillion, false, {7, 8, 9, 10}, "C"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector V;
    SetValues(V, std::vector<double>{7, 8, 9, 10});
    EventLog<TVector> Log(V);
    std::istringstream S(C.Bytes, std::ios::binary);
    EXPECT_EQ(V.LoadFromStream(S, true), C.Result) << C.Bytes.size();
    EXPECT_EQ(Values(V), C.Expected) << C.Bytes.size();
    EXPECT_EQ(Log.Calls, C.Calls) << C.Bytes.size();
  }
}

TEST(VectorFilesStream, IntegerStreamsWithoutAdjust) {
  TIntVector Source;
  SetValues(Source, std::vector<std::int32_t>{4, 5, 6});
  const std::string Full = Saved(Source);
  ASSERT_EQ(Full.size(), 20U);
  TIntVector Short;
  std::istringstream S1(Full, std::ios::binary);
  EXPECT_FALSE(Short.LoadFromStream(S1, false));  // one element, last index 3
  EXPECT_EQ(Values(Short), std::vector<std::int32_t>{0});
  EXPECT_TRUE(Short.IsEmpty());

  TIntVector Long;
  SetValues(Long, std::vector<std::int32_t>{1, 1, 1, 1, 1});
  std::istringstream S2(Full.substr(0, 16), std::ios::binary);
  EXPECT_FALSE(Long.LoadFromStream(S2, false));  // the stream ends before the last value
  EXPECT_EQ(Values(Long), (std::vector<std::int32_t>{4, 5, 1, 1, 1}));

  // A huge index range that the stream does not hold ends with the data.
  std::ostringstream Huge(std::ios::binary);
  NMX_streams::WriteLongintToStream(Huge, -2147483647 - 1);
  NMX_streams::WriteLongintToStream(Huge, 2);
  NMX_streams::WriteLongintToStream(Huge, 42);
  std::istringstream S3(Huge.str(), std::ios::binary);
  EXPECT_FALSE(Long.LoadFromStream(S3, false));
  EXPECT_EQ(Values(Long), (std::vector<std::int32_t>{4, 5, 1, 1, 1}));
}

}  // namespace
