// printf-style formatting of UTF-16 text, the same on every platform (the C
// library's wide printf is 32-bit on Linux). Conversions: %s (const XChar*,
// null prints "(null)"), %c (XChar passed as int), %d %i (int), %u %x %X
// (unsigned), %%; flags '-' and '0', a decimal width, an 'l' modifier (ignored).
#pragma once

#include <cstdarg>

#include "colang/XString.h"

namespace colang::detail {

XString FormatV(const XChar* pszFormat, va_list args);
XString Format(const XChar* pszFormat, ...);

// Lower-case hexadecimal with at least nMinDigits digits ("%04x").
XString HexFormat(unsigned nValue, int nMinDigits);

}  // namespace colang::detail
