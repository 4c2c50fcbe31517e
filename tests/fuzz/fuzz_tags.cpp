// Fuzz target for the tag readers and the ASC header reader: no input may crash them, read out
// of bounds or loop, and the stream tag reader must agree with the string tag reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "nmx/base/strings.h"
#include "nmx/base/tags.h"
#include "nmx/base/textfile.h"

namespace {

const std::vector<std::string> kTags = {"a", "b", "root", "", "$invalid$"};

void Check(bool Condition) {
  if (!Condition) std::abort();
}

// Reads every element of S with both readers; recurses into known contents as callers do.
void ScanBoth(const std::string& S, int High, int Depth) {
  std::istringstream F(S);
  int StartAt = 1;
  for (int Calls = 0;; ++Calls) {
    Check(Calls <= static_cast<int>(S.size()) + 1);  // each call passes at least one '<'
    std::string Attributes;
    std::string Content;
    const int Before = StartAt;
    const int Ix = NMX_stringl::ReadNextTagInString(S, StartAt, kTags, High, Attributes, Content);
    Check(StartAt > Before || StartAt == static_cast<int>(S.size()) + 1);
    Check(StartAt >= 1 && StartAt <= static_cast<int>(S.size()) + 1);
    Check(Content.size() <= S.size() && Attributes.size() <= S.size());

    std::string FileContent;
    std::string FileAttributes;
    const int FileIx =
        NMX_stringl::ReadNextTagInTextFile(F, kTags, High, FileContent, FileAttributes);
    Check(FileIx == Ix && FileContent == Content && FileAttributes == Attributes);

    if (Ix != High && Depth < 4) ScanBoth(Content, High, Depth + 1);
    if (Ix == High && StartAt == static_cast<int>(S.size()) + 1) break;
  }
}

}  // namespace

// Declared first so that the definition does not trip -Wmissing-declarations in the replay build.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  // The first byte picks High: within the table, at its end and beyond it.
  const int High = static_cast<int>(Data[0] % 7);
  const std::string S(reinterpret_cast<const char*>(Data) + 1, Size - 1);
  ScanBoth(S, High, 0);

  std::istringstream H(S);
  std::string Comment;
  int NrCols = 0;
  int NrRows = 0;
  bool Flags[4] = {};
  const int Status = NMX_filesys::ReadHeaderOfASC(H, Comment, NrCols, NrRows, Flags[0], Flags[1],
                                                  Flags[2], Flags[3]);
  Check(Status <= 0 && Status >= -5);
  Check(NrCols >= 0 && NrRows >= 0 && Comment.size() <= S.size());
  if (Status == 0) {
    // The data section as the vector reader walks it: names, then words.
    std::string Name;
    int State = 0;
    for (int C = H.get(); C != std::char_traits<char>::eof(); C = H.get()) {
      if (NMX_stringl::ParseQuotedName(static_cast<char>(C), '"', Name, State)) break;
    }
    while (!NMX_filesys::ReadNextWordInTextFile(H).empty()) {
    }
  }
  return 0;
}
