// Helpers for the tests that build real menus and windows: the same calls on
// Windows (and Wine) and on the emulation, owners that destroy what a test
// made, and the emulation-only failure controls, which report whether they
// exist so that a test can skip without them.
#pragma once

#include <vector>

#include "colang/XString.h"
#include "colang/platform/Win32.h"
#if !defined(_WIN32)
#include "colang/platform/posix/Emulation.h"
#endif

namespace colang::test {

// The module that application window classes belong to.
inline HINSTANCE UiInstance() {
#if defined(_WIN32)
  return GetModuleHandleW(nullptr);
#else
  return nullptr;
#endif
}

// Registers an application window class spelt exactly pszName.
inline bool UiClassRegister(const XChar* pszName) {
#if defined(_WIN32)
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = UiInstance();
  wc.lpszClassName = pszName;
  return RegisterClassW(&wc) != 0;
#else
  return EmuWindowClassRegister(pszName) != 0;
#endif
}

inline void UiClassUnregister(const XChar* pszName) {
#if defined(_WIN32)
  UnregisterClassW(pszName, UiInstance());
#else
  EmuWindowClassUnregister(pszName);
#endif
}

// Makes the classes of the rich edit controls exist ("RICHEDIT",
// "RichEdit20W"); on Windows they come with their libraries.
inline void RichEditLoad() {
#if defined(_WIN32)
  LoadLibraryW(L"riched32.dll");
  LoadLibraryW(L"riched20.dll");
#endif
}

// The nNth ModifyMenuW (or DrawMenuBar) from now fails; false where only
// real Windows functions run and no failure can be arranged.
inline bool ModifyMenuFailNth(int nNth) {
#if defined(_WIN32)
  (void)nNth;
  return false;
#else
  EmuFailNthModifyMenu(nNth);
  return true;
#endif
}

inline bool DrawMenuBarFailNth(int nNth) {
#if defined(_WIN32)
  (void)nNth;
  return false;
#else
  EmuFailNthDrawMenuBar(nNth);
  return true;
#endif
}

constexpr const char* kNoFailureControl = "failing a chosen call needs the emulation";

// Destroys a top-level window (with its children and menu bar) at scope end.
class XWindowOwner {
 public:
  explicit XWindowOwner(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
  ~XWindowOwner() {
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
  }
  XWindowOwner(const XWindowOwner&) = delete;
  XWindowOwner& operator=(const XWindowOwner&) = delete;
  HWND Get() const { return m_hWnd; }

 private:
  HWND m_hWnd;
};

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
