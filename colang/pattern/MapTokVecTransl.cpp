// The pattern translator: token sequence comparison, collecting the patterns
// of translation maps, and the two searches of Translate.
#include "colang/pattern/MapTokVecTransl.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "colang/detail/DictMaps.h"
#include "colang/detail/Format.h"
#include "colang/detail/Globals.h"
#include "colang/detail/MessageBox.h"
#include "colang/sibling/NumberScan.h"

namespace {

// Ordinal comparison by unsigned 16-bit code units; a proper prefix comes first.
XCmpResult TextCompare(const XString& a, const XString& b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<uint16_t>(a[i]);
    const auto cb = static_cast<uint16_t>(b[i]);
    if (ca != cb) return ca < cb ? eCmpLess : eCmpGreater;
  }
  if (a.size() == b.size()) return eCmpEqual;
  return a.size() < b.size() ? eCmpLess : eCmpGreater;
}

// Two numbers by value. A text that does not scan leaves its value at 0.0 and
// the values are then compared as they stand.
XCmpResult ValueCompare(const XToken& ta, const XToken& tb) {
  double va = 0.0;
  double vb = 0.0;
  int nUsed = 0;
  if (FloatScan(va, nUsed, ta.m_strText.c_str(), 0) && FloatScan(vb, nUsed, tb.m_strText.c_str(), 0) &&
      IsDblEqual(va, vb, 10))
    return eCmpEqual;
  if (va < vb) return eCmpLess;
  if (va > vb) return eCmpGreater;
  return eCmpEqual;
}

XCmpResult TokenCompare(const XToken& ta, const XToken& tb) {
  if (ta.m_nKind == eKIDFormat && tb.m_nKind == eKIDNumber) return eCmpEqual;
  if (ta.m_nKind == eKIDNumber && tb.m_nKind == eKIDFormat) return eCmpEqual;
  if (ta.m_nKind == eKIDNumber && tb.m_nKind == eKIDNumber) return ValueCompare(ta, tb);
  return TextCompare(ta.m_strText, tb.m_strText);
}

size_t WhitesSkip(const XTokVec& tokvec, size_t i) {
  while (i < tokvec.size() && tokvec[i].m_nKind == eKIDWhites) ++i;
  return i;
}

}  // namespace

XCmpResult TokVecCompare(const XTokVec& a, const XTokVec& b) {
  size_t ia = 0;
  size_t ib = 0;
  for (;; ++ia, ++ib) {
    ia = WhitesSkip(a, ia);
    ib = WhitesSkip(b, ib);
    if (ia >= a.size()) return ib < b.size() ? eCmpLess : eCmpEqual;
    if (ib >= b.size()) return eCmpGreater;
    const XCmpResult result = TokenCompare(a[ia], b[ib]);
    if (result != eCmpEqual) return result;
  }
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

void XMapTokVecTransl::TranslMapCollect(const XMapTransl& mapTransl) {
  // Most entries hold no "%" at all; they are passed over untokenized, in
  // the order they lie. The candidates go in by their sources' order, as a
  // walk in key order would add them: which pattern a search reaches
  // depends on the order the patterns came in.
  std::vector<const XTextEntry*> vecCandidates;
  for (const XTextEntry& entry : mapTransl.AsStored())
    if (entry.first.find(XT('%')) != XStringView::npos) vecCandidates.push_back(&entry);
  std::sort(vecCandidates.begin(), vecCandidates.end(),
            [](const XTextEntry* a, const XTextEntry* b) { return a->first < b->first; });
  for (const XTextEntry* pEntry : vecCandidates) {
    // The map's texts end in a zero where their views end.
    XTokVec tokvecSource(pEntry->first.data());
    if (!tokvecSource.HasFormat()) continue;
    m_mapPattern.emplace(std::move(tokvecSource), XTokVec(pEntry->second.data()));
  }
}

const XTokVec* XMapTokVecTransl::PatternSearch(const XTokVec& tokvecKey, const XTokVec& tokvecText) const {
  for (auto it = m_mapPattern.lower_bound(tokvecKey); it != m_mapPattern.end(); ++it) {
    const XCmpResult result = TokVecCompare(tokvecText, it->first);
    if (result == eCmpEqual) return &it->second;
    if (result == eCmpLess) return nullptr;
  }
  return nullptr;
}

bool XMapTokVecTransl::Translate(XTokVec& tokvecOut, const XTokVec& tokvecText) const {
  const XTokVec* pFound = PatternSearch(tokvecText, tokvecText);
  if (pFound == nullptr && !tokvecText.empty() && tokvecText[0].m_nKind == eKIDNumber) {
    // A number matches every specifier, so patterns that begin with one can
    // lie beyond the point where the first search stopped. "%A" sorts after
    // specifiers with a flag, width or precision and before plain ones; the
    // text itself, not the key, is what each pattern is compared with.
    XTokVec tokvecKey = tokvecText;
    tokvecKey[0] = XToken(eKIDFormat, XT("%A"));
    pFound = PatternSearch(tokvecKey, tokvecText);
  }
  if (pFound == nullptr) return false;
  tokvecOut = *pFound;
  return true;
}
