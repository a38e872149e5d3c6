// Initialising and shutting down the library's module.
#include "colang/detail/ModuleContext.h"

#include "colang/detail/Globals.h"

namespace colang::detail {

bool ModuleInitialize(void* hModule) {
  // The objects made at load must still be in their load state; anything else
  // means the module's memory was already in use and it must not run.
  if (g_moduleState.bInitialized || g_dictDefault.IsValid() || !g_listDict.empty()) return false;
  g_moduleState.hModule = hModule;
  g_moduleState.bInitialized = true;
  return true;
}

void ModuleTerminate() {
  if (g_pModuleContextCurrent == &g_moduleState) g_pModuleContextCurrent = nullptr;
  g_moduleState.bInitialized = false;
  g_moduleState.hModule = nullptr;
}

}  // namespace colang::detail
