// Path splitting, full paths and the file status query on Windows: the C
// runtime's splitter and the system's own path functions.
#include "colang/platform/Path.h"

#include <cstdlib>
#include <vector>

#include "colang/platform/Win32.h"

namespace colang::platform {

bool PathSplit(const XChar* pszPath, XString* pDrive, XString* pDir, XString* pFname, XString* pExt) {
  XString* parts[] = {pDrive, pDir, pFname, pExt};
  for (XString* p : parts)
    if (p != nullptr) p->clear();
  if (pszPath == nullptr) return false;
  wchar_t szDrive[kPathDriveRoom];
  wchar_t szDir[kPathPartRoom];
  wchar_t szFname[kPathPartRoom];
  wchar_t szExt[kPathPartRoom];
  if (_wsplitpath_s(pszPath, szDrive, kPathDriveRoom, szDir, kPathPartRoom, szFname, kPathPartRoom, szExt,
                    kPathPartRoom) != 0)
    return false;
  if (pDrive != nullptr) pDrive->assign(szDrive);
  if (pDir != nullptr) pDir->assign(szDir);
  if (pFname != nullptr) pFname->assign(szFname);
  if (pExt != nullptr) pExt->assign(szExt);
  return true;
}

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
  if (GetFileAttributesW(pszName) == INVALID_FILE_ATTRIBUTES) return false;
  if (pFullPath != nullptr && !PathFullGet(pszName, *pFullPath)) return false;
  return true;
}

XStringView PathSeparatorsNative() { return XT("\\"); }

XStringView PathListSeparators() { return XT(";"); }

XString PathLoadedForm(const XString& strName) { return strName; }

}  // namespace colang::platform
