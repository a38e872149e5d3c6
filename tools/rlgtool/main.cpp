// rlgtool: checks, inspects, translates with and converts catalog (RLG) files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

using rlgtool::XGlobal;

struct XCommand {
  const char* pszName;
  int (*pfnRun)(const std::vector<std::string>&, const XGlobal&);
  const char* pszSummary;
  const char* pszHelp;
};

const XCommand kCommands[] = {
    {"check", rlgtool::CheckCommand, "report problems in catalogs, like a compiler",
     "usage: rlgtool check [--strict] FILE...\n"
     "\n"
     "Reports each problem as FILE:LINE: error|warning: TEXT on standard error,\n"
     "then a summary line. Errors: an invalid header or a language that does not\n"
     "match the file name, invalid encoding, format specifiers (%d, %s, ...) that\n"
     "differ between source and translation in number, order or type (a source is\n"
     "a format when it holds a % and is a valid one; %2$s takes argument 2),\n"
     "identifier lines with value 0, a source line left without translation at\n"
     "the end. Warnings: repeated sources, translations shared by several sources,\n"
     "empty translations, unknown escapes and trailing backslashes, lines that look\n"
     "like resource identifiers but are read as texts, patterns that are never\n"
     "used, numbered specifiers (Windows takes them only in its _p functions).\n"
     "\n"
     "  --strict   report warnings as errors\n"
     "\n"
     "Exit status: 0 no errors, 1 errors found, 2 a file could not be read.\n"},
    {"translate", rlgtool::TranslateCommand, "translate texts through a catalog, as the library does",
     "usage: rlgtool translate FILE [--retranslate | --id] [TEXT...]\n"
     "\n"
     "Loads FILE through the library and prints the translation of each TEXT (or\n"
     "of each line of standard input) on a line of its own, pattern translation\n"
     "included (\"Page 3 of 10\" through \"Page %d of %d\"). Texts are written as in\n"
     "a catalog line (\\t is a tab, \\n a line feed), and so are the results. A text\n"
     "without translation is printed unchanged and reported on standard error.\n"
     "\n"
     "  --retranslate   from translation back to source text\n"
     "  --id            TEXTs are resource identifiers (1001, 0x3E9, #1001)\n"
     "\n"
     "Exit status: 0 all translated, 1 some not, 2 usage error or unreadable file.\n"},
    {"dump", rlgtool::DumpCommand, "show what the library loads from a catalog",
     "usage: rlgtool dump FILE\n"
     "\n"
     "Loads FILE through the library and prints its language, its text entries\n"
     "and identifier entries in the library's order (the later of two equal\n"
     "sources wins), and the patterns that pattern translation takes from it.\n"},
    {"stats", rlgtool::StatsCommand, "count entries, identifiers, patterns and words",
     "usage: rlgtool stats FILE...\n"
     "\n"
     "Prints a table: entries (pairs of lines), distinct texts and identifiers,\n"
     "patterns, empty translations, and words in the source texts.\n"},
    {"export-po", rlgtool::ExportPoCommand, "write a catalog as a gettext PO file",
     "usage: rlgtool export-po FILE.rlg [-o OUT.po]\n"
     "\n"
     "Writes the catalog as PO (to standard output unless -o names a file), so it\n"
     "can be edited in PO editors and on translation platforms; import-po turns it\n"
     "back into the same catalog. A repeated source is exported once, with the\n"
     "translation the library keeps; an empty translation becomes untranslated.\n"
     "Set SOURCE_DATE_EPOCH for a fixed PO-Revision-Date.\n"},
    {"import-po", rlgtool::ImportPoCommand, "make a catalog from a gettext PO file",
     "usage: rlgtool import-po FILE.po [--lang LANGID] [-o OUT.rlg]\n"
     "\n"
     "Writes a catalog (to standard output unless -o names a file) with the\n"
     "translated entries of FILE.po, read in the charset its header names.\n"
     "Untranslated and fuzzy entries are left out, since an empty translation would\n"
     "blank the text. Catalogs have no context: of entries that differ only by\n"
     "msgctxt the first is kept, and the others are reported. Format specifiers are\n"
     "checked where the c-format flag or the source text says so. LANGID (hex, like\n"
     "0407) may be left out when the header names the language.\n"
     "\n"
     "  --plural=skip|first   skip plural entries (default), or import msgstr[0]\n"
     "                        as the translation of the singular text\n"},
    {"merge", rlgtool::MergeCommand, "carry a catalog's translations to a new template",
     "usage: rlgtool merge OLD TEMPLATE [-o NEW] [--keep-obsolete] [--fuzzy-report FILE]\n"
     "                     [--lang LANGID]\n"
     "\n"
     "OLD is a catalog or PO file, TEMPLATE a catalog skeleton, a PO template or\n"
     "an untranslated-text log; NEW is written as PO when its name ends in .po or\n"
     ".pot, else as a catalog. Texts still in the template keep their translation,\n"
     "identifiers by identifier; new texts are untranslated (in a catalog they\n"
     "translate to themselves). A text that changed only in its mnemonic &, a\n"
     "trailing ... or :, white space at the ends or the accelerator after \\t gets\n"
     "the old translation adapted, marked fuzzy in PO. Texts gone from the template\n"
     "become #~ entries in PO and are dropped from a catalog.\n"
     "\n"
     "  --keep-obsolete       keep the gone entries at the end of a catalog\n"
     "  --fuzzy-report FILE   list the adapted translations (a catalog has no flags)\n"
     "  --lang LANGID         the language of an OLD PO file that names none\n"},
    {"pseudo", rlgtool::PseudoCommand, "make a pseudo-locale catalog",
     "usage: rlgtool pseudo IN [-o OUT] [--expand PERCENT] [--lang LANGID]\n"
     "\n"
     "Translates every text of IN (a catalog, skeleton or PO file) into its\n"
     "look-alike with accented letters between markers, lengthened by PERCENT\n"
     "(default 40), so that untranslated texts and cut-off controls show without a\n"
     "translator: \"&Open...\\tCtrl+O\" becomes \"[&Oρéñ...··]\\tCtrl+O\". Mnemonic\n"
     "letters, accelerators, format specifiers and numbers stay usable. Identifier\n"
     "entries take their translation. LANGID defaults to 0501, the pseudo-locale\n"
     "identifier Windows reserves; OUT is PO when it ends in .po.\n"},
    {"extract", rlgtool::ExtractCommand, "make a catalog from a program's resources (.exe, .dll, .res, .rc)",
     "usage: rlgtool extract [--lang LANGID] [--target LANGID] [--strings=ids|texts|both]\n"
     "                       [-I DIR]... INPUT... -o OUT.rlg|OUT.pot\n"
     "       rlgtool extract --pair SRC DST [--strings=...] [-I DIR]... INPUT... -o OUT.rlg|OUT.po\n"
     "       rlgtool extract --list INPUT...\n"
     "\n"
     "Reads the menus, dialogs and string tables of programs and libraries (32-bit\n"
     "and 64-bit PE files), compiled resource files (.res) and resource scripts\n"
     "(.rc) and writes their texts, as the program shows them, to OUT: a catalog\n"
     "in which each text translates to itself (.rlg), or a PO template (.pot)\n"
     "whose references and comments say where each text is used. String-table\n"
     "entries become identifier entries (#1234).\n"
     "\n"
     "With --pair, a program that holds its texts in two languages gives a finished\n"
     "catalog from SRC texts to DST texts: menu items are paired by position,\n"
     "dialog controls by identifier, strings by identifier. A resource whose\n"
     "structure differs between the languages is reported and skipped; a text with\n"
     "several translations is reported with the one kept.\n"
     "\n"
     "  --lang LANGID      the resource language to read (default 0409); a resource\n"
     "                     without it is taken in the neutral, then the default\n"
     "                     sublanguage of the same language, as Windows does\n"
     "  --target LANGID    the language of the catalog's header (default: from the\n"
     "                     output file name, else --lang)\n"
     "  --strings=WHAT     string-table entries as ids (#1234), texts, or both\n"
     "  -I DIR             where a script's #include files are looked for\n"
     "  --list             print the resource languages and counts of each INPUT\n"
     "\n"
     "Exit status: 0 written, 2 usage error or an input that cannot be read.\n"},
    {"name", rlgtool::NameCommand, "print the file name of a catalog",
     "usage: rlgtool name DIR PREFIX LANGID\n"
     "\n"
     "Prints the name the library builds for the catalog of language LANGID (hex)\n"
     "with name PREFIX in DIR: DIR\\PREFIX0407.rlg. The library takes both \\ and /\n"
     "as directory separators.\n"},
    {"compile", rlgtool::CompileCommand, "write the compiled form the library maps instead of a catalog",
     "usage: rlgtool compile FILE...\n"
     "\n"
     "Reads each FILE through the library and writes beside it FILEc, which later\n"
     "loads map into memory instead of reading FILE: the entries in the form the\n"
     "lookups use, shared by every process that loads it. The library uses FILEc\n"
     "only while FILE keeps the size and modification time it had, and writes it\n"
     "anew when it reads FILE again; a catalog it cannot read to its end is not\n"
     "compiled. Prints the name of each file written.\n"},
};

