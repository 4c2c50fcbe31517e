#include "nmx/base/tags.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <exception>
#include <new>
#include <streambuf>

namespace NMX_stringl {
namespace {

// The scanner below works on a character source with one character of look-ahead, so that
// the string reader and the stream reader share one grammar and agree to the byte. Peek and
// Next give the next byte as 0..255, or -1 at the end; Pos counts the bytes consumed.
// A source can record what it consumes, so that the stream reader keeps the current element
// and nothing else.

class StringSource {
 public:
  StringSource(std::string_view S, std::size_t Start) : FS(S), FPos(Start) {}
  int Peek() const { return FPos < FS.size() ? static_cast<unsigned char>(FS[FPos]) : -1; }
  int Next() { return FPos < FS.size() ? static_cast<unsigned char>(FS[FPos++]) : -1; }
  std::size_t Pos() const { return FPos; }
  void StartRecording() {}
  void StopRecording() {}
  std::string Slice(std::size_t From, std::size_t To) const {
    return std::string(FS.substr(From, To - From));
  }

 private:
  std::string_view FS;
  std::size_t FPos;
};

class StreamSource {
 public:
  explicit StreamSource(std::streambuf& B) : FB(B) {}
  int Peek() {
    const auto C = FB.sgetc();
    return C == Traits::eof() ? -1 : static_cast<unsigned char>(Traits::to_char_type(C));
  }
  int Next() {
    const auto C = FB.sbumpc();
    if (C == Traits::eof()) return -1;
    const char Ch = Traits::to_char_type(C);
    ++FPos;
    if (FRecording) FBuffer.push_back(Ch);
    return static_cast<unsigned char>(Ch);
  }
  std::size_t Pos() const { return FPos; }
  void StartRecording() {
    FBuffer.clear();
    FRecordStart = FPos;
    FRecording = true;
  }
  void StopRecording() {
    FRecording = false;
    std::string().swap(FBuffer);
  }
  std::string Slice(std::size_t From, std::size_t To) const {
    return FBuffer.substr(From - FRecordStart, To - From);
  }

