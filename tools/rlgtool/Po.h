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

// What a catalog holds besides its entries, as a PO header carries it.
struct XCatHeader {
  XString strLanguageLine;  // empty: the PO header leaves the catalog header out
  XString strTitle;
  XEncoding eEncoding = XEncoding::eEncUtf8;
  bool bCRLF = true;
  int nTrailingBlank = 0;
};

// The header entry of a PO file for a catalog of language nLangID.
std::string PoHeaderText(const XCatHeader& header, int nLangID, const std::string& strProject,
                         const std::string& strDate);

// One PO entry as rlgtool writes it.
struct XPoOut {
  int nBlankBefore = 0;
  unsigned nID = 0;                      // exported from an identifier line
  std::vector<std::string> vecComments;  // "#." and "#:" lines, written as they are
  bool bFuzzy = false;
  XString strPrevious;     // the earlier source of a fuzzy entry ("#| msgid"), empty for none
  bool bObsolete = false;  // written as "#~" lines
  XString strSource;
  XString strTransl;
};

// The entry's text, starting with the empty line that separates entries.
// Texts that are printf formats are flagged c-format.
std::string PoEntryText(const XPoOut& entry);

// PO text for the catalog. Reports to diag (under strFile) what a PO file
// cannot hold as it is: a repeated source is exported once, with the
// translation the library keeps; an empty translation becomes an
// untranslated entry. strDate is the PO-Revision-Date value.
std::string PoFromCatalog(const XCatalog& cat, const std::string& strFile, const std::string& strDate, XDiag& diag);

// One message of a PO file.
struct XPoEntry {
  int nLine = 0;     // line of its msgctxt, else of its msgid
  int nStrLine = 0;  // line of its msgstr
  bool bFuzzy = false;
  bool bContext = false;
  bool bPlural = false;
  bool bObsolete = false;
  bool bIdentifier = false;                    // exported from an identifier line
  XFormatFlag eFormat = XFormatFlag::eFFAuto;  // c-format, no-c-format or neither
  int nBlankBefore = 0;                        // empty catalog lines before the entry
  std::string strContext;
  std::string strId;
  std::string strStr;                    // msgstr, or msgstr[0] of a plural entry
  std::vector<std::string> vecComments;  // "#." and "#:" lines the tool does not read itself
};

// Parses PO text in UTF-8; syntax errors go to diag and give false.
bool PoParse(const std::string& strText, const std::string& strFile, XDiag& diag, std::vector<XPoEntry>& vecOut);

// Reads a PO file in the charset its header names (UTF-8 when it names
// none, or the template placeholder CHARSET) and parses it. eExitUsage for a
// file that cannot be read or is not text, eExitProblems for an unknown
// charset, bytes the charset does not define or syntax errors (all
// reported), else eExitOk.
int PoFileRead(const std::string& strPath, XDiag& diag, std::vector<XPoEntry>& vecOut);

// The catalog header a PO file's header entry describes. nLangID 0 takes
// the language from X-RLG-Language-Line, else from Language; false
// (reported to diag) when there is none to take.
bool PoHeaderRead(const std::vector<XPoEntry>& vecEntries, int nLangID, const std::string& strFile, XDiag& diag,
                  XCatHeader& header);

// What import-po produces.
struct XPoImport {
  std::vector<XString> vecLines;
  XEncoding eEncoding = XEncoding::eEncUtf8;
  bool bCRLF = true;
  int nEntries = 0;
  int nUntranslated = 0;
  int nFuzzy = 0;
  int nPlural = 0;          // plural entries skipped
  int nContextDropped = 0;  // entries imported without their msgctxt
};

// Catalog lines from PO entries. nLangID 0 takes the language from the PO
// header (X-RLG-Language-Line, else Language); false (reported to diag) when
// there is none to take. Entries that differ only by msgctxt are reported
// and the first is kept; plural entries are skipped, or with bPluralFirst
// imported as their singular text and msgstr[0]. The format specifiers of
// each entry are checked as its c-format flag, or else its source, says.
bool CatalogFromPo(const std::vector<XPoEntry>& vecEntries, int nLangID, bool bPluralFirst, const std::string& strFile,
                   XDiag& diag, XPoImport& out);

// Writes catalog lines to the file named by strOut (standard output when it
// is empty or "-") in the encoding given; Windows-1252 falls back to UTF-8
// when a character is not in it. Warns when the name does not carry the
// catalog's language. Gives an exit status.
int CatalogOutput(const std::string& strOut, const std::vector<XString>& vecLines, XEncoding eEncoding, bool bCRLF,
                  XDiag& diag);

// PO-Revision-Date: SOURCE_DATE_EPOCH when set, for reproducible output, else now.
std::string RevisionDate();

// The POSIX locale name of a Windows language identifier ("de_DE" for
// 0x0407), or an empty string for one not in the tool's table; and the
// English name of the language ("German"), or an empty string.
std::string LocaleName(int nLangID);
std::string LanguageName(int nLangID);
// The Windows language identifier of a POSIX locale name ("de_DE", "de-DE",
// or "de" for the first German region in the table), or 0.
int LangIDFromLocale(const std::string& strLocale);

}  // namespace rlgtool
