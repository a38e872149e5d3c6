// XLMTranslDict: construction, copying, insertion and the lookups.
#include "colang/LMTranslDict.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <utility>

#include "colang/detail/DictMaps.h"
#include "colang/detail/Globals.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/PairBatch.h"
#include "colang/pattern/PatternTranslate.h"

using colang::detail::XModuleContextGuard;
using colang::detail::XPairBatch;

XLMTranslDict::XLMTranslDict() : m_nLangID(0) {}

XLMTranslDict::XLMTranslDict(const XLMTranslDict& other) : m_nLangID(0) { Assign(other); }

XLMTranslDict::XLMTranslDict(XLMTranslDict&& other) noexcept : m_nLangID(0) { *this = std::move(other); }

XLMTranslDict::~XLMTranslDict() { Empty(); }

const XLMTranslDict& XLMTranslDict::operator=(XLMTranslDict&& other) noexcept {
  if (&other == this) return *this;
  m_nLangID = other.m_nLangID;
  m_vecRLGFilesLoaded = std::move(other.m_vecRLGFilesLoaded);
  *m_mapIdTransl = std::move(*other.m_mapIdTransl);
  *m_mapRetransl = std::move(*other.m_mapRetransl);
  *m_mapTransl = std::move(*other.m_mapTransl);
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
  *m_mapIdTransl = *other.m_mapIdTransl;
  *m_mapRetransl = *other.m_mapRetransl;
  *m_mapTransl = *other.m_mapTransl;
  return *this;
}

void XLMTranslDict::Empty() {
  XModuleContextGuard guard;
  m_nLangID = 0;
  m_vecRLGFilesLoaded.clear();
  m_mapIdTransl->Clear();
  m_mapRetransl->Clear();
  m_mapTransl->Clear();
}

void XLMTranslDict::LangIDSet(int nLangID) {
  XModuleContextGuard guard;
  m_nLangID = nLangID;
}

namespace {

// A block holding the given texts, each followed by a zero, and the views of
// them in it.
XTextBlock BlockOf(std::initializer_list<XStringView> texts, XStringView* pViews) {
  std::size_t nSize = 0;
  for (XStringView text : texts) nSize += text.size() + 1;
  std::shared_ptr<XChar[]> pBlock(new XChar[nSize]);
  XChar* p = pBlock.get();
  for (XStringView text : texts) {
    *pViews++ = XStringView(p, text.size());
    p = std::copy(text.begin(), text.end(), p);
    *p++ = XChar(0);
  }
  return pBlock;
}

}  // namespace

void XLMTranslDict::PairInsert(const XChar* pszSource, const XChar* pszTransl) {
  XModuleContextGuard guard;
  // Everything that can fail comes first; then both maps change together.
  XStringView aTexts[2];
  const XTextBlock block = BlockOf({XStringView(pszSource), XStringView(pszTransl)}, aTexts);
  m_mapTransl->StoreReserve();
  m_mapRetransl->StoreReserve();
  m_mapTransl->Store({aTexts[0], aTexts[1]}, block);
  m_mapRetransl->Store({aTexts[1], aTexts[0]}, block);
}

void XLMTranslDict::PairInsert(unsigned int nID, const XChar* pszTransl) {
  XModuleContextGuard guard;
  XStringView text;
  const XTextBlock block = BlockOf({XStringView(pszTransl)}, &text);
  m_mapIdTransl->StoreReserve();
  m_mapIdTransl->Store({nID, text}, block);
}

void XLMTranslDict::PairsInsert(XPairBatch& batch) {
  XModuleContextGuard guard;
  if (batch.m_vecPairs.empty() && batch.m_vecIds.empty()) return;
  // Lookups need only the maps' indexes: a first load leaves the entries in
  // reading order until something walks them in key order, and leaves the
  // retranslation map without its index until it is first used. The
  // translation map comes last, as it may take the batch's pairs over.
  XTextMap mapRetransl = m_mapRetransl->Merged(batch, true);
  XIdMap mapIdTransl = m_mapIdTransl->Merged(batch.m_vecIds, batch.m_vecBlocks);
  XTextMap mapTransl = m_mapTransl->Merged(batch, false);
  // Nothing below can fail: the dictionary changes all at once or not at all.
  *m_mapTransl = std::move(mapTransl);
  *m_mapRetransl = std::move(mapRetransl);
  *m_mapIdTransl = std::move(mapIdTransl);
}

const XChar* XLMTranslDict::CheckTranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  return Translated(pszText);
}

const XChar* XLMTranslDict::Translated(const XChar* pszText) const {
  if (pszText == nullptr || !IsValid()) return nullptr;
  std::size_t nLength = 0;
  if (const XChar* pszFound = m_mapTransl->Find(pszText, nLength)) return pszFound;
  const XChar* pszPattern = PatternTranslate(pszText, nLength, *m_mapTransl);
  if (pszPattern == nullptr && colang::detail::g_ptrUntranslatedLog != nullptr)
    colang::detail::g_ptrUntranslatedLog->Record(pszText, m_nLangID);
  return pszPattern;
}

const XChar* XLMTranslDict::CheckTranslate(unsigned int nID) const {
  XModuleContextGuard guard;
  if (!IsValid()) return nullptr;
  return m_mapIdTransl->Find(nID);
}

const XChar* XLMTranslDict::CheckRetranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  return Retranslated(pszText);
}

const XChar* XLMTranslDict::Retranslated(const XChar* pszText) const {
  if (pszText == nullptr || !IsValid()) return nullptr;
  return m_mapRetransl->Find(pszText);
}

// The String... lookups take the module context once, for the Check...
// lookup's work as well.
const XChar* XLMTranslDict::StringTranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  const XChar* pszResult = Translated(pszText);
  return pszResult != nullptr ? pszResult : pszText;
}

const XChar* XLMTranslDict::StringRetranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  const XChar* pszResult = Retranslated(pszText);
  return pszResult != nullptr ? pszResult : pszText;
}
