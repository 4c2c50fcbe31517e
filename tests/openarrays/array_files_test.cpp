#include "nmx/openarrays/array_files.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "openarrays/nd_builders.h"
#include "support/temp_file.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;
using nmx_test::TempFile;

// The same bits everywhere (so NaN payloads and -0 count).
template <class A>
bool SameBits(const A& X, const A& Y) {
  const auto FX = Flat(X), FY = Flat(Y);
  return ExtentsOf(X) == ExtentsOf(Y) && FX.size() == FY.size() &&
         std::memcmp(FX.data(), FY.data(), FX.size() * sizeof(FX[0])) == 0;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Values whose shortest text is long or unusual: every one must read back bit for bit.
double Awkward(std::size_t K) {
  const double Values[] = {0.1,           -0.0,    1e-320 /* subnormal */, 1.7976931348623157e308,
                           1.0 / 3,       -2.5e-9, 123456789012345678.0,   5e-324,
                           2.0 / 3 * 1e22};
  return Values[K % 9] * static_cast<double>(K / 9 + 1);
}

template <class A>
class ArrayFilesEveryRank : public ::testing::Test {};
TYPED_TEST_SUITE(ArrayFilesEveryRank, AllNumArrays, oa_test::ArrayTypeNames);

TYPED_TEST(ArrayFilesEveryRank, TextAndBinaryRoundTrip) {
  using A = TypeParam;
  const A X = Build<A>(OddExtents<A>(), [K = std::size_t{0}](const auto&) mutable {
    if constexpr (std::is_same_v<ElemOf<A>, double>) {
      return Awkward(K++);
    } else {
      const std::int32_t V[] = {0, -1, INT32_MIN, INT32_MAX, 12345};
      return V[K++ % 5];
    }
  });
  const std::string Comment = "two\r\nlines \\ and a \\n that is not one";
  TempFile Text("text"), Binary("binary");
  ASSERT_EQ(StoreArray(Text.Path(), X, Comment), 0);
  ASSERT_EQ(SaveBinaryArray(Binary.Path(), X, Comment), 0);
  A Y, Z;
  std::string C1, C2;
  ASSERT_EQ(LoadArray(Text.Path(), Y, C1), 0);
  ASSERT_EQ(LoadBinaryArray(Binary.Path(), Z, C2), 0);
  EXPECT_TRUE(SameBits(X, Y));
  EXPECT_TRUE(SameBits(X, Z));
  EXPECT_EQ(C1, Comment);
  EXPECT_EQ(C2, Comment);

  TArrayFileHeader H;
  ASSERT_EQ(ReadBinaryArrayHeader(Binary.Path(), H), 0);
  EXPECT_EQ(H.Version, 1);
  EXPECT_EQ(H.Rank, RankOf<A>);
  EXPECT_EQ(H.Kind, (std::is_same_v<ElemOf<A>, double> ? afkDouble : afkInteger));
  for (std::size_t K = 0; K < 4; ++K) {
    EXPECT_EQ(H.Extents[K], K < RankOf<A> ? static_cast<int>(OddExtents<A>()[K]) : 0);
  }
  EXPECT_EQ(H.Comment, Comment);

  // An empty array is stored with extents 0 and reads back empty.
  A Empty;
  ASSERT_EQ(StoreArray(Text.Path(), Empty, ""), 0);
  ASSERT_EQ(LoadArray(Text.Path(), Y, C1), 0);
  EXPECT_TRUE(Y.empty());
  ASSERT_EQ(SaveBinaryArray(Binary.Path(), Empty, ""), 0);
  ASSERT_EQ(LoadBinaryArray(Binary.Path(), Z, C2), 0);
  EXPECT_TRUE(Z.empty());
}

TEST(ArrayFiles, TextLayoutAndNonFiniteValues) {
  TempFile F("layout");
  ASSERT_EQ(StoreArray(F.Path(), TDouble2DArray{{0.1, kNaN}, {-kInf, 1e300}}, "note"), 0);
  EXPECT_EQ(F.Read(), "NMXARRAY-TEXT 1\r\ndouble 2 2 2\r\nnote\r\n0.1 NAN\r\n-INF 1e+300\r\n");
  // Written by hand with LF line ends and other spacing: the reader takes it too.
  F.Write("NMXARRAY-TEXT 1\nint32  1\t3\n\n 4\n-5   +6\n");
  TIntArray I;
  std::string C = "old";
  ASSERT_EQ(LoadArray(F.Path(), I, C), 0);
  EXPECT_EQ(I, (TIntArray{4, -5, 6}));
  EXPECT_EQ(C, "");
}

TEST(ArrayFiles, WritersRefuseRaggedArraysAndBadPaths) {
  TempFile F("ragged");
  const TDouble2DArray Ragged{{1, 2}, {3}};
  EXPECT_EQ(StoreArray(F.Path(), Ragged, ""), -2);
  EXPECT_EQ(SaveBinaryArray(F.Path(), Ragged, ""), -2);
  const std::string Dir = std::filesystem::temp_directory_path().string();
  EXPECT_EQ(StoreArray(Dir, TIntArray{1}, ""), -1);
  EXPECT_EQ(SaveBinaryArray(Dir, TIntArray{1}, ""), -1);
  EXPECT_EQ(StoreArray(F.Path(), TIntArray{1}, std::string((1 << 20) + 1, 'x')), -3);
  TIntArray A;
  std::string C;
  EXPECT_EQ(LoadArray(Dir, A, C), -1);
  EXPECT_EQ(LoadArray(Dir + "/nmx_no_such_file", A, C), -1);
  EXPECT_EQ(LoadBinaryArray(Dir, A, C), -1);
}

// Little-endian bytes of V.
std::string LE(std::uint64_t V, int Bytes) {
  std::string S;
  for (int K = 0; K < Bytes; ++K) S += static_cast<char>((V >> (8 * K)) & 0xFF);
  return S;
}

// A binary header: version, kind, rank, four extents, the comment.
std::string BinaryHead(int Version, int Kind, int Rank, std::array<std::int64_t, 4> E,
                       const std::string& Comment, std::uint64_t CommentLength) {
  std::string S = "NMXARRAY" + LE(static_cast<std::uint64_t>(Version), 2) +
                  LE(static_cast<std::uint64_t>(Kind), 1) + LE(static_cast<std::uint64_t>(Rank), 1);
  for (const std::int64_t X : E) S += LE(static_cast<std::uint64_t>(X), 4);
  return S + LE(CommentLength, 4) + Comment;
}

std::string Doubles(std::initializer_list<double> Xs) {
  std::string S;
  for (const double X : Xs) S += LE(std::bit_cast<std::uint64_t>(X), 8);
  return S;
}

TEST(ArrayFiles, CorruptBinaryFiles) {
  const std::string Good = BinaryHead(1, 1, 2, {2, 1, 0, 0}, "c", 1) + Doubles({1.5, -2});
  struct Case {
    const char* What;
    std::string Bytes;
    int Status;        // LoadBinaryArray into a TDouble2DArray
    int HeaderStatus;  // ReadBinaryArrayHeader
  };
  const Case Cases[] = {
      {"valid", Good, 0, 0},
      {"empty file", "", -2, -2},
      {"half a signature", "NMXA", -2, -2},
      {"another signature", "NMXARRAX" + Good.substr(8), -2, -2},
      {"text file", "NMXARRAY-TEXT 1\r\n", -3, -3},  // "-T" read as the version
      {"ends after the signature", "NMXARRAY", -5, -5},
      {"version 2", BinaryHead(2, 1, 2, {2, 1, 0, 0}, "c", 1) + Doubles({1, 2}), -3, -3},
      {"ends within the header", Good.substr(0, 20), -5, -5},
      {"kind 3", BinaryHead(1, 3, 2, {2, 1, 0, 0}, "c", 1) + Doubles({1, 2}), -5, -5},
      {"rank 0", BinaryHead(1, 1, 0, {0, 0, 0, 0}, "", 0), -5, -5},
      {"rank 5", BinaryHead(1, 1, 5, {1, 1, 1, 1}, "", 0) + Doubles({1}), -5, -5},
      {"negative extent", BinaryHead(1, 1, 2, {-2, -1, 0, 0}, "", 0) + Doubles({1, 2}), -5, -5},
      {"extent beyond the rank", BinaryHead(1, 1, 2, {2, 1, 1, 0}, "", 0) + Doubles({1, 2}), -5,
       -5},
      {"some extents 0", BinaryHead(1, 1, 2, {2, 0, 0, 0}, "", 0), -5, -5},
      {"2^31 elements claimed", BinaryHead(1, 1, 2, {65536, 32768, 0, 0}, "", 0), -5, -5},
      {"4 GiB comment claimed", BinaryHead(1, 1, 2, {2, 1, 0, 0}, "c", 0xFFFFFFFF), -5, -5},
      {"comment cut short", BinaryHead(1, 1, 2, {2, 1, 0, 0}, "", 5) + "abc", -5, -5},
      {"integer file", BinaryHead(1, 2, 2, {2, 1, 0, 0}, "", 0) + LE(1, 4) + LE(2, 4), -4, 0},
      {"rank 1 file", BinaryHead(1, 1, 1, {2, 0, 0, 0}, "", 0) + Doubles({1, 2}), -4, 0},
      {"data cut short", Good.substr(0, Good.size() - 1), -6, 0},
      {"huge data claimed", BinaryHead(1, 1, 2, {46340, 46340, 0, 0}, "", 0) + Doubles({1}), -6, 0},
      {"trailing byte", Good + "x", -6, 0},
  };
  TempFile F("corrupt.bin");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    F.Write(C.Bytes);
    TDouble2DArray A{{7}};
    std::string Comment = "kept";
    EXPECT_EQ(LoadBinaryArray(F.Path(), A, Comment), C.Status);
    if (C.Status != 0) {
      EXPECT_EQ(A, TDouble2DArray{{7}});
      EXPECT_EQ(Comment, "kept");
    } else {
      EXPECT_EQ(A, (TDouble2DArray{{1.5}, {-2}}));
      EXPECT_EQ(Comment, "c");
    }
    TArrayFileHeader H;
    H.Rank = 99;
    EXPECT_EQ(ReadBinaryArrayHeader(F.Path(), H), C.HeaderStatus);
    if (C.HeaderStatus != 0) {
      EXPECT_EQ(H.Rank, 99);
    }
  }
}

