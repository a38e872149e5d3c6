// The string literals of gettext PO files, written by the untranslated-text
// log's PO template and by the catalog tool's PO export.
#pragma once

#include <string>
#include <string_view>

namespace colang::detail {

// The UTF-8 text as a PO string literal, quotes included: backslash and quote
// escaped, the control characters that have a C escape written as one
// (\a \b \f \n \r \t \v), the other ones and DEL in octal; every other byte,
// UTF-8 sequences included, as it is.
std::string PoQuoted(std::string_view strUtf8);

}  // namespace colang::detail
