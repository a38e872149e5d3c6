// Emulated environment variables and working directory.
#include "colang/platform/posix/WinEnv.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "colang/detail/TextCodec.h"
#include "colang/platform/posix/Utf8.h"

using colang::detail::TextFromUtf8;
using colang::detail::Utf8FromText;
using colang::platform::Utf8PathFromText;

namespace {

// Copies text to the caller's buffer with the Windows length rules.
DWORD Deliver(const XString& text, LPWSTR lpBuffer, DWORD nSize) {
  if (text.size() >= 0xFFFFFFFFu) return 0;
  DWORD cch = static_cast<DWORD>(text.size());
  if (lpBuffer == nullptr || nSize <= cch) return cch + 1;
  std::memcpy(lpBuffer, text.data(), text.size() * sizeof(XChar));
  lpBuffer[cch] = 0;
  return cch;
}

bool NameValid(LPCWSTR lpName) {
  if (lpName == nullptr || lpName[0] == 0) return false;
  for (LPCWSTR p = lpName; *p != 0; ++p)
    if (*p == XChar('=')) return false;
  return true;
}

}  // namespace

extern "C" {

DWORD WINAPI GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize) {
  const char* value = NameValid(lpName) ? std::getenv(Utf8FromText(lpName).c_str()) : nullptr;
  if (value == nullptr) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  XString text = TextFromUtf8(value);
  if (text.empty()) {
    SetLastError(ERROR_SUCCESS);
    return 0;
  }
  return Deliver(text, lpBuffer, nSize);
}

BOOL WINAPI SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue) {
  if (!NameValid(lpName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string name = Utf8FromText(lpName);
  int rc = lpValue == nullptr ? unsetenv(name.c_str()) : setenv(name.c_str(), Utf8FromText(lpValue).c_str(), 1);
  if (rc != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) {
  std::vector<char> buffer(256);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return 0;
    }
    buffer.resize(buffer.size() * 2);
  }
  return Deliver(TextFromUtf8(buffer.data()), lpBuffer, nBufferLength);
}

BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName) {
  if (lpPathName == nullptr || lpPathName[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (chdir(Utf8PathFromText(lpPathName).c_str()) != 0) {
    SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  return TRUE;
}
}
