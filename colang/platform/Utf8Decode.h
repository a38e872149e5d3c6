// UTF-8 to UTF-16, one sequence at a time: the catalog reader and the
// emulated code page conversion decode with the same rules, so that a catalog
// line reads the same whichever of the two decodes it.
#pragma once

#include <cstddef>

namespace colang::platform {

// Decodes the UTF-8 sequence at p[0], n >= 1 bytes being left. A well-formed
// one sets bOk and cp and gives its length. An ill-formed one (a stray
// continuation byte, an overlong form, an encoded surrogate, a value above
// U+10FFFF, a sequence cut off by the end) clears bOk, sets cp to U+FFFD and
// gives the length of its maximal ill-formed subpart, at least 1, which is
// what one replacement character stands for.
inline std::size_t Utf8Decode(const unsigned char* p, std::size_t n, char32_t& cp, bool& bOk) {
  const unsigned char b0 = p[0];
  bOk = false;
  cp = 0xFFFD;
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
template <typename Unit>
inline std::size_t Utf16Put(char32_t cp, Unit* pOut) {
  if (cp < 0x10000) {
    pOut[0] = static_cast<Unit>(cp);
    return 1;
  }
  cp -= 0x10000;
  pOut[0] = static_cast<Unit>(0xD800 + (cp >> 10));
  pOut[1] = static_cast<Unit>(0xDC00 + (cp & 0x3FF));
  return 2;
}

}  // namespace colang::platform
