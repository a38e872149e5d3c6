// glibc gettext: the locale C.UTF-8 with LANGUAGE=de (gettext ignores
// translations in the plain "C" locale but honours LANGUAGE in C.UTF-8), one
// text domain per catalog, bound to the directory of the catalogs. glibc
// keeps a catalog it has loaded for the life of the process, so there is no
// case of loading it again.
#include <libintl.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "BenchSupport.h"
#include "Peers.h"

namespace bench {
namespace {

struct XGettext {
  static constexpr const char* kName = "gettext";
  using Loaded = int;
  // Binding a domain reads nothing: glibc maps the catalog at the domain's
  // first lookup, which is therefore part of the load.
  // A program that uses gettext sets its locale from the environment first.
  static void Setup() { std::setlocale(LC_ALL, ""); }
  static std::unique_ptr<Loaded> Load(const XBenchCatalog& catalog) {
    bindtextdomain(catalog.strDomain.c_str(), catalog.strDir.c_str());
    bind_textdomain_codeset(catalog.strDomain.c_str(), "UTF-8");
    textdomain(catalog.strDomain.c_str());
    benchmark::DoNotOptimize(gettext(catalog.vecEntries[catalog.vecTextOrder.front()].strSource.c_str()));
    return std::make_unique<Loaded>(0);
  }
  static void Use(const XBenchCatalog& catalog) { textdomain(catalog.strDomain.c_str()); }
  static const char* Lookup(const char* pszKey) { return gettext(pszKey); }
  static std::string Answer(const char* pszKey) { return gettext(pszKey); }
};

bool Prepare(const XBenchCatalog& catalog) {
  XGettext::Setup();
  if (std::string(std::setlocale(LC_ALL, nullptr)) != "C.UTF-8") {
    std::fprintf(stderr, "bench: locale C.UTF-8 is not available\n");
    return false;
  }
  XGettext::Load(catalog);
  const XBenchEntry& entry = catalog.vecEntries[catalog.vecTextOrder.front()];
  const std::string strGot = XGettext::Answer(entry.strSource.c_str());
  if (strGot != entry.strTransl) {
    std::fprintf(stderr, "bench: gettext gives \"%s\" for \"%s\", not the translation\n", strGot.c_str(),
                 entry.strSource.c_str());
    return false;
  }
  return true;
}

}  // namespace

XPeer GettextPeer() {
  return {XGettext::kName, "glibc gettext", Prepare,
          [](const std::vector<XBenchCatalog>& vecCatalogs) { PeerRegister<XGettext>(vecCatalogs, false); },
          PeerFreshRun<XGettext>};
}

}  // namespace bench
