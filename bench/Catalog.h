// Generated catalogs of user-interface texts for the benchmarks: menu items,
// labels, accelerators and "Page %d of %d"-style patterns, with a German-like
// translation each. One catalog is written twice, as a catalog (.rlg) file for
// the library and as a gettext .po file compiled with msgfmt into a .mo file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "colang/XString.h"

namespace bench {

// One entry of a catalog, in UTF-8 (for gettext and the files) and UTF-16.
struct XBenchEntry {
  std::string strSource;  // UTF-8, escapes resolved (a tab is a tab)
  std::string strTransl;
  XString wstrSource;
  XString wstrTransl;
  unsigned nID = 0;       // a resource identifier entry: no text source
  bool bPattern = false;  // the source holds "%d"
};

// A pattern entry together with a text that fits it and what that text
// translates to.
struct XBenchPatternCase {
  XString wstrText;
  XString wstrExpected;
};

struct XBenchCatalog {
  std::size_t nSize = 0;
  std::string strLabel;  // "1k", "10k", "100k"
  std::vector<XBenchEntry> vecEntries;

  std::string strDir;       // where the catalog's files lie
  std::string strRLGPath;   // the catalog file, language 0407, compiled beside it (Bench10k0407.rlgc)
  std::string strTextPath;  // the same catalog in text/, never compiled: what a load of the text costs
  std::string strDomain;    // the gettext domain whose .mo holds the same entries

  // Indices of the text entries (identifier entries excluded), shuffled.
  std::vector<std::size_t> vecTextOrder;
  // Indices of the identifier entries, shuffled.
  std::vector<std::size_t> vecIdOrder;
  // Texts without digits that are no key of the catalog, in both encodings.
  std::vector<std::string> vecMissUtf8;
  std::vector<XString> vecMiss;
  // Texts that fit a pattern, and texts with numbers that fit none.
  std::vector<XBenchPatternCase> vecPatternHits;
  std::vector<XString> vecPatternMisses;
};

// Builds the entries of a catalog of nSize entries (deterministic).
XBenchCatalog CatalogGenerate(std::size_t nSize, const std::string& strLabel);

// Places the catalog's files in strDir: sets their paths, writes nothing.
void CatalogPlace(XBenchCatalog& catalog, const std::string& strDir);

// Places the catalog in strDir and writes the catalog file there, and its
// copy in strDir/text; false (with a message on stderr) when they cannot be
// written.
bool CatalogRlgWrite(XBenchCatalog& catalog, const std::string& strDir);

// Places the catalog in strDir and writes the catalog file and the .po file
// there, compiling the .po into strDir/de/LC_MESSAGES/<domain>.mo; false
// (with a message on stderr) when something cannot be written or msgfmt
// fails.
bool CatalogWrite(XBenchCatalog& catalog, const std::string& strDir);

// UTF-8 to UTF-16 for the generated texts.
XString Widen(const std::string& str);

}  // namespace bench
