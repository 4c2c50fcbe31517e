// What the readers and writers of the containers' files share: opening files, the bytes a
// stream has left, the bound on what a header may make a reader allocate, line ends, the
// list files' scientific number form and the items of the binary stream layout.
#pragma once

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

#include "base/text_scanner.h"
#include "nmx/base/streams.h"
#include "nmx/base/strings.h"
#include "nmx/base/textfile.h"

namespace NMX_filesys::detail {

// How far a reader may grow a container whatever its input holds (512 KiB of doubles): a
// list or stream that holds elements first..last of a longer vector is then loaded as it
// always was, while a header that claims a huge last index allocates no more than this unless
// the input is large enough to hold that many values.
inline constexpr std::int64_t kFreeGrowth = 65536;

// Whether a reader may resize a container of N elements to Last, given that the input
// left after the indices can hold at most Capacity values (-1: unknown, nothing proven).
inline bool MayAdjustTo(int N, int Last, std::int64_t Capacity) noexcept {
  return Last <= N || Last <= kFreeGrowth || Last <= Capacity;
}

// X as an element of type T: a double as it is; an integer clamped to the int32 range, then
// rounded to nearest (ties to even). A NaN is no integer.
template <class T>
bool ToElem(double X, T& Out) noexcept {
  if constexpr (std::is_same_v<T, double>) {
    Out = X;
    return true;
  } else {
    if (std::isnan(X)) return false;
    const double C = std::clamp(X, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX));
    Out = static_cast<std::int32_t>(std::nearbyint(C));
    return true;
  }
}

// An element index stored as an extended value: rounded to nearest (ties to even); false for
// a NaN, an infinity or a value outside the int range.
inline bool IndexFromExtended(long double X, int& Index) noexcept {
  if (!std::isfinite(X)) return false;
  const long double R = std::nearbyint(X);
  if (R < static_cast<long double>(INT_MIN) || R > static_cast<long double>(INT_MAX)) return false;
  Index = static_cast<int>(R);
  return true;
}

// The bytes from the current read position of S to its end, or -1 when the stream cannot
// tell (it is not seekable). The position is restored; the stream's state is not touched.
inline std::int64_t RemainingBytes(std::istream& S) {
  std::streambuf* B = S.rdbuf();
  if (B == nullptr) return -1;
  const std::streampos Bad(std::streamoff(-1));
  const std::streampos Cur = B->pubseekoff(0, std::ios::cur, std::ios::in);
  if (Cur == Bad) return -1;
  const std::streampos End = B->pubseekoff(0, std::ios::end, std::ios::in);
  B->pubseekpos(Cur, std::ios::in);
  if (End == Bad || End < Cur) return -1;
  return static_cast<std::int64_t>(End - Cur);
}

// Opens FName for reading in binary mode; a directory is not opened.
inline bool OpenIn(const std::string& FName, std::ifstream& F) {
  std::error_code Ignored;
  if (std::filesystem::is_directory(FName, Ignored)) return false;
  F.open(FName, std::ios::in | std::ios::binary);
  return F.is_open();
}

// Creates (or empties) FName for writing in binary mode; a directory is not opened.
inline bool OpenOut(const std::string& FName, std::ofstream& F) {
  std::error_code Ignored;
  if (std::filesystem::is_directory(FName, Ignored)) return false;
  F.open(FName, std::ios::out | std::ios::binary | std::ios::trunc);
  return F.is_open();
}

// Writes Text and CR LF.
inline void WriteLine(std::ostream& F, std::string_view Text) {
  F.write(Text.data(), static_cast<std::streamsize>(Text.size()));
  F.write("\r\n", 2);
}

// X in the list file's scientific form: a blank or '-', one digit, the point, Decimals
// decimals, 'E', the exponent's sign and four exponent digits (Decimals + 9 characters).
// NaN and the infinities, which have no such form, are right-aligned in the same width.
inline std::string Scientific(double X, int Decimals) {
  const int Width = Decimals + 9;
  if (!std::isfinite(X)) return NMX_stringl::strff(X, Width, 0);
  std::array<char, 64> Buf{};
  const auto Res = std::to_chars(Buf.data(), Buf.data() + Buf.size(), X,
                                 std::chars_format::scientific, Decimals);
  std::string_view Text(Buf.data(), static_cast<std::size_t>(Res.ptr - Buf.data()));
  std::string Out;
  Out.reserve(static_cast<std::size_t>(Width));
  if (!Text.empty() && Text.front() == '-') {
    Out += '-';
    Text.remove_prefix(1);
  } else {
    Out += ' ';
  }
  // to_chars gives d.ddddde+XX with two or three exponent digits.
  const std::size_t E = Text.find('e');
  Out.append(Text.substr(0, E));
  Out += 'E';
  Out += Text[E + 1];
  const std::string_view Digits = Text.substr(E + 2);
  Out.append(4 - Digits.size(), '0');
  Out.append(Digits);
  return Out;
}

