// Character set decoding through iconv.
#include "colang/platform/Charset.h"

#include <iconv.h>
#include <strings.h>

#include <cerrno>
#include <cstdint>
#include <utility>

namespace colang::platform {

namespace {

// glibc's Shift_JIS reads 0x5C as the yen sign and 0x7E as an overline, as
// JIS X 0201 has them; text files written in it (PO files with their
// backslash escapes) mean ASCII there, as Windows code page 932 reads them.
const char* IconvName(const char* pszCharset) {
  static const char* const kShiftJis[] = {"Shift_JIS", "Shift-JIS", "SJIS", "MS_KANJI", "csShiftJIS"};
  for (const char* pszName : kShiftJis)
    if (strcasecmp(pszCharset, pszName) == 0) return "CP932";
  return pszCharset;
}

}  // namespace

XCharsetResult CharsetDecode(const char* pszCharset, std::string_view bytes, XString& strOut) {
  strOut.clear();
  if (pszCharset == nullptr) return eCSUnknown;
  // XChar is char16_t here; ask for the byte order the processor uses.
  const std::uint16_t nProbe = 1;
  const bool bLittle = *reinterpret_cast<const unsigned char*>(&nProbe) == 1;
  iconv_t cd = iconv_open(bLittle ? "UTF-16LE" : "UTF-16BE", IconvName(pszCharset));
  if (cd == reinterpret_cast<iconv_t>(-1)) return eCSUnknown;
  XString strText(bytes.size() + 4, XChar(0));
  char* pIn = const_cast<char*>(bytes.data());
  size_t nIn = bytes.size();
  char* pOut = reinterpret_cast<char*>(strText.data());
  size_t nOutLeft = strText.size() * sizeof(XChar);
  XCharsetResult eResult = eCSOk;
  while (nIn > 0) {
    if (iconv(cd, &pIn, &nIn, &pOut, &nOutLeft) != static_cast<size_t>(-1)) continue;
    if (errno != E2BIG) {
      eResult = eCSInvalid;  // EILSEQ, or EINVAL for a sequence cut off at the end
      break;
    }
    // Some sets give two UTF-16 units for one byte; grow and go on.
    size_t nDone = strText.size() * sizeof(XChar) - nOutLeft;
    strText.resize(strText.size() * 2);
    pOut = reinterpret_cast<char*>(strText.data()) + nDone;
    nOutLeft = strText.size() * sizeof(XChar) - nDone;
  }
  // Stateful sets (ISO-2022) return to their initial state at the end.
  if (eResult == eCSOk && iconv(cd, nullptr, nullptr, &pOut, &nOutLeft) == static_cast<size_t>(-1))
    eResult = eCSInvalid;
  iconv_close(cd);
  if (eResult != eCSOk) return eResult;
  strText.resize((strText.size() * sizeof(XChar) - nOutLeft) / sizeof(XChar));
  strOut = std::move(strText);
  return eCSOk;
}

}  // namespace colang::platform
