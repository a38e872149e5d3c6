// What the extract targets do with the resources they read: list them, make
// entries every way (the texts of a language, pairs of two, conflicts among
// them), and write the catalog and PO file, which must read back the same.
#pragma once

#include <string>

#include "Catalog.h"
#include "Extract.h"
#include "fuzz/FuzzSupport.h"

namespace colang::fuzz {

inline void ExtractAll(const rlgtool::XResFile& file) {
  std::string strMessages;
  rlgtool::XDiag diag(&strMessages, false);
  rlgtool::ExtractList(file);
  rlgtool::XExtractor extractor(rlgtool::XStringsAs::eBoth, true, diag);
  extractor.TextsAdd(file, 0x0409);
  extractor.PairsAdd(file, 0x0409, 0x0407);
  extractor.PairsAdd(file, 0x0007, 0x0000);
  const std::vector<rlgtool::XExtractEntry> vecEntries = extractor.Entries();
  rlgtool::ExtractPo(vecEntries, false, 0x0407, "fuzz");
  const rlgtool::XCatalog cat = rlgtool::CatalogParse(
      "Fuzz0407.rlg", rlgtool::TextDecode(rlgtool::TextEncode(rlgtool::ExtractCatalog(vecEntries, 0x0407),
                                                              rlgtool::XEncoding::eEncUtf8, true)));
  FUZZ_CHECK(cat.vecEntries.size() == vecEntries.size());
  for (std::size_t i = 0; i < vecEntries.size() && i < cat.vecEntries.size(); ++i) {
    FUZZ_CHECK(cat.vecEntries[i].strSource == vecEntries[i].strSource);
    FUZZ_CHECK(cat.vecEntries[i].strTransl == vecEntries[i].strTransl);
  }
}

}  // namespace colang::fuzz
