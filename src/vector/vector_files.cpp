#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>

#include "nmx/base/streams.h"
#include "nmx/base/strings.h"
#include "nmx/vector/detail/files_core.h"
#include "nmx/vector/vector.h"

namespace NMX_vector {
namespace {

using Core = detail::FilesCore;

// X in the list file's scientific form: a blank or '-', one digit, the point, Decimals
// decimals, 'E', the exponent's sign and four exponent digits (Decimals + 9 characters).
// NaN and the infinities, which have no such form, are right-aligned in the same width.
std::string Scientific(double X, int Decimals) {
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

}  // namespace

// The header names the ASC file FName; here that would shadow the component's name field.

int TVector::ExportAsASC(const std::string& FileName, int Precision,
                         const std::string& Comment) const {
  return Core::ExportAsASC(*this, FileName, Comment, "TVector", [this, Precision](int K) {
    return NMX_stringl::strff(GetVal(K), 12, Precision);
  });
}

int TVector::ImportASC(const std::string& FileName, std::string& Comment) {
  return Core::ImportASC(*this, FileName, Comment);
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
  return Core::StoreOnFile(FileName, FirstElem, LastElem, [this, Precision](int K) {
    const double X = GetVal(K);
    if (Precision == -1) return Scientific(X, 4);
    if (Precision == -2) return Scientific(X, 17);
    return NMX_stringl::strff(X, 1, Precision);
  });
}

bool TVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  return Core::LoadFromFile(*this, FileName, AdjustVectorSize);
}

bool TVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect) {
  if (!AutoDetect) return LoadFromFile(FileName, AdjustVectorSize);
  std::ifstream F;
  if (!Core::OpenIn(FileName, F)) return false;
  // The lines that hold a decimal digit, counted without keeping any line.
  std::int64_t Lines = 0;
  bool HasDigit = false;
  std::streambuf* B = F.rdbuf();
  for (auto C = B->sbumpc(); C != std::streambuf::traits_type::eof(); C = B->sbumpc()) {
    if (C == '\n') {
      if (HasDigit) ++Lines;
      HasDigit = false;
    } else if (C >= '0' && C <= '9') {
      HasDigit = true;
    }
  }
  if (HasDigit) ++Lines;
  if (AdjustVectorSize) Resize(static_cast<int>(std::min<std::int64_t>(Lines, INT_MAX)));
  F.clear();
  F.seekg(0);
  const int N = NrOfElem();
  for (int K = 1; K <= N; ++K) {
    const std::string Word = NMX_filesys::ReadNextWordInTextFile(F);
    if (Word.empty()) break;  // the file has ended
    double X = 0.0;
    if (Core::ParseNumber(Word, X)) SetVal(K, X);
  }
  Changed();
  return true;
}

void TVector::SaveToStream(std::ostream& OutStream, int LowElem, int HighElem) const {
  Core::SaveToStream(
      *this, OutStream, LowElem, HighElem,
      [](std::ostream& S, int Index) {
        NMX_streams::WriteExtendedToStream(S, static_cast<long double>(Index));
      },
      [](std::ostream& S, double X) {
        NMX_streams::WriteExtendedToStream(S, static_cast<long double>(X));
      });
}

bool TVector::LoadFromStream(std::istream& InStream, bool AdjustVectorSize) {
  return Core::LoadFromStream(
      *this, InStream, AdjustVectorSize, 10,
      [](std::istream& S, int& Index) {
        bool Failed = false;
        const long double X = NMX_streams::ReadExtendedFromStream(S, Failed);
        return !Failed && Core::IndexFromExtended(X, Index);
      },
      [](std::istream& S, double& X) {
        bool Failed = false;
        X = static_cast<double>(NMX_streams::ReadExtendedFromStream(S, Failed));
        return !Failed;
      });
}

}  // namespace NMX_vector
