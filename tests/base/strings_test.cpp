#include "nmx/base/strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using NMX_stringl::ParseQuotedName;

struct StrffCase {
  double X;
  int Width;
  int Decimals;
  const char* Expected;
};

TEST(Strff, FixedPointPaddedNeverTruncated) {
  const double Inf = std::numeric_limits<double>::infinity();
  // Expected texts are the exact decimal expansions of the binary values, rounded half to
  // even: python3 -c "from decimal import *; getcontext().prec = 100;
  // print(Decimal(0.1).quantize(Decimal(1).scaleb(-40), ROUND_HALF_EVEN))" and alike.
  // 0.125, 0.375 and 2.5 are exact ties; 0.135 lies just above its tie.
  const StrffCase Cases[] = {
      {3.14159, 0, 2, "3.14"},
      {1.5, 12, 3, "       1.500"},
      {-2.0, 12, 3, "      -2.000"},
      {123456.789, 3, 1, "123456.8"},
      {0.125, 0, 2, "0.12"},
      {0.375, 0, 2, "0.38"},
      {0.135, 0, 2, "0.14"},
      {2.5, 0, 0, "2"},
      {-0.0001, 0, 2, "-0.00"},
      {7.0, -4, -3, "7"},
      {0.1, 0, 41, "0.1000000000000000055511151231257827021182"},
      {std::nan(""), 5, 2, "  NAN"},
      {Inf, 0, 2, "INF"},
      {-Inf, 6, 2, "  -INF"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    EXPECT_EQ(NMX_stringl::strff(C.X, C.Width, C.Decimals), C.Expected)
        << "x=" << C.X << " Width=" << C.Width << " Decimals=" << C.Decimals;
  }
  // The largest double has 309 integer digits; none may be lost.
  const std::string Big = NMX_stringl::strff(std::numeric_limits<double>::max(), 0, 40);
  EXPECT_EQ(Big.size(), 309U + 1 + 40);
  EXPECT_EQ(Big.substr(0, 6), "179769");
}

TEST(StringEdits, StripRemoveReplace) {
  EXPECT_EQ(NMX_stringl::StripLTBlanks(" \t a b\t \t"), "a b");
  EXPECT_EQ(NMX_stringl::StripLTBlanks("\r\nx\n"), "\r\nx\n");  // only blanks and TABs
  EXPECT_EQ(NMX_stringl::StripLTBlanks(" \t "), "");
  EXPECT_EQ(NMX_stringl::StripTrailingChars("\"abc\"\"", "\""), "\"abc");
  EXPECT_EQ(NMX_stringl::StripTrailingChars("a;,;", ",;"), "a");
  EXPECT_EQ(NMX_stringl::StripTrailingChars(";;", ";"), "");
  EXPECT_EQ(NMX_stringl::StripTrailingChars("abc", ""), "abc");
  const std::string Mixed{'a', '\0', '\t', '\x1f', ' ', '\x7f', '\xe9', 'b'};
  EXPECT_EQ(NMX_stringl::RemoveControlChars(Mixed), std::string("a \xe9"
                                                                "b"));
  EXPECT_EQ(NMX_stringl::ReplaceCharInString("a\nb\n", '\n', ' '), "a b ");
}

TEST(StringContains, DigitPatternAndSubstrings) {
  EXPECT_TRUE(NMX_stringl::StringContains("  x9", "//dig"));
  EXPECT_FALSE(NMX_stringl::StringContains("NAN ###", "//dig"));
  EXPECT_FALSE(NMX_stringl::StringContains("", "//dig"));
  // "//dig" always means the digit test, even for a text that holds it literally.
  EXPECT_FALSE(NMX_stringl::StringContains("a//dig", "//dig"));
  EXPECT_TRUE(NMX_stringl::StringContains("sig=\"x\" id=\"7\"", "id="));
  EXPECT_FALSE(NMX_stringl::StringContains("ID=", "id="));
  EXPECT_TRUE(NMX_stringl::StringContains("abc", ""));
}

TEST(StringIx, OneBasedFirstMatch) {
  const std::vector<std::string> List = {"euclidean", "Manhattan", "manhattan", ""};
  EXPECT_EQ(NMX_stringl::StringIx("Manhattan", List, true), 2);
  EXPECT_EQ(NMX_stringl::StringIx("manhattan", List, true), 3);
  EXPECT_EQ(NMX_stringl::StringIx("MANHATTAN", List, false), 2);
  EXPECT_EQ(NMX_stringl::StringIx("MANHATTAN", List, true), 0);
  EXPECT_EQ(NMX_stringl::StringIx("", List, true), 4);
  EXPECT_EQ(NMX_stringl::StringIx("euclid", List, false), 0);
  EXPECT_EQ(NMX_stringl::StringIx("x", {}, false), 0);
}

TEST(Tokenize, RunsOfSeparators) {
  NMX_nmxbase::TStrArray Tokens = {"stale"};
  EXPECT_EQ(NMX_stringl::Tokenize("  sig=\"a b\"\tvers=\"1\"  ", Tokens), 3);
  EXPECT_EQ(Tokens, (NMX_nmxbase::TStrArray{"sig=\"a", "b\"", "vers=\"1\""}));
  EXPECT_EQ(NMX_stringl::Tokenize(" \t ", Tokens), 0);
  EXPECT_TRUE(Tokens.empty());
  EXPECT_EQ(NMX_stringl::Tokenize(";a,,b; c;", Tokens, ";,"), 3);
  EXPECT_EQ(Tokens, (NMX_nmxbase::TStrArray{"a", "b", " c"}));
  EXPECT_EQ(NMX_stringl::Tokenize("a b", Tokens, ""), 1);
  EXPECT_EQ(Tokens, (NMX_nmxbase::TStrArray{"a b"}));
}

// Feeds Text to ParseQuotedName from a fresh state; Used is the number of characters fed
// until the name was complete (Text.size() if it never was).
struct Parsed {
  std::string Name;
  std::size_t Used = 0;
  bool Complete = false;
};

Parsed Feed(const std::string& Text, char Quote = '"') {
  Parsed P;
  int State = 0;
  for (const char Ch : Text) {
    ++P.Used;
    if (ParseQuotedName(Ch, Quote, P.Name, State)) {
      P.Complete = true;
      break;
    }
  }
  return P;
}

TEST(ParseQuotedName, QuotedAndBareNames) {
  struct Case {
    const char* Text;
    const char* Name;
    std::size_t Used;
    bool Complete;
  };
  const Case Cases[] = {
      {" \t\r\n\"col 1\"\"next\"", "col 1", 11, true},
      {"\"\"", "", 2, true},
      {"\"a\r\nb\" ", "a\r\nb", 6, true},
      {"x\ty", "x", 2, true},  // the curve-fit files write x and y bare
      {"\r\nab\"c\" d", "ab\"c\"", 8, true},
      {"\"open", "open", 5, false},
      {"bare", "bare", 4, false},  // complete at the end of the text, for the caller to see
      {"  ", "", 2, false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    const Parsed P = Feed(C.Text);
    EXPECT_EQ(P.Name, C.Name) << C.Text;
    EXPECT_EQ(P.Used, C.Used) << C.Text;
    EXPECT_EQ(P.Complete, C.Complete) << C.Text;
  }
  EXPECT_EQ(Feed("'a b' c", '\'').Name, "a b");
}

TEST(ParseQuotedName, CompleteStateIgnoresFurtherInput) {
  std::string Name;
  int State = 0;
  for (const char Ch : std::string("\"ab\"")) ParseQuotedName(Ch, '"', Name, State);
  EXPECT_EQ(State, 3);
  EXPECT_TRUE(ParseQuotedName('z', '"', Name, State));
  EXPECT_TRUE(ParseQuotedName(' ', '"', Name, State));
  EXPECT_EQ(Name, "ab");
  State = -7;
  EXPECT_TRUE(ParseQuotedName('q', '"', Name, State));
  EXPECT_EQ(Name, "ab");
}

}  // namespace
