#include "base/text_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/failing_streams.h"

namespace {

using NMX_filesys::detail::HasDigit;
using NMX_filesys::detail::ParseInt;
using NMX_filesys::detail::ParseNumber;
using NMX_filesys::detail::TTextScanner;

std::vector<std::string> AllWords(const std::string& Text) {
  std::istringstream In(Text);
  TTextScanner S(In);
  std::vector<std::string> Words;
  std::string_view W;
  while (S.NextWord(W)) Words.emplace_back(W);
  return Words;
}

TEST(TextScanner, WordsAcrossLinesAndBufferEdges) {
  EXPECT_EQ(AllWords(" 1.5\t-2\r\n\r\n x  last"),
            (std::vector<std::string>{"1.5", "-2", "x", "last"}));
  EXPECT_TRUE(AllWords(" \r\n\t").empty());
  // Words that straddle the 64 KiB reads of the scanner come out whole, at every offset
  // around the edge.
  for (const std::size_t Pad : {65530u, 65533u, 65535u, 65536u, 131070u}) {
    SCOPED_TRACE(Pad);
    const std::string Text = std::string(Pad, ' ') + "12345.678 9\n";
    EXPECT_EQ(AllWords(Text), (std::vector<std::string>{"12345.678", "9"}));
  }
}

TEST(TextScanner, OverlongWordsAreReadPastAndReportedEmpty) {
  const std::string Long(TTextScanner::kMaxWord + 70000, '7');
  EXPECT_EQ(AllWords("1 " + Long + " 2"), (std::vector<std::string>{"1", "", "2"}));
  EXPECT_EQ(AllWords("1 " + Long), (std::vector<std::string>{"1", ""}));
  // Just within the limit a word is kept.
  const std::string Max(TTextScanner::kMaxWord, '7');
  const std::vector<std::string> Words = AllWords(Max + "\n3");
  ASSERT_EQ(Words.size(), 2u);
  EXPECT_EQ(Words[0].size(), TTextScanner::kMaxWord);
}

TEST(TextScanner, LineEndsBetweenWordsAndWholeLines) {
  // Which words start a new line: CR is white space, LF ends a line, empty lines count once.
  std::istringstream In("a b\r\n\r\n  c\nlast line");
  TTextScanner S(In);
  std::string_view W;
  bool NewLine = true;
  const std::vector<std::pair<std::string, bool>> Expected{
      {"a", false}, {"b", false}, {"c", true}, {"last", true}, {"line", false}};
  for (const auto& [Word, Starts] : Expected) {
    SCOPED_TRACE(Word);
    ASSERT_TRUE(S.NextWord(W, &NewLine));
    EXPECT_EQ(W, Word);
    EXPECT_EQ(NewLine, Starts);
  }
  EXPECT_FALSE(S.NextWord(W, &NewLine));

  std::istringstream Lines("head 1\r\n  c\nlast line");
  TTextScanner T(Lines);
  std::string_view Line;
  ASSERT_TRUE(T.NextLine(Line));
  EXPECT_EQ(Line, "head 1");
  ASSERT_TRUE(T.NextLine(Line));
  EXPECT_EQ(Line, "  c");
  ASSERT_TRUE(T.NextLine(Line));
  EXPECT_EQ(Line, "last line");  // no line end
  EXPECT_FALSE(T.NextLine(Line));

  // A line too long to keep comes back empty and is read past, whichever read it ends in.
  for (const std::size_t Extra : {10u, 70000u, 200000u}) {
    SCOPED_TRACE(Extra);
    std::istringstream Huge(std::string(TTextScanner::kMaxWord + Extra, 'x') + "\nnext\n");
    TTextScanner U(Huge);
    ASSERT_TRUE(U.NextLine(Line));
    EXPECT_TRUE(Line.empty());
    ASSERT_TRUE(U.NextLine(Line));
    EXPECT_EQ(Line, "next");
  }
}

TEST(TextScanner, QuotedNames) {
  std::istringstream In("  \"a b\" bare\n\"\" \"open");
  TTextScanner S(In);
  std::string Name;
  ASSERT_TRUE(S.ReadQuotedName(&Name));
  EXPECT_EQ(Name, "a b");
  ASSERT_TRUE(S.ReadQuotedName(&Name));
  EXPECT_EQ(Name, "bare");
  ASSERT_TRUE(S.ReadQuotedName(nullptr));  // the empty name, skipped
  ASSERT_TRUE(S.ReadQuotedName(&Name));    // unterminated: what there is
  EXPECT_EQ(Name, "open");
  EXPECT_FALSE(S.ReadQuotedName(&Name));
}

TEST(TextScanner, FailedReadsEndTheText) {
  std::ifstream Dir = nmx_test::DirectoryStream();
  ASSERT_TRUE(Dir.is_open());
  TTextScanner S(Dir);
  std::string_view W;
  EXPECT_FALSE(S.NextWord(W));
  EXPECT_TRUE(S.Failed());
  std::istringstream Good("x");
  EXPECT_FALSE(TTextScanner(Good).Failed());
}

TEST(TextScanner, NumberWords) {
  struct Case {
    const char* Word;
    bool IsNumber;
    double Value;
  };
  const Case Cases[] = {{"1e3", true, 1000.0}, {"+2", true, 2.0},     {"-0.5", true, -0.5},
                        {"5x", false, 0},      {"+-5", false, 0},     {"", false, 0},
                        {"+", false, 0},       {"1e400", true, HUGE_VAL}, {"-1e-400", true, -0.0},
                        {"INF", true, HUGE_VAL}, {"1,5", false, 0}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Word);
    double X = 99.0;
    ASSERT_EQ(ParseNumber(C.Word, X), C.IsNumber);
    if (C.IsNumber) {
      EXPECT_EQ(X, C.Value);
      EXPECT_EQ(std::signbit(X), std::signbit(C.Value));
    }
  }
  double X = 0;
  EXPECT_TRUE(ParseNumber("nan", X) && std::isnan(X));
  int I = 0;
  EXPECT_TRUE(ParseInt("+12", I) && I == 12);
  EXPECT_FALSE(ParseInt("2147483648", I));
  EXPECT_FALSE(ParseInt("1.0", I));
  EXPECT_TRUE(HasDigit("x5"));
  EXPECT_FALSE(HasDigit("nan"));
}

}  // namespace
