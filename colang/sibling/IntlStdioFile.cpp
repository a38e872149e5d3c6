// XIntlStdioFile: encoding detection, bulk decoding and line splitting.
//
// The file is read in chunks and decoded chunk by chunk; a sequence cut by
// the end of a chunk waits for the next one. A file without a byte order mark
// is UTF-8 only if all of it is, so it is checked once in full before reading.
#include "colang/sibling/IntlStdioFile.h"

#include <algorithm>
#include <cstring>

#include "colang/platform/Path.h"
#include "colang/platform/Win32.h"

using namespace colang::platform;

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// Room for a chunk and what a cut sequence leaves over from the one before.
constexpr std::size_t kRawRoom = kChunk + 4;
constexpr XChar kReplacement = 0xFFFD;

// The bytes of complete UTF-8 sequences at the start of p[0, n): a lead byte
// among the last three whose sequence runs past the end is left over.
std::size_t Utf8CompleteLength(const unsigned char* p, std::size_t n) {
  for (std::size_t k = 1; k <= 3 && k <= n; ++k) {
    unsigned char b = p[n - k];
    if ((b & 0xC0) == 0x80) continue;
    if (b < 0xC0) return n;
    std::size_t nNeed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    return nNeed > k ? n - k : n;
  }
  return n;
}

bool IsAscii(const unsigned char* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] >= 0x80) return false;
  return true;
}

