// String helpers: fixed-point number text, blank stripping, lists and tokens.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "nmx/base/types.h"
#include "nmx/config.h"

namespace NMX_stringl {

/// Fixed-point text of x with Decimals decimals (Decimals is clamped to 0..40), padded with
/// blanks on the left to at least Width characters; the text is never truncated, so a Width
/// of 0 gives the plain number. The decimal point is always '.', whatever the locale; the
/// last decimal is rounded from the exact binary value (ties to even). NaN gives "NAN",
/// infinities "INF" and "-INF", padded alike. A negative value that rounds to zero keeps its
/// sign ("-0.00").
NMX_API std::string strff(double x, int Width, int Decimals);

/// S without its leading and trailing blanks and TABs.
NMX_API std::string StripLTBlanks(std::string_view S);

/// S without the trailing characters that occur in Chars ("abc\"\"" with Chars "\"" gives
/// "abc").
NMX_API std::string StripTrailingChars(std::string_view S, std::string_view Chars);

/// S without its control characters: the bytes below 32 and DEL (127). Bytes above 127 stay.
NMX_API std::string RemoveControlChars(std::string_view S);

/// S with every OldCh replaced by NewCh.
NMX_API std::string ReplaceCharInString(std::string_view S, char OldCh, char NewCh);

/// Whether S holds Pattern as a substring. The pattern "//dig" is special: it asks whether S
/// holds a decimal digit 0..9. An empty pattern is contained in every string.
NMX_API bool StringContains(std::string_view S, std::string_view Pattern);

/// The 1-based position of the first entry of List equal to S, 0 if there is none.
/// CaseSensitive false compares ASCII letters without regard to case.
NMX_API int StringIx(std::string_view S, std::span<const std::string> List, bool CaseSensitive);

/// Splits S at runs of blanks and TABs. Tokens receives the non-empty pieces in order (its
/// previous content is dropped); the result is their number.
NMX_API int Tokenize(std::string_view S, NMX_nmxbase::TStrArray& Tokens);

/// Splits S at runs of the characters in Separators; otherwise as the two-argument form. An
/// empty separator set gives S as the only token (none if S is empty).
NMX_API int Tokenize(std::string_view S, NMX_nmxbase::TStrArray& Tokens,
                     std::string_view Separators);

/// Reads a name one character at a time. Before each name the caller sets State to 0 and
/// empties Name, then feeds the characters in order until the result is true, which says
/// that Name is complete. White space (blank, TAB, CR, LF) before the name is skipped. A name
/// that starts with Quote runs to the next Quote; the quotes are not part of it and white
/// space inside is kept ("\"a b\"" gives "a b"; "\"\"" gives an empty name). A name that does
/// not start with Quote is bare and runs to the next white space ("x " gives "x").
///
/// The states: 0 before the name, 1 inside a quoted name, 2 inside a bare name, 3 complete.
/// The character that completes a name (the closing Quote, or the white space after a bare
/// name) is consumed. Once complete, or with any State outside 0..2, further characters are
/// ignored and the result stays true. A stream that ends in state 2 holds a whole bare name;
/// one that ends in state 1 holds an unterminated quoted name.
NMX_API bool ParseQuotedName(char Ch, char Quote, std::string& Name, int& State);

}  // namespace NMX_stringl
