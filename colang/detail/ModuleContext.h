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

// The library's own context.
XModuleContext& ModuleContextLibrary();

// The context in effect now; null before anyone set one.
XModuleContext* ModuleContextCurrent();

// Makes pContext current and returns the one it replaced.
XModuleContext* ModuleContextSwitch(XModuleContext* pContext);

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
