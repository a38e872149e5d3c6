// Writing a whole file with POSIX calls.
#include "colang/platform/FileWrite.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "colang/platform/posix/Utf8.h"

namespace colang::platform {

bool FileWriteAll(const XChar* pszName, std::string_view bytes) {
  if (pszName == nullptr || *pszName == 0) return false;
  int fd = open(Utf8PathFromText(pszName).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool bOk = true;
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      bOk = false;
      break;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return close(fd) == 0 && bOk;
}

}  // namespace colang::platform
