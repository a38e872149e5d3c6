// The two host-settable destinations.
#include "colang/Hooks.h"

#include "colang/detail/Globals.h"

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
