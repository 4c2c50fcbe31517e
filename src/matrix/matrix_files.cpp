// The files and streams of the dense matrices: the ASC data file, the list file and the binary
// stream layout, once for both cell types.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

#include "base/file_helpers.h"
#include "base/text_scanner.h"
#include "nmx/base/errors.h"
#include "nmx/base/strings.h"
#include "nmx/base/textfile.h"
#include "nmx/matrix/matrix_base.h"
#include "nmx/platform/exceptions.h"

namespace NMX_matrix {
namespace {

using NMX_filesys::detail::IndexFromExtended;
using NMX_filesys::detail::kFreeGrowth;
using NMX_filesys::detail::OpenAscFile;
using NMX_filesys::detail::OpenIn;
using NMX_filesys::detail::TAscHeader;
using NMX_filesys::detail::OpenOut;
using NMX_filesys::detail::ParseNumber;
using NMX_filesys::detail::ReadIntegerLine;
using NMX_filesys::detail::RemainingBytes;
using NMX_filesys::detail::ToElem;
using NMX_filesys::detail::TStreamItems;
using NMX_filesys::detail::TTextScanner;
using NMX_filesys::detail::WriteLine;

// Status codes of ImportASC beside those of the header reader.
constexpr int kAscBadAttribute = -5;
constexpr int kAscBadValue = -6;

// Whether a reader may give a matrix of Nc × Nr cells the dimensions Cols × Rows, given that
// its input can hold at most Capacity values (-1: unknown). Shrinking and small matrices are
// always allowed; beyond that the input must back the cells.
bool MayAdjustTo(int Nc, int Nr, int Cols, int Rows, std::int64_t Capacity) noexcept {
  if (Cols <= Nc && Rows <= Nr) return true;
  const std::int64_t Cells = std::int64_t{Cols} * Rows;
  return Cells <= kFreeGrowth || Cells <= Capacity;
}

// A name for the ASC file: in double quotes, without the characters that would end it early.
std::string QuotedName(std::string Name) {
  std::replace(Name.begin(), Name.end(), '"', '\'');
  std::replace(Name.begin(), Name.end(), '\n', ' ');
  std::replace(Name.begin(), Name.end(), '\r', ' ');
  return '"' + Name + '"';
}

}  // namespace

template <class T>
std::string TMatrixBase<T>::ValueText(T X) const {
  if constexpr (std::is_same_v<T, double>) {
    const int Width = FPrecis[0], Decimals = FPrecis[1];
    if (Decimals >= 0 || !std::isfinite(X)) return NMX_stringl::strff(X, Width, std::max(Decimals, 0));
    std::array<char, 32> Buf{};
    const auto Res = std::to_chars(Buf.data(), Buf.data() + Buf.size(), X);
    const std::string_view Text(Buf.data(), static_cast<std::size_t>(Res.ptr - Buf.data()));
    std::string Out;
    if (static_cast<int>(Text.size()) < Width) Out.assign(static_cast<std::size_t>(Width) - Text.size(), ' ');
    Out.append(Text);
    return Out;
  } else {
    return std::to_string(X);
  }
}

// --- ASC files ---------------------------------------------------------------------------------

template <class T>
int TMatrixBase<T>::ExportAsASC(const std::string& FileName, const std::string& Comment) const {
  return ExportAsASC(FileName, Comment, NMX_nmxbase::TStr2DArray{});
}

template <class T>
int TMatrixBase<T>::ExportAsASC(const std::string& FileName, const std::string& Comment,
                                const NMX_nmxbase::TStr2DArray& CustData) const {
  std::ofstream F;
  if (!OpenOut(FileName, F)) return -1;
  const bool ColNames = !CustData.empty() && !CustData[0].empty();
  const bool RowNames = CustData.size() > 1 && !CustData[1].empty();
  const auto NameOf = [&CustData](std::size_t List, int Index) {
    const auto& Names = CustData[List];
    const auto Ix = static_cast<std::size_t>(Index - 1);
    return QuotedName(Ix < Names.size() ? Names[Ix] : std::string());
  };
  std::string Line = Comment.empty() ? "Exported by NMX " + ClassName() + " component: " + FileName
                                     : Comment;
  std::replace(Line.begin(), Line.end(), '\n', ' ');
  WriteLine(F, Line);
  WriteLine(F, std::to_string(FNCol) + "\t;nr. of columns");
  WriteLine(F, std::to_string(FNRow) + "\t;nr. of rows");
  WriteLine(F, std::string("FALSE ") + (ColNames ? "TRUE " : "FALSE ") +
                   (RowNames ? "TRUE " : "FALSE ") +
                   "FALSE\t;row attributes, column names, row names, nominal variables");
  if (ColNames) {
    Line.clear();
    for (int C = 1; C <= FNCol; ++C) {
      if (C > 1) Line += ' ';
      Line += NameOf(0, C);
    }
    WriteLine(F, Line);
  }
  for (int R = 1; R <= FNRow && F; ++R) {
    Line.clear();
    if (RowNames) Line += NameOf(1, R) + ' ';
    for (int C = 1; C <= FNCol; ++C) {
      if (C > 1) Line += ' ';
      Line += ValueText(FMat[Offset(C, R)]);
    }
    WriteLine(F, Line);
  }
  F.close();  // flushes; sets failbit when that or an earlier write failed
  if (F.fail()) {
    NMX_nmxbase::RaiseComponentError<NMX_platform::EInOutError>(
        this, "cannot write to file \"" + FileName + "\"");
  }
  return 0;
}

template <class T>
int TMatrixBase<T>::ImportASC(const std::string& FileName, std::string& Comment) {
  NMX_nmxbase::TStr2DArray Ignored;
  return ImportASC(FileName, Comment, Ignored);
}

template <class T>
int TMatrixBase<T>::ImportASC(const std::string& FileName, std::string& Comment,
                              NMX_nmxbase::TStr2DArray& CustData) {
  std::ifstream F;
  TAscHeader H;
  int HeaderStatus = 0;
  if (!OpenAscFile(FileName, F, Comment, H, HeaderStatus)) return HeaderStatus;
  if (HeaderStatus != 0) return HeaderStatus;
  const int NrCols = H.NrCols, NrRows = H.NrRows;
  const bool RowAttribs = H.RowAttribs, ColNames = H.ColNames, RowNames = H.RowNames;
  CustData.assign(2, {});
  if (NrCols <= 0 || NrRows <= 0) return 0;

  // Every value takes at least two bytes (the word and the white space after it; the last may
  // lack it), so the rest of the file holds at most Remaining / 2 + 1 values. A file that
  // cannot hold one row is not read; rows are allocated as far as the file backs them and
  // grow as they arrive, so a lying header costs no memory.
  const std::int64_t Remaining = RemainingBytes(F);
  const std::int64_t Backed = Remaining < 0 ? NrCols : Remaining / 2 + 1;
  if (NrCols > Backed) return kAscBadValue;
  Resize(NrCols, static_cast<int>(std::min<std::int64_t>(NrRows, Backed / NrCols + 1)));

  TTextScanner In(F);
  std::string Name;
  for (int C = 0; C < NrCols && ColNames; ++C) {
    if (!In.ReadQuotedName(&Name)) break;
    CustData[0].push_back(Name);
  }
  int Status = 0;
  int K = 1;
  std::string_view Word;
  for (; K <= NrRows && Status == 0; ++K) {
    if (RowAttribs) {
      double Attribute = 0.0;
      In.NextWord(Word);
      if (!ParseNumber(Word, Attribute)) {
        Status = kAscBadAttribute;
        break;
      }
    }
    if (RowNames) {
      Name.clear();
      In.ReadQuotedName(&Name);
      CustData[1].push_back(Name);
    }
    if (K > FNRow) {
      const std::int64_t Grown = std::max<std::int64_t>(K, 2 * std::int64_t{FNRow});
      Resize(NrCols, static_cast<int>(std::min<std::int64_t>(NrRows, Grown)));
    }
    for (int C = 1; C <= NrCols; ++C) {
      In.NextWord(Word);
      T Value{};
      double X = std::numeric_limits<double>::quiet_NaN();
      if (Word != "###" && !ParseNumber(Word, X)) {
        Status = kAscBadValue;
        break;
      }
      // A missing value ("###", "NAN") is NaN in a matrix of doubles, 0 in one of integers.
      if (!ToElem(X, Value)) Value = T(0);
      PutVal(C, K, Value);
    }
    if (Status != 0) break;
  }
  // Row K, where an error stopped the reading, stays in the matrix.
  Resize(NrCols, Status != 0 ? K : NrRows);
  return Status;
}

// --- list files --------------------------------------------------------------------------------

template <class T>
bool TMatrixBase<T>::StoreOnFile(int LoC, int LoR, int HiC, int HiR,
                                 const std::string& FileName) const {
  MakeValidColRange(LoC, HiC);
  MakeValidRowRange(LoR, HiR);
  std::ofstream F;
  if (!OpenOut(FileName, F)) return false;
  WriteLine(F, std::to_string(LoC) + ' ' + std::to_string(LoR) + ' ' + std::to_string(HiC) + ' ' +
                   std::to_string(HiR));
  std::string Line;
  for (int R = LoR; R <= HiR && F; ++R) {
    Line.clear();
    for (int C = LoC; C <= HiC; ++C) {
      if (C > LoC) Line += ' ';
      Line += ValueText(FMat[Offset(C, R)]);
    }
    WriteLine(F, Line);
  }
  return true;
}

template <class T>
bool TMatrixBase<T>::LoadFromFile(const std::string& FileName, bool AdjustMatrixSize) {
  std::ifstream F;
  if (!OpenIn(FileName, F)) return false;
  const std::int64_t Total = RemainingBytes(F);
  TTextScanner In(F);
  int Bounds[4] = {0, 0, 0, 0};
  std::int64_t LineBytes = 0;
  if (!ReadIntegerLine(In, Bounds, 4, LineBytes)) return false;
  const int LoC = Bounds[0], LoR = Bounds[1], HiC = Bounds[2], HiR = Bounds[3];
  if (AdjustMatrixSize && HiC >= 1 && HiR >= 1) {
    const std::int64_t Remaining = Total < 0 ? -1 : Total - LineBytes;
    if (MayAdjustTo(FNCol, FNRow, HiC, HiR, Remaining < 0 ? -1 : Remaining / 2 + 1)) {
      Resize(HiC, HiR);
    }
  }
  const bool Result = FNCol >= HiC && FNRow >= HiR;
  if (Result) {
    std::string_view Word;
    bool More = true;
    for (std::int64_t R = LoR; R <= HiR && More; ++R) {
      for (std::int64_t C = LoC; C <= HiC; ++C) {
        if (!In.NextWord(Word)) {
          More = false;  // the file has ended: every further read would fail
          break;
        }
        double X = 0.0;
        T Value{};
        if (ParseNumber(Word, X) && ToElem(X, Value)) {
          SetVal(static_cast<int>(C), static_cast<int>(R), Value);
        }
      }
    }
  }
  Changed();
  return Result;
}

// --- binary streams ----------------------------------------------------------------------------

template <class T>
void TMatrixBase<T>::SaveToStream(std::ostream& OutStream, int LoC, int LoR, int HiC,
                                  int HiR) const {
  using Items = TStreamItems<T>;
  MakeValidColRange(LoC, HiC);
  MakeValidRowRange(LoR, HiR);
  for (const int Index : {LoC, LoR, HiC, HiR}) Items::WriteIndex(OutStream, Index);
  for (int C = LoC; C <= HiC; ++C) {
    for (int R = LoR; R <= HiR; ++R) Items::Write(OutStream, FMat[Offset(C, R)]);
  }
}

template <class T>
bool TMatrixBase<T>::LoadFromStream(std::istream& InStream, bool AdjustMatrixSize) {
  using Items = TStreamItems<T>;
  int LoC = 0, LoR = 0, HiC = 0, HiR = 0;
  if (!Items::ReadIndex(InStream, LoC) || !Items::ReadIndex(InStream, LoR) ||
      !Items::ReadIndex(InStream, HiC) || !Items::ReadIndex(InStream, HiR)) {
    return false;
  }
  if (LoC < 1 || LoR < 1 || LoC > HiC || LoR > HiR) return false;
  if (AdjustMatrixSize) {
    const std::int64_t Remaining = RemainingBytes(InStream);
    if (MayAdjustTo(FNCol, FNRow, HiC, HiR, Remaining < 0 ? -1 : Remaining / Items::kBytes)) {
      Resize(HiC, HiR);
    }
  }
  bool Result = FNCol >= HiC && FNRow >= HiR;
  for (int C = LoC; C <= HiC && Result; ++C) {
    for (int R = LoR; R <= HiR; ++R) {
      T Value{};
      // A short read means the stream has ended: the rest would fail alike.
      if (!Items::Read(InStream, Value)) {
        Result = false;
        break;
      }
      SetVal(C, R, Value);
    }
  }
  Changed();
  return Result;
}

#define NMX_MATRIX_FILES(T)                                                                      \
  template std::string TMatrixBase<T>::ValueText(T) const;                                       \
  template int TMatrixBase<T>::ExportAsASC(const std::string&, const std::string&) const;        \
  template int TMatrixBase<T>::ExportAsASC(const std::string&, const std::string&,               \
                                           const NMX_nmxbase::TStr2DArray&) const;               \
  template int TMatrixBase<T>::ImportASC(const std::string&, std::string&);                      \
  template int TMatrixBase<T>::ImportASC(const std::string&, std::string&,                       \
                                         NMX_nmxbase::TStr2DArray&);                             \
  template bool TMatrixBase<T>::StoreOnFile(int, int, int, int, const std::string&) const;       \
  template bool TMatrixBase<T>::LoadFromFile(const std::string&, bool);                          \
  template void TMatrixBase<T>::SaveToStream(std::ostream&, int, int, int, int) const;           \
  template bool TMatrixBase<T>::LoadFromStream(std::istream&, bool);
NMX_MATRIX_FILES(double)
NMX_MATRIX_FILES(std::int32_t)
#undef NMX_MATRIX_FILES

}  // namespace NMX_matrix
