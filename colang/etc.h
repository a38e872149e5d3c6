// The search path for catalog files: where a file named without a directory
// is looked for, and the settings directory taken from the host or the registry.
#pragma once

#include "colang/XString.h"
#include "colang/platform/Export.h"

// The full path of the first file found under the name: the name itself,
// then in the parent of its directory (or of the working directory), the
// settings directory, and each directory of PATH. Empty when found nowhere
// (also for a null name); a missing PATH is reported to the trace.
COLANG_API XString FilePathSearch(const XChar* pszFilename);

// The settings directory: the one taken from the host's session data, else
// the registry value "Rlg_Path" of the application's common settings; empty
// when there is none. The registry is read anew on every call.
XString RLGPathLookup();
