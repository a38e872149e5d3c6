// rlgtool check: reports every problem of the catalogs, compiler style.
#include "Check.h"
#include "Commands.h"

namespace rlgtool {

int CheckCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {"--strict"}, {});
  if (!args.Error().empty()) return UsageError("check", args.Error(), global);
  if (args.Operands().empty()) return UsageError("check", "no catalog given", global);

  XDiag diag(stderr, global.bColor, args.Has("--strict"));
  size_t nUnreadable = 0;
  for (const std::string& strPath : args.Operands()) {
    XCatalog cat;
    if (!CatalogLoad(strPath, diag, cat)) {
      ++nUnreadable;
      continue;
    }
    CatalogCheck(cat, strPath, diag);
  }
  // A file that could not be read has had its one message; the summary is for what was checked.
  size_t nChecked = args.Operands().size() - nUnreadable;
  if (nChecked > 0) {
    std::string strSummary = diag.SummaryText();
    if (diag.ErrorCount() == 0 && diag.WarningCount() == 0)
      strSummary += " in " + std::to_string(nChecked) + (nChecked == 1 ? " catalog" : " catalogs");
    std::fprintf(stderr, "%s\n", strSummary.c_str());
  }
  if (nUnreadable > 0) return eExitUsage;
  return diag.ErrorCount() > 0 ? eExitProblems : eExitOk;
}

}  // namespace rlgtool
