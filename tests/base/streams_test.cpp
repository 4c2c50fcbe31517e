#include "nmx/base/streams.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/extended.h"
#include "nmx/platform/exceptions.h"
#include "support/temp_file.h"

namespace {

using NMX_platform::EInOutError;
using NMX_streams::ReadExtendedFromStream;
using NMX_streams::ReadLongintFromStream;
using NMX_streams::TMixedFStream;
using NMX_streams::WriteExtendedToStream;
using NMX_streams::WriteLongintToStream;
using NMX_streams::detail::ExtendedBits;

using Bytes = std::vector<std::uint8_t>;

// The host's long double is the x87 format itself: its memory is an independent oracle.
constexpr bool kHostIsX87 = std::numeric_limits<long double>::digits == 64 &&
                            std::numeric_limits<long double>::max_exponent == 16384;

std::string AsString(const Bytes& B) {
  return {B.begin(), B.end()};
}

Bytes WrittenExtended(long double X) {
  std::ostringstream Out(std::ios::binary);
  WriteExtendedToStream(Out, X);
  const std::string S = Out.str();
  return {S.begin(), S.end()};
}

long double ReadExtended(const Bytes& B, bool& Failed) {
  std::istringstream In(AsString(B), std::ios::binary);
  return ReadExtendedFromStream(In, Failed);
}

Bytes ExtendedBytes(std::uint64_t Sig, std::uint16_t SignExp) {
  Bytes B;
  for (int I = 0; I < 8; ++I) B.push_back(static_cast<std::uint8_t>(Sig >> (8 * I)));
  B.push_back(static_cast<std::uint8_t>(SignExp & 0xFFU));
  B.push_back(static_cast<std::uint8_t>(SignExp >> 8));
  return B;
}

bool SameLongDouble(long double A, long double B) {
  if (std::isnan(A) || std::isnan(B)) return std::isnan(A) && std::isnan(B);
  return A == B && std::signbit(A) == std::signbit(B);
}

// ---- the extended format --------------------------------------------------------------------

// Bit patterns of the x87 extended format (Intel SDM vol. 1, 4.2 and 4.8: significand with an
// explicit integer bit, exponent bias 16383), written and read in both directions.
struct ExtendedCase {
  const char* Name;
  long double Value;
  std::uint64_t Sig;
  std::uint16_t SignExp;
  bool NeedsX87Range;  // the value exists only where long double has the extended range
};

TEST(ExtendedStream, KnownBytePatternsBothWays) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const ExtendedCase Cases[] = {
      {"1", 1.0L, 0x8000000000000000U, 0x3FFF, false},
      {"-2", -2.0L, 0x8000000000000000U, 0xC000, false},
      {"0.5", 0.5L, 0x8000000000000000U, 0x3FFE, false},
      {"3", 3.0L, 0xC000000000000000U, 0x4000, false},
      {"0.1 (as double)", static_cast<long double>(0.1), 0xCCCCCCCCCCCCD000U, 0x3FFB, false},
      {"+0", 0.0L, 0, 0x0000, false},
      {"-0", -0.0L, 0, 0x8000, false},
      {"+inf", static_cast<long double>(kInf), 0x8000000000000000U, 0x7FFF, false},
      {"-inf", static_cast<long double>(-kInf), 0x8000000000000000U, 0xFFFF, false},
      {"largest double", static_cast<long double>(std::numeric_limits<double>::max()),
       0xFFFFFFFFFFFFF800U, 0x43FE, false},
      {"smallest double", static_cast<long double>(std::numeric_limits<double>::denorm_min()),
       0x8000000000000000U, 0x3BCD, false},
      {"largest extended", std::numeric_limits<long double>::max(), 0xFFFFFFFFFFFFFFFFU, 0x7FFE,
       true},
      {"smallest normal extended", std::numeric_limits<long double>::min(), 0x8000000000000000U,
       0x0001, true},
      {"smallest subnormal extended", std::numeric_limits<long double>::denorm_min(), 1, 0x0000,
       true},
      {"-largest subnormal extended",
       -(std::numeric_limits<long double>::min() - std::numeric_limits<long double>::denorm_min()),
       0x7FFFFFFFFFFFFFFFU, 0x8000, true},
  };
  for (const ExtendedCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    if (C.NeedsX87Range && !kHostIsX87) continue;
    const Bytes Expected = ExtendedBytes(C.Sig, C.SignExp);
    EXPECT_EQ(WrittenExtended(C.Value), Expected);
    bool Failed = false;
    EXPECT_TRUE(SameLongDouble(ReadExtended(Expected, Failed), C.Value));
    EXPECT_FALSE(Failed);
  }
  // 1.0 spelled out, as other programs see it.
  EXPECT_EQ(WrittenExtended(1.0L), (Bytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
}

TEST(ExtendedStream, NaNsAndPatternsTheWriterNeverProduces) {
  const long double NaN = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_EQ(WrittenExtended(NaN), ExtendedBytes(0xC000000000000000U, 0x7FFF));
  EXPECT_EQ(WrittenExtended(-NaN), ExtendedBytes(0xC000000000000000U, 0xFFFF));

  struct ReadCase {
    const char* Name;
    std::uint64_t Sig;
    std::uint16_t SignExp;
    long double Expected;
  };
  const long double Inf = std::numeric_limits<long double>::infinity();
  const ReadCase Cases[] = {
      {"signalling NaN", 0x8000000000000001U, 0x7FFF, NaN},
      {"NaN without integer bit", 0x4000000000000000U, 0xFFFF, -NaN},
      {"pseudo-infinity", 0, 0x7FFF, Inf},
      {"unnormal 0.5", 0x4000000000000000U, 0x3FFF, 0.5L},
      {"zero significand, nonzero exponent", 0, 0x3FFF, 0.0L},
      {"pseudo-denormal", 0x8000000000000000U, 0x0000, std::ldexp(1.0L, -16382)},
  };
  for (const ReadCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    bool Failed = false;
    const long double V = ReadExtended(ExtendedBytes(C.Sig, C.SignExp), Failed);
    EXPECT_FALSE(Failed);
    EXPECT_TRUE(SameLongDouble(V, C.Expected)) << static_cast<double>(V);
    if (std::isnan(C.Expected)) {
      EXPECT_EQ(std::signbit(V), std::signbit(C.Expected));
    }
  }
}

TEST(ExtendedStream, EveryDoubleRoundTripsExactly) {
  const std::uint64_t Seed = 20240611;
  std::mt19937_64 Gen(Seed);
  std::vector<double> Values = {0.0,
                                -0.0,
                                1.0,
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::denorm_min(),
                                -std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::infinity()};
  for (int I = 0; I < 20000; ++I) Values.push_back(std::bit_cast<double>(Gen()));
  std::ostringstream Out(std::ios::binary);
  for (const double D : Values) WriteExtendedToStream(Out, static_cast<long double>(D));
  ASSERT_EQ(Out.str().size(), 10 * Values.size());

  std::istringstream In(Out.str(), std::ios::binary);
  bool Failed = false;
  for (const double D : Values) {
    const double Back = static_cast<double>(ReadExtendedFromStream(In, Failed));
    if (std::isnan(D)) {
      ASSERT_TRUE(std::isnan(Back)) << "seed " << Seed;
    } else {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(Back), std::bit_cast<std::uint64_t>(D))
          << "seed " << Seed << ", value " << D;
    }
  }
  EXPECT_FALSE(Failed);
}

TEST(ExtendedStream, AgreesWithTheHostsOwnExtendedMemory) {
  if constexpr (!kHostIsX87) GTEST_SKIP() << "long double is not the x87 format here";
  const std::uint64_t Seed = 77;
  std::mt19937_64 Gen(Seed);
  for (int I = 0; I < 20000; ++I) {
    // Canonical patterns: the integer bit set exactly for nonzero exponents below all ones.
    std::uint64_t Sig = Gen();
    const auto SignExp = static_cast<std::uint16_t>(Gen());
    const int Exp = SignExp & 0x7FFF;
    if (Exp == 0x7FFF) continue;  // NaN payloads are not kept
    Sig = Exp == 0 ? Sig & ~NMX_streams::detail::kExtIntegerBit
                   : Sig | NMX_streams::detail::kExtIntegerBit;
    const Bytes Pattern = ExtendedBytes(Sig, SignExp);
    long double Host = 0.0L;
    std::memcpy(&Host, Pattern.data(), 10);

    bool Failed = false;
    ASSERT_TRUE(SameLongDouble(ReadExtended(Pattern, Failed), Host)) << "seed " << Seed;
    ASSERT_EQ(WrittenExtended(Host), Pattern) << "seed " << Seed;
  }
}

// A host whose long double is a plain double rounds what it reads and writes; the format code
// is generic, so that host's path is checked here against the x87 unit's own rounding to
// double (a correctly rounded conversion, subnormals included).
TEST(ExtendedStream, NarrowHostRoundsToNearestOnce) {
  if constexpr (!kHostIsX87) GTEST_SKIP() << "needs the x87 format as reference";
  using NMX_streams::detail::DecodeExtended;
  using NMX_streams::detail::EncodeExtended;
  const std::uint64_t Seed = 4242;
  std::mt19937_64 Gen(Seed);
  const auto Check = [&](std::uint64_t Sig, int Exp) {
    const ExtendedBits Bits{Sig, static_cast<std::uint16_t>(Exp)};
    const double Narrow = DecodeExtended<double>(Bits);
    const auto Reference = static_cast<double>(DecodeExtended<long double>(Bits));
    ASSERT_EQ(std::bit_cast<std::uint64_t>(Narrow), std::bit_cast<std::uint64_t>(Reference))
        << "seed " << Seed << ", sig " << Sig << ", exp " << Exp;
  };
  // Exponents across the double range, its subnormals, and beyond it either way; significands
  // random, and with the bits after the 53rd at exactly a tie.
  for (int I = 0; I < 20000; ++I) {
    const int Exp = 16383 - 1100 + static_cast<int>(Gen() % 2250);
    const std::uint64_t Sig = Gen() | NMX_streams::detail::kExtIntegerBit;
    Check(Sig, Exp);
    Check((Sig & ~std::uint64_t{0x7FF}) | 0x400, Exp);
    Check((Sig & ~std::uint64_t{0xFFF}) | 0x400, Exp);
  }
  // Around the largest double, 0xFFFFFFFFFFFFF800 at exponent 16383 + 1023: half an ulp above
  // it is a tie that rounds to even, which is infinity.
  Check(0xFFFFFFFFFFFFFBFFU, 16383 + 1023);
  Check(0xFFFFFFFFFFFFFC00U, 16383 + 1023);
  Check(0x8000000000000000U, 16383 + 1024);
  // Writing from doubles needs no rounding; it must match the wide path bit for bit.
  for (int I = 0; I < 20000; ++I) {
    const double D = std::bit_cast<double>(Gen());
    if (std::isnan(D)) continue;
    ASSERT_EQ(EncodeExtended(D), EncodeExtended(static_cast<long double>(D))) << "seed " << Seed;
  }
}

TEST(ExtendedStream, TruncatedInputFailsWithoutReadingPastTheData) {
  const Bytes Full = WrittenExtended(2.5L);
  for (std::size_t N = 0; N < Full.size(); ++N) {
    SCOPED_TRACE(N);
    std::istringstream In(
        AsString(Bytes(Full.begin(), Full.begin() + static_cast<std::ptrdiff_t>(N))),
        std::ios::binary);
    bool Failed = false;
    EXPECT_EQ(ReadExtendedFromStream(In, Failed), 0.0L);
    EXPECT_TRUE(Failed);
    EXPECT_TRUE(In.eof());
    EXPECT_TRUE(In.fail());
  }
}

TEST(ExtendedStream, FailedFlagGuardsASeriesOfReads) {
  std::ostringstream Out(std::ios::binary);
  WriteExtendedToStream(Out, 1.5L);
  WriteExtendedToStream(Out, -4.0L);
  std::istringstream In(Out.str(), std::ios::binary);
  bool Failed = false;
  EXPECT_EQ(ReadExtendedFromStream(In, Failed), 1.5L);
  EXPECT_EQ(ReadExtendedFromStream(In, Failed), -4.0L);
  EXPECT_FALSE(Failed);
  EXPECT_EQ(ReadExtendedFromStream(In, Failed), 0.0L);
  EXPECT_TRUE(Failed);

  // A success does not clear an earlier failure.
  std::istringstream Again(Out.str(), std::ios::binary);
  Failed = true;
  EXPECT_EQ(ReadExtendedFromStream(Again, Failed), 1.5L);
  EXPECT_TRUE(Failed);
}

// ---- 32-bit integers --------------------------------------------------------------------------

TEST(LongintStream, BytePatternsRoundTripAndTruncation) {
  struct Case {
    std::int32_t Value;
    Bytes Pattern;
  };
  const Case Cases[] = {{0, {0, 0, 0, 0}},
                        {1, {1, 0, 0, 0}},
                        {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
                        {0x12345678, {0x78, 0x56, 0x34, 0x12}},
                        {std::numeric_limits<std::int32_t>::min(), {0, 0, 0, 0x80}},
                        {std::numeric_limits<std::int32_t>::max(), {0xFF, 0xFF, 0xFF, 0x7F}}};
  std::ostringstream Out(std::ios::binary);
  Bytes All;
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    WriteLongintToStream(Out, C.Value);
    All.insert(All.end(), C.Pattern.begin(), C.Pattern.end());
  }
  EXPECT_EQ(Out.str(), AsString(All));

  std::istringstream In(Out.str(), std::ios::binary);
  bool Failed = false;
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    EXPECT_EQ(ReadLongintFromStream(In, Failed), C.Value);
  }
  EXPECT_FALSE(Failed);

