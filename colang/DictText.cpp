// The text helpers of catalog handling: hexadecimal numbers and escapes.
#include "colang/detail/DictText.h"

namespace colang::detail {

std::size_t HexScan(std::uint32_t& nValue, const XChar* pszText) {
  nValue = 0;
  if (pszText == nullptr) return 0;
  std::size_t n = 0;
  if (pszText[0] == XChar('0') && (pszText[1] == XChar('x') || pszText[1] == XChar('X'))) n = 2;
  for (;; ++n) {
    XChar c = pszText[n];
    unsigned nDigit;
    if (c >= XChar('0') && c <= XChar('9'))
      nDigit = static_cast<unsigned>(c - XChar('0'));
    else if (c >= XChar('a') && c <= XChar('f'))
      nDigit = static_cast<unsigned>(c - XChar('a') + 10);
    else if (c >= XChar('A') && c <= XChar('F'))
      nDigit = static_cast<unsigned>(c - XChar('A') + 10);
    else
      break;
    nValue = (nValue << 4) | nDigit;
  }
  return n;
}

void StringUnescape(XString& strLine) {
  if (strLine.find(XChar('\\')) == XString::npos) return;
  XChar* p = &strLine[0];
  strLine.resize(static_cast<std::size_t>(UnescapeTo<false>(p, p, p + strLine.size()) - p));
}

XString StringEscape(XStringView strText) {
  XString out;
  out.reserve(strText.size());
  for (XChar c : strText) {
    char cEscape = 0;
    switch (c) {
      case XChar('\\'):
        cEscape = '\\';
        break;
      case XChar('\a'):
        cEscape = 'a';
        break;
      case XChar('\b'):
        cEscape = 'b';
        break;
      case XChar('\f'):
        cEscape = 'f';
        break;
      case XChar('\n'):
        cEscape = 'n';
        break;
      case XChar('\r'):
        cEscape = 'r';
        break;
      case XChar('\t'):
        cEscape = 't';
        break;
      case XChar('\v'):
        cEscape = 'v';
        break;
      default:
        break;
    }
    if (cEscape == 0) {
      out += c;
    } else {
      out += XChar('\\');
      out += static_cast<XChar>(cEscape);
    }
  }
  return out;
}

}  // namespace colang::detail
