// The shared library's load and unload on Linux. This object is constructed
// after the library's static objects (this file links after Globals.cpp) and
// so destroyed before them. A shared object cannot refuse dlopen from here: a
// failed initialisation is written to standard error and the module's context
// stays marked as not initialised.
#include <cstdio>

#include "colang/detail/ModuleContext.h"

namespace {

struct XModuleMain {
  XModuleMain() {
    if (!colang::detail::ModuleInitialize(this)) std::fputs("QVLang32: module initialisation failed\n", stderr);
  }
  ~XModuleMain() { colang::detail::ModuleTerminate(); }
};

XModuleMain g_moduleMain;

}  // namespace