  for (std::size_t N = 0; N < 4; ++N) {
    std::istringstream Short(std::string(N, '\x7F'), std::ios::binary);
    Failed = false;
    EXPECT_EQ(ReadLongintFromStream(Short, Failed), 0) << N;
    EXPECT_TRUE(Failed) << N;
    EXPECT_TRUE(Short.eof()) << N;
  }
}

// ---- the mixed file stream --------------------------------------------------------------------

template <class F>
std::string MessageOf(F&& Action) {
  try {
    Action();
  } catch (const EInOutError& E) {
    return E.what();
  }
  return "(nothing raised)";
}

TEST(MixedFStream, ItemsHaveTheirByteFormAndReadBack) {
  const nmx_test::TempFile File("mixed.bin");
  {
    TMixedFStream S(File.Path(), NMX_streams::fmCreate);
    S.WriteInteger(0x01020304);
    S.WriteInteger(-2);
    S.WriteDouble(1.0);
    S.WriteByte(0xAB);
    S.WriteLn("abc");
    S.WriteLn(std::string_view());
    S.WriteDouble(-0.0);
    S.Close();
  }
  const std::string Expected = std::string("\x04\x03\x02\x01", 4) + "\xFE\xFF\xFF\xFF" +
                               std::string("\0\0\0\0\0\0\xF0\x3F", 8) + "\xAB" + "abc\r\n" +
                               "\r\n" + std::string("\0\0\0\0\0\0\0\x80", 8);
  EXPECT_EQ(File.Read(), Expected);

  TMixedFStream S(File.Path(), NMX_streams::fmOpenRead);
  EXPECT_EQ(S.ReadInteger(), 0x01020304);
  EXPECT_EQ(S.ReadInteger(), -2);
  EXPECT_EQ(S.ReadDouble(), 1.0);
  EXPECT_EQ(S.ReadByte(), 0xAB);
  EXPECT_EQ(S.ReadLn(), "abc");
  EXPECT_EQ(S.ReadLn(), "");
  const double NegZero = S.ReadDouble();
  EXPECT_TRUE(NegZero == 0.0 && std::signbit(NegZero));
  EXPECT_NE(MessageOf([&] { S.ReadByte(); }).find("read beyond end of file"), std::string::npos);
}

