#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "matrix/matrix_builders.h"
#include "nmx/matrix/matrix.h"
#include "support/temp_file.h"

namespace {

using mat_test::EventLog;
using mat_test::Rows;
using mat_test::RowsOf;
using mat_test::SetRows;
using NMX_matrix::TMatrix;
using NMX_nmxbase::TStr2DArray;
using nmx_test::TempFile;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// An ASC file: header with the counts and flags, then Data as it stands.
std::string Asc(int Cols, const std::string& RowCount, const char* Flags, const std::string& Data) {
  return "comment\r\n" + std::to_string(Cols) + "\t;nr. of columns\r\n" + RowCount +
         "\t;nr. of rows\r\n" + Flags + "\t;flags\r\n" + Data;
}

// Cells compared bit for bit, NaN equal to NaN.
void ExpectSameCells(const TMatrix& A, const TMatrix& B) {
  ASSERT_EQ(A.NrOfColumns(), B.NrOfColumns());
  ASSERT_EQ(A.NrOfRows(), B.NrOfRows());
  for (std::size_t K = 0; K < A.Data().size(); ++K) {
    const double X = A.Data()[K], Y = B.Data()[K];
    EXPECT_TRUE(std::memcmp(&X, &Y, sizeof X) == 0) << "cell " << K << ": " << X << " vs " << Y;
  }
}

TEST(MatrixFilesAsc, ExportWritesTheExactLines) {
  TMatrix M;
  SetRows(M, {{1.5, -2}, {0.1, 1e300}});
  M.SetFPrecis(1, 0);
  TempFile File("m.asc");
  ASSERT_EQ(M.ExportAsASC(File.Path(), "two\nlines"), 0);
  EXPECT_EQ(File.Read(),
            "two lines\r\n2\t;nr. of columns\r\n2\t;nr. of rows\r\n"
            "FALSE FALSE FALSE FALSE\t;row attributes, column names, row names, nominal "
            "variables\r\n1.5 -2\r\n0.1 1e+300\r\n");
  M.SetFPrecis(1, 6);
  M.SetFPrecis(2, 2);
  ASSERT_EQ(M.ExportAsASC(File.Path(), "", {{"a", "b\"c"}, {"r1"}}), 0);
  const std::string Text = File.Read();
  EXPECT_NE(Text.find("Exported by NMX TMatrix component: " + File.Path() + "\r\n"),
            std::string::npos);
  EXPECT_NE(Text.find("FALSE TRUE TRUE FALSE\t"), std::string::npos);
  EXPECT_NE(Text.find("\r\n\"a\" \"b'c\"\r\n\"r1\"   1.50  -2.00\r\n\"\"   0.10 "), std::string::npos);
}

TEST(MatrixFilesAsc, RoundTripKeepsEveryBitAndTheNames) {
  TMatrix M, Back;
  SetRows(M, {{0.1, -0.0, kNaN}, {kInf, -kInf, 5e-324}, {1.7976931348623157e308, 1e-300, 3}});
  TempFile File("round.asc");
  const TStr2DArray Names{{"x", "y", "z"}, {"first", "second", "third"}};
  ASSERT_EQ(M.ExportAsASC(File.Path(), "data", Names), 0);
  std::string Comment;
  TStr2DArray Read;
  ASSERT_EQ(Back.ImportASC(File.Path(), Comment, Read), 0);
  EXPECT_EQ(Comment, "data");
  EXPECT_EQ(Read, Names);
  ExpectSameCells(Back, M);
  // Without names the lists come back empty.
  ASSERT_EQ(M.ExportAsASC(File.Path(), "plain"), 0);
  ASSERT_EQ(Back.ImportASC(File.Path(), Comment, Read), 0);
  EXPECT_EQ(Read, (TStr2DArray{{}, {}}));
}

TEST(MatrixFilesAsc, ImportStatusAndWhatIsKept) {
  struct Case {
    const char* Name;
    std::string File;
    int Status;
    Rows Want;
  };
  const Case Cases[] = {
      {"plain LF", Asc(2, "2", "FALSE FALSE FALSE FALSE", "1 2\n3 4\n"), 0, {{1, 2}, {3, 4}}},
      {"attributes and names",
       Asc(2, "2", "TRUE TRUE TRUE", "\"a\" \"b\"\n7 \"r1\" 1 2\n8 \"r2\" 3 4"), 0, {{1, 2}, {3, 4}}},
      {"missing values", Asc(2, "1", "FALSE FALSE FALSE FALSE", "### NAN\r\n"), 0, {{kNaN, kNaN}}},
      {"bad value keeps the row", Asc(2, "3", "FALSE FALSE FALSE FALSE", "1 2\r\n3 abc\r\n5 6\r\n"),
       -6, {{1, 2}, {3, 0}}},
      {"bad attribute", Asc(1, "2", "TRUE FALSE FALSE", "1 5\r\nx 6\r\n"), -5, {{5}, {0}}},
      {"ends early", Asc(2, "3", "FALSE FALSE FALSE FALSE", "1 2\r\n3"), -6, {{1, 2}, {3, 0}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TempFile File("import.asc");
    File.Write(C.File);
    TMatrix M;
    std::string Comment;
    EXPECT_EQ(M.ImportASC(File.Path(), Comment), C.Status);
    EXPECT_EQ(Comment, "comment");
    TMatrix Want;
    SetRows(Want, C.Want);
    ExpectSameCells(M, Want);
  }
}

TEST(MatrixFilesAsc, RejectedFilesLeaveTheMatrix) {
  TMatrix M;
  SetRows(M, {{1, 2}});
  std::string Comment;
  EXPECT_EQ(M.ImportASC("/nonexistent/m.asc", Comment), -8);
  TempFile File("bad.asc");
  File.Write("comment\r\nx\t;nr. of columns\r\n");
  EXPECT_LT(M.ImportASC(File.Path(), Comment), 0);
  // A header claiming more columns than the file could hold values.
  File.Write(Asc(2000000000, "1", "FALSE FALSE FALSE FALSE", "1 2 3\r\n"));
  EXPECT_EQ(M.ImportASC(File.Path(), Comment), -6);
  EXPECT_EQ(RowsOf(M), (Rows{{1, 2}}));
}

TEST(MatrixFilesAsc, LyingRowCountIsNotAllocated) {
  TempFile File("lying.asc");
  File.Write(Asc(2, "2000000000", "FALSE FALSE FALSE FALSE", "1 2\r\n3 4\r\n"));
  TMatrix M;
  int Largest = 0;
  M.OnResize = [&](NMX_platform::TObject*) { Largest = std::max(Largest, M.NrOfRows()); };
  std::string Comment;
  EXPECT_EQ(M.ImportASC(File.Path(), Comment), -6);  // row 3 is missing
  EXPECT_EQ(RowsOf(M), (Rows{{1, 2}, {3, 4}, {0, 0}}));
  EXPECT_LE(Largest, 16);
}

TEST(MatrixFilesList, StoreAndLoadABlock) {
  TMatrix M;
  SetRows(M, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  M.SetVal(2, 2, 0.1);
  TempFile File("block.txt");
  ASSERT_TRUE(M.StoreOnFile(3, 3, 2, 2, File.Path()));  // columns exchanged, rows exchanged
  M.SetFPrecis(1, 0);
  ASSERT_TRUE(M.StoreOnFile(2, 2, 3, 3, File.Path()));
  EXPECT_EQ(File.Read(), "2 2 3 3\r\n0.1 6\r\n8 9\r\n");
  TMatrix Small;
  EXPECT_FALSE(Small.LoadFromFile(File.Path(), false));
  EXPECT_EQ(RowsOf(Small), (Rows{{0}}));
  ASSERT_TRUE(Small.LoadFromFile(File.Path(), true));
  EXPECT_EQ(RowsOf(Small), (Rows{{0, 0, 0}, {0, 0.1, 6}, {0, 8, 9}}));
  File.Write("1 1 2\r\n5\r\n");
  EXPECT_FALSE(Small.LoadFromFile(File.Path(), true));
  EXPECT_FALSE(Small.LoadFromFile("/nonexistent/x", true));
  // A huge block the file cannot back is not allocated, and nothing is read.
  File.Write("1 1 100000 100000\r\n1 2 3\r\n");
  EXPECT_FALSE(Small.LoadFromFile(File.Path(), true));
  EXPECT_EQ(Small.NrOfColumns(), 3);
}

TEST(MatrixFilesStream, LayoutAndRoundTrip) {
  TMatrix M;
  SetRows(M, {{1, 2, 3}, {4, 5, 6}});
  std::stringstream S;
  M.SaveToStream(S, 2, 1, 3, 2);
  EXPECT_EQ(S.str().size(), (4u + 4u) * 10u);
  TMatrix Back;
  EventLog Log(Back);
  ASSERT_TRUE(Back.LoadFromStream(S, true));
  EXPECT_EQ(RowsOf(Back), (Rows{{0, 2, 3}, {0, 5, 6}}));
  EXPECT_EQ(Log.Calls.back(), 'C');

  // Cut after the first value: false, the value read is kept.
  const std::string Bytes = S.str();
  std::stringstream Cut(Bytes.substr(0, 50));
  TMatrix Partial;
  EXPECT_FALSE(Partial.LoadFromStream(Cut, true));
  EXPECT_EQ(Partial.GetVal(2, 1), 2.0);
  EXPECT_EQ(Partial.GetVal(2, 2), 0.0);
  // Cut inside the indices: nothing changes.
  std::stringstream Short(Bytes.substr(0, 25));
  EXPECT_FALSE(Partial.LoadFromStream(Short, true));
  EXPECT_EQ(Partial.GetVal(2, 1), 2.0);
  // Without adjusting, a matrix lacking the block reads nothing.
  std::stringstream Again(Bytes);
  TMatrix Tiny;
  EXPECT_FALSE(Tiny.LoadFromStream(Again, false));
}

}  // namespace
