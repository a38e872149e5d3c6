// The Windows resource loader's view of a program, for the tests that hold
// extraction against it: the program loaded as a data file, and its strings,
// menus and dialogs as LoadStringW, LoadMenuW and CreateDialogParamW give
// them in a chosen thread language. The emulation has no resource loader;
// there nothing loads, and LoaderMissing says why.
#pragma once

#include <string>

#include "Resources.h"
#include "colang/XString.h"
#include "colang/platform/Win32.h"

namespace rlgtool::test {

// Empty where the system loads resources, else the reason tests skip.
std::string LoaderMissing();

class XLoadedProgram {
 public:
  explicit XLoadedProgram(const std::string& strPath);
  ~XLoadedProgram();
  XLoadedProgram(const XLoadedProgram&) = delete;
  XLoadedProgram& operator=(const XLoadedProgram&) = delete;

  bool Loaded() const { return m_pModule != nullptr; }
  // Each call sets the thread's language to nLang and restores it after.
  // False, or null, when the loader finds nothing; the caller destroys the
  // menu or window it gets.
  bool String(unsigned nLang, unsigned nID, XString& strText) const;
  HMENU Menu(unsigned nLang, const XResName& name) const;
  HWND Dialog(unsigned nLang, const XResName& name) const;

 private:
  void* m_pModule = nullptr;
};

}  // namespace rlgtool::test
