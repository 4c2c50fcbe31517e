#include "nmx/vector/intvector.h"

#include <gtest/gtest.h>

#include "vector/vector_builders.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "nmx/platform/exceptions.h"
#include "nmx/vector/vector.h"

namespace {

using vec_test::SetValues;
using vec_test::Values;

using NMX_nmxbase::TInt2DArray;
using NMX_nmxbase::TIntArray;
using NMX_vector::TIntVector;

TEST(IntVector, NewVectorAndResize) {
  TIntVector V;
  EXPECT_EQ(V.ClassName(), "TIntVector");
  EXPECT_EQ(V.NrOfElem(), 1);
  EXPECT_EQ(V.GetVal(1), 0);
  EXPECT_TRUE(V.IsEmpty());

  std::string Calls;
  V.OnChange = [&Calls](NMX_platform::TObject*) { Calls += 'C'; };
  V.OnResize = [&Calls](NMX_platform::TObject*) { Calls += 'R'; };
  V.SetIntVecSize(0);
  EXPECT_FALSE(V.Resize(-3));
  EXPECT_EQ(Calls, "");
  V.SetIntVecSize(3);
  EXPECT_EQ(Calls, "CR");
  V.SetVal(4, 9);
  EXPECT_EQ(V.GetVal(4), 0);
  EXPECT_TRUE(V.IsEmpty());
  EXPECT_EQ(Values(V), (TIntArray{0, 0, 0}));
}

TEST(IntVector, ArithmeticWrapsAround) {
  TIntVector V, W;
  SetValues(V, {1 << 30, INT_MAX, INT_MIN, -5});
  V.SMult(4);  // 2^32 wraps to 0; INT_MAX * 4 = -4 modulo 2^32; INT_MIN * 4 = 0
  EXPECT_EQ(Values(V), (TIntArray{0, -4, 0, -20}));

  SetValues(V, {INT_MAX, INT_MIN, INT_MIN, 7});
  SetValues(W, {1, -1, 0, -9});
  V.Add(&W);
  EXPECT_EQ(Values(V), (TIntArray{INT_MIN, INT_MAX, INT_MIN, -2}));
  V.Subtract(&W);
  EXPECT_EQ(Values(V), (TIntArray{INT_MAX, INT_MIN, INT_MIN, 7}));
  V.AbsVal();  // -2^31 has no positive twin and stays as it is
  EXPECT_EQ(Values(V), (TIntArray{INT_MAX, INT_MIN, INT_MIN, 7}));

  V.FillSerial(INT_MAX - 1, 1);
  EXPECT_EQ(Values(V), (TIntArray{INT_MAX - 1, INT_MAX, INT_MIN, INT_MIN + 1}));
  V.FillSerial(5, -2);
  EXPECT_EQ(Values(V), (TIntArray{5, 3, 1, -1}));
}

TEST(IntVector, LengthSquaresAsDoubles) {
  TIntVector V;
  SetValues(V, {3, -4});
  EXPECT_EQ(V.Leng(), 5.0);
  SetValues(V, {INT_MIN, INT_MIN});  // 2 * 2^62 overflows any 64-bit integer sum of squares
  EXPECT_EQ(V.CalcVecLeng(), std::sqrt(0x1p63));
}

TEST(IntVector, CRCofData) {
  // References: python3 -c "import zlib; print('%08X' % zlib.crc32(b'\0'))" gives D202EF8D;
  // for [1, -2, 2147483647] lane j is
  // zlib.crc32(bytes(b[j] for b in [struct.pack('<i', x) for x in (1, -2, 2**31 - 1)])).
  TIntVector V;
  EXPECT_EQ(V.CRCofData(), "D202EF8DD202EF8DD202EF8DD202EF8D");
  SetValues(V, {1, -2, INT_MAX});
  EXPECT_EQ(V.CRCofData(), "59BE909B4167CBED4167CBEDACDF48CD");
}

TEST(IntVector, CopiesInAndOut) {
  TIntVector V, Src;
  SetValues(Src, {10, 20, 30});
  V.Resize(4);
  EXPECT_EQ(V.CopyFrom(&Src, 2, 3, 3), 0);
  EXPECT_EQ(Values(V), (TIntArray{0, 0, 20, 30}));
  EXPECT_EQ(V.CopyFrom(&Src, 0, 4, 9), -3);
  EXPECT_EQ(V.CopyFrom(TIntArray{7, 8}, 0, 0, 0), 0);
  EXPECT_EQ(Values(V), (TIntArray{8, 0, 20, 30}));

  const TInt2DArray A{{11, 12}, {21, 22}};
  V.CopyFrom2DArrayRow(A, 1, 0, 1, 1);
  V.CopyFrom2DArrayColumn(A, 1, 0, 1, 3);
  EXPECT_EQ(Values(V), (TIntArray{12, 22, 21, 22}));

  TIntArray Out{5};
  V.CopyToArray(Out, 3, 4, 1);
  EXPECT_EQ(Out, (TIntArray{5, 21, 22}));
  TInt2DArray Grid(2, TIntArray(3, 0));
  V.CopyToArray(Grid, 1, 4, 1, 1, true);
  EXPECT_EQ(Grid, (TInt2DArray{{0, 0, 0}, {0, 12, 22}}));

  TIntVector Copy;
  Copy.Clone(&V);
  EXPECT_EQ(Values(Copy), Values(V));
}

TEST(IntVector, AssignAcceptsIntVectorsOnly) {
  TIntVector Src, Dest;
  SetValues(Src, {1, 2});
  int Changes = 0;
  Src.OnChange = [&Changes](NMX_platform::TObject*) { ++Changes; };
  Dest.Assign(&Src);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Values(Dest), (TIntArray{1, 2}));
  EXPECT_FALSE(Dest.IsEmpty());
  Dest.SetVal(1, 5);
  EXPECT_EQ(Changes, 1);

  NMX_vector::TVector Doubles;
  try {
    Dest.Assign(&Doubles);
    ADD_FAILURE() << "no exception";
  } catch (const NMX_platform::EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TVector to a TIntVector");
  }
}

TEST(IntVector, DimensionMismatchRaises) {
  TIntVector A, B;
  A.SetName("counts");
  B.Resize(2);
  try {
    A.Add(&B);
    ADD_FAILURE() << "no exception";
  } catch (const NMX_vector::ENMXVectorError& E) {
    EXPECT_STREQ(E.what(), "Component \"counts\": vectors have different dimensions");
  }
  EXPECT_THROW(A.Subtract(&B), NMX_vector::ENMXVectorError);
  A.Add(nullptr);
  EXPECT_EQ(A.GetVal(1), 0);
}

}  // namespace
