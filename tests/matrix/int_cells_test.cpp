// The base of the matrices compiled for 32-bit integer cells, which the integer matrix builds
// on: the members whose integer forms differ from the double ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "nmx/matrix/matrix_base.h"
#include "support/temp_file.h"

namespace {

// The smallest concrete matrix of integers.
class TIntCells : public NMX_matrix::TMatrixBase<std::int32_t> {
 public:
  TIntCells() : TMatrixBase(nullptr) {}
  std::string ClassName() const override { return "TIntCells"; }
};

TEST(IntCells, ArithmeticWrapsAndSearchesStartAtTheirLimits) {
  TIntCells M;
  M.Resize(2, 2);
  M.FillSerial(2147483647, 1);  // wraps to -2147483648 after the first cell
  EXPECT_EQ(M.GetVal(1, 1), 2147483647);
  EXPECT_EQ(M.GetVal(1, 2), -2147483647 - 1);
  // 2^31 - 1, -2^31, -2^31 + 1, -2^31 + 2 sum to -2^33 + 2, which is 2 modulo 2^32.
  EXPECT_EQ(M.Sum(0, 0, 0, 0), 2);
  std::int32_t Lo = 0, Hi = 0;
  M.Fill(-2147483647 - 1);
  M.MinMax(0, 0, 0, 0, Lo, Hi);
  EXPECT_EQ(Lo, -2147483647 - 1);
  EXPECT_EQ(Hi, -2147483647);  // the start value: nothing exceeds it
  double Mean = 0, Variance = 0;
  M.MeanVar(0, 0, 0, 0, Mean, Variance);
  EXPECT_EQ(Mean, -2147483648.0);
  EXPECT_EQ(Variance, 0.0);
}

TEST(IntCells, OrderStatisticsAndSorts) {
  TIntCells M;
  M.Resize(1, 4);
  const std::int32_t X[] = {4, 1, 3, 2};
  for (int R = 1; R <= 4; ++R) M.SetVal(1, R, X[R - 1]);
  double Q1 = 0, Q2 = 0, Q3 = 0;
  M.Quartiles(0, 0, 0, 0, Q1, Q2, Q3);
  EXPECT_EQ(Q1, 1.25);
  EXPECT_EQ(Q2, 2.5);
  EXPECT_EQ(Q3, 3.75);
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0), 3.0);
  EXPECT_EQ(M.FindInSortedColumn(1, true, 3), 3);  // unsorted still bisects: rows 2..3
  M.SortRows(1, false, 0, 0, 0, 0);
  EXPECT_EQ(M.GetVal(1, 1), 4);
  EXPECT_EQ(M.GetVal(1, 4), 1);
}

TEST(IntCells, FilesReadIntegers) {
  TIntCells M;
  M.Resize(2, 2);
  M.SetVal(1, 1, -5);
  M.SetVal(2, 2, 2147483647);
  nmx_test::TempFile File("ints.asc");
  ASSERT_EQ(M.ExportAsASC(File.Path(), "ints"), 0);
  EXPECT_NE(File.Read().find("\r\n-5 0\r\n0 2147483647\r\n"), std::string::npos);
  TIntCells Back;
  std::string Comment;
  ASSERT_EQ(Back.ImportASC(File.Path(), Comment), 0);
  EXPECT_EQ(Back.GetVal(1, 1), -5);
  EXPECT_EQ(Back.GetVal(2, 2), 2147483647);
  // Missing values and NaN are 0 in a matrix of integers; a value is rounded, ties to even.
  File.Write("c\r\n3\t;c\r\n1\t;r\r\nFALSE FALSE FALSE\r\n### NAN 2.5\r\n");
  ASSERT_EQ(Back.ImportASC(File.Path(), Comment), 0);
  EXPECT_EQ(Back.GetVal(1, 1), 0);
  EXPECT_EQ(Back.GetVal(2, 1), 0);
  EXPECT_EQ(Back.GetVal(3, 1), 2);
  std::stringstream S;
  M.SaveToStream(S, 0, 0, 0, 0);
  EXPECT_EQ(S.str().size(), 8u * 4u);
  TIntCells Copy;
  ASSERT_TRUE(Copy.LoadFromStream(S, true));
  EXPECT_EQ(Copy.GetVal(2, 2), 2147483647);
}

}  // namespace
