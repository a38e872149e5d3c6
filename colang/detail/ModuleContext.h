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
};

// The library's own context.
XModuleContext& ModuleContextLibrary();

// The context in effect now; null before anyone set one.
XModuleContext* ModuleContextCurrent();

// Makes pContext current and returns the one it replaced.
XModuleContext* ModuleContextSwitch(XModuleContext* pContext);

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
