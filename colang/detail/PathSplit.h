// Splitting a file name into drive, directory, base name and extension, by
// the rules of the Windows splitter, on every platform.
#pragma once

#include "colang/XString.h"

namespace colang::detail {

// Splits a path as Windows does: the drive ("C:"), the directory up to and
// including its last '\' or '/', the base name, and the extension from the
// last '.' of what remains. Any output may be null. Parts may be of any
// length. False, with every requested part emptied, for a null path only.
bool PathSplit(const XChar* pszPath, XString* pDrive, XString* pDir, XString* pFname, XString* pExt);

}  // namespace colang::detail
