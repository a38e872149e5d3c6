// The libraries colang is measured against, each called as its documentation
// tells applications to: glibc gettext, Qt 5 (QTranslator over a .qm made by
// lrelease, looked up through QCoreApplication::translate), Boost.Locale
// (translate(...).str(locale) over the gettext .mo) and wxWidgets
// (wxTranslations over the same .mo, looked up through wxGetTranslation).
#pragma once

#include <string>
#include <vector>

#include "Catalog.h"

namespace bench {

struct XPeer {
  const char* pszName;   // the side in benchmark names: "gettext", "qt", "boost", "wx"
  const char* pszLabel;  // as the tables show it
  // Writes what the peer needs beside the catalog's files and checks one
  // translation; false, with a message on stderr, when that fails.
  bool (*pfnPrepare)(const XBenchCatalog& catalog);
  // Registers the peer's cases over every catalog.
  void (*pfnRegister)(const std::vector<XBenchCatalog>& vecCatalogs);
  // The measurement of one catalog in a fresh process (PeerFreshRun).
  int (*pfnFreshRun)(const XBenchCatalog& catalog);
};

// The peers, in the order of the tables' columns.
const std::vector<XPeer>& Peers();

XPeer GettextPeer();
XPeer QtPeer();
XPeer BoostPeer();
XPeer WxPeer();

}  // namespace bench
