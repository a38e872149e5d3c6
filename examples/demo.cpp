// The main demo: loads the shipped German and French sample catalogs through
// the exported Co functions and shows what the library does with them —
// texts, identifiers, pattern texts, retranslation, and a whole menu bar and
// dialog translated in place (on Linux, the emulated Windows functions).
#include <cstdio>
#include <string>
#include <vector>

#include "colang/CoLangTrans.h"

namespace {

std::string Utf8(const XChar* text) {
  if (text == nullptr) return "(null)";
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.pop_back();
  // Show tabs and line feeds as their escapes, as a catalog writes them.
  std::string shown;
  for (char c : out) shown += c == '\t' ? std::string("\\t") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return shown;
}

XString Wide(const char* text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  XString out(static_cast<size_t>(n > 0 ? n : 1), XChar(0));
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  out.pop_back();
  return out;
}

void MenuPrint(HMENU hMenu, int nDepth) {
  for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
    XChar buffer[256] = {};
    int n = GetMenuStringW(hMenu, static_cast<UINT>(i), buffer, 256, MF_BYPOSITION);
    std::printf("    %*s%s\n", nDepth * 2, "", n > 0 ? Utf8(buffer).c_str() : "--------");
    if (HMENU hSub = GetSubMenu(hMenu, i)) MenuPrint(hSub, nDepth + 1);
  }
}

BOOL CALLBACK ChildPrint(HWND hWnd, LPARAM) {
  XChar szClass[64] = {};
  XChar szText[256] = {};
  GetClassNameW(hWnd, szClass, 64);
  GetWindowTextW(hWnd, szText, 256);
  std::printf("      %-8s \"%s\"\n", Utf8(szClass).c_str(), Utf8(szText).c_str());
  return TRUE;
}

void WindowPrint(const char* pszWhen, HWND hWnd) {
  XChar szCaption[256] = {};
  GetWindowTextW(hWnd, szCaption, 256);
  std::printf("  %s: window \"%s\"\n", pszWhen, Utf8(szCaption).c_str());
  MenuPrint(GetMenu(hWnd), 0);
  EnumChildWindows(hWnd, ChildPrint, 0);
}

HMENU MenuBarCreate() {
  HMENU hFile = CreatePopupMenu();
  AppendMenuW(hFile, MF_STRING, 101, XT("&Open...\tCtrl+O"));
  AppendMenuW(hFile, MF_STRING, 102, XT("Save &As..."));
  AppendMenuW(hFile, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(hFile, MF_STRING, 103, XT("E&xit\tAlt+F4"));
  HMENU hFind = CreatePopupMenu();
  AppendMenuW(hFind, MF_STRING, 201, XT("&Find...\tCtrl+F"));
  AppendMenuW(hFind, MF_STRING, 202, XT("&Replace...\tCtrl+H"));
  HMENU hEdit = CreatePopupMenu();
  AppendMenuW(hEdit, MF_STRING | MF_GRAYED, 203, XT("&Paste\tCtrl+V"));
  AppendMenuW(hEdit, MF_POPUP, reinterpret_cast<UINT_PTR>(hFind), XT("F&ind"));
  HMENU hBar = CreateMenu();
  AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), XT("&File"));
  AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hEdit), XT("&Edit"));
  return hBar;
}

HWND DialogCreate() {
  HWND hWnd = CreateWindowExW(0, XT("STATIC"), XT("Find and Replace"), 0, 0, 0, 400, 200, nullptr, MenuBarCreate(),
                              nullptr, nullptr);
  const struct {
    const XChar* pszClass;
    const XChar* pszText;
  } controls[] = {{XT("BUTTON"), XT("Search options")}, {XT("BUTTON"), XT("&Match case")},
                  {XT("STATIC"), XT("Find what:")},     {XT("EDIT"), XT("Open the file")},
                  {XT("STATIC"), XT("Page 3 of 10")},   {XT("BUTTON"), XT("OK")},
                  {XT("BUTTON"), XT("Cancel")}};
  for (const auto& control : controls)
    CreateWindowExW(0, control.pszClass, control.pszText, WS_CHILD, 0, 0, 10, 10, hWnd, nullptr, nullptr, nullptr);
  return hWnd;
}

}  // namespace

int main(int argc, char** argv) {
  const XString strDir = Wide(argc > 1 ? argv[1] : COLANG_EXAMPLES_DIR "/rlg");
  std::printf("colang demo: sample catalogs in %s\n\n", Utf8(strDir.c_str()).c_str());

  long nLoaded = CoLoadLanguage(strDir.c_str(), XT("App"), 0x407);
  std::printf("CoLoadLanguage(dir, \"App\", 0x0407) -> %ld, language 0x%04x\n", nLoaded,
              static_cast<unsigned>(CoGetCurrentLanguageID()));
  XChar szFrench[512];
  CoRLGFilenameGen(szFrench, 512, strDir.c_str(), XT("App"), 0x40c);
  std::printf("CoLangLoadDict(\"%s\") -> %d\n\n", Utf8(szFrench).c_str(), CoLangLoadDict(szFrench));
  if (nLoaded != 1) return 1;

  std::printf("  %-26s %-28s %s\n", "text", "default (German)", "selector App040c.rlg");
  const XChar* texts[] = {XT("&File"),
                          XT("&Open...\tCtrl+O"),
                          XT("Cancel"),
                          XT("cancel"),
                          XT("Page 3 of 10"),
                          XT("Page  12 of 100"),
                          XT("42 files selected"),

                          XT("Line 7, Column 12"),
                          XT("Ready"),
                          XT("Not in the catalog 3")};
  for (const XChar* text : texts) {
    // One call after the other: the first dictionary to translate a pattern
    // text lends its pattern entries to every dictionary of the process.
    std::string strGerman = "\"" + Utf8(CoTranslateText(text)) + "\"";
    std::string strFrench = "\"" + Utf8(CoTranslateTextRLG(text, szFrench)) + "\"";
    std::printf("  %-26s %-28s %s\n", ("\"" + Utf8(text) + "\"").c_str(), strGerman.c_str(), strFrench.c_str());
  }
  std::printf("  (pattern entries are shared by all dictionaries: the German ones were collected first)\n");
  std::printf("\n  identifier 1001  -> \"%s\"   0x03F2 -> \"%s\"   1002 -> %s\n",
              Utf8(CoTranslateIdRLG(1001, nullptr)).c_str(), Utf8(CoTranslateIdRLG(0x3F2, nullptr)).c_str(),
              Utf8(CoTranslateIdRLG(1002, nullptr)).c_str());
  std::printf("  retranslate \"Abbrechen\" -> \"%s\"\n\n", Utf8(CoRetranslateText(XT("Abbrechen"))).c_str());

  HWND hWnd = DialogCreate();
  WindowPrint("before", hWnd);
  CoTranslateWindow(hWnd);
  WindowPrint("after CoTranslateWindow", hWnd);
  CoRetranslateWindow(hWnd);
  XChar szCaption[256] = {};
  GetWindowTextW(hWnd, szCaption, 256);
  std::printf("  after CoRetranslateWindow: window \"%s\"\n", Utf8(szCaption).c_str());
  DestroyWindow(hWnd);
  return 0;
}
