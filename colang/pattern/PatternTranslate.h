// The entry of pattern translation: a text without an entry of its own is
// matched against the format-specifier entries of a translation map, and the
// translation receives the text's numbers ("Page 3 of 10" -> "Seite 3 von 10").
#pragma once

#include <cstddef>

#include "colang/LMTranslDict.h"
#include "colang/pattern/MapTokVecTransl.h"
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

// PatternTranslate's steps up to the search, on a translator and a token
// buffer of the caller's: the pattern that the text (nLength units up to its
// zero) fits, or null. Collects the map's patterns when the text gets that
// far, as PatternTranslate does.
const XPattern* PatternFind(XMapTokVecTransl& translator, XTextTokens& tokens, const XChar* pszText,
                            std::size_t nLength, const XLMTranslDict::XMapTransl& mapTransl);
// Writes at pOut the translation of the pattern with the arguments of the
// text that tokens were split from, as TokVecAssemble builds it, and gives
// the end of what it wrote: PatternAssembleBound code units at most.
XChar* PatternAssemble(XChar* pOut, const XPattern& pattern, const XTextTokens& tokens);
size_t PatternAssembleBound(const XPattern& pattern, const XTextTokens& tokens);

// How many results the pool keeps.
constexpr size_t kPatternPoolSize = 55;
// Whether psz points at a result the pool still holds (the pointer itself is
// only compared, never read).
bool PatternPoolHolds(const XChar* psz);

// How many results the pool holds now.
size_t PatternPoolCount();

}  // namespace colang::detail
