// The search path for catalog files and the settings directory.
#include "colang/etc.h"

#include <new>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/SessionDataMng.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/PathSplit.h"
#include "colang/detail/Trace.h"
#include "colang/platform/Path.h"
#include "colang/platform/Win32.h"

using colang::detail::PathSplit;
using colang::detail::XModuleContextGuard;
using colang::platform::FileStatusQuery;

namespace {

constexpr DWORD kPathRoom = 4096;
constexpr DWORD kCurrentDirRoom = 256;

// A variable's value; empty when it is missing or empty. Values longer than
// the usual room are read in full rather than cut.
XString EnvironmentValue(const XChar* pszName, DWORD nRoom) {
  std::vector<WCHAR> buffer(nRoom);
  for (int nTry = 0; nTry < 4; ++nTry) {
    DWORD n = GetEnvironmentVariableW(pszName, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return XString(buffer.data(), n);
    buffer.resize(n);
  }
  return {};
}

// The working directory; a long one is read in full rather than cut.
XString CurrentDirectory() {
  std::vector<WCHAR> buffer(kCurrentDirRoom);
  for (int nTry = 0; nTry < 4; ++nTry) {
    DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0) return {};
    if (n < buffer.size()) return XString(buffer.data(), n);
    buffer.resize(n);
  }
  return {};
}

bool FoundAt(const XString& strName, XString& strFound) { return FileStatusQuery(strName.c_str(), &strFound); }

bool IsAsciiNoCaseEqual(const WCHAR* pszA, DWORD nA, const char* pszB) {
  DWORD i = 0;
  for (; i < nA && pszB[i] != 0; ++i) {
    auto fold = [](unsigned c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    if (fold(static_cast<unsigned>(pszA[i])) != fold(static_cast<unsigned char>(pszB[i]))) return false;
  }
  return i == nA && pszB[i] == 0;
}

// The REG_SZ value "Rlg_Path" (any case) of an open key; empty when there is none.
XString RegistryRLGPath(HKEY hKey) {
  for (DWORD nIndex = 0;; ++nIndex) {
    WCHAR szName[256];
    DWORD cchName = 256;
    WCHAR szData[256];
    DWORD cbData = 512;
    DWORD dwType = 0;
    if (RegEnumValueW(hKey, nIndex, szName, &cchName, nullptr, &dwType, reinterpret_cast<BYTE*>(szData), &cbData) !=
        ERROR_SUCCESS)
      return {};
    if (dwType != REG_SZ || !IsAsciiNoCaseEqual(szName, cchName, "Rlg_Path")) continue;
    // The data need not end with a zero: take no more than was stored.
    XStringView data(szData, cbData / sizeof(WCHAR));
    return XString(data.substr(0, data.find(WCHAR(0))));
  }
}

}  // namespace

XString FilePathSearch(const XChar* pszFilename) {
  if (pszFilename == nullptr) return {};
  XString strFound;
  if (FileStatusQuery(pszFilename, &strFound)) return strFound;

  XString strDrive, strDir, strFname, strExt;
  PathSplit(pszFilename, &strDrive, &strDir, &strFname, &strExt);
  const XString strFile = strFname + strExt;

  // The parent directory, never a root: for the working directory, its
  // drive letter and colon do not count.
  size_t nSkip = 0;
  if (strDir.empty()) {
    strDir = CurrentDirectory();
    if (strDir.size() >= 2 && strDir[1] == XChar(':')) nSkip = 2;
  }
  if (!strDir.empty() && (strDir.back() == XChar('\\') || strDir.back() == XChar('/'))) strDir.pop_back();
  size_t nLast = strDir.find_last_of(colang::platform::PathSeparatorsNative());
  if (nLast != XString::npos && nLast > nSkip) {
    if (FoundAt(strDrive + strDir.substr(0, nLast + 1) + strFile, strFound)) return strFound;
  }

  XString strSettings = RLGPathLookup();
  if (!strSettings.empty()) {
    if (strSettings.back() != XChar('\\')) strSettings += XChar('\\');
    if (FoundAt(strSettings + strFile, strFound)) return strFound;
  }

  XString strPath = EnvironmentValue(XT("PATH"), kPathRoom);
  if (strPath.empty()) {
    colang::detail::TraceLocationSet(".\\etc", 214);
    colang::detail::TraceReport(XT("FilePathSearch(\"%s\"): no PATH-environment variable\n"), pszFilename);
    return {};
  }
  XStringView rest(strPath);
  while (!rest.empty()) {
    size_t n = rest.find_first_of(colang::platform::PathListSeparators());
    XString strElement(rest.substr(0, n));
    rest.remove_prefix(n == XStringView::npos ? rest.size() : n + 1);
    if (strElement.empty()) continue;
    if (strElement.back() != XChar('\\')) strElement += XChar('\\');
    if (FoundAt(strElement + strFile, strFound)) return strFound;
  }
  return {};
}

XString RLGPathLookup() {
  const XString& strKept = XLMTranslDict::RLGPathGet();
  if (!strKept.empty()) return strKept;
  HKEY hKey = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, XT("SOFTWARE\\VARNOK\\Tessaloc\\common"), 0, KEY_READ, &hKey) !=
          ERROR_SUCCESS &&
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, XT("SOFTWARE\\GORVA\\Tessaloc\\common"), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return {};
  XString strDir = RegistryRLGPath(hKey);
  RegCloseKey(hKey);
  return strDir;
}

const XString& XLMTranslDict::RLGPathGet() {
  XModuleContextGuard guard;
  return m_strRLGPath;
}

bool XLMTranslDict::RLGPathInitialize(IQV_SessionDataMng* pSessionDataMng) {
  if (pSessionDataMng == nullptr) return false;
  // The variant is cleared on every way out, a throwing host included.
  struct XVariantOwner {
    VARIANT var;
    XVariantOwner() { VariantInit(&var); }
    ~XVariantOwner() { VariantClear(&var); }
  } value;

  BSTR bstrSection = SysAllocString(XT("common"));
  BSTR bstrKey = SysAllocString(XT("Rlg_Path"));
  if (bstrSection == nullptr || bstrKey == nullptr) {
    SysFreeString(bstrSection);
    SysFreeString(bstrKey);
    throw std::bad_alloc();
  }
  HRESULT hr = pSessionDataMng->ValueGet(bstrSection, bstrKey, 8, &value.var, 4);
  SysFreeString(bstrSection);
  SysFreeString(bstrKey);
  if (hr != 0 || VariantChangeType(&value.var, &value.var, 0, VT_BSTR) != 0) return false;
  m_strRLGPath.assign(value.var.bstrVal != nullptr ? value.var.bstrVal : XT(""));
  return true;
}
