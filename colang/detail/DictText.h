// The text helpers of the dictionary's catalog handling, shared with the
// library's tests and tools: the hexadecimal scanner of language identifiers,
// the identifier lines of a catalog, and the escapes of its texts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colang/XString.h"

namespace colang::detail {

// Scans an optional "0x"/"0X" and hexadecimal digits from the start of the
// text; nValue receives their value (0 when none; only the last eight digits
// count) and the result is the number of characters consumed. A null text
// consumes nothing.
std::size_t HexScan(std::uint32_t& nValue, const XChar* pszText);

// The resource identifier a catalog source line stands for: "#" and decimal
// digits, or "#0x"/"#0X" and hexadecimal digits, nothing else, value not 0.
// 0 for every other line, which is a text.
unsigned IDFromLine(XStringView strLine);

// Resolves the escapes of a catalog line in place: \\ \' \? \a \b \f \n \r
// \t \v; any other backslash stays as it is. A line without a backslash is
// not touched.
void StringUnescape(XString& strLine);

// The catalog line for a text, the inverse of StringUnescape: backslashes
// doubled and the control characters that have an escape written as one.
XString StringEscape(XStringView strText);

}  // namespace colang::detail