TEST(MixedFStream, ReadLnLineEnds) {
  const nmx_test::TempFile File("lines.txt");
  File.Write("a\nb\r\nc\rd\n\r\nlast");
  TMixedFStream S(File.Path(), NMX_streams::fmOpenRead);
  EXPECT_EQ(S.ReadLn(), "a");
  EXPECT_EQ(S.ReadLn(), "b");
  EXPECT_EQ(S.ReadLn(), "c\rd");  // a CR is dropped only before the LF
  EXPECT_EQ(S.ReadLn(), "");
  EXPECT_EQ(S.ReadLn(), "last");  // no line end at the end of the file
  EXPECT_THROW(S.ReadLn(), EInOutError);
  EXPECT_THROW(S.ReadLn(), EInOutError);
}

TEST(MixedFStream, ReadLnOfAFileWithoutLineBreakIsTheRestOfTheFile) {
  const nmx_test::TempFile File("long.txt");
  const std::string Body(1 << 20, 'x');
  File.Write("\x05" + Body);
  TMixedFStream S(File.Path(), NMX_streams::fmOpenRead);
  EXPECT_EQ(S.ReadByte(), 5);
  EXPECT_EQ(S.ReadLn(), Body);
  EXPECT_THROW(S.ReadLn(), EInOutError);
}

