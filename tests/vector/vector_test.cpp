#include "nmx/vector/vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "nmx/platform/exceptions.h"
#include "nmx/platform/random.h"
#include "nmx/vector/intvector.h"
#include "support/tolerance.h"
#include "vector/vector_builders.h"

namespace {

using vec_test::SetValues;
using vec_test::Values;

using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDoubleArray;
using NMX_vector::TVector;

// Records the notifications of a vector in the order they come.
struct EventLog {
  std::string Calls;
  int Changes = 0;

  explicit EventLog(TVector& V) {
    V.OnChange = [this, &V](NMX_platform::TObject* Sender) {
      EXPECT_EQ(Sender, &V);
      Calls += 'C';
      ++Changes;
    };
    V.OnResize = [this, &V](NMX_platform::TObject* Sender) {
      EXPECT_EQ(Sender, &V);
      Calls += 'R';
    };
    V.OnSortExchange = [this](NMX_platform::TObject*, std::uint8_t, int, int, int, int) {
      Calls += 'S';
    };
  }
};

TEST(Vector, NewVectorHasOneZeroElementAndIsEmpty) {
  TVector V;
  EXPECT_EQ(V.ClassName(), "TVector");
  EXPECT_EQ(V.NrOfElem(), 1);
  EXPECT_EQ(V.GetVal(1), 0.0);
  EXPECT_TRUE(V.IsEmpty());
  EXPECT_FALSE(V.OnChange);
  EXPECT_FALSE(V.OnResize);
  EXPECT_FALSE(V.OnSortExchange);
}

TEST(Vector, ResizeRules) {
  TVector V;
  SetValues(V, {1, 2, 3});
  V.SetIsEmpty(true);
  EventLog Log(V);

  EXPECT_FALSE(V.Resize(0));
  EXPECT_FALSE(V.Resize(-3));
  V.SetVecSize(0);
  EXPECT_TRUE(V.Resize(3));
  EXPECT_EQ(Log.Calls, "");
  EXPECT_EQ(Values(V), (TDoubleArray{1, 2, 3}));

  EXPECT_TRUE(V.Resize(5));
  EXPECT_EQ(Log.Calls, "CR");  // OnChange comes before OnResize
  EXPECT_EQ(Values(V), (TDoubleArray{1, 2, 3, 0, 0}));
  V.SetVecSize(2);
  EXPECT_EQ(Log.Calls, "CRCR");
  EXPECT_EQ(Values(V), (TDoubleArray{1, 2}));
  EXPECT_TRUE(V.IsEmpty());  // resizing leaves the marker alone
}

TEST(Vector, ElementAccessOutsideTheRangeDoesNothing) {
  TVector V;
  V.Resize(3);
  EventLog Log(V);
  for (int Elem : {0, 4, -1}) {
    V.SetVal(Elem, 7.0);
    EXPECT_EQ(V.GetVal(Elem), 0.0);
  }
  EXPECT_TRUE(V.IsEmpty());
  EXPECT_EQ(Log.Calls, "");
  EXPECT_EQ(Values(V), (TDoubleArray{0, 0, 0}));

  V.SetVal(3, 7.0);
  EXPECT_EQ(V.Elem(3), 7.0);
  EXPECT_FALSE(V.IsEmpty());
  EXPECT_EQ(Log.Calls, "C");
}

TEST(Vector, MakeValidElemRange) {
  struct Case {
    int Low, High, WantLow, WantHigh, WantStatus;
  };
  const Case Cases[] = {
      {0, 0, 1, 10, 0}, {5, 2, 2, 5, 0},  {-1, 99, 1, 10, -1},  {3, 7, 3, 7, 0},
      {0, 5, 1, 5, -1}, {4, 0, 1, 4, -1}, {11, 12, 10, 10, -1}, {12, -5, 1, 10, -1},
  };
  TVector V;
  V.Resize(10);
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    int Low = C.Low, High = C.High;
    EXPECT_EQ(V.MakeValidElemRange(Low, High), C.WantStatus) << C.Low << ", " << C.High;
    EXPECT_EQ(Low, C.WantLow) << C.Low << ", " << C.High;
    EXPECT_EQ(High, C.WantHigh) << C.Low << ", " << C.High;
  }
}

