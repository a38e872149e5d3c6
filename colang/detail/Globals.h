// The library's process-wide objects. They are all defined in Globals.cpp, in
// their order of creation at load; unload destroys them in reverse. Objects
// made at first use (pattern translator, result pool, the kept text of
// XToken::PartKindString) are function-local statics of their own files.
#pragma once

#include <deque>
#include <memory>

#include "colang/Hooks.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/UntranslatedLog.h"

namespace colang::detail {

// Created at load, in this order, after the library's module context
// (ModuleContext.h).
extern XLMTranslDict g_dictDefault;
// A deque: appending never moves the dictionaries already held.
extern std::deque<XLMTranslDict> g_listDict;
extern XString g_strTracePendingFile;
// Null unless the untranslated-text log runs; made by CoUntranslatedLogStart.
extern std::unique_ptr<XUntranslatedLog> g_ptrUntranslatedLog;

// Plain globals with fixed start values.
extern int g_nTracePendingLine;               // -1: no location pending
extern const XLMTranslDict* g_pDictWindow;    // dictionary of the running child enumeration
extern bool g_bPatternOverflowDue;            // the pattern map overflow message may still show
extern XTraceSink g_pfnTraceSink;             // nullptr: the default destination
extern XMessageBoxHook g_pfnMessageBoxHook;   // nullptr: the default message box
extern const XChar* g_pszUntranslatedOrigin;  // where the text now looked up comes from
extern bool g_bCompileAlways;                 // every catalog read cleanly is compiled (rlgtool compile)

}  // namespace colang::detail
