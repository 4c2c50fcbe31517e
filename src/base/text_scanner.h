// The library's reader of text data: words, lines and quoted names from a stream, parsed in
// place in a buffer of its own, with the number words of the ASC and list files.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "nmx/config.h"

namespace NMX_filesys::detail {

/// Whether the whole of Word is a number for std::from_chars (one leading '+' allowed, and the
/// words INF, INFINITY and NAN in any case); X receives it. Magnitudes beyond the double range
/// that a long double still holds give an infinity or a signed zero, as the nearest double
/// would. Never depends on the locale.
NMX_API bool ParseNumber(std::string_view Word, double& X) noexcept;

/// Whether the whole of Word is a decimal integer in the int range (one leading '+' allowed).
NMX_API bool ParseInt(std::string_view Word, int& X) noexcept;

/// Whether Word holds a decimal digit.
NMX_API bool HasDigit(std::string_view Word) noexcept;

/// Reads the text of a stream from its current position, a block at a time, and hands out
/// the words as views into its buffer: no string is built per word. White space is blank,
/// TAB, CR and LF; lines end at LF (a CR before it is white space).
///
/// The scanner reads ahead: once it has been used, the stream's position is past what it
/// consumed. A word longer than kMaxWord (no number is) is skipped whole and reported as an
/// empty word, so memory stays bounded whatever the input. A stream whose reads fail (one
/// opened on a directory, say) reads as text that has ended; Failed() tells it apart.
class NMX_API TTextScanner {
 public:
  static constexpr std::size_t kMaxWord = std::size_t{1} << 20;

  explicit TTextScanner(std::istream& In);

  /// The next word, across line ends. False at the end of the text (Word is then empty).
  /// The view is valid until the next call of any member. NewLine, when given, tells whether
  /// a line ended (an LF was passed) between the previous word and this one.
  bool NextWord(std::string_view& Word, bool* NewLine = nullptr);

  /// The rest of the current line, without its LF and a CR before it; the LF is consumed.
  /// False when the text has ended before the line starts. A line longer than kMaxWord comes
  /// back empty (it is read past).
  bool NextLine(std::string_view& Line);

  /// Feeds characters to NMX_stringl::ParseQuotedName (quote '"') until it completes a name
  /// or the text ends. Name, when given, receives the name (at most kMaxWord characters; the
  /// rest is read past). False when the text ended before any name began.
  bool ReadQuotedName(std::string* Name);

  /// The next stretch of raw text, whatever it holds, consumed whole. False at the end.
  bool NextChunk(std::string_view& Chunk);

  /// True when a read of the stream failed (not merely ended).
  bool Failed() const noexcept { return FFailed; }

 private:
  // Keeps the bytes from Keep on, moves them to the front and reads more behind them. False
  // when nothing more could be read.
  bool Refill(std::size_t Keep);
  // The next byte, or -1 at the end of the text.
  int Get();

  std::streambuf* FIn = nullptr;
  std::vector<char> FBuf;
  std::size_t FPos = 0;
  std::size_t FEnd = 0;
  bool FAtEnd = false;
  bool FFailed = false;
};

}  // namespace NMX_filesys::detail