struct CopyCase {
  int Lo, Hi, Dest, Status;
  TDoubleArray Want;  // the destination afterwards, starting from five zeros
};

TEST(Vector, CopyFromVectorStatusAndPlacement) {
  const CopyCase Cases[] = {
      {0, 0, 0, 0, {20, 30, 0, 0, 0}},  // whole source; DestElem 0 drops the first element
      {0, 0, 4, 0, {0, 0, 0, 10, 20}},  // whole source; the last element is dropped
      {1, 3, 1, 0, {10, 20, 30, 0, 0}},
      {3, 2, 2, 0, {0, 20, 30, 0, 0}},  // reversed range
      {2, 3, 5, 0, {0, 0, 0, 0, 20}},
      {0, 2, 1, -2, {0, 0, 0, 0, 0}},
      {1, 4, 1, -2, {0, 0, 0, 0, 0}},
      {1, 2, 0, -3, {0, 0, 0, 0, 0}},
      {1, 2, 6, -3, {0, 0, 0, 0, 0}},
      {0, 4, 9, -3, {0, 0, 0, 0, 0}},  // invalid source and invalid dest: -3
  };
  TVector Src;
  SetValues(Src, {10, 20, 30});
  for (const CopyCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector Dest;
    Dest.Resize(5);
    EventLog Log(Dest);
    EXPECT_EQ(Dest.CopyFrom(&Src, C.Lo, C.Hi, C.Dest), C.Status)
        << C.Lo << ", " << C.Hi << " -> " << C.Dest;
    EXPECT_EQ(Values(Dest), C.Want) << C.Lo << ", " << C.Hi << " -> " << C.Dest;
    if (C.Status != 0) {
      EXPECT_EQ(Log.Calls, "");
    }
    EXPECT_EQ(Dest.IsEmpty(), C.Status != 0);
  }
  TVector Dest;
  EXPECT_EQ(Dest.CopyFrom(static_cast<const TVector*>(nullptr), 1, 1, 1), -1);
}

TEST(Vector, CopyFromArrayStatusAndPlacement) {
  const CopyCase Cases[] = {
      {0, 0, 0, 0, {20, 30, 0, 0, 0}},  {0, 0, 4, 0, {0, 0, 0, 10, 20}},
      {0, 2, 1, 0, {10, 20, 30, 0, 0}}, {2, 1, 2, 0, {0, 20, 30, 0, 0}},
      {-1, 1, 1, -2, {0, 0, 0, 0, 0}},  {0, 3, 1, -2, {0, 0, 0, 0, 0}},
      {0, 1, 0, -3, {0, 0, 0, 0, 0}},   {-1, 5, 6, -3, {0, 0, 0, 0, 0}},
  };
  const TDoubleArray Src{10, 20, 30};
  for (const CopyCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    TVector Dest;
    Dest.Resize(5);
    EXPECT_EQ(Dest.CopyFrom(Src, C.Lo, C.Hi, C.Dest), C.Status)
        << C.Lo << ", " << C.Hi << " -> " << C.Dest;
    EXPECT_EQ(Values(Dest), C.Want) << C.Lo << ", " << C.Hi << " -> " << C.Dest;
  }
  TVector Dest;
  EXPECT_EQ(Dest.CopyFrom(TDoubleArray{}, 0, 0, 1), -1);
}

// The copies write through SetVal when a handler listens and straight into the array when
// none does; both paths must leave the same data.
class CopyPaths : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      V.OnChange = [this](NMX_platform::TObject*) { ++Changes; };
      V.OnResize = [this](NMX_platform::TObject*) { ++Resizes; };
    }
  }
  int Expect(int Count) const { return GetParam() ? Count : 0; }

  TVector V;
  int Changes = 0;
  int Resizes = 0;
};

