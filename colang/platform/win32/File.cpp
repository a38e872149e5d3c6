// File opening and bulk reading on Windows, with the system's share modes.
#include "colang/platform/File.h"

#include "colang/platform/Win32.h"

namespace colang::platform {

XFileHandle FileOpenRead(const XChar* pszName, unsigned nShare) {
  if (pszName == nullptr || pszName[0] == 0) return kFileInvalid;
  HANDLE hFile = CreateFileW(pszName, GENERIC_READ, nShare & (FILE_SHARE_READ | FILE_SHARE_WRITE), nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return hFile == INVALID_HANDLE_VALUE ? kFileInvalid : reinterpret_cast<XFileHandle>(hFile);
}

long long FileRead(XFileHandle hFile, void* pBuffer, std::size_t nSize) {
  if (hFile == kFileInvalid || pBuffer == nullptr) return -1;
  DWORD nWant = nSize > 0x40000000u ? 0x40000000u : static_cast<DWORD>(nSize);
  DWORD nRead = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(hFile), pBuffer, nWant, &nRead, nullptr)) return -1;
  return nRead;
}

long long FileSizeGet(XFileHandle hFile) {
  LARGE_INTEGER size{};
  if (hFile == kFileInvalid || !GetFileSizeEx(reinterpret_cast<HANDLE>(hFile), &size)) return -1;
  return size.QuadPart;
}

bool FileRewind(XFileHandle hFile) {
  LARGE_INTEGER zero{};
  return hFile != kFileInvalid && SetFilePointerEx(reinterpret_cast<HANDLE>(hFile), zero, nullptr, FILE_BEGIN);
}

void FileClose(XFileHandle hFile) {
  if (hFile != kFileInvalid) CloseHandle(reinterpret_cast<HANDLE>(hFile));
}

}  // namespace colang::platform
