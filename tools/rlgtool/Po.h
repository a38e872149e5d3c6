// Conversion between catalogs and gettext PO files, so that catalogs can be
// edited in PO editors and on translation platforms. The PO header keeps what
// a catalog needs beyond its entries (language line, title, encoding, line
// ends), so that exporting and importing again gives the same catalog.
#pragma once

#include <string>
#include <vector>

#include "Catalog.h"
#include "Diag.h"
#include "Printf.h"

namespace rlgtool {

// PO text for the catalog. Reports to diag (under strFile) what a PO file
// cannot hold as it is: a repeated source is exported once, with the
// translation the library keeps; an empty translation becomes an
// untranslated entry. strDate is the PO-Revision-Date value.
std::string PoFromCatalog(const XCatalog& cat, const std::string& strFile, const std::string& strDate, XDiag& diag);

// One message of a PO file.
struct XPoEntry {
  int nLine = 0;  // line of its msgid
  bool bFuzzy = false;
  bool bContext = false;
  bool bPlural = false;
  bool bObsolete = false;
  bool bIdentifier = false;  // exported from an identifier line
  int nBlankBefore = 0;      // empty catalog lines before the entry
  std::string strId;
  std::string strStr;  // msgstr, or msgstr[0] of a plural entry
};

// Parses PO text; syntax errors go to diag and give false.
bool PoParse(const std::string& strText, const std::string& strFile, XDiag& diag, std::vector<XPoEntry>& vecOut);

// What import-po produces.
struct XPoImport {
  std::vector<XString> vecLines;
  XEncoding eEncoding = XEncoding::eEncUtf8;
  bool bCRLF = true;
  int nEntries = 0;
  int nUntranslated = 0;
  int nFuzzy = 0;
};

// Catalog lines from PO entries. nLangID 0 takes the language from the PO
// header (X-RLG-Language-Line, else Language); false (reported to diag) when
// there is none to take.
bool CatalogFromPo(const std::vector<XPoEntry>& vecEntries, int nLangID, const std::string& strFile, XDiag& diag,
                   XPoImport& out);

// A PO field: keyword "text", split after each inner line feed into
// continuation lines.
std::string PoField(const char* pszKeyword, const std::string& s);
// Whether a text's format specifiers are all ones msgfmt checks as
// c-format (and there is at least one).
bool IsPlainCFormat(const std::vector<XFormatArg>& vecArgs);

// The POSIX locale name of a Windows language identifier ("de_DE" for
// 0x0407), or an empty string for one not in the tool's table; and the
// English name of the language ("German"), or an empty string.
std::string LocaleName(int nLangID);
std::string LanguageName(int nLangID);
// The Windows language identifier of a POSIX locale name ("de_DE", "de-DE",
// or "de" for the first German region in the table), or 0.
int LangIDFromLocale(const std::string& strLocale);

}  // namespace rlgtool
