// Fuzz target: reading resource scripts, and making catalogs of what they
// hold. The input is the script, then optionally two 0xFF bytes and what
// every #include reads. A script is read or refused with one error.
#include "RcScript.h"
#include "fuzz/FuzzExtract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  const std::string_view input(reinterpret_cast<const char*>(pData), nSize);
  const std::size_t nSplit = input.find("\xFF\xFF");
  const std::string strIncluded(nSplit == std::string_view::npos ? "" : input.substr(nSplit + 2));
  rlgtool::XRcOptions options;
  options.fnLoad = [&](const std::string&, std::string& strBytes) {
    strBytes = strIncluded;
    return nSplit != std::string_view::npos;
  };
  rlgtool::XResFile file;
  std::string strMessages;
  rlgtool::XDiag diag(&strMessages, false);
  const bool bRead = rlgtool::RcRead("fuzz.rc", input.substr(0, nSplit), options, diag, file);
  FUZZ_CHECK(diag.ErrorCount() == (bRead ? 0 : 1));
  if (bRead) colang::fuzz::ExtractAll(file);
  return 0;
}
