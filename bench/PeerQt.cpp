// Qt 5: the catalog written as a Qt Linguist .ts file and compiled by
// lrelease into a .qm file, which a QTranslator loads (Qt maps the file into
// memory) and the application installs; texts are looked up through
// QCoreApplication::translate, which gives a new QString. One context,
// "Bench", holds every entry.
#include <QCoreApplication>
#include <QString>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "Peers.h"

namespace bench {
namespace {

constexpr const char* kContext = "Bench";

std::string QmPath(const XBenchCatalog& catalog) { return catalog.strDir + "/" + catalog.strDomain + "_de.qm"; }

// The application object that installing a translator needs; made once.
void AppEnsure() {
  static int s_nArgs = 1;
  static char s_szName[] = "colang_bench";
  static char* s_apszArgs[] = {s_szName, nullptr};
  static QCoreApplication s_app(s_nArgs, s_apszArgs);
}

bool TsWrite(const XBenchCatalog& catalog);

struct XQt {
  static constexpr const char* kName = "qt";
  static constexpr const char* kLabel = "Qt 5";
  static constexpr bool kLoads = true;
  static bool Files(const XBenchCatalog& catalog) { return TsWrite(catalog); }
  using Loaded = QTranslator;
  static void Setup() { AppEnsure(); }
  static std::unique_ptr<Loaded> Load(const XBenchCatalog& catalog) {
    AppEnsure();
    auto pTranslator = std::make_unique<QTranslator>();
    if (!pTranslator->load(QString::fromStdString(QmPath(catalog)))) return nullptr;
    QCoreApplication::installTranslator(pTranslator.get());
    return pTranslator;
  }
  // The catalogs' translators, loaded once; only the one in use is installed.
  static void Use(const XBenchCatalog& catalog) {
    static std::map<const XBenchCatalog*, std::unique_ptr<QTranslator>> s_mapLoaded;
    static QTranslator* s_pInstalled = nullptr;
    std::unique_ptr<QTranslator>& pTranslator = s_mapLoaded[&catalog];
    if (pTranslator == nullptr) pTranslator = Load(catalog);
    if (s_pInstalled != nullptr && s_pInstalled != pTranslator.get()) QCoreApplication::removeTranslator(s_pInstalled);
    QCoreApplication::installTranslator(pTranslator.get());
    s_pInstalled = pTranslator.get();
  }
  static QString Lookup(const char* pszKey) { return QCoreApplication::translate(kContext, pszKey); }
  static std::string Answer(const char* pszKey) { return Lookup(pszKey).toStdString(); }
};

std::string XmlText(const std::string& str) {
  std::string strOut;
  for (char c : str) {
    switch (c) {
      case '&':
        strOut += "&amp;";
        break;
      case '<':
        strOut += "&lt;";
        break;
      case '>':
        strOut += "&gt;";
        break;
      case '\t':
        strOut += "&#9;";
        break;
      default:
        strOut += c;
    }
  }
  return strOut;
}

// The catalog as a Qt Linguist .ts file, compiled by lrelease into the .qm.
bool TsWrite(const XBenchCatalog& catalog) {
  const std::string strTs = catalog.strDir + "/" + catalog.strDomain + "_de.ts";
  {
    std::ofstream ts(strTs, std::ios::binary);
    ts << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" language=\"de_DE\">\n"
       << "<context>\n<name>" << kContext << "</name>\n";
    for (const XBenchEntry& entry : catalog.vecEntries)
      ts << "<message><source>" << XmlText(entry.strSource) << "</source><translation>" << XmlText(entry.strTransl)
         << "</translation></message>\n";
    ts << "</context>\n</TS>\n";
    if (!ts) {
      std::fprintf(stderr, "bench: cannot write %s\n", strTs.c_str());
      return false;
    }
  }
  const std::string strCommand = "lrelease -silent '" + strTs + "' -qm '" + QmPath(catalog) + "' >/dev/null";
  if (std::system(strCommand.c_str()) != 0) {
    std::fprintf(stderr, "bench: %s failed\n", strCommand.c_str());
    return false;
  }
  return true;
}

}  // namespace

XPeer QtPeer() { return PeerMake<XQt>(); }

}  // namespace bench
