// The entry of pattern translation: a text without an entry of its own is
// matched against the format-specifier entries of a translation map, and the
// translation receives the text's numbers ("Page 3 of 10" -> "Seite 3 von 10").
#pragma once

#include <cstddef>

#include "colang/LMTranslDict.h"
#include "colang/pattern/Token.h"

// Translation of pszText (never null) by the patterns of mapTransl, or null.
// The result lives in a pool of the last 55 results: it stays valid until 55
// further successful pattern translations have been made.
const XChar* PatternTranslate(const XChar* pszText, const XLMTranslDict::XMapTransl& mapTransl);
// The same for a text whose length (up to its zero) is known already.
const XChar* PatternTranslate(const XChar* pszText, std::size_t nLength, const XLMTranslDict::XMapTransl& mapTransl);

// The translation tokvecTransl with its placeholders (numbers and format
// specifiers), in order, replaced by the numbers of tokvecText. A specifier of
// the text keeps the translation's placeholder; placeholders beyond the text's
// arguments are dropped, numbers beyond the translation's placeholders are
// appended at the end.
XString TokVecAssemble(const XTokVec& tokvecTransl, const XTokVec& tokvecText);

namespace colang::detail {

// How many results the pool keeps.
constexpr size_t kPatternPoolSize = 55;
// Whether psz points at a result the pool still holds (the pointer itself is
// only compared, never read).
bool PatternPoolHolds(const XChar* psz);

// How many results the pool holds now.
size_t PatternPoolCount();

}  // namespace colang::detail
