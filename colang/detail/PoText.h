// The gettext PO files the library and its tools write: the untranslated-text
// log's template, and the catalog tool's exports, merges and extracts. One
// layout for all: the header entry's fields one a line, every other string
// on the line of its keyword.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace colang::detail {

// The UTF-8 text as a PO string literal, quotes included: backslash and quote
// escaped, the control characters that have a C escape written as one
// (\a \b \f \n \r \t \v), the other ones and DEL in octal; every other byte,
// UTF-8 sequences included, as it is.
std::string PoQuoted(std::string_view strUtf8);

// The header entry: an empty msgid and a msgstr of the header fields (UTF-8,
// each "Name: value" and a line feed), split after each field when there
// are two or more.
std::string PoHeaderEntry(std::string_view strFields);

// One message as it is written; texts in UTF-8.
struct XPoMessage {
  std::vector<std::string> vecComments;  // whole comment lines ("#. ...", "#: ..."), written first
  std::string strFlags;                  // the "#," line's flags ("fuzzy, c-format"); empty: no such line
  std::string strPrevious;               // the earlier msgid of a fuzzy message ("#| msgid"); empty: none
  bool bObsolete = false;                // msgid and msgstr written as "#~" lines
  std::string strId;
  std::string strStr;
};

// The message, starting with the empty line that separates entries.
std::string PoMessageText(const XPoMessage& message);

}  // namespace colang::detail
