// The resource model: names, ordering and the loader's choice of language.
#include "Resources.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "TextIO.h"

namespace rlgtool {

namespace {

constexpr unsigned kSubNeutral = 0x00;
constexpr unsigned kSubDefault = 0x01;

unsigned LangMake(unsigned nPrimary, unsigned nSub) { return (nSub << 10) | nPrimary; }

XChar Upper(XChar c) { return c >= XChar('a') && c <= XChar('z') ? static_cast<XChar>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(const XString& a, const char* psz) {
  size_t i = 0;
  for (; i < a.size() && psz[i] != '\0'; ++i)
    if (Upper(a[i]) != Upper(static_cast<XChar>(psz[i]))) return false;
  return i == a.size() && psz[i] == '\0';
}

const char* TypeName(unsigned nType) {
  switch (nType) {
    case eResMenu:
      return "MENU";
    case eResDialog:
      return "DIALOG";
    case eResString:
      return "STRINGTABLE";
  }
  return "RESOURCE";
}

// The range of resources with this type and name in a sorted list.
std::pair<std::vector<XResource>::const_iterator, std::vector<XResource>::const_iterator> Versions(
    const std::vector<XResource>& vecResources, unsigned nType, const XResName& name) {
  auto less = [](const XResource& r, const std::pair<unsigned, const XResName*>& key) {
    return r.nType < key.first || (r.nType == key.first && r.name < *key.second);
  };
  auto first = std::lower_bound(vecResources.begin(), vecResources.end(), std::make_pair(nType, &name), less);
  auto last = first;
  while (last != vecResources.end() && last->nType == nType && last->name == name) ++last;
  return {first, last};
}

}  // namespace

XResName XResName::Ordinal(unsigned nValue, std::string strSymbol) {
  XResName name;
  name.nOrdinal = nValue;
  name.strSymbol = std::move(strSymbol);
  return name;
}

XResName XResName::Text(XString strText) {
  XResName name;
  name.bOrdinal = false;
  name.strText = std::move(strText);
  return name;
}

std::string XResName::Display() const {
  if (!strSymbol.empty()) return strSymbol;
  if (bOrdinal) return std::to_string(nOrdinal);
  std::string strName = Utf8FromText(strText);
  // A name is one word in references; blanks would split it.
  std::replace(strName.begin(), strName.end(), ' ', '_');
  return strName;
}

bool operator<(const XResName& a, const XResName& b) {
  if (a.bOrdinal != b.bOrdinal) return a.bOrdinal;
  return a.bOrdinal ? a.nOrdinal < b.nOrdinal : a.strText < b.strText;
}

bool operator==(const XResName& a, const XResName& b) {
  return a.bOrdinal == b.bOrdinal && (a.bOrdinal ? a.nOrdinal == b.nOrdinal : a.strText == b.strText);
}

XResName ControlClass(const XString& strName) {
  static const struct {
    const char* pszName;
    XCtlClass eClass;
  } kClasses[] = {{"Button", eCtlButton},   {"Edit", eCtlEdit},           {"Static", eCtlStatic},
                  {"ListBox", eCtlListBox}, {"ScrollBar", eCtlScrollBar}, {"ComboBox", eCtlComboBox}};
  for (const auto& known : kClasses)
    if (SameIgnoringCase(strName, known.pszName)) return XResName::Ordinal(known.eClass);
  return XResName::Text(strName);
}

bool XDlgControl::ShowsText() const {
  if (title.bOrdinal || title.strText.empty()) return false;
  // The library leaves edit controls alone.
  if (cls.bOrdinal ? cls.nOrdinal == eCtlEdit : SameIgnoringCase(cls.strText, "RICHEDIT")) return false;
  if (cls.bOrdinal && cls.nOrdinal == eCtlStatic) {
    // An icon, bitmap or metafile static names its image in the title.
    const unsigned nKind = nStyle & 0x1F;
    if (nKind == 0x03 || nKind == 0x0E || nKind == 0x0F) return false;
  }
  return true;
}

std::string XResource::Display() const { return std::string(TypeName(nType)) + " " + name.Display(); }

void ResourcesSort(std::vector<XResource>& vecResources) {
  std::stable_sort(vecResources.begin(), vecResources.end(), [](const XResource& a, const XResource& b) {
    if (a.nType != b.nType) return a.nType < b.nType;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.nLang < b.nLang;
  });
}

const XResource* ResourceFind(const XResFile& file, unsigned nType, const XResName& name, unsigned nLang) {
  auto [first, last] = Versions(file.vecResources, nType, name);
  const unsigned nPrimary = nLang & 0x3FF;
  for (unsigned nTry : {nLang, LangMake(nPrimary, kSubNeutral), LangMake(nPrimary, kSubDefault), 0u})
    for (auto it = first; it != last; ++it)
      if (it->nLang == nTry) return &*it;
  return nullptr;
}

std::vector<const XResource*> ResourcesForLanguage(const XResFile& file, unsigned nLang) {
  std::vector<const XResource*> vecPicked;
  const std::vector<XResource>& all = file.vecResources;
  for (size_t i = 0; i < all.size(); ++i) {
    if (i > 0 && all[i].nType == all[i - 1].nType && all[i].name == all[i - 1].name) continue;
    if (const XResource* pRes = ResourceFind(file, all[i].nType, all[i].name, nLang)) vecPicked.push_back(pRes);
  }
  return vecPicked;
}

std::string LangIDText(unsigned nLang) {
  char sz[16];
  std::snprintf(sz, sizeof sz, "%04x", nLang & 0xFFFF);
  return sz;
}

}  // namespace rlgtool
