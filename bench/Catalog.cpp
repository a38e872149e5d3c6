// Generated benchmark catalogs. Every text is built from three words of a
// 64-word menu vocabulary chosen by the entry's number, so keys and
// translations are unique; the entry number modulo 10 picks the shape (menu
// item with accelerator, label, ellipsis, pattern, resource identifier, ...).
#include "Catalog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace bench {
namespace {

struct XWordPair {
  const char* pszSource;
  const char* pszTransl;
};

// Translations are distinct single words, so that no two entries of one shape
// share a translation and retranslation has one answer per text.
constexpr XWordPair kWords[64] = {
    {"Open", "Öffnen"},
    {"Save", "Speichern"},
    {"Close", "Schließen"},
    {"Print", "Drucken"},
    {"File", "Datei"},
    {"Edit", "Bearbeiten"},
    {"View", "Ansicht"},
    {"Insert", "Einfügen"},
    {"Tools", "Extras"},
    {"Window", "Fenster"},
    {"Help", "Hilfe"},
    {"New", "Neu"},
    {"Copy", "Kopieren"},
    {"Paste", "Einsetzen"},
    {"Cut", "Ausschneiden"},
    {"Delete", "Löschen"},
    {"Find", "Suchen"},
    {"Replace", "Ersetzen"},
    {"Select", "Auswählen"},
    {"All", "Alle"},
    {"Undo", "Rückgängig"},
    {"Redo", "Wiederholen"},
    {"Page", "Seite"},
    {"Setup", "Einrichtung"},
    {"Preview", "Vorschau"},
    {"Export", "Exportieren"},
    {"Import", "Importieren"},
    {"Options", "Optionen"},
    {"Settings", "Einstellungen"},
    {"Properties", "Eigenschaften"},
    {"Document", "Dokument"},
    {"Table", "Tabelle"},
    {"Row", "Zeile"},
    {"Column", "Spalte"},
    {"Cell", "Zelle"},
    {"Chart", "Diagramm"},
    {"Image", "Bild"},
    {"Text", "Textfeld"},
    {"Font", "Schriftart"},
    {"Color", "Farbe"},
    {"Size", "Größe"},
    {"Style", "Formatvorlage"},
    {"Layout", "Anordnung"},
    {"Zoom", "Vergrößerung"},
    {"Toolbar", "Symbolleiste"},
    {"Status", "Zustand"},
    {"Bar", "Leiste"},
    {"Project", "Projekt"},
    {"Folder", "Ordner"},
    {"Recent", "Zuletzt"},
    {"Record", "Datensatz"},
    {"Filter", "Filterung"},
    {"Sort", "Sortieren"},
    {"Group", "Gruppe"},
    {"Report", "Bericht"},
    {"Query", "Abfrage"},
    {"Form", "Formular"},
    {"Macro", "Makro"},
    {"Language", "Sprache"},
    {"Check", "Prüfen"},
    {"Spelling", "Rechtschreibung"},
    {"Account", "Konto"},
    {"User", "Benutzer"},
    {"Server", "Dienst"},
};

struct XTriple {
  std::string a, b, c;  // source words
  std::string x, y, z;  // their translations
};

XTriple TripleOf(std::size_t n) {
  const XWordPair& a = kWords[n % 64];
  const XWordPair& b = kWords[(n / 64) % 64];
  const XWordPair& c = kWords[(n / 4096) % 64];
  return {a.pszSource, b.pszSource, c.pszSource, a.pszTransl, b.pszTransl, c.pszTransl};
}

// Source and translation of entry i; "%d" and a number template for patterns.
void EntryFill(XBenchEntry& entry, std::size_t i) {
  const XTriple t = TripleOf(i);
  const std::string accel(1, static_cast<char>('A' + (i / 10) % 26));
  std::string& s = entry.strSource;
  std::string& r = entry.strTransl;
  switch (i % 10) {
    case 0:
      entry.bPattern = true;
      switch ((i / 10) % 3) {
        case 0:
          s = t.a + " %d of %d " + t.b + " " + t.c;
          r = t.x + " %d von %d " + t.y + " " + t.z;
          break;
        case 1:
          s = "%d " + t.a + " " + t.b + " " + t.c + " selected";
          r = "%d " + t.x + " " + t.y + " " + t.z + " ausgewählt";
          break;
        default:
          s = t.a + " " + t.b + ": %d " + t.c;
          r = t.x + " " + t.y + ": %d " + t.z;
          break;
      }
      break;
    case 1:
      s = "&" + t.a + " " + t.b + " " + t.c + "...\tCtrl+" + accel;
      r = "&" + t.x + " " + t.y + " " + t.z + "...\tStrg+" + accel;
      break;
    case 2:
      s = t.a + " " + t.b + " " + t.c;
      r = t.x + " " + t.y + " " + t.z;
      break;
    case 3:
      s = t.a + " " + t.b + " " + t.c + ":";
      r = t.x + " " + t.y + " " + t.z + ":";
      break;
    case 4:
      s = t.a + " the " + t.b + " " + t.c;
      r = t.x + " die " + t.y + " " + t.z;
      break;
    case 5:
      s = "&" + t.a + " " + t.b + " " + t.c;
      r = "&" + t.x + " " + t.y + " " + t.z;
      break;
    case 6:
      s = t.a + "/" + t.b + "/" + t.c;
      r = t.x + "/" + t.y + "/" + t.z;
      break;
    case 7:
      s = t.a + " " + t.b + " " + t.c + "...";
      r = t.x + " " + t.y + " " + t.z + "...";
      break;
    case 8:
      s = t.a + " " + t.b + " " + t.c + " on/off";
      r = t.x + " " + t.y + " " + t.z + " ein/aus";
      break;
    default:
      entry.nID = static_cast<unsigned>(100000 + i);
      s = "#" + std::to_string(entry.nID);
      r = t.x + " " + t.y + " " + t.z + " Symbol";
      break;
  }
}

// The pattern text of entry i with numbers in place of the specifiers, and
// what the library must make of it.
XBenchPatternCase PatternCaseOf(std::size_t i, std::size_t nSeed) {
  const XTriple t = TripleOf(i);
  const std::string n1 = std::to_string(1 + nSeed % 97);
  const std::string n2 = std::to_string(100 + nSeed % 900);
  std::string s, r;
  switch ((i / 10) % 3) {
    case 0:
      s = t.a + " " + n1 + " of " + n2 + " " + t.b + " " + t.c;
      r = t.x + " " + n1 + " von " + n2 + " " + t.y + " " + t.z;
      break;
    case 1:
      s = n1 + " " + t.a + " " + t.b + " " + t.c + " selected";
      r = n1 + " " + t.x + " " + t.y + " " + t.z + " ausgewählt";
      break;
    default:
      s = t.a + " " + t.b + ": " + n1 + " " + t.c;
      r = t.x + " " + t.y + ": " + n1 + " " + t.z;
      break;
  }
  return {Widen(s), Widen(r)};
}

std::string RLGEscape(const std::string& str) {
  std::string strOut;
  for (char c : str) {
    if (c == '\\')
      strOut += "\\\\";
    else if (c == '\t')
      strOut += "\\t";
    else
      strOut += c;
  }
  return strOut;
}

std::string PoQuote(const std::string& str) {
  std::string strOut = "\"";
  for (char c : str) {
    if (c == '\\' || c == '"')
      strOut += '\\', strOut += c;
    else if (c == '\t')
      strOut += "\\t";
    else if (c == '\n')
      strOut += "\\n";
    else
      strOut += c;
  }
  return strOut + "\"";
}

}  // namespace

