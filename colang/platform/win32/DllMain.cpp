// The DLL's entry point. The C runtime has constructed the library's static
// objects (Globals.cpp) before this runs and destroys them after it returns
// from DLL_PROCESS_DETACH.
#include "colang/platform/Win32.h"

BOOL WINAPI DllMain(HINSTANCE /*hInstance*/, DWORD dwReason, LPVOID /*pReserved*/) {
  switch (dwReason) {
    case DLL_PROCESS_ATTACH:
    case DLL_PROCESS_DETACH:
    case DLL_THREAD_ATTACH:
    case DLL_THREAD_DETACH:
      break;
  }
  return TRUE;
}
