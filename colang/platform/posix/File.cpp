// File opening and bulk reading on POSIX. POSIX has no share modes, so the
// share argument is accepted and not enforced.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "colang/platform/File.h"
#include "colang/platform/Path.h"
#include "colang/platform/posix/FileFault.h"
#include "colang/platform/posix/Utf8.h"

namespace colang::platform {

namespace {
long long g_nFaultLeft = -1;
}  // namespace

void FileReadFaultSet(long long nBytes) { g_nFaultLeft = nBytes < 0 ? -1 : nBytes; }

XFileHandle FileOpenRead(const XChar* pszName, unsigned /*nShare*/) {
  if (pszName == nullptr || pszName[0] == 0) return kFileInvalid;
  int fd = open(Utf8PathFromText(pszName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kFileInvalid;
  // Windows does not open a directory as a file; neither do we.
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    return kFileInvalid;
  }
  return fd;
}

long long FileRead(XFileHandle hFile, void* pBuffer, std::size_t nSize) {
  if (hFile == kFileInvalid || pBuffer == nullptr) return -1;
  if (g_nFaultLeft >= 0) {
    if (g_nFaultLeft == 0) return -1;
    if (static_cast<long long>(nSize) > g_nFaultLeft) nSize = static_cast<std::size_t>(g_nFaultLeft);
  }
  ssize_t n;
  do {
    n = read(static_cast<int>(hFile), pBuffer, nSize);
  } while (n < 0 && errno == EINTR);
  if (n > 0 && g_nFaultLeft >= 0) g_nFaultLeft -= n;
  return n;
}

long long FileSizeGet(XFileHandle hFile) {
  struct stat st;
  if (hFile == kFileInvalid || fstat(static_cast<int>(hFile), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size);
}

bool FileRewind(XFileHandle hFile) { return hFile != kFileInvalid && lseek(static_cast<int>(hFile), 0, SEEK_SET) == 0; }

// The full path of the name, links not followed, as PathLoadedForm gives it.
XString FilePathGet(XFileHandle /*hFile*/, const XChar* pszName) {
  XString strFull;
  if (PathFullGet(pszName, strFull)) return strFull;
  return pszName != nullptr ? XString(pszName) : XString();
}

void FileClose(XFileHandle hFile) {
  if (hFile != kFileInvalid) close(static_cast<int>(hFile));
}

}  // namespace colang::platform
