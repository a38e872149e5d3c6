// UTF-8 <-> UTF-16 for the emulation's calls into POSIX, which takes and
// gives file names and environment strings as UTF-8 bytes.
#pragma once

#include <string>
#include <string_view>

#include "colang/XString.h"

namespace colang::platform {

// UTF-8 copy; a lone surrogate becomes U+FFFD.
std::string Utf8FromText(XStringView text);
// UTF-16 copy; an invalid byte becomes U+FFFD.
XString TextFromUtf8(std::string_view text);
// UTF-8 file name for POSIX calls: '\' becomes '/'.
std::string Utf8PathFromText(XStringView text);

}  // namespace colang::platform
