// The pattern translator: token sequence comparison, collecting the patterns
// of translation maps, the shape index beside the tree, and the two searches
// of Translate.
#include "colang/pattern/MapTokVecTransl.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "colang/detail/DictMaps.h"
#include "colang/detail/Format.h"
#include "colang/detail/Globals.h"
#include "colang/detail/MessageBox.h"
#include "colang/sibling/NumberScan.h"

using colang::detail::XPattern;
using colang::detail::XPatternPtr;
using colang::detail::XTokRef;

namespace {

// Ordinal comparison by unsigned 16-bit code units; a proper prefix comes first.
XCmpResult TextCompare(XStringView a, XStringView b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<uint16_t>(a[i]);
    const auto cb = static_cast<uint16_t>(b[i]);
    if (ca != cb) return ca < cb ? eCmpLess : eCmpGreater;
  }
  if (a.size() == b.size()) return eCmpEqual;
  return a.size() < b.size() ? eCmpLess : eCmpGreater;
}

// FloatScan of a token's text, which needs it zero-terminated: the number of
// a view may be followed by more of its text.
bool NumberScan(double& value, const XTokRef& token) {
  int nUsed = 0;
  XChar szShort[64];
  if (token.nLength < std::size(szShort)) {
    std::copy(token.p, token.p + token.nLength, szShort);
    szShort[token.nLength] = 0;
    return FloatScan(value, nUsed, szShort, 0);
  }
  const XString strLong(token.Text());
  return FloatScan(value, nUsed, strLong.c_str(), 0);
}

// Two numbers by value. A text that does not scan leaves its value at 0.0 and
// the values are then compared as they stand.
XCmpResult ValueCompare(const XTokRef& ta, const XTokRef& tb) {
  double va = 0.0;
  double vb = 0.0;
  if (NumberScan(va, ta) && NumberScan(vb, tb) && IsDblEqual(va, vb, 10)) return eCmpEqual;
  if (va < vb) return eCmpLess;
  if (va > vb) return eCmpGreater;
  return eCmpEqual;
}

XCmpResult TokenCompare(const XTokRef& ta, const XTokRef& tb) {
  if (ta.nKind == eKIDFormat && tb.nKind == eKIDNumber) return eCmpEqual;
  if (ta.nKind == eKIDNumber && tb.nKind == eKIDFormat) return eCmpEqual;
  if (ta.nKind == eKIDNumber && tb.nKind == eKIDNumber) return ValueCompare(ta, tb);
  return TextCompare(ta.Text(), tb.Text());
}

uint64_t ShapeHash(const XTokRef* p, size_t n) {
  uint64_t nHash = 0;
  for (size_t i = 0; i < n; ++i) nHash = colang::detail::ShapeStep(nHash, p[i]);
  return nHash;
}

// Whether two tokens hold the same code units, four at a time; the last four
// overlap the ones before when the length is no multiple of four.
bool UnitsSame(const XTokRef& a, const XTokRef& b) {
  const size_t n = a.nLength;
  if (n != b.nLength) return false;
  if (n < 4) return std::equal(a.p, a.p + n, b.p);
  for (size_t k = 4; k < n; k += 4)
    if (colang::detail::Units4(a.p + k - 4) != colang::detail::Units4(b.p + k - 4)) return false;
  return colang::detail::Units4(a.p + n - 4) == colang::detail::Units4(b.p + n - 4);
}

// How a token sequence a stands to the tokens b of a pattern: 0 another
// shape, 1 the same shape, 2 the same shape and equal (TokensCompare).
int ShapeMatch(const XTokRef* a, size_t na, const XTokRef* b, size_t nb) {
  if (na != nb) return 0;
  int nMatch = 2;
  for (size_t i = 0; i < na; ++i) {
    const bool bArgument = a[i].IsArgument();
    if (bArgument != b[i].IsArgument()) return 0;
    if (!bArgument) {
      if (!UnitsSame(a[i], b[i])) return 0;
    } else if (nMatch == 2 && !(a[i].nKind == eKIDNumber && b[i].nKind == eKIDFormat) &&
               TokenCompare(a[i], b[i]) != eCmpEqual) {
      nMatch = 1;
    }
  }
  return nMatch;
}

// The tokens of a text as views into it: all but white space (bKey), or
// only the numbers and specifiers; whether a format specifier is among them.
bool TokensTake(XStringView text, bool bKey, std::vector<XTokRef>& vecOut) {
  vecOut.clear();
  bool bFormat = false;
  colang::detail::TokensScan(text, [&](int32_t nKind, size_t nPos, size_t nLength) {
    const XTokRef token{nKind, static_cast<uint32_t>(nLength), text.data() + nPos};
    bFormat = bFormat || nKind == eKIDFormat;
    if (bKey ? nKind != eKIDWhites : token.IsArgument()) vecOut.push_back(token);
  });
  return bFormat;
}

