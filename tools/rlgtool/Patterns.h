// The patterns a dictionary's translation map yields for pattern translation,
// found with the library's own pattern translator, including the entries that
// never act as a pattern because an equal pattern comes first.
#pragma once

#include <utility>
#include <vector>

#include "colang/LMTranslDict.h"

namespace rlgtool {

struct XPatternInfo {
  XString strSource;
  XString strTransl;
  XString strShadowedBy;  // the source of the pattern that wins, empty when this one is used
};

// The text pairs of a catalog, in reading order (of one source the last wins),
// as a dictionary holds them.
using XTextPairs = std::vector<std::pair<XString, XString>>;

// Entries of a dictionary's translation map whose source holds a format
// specifier, in map order.
std::vector<XPatternInfo> PatternsCollect(const XLMTranslDict::XMapTransl& mapTransl);
// The same for the text pairs of a catalog.
std::vector<XPatternInfo> PatternsCollect(const XTextPairs& vecTexts);

}  // namespace rlgtool