 private:
  using Traits = std::streambuf::traits_type;
  std::streambuf& FB;
  std::size_t FPos = 0;
  bool FRecording = false;
  std::size_t FRecordStart = 0;
  std::string FBuffer;
};

bool IsWhite(int C) {
  return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

bool IsNameStart(int C) {
  return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_' || C == ':' || C >= 128;
}

void StripWhite(std::string& S) {
  std::size_t First = 0;
  std::size_t Last = S.size();
  while (First < Last && IsWhite(static_cast<unsigned char>(S[First]))) ++First;
  while (Last > First && IsWhite(static_cast<unsigned char>(S[Last - 1]))) --Last;
  S = S.substr(First, Last - First);
}

// Consumes up to and including the first occurrence of Terminator (at most 3 characters);
// false at the end of the input.
template <class Source>
bool SkipPast(Source& In, std::string_view Terminator) {
  char Window[3] = {0, 0, 0};
  const std::size_t N = Terminator.size();
  std::size_t Seen = 0;
  for (;;) {
    const int C = In.Next();
    if (C < 0) return false;
    Window[0] = Window[1];
    Window[1] = Window[2];
    Window[2] = static_cast<char>(C);
    if (Seen < N) ++Seen;
    if (Seen == N && std::string_view(Window + 3 - N, N) == Terminator) return true;
  }
}

// A `<!...>` declaration ends at the first '>' outside square brackets, so that a document
// type with an internal subset is passed over whole.
template <class Source>
bool SkipDeclaration(Source& In, int Depth) {
  for (;;) {
    const int C = In.Next();
    if (C < 0) return false;
    if (C == '[') {
      ++Depth;
    } else if (C == ']') {
      if (Depth > 0) --Depth;
    } else if (C == '>' && Depth == 0) {
      return true;
    }
  }
}

enum class Special { None, Comment, CData };

// After "<!": consumes "--" or "[CDATA[" if they follow. On a mismatch the characters that
// matched so far stay consumed (none of them is '<'); OpenBracket tells whether a '[' was
// among them.
template <class Source>
Special OpenSpecial(Source& In, bool& OpenBracket) {
  OpenBracket = false;
  if (In.Peek() == '-') {
    In.Next();
    if (In.Peek() != '-') return Special::None;
    In.Next();
    return Special::Comment;
  }
  for (const char Expected : std::string_view("[CDATA[")) {
    if (In.Peek() != static_cast<unsigned char>(Expected)) return Special::None;
    In.Next();
    if (Expected == '[') OpenBracket = true;
  }
  return Special::CData;
}

// Consumes Name if the input continues with it; stops before the first character that
// differs, so that it is not lost for the caller.
template <class Source>
bool MatchName(Source& In, const std::string& Name) {
  for (const char Ch : Name) {
    if (In.Peek() != static_cast<unsigned char>(Ch)) return false;
    In.Next();
  }
  return true;
}

struct TagEnd {
  bool Ok = false;
  bool SelfClosing = false;
  std::size_t GtPos = 0;  // position of the closing '>'
};

// Reads the rest of a start tag up to its '>'. A value quoted after '=' may hold '>'; quotes
// elsewhere are plain characters, so a stray apostrophe does not swallow the document.
template <class Source>
TagEnd ScanTagRest(Source& In) {
  TagEnd Result;
  bool AfterEquals = false;
  int Prev = -1;
  for (;;) {
    const int C = In.Next();
    if (C < 0) return Result;
    if (C == '>') {
      Result.Ok = true;
      Result.SelfClosing = Prev == '/';
      Result.GtPos = In.Pos() - 1;
      return Result;
    }
    if (AfterEquals && (C == '"' || C == '\'')) {
      if (!SkipPast(In, std::string(1, static_cast<char>(C)))) return Result;
      AfterEquals = false;
    } else if (C == '=') {
      AfterEquals = true;
    } else if (!IsWhite(C)) {
      AfterEquals = false;
    }
    Prev = C;
  }
}

// Finds the closing tag that matches an open element called Name; on success ContentEnd is
// the position of its '<' and the input stands just past its '>'.
template <class Source>
bool ScanContent(Source& In, const std::string& Name, std::size_t& ContentEnd) {
  int Depth = 0;
  for (;;) {
    const int C = In.Next();
    if (C < 0) return false;
    if (C != '<') continue;
    const std::size_t Lt = In.Pos() - 1;
    const int D = In.Peek();
    if (D == '!') {
      // Only comments and CDATA sections are passed over here; any other "<!" inside
      // content is taken as text, since the library writes its texts unescaped.
      In.Next();
      bool OpenBracket = false;
      const Special Kind = OpenSpecial(In, OpenBracket);
      if (Kind == Special::Comment && !SkipPast(In, "-->")) return false;
      if (Kind == Special::CData && !SkipPast(In, "]]>")) return false;
      continue;
    }
    if (D == '/') {
      In.Next();
      if (!MatchName(In, Name)) continue;
      while (IsWhite(In.Peek())) In.Next();
      if (In.Peek() != '>') continue;
      In.Next();
      if (Depth == 0) {
        ContentEnd = Lt;
        return true;
      }
      --Depth;
      continue;
    }
    if (!MatchName(In, Name)) continue;
    const int E = In.Peek();
    if (IsWhite(E) || E == '>') {
      const TagEnd End = ScanTagRest(In);
      if (!End.Ok) return false;
      if (!End.SelfClosing) ++Depth;
    } else if (E == '/') {
      // "<name/>" nests nothing; "<name/x" is another name and is plain text here.
      In.Next();
      if (In.Peek() == '>') In.Next();
    }
  }
}

int FindTag(const std::string& Name, std::span<const std::string> Tags, int High) {
  const std::size_t Known =
      High > 0 ? std::min(Tags.size(), static_cast<std::size_t>(High)) : std::size_t{0};
  for (std::size_t I = 0; I < Known; ++I) {
    if (Tags[I] == Name) return static_cast<int>(I);
  }
  return High;
}

struct ScanResult {
  bool Found = false;  // an element was read to its end
  int Index = 0;
};

template <class Source>
ScanResult ReadElement(Source& In, std::span<const std::string> Tags, int High,
                       std::string& Attributes, std::string& Content) {
  Attributes.clear();
  Content.clear();
  ScanResult Result;
  Result.Index = High;
  for (;;) {
    const int C = In.Next();
    if (C < 0) return Result;
    if (C != '<') continue;
    const int D = In.Peek();
    if (D == '?') {
      In.Next();
      if (!SkipPast(In, "?>")) return Result;
      continue;
    }
    if (D == '!') {
      In.Next();
      bool OpenBracket = false;
      const Special Kind = OpenSpecial(In, OpenBracket);
      bool Ok = false;
      if (Kind == Special::Comment) {
        Ok = SkipPast(In, "-->");
      } else if (Kind == Special::CData) {
        Ok = SkipPast(In, "]]>");
      } else {
        Ok = SkipDeclaration(In, OpenBracket ? 1 : 0);
      }
      if (!Ok) return Result;
      continue;
    }
    if (D == '/') {  // a stray closing tag
      In.Next();
      if (!SkipDeclaration(In, 0)) return Result;
      continue;
    }
    if (!IsNameStart(D)) continue;

    In.StartRecording();
    std::string Name;
    bool NameSelfClosing = false;
    for (;;) {
      const int E = In.Peek();
      if (E < 0) return Result;
      if (IsWhite(E) || E == '>') break;
      In.Next();
      if (E == '/' && In.Peek() == '>') {
        NameSelfClosing = true;
        break;
      }
      Name.push_back(static_cast<char>(E));
    }
    const int Index = FindTag(Name, Tags, High);
    const bool Known = Index != High;
    if (!Known) In.StopRecording();

    const std::size_t AttrStart = In.Pos();
    bool SelfClosing = NameSelfClosing;
    std::size_t AttrEnd = AttrStart;
    if (NameSelfClosing) {
      In.Next();  // the '>' of "/>"
    } else {
      const TagEnd End = ScanTagRest(In);
      if (!End.Ok) return Result;
      SelfClosing = End.SelfClosing;
      AttrEnd = SelfClosing ? End.GtPos - 1 : End.GtPos;
    }
    std::string Attr = Known ? In.Slice(AttrStart, AttrEnd) : std::string();
    std::string Text;
    if (!SelfClosing) {
      const std::size_t ContentStart = In.Pos();
      std::size_t ContentEnd = ContentStart;
      if (!ScanContent(In, Name, ContentEnd)) return Result;
      if (Known) Text = In.Slice(ContentStart, ContentEnd);
    }
    In.StopRecording();
    if (Known) {
      StripWhite(Attr);
      Attributes = std::move(Attr);
      Content = std::move(Text);
    }
    Result.Found = true;
    Result.Index = Index;
    return Result;
  }
}

}  // namespace

int ReadNextTagInString(std::string_view S, int& StartAt, std::span<const std::string> Tags,
                        int High, std::string& Attributes, std::string& Content) {
  // Positions are reported as int, so a longer text is read as if it ended there.
  const std::string_view Text = S.substr(0, std::min<std::size_t>(S.size(), INT_MAX - 1));
  const std::size_t Start = StartAt > 1 ? static_cast<std::size_t>(StartAt) - 1 : 0;
  StringSource In(Text, std::min(Start, Text.size()));
  const ScanResult R = ReadElement(In, Tags, High, Attributes, Content);
  StartAt = static_cast<int>(In.Pos()) + 1;
  return R.Index;
}

int ReadNextTagInTextFile(std::istream& F, std::span<const std::string> Tags, int High,
                          std::string& Content, std::string& Attributes) {
  Content.clear();
  Attributes.clear();
  if (!F.good() || F.rdbuf() == nullptr) {
    F.setstate(std::ios::failbit);
    return High;
  }
  // The buffer is read directly, so what an istream would catch is caught here: a file
  // stream's buffer throws when the read itself fails (EISDIR, EIO).
  try {
    StreamSource In(*F.rdbuf());
    const ScanResult R = ReadElement(In, Tags, High, Attributes, Content);
    if (!R.Found) F.setstate(std::ios::eofbit | std::ios::failbit);
    return R.Index;
  } catch (const std::bad_alloc&) {
    F.setstate(std::ios::failbit);
  } catch (const std::exception&) {
    F.setstate(std::ios::badbit | std::ios::failbit);
  }
  Content.clear();
  Attributes.clear();
  return High;
}

}  // namespace NMX_stringl
