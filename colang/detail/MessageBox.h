// The library's modal message box, routed through the host's hook when one is set.
#pragma once

#include "colang/XString.h"

namespace colang::detail {

// Shows pszText with the given box type and help context; returns the button
// pressed. Without a hook, the box is the host application's: owned by the
// calling thread's active window (if any) and titled with the host's name.
int MessageBoxShow(const XChar* pszText, unsigned nType, unsigned nHelpContext);

}  // namespace colang::detail
