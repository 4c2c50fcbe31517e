// The files and streams of the vectors: the ASC data file, the list file, the auto-detected
// list of numbers and the binary stream layout.
#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/file_helpers.h"
#include "base/text_scanner.h"
#include "nmx/base/errors.h"
#include "nmx/base/streams.h"
#include "nmx/base/strings.h"
#include "nmx/base/textfile.h"
#include "nmx/platform/exceptions.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector.h"
#include "nmx/vector/vector_base.h"

namespace NMX_vector {
namespace {

using NMX_filesys::detail::ParseNumber;
using NMX_filesys::detail::TTextScanner;
using NMX_filesys::detail::IndexFromExtended;
using NMX_filesys::detail::kFreeGrowth;
using NMX_filesys::detail::MayAdjustTo;
using NMX_filesys::detail::OpenAscFile;
using NMX_filesys::detail::OpenIn;
using NMX_filesys::detail::TAscHeader;
using NMX_filesys::detail::OpenOut;
using NMX_filesys::detail::ReadIntegerLine;
using NMX_filesys::detail::RemainingBytes;
using NMX_filesys::detail::Scientific;
using NMX_filesys::detail::ToElem;
using NMX_filesys::detail::TStreamItems;
using NMX_filesys::detail::WriteLine;

// Status codes of ImportASC beside those of the header reader.
constexpr int kAscBadAttribute = -5;
constexpr int kAscBadValue = -6;
constexpr int kAscTooManyColumns = -7;

// Writes the ASC file of a one-column vector; Format(k) gives the text of element k.
template <class T, class Formatter>
int WriteAsc(const TVectorBase<T>& Self, const std::string& FName, const std::string& Comment,
             std::string_view ClassName, Formatter&& Format) {
  std::ofstream F;
  if (!OpenOut(FName, F)) return -1;
  std::string Line = Comment.empty()
                         ? "Exported by NMX " + std::string(ClassName) + " component: " + FName
                         : Comment;
  // Line 1 is one line whatever the comment or the file name holds.
  std::replace(Line.begin(), Line.end(), '\n', ' ');
  WriteLine(F, Line);
  WriteLine(F, "1\t;nr. of columns");
  WriteLine(F, std::to_string(Self.NrOfElem()) + "\t;nr. of rows");
  WriteLine(F,
            "FALSE FALSE FALSE FALSE\t;row attributes, column names, row names, nominal variables");
  const int N = Self.NrOfElem();
  for (int K = 1; K <= N && F; ++K) WriteLine(F, Format(K));
  F.close();  // flushes; sets failbit when that or an earlier write failed
  if (F.fail()) {
    NMX_nmxbase::RaiseComponentError<NMX_platform::EInOutError>(
        &Self, "cannot write to file \"" + FName + "\"");
  }
  return 0;
}

// Writes the list file: "First Last", then Format(k) for k = First..Last. False only when the
// file cannot be created; a failed write is not reported, and nothing is written after it.
template <class Formatter>
bool WriteList(const std::string& FileName, int First, int Last, Formatter&& Format) {
  std::ofstream F;
  if (!OpenOut(FileName, F)) return false;
  WriteLine(F, std::to_string(First) + " " + std::to_string(Last));
  for (std::int64_t K = First; K <= Last && F; ++K) WriteLine(F, Format(static_cast<int>(K)));
  return true;
}

}  // namespace

// --- the members both vectors share ----------------------------------------------------------

// The header names the ASC file FName; here that would shadow the component's name field.
template <class T>
int TVectorBase<T>::ImportASC(const std::string& FileName, std::string& Comment) {
  std::ifstream F;
  TAscHeader H;
  int HeaderStatus = 0;
  if (!OpenAscFile(FileName, F, Comment, H, HeaderStatus)) return HeaderStatus;
  const int NrCols = H.NrCols, NrRows = H.NrRows;
  const bool RowAttribs = H.RowAttribs, ColNames = H.ColNames, RowNames = H.RowNames;
  if (NrCols > 1) return kAscTooManyColumns;
  if (HeaderStatus != 0) return HeaderStatus;

  // Every row takes at least two bytes (a value and the white space after it; the last may
  // lack it), so the rest of the file holds at most Remaining / 2 + 1 rows. The up-front
  // resize goes no further than that (or than the present size, which costs nothing); the
  // vector grows as rows arrive beyond it. Elements there would have been new zeros of the
  // full resize anyway, so only the number of OnChange and OnResize calls can differ, and
  // only for a header that claims more rows than the file holds.
  if (NrRows > 0) {
    const std::int64_t Remaining = RemainingBytes(F);
    const std::int64_t Backed = Remaining < 0 ? 0 : Remaining / 2 + 1;
    Resize(
        static_cast<int>(std::min<std::int64_t>(NrRows, std::max<std::int64_t>(FNElem, Backed))));
  }
  TTextScanner In(F);
  for (int C = 0; C < NrCols && ColNames; ++C) In.ReadQuotedName(nullptr);

  int Status = 0;
  int K = 1;
  std::string_view Word;
  for (; K <= NrRows; ++K) {
    if (RowAttribs) {
      double Attribute = 0.0;
      In.NextWord(Word);
      if (!ParseNumber(Word, Attribute)) {
        Status = kAscBadAttribute;
        break;
      }
    }
    if (RowNames) In.ReadQuotedName(nullptr);
    In.NextWord(Word);
    T Value{};
    if (Word != "###") {
      double X = 0.0;
      if (!ParseNumber(Word, X)) {
        Status = kAscBadValue;
        break;
      }
      // "NAN", the writers' text for a missing value, stores 0, and so does any NaN.
      if (!std::isnan(X)) ToElem(X, Value);
    }
    if (K > FNElem) {
      const std::int64_t Grown = std::max<std::int64_t>(K, 2 * std::int64_t{FNElem});
      Resize(static_cast<int>(std::min<std::int64_t>(NrRows, Grown)));
    }
    SetVal(K, Value);
  }
  // Row K, where an error stopped the reading, stays in the vector with the value it had.
  Resize(Status != 0 ? K : NrRows);
  return Status;
}

template <class T>
bool TVectorBase<T>::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  std::ifstream F;
  if (!OpenIn(FileName, F)) return false;
  const std::int64_t Total = RemainingBytes(F);
  TTextScanner In(F);
  // Line 1: exactly two integers, separated by blanks or TABs.
  int Bounds[2] = {0, 0};
  std::int64_t LineBytes = 0;
  if (!ReadIntegerLine(In, Bounds, 2, LineBytes)) return false;
  const int First = Bounds[0], Last = Bounds[1];
  if (AdjustVectorSize) {
    // One value takes at least two bytes (the last may lack its line end).
    const std::int64_t Remaining = Total < 0 ? -1 : Total - LineBytes;
    if (MayAdjustTo(FNElem, Last, Remaining < 0 ? -1 : Remaining / 2 + 1)) Resize(Last);
  }
  const bool Result = FNElem >= Last;
  if (Result) {
    std::string_view Word;
    for (std::int64_t K = First; K <= Last; ++K) {
      if (!In.NextWord(Word)) break;  // the file has ended: every further read would fail
      double X = 0.0;
      T Value{};
      if (ParseNumber(Word, X) && ToElem(X, Value)) SetVal(static_cast<int>(K), Value);
    }
  }
  Changed();
  return Result;
}

