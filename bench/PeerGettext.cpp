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
  static constexpr const char* kLabel = "glibc gettext";
  static constexpr bool kLoads = false;
  // The .mo is msgfmt's; the locale must exist.
  static bool Files(const XBenchCatalog&) {
    Setup();
    if (std::string(std::setlocale(LC_ALL, nullptr)) == "C.UTF-8") return true;
    std::fprintf(stderr, "bench: locale C.UTF-8 is not available\n");
    return false;
  }
  using Loaded = int;
  // Binding a domain reads nothing: glibc maps the catalog at the domain's
  // first lookup, which is therefore part of the load.
  // A program that uses gettext sets its locale from the environment first.
  static void Setup() { std::setlocale(LC_ALL, ""); }
  static std::unique_ptr<Loaded> Load(const XBenchCatalog& catalog) {
    Use(catalog);
    benchmark::DoNotOptimize(gettext(catalog.vecEntries[catalog.vecTextOrder.front()].strSource.c_str()));
    return std::make_unique<Loaded>(0);
  }
  static void Use(const XBenchCatalog& catalog) {
    bindtextdomain(catalog.strDomain.c_str(), catalog.strDir.c_str());
    bind_textdomain_codeset(catalog.strDomain.c_str(), "UTF-8");
    textdomain(catalog.strDomain.c_str());
  }
  static const char* Lookup(const char* pszKey) { return gettext(pszKey); }
  static std::string Answer(const char* pszKey) { return gettext(pszKey); }
};

}  // namespace

XPeer GettextPeer() { return PeerMake<XGettext>(); }

}  // namespace bench
