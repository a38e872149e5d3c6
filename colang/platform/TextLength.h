// Scanning a text's code units many at a time: the length of a
// zero-terminated text, and whether a text holds a digit or "%".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "colang/platform/Char.h"
#include "colang/platform/Compiler.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define COLANG_WORD_SCAN 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COLANG_WORD_SCAN 0
#endif
#endif
#ifndef COLANG_WORD_SCAN
#define COLANG_WORD_SCAN 1
#endif

namespace colang::platform {

// The number of code units before the first zero at p. Blocks that never
// reach into a page the text does not touch are read whole, as the system's
// own string functions do, though they may hold units after the zero: the
// 64 bytes from p if they lie in its page, else aligned blocks of 16 bytes
// (of 8 without vector instructions). Under AddressSanitizer, and in a
// build that defines COLANG_WORD_SCAN as 0 (the one run under valgrind),
// which would take those units for an overrun, the units are read one by
// one.
inline std::size_t UnitsToZero(const XChar* p) {
  static_assert(sizeof(XChar) == 2, "a code unit is two bytes");
  const XChar* q = p;
#if COLANG_WORD_SCAN && defined(__SSE2__)
  const std::uintptr_t nAt = reinterpret_cast<std::uintptr_t>(p);
  const __m128i zero = _mm_setzero_si128();
  auto zeros = [&zero](const void* pBlock) {
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_loadu_si128(static_cast<const __m128i*>(pBlock)), zero)));
  };
  // Most texts of a user interface are shorter than 32 units: where the 64
  // bytes from p lie in p's page, they are looked at first, at once, so
  // that such a text's length takes no loop whose count varies with it.
  if ((nAt & 4095) <= 4096 - 64) {
    const std::uint64_t nZeros =
        zeros(p) | zeros(p + 8) << 16 | std::uint64_t{zeros(p + 16)} << 32 | std::uint64_t{zeros(p + 24)} << 48;
    if (nZeros != 0) return LowZeroBits(nZeros) / 2;
  }
  // Then aligned blocks: the first one starts before p, and its bytes
  // before p are shifted out of the mask. A unit is two bytes, and p is
  // aligned to one.
  const auto* pBlock = reinterpret_cast<const __m128i*>(nAt & ~std::uintptr_t{15});
  unsigned nZeros =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(pBlock), zero))) >> (nAt & 15);
  if (nZeros != 0) return LowZeroBits(nZeros) / 2;
  while ((nZeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(++pBlock), zero)))) == 0) {
  }
  return (reinterpret_cast<std::uintptr_t>(pBlock) - nAt + LowZeroBits(nZeros)) / 2;
#elif COLANG_WORD_SCAN
  for (; (reinterpret_cast<std::uintptr_t>(q) & 7) != 0; ++q)
    if (*q == 0) return static_cast<std::size_t>(q - p);
  constexpr std::uint64_t kOnes = 0x0001000100010001ull;
  for (;; q += 4) {
    std::uint64_t w;
    std::memcpy(&w, q, 8);
    if (((w - kOnes) & ~w & (kOnes << 15)) != 0) break;
  }
#endif
  while (*q != 0) ++q;
  return static_cast<std::size_t>(q - p);
}

// Whether any of the n units at p is a digit or "%": a text without one
// holds no number and no format specifier.
inline bool UnitsHaveDigitOrPercent(const XChar* p, std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i digit0 = _mm_set1_epi16(0x30), ten = _mm_set1_epi16(10), percent = _mm_set1_epi16(0x25);
  for (; i + 8 <= n; i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    // As signed 16-bit values, u - "0" lies in 0..9 exactly for the digits.
    const __m128i offset = _mm_sub_epi16(units, digit0);
    const __m128i digits = _mm_andnot_si128(_mm_cmplt_epi16(offset, _mm_setzero_si128()), _mm_cmplt_epi16(offset, ten));
    if (_mm_movemask_epi8(_mm_or_si128(digits, _mm_cmpeq_epi16(units, percent))) != 0) return true;
  }
#endif
  for (; i < n; ++i)
    if ((p[i] >= XChar('0') && p[i] <= XChar('9')) || p[i] == XChar('%')) return true;
  return false;
}

}  // namespace colang::platform
