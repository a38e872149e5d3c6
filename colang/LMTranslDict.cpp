// XLMTranslDict: construction, copying, insertion and the lookups.
#include "colang/LMTranslDict.h"

#include <utility>

#include "colang/detail/ModuleContext.h"
#include "colang/pattern/PatternTranslate.h"

using colang::detail::XModuleContextGuard;

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

const XChar* XLMTranslDict::CheckTranslate(const XChar* pszText) const {
  XModuleContextGuard guard;
  if (pszText == nullptr || !IsValid()) return nullptr;
  if (const XChar* pszFound = TextFind(m_idxTransl, pszText)) return pszFound;
  return PatternTranslate(pszText, m_mapTransl);
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
