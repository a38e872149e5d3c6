// File names as the Windows file functions need them, shared by the file and
// path functions of this platform.
#pragma once

#include "colang/XString.h"
#include "colang/platform/Win32.h"

namespace colang::platform::win32 {

// The name to hand to the file functions: the name itself, or, when its full
// path has MAX_PATH characters or more, that path in the extended form
// (\\?\C:\... or \\?\UNC\server\share\...), which the file functions take at
// any length.
XString NameOpenable(const XChar* pszName);

// The final path of an open handle, without the \\?\ of the extended form
// (\\?\UNC\ back to \\server\share): one form for every spelling of the
// file, its letter case, short names, "." and ".." all resolved. Where the
// system cannot tell it (some network redirectors), the full path of the name
// the file was opened by.
XString FinalPathGet(HANDLE hFile, const XChar* pszName);

}  // namespace colang::platform::win32
