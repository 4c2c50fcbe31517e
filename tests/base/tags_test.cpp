#include "nmx/base/tags.h"

#include <gtest/gtest.h>

#include <fstream>
#include <istream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "support/failing_streams.h"

namespace {

using NMX_stringl::ReadNextTagInString;
using NMX_stringl::ReadNextTagInTextFile;

// A caller's table: three known tags and the invalid marker at index High.
const std::vector<std::string> kTags = {"root", "a", "b", "$invalid$"};
constexpr int kHigh = 3;

struct Element {
  int Index = 0;
  std::string Attributes;
  std::string Content;
  int StartAt = 0;  // after the call
};

Element ReadAt(const std::string& S, int StartAt, int High = kHigh) {
  Element E;
  E.StartAt = StartAt;
  E.Index = ReadNextTagInString(S, E.StartAt, kTags, High, E.Attributes, E.Content);
  return E;
}

// Every element of S, read with the string reader until it reports High at the end.
std::vector<Element> ReadAll(const std::string& S) {
  std::vector<Element> All;
  int StartAt = 1;
  for (;;) {
    Element E = ReadAt(S, StartAt);
    StartAt = E.StartAt;
    const bool Done = E.Index == kHigh && StartAt == static_cast<int>(S.size()) + 1;
    All.push_back(std::move(E));
    if (Done) break;
  }
  return All;
}

TEST(ReadNextTagInString, RootContentHoldsChildrenForRescanning) {
  const std::string Doc =
      "<?xml version=\"1.0\"?>\r\n"
      "<!DOCTYPE root [ <!ELEMENT root ANY> ]>\r\n"
      "<root sig=\"x\" id=\"m1\" >\r\n"
      "<!-- a comment -->\r\n"
      "<a>first</a>\r\n"
      "<b k=\"v\">second &amp; more</b>\r\n"
      "</root>\r\n";
  const Element Root = ReadAt(Doc, 1);
  ASSERT_EQ(Root.Index, 0);
  EXPECT_EQ(Root.Attributes, "sig=\"x\" id=\"m1\"");
  EXPECT_EQ(Root.Content,
            "\r\n<!-- a comment -->\r\n<a>first</a>\r\n<b k=\"v\">second &amp; more</b>\r\n");
  EXPECT_EQ(Root.StartAt, static_cast<int>(Doc.find("</root>") + 7) + 1);

  const std::vector<Element> Children = ReadAll(Root.Content);
  ASSERT_EQ(Children.size(), 3U);
  EXPECT_EQ(Children[0].Index, 1);
  EXPECT_EQ(Children[0].Content, "first");
  EXPECT_EQ(Children[1].Index, 2);
  EXPECT_EQ(Children[1].Attributes, "k=\"v\"");
  EXPECT_EQ(Children[1].Content, "second &amp; more");  // no entity decoding
  EXPECT_EQ(Children[2].Index, kHigh);                  // nothing further
  EXPECT_TRUE(Children[2].Content.empty());

  // Past the root only a line break is left.
  const Element After = ReadAt(Doc, Root.StartAt);
  EXPECT_EQ(After.Index, kHigh);
  EXPECT_EQ(After.StartAt, static_cast<int>(Doc.size()) + 1);
}

TEST(ReadNextTagInString, ElementForms) {
  struct Case {
    const char* Doc;
    int Index;
    const char* Attributes;
    const char* Content;
  };
  const Case Cases[] = {
      {"<a><a>x</a><a/></a>", 1, "", "<a>x</a><a/>"},  // nesting of the same name counts
      {"<a><b></a>", 1, "", "<b>"},                    // other names do not
      {"<a x=\"1\"/>", 1, "x=\"1\"", ""},
      {"<a/>", 1, "", ""},
      {"<b \t/>", 2, "", ""},
      {"<a\r\nx='>' y=\"/\">v</a >", 1, "x='>' y=\"/\"", "v"},
      {"<a t=it's>v</a>", 1, "t=it's", "v"},  // a stray apostrophe is a plain character
      {"<a><!-- </a> --><![CDATA[</a>]]>v</a>", 1, "", "<!-- </a> --><![CDATA[</a>]]>v"},
      {"<a>x<3 y<!z <?q</a>", 1, "", "x<3 y<!z <?q"},  // unescaped texts, as written
      {"<a>1</ab></a>", 1, "", "1</ab>"},
      {"1 < 2 and </b> <!x> <a>v</a>", 1, "", "v"},  // text and stray closing tags skipped
      {"<A>v</A><b>w</b>", kHigh, "", ""},           // names compare case-sensitively
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    const Element E = ReadAt(C.Doc, 1);
    EXPECT_EQ(E.Index, C.Index) << C.Doc;
    EXPECT_EQ(E.Attributes, C.Attributes) << C.Doc;
    EXPECT_EQ(E.Content, C.Content) << C.Doc;
  }
}

TEST(ReadNextTagInString, UnknownElementIsPassedWhole) {
  const std::string Doc = "<zz><a>1</a><zz>2</zz></zz><b>3</b>";
  const Element Unknown = ReadAt(Doc, 1);
  EXPECT_EQ(Unknown.Index, kHigh);
  EXPECT_TRUE(Unknown.Content.empty());
  EXPECT_EQ(Unknown.StartAt, static_cast<int>(Doc.find("<b>")) + 1);
  const Element Next = ReadAt(Doc, Unknown.StartAt);
  EXPECT_EQ(Next.Index, 2);
  EXPECT_EQ(Next.Content, "3");

  // The table's entries from High on are not known tags, and a High beyond the table reads
  // nothing outside it.
  EXPECT_EQ(ReadAt("<b>3</b>", 1, 2).Index, 2);
  EXPECT_EQ(ReadAt("<b>3</b>", 1, 2).Content, "");
  EXPECT_EQ(ReadAt("<$invalid$>x</$invalid$>", 1, 3).Index, 3);
  EXPECT_EQ(ReadAt("<zz/>", 1, 99).Index, 99);
  EXPECT_EQ(ReadAt("<a>1</a>", 1, 0).Index, 0);
}

TEST(ReadNextTagInString, TruncatedInputGivesHighAtTheEnd) {
  const char* Docs[] = {
      "",
      "text only",
      "<a>x",
      "<a>x</a",
      "<a",
      "<a x=\"1",
      "<a x=\"1\"",
      "<a/",
      "<!-- x",
      "<?xml ",
      "<![CDATA[ x ]",
      "</",
      "<!DOCTYPE [",
      "<a><a></a>",
      "<a><!--</a>",
  };
  for (const std::string Doc : Docs) {
    const Element E = ReadAt(Doc, 1);
    EXPECT_EQ(E.Index, kHigh) << Doc;
    EXPECT_EQ(E.StartAt, static_cast<int>(Doc.size()) + 1) << Doc;
    EXPECT_TRUE(E.Attributes.empty() && E.Content.empty()) << Doc;
  }
}

TEST(ReadNextTagInString, StartAtOutsideTheText) {
  const std::string Doc = "<a>1</a><b>2</b>";
  EXPECT_EQ(ReadAt(Doc, 0).Index, 1);
  EXPECT_EQ(ReadAt(Doc, -5).Index, 1);
  EXPECT_EQ(ReadAt(Doc, 9).Index, 2);
  EXPECT_EQ(ReadAt(Doc, 10).Index, kHigh);  // inside "<b>": the scan starts at "b>2</b>"
  const Element Beyond = ReadAt(Doc, 1000);
  EXPECT_EQ(Beyond.Index, kHigh);
  EXPECT_EQ(Beyond.StartAt, static_cast<int>(Doc.size()) + 1);
}

// The stream reader follows the same grammar: over any text it must return the same elements
// and stop at the same positions as the string reader.
TEST(ReadNextTagInTextFile, AgreesWithTheStringReader) {
  const std::string Docs[] = {
      "<?xml version=\"1.0\"?>\n<root id=\"7\">\n<a>1</a><zz>q</zz>\n<b/></root>\n",
      "<a><a>x</a><a/></a>tail<b x='>'>2</b>",
      "<!-- c --><!DOCTYPE r [<!ENTITY e \"v\">]></b><a t=it's>v</a >",
      "<a>x<3 y<!z</a><b><![CDATA[</b>]]></b>",
      "<A>v</A><a>1</ab></a><a>unterminated",
      "<b k=\"unterminated>",
  };
  for (const std::string& Doc : Docs) {
    std::istringstream F(Doc);
    for (const Element& Expected : ReadAll(Doc)) {
      Element Got;
      Got.Index = ReadNextTagInTextFile(F, kTags, kHigh, Got.Content, Got.Attributes);
      EXPECT_EQ(Got.Index, Expected.Index) << Doc;
      EXPECT_EQ(Got.Attributes, Expected.Attributes) << Doc;
      EXPECT_EQ(Got.Content, Expected.Content) << Doc;
      if (Expected.StartAt <= static_cast<int>(Doc.size())) {
        // Nothing beyond the element was read.
        EXPECT_EQ(static_cast<int>(F.tellg()) + 1, Expected.StartAt) << Doc;
      }
    }
    EXPECT_TRUE(F.eof() && F.fail()) << Doc;
  }
}

TEST(ReadNextTagInTextFile, LeavesTheStreamJustPastTheElement) {
  std::istringstream F("<a k=\"1\">v</a>REST");
  std::string Content;
  std::string Attributes;
  EXPECT_EQ(ReadNextTagInTextFile(F, kTags, kHigh, Content, Attributes), 1);
  EXPECT_EQ(Content, "v");
  EXPECT_EQ(Attributes, "k=\"1\"");
  EXPECT_TRUE(F.good());
  std::string Rest;
  F >> Rest;
  EXPECT_EQ(Rest, "REST");

  // A failed stream is not read.
  std::istringstream Bad("<a>v</a>");
  Bad.setstate(std::ios::failbit);
  Content = "old";
  EXPECT_EQ(ReadNextTagInTextFile(Bad, kTags, kHigh, Content, Attributes), kHigh);
  EXPECT_TRUE(Content.empty());
  Bad.clear();
  EXPECT_EQ(Bad.tellg(), 0);
}

}  // namespace

namespace {

TEST(ReadNextTagInTextFile, FailedReadsAreReportedNotThrown) {
  std::string Content = "old", Attributes = "old";
  std::ifstream Dir = nmx_test::DirectoryStream();
  ASSERT_TRUE(Dir.is_open());
  EXPECT_EQ(ReadNextTagInTextFile(Dir, kTags, kHigh, Content, Attributes), kHigh);
  EXPECT_TRUE(Dir.bad() && Dir.fail());
  EXPECT_EQ(Content, "");
  EXPECT_EQ(Attributes, "");

  nmx_test::ThrowingBuf<std::bad_alloc> Buf("<a x=\"1\">a huge content");
  std::istream Huge(&Buf);
  EXPECT_EQ(ReadNextTagInTextFile(Huge, kTags, kHigh, Content, Attributes), kHigh);
  EXPECT_TRUE(Huge.fail());
  EXPECT_FALSE(Huge.bad());
}

}  // namespace
