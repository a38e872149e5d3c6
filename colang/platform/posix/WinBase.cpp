// Emulated last-error value, code page conversion and debug output.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "colang/platform/Utf8Decode.h"
#include "colang/platform/Win32.h"
#include "colang/platform/posix/Utf8.h"

namespace {

thread_local DWORD g_dwLastError = ERROR_SUCCESS;

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; the five undefined ones map to the C1
// control of the same value, as Windows does.
constexpr char16_t k1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsUtf8CodePage(UINT cp) { return cp == CP_ACP || cp == CP_THREAD_ACP || cp == CP_UTF8; }

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

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
  std::u16string converted;
  converted.reserve(n);
  if (IsUtf8CodePage(CodePage)) {
    if ((dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    for (size_t i = 0; i < n;) {
      char32_t cp;
      bool ok;
      i += colang::platform::Utf8Decode(p + i, n - i, cp, ok);
      if (!ok && (dwFlags & MB_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
      }
      char16_t units[2];
      converted.append(units, colang::platform::Utf16Put(cp, units));
    }
  } else if (CodePage == 1252) {
    for (size_t i = 0; i < n; ++i) {
      unsigned char b = p[i];
      converted.push_back(b >= 0x80 && b <= 0x9F ? k1252High[b - 0x80] : static_cast<char16_t>(b));
    }
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
  converted.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    char32_t cp = lpWideCharStr[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && lpWideCharStr[i + 1] >= 0xDC00 && lpWideCharStr[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (lpWideCharStr[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      if (dwFlags & WC_ERR_INVALID_CHARS) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
      }
      cp = kReplacement;
    }
    AppendUtf8(converted, cp);
  }
  return Deliver(converted, lpMultiByteStr, cbMultiByte);
}

void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (lpOutputString == nullptr) return;
  const char* env = std::getenv("COLANG_TRACE");
  if (env == nullptr || std::strcmp(env, "1") != 0) return;
  int n = WideCharToMultiByte(CP_UTF8, 0, lpOutputString, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return;
  std::string text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, lpOutputString, -1, text.data(), n, nullptr, nullptr);
  std::fputs(text.c_str(), stderr);
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
  auto narrow = [](LPCWSTR psz) { return psz != nullptr ? colang::platform::Utf8FromText(psz) : std::string(); };
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
  const XString strPath = colang::platform::TextFromUtf8(std::string_view(buffer.data(), static_cast<size_t>(n)));
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
