// XLMTranslDict: construction, copying, insertion and the lookups.
#include "colang/LMTranslDict.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

#include "colang/detail/Globals.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/PairBatch.h"
#include "colang/pattern/PatternTranslate.h"

using colang::detail::XModuleContextGuard;
using colang::detail::XPairBatch;

namespace {

// Replace-or-insert without building a temporary key when the entry exists.
template <typename Map, typename Key>
void MapStore(Map& map, const Key& key, const XChar* pszValue) {
  auto it = map.find(key);
  if (it != map.end())
    it->second.assign(pszValue);
  else
    map.emplace(typename Map::key_type(key), pszValue);
}

// A text's place in a sort of a batch: eight of its code units, packed so
// that the packed values order as the texts do (texts hold no zero unit, so
// the zeros that pad a short text sort first, as a prefix does), the text
// itself, and the position of its pair in the batch, which orders equal texts
// in reading order.
struct XSortItem {
  std::uint64_t anUnits[2];
  XPairBatch::XSpan text;
  std::size_t nIndex;
};

std::uint64_t UnitsPack(XStringView text, std::size_t nFrom) {
  std::uint64_t nUnits = 0;
  for (std::size_t k = nFrom; k < nFrom + 4; ++k)
    nUnits = nUnits << 16 | (k < text.size() ? static_cast<std::uint16_t>(text[k]) : 0u);
  return nUnits;
}

bool UnitsEqual(const XSortItem& a, const XSortItem& b) {
  return a.anUnits[0] == b.anUnits[0] && a.anUnits[1] == b.anUnits[1];
}

// Sorts the items by their texts, equal texts in reading order. The texts
// are compared eight units at a time, as packed numbers: all items by their
// first eight units, then each run that agrees on them by the next eight,
// and so on, so that a comparison never reads the texts themselves and
// every unit of a text is packed at most once.
void TextsSort(const XPairBatch& batch, std::vector<XSortItem>& vecItems) {
  struct XRange {
    std::size_t nBegin, nEnd, nDepth;
  };
  std::vector<XRange> vecTodo{{0, vecItems.size(), 0}};
  while (!vecTodo.empty()) {
    const XRange range = vecTodo.back();
    vecTodo.pop_back();
    const auto itBegin = vecItems.begin() + static_cast<std::ptrdiff_t>(range.nBegin);
    const auto itEnd = vecItems.begin() + static_cast<std::ptrdiff_t>(range.nEnd);
    for (auto it = itBegin; it != itEnd; ++it) {
      const XStringView text = batch.View(it->text);
      it->anUnits[0] = UnitsPack(text, range.nDepth);
      it->anUnits[1] = UnitsPack(text, range.nDepth + 4);
    }
    std::sort(itBegin, itEnd, [](const XSortItem& a, const XSortItem& b) {
      if (a.anUnits[0] != b.anUnits[0]) return a.anUnits[0] < b.anUnits[0];
      if (a.anUnits[1] != b.anUnits[1]) return a.anUnits[1] < b.anUnits[1];
      return a.nIndex < b.nIndex;
    });
    // A run that agrees on these units is sorted by the next ones when one
    // of its texts goes on beyond them; a text that ends here then sorts
    // first. A run whose texts all end here is of equal texts.
    for (std::size_t i = range.nBegin; i < range.nEnd;) {
      std::size_t j = i + 1;
      bool bLonger = vecItems[i].text.nLength > range.nDepth + 8;
      for (; j < range.nEnd && UnitsEqual(vecItems[j], vecItems[i]); ++j)
        bLonger = bLonger || vecItems[j].text.nLength > range.nDepth + 8;
      if (j - i > 1 && bLonger) vecTodo.push_back({i, j, range.nDepth + 8});
      i = j;
    }
  }
}

void IdBatchStore(XLMTranslDict::XMapIdTransl& map, const XPairBatch& batch) {
  const auto& vecIds = batch.m_vecIds;
  std::vector<std::size_t> vecOrder(vecIds.size());
  for (std::size_t i = 0; i < vecOrder.size(); ++i) vecOrder[i] = i;
  std::stable_sort(vecOrder.begin(), vecOrder.end(),
                   [&](std::size_t a, std::size_t b) { return vecIds[a].nID < vecIds[b].nID; });
  const bool bFresh = map.empty();
  for (std::size_t k = 0; k < vecOrder.size(); ++k) {
    const XPairBatch::XIdPair& pair = vecIds[vecOrder[k]];
    if (k + 1 < vecOrder.size() && vecIds[vecOrder[k + 1]].nID == pair.nID) continue;
    const XStringView value = batch.View(pair.transl);
    auto it = bFresh ? map.end() : map.lower_bound(pair.nID);
    if (it != map.end() && it->first == pair.nID)
      it->second.assign(value);
    else
      map.emplace_hint(it, pair.nID, value);
  }
}

}  // namespace

XLMTranslDict::XLMTranslDict() : m_nLangID(0) {}

XLMTranslDict::XLMTranslDict(const XLMTranslDict& other) : m_nLangID(0) { Assign(other); }

XLMTranslDict::XLMTranslDict(XLMTranslDict&& other) noexcept : m_nLangID(0) { *this = std::move(other); }

XLMTranslDict::~XLMTranslDict() { Empty(); }

