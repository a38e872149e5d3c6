// PO string literals, header entries and messages.
#include "colang/detail/PoText.h"

#include <algorithm>
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

std::string PoHeaderEntry(std::string_view strFields) {
  std::string out = "msgid \"\"\nmsgstr ";
  const std::size_t nFirstEnd = strFields.find('\n');
  if (nFirstEnd == std::string_view::npos || nFirstEnd + 1 == strFields.size()) return out + PoQuoted(strFields) + "\n";
  out += "\"\"\n";
  for (std::size_t nStart = 0; nStart < strFields.size();) {
    const std::size_t nEnd = std::min(strFields.find('\n', nStart), strFields.size() - 1) + 1;
    out += PoQuoted(strFields.substr(nStart, nEnd - nStart)) + "\n";
    nStart = nEnd;
  }
  return out;
}

std::string PoMessageText(const XPoMessage& message) {
  std::string out = "\n";
  for (const std::string& strComment : message.vecComments) out += strComment + "\n";
  if (!message.strFlags.empty()) out += "#, " + message.strFlags + "\n";
  if (!message.strPrevious.empty()) out += "#| msgid " + PoQuoted(message.strPrevious) + "\n";
  // An obsolete message keeps its comments; its keywords and strings are commented out.
  const char* pszPrefix = message.bObsolete ? "#~ " : "";
  out += pszPrefix + ("msgid " + PoQuoted(message.strId)) + "\n";
  out += pszPrefix + ("msgstr " + PoQuoted(message.strStr)) + "\n";
  return out;
}

}  // namespace colang::detail
