// A catalog file as written, line by line: the header, each entry with the
// line numbers of its source and translation, and what the library makes of
// each line (escapes resolved, identifier lines recognised). Checking and PO
// conversion work on this; loading for translation goes through the library.
#pragma once

#include <string>
#include <vector>

#include "TextIO.h"
#include "colang/XString.h"

namespace rlgtool {

struct XCatEntry {
  int nBlankBefore = 0;  // empty lines between the previous entry (or the header) and this one
  int nSourceLine = 0;
  int nTranslLine = 0;
  XString strSourceRaw;  // the lines as written
  XString strTranslRaw;
  unsigned nID = 0;   // resource identifier of the source line, 0 for a text
  XString strSource;  // escapes resolved; an identifier line stays as written
  XString strTransl;
};

struct XCatalog {
  std::string strPath;
  XDecodedText text;
  int nLangIDName = 0;    // from the file name, 0 when it carries none
  int nLangIDHeader = 0;  // from line 1, 0 when line 1 is not a language line
  int nHexConsumed = 0;   // characters the language scan consumed on line 1
  std::vector<XCatEntry> vecEntries;
  int nDanglingLine = 0;   // a source line left without translation at the end, 0 when none
  int nTrailingBlank = 0;  // empty lines after the last entry

  bool HasHeader() const { return text.vecLines.size() >= 2; }
  const XString& LanguageLine() const { return text.vecLines[0]; }
  const XString& TitleLine() const { return text.vecLines[1]; }
  // The reader takes the file: header complete, language line and name agree, title not empty.
  bool HeaderValid() const;
};

// Splits decoded lines into header and entries, pairing lines as the library's
// reader does (an empty line where a source is expected is skipped).
XCatalog CatalogParse(const std::string& strPath, XDecodedText text);

// Lines of a catalog with the given header, entries (with their empty lines
// before them) and empty lines at the end, texts written with TextEscape so
// that reading them gives back the same texts.
std::vector<XString> CatalogLines(const XString& strLanguageLine, const XString& strTitle,
                                  const std::vector<XCatEntry>& vecEntries, int nTrailingBlank = 0);

// The text of a catalog line with its escapes resolved, as the library reads it.
XString LineUnescape(XStringView line);
// The library's language scan: value of the hex digits at the start of the
// text (after an optional 0x), and the number of characters consumed.
int HexScan(unsigned& nValue, XStringView text);
// Language identifier carried by a file name (last four characters of the base name), or 0.
int LangIDFromPath(const std::string& strPath);

}  // namespace rlgtool

namespace rlgtool {

// A text for messages: in catalog form, between double quotes, long texts
// shortened with "...".
std::string Quoted(XStringView text, size_t nMaxChars = 40);

}  // namespace rlgtool
