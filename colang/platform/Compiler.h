// The compiler-specific spellings the library uses, each behind one project
// macro or function: GCC and Clang (which MinGW-w64 is) have builtins and
// attributes for them, Visual C++ its own forms, and any other compiler gets
// plain code that means the same. Nothing outside colang/platform/ writes a
// builtin or an attribute; `./dev format` checks that.
#pragma once

#include <cstdint>

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#if defined(_M_X64) || defined(_M_IX86)
#include <xmmintrin.h>
#endif
#endif

// A function that runs rarely and should stay out of its callers' code.
#if defined(__GNUC__) || defined(__clang__)
#define COLANG_NOINLINE_COLD __attribute__((noinline, cold))
#elif defined(_MSC_VER)
#define COLANG_NOINLINE_COLD __declspec(noinline)
#else
#define COLANG_NOINLINE_COLD
#endif

// A condition that is almost always false; the compiler lays out the code
// for the other way.
#if defined(__GNUC__) || defined(__clang__)
#define COLANG_UNLIKELY(b) __builtin_expect(!!(b), 0)
#else
#define COLANG_UNLIKELY(b) (!!(b))
#endif

// Starts bringing the memory at p into the caches for a write soon.
#if defined(__GNUC__) || defined(__clang__)
#define COLANG_PREFETCH_WRITE(p) __builtin_prefetch((p), 1)
#elif defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#define COLANG_PREFETCH_WRITE(p) _mm_prefetch(reinterpret_cast<const char*>(p), _MM_HINT_T0)
#else
#define COLANG_PREFETCH_WRITE(p) ((void)(p))
#endif

// A function taking a printf format in argument nFormat and its values from
// argument nFirst on, which the compiler then checks.
#if defined(__GNUC__) || defined(__clang__)
#define COLANG_PRINTF_FORMAT(nFormat, nFirst) __attribute__((format(printf, nFormat, nFirst)))
#else
#define COLANG_PRINTF_FORMAT(nFormat, nFirst)
#endif

namespace colang::platform {

// The number of zero bits below the lowest set bit of n; n is not 0.
inline unsigned LowZeroBits(std::uint64_t n) {
#if defined(__GNUC__) || defined(__clang__)
  return static_cast<unsigned>(__builtin_ctzll(n));
#elif defined(_MSC_VER) && (defined(_M_X64) || defined(_M_ARM64))
  unsigned long nIndex = 0;
  _BitScanForward64(&nIndex, n);
  return static_cast<unsigned>(nIndex);
#else
  unsigned nZeros = 0;
  for (; (n & 1u) == 0; n >>= 1) ++nZeros;
  return nZeros;
#endif
}

// The number of zero bits above the highest set bit of n; n is not 0.
inline unsigned HighZeroBits(std::uint64_t n) {
#if defined(__GNUC__) || defined(__clang__)
  return static_cast<unsigned>(__builtin_clzll(n));
#elif defined(_MSC_VER) && (defined(_M_X64) || defined(_M_ARM64))
  unsigned long nIndex = 0;
  _BitScanReverse64(&nIndex, n);
  return 63u - static_cast<unsigned>(nIndex);
#else
  unsigned nZeros = 0;
  for (; (n & (std::uint64_t{1} << 63)) == 0; n <<= 1) ++nZeros;
  return nZeros;
#endif
}

}  // namespace colang::platform
