// Fuzz target: catalog file names. Lines of the input: a file name, a default
// directory and a name stem. Names of any length and shape must neither crash
// nor write past the parts of the path splitter.
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "colang/CoLangTrans.h"
#include "colang/LMTranslDict.h"
#include "fuzz/FuzzSplit.h"

namespace {

// A working directory and a PATH of our own, so that searches stay small and
// never depend on the machine.
void SandboxEnter() {
  static const bool s_bDone = [] {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("colang-fuzz-names-" + std::to_string(getpid()));
    fs::create_directories(dir / "cwd");
    fs::current_path(dir / "cwd");
    setenv("PATH", (dir.string() + "/bin;;" + dir.string()).c_str(), 1);
    std::atexit([] {
      std::error_code ec;
      fs::current_path(fs::temp_directory_path(), ec);
      fs::remove_all(fs::temp_directory_path() / ("colang-fuzz-names-" + std::to_string(getpid())), ec);
    });
    return true;
  }();
  (void)s_bDone;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  SandboxEnter();
  std::vector<XString> vecLines = colang::fuzz::LinesFromBytes(pData, nSize);
  vecLines.resize(3);
  const XString& strName = vecLines[0];

  const int nLangID = XLMTranslDict::LangIDFromFilename(strName.c_str());
  FUZZ_CHECK(nLangID >= 0 && nLangID <= 0xFFFF);
  int nChecked = -1;
  FUZZ_CHECK(XLMTranslDict::RLGFilenameCheck(nChecked, strName.c_str()) == (nLangID > 0));
  FUZZ_CHECK(nLangID > 0 ? nChecked == nLangID : nChecked == -1);

  const int nGenID = nSize > 0 ? pData[0] | (pData[nSize - 1] << 8) : 0;
  const XString strGen = XLMTranslDict::RLGFilenameGen(vecLines[1].c_str(), vecLines[2].c_str(), nGenID);
  FUZZ_CHECK(strGen.empty() == (nGenID <= 0));
  // Within the splitter's room the digits just written are read back.
  if (!strGen.empty() && strGen.size() < 200)
    FUZZ_CHECK(XLMTranslDict::LangIDFromFilename(strGen.c_str()) == (nGenID & 0xFFFF));

  for (int nDictLang : {0, 0x0407}) {
    XLMTranslDict dict;
    dict.LangIDSet(nDictLang);
    dict.SetDefaultDir(vecLines[1].c_str());
    XString strOut = XT("untouched");
    const bool bDone = dict.RLGFilenameComplete(strOut, strName.c_str());
    if (!bDone) FUZZ_CHECK(strOut == XT("untouched"));
    FUZZ_CHECK(!dict.RLGFileLoadedSearch(strName.c_str()));
  }
  (void)FilePathSearch(strName.c_str());
  return 0;
}
