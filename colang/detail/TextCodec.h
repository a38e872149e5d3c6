// The one text codec of the library, its emulation and its tools: UTF-8,
// UTF-16 in either byte order and Windows-1252 to and from the library's
// UTF-16 text. Whoever decodes a catalog's bytes (the reader, the emulated
// code page conversion, rlgtool) decodes them here, so the same bytes read as
// the same text everywhere. An ill-formed UTF-8 sequence reads as one U+FFFD
// for each maximal ill-formed subpart (the longest start of a well-formed
// sequence, else a single byte), an unpaired UTF-16 surrogate as one U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "colang/XString.h"

namespace colang::detail {

constexpr char32_t kReplacementChar = 0xFFFD;

inline bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
inline bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Decodes the UTF-8 sequence at p[0], n >= 1 bytes being left. A well-formed
// one sets bOk and cp and gives its length. An ill-formed one (a stray
// continuation byte, an overlong form, an encoded surrogate, a value above
// U+10FFFF, a sequence cut off by the end) clears bOk, sets cp to U+FFFD and
// gives the length of its maximal ill-formed subpart, at least 1. Inline: the
// catalog reader calls it for every sequence beyond ASCII.
inline std::size_t Utf8Decode(const unsigned char* p, std::size_t n, char32_t& cp, bool& bOk) {
  const unsigned char b0 = p[0];
  bOk = false;
  cp = kReplacementChar;
  if (b0 < 0x80) {
    cp = b0;
    bOk = true;
    return 1;
  }
  std::size_t nNeed;
  char32_t value;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    nNeed = 1;
    value = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    nNeed = 2;
    value = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    nNeed = 3;
    value = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 1;
  }
  std::size_t i = 1;
  for (; i <= nNeed; ++i) {
    if (i >= n) return i;
    const unsigned char b = p[i];
    if (b < lo || b > hi) return i;
    lo = 0x80;
    hi = 0xBF;
    value = (value << 6) | (b & 0x3F);
  }
  cp = value;
  bOk = true;
  return i;
}

// Writes the code point (at most U+10FFFF, not a surrogate) as one UTF-16
// unit or a surrogate pair at pOut; gives the number of units written.
inline std::size_t Utf16Put(char32_t cp, XChar* pOut) {
  if (cp < 0x10000) {
    pOut[0] = static_cast<XChar>(cp);
    return 1;
  }
  cp -= 0x10000;
  pOut[0] = static_cast<XChar>(0xD800 + (cp >> 10));
  pOut[1] = static_cast<XChar>(0xDC00 + (cp & 0x3FF));
  return 2;
}

// Decodes the code point at p[0], n >= 1 units being left: a surrogate pair
// gives 2, every other unit 1. A surrogate without its partner clears bOk
// and reads as U+FFFD.
inline std::size_t Utf16Decode(const XChar* p, std::size_t n, char32_t& cp, bool& bOk) {
  const char32_t c = static_cast<char32_t>(p[0]);
  bOk = true;
  cp = c;
  if (!IsSurrogate(c)) return 1;
  if (IsHighSurrogate(c) && n >= 2 && IsLowSurrogate(static_cast<char32_t>(p[1]))) {
    cp = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(p[1]) - 0xDC00);
    return 2;
  }
  bOk = false;
  cp = kReplacementChar;
  return 1;
}

// The code unit of the two bytes at p, little-endian when bLE.
inline XChar Utf16Unit(const unsigned char* p, bool bLE) {
  return static_cast<XChar>(bLE ? (p[1] << 8 | p[0]) : (p[0] << 8 | p[1]));
}

// Windows-1252 bytes 0x80..0x9F; the five the code page leaves undefined map
// to the C1 control of the same value, as Windows maps them.
inline constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

inline XChar Cp1252Decode(unsigned char b) {
  return static_cast<XChar>(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : b);
}

// The Windows-1252 byte of a character, or -1 for one the code page lacks.
int Cp1252Encode(XChar c);

// Decodes n bytes of UTF-8 to pOut, which has room for n units, and gives
// the number of units written; bOk tells whether every sequence was
// well-formed.
std::size_t Utf8TextDecode(const unsigned char* p, std::size_t n, XChar* pOut, bool& bOk);
// Appends the text as UTF-8 to out; false when a surrogate without its
// partner was written as U+FFFD.
bool Utf8TextEncode(XStringView text, std::string& out);

// The two above for whole strings, when only the text matters.
XString TextFromUtf8(std::string_view utf8);
std::string Utf8FromText(XStringView text);

// Decodes n bytes of UTF-16 in the byte order given to pOut, which has room
// for n / 2 + 1 units, and gives the number of units written: unpaired
// surrogates and an odd byte left over at the end read as U+FFFD, and bOk
// tells whether there was none.
std::size_t Utf16BytesDecode(const unsigned char* p, std::size_t n, bool bLE, XChar* pOut, bool& bOk);
// Appends the text's code units to out as bytes in the byte order given.
void Utf16BytesEncode(XStringView text, bool bLE, std::string& out);

}  // namespace colang::detail
