// Pattern translation entry and its result pool. The translator and the pool
// are made at first use, so that unload destroys them before the library's
// load-time objects. The pool is a deque: appending at the back and dropping
// the front never move the strings in between, so the characters of every
// result handed out stay where they are for as long as the pool holds them,
// short strings stored inside the element included.
#include "colang/pattern/PatternTranslate.h"

#include <cstdint>
#include <deque>
#include <string>

#include "colang/detail/DictText.h"
#include "colang/pattern/MapTokVecTransl.h"

namespace {

XMapTokVecTransl& TranslatorGet() {
  static XMapTokVecTransl s_translator;
  return s_translator;
}

std::deque<XString>& PoolGet() {
  static std::deque<XString> s_dequeResults;
  return s_dequeResults;
}

bool IsArgumentChar(XChar c) { return (c >= XT('0') && c <= XT('9')) || c == XT('%'); }

// Whether the text holds a digit or "%", four units at a time. For a unit u
// below 0x8000, (u | 0x8000) - c has its high bit set exactly when u >= c,
// and no unit borrows from the next; units from 0x8000 on are no digits.
bool HasArgumentChar(const XChar* p, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0001000100010001ull, kHighs = kOnes << 15;
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const std::uint64_t w = colang::detail::Units4(p + i);
    const std::uint64_t nDigits = ((w | kHighs) - 0x30 * kOnes) & ~((w | kHighs) - 0x3A * kOnes) & ~w & kHighs;
    if (nDigits != 0 || colang::detail::UnitsHave(w, XT('%'))) return true;
  }
  for (; i < n; ++i)
    if (IsArgumentChar(p[i])) return true;
  return false;
}

bool IsArgument(const XToken& token) { return token.m_nKind == eKIDNumber || token.m_nKind == eKIDFormat; }

}  // namespace

XString TokVecAssemble(const XTokVec& tokvecTransl, const XTokVec& tokvecText) {
  XString strResult;
  size_t x = 0;
  size_t y = 0;
  while (x < tokvecText.size() || y < tokvecTransl.size()) {
    while (x < tokvecText.size() && !IsArgument(tokvecText[x])) ++x;
    for (; y < tokvecTransl.size() && !IsArgument(tokvecTransl[y]); ++y) strResult += tokvecTransl[y].m_strText;
    if (x < tokvecText.size()) {
      if (tokvecText[x].m_nKind == eKIDNumber)
        strResult += tokvecText[x].m_strText;
      else if (y < tokvecTransl.size())
        strResult += tokvecTransl[y].m_strText;
    }
    ++x;
    ++y;
  }
  return strResult;
}

const XChar* PatternTranslate(const XChar* pszText, const XLMTranslDict::XMapTransl& mapTransl) {
  if (pszText == nullptr) return nullptr;
  return PatternTranslate(pszText, std::char_traits<XChar>::length(pszText), mapTransl);
}

const XChar* PatternTranslate(const XChar* pszText, std::size_t nLength, const XLMTranslDict::XMapTransl& mapTransl) {
  XMapTokVecTransl& translator = TranslatorGet();
  if (pszText == nullptr || nLength == 0) return nullptr;

  // Without a digit or "%" no token can be a number or a specifier; most
  // plain texts that miss the dictionary leave here without being tokenized.
  if (!HasArgumentChar(pszText, nLength)) return nullptr;

  const XTokVec tokvecText(pszText);
  if (tokvecText.size() < 2 || !tokvecText.HasNumberOrFormat()) return nullptr;
  if (!translator.TranslMapCheck(mapTransl)) return nullptr;
  XTokVec tokvecTransl;
  if (!translator.Translate(tokvecTransl, tokvecText)) return nullptr;
  XString strResult = TokVecAssemble(tokvecTransl, tokvecText);

  std::deque<XString>& dequeResults = PoolGet();
  while (dequeResults.size() >= colang::detail::kPatternPoolSize) dequeResults.pop_front();
  dequeResults.push_back(std::move(strResult));
  return dequeResults.back().c_str();
}

namespace colang::detail {

bool PatternPoolHolds(const XChar* psz) {
  for (const XString& strResult : PoolGet())
    if (strResult.c_str() == psz) return true;
  return false;
}

size_t PatternPoolCount() { return PoolGet().size(); }

}  // namespace colang::detail
