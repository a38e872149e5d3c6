// Mapped files, file stamps and whole-file replacement with POSIX calls.
#include "colang/platform/FileMap.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "colang/platform/posix/Utf8.h"

namespace colang::platform {

bool FileStampGet(XFileHandle hFile, XFileStamp& stamp) {
  struct stat st;
  if (hFile == kFileInvalid || fstat(static_cast<int>(hFile), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  stamp.nSize = static_cast<long long>(st.st_size);
  stamp.nTime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return true;
}

XFileMapping::~XFileMapping() { munmap(const_cast<unsigned char*>(m_pData), m_nSize); }

std::shared_ptr<const XFileMapping> FileMap(const XChar* pszName, std::size_t nMaxBytes) {
  if (pszName == nullptr || *pszName == 0) return nullptr;
  const int fd = open(Utf8PathFromText(pszName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  void* p = MAP_FAILED;
  unsigned char aTail[XFileMapping::kTail];
  std::size_t nTail = 0;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
      static_cast<unsigned long long>(st.st_size) <= nMaxBytes) {
    nTail = std::min(static_cast<std::size_t>(st.st_size), sizeof aTail);
    if (pread(fd, aTail, nTail, st.st_size - static_cast<off_t>(nTail)) == static_cast<ssize_t>(nTail))
      p = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
  }
  close(fd);
  if (p == MAP_FAILED) return nullptr;
  try {
    return std::make_shared<const XFileMapping>(static_cast<const unsigned char*>(p),
                                                static_cast<std::size_t>(st.st_size), aTail, nTail);
  } catch (...) {
    munmap(p, static_cast<std::size_t>(st.st_size));
    throw;
  }
}

bool FileReplace(const XChar* pszName, std::string_view bytes) {
  if (pszName == nullptr || *pszName == 0) return false;
  const std::string strName = Utf8PathFromText(pszName);
  // A name of its own in the same directory, so that the rename stays on
  // one file system.
  std::string strTemp = strName + ".XXXXXX";
  const int fd = mkstemp(strTemp.data());
  if (fd < 0) return false;
  bool bOk = fchmod(fd, 0444) == 0;
  // A page at a time: the system keeps what one write brings in as one piece
  // of its file cache, and a process that maps the file and touches a byte of
  // a piece maps all of it, so that large pieces would show as resident in
  // every process far more than it uses.
  constexpr std::size_t kPage = 4096;
  while (bOk && !bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), std::min(bytes.size(), kPage));
    if (n < 0 && errno == EINTR) continue;
    bOk = n > 0;
    if (bOk) bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  bOk = close(fd) == 0 && bOk;
  if (bOk && rename(strTemp.c_str(), strName.c_str()) == 0) return true;
  unlink(strTemp.c_str());
  return false;
}

}  // namespace colang::platform
