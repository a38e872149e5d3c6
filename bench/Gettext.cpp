// gettext set-up for the benchmarks.
#include "Gettext.h"

#include <libintl.h>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {

bool GettextPrepare(const XBenchCatalog& catalog, const std::string& strDir) {
  setenv("LANGUAGE", "de", 1);
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) {
    std::fprintf(stderr, "bench: locale C.UTF-8 is not available\n");
    return false;
  }
  if (bindtextdomain(catalog.strDomain.c_str(), strDir.c_str()) == nullptr ||
      bind_textdomain_codeset(catalog.strDomain.c_str(), "UTF-8") == nullptr)
    return false;
  const XBenchEntry& entry = catalog.vecEntries[catalog.vecTextOrder.front()];
  const char* pszGot = dgettext(catalog.strDomain.c_str(), entry.strSource.c_str());
  if (std::strcmp(pszGot, entry.strTransl.c_str()) != 0) {
    std::fprintf(stderr, "bench: gettext gives \"%s\" for \"%s\", not the translation\n", pszGot,
                 entry.strSource.c_str());
    return false;
  }
  return true;
}

void GettextUse(const XBenchCatalog& catalog) { textdomain(catalog.strDomain.c_str()); }

}  // namespace bench
