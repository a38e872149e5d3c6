// XIntlStdioFile: the sibling library's text file reader. It reads a text
// file line by line as UTF-16 whatever the file's encoding.
//
// What a caller may rely on:
// - File type eFTText reads UTF-8 with or without byte order mark, and
//   UTF-16 LE or BE with one. A file without a mark that is not valid UTF-8
//   as a whole is read in a single-byte code page (Windows-1252 by default).
// - Lines end at LF, CRLF or CR; the terminator is not part of the line. A
//   last line without a terminator is still a line; a file that ends with a
//   terminator has no empty line after it.
// - Invalid sequences (and unpaired surrogates) read as U+FFFD, unless the
//   reader was made strict, in which case the read that meets one fails.
// - GetFilePath gives the full path in one form for every spelling of a name.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "colang/XString.h"
#include "colang/platform/File.h"
#include "colang/platform/FileMap.h"
#include "colang/platform/Memory.h"

class XIntlStdioFile {
 public:
  enum enumFileType { eFTText = 0 };
  // The open flags the reader knows: read access, and what others may do.
  enum enumOpenFlags : unsigned {
    eOFModeRead = 0x0000,
    eOFModeWrite = 0x0001,
    eOFModeReadWrite = 0x0002,
    eOFShareExclusive = 0x0010,
    eOFShareDenyWrite = 0x0020,
    eOFShareDenyRead = 0x0030,
    eOFShareDenyNone = 0x0040,
  };
  // Results of Open and ReadString: 0 on success.
  enum enumResult : long {
    eRSOk = 0,
    eRSEnd = 1,          // no more lines
    eRSReadError = 2,    // the file could not be read
    eRSInvalidText = 3,  // strict reader: an invalid sequence
    eRSNotOpen = 4,
    eRSOpenError = 5,    // the file could not be opened
    eRSBadArgument = 6,  // unknown file type, write access, or unknown code page
  };
  // Code page argument of Open: Windows-1252 for files that are not UTF.
  static constexpr int kCodePageDefault = -1;

  // No file open. bStrict makes invalid sequences fail the read instead of
  // reading as U+FFFD.
  explicit XIntlStdioFile(bool bStrict = false);
  virtual ~XIntlStdioFile();
  XIntlStdioFile(const XIntlStdioFile&) = delete;
  XIntlStdioFile& operator=(const XIntlStdioFile&) = delete;

  // Opens the file for reading (a file already open is closed first).
  // nOpenFlags: eOFModeRead with one share flag; eOFShareDenyWrite keeps
  // other writers out while the file is open (Windows only). nCodePage: the
  // code page of files that are not UTF, or kCodePageDefault. 0 when open.
  long Open(const XString& strPath, unsigned nOpenFlags, int nCodePage, enumFileType eFileType);
  // The next line into strLine (emptied first); 0, or eRSEnd after the last
  // line, or an error, which stays for every later call.
  long ReadString(XString& strLine);
  // ReadString for a caller that keeps lines in memory of its own, whose
  // room pOut holds all BytesUnread() units: the line's length goes to
  // nLength, and UTF-8 is decoded in the same pass that looks for its end.
  // bMarked is false only when the line surely holds no zero and no cMark
  // (an ASCII character), so that a caller looking for them may skip it.
  long LineRead(XChar* pOut, std::size_t& nLength, unsigned char cMark, bool& bMarked);
  // The open file's version (size and time of its last change); false when
  // no file is open or it cannot be told.
  bool StampGet(colang::platform::XFileStamp& stamp) const { return colang::platform::FileStampGet(m_hFile, stamp); }
  // The open file's full path; empty when no file is open.
  XString GetFilePath() const { return m_strPath; }
  bool IsOpen() const { return m_hFile != colang::platform::kFileInvalid; }
  // Closes the file; nothing happens when none is open.
  void Close();
  // The bytes loaded and not yet read: a bound on the code units the lines
  // still to come decode to, line ends included.
  std::size_t BytesUnread() const { return m_vecRaw.size() - std::min(m_nPos, m_vecRaw.size()); }

 private:
  enum enumEncoding { eENUtf8, eENUtf16LE, eENUtf16BE, eENCodePage };

  long EncodingDetect();
  long BytesLoad();
  // ReadString in two steps. LineFind finds the next line and gives in nRoom
  // the code units its text may need (0 when it fails); its result is
  // ReadString's. LineTake then decodes that line to pOut, which has room
  // for nRoom units, gives its length in nLength and moves past it; 0, or
  // an error, which stays.
  long LineFind(std::size_t& nRoom);
  long LineTake(XChar* pOut, std::size_t& nLength);
  // Decodes n bytes to pOut, which has room for LineRoom(n) units, and
  // gives the number written in nLength.
  bool LineDecode(const unsigned char* p, std::size_t n, XChar* pOut, std::size_t& nLength);
  std::size_t LineRoom(std::size_t n) const;

  bool m_bStrict;
  colang::platform::XFileHandle m_hFile = colang::platform::kFileInvalid;
  XString m_strPath;
  enumEncoding m_eEncoding = eENUtf8;
  unsigned m_nCodePage = 1252;
  std::size_t m_nSkip = 0;  // byte order mark to skip
  // The file's bytes, once loaded.
  std::vector<unsigned char, colang::platform::XBulkAllocator<unsigned char>> m_vecRaw;
  bool m_bLoaded = false;
  long m_nTail = eRSEnd;   // what follows the last byte loaded: the end or a read error
  std::size_t m_nPos = 0;  // the next line's first byte
  // The line LineFind found: where its text ends and where the line after it
  // starts; m_nFoundStop is SIZE_MAX when there is none.
  std::size_t m_nFoundStop = static_cast<std::size_t>(-1);
  std::size_t m_nFoundNext = 0;
  long m_nStatus = eRSOk;  // a sticky read error
};
