// Boost.Locale: a generator with the catalogs' directory and the catalog's
// domain makes a locale for de_DE.UTF-8, which reads the gettext .mo; texts
// are looked up as translate(text).str(locale), which gives a new string.
// The generator is left as it comes, so it makes the facets of every
// character type, as an application that does not restrict it gets them.
#include <boost/locale.hpp>

#include <cstdio>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "Peers.h"

namespace bench {
namespace {

struct XBoost {
  static constexpr const char* kName = "boost";
  static constexpr const char* kLabel = "Boost.Locale";
  static constexpr bool kLoads = true;
  // It reads the .mo that msgfmt made.
  static bool Files(const XBenchCatalog&) { return true; }
  using Loaded = std::locale;
  static inline const std::locale* s_pCurrent = nullptr;

  static void Setup() {}
  static std::unique_ptr<Loaded> Load(const XBenchCatalog& catalog) {
    boost::locale::generator gen;
    gen.add_messages_path(catalog.strDir);
    gen.add_messages_domain(catalog.strDomain);
    auto pLocale = std::make_unique<std::locale>(gen("de_DE.UTF-8"));
    s_pCurrent = pLocale.get();
    return pLocale;
  }
  static void Use(const XBenchCatalog& catalog) {
    static std::map<const XBenchCatalog*, std::unique_ptr<std::locale>> s_mapLoaded;
    std::unique_ptr<std::locale>& pLocale = s_mapLoaded[&catalog];
    if (pLocale == nullptr) pLocale = Load(catalog);
    s_pCurrent = pLocale.get();
  }
  static std::string Lookup(const char* pszKey) { return boost::locale::translate(pszKey).str(*s_pCurrent); }
  static std::string Answer(const char* pszKey) { return Lookup(pszKey); }
};

}  // namespace

XPeer BoostPeer() { return PeerMake<XBoost>(); }

}  // namespace bench
