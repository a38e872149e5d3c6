// XLMTranslDict: catalog file names, language identifiers in names, and the
// completion of partial names.
#include "colang/LMTranslDict.h"
#include "colang/detail/DictText.h"
#include "colang/detail/Format.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/PathSplit.h"
#include "colang/detail/Trace.h"
#include "colang/etc.h"
#include "colang/platform/Path.h"

using colang::detail::HexFormat;
using colang::detail::PathSplit;
using colang::detail::XModuleContextGuard;

void XLMTranslDict::SetDefaultDir(const XChar* pszDir) {
  if (pszDir != nullptr) m_strDefaultDir.assign(pszDir);
  if (!m_strDefaultDir.empty() && m_strDefaultDir.back() != XChar('\\') && m_strDefaultDir.back() != XChar('/'))
    m_strDefaultDir += XChar('\\');
}

int XLMTranslDict::LangIDFromFilename(const XChar* pszFilename) {
  XModuleContextGuard guard;
  XString strFname;
  if (!PathSplit(pszFilename, nullptr, nullptr, &strFname, nullptr) || strFname.size() < 4) return 0;
  std::uint32_t nValue = 0;
  if (colang::detail::HexScan(nValue, strFname.c_str() + strFname.size() - 4) != 4) return 0;
  return static_cast<int>(nValue);
}

bool XLMTranslDict::RLGFilenameCheck(int& nLangID, const XChar* pszFilename) {
  XModuleContextGuard guard;
  int nFound = LangIDFromFilename(pszFilename);
  if (nFound <= 0) return false;
  nLangID = nFound;
  return true;
}

XString XLMTranslDict::RLGFilenameGen(const XChar* pszDir, const XChar* pszPrefix, int nLangID) {
  XModuleContextGuard guard;
  if (pszPrefix == nullptr || nLangID <= 0) return {};
  XString strName = pszDir != nullptr && pszDir[0] != 0 ? XString(pszDir) : XString(XT(".\\"));
  if (strName.back() != XChar('\\')) strName += XChar('\\');
  strName += pszPrefix;
  strName += HexFormat(static_cast<unsigned>(nLangID), 4);
  strName += XT(".rlg");
  return strName;
}

bool XLMTranslDict::RLGFilenameComplete(XString& strOut, const XChar* pszFilename) const {
  XModuleContextGuard guard;
  if (pszFilename == nullptr) return false;
  int nLangID = LangIDFromFilename(pszFilename);
  XString strDrive, strDir, strFile, strExt;
  PathSplit(pszFilename, &strDrive, &strDir, &strFile, &strExt);
  if (nLangID == 0) {
    if (m_nLangID == 0) return false;
    strFile += HexFormat(static_cast<unsigned>(m_nLangID), 4);
  }
  strFile += strExt.empty() ? XString(XT(".rlg")) : strExt;

  XString strResult;
  if (strDrive.empty() && strDir.empty()) {
    if (!m_strDefaultDir.empty()) {
      XString strJoined = m_strDefaultDir + strFile;
      if (colang::platform::FileStatusQuery(strJoined.c_str(), nullptr)) strResult = std::move(strJoined);
    }
    if (strResult.empty()) strResult = FilePathSearch(strFile.c_str());
  }
  if (strResult.empty()) strResult = strDrive + strDir + strFile;
  strOut = std::move(strResult);
  return true;
}

bool XLMTranslDict::RLGFileLoadedSearch(const XChar* pszFilename, unsigned* pnIndex) const {
  XModuleContextGuard guard;
  XString strName;
  if (!RLGFilenameComplete(strName, pszFilename)) {
    colang::detail::TraceLocationSet(".\\LMTranslDict", 250);
    colang::detail::TraceReport(XT("XLMTranslDict::RLGFileLoadedSearch(\"%s\"): error\n"), pszFilename);
    return false;
  }
  // The list holds each file's path in the form the reader took from the
  // open file. A name written in that form is found as it is; any other
  // spelling of an existing file is brought to it first.
  auto found = [this, pnIndex](const XString& strPath) {
    for (size_t i = 0; i < m_vecRLGFilesLoaded.size(); ++i) {
      if (m_vecRLGFilesLoaded[i] == strPath) {
        if (pnIndex != nullptr) *pnIndex = static_cast<unsigned>(i);
        return true;
      }
    }
    return false;
  };
  if (m_vecRLGFilesLoaded.empty()) return false;
  return found(strName) || found(colang::platform::PathLoadedForm(strName));
}
