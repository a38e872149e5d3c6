// The entry of pattern translation: a text without an entry of its own is
// matched against the format-specifier entries of a translation map, and the
// translation receives the text's numbers ("Page 3 of 10" -> "Seite 3 von 10").
#pragma once

#include "colang/LMTranslDict.h"

// Translation of pszText (never null) by the patterns of mapTransl, or null.
// The result lives in a pool of the last 55 results: it stays valid until 55
// further successful pattern translations have been made.
const XChar* PatternTranslate(const XChar* pszText, const XLMTranslDict::XMapTransl& mapTransl);
