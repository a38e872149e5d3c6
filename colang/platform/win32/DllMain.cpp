// The DLL's entry point. The C runtime has constructed the library's static
// objects (Globals.cpp) before the attach reaches here, and destroys them after
// the detach has returned, so the module is initialised last and shut down first.
#include "colang/detail/ModuleContext.h"
#include "colang/platform/Win32.h"

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*pReserved*/) {
  switch (dwReason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(hInstance);
      return colang::detail::ModuleInitialize(hInstance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      colang::detail::ModuleTerminate();
      break;
    default:
      break;
  }
  return TRUE;
}
