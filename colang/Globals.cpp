// Every process-wide object of the library, defined in one place so that their
// order of construction at load (and of destruction at unload, reversed) is
// the order written here.
#include "colang/detail/Globals.h"

namespace colang::detail {

XModuleContext g_moduleState{"QVLang32"};
XLMTranslDict g_dictDefault;
std::deque<XLMTranslDict> g_listDict;
XString g_strTracePendingFile;

int g_nTracePendingLine = -1;
const XLMTranslDict* g_pDictWindow = nullptr;
bool g_bPatternOverflowDue = true;
XModuleContext* g_pModuleContextCurrent = nullptr;
XTraceSink g_pfnTraceSink = nullptr;
XMessageBoxHook g_pfnMessageBoxHook = nullptr;
const XChar* g_pszUntranslatedOrigin = nullptr;
bool g_bCompileAlways = false;

}  // namespace colang::detail

// The class-wide search path belongs to the dictionary class but is created
// after the trace's pending file name.
XString XLMTranslDict::m_strRLGPath;

// Made last and so destroyed first: a log still running at unload is written
// while everything else still exists.
std::unique_ptr<colang::detail::XUntranslatedLog> colang::detail::g_ptrUntranslatedLog;
