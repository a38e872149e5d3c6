// The Windows functions, types and constants the library calls. On Windows
// these are the system's own; elsewhere the same names are declared here and
// implemented by the emulation in colang/platform/posix/.
#pragma once

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// oleauto.h needs windows.h first.
#include <oleauto.h>
#else
#include "colang/platform/posix/OleAuto.h"
#include "colang/platform/posix/WinBase.h"
#include "colang/platform/posix/WinEnv.h"
#include "colang/platform/posix/WinReg.h"
#include "colang/platform/posix/WinUser.h"
#endif
