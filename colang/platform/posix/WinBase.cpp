// Emulated last-error value, code page conversion and debug output.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "colang/detail/TextCodec.h"
#include "colang/platform/Win32.h"

namespace {

thread_local DWORD g_dwLastError = ERROR_SUCCESS;

bool IsUtf8CodePage(UINT cp) { return cp == CP_ACP || cp == CP_THREAD_ACP || cp == CP_UTF8; }

// Copies a converted result to the caller's buffer with the Windows rules:
// a zero-sized buffer asks for the size, a short one fails.
template <typename Ch>
int Deliver(const std::basic_string<Ch>& converted, Ch* out, int cchOut) {
  if (converted.size() > 0x7FFFFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  int n = static_cast<int>(converted.size());
  if (cchOut == 0) return n;
  if (n > cchOut) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, converted.data(), converted.size() * sizeof(Ch));
  return n;
}

}  // namespace

extern "C" {

DWORD WINAPI GetLastError() { return g_dwLastError; }

void WINAPI SetLastError(DWORD dwErrCode) { g_dwLastError = dwErrCode; }

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
  if (lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
      (cchWideChar > 0 && lpWideCharStr == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t n = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  const auto* p = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
  XString converted;
  if (IsUtf8CodePage(CodePage)) {
    if ((dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    converted.resize(n);
    bool bOk;
    converted.resize(colang::detail::Utf8TextDecode(p, n, converted.data(), bOk));
    if (!bOk && (dwFlags & MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else if (CodePage == 1252) {
    converted.resize(n);
    std::transform(p, p + n, converted.begin(), colang::detail::Cp1252Decode);
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Deliver(converted, lpWideCharStr, cchWideChar);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
  if (lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
      (cbMultiByte > 0 && lpMultiByteStr == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!IsUtf8CodePage(CodePage)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // UTF-8 has no default character: Windows refuses one for CP_UTF8.
  if (lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if ((dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  size_t n = 0;
  if (cchWideChar == -1) {
    while (lpWideCharStr[n] != 0) ++n;
    ++n;
  } else {
    n = static_cast<size_t>(cchWideChar);
  }
  std::string converted;
  if (!colang::detail::Utf8TextEncode(XStringView(lpWideCharStr, n), converted) && (dwFlags & WC_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  return Deliver(converted, lpMultiByteStr, cbMultiByte);
}

void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (lpOutputString == nullptr) return;
  const char* env = std::getenv("COLANG_TRACE");
  if (env == nullptr || std::strcmp(env, "1") != 0) return;
  std::fputs(colang::detail::Utf8FromText(lpOutputString).c_str(), stderr);
}
}

extern "C" int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  MSGBOXPARAMSW params{};
  params.cbSize = sizeof params;
  params.hwndOwner = hWnd;
  params.lpszText = lpText;
  params.lpszCaption = lpCaption;
  params.dwStyle = uType;
  return MessageBoxIndirectW(&params);
}

extern "C" int WINAPI MessageBoxIndirectW(const MSGBOXPARAMSW* lpmbp) {
  if (lpmbp == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto narrow = [](LPCWSTR psz) { return psz != nullptr ? colang::detail::Utf8FromText(psz) : std::string(); };
  std::fprintf(stderr, "[%s] %s\n", lpmbp->lpszCaption ? narrow(lpmbp->lpszCaption).c_str() : "Error",
               narrow(lpmbp->lpszText).c_str());
  return IDOK;
}

extern "C" DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  if (hModule != nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  std::vector<char> buffer(256);
  ssize_t n;
  while ((n = readlink("/proc/self/exe", buffer.data(), buffer.size())) >= static_cast<ssize_t>(buffer.size()))
    buffer.resize(buffer.size() * 2);
  if (n < 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  const XString strPath = colang::detail::TextFromUtf8(std::string_view(buffer.data(), static_cast<size_t>(n)));
  if (nSize == 0 || lpFilename == nullptr) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const size_t nCopy = std::min<size_t>(strPath.size(), nSize - 1);
  std::copy_n(strPath.data(), nCopy, lpFilename);
  lpFilename[nCopy] = 0;
  if (nCopy < strPath.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  return static_cast<DWORD>(nCopy);
}
