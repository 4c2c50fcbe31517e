#include "nmx/base/streams.h"

#include <bit>
#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>

#include "base/extended.h"
#include "nmx/platform/exceptions.h"

namespace NMX_streams {
namespace {

static_assert(std::numeric_limits<double>::is_iec559, "doubles are stored as IEEE 754 bits");

void PutLE(char* Buf, std::uint64_t Value, int Count) {
  for (int I = 0; I < Count; ++I) {
    Buf[I] = static_cast<char>(static_cast<unsigned char>(Value & 0xFFU));
    Value >>= 8;
  }
}

std::uint64_t GetLE(const char* Buf, int Count) {
  std::uint64_t Value = 0;
  for (int I = Count - 1; I >= 0; --I) Value = (Value << 8) | static_cast<unsigned char>(Buf[I]);
  return Value;
}

// True when all Count bytes arrived; a short read leaves the stream's eof/fail bits set.
bool ReadExact(std::istream& S, char* Buf, std::streamsize Count) {
  S.read(Buf, Count);
  return S.gcount() == Count;
}

std::string Quoted(const std::string& FName) {
  return "\"" + FName + "\"";
}

}  // namespace

void WriteExtendedToStream(std::ostream& S, long double X) {
  const detail::ExtendedBits Bits = detail::EncodeExtended(X);
  char Buf[10];
  PutLE(Buf, Bits.Sig, 8);
  PutLE(Buf + 8, Bits.SignExp, 2);
  S.write(Buf, sizeof Buf);
}

long double ReadExtendedFromStream(std::istream& S, bool& Failed) {
  char Buf[10];
  if (!ReadExact(S, Buf, sizeof Buf)) {
    Failed = true;
    return 0.0L;
  }
  detail::ExtendedBits Bits;
  Bits.Sig = GetLE(Buf, 8);
  Bits.SignExp = static_cast<std::uint16_t>(GetLE(Buf + 8, 2));
  return detail::DecodeExtended<long double>(Bits);
}

void WriteLongintToStream(std::ostream& S, std::int32_t X) {
  char Buf[4];
  PutLE(Buf, static_cast<std::uint32_t>(X), 4);
  S.write(Buf, sizeof Buf);
}

std::int32_t ReadLongintFromStream(std::istream& S, bool& Failed) {
  char Buf[4];
  if (!ReadExact(S, Buf, sizeof Buf)) {
    Failed = true;
    return 0;
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE(Buf, 4)));
}

TMixedFStream::TMixedFStream(const std::string& FName, std::uint16_t Mode)
    : FFileName(FName), FMode(Mode) {
  if (Mode == fmCreate) {
    FFile.open(FName, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!FFile.is_open())
      throw NMX_platform::EInOutError("TMixedFStream: cannot create file " + Quoted(FName));
  } else if (Mode == fmOpenRead) {
    // A directory opens for reading on some systems, then fails every read as if empty.
    std::error_code Ignored;
    if (!std::filesystem::is_directory(FName, Ignored))
      FFile.open(FName, std::ios::in | std::ios::binary);
    if (!FFile.is_open())
      throw NMX_platform::EInOutError("TMixedFStream: cannot open file " + Quoted(FName));
  } else {
    char Hex[8];
    const auto Res = std::to_chars(Hex, Hex + sizeof Hex, Mode, 16);
    throw NMX_platform::EInOutError("TMixedFStream: invalid mode " + std::string(Hex, Res.ptr) +
                                    " hex for file " + Quoted(FName));
  }
}

TMixedFStream::~TMixedFStream() = default;

void TMixedFStream::Close() {
  if (!FFile.is_open()) return;
  // A read that ran into the end left failbit set; only what close itself reports counts.
  FFile.clear();
  FFile.close();  // flushes; sets failbit when that or the close fails
  if (FMode == fmCreate && FFile.fail())
    throw NMX_platform::EInOutError("TMixedFStream: cannot write to file " + Quoted(FFileName));
}

void TMixedFStream::CheckReadable() const {
  if (!FFile.is_open() || FMode != fmOpenRead)
    throw NMX_platform::EInOutError("TMixedFStream: file " + Quoted(FFileName) +
                                    " is not open for reading");
}

void TMixedFStream::CheckWritable() const {
  if (!FFile.is_open() || FMode != fmCreate)
    throw NMX_platform::EInOutError("TMixedFStream: file " + Quoted(FFileName) +
                                    " is not open for writing");
}

void TMixedFStream::ReadBytes(char* Buf, std::streamsize Count) {
  CheckReadable();
  FFile.read(Buf, Count);
  if (FFile.gcount() == Count) return;
  if (FFile.bad())
    throw NMX_platform::EInOutError("TMixedFStream: cannot read from file " + Quoted(FFileName));
  throw NMX_platform::EInOutError("TMixedFStream: read beyond end of file " + Quoted(FFileName));
}

void TMixedFStream::WriteBytes(const char* Buf, std::streamsize Count) {
  CheckWritable();
  if (Count == 0) return;  // an empty string_view may hold a null pointer
  FFile.write(Buf, Count);
  if (!FFile)
    throw NMX_platform::EInOutError("TMixedFStream: cannot write to file " + Quoted(FFileName));
}

void TMixedFStream::WriteInteger(std::int32_t Value) {
  char Buf[4];
  PutLE(Buf, static_cast<std::uint32_t>(Value), 4);
  WriteBytes(Buf, sizeof Buf);
}

void TMixedFStream::WriteDouble(double Value) {
  char Buf[8];
  PutLE(Buf, std::bit_cast<std::uint64_t>(Value), 8);
  WriteBytes(Buf, sizeof Buf);
}

void TMixedFStream::WriteByte(std::uint8_t Value) {
  const char Buf = static_cast<char>(Value);
  WriteBytes(&Buf, 1);
}

void TMixedFStream::WriteLn(std::string_view Text) {
  WriteBytes(Text.data(), static_cast<std::streamsize>(Text.size()));
  WriteBytes("\r\n", 2);
}

std::int32_t TMixedFStream::ReadInteger() {
  char Buf[4];
  ReadBytes(Buf, sizeof Buf);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE(Buf, 4)));
}

double TMixedFStream::ReadDouble() {
  char Buf[8];
  ReadBytes(Buf, sizeof Buf);
  return std::bit_cast<double>(GetLE(Buf, 8));
}

std::uint8_t TMixedFStream::ReadByte() {
  char Buf = 0;
  ReadBytes(&Buf, 1);
  return static_cast<std::uint8_t>(Buf);
}

std::string TMixedFStream::ReadLn() {
  CheckReadable();
  std::string Line;
  // getline grows the line only with bytes actually read, so a file without line breaks
  // costs at most its own size.
  if (!std::getline(FFile, Line)) {
    if (FFile.bad())
      throw NMX_platform::EInOutError("TMixedFStream: cannot read from file " + Quoted(FFileName));
    throw NMX_platform::EInOutError("TMixedFStream: read beyond end of file " + Quoted(FFileName));
  }
  // eof after a successful getline means the line had no LF; only a CR before an LF is part
  // of the line end.
  if (!FFile.eof() && !Line.empty() && Line.back() == '\r') Line.pop_back();
  return Line;
}

}  // namespace NMX_streams
