// The text helpers of the dictionary's catalog handling, shared with the
// library's tests and tools: the hexadecimal scanner of language identifiers,
// the identifier lines of a catalog, the escapes of its texts, and reading
// texts four code units at a time.
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

// Four code units as one word, the first in the low bits. Written out unit
// by unit, which compilers turn into a single load where the byte order
// allows.
inline std::uint64_t Units4(const XChar* p) {
  return static_cast<std::uint64_t>(static_cast<std::uint16_t>(p[0])) |
         static_cast<std::uint64_t>(static_cast<std::uint16_t>(p[1])) << 16 |
         static_cast<std::uint64_t>(static_cast<std::uint16_t>(p[2])) << 32 |
         static_cast<std::uint64_t>(static_cast<std::uint16_t>(p[3])) << 48;
}

// Whether one of the four units of a word from Units4 is c.
inline bool UnitsHave(std::uint64_t nUnits, XChar c) {
  constexpr std::uint64_t nOnes = 0x0001000100010001ull;
  const std::uint64_t w = nUnits ^ (nOnes * static_cast<std::uint16_t>(c));
  return ((w - nOnes) & ~w & (nOnes << 15)) != 0;
}

}  // namespace colang::detail