TEST(ArrayFiles, CorruptTextFiles) {
  const std::string Sig = "NMXARRAY-TEXT 1\r\n";
  struct Case {
    const char* What;
    std::string Text;
    int Status;  // LoadArray into a TDouble2DArray
  };
  const Case Cases[] = {
      {"valid", Sig + "double 2 2 1\r\nc\r\n1.5\r\n-2\r\n", 0},
      {"empty file", "", -2},
      {"another signature", "NMXARRAY-TXT 1\r\n", -2},
      {"signature without version", "NMXARRAY-TEXT\r\n", -2},
      {"version not a number", "NMXARRAY-TEXT one\r\n", -2},
      {"binary file", std::string("NMXARRAY\x01\x00", 10), -2},
      {"version 2", "NMXARRAY-TEXT 2\r\ndouble 2 2 1\r\nc\r\n1 2\r\n", -3},
      {"ends after the signature", Sig, -5},
      {"unknown type", Sig + "float 2 2 1\r\nc\r\n1 2\r\n", -5},
      {"rank 5", Sig + "double 5 1 1 1 1 1\r\nc\r\n1\r\n", -5},
      {"too few extents", Sig + "double 2 2\r\nc\r\n1 2\r\n", -5},
      {"too many extents", Sig + "double 2 2 1 1\r\nc\r\n1 2\r\n", -5},
      {"negative extent", Sig + "double 2 -2 -1\r\nc\r\n1 2\r\n", -5},
      {"extent not an integer", Sig + "double 2 2.0 1\r\nc\r\n1 2\r\n", -5},
      {"some extents 0", Sig + "double 2 2 0\r\nc\r\n", -5},
      {"2^31 elements claimed", Sig + "double 2 65536 32768\r\nc\r\n1\r\n", -5},
      {"no comment line", Sig + "double 2 2 1\r\n", -5},
      {"bad escape in the comment", Sig + "double 2 2 1\r\nc\\t\r\n1 2\r\n", -5},
      {"comment ends in a backslash", Sig + "double 2 2 1\r\nc\\\r\n1 2\r\n", -5},
      {"integer file", Sig + "int32 2 2 1\r\nc\r\n1 2\r\n", -4},
      {"rank 1 file", Sig + "double 1 2\r\nc\r\n1 2\r\n", -4},
      {"too few values", Sig + "double 2 2 1\r\nc\r\n1\r\n", -6},
      {"too many values", Sig + "double 2 2 1\r\nc\r\n1 2 3\r\n", -6},
      {"a word that is no number", Sig + "double 2 2 1\r\nc\r\n1 2x\r\n", -6},
      {"huge count claimed", Sig + "double 2 46340 46340\r\nc\r\n1 2\r\n", -6},
      {"a word of 2 MiB", Sig + "double 2 2 1\r\nc\r\n1 " + std::string(2 << 20, '7') + "\r\n", -6},
  };
  TempFile F("corrupt.txt");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    F.Write(C.Text);
    TDouble2DArray A{{7}};
    std::string Comment = "kept";
    EXPECT_EQ(LoadArray(F.Path(), A, Comment), C.Status);
    if (C.Status != 0) {
      EXPECT_EQ(A, TDouble2DArray{{7}});
      EXPECT_EQ(Comment, "kept");
    } else {
      EXPECT_EQ(A, (TDouble2DArray{{1.5}, {-2}}));
      EXPECT_EQ(Comment, "c");
    }
  }
  // An integer out of the int32 range is no integer of the file.
  F.Write(Sig + "int32 1 1\r\n\r\n2147483648\r\n");
  TIntArray I{3};
  std::string C;
  EXPECT_EQ(LoadArray(F.Path(), I, C), -6);
  EXPECT_EQ(I, TIntArray{3});
}

}  // namespace
