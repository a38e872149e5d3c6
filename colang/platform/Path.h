// Path splitting, full paths and the file status query: the parts of file
// naming that differ between Windows and the emulation. On Windows they are
// the C runtime's and the system's own; elsewhere '\' and '/' both separate
// components, so names built with backslashes work as on Windows.
#pragma once

#include <cstddef>

#include "colang/XString.h"

namespace colang::platform {

// Room of the splitter's parts, terminating zero included.
constexpr std::size_t kPathDriveRoom = 3;
constexpr std::size_t kPathPartRoom = 256;

// Splits a path as Windows does: the drive ("C:"), the directory up to and
// including its last '\' or '/', the base name, and the extension from the
// last '.' of what remains. Any output may be null. False, with every
// requested part emptied, for a null path or when a part does not fit its
// room (drive 2, the others 255 characters): such a name is not split at all.
bool PathSplit(const XChar* pszPath, XString* pDrive, XString* pDir, XString* pFname, XString* pExt);

// Whether an entry (file or directory) of that name exists; when it does and
// pFullPath is not null, pFullPath receives its full path as PathFullGet gives it.
bool FileStatusQuery(const XChar* pszName, XString* pFullPath);

// The full path of a name, existing or not: absolute, with "." and ".."
// resolved and written with the platform's own separators ('\' on Windows,
// '/' elsewhere), so that every spelling of one name gives one form. False
// for a null or empty name.
bool PathFullGet(const XChar* pszName, XString& strFull);

// The characters that separate components in the platform's own paths
// (working directory, full paths): "\" on Windows, "\/" elsewhere.
XStringView PathSeparatorsNative();

// The characters that separate the elements of PATH: ";" on Windows; ":"
// and ";" elsewhere, so that both the native and the Windows form work.
XStringView PathListSeparators();

// The spelling in which a completed catalog name is compared with the paths
// of the files a dictionary has read. On Windows the name itself, compared
// exactly. Elsewhere its full path: a name joined with '\\' and the reader's
// '/' path name one file in two spellings, which Windows never produces for a
// directory written with backslashes.
XString PathLoadedForm(const XString& strName);

}  // namespace colang::platform
