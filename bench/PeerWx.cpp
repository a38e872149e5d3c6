// wxWidgets: a wxTranslations object for German, made the process's
// translations, with the catalog's domain added from the gettext .mo; texts
// are looked up through wxGetTranslation, which gives a reference to the
// stored translation but takes the text as a wxString made for the call.
#include <wx/init.h>
#include <wx/translation.h>

#include <cstdio>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "Peers.h"

namespace bench {
namespace {

void WxEnsure() { static wxInitializer s_init; }

// wxWidgets keeps one wxTranslations for the process and deletes the one it
// replaces; a loaded catalog is therefore the installed one, and giving it
// back uninstalls it.
struct XUninstall {
  void operator()(wxTranslations*) const { wxTranslations::Set(nullptr); }
};

struct XWx {
  static constexpr const char* kName = "wx";
  static constexpr const char* kLabel = "wxWidgets";
  static constexpr bool kLoads = true;
  // It reads the .mo that msgfmt made.
  static bool Files(const XBenchCatalog&) { return true; }
  using Loaded = std::unique_ptr<wxTranslations, XUninstall>;
  static void Setup() { WxEnsure(); }
  static std::unique_ptr<Loaded> Load(const XBenchCatalog& catalog) {
    WxEnsure();
    // The lookup path is the process's: added once, not at every load.
    static std::string s_strDirAdded;
    if (s_strDirAdded != catalog.strDir) {
      wxFileTranslationsLoader::AddCatalogLookupPathPrefix(wxString::FromUTF8(catalog.strDir));
      s_strDirAdded = catalog.strDir;
    }
    auto* pTranslations = new wxTranslations;
    wxTranslations::Set(pTranslations);
    auto pLoaded = std::make_unique<Loaded>(pTranslations);
    pTranslations->SetLanguage("de");
    if (!pTranslations->AddCatalog(wxString::FromUTF8(catalog.strDomain))) return nullptr;
    return pLoaded;
  }
  // The catalog in use stays installed until another is used or loaded.
  static void Use(const XBenchCatalog& catalog) {
    static const XBenchCatalog* s_pInstalled = nullptr;
    static wxTranslations* s_pTranslations = nullptr;
    if (s_pInstalled == &catalog && wxTranslations::Get() == s_pTranslations) return;
    std::unique_ptr<Loaded> pLoaded = Load(catalog);
    s_pTranslations = pLoaded->release();  // stays installed; the next Set deletes it
    s_pInstalled = &catalog;
  }
  static const wxString& Lookup(const char* pszKey) { return wxGetTranslation(pszKey); }
  static std::string Answer(const char* pszKey) { return Lookup(pszKey).utf8_string(); }
};

}  // namespace

XPeer WxPeer() { return PeerMake<XWx>(); }

}  // namespace bench