TEST_P(CopyPaths, CloneFiresPerElementAfterTheResize) {
  TVector Src;
  SetValues(Src, {1.5, -2, 3});
  V.Clone(&Src);
  EXPECT_EQ(Values(V), (TDoubleArray{1.5, -2, 3}));
  EXPECT_FALSE(V.IsEmpty());
  EXPECT_EQ(Changes, Expect(1 + 3 + 1));  // resize, three elements, the end
  EXPECT_EQ(Resizes, Expect(1));
  V.Clone(nullptr);
  EXPECT_EQ(Changes, Expect(5));
}

TEST_P(CopyPaths, CopyFromFiresPerElementWritten) {
  V.Resize(5);
  Changes = Resizes = 0;
  TVector Src;
  SetValues(Src, {10, 20, 30});
  EXPECT_EQ(V.CopyFrom(&Src, 0, 0, 4), 0);  // two of three targets in range
  EXPECT_EQ(Changes, Expect(2 + 1));
  EXPECT_EQ(V.CopyFrom(TDoubleArray{1, 2}, 0, 0, 1), 0);
  EXPECT_EQ(Changes, Expect(3 + 2 + 1));
  EXPECT_EQ(Values(V), (TDoubleArray{1, 2, 0, 10, 20}));
}

TEST_P(CopyPaths, OverlappingSelfCopyRepeatsValues) {
  SetValues(V, {1, 2, 3, 4, 5});
  EXPECT_EQ(V.CopyFrom(&V, 1, 3, 2), 0);
  EXPECT_EQ(Values(V), (TDoubleArray{1, 1, 1, 1, 5}));
  EXPECT_EQ(V.CopyFrom(&V, 4, 5, 1), 0);  // downwards it is a plain move
  EXPECT_EQ(Values(V), (TDoubleArray{1, 5, 1, 1, 5}));
}

TEST_P(CopyPaths, FillsFirePerElement) {
  V.Resize(11);
  Changes = 0;
  V.FillSerial(0.0, 0.1);
  EXPECT_EQ(Changes, Expect(11 + 1));
  EXPECT_FALSE(V.IsEmpty());
  // Step-by-step accumulation: ten additions of 0.1 give 0.9999999999999999, not 10 * 0.1.
  double Sum = 0.0;
  for (int K = 0; K < 10; ++K) Sum += 0.1;
  EXPECT_EQ(V.GetVal(11), Sum);
  EXPECT_NE(V.GetVal(11), 1.0);
  EXPECT_EQ(V.GetVal(1), 0.0);

  V.Fill(2.5);
  EXPECT_EQ(Values(V), TDoubleArray(11, 2.5));
  V.Clear();
  EXPECT_EQ(Values(V), TDoubleArray(11, 0.0));
  EXPECT_TRUE(V.IsEmpty());
  EXPECT_EQ(Changes, Expect(12 + 12 + 1));  // Clear fires once
}

INSTANTIATE_TEST_SUITE_P(Vector, CopyPaths, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& Info) {
                           return Info.param ? "WithHandler" : "WithoutHandler";
                         });

TEST(Vector, CopyToArraySizesTheArrayExactly) {
  TVector V;
  SetValues(V, {1, 2, 3});
  TDoubleArray A{7, 8, 9, 9, 9, 9, 9};
  V.CopyToArray(A, 1, 2, 3);
  EXPECT_EQ(A, (TDoubleArray{7, 8, 9, 1, 2}));  // entries below DestElem kept, the rest cut

  TDoubleArray B;
  V.CopyToArray(B, 0, 0, -2);  // DestElem below 0 counts as 0
  EXPECT_EQ(B, (TDoubleArray{1, 2, 3}));
  V.CopyToArray(B, 3, 99, 1);  // the range is clipped to 3..3
  EXPECT_EQ(B, (TDoubleArray{1, 3}));
}

