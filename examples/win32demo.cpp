// A small Win32 program: a window with a menu bar, nested submenus with
// mnemonics and accelerators, a group box, buttons, a page-counter label and
// an edit field. With --translate it loads the German sample catalog through
// the Co functions and translates the whole window in place; with --open-menu
// it opens the first menu of the bar, so a screenshot shows a submenu too.
#include <windows.h>

#include <cwchar>
#include <string>

#include "colang/CoLangTrans.h"

namespace {

enum : UINT {
  eIDNew = 100,
  eIDOpen,
  eIDSave,
  eIDSaveAs,
  eIDRecent1,
  eIDRecent2,
  eIDExit,
  eIDCut,
  eIDCopy,
  eIDPaste,
  eIDFind,
  eIDReplace,
  eIDAbout,
  eIDOK,
  eIDCancel,
  eIDHelp
};

HMENU MenuBarCreate() {
  HMENU hRecent = CreatePopupMenu();
  AppendMenuW(hRecent, MF_STRING, eIDRecent1, L"report.txt");
  AppendMenuW(hRecent, MF_STRING, eIDRecent2, L"notes.txt");

  HMENU hFile = CreatePopupMenu();
  AppendMenuW(hFile, MF_STRING, eIDNew, L"&New\tCtrl+N");
  AppendMenuW(hFile, MF_STRING, eIDOpen, L"&Open...\tCtrl+O");
  AppendMenuW(hFile, MF_STRING, eIDSave, L"&Save\tCtrl+S");
  AppendMenuW(hFile, MF_STRING, eIDSaveAs, L"Save &As...");
  AppendMenuW(hFile, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(hFile, MF_POPUP, reinterpret_cast<UINT_PTR>(hRecent), L"Recent &Files");
  AppendMenuW(hFile, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(hFile, MF_STRING, eIDExit, L"E&xit\tAlt+F4");

  HMENU hFindSub = CreatePopupMenu();
  AppendMenuW(hFindSub, MF_STRING, eIDFind, L"&Find...\tCtrl+F");
  AppendMenuW(hFindSub, MF_STRING, eIDReplace, L"&Replace...\tCtrl+H");

  HMENU hEdit = CreatePopupMenu();
  AppendMenuW(hEdit, MF_STRING, eIDCut, L"Cu&t\tCtrl+X");
  AppendMenuW(hEdit, MF_STRING, eIDCopy, L"&Copy\tCtrl+C");
  AppendMenuW(hEdit, MF_STRING | MF_GRAYED, eIDPaste, L"&Paste\tCtrl+V");
  AppendMenuW(hEdit, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(hEdit, MF_POPUP, reinterpret_cast<UINT_PTR>(hFindSub), L"F&ind");

  HMENU hHelp = CreatePopupMenu();
  AppendMenuW(hHelp, MF_STRING, eIDAbout, L"&About...");

  HMENU hBar = CreateMenu();
  AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), L"&File");
  AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hEdit), L"&Edit");
  AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hHelp), L"&Help");
  return hBar;
}

HWND Control(HWND hParent, const wchar_t* pszClass, const wchar_t* pszText, DWORD dwStyle, int x, int y, int cx, int cy,
             UINT nID) {
  HWND hWnd = CreateWindowExW(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy, hParent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return hWnd;
}

// Laid out to the right of the first menu, so an open menu hides nothing.
void ControlsCreate(HWND hWnd) {
  Control(hWnd, L"BUTTON", L"Search options", BS_GROUPBOX, 200, 8, 300, 118, 0);
  Control(hWnd, L"BUTTON", L"&Match case", BS_AUTOCHECKBOX, 216, 32, 200, 22, 0);
  Control(hWnd, L"BUTTON", L"Whole &words only", BS_AUTOCHECKBOX, 216, 58, 200, 22, 0);
  Control(hWnd, L"STATIC", L"Find what:", 0, 216, 92, 80, 20, 0);
  Control(hWnd, L"EDIT", L"Open the file", WS_BORDER | ES_AUTOHSCROLL, 300, 90, 184, 22, 0);
  Control(hWnd, L"STATIC", L"Page 3 of 10", 0, 200, 140, 200, 20, 0);
  Control(hWnd, L"BUTTON", L"OK", BS_DEFPUSHBUTTON, 516, 14, 96, 28, eIDOK);
  Control(hWnd, L"BUTTON", L"Cancel", 0, 516, 48, 96, 28, eIDCancel);
  Control(hWnd, L"BUTTON", L"Help", 0, 516, 82, 96, 28, eIDHelp);
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

// The first mnemonic of the menu bar's first title, in lower case.
wchar_t FirstMnemonic(HMENU hBar) {
  wchar_t szTitle[256] = {};
  GetMenuStringW(hBar, 0, szTitle, 256, MF_BYPOSITION);
  const wchar_t* pAmp = std::wcschr(szTitle, L'&');
  return pAmp != nullptr && pAmp[1] != 0 ? static_cast<wchar_t>(towlower(pAmp[1])) : L'f';
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR pszCmdLine, int) {
  std::wstring strArgs = pszCmdLine != nullptr ? pszCmdLine : L"";
  // --pseudo loads the pseudo-locale catalog (made by rlgtool pseudo) instead of the German one.
  bool bPseudo = strArgs.find(L"--pseudo") != std::wstring::npos;
  bool bTranslate = bPseudo || strArgs.find(L"--translate") != std::wstring::npos;
  bool bOpenMenu = strArgs.find(L"--open-menu") != std::wstring::npos;

  WNDCLASSW wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ColangDemoWindow";
  RegisterClassW(&wc);

  HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Find and Replace", WS_OVERLAPPEDWINDOW, 10, 10, 640, 230, nullptr,
                              MenuBarCreate(), hInstance, nullptr);
  ControlsCreate(hWnd);

  if (bTranslate) {
    // The catalogs lie in rlg\ beside the program.
    wchar_t szExe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szExe, MAX_PATH);
    std::wstring strDir(szExe);
    strDir.erase(strDir.find_last_of(L"\\/") + 1);
    strDir += L"rlg";
    if (!CoLoadLanguage(strDir.c_str(), L"App", bPseudo ? 0x501 : 0x407)) return 2;
    CoTranslateWindow(hWnd);
  }

  ShowWindow(hWnd, SW_SHOW);
  UpdateWindow(hWnd);
  if (bOpenMenu) PostMessageW(hWnd, WM_SYSCOMMAND, SC_KEYMENU, FirstMnemonic(GetMenu(hWnd)));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
