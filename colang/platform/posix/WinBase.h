// Emulated Windows base types, error codes, code page conversion and debug
// output. WCHAR is the library's XChar (UTF-16); the ANSI code page is UTF-8.
#pragma once

#include <cstdint>

#include "colang/platform/Char.h"
#include "colang/platform/Export.h"

using BYTE = unsigned char;
using WORD = unsigned short;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using BOOL = int;
using WCHAR = XChar;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPBOOL = BOOL*;
using LPDWORD = DWORD*;
using LPVOID = void*;
using HRESULT = std::int32_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define WINAPI
#define CALLBACK
#define STDMETHODCALLTYPE

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_ENVVAR_NOT_FOUND 203L

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define CP_ACP 0
#define CP_THREAD_ACP 3
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_ERR_INVALID_CHARS 0x00000080

extern "C" {
COLANG_API DWORD WINAPI GetLastError();
COLANG_API void WINAPI SetLastError(DWORD dwErrCode);

// The ANSI and thread code pages are UTF-8 here; code page 1252 is
// Windows-1252. Invalid UTF-8 becomes U+FFFD, or fails the call with
// ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS.
COLANG_API int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                          LPWSTR lpWideCharStr, int cchWideChar);
COLANG_API int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                          LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                          LPBOOL lpUsedDefaultChar);

// Writes the text as UTF-8 to standard error when COLANG_TRACE is 1; otherwise
// the text goes nowhere, as it does on Windows when no debugger listens.
COLANG_API void WINAPI OutputDebugStringW(LPCWSTR lpOutputString);
}

// Handles are opaque pointers, as on Windows.
struct HMENU__;
struct HWND__;
struct HKEY__;
struct HINSTANCE__;
using HMENU = HMENU__*;
using HWND = HWND__*;
using HKEY = HKEY__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

#define MB_OK 0x00000000L
#define MB_ICONERROR 0x00000010L
#define IDOK 1

#define ERROR_MOD_NOT_FOUND 126L
#define MAX_PATH 260

struct MSGBOXPARAMSW {
  UINT cbSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCWSTR lpszText;
  LPCWSTR lpszCaption;
  DWORD dwStyle;
  LPCWSTR lpszIcon;
  UINT_PTR dwContextHelpId;
  void* lpfnMsgBoxCallback;
  DWORD dwLanguageId;
};

extern "C" {
// Writes caption and text to standard error and answers IDOK: there is no
// one to click a button. A null caption writes "Error", as Windows titles it.
COLANG_API int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
COLANG_API int WINAPI MessageBoxIndirectW(const MSGBOXPARAMSW* lpmbp);

// The path of the running program for a null module (other modules are not
// known: 0 with ERROR_MOD_NOT_FOUND). Too small a buffer receives as much as
// fits with a zero, the result is nSize and the last error
// ERROR_INSUFFICIENT_BUFFER.
COLANG_API DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
}
