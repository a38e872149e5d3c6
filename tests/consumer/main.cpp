// An outside program built against the installed package: it must compile
// with the public headers alone, load a catalog (argv[1]) and translate
// through the library's exported members.
#include <cstdio>
#include <string>

#include "colang/Hooks.h"
#include "colang/LMTranslDict.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: consumer <catalog.rlg>\n", stderr);
    return 2;
  }
  // The path as UTF-16, through the same code page conversion the library uses.
  int n = MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, nullptr, 0);
  if (n <= 0) return 1;
  XString strPath(static_cast<size_t>(n), XChar(0));
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, strPath.data(), n);

  XLMTranslDict dict(strPath.c_str());
  if (!dict.IsValid() || dict.LangID() != 0x407) return 1;
  const XChar* pszOpen = dict.StringTranslate(XT("&Open...\tCtrl+O"));
  if (XString(pszOpen) != XT("\u00D6&ffnen...\tStrg+O")) return 1;
  if (XString(dict.StringRetranslate(pszOpen)) != XT("&Open...\tCtrl+O")) return 1;
  // A text without an entry comes back as it was passed.
  const XChar* pszUnknown = XT("No such text");
  if (dict.StringTranslate(pszUnknown) != pszUnknown) return 1;
  TraceSinkSet(nullptr);
  std::puts("consumer: ok");
  return 0;
}
