// XLMTranslDict: reading catalog (RLG) files. A catalog is a language line
// (the identifier in four hex digits), a title line, then pairs of lines:
// source text and translation, with C-like escapes.
#include <cstdint>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictText.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/Trace.h"
#include "colang/sibling/IntlStdioFile.h"

using colang::detail::HexScan;
using colang::detail::IDFromLine;
using colang::detail::StringUnescape;
using colang::detail::TraceLocationSet;
using colang::detail::TraceReport;
using colang::detail::XModuleContextGuard;

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
  // Rows: state (0 text, 1 after a backslash); columns: class of the
  // character (0 other, 1 escape letter, 2 backslash). Next state 2 means:
  // emit the pending backslash, then go on as in state 0.
  static constexpr int kNext[2][3] = {{0, 0, 1}, {2, 0, 0}};
  XString strOut;
  strOut.reserve(strLine.size());
  int nState = 0;
  for (std::size_t i = 0; i <= strLine.size(); ++i) {
    XChar c = i < strLine.size() ? strLine[i] : XChar(0);
    int nClass = 0;
    switch (c) {
      case XChar('\\'):
        nClass = 2;
        break;
      case XChar('\''):
      case XChar('?'):
      case XChar('a'):
      case XChar('b'):
      case XChar('f'):
      case XChar('n'):
      case XChar('r'):
      case XChar('t'):
      case XChar('v'):
        nClass = 1;
        break;
      default:
        break;
    }
    int nNext = kNext[nState][nClass];
    if (nNext == 2) {
      strOut += XChar('\\');
      nNext = 0;
    }
    if (i == strLine.size()) break;
    if (nState == 1) {
      switch (c) {
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
          break;
      }
      strOut += c;
    } else if (nNext != 1) {
      strOut += c;
    }
    nState = nNext;
  }
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
  // The two lines are reused from entry to entry: most lines fit the room
  // the ones before them left.
  XString strSource, strTransl;
  while (file.ReadString(strSource) == 0) {
    if (strSource.empty()) continue;
    if (file.ReadString(strTransl) != 0) continue;
    StringUnescape(strTransl);
    unsigned nID = IDFromLine(strSource);
    if (nID != 0) {
      PairInsert(nID, strTransl.c_str());
    } else {
      StringUnescape(strSource);
      PairInsert(strSource.c_str(), strTransl.c_str());
    }
  }
  m_vecRLGFilesLoaded.push_back(strPath);
  m_nLangID = nFileLangID;
  return true;
}