const XLMTranslDict& XLMTranslDict::operator=(XLMTranslDict&& other) noexcept {
  if (&other == this) return *this;
  m_nLangID = other.m_nLangID;
  m_vecRLGFilesLoaded = std::move(other.m_vecRLGFilesLoaded);
  m_mapIdTransl = std::move(other.m_mapIdTransl);
  m_mapRetransl = std::move(other.m_mapRetransl);
  m_mapTransl = std::move(other.m_mapTransl);
  // The entries moved with their maps, so the indexes still point at them.
  m_idxRetransl = std::move(other.m_idxRetransl);
  m_idxTransl = std::move(other.m_idxTransl);
  other.Empty();
  return *this;
}

const XLMTranslDict& XLMTranslDict::operator=(const XLMTranslDict& other) { return Assign(other); }

const XLMTranslDict& XLMTranslDict::Assign(const XLMTranslDict& other) {
  XModuleContextGuard guard;
  // Emptying first would lose what is to be copied; a dictionary already
  // holds itself.
  if (&other == this) return *this;
  Empty();
  m_nLangID = other.m_nLangID;
  m_vecRLGFilesLoaded = other.m_vecRLGFilesLoaded;
  m_mapIdTransl = other.m_mapIdTransl;
  m_mapRetransl = other.m_mapRetransl;
  m_mapTransl = other.m_mapTransl;
  m_idxRetransl.Rebuild(m_mapRetransl);
  m_idxTransl.Rebuild(m_mapTransl);
  return *this;
}

void XLMTranslDict::Empty() {
  XModuleContextGuard guard;
  m_nLangID = 0;
  m_vecRLGFilesLoaded.clear();
  m_mapIdTransl.clear();
  m_mapRetransl.clear();
  m_mapTransl.clear();
  m_idxRetransl.Clear();
  m_idxTransl.Clear();
}

void XLMTranslDict::LangIDSet(int nLangID) {
  XModuleContextGuard guard;
  m_nLangID = nLangID;
}

void XLMTranslDict::PairInsert(const XChar* pszSource, const XChar* pszTransl) {
  XModuleContextGuard guard;
  TextStore(m_mapTransl, m_idxTransl, pszSource, pszTransl);
  TextStore(m_mapRetransl, m_idxRetransl, pszTransl, pszSource);
}

void XLMTranslDict::PairInsert(unsigned int nID, const XChar* pszTransl) {
  XModuleContextGuard guard;
  MapStore(m_mapIdTransl, nID, pszTransl);
}

void XLMTranslDict::PairsInsert(const XPairBatch& batch) {
  XModuleContextGuard guard;
  TextBatchStore(m_mapTransl, m_idxTransl, batch, true);
  TextBatchStore(m_mapRetransl, m_idxRetransl, batch, false);
  IdBatchStore(m_mapIdTransl, batch);
}

void XLMTranslDict::TextBatchStore(XMapTransl& map, XTextIndex& index, const XPairBatch& batch, bool bBySource) {
  const auto& vecPairs = batch.m_vecPairs;
  const std::size_t n = vecPairs.size();
  if (n == 0) return;
  // Sorted by key, and among equal keys in reading order, the pairs go into
  // the map in key order: into an empty map each one at its end, which takes
  // no walk down the tree.
  std::vector<XSortItem> vecSort(n);
  for (std::size_t i = 0; i < n; ++i) {
    const XPairBatch::XSpan& key = bBySource ? vecPairs[i].source : vecPairs[i].transl;
    vecSort[i] = {{0, 0}, key, i};
  }
  TextsSort(batch, vecSort);
  index.Reserve(n);
  const bool bFresh = map.empty();
  for (std::size_t k = 0; k < n; ++k) {
    const XSortItem& item = vecSort[k];
    const XStringView key = batch.View(item.text);
    // Of the pairs with one key, the one read last is the one kept.
    if (k + 1 < n && batch.View(vecSort[k + 1].text) == key) continue;
    const XPairBatch::XTextPair& pair = vecPairs[item.nIndex];
    const XStringView value = batch.View(bBySource ? pair.transl : pair.source);
    const std::size_t nHash = XTextIndex::TextHash(key);
    auto it = bFresh ? map.end() : map.lower_bound(key);
    if (it != map.end() && XStringView(it->first) == key) {
      it->second.assign(value);
      index.ValueUpdate(*it, nHash);
    } else {
      it = map.emplace_hint(it, std::piecewise_construct, std::forward_as_tuple(key), std::forward_as_tuple(value));
      index.Add(*it, nHash);
    }
  }
}

const XChar* XLMTranslDict::CheckTranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  if (pszText == nullptr || !IsValid()) return nullptr;
  if (const XChar* pszFound = TextFind(m_idxTransl, pszText)) return pszFound;
  const XChar* pszPattern = PatternTranslate(pszText, m_mapTransl);
  if (pszPattern == nullptr && colang::detail::g_ptrUntranslatedLog != nullptr)
    colang::detail::g_ptrUntranslatedLog->Record(pszText, m_nLangID);
  return pszPattern;
}

const XChar* XLMTranslDict::CheckTranslate(unsigned int nID) const {
  XModuleContextGuard guard;
  if (!IsValid()) return nullptr;
  auto it = m_mapIdTransl.find(nID);
  return it != m_mapIdTransl.end() ? it->second.c_str() : nullptr;
}

const XChar* XLMTranslDict::CheckRetranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  if (pszText == nullptr || !IsValid()) return nullptr;
  return TextFind(m_idxRetransl, pszText);
}

const XChar* XLMTranslDict::StringTranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  const XChar* pszResult = CheckTranslate(pszText);
  return pszResult != nullptr ? pszResult : pszText;
}

const XChar* XLMTranslDict::StringRetranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  const XChar* pszResult = CheckRetranslate(pszText);
  return pszResult != nullptr ? pszResult : pszText;
}
