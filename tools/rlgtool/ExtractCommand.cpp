// rlgtool extract: a catalog or PO template from a program's own resources.
#include <cstdio>

#include "Commands.h"
#include "Extract.h"
#include "Po.h"

namespace rlgtool {

namespace {

bool EndsWith(const std::string& s, const char* pszEnd) {
  const std::string strEnd(pszEnd);
  if (s.size() < strEnd.size()) return false;
  for (size_t i = 0; i < strEnd.size(); ++i) {
    char c = s[s.size() - strEnd.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != strEnd[i]) return false;
  }
  return true;
}

std::string Stem(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of("/\\");
  std::string strName = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
  const size_t nDot = strName.rfind('.');
  if (nDot != std::string::npos && nDot > 0) strName.erase(nDot);
  return strName;
}

// Takes "--pair SRC DST" out of the arguments (before a "--"); false when it
// is there without its two values.
bool PairTake(std::vector<std::string>& vecArgs, std::vector<std::string>& vecPair) {
  for (size_t i = 0; i < vecArgs.size() && vecArgs[i] != "--"; ++i) {
    if (vecArgs[i] != "--pair") continue;
    if (i + 2 >= vecArgs.size()) return false;
    vecPair.assign(vecArgs.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                   vecArgs.begin() + static_cast<std::ptrdiff_t>(i) + 3);
    vecArgs.erase(vecArgs.begin() + static_cast<std::ptrdiff_t>(i),
                  vecArgs.begin() + static_cast<std::ptrdiff_t>(i) + 3);
    return true;
  }
  return true;
}

}  // namespace

int ExtractCommand(const std::vector<std::string>& vecArgsIn, const XGlobal& global) {
  const char* const pszCommand = "extract";
  std::vector<std::string> vecArgs = vecArgsIn, vecPair;
  if (!PairTake(vecArgs, vecPair)) return UsageError(pszCommand, "--pair needs two languages, SRC and DST", global);
  XArgs args(vecArgs, {"--list"}, {"-o", "--output", "--lang", "--target", "--strings", "-I", "--include"});
  if (!args.Error().empty()) return UsageError(pszCommand, args.Error(), global);
  if (args.Operands().empty()) return UsageError(pszCommand, "no input file given", global);
  const bool bList = args.Has("--list"), bPair = !vecPair.empty();
  const std::string strOut = args.Value("-o", args.Value("--output"));

  auto langOption = [&](const std::string& strText, const char* pszWhat, int& nLang) {
    return LangIDArgument(pszCommand, strText, nLang, global, pszWhat, 0xFFFF);
  };
  int nLang = 0x0409, nSrc = 0, nDst = 0, nTarget = 0;
  if (args.Has("--lang") && !langOption(args.Value("--lang"), "--lang", nLang)) return eExitUsage;
  if (args.Has("--target") && !langOption(args.Value("--target"), "--target", nTarget)) return eExitUsage;
  if (bPair && (!langOption(vecPair[0], "--pair SRC", nSrc) || !langOption(vecPair[1], "--pair DST", nDst)))
    return eExitUsage;
  if (bPair && args.Has("--lang"))
    return UsageError(pszCommand, "--pair names both languages; leave out --lang", global);
  if (bPair && nTarget != 0 && nTarget != nDst)
    return UsageError(pszCommand, "--target differs from the DST language of --pair", global);
  XStringsAs eStrings = XStringsAs::eIds;
  const std::string strStrings = args.Value("--strings", "ids");
  if (strStrings == "texts")
    eStrings = XStringsAs::eTexts;
  else if (strStrings == "both")
    eStrings = XStringsAs::eBoth;
  else if (strStrings != "ids")
    return UsageError(pszCommand, "--strings takes ids, texts or both", global);
  const bool bCatalog = EndsWith(strOut, ".rlg"), bPo = EndsWith(strOut, ".pot") || EndsWith(strOut, ".po");
  if (!bList && strOut.empty())
    return UsageError(pszCommand, "no output file given (-o OUT.rlg or -o OUT.pot)", global);
  if (!bList && !bCatalog && !bPo)
    return UsageError(pszCommand, "the output file must end in .rlg (a catalog), .pot or .po", global);

  XRcOptions options;
  options.vecIncludeDirs = args.Values("-I");
  for (const std::string& strDir : args.Values("--include")) options.vecIncludeDirs.push_back(strDir);
  XDiag diag(stderr, global.bColor, false);
  std::vector<XResFile> vecFiles(args.Operands().size());
  bool bRead = true;
  for (size_t i = 0; i < vecFiles.size(); ++i)
    bRead = ResourcesRead(args.Operands()[i], options, diag, vecFiles[i]) && bRead;
  if (!bRead) return eExitUsage;

  if (bList) {
    for (const XResFile& file : vecFiles) std::fputs(ExtractList(file).c_str(), stdout);
    return eExitOk;
  }

  XExtractor extractor(eStrings, bPo, diag);
  for (const XResFile& file : vecFiles) {
    const unsigned nFrom = static_cast<unsigned>(bPair ? nSrc : nLang);
    if (file.vecResources.empty())
      diag.Warning(file.strPath, 0, "holds no menus, dialogs or string tables");
    else if (ResourcesForLanguage(file, nFrom).empty())
      diag.Warning(file.strPath, 0,
                   "holds no resources in language " + LangIDText(nFrom) +
                       " (nor in its neutral or default sublanguage); rlgtool extract --list shows its languages");
    if (bPair)
      extractor.PairsAdd(file, static_cast<unsigned>(nSrc), static_cast<unsigned>(nDst));
    else
      extractor.TextsAdd(file, static_cast<unsigned>(nLang));
  }
  const std::vector<XExtractEntry> vecEntries = extractor.Entries();

  if (bCatalog) {
    if (nTarget == 0) nTarget = bPair ? nDst : LangIDFromPath(strOut);
    if (nTarget == 0) nTarget = nLang;
    const int nExit = CatalogOutput(strOut, ExtractCatalog(vecEntries, static_cast<unsigned>(nTarget)),
                                    XEncoding::eEncUtf8, true, diag);
    if (nExit != eExitOk) return nExit;
  } else if (!OutputWrite(
                 strOut,
                 ExtractPo(vecEntries, !bPair, static_cast<unsigned>(bPair ? nDst : nTarget), Stem(args.Operands()[0])),
                 diag)) {
    return eExitUsage;
  }
  size_t nIDs = 0;
  for (const XExtractEntry& entry : vecEntries) nIDs += entry.nID != 0 ? 1 : 0;
  diag.Note(
      strOut, 0,
      "wrote " + std::to_string(vecEntries.size() - nIDs) + " texts and " + std::to_string(nIDs) + " identifiers");
  return eExitOk;
}

}  // namespace rlgtool
