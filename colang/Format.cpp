// printf-style formatting of UTF-16 text.
#include "colang/detail/Format.h"

namespace colang::detail {

namespace {

void AppendPadded(XString& out, const XString& body, int nWidth, bool bLeft, bool bZero) {
  size_t width = nWidth > 0 ? static_cast<size_t>(nWidth) : 0;
  size_t pad = width > body.size() ? width - body.size() : 0;
  if (bLeft) {
    out += body;
    out.append(pad, XChar(' '));
    return;
  }
  if (bZero && !body.empty() && body[0] == XChar('-')) {
    out += XChar('-');
    out.append(pad, XChar('0'));
    out.append(body, 1, XString::npos);
    return;
  }
  out.append(pad, bZero ? XChar('0') : XChar(' '));
  out += body;
}

XString Digits(unsigned long long nValue, unsigned nBase, bool bUpper) {
  const char* digits = bUpper ? "0123456789ABCDEF" : "0123456789abcdef";
  XChar buf[32];
  int i = 32;
  do {
    buf[--i] = static_cast<XChar>(digits[nValue % nBase]);
    nValue /= nBase;
  } while (nValue != 0);
  return XString(buf + i, buf + 32);
}

}  // namespace

XString FormatV(const XChar* pszFormat, va_list args) {
  XString out;
  if (pszFormat == nullptr) return out;
  for (const XChar* p = pszFormat; *p != 0; ++p) {
    if (*p != XChar('%')) {
      out += *p;
      continue;
    }
    const XChar* start = p++;
    bool bLeft = false, bZero = false;
    for (;; ++p) {
      if (*p == XChar('-'))
        bLeft = true;
      else if (*p == XChar('0'))
        bZero = true;
      else
        break;
    }
    int nWidth = 0;
    while (*p >= XChar('0') && *p <= XChar('9') && nWidth < 10000) nWidth = nWidth * 10 + (*p++ - XChar('0'));
    while (*p == XChar('l') || *p == XChar('h')) ++p;
    XString body;
    switch (*p) {
      case XChar('s'): {
        const XChar* s = va_arg(args, const XChar*);
        body = s != nullptr ? XString(s) : XString(XT("(null)"));
        bZero = false;
        break;
      }
      case XChar('c'):
        body.assign(1, static_cast<XChar>(va_arg(args, int)));
        bZero = false;
        break;
      case XChar('d'):
      case XChar('i'): {
        long long v = va_arg(args, int);
        body = v < 0 ? XString(1, XChar('-')) + Digits(static_cast<unsigned long long>(-v), 10, false)
                     : Digits(static_cast<unsigned long long>(v), 10, false);
        break;
      }
      case XChar('u'):
        body = Digits(va_arg(args, unsigned), 10, false);
        break;
      case XChar('x'):
      case XChar('X'):
        body = Digits(va_arg(args, unsigned), 16, *p == XChar('X'));
        break;
      case XChar('%'):
        out += XChar('%');
        continue;
      default:
        // Unknown or cut-off conversion: copy it as it stands.
        out.append(start, p + (*p != 0 ? 1 : 0));
        if (*p == 0) return out;
        continue;
    }
    AppendPadded(out, body, nWidth, bLeft, bZero);
  }
  return out;
}

XString Format(const XChar* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  XString out = FormatV(pszFormat, args);
  va_end(args);
  return out;
}

XString HexFormat(unsigned nValue, int nMinDigits) {
  XString body = Digits(nValue, 16, false);
  if (static_cast<int>(body.size()) < nMinDigits)
    body.insert(0, static_cast<size_t>(nMinDigits) - body.size(), XChar('0'));
  return body;
}

}  // namespace colang::detail
