// PO string literals.
#include "colang/detail/PoText.h"

#include <cstdio>

namespace colang::detail {

std::string PoQuoted(std::string_view strUtf8) {
  std::string out;
  out.reserve(strUtf8.size() + 2);
  out += '"';
  for (unsigned char c : strUtf8) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\a':
        out += "\\a";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\v':
        out += "\\v";
        break;
      default:
        // A raw control byte is easily lost in an editor or on a translation
        // platform, and a text must come back byte for byte to match its source.
        if (c < 0x20 || c == 0x7F) {
          char sz[8];
          std::snprintf(sz, sizeof sz, "\\%03o", c);
          out += sz;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace colang::detail
