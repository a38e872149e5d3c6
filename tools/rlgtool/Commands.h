// The subcommands of rlgtool, each in a file of its own, and what they share:
// loading a catalog with precise messages, and usage errors.
#pragma once

#include <string>
#include <vector>

#include "Args.h"
#include "Catalog.h"
#include "Diag.h"

class XLMTranslDict;

namespace rlgtool {

// Settings every subcommand gets from the command line before its own arguments.
struct XGlobal {
  bool bColor = false;
};

int CheckCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int TranslateCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int DumpCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int StatsCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int ExportPoCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int ImportPoCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int NameCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int MergeCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int PseudoCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int ExtractCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);
int CompileCommand(const std::vector<std::string>& vecArgs, const XGlobal& global);

// Prints "rlgtool: error: COMMAND: TEXT (see rlgtool COMMAND --help)" and gives eExitUsage.
int UsageError(const std::string& strCommand, const std::string& strText, const XGlobal& global);

// Reads a language identifier argument (see LangIDParse) of at most nMax; a
// bad one is reported as a usage error that names the argument (strWhat,
// when given) and gives false.
bool LangIDArgument(const std::string& strCommand, const std::string& strText, int& nLangID, const XGlobal& global,
                    const std::string& strWhat = "", int nMax = 0x7fffffff);

// Reads and splits a catalog. A file that cannot be read, or that is not a
// text file, is reported to diag and gives false (exit status 2).
bool CatalogLoad(const std::string& strPath, XDiag& diag, XCatalog& cat);

// Loads the catalog into dict through the library. An unreadable file gives
// eExitUsage, a catalog the library refuses eExitProblems (with the
// library's trace lines as notes), success eExitOk.
int DictLoad(const std::string& strPath, XDiag& diag, XLMTranslDict& dict);

// Writes to the file named by -o, or to standard output when strOut is empty.
// Write failures are reported to diag and give false.
bool OutputWrite(const std::string& strOut, const std::string& strBytes, XDiag& diag);

}  // namespace rlgtool