// One item of the binary stream layout, by element type: 10-byte extended values for doubles
// (indices too), 4-byte integers for integers.
template <class T>
struct TStreamItems;

template <>
struct TStreamItems<double> {
  static constexpr int kBytes = 10;
  static void WriteIndex(std::ostream& S, int Index) {
    NMX_streams::WriteExtendedToStream(S, static_cast<long double>(Index));
  }
  static void Write(std::ostream& S, double X) {
    NMX_streams::WriteExtendedToStream(S, static_cast<long double>(X));
  }
  static bool ReadIndex(std::istream& S, int& Index) {
    bool Failed = false;
    const long double X = NMX_streams::ReadExtendedFromStream(S, Failed);
    return !Failed && IndexFromExtended(X, Index);
  }
  static bool Read(std::istream& S, double& X) {
    bool Failed = false;
    X = static_cast<double>(NMX_streams::ReadExtendedFromStream(S, Failed));
    return !Failed;
  }
};

template <>
struct TStreamItems<std::int32_t> {
  static constexpr int kBytes = 4;
  static void WriteIndex(std::ostream& S, int Index) {
    NMX_streams::WriteLongintToStream(S, Index);
  }
  static void Write(std::ostream& S, std::int32_t X) { NMX_streams::WriteLongintToStream(S, X); }
  static bool ReadIndex(std::istream& S, int& Index) { return Read(S, Index); }
  static bool Read(std::istream& S, std::int32_t& X) {
    bool Failed = false;
    X = NMX_streams::ReadLongintFromStream(S, Failed);
    return !Failed;
  }
};


// The status of an ASC data file that does not exist.
inline constexpr int kAscMissingFile = -8;

// The counts and flags of an ASC data file's header.
struct TAscHeader {
  int NrCols = 0;
  int NrRows = 0;
  bool RowAttribs = false;
  bool ColNames = false;
  bool RowNames = false;
  bool NomVars = false;
};

// Opens the ASC data file FileName into F and reads its header: Comment receives line 1 and
// Status the code of NMX_filesys::ReadHeaderOfASC, and the result is true. A missing file
// gives false with Status kAscMissingFile; one that cannot be opened (a directory, say)
// false with kAscCannotOpen and Comment emptied.
inline bool OpenAscFile(const std::string& FileName, std::ifstream& F, std::string& Comment,
                        TAscHeader& H, int& Status) {
  std::error_code NoThrow;
  if (!std::filesystem::exists(FileName, NoThrow)) {
    Status = kAscMissingFile;
    return false;
  }
  if (!OpenIn(FileName, F)) {
    Comment.clear();
    Status = NMX_filesys::kAscCannotOpen;
    return false;
  }
  Status = NMX_filesys::ReadHeaderOfASC(F, Comment, H.NrCols, H.NrRows, H.RowAttribs,
                                        H.ColNames, H.RowNames, H.NomVars);
  return true;
}

// Reads line 1 of a list file, which must hold exactly Count decimal integers separated by
// blanks or TABs, into Out; LineBytes receives the length of the line with its line end.
inline bool ReadIntegerLine(TTextScanner& In, int* Out, std::size_t Count, std::int64_t& LineBytes) {
  std::string_view Line;
  if (!In.NextLine(Line)) return false;
  LineBytes = static_cast<std::int64_t>(Line.size()) + 1;
  NMX_nmxbase::TStrArray Tokens;
  if (static_cast<std::size_t>(NMX_stringl::Tokenize(Line, Tokens)) != Count) return false;
  for (std::size_t K = 0; K < Count; ++K) {
    if (!ParseInt(Tokens[K], Out[K])) return false;
  }
  return true;
}

}  // namespace NMX_filesys::detail
