// Writing texts as catalog lines.
#include "colang/detail/DictText.h"

namespace colang::detail {

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
