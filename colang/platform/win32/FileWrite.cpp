// Writing a whole file with the Windows file functions.
#include "colang/platform/FileWrite.h"

#include "colang/platform/Win32.h"

namespace colang::platform {

bool FileWriteAll(const XChar* pszName, std::string_view bytes) {
  if (pszName == nullptr || *pszName == 0) return false;
  HANDLE hFile = CreateFileW(pszName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return false;
  bool bOk = true;
  while (!bytes.empty()) {
    DWORD nChunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD nWritten = 0;
    if (!WriteFile(hFile, bytes.data(), nChunk, &nWritten, nullptr) || nWritten == 0) {
      bOk = false;
      break;
    }
    bytes.remove_prefix(nWritten);
  }
  return CloseHandle(hFile) != 0 && bOk;
}

}  // namespace colang::platform
