// XLMTranslDict: reading catalog (RLG) files. A catalog is a language line
// (the identifier in four hex digits), a title line, then pairs of lines:
// source text and translation, with C-like escapes.
#include <algorithm>
#include <cstdint>
#include <new>
#include <string>
#include <utility>

#include "colang/LMTranslDict.h"
#include "colang/detail/Compiled.h"
#include "colang/detail/DictMaps.h"
#include "colang/detail/DictText.h"
#include "colang/detail/Globals.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/PairBatch.h"
#include "colang/detail/Trace.h"
#include "colang/platform/File.h"
#include "colang/platform/FileMap.h"
#include "colang/platform/Win32.h"
#include "colang/sibling/IntlStdioFile.h"

using colang::detail::HexScan;
using colang::detail::IDFromLine;
using colang::detail::TraceLocationSet;
using colang::detail::TraceReport;
using colang::detail::UnescapeTo;
using colang::detail::XCompiled;
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

// Whether a catalog read cleanly should be compiled: when a compiled catalog
// lies beside it already (one that did not match it, or the read would not
// have come here), when the environment variable COLANG_COMPILE is 1, or
// for rlgtool compile.
bool CompileWanted(const XString& strCompiled) {
  if (colang::detail::g_bCompileAlways) return true;
  XChar szValue[4] = {};
  if (GetEnvironmentVariableW(XT("COLANG_COMPILE"), szValue, 4) == 1 && szValue[0] == XChar('1')) return true;
  const colang::platform::XFileHandle hFile = colang::platform::FileOpenRead(strCompiled.c_str(), 0);
  colang::platform::FileClose(hFile);
  return hFile != colang::platform::kFileInvalid;
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

void XLMTranslDict::CompiledTake(const std::shared_ptr<const XCompiled>& pCompiled) {
  m_mapTransl->CompiledTake(pCompiled, false);
  m_mapRetransl->CompiledTake(pCompiled, true);
  m_mapIdTransl->CompiledTake(pCompiled);
}

bool XLMTranslDict::CompiledRead(const XString& strName, int nFileLangID, bool bAppend) {
  using namespace colang::platform;
  if (bAppend && !(m_mapTransl->empty() && m_mapRetransl->empty() && m_mapIdTransl->empty())) return false;
  // The catalog is opened as the reader opens it, for the same path, and
  // only its stamp is read.
  const XFileHandle hFile = FileOpenRead(strName.c_str(), eFSShareRead);
  if (hFile == kFileInvalid) return false;
  const XString strPath = FilePathGet(hFile, strName.c_str());
  XFileStamp stamp;
  const bool bStamp = FileStampGet(hFile, stamp);
  FileClose(hFile);
  if (!bStamp) return false;
  // The compiled catalog was made from a catalog of this stamp whose
  // language line held the language of the name: that catalog's header is
  // valid for this name.
  std::shared_ptr<const XCompiled> pCompiled = XCompiled::Open(XCompiled::NameOf(strPath).c_str(), stamp, nFileLangID);
  if (pCompiled == nullptr) return false;
  if (RLGFileLoadedSearch(strPath.c_str())) return true;
  if (!bAppend) Empty();
  m_vecRLGFilesLoaded.reserve(m_vecRLGFilesLoaded.size() + 1);
  CompiledTake(pCompiled);
  m_vecRLGFilesLoaded.push_back(strPath);
  m_nLangID = nFileLangID;
  return true;
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
  if (CompiledRead(strName, nFileLangID, bAppend)) return true;
  XIntlStdioFile file(false);
  XString strPath;
  if (!AuxRLGFileOpen(strPath, file, strName.c_str())) {
    TraceLocationSet(".\\LMTranslDict", 372);
    TraceReport(XT("XLMTranslDict::RLGFileRead(%s): file open error\n"), pszRLGFilename);
    return false;
  }
  if (RLGFileLoadedSearch(strPath.c_str())) return true;

  if (!bAppend) Empty();
  // A read that starts from nothing and ends at the end of an unchanged file
  // may be compiled.
  const bool bFromEmpty = m_mapTransl->empty() && m_mapRetransl->empty() && m_mapIdTransl->empty();
  colang::platform::XFileStamp stampBefore, stampAfter;
  const bool bStamped = file.StampGet(stampBefore);
  long nEnd = 0;
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
    if ((nEnd = BatchLineRead(file, batch, source, bPlain)) != 0) break;
    if (source.empty()) continue;
    const unsigned nID = IDFromLine(source);
    if (nID == 0) source = BatchTextEnd(batch, source, bPlain);
    if ((nEnd = BatchLineRead(file, batch, transl, bPlain)) != 0) break;
    transl = BatchTextEnd(batch, transl, bPlain);
    if (nID != 0)
      batch.m_vecIds.push_back({nID, transl});
    else
      batch.PairAdd(source, transl);
    if (batch.m_vecPairs.size() == kPairsSample) batch.PairsExpect(nBytes, nBytes - file.BytesUnread());
  }
  const bool bClean = nEnd == XIntlStdioFile::eRSEnd && bStamped && file.StampGet(stampAfter) &&
                      stampAfter.nSize == stampBefore.nSize && stampAfter.nTime == stampBefore.nTime;
  // The file's bytes go before the maps are built, which may reuse them.
  file.Close();
  PairsInsert(batch);
  m_vecRLGFilesLoaded.push_back(strPath);
  m_nLangID = nFileLangID;
  const XString strCompiled = XCompiled::NameOf(strPath);
  if (bClean && bFromEmpty && CompileWanted(strCompiled)) {
    // The compiled catalog is a help, never a condition: without memory for
    // it, or a place to write it, the read stands as it is.
    try {
      const std::string strBytes =
          XCompiled::Bytes(*m_mapTransl, *m_mapRetransl, *m_mapIdTransl, stampBefore, nFileLangID);
      if (!strBytes.empty()) colang::platform::FileReplace(strCompiled.c_str(), strBytes);
    } catch (const std::bad_alloc&) {
    }
  }
  return true;
}
