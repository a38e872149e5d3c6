// XIntlStdioFile: encoding detection, loading and line decoding.
//
// The file's bytes are read into memory in one pass, and each line is decoded
// from there straight into the caller's string, whose room is reused from
// line to line. A file without a byte order mark is UTF-8 only if all of it
// is, so it is loaded and checked at opening; a file with a mark is loaded
// when the first line is read.
#include "colang/sibling/IntlStdioFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "colang/detail/TextCodec.h"
#include "colang/platform/AsciiRun.h"
#include "colang/platform/Compiler.h"
#include "colang/platform/Win32.h"

using namespace colang::platform;
using colang::detail::Utf16Put;
using colang::detail::Utf8Decode;

namespace {

// How much to read at a time when the file's size is not known.
constexpr std::size_t kChunk = 1024 * 1024;

// Whether none of the 32 bytes at p has its high bit set.
bool Ascii32(const unsigned char* p) {
  std::uint64_t aw[4];
  std::memcpy(aw, p, sizeof aw);
  return ((aw[0] | aw[1] | aw[2] | aw[3]) & 0x8080808080808080ull) == 0;
}

// Widens eight ASCII bytes to eight code units. Through local arrays, so
// that the compiler sees the bytes and units apart and widens them all in a
// few vector instructions where it can.
inline void AsciiWiden8(const unsigned char* p, XChar* pOut) {
  unsigned char ab[8];
  XChar an[8];
  std::memcpy(ab, p, sizeof ab);
  for (int j = 0; j < 8; ++j) an[j] = ab[j];
  std::memcpy(pOut, an, sizeof an);
}

// How many of the eight bytes loaded into w come before the first one whose
// high bit is set in nFlags (at least one is).
unsigned BytesBeforeFlag(std::uint64_t nFlags) {
  static const bool bLittle = [] {
    const std::uint16_t n = 1;
    unsigned char b;
    std::memcpy(&b, &n, 1);
    return b == 1;
  }();
  return (bLittle ? colang::platform::LowZeroBits(nFlags) : colang::platform::HighZeroBits(nFlags)) / 8;
}

// Decodes UTF-8 from p[i] on to pOut[k] on, advancing both, up to the n-th
// byte or, with bToLineEnd, the first line end: ASCII in groups (of eight,
// and with bToLineEnd of sixteen first), the rest byte by byte. Each group of eight is widened whole, and the run
// goes on from its first byte that is not plain ASCII (or, with bToLineEnd,
// may end a line or is a zero or cMark); the units widened beyond it are
// written over later or lie past the end, so pOut needs room for n - i units
// from k on, k <= i. With bToLineEnd, bMarked is set when a zero or cMark
// is met. False where an ill-formed sequence stops it.
template <bool bToLineEnd>
bool Utf8Widen(const unsigned char* p, std::size_t n, XChar* pOut, std::size_t& i, std::size_t& k, unsigned char cMark,
               bool& bMarked) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  const std::uint64_t nMarks = kOnes * cMark;
  for (;;) {
    // With bToLineEnd, sixteen bytes at a time first where the processor
    // can; the eight-byte steps then take what is left before a stop.
    bool bStopped = false;
    if (bToLineEnd) {
      const std::size_t nRun = AsciiRunWiden(p + i, n - i, pOut + k, cMark, bStopped);
      i += nRun;
      k += nRun;
    }
    while (!bStopped && i + 8 <= n) {
      std::uint64_t w;
      std::memcpy(&w, p + i, sizeof w);
      // With bToLineEnd, bytes below 0x0E and bytes equal to cMark are
      // flagged too; each subtraction may flag bytes after the first one it
      // flags, never before it.
      std::uint64_t nFlags = w;
      if (bToLineEnd) {
        const std::uint64_t x = w ^ nMarks;
        nFlags |= ((w - 0x0E * kOnes) & ~w) | ((x - kOnes) & ~x);
      }
      nFlags &= kHighs;
      AsciiWiden8(p + i, pOut + k);
      if (nFlags == 0) {
        i += 8;
        k += 8;
        continue;
      }
      const unsigned nAscii = BytesBeforeFlag(nFlags);
      i += nAscii;
      k += nAscii;
      break;
    }
    if (i == n || (bToLineEnd && (p[i] == '\n' || p[i] == '\r'))) return true;
    if (p[i] < 0x80) {
      if (bToLineEnd && (p[i] == 0 || p[i] == cMark)) bMarked = true;
      pOut[k++] = p[i++];
      continue;
    }
    char32_t cp;
    bool bOk;
    const std::size_t nSequence = Utf8Decode(p + i, n - i, cp, bOk);
    if (!bOk) return false;
    k += Utf16Put(cp, pOut + k);
    i += nSequence;
  }
}

