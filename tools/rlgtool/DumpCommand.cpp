// rlgtool dump: what the library loads from a catalog; rlgtool stats: counts.
#include <cstdio>
#include <map>

#include "Commands.h"
#include "Patterns.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"

namespace rlgtool {

namespace {

std::string Shown(XStringView text) { return Quoted(text, 1000); }

int WordCount(XStringView text) {
  int n = 0;
  bool bInWord = false;
  for (XChar c : text) {
    bool bSpace = c == XChar(' ') || c == XChar('\t') || c == XChar('\n') || c == XChar('\r');
    if (!bSpace && !bInWord) ++n;
    bInWord = !bSpace;
  }
  return n;
}

struct XCounts {
  int nEntries = 0, nTexts = 0, nIDs = 0, nPatterns = 0, nEmpty = 0, nWords = 0;
  void Add(const XCounts& other) {
    nEntries += other.nEntries, nTexts += other.nTexts, nIDs += other.nIDs;
    nPatterns += other.nPatterns, nEmpty += other.nEmpty, nWords += other.nWords;
  }
};

XCounts CatalogCount(const XCatalog& cat) {
  XCounts counts;
  std::map<XString, XString> mapTexts;
  std::map<unsigned, XString> mapIDs;
  XTextPairs vecTexts;
  for (const XCatEntry& entry : cat.vecEntries) {
    ++counts.nEntries;
    if (entry.strTransl.empty()) ++counts.nEmpty;
    if (entry.nID != 0) {
      mapIDs[entry.nID] = entry.strTransl;
    } else {
      mapTexts[entry.strSource] = entry.strTransl;
      vecTexts.emplace_back(entry.strSource, entry.strTransl);
    }
  }
  counts.nTexts = static_cast<int>(mapTexts.size());
  counts.nIDs = static_cast<int>(mapIDs.size());
  for (const auto& text : mapTexts) counts.nWords += WordCount(text.first);
  for (const XPatternInfo& pattern : PatternsCollect(vecTexts))
    if (pattern.strShadowedBy.empty()) ++counts.nPatterns;
  return counts;
}

void CountsPrint(const std::string& strName, const std::string& strLang, const XCounts& c) {
  std::printf("%-24s %-8s %8d %8d %11d %8d %6d %8d\n", strName.c_str(), strLang.c_str(), c.nEntries, c.nTexts, c.nIDs,
              c.nPatterns, c.nEmpty, c.nWords);
}

}  // namespace

int DumpCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {}, {});
  if (!args.Error().empty()) return UsageError("dump", args.Error(), global);
  if (args.Operands().size() != 1) return UsageError("dump", "expected one catalog", global);
  XDiag diag(stderr, global.bColor, false);
  const std::string& strPath = args.Operands()[0];
  XLMTranslDict dict;
  int nLoad = DictLoad(strPath, diag, dict);
  if (nLoad != eExitOk) return nLoad;

  const auto& mapTexts = XLMTranslDictAccess::TranslMap(dict);
  const auto& mapIDs = XLMTranslDictAccess::IdMap(dict);
  std::printf("catalog      %s\n", strPath.c_str());
  std::printf("language     0x%04x\n", static_cast<unsigned>(dict.LangID()));
  for (const XString& strFile : dict.RLGFilesLoaded()) std::printf("read from    %s\n", Utf8FromText(strFile).c_str());
  std::printf("\ntexts (%zu)\n", mapTexts.size());
  for (const auto& [strSource, strTransl] : mapTexts)
    std::printf("  %s -> %s\n", Shown(strSource).c_str(), Shown(strTransl).c_str());
  std::printf("\nidentifiers (%zu)\n", mapIDs.size());
  for (const auto& [nID, strTransl] : mapIDs) std::printf("  #%u -> %s\n", nID, Shown(strTransl).c_str());
  std::vector<XPatternInfo> vecPatterns = PatternsCollect(mapTexts);
  std::printf("\npatterns (%zu)\n", vecPatterns.size());
  for (const XPatternInfo& pattern : vecPatterns) {
    std::printf("  %s -> %s", Shown(pattern.strSource).c_str(), Shown(pattern.strTransl).c_str());
    if (!pattern.strShadowedBy.empty())
      std::printf("   (never used: %s matches the same texts)", Shown(pattern.strShadowedBy).c_str());
    std::printf("\n");
  }
  return eExitOk;
}

int StatsCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {}, {});
  if (!args.Error().empty()) return UsageError("stats", args.Error(), global);
  if (args.Operands().empty()) return UsageError("stats", "no catalog given", global);
  XDiag diag(stderr, global.bColor, false);
  std::printf("%-24s %-8s %8s %8s %11s %8s %6s %8s\n", "catalog", "language", "entries", "texts", "identifiers",
              "patterns", "empty", "words");
  XCounts total;
  bool bUnreadable = false;
  for (const std::string& strPath : args.Operands()) {
    XCatalog cat;
    if (!CatalogLoad(strPath, diag, cat)) {
      bUnreadable = true;
      continue;
    }
    XCounts counts = CatalogCount(cat);
    total.Add(counts);
    char szLang[16] = "?";
    if (cat.nHexConsumed == 4) std::snprintf(szLang, sizeof szLang, "0x%04x", static_cast<unsigned>(cat.nLangIDHeader));
    size_t nSlash = strPath.find_last_of("/\\");
    CountsPrint(nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1), szLang, counts);
  }
  if (args.Operands().size() > 1) CountsPrint("total", "", total);
  return bUnreadable ? eExitUsage : eExitOk;
}

}  // namespace rlgtool
