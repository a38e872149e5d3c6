// The current module context and the library's own.
#include "colang/detail/ModuleContext.h"

#include "colang/detail/Globals.h"

namespace colang::detail {

XModuleContext& ModuleContextLibrary() { return g_moduleState; }

XModuleContext* ModuleContextCurrent() { return g_pModuleContextCurrent; }

XModuleContext* ModuleContextSwitch(XModuleContext* pContext) {
  XModuleContext* pPrevious = g_pModuleContextCurrent;
  g_pModuleContextCurrent = pContext;
  return pPrevious;
}

}  // namespace colang::detail
