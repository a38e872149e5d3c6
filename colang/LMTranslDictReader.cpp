// XLMTranslDict: reading catalog (RLG) files. A catalog is a language line
// (the identifier in four hex digits), a title line, then pairs of lines:
// source text and translation, with C-like escapes.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictText.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/PairBatch.h"
#include "colang/detail/Trace.h"
#include "colang/sibling/IntlStdioFile.h"

using colang::detail::HexScan;
using colang::detail::IDFromLine;
using colang::detail::TraceLocationSet;
using colang::detail::TraceReport;
using colang::detail::UnescapeTo;
using colang::detail::XModuleContextGuard;
using colang::detail::XPairBatch;

namespace {

// Decodes the file's next line straight into the batch's room for the next
// text, as it stands, and ends it with a zero; 0, or the reader's result.
// bPlain tells that the line surely holds no escape and no zero. Until
// BatchTextEnd the line is not kept: the next line read goes to the same
// place.
long BatchLineRead(XIntlStdioFile& file, XPairBatch& batch, XStringView& line, bool& bPlain) {
  // Room for all the file has left: the batch's block was made that large,
  // and what the lines before took, their line ends paid for.
  std::size_t nLength = 0;
  bool bMarked = true;
  XChar* p = batch.TextRoom(file.BytesUnread());
  const long nResult = file.LineRead(p, nLength, '\\', bMarked);
  // Zero-terminated, as the identifier check reads it; the room has space.
  p[nLength] = XChar(0);
  line = XStringView(p, nLength);
  bPlain = !bMarked;
  return nResult;
}

// Keeps the line just read as a text of the batch: its escapes resolved in
// place, ended at its first zero as a text handed to PairInsert is, and
// followed by a zero. A plain line is kept as it is.
XStringView BatchTextEnd(XPairBatch& batch, XStringView line, bool bPlain) {
  auto* p = const_cast<XChar*>(line.data());
  return batch.TextEnd(bPlain ? p + line.size() : UnescapeTo<true>(p, p, p + line.size()));
}

}  // namespace

XLMTranslDict::XLMTranslDict(const XChar* pszRLGFilename) : m_nLangID(0) { RLGFileRead(pszRLGFilename, false); }

bool XLMTranslDict::AuxRLGFileOpen(XString& strPath, XIntlStdioFile& file, const XChar* pszFilename) {
  if (pszFilename == nullptr) return false;
  strPath.clear();
  int nLangID = LangIDFromFilename(pszFilename);
  if (file.Open(XString(pszFilename), XIntlStdioFile::eOFShareDenyWrite, -1, XIntlStdioFile::eFTText) != 0)
    return false;
  strPath = file.GetFilePath();

  XString strLanguage, strTitle;
  std::uint32_t nValue = 0;
  bool bValid = file.ReadString(strLanguage) == 0 && file.ReadString(strTitle) == 0 &&
                HexScan(nValue, strLanguage.c_str()) == 4 && nValue == static_cast<std::uint32_t>(nLangID) &&
                !strTitle.empty();
  if (!bValid) file.Close();
  return bValid;
}

bool XLMTranslDict::RLGFileCheck(XString& strPath, const XChar* pszFilename) {
  XModuleContextGuard guard;
  XIntlStdioFile file(false);
  return AuxRLGFileOpen(strPath, file, pszFilename);
}

bool XLMTranslDict::RLGFileRead(const XChar* pszRLGFilename, bool bAppend) {
  XModuleContextGuard guard;
  XString strName;
  if (!RLGFilenameComplete(strName, pszRLGFilename)) {
    TraceLocationSet(".\\LMTranslDict", 353);
    TraceReport(XT("XLMTranslDict::RLGFileRead(\"%s\"): cannot adapt file name\n"), pszRLGFilename);
    return false;
  }
  int nFileLangID = LangIDFromFilename(strName.c_str());
  if (bAppend && m_nLangID > 0 && m_nLangID != nFileLangID) {
    TraceLocationSet(".\\LMTranslDict", 362);
    TraceReport(XT("XLMTranslDict::RLGFileRead(\"%s\"): contradiction to current LangID 0x%04x\n"), pszRLGFilename,
                static_cast<unsigned>(m_nLangID));
    return false;
  }
  XIntlStdioFile file(false);
  XString strPath;
  if (!AuxRLGFileOpen(strPath, file, strName.c_str())) {
    TraceLocationSet(".\\LMTranslDict", 372);
    TraceReport(XT("XLMTranslDict::RLGFileRead(%s): file open error\n"), pszRLGFilename);
    return false;
  }
  if (RLGFileLoadedSearch(strPath.c_str())) return true;

  if (!bAppend) Empty();
  // The entries are gathered first and then inserted together, each map in
  // key order, which ends as inserting them one by one would: the last pair
  // read under a key wins. Lines are decoded straight into the batch; an
  // empty source line, or an identifier line, is not kept. A pair whose
  // translation line cannot be read is dropped, and the read ends there.
  XPairBatch batch;
  // A line decodes to no more units than it has bytes, and its zero takes
  // the place of its line end; the last line may have none, and the read
  // that finds the end asks for one unit more.
  const std::size_t nBytes = file.BytesUnread();
  batch.UnitsExpect(nBytes + 2);
  constexpr std::size_t kPairsSample = 512;
  for (;;) {
    XStringView source, transl;
    bool bPlain = false;
    if (BatchLineRead(file, batch, source, bPlain) != 0) break;
    if (source.empty()) continue;
    const unsigned nID = IDFromLine(source);
    if (nID == 0) source = BatchTextEnd(batch, source, bPlain);
    if (BatchLineRead(file, batch, transl, bPlain) != 0) break;
    transl = BatchTextEnd(batch, transl, bPlain);
    if (nID != 0)
      batch.m_vecIds.push_back({nID, transl});
    else
      batch.PairAdd(source, transl);
    if (batch.m_vecPairs.size() == kPairsSample) batch.PairsExpect(nBytes, nBytes - file.BytesUnread());
  }
  // The file's bytes go before the maps are built, which may reuse them.
  file.Close();
  PairsInsert(batch);
  m_vecRLGFilesLoaded.push_back(strPath);
  m_nLangID = nFileLangID;
  return true;
}