TEST(Vector, CopyFrom2DArrayRowAndColumnClip) {
  // Three columns of three rows, addressed [column][row].
  const TDouble2DArray A{{11, 12, 13}, {21, 22, 23}, {31, 32, 33}};
  TVector V;
  V.Resize(4);
  EventLog Log(V);

  V.CopyFrom2DArrayRow(A, 1, 0, 2, 2);
  EXPECT_EQ(Values(V), (TDoubleArray{0, 12, 22, 32}));
  V.CopyFrom2DArrayRow(A, 99, 5, -1, 3);  // row clipped to 2, columns to 2..0
  EXPECT_EQ(Values(V), (TDoubleArray{0, 12, 13, 23}));
  V.CopyFrom2DArrayColumn(A, 7, 1, 0, 0);  // column 2, rows 0..1, the first target dropped
  EXPECT_EQ(Values(V), (TDoubleArray{32, 12, 13, 23}));
  EXPECT_EQ(Log.Changes, (3 + 1) + (2 + 1) + (1 + 1));  // writes in range, then the end

  // No target inside the vector: nothing is copied and nothing fires.
  Log.Calls.clear();
  V.CopyFrom2DArrayRow(A, 0, 0, 2, -2);
  V.CopyFrom2DArrayColumn(A, 0, 0, 2, 5);
  V.CopyFrom2DArrayRow(TDouble2DArray{}, 0, 0, 2, 1);
  V.CopyFrom2DArrayColumn(TDouble2DArray{{}, {1}}, 1, 0, 0, 1);
  EXPECT_EQ(Log.Calls, "");
  EXPECT_EQ(Values(V), (TDoubleArray{32, 12, 13, 23}));
}

TEST(Vector, CopiesSkipTheMissingCellsOfRaggedArrays) {
  // Column 1 is shorter than column 0, column 2 longer.
  const TDouble2DArray A{{11, 12, 13}, {21}, {31, 32, 33, 34}};
  TVector V;
  V.Resize(4);
  V.CopyFrom2DArrayRow(A, 2, 0, 2, 1);
  EXPECT_EQ(Values(V), (TDoubleArray{13, 0, 33, 0}));
  V.CopyFrom2DArrayColumn(A, 1, 0, 2, 2);  // rows follow column 0; column 1 has row 0 only
  EXPECT_EQ(Values(V), (TDoubleArray{13, 21, 33, 0}));

  SetValues(V, {1, 2, 3});
  TDouble2DArray B{{0, 0, 0}, {0}, {0, 0}};
  V.CopyToArray(B, 0, 0, 0, 1, false);  // a row across the columns; column 1 has no row 1
  EXPECT_EQ(B, (TDouble2DArray{{0, 1, 0}, {0}, {0, 3}}));
  V.CopyToArray(B, 0, 0, 1, 0, true);  // down column 1, which holds one cell
  EXPECT_EQ(B, (TDouble2DArray{{0, 1, 0}, {1}, {0, 3}}));
}

TEST(Vector, CopyToArray2DClipsAndNeverResizes) {
  TVector V;
  SetValues(V, {1, 2, 3});
  TDouble2DArray A(3, TDoubleArray(2, 0.0));
  V.CopyToArray(A, 0, 0, 9, -4, true);  // column clipped to 2, row to 0; the third is skipped
  EXPECT_EQ(A, (TDouble2DArray{{0, 0}, {0, 0}, {1, 2}}));
  V.CopyToArray(A, 2, 3, 1, 7, false);  // row clipped to 1; columns 1 and 2
  EXPECT_EQ(A, (TDouble2DArray{{0, 0}, {0, 2}, {1, 3}}));
  TDouble2DArray Empty;
  V.CopyToArray(Empty, 0, 0, 0, 0, true);
  EXPECT_TRUE(Empty.empty());
}