XString Widen(const std::string& str) {
  XString wstr;
  wstr.reserve(str.size());
  for (std::size_t i = 0; i < str.size();) {
    const auto c = static_cast<unsigned char>(str[i]);
    unsigned cp = c;
    std::size_t n = 1;
    if (c >= 0xE0 && i + 2 < str.size()) {
      cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(str[i + 1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(str[i + 2]) & 0x3Fu);
      n = 3;
    } else if (c >= 0xC0 && i + 1 < str.size()) {
      cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(str[i + 1]) & 0x3Fu);
      n = 2;
    }
    wstr += static_cast<XChar>(cp);
    i += n;
  }
  return wstr;
}

XBenchCatalog CatalogGenerate(std::size_t nSize, const std::string& strLabel) {
  XBenchCatalog catalog;
  catalog.nSize = nSize;
  catalog.strLabel = strLabel;
  catalog.strDomain = "bench-" + strLabel;
  catalog.vecEntries.resize(nSize);
  for (std::size_t i = 0; i < nSize; ++i) {
    XBenchEntry& entry = catalog.vecEntries[i];
    EntryFill(entry, i);
    entry.wstrSource = Widen(entry.strSource);
    entry.wstrTransl = Widen(entry.strTransl);
    (entry.nID != 0 ? catalog.vecIdOrder : catalog.vecTextOrder).push_back(i);
  }

  std::mt19937_64 rng(nSize);
  std::shuffle(catalog.vecTextOrder.begin(), catalog.vecTextOrder.end(), rng);
  std::shuffle(catalog.vecIdOrder.begin(), catalog.vecIdOrder.end(), rng);

  // Misses look like the hits (same words, same lengths) but end in a word
  // that no entry has; as many as there are text entries, at most 16384.
  const std::size_t nMisses = std::min<std::size_t>(catalog.vecTextOrder.size(), 16384);
  for (std::size_t k = 0; k < nMisses; ++k) {
    const XTriple t = TripleOf(rng() % (64 * 64 * 64));
    catalog.vecMissUtf8.push_back(t.a + " " + t.b + " " + t.c + " again");
    catalog.vecMiss.push_back(Widen(catalog.vecMissUtf8.back()));
  }

  std::vector<std::size_t> vecPatterns;
  for (std::size_t i = 0; i < nSize; ++i)
    if (catalog.vecEntries[i].bPattern) vecPatterns.push_back(i);
  std::shuffle(vecPatterns.begin(), vecPatterns.end(), rng);
  for (std::size_t k = 0; k < vecPatterns.size(); ++k) {
    catalog.vecPatternHits.push_back(PatternCaseOf(vecPatterns[k], k));
    // The same shape with two words no pattern has: tokenized and searched,
    // never found. Every third one starts with a number, which makes the
    // translator search twice.
    const XTriple t = TripleOf(vecPatterns[k]);
    const std::string n1 = std::to_string(1 + k % 97);
    catalog.vecPatternMisses.push_back(
        Widen(k % 3 == 1 ? n1 + " " + t.a + " Zebra Quux selected" : t.a + " " + n1 + " of 12 Zebra Quux"));
  }
  return catalog;
}

