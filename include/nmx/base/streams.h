// Binary stream items: 80-bit extended and 32-bit integers, and the mixed file stream.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "nmx/config.h"

namespace NMX_streams {

// Items of binary streams are little-endian whatever the host, so files move between
// machines. The readers share one convention: a read that finds fewer bytes than the item
// needs sets Failed to true and returns 0; a successful read leaves Failed as it was, so a
// single flag, cleared once by the caller, guards a whole series of reads. A failed read has
// consumed whatever bytes were left and leaves the stream's eof/fail bits set for the caller
// to query. Writers report a failed write through the stream's state (badbit), as the
// standard streams do.

/// Write X as 10 bytes in the x87 80-bit extended format, little-endian: a 64-bit significand
/// with an explicit integer bit, then 15 exponent bits (bias 16383) and the sign bit.
/// Zeros keep their sign; NaNs are written as the quiet NaN of X's sign (payloads are not
/// kept). A host whose long double is wider than 64 significant bits rounds X to nearest.
NMX_API void WriteExtendedToStream(std::ostream& S, long double X);

/// Read one 10-byte 80-bit extended value written by `WriteExtendedToStream`. Values the
/// host's long double cannot hold exactly are rounded to nearest (ties to even), which may
/// overflow to infinity or underflow to zero. An exponent of all ones gives an infinity (zero
/// fraction) or a quiet NaN of the stored sign; patterns the x87 itself rejects (an integer
/// bit that disagrees with the exponent) are read by their arithmetic value.
NMX_API long double ReadExtendedFromStream(std::istream& S, bool& Failed);

/// Write X as 4 bytes, two's complement, little-endian.
NMX_API void WriteLongintToStream(std::ostream& S, std::int32_t X);

/// Read one 4-byte little-endian signed integer written by `WriteLongintToStream`.
NMX_API std::int32_t ReadLongintFromStream(std::istream& S, bool& Failed);

/// Mode of `TMixedFStream`: create the file, or empty an existing one, for writing.
inline constexpr std::uint16_t fmCreate = 0xFF00;
/// Mode of `TMixedFStream`: open an existing file for reading.
inline constexpr std::uint16_t fmOpenRead = 0x0000;

/// A binary file of mixed items: 32-bit integers and doubles (little-endian, IEEE 754),
/// bytes, and lines of text ended by CR LF.
///
/// The file is open from construction to `Close` or destruction. Every failure raises
/// `NMX_platform::EInOutError` with a message naming the file: a file that cannot be
/// opened, a read of an item that the file does not hold in full (the read consumes what was
/// left), a write the system refuses, and reading from a stream created for writing or the
/// reverse.
class NMX_API TMixedFStream {
 public:
  /// Open FName: `fmCreate` creates it (or empties an existing file) for writing,
  /// `fmOpenRead` opens it for reading. Any other Mode raises `EInOutError`, as does a file
  /// that cannot be opened.
  TMixedFStream(const std::string& FName, std::uint16_t Mode);
  /// Closes the file; buffered data are flushed, but a failure can no longer be reported
  /// here: call `Close` first where that matters.
  ~TMixedFStream();

  TMixedFStream(const TMixedFStream&) = delete;
  TMixedFStream& operator=(const TMixedFStream&) = delete;
  TMixedFStream(TMixedFStream&&) = default;
  TMixedFStream& operator=(TMixedFStream&&) = default;

  /// The file's name as given.
  const std::string& FileName() const noexcept { return FFileName; }

  /// Flush and close the file, raising `EInOutError` if buffered data cannot be written.
  /// Later calls do nothing; items read or written after it raise.
  void Close();

  /// Write a 32-bit signed integer, 4 bytes little-endian.
  void WriteInteger(std::int32_t Value);
  /// Write a double, its 8 IEEE 754 bytes little-endian.
  void WriteDouble(double Value);
  /// Write one byte.
  void WriteByte(std::uint8_t Value);
  /// Write Text as it stands, then CR LF. Text should hold no line break of its own, or it
  /// reads back as several lines.
  void WriteLn(std::string_view Text);

  /// Read an item written by `WriteInteger`.
  std::int32_t ReadInteger();
  /// Read an item written by `WriteDouble`.
  double ReadDouble();
  /// Read an item written by `WriteByte`.
  std::uint8_t ReadByte();
  /// Read a line: the bytes up to the next LF, without the LF and a CR just before it. A last
  /// line without line end is read up to the end of the file; at the end of the file itself
  /// the read raises.
  std::string ReadLn();

 private:
  void ReadBytes(char* Buf, std::streamsize Count);
  void WriteBytes(const char* Buf, std::streamsize Count);
  void CheckReadable() const;
  void CheckWritable() const;

  std::string FFileName;
  std::uint16_t FMode;
  std::fstream FFile;
};

}  // namespace NMX_streams
