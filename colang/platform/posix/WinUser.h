// Emulated Windows menus and windows: the user-interface objects that menu
// and window translation rewrite, kept in process memory. Handles are opaque
// values that are never reused, so a destroyed handle stays invalid; a menu
// handle is no window and a window handle is no menu.
#pragma once

#include "colang/platform/posix/WinBase.h"

using WNDENUMPROC = BOOL(CALLBACK*)(HWND, LPARAM);

// Menu item flags: how an item is addressed, its type and its state.
#define MF_BYCOMMAND 0x00000000u
#define MF_BYPOSITION 0x00000400u
#define MF_STRING 0x00000000u
#define MF_ENABLED 0x00000000u
#define MF_UNCHECKED 0x00000000u
#define MF_UNHILITE 0x00000000u
#define MF_GRAYED 0x00000001u
#define MF_DISABLED 0x00000002u
#define MF_BITMAP 0x00000004u
#define MF_CHECKED 0x00000008u
#define MF_POPUP 0x00000010u
#define MF_MENUBARBREAK 0x00000020u
#define MF_MENUBREAK 0x00000040u
#define MF_HILITE 0x00000080u
#define MF_OWNERDRAW 0x00000100u
#define MF_USECHECKBITMAPS 0x00000200u
#define MF_SEPARATOR 0x00000800u
#define MF_DEFAULT 0x00001000u
#define MF_SYSMENU 0x00002000u
#define MF_HELP 0x00004000u
#define MF_RIGHTJUSTIFY 0x00004000u
#define MF_MOUSESELECT 0x00008000u
#define MFT_STRING MF_STRING
#define MFT_RADIOCHECK 0x00000200u
#define MFT_RIGHTORDER 0x00002000u

// Window styles the library and its tests use.
#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_CAPTION 0x00C00000u
#define WS_SYSMENU 0x00080000u
#define WS_THICKFRAME 0x00040000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define BS_PUSHBUTTON 0x00000000u
#define BS_GROUPBOX 0x00000007u
#define CW_USEDEFAULT (static_cast<int>(0x80000000u))

#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_MENU_HANDLE 1401L
#define ERROR_TLW_WITH_WSCHILD 1406L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_MENU_ITEM_NOT_FOUND 1456L

extern "C" {
// A new empty menu bar, or popup menu; null only when memory runs out.
COLANG_API HMENU WINAPI CreateMenu();
COLANG_API HMENU WINAPI CreatePopupMenu();
// Destroys the menu and every submenu it opens; FALSE for a handle that is no menu.
COLANG_API BOOL WINAPI DestroyMenu(HMENU hMenu);
// Nonzero only for a live menu handle.
COLANG_API BOOL WINAPI IsMenu(HMENU hMenu);
// Adds an item at the end. With MF_POPUP, uIDNewItem is the submenu; a
// submenu that would contain its own parent is refused. A string item
// without text becomes a separator.
COLANG_API BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
// Inserts before the item named by uPosition; past the end (by position)
// appends. By command, a missing item fails unless uPosition is -1.
COLANG_API BOOL WINAPI InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
// Number of items; -1 for a handle that is no menu.
COLANG_API int WINAPI GetMenuItemCount(HMENU hMenu);
// Type and state bits; for a submenu item the low byte of them with the
// submenu's item count above it. 0xFFFFFFFF when there is no such item.
COLANG_API UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
// The submenu the item at nPos opens; null for any other item.
COLANG_API HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos);
// Copies at most cchMax - 1 characters of the item's text and returns the
// number copied; 0 for items without text. With no buffer, the text's length.
COLANG_API int WINAPI GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags);
// Command identifier of the item at nPos; -1 for a submenu item or no item.
COLANG_API UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos);
// Replaces the item's type, state, identifier (or submenu) and text with
// exactly what the arguments give; FALSE when there is no such item.
COLANG_API BOOL WINAPI ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
// Sets or clears the check mark; the previous one (MF_CHECKED or 0), or -1.
COLANG_API DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
// Sets MF_GRAYED/MF_DISABLED as given; the previous ones, or -1.
COLANG_API BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);

// Makes a window of any class name. A WS_CHILD window needs a parent and
// takes hMenu as its identifier; any other window takes hMenu as its menu
// bar and hWndParent as its owner. The system classes answer to their names
// in any letter case and report their registered spelling ("Edit",
// "Button", "Static", ...); other names are kept as given.
COLANG_API HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                                       int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                       HINSTANCE hInstance, LPVOID lpParam);
// Destroys the window, its descendants, the windows it owns and its menu bar.
COLANG_API BOOL WINAPI DestroyWindow(HWND hWnd);
// The emulation knows no activation: no window is ever active, and a
// message box has no owner.
COLANG_API HWND WINAPI GetActiveWindow();
COLANG_API BOOL WINAPI IsWindow(HWND hWnd);
// The parent of a child window, the owner of a WS_POPUP window, else null.
COLANG_API HWND WINAPI GetParent(HWND hWnd);
// The menu bar of a window (for a child window, its identifier).
COLANG_API HMENU WINAPI GetMenu(HWND hWnd);
// Assigns a menu bar (null removes it) without destroying the old one.
COLANG_API BOOL WINAPI SetMenu(HWND hWnd, HMENU hMenu);
// Nothing is drawn here; FALSE only for a handle that is no window.
COLANG_API BOOL WINAPI DrawMenuBar(HWND hWnd);
COLANG_API int WINAPI GetWindowTextLengthW(HWND hWnd);
// Copies at most nMaxCount - 1 characters, zero-terminated; returns the number copied.
COLANG_API int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
// A null text sets the empty text.
COLANG_API BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString);
// Copies at most nMaxCount - 1 characters of the class name; returns the number copied.
COLANG_API int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
// Calls lpEnumFunc for every window below hWndParent, depth first, siblings
// in creation order, until it returns FALSE. Each level's children are
// listed before the callback sees their parent; windows destroyed meanwhile
// are skipped. A null parent enumerates the top-level windows and theirs.
COLANG_API BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam);
}