// A pattern in a block of its own: the pattern, the tokens, then the texts,
// each followed by a zero; the tokens given are views into the texts given.
XPatternPtr PatternMake(XStringView source, const std::vector<XTokRef>& vecKey, XStringView transl,
                        const std::vector<XTokRef>& vecHolders) {
  const size_t nTokens = vecKey.size() + vecHolders.size();
  const size_t nBytes =
      sizeof(XPattern) + nTokens * sizeof(XTokRef) + (source.size() + transl.size() + 2) * sizeof(XChar);
  static_assert(sizeof(XPattern) % alignof(XTokRef) == 0 && sizeof(XTokRef) % alignof(XChar) == 0);
  XPatternPtr pPattern(new (::operator new(nBytes)) XPattern{});
  XTokRef* const pTokens = reinterpret_cast<XTokRef*>(pPattern.get() + 1);
  XChar* const pSource = reinterpret_cast<XChar*>(pTokens + nTokens);
  XChar* const pTransl = pSource + source.size() + 1;
  *std::copy(source.begin(), source.end(), pSource) = 0;
  *std::copy(transl.begin(), transl.end(), pTransl) = 0;
  auto rebase = [](const XTokRef& token, XStringView from, const XChar* pTo) {
    return XTokRef{token.nKind, token.nLength, pTo + (token.p - from.data())};
  };
  for (size_t i = 0; i < vecKey.size(); ++i) pTokens[i] = rebase(vecKey[i], source, pSource);
  for (size_t i = 0; i < vecHolders.size(); ++i) pTokens[vecKey.size() + i] = rebase(vecHolders[i], transl, pTransl);
  *pPattern = {XStringView(pSource, source.size()),
               XStringView(pTransl, transl.size()),
               pTokens,
               vecKey.size(),
               pTokens + vecKey.size(),
               vecHolders.size(),
               false};
  return pPattern;
}

}  // namespace

namespace colang::detail {

void XPatternFree::operator()(XPattern* pPattern) const {
  pPattern->~XPattern();
  ::operator delete(pPattern);
}

XCmpResult TokensCompare(const XTokRef* a, size_t na, const XTokRef* b, size_t nb) {
  for (size_t i = 0;; ++i) {
    if (i == na) return i < nb ? eCmpLess : eCmpEqual;
    if (i == nb) return eCmpGreater;
    const XCmpResult result = TokenCompare(a[i], b[i]);
    if (result != eCmpEqual) return result;
  }
}

}  // namespace colang::detail

using colang::detail::TokensCompare;

XCmpResult TokVecCompare(const XTokVec& a, const XTokVec& b) {
  colang::detail::XTextTokens ta, tb;
  ta.Assign(a);
  tb.Assign(b);
  return TokensCompare(ta.data(), ta.size(), tb.data(), tb.size());
}

const XChar* CompareResultString(int32_t nResult) {
  switch (nResult) {
    case eCmpLess:
      return XT("<");
    case eCmpGreater:
      return XT(">");
    case eCmpEqual:
      return XT("=");
    default:
      return XT("?");
  }
}

bool XMapTokVecTransl::XPatternLess::operator()(const XPatternPtr& a, const XPatternPtr& b) const {
  return TokensCompare(a->pKey, a->nKey, b->pKey, b->nKey) == eCmpLess;
}

bool XMapTokVecTransl::XPatternLess::operator()(const XPatternPtr& a, const XQuery& b) const {
  return TokensCompare(a->pKey, a->nKey, b.p, b.n) == eCmpLess;
}

bool XMapTokVecTransl::XPatternLess::operator()(const XQuery& a, const XPatternPtr& b) const {
  return TokensCompare(a.p, a.n, b->pKey, b->nKey) == eCmpLess;
}

bool XMapTokVecTransl::TranslMapCheck(const XMapTransl& mapTransl) {
  for (const XMapTransl*& pSlot : m_apMapTransl) {
    if (pSlot == &mapTransl) return true;
    if (pSlot == nullptr) {
      TranslMapCollect(mapTransl);
      pSlot = &mapTransl;
      return true;
    }
  }
  if (colang::detail::g_bPatternOverflowDue) {
    colang::detail::g_bPatternOverflowDue = false;
    const XString strText = colang::detail::Format(
        XT("XMapTokVecTransl::TranslMapCheck: more than %d different translation maps encountered"), kTranslMapSlots);
    colang::detail::MessageBoxShow(strText.c_str(), 0, 0);
  }
  return true;
}

