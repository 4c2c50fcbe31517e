#include "nmx/base/textfile.h"

#include <array>
#include <charconv>
#include <exception>
#include <filesystem>
#include <fstream>
#include <new>
#include <streambuf>
#include <string_view>
#include <system_error>

namespace NMX_filesys {
namespace {

using Traits = std::streambuf::traits_type;

bool IsWhite(char C) {
  return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

// One line without its LF and without a CR right before it; false when the text has ended
// before the line starts.
bool ReadLine(std::istream& F, std::string& Line) {
  Line.clear();
  if (!std::getline(F, Line)) return false;
  if (!Line.empty() && Line.back() == '\r') Line.pop_back();
  return true;
}

// The decimal integer at the start of Line after blanks and TABs; false if there is none, it
// is negative or it does not fit an int.
bool LeadingCount(std::string_view Line, int& Count) {
  std::size_t P = 0;
  while (P < Line.size() && (Line[P] == ' ' || Line[P] == '\t')) ++P;
  if (P < Line.size() && Line[P] == '+') ++P;  // from_chars takes '-' but not '+'
  int Value = 0;
  const char* First = Line.data() + P;
  const auto Res = std::from_chars(First, Line.data() + Line.size(), Value);
  if (Res.ec != std::errc() || Value < 0) return false;
  Count = Value;
  return true;
}

// Whether Word is TRUE or FALSE without regard to case; Value receives it.
bool ParseFlag(std::string_view Word, bool& Value) {
  auto Same = [](std::string_view A, std::string_view Upper) {
    if (A.size() != Upper.size()) return false;
    for (std::size_t I = 0; I < A.size(); ++I) {
      const char C = (A[I] >= 'a' && A[I] <= 'z') ? static_cast<char>(A[I] - 'a' + 'A') : A[I];
      if (C != Upper[I]) return false;
    }
    return true;
  };
  if (Same(Word, "TRUE")) {
    Value = true;
    return true;
  }
  if (Same(Word, "FALSE")) {
    Value = false;
    return true;
  }
  return false;
}

bool ParseFlags(std::string_view Line, std::array<bool, 4>& Flags) {
  const std::size_t Remark = Line.find(';');
  if (Remark != std::string_view::npos) Line = Line.substr(0, Remark);
  std::size_t P = 0;
  for (std::size_t K = 0; K < Flags.size(); ++K) {
    while (P < Line.size() && (Line[P] == ' ' || Line[P] == '\t')) ++P;
    std::size_t End = P;
    while (End < Line.size() && Line[End] != ' ' && Line[End] != '\t') ++End;
    bool Value = false;
    if (!ParseFlag(Line.substr(P, End - P), Value)) {
      if (K < 3) return false;
      Value = false;  // writers may give the first three flags only
    }
    Flags[K] = Value;
    P = End;
  }
  return true;
}

}  // namespace

std::string ReadNextWordInTextFile(std::istream& F) {
  std::string Word;
  std::streambuf* B = F.good() ? F.rdbuf() : nullptr;
  if (B == nullptr) {
    F.setstate(std::ios::failbit);
    return Word;
  }
  // The buffer is read directly, so what an istream would catch is caught here: a file
  // stream's buffer throws when the read itself fails (EISDIR, EIO).
  try {
    for (;;) {
      const auto C = B->sbumpc();
      if (C == Traits::eof()) {
        F.setstate(Word.empty() ? std::ios::eofbit | std::ios::failbit : std::ios::eofbit);
        return Word;
      }
      const char Ch = Traits::to_char_type(C);
      if (IsWhite(Ch)) {
        if (!Word.empty()) return Word;
        continue;
      }
      Word.push_back(Ch);
    }
  } catch (const std::bad_alloc&) {
    F.setstate(std::ios::failbit);
  } catch (const std::exception&) {
    F.setstate(std::ios::badbit | std::ios::failbit);
  }
  return std::string();
}

namespace {

// The outputs of ReadHeaderOfASC before anything is read.
void ResetHeader(std::string& Comment, int& NrCols, int& NrRows, bool& RowAttribs, bool& ColNames,
                 bool& RowNames, bool& NomVars) {
  Comment.clear();
  NrCols = 0;
  NrRows = 0;
  RowAttribs = false;
  ColNames = false;
  RowNames = false;
  NomVars = false;
}

}  // namespace

int ReadHeaderOfASC(std::istream& F, std::string& Comment, int& NrCols, int& NrRows,
                    bool& RowAttribs, bool& ColNames, bool& RowNames, bool& NomVars) {
  ResetHeader(Comment, NrCols, NrRows, RowAttribs, ColNames, RowNames, NomVars);

  std::string Line;
  if (!ReadLine(F, Line)) return kAscTruncated;
  Comment = Line;
  if (!ReadLine(F, Line)) return kAscTruncated;
  if (!LeadingCount(Line, NrCols)) return kAscBadColumns;
  if (!ReadLine(F, Line)) return kAscTruncated;
  if (!LeadingCount(Line, NrRows)) return kAscBadRows;
  if (!ReadLine(F, Line)) return kAscTruncated;
  std::array<bool, 4> Flags{};
  if (!ParseFlags(Line, Flags)) return kAscBadFlags;
  RowAttribs = Flags[0];
  ColNames = Flags[1];
  RowNames = Flags[2];
  NomVars = Flags[3];
  return kAscHeaderOk;
}

int ReadHeaderOfASC(const std::string& FName, std::string& Comment, int& NrCols, int& NrRows,
                    bool& RowAttribs, bool& ColNames, bool& RowNames, bool& NomVars) {
  ResetHeader(Comment, NrCols, NrRows, RowAttribs, ColNames, RowNames, NomVars);
  std::error_code Ec;
  if (std::filesystem::is_directory(FName, Ec)) return kAscCannotOpen;
  std::ifstream F(FName, std::ios::binary);
  if (!F.is_open()) return kAscCannotOpen;
  return ReadHeaderOfASC(F, Comment, NrCols, NrRows, RowAttribs, ColNames, RowNames, NomVars);
}

}  // namespace NMX_filesys