void CatalogPlace(XBenchCatalog& catalog, const std::string& strDir) {
  catalog.strDir = strDir;
  catalog.strRLGPath = strDir + "/Bench" + catalog.strLabel + "0407.rlg";
  catalog.strTextPath = strDir + "/text/Bench" + catalog.strLabel + "0407.rlg";
}

bool CatalogRlgWrite(XBenchCatalog& catalog, const std::string& strDir) {
  CatalogPlace(catalog, strDir);
  std::error_code ec;
  std::filesystem::create_directories(strDir + "/text", ec);
  for (const std::string& strPath : {catalog.strRLGPath, catalog.strTextPath}) {
    std::ofstream rlg(strPath, std::ios::binary);
    rlg << "0407 Deutsch\nBenchmark catalog " << catalog.strLabel << "\n";
    for (const XBenchEntry& entry : catalog.vecEntries)
      rlg << RLGEscape(entry.strSource) << "\n" << RLGEscape(entry.strTransl) << "\n";
    if (!rlg) {
      std::fprintf(stderr, "bench: cannot write %s\n", strPath.c_str());
      return false;
    }
  }
  return true;
}

bool CatalogWrite(XBenchCatalog& catalog, const std::string& strDir) {
  if (!CatalogRlgWrite(catalog, strDir)) return false;
  const std::string strPo = strDir + "/" + catalog.strDomain + ".po";
  const std::string strMoDir = strDir + "/de/LC_MESSAGES";
  const std::string strMo = strMoDir + "/" + catalog.strDomain + ".mo";
  {
    std::ofstream po(strPo, std::ios::binary);
    po << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    for (const XBenchEntry& entry : catalog.vecEntries)
      po << "msgid " << PoQuote(entry.strSource) << "\nmsgstr " << PoQuote(entry.strTransl) << "\n\n";
    if (!po) {
      std::fprintf(stderr, "bench: cannot write %s\n", strPo.c_str());
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::create_directories(strMoDir, ec);
  const std::string strCommand = "msgfmt -o '" + strMo + "' '" + strPo + "'";
  if (std::system(strCommand.c_str()) != 0) {
    std::fprintf(stderr, "bench: %s failed\n", strCommand.c_str());
    return false;
  }
  return true;
}

}  // namespace bench
