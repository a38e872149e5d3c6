// Fuzz target: escape resolution of catalog lines, checked against a direct
// reading of the escape table.
#include "colang/detail/DictText.h"
#include "fuzz/FuzzSupport.h"

namespace {

XString UnescapeModel(const XString& strLine) {
  XString strOut;
  for (std::size_t i = 0; i < strLine.size(); ++i) {
    if (strLine[i] != XT('\\') || i + 1 == strLine.size()) {
      strOut += strLine[i];
      continue;
    }
    const XChar c = strLine[i + 1];
    XChar cMapped = 0;
    switch (c) {
      case XT('\\'):
      case XT('\''):
      case XT('?'):
        cMapped = c;
        break;
      case XT('a'):
        cMapped = 0x07;
        break;
      case XT('b'):
        cMapped = 0x08;
        break;
      case XT('f'):
        cMapped = 0x0C;
        break;
      case XT('n'):
        cMapped = 0x0A;
        break;
      case XT('r'):
        cMapped = 0x0D;
        break;
      case XT('t'):
        cMapped = 0x09;
        break;
      case XT('v'):
        cMapped = 0x0B;
        break;
      default:
        strOut += strLine[i];
        continue;  // the backslash stays; c is read next
    }
    strOut += cMapped;
    ++i;
  }
  return strOut;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  // Lines never hold a zero code unit past their end; the model works on the
  // text that the reader would pass.
  const XString strLine = colang::fuzz::TextTerminated(colang::fuzz::TextFromBytes(pData, nSize));
  XString strOut = strLine;
  colang::detail::StringUnescape(strOut);
  FUZZ_CHECK(strOut.size() <= strLine.size());
  FUZZ_CHECK(strOut == UnescapeModel(strLine));
  (void)colang::detail::IDFromLine(strLine);
  std::uint32_t nValue = 0;
  FUZZ_CHECK(colang::detail::HexScan(nValue, strLine.c_str()) <= strLine.size());
  return 0;
}
