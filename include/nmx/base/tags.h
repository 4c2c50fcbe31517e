// Readers of XML-like tagged elements from strings and text streams.
#pragma once

#include <istream>
#include <span>
#include <string>
#include <string_view>

#include "nmx/config.h"

namespace NMX_stringl {

/// Reads the next element of S at or after the 1-based position StartAt and returns the index
/// of its tag among Tags[0] .. Tags[High - 1] (names compare case-sensitively; the first equal
/// entry wins). High is returned when there is no further element and for an element whose
/// tag is not among them; Attributes and Content are then empty.
///
/// On the way to the next element the reader passes over plain text, the XML declaration and
/// processing instructions `<?...?>`, comments `<!--...-->`, CDATA sections, other `<!...>`
/// declarations and stray closing tags. A '<' that is not followed by a letter, '_', ':' or a
/// byte above 127 is plain text.
///
/// The element's name runs up to white space, '>' or "/>". Attributes receives the text between
/// the name and the closing '>' (or "/>"), without surrounding white space; a quoted value
/// after '=' may hold '>'. A self-closing element has an empty Content. Otherwise Content is
/// the raw text up to the matching closing tag (`</name>`, white space allowed before '>'),
/// counting nested elements of the same name and passing over comments and CDATA sections, so
/// the content of a root element holds its children as text to be scanned again. Nothing is
/// decoded: entities stay as written.
///
/// StartAt moves to the position just past the element, also for an unknown one. When no
/// element follows, or an element lacks its closing tag, or S ends inside a tag, comment or
/// declaration, the result is High and StartAt is S.size() + 1. A StartAt below 1 counts as 1.
NMX_API int ReadNextTagInString(std::string_view S, int& StartAt, std::span<const std::string> Tags,
                                int High, std::string& Attributes, std::string& Content);

/// Reads the next element of the text stream F, as ReadNextTagInString does for a string (mind
/// the order of the last two arguments: Content, then Attributes). F is left just past the
/// element's last '>'; nothing after it is read. Only the element that is returned is held in
/// memory: passed-over text and unknown elements are read and dropped.
///
/// When the stream ends before an element is complete (or no element follows), the result is
/// High and F has eofbit and failbit set, as after a failed read. A stream that is not good()
/// on entry gives High, is not read and gets failbit. A read that fails (a file stream opened
/// on a directory) gives High with badbit and failbit, and an element too large for memory
/// gives High with failbit: no exception leaves the function.
NMX_API int ReadNextTagInTextFile(std::istream& F, std::span<const std::string> Tags, int High,
                                  std::string& Content, std::string& Attributes);

}  // namespace NMX_stringl