template <class T>
void TVectorBase<T>::SaveToStream(std::ostream& OutStream, int LowElem, int HighElem) const {
  using Items = TStreamItems<T>;
  MakeValidElemRange(LowElem, HighElem);
  Items::WriteIndex(OutStream, LowElem);
  Items::WriteIndex(OutStream, HighElem);
  for (int K = LowElem; K <= HighElem; ++K) Items::Write(OutStream, GetVal(K));
}

template <class T>
bool TVectorBase<T>::LoadFromStream(std::istream& InStream, bool AdjustVectorSize) {
  using Items = TStreamItems<T>;
  int First = 0, Last = 0;
  if (!Items::ReadIndex(InStream, First) || !Items::ReadIndex(InStream, Last)) return false;
  if (AdjustVectorSize) {
    const std::int64_t Remaining = RemainingBytes(InStream);
    if (MayAdjustTo(FNElem, Last, Remaining < 0 ? -1 : Remaining / Items::kBytes)) Resize(Last);
  }
  bool Result = FNElem >= Last;
  if (Result) {
    for (std::int64_t K = First; K <= Last; ++K) {
      T Value{};
      // A short read means the stream has ended: the rest would fail alike.
      if (!Items::Read(InStream, Value)) {
        Result = false;
        break;
      }
      SetVal(static_cast<int>(K), Value);
    }
  }
  Changed();
  return Result;
}

template int TVectorBase<double>::ImportASC(const std::string&, std::string&);
template int TVectorBase<std::int32_t>::ImportASC(const std::string&, std::string&);
template bool TVectorBase<double>::LoadFromFile(const std::string&, bool);
template bool TVectorBase<std::int32_t>::LoadFromFile(const std::string&, bool);
template void TVectorBase<double>::SaveToStream(std::ostream&, int, int) const;
template void TVectorBase<std::int32_t>::SaveToStream(std::ostream&, int, int) const;
template bool TVectorBase<double>::LoadFromStream(std::istream&, bool);
template bool TVectorBase<std::int32_t>::LoadFromStream(std::istream&, bool);

