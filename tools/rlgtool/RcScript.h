// Reading resource scripts (.rc): the preprocessor subset that scripts use
// (#include, #define and #undef of object-like macros, #if, #ifdef, #ifndef,
// #elif, #else, #endif, line continuations, comments) and the statements
// that hold texts (MENU, MENUEX, DIALOG, DIALOGEX, STRINGTABLE, LANGUAGE).
// Every other resource statement is skipped. The SDK headers (windows.h, winres.h, ...)
// are not read; the identifiers scripts take from them (IDOK, IDC_STATIC,
// LANG_*, SUBLANG_*, SS_*, MFT_*) are known.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Diag.h"
#include "Resources.h"

namespace rlgtool {

struct XRcOptions {
  // Where #include looks after the including file's directory.
  std::vector<std::string> vecIncludeDirs;
  // Reads an included file into strBytes; false when there is none. Null reads from disk.
  std::function<bool(const std::string& strPath, std::string& strBytes)> fnLoad;
};

// Parses the script (its bytes, named strPath) into out. Scripts are read
// as UTF-16 with a byte order mark, as UTF-8, or as Windows-1252 when they
// are not UTF-8. Resources without a LANGUAGE statement are in 0409, as the
// resource compilers take them. Errors go to diag as "file:line: error: ..."
// and give false.
bool RcRead(const std::string& strPath, std::string_view bytes, const XRcOptions& options, XDiag& diag, XResFile& out);

}  // namespace rlgtool
