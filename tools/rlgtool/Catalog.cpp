// Line-accurate reading of catalog files and writing them back.
#include "Catalog.h"

#include "colang/LMTranslDict.h"
#include "colang/detail/DictText.h"
#include "colang/detail/TextCodec.h"

namespace rlgtool {

int HexScan(unsigned& nValue, XStringView text) {
  const XString strText(text);
  std::uint32_t nScanned = 0;
  const std::size_t nConsumed = colang::detail::HexScan(nScanned, strText.c_str());
  nValue = nScanned;
  return static_cast<int>(nConsumed);
}

XString LineUnescape(XStringView line) {
  XString strLine(line);
  colang::detail::StringUnescape(strLine);
  return strLine;
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
    entry.nID = colang::detail::IDFromLine(entry.strSourceRaw);
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
    lines.push_back(entry.nID != 0 ? entry.strSource : colang::detail::StringEscape(entry.strSource));
    lines.push_back(colang::detail::StringEscape(entry.strTransl));
  }
  lines.insert(lines.end(), static_cast<size_t>(nTrailingBlank), XString());
  return lines;
}

}  // namespace rlgtool

namespace rlgtool {

std::string Quoted(XStringView text, size_t nMaxChars) {
  XString strEscaped = colang::detail::StringEscape(text);
  if (strEscaped.size() > nMaxChars) {
    size_t n = nMaxChars - 3;
    // Do not cut a surrogate pair in half.
    if (n > 0 && colang::detail::IsHighSurrogate(static_cast<char32_t>(strEscaped[n - 1]))) --n;
    strEscaped = strEscaped.substr(0, n) + XT("...");
  }
  return "\"" + Utf8FromText(strEscaped) + "\"";
}

}  // namespace rlgtool
