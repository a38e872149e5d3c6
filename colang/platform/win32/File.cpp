// File opening and bulk reading on Windows, with the system's share modes.
#include "colang/platform/File.h"

#include <vector>

#include "colang/platform/Path.h"
#include "colang/platform/Win32.h"
#include "colang/platform/win32/FileName.h"

namespace colang::platform {

namespace win32 {

namespace {

constexpr XStringView kExtendedPrefix = L"\\\\?\\";
constexpr XStringView kExtendedUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(XStringView text, XStringView prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsAbsoluteDrivePath(XStringView name) {
  return name.size() >= 3 && name[1] == L':' && (name[2] == L'\\' || name[2] == L'/');
}

}  // namespace

XString NameOpenable(const XChar* pszName) {
  XStringView name(pszName);
  if (StartsWith(name, kExtendedPrefix) || (IsAbsoluteDrivePath(name) && name.size() < MAX_PATH)) {
    return XString(name);
  }
  XString strFull;
  if (!PathFullGet(pszName, strFull) || strFull.size() < MAX_PATH) return XString(name);
  if (StartsWith(strFull, L"\\\\")) return XString(kExtendedUncPrefix) + strFull.substr(2);
  return XString(kExtendedPrefix) + strFull;
}

XString FinalPathGet(HANDLE hFile, const XChar* pszName) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetFinalPathNameByHandleW(hFile, buffer.data(), static_cast<DWORD>(buffer.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) break;
    if (n >= buffer.size()) {  // too small: n is the room needed, zero included
      buffer.resize(n + 1);
      continue;
    }
    XStringView path(buffer.data(), n);
    if (StartsWith(path, kExtendedUncPrefix)) return L"\\\\" + XString(path.substr(kExtendedUncPrefix.size()));
    if (StartsWith(path, kExtendedPrefix)) path.remove_prefix(kExtendedPrefix.size());
    return XString(path);
  }
  // Some network redirectors cannot name an open file's volume; the full
  // path of its name is then the best form there is, though spellings that
  // differ in case or short names stay apart.
  XString strFull;
  if (PathFullGet(pszName, strFull)) return strFull;
  return pszName != nullptr ? XString(pszName) : XString();
}

}  // namespace win32

XFileHandle FileOpenRead(const XChar* pszName, unsigned nShare) {
  if (pszName == nullptr || pszName[0] == 0) return kFileInvalid;
  HANDLE hFile =
      CreateFileW(win32::NameOpenable(pszName).c_str(), GENERIC_READ, nShare & (FILE_SHARE_READ | FILE_SHARE_WRITE),
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
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

XString FilePathGet(XFileHandle hFile, const XChar* pszName) {
  return win32::FinalPathGet(reinterpret_cast<HANDLE>(hFile), pszName);
}

void FileClose(XFileHandle hFile) {
  if (hFile != kFileInvalid) CloseHandle(reinterpret_cast<HANDLE>(hFile));
}

}  // namespace colang::platform
