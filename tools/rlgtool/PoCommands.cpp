// rlgtool export-po and import-po, and the catalog output they share with merge and pseudo.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "Commands.h"
#include "Po.h"

namespace rlgtool {

std::string RevisionDate() {
  std::time_t t = std::time(nullptr);
  if (const char* pszEpoch = std::getenv("SOURCE_DATE_EPOCH")) t = static_cast<std::time_t>(std::atoll(pszEpoch));
  std::tm* pTm = std::gmtime(&t);
  char sz[64] = "1970-01-01 00:00+0000";
  if (pTm != nullptr) std::strftime(sz, sizeof sz, "%Y-%m-%d %H:%M+0000", pTm);
  return sz;
}

int CatalogOutput(const std::string& strOut, const std::vector<XString>& vecLines, XEncoding eEncoding, bool bCRLF,
                  XDiag& diag) {
  if (!strOut.empty() && strOut != "-") {
    unsigned nLineLang = 0;
    HexScan(nLineLang, vecLines[0]);
    if (LangIDFromPath(strOut) != static_cast<int>(nLineLang))
      diag.Warning(strOut, 0,
                   "the file name does not carry the catalog's language " + Utf8FromText(vecLines[0].substr(0, 4)) +
                       "; the library refuses it (see rlgtool name)");
  }
  int nUnmappable = 0;
  std::string strCatalog = TextEncode(vecLines, eEncoding, bCRLF, &nUnmappable);
  if (nUnmappable > 0) {
    diag.Warning(strOut, 0,
                 std::to_string(nUnmappable) + " characters are not in Windows-1252; writing the catalog as UTF-8");
    strCatalog = TextEncode(vecLines, XEncoding::eEncUtf8, bCRLF);
  }
  return OutputWrite(strOut, strCatalog, diag) ? eExitOk : eExitUsage;
}

int ExportPoCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {}, {"-o", "--output"});
  if (!args.Error().empty()) return UsageError("export-po", args.Error(), global);
  if (args.Operands().size() != 1) return UsageError("export-po", "expected one catalog", global);
  const std::string& strPath = args.Operands()[0];
  std::string strOut = args.Value("-o", args.Value("--output"));

  XDiag diag(stderr, global.bColor, false);
  XCatalog cat;
  if (!CatalogLoad(strPath, diag, cat)) return eExitUsage;
  if (!cat.HasHeader()) {
    diag.Error(strPath, 0, "no catalog header (language line and title line); nothing exported");
    return eExitProblems;
  }
  if (!cat.text.vecProblems.empty()) {
    diag.Error(strPath, cat.text.vecProblems.front().nLine,
               cat.text.vecProblems.front().strText + "; rlgtool check lists the lines to fix before exporting");
    return eExitProblems;
  }
  std::string strPo = PoFromCatalog(cat, strPath, RevisionDate(), diag);
  if (!OutputWrite(strOut, strPo, diag)) return eExitUsage;
  return eExitOk;
}

int ImportPoCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {}, {"-o", "--output", "--lang", "--plural"});
  if (!args.Error().empty()) return UsageError("import-po", args.Error(), global);
  std::string strPlural = args.Value("--plural", "skip");
  if (strPlural != "skip" && strPlural != "first")
    return UsageError("import-po", "--plural takes skip or first, not \"" + strPlural + "\"", global);
  if (args.Operands().size() != 1) return UsageError("import-po", "expected one PO file", global);
  int nLangID = 0;
  std::string strLang = args.Value("--lang");
  if (args.Has("--lang") && !LangIDArgument("import-po", strLang, nLangID, global)) return eExitUsage;
  const std::string& strPath = args.Operands()[0];
  std::string strOut = args.Value("-o", args.Value("--output"));

  XDiag diag(stderr, global.bColor, false);
  std::vector<XPoEntry> vecEntries;
  int nRead = PoFileRead(strPath, diag, vecEntries);
  if (nRead != eExitOk) return nRead;

  XPoImport result;
  if (!CatalogFromPo(vecEntries, nLangID, strPlural == "first", strPath, diag, result))
    return args.Has("--lang") ? eExitProblems : eExitUsage;
  int nWritten = CatalogOutput(strOut, result.vecLines, result.eEncoding, result.bCRLF, diag);
  if (nWritten != eExitOk) return nWritten;
  std::string strSummary = "imported " + std::to_string(result.nEntries) + " entries";
  if (result.nContextDropped > 0)
    strSummary += " (" + std::to_string(result.nContextDropped) + " without their msgctxt)";
  if (result.nUntranslated + result.nFuzzy > 0)
    strSummary += "; left out " + std::to_string(result.nUntranslated) + " untranslated and " +
                  std::to_string(result.nFuzzy) + " fuzzy";
  diag.Note(strPath, 0, strSummary);
  return diag.ErrorCount() > 0 ? eExitProblems : eExitOk;
}

}  // namespace rlgtool