TEST(MixedFStream, EveryReadAtOrPastTheEndRaises) {
  const nmx_test::TempFile File("short.bin");
  struct Case {
    const char* Name;
    std::string Content;
    void (*Read)(TMixedFStream&);
  };
  const Case Cases[] = {
      {"integer of 3 bytes", "\x01\x02\x03", [](TMixedFStream& S) { S.ReadInteger(); }},
      {"double of 7 bytes", "1234567", [](TMixedFStream& S) { S.ReadDouble(); }},
      {"byte of an empty file", "", [](TMixedFStream& S) { S.ReadByte(); }},
      {"line of an empty file", "", [](TMixedFStream& S) { S.ReadLn(); }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    File.Write(C.Content);
    TMixedFStream S(File.Path(), NMX_streams::fmOpenRead);
    const std::string Msg = MessageOf([&] { C.Read(S); });
    EXPECT_NE(Msg.find("TMixedFStream: read beyond end of file"), std::string::npos) << Msg;
    EXPECT_NE(Msg.find(File.Path()), std::string::npos) << Msg;
    EXPECT_THROW(S.ReadByte(), EInOutError);  // and it stays at the end
    EXPECT_NO_THROW(S.Close());  // running into the end is no failure of the file itself
  }
}

TEST(MixedFStream, OpeningErrorsNameTheFile) {
  const nmx_test::TempFile File("open.bin");
  File.Write("old contents");
  EXPECT_NE(MessageOf([&] { TMixedFStream S(File.Path(), 0x0001); }).find(File.Path()),
            std::string::npos);
  EXPECT_NE(MessageOf([&] { TMixedFStream S(File.Path(), 0xFFFF); }).find("invalid mode"),
            std::string::npos);
  EXPECT_EQ(File.Read(), "old contents");  // a refused mode does not touch the file

  const std::string Missing = File.Path() + ".missing";
  EXPECT_NE(MessageOf([&] { TMixedFStream S(Missing, NMX_streams::fmOpenRead); }).find(Missing),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Missing));
  const std::string Dir = std::filesystem::temp_directory_path().string();
  EXPECT_NE(MessageOf([&] { TMixedFStream S(Dir, NMX_streams::fmOpenRead); }).find("cannot open"),
            std::string::npos);
  const std::string NoDir = File.Path() + ".nodir/file.bin";
  EXPECT_NE(MessageOf([&] { TMixedFStream S(NoDir, NMX_streams::fmCreate); }).find(NoDir),
            std::string::npos);

  { TMixedFStream S(File.Path(), NMX_streams::fmCreate); }  // create empties the file
  EXPECT_EQ(File.Read(), "");
}