bool Utf8Valid(const unsigned char* p, std::size_t n) {
  std::size_t i = 0;
  for (;;) {
    // Straight to the next byte with its high bit set: 32 bytes at a time,
    // then eight, then one.
    while (i + 32 <= n && Ascii32(p + i)) i += 32;
    bool bFound = false;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t w;
      std::memcpy(&w, p + i, sizeof w);
      if (const std::uint64_t nFlags = w & 0x8080808080808080ull) {
        i += BytesBeforeFlag(nFlags);
        bFound = true;
        break;
      }
    }
    if (!bFound) {
      while (i < n && p[i] < 0x80) ++i;
      if (i == n) return true;
    }
    // Two-byte sequences, the most common ones, are checked here at once.
    if (p[i] >= 0xC2 && p[i] <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
      i += 2;
      continue;
    }
    char32_t cp;
    bool bOk;
    i += Utf8Decode(p + i, n - i, cp, bOk);
    if (!bOk) return false;
  }
}

// The first CR or LF byte in p[0, n), or n.
std::size_t ByteLineEnd(const unsigned char* p, std::size_t n) {
  std::size_t i = 0;
  // Eight bytes at a time: a byte below 0x0E has its own test further down.
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, sizeof w);
    // Bytes below 0x0E become ones with the high bit set (the usual
    // has-less-than trick); bytes of 0x80 and above are excluded.
    if (((w - 0x0E0E0E0E0E0E0E0Eull) & ~w & 0x8080808080808080ull) != 0) break;
  }
  for (; i < n; ++i)
    if (p[i] == '\n' || p[i] == '\r') return i;
  return n;
}

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
  m_strPath = FilePathGet(m_hFile, strPath.c_str());
  long nResult = EncodingDetect();
  if (nResult != eRSOk) {
    Close();
    return nResult;
  }
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
  bool bMark = true;
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
    bMark = false;
  }
  if (!FileRewind(m_hFile)) return eRSReadError;
  if (bMark) return eRSOk;
  // Without a mark the whole file decides; it is kept for reading its lines.
  long nResult = BytesLoad();
  if (nResult != eRSOk) return nResult;
  m_eEncoding = Utf8Valid(m_vecRaw.data(), m_vecRaw.size()) ? eENUtf8 : eENCodePage;
  m_bLoaded = true;
  m_nTail = eRSEnd;
  m_nPos = 0;
  return eRSOk;
}

long XIntlStdioFile::BytesLoad() {
  m_vecRaw.clear();
  long long nSize = FileSizeGet(m_hFile);
  // One byte beyond the size, so that the read which finds the end needs no
  // more room.
  std::size_t nRoom = nSize >= 0 && static_cast<unsigned long long>(nSize) < SIZE_MAX / 4
                          ? static_cast<std::size_t>(nSize) + 1
                          : kChunk;
  std::size_t nUsed = 0;
  for (;;) {
    // Running out of memory for the file leaves the read as the
    // out-of-memory exception, as every allocation of the library does.
    if (nUsed == m_vecRaw.size()) m_vecRaw.resize(std::max(nRoom, m_vecRaw.size() * 2));
    long long nRead = FileRead(m_hFile, m_vecRaw.data() + nUsed, m_vecRaw.size() - nUsed);
    if (nRead < 0) {
      m_vecRaw.resize(nUsed);
      return eRSReadError;
    }
    if (nRead == 0) break;
    nUsed += static_cast<std::size_t>(nRead);
  }
  m_vecRaw.resize(nUsed);
  return eRSOk;
}

std::size_t XIntlStdioFile::LineRoom(std::size_t n) const {
  // Never more UTF-16 units than bytes; a byte left over in UTF-16 reads as one.
  return m_eEncoding == eENUtf16LE || m_eEncoding == eENUtf16BE ? n / 2 + n % 2 : n;
}

bool XIntlStdioFile::LineDecode(const unsigned char* p, std::size_t n, XChar* pOut, std::size_t& nLength) {
  nLength = 0;
  if (n == 0) return true;
  bool bOk = true;
  if (m_eEncoding == eENUtf16LE || m_eEncoding == eENUtf16BE) {
    nLength = colang::detail::Utf16BytesDecode(p, n, m_eEncoding == eENUtf16LE, pOut, bOk);
  } else if (m_eEncoding == eENUtf8) {
    std::size_t i = 0, k = 0;
    bool bMarked = false;
    // The fast decoding stops at an ill-formed sequence; the rest of the line
    // is decoded with replacement characters.
    if (!Utf8Widen<false>(p, n, pOut, i, k, 0, bMarked))
      k += colang::detail::Utf8TextDecode(p + i, n - i, pOut + k, bOk);
    nLength = k;
  } else if (m_nCodePage == 1252 && std::none_of(p, p + n, [](unsigned char b) { return b >= 0x80; })) {
    std::copy(p, p + n, pOut);
    nLength = n;
  } else {
    const int nOut = MultiByteToWideChar(m_nCodePage, 0, reinterpret_cast<const char*>(p), static_cast<int>(n), pOut,
                                         static_cast<int>(n));
    if (nOut <= 0) {
      m_nStatus = m_bStrict ? eRSInvalidText : eRSReadError;
      return false;
    }
    nLength = static_cast<std::size_t>(nOut);
  }
  if (!bOk && m_bStrict) {
    m_nStatus = eRSInvalidText;
    return false;
  }
  return true;
}

