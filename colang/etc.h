// The search path for catalog files: where a file named without a directory
// is looked for, and the settings directory taken from the host or the registry.
#pragma once

#include "colang/CoLangTrans.h"
#include "colang/XString.h"

// The settings directory: the one taken from the host's session data, else
// the registry value "Rlg_Path" of the application's common settings; empty
// when there is none. The registry is read anew on every call.
XString RLGPathLookup();
