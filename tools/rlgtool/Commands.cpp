// What the subcommands share: loading catalogs and reporting usage errors.
#include "Commands.h"

#include <cstdio>
#include <filesystem>

#include "colang/Hooks.h"
#include "colang/LMTranslDict.h"

namespace rlgtool {

namespace {

std::vector<XString>& TraceLines() {
  static std::vector<XString> s_vecLines;
  return s_vecLines;
}

void TraceCollect(const XChar* pszLine) {
  if (pszLine != nullptr) TraceLines().emplace_back(pszLine);
}

}  // namespace

int UsageError(const std::string& strCommand, const std::string& strText, const XGlobal& global) {
  XDiag diag(stderr, global.bColor, false);
  diag.Error("", 0,
             (strCommand.empty() ? "" : strCommand + ": ") + strText + " (see rlgtool " +
                 (strCommand.empty() ? "" : strCommand + " ") + "--help)");
  return eExitUsage;
}

bool LangIDArgument(const std::string& strCommand, const std::string& strText, int& nLangID, const XGlobal& global,
                    const std::string& strWhat, int nMax) {
  int nValue = 0;
  if (LangIDParse(strText, nValue) && nValue <= nMax) {
    nLangID = nValue;
    return true;
  }
  UsageError(strCommand,
             "\"" + strText + "\" is not a language identifier in hex, like 0407" +
                 (strWhat.empty() ? "" : " (" + strWhat + ")"),
             global);
  return false;
}

bool CatalogLoad(const std::string& strPath, XDiag& diag, XCatalog& cat) {
  XFileBytes file = FileBytesRead(strPath);
  if (!file.strError.empty()) {
    diag.Error(strPath, 0, file.strError);
    return false;
  }
  XDecodedText text = TextDecode(file.strBytes);
  if (text.nNulLine != 0) {
    diag.Error(strPath, text.nNulLine,
               "binary file (NUL character), not a catalog; UTF-16 catalogs need a byte order mark");
    return false;
  }
  cat = CatalogParse(strPath, std::move(text));
  return true;
}

int DictLoad(const std::string& strPath, XDiag& diag, XLMTranslDict& dict) {
  XCatalog cat;
  if (!CatalogLoad(strPath, diag, cat)) return eExitUsage;
  // An absolute name keeps the library from searching its path for the file.
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(strPath, ec);
  XString strName = XFromNative(ec ? strPath : absolute.string());
  TraceLines().clear();
  XTraceSink pfnPrevious = TraceSinkSet(TraceCollect);
  bool bRead = dict.RLGFileRead(strName.c_str(), false);
  TraceSinkSet(pfnPrevious);
  if (bRead) return eExitOk;
  diag.Error(strPath, 0, "the library does not load this catalog; rlgtool check " + strPath + " shows why");
  for (const XString& line : TraceLines()) {
    std::string strLine = Utf8FromText(line);
    while (!strLine.empty() && (strLine.back() == '\n' || strLine.back() == '\r')) strLine.pop_back();
    diag.Note(strPath, 0, "library trace: " + strLine);
  }
  return eExitProblems;
}

bool OutputWrite(const std::string& strOut, const std::string& strBytes, XDiag& diag) {
  if (strOut.empty() || strOut == "-") {
    if (std::fwrite(strBytes.data(), 1, strBytes.size(), stdout) != strBytes.size() || std::fflush(stdout) != 0) {
      diag.Error("", 0, "cannot write to standard output");
      return false;
    }
    return true;
  }
  std::string strError;
  if (!FileBytesWrite(strOut, strBytes, strError)) {
    diag.Error(strOut, 0, strError);
    return false;
  }
  return true;
}

}  // namespace rlgtool
