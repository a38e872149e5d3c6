// The text helpers of the dictionary's catalog handling, shared with the
// library's tests and tools: the hexadecimal scanner of language identifiers,
// the identifier lines of a catalog, the escapes of its texts, and reading
// texts four code units at a time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "colang/XString.h"

namespace colang::detail {

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
  constexpr std::uint64_t kOnes = 0x0001000100010001ull;
  const std::uint64_t w = nUnits ^ (kOnes * static_cast<std::uint16_t>(c));
  return ((w - kOnes) & ~w & (kOnes << 15)) != 0;
}

// Scans an optional "0x"/"0X" and hexadecimal digits from the start of the
// text; nValue receives their value (0 when none; only the last eight digits
// count) and the result is the number of characters consumed. A null text
// consumes nothing.
std::size_t HexScan(std::uint32_t& nValue, const XChar* pszText);

// The resource identifier a catalog source line stands for: "#" and decimal
// digits, or "#0x"/"#0X" and hexadecimal digits, nothing else, value not 0.
// 0 for every other line, which is a text. Inline: the reader asks it of
// every pair.
inline unsigned IDFromLine(XStringView strLine) {
  if (strLine.size() < 2 || strLine[0] != XChar('#')) return 0;
  XStringView digits = strLine.substr(1);
  std::uint32_t nValue = 0;
  if (digits.size() > 2 && digits[0] == XChar('0') && (digits[1] == XChar('x') || digits[1] == XChar('X'))) {
    // HexScan stops at the first other character, a zero included, so a
    // whole match proves the line holds nothing else.
    if (HexScan(nValue, digits.data()) != digits.size()) return 0;
    return nValue;
  }
  for (XChar c : digits) {
    if (c < XChar('0') || c > XChar('9')) return 0;
    nValue = nValue * 10 + static_cast<unsigned>(c - XChar('0'));
  }
  return nValue;
}

// Writes the text from p to pEnd to pOut with its escapes resolved, and
// returns the end of what it wrote, never more units than it read, so pOut
// may be p itself: a backslash and one of \\ ' ? a b f n r t v become the
// one character they stand for; any other backslash, one at the end
// included, stays with what follows it. With bToZero the text ends at its
// first zero, as a text handed to PairInsert does.
template <bool bToZero>
inline XChar* UnescapeTo(XChar* pOut, const XChar* p, const XChar* const pEnd) {
  while (p != pEnd) {
    // Most text has nothing to resolve: the units up to the next backslash
    // (or zero) are found and copied as one run.
    const XChar* pRun = p;
    for (; pEnd - pRun >= 4; pRun += 4) {
      const std::uint64_t nUnits = Units4(pRun);
      if (UnitsHave(nUnits, XChar('\\')) || (bToZero && UnitsHave(nUnits, XChar(0)))) break;
    }
    while (pRun != pEnd && *pRun != XChar('\\') && !(bToZero && *pRun == XChar(0))) ++pRun;
    if (pRun != p) {
      pOut = pOut == p ? pOut + (pRun - p) : std::copy(p, pRun, pOut);
      p = pRun;
      if (p == pEnd) break;
    }
    XChar c = *p++;
    if (bToZero && c == XChar(0)) break;
    if (c == XChar('\\')) {
      if (p == pEnd || (bToZero && *p == XChar(0))) {
        *pOut++ = c;
        break;
      }
      c = *p++;
      switch (c) {
        case XChar('\\'):
        case XChar('\''):
        case XChar('?'):
          break;
        case XChar('a'):
          c = 0x07;
          break;
        case XChar('b'):
          c = 0x08;
          break;
        case XChar('f'):
          c = 0x0C;
          break;
        case XChar('n'):
          c = 0x0A;
          break;
        case XChar('r'):
          c = 0x0D;
          break;
        case XChar('t'):
          c = 0x09;
          break;
        case XChar('v'):
          c = 0x0B;
          break;
        default:
          *pOut++ = XChar('\\');
          break;
      }
    }
    *pOut++ = c;
  }
  return pOut;
}

// Resolves the escapes of a catalog line in place: \\ \' \? \a \b \f \n \r
// \t \v; any other backslash stays as it is. A line without a backslash is
// not touched.
void StringUnescape(XString& strLine);

// The catalog line for a text, the inverse of StringUnescape: backslashes
// doubled and the control characters that have an escape written as one.
XString StringEscape(XStringView strText);

}  // namespace colang::detail
