#include "nmx/matrix/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "matrix/matrix_builders.h"
#include "nmx/base/crc.h"
#include "nmx/platform/exceptions.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector.h"
#include "nmx/platform/random.h"

namespace {

using mat_test::EventLog;
using mat_test::Rows;
using mat_test::RowsOf;
using mat_test::SetRows;
using NMX_matrix::TMatrix;
using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TInt2DArray;
using NMX_nmxbase::TIntArray;
using NMX_vector::TVector;

TEST(Matrix, NewMatrixIsOneZeroCell) {
  TMatrix M;
  EXPECT_EQ(M.ClassName(), "TMatrix");
  EXPECT_EQ(M.NrOfColumns(), 1);
  EXPECT_EQ(M.NrOfRows(), 1);
  EXPECT_EQ(M.Elem(1, 1), 0.0);
  EXPECT_EQ(M.Precision(1), 15);
  EXPECT_EQ(M.Precision(2), -1);
  EXPECT_EQ(M.Precision(7), -1);
  EXPECT_TRUE(M.DataID().empty());
  EXPECT_FALSE(M.OnChange || M.OnResize || M.OnSortExchange || M.OnCalcDistance ||
               M.OnPercentDone);
}

TEST(Matrix, CellsAreColumnMajorAndOutsideIsQuiet) {
  TMatrix M;
  SetRows(M, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  EXPECT_EQ(M.Data()[1], 5.0);  // column 1, row 2
  EXPECT_EQ(M.Data()[2], 2.0);  // column 2, row 1
  EXPECT_EQ(M.Column(3)[1], 7.0);
  EventLog Log(M);
  EXPECT_EQ(M.GetVal(0, 1), 0.0);
  EXPECT_EQ(M.GetVal(1, 3), 0.0);
  M.SetVal(5, 1, 9.0);
  M.SetVal(1, 0, 9.0);
  EXPECT_EQ(Log.Calls, "");
  M.SetVal(4, 2, 9.0);
  EXPECT_EQ(Log.Calls, "C");
  EXPECT_EQ(M.GetVal(4, 2), 9.0);
}

TEST(Matrix, ResizeKeepsTheOverlapAndNotifies) {
  TMatrix M;
  SetRows(M, {{1, 2}, {3, 4}, {5, 6}});  // 2 columns, 3 rows
  EventLog Log(M);
  EXPECT_TRUE(M.Resize(3, 2));
  EXPECT_EQ(Log.Calls, "CR");
  EXPECT_EQ(RowsOf(M), (Rows{{1, 2, 0}, {3, 4, 0}}));
  Log.Calls.clear();
  EXPECT_FALSE(M.Resize(0, 5));
  EXPECT_FALSE(M.Resize(3, -1));
  EXPECT_FALSE(M.Resize(3, 2));
  M.SetNCols(-4);
  EXPECT_EQ(Log.Calls, "");
  M.SetNRows(4);
  EXPECT_EQ(M.NrOfRows(), 4);
  EXPECT_EQ(M.GetVal(2, 2), 4.0);
}

TEST(Matrix, ResizeAndClearNotifiesInItsOrder) {
  TMatrix M;
  SetRows(M, {{1, 2}, {3, 4}});
  EventLog Log(M);
  EXPECT_FALSE(M.ResizeAndClear(2, 2));
  EXPECT_EQ(M.GetVal(2, 2), 4.0);
  EXPECT_TRUE(M.ResizeAndClear(3, 2));
  EXPECT_EQ(Log.Calls, "CRCCR");
  EXPECT_EQ(RowsOf(M), (Rows{{0, 0, 0}, {0, 0, 0}}));
}

TEST(Matrix, ResizeBeyondMemoryRaisesAndKeepsTheMatrix) {
  TMatrix M;
  M.SetName("Big");
  SetRows(M, {{1, 2}});
  try {
    M.Resize(2147483647, 2147483647);
    FAIL() << "no exception";
  } catch (const NMX_matrix::ENMXMatrixError& E) {
    EXPECT_STREQ(E.what(), "Component \"Big\": not enough memory on heap");
  }
  EXPECT_EQ(RowsOf(M), (Rows{{1, 2}}));
}

TEST(Matrix, PrecisionIsClamped) {
  TMatrix M;
  M.SetFPrecis(1, 40);
  M.SetFPrecis(2, -7);
  EXPECT_EQ(M.Precision(1), 25);
  EXPECT_EQ(M.Precision(0), 25);
  EXPECT_EQ(M.Precision(2), -1);
  M.SetFPrecis(9, 3);
  EXPECT_EQ(M.GetFPrecis(2), 3);
}

TEST(Matrix, RangeNormalisation) {
  TMatrix M;
  M.Resize(10, 10);
  struct Case {
    bool Rows;
    int Lo, Hi, WantLo, WantHi, Result;
  };
  const Case Cases[] = {
      {false, 5, 2, 2, 5, 0},  {true, 5, 2, 2, 5, -1},   {false, 0, 0, 1, 10, 0},
      {true, 0, 0, 1, 10, 0},  {false, -3, 99, 1, 10, -1}, {true, -3, 99, 1, 10, -1},
      {false, 0, 4, 1, 4, -1}, {true, 3, 3, 3, 3, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << (C.Rows ? "rows " : "columns ") << C.Lo << ".." << C.Hi);
    int Lo = C.Lo, Hi = C.Hi;
    const int R = C.Rows ? M.MakeValidRowRange(Lo, Hi) : M.MakeValidColRange(Lo, Hi);
    EXPECT_EQ(R, C.Result);
    EXPECT_EQ(Lo, C.WantLo);
    EXPECT_EQ(Hi, C.WantHi);
  }
}

TEST(Matrix, Fills) {
  TMatrix M;
  M.Resize(3, 2);
  EventLog Log(M);
  M.Fill(2.0);
  M.Fill(3, 2, 0, 0, 7.0);  // columns 2..3, all rows
  M.FillDiag(-1.0);
  EXPECT_EQ(Log.Calls, "CCC");
  EXPECT_EQ(RowsOf(M), (Rows{{-1, 7, 7}, {2, -1, 7}}));
  M.FillSerial(0.0, 0.1);  // a running sum, fires nothing
  EXPECT_EQ(Log.Calls, "CCC");
  double X = 0.0;
  for (int c = 1; c <= 3; ++c) {
    for (int r = 1; r <= 2; ++r) {
      EXPECT_EQ(M.GetVal(c, r), X);
      X += 0.1;
    }
  }
  NMX_platform::SetRandSeed(7);
  M.FillRandomUniform(2, 3, 1, 1, 5.0, 6.0);
  EXPECT_EQ(M.GetVal(1, 1), 0.0);
  EXPECT_GE(M.GetVal(2, 1), 5.0);
  EXPECT_LT(M.GetVal(3, 1), 6.0);
  EXPECT_EQ(M.GetVal(2, 2), 0.30000000000000004);
  M.FillRandomGauss(10.0, 0.0);
  EXPECT_EQ(RowsOf(M), (Rows{{10, 10, 10}, {10, 10, 10}}));
  EXPECT_EQ(Log.Calls, "CCCCC");
}

TEST(Matrix, RemoveColumnAndRow) {
  TMatrix M;
  SetRows(M, {{1, 2, 3}, {4, 5, 6}});
  EventLog Log(M);
  EXPECT_TRUE(M.RemoveColumn(2));
  EXPECT_EQ(RowsOf(M), (Rows{{1, 3}, {4, 6}}));
  EXPECT_TRUE(M.RemoveRow(1));
  EXPECT_EQ(RowsOf(M), (Rows{{4, 6}}));
  EXPECT_EQ(Log.Calls, "CRCR");
  EXPECT_FALSE(M.RemoveRow(1));
  EXPECT_FALSE(M.RemoveColumn(3));
  EXPECT_FALSE(M.RemoveColumn(0));
  EXPECT_TRUE(M.RemoveColumn(1));
  EXPECT_FALSE(M.RemoveColumn(1));
  EXPECT_EQ(RowsOf(M), (Rows{{6}}));
}

TEST(Matrix, ChecksumOfOneZeroCell) {
  // Eight registers, each fed with one zero byte: the same group eight times.
  const std::uint32_t Reg = ~NMX_nmxbase::CalcNextCRC32(0, 0xFFFFFFFFU);
  char Group[9];
  std::snprintf(Group, sizeof Group, "%08X", Reg);
  std::string Want;
  for (int K = 0; K < 8; ++K) Want += Group;
  TMatrix M;
  EXPECT_EQ(M.CRCofData(), Want);
  EXPECT_EQ(Want.substr(0, 8), "D202EF8D");  // CRC-32 of one zero byte
  // A change of one byte changes its register's group only.
  M.SetVal(1, 1, std::ldexp(1.0, -1074));  // byte 0 becomes 1
  EXPECT_NE(M.CRCofData().substr(0, 8), Want.substr(0, 8));
  EXPECT_EQ(M.CRCofData().substr(8), Want.substr(8));
}

TEST(Matrix, AssignCopiesEverythingAndFiresNothing) {
  TMatrix Src, Dest;
  SetRows(Src, {{1, 2}, {3, 4}, {5, 6}});
  Src.SetDataID("id");
  Src.SetFPrecis(1, 4);
  int SourceCalls = 0;
  Src.OnChange = [&](NMX_platform::TObject*) { ++SourceCalls; };
  Src.OnCalcDistance = [](NMX_platform::TObject*, int, int, double& D) { D = 1; };
  Dest.Assign(&Src);
  EXPECT_EQ(SourceCalls, 0);
  EXPECT_EQ(RowsOf(Dest), RowsOf(Src));
  EXPECT_EQ(Dest.DataID(), "id");
  EXPECT_EQ(Dest.Precision(1), 4);
  EXPECT_TRUE(Dest.OnCalcDistance);
  Dest.SetVal(1, 1, 0.0);  // the handler came along
  EXPECT_EQ(SourceCalls, 1);
  TVector V;
  EXPECT_THROW(Dest.Assign(&V), NMX_platform::EConvertError);
  EXPECT_THROW(V.Assign(&Dest), NMX_platform::EConvertError);
}

TEST(Matrix, CloneCopiesCellsOnly) {
  TMatrix Src, Dest;
  SetRows(Src, {{1, 2, 3}, {4, 5, 6}});
  Src.SetDataID("x");
  EventLog Log(Dest);
  Dest.Clone(&Src);
  EXPECT_EQ(RowsOf(Dest), RowsOf(Src));
  EXPECT_EQ(Log.Calls, "CR" + std::string(6, 'C') + "CR");
  EXPECT_TRUE(Dest.DataID().empty());
  Dest.Clone(nullptr);
  EXPECT_EQ(RowsOf(Dest), RowsOf(Src));
}

TEST(Matrix, CopyFromMatrix) {
  TMatrix Src, Dest;
  SetRows(Src, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  Dest.Resize(3, 3);
  Dest.CopyFrom(&Src, 0, 0, 0, 0, 1, 1);  // two zeros pick cell [1, 1] only
  EXPECT_EQ(RowsOf(Dest), (Rows{{1, 0, 0}, {0, 0, 0}, {0, 0, 0}}));
  Dest.CopyFrom(&Src, 3, 3, 2, 2, 2, 1);  // reversed bounds: columns 2..3, rows 2..3
  EXPECT_EQ(RowsOf(Dest), (Rows{{1, 5, 6}, {0, 8, 9}, {0, 0, 0}}));
  EventLog Log(Dest);
  Dest.CopyFrom(&Src, 1, 1, 99, 99, 3, 3);  // only [1, 1] lands inside
  EXPECT_EQ(Log.Calls, "CC");
  EXPECT_EQ(Dest.GetVal(3, 3), 1.0);
  // Onto itself, overlapping: the block is read before it is written.
  Src.CopyFrom(&Src, 1, 1, 2, 2, 2, 2);
  EXPECT_EQ(RowsOf(Src), (Rows{{1, 2, 3}, {4, 1, 2}, {7, 4, 5}}));
}

TEST(Matrix, CopiesToVectors) {
  TMatrix M;
  SetRows(M, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  TVector V;
  V.Resize(3);
  M.CopyRowToVec(&V, 9, 0, 0);  // row clamped to 2; four columns cut to three
  EXPECT_EQ(std::vector<double>(V.Data().begin(), V.Data().end()), (std::vector<double>{5, 6, 7}));
  V.Resize(5);
  M.CopyColToVec(&V, 3, 1, 2, 4);  // elements 4, 5
  EXPECT_EQ(std::vector<double>(V.Data().begin(), V.Data().end()),
            (std::vector<double>{0, 0, 0, 3, 7}));
  M.CopyRowToVec(&V, 1, 1, 4, -1);  // positions -1, 0 dropped
  EXPECT_EQ(std::vector<double>(V.Data().begin(), V.Data().end()),
            (std::vector<double>{3, 4, 0, 0, 0}));
  M.CopyRowToVec(&V, 1, 1, 4, 6);  // beyond the vector: nothing
  M.CopyRowToVec(&V, 1, 1, 4, -3);  // nothing would reach position 1
  EXPECT_EQ(V.GetVal(1), 3.0);
  M.CopyRowToVec(&V, 1, 1, 4, 3);  // cut: elements 3..5 get columns 1..3
  EXPECT_EQ(std::vector<double>(V.Data().begin(), V.Data().end()),
            (std::vector<double>{0, 0, 1, 2, 3}));
  M.CopyRowToVec(nullptr, 1, 1, 1);
}

TEST(Matrix, CopiesTo1DArrays) {
  TMatrix M;
  SetRows(M, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  TDoubleArray A(4, -1.0);
  M.CopyColTo1DArray(A, 2, 1, 3, 2);  // indices 2, 3 take rows 1, 2; row 3 falls off
  EXPECT_EQ(A, (TDoubleArray{0, 0, 2, 5}));
  M.CopyRowTo1DArray(A, 3, 0, 0, -1);  // index -1 dropped
  EXPECT_EQ(A, (TDoubleArray{8, 9, 0, 0}));
  M.CopyRowTo1DArray(A, 3, 0, 0, 4);  // DestElem beyond the array: nothing
  M.CopyRowTo1DArray(A, 3, 0, 0, -3);  // nothing would reach index 0
  EXPECT_EQ(A, (TDoubleArray{8, 9, 0, 0}));
  TDoubleArray Empty;
  M.CopyColTo1DArray(Empty, 1, 1, 3, 0);
  EXPECT_TRUE(Empty.empty());
}

TEST(Matrix, CopiesFromVectors) {
  TVector V;
  V.Resize(3);
  for (int K = 1; K <= 3; ++K) V.SetVal(K, K * 10.0);
  TMatrix M;
  M.Resize(3, 3);
  M.CopyFromVec(NMX_nmxbase::dimColumns, &V, 2, 3, 2, 1);  // along row 1 from column 2
  M.CopyFromVec(&V, 0, 0, 1, 2);  // down column 1 from row 2, the third value drops
  M.CopyFromVec(&V, 1, 1, 3, 3, false);
  EXPECT_EQ(RowsOf(M), (Rows{{0, 20, 30}, {10, 0, 0}, {20, 0, 10}}));
  EventLog Log(M);
  M.CopyFromVec(static_cast<NMX_nmxbase::TDims>(7), &V, 1, 3, 1, 1);
  EXPECT_EQ(Log.Calls, "C");
  EXPECT_EQ(M.GetVal(1, 1), 0.0);
}

TEST(Matrix, CopyToArrayCodes) {
  TMatrix M;
  SetRows(M, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}, {16, 17, 18, 19, 20},
              {21, 22, 23, 24, 25}});
  TDouble2DArray D(2, TDoubleArray(2, 0.0));
  EXPECT_EQ(M.CopyToArray(D, 1, 5, 1, 2, 0, 0), -3);  // reversed rows
  EXPECT_EQ(M.CopyToArray(D, 5, 1, 2, 1, 0, 0), 0);   // reversed columns are accepted
  EXPECT_EQ(D, (TDouble2DArray{{2, 0}, {3, 0}}));
  EXPECT_EQ(M.CopyToArray(D, 0, 6, 1, 1, 0, 0), -2);
  EXPECT_EQ(M.CopyToArray(D, 1, 1, 1, 1, 2, 0), -4);
  EXPECT_EQ(M.CopyToArray(D, 1, 1, 1, 1, 0, -1), -4);
  TDouble2DArray Empty;
  EXPECT_EQ(M.CopyToArray(Empty, 1, 1, 1, 1, 0, 0), -1);
  TDouble2DArray NoRows(2);
  EXPECT_EQ(M.CopyToArray(NoRows, 1, 1, 1, 1, 0, 0), -1);
  EXPECT_EQ(M.CopyToArray(D, 0, 0, 0, 0, 1, 1), 0);  // everything, cut to one cell
  EXPECT_EQ(D, (TDouble2DArray{{2, 0}, {3, 1}}));
  M.SetVal(1, 1, 2.5);
  M.SetVal(2, 1, 3.5);
  TInt2DArray I(2, TIntArray(1, 0));
  EXPECT_EQ(M.CopyToArray(I, 1, 1, 2, 1, 0, 0), 0);
  EXPECT_EQ(I, (TInt2DArray{{2}, {4}}));  // halves to even
}

TEST(Matrix, CopyFromArrays) {
  TMatrix M;
  M.Resize(2, 4);
  EXPECT_EQ(M.CopyFromArray(TDoubleArray{1, 2, 3, 4}, 2, 3, 1, 1, true), 0);
  EXPECT_EQ(RowsOf(M), (Rows{{0, 0}, {0, 0}, {3, 0}, {4, 0}}));  // the index, not i - First
  EXPECT_EQ(M.CopyFromArray(TIntArray{7, 8, 9}, 0, 0, 1, 4, false), 0);
  EXPECT_EQ(RowsOf(M).back(), (std::vector<double>{7, 8}));
  EXPECT_EQ(M.CopyFromArray(TDoubleArray{}, 0, 0, 1, 1, true), -1);
  EXPECT_EQ(M.CopyFromArray(TDoubleArray{1}, 0, 1, 1, 1, true), -4);
  EXPECT_EQ(M.CopyFromArray(TDoubleArray{1}, 0, 0, 3, 1, true), -5);

  TMatrix N;
  N.Resize(3, 3);
  const TDouble2DArray Src{{1, 2, 3}, {4, 5, 6}};
  EXPECT_EQ(N.CopyFromArray(Src, 0, 1, 0, 2, 1, 1), 0);  // all columns, rows 1..2
  EXPECT_EQ(RowsOf(N), (Rows{{0, 0, 0}, {2, 5, 0}, {3, 6, 0}}));
  EXPECT_EQ(N.CopyFromArray(Src, 1, 0, 0, 0, 1, 1), 0);  // reversed columns: nothing
  EXPECT_EQ(N.CopyFromArray(TDouble2DArray{}, 0, 0, 0, 0, 1, 1), -1);
  EXPECT_EQ(N.CopyFromArray(Src, 0, 0, 2, 0, 1, 1), -2);
  EXPECT_EQ(N.CopyFromArray(Src, 0, 0, 0, 3, 1, 1), -3);
  EXPECT_EQ(N.CopyFromArray(Src, 0, 0, 0, 0, 1, 4), -5);
  EXPECT_EQ(N.CopyFromArray(TInt2DArray{{9}}, 0, 0, 0, 0, 3, 3), 0);
  EXPECT_EQ(N.GetVal(3, 3), 9.0);
}

TEST(Matrix, DuplicateDataAsArray) {
  TMatrix M;
  SetRows(M, {{1, 2}, {3, 4}, {5, 6}});
  TDouble2DArray D;
  EXPECT_EQ(M.DuplicateDataAsArray(D), -1);
  EXPECT_TRUE(D.empty());
  D.resize(1);
  EXPECT_EQ(M.DuplicateDataAsArray(D), 0);
  EXPECT_EQ(D, (TDouble2DArray{{1, 3, 5}, {2, 4, 6}}));
}

}  // namespace
