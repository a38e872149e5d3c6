// Fuzz target: the catalog reader on arbitrary bytes behind one encoding's
// byte order mark (COLANG_FUZZ_BOM: 0 none, 1 UTF-8, 2 UTF-16LE, 3 UTF-16BE).
// The first input byte picks replace or append. A failed read must leave the
// dictionary as it was; after a read every text entry must be found again.
#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "colang/detail/DictAccess.h"
#include "fuzz/FuzzSupport.h"

#ifndef COLANG_FUZZ_BOM
#define COLANG_FUZZ_BOM 0
#endif

namespace {

namespace fs = std::filesystem;

fs::path DirGet() { return fs::temp_directory_path() / ("colang-fuzz-reader-" + std::to_string(getpid())); }

const fs::path& CatalogPath() {
  static const fs::path s_path = [] {
    fs::create_directories(DirGet());
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(DirGet(), ec);
    });
    return DirGet() / "F0407.rlg";
  }();
  return s_path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  static const char* const apszBom[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  const bool bAppend = nSize > 0 && (pData[0] & 1) != 0;
  {
    std::ofstream out(CatalogPath(), std::ios::binary | std::ios::trunc);
    out << apszBom[COLANG_FUZZ_BOM];
    if (nSize > 1) out.write(reinterpret_cast<const char*>(pData + 1), static_cast<std::streamsize>(nSize - 1));
  }

  XLMTranslDict dict;
  XLMTranslDictAccess::Insert(dict, XT("Open"), XT("Offnen"));
  XLMTranslDictAccess::Insert(dict, 7u, XT("Sieben"));
  dict.LangIDSet(0x0407);
  const XLMTranslDict::XMapTransl mapBefore = XLMTranslDictAccess::TranslMap(dict);
  const XLMTranslDict::XMapTransl mapRetranslBefore = XLMTranslDictAccess::RetranslMap(dict);
  const XLMTranslDict::XMapIdTransl mapIdBefore = XLMTranslDictAccess::IdMap(dict);

  const XString strName = colang::fuzz::TextFromBytes(reinterpret_cast<const std::uint8_t*>(CatalogPath().c_str()),
                                                      CatalogPath().native().size());
  if (!dict.RLGFileRead(strName.c_str(), bAppend)) {
    FUZZ_CHECK(dict.LangID() == 0x0407);
    FUZZ_CHECK(dict.RLGFilesLoaded().empty());
    FUZZ_CHECK(XLMTranslDictAccess::TranslMap(dict) == mapBefore);
    FUZZ_CHECK(XLMTranslDictAccess::RetranslMap(dict) == mapRetranslBefore);
    FUZZ_CHECK(XLMTranslDictAccess::IdMap(dict) == mapIdBefore);
    return 0;
  }
  FUZZ_CHECK(dict.LangID() == 0x0407);
  FUZZ_CHECK(dict.RLGFilesLoaded().size() == 1);
  // Every entry is found through the lookup index, and in both directions
  // the index agrees with the maps.
  for (const auto& [source, transl] : XLMTranslDictAccess::TranslMap(dict)) {
    FUZZ_CHECK(source.find(XChar(0)) == XStringView::npos && source.data()[source.size()] == 0);
    const XChar* pszFound = dict.CheckTranslate(source.data());
    FUZZ_CHECK(pszFound != nullptr && XStringView(pszFound) == transl);
  }
  for (const auto& [transl, source] : XLMTranslDictAccess::RetranslMap(dict)) {
    const XChar* pszFound = dict.CheckRetranslate(transl.data());
    FUZZ_CHECK(pszFound != nullptr && XStringView(pszFound) == source);
  }
  // Reading the same file again changes nothing.
  const std::size_t nEntries = XLMTranslDictAccess::TranslMap(dict).size();
  FUZZ_CHECK(dict.RLGFileRead(strName.c_str(), false));
  FUZZ_CHECK(XLMTranslDictAccess::TranslMap(dict).size() == nEntries);
  return 0;
}