bool IsHighSurrogate(XChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(XChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

XIntlStdioFile::XIntlStdioFile(bool bStrict) : m_bStrict(bStrict) {}

XIntlStdioFile::~XIntlStdioFile() { Close(); }

long XIntlStdioFile::Open(const XString& strPath, unsigned nOpenFlags, int nCodePage, enumFileType eFileType) {
  Close();
  if (eFileType != eFTText || (nOpenFlags & (eOFModeWrite | eOFModeReadWrite)) != 0) return eRSBadArgument;
  if (nCodePage != kCodePageDefault && nCodePage < 0) return eRSBadArgument;
  m_nCodePage = nCodePage == kCodePageDefault ? 1252u : static_cast<unsigned>(nCodePage);
  XChar cProbe;
  if (MultiByteToWideChar(m_nCodePage, 0, "A", 1, &cProbe, 1) != 1) return eRSBadArgument;

  unsigned nShare;
  switch (nOpenFlags & 0x70) {
    case eOFShareExclusive:
      nShare = eFSShareNone;
      break;
    case eOFShareDenyWrite:
      nShare = eFSShareRead;
      break;
    case eOFShareDenyRead:
      nShare = eFSShareWrite;
      break;
    default:
      nShare = eFSShareRead | eFSShareWrite;
      break;
  }
  m_hFile = FileOpenRead(strPath.c_str(), nShare);
  if (m_hFile == kFileInvalid) return eRSOpenError;
  if (!PathFullGet(strPath.c_str(), m_strPath)) m_strPath = strPath;
  long nResult = EncodingDetect();
  if (nResult != eRSOk) {
    Close();
    return nResult;
  }
  m_vecRaw.resize(kRawRoom);
  return eRSOk;
}

long XIntlStdioFile::EncodingDetect() {
  unsigned char bom[4];
  std::size_t n = 0;
  while (n < sizeof bom) {
    long long nRead = FileRead(m_hFile, bom + n, sizeof bom - n);
    if (nRead < 0) return eRSReadError;
    if (nRead == 0) break;
    n += static_cast<std::size_t>(nRead);
  }
  m_nSkip = 0;
  if (n >= 3 && bom[0] == 0xEF && bom[1] == 0xBB && bom[2] == 0xBF) {
    m_eEncoding = eENUtf8;
    m_nSkip = 3;
  } else if (n >= 2 && bom[0] == 0xFF && bom[1] == 0xFE) {
    m_eEncoding = eENUtf16LE;
    m_nSkip = 2;
  } else if (n >= 2 && bom[0] == 0xFE && bom[1] == 0xFF) {
    m_eEncoding = eENUtf16BE;
    m_nSkip = 2;
  } else {
    bool bValid = false;
    long nResult = Utf8Check(bValid);
    if (nResult != eRSOk) return nResult;
    m_eEncoding = bValid ? eENUtf8 : eENCodePage;
  }
  return FileRewind(m_hFile) ? eRSOk : eRSReadError;
}

long XIntlStdioFile::Utf8Check(bool& bValid) {
  if (!FileRewind(m_hFile)) return eRSReadError;
  std::vector<unsigned char> buffer(kRawRoom);
  std::size_t nCarry = 0;
  for (;;) {
    long long nRead = FileRead(m_hFile, buffer.data() + nCarry, kChunk);
    if (nRead < 0) return eRSReadError;
    std::size_t nTotal = nCarry + static_cast<std::size_t>(nRead);
    bool bEnd = nRead == 0;
    std::size_t nCut = bEnd ? nTotal : Utf8CompleteLength(buffer.data(), nTotal);
    if (nCut > 0 && !IsAscii(buffer.data(), nCut) &&
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(buffer.data()),
                            static_cast<int>(nCut), nullptr, 0) == 0) {
      bValid = false;
      return eRSOk;
    }
    std::memmove(buffer.data(), buffer.data() + nCut, nTotal - nCut);
    nCarry = nTotal - nCut;
    if (bEnd) {
      bValid = true;
      return eRSOk;
    }
  }
}

void XIntlStdioFile::RawDecode(std::size_t nBytes, bool bEnd) {
  auto* p = reinterpret_cast<unsigned char*>(m_vecRaw.data());
  std::size_t nCut = nBytes;
  if (m_eEncoding == eENUtf8 || m_eEncoding == eENCodePage) {
    unsigned nCodePage = m_eEncoding == eENUtf8 ? static_cast<unsigned>(CP_UTF8) : m_nCodePage;
    if (m_eEncoding == eENUtf8 && !bEnd) nCut = Utf8CompleteLength(p, nBytes);
    if ((m_eEncoding == eENUtf8 || m_nCodePage == 1252) && IsAscii(p, nCut)) {
      // Most of a catalog is ASCII, which needs no conversion.
      m_strText.assign(p, p + nCut);
    } else if (nCut > 0) {
      // Never more UTF-16 units than bytes.
      m_strText.resize(nCut);
      DWORD dwFlags = m_bStrict && m_eEncoding == eENUtf8 ? MB_ERR_INVALID_CHARS : 0;
      int n = MultiByteToWideChar(nCodePage, dwFlags, reinterpret_cast<const char*>(p), static_cast<int>(nCut),
                                  m_strText.data(), static_cast<int>(nCut));
      if (n <= 0) {
        m_strText.clear();
        m_nStatus = m_bStrict ? eRSInvalidText : eRSReadError;
        return;
      }
      m_strText.resize(static_cast<std::size_t>(n));
    }
  } else {
    bool bLE = m_eEncoding == eENUtf16LE;
    std::size_t nUnits = nBytes / 2;
    m_strText.resize(nUnits);
    for (std::size_t i = 0; i < nUnits; ++i) {
      unsigned b0 = p[2 * i], b1 = p[2 * i + 1];
      m_strText[i] = static_cast<XChar>(bLE ? (b1 << 8 | b0) : (b0 << 8 | b1));
    }
    // A high surrogate at the end may find its partner in the next chunk.
    if (!bEnd && nUnits > 0 && IsHighSurrogate(m_strText[nUnits - 1])) m_strText.resize(--nUnits);
    nCut = nUnits * 2;
    bool bInvalid = false;
    for (std::size_t i = 0; i < nUnits; ++i) {
      if (IsHighSurrogate(m_strText[i]) && i + 1 < nUnits && IsLowSurrogate(m_strText[i + 1])) {
        ++i;
      } else if (IsHighSurrogate(m_strText[i]) || IsLowSurrogate(m_strText[i])) {
        m_strText[i] = kReplacement;
        bInvalid = true;
      }
    }
    if (bEnd && nBytes % 2 != 0) {
      m_strText += kReplacement;
      nCut = nBytes;
      bInvalid = true;
    }
    if (bInvalid && m_bStrict) {
      m_strText.clear();
      m_nStatus = eRSInvalidText;
      return;
    }
  }
  std::memmove(p, p + nCut, nBytes - nCut);
  m_nRaw = nBytes - nCut;
}

bool XIntlStdioFile::TextRefill() {
  m_strText.clear();
  m_nTextPos = 0;
  while (m_nStatus == eRSOk) {
    if (!m_bRawEnd) {
      long long nRead = FileRead(m_hFile, m_vecRaw.data() + m_nRaw, kChunk);
      if (nRead < 0) {
        m_nStatus = eRSReadError;
        return false;
      }
      m_nRaw += static_cast<std::size_t>(nRead);
      m_bRawEnd = nRead == 0;
      if (m_nSkip > 0) {
        std::size_t n = std::min(m_nSkip, m_nRaw);
        std::memmove(m_vecRaw.data(), m_vecRaw.data() + n, m_nRaw - n);
        m_nRaw -= n;
        m_nSkip -= n;
      }
    }
    RawDecode(m_nRaw, m_bRawEnd);
    if (!m_strText.empty()) return true;
    if (m_bRawEnd && m_nRaw == 0) return false;
  }
  return false;
}

long XIntlStdioFile::ReadString(XString& strLine) {
  strLine.clear();
  if (!IsOpen()) return eRSNotOpen;
  bool bAny = false;
  for (;;) {
    if (m_nStatus != eRSOk) return m_nStatus;
    if (m_nTextPos >= m_strText.size() && !TextRefill()) {
      if (m_nStatus != eRSOk) return m_nStatus;
      return bAny ? eRSOk : eRSEnd;
    }
    if (m_bCRPending) {
      m_bCRPending = false;
      if (m_strText[m_nTextPos] == XChar('\n')) {
        ++m_nTextPos;
        continue;
      }
    }
    const XChar* pBegin = m_strText.data() + m_nTextPos;
    const XChar* pEnd = m_strText.data() + m_strText.size();
    const XChar* pStop = std::find_if(pBegin, pEnd, [](XChar c) { return c == XChar('\n') || c == XChar('\r'); });
    strLine.append(pBegin, pStop);
    if (pStop != pEnd) {
      m_bCRPending = *pStop == XChar('\r');
      m_nTextPos = static_cast<std::size_t>(pStop - m_strText.data()) + 1;
      return eRSOk;
    }
    m_nTextPos = m_strText.size();
    bAny = true;
  }
}

void XIntlStdioFile::Close() {
  FileClose(m_hFile);
  m_hFile = kFileInvalid;
  m_strPath.clear();
  m_eEncoding = eENUtf8;
  m_nSkip = 0;
  std::vector<char>().swap(m_vecRaw);
  m_nRaw = 0;
  m_bRawEnd = false;
  XString().swap(m_strText);
  m_nTextPos = 0;
  m_bCRPending = false;
  m_nStatus = eRSOk;
}
