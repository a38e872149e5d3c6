// Opening and reading a file in bulk: the one place that knows how the
// platform opens files. Names may use '\' or '/' on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colang/XString.h"

namespace colang::platform {

using XFileHandle = std::intptr_t;
constexpr XFileHandle kFileInvalid = -1;

// What others may do with the file while it is open (the bits of the
// Windows share mode). Only Windows enforces them; POSIX has no such locks.
enum : unsigned { eFSShareNone = 0, eFSShareRead = 1, eFSShareWrite = 2 };

// Opens an existing file (not a directory) for reading; kFileInvalid when it
// cannot be opened.
XFileHandle FileOpenRead(const XChar* pszName, unsigned nShare);

// Reads up to nSize bytes: the count read, 0 at the end, -1 on a read error.
long long FileRead(XFileHandle hFile, void* pBuffer, std::size_t nSize);

// The file's size in bytes, or -1 when it cannot be told; only a hint for
// how much room a reader sets aside, since the file may change meanwhile.
long long FileSizeGet(XFileHandle hFile);

// Moves back to the start of the file; false when that fails.
bool FileRewind(XFileHandle hFile);

// The full path of an open file, in one form for every opening of that file,
// as PathLoadedForm gives it for a name of that file. pszName is the name the
// file was opened by; its full path serves where the system cannot tell.
XString FilePathGet(XFileHandle hFile, const XChar* pszName);

// Closes the file; an invalid handle is ignored.
void FileClose(XFileHandle hFile);

}  // namespace colang::platform
