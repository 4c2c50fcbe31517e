// The bodies the files and streams of TVector and TIntVector share: number words, the ASC data
// file, the list file and the binary stream layout, written once over the element type.
#pragma once

#include <algorithm>
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

#include "nmx/base/errors.h"
#include "nmx/base/strings.h"
#include "nmx/base/textfile.h"
#include "nmx/platform/exceptions.h"

namespace NMX_vector::detail {

/// Uses only the public interface of the vector classes: NrOfElem, Resize, GetVal, SetVal,
/// Changed and MakeValidElemRange. V is TVector or TIntVector.
struct FilesCore {
  /// The element type of the vector class V.
  template <class V>
  using ElemOf = std::remove_cvref_t<decltype(std::declval<const V&>().GetVal(1))>;

  /// Status codes of ImportASC beside those of the header reader.
  static constexpr int kAscBadAttribute = -5;
  static constexpr int kAscBadValue = -6;
  static constexpr int kAscTooManyColumns = -7;
  static constexpr int kAscMissingFile = -8;

  /// How far AdjustVectorSize may grow a vector whatever its input holds (512 KiB of
  /// doubles): a list or stream that holds elements first..last of a longer vector is then
  /// loaded as it always was, while a header that claims a huge last index allocates no more
  /// than this unless the input is large enough to hold that many values.
  static constexpr std::int64_t kFreeGrowth = 65536;

  // --- number words ---------------------------------------------------------------------------

