// Helpers for the tests that build real menus and windows: the same calls on
// Windows (and Wine) and on the emulation, owners that destroy what a test
// made, and the emulation-only failure controls, which report whether they
// exist so that a test can skip without them.
#pragma once

#include <initializer_list>
#include <vector>

#include "colang/XString.h"
#include "colang/platform/Win32.h"
#if !defined(_WIN32)
#include "colang/platform/posix/Emulation.h"
#endif

namespace colang::test {

#if defined(_WIN32)
inline HINSTANCE UiInstance() { return GetModuleHandleW(nullptr); }
// Registers an application window class spelt exactly pszName.
inline bool UiClassRegister(const XChar* pszName) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = UiInstance();
  wc.lpszClassName = pszName;
  return RegisterClassW(&wc) != 0;
}
inline void UiClassUnregister(const XChar* pszName) { UnregisterClassW(pszName, UiInstance()); }
// The rich edit classes ("RICHEDIT", "RichEdit20W") come with their libraries.
inline void RichEditLoad() {
  LoadLibraryW(L"riched32.dll");
  LoadLibraryW(L"riched20.dll");
}
// Only the emulation can make a chosen call fail.
inline bool ModifyMenuFailNth(int) { return false; }
inline bool DrawMenuBarFailNth(int) { return false; }
#else
inline HINSTANCE UiInstance() { return nullptr; }
inline bool UiClassRegister(const XChar* pszName) { return EmuWindowClassRegister(pszName) != 0; }
inline void UiClassUnregister(const XChar* pszName) { EmuWindowClassUnregister(pszName); }
inline void RichEditLoad() {}
// The nNth ModifyMenuW (or DrawMenuBar) from now fails; true where that can be arranged.
inline bool ModifyMenuFailNth(int nNth) {
  EmuFailNthModifyMenu(nNth);
  return true;
}
inline bool DrawMenuBarFailNth(int nNth) {
  EmuFailNthDrawMenuBar(nNth);
  return true;
}
#endif

constexpr const char* kNoFailureControl = "failing a chosen call needs the emulation";

inline void UiDestroy(HWND hWnd) {
  if (IsWindow(hWnd)) DestroyWindow(hWnd);
}
inline void UiDestroy(HMENU hMenu) {
  if (IsMenu(hMenu)) DestroyMenu(hMenu);
}

// Destroys a window (with its children and menu bar) or a menu at scope end.
template <class H>
class XUiOwner {
 public:
  explicit XUiOwner(H h = nullptr) : m_h(h) {}
  ~XUiOwner() { UiDestroy(m_h); }
  XUiOwner(const XUiOwner&) = delete;
  XUiOwner& operator=(const XUiOwner&) = delete;
  H Get() const { return m_h; }

 private:
  H m_h;
};
using XWindowOwner = XUiOwner<HWND>;
using XMenuOwner = XUiOwner<HMENU>;

inline UINT_PTR AsID(HMENU hMenu) { return reinterpret_cast<UINT_PTR>(hMenu); }
// A text argument that is really a number: owner data or a predefined bitmap.
inline const XChar* AsText(UINT_PTR nValue) { return reinterpret_cast<const XChar*>(nValue); }

struct XMenuItem {
  UINT nFlags;
  UINT_PTR nID;  // or the submenu, AsID(hSub)
  const XChar* pszText;
};

// A popup menu (a menu bar with bBar) holding the items in order; null when one cannot be appended.
inline HMENU MenuCreate(std::initializer_list<XMenuItem> items, bool bBar = false) {
  HMENU hMenu = bBar ? CreateMenu() : CreatePopupMenu();
  for (const XMenuItem& item : items) {
    if (!AppendMenuW(hMenu, item.nFlags, item.nID, item.pszText)) {
      DestroyMenu(hMenu);
      return nullptr;
    }
  }
  return hMenu;
}

// A top-level window of a system class, with an optional menu bar.
inline HWND TopLevelCreate(const XChar* pszCaption, HMENU hMenu = nullptr, const XChar* pszClass = XT("STATIC")) {
  return CreateWindowExW(0, pszClass, pszCaption, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, hMenu, UiInstance(),
                         nullptr);
}

inline HWND ChildCreate(HWND hParent, const XChar* pszClass, const XChar* pszText, int nID = 0, DWORD nStyle = 0) {
  return CreateWindowExW(0, pszClass, pszText, WS_CHILD | nStyle, 0, 0, 80, 20, hParent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), UiInstance(), nullptr);
}

inline XString WindowText(HWND hWnd) {
  std::vector<XChar> buffer(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1, XChar(0));
  GetWindowTextW(hWnd, buffer.data(), static_cast<int>(buffer.size()));
  return XString(buffer.data());
}

inline XString ClassName(HWND hWnd) {
  XChar buffer[256] = {};
  GetClassNameW(hWnd, buffer, 256);
  return XString(buffer);
}

inline XString MenuText(HMENU hMenu, UINT nPos) {
  std::vector<XChar> buffer(20000, XChar(0));
  GetMenuStringW(hMenu, nPos, buffer.data(), static_cast<int>(buffer.size()), MF_BYPOSITION);
  return XString(buffer.data());
}

}  // namespace colang::test
