// Helpers shared by the fuzz targets: turning fuzzer bytes into UTF-16 text
// and failing loudly when an invariant breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "colang/XString.h"

namespace colang::fuzz {

// Each byte is one code unit (so that dictionary words such as "%5.2f" work
// as they are written), except 0xFF, which takes the next two bytes as one
// code unit, low byte first: surrogates and every other UTF-16 value stay
// reachable.
inline XString TextFromBytes(const std::uint8_t* pData, std::size_t nSize) {
  XString strText;
  strText.reserve(nSize);
  for (std::size_t i = 0; i < nSize; ++i) {
    if (pData[i] == 0xFF && i + 2 < nSize) {
      strText.push_back(static_cast<XChar>(pData[i + 1] | (pData[i + 2] << 8)));
      i += 2;
    } else {
      strText.push_back(static_cast<XChar>(pData[i]));
    }
  }
  return strText;
}

// The text up to its first zero code unit: what a zero-terminated call sees.
inline XString TextTerminated(XString strText) {
  const std::size_t nZero = strText.find(XChar(0));
  if (nZero != XString::npos) strText.resize(nZero);
  return strText;
}

}  // namespace colang::fuzz

// An invariant that must hold on every input; aborts so that the fuzzer
// records the input as a crash.
#define FUZZ_CHECK(cond)                                                            \
  do {                                                                              \
    if (!(cond)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)