bool XMapTokVecTransl::MapKnown(const XMapTransl& mapTransl) const {
  for (const XMapTransl* pSlot : m_apMapTransl)
    if (pSlot == &mapTransl || pSlot == nullptr) return pSlot != nullptr;
  return !colang::detail::g_bPatternOverflowDue;
}

void XMapTokVecTransl::TranslMapCollect(const XMapTransl& mapTransl) {
  // Most entries hold no "%" at all; they are passed over untokenized (a
  // compiled catalog lists the others). The candidates go in by their
  // sources' order, as a walk in key order would add them: which pattern a
  // search reaches depends on the order the patterns came in.
  std::vector<XTextEntry> vecCandidates = mapTransl.PercentEntries();
  std::sort(vecCandidates.begin(), vecCandidates.end(),
            [](const XTextEntry& a, const XTextEntry& b) { return a.first < b.first; });
  std::vector<XTokRef> vecKey, vecHolders;
  for (const XTextEntry& entry : vecCandidates) {
    // The map's texts end in a zero where their views end; a text is taken
    // up to its first zero, as a zero-terminated text.
    const XStringView source(entry.first.data()), transl(entry.second.data());
    if (!TokensTake(source, true, vecKey)) continue;
    TokensTake(transl, false, vecHolders);
    // A pattern equal to the one at its lower bound is not inserted; the
    // others go in just there, as an ordered map's emplace puts them.
    const XQuery query{vecKey.data(), vecKey.size()};
    const auto it = m_setPatterns.lower_bound(query);
    if (it == m_setPatterns.end() || m_setPatterns.key_comp()(query, *it))
      m_setPatterns.emplace_hint(it, PatternMake(source, vecKey, transl, vecHolders));
  }
  DirectMark();
  ShapesIndex();
}

// Which patterns a text finds by its shape alone. The tree's search for a
// text T equal to a pattern K reaches K if every other pattern K' compares
// with T as it compares with K: then, the patterns being in order in the
// tree, those before K are below T and those after above, the lower bound of
// T is K, and K is the first pattern the scan compares. Before the place
// where K' and K first differ, T matches both alike. At that place T holds
// what K holds, unless K holds a specifier where T holds a number. Then K'
// holds there
// - a specifier of another text: T matches it too, while K differs from it;
// - a number: T and K' compare by value, K and K' are equal;
// - a word beginning with one of "%" to "9": it may stand between K's
//   specifier (which begins with "%") and T's number (which begins with a
//   sign or a digit);
// - any other word: it stands before or after specifier and number alike.
// So a pattern is direct unless, at one of its specifiers, a pattern that
// shares everything before that place holds one of the first three there.
// Patterns holding numbers make the tree's order inconsistent among the
// patterns themselves: with any of them, no pattern is direct.
void XMapTokVecTransl::DirectMark() {
  std::vector<XPattern*> vecSorted;
  vecSorted.reserve(m_setPatterns.size());
  bool bNumbers = false;
  for (const XPatternPtr& pPattern : m_setPatterns) {
    vecSorted.push_back(pPattern.get());
    for (size_t i = 0; i < pPattern->nKey; ++i) bNumbers = bNumbers || pPattern->pKey[i].nKind == eKIDNumber;
  }
  for (XPattern* pPattern : vecSorted) pPattern->bDirect = !bNumbers;
  if (bNumbers) return;

  // Runs of patterns that share their first q tokens, for q = 0, 1, ...:
  // each run splits into the runs of q + 1 by the token at q.
  std::vector<std::pair<size_t, size_t>> vecRuns{{0, vecSorted.size()}}, vecNext;
  for (size_t q = 0; !vecRuns.empty(); ++q, vecRuns.swap(vecNext)) {
    vecNext.clear();
    for (auto [nLow, nHigh] : vecRuns) {
      // A pattern that ends before q sorts first, as a prefix does.
      while (nLow < nHigh && vecSorted[nLow]->nKey <= q) ++nLow;
      const XTokRef* pFormat = nullptr;
      bool bMixed = false;
      for (size_t k = nLow; k < nHigh; ++k) {
        const XTokRef& token = vecSorted[k]->pKey[q];
        if (token.nKind == eKIDFormat) {
          bMixed = bMixed || (pFormat != nullptr && pFormat->Text() != token.Text());
          pFormat = &token;
        } else {
          bMixed = bMixed || (token.p[0] >= XT('%') && token.p[0] <= XT('9'));
        }
      }
      for (size_t k = nLow; k < nHigh; ++k) {
        XPattern& pattern = *vecSorted[k];
        if (bMixed && pFormat != nullptr && pattern.pKey[q].nKind == eKIDFormat) pattern.bDirect = false;
        if (k == nLow || vecSorted[k - 1]->pKey[q].Text() != pattern.pKey[q].Text())
          vecNext.emplace_back(k, k + 1);
        else
          vecNext.back().second = k + 1;
      }
    }
  }
}

