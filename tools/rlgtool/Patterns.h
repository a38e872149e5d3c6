// The patterns a dictionary's translation map yields for pattern translation,
// found with the library's own pattern translator, including the entries that
// never act as a pattern because an equal pattern comes first.
#pragma once

#include <vector>

#include "colang/LMTranslDict.h"

namespace rlgtool {

struct XPatternInfo {
  XString strSource;
  XString strTransl;
  XString strShadowedBy;  // the source of the pattern that wins, empty when this one is used
};

// Entries of mapTransl whose source holds a format specifier, in map order.
std::vector<XPatternInfo> PatternsCollect(const XLMTranslDict::XMapTransl& mapTransl);

}  // namespace rlgtool
