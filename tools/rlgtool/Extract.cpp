// Collecting texts from resources, pairing two languages, and writing the
// result as a catalog or a PO file.
#include "Extract.h"

#include <algorithm>
#include <map>
#include <set>

#include "Catalog.h"
#include "Commands.h"
#include "Po.h"
#include "ResBinary.h"
#include "TextIO.h"
#include "colang/detail/DictText.h"
#include "colang/detail/PoText.h"
#include "colang/detail/TextCodec.h"

namespace rlgtool {

// One text of a resource and what identifies its place there, so that the
// same place can be found in the resource's other languages.
struct XSlot {
  std::string strKey;
  XStringView text;        // in the resource
  unsigned nStringID = 0;  // for string-table entries
  int nLine = 0;
  std::string strComment;
};

namespace {

// A resource's texts, and its structure as a list of elements that two
// languages must share for their texts to be paired.
struct XShape {
  std::vector<XSlot> vecSlots;
  std::vector<std::string> vecStructure;
};

// What a shape is made for: pairing needs the slots' keys and the
// structure, a PO file the comments; a catalog of one language neither.
struct XShapeParts {
  bool bPairs = false;
  bool bComments = false;
};

std::string Numbered(const std::string& strSymbol, long long nValue) {
  return strSymbol.empty() ? std::to_string(nValue) : strSymbol + " (" + std::to_string(nValue) + ")";
}

std::string NameText(const XResName& name) {
  return name.bOrdinal ? Numbered(name.strSymbol, name.nOrdinal) : name.Display();
}

std::string ClassText(const XResName& cls) {
  if (!cls.bOrdinal) return Utf8FromText(cls.strText);
  static const char* const kNames[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
  if (cls.nOrdinal >= eCtlButton && cls.nOrdinal <= eCtlComboBox) return kNames[cls.nOrdinal - eCtlButton];
  return "class " + std::to_string(cls.nOrdinal);
}

void MenuShape(const XMenuNode& node, const std::string& strPath, const std::string& strMenu, XShapeParts parts,
               XShape& shape) {
  for (size_t i = 0; i < node.vecItems.size(); ++i) {
    const XMenuNode& item = node.vecItems[i];
    std::string strKey;
    if (parts.bPairs) {
      strKey = (strPath.empty() ? "" : strPath + ".") + std::to_string(i + 1);
      const std::string strKind = item.bPopup ? "popup" : item.bText ? "item " + std::to_string(item.nID) : "separator";
      shape.vecStructure.push_back("menu item " + strKey + " (" + strKind + ")");
    }
    if (item.bText)
      shape.vecSlots.push_back(
          {strKey, item.strText, 0, item.nLine,
           parts.bComments ? strMenu + (item.bPopup ? ", popup" : ", item " + Numbered(item.strSymbol, item.nID))
                           : std::string()});
    if (item.bPopup) MenuShape(item, strKey, strMenu, parts, shape);
  }
}

void DialogShape(const XResource& res, XShapeParts parts, XShape& shape) {
  const XDialog& dialog = res.dialog;
  const std::string strDialog = parts.bComments ? "dialog " + NameText(res.name) : std::string();
  if (dialog.bCaption)
    shape.vecSlots.push_back({"caption", dialog.strCaption, 0, dialog.nCaptionLine,
                              parts.bComments ? strDialog + ", caption" : std::string()});
  std::map<int, int> mapCounts;
  if (parts.bPairs)
    for (const XDlgControl& control : dialog.vecControls) ++mapCounts[control.nID];
  int nWithout = 0;
  for (const XDlgControl& control : dialog.vecControls) {
    std::string strKey;
    if (parts.bPairs) {
      // Controls pair by identifier where it is unique, the others by position among themselves.
      const bool bByID = control.nID != -1 && mapCounts[control.nID] == 1;
      strKey = bByID ? "control " + std::to_string(control.nID)
                     : "control without identifier #" + std::to_string(++nWithout);
      shape.vecStructure.push_back(strKey + " (" + ClassText(control.cls) + ")");
    }
    if (control.ShowsText())
      shape.vecSlots.push_back({strKey, control.title.strText, 0, control.nLine,
                                parts.bComments
                                    ? strDialog + ", " +
                                          (control.nID == -1 ? "control without identifier"
                                                             : "control " + Numbered(control.strSymbol, control.nID))
                                    : std::string()});
  }
  std::sort(shape.vecStructure.begin(), shape.vecStructure.end());
}

XShape ShapeOf(const XResource& res, XShapeParts parts) {
  XShape shape;
  if (res.nType == eResMenu) {
    MenuShape(res.menu, "", parts.bComments ? "menu " + NameText(res.name) : std::string(), parts, shape);
  } else if (res.nType == eResDialog) {
    DialogShape(res, parts, shape);
  } else {
    for (const XResString& str : res.vecStrings)
      shape.vecSlots.push_back({parts.bPairs ? "string " + std::to_string(str.nID) : std::string(), str.strText,
                                str.nID, str.nLine,
                                parts.bComments ? "string " + Numbered(str.strSymbol, str.nID) : std::string()});
  }
  return shape;
}

// The first element of one structure that the other lacks, described.
std::string StructureDifference(const std::vector<std::string>& vecSrc, const std::vector<std::string>& vecDst,
                                const std::string& strDst) {
  const std::set<std::string> setSrc(vecSrc.begin(), vecSrc.end()), setDst(vecDst.begin(), vecDst.end());
  for (const std::string& strElement : vecSrc)
    if (setDst.count(strElement) == 0) return strElement + " is not in " + strDst;
  for (const std::string& strElement : vecDst)
    if (setSrc.count(strElement) == 0) return strDst + " has " + strElement + " in addition";
  return "the same elements in another order";
}

std::string RefOf(const XResFile& file, const XResource& res, const XSlot& slot) {
  if (!res.strFile.empty()) return res.strFile + ":" + std::to_string(slot.nLine);
  static const std::map<unsigned, const char*> kTypes = {
      {eResMenu, "MENU"}, {eResDialog, "DIALOG"}, {eResString, "STRINGTABLE"}};
  const std::string strID = res.nType == eResString ? std::to_string(slot.nStringID) : res.name.Display();
  return file.strPath + ":" + kTypes.at(res.nType) + ":" + strID;
}

std::string WhereOf(const XResource& res, const XSlot& slot) {
  return res.nType == eResString ? "string " + std::to_string(slot.nStringID) : res.Display();
}

// What a program shows of a text: up to its first NUL.
XStringView Shown(XStringView text) { return text.substr(0, text.find(XChar(0))); }

bool IsBlank(XStringView text) { return text.find_first_not_of(XT(" \t")) == XStringView::npos; }

// Whether every UTF-16 surrogate has its partner, so that the text can be
// written to a UTF-8 file and read back the same.
bool SurrogatesPaired(XStringView text) {
  std::string strUtf8;
  return colang::detail::Utf8TextEncode(text, strUtf8);
}

std::string BaseName(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of("/\\");
  return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

std::string Title(unsigned nLang) {
  const std::string strName = LanguageName(static_cast<int>(nLang));
  return strName.empty() ? "Language " + LangIDText(nLang) : strName;
}

}  // namespace

bool ResourcesRead(const std::string& strPath, const XRcOptions& options, XDiag& diag, XResFile& out) {
  XFileBytes file = FileBytesRead(strPath);
  if (!file.strError.empty()) {
    diag.Error(strPath, 0, file.strError);
    return false;
  }
  return ResourcesParse(strPath, file.strBytes, options, diag, out);
}

bool ResourcesParse(const std::string& strPath, std::string_view bytes, const XRcOptions& options, XDiag& diag,
                    XResFile& out) {
  out.strPath = strPath;
  if (!LooksLikePe(bytes) && !LooksLikeRes(bytes)) return RcRead(strPath, bytes, options, diag, out);
  std::string strError;
  if (LooksLikePe(bytes) ? PeRead(bytes, out, strError) : ResRead(bytes, out, strError)) return true;
  diag.Error(strPath, 0, strError);
  return false;
}

void XExtractor::Add(unsigned nID, XStringView source, XStringView transl, size_t nFile, const XResFile& file,
                     const XResource& res, const XSlot& slot) {
  const size_t nIndex = nID != 0 ? m_mapIDs.emplace(nID, m_vecCollected.size()).first->second
                                 : m_mapTexts.emplace(XString(source), m_vecCollected.size()).first->second;
  if (nIndex == m_vecCollected.size()) {
    XCollected collected;
    collected.entry.nID = nID;
    collected.entry.strSource = nID != 0 ? TextFromUtf8("#" + std::to_string(nID)) : XString(source);
    collected.nFile = nFile;
    m_vecCollected.push_back(std::move(collected));
  }
  XCollected& collected = m_vecCollected[nIndex];
  // A text used in many places gets each reference and comment once; the
  // set keeps that linear in the number of places.
  auto addOnce = [&](std::vector<std::string>& vec, char cKind, const std::string& str) {
    if (m_setSites.insert(std::to_string(nIndex) + cKind + str).second) vec.push_back(str);
  };
  if (m_bSites) {
    addOnce(collected.entry.vecRefs, 'r', RefOf(file, res, slot));
    addOnce(collected.entry.vecComments, 'c', slot.strComment);
  }
  auto candidate = std::find_if(collected.vecCandidates.begin(), collected.vecCandidates.end(),
                                [&](const XCandidate& c) { return c.strTransl == transl; });
  if (candidate == collected.vecCandidates.end()) {
    // Past a few, further translations are only counted.
    if (collected.vecCandidates.size() == kMaxCandidates) {
      ++collected.nMoreCandidates;
      return;
    }
    candidate = collected.vecCandidates.insert(candidate, {XString(transl), 0, {}, false});
  }
  ++candidate->nPlaces;
  // The first three places are named.
  const auto where = std::make_pair(nFile, WhereOf(res, slot));
  if (std::find(candidate->vecWhere.begin(), candidate->vecWhere.end(), where) == candidate->vecWhere.end()) {
    if (candidate->vecWhere.size() < 3)
      candidate->vecWhere.push_back(where);
    else
      candidate->bMoreWhere = true;
  }
}

void XExtractor::SlotAdd(size_t nFile, const XResFile& file, const XResource& res, const XSlot& slot,
                         XStringView source, XStringView transl) {
  auto leftOut = [&](const std::string& strWhy) {
    m_diag.Warning(file.strPath, 0, Quoted(source) + " (" + WhereOf(res, slot) + ") " + strWhy + "; left out");
  };
  if (!SurrogatesPaired(source) || !SurrogatesPaired(transl))
    return leftOut("holds a UTF-16 surrogate without its partner, which a catalog cannot hold");
  const bool bString = res.nType == eResString;
  if (bString && m_eStrings != XStringsAs::eTexts) {
    if (slot.nStringID != 0)
      Add(slot.nStringID, XStringView(), transl, nFile, file, res, slot);
    else
      leftOut("is string 0, which a catalog cannot name (#0 is read as a text)");
  }
  if (bString && m_eStrings == XStringsAs::eIds) return;
  if (colang::detail::IDFromLine(source) != 0) return leftOut("would be read as a resource identifier in a catalog");
  Add(0, source, transl, nFile, file, res, slot);
}

void XExtractor::TextsAdd(const XResFile& file, unsigned nLang) {
  m_vecFiles.push_back(file.strPath);
  for (const XResource* pRes : ResourcesForLanguage(file, nLang)) {
    for (const XSlot& slot : ShapeOf(*pRes, {false, m_bSites}).vecSlots) {
      const XStringView text = Shown(slot.text);
      if (!IsBlank(text)) SlotAdd(m_vecFiles.size() - 1, file, *pRes, slot, text, text);
    }
  }
}

void XExtractor::PairsAdd(const XResFile& file, unsigned nSrc, unsigned nDst) {
  const std::string strSrc = LangIDText(nSrc), strDst = LangIDText(nDst);
  m_vecFiles.push_back(file.strPath);
  std::vector<unsigned> vecMissingStrings;
  for (const XResource* pSrc : ResourcesForLanguage(file, nSrc)) {
    const XResource* pDst = ResourceFind(file, pSrc->nType, pSrc->name, nDst);
    const XShape src = ShapeOf(*pSrc, {true, m_bSites});
    if (pDst == pSrc) pDst = nullptr;  // only a version both languages fall back to
    if (pDst == nullptr) {
      if (pSrc->nType == eResString)
        for (const XSlot& slot : src.vecSlots) vecMissingStrings.push_back(slot.nStringID);
      else
        m_diag.Warning(file.strPath, 0, pSrc->Display() + " has no " + strDst + " version; skipped");
      continue;
    }
    const XShape dst = ShapeOf(*pDst, {true, false});
    if (src.vecStructure != dst.vecStructure) {
      m_diag.Warning(file.strPath, 0,
                     pSrc->Display() + " differs between " + strSrc + " and " + strDst + " (" +
                         StructureDifference(src.vecStructure, dst.vecStructure, strDst) + "); skipped");
      continue;
    }
    std::map<std::string, const XSlot*> mapDst;
    for (const XSlot& slot : dst.vecSlots) mapDst[slot.strKey] = &slot;
    for (const XSlot& slot : src.vecSlots) {
      const XStringView source = Shown(slot.text);
      if (IsBlank(source)) continue;
      auto it = mapDst.find(slot.strKey);
      if (it == mapDst.end() || Shown(it->second->text).empty()) {
        if (pSrc->nType == eResString)
          vecMissingStrings.push_back(slot.nStringID);
        else
          m_diag.Warning(
              file.strPath, 0,
              Quoted(source) + " (" + pSrc->Display() + ", " + slot.strKey + ") has no " + strDst + " text; left out");
        continue;
      }
      SlotAdd(m_vecFiles.size() - 1, file, *pSrc, slot, source, Shown(it->second->text));
    }
  }
  if (!vecMissingStrings.empty()) {
    std::string strList;
    for (size_t i = 0; i < vecMissingStrings.size() && i < 5; ++i)
      strList += (i > 0 ? ", " : "") + std::to_string(vecMissingStrings[i]);
    if (vecMissingStrings.size() > 5) strList += ", ...";
    m_diag.Warning(
        file.strPath, 0,
        std::to_string(vecMissingStrings.size()) +
            (vecMissingStrings.size() == 1 ? " string of " + strSrc + " has" : " strings of " + strSrc + " have") +
            " no " + strDst + " text (" + strList + "); left out");
  }
}

std::vector<XExtractEntry> XExtractor::Entries() {
  std::vector<XExtractEntry> vecEntries;
  vecEntries.reserve(m_vecCollected.size());
  for (XCollected& collected : m_vecCollected) {
    const std::vector<XCandidate>& candidates = collected.vecCandidates;
    size_t nKept = 0;
    for (size_t i = 1; i < candidates.size(); ++i)
      if (candidates[i].nPlaces > candidates[nKept].nPlaces) nKept = i;
    XExtractEntry& entry = collected.entry;
    entry.strTransl = candidates[nKept].strTransl;
    if (candidates.size() > 1) {
      // With several inputs, each place names its input.
      auto places = [&](const XCandidate& candidate) {
        std::string strPlaces;
        for (size_t i = 0; i < candidate.vecWhere.size(); ++i)
          strPlaces +=
              (i > 0 ? ", " : "") +
              (m_vecFiles.size() > 1 ? BaseName(m_vecFiles[candidate.vecWhere[i].first]) + " " : std::string()) +
              candidate.vecWhere[i].second;
        if (candidate.bMoreWhere) strPlaces += ", ...";
        return strPlaces;
      };
      std::string strList;
      for (size_t i = 0; i < candidates.size(); ++i) {
        strList += (i > 0 ? ", " : "") + Quoted(candidates[i].strTransl) + " (" + places(candidates[i]) + ")";
        if (i != nKept)
          entry.vecComments.push_back("also translated as " + Quoted(candidates[i].strTransl, 200) + " (" +
                                      places(candidates[i]) + ")");
      }
      if (collected.nMoreCandidates > 0) strList += " and " + std::to_string(collected.nMoreCandidates) + " more";
      m_diag.Warning(m_vecFiles[collected.nFile], 0,
                     Quoted(entry.strSource) + " has " + std::to_string(candidates.size() + collected.nMoreCandidates) +
                         " translations: " + strList + "; keeping " + Quoted(entry.strTransl));
    }
    vecEntries.push_back(std::move(entry));
  }
  return vecEntries;
}

std::vector<XString> ExtractCatalog(const std::vector<XExtractEntry>& vecEntries, unsigned nTarget) {
  std::vector<XCatEntry> vecCat;
  vecCat.reserve(vecEntries.size());
  for (const XExtractEntry& entry : vecEntries) {
    XCatEntry cat;
    cat.nID = entry.nID;
    cat.strSource = entry.strSource;
    cat.strTransl = entry.strTransl;
    vecCat.push_back(std::move(cat));
  }
  return CatalogLines(TextFromUtf8(LangIDText(nTarget)), TextFromUtf8(Title(nTarget)), vecCat);
}

std::string ExtractPo(const std::vector<XExtractEntry>& vecEntries, bool bTemplate, unsigned nTarget,
                      const std::string& strProject) {
  std::string out = "# " + std::string(bTemplate ? "Texts" : "Translations") + " of " + strProject +
                    ", extracted from its resources by rlgtool.\n";
  if (bTemplate) {
    // The placeholders msginit fills in; it dates the PO file after the template.
    out += colang::detail::PoHeaderEntry("Project-Id-Version: " + strProject + "\n" +
                                         "POT-Creation-Date: " + RevisionDate() +
                                         "\n"
                                         "PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\n"
                                         "Last-Translator: FULL NAME <EMAIL@ADDRESS>\n"
                                         "Language-Team: LANGUAGE <LL@li.org>\n"
                                         "Language: \n"
                                         "MIME-Version: 1.0\n"
                                         "Content-Type: text/plain; charset=UTF-8\n"
                                         "Content-Transfer-Encoding: 8bit\n");
  } else {
    XCatHeader header;
    header.strLanguageLine = TextFromUtf8(LangIDText(nTarget));
    header.strTitle = TextFromUtf8(Title(nTarget));
    out += PoHeaderText(header, static_cast<int>(nTarget), strProject, RevisionDate());
  }
  for (const XExtractEntry& entry : vecEntries) {
    XPoOut po;
    po.nID = entry.nID;
    if (bTemplate && entry.nID != 0) po.vecComments.push_back("#. " + Quoted(entry.strTransl, 200));
    for (const std::string& strComment : entry.vecComments)
      if (entry.nID == 0 || strComment != "string " + std::to_string(entry.nID))
        po.vecComments.push_back("#. " + strComment);
    std::string strRefs;
    for (const std::string& strRef : entry.vecRefs) {
      if (!strRefs.empty() && strRefs.size() + strRef.size() > 76) {
        po.vecComments.push_back("#:" + strRefs);
        strRefs.clear();
      }
      strRefs += " " + strRef;
    }
    if (!strRefs.empty()) po.vecComments.push_back("#:" + strRefs);
    po.strSource = entry.strSource;
    if (!bTemplate) po.strTransl = entry.strTransl;
    out += PoEntryText(po);
  }
  return out;
}

std::string ExtractList(const XResFile& file) {
  struct XCounts {
    int nMenus = 0, nDialogs = 0, nStrings = 0, nTexts = 0, nOther = 0;
  };
  std::map<unsigned, XCounts> mapLangs;
  for (const XResource& res : file.vecResources) {
    XCounts& counts = mapLangs[res.nLang];
    if (res.nType == eResMenu) ++counts.nMenus;
    if (res.nType == eResDialog) ++counts.nDialogs;
    if (res.nType == eResString) counts.nStrings += static_cast<int>(res.vecStrings.size());
    counts.nTexts += static_cast<int>(ShapeOf(res, {}).vecSlots.size());
  }
  for (const auto& [nLang, nCount] : file.mapOther) mapLangs[nLang].nOther += nCount;
  std::string out = file.strPath + ": " + file.strKind + ", " + std::to_string(mapLangs.size()) + " language" +
                    (mapLangs.size() == 1 ? "" : "s") + "\n";
  char sz[160];
  std::snprintf(sz, sizeof sz, "  %-8s %6s %8s %8s %7s %6s\n", "language", "menus", "dialogs", "strings", "texts",
                "other");
  out += sz;
  for (const auto& [nLang, counts] : mapLangs) {
    const std::string strName = nLang == 0 ? "neutral" : LanguageName(static_cast<int>(nLang));
    std::snprintf(sz, sizeof sz, "  %-8s %6d %8d %8d %7d %6d  %s\n", LangIDText(nLang).c_str(), counts.nMenus,
                  counts.nDialogs, counts.nStrings, counts.nTexts, counts.nOther, strName.c_str());
    out += sz;
  }
  return out;
}

}  // namespace rlgtool
