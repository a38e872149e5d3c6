// Fuzz target: reading programs (PE files) and .res files, and making
// catalogs of what they hold. Any bytes are read or refused with a reason.
#include "ResBinary.h"
#include "fuzz/FuzzExtract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  const std::string_view bytes(reinterpret_cast<const char*>(pData), nSize);
  for (auto pfnRead : {&rlgtool::PeRead, &rlgtool::ResRead}) {
    rlgtool::XResFile file;
    std::string strError;
    const bool bRead = pfnRead(bytes, file, strError);
    FUZZ_CHECK(bRead == strError.empty());
    if (bRead) colang::fuzz::ExtractAll(file);
  }
  return 0;
}
