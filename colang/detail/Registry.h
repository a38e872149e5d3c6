// The dictionary registry's choice of a dictionary by selector.
#pragma once

#include "colang/LMTranslDict.h"

namespace colang::detail {

// The default dictionary for a null or empty selector or one naming a file it
// has loaded; else the first list dictionary that has loaded it; else null.
// Each dictionary completes the selector in its own context, and one that
// cannot complete it reports that to the trace.
XLMTranslDict* LangDictSearch(const XChar* pszSelector);

}  // namespace colang::detail
