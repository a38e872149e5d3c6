// The main demo: fills a German dictionary and shows lookups in every
// direction, including the misses that give the caller's text back.
#include <cstdio>
#include <string>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"

namespace {

std::string Utf8(const XChar* text) {
  if (text == nullptr) return "(null)";
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.pop_back();
  return out;
}

}  // namespace

int main() {
  XLMTranslDict dict;
  XLMTranslDictAccess::Insert(dict, XT("&File"), XT("&Datei"));
  XLMTranslDictAccess::Insert(dict, XT("&Open...\tCtrl+O"), XT("Ö&ffnen...\tStrg+O"));
  XLMTranslDictAccess::Insert(dict, XT("Cancel"), XT("Abbrechen"));
  XLMTranslDictAccess::Insert(dict, 1001u, XT("Speichern unter"));
  dict.LangIDSet(0x407);

  std::printf("dictionary: language 0x%04x, valid=%d\n", static_cast<unsigned>(dict.LangID()), dict.IsValid());
  const XChar* texts[] = {XT("&File"), XT("&Open...\tCtrl+O"), XT("Cancel"), XT("cancel"), XT("Help")};
  for (const XChar* text : texts)
    std::printf("  translate   %-22s -> %s\n", ("\"" + Utf8(text) + "\"").c_str(),
                Utf8(dict.StringTranslate(text)).c_str());
  std::printf("  retranslate %-22s -> %s\n", "\"Abbrechen\"", Utf8(dict.StringRetranslate(XT("Abbrechen"))).c_str());
  std::printf("  identifier  %-22s -> %s\n", "1001", Utf8(dict.CheckTranslate(1001u)).c_str());
  std::printf("  identifier  %-22s -> %s\n", "1002", Utf8(dict.CheckTranslate(1002u)).c_str());
  return 0;
}
