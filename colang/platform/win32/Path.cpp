// Full paths and the file status query on Windows: the system's own path
// functions.
#include "colang/platform/Path.h"

#include <vector>

#include "colang/platform/Win32.h"
#include "colang/platform/win32/FileName.h"

namespace colang::platform {

bool PathFullGet(const XChar* pszName, XString& strFull) {
  if (pszName == nullptr || pszName[0] == 0) return false;
  DWORD n = GetFullPathNameW(pszName, 0, nullptr, nullptr);
  if (n == 0) return false;
  std::vector<wchar_t> buffer(n);
  DWORD m = GetFullPathNameW(pszName, n, buffer.data(), nullptr);
  if (m == 0 || m >= n) return false;
  strFull.assign(buffer.data(), m);
  return true;
}

bool FileStatusQuery(const XChar* pszName, XString* pFullPath) {
  if (pszName == nullptr || pszName[0] == 0) return false;
  if (GetFileAttributesW(win32::NameOpenable(pszName).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  if (pFullPath != nullptr && !PathFullGet(pszName, *pFullPath)) return false;
  return true;
}

XStringView PathSeparatorsNative() { return XT("\\"); }

XStringView PathListSeparators() { return XT(";"); }

XString PathLoadedForm(const XString& strName) {
  // No access asked, so that a file that others hold open is still named;
  // the flag lets a directory open too, which no catalog path names.
  HANDLE hFile = CreateFileW(win32::NameOpenable(strName.c_str()).c_str(), 0,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) {
    XString strFull;
    return PathFullGet(strName.c_str(), strFull) ? strFull : strName;
  }
  XString strFinal = win32::FinalPathGet(hFile, strName.c_str());
  CloseHandle(hFile);
  return strFinal;
}

}  // namespace colang::platform
