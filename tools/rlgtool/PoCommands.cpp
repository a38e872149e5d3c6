// rlgtool export-po and import-po.
#include <cstdio>

#include "Commands.h"
#include "Po.h"

namespace rlgtool {

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
  XArgs args(vecArgs, {}, {"-o", "--output", "--lang"});
  if (!args.Error().empty()) return UsageError("import-po", args.Error(), global);
  if (args.Operands().size() != 1) return UsageError("import-po", "expected one PO file", global);
  int nLangID = 0;
  std::string strLang = args.Value("--lang");
  if (args.Has("--lang") && !LangIDParse(strLang, nLangID))
    return UsageError("import-po", "\"" + strLang + "\" is not a language identifier in hex, like 0407", global);
  const std::string& strPath = args.Operands()[0];
  std::string strOut = args.Value("-o", args.Value("--output"));

  XDiag diag(stderr, global.bColor, false);
  XFileBytes file = FileBytesRead(strPath);
  if (!file.strError.empty()) {
    diag.Error(strPath, 0, file.strError);
    return eExitUsage;
  }
  XDecodedText text = TextDecode(file.strBytes, false);
  if (text.nNulLine != 0 || text.eEncoding == XEncoding::eEncUtf16LE || text.eEncoding == XEncoding::eEncUtf16BE) {
    diag.Error(strPath, text.nNulLine, "binary file, not a PO file");
    return eExitUsage;
  }
  for (const XDecodeProblem& problem : text.vecProblems)
    diag.Error(strPath, problem.nLine, problem.strText + "; PO files are read as UTF-8 (msgconv --to-code=UTF-8)");
  std::vector<XPoEntry> vecEntries;
  bool bParsed = PoParse(file.strBytes, strPath, diag, vecEntries);
  if (!bParsed || diag.ErrorCount() > 0) return eExitProblems;

  XPoImport result;
  if (!CatalogFromPo(vecEntries, nLangID, strPath, diag, result))
    return args.Has("--lang") ? eExitProblems : eExitUsage;
  if (!strOut.empty() && strOut != "-") {
    unsigned nLineLang = 0;
    HexScan(nLineLang, result.vecLines[0]);
    int nNameLang = LangIDFromPath(strOut);
    if (nNameLang != static_cast<int>(nLineLang))
      diag.Warning(strOut, 0,
                   "the file name does not carry the catalog's language " + Utf8FromX(result.vecLines[0].substr(0, 4)) +
                       "; the library refuses it (see rlgtool name)");
  }
  int nUnmappable = 0;
  std::string strCatalog = TextEncode(result.vecLines, result.eEncoding, result.bCRLF, &nUnmappable);
  if (nUnmappable > 0) {
    diag.Warning(strPath, 0,
                 std::to_string(nUnmappable) + " characters are not in Windows-1252; writing the catalog as UTF-8");
    strCatalog = TextEncode(result.vecLines, XEncoding::eEncUtf8, result.bCRLF);
  }
  if (!OutputWrite(strOut, strCatalog, diag)) return eExitUsage;
  std::string strSummary = "imported " + std::to_string(result.nEntries) + " entries";
  if (result.nUntranslated + result.nFuzzy > 0)
    strSummary += "; left out " + std::to_string(result.nUntranslated) + " untranslated and " +
                  std::to_string(result.nFuzzy) + " fuzzy";
  diag.Note(strPath, 0, strSummary);
  return eExitOk;
}

}  // namespace rlgtool
