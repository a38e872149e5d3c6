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
using colang::detail::StringUnescape;
using colang::detail::TraceLocationSet;
using colang::detail::TraceReport;
using colang::detail::XModuleContextGuard;
using colang::detail::XPairBatch;

namespace {

// Writes the text from p to pEnd to pOut with its escapes resolved, and
// returns the end of what it wrote, never more units than it read, so pOut
// may be p itself: a backslash and one of \\ ' ? a b f n r t v become the
// one character they stand for; any other backslash, one at the end
// included, stays with what follows it. With bToZero the text ends at its
// first zero, as a text handed to PairInsert does.
template <bool bToZero>
XChar* UnescapeTo(XChar* pOut, const XChar* p, const XChar* const pEnd) {
  while (p != pEnd) {
    // Most text has nothing to resolve: the units up to the next backslash
    // (or zero) are found and copied as one run.
    const XChar* pRun = p;
    for (; pEnd - pRun >= 4; pRun += 4) {
      const std::uint64_t nUnits = colang::detail::Units4(pRun);
      if (colang::detail::UnitsHave(nUnits, XChar('\\')) || (bToZero && colang::detail::UnitsHave(nUnits, XChar(0))))
        break;
    }
    while (pRun != pEnd && *pRun != XChar('\\') && !(bToZero && *pRun == XChar(0))) ++pRun;
    if (pRun != p) {
      pOut = pOut == p ? pOut + (pRun - p) : std::copy(p, pRun, pOut);
      p = pRun;
      if (p == pEnd) break;
    }
    XChar c = *p++;
    if (bToZero && c == XChar(0)) break;
    if (c == XChar('\\')) {
      if (p == pEnd || (bToZero && *p == XChar(0))) {
        *pOut++ = c;
        break;
      }
      c = *p++;
      switch (c) {
        case XChar('\\'):
        case XChar('\''):
        case XChar('?'):
          break;
        case XChar('a'):
          c = 0x07;
          break;
        case XChar('b'):
          c = 0x08;
          break;
        case XChar('f'):
          c = 0x0C;
          break;
        case XChar('n'):
          c = 0x0A;
          break;
        case XChar('r'):
          c = 0x0D;
          break;
        case XChar('t'):
          c = 0x09;
          break;
        case XChar('v'):
          c = 0x0B;
          break;
        default:
          *pOut++ = XChar('\\');
          break;
      }
    }
    *pOut++ = c;
  }
  return pOut;
}

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

namespace colang::detail {

unsigned IDFromLine(XStringView strLine) {
  if (strLine.size() < 2 || strLine[0] != XChar('#')) return 0;
  XStringView digits = strLine.substr(1);
  std::uint32_t nValue = 0;
  if (digits.size() > 2 && digits[0] == XChar('0') && (digits[1] == XChar('x') || digits[1] == XChar('X'))) {
    // HexScan stops at the first other character, a zero included, so a
    // whole match proves the line holds nothing else.
    if (HexScan(nValue, digits.data()) != digits.size()) return 0;
    return nValue;
  }
  for (XChar c : digits) {
    if (c < XChar('0') || c > XChar('9')) return 0;
    nValue = nValue * 10 + static_cast<unsigned>(c - XChar('0'));
  }
  return nValue;
}

void StringUnescape(XString& strLine) {
  if (strLine.find(XChar('\\')) == XString::npos) return;
  XChar* p = &strLine[0];
  strLine.resize(static_cast<std::size_t>(UnescapeTo<false>(p, p, p + strLine.size()) - p));
}

}  // namespace colang::detail

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
  constexpr std::size_t nPairsSample = 512;
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
    if (batch.m_vecPairs.size() == nPairsSample) batch.PairsExpect(nBytes, nBytes - file.BytesUnread());
  }
  // The file's bytes go before the maps are built, which may reuse them.
  file.Close();
  PairsInsert(batch);
  m_vecRLGFilesLoaded.push_back(strPath);
  m_nLangID = nFileLangID;
  return true;
}
