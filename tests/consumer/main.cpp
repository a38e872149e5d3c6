// An outside program built against the installed package: it must compile
// with the public headers alone and reach the library's exported members.
#include <cstdio>

#include "colang/Hooks.h"
#include "colang/LMTranslDict.h"

int main() {
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  const XChar* pszText = XT("Open");
  // No entries: the text comes back as it was passed, and the dictionary says
  // which language it holds.
  if (dict.StringTranslate(pszText) != pszText || dict.LangID() != 0x407 || !dict.IsValid()) return 1;
  TraceSinkSet(nullptr);
  std::puts("consumer: ok");
  return 0;
}