long XIntlStdioFile::ReadString(XString& strLine) {
  strLine.clear();
  std::size_t nRoom = 0, nLength = 0;
  long nResult = LineFind(nRoom);
  if (nResult != eRSOk) return nResult;
  strLine.resize(nRoom);
  nResult = LineTake(strLine.data(), nLength);
  strLine.resize(nResult == eRSOk ? nLength : 0);
  return nResult;
}

long XIntlStdioFile::LineFind(std::size_t& nRoom) {
  nRoom = 0;
  m_nFoundStop = static_cast<std::size_t>(-1);
  if (!IsOpen()) return eRSNotOpen;
  if (m_nStatus != eRSOk) return m_nStatus;
  if (!m_bLoaded) {
    long nResult = BytesLoad();
    m_nTail = nResult == eRSOk ? eRSEnd : nResult;
    m_nPos = std::min(m_nSkip, m_vecRaw.size());
    m_bLoaded = true;
  }
  const unsigned char* p = m_vecRaw.data();
  const std::size_t n = m_vecRaw.size();
  const std::size_t nBegin = m_nPos;
  if (nBegin >= n) return m_nStatus = m_nTail;
  std::size_t nStop, nNext;
  if (m_eEncoding == eENUtf16LE || m_eEncoding == eENUtf16BE) {
    const bool bLE = m_eEncoding == eENUtf16LE;
    auto unit = [&](std::size_t i) { return colang::detail::Utf16Unit(p + i, bLE); };
    nStop = nBegin;
    while (nStop + 2 <= n && unit(nStop) != '\n' && unit(nStop) != '\r') nStop += 2;
    if (nStop + 2 <= n) {
      nNext = nStop + 2;
      if (unit(nStop) == '\r' && nNext + 2 <= n && unit(nNext) == '\n') nNext += 2;
    } else {
      nStop = nNext = n;
    }
  } else {
    nStop = nBegin + ByteLineEnd(p + nBegin, n - nBegin);
    nNext = nStop + 1;
    if (nStop < n && p[nStop] == '\r' && nNext < n && p[nNext] == '\n') ++nNext;
  }
  // A last line without a terminator counts only when the file really ended there.
  if (nStop == n && m_nTail != eRSEnd) return m_nStatus = m_nTail;
  m_nFoundStop = nStop;
  m_nFoundNext = nNext;
  nRoom = LineRoom(nStop - nBegin);
  return eRSOk;
}

long XIntlStdioFile::LineRead(XChar* pOut, std::size_t& nLength, unsigned char cMark, bool& bMarked) {
  nLength = 0;
  // Lines that are not decoded here may hold anything.
  bMarked = true;
  if (m_eEncoding != eENUtf8 || !m_bLoaded || m_nStatus != eRSOk || !IsOpen() || m_nPos >= m_vecRaw.size()) {
    std::size_t nRoom = 0;
    const long nResult = LineFind(nRoom);
    return nResult != eRSOk ? nResult : LineTake(pOut, nLength);
  }
  m_nFoundStop = static_cast<std::size_t>(-1);
  const unsigned char* p = m_vecRaw.data();
  const std::size_t n = m_vecRaw.size();
  std::size_t i = m_nPos, k = 0;
  bMarked = false;
  if (!Utf8Widen<true>(p, n, pOut, i, k, cMark, bMarked)) {
    // A line with an ill-formed sequence takes the two steps, which replace
    // it (or fail a strict read).
    bMarked = true;
    std::size_t nRoom = 0;
    const long nResult = LineFind(nRoom);
    return nResult != eRSOk ? nResult : LineTake(pOut, nLength);
  }
  // A last line without a terminator counts only when the file really ended there.
  if (i == n && m_nTail != eRSEnd) return m_nStatus = m_nTail;
  std::size_t nNext = i + 1;
  if (i < n && p[i] == '\r' && nNext < n && p[nNext] == '\n') ++nNext;
  m_nPos = std::min(nNext, n);
  nLength = k;
  return eRSOk;
}

long XIntlStdioFile::LineTake(XChar* pOut, std::size_t& nLength) {
  nLength = 0;
  if (m_nFoundStop == static_cast<std::size_t>(-1)) return m_nStatus != eRSOk ? m_nStatus : eRSNotOpen;
  const std::size_t nStop = m_nFoundStop;
  m_nFoundStop = static_cast<std::size_t>(-1);
  if (!LineDecode(m_vecRaw.data() + m_nPos, nStop - m_nPos, pOut, nLength)) {
    nLength = 0;
    return m_nStatus;
  }
  m_nPos = std::min(m_nFoundNext, m_vecRaw.size());
  return eRSOk;
}

void XIntlStdioFile::Close() {
  FileClose(m_hFile);
  m_hFile = kFileInvalid;
  m_strPath.clear();
  m_eEncoding = eENUtf8;
  m_nSkip = 0;
  decltype(m_vecRaw)().swap(m_vecRaw);
  m_bLoaded = false;
  m_nTail = eRSEnd;
  m_nPos = 0;
  m_nStatus = eRSOk;
  m_nFoundStop = static_cast<std::size_t>(-1);
}