TEST(Vector, CRCofData) {
  // References: python3 -c "import zlib; print('%08X' % zlib.crc32(b'\0'))" gives D202EF8D
  // (one zero byte per lane); for [1.0, -2.5] each lane j is
  // zlib.crc32(bytes(b[j] for b in [struct.pack('<d', x) for x in (1.0, -2.5)])).
  TVector V;
  std::string ZeroLane = "D202EF8D";
  std::string OneZero;
  for (int K = 0; K < 8; ++K) OneZero += ZeroLane;
  EXPECT_EQ(V.CRCofData(), OneZero);

  // -0.0 differs from 0.0 in byte 7 only (80 hex): zlib.crc32(b'\x80') is 3FBA6CAD.
  V.SetVal(1, -0.0);
  EXPECT_EQ(V.CRCofData(), OneZero.substr(0, 56) + "3FBA6CAD");

  SetValues(V, {1.0, -2.5});
  EXPECT_EQ(V.CRCofData(), "41D912FF41D912FF41D912FF41D912FF41D912FF41D912FF5208375B8263FA73");
}

TEST(Vector, ShuffleKeepsTheValuesAndFiresNothing) {
  TVector V;
  V.Resize(50);
  V.FillSerial(1, 1);
  V.SetVal(7, 3.0);  // a repeated value
  TDoubleArray Before = Values(V);
  EventLog Log(V);
  V.ShuffleElems();
  TDoubleArray After = Values(V);
  EXPECT_EQ(Log.Calls, "");
  EXPECT_NE(After, Before);  // 50 exchanges leave the order as it was with tiny probability
  std::sort(Before.begin(), Before.end());
  std::sort(After.begin(), After.end());
  EXPECT_EQ(After, Before);
}

TEST(Vector, AssignCopiesDataMarkerAndHandlers) {
  TVector Src;
  SetValues(Src, {4, 5, 6});
  Src.SetIsEmpty(true);
  EventLog Log(Src);
  TVector Dest;
  Dest.Assign(&Src);
  EXPECT_EQ(Log.Calls, "");  // nothing fires while assigning
  EXPECT_EQ(Dest.NrOfElem(), 3);
  EXPECT_EQ(Values(Dest), (TDoubleArray{4, 5, 6}));
  EXPECT_TRUE(Dest.IsEmpty());
  ASSERT_TRUE(Dest.OnChange);
  ASSERT_TRUE(Dest.OnSortExchange);
  // The handlers were copied. This one checks its Sender is Src, so clear that check first.
  int Calls = 0;
  Src.OnChange = [&Calls](NMX_platform::TObject*) { ++Calls; };
  Dest.Assign(&Src);
  Dest.SetVal(1, 1.0);
  EXPECT_EQ(Calls, 1);

  NMX_vector::TIntVector Ints;
  try {
    Dest.Assign(&Ints);
    ADD_FAILURE() << "no exception";
  } catch (const NMX_platform::EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TIntVector to a TVector");
  }
  EXPECT_THROW(Dest.Assign(nullptr), NMX_platform::EConvertError);
  EXPECT_EQ(Values(Dest), (TDoubleArray{1, 5, 6}));
}

TEST(Vector, AddAndSubtract) {
  TVector A, B;
  A.SetName("vecA");
  SetValues(A, {1, 2, 3});
  SetValues(B, {10, 20, 30});
  A.Add(&B);
  EXPECT_EQ(Values(A), (TDoubleArray{11, 22, 33}));
  A.Subtract(&A);
  EXPECT_EQ(Values(A), (TDoubleArray{0, 0, 0}));
  A.Add(nullptr);

  B.Resize(2);
  for (auto Op : {&TVector::Add, &TVector::Subtract}) {
    try {
      (A.*Op)(&B);
      ADD_FAILURE() << "no exception";
    } catch (const NMX_vector::ENMXVectorError& E) {
      EXPECT_STREQ(E.what(), "Component \"vecA\": vectors have different dimensions");
    }
  }
}

TEST(Vector, ElementwiseOperations) {
  TVector V;
  SetValues(V, {-1, 2, -3, 4});
  EventLog Log(V);
  V.AbsVal();
  EXPECT_EQ(Values(V), (TDoubleArray{1, 2, 3, 4}));
  V.Mirror();
  EXPECT_EQ(Values(V), (TDoubleArray{4, 3, 2, 1}));
  V.SMult(-0.5);
  EXPECT_EQ(Values(V), (TDoubleArray{-2, -1.5, -1, -0.5}));
  EXPECT_EQ(Log.Calls, "CCC");
  V.Resize(3);
  V.Mirror();
  EXPECT_EQ(Values(V), (TDoubleArray{-1, -1.5, -2}));
}

