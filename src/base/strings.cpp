#include "nmx/base/strings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace NMX_stringl {
namespace {

bool IsBlankOrTab(char C) {
  return C == ' ' || C == '\t';
}

bool IsWhiteSpace(char C) {
  return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

char AsciiLower(char C) {
  return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C;
}

bool EqualIgnoringCase(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I) {
    if (AsciiLower(A[I]) != AsciiLower(B[I])) return false;
  }
  return true;
}

std::string PadLeft(std::string_view Text, int Width) {
  std::string Result;
  const std::size_t Wanted = Width > 0 ? static_cast<std::size_t>(Width) : 0;
  if (Wanted > Text.size()) Result.assign(Wanted - Text.size(), ' ');
  Result.append(Text);
  return Result;
}

}  // namespace

std::string strff(double x, int Width, int Decimals) {
  if (std::isnan(x)) return PadLeft("NAN", Width);
  if (std::isinf(x)) return PadLeft(x < 0 ? "-INF" : "INF", Width);
  const int Prec = std::clamp(Decimals, 0, 40);
  // The largest double has 309 integer digits; with a sign, the point and 40 decimals the
  // text stays well below this size.
  std::array<char, 400> Buf{};
  const auto Res =
      std::to_chars(Buf.data(), Buf.data() + Buf.size(), x, std::chars_format::fixed, Prec);
  if (Res.ec != std::errc()) return PadLeft("NAN", Width);  // not reachable with this buffer
  return PadLeft(std::string_view(Buf.data(), static_cast<std::size_t>(Res.ptr - Buf.data())),
                 Width);
}

std::string StripLTBlanks(std::string_view S) {
  std::size_t First = 0;
  std::size_t Last = S.size();
  while (First < Last && IsBlankOrTab(S[First])) ++First;
  while (Last > First && IsBlankOrTab(S[Last - 1])) --Last;
  return std::string(S.substr(First, Last - First));
}

std::string StripTrailingChars(std::string_view S, std::string_view Chars) {
  std::size_t Last = S.size();
  while (Last > 0 && Chars.find(S[Last - 1]) != std::string_view::npos) --Last;
  return std::string(S.substr(0, Last));
}

std::string RemoveControlChars(std::string_view S) {
  std::string Result;
  Result.reserve(S.size());
  for (const char C : S) {
    const auto U = static_cast<unsigned char>(C);
    if (U >= 32 && U != 127) Result.push_back(C);
  }
  return Result;
}

std::string ReplaceCharInString(std::string_view S, char OldCh, char NewCh) {
  std::string Result(S);
  std::replace(Result.begin(), Result.end(), OldCh, NewCh);
  return Result;
}

bool StringContains(std::string_view S, std::string_view Pattern) {
  if (Pattern == "//dig") {
    return std::any_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
  }
  return S.find(Pattern) != std::string_view::npos;
}

int StringIx(std::string_view S, std::span<const std::string> List, bool CaseSensitive) {
  for (std::size_t I = 0; I < List.size(); ++I) {
    const bool Equal =
        CaseSensitive ? std::string_view(List[I]) == S : EqualIgnoringCase(List[I], S);
    if (Equal) return static_cast<int>(I + 1);
  }
  return 0;
}

int Tokenize(std::string_view S, NMX_nmxbase::TStrArray& Tokens) {
  return Tokenize(S, Tokens, " \t");
}

int Tokenize(std::string_view S, NMX_nmxbase::TStrArray& Tokens, std::string_view Separators) {
  Tokens.clear();
  std::size_t Pos = 0;
  while (Pos < S.size()) {
    const std::size_t Start = S.find_first_not_of(Separators, Pos);
    if (Start == std::string_view::npos) break;
    std::size_t End = S.find_first_of(Separators, Start);
    if (End == std::string_view::npos) End = S.size();
    Tokens.emplace_back(S.substr(Start, End - Start));
    Pos = End;
  }
  return static_cast<int>(Tokens.size());
}

bool ParseQuotedName(char Ch, char Quote, std::string& Name, int& State) {
  switch (State) {
    case 0:
      if (IsWhiteSpace(Ch)) return false;
      if (Ch == Quote) {
        State = 1;
      } else {
        Name.push_back(Ch);
        State = 2;
      }
      return false;
    case 1:
      if (Ch == Quote) {
        State = 3;
        return true;
      }
      Name.push_back(Ch);
      return false;
    case 2:
      if (IsWhiteSpace(Ch)) {
        State = 3;
        return true;
      }
      Name.push_back(Ch);
      return false;
    default:
      return true;
  }
}

}  // namespace NMX_stringl
