// Emulated environment variables and working directory, over the real
// process environment and working directory. Variable names are matched as
// POSIX stores them, case-sensitively; directories may use '\' or '/'.
#pragma once

#include "colang/platform/posix/WinBase.h"

#define ERROR_PATH_NOT_FOUND 3L

extern "C" {
// The value's length without the zero when it fits nSize (zero included);
// otherwise the size needed, zero included. 0 with ERROR_ENVVAR_NOT_FOUND
// when the variable is not set.
COLANG_API DWORD WINAPI GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize);
// Sets the variable; a null value removes it. FALSE for an empty name or one with '='.
COLANG_API BOOL WINAPI SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue);
// Same length rules as GetEnvironmentVariableW; 0 when the directory cannot be read.
COLANG_API DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);
COLANG_API BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName);
}
