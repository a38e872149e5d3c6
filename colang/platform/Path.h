// Full paths and the file status query: the parts of file naming that differ
// between Windows and the emulation. On Windows they are the system's own;
// elsewhere '\' and '/' both separate components, so names built with
// backslashes work as on Windows.
#pragma once

#include "colang/XString.h"

namespace colang::platform {

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

// The form in which a completed catalog name is compared with the paths of
// the files a dictionary has read, which the reader takes from each open file
// (FilePathGet): the same form for every spelling of one existing file. On
// Windows the file's final path, whatever the letter case, short names or
// ".." of the spelling, and the full path of a name that opens no file. Elsewhere
// the full path, so that a name joined with '\\' and the reader's '/' path
// name one file in one spelling.
XString PathLoadedForm(const XString& strName);

}  // namespace colang::platform