const char* const kVersion = "rlgtool " COLANG_VERSION "\n";

void MainHelpPrint() {
  std::printf(
      "usage: rlgtool [--color=auto|always|never] COMMAND [ARGS...]\n"
      "       rlgtool --help | --version | help COMMAND\n"
      "\n"
      "Checks, inspects and converts the catalog (RLG) files of the translation library.\n"
      "\n"
      "commands:\n");
  for (const XCommand& command : kCommands) std::printf("  %-10s %s\n", command.pszName, command.pszSummary);
  std::printf(
      "\n"
      "Messages go to standard error as FILE:LINE: error|warning: TEXT, colored when\n"
      "standard error is a terminal and NO_COLOR is not set. Exit status: 0 fine,\n"
      "1 problems found, 2 usage or input/output error.\n");
}

const XCommand* CommandFind(const std::string& strName) {
  for (const XCommand& command : kCommands)
    if (strName == command.pszName) return &command;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> vecArgs(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  XGlobal global;
  std::string strColor = "auto";
  size_t i = 0;
  for (; i < vecArgs.size() && vecArgs[i].compare(0, 1, "-") == 0; ++i) {
    const std::string& arg = vecArgs[i];
    if (arg == "--help" || arg == "-h") {
      MainHelpPrint();
      return rlgtool::eExitOk;
    }
    if (arg == "--version") {
      std::fputs(kVersion, stdout);
      return rlgtool::eExitOk;
    }
    if (arg.compare(0, 8, "--color=") == 0 &&
        (arg.substr(8) == "auto" || arg.substr(8) == "always" || arg.substr(8) == "never")) {
      strColor = arg.substr(8);
      continue;
    }
    global.bColor = rlgtool::ColorWanted(strColor);
    return rlgtool::UsageError("", "unknown option \"" + arg + "\"", global);
  }
  global.bColor = rlgtool::ColorWanted(strColor);
  if (i == vecArgs.size()) return rlgtool::UsageError("", "no command given", global);

  std::string strName = vecArgs[i];
  std::vector<std::string> vecRest(vecArgs.begin() + static_cast<std::ptrdiff_t>(i) + 1, vecArgs.end());
  if (strName == "help") {
    if (vecRest.empty()) {
      MainHelpPrint();
      return rlgtool::eExitOk;
    }
    strName = vecRest[0];
    vecRest = {"--help"};
  }
  const XCommand* pCommand = CommandFind(strName);
  if (pCommand == nullptr) return rlgtool::UsageError("", "unknown command \"" + strName + "\"", global);
  for (const std::string& arg : vecRest) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      std::fputs(pCommand->pszHelp, stdout);
      return rlgtool::eExitOk;
    }
  }
  return pCommand->pfnRun(vecRest, global);
}
