// Widening runs of plain ASCII bytes to code units sixteen at a time, with
// the processor's vector instructions where the compiler offers them. Text
// decoding calls this first and goes on byte by byte from where it stops.
// Comparing code units with bytes (the narrow keys of compiled catalogs)
// eight at a time the same way.
#pragma once

#include <cstddef>
#include <cstring>

#include "colang/platform/Char.h"
#include "colang/platform/Compiler.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace colang::platform {

// Widens the bytes at p to code units at pOut in groups of sixteen while a
// whole group fits in n, and stops in the group that holds a stop: a byte
// with its high bit set, a byte below 0x0E (line ends and zero among them),
// or cMark. Gives the number of bytes before the stop, or before the last
// group that did not fit; bStopped tells which. Units beyond the count may
// have been written: pOut needs room for n units. Without vector
// instructions it widens nothing and leaves the run to the caller.
inline std::size_t AsciiRunWiden(const unsigned char* p, std::size_t n, XChar* pOut, unsigned char cMark,
                                 bool& bStopped) {
  bStopped = false;
#if defined(__SSE2__)
  static_assert(sizeof(XChar) == 2, "a code unit is two bytes");
  const __m128i zero = _mm_setzero_si128();
  const __m128i below = _mm_set1_epi8(0x0E);
  const __m128i mark = _mm_set1_epi8(static_cast<char>(cMark));
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut + i), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut + i + 8), _mm_unpackhi_epi8(bytes, zero));
    // Compared as signed bytes, those with the high bit set are below 0x0E too.
    const int nStops = _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(bytes, below), _mm_cmpeq_epi8(bytes, mark)));
    if (nStops != 0) {
      bStopped = true;
      return i + static_cast<std::size_t>(LowZeroBits(static_cast<unsigned>(nStops)));
    }
  }
  return i;
#else
  (void)p;
  (void)n;
  (void)pOut;
  (void)cMark;
  return 0;
#endif
}

// Whether the n code units at pUnits equal the n bytes at pBytes, unit for
// byte; reads no further than n of either. Eight at a time, the last eight
// last (perhaps again in part), and from four to seven the first and the
// last four: the length decides how often the loop runs and which case it
// is, and no branch on its low bits, which a run of keys of every length
// would mispredict, is taken.
inline bool UnitsEqualBytes(const XChar* pUnits, const unsigned char* pBytes, std::size_t n) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  // One bit per byte of the units that agree.
  auto same = [](__m128i wide, const XChar* p) {
    return _mm_movemask_epi8(_mm_cmpeq_epi16(wide, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
  };
  auto same8 = [&](std::size_t k) {
    return same(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pBytes + k)), zero), pUnits + k) ==
           0xFFFF;
  };
  if (n >= 8) {
    for (std::size_t k = 0; k + 8 < n; k += 8)
      if (!same8(k)) return false;
    return same8(n - 8);
  }
  if (n >= 4) {
    auto same4 = [&](std::size_t k) {
      int nBytes;
      std::memcpy(&nBytes, pBytes + k, 4);
      const __m128i wide = _mm_unpacklo_epi8(_mm_cvtsi32_si128(nBytes), zero);
      return _mm_movemask_epi8(_mm_cmpeq_epi16(wide, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pUnits + k))));
    };
    return (same4(0) & same4(n - 4) & 0xFF) == 0xFF;
  }
#endif
  bool bSame = true;
  for (std::size_t k = 0; k < n; ++k) bSame &= static_cast<unsigned>(pUnits[k]) == pBytes[k];
  return bSame;
}

}  // namespace colang::platform
