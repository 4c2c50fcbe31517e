#include "nmx/base/textfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <istream>
#include <new>
#include <sstream>
#include <string>

#include "support/failing_streams.h"
#include "support/temp_file.h"

namespace {

using NMX_filesys::ReadHeaderOfASC;
using NMX_filesys::ReadNextWordInTextFile;

TEST(ReadNextWordInTextFile, WordsAcrossLinesThenEmpty) {
  std::istringstream F("  12.5\t-3\r\n\r\n  NAN ###\nlast");
  EXPECT_EQ(ReadNextWordInTextFile(F), "12.5");
  EXPECT_EQ(F.peek(), '-');  // the one white space after the word is consumed
  EXPECT_EQ(ReadNextWordInTextFile(F), "-3");
  EXPECT_EQ(ReadNextWordInTextFile(F), "NAN");
  EXPECT_EQ(ReadNextWordInTextFile(F), "###");
  EXPECT_EQ(ReadNextWordInTextFile(F), "last");
  EXPECT_TRUE(F.eof());
  EXPECT_FALSE(F.fail());
  EXPECT_EQ(ReadNextWordInTextFile(F), "");
  EXPECT_TRUE(F.fail());

  std::istringstream Blank(" \r\n\t ");
  EXPECT_EQ(ReadNextWordInTextFile(Blank), "");
  EXPECT_TRUE(Blank.eof() && Blank.fail());
}

TEST(ReadNextWordInTextFile, FailedReadsAreReportedNotThrown) {
  std::ifstream Dir = nmx_test::DirectoryStream();
  ASSERT_TRUE(Dir.is_open());
  EXPECT_EQ(ReadNextWordInTextFile(Dir), "");
  EXPECT_TRUE(Dir.bad() && Dir.fail());

  // A word that outgrows memory: no word, failbit, and the stream is not broken.
  nmx_test::ThrowingBuf<std::bad_alloc> Buf("  endless");
  std::istream Long(&Buf);
  EXPECT_EQ(ReadNextWordInTextFile(Long), "");
  EXPECT_TRUE(Long.fail());
  EXPECT_FALSE(Long.bad());
}

struct Header {
  int Status = 99;
  std::string Comment = "stale";
  int NrCols = -99;
  int NrRows = -99;
  bool RowAttribs = true;
  bool ColNames = true;
  bool RowNames = true;
  bool NomVars = true;
};

Header ReadFrom(std::istream& F) {
  Header H;
  H.Status = ReadHeaderOfASC(F, H.Comment, H.NrCols, H.NrRows, H.RowAttribs, H.ColNames, H.RowNames,
                             H.NomVars);
  return H;
}

Header ReadText(const std::string& Text) {
  std::istringstream F(Text);
  return ReadFrom(F);
}

TEST(ReadHeaderOfASC, HeaderAsTheWritersProduceIt) {
  std::istringstream F(
      "Exported by NMX TVector component: v.asc\r\n"
      "1\t;nr. of columns\r\n"
      "2\t;nr. of rows\r\n"
      "FALSE TRUE FALSE TRUE\t;row attributes, column names, row names, nominal variables\r\n"
      "       1.500\r\n");
  const Header H = ReadFrom(F);
  EXPECT_EQ(H.Status, 0);
  EXPECT_EQ(H.Comment, "Exported by NMX TVector component: v.asc");
  EXPECT_EQ(H.NrCols, 1);
  EXPECT_EQ(H.NrRows, 2);
  EXPECT_FALSE(H.RowAttribs);
  EXPECT_TRUE(H.ColNames);
  EXPECT_FALSE(H.RowNames);
  EXPECT_TRUE(H.NomVars);
  EXPECT_EQ(ReadNextWordInTextFile(F), "1.500");  // F stands after line 4
}

TEST(ReadHeaderOfASC, AcceptedVariants) {
  struct Case {
    const char* Text;
    int NrCols;
    int NrRows;
    bool Flags[4];
  };
  const Case Cases[] = {
      {"c\n3\n0\nTRUE TRUE TRUE\t;row attributes, column names, row names\n",
       3,
       0,
       {true, true, true, false}},
      {"c\n  \t+2;x\n 7 rows\ntrue False tRUE faLSE", 2, 7, {true, false, true, false}},
      {"c\n2\n5\nFALSE\tFALSE  TRUE;remark TRUE\n", 2, 5, {false, false, true, false}},
      {"c\n2\n5\nFALSE FALSE FALSE maybe TRUE", 2, 5, {false, false, false, false}},
      {"c\n12abc\n 5 \nTRUE FALSE FALSE TRUE more words", 12, 5, {true, false, false, true}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    const Header H = ReadText(C.Text);
    EXPECT_EQ(H.Status, 0) << C.Text;
    EXPECT_EQ(H.Comment, "c") << C.Text;
    EXPECT_EQ(H.NrCols, C.NrCols) << C.Text;
    EXPECT_EQ(H.NrRows, C.NrRows) << C.Text;
    const bool Got[4] = {H.RowAttribs, H.ColNames, H.RowNames, H.NomVars};
    for (int K = 0; K < 4; ++K) EXPECT_EQ(Got[K], C.Flags[K]) << C.Text << " flag " << K;
  }
}

TEST(ReadHeaderOfASC, FailuresKeepWhatWasReadBefore) {
  struct Case {
    const char* Text;
    int Status;
    const char* Comment;
    int NrCols;
    int NrRows;
  };
  const Case Cases[] = {
      {"", NMX_filesys::kAscTruncated, "", 0, 0},
      {"only a comment", NMX_filesys::kAscTruncated, "only a comment", 0, 0},
      {"c\r\n1\r\n", NMX_filesys::kAscTruncated, "c", 1, 0},
      {"c\n1\n2\n", NMX_filesys::kAscTruncated, "c", 1, 2},
      {"c\n\n2\nTRUE TRUE TRUE\n", NMX_filesys::kAscBadColumns, "c", 0, 0},
      {"c\ncols\n2\nTRUE TRUE TRUE\n", NMX_filesys::kAscBadColumns, "c", 0, 0},
      {"c\n-1\n2\nTRUE TRUE TRUE\n", NMX_filesys::kAscBadColumns, "c", 0, 0},
      {"c\n2147483648\n2\nTRUE TRUE TRUE\n", NMX_filesys::kAscBadColumns, "c", 0, 0},
      {"c\n3\n- 2\nTRUE TRUE TRUE\n", NMX_filesys::kAscBadRows, "c", 3, 0},
      {"c\n3\n2\n\n", NMX_filesys::kAscBadFlags, "c", 3, 2},
      {"c\n3\n2\nTRUE TRUE\t;two flags only\n", NMX_filesys::kAscBadFlags, "c", 3, 2},
      {"c\n3\n2\nTRUE YES TRUE\n", NMX_filesys::kAscBadFlags, "c", 3, 2},
      {"c\n3\n2\nTRUE,FALSE,TRUE\n", NMX_filesys::kAscBadFlags, "c", 3, 2},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    const Header H = ReadText(C.Text);
    EXPECT_EQ(H.Status, C.Status) << C.Text;
    EXPECT_EQ(H.Comment, C.Comment) << C.Text;
    EXPECT_EQ(H.NrCols, C.NrCols) << C.Text;
    EXPECT_EQ(H.NrRows, C.NrRows) << C.Text;
    EXPECT_FALSE(H.RowAttribs || H.ColNames || H.RowNames || H.NomVars) << C.Text;
  }
}

TEST(ReadHeaderOfASC, FromFile) {
  nmx_test::TempFile File("header.asc");
  File.Write(
      "a \"quoted\" comment\r\n4\t;nr. of columns\r\n9\t;nr. of rows\r\n"
      "TRUE FALSE FALSE\t;row attributes, column names, row names\r\n");
  Header H;
  H.Status = ReadHeaderOfASC(File.Path(), H.Comment, H.NrCols, H.NrRows, H.RowAttribs, H.ColNames,
                             H.RowNames, H.NomVars);
  EXPECT_EQ(H.Status, 0);
  EXPECT_EQ(H.Comment, "a \"quoted\" comment");
  EXPECT_EQ(H.NrCols, 4);
  EXPECT_EQ(H.NrRows, 9);
  EXPECT_TRUE(H.RowAttribs);
  EXPECT_FALSE(H.NomVars);

  const std::string Missing = File.Path() + ".missing";
  const std::string Folder = std::filesystem::temp_directory_path().string();
  for (const std::string& Name : {Missing, Folder}) {
    Header M;
    M.Status = ReadHeaderOfASC(Name, M.Comment, M.NrCols, M.NrRows, M.RowAttribs, M.ColNames,
                               M.RowNames, M.NomVars);
    EXPECT_EQ(M.Status, NMX_filesys::kAscCannotOpen) << Name;
    EXPECT_TRUE(M.Comment.empty());
    EXPECT_EQ(M.NrCols, 0);
    EXPECT_FALSE(M.NomVars);
  }
}

}  // namespace
