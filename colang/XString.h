// Text types of the library: all text is UTF-16. XChar is one code unit,
// XString an owned string, XStringView a non-owning view, XT("...") a literal.
#pragma once

#include <string>
#include <string_view>

#include "colang/platform/Char.h"

using XString = std::basic_string<XChar>;
using XStringView = std::basic_string_view<XChar>;

#define XT(s) COLANG_XT(s)
