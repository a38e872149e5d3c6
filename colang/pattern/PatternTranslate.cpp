// Pattern translation entry and its result pool. The translator, the token
// buffer and the pool are made at first use, so that unload destroys them
// before the library's load-time objects.
//
// The pool is a ring of 55 buffers: a result is written into the buffer of
// the entry it replaces, so the characters of every result handed out stay
// where they are for as long as the pool holds it, and once the buffers have
// grown to the results' lengths, translating allocates nothing.
#include "colang/pattern/PatternTranslate.h"

#include <cstdint>
#include <memory>
#include <string>

#include "colang/platform/TextLength.h"

using colang::detail::XPattern;
using colang::detail::XTextTokens;
using colang::detail::XTokRef;

namespace {

XMapTokVecTransl& TranslatorGet() {
  static XMapTokVecTransl s_translator;
  return s_translator;
}

XTextTokens& TokensGet() {
  static XTextTokens s_tokens;
  return s_tokens;
}

class XResultPool {
 public:
  // Room for nLength code units and a zero where the next result is
  // written: a new entry's buffer, or, once the pool is full, the oldest
  // entry's. Nothing changes until Commit; when there is no memory, nothing
  // changes at all.
  XChar* Next(size_t nLength) {
    XBuffer& buffer = m_aBuffers[(m_nFirst + (m_nCount < kSize ? m_nCount : 0)) % kSize];
    if (buffer.nRoom <= nLength) {
      const size_t nRoom = (nLength + 32) & ~size_t(31);
      buffer.pChars.reset(new XChar[nRoom]);
      buffer.nRoom = nRoom;
    }
    return buffer.pChars.get();
  }
  // Makes the buffer Next gave the newest entry; in a full pool the oldest
  // entry goes.
  void Commit() {
    if (m_nCount < kSize)
      ++m_nCount;
    else
      m_nFirst = (m_nFirst + 1) % kSize;
  }
  bool Holds(const XChar* psz) const {
    for (size_t k = 0; k < m_nCount; ++k)
      if (m_aBuffers[(m_nFirst + k) % kSize].pChars.get() == psz) return true;
    return false;
  }
  size_t Count() const { return m_nCount; }

 private:
  static constexpr size_t kSize = colang::detail::kPatternPoolSize;
  struct XBuffer {
    std::unique_ptr<XChar[]> pChars;
    size_t nRoom = 0;
  };
  XBuffer m_aBuffers[kSize];
  size_t m_nFirst = 0;  // the oldest entry
  size_t m_nCount = 0;
};

XResultPool& PoolGet() {
  static XResultPool s_pool;
  return s_pool;
}

// Without a digit or "%" no token can be a number or a specifier.
bool HasArgumentChar(const XChar* p, std::size_t n) { return colang::platform::UnitsHaveDigitOrPercent(p, n); }

// The pieces of a translation with a text's arguments, in order, to out:
// the translation's text around its placeholders, each placeholder replaced
// by the text's argument in its place (a specifier of the text keeps the
// placeholder, a placeholder without an argument is dropped), then the
// text's numbers beyond the placeholders.
template <typename Out>
void AssembleWalk(XStringView transl, const XTokRef* pHolders, size_t nHolders, const XTokRef* pText, size_t nText,
                  Out&& out) {
  size_t x = 0;
  auto argumentNext = [&]() -> const XTokRef* {
    while (x < nText && !pText[x].IsArgument()) ++x;
    return x < nText ? &pText[x++] : nullptr;
  };
  const XChar* pDone = transl.data();
  for (size_t y = 0; y < nHolders; ++y) {
    out(XStringView(pDone, static_cast<size_t>(pHolders[y].p - pDone)));
    if (const XTokRef* pArgument = argumentNext())
      out(pArgument->nKind == eKIDNumber ? pArgument->Text() : pHolders[y].Text());
    pDone = pHolders[y].p + pHolders[y].nLength;
  }
  out(XStringView(pDone, static_cast<size_t>(transl.data() + transl.size() - pDone)));
  while (const XTokRef* pArgument = argumentNext())
    if (pArgument->nKind == eKIDNumber) out(pArgument->Text());
}

// At most the translation with each placeholder replaced by a number, and
// every number besides.
size_t AssembleBound(XStringView transl, const XTextTokens& tokens) { return transl.size() + tokens.NumberUnits(); }

XChar* Assemble(XChar* pOut, XStringView transl, const XTokRef* pHolders, size_t nHolders, const XTextTokens& tokens) {
  AssembleWalk(transl, pHolders, nHolders, tokens.data(), tokens.size(),
               [&](XStringView piece) { pOut = std::copy(piece.begin(), piece.end(), pOut); });
  return pOut;
}

// PatternFind's steps after the check for a digit or "%".
const XPattern* PatternFindTokens(XMapTokVecTransl& translator, XTextTokens& tokens, const XChar* pszText,
                                  std::size_t nLength, const XLMTranslDict::XMapTransl& mapTransl) {
  // No text needs tokenizing when the map's patterns are collected and
  // there are none.
  if (translator.PatternCount() == 0 && translator.MapKnown(mapTransl)) return nullptr;
  tokens.Scan(XStringView(pszText, nLength));
  if (tokens.TokenCount() < 2 || !tokens.HasArgument()) return nullptr;
  if (!translator.TranslMapCheck(mapTransl)) return nullptr;
  return translator.Search(tokens);
}

}  // namespace

