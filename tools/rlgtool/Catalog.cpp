// Line-accurate reading of catalog files and writing them back.
#include "Catalog.h"

#include "colang/LMTranslDict.h"

namespace rlgtool {

namespace {

int HexDigit(XChar c) {
  if (c >= XChar('0') && c <= XChar('9')) return c - XChar('0');
  if (c >= XChar('a') && c <= XChar('f')) return c - XChar('a') + 10;
  if (c >= XChar('A') && c <= XChar('F')) return c - XChar('A') + 10;
  return -1;
}

XChar EscapeMapped(XChar c) {
  switch (c) {
    case XChar('a'):
      return XChar(7);
    case XChar('b'):
      return XChar(8);
    case XChar('f'):
      return XChar(12);
    case XChar('n'):
      return XChar(10);
    case XChar('r'):
      return XChar(13);
    case XChar('t'):
      return XChar(9);
    case XChar('v'):
      return XChar(11);
    default:
      return c;
  }
}

bool IsEscapeLetter(XChar c) {
  return c == XChar('\\') || c == XChar('\'') || c == XChar('?') || c == XChar('a') || c == XChar('b') ||
         c == XChar('f') || c == XChar('n') || c == XChar('r') || c == XChar('t') || c == XChar('v');
}

}  // namespace

int HexScan(unsigned& nValue, XStringView text) {
  size_t i = 0;
  nValue = 0;
  if (text.size() >= 2 && text[0] == XChar('0') && (text[1] == XChar('x') || text[1] == XChar('X'))) i = 2;
  for (; i < text.size() && HexDigit(text[i]) >= 0; ++i)
    nValue = (nValue << 4) | static_cast<unsigned>(HexDigit(text[i]));
  return static_cast<int>(i);
}

unsigned LineIDGet(XStringView line) {
  if (line.size() < 2 || line[0] != XChar('#')) return 0;
  XStringView rest = line.substr(1);
  unsigned nValue = 0;
  if (rest.size() > 2 && rest[0] == XChar('0') && (rest[1] == XChar('x') || rest[1] == XChar('X'))) {
    return HexScan(nValue, rest) == static_cast<int>(rest.size()) ? nValue : 0;
  }
  for (XChar c : rest) {
    if (c < XChar('0') || c > XChar('9')) return 0;
    nValue = nValue * 10 + static_cast<unsigned>(c - XChar('0'));
  }
  return nValue;
}

XString LineUnescape(XStringView line) {
  if (line.find(XChar('\\')) == XStringView::npos) return XString(line);
  XString out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != XChar('\\')) {
      out += line[i];
    } else if (i + 1 == line.size()) {
      out += line[i];
    } else if (IsEscapeLetter(line[i + 1])) {
      out += EscapeMapped(line[++i]);
    } else {
      out += line[i];
      out += line[++i];
    }
  }
  return out;
}

XString TextEscape(XStringView text) {
  XString out;
  out.reserve(text.size());
  for (XChar c : text) {
    const char* pszEscape = nullptr;
    switch (c) {
      case XChar('\\'):
        pszEscape = "\\\\";
        break;
      case XChar(7):
        pszEscape = "\\a";
        break;
      case XChar(8):
        pszEscape = "\\b";
        break;
      case XChar(9):
        pszEscape = "\\t";
        break;
      case XChar(10):
        pszEscape = "\\n";
        break;
      case XChar(11):
        pszEscape = "\\v";
        break;
      case XChar(12):
        pszEscape = "\\f";
        break;
      case XChar(13):
        pszEscape = "\\r";
        break;
      default:
        break;
    }
    if (pszEscape == nullptr) {
      out += c;
    } else {
      for (const char* p = pszEscape; *p != '\0'; ++p) out += static_cast<XChar>(*p);
    }
  }
  return out;
}

int LangIDFromPath(const std::string& strPath) {
  XString strName = XFromNative(strPath);
  return XLMTranslDict::LangIDFromFilename(strName.c_str());
}

bool XCatalog::HeaderValid() const {
  return HasHeader() && nHexConsumed == 4 && static_cast<int>(nLangIDHeader) == nLangIDName && !TitleLine().empty();
}

XCatalog CatalogParse(const std::string& strPath, XDecodedText text) {
  XCatalog cat;
  cat.strPath = strPath;
  cat.text = std::move(text);
  cat.nLangIDName = LangIDFromPath(strPath);
  const std::vector<XString>& lines = cat.text.vecLines;
  if (!lines.empty()) {
    unsigned nValue = 0;
    cat.nHexConsumed = HexScan(nValue, lines[0]);
    cat.nLangIDHeader = static_cast<int>(nValue);
  }
  int nBlank = 0;
  for (size_t i = 2; i < lines.size(); ++i) {
    if (lines[i].empty()) {
      ++nBlank;
      continue;
    }
    if (i + 1 == lines.size()) {
      cat.nDanglingLine = static_cast<int>(i) + 1;
      break;
    }
    XCatEntry entry;
    entry.nBlankBefore = nBlank;
    nBlank = 0;
    entry.nSourceLine = static_cast<int>(i) + 1;
    entry.nTranslLine = static_cast<int>(i) + 2;
    entry.strSourceRaw = lines[i];
    entry.strTranslRaw = lines[i + 1];
    entry.nID = LineIDGet(entry.strSourceRaw);
    entry.strSource = entry.nID != 0 ? entry.strSourceRaw : LineUnescape(entry.strSourceRaw);
    entry.strTransl = LineUnescape(entry.strTranslRaw);
    cat.vecEntries.push_back(std::move(entry));
    ++i;
  }
  cat.nTrailingBlank = nBlank;
  return cat;
}

std::vector<XString> CatalogLines(const XString& strLanguageLine, const XString& strTitle,
                                  const std::vector<XCatEntry>& vecEntries, int nTrailingBlank) {
  std::vector<XString> lines{strLanguageLine, strTitle};
  lines.reserve(2 + vecEntries.size() * 2);
  for (const XCatEntry& entry : vecEntries) {
    lines.insert(lines.end(), static_cast<size_t>(entry.nBlankBefore), XString());
    lines.push_back(entry.nID != 0 ? entry.strSource : TextEscape(entry.strSource));
    lines.push_back(TextEscape(entry.strTransl));
  }
  lines.insert(lines.end(), static_cast<size_t>(nTrailingBlank), XString());
  return lines;
}

}  // namespace rlgtool

namespace rlgtool {

std::string Quoted(XStringView text, size_t nMaxChars) {
  XString strEscaped = TextEscape(text);
  if (strEscaped.size() > nMaxChars) {
    size_t n = nMaxChars - 3;
    // Do not cut a surrogate pair in half.
    if (n > 0 && static_cast<char16_t>(strEscaped[n - 1]) >= 0xD800 &&
        static_cast<char16_t>(strEscaped[n - 1]) <= 0xDBFF)
      --n;
    strEscaped = strEscaped.substr(0, n) + XT("...");
  }
  return "\"" + Utf8FromX(strEscaped) + "\"";
}

}  // namespace rlgtool
