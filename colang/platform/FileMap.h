// Files mapped into memory read-only, what tells one version of a file from
// another, and files replaced in one step: for compiled catalogs, which
// processes map and share while one of them may put a new one in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "colang/XString.h"
#include "colang/platform/File.h"

namespace colang::platform {

// A version of a file: its size in bytes and the time of its last change,
// in nanoseconds since 1970.
struct XFileStamp {
  long long nSize = -1;
  long long nTime = 0;
};

// The stamp of an open regular file; false when it cannot be told.
bool FileStampGet(XFileHandle hFile, XFileStamp& stamp);

// The bytes of a file mapped read-only, for as long as the object lives;
// the pages are the system's file cache, shared with every process that
// maps the same file. Its last bytes (up to kTail) are also read through
// the file when it is mapped: a check of the file's end then maps none of
// its last pages into the process, since touching one page of a mapping
// maps the pages around it that the system holds.
class XFileMapping {
 public:
  static constexpr std::size_t kTail = 8;
  XFileMapping(const unsigned char* pData, std::size_t nSize, const unsigned char* pTail, std::size_t nTail)
      : m_pData(pData), m_nSize(nSize), m_nTail(nTail < kTail ? nTail : kTail) {
    for (std::size_t i = 0; i < m_nTail; ++i) m_aTail[i] = pTail[i];
  }
  ~XFileMapping();
  XFileMapping(const XFileMapping&) = delete;
  XFileMapping& operator=(const XFileMapping&) = delete;
  const unsigned char* Data() const { return m_pData; }
  std::size_t Size() const { return m_nSize; }
  // The file's last TailSize() bytes as read through the file.
  const unsigned char* Tail() const { return m_aTail; }
  std::size_t TailSize() const { return m_nTail; }

 private:
  const unsigned char* m_pData;
  std::size_t m_nSize;
  unsigned char m_aTail[kTail] = {};
  std::size_t m_nTail;
};

// Maps the whole of an existing regular file of 1 to nMaxBytes bytes; null
// when it cannot. On POSIX, a mapped file that another process shortens in
// place ends the reader with a bus error when it touches the lost pages;
// files meant to be mapped are therefore only ever replaced whole
// (FileReplace), never written in place.
std::shared_ptr<const XFileMapping> FileMap(const XChar* pszName, std::size_t nMaxBytes);

// Writes the bytes to a new file beside pszName and puts it in pszName's
// place in one step, so that a process that maps the file it replaces keeps
// its pages; on POSIX the new file is read-only, so that no one writes into
// it in place by mistake. False when it cannot be done; nothing is left
// behind then.
bool FileReplace(const XChar* pszName, std::string_view bytes);

}  // namespace colang::platform