XString TokVecAssemble(const XTokVec& tokvecTransl, const XTokVec& tokvecText) {
  XString strTransl;
  for (const XToken& token : tokvecTransl) strTransl += token.m_strText;
  std::vector<XTokRef> vecHolders;
  size_t nPos = 0;
  for (const XToken& token : tokvecTransl) {
    if (token.m_nKind == eKIDNumber || token.m_nKind == eKIDFormat)
      vecHolders.push_back({token.m_nKind, static_cast<uint32_t>(token.m_strText.size()), strTransl.data() + nPos});
    nPos += token.m_strText.size();
  }
  XTextTokens tokens;
  tokens.Assign(tokvecText);
  XString strResult(AssembleBound(strTransl, tokens), XChar(0));
  strResult.resize(static_cast<size_t>(
      Assemble(strResult.data(), strTransl, vecHolders.data(), vecHolders.size(), tokens) - strResult.data()));
  return strResult;
}

const XChar* PatternTranslate(const XChar* pszText, const XLMTranslDict::XMapTransl& mapTransl) {
  if (pszText == nullptr) return nullptr;
  return PatternTranslate(pszText, std::char_traits<XChar>::length(pszText), mapTransl);
}

// The work of PatternTranslate for a text that may hold an argument.
const XChar* PatternTranslateArguments(XMapTokVecTransl& translator, const XChar* pszText, std::size_t nLength,
                                       const XLMTranslDict::XMapTransl& mapTransl) {
  XTextTokens& tokens = TokensGet();
  const XPattern* pPattern = PatternFindTokens(translator, tokens, pszText, nLength, mapTransl);
  if (pPattern == nullptr) return nullptr;
  XResultPool& pool = PoolGet();
  XChar* const pResult = pool.Next(colang::detail::PatternAssembleBound(*pPattern, tokens));
  *colang::detail::PatternAssemble(pResult, *pPattern, tokens) = 0;
  pool.Commit();
  return pResult;
}

const XChar* PatternTranslate(const XChar* pszText, std::size_t nLength, const XLMTranslDict::XMapTransl& mapTransl) {
  XMapTokVecTransl& translator = TranslatorGet();
  // Without a digit or "%" no token can be a number or a specifier; most
  // plain texts that miss the dictionary leave here without being tokenized.
  if (pszText == nullptr || nLength == 0 || !HasArgumentChar(pszText, nLength)) return nullptr;
  return PatternTranslateArguments(translator, pszText, nLength, mapTransl);
}

namespace colang::detail {

const XPattern* PatternFind(XMapTokVecTransl& translator, XTextTokens& tokens, const XChar* pszText,
                            std::size_t nLength, const XLMTranslDict::XMapTransl& mapTransl) {
  if (pszText == nullptr || nLength == 0 || !HasArgumentChar(pszText, nLength)) return nullptr;
  return PatternFindTokens(translator, tokens, pszText, nLength, mapTransl);
}

size_t PatternAssembleBound(const XPattern& pattern, const XTextTokens& tokens) {
  return AssembleBound(pattern.transl, tokens);
}

XChar* PatternAssemble(XChar* pOut, const XPattern& pattern, const XTextTokens& tokens) {
  return Assemble(pOut, pattern.transl, pattern.pHolders, pattern.nHolders, tokens);
}

bool PatternPoolHolds(const XChar* psz) { return PoolGet().Holds(psz); }

size_t PatternPoolCount() { return PoolGet().Count(); }

}  // namespace colang::detail
