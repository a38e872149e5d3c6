// Writing a whole file at once, for the files the library itself produces.
// Names may use '\' or '/' on every platform.
#pragma once

#include <string_view>

#include "colang/XString.h"

namespace colang::platform {

// Creates or replaces the file with the bytes; false when it cannot be written.
bool FileWriteAll(const XChar* pszName, std::string_view bytes);

}  // namespace colang::platform
