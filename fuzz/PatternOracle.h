// The pattern translation that the library made before it matched texts
// through views: every token a copy of its characters, the patterns in an
// ordered map of token sequences, the result assembled into a new string.
// Kept here, outside the library, as the reference the differential fuzz
// target compares the library with; it is slow on purpose and never changes.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/pattern/Token.h"
#include "colang/pattern/TokenScan.h"
#include "colang/sibling/NumberScan.h"

namespace colang::oracle {

inline bool IsDigit(XChar c) { return c >= XT('0') && c <= XT('9'); }
inline bool IsSign(XChar c) { return c == XT('-') || c == XT('+'); }
inline bool IsWhite(XChar c) { return c == XT(' ') || c == XT('\t'); }

inline int ClampToInt(size_t n) { return static_cast<int>(std::min<size_t>(n, INT_MAX)); }

// The tokenizer, rule by rule, appending every token through TokenAppend.
inline XTokVec Tokenize(const XChar* pszText) {
  XTokVec tokvec;
  size_t nLength = 0;
  while (nLength < INT_MAX && pszText[nLength] != 0) ++nLength;
  const XStringView text(pszText, nLength);
  size_t i = 0;
  size_t nRunStart = 0;
  auto runFlush = [&] { tokvec.TokenAppend(eKIDString, text, ClampToInt(nRunStart), ClampToInt(i - nRunStart)); };
  auto tokenTake = [&](int32_t nKind, int n) {
    runFlush();
    tokvec.TokenAppend(nKind, text, ClampToInt(i), n);
    i += static_cast<size_t>(n);
    nRunStart = i;
  };
  while (i < text.size()) {
    const XChar c = text[i];
    int n = 0;
    if (IsSign(c) || IsDigit(c)) {
      if ((n = colang::detail::ScanNumber(text, i)) > 0) {
        tokenTake(eKIDNumber, n);
        continue;
      }
    } else if (c == XT('%')) {
      if (i + 1 < text.size() && text[i + 1] == XT('%')) {
        i += 2;
        continue;
      }
      if ((n = colang::detail::ScanFormat(text, i)) > 0) {
        tokenTake(eKIDFormat, n);
        continue;
      }
    } else if (IsWhite(c)) {
      tokenTake(eKIDWhites, colang::detail::ScanWhites(text, i));
      continue;
    }
    ++i;
  }
  runFlush();
  return tokvec;
}

enum XResult { eLess = 1, eGreater = 2, eEqual = 3 };

inline XResult TextCompare(const XString& a, const XString& b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<uint16_t>(a[i]);
    const auto cb = static_cast<uint16_t>(b[i]);
    if (ca != cb) return ca < cb ? eLess : eGreater;
  }
  if (a.size() == b.size()) return eEqual;
  return a.size() < b.size() ? eLess : eGreater;
}

inline XResult ValueCompare(const XToken& ta, const XToken& tb) {
  double va = 0.0;
  double vb = 0.0;
  int nUsed = 0;
  if (FloatScan(va, nUsed, ta.m_strText.c_str(), 0) && FloatScan(vb, nUsed, tb.m_strText.c_str(), 0) &&
      IsDblEqual(va, vb, 10))
    return eEqual;
  if (va < vb) return eLess;
  if (va > vb) return eGreater;
  return eEqual;
}

inline XResult TokenCompare(const XToken& ta, const XToken& tb) {
  if (ta.m_nKind == eKIDFormat && tb.m_nKind == eKIDNumber) return eEqual;
  if (ta.m_nKind == eKIDNumber && tb.m_nKind == eKIDFormat) return eEqual;
  if (ta.m_nKind == eKIDNumber && tb.m_nKind == eKIDNumber) return ValueCompare(ta, tb);
  return TextCompare(ta.m_strText, tb.m_strText);
}

inline size_t WhitesSkip(const XTokVec& tokvec, size_t i) {
  while (i < tokvec.size() && tokvec[i].m_nKind == eKIDWhites) ++i;
  return i;
}

inline XResult TokVecCompare(const XTokVec& a, const XTokVec& b) {
  size_t ia = 0;
  size_t ib = 0;
  for (;; ++ia, ++ib) {
    ia = WhitesSkip(a, ia);
    ib = WhitesSkip(b, ib);
    if (ia >= a.size()) return ib < b.size() ? eLess : eEqual;
    if (ib >= b.size()) return eGreater;
    const XResult result = TokenCompare(a[ia], b[ib]);
    if (result != eEqual) return result;
  }
}

struct XLess {
  bool operator()(const XTokVec& a, const XTokVec& b) const { return oracle::TokVecCompare(a, b) == eLess; }
};

// One map's patterns, collected and searched as the translator did.
class XTranslator {
 public:
  using XMapPattern = std::map<XTokVec, XTokVec, XLess>;

  void Collect(const XLMTranslDict::XMapTransl& mapTransl) {
    std::vector<const XTextEntry*> vecCandidates;
    for (const XTextEntry& entry : mapTransl.AsStored())
      if (entry.first.find(XT('%')) != XStringView::npos) vecCandidates.push_back(&entry);
    std::sort(vecCandidates.begin(), vecCandidates.end(),
              [](const XTextEntry* a, const XTextEntry* b) { return a->first < b->first; });
    for (const XTextEntry* pEntry : vecCandidates) {
      XTokVec tokvecSource = Tokenize(pEntry->first.data());
      if (!tokvecSource.HasFormat()) continue;
      m_mapPattern.emplace(std::move(tokvecSource), Tokenize(pEntry->second.data()));
    }
  }

  const XTokVec* Translate(const XTokVec& tokvecText) const {
    const XTokVec* pFound = Search(tokvecText, tokvecText);
    if (pFound == nullptr && !tokvecText.empty() && tokvecText[0].m_nKind == eKIDNumber) {
      XTokVec tokvecKey = tokvecText;
      tokvecKey[0] = XToken(eKIDFormat, XT("%A"));
      pFound = Search(tokvecKey, tokvecText);
    }
    return pFound;
  }

  const XMapPattern& PatternMap() const { return m_mapPattern; }

 private:
  const XTokVec* Search(const XTokVec& tokvecKey, const XTokVec& tokvecText) const {
    for (auto it = m_mapPattern.lower_bound(tokvecKey); it != m_mapPattern.end(); ++it) {
      const XResult result = oracle::TokVecCompare(tokvecText, it->first);
      if (result == eEqual) return &it->second;
      if (result == eLess) return nullptr;
    }
    return nullptr;
  }

  XMapPattern m_mapPattern;
};

inline bool IsArgument(const XToken& token) { return token.m_nKind == eKIDNumber || token.m_nKind == eKIDFormat; }

inline XString TokVecAssemble(const XTokVec& tokvecTransl, const XTokVec& tokvecText) {
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

// PatternTranslate's steps after the translator has collected the map: the
// translation of the text, or nothing.
inline std::optional<XString> PatternTranslate(const XTranslator& translator, const XChar* pszText) {
  if (*pszText == 0) return std::nullopt;
  const XTokVec tokvecText = Tokenize(pszText);
  if (tokvecText.size() < 2 || !tokvecText.HasNumberOrFormat()) return std::nullopt;
  const XTokVec* pFound = translator.Translate(tokvecText);
  if (pFound == nullptr) return std::nullopt;
  return oracle::TokVecAssemble(*pFound, tokvecText);
}

}  // namespace colang::oracle
