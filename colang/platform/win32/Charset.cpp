// Character set decoding through the Windows code pages.
#include "colang/platform/Charset.h"

#include <cstring>

#include "colang/platform/Win32.h"

namespace colang::platform {

namespace {

struct XCodePageName {
  const char* pszKey;  // the name upper-cased, without '-', '_', '.' and blanks
  UINT nCodePage;
};

// MIME and gettext names of the character sets that PO files and catalogs
// are written in, with the Windows code page that decodes each.
const XCodePageName kCodePages[] = {
    {"UTF8", CP_UTF8},     {"ASCII", 20127},      {"USASCII", 20127},    {"ANSIX341968", 20127}, {"ISO88591", 28591},
    {"LATIN1", 28591},     {"ISO88592", 28592},   {"LATIN2", 28592},     {"ISO88593", 28593},    {"ISO88594", 28594},
    {"ISO88595", 28595},   {"ISO88596", 28596},   {"ISO88597", 28597},   {"ISO88598", 28598},    {"ISO88599", 28599},
    {"LATIN5", 28599},     {"ISO885913", 28603},  {"ISO885915", 28605},  {"LATIN9", 28605},      {"KOI8R", 20866},
    {"KOI8U", 21866},      {"EUCJP", 20932},      {"SHIFTJIS", 932},     {"SJIS", 932},          {"CP932", 932},
    {"WINDOWS31J", 932},   {"GB2312", 936},       {"EUCCN", 936},        {"GBK", 936},           {"CP936", 936},
    {"GB18030", 54936},    {"BIG5", 950},         {"CP950", 950},        {"EUCKR", 949},         {"CP949", 949},
    {"UHC", 949},          {"JOHAB", 1361},       {"TIS620", 874},       {"CP874", 874},         {"CP437", 437},
    {"CP850", 850},        {"CP852", 852},        {"CP866", 866},        {"CP1250", 1250},       {"CP1251", 1251},
    {"CP1252", 1252},      {"CP1253", 1253},      {"CP1254", 1254},      {"CP1255", 1255},       {"CP1256", 1256},
    {"CP1257", 1257},      {"CP1258", 1258},      {"WINDOWS1250", 1250}, {"WINDOWS1251", 1251},  {"WINDOWS1252", 1252},
    {"WINDOWS1253", 1253}, {"WINDOWS1254", 1254}, {"WINDOWS1255", 1255}, {"WINDOWS1256", 1256},  {"WINDOWS1257", 1257},
    {"WINDOWS1258", 1258}, {"WINDOWS874", 874},
};

UINT CodePageOf(const char* pszCharset) {
  char szKey[32];
  size_t n = 0;
  for (const char* p = pszCharset; *p != 0; ++p) {
    if (std::strchr("-_. ", *p) != nullptr) continue;
    if (n + 1 == sizeof szKey) return 0;
    szKey[n++] = *p >= 'a' && *p <= 'z' ? static_cast<char>(*p - 'a' + 'A') : *p;
  }
  szKey[n] = 0;
  for (const XCodePageName& name : kCodePages)
    if (std::strcmp(szKey, name.pszKey) == 0) return name.nCodePage;
  return 0;
}

}  // namespace

XCharsetResult CharsetDecode(const char* pszCharset, std::string_view bytes, XString& strOut) {
  strOut.clear();
  UINT nCodePage = pszCharset != nullptr ? CodePageOf(pszCharset) : 0;
  if (nCodePage == 0 || !IsValidCodePage(nCodePage)) return eCSUnknown;
  if (bytes.empty()) return eCSOk;
  if (bytes.size() > 0x7fffffff) return eCSInvalid;
  const int cb = static_cast<int>(bytes.size());
  // MB_ERR_INVALID_CHARS is refused only by the ISO-2022 and ISCII code
  // pages, which the table leaves out.
  int n = MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, bytes.data(), cb, nullptr, 0);
  if (n <= 0) return eCSInvalid;
  strOut.resize(static_cast<size_t>(n));
  if (MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, bytes.data(), cb, strOut.data(), n) != n) {
    strOut.clear();
    return eCSInvalid;
  }
  return eCSOk;
}

}  // namespace colang::platform
