// File names for the emulation's calls into POSIX, which takes them as UTF-8
// bytes.
#pragma once

#include <string>

#include "colang/XString.h"

namespace colang::platform {

// The name as UTF-8 with '\' made '/', so that names built with backslashes
// open as on Windows; a lone surrogate becomes U+FFFD.
std::string Utf8PathFromText(XStringView text);

}  // namespace colang::platform
