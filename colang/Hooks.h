// Destinations a host may redirect: where diagnostic trace lines go and who
// answers the library's modal message boxes. Both hooks are process-wide and
// are called synchronously on the calling thread.
#pragma once

#include "colang/XString.h"
#include "colang/platform/Export.h"

// Receives each composed trace line once, before the reporting call returns.
using XTraceSink = void (*)(const XChar* pszLine);

// Sets the trace destination; nullptr restores the default (OutputDebugStringW;
// on Linux standard error when COLANG_TRACE=1). Returns the previous sink, or
// nullptr when the default was in effect.
COLANG_API XTraceSink TraceSinkSet(XTraceSink pfnSink);

// Receives every message box the library would show; its result is the
// button pressed (IDOK and the like).
using XMessageBoxHook = int (*)(const XChar* pszText, unsigned nType, unsigned nHelpContext);

// Sets the message box destination; nullptr restores the default: on Windows
// a modal box owned by the calling thread's active window and titled with the
// host program's file name without extension; on Linux a line on standard
// error, that title in brackets first. Returns the previous hook, or nullptr
// when the default was in effect.
COLANG_API XMessageBoxHook MessageBoxHookSet(XMessageBoxHook pfnHook);
