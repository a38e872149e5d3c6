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

// Appends text to out with its escapes resolved: a backslash and one of
// \\ ' ? a b f n r t v become the one character they stand for; any other
// backslash, one at the end included, stays with what follows it.
template <typename Out>
void UnescapeAppend(Out& out, XStringView text) {
  const XChar* p = text.data();
  const XChar* const pEnd = p + text.size();
  for (;;) {
    const XChar* pSlash = std::find(p, pEnd, XChar('\\'));
    out.insert(out.end(), p, pSlash);
    if (pSlash == pEnd) return;
    if (pSlash + 1 == pEnd) {
      out.push_back(XChar('\\'));
      return;
    }
    XChar c = pSlash[1];
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
        out.push_back(XChar('\\'));
        break;
    }
    out.push_back(c);
    p = pSlash + 2;
  }
}

// Adds a line's text to the batch, escapes resolved. Like a text handed to
// PairInsert, it ends at its first zero.
XPairBatch::XSpan BatchTextAdd(XPairBatch& batch, XStringView line) {
  line = line.substr(0, line.find(XChar(0)));
  const std::size_t nOffset = batch.m_vecText.size();
  UnescapeAppend(batch.m_vecText, line);
  return {nOffset, batch.m_vecText.size() - nOffset};
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
  XString strOut;
  strOut.reserve(strLine.size());
  UnescapeAppend(strOut, strLine);
  strLine = std::move(strOut);
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
  // read under a key wins. The two lines are reused from entry to entry.
  XPairBatch batch;
  XString strSource, strTransl;
  while (file.ReadString(strSource) == 0) {
    if (strSource.empty()) continue;
    if (file.ReadString(strTransl) != 0) continue;
    unsigned nID = IDFromLine(strSource);
    if (nID != 0) {
      batch.m_vecIds.push_back({nID, BatchTextAdd(batch, strTransl)});
    } else {
      XPairBatch::XSpan source = BatchTextAdd(batch, strSource);
      batch.m_vecPairs.push_back({source, BatchTextAdd(batch, strTransl)});
    }
  }
  PairsInsert(batch);
  m_vecRLGFilesLoaded.push_back(strPath);
  m_nLangID = nFileLangID;
  return true;
}
