#include "base/text_scanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <system_error>

#include "nmx/base/strings.h"

namespace NMX_filesys::detail {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;

bool IsWhite(char C) noexcept {
  return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

}  // namespace

bool ParseNumber(std::string_view Word, double& X) noexcept {
  if (!Word.empty() && Word.front() == '+') {
    Word.remove_prefix(1);
    if (!Word.empty() && Word.front() == '-') return false;  // from_chars would take it
  }
  if (Word.empty()) return false;
  const char* First = Word.data();
  const char* Last = First + Word.size();
  double Value = 0.0;
  const auto Res = std::from_chars(First, Last, Value);
  if (Res.ptr != Last) return false;
  if (Res.ec == std::errc()) {
    X = Value;
    return true;
  }
  if (Res.ec != std::errc::result_out_of_range) return false;
  long double Wide = 0.0L;
  const auto WideRes = std::from_chars(First, Last, Wide);
  if (WideRes.ec != std::errc() || WideRes.ptr != Last) return false;
  X = static_cast<double>(Wide);
  return true;
}

bool ParseInt(std::string_view Word, int& X) noexcept {
  if (!Word.empty() && Word.front() == '+') {
    Word.remove_prefix(1);
    if (!Word.empty() && Word.front() == '-') return false;
  }
  if (Word.empty()) return false;
  int Value = 0;
  const auto Res = std::from_chars(Word.data(), Word.data() + Word.size(), Value);
  if (Res.ec != std::errc() || Res.ptr != Word.data() + Word.size()) return false;
  X = Value;
  return true;
}

bool HasDigit(std::string_view Word) noexcept {
  return std::any_of(Word.begin(), Word.end(), [](char C) { return C >= '0' && C <= '9'; });
}

TTextScanner::TTextScanner(std::istream& In) : FIn(In.rdbuf()) {
  if (!In.good()) FIn = nullptr;
}

bool TTextScanner::Refill(std::size_t Keep) {
  const std::size_t Kept = FEnd - Keep;
  if (Keep > 0) std::memmove(FBuf.data(), FBuf.data() + Keep, Kept);
  FPos -= Keep;
  FEnd = Kept;
  if (FAtEnd || FIn == nullptr) {
    FAtEnd = true;
    return false;
  }
  // The buffer grows only while one word outgrows it, up to kMaxWord and a chunk.
  if (FBuf.size() < FEnd + kChunk) FBuf.resize(FEnd + kChunk);
  std::streamsize Got = 0;
  try {
    Got = FIn->sgetn(FBuf.data() + FEnd, static_cast<std::streamsize>(FBuf.size() - FEnd));
  } catch (const std::exception&) {
    // A file stream throws from its buffer when the read itself fails (EISDIR, EIO).
    FFailed = true;
    Got = 0;
  }
  if (Got <= 0) {
    FAtEnd = true;
    return false;
  }
  FEnd += static_cast<std::size_t>(Got);
  return true;
}

int TTextScanner::Get() {
  if (FPos == FEnd && !Refill(FPos)) return -1;
  return static_cast<unsigned char>(FBuf[FPos++]);
}

bool TTextScanner::NextWord(std::string_view& Word, bool* NewLine) {
  Word = {};
  if (NewLine != nullptr) *NewLine = false;
  for (;;) {
    while (FPos < FEnd && IsWhite(FBuf[FPos])) {
      if (NewLine != nullptr && FBuf[FPos] == '\n') *NewLine = true;
      ++FPos;
    }
    if (FPos < FEnd) break;
    if (!Refill(FPos)) return false;
  }
  std::size_t Start = FPos;
  for (;;) {
    while (FPos < FEnd && !IsWhite(FBuf[FPos])) ++FPos;
    if (FPos < FEnd || FPos - Start > kMaxWord) break;
    // The word runs to the end of the buffer: keep it (it moves to the front) and read on.
    const bool More = Refill(Start);
    Start = 0;
    if (!More) break;
  }
  if (FPos - Start > kMaxWord) {
    // Too long for any number: read past it and report it empty.
    for (;;) {
      while (FPos < FEnd && !IsWhite(FBuf[FPos])) ++FPos;
      if (FPos < FEnd || !Refill(FPos)) break;
    }
    return true;
  }
  Word = std::string_view(FBuf.data() + Start, FPos - Start);
  return true;
}

bool TTextScanner::NextLine(std::string_view& Line) {
  Line = {};
  if (FPos == FEnd && !Refill(FPos)) return false;
  std::size_t Start = FPos;
  std::size_t Scanned = FPos;
  for (;;) {
    const void* Lf =
        Scanned < FEnd ? std::memchr(FBuf.data() + Scanned, '\n', FEnd - Scanned) : nullptr;
    if (Lf != nullptr) {
      const auto End = static_cast<std::size_t>(static_cast<const char*>(Lf) - FBuf.data());
      FPos = End + 1;
      std::size_t Len = End - Start;
      if (Len > 0 && FBuf[Start + Len - 1] == '\r') --Len;
      if (Len <= kMaxWord) Line = std::string_view(FBuf.data() + Start, Len);
      return true;
    }
    if (FEnd - Start > kMaxWord) {
      // Too long to keep: drop what is read and pass the rest of it.
      for (;;) {
        FPos = FEnd;
        if (!Refill(FPos)) return true;
        if (const void* Rest = std::memchr(FBuf.data() + FPos, '\n', FEnd - FPos)) {
          FPos = static_cast<std::size_t>(static_cast<const char*>(Rest) - FBuf.data()) + 1;
          return true;
        }
      }
    }
    const std::size_t Len = FEnd - Start;
    FPos = FEnd;
    if (!Refill(Start)) {
      // The last line, without a line end.
      std::size_t L = Len;
      if (L > 0 && FBuf[L - 1] == '\r') --L;
      Line = std::string_view(FBuf.data(), L);
      return true;
    }
    Start = 0;
    Scanned = Len;
  }
}

bool TTextScanner::NextChunk(std::string_view& Chunk) {
  Chunk = {};
  if (FPos == FEnd && !Refill(FPos)) return false;
  Chunk = std::string_view(FBuf.data() + FPos, FEnd - FPos);
  FPos = FEnd;
  return true;
}

bool TTextScanner::ReadQuotedName(std::string* Name) {
  std::string Scratch;
  std::string& Into = Name != nullptr ? *Name : Scratch;
  Into.clear();
  int State = 0;
  for (;;) {
    const int C = Get();
    if (C < 0) return State != 0;
    if (NMX_stringl::ParseQuotedName(static_cast<char>(C), '"', Into, State)) return true;
    // The state machine does not look at the name: a name too long to keep is dropped from
    // its end on, and a skipped one is never kept.
    if (Into.size() > kMaxWord || (Name == nullptr && Into.size() > 4096)) {
      Into.resize(Name != nullptr ? kMaxWord : 0);
    }
  }
}

}  // namespace NMX_filesys::detail
