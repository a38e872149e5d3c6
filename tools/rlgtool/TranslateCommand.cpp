// rlgtool translate: texts through a catalog as the library translates them,
// pattern translation included.
#include <cstdio>
#include <iostream>

#include "Commands.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/DictText.h"

namespace rlgtool {

namespace {

// "1001", "0x3E9", "#1001" or "#0x3E9"; 0 for anything else.
unsigned IdentifierParse(const std::string& strText) {
  std::string s = !strText.empty() && strText[0] == '#' ? strText : "#" + strText;
  return colang::detail::IDFromLine(TextFromUtf8(s));
}

}  // namespace

int TranslateCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {"--retranslate", "--id"}, {});
  if (!args.Error().empty()) return UsageError("translate", args.Error(), global);
  if (args.Operands().empty()) return UsageError("translate", "no catalog given", global);
  bool bRetranslate = args.Has("--retranslate"), bID = args.Has("--id");
  if (bRetranslate && bID) return UsageError("translate", "--id and --retranslate exclude each other", global);

  std::vector<XString> vecTexts;
  std::vector<std::string> vecRaw;
  for (size_t i = 1; i < args.Operands().size(); ++i) {
    vecRaw.push_back(args.Operands()[i]);
    vecTexts.push_back(XFromNative(args.Operands()[i]));
  }
  if (args.Operands().size() == 1) {
    std::string strLine;
    while (std::getline(std::cin, strLine)) {
      if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
      vecRaw.push_back(strLine);
      vecTexts.push_back(TextFromUtf8(strLine));
    }
  }
  std::vector<unsigned> vecIDs;
  if (bID) {
    for (const std::string& strRaw : vecRaw) {
      vecIDs.push_back(IdentifierParse(strRaw));
      if (vecIDs.back() == 0)
        return UsageError("translate", "\"" + strRaw + "\" is not a resource identifier (like 1001 or 0x3E9)", global);
    }
  }

  XDiag diag(stderr, global.bColor, false);
  const std::string& strPath = args.Operands()[0];
  XLMTranslDict dict;
  int nLoad = DictLoad(strPath, diag, dict);
  if (nLoad != eExitOk) return nLoad;

  int nMisses = 0;
  for (size_t i = 0; i < vecTexts.size(); ++i) {
    // Texts are written as in a catalog line, so "\t" is a tab.
    XString strText = LineUnescape(vecTexts[i]);
    const XChar* pszResult = bID            ? dict.CheckTranslate(vecIDs[i])
                             : bRetranslate ? dict.CheckRetranslate(strText.c_str())
                                            : dict.CheckTranslate(strText.c_str());
    if (pszResult == nullptr) {
      ++nMisses;
      diag.Warning("", 0,
                   "no " + std::string(bRetranslate ? "retranslation" : "translation") + " for " +
                       (bID ? "identifier " + std::to_string(vecIDs[i]) : Quoted(strText, 200)));
    }
    std::string strOut = pszResult != nullptr ? Utf8FromText(colang::detail::StringEscape(pszResult)) : vecRaw[i];
    std::printf("%s\n", strOut.c_str());
  }
  std::fflush(stdout);
  return nMisses > 0 ? eExitProblems : eExitOk;
}

}  // namespace rlgtool
