// Emulated registry: a tree of keys and values in process memory, empty at
// start, under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER. Key and value names
// compare without regard to ASCII case; values enumerate in creation order.
#pragma once

#include "colang/platform/posix/WinBase.h"

using LSTATUS = LONG;
using REGSAM = DWORD;
using PHKEY = HKEY*;
using LPBYTE = BYTE*;
using ULONG_PTR = std::uintptr_t;

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001))))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002))))

#define ERROR_ACCESS_DENIED 5L
#define ERROR_KEY_DELETED 1018L

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define REG_OPTION_NON_VOLATILE 0x0000
#define REG_OPTION_VOLATILE 0x0001
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

extern "C" {
// Opens an existing key (an empty or null subkey opens hKey again); ERROR_FILE_NOT_FOUND otherwise.
COLANG_API LSTATUS WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                                        PHKEY phkResult);
// Opens the key, creating it and every missing key above it.
COLANG_API LSTATUS WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                                          REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes,
                                          PHKEY phkResult, LPDWORD lpdwDisposition);
// Stores the bytes as given; needs KEY_SET_VALUE.
COLANG_API LSTATUS WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                                         const BYTE* lpData, DWORD cbData);
// ERROR_NO_MORE_ITEMS past the last value; ERROR_MORE_DATA when the name
// (room in characters, zero included) or the data (room in bytes) does not fit.
COLANG_API LSTATUS WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                                        LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
COLANG_API LSTATUS WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// Deletes a key without subkeys (ERROR_ACCESS_DENIED otherwise).
COLANG_API LSTATUS WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
COLANG_API LSTATUS WINAPI RegCloseKey(HKEY hKey);
}