TEST(MixedFStream, WrongDirectionAndClosedStreamsRaise) {
  const nmx_test::TempFile File("dir.bin");
  TMixedFStream W(File.Path(), NMX_streams::fmCreate);
  W.WriteByte(1);
  EXPECT_THROW(W.ReadByte(), EInOutError);
  W.Close();
  W.Close();  // a second close does nothing
  EXPECT_THROW(W.WriteByte(2), EInOutError);

  TMixedFStream R(File.Path(), NMX_streams::fmOpenRead);
  EXPECT_THROW(R.WriteInteger(1), EInOutError);
  EXPECT_THROW(R.WriteLn("x"), EInOutError);
  EXPECT_EQ(R.ReadByte(), 1);
  EXPECT_EQ(File.Read(), "\x01");
}

// /dev/full accepts the open and refuses every write with "no space left on device".
TEST(MixedFStream, WriteFailuresRaise) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  {
    TMixedFStream S("/dev/full", NMX_streams::fmCreate);
    EXPECT_THROW(S.WriteLn(std::string(1 << 20, 'x')), EInOutError);  // larger than any buffer
  }
  TMixedFStream S("/dev/full", NMX_streams::fmCreate);
  S.WriteInteger(7);  // buffered, so the failure shows when the buffer goes out
  EXPECT_NE(MessageOf([&] { S.Close(); }).find("/dev/full"), std::string::npos);
}

}  // namespace
