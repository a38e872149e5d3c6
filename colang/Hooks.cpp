// The two host-settable destinations and the message box that uses one of them.
#include "colang/Hooks.h"

#include "colang/detail/Globals.h"
#include "colang/detail/MessageBox.h"
#include "colang/platform/Win32.h"

XTraceSink TraceSinkSet(XTraceSink pfnSink) {
  XTraceSink pfnPrevious = colang::detail::g_pfnTraceSink;
  colang::detail::g_pfnTraceSink = pfnSink;
  return pfnPrevious;
}

XMessageBoxHook MessageBoxHookSet(XMessageBoxHook pfnHook) {
  XMessageBoxHook pfnPrevious = colang::detail::g_pfnMessageBoxHook;
  colang::detail::g_pfnMessageBoxHook = pfnHook;
  return pfnPrevious;
}

namespace colang::detail {

int MessageBoxShow(const XChar* pszText, unsigned nType, unsigned nHelpContext) {
  if (g_pfnMessageBoxHook != nullptr) return g_pfnMessageBoxHook(pszText, nType, nHelpContext);
  return MessageBoxW(nullptr, pszText, nullptr, nType);
}

}  // namespace colang::detail
