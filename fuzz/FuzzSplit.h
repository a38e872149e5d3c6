// Splits fuzzer bytes at line feeds into the pieces a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzSupport.h"

namespace colang::fuzz {

// The texts between line feeds, each converted as TextFromBytes does and cut
// at its first zero code unit.
inline std::vector<XString> LinesFromBytes(const std::uint8_t* pData, std::size_t nSize) {
  std::vector<XString> vecLines;
  std::size_t nStart = 0;
  for (std::size_t i = 0; i <= nSize; ++i) {
    if (i == nSize || pData[i] == '\n') {
      vecLines.push_back(TextTerminated(TextFromBytes(pData + nStart, i - nStart)));
      nStart = i + 1;
    }
  }
  return vecLines;
}

}  // namespace colang::fuzz
