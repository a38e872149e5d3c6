// A small Win32 program: a window with a menu bar, nested submenus with
// mnemonics and accelerators, a group box, buttons, a page-counter label and
// an edit field, all made from its resources (win32demo.rc), which hold them
// in English and German. It shows the English ones; with --translate it
// loads the German sample catalog through the Co functions and translates
// the whole window in place; with --open-menu it opens the first menu of the
// bar, so a screenshot shows a submenu too.
#include <windows.h>

#include <cwchar>
#include <string>

#include "colang/CoLangTrans.h"
#include "win32demo.h"

namespace {

// The program's own resource in English, whatever the user's language: the
// catalog is what translates it.
const void* EnglishResource(LPCWSTR pszType, int nID) {
  HRSRC hRes = FindResourceExW(nullptr, pszType, MAKEINTRESOURCEW(nID), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  return hRes != nullptr ? LockResource(LoadResource(nullptr, hRes)) : nullptr;
}

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM) {
  switch (nMsg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDM_EXIT) DestroyWindow(hWnd);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
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

  const LPCWSTR pszMenuType = MAKEINTRESOURCEW(4), pszDialogType = MAKEINTRESOURCEW(5);  // RT_MENU, RT_DIALOG
  HWND hWnd = CreateDialogIndirectParamW(
      hInstance, static_cast<LPCDLGTEMPLATEW>(EnglishResource(pszDialogType, IDD_MAIN)), nullptr, DialogProc, 0);
  if (hWnd == nullptr) return 1;
  SetMenu(hWnd, LoadMenuIndirectW(EnglishResource(pszMenuType, IDR_MAINMENU)));
  SetWindowPos(hWnd, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetDlgItemTextW(hWnd, IDC_FINDWHAT, L"Open the file");

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
    if (IsDialogMessageW(hWnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
