// rlgtool compile: writes the compiled catalog beside each catalog, which the
// library then maps instead of reading the catalog, as long as the catalog
// stays as it was.
#include <algorithm>
#include <cstdio>

#include "Commands.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/Compiled.h"
#include "colang/detail/Globals.h"
#include "colang/platform/File.h"
#include "colang/platform/FileMap.h"

namespace rlgtool {

int CompileCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {}, {});
  if (!args.Error().empty()) return UsageError("compile", args.Error(), global);
  if (args.Operands().empty()) return UsageError("compile", "no catalog given", global);
  XDiag diag(stderr, global.bColor, false);
  // The library compiles every catalog it reads to the end.
  colang::detail::g_bCompileAlways = true;
  int nExit = eExitOk;
  for (const std::string& strPath : args.Operands()) {
    XLMTranslDict dict;
    const int nLoad = DictLoad(strPath, diag, dict);
    if (nLoad != eExitOk) {
      nExit = std::max(nExit, nLoad);
      continue;
    }
    // The compiled catalog is there when it matches the catalog as it is now.
    const XString& strLoaded = dict.RLGFilesLoaded().back();
    const colang::platform::XFileHandle hFile = colang::platform::FileOpenRead(strLoaded.c_str(), 0);
    colang::platform::XFileStamp stamp;
    const bool bStamp = colang::platform::FileStampGet(hFile, stamp);
    colang::platform::FileClose(hFile);
    const XString strCompiled = colang::detail::XCompiled::NameOf(strLoaded);
    if (!bStamp || colang::detail::XCompiled::Open(strCompiled.c_str(), stamp, dict.LangID()) == nullptr) {
      diag.Error(strPath, 0,
                 "not compiled: the catalog could not be read to its end, changed while it was read, or " +
                     Utf8FromText(strCompiled) + " could not be written");
      nExit = std::max<int>(nExit, eExitProblems);
      continue;
    }
    std::printf("%s\n", Utf8FromText(strCompiled).c_str());
  }
  return nExit;
}

}  // namespace rlgtool
