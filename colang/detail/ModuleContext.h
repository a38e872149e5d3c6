// The current module context: which module's resources are in effect while
// library code runs inside the host's process. Every working member of the
// dictionary makes the library's own context current for the length of the
// call and gives the caller's back on every way out, exceptions included.
#pragma once

namespace colang::detail {

// One module's context. The library has exactly one (created first at load);
// hosts and tests may make their own to stand for the caller's.
struct XModuleContext {
  const char* pszModuleName;
  void* hModule = nullptr;    // the module's instance handle, once known
  bool bInitialized = false;  // set by ModuleInitialize, cleared by ModuleTerminate
};

// Defined with the other process-wide objects (Globals.cpp): the library's
// own context, and the one in effect now. Every lookup switches contexts
// twice, so switching is inline.
extern XModuleContext g_moduleState;
extern XModuleContext* g_pModuleContextCurrent;

// The library's own context.
inline XModuleContext& ModuleContextLibrary() { return g_moduleState; }

// The context in effect now; null before anyone set one.
inline XModuleContext* ModuleContextCurrent() { return g_pModuleContextCurrent; }

// Makes pContext current and returns the one it replaced.
inline XModuleContext* ModuleContextSwitch(XModuleContext* pContext) {
  XModuleContext* pPrevious = g_pModuleContextCurrent;
  g_pModuleContextCurrent = pContext;
  return pPrevious;
}

// Initialises the library's module after its static objects have been made:
// records its instance handle and marks its context ready. False fails the
// load (on Windows DllMain refuses the attach).
bool ModuleInitialize(void* hModule);

// Shuts the module down before its static objects are destroyed.
void ModuleTerminate();

// Makes the library's context current for the guard's lifetime.
class XModuleContextGuard {
 public:
  XModuleContextGuard() : m_pSaved(ModuleContextSwitch(&ModuleContextLibrary())) {}
  ~XModuleContextGuard() { ModuleContextSwitch(m_pSaved); }
  XModuleContextGuard(const XModuleContextGuard&) = delete;
  XModuleContextGuard& operator=(const XModuleContextGuard&) = delete;

 private:
  XModuleContext* m_pSaved;
};

}  // namespace colang::detail
