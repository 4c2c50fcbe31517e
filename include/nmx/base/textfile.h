// Reading words and the ASC header from text streams.
#pragma once

#include <istream>
#include <string>

#include "nmx/config.h"

namespace NMX_filesys {

/// The next word of F: white space (blank, TAB, CR, LF) is skipped, then the characters up to
/// the next white space are returned; that white space is consumed, nothing after it. At the
/// end of the stream the result is empty. As with `F >> word`, reaching the end sets eofbit,
/// and failbit too when no word was found. A stream that is not good() on entry gives an empty
/// word and gets failbit. A read that fails (a file stream opened on a directory) gives an
/// empty word with badbit and failbit, and a word too long for memory an empty word with
/// failbit: no exception leaves the function.
NMX_API std::string ReadNextWordInTextFile(std::istream& F);

/// Status codes of ReadHeaderOfASC.
inline constexpr int kAscHeaderOk = 0;
inline constexpr int kAscCannotOpen = -1;  ///< the file is missing or cannot be opened
inline constexpr int kAscTruncated = -2;   ///< the text ends before line 4
inline constexpr int kAscBadColumns = -3;  ///< line 2 holds no column count, or a negative one
inline constexpr int kAscBadRows = -4;     ///< line 3 holds no row count, or a negative one
inline constexpr int kAscBadFlags = -5;    ///< line 4 does not start with three flags

/// Reads the four header lines of an ASC data file from F. Lines end in LF or CR LF; the last
/// line may lack its line break.
/// - Line 1 is the comment, returned whole without its line end.
/// - Lines 2 and 3 start with the column count and the row count: a decimal integer after
///   optional blanks and TABs, with an optional sign; whatever follows the digits is ignored
///   (the writers put a TAB and a remark there). A count must fit an int and be at least 0.
/// - Line 4 starts with the flags row attributes, column names, row names and nominal
///   variables, each the word TRUE or FALSE in any case, separated by blanks or TABs. A ';'
///   ends the flag words (it starts the remark). Only three flags are needed: when the fourth
///   word is missing or is no flag, NomVars is false. Words after the flags are ignored.
///
/// Returns kAscHeaderOk (0) on success, else kAscTruncated, kAscBadColumns, kAscBadRows or
/// kAscBadFlags for the first line found wanting. The outputs are reset first (empty comment,
/// counts 0, flags false) and are then set line by line, so on failure they hold the lines
/// read before the failing one; the failing line's outputs keep their reset values. F is left
/// just after line 4 on success and after the last line read otherwise. The counts are only
/// reported: nothing is allocated for them.
NMX_API int ReadHeaderOfASC(std::istream& F, std::string& Comment, int& NrCols, int& NrRows,
                            bool& RowAttribs, bool& ColNames, bool& RowNames, bool& NomVars);

/// ReadHeaderOfASC for the file FName, opened for reading only; kAscCannotOpen (-1) when the
/// file is missing, is a directory or cannot be opened (the outputs are then reset).
NMX_API int ReadHeaderOfASC(const std::string& FName, std::string& Comment, int& NrCols,
                            int& NrRows, bool& RowAttribs, bool& ColNames, bool& RowNames,
                            bool& NomVars);

}  // namespace NMX_filesys
