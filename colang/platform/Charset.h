// Decoding text in a named character set with the platform's own converter:
// iconv on POSIX systems, the code pages of MultiByteToWideChar on Windows.
// Names are written as MIME and gettext write them ("ISO-8859-1", "EUC-JP",
// "windows-1251", "Shift_JIS"), in any case.
#pragma once

#include <string_view>

#include "colang/XString.h"

namespace colang::platform {

enum XCharsetResult { eCSOk, eCSUnknown, eCSInvalid };

// Decodes bytes in the character set named to UTF-16 in strOut. eCSUnknown
// when the platform has no converter for that name; eCSInvalid when the
// bytes hold a sequence the set does not define (strOut is then empty).
XCharsetResult CharsetDecode(const char* pszCharset, std::string_view bytes, XString& strOut);

}  // namespace colang::platform
