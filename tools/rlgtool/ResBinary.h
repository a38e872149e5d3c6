// Reading resources from compiled files: programs and libraries (PE files,
// 32-bit and 64-bit) and compiled resource files (.res). Every offset, size
// and count is checked against the file before it is used, resource
// directories that loop or overlap are refused, and nothing is allocated
// beyond what the file's own bytes can fill.
#pragma once

#include <string>
#include <string_view>

#include "Resources.h"

namespace rlgtool {

// Whether the bytes start like a PE file ("MZ") or a 32-bit .res file (its
// empty first entry).
bool LooksLikePe(std::string_view bytes);
bool LooksLikeRes(std::string_view bytes);

// The menus, dialogs and string tables of a PE file or a .res file, into
// out (its path and kind are set by the caller's name). False with strError
// set to what is wrong with the file, which is then not usable at all.
bool PeRead(std::string_view bytes, XResFile& out, std::string& strError);
bool ResRead(std::string_view bytes, XResFile& out, std::string& strError);

// The templates themselves, as LoadMenuIndirect, CreateDialogIndirect and
// LoadString read them. False with strError on a template that is cut short
// or malformed.
bool MenuDecode(std::string_view data, XMenuNode& root, std::string& strError);
bool DialogDecode(std::string_view data, XDialog& dialog, std::string& strError);
// The 16 counted strings of string table block nBlock; empty ones are left out.
bool StringBlockDecode(std::string_view data, unsigned nBlock, std::vector<XResString>& vecOut, std::string& strError);

}  // namespace rlgtool