void XMapTokVecTransl::ShapesIndex() {
  size_t nSlots = 8;
  while (nSlots < 2 * m_setPatterns.size()) nSlots *= 2;
  m_vecShapes.assign(nSlots, XShapeSlot{0, nullptr});
  const size_t nMask = nSlots - 1;
  for (const XPatternPtr& pPattern : m_setPatterns) {
    const uint64_t nHash = ShapeHash(pPattern->pKey, pPattern->nKey);
    for (size_t i = nHash & nMask;; i = (i + 1) & nMask) {
      XShapeSlot& slot = m_vecShapes[i];
      if (slot.pPattern == nullptr) {
        slot = {nHash, pPattern.get()};
        break;
      }
      // A shape is indexed once: patterns that share one are not direct.
      if (slot.nHash == nHash &&
          ShapeMatch(pPattern->pKey, pPattern->nKey, slot.pPattern->pKey, slot.pPattern->nKey) != 0)
        break;
    }
  }
}

const XPattern* XMapTokVecTransl::Search(const XTextTokens& tokens) const {
  if (m_setPatterns.empty()) return nullptr;
  const uint64_t nHash = tokens.ShapeHash();
  const size_t nMask = m_vecShapes.size() - 1;
  for (size_t i = nHash & nMask;; i = (i + 1) & nMask) {
    const XShapeSlot& slot = m_vecShapes[i];
    // No pattern has the text's shape: none can be equal to it.
    if (slot.pPattern == nullptr) return nullptr;
    if (slot.nHash != nHash) continue;
    const XPattern& pattern = *slot.pPattern;
    const int nMatch = ShapeMatch(tokens.data(), tokens.size(), pattern.pKey, pattern.nKey);
    if (nMatch == 0) continue;
    if (!pattern.bDirect) return TreeSearch(tokens.data(), tokens.size(), tokens.FirstIsNumber());
    // A direct pattern is the only one of its shape.
    return nMatch == 2 ? &pattern : nullptr;
  }
}

const XPattern* XMapTokVecTransl::PatternSearch(const XQuery& key, const XQuery& text) const {
  for (auto it = m_setPatterns.lower_bound(key); it != m_setPatterns.end(); ++it) {
    const XPattern& pattern = **it;
    const XCmpResult result = TokensCompare(text.p, text.n, pattern.pKey, pattern.nKey);
    if (result == eCmpEqual) return &pattern;
    if (result == eCmpLess) return nullptr;
  }
  return nullptr;
}

const XPattern* XMapTokVecTransl::TreeSearch(const XTokRef* pText, size_t nText, bool bFirstIsNumber) const {
  const XQuery text{pText, nText};
  const XPattern* pFound = PatternSearch(text, text);
  if (pFound == nullptr && bFirstIsNumber) {
    // A number matches every specifier, so patterns that begin with one can
    // lie beyond the point where the first search stopped. "%A" sorts after
    // specifiers with a flag, width or precision and before plain ones; the
    // text itself, not the key, is what each pattern is compared with.
    m_vecKeyScratch.assign(pText, pText + nText);
    m_vecKeyScratch[0] = {eKIDFormat, 2, XT("%A")};
    pFound = PatternSearch({m_vecKeyScratch.data(), nText}, text);
  }
  return pFound;
}

bool XMapTokVecTransl::Translate(XTokVec& tokvecOut, const XTokVec& tokvecText) const {
  // Tokens made by hand need not have the shapes tokenized texts have: the
  // tree alone decides.
  XTextTokens tokens;
  tokens.Assign(tokvecText);
  const XPattern* pFound = TreeSearch(tokens.data(), tokens.size(), tokens.FirstIsNumber());
  if (pFound == nullptr) return false;
  tokvecOut.Tokenize(pFound->transl.data());
  return true;
}

const XChar* XMapTokVecTransl::PatternSource(const XTokVec& tokvec, bool bEqual) const {
  XTextTokens tokens;
  tokens.Assign(tokvec);
  const XQuery query{tokens.data(), tokens.size()};
  auto it = m_setPatterns.lower_bound(query);
  if (it == m_setPatterns.end() || (bEqual && m_setPatterns.key_comp()(query, *it))) return nullptr;
  return (*it)->source.data();
}
