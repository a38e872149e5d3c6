// Mapped files, file stamps and whole-file replacement with the Windows file
// functions. Windows refuses to shorten a file that a process maps, so a
// mapping never loses its pages.
#include "colang/platform/FileMap.h"

#include "colang/platform/Win32.h"
#include "colang/platform/win32/FileName.h"

namespace colang::platform {

namespace {
// Between 1601, where FILETIME counts from, and 1970, in 100 ns.
constexpr long long kFileTimeTo1970 = 116444736000000000LL;
}  // namespace

bool FileStampGet(XFileHandle hFile, XFileStamp& stamp) {
  if (hFile == kFileInvalid) return false;
  HANDLE h = reinterpret_cast<HANDLE>(hFile);
  LARGE_INTEGER size{};
  FILETIME ftWrite{};
  if (!GetFileSizeEx(h, &size) || !GetFileTime(h, nullptr, nullptr, &ftWrite)) return false;
  const long long nTicks =
      static_cast<long long>(static_cast<unsigned long long>(ftWrite.dwHighDateTime) << 32 | ftWrite.dwLowDateTime);
  stamp.nSize = size.QuadPart;
  stamp.nTime = (nTicks - kFileTimeTo1970) * 100;
  return true;
}

XFileMapping::~XFileMapping() { UnmapViewOfFile(m_pData); }

std::shared_ptr<const XFileMapping> FileMap(const XChar* pszName, std::size_t nMaxBytes) {
  if (pszName == nullptr || *pszName == 0) return nullptr;
  HANDLE hFile = CreateFileW(win32::NameOpenable(pszName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size{};
  const void* p = nullptr;
  unsigned char aTail[XFileMapping::kTail];
  DWORD nTail = 0;
  if (GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && static_cast<unsigned long long>(size.QuadPart) <= nMaxBytes) {
    nTail = size.QuadPart < static_cast<LONGLONG>(sizeof aTail) ? static_cast<DWORD>(size.QuadPart) : sizeof aTail;
    OVERLAPPED at{};
    const auto nTailAt = static_cast<unsigned long long>(size.QuadPart) - nTail;
    at.Offset = static_cast<DWORD>(nTailAt);
    at.OffsetHigh = static_cast<DWORD>(nTailAt >> 32);
    DWORD nRead = 0;
    if (ReadFile(hFile, aTail, nTail, &nRead, &at) && nRead == nTail) {
      if (HANDLE hMap = CreateFileMappingW(hFile, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
        p = MapViewOfFile(hMap, FILE_MAP_READ, 0, 0, 0);
        CloseHandle(hMap);  // the view keeps the mapping
      }
    }
  }
  CloseHandle(hFile);
  if (p == nullptr) return nullptr;
  try {
    return std::make_shared<const XFileMapping>(static_cast<const unsigned char*>(p),
                                                static_cast<std::size_t>(size.QuadPart), aTail, nTail);
  } catch (...) {
    UnmapViewOfFile(p);
    throw;
  }
}

bool FileReplace(const XChar* pszName, std::string_view bytes) {
  if (pszName == nullptr || *pszName == 0) return false;
  const XString strName = win32::NameOpenable(pszName);
  const XString strTemp = strName + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE hFile = CreateFileW(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return false;
  bool bOk = true;
  while (bOk && !bytes.empty()) {
    const DWORD nChunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD nWritten = 0;
    bOk = WriteFile(hFile, bytes.data(), nChunk, &nWritten, nullptr) && nWritten > 0;
    if (bOk) bytes.remove_prefix(nWritten);
  }
  bOk = CloseHandle(hFile) && bOk;
  if (bOk && MoveFileExW(strTemp.c_str(), strName.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFileW(strTemp.c_str());
  return false;
}

}  // namespace colang::platform