  /// Whether the whole of Word is a number for std::from_chars (one leading '+' allowed);
  /// X receives it. Magnitudes beyond the double range that a long double still holds give
  /// an infinity or a (signed) zero, as the nearest double would.
  static bool ParseNumber(std::string_view Word, double& X) noexcept {
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

  /// Whether the whole of Word is a decimal integer in the int range (one leading '+'
  /// allowed).
  static bool ParseInt(std::string_view Word, int& X) noexcept {
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

  /// X as an element of type T: a double as it is; an integer clamped to the int32 range,
  /// then rounded to nearest (ties to even). A NaN is no integer.
  template <class T>
  static bool ToElem(double X, T& Out) noexcept {
    if constexpr (std::is_same_v<T, double>) {
      Out = X;
      return true;
    } else {
      static_assert(std::is_same_v<T, std::int32_t>);
      if (std::isnan(X)) return false;
      const double C =
          std::clamp(X, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX));
      Out = static_cast<std::int32_t>(std::nearbyint(C));
      return true;
    }
  }

  /// An element index stored as an extended value: rounded to nearest (ties to even); false
  /// for a NaN, an infinity or a value outside the int range.
  static bool IndexFromExtended(long double X, int& Index) noexcept {
    if (!std::isfinite(X)) return false;
    const long double R = std::nearbyint(X);
    if (R < static_cast<long double>(INT_MIN) || R > static_cast<long double>(INT_MAX)) {
      return false;
    }
    Index = static_cast<int>(R);
    return true;
  }

  // --- files ----------------------------------------------------------------------------------

  /// The bytes from the current read position of S to its end, or -1 when the stream cannot
  /// tell (it is not seekable). The position is restored; the stream's state is not touched.
  static std::int64_t RemainingBytes(std::istream& S) {
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

  /// Opens FName for reading in binary mode; a directory is not opened.
  static bool OpenIn(const std::string& FName, std::ifstream& F) {
    std::error_code Ignored;
    if (std::filesystem::is_directory(FName, Ignored)) return false;
    F.open(FName, std::ios::in | std::ios::binary);
    return F.is_open();
  }

  /// Creates (or empties) FName for writing in binary mode; a directory is not opened.
  static bool OpenOut(const std::string& FName, std::ofstream& F) {
    std::error_code Ignored;
    if (std::filesystem::is_directory(FName, Ignored)) return false;
    F.open(FName, std::ios::out | std::ios::binary | std::ios::trunc);
    return F.is_open();
  }

  /// Writes Text and CR LF.
  static void WriteLine(std::ostream& F, std::string_view Text) {
    F.write(Text.data(), static_cast<std::streamsize>(Text.size()));
    F.write("\r\n", 2);
  }

  /// Whether AdjustVectorSize may resize a vector of N elements to Last, given that the input
  /// left after the indices can hold at most Capacity values (-1: unknown, nothing proven).
  static bool MayAdjustTo(int N, int Last, std::int64_t Capacity) noexcept {
    return Last <= N || Last <= kFreeGrowth || Last <= Capacity;
  }

  // --- ASC data files -------------------------------------------------------------------------

  /// Writes the ASC file of a one-column vector; Format(k) gives the text of element k.
  template <class V, class Formatter>
  static int ExportAsASC(const V& Self, const std::string& FName, const std::string& Comment,
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
    WriteLine(
        F, "FALSE FALSE FALSE FALSE\t;row attributes, column names, row names, nominal variables");
    const int N = Self.NrOfElem();
    for (int K = 1; K <= N && F; ++K) WriteLine(F, Format(K));
    F.close();  // flushes; sets failbit when that or an earlier write failed
    if (F.fail()) {
      throw NMX_platform::EInOutError(
          NMX_nmxbase::ComponentMessage(&Self, "cannot write to file \"" + FName + "\""));
    }
    return 0;
  }

  /// Reads past one name of the column-names or row-names section: characters go to
  /// ParseQuotedName until it reports a complete name or the file ends.
  static void SkipName(std::istream& F) {
    if (!F.good()) return;
    std::streambuf* B = F.rdbuf();
    std::string Name;
    int State = 0;
    for (;;) {
      const auto C = B->sbumpc();
      if (C == std::streambuf::traits_type::eof()) {
        F.setstate(std::ios::eofbit);
        return;
      }
      if (NMX_stringl::ParseQuotedName(std::streambuf::traits_type::to_char_type(C), '"', Name,
                                       State)) {
        return;
      }
    }
  }

  template <class V>
  static int ImportASC(V& Self, const std::string& FName, std::string& Comment) {
    using T = ElemOf<V>;
    std::error_code Ignored;
    if (!std::filesystem::exists(FName, Ignored)) return kAscMissingFile;
    std::ifstream F;
    if (!OpenIn(FName, F)) {
      Comment.clear();
      return NMX_filesys::kAscCannotOpen;
    }
    int NrCols = 0, NrRows = 0;
    bool RowAttribs = false, ColNames = false, RowNames = false, NomVars = false;
    const int HeaderStatus = NMX_filesys::ReadHeaderOfASC(F, Comment, NrCols, NrRows, RowAttribs,
                                                          ColNames, RowNames, NomVars);
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
      Self.Resize(static_cast<int>(
          std::min<std::int64_t>(NrRows, std::max<std::int64_t>(Self.NrOfElem(), Backed))));
    }
    for (int C = 0; C < NrCols && ColNames; ++C) SkipName(F);

    int Status = 0;
    int K = 1;
    for (; K <= NrRows; ++K) {
      if (RowAttribs) {
        double Attribute = 0.0;
        const std::string Word = NMX_stringl::StripLTBlanks(NMX_filesys::ReadNextWordInTextFile(F));
        if (!ParseNumber(Word, Attribute)) {
          Status = kAscBadAttribute;
          break;
        }
      }
      if (RowNames) SkipName(F);
      const std::string Word = NMX_stringl::StripLTBlanks(NMX_filesys::ReadNextWordInTextFile(F));
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
      if (K > Self.NrOfElem()) {
        const std::int64_t Grown = std::max<std::int64_t>(K, 2 * std::int64_t{Self.NrOfElem()});
        Self.Resize(static_cast<int>(std::min<std::int64_t>(NrRows, Grown)));
      }
      Self.SetVal(K, Value);
    }
    // Row K, where an error stopped the reading, stays in the vector with the value it had.
    Self.Resize(Status != 0 ? K : NrRows);
    return Status;
  }

  // --- list files -----------------------------------------------------------------------------

  /// Writes the list file: "First Last", then Format(k) for k = First..Last. False only when
  /// the file cannot be created.
  template <class Formatter>
  static bool StoreOnFile(const std::string& FileName, int First, int Last, Formatter&& Format) {
    std::ofstream F;
    if (!OpenOut(FileName, F)) return false;
    WriteLine(F, std::to_string(First) + " " + std::to_string(Last));
    // A failed write is not reported; there is no point in writing on after it.
    for (std::int64_t K = First; K <= Last && F; ++K) WriteLine(F, Format(static_cast<int>(K)));
    return true;
  }

  /// Line 1 of a list file: exactly two integers, separated by blanks or TABs.
  static bool ReadListHeader(std::istream& F, int& First, int& Last) {
    std::string Line;
    if (!std::getline(F, Line)) return false;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    NMX_nmxbase::TStrArray Tokens;
    if (NMX_stringl::Tokenize(Line, Tokens) != 2) return false;
    return ParseInt(Tokens[0], First) && ParseInt(Tokens[1], Last);
  }

  template <class V>
  static bool LoadFromFile(V& Self, const std::string& FileName, bool AdjustVectorSize) {
    using T = ElemOf<V>;
    std::ifstream F;
    if (!OpenIn(FileName, F)) return false;
    int First = 0, Last = 0;
    if (!ReadListHeader(F, First, Last)) return false;
    if (AdjustVectorSize) {
      // One value takes at least two bytes (the last may lack its line end).
      const std::int64_t Remaining = RemainingBytes(F);
      if (MayAdjustTo(Self.NrOfElem(), Last, Remaining < 0 ? -1 : Remaining / 2 + 1)) {
        Self.Resize(Last);
      }
    }
    const bool Result = Self.NrOfElem() >= Last;
    if (Result) {
      for (std::int64_t K = First; K <= Last; ++K) {
        const std::string Word = NMX_filesys::ReadNextWordInTextFile(F);
        if (Word.empty()) break;  // the file has ended: every further read would fail
        double X = 0.0;
        T Value{};
        if (ParseNumber(Word, X) && ToElem(X, Value)) Self.SetVal(static_cast<int>(K), Value);
      }
    }
    Self.Changed();
    return Result;
  }

  // --- binary streams -------------------------------------------------------------------------

  /// Writes Index(Low), Index(High) and Item(k) for k = Low..High, the range made valid.
  template <class V, class IndexWriter, class ItemWriter>
  static void SaveToStream(const V& Self, std::ostream& S, int LowElem, int HighElem,
                           IndexWriter&& WriteIndex, ItemWriter&& WriteItem) {
    Self.MakeValidElemRange(LowElem, HighElem);
    WriteIndex(S, LowElem);
    WriteIndex(S, HighElem);
    for (int K = LowElem; K <= HighElem; ++K) WriteItem(S, Self.GetVal(K));
  }

  /// ReadIndex(S, int&) and ReadItem(S, T&) return false when the stream holds no (valid)
  /// item; ItemBytes is the size of one item.
  template <class V, class IndexReader, class ItemReader>
  static bool LoadFromStream(V& Self, std::istream& S, bool AdjustVectorSize, int ItemBytes,
                             IndexReader&& ReadIndex, ItemReader&& ReadItem) {
    using T = ElemOf<V>;
    int First = 0, Last = 0;
    if (!ReadIndex(S, First) || !ReadIndex(S, Last)) return false;
    if (AdjustVectorSize) {
      const std::int64_t Remaining = RemainingBytes(S);
      if (MayAdjustTo(Self.NrOfElem(), Last, Remaining < 0 ? -1 : Remaining / ItemBytes)) {
        Self.Resize(Last);
      }
    }
    bool Result = Self.NrOfElem() >= Last;
    if (Result) {
      for (std::int64_t K = First; K <= Last; ++K) {
        T Value{};
        // A short read means the stream has ended: the rest would fail alike.
        if (!ReadItem(S, Value)) {
          Result = false;
          break;
        }
        Self.SetVal(static_cast<int>(K), Value);
      }
    }
    Self.Changed();
    return Result;
  }
};

}  // namespace NMX_vector::detail
