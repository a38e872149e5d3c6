// Controls that only the emulated user interface offers: failing a chosen
// later call, and application window classes. Tests that need them cannot
// run on Windows and skip there.
#pragma once

#include "colang/platform/posix/WinUser.h"

extern "C" {
// Makes the nNth ModifyMenuW call from now on fail (1: the next one), once;
// 0 or less cancels a failure still pending.
COLANG_API void WINAPI EmuFailNthModifyMenu(int nNth);
// The same for DrawMenuBar.
COLANG_API void WINAPI EmuFailNthDrawMenuBar(int nNth);
// Registers an application window class spelt exactly so. Like a class that
// RegisterClassW registers, it answers to its name in any letter case ahead
// of the system classes, so "edit" registered here reports "edit". FALSE for
// a null or empty name or one registered already.
COLANG_API BOOL WINAPI EmuWindowClassRegister(LPCWSTR lpClassName);
// Forgets such a class; windows already made keep their class name.
COLANG_API BOOL WINAPI EmuWindowClassUnregister(LPCWSTR lpClassName);
}