TEST(Vector, LengthAvoidsOverflowAndUnderflow) {
  TVector V;
  struct Case {
    double A, B, Length;
  };
  // 3-4-5 triangles at every scale, down to subnormal elements: exact lengths.
  const Case Cases[] = {
      {3, 4, 5},
      {std::ldexp(3.0, 700), std::ldexp(4.0, 700), std::ldexp(5.0, 700)},
      {std::ldexp(3.0, -700), std::ldexp(4.0, -700), std::ldexp(5.0, -700)},
      {std::ldexp(3.0, -1070), std::ldexp(4.0, -1070), std::ldexp(5.0, -1070)},
      {std::numeric_limits<double>::max(), 0, std::numeric_limits<double>::max()},
      {0, 0, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    SetValues(V, {C.A, C.B});
    NMX_EXPECT_ULPS(V.CalcVecLeng(), C.Length, 1);
  }
  SetValues(V, {1, std::numeric_limits<double>::infinity()});
  EXPECT_EQ(V.Leng(), std::numeric_limits<double>::infinity());
  SetValues(V, {std::numeric_limits<double>::infinity(), std::nan("")});
  EXPECT_TRUE(std::isnan(V.Leng()));
}

TEST(Vector, LengthOfHugeAndTinyDataMatchesExtendedPrecision) {
  // Reference: the same sum of squares in long double, whose exponent range holds these
  // squares (1e-330 and 1e+330).
  NMX_platform::SetRandSeed(11);
  TVector V;
  V.Resize(257);
  for (double Scale : {1e-165, 1e165}) {
    V.FillRandomUniform(-Scale, Scale);
    long double Sum = 0.0L;
    for (double X : V.Data()) {
      const auto XL = static_cast<long double>(X);
      Sum += XL * XL;
    }
    NMX_EXPECT_ULPS(V.CalcVecLeng(), static_cast<double>(std::sqrt(Sum)), 2) << "seed 11";
  }
}

TEST(Vector, LengthOfOrdinaryDataIsThePlainSum) {
  NMX_platform::SetRandSeed(20240531);
  TVector V;
  V.Resize(1000);
  V.FillRandomGauss(0, 1e-3);
  double Sum = 0.0;
  for (double X : V.Data()) Sum += X * X;
  EXPECT_EQ(V.CalcVecLeng(), std::sqrt(Sum)) << "seed 20240531";
}

TEST(Vector, SetVecLeng) {
  TVector V;
  SetValues(V, {3, 4});
  EventLog Log(V);
  V.SetVecLeng(10);
  EXPECT_EQ(Values(V), (TDoubleArray{6, 8}));
  EXPECT_EQ(Log.Calls, "C");
  V.Clear();
  Log.Calls.clear();
  V.SetVecLeng(10);  // length 0: nothing happens
  EXPECT_EQ(Log.Calls, "");
  // A subnormal length whose reciprocal overflows still scales to the exact result.
  SetValues(V, {std::ldexp(3.0, -1070), std::ldexp(4.0, -1070)});
  V.SetVecLeng(5);
  EXPECT_EQ(Values(V), (TDoubleArray{3, 4}));
}

TEST(Vector, RandomFills) {
  NMX_platform::SetRandSeed(7);
  TVector V;
  V.Resize(200);
  V.FillRandomUniform(-2, 3);
  for (double X : V.Data()) {
    EXPECT_GE(X, -2.0);
    EXPECT_LT(X, 3.0);
  }
  EXPECT_FALSE(V.IsEmpty());
  // The first draw of the seeded generator, mapped onto the range.
  NMX_platform::SetRandSeed(7);
  EXPECT_EQ(V.GetVal(1), -2 + NMX_platform::Random() * 5);
  V.FillRandomGauss(100, 0);
  EXPECT_EQ(Values(V), TDoubleArray(200, 100.0));
}

}  // namespace
