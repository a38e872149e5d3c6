// What menu and window translation share: the way they rewrite texts, and
// the lookup that gives each text its new value.
#pragma once

#include "colang/LMTranslDict.h"
#include "colang/XString.h"

namespace colang::detail {

// Which way a menu or a window is rewritten.
enum XDirection : int { eDirTranslate = 0, eDirRetranslate = 1 };

// The text the dictionary gives for pszText that way, or pszText itself;
// copied, since a result found by pattern is recycled by later lookups.
XString TextLookup(const XLMTranslDict& dict, const XChar* pszText, XDirection eDirection);

}  // namespace colang::detail
