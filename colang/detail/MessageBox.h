// The library's modal message box, routed through the host's hook when one is set.
#pragma once

#include "colang/XString.h"

namespace colang::detail {

// Shows pszText with the given box type and help context; returns the button pressed.
int MessageBoxShow(const XChar* pszText, unsigned nType, unsigned nHelpContext);

}  // namespace colang::detail