// --- TVector -----------------------------------------------------------------------------------

// The header names the ASC file FName; here that would shadow the component's name field.

int TVector::ExportAsASC(const std::string& FileName, int Precision,
                         const std::string& Comment) const {
  return WriteAsc(*this, FileName, Comment, "TVector", [this, Precision](int K) {
    return NMX_stringl::strff(GetVal(K), 12, Precision);
  });
}

bool TVector::StoreOnFile(int FirstElem, int LastElem, int Precision,
                          const std::string& FileName) const {
  if (Precision < -2) {
    Precision = 2;
  } else if (Precision > 20) {
    Precision = 20;
  }
  if (LastElem < FirstElem) std::swap(FirstElem, LastElem);
  MakeValidElemRange(FirstElem, LastElem);
  return WriteList(FileName, FirstElem, LastElem, [this, Precision](int K) {
    const double X = GetVal(K);
    if (Precision == -1) return Scientific(X, 4);
    if (Precision == -2) return Scientific(X, 17);
    return NMX_stringl::strff(X, 1, Precision);
  });
}

bool TVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect) {
  if (!AutoDetect) return LoadFromFile(FileName, AdjustVectorSize);
  std::ifstream F;
  if (!OpenIn(FileName, F)) return false;
  // First pass: the lines that hold a decimal digit, counted without keeping any line. A line
  // is searched for a digit only until it has one (a list's lines mostly start with it); the
  // rest of it up to the line end is passed by memchr.
  std::int64_t Lines = 0;
  {
    TTextScanner In(F);
    bool HasDigit = false;
    std::string_view Chunk;
    while (In.NextChunk(Chunk)) {
      const char* P = Chunk.data();
      const char* const End = P + Chunk.size();
      while (P < End) {
        if (!HasDigit) {
          while (P < End && *P != '\n' && !(*P >= '0' && *P <= '9')) ++P;
          if (P == End) break;
          if (*P != '\n') HasDigit = true;
        }
        const auto* Lf =
            static_cast<const char*>(std::memchr(P, '\n', static_cast<std::size_t>(End - P)));
        if (Lf == nullptr) break;
        Lines += HasDigit ? 1 : 0;
        HasDigit = false;
        P = Lf + 1;
      }
    }
    Lines += HasDigit ? 1 : 0;
  }
  if (AdjustVectorSize) Resize(static_cast<int>(std::min<std::int64_t>(Lines, INT_MAX)));
  F.clear();
  F.seekg(0);

  // Second pass: the words of the counted lines, in order, one an element; the lines without
  // a digit (a title such as "temperature") are passed over, as they were not counted. A
  // line is known to count only at its first word with a digit, so the words before it wait.
  struct TPending {
    bool IsNumber;
    double Value;
  };
  std::vector<TPending> Pending;
  const std::int64_t N = FNElem;
  std::int64_t K = 1;
  bool Counted = false;
  TTextScanner In(F);
  std::string_view Word;
  bool NewLine = false;
  while (K <= N && In.NextWord(Word, &NewLine)) {
    if (NewLine) {
      Counted = false;
      Pending.clear();
    }
    double X = 0.0;
    const bool IsNumber = ParseNumber(Word, X);
    if (!Counted) {
      if (!NMX_filesys::detail::HasDigit(Word)) {
        // More words than elements left can never be stored.
        if (static_cast<std::int64_t>(Pending.size()) <= N - K) Pending.push_back({IsNumber, X});
        continue;
      }
      Counted = true;
      for (const TPending& P : Pending) {
        if (K > N) break;
        if (P.IsNumber) SetVal(static_cast<int>(K), P.Value);
        ++K;
      }
      if (K > N) break;
    }
    // A word that is no number leaves its element as it was.
    if (IsNumber) SetVal(static_cast<int>(K), X);
    ++K;
  }
  Changed();
  return true;
}

// --- TIntVector --------------------------------------------------------------------------------

int TIntVector::ExportAsASC(const std::string& FileName, const std::string& Comment) const {
  return WriteAsc(*this, FileName, Comment, "TIntVector",
                  [this](int K) { return std::to_string(GetVal(K)); });
}

bool TIntVector::StoreOnFile(int FirstElem, int LastElem, const std::string& FileName) const {
  if (LastElem < FirstElem) std::swap(FirstElem, LastElem);
  if (FirstElem <= 0) FirstElem = 1;
  if (LastElem > NrOfElem()) LastElem = NrOfElem();
  return WriteList(FileName, FirstElem, LastElem,
                   [this](int K) { return std::to_string(GetVal(K)); });
}

}  // namespace NMX_vector
