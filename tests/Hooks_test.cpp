// The library's message box when the host has set no hook: the host
// application's own box, owned by the active window and titled with the
// host's name.
#include <gtest/gtest.h>

#include <string>

#include "colang/detail/MessageBox.h"
#include "support/TestSupport.h"
#include "support/UiSupport.h"

#if !defined(_WIN32)
#include <unistd.h>

#include <cstdio>
#endif

namespace {

using colang::detail::MessageBoxShow;
using namespace colang::test;

#if defined(_WIN32)
// The box is real: a hook on this thread sees it activate, notes its owner
// and title, and presses its button.
struct XBoxSeen {
  int nCount = 0;
  HWND hOwner = nullptr;
  XString strTitle;
} g_seen;
HHOOK g_hHook = nullptr;

LRESULT CALLBACK BoxWatch(int nCode, WPARAM wParam, LPARAM lParam) {
  HWND hWnd = reinterpret_cast<HWND>(wParam);
  XChar szClass[16] = {};
  if (nCode == HCBT_ACTIVATE && GetClassNameW(hWnd, szClass, 16) > 0 && XString(szClass) == XT("#32770")) {
    ++g_seen.nCount;
    g_seen.hOwner = GetWindow(hWnd, GW_OWNER);
    XChar szTitle[256] = {};
    GetWindowTextW(hWnd, szTitle, 256);
    g_seen.strTitle = szTitle;
    PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(g_hHook, nCode, wParam, lParam);
}

TEST(HostMessageBox, TheHostsOwnBoxOwnedByTheActiveWindow) {
  ASSERT_TRUE(UiClassRegister(XT("ColangHost")));
  XWindowOwner host(CreateWindowExW(0, XT("ColangHost"), XT("host"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                    nullptr, nullptr, UiInstance(), nullptr));
  ASSERT_NE(host.Get(), nullptr);
  SetActiveWindow(host.Get());
  ASSERT_EQ(GetActiveWindow(), host.Get());
  g_hHook = SetWindowsHookExW(WH_CBT, BoxWatch, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_hHook, nullptr);
  EXPECT_EQ(MessageBoxShow(XT("Text of the box"), MB_OK, 0), IDOK);
  UnhookWindowsHookEx(g_hHook);
  EXPECT_EQ(g_seen.nCount, 1);
  EXPECT_EQ(g_seen.hOwner, host.Get());
  EXPECT_EQ(g_seen.strTitle, XT("colang_tests"));
  UiClassUnregister(XT("ColangHost"));
}
#else
// The emulation writes the box to standard error, title first.
TEST(HostMessageBox, TheHostsOwnBoxTitledWithItsName) {
  std::FILE* pCapture = std::tmpfile();
  ASSERT_NE(pCapture, nullptr);
  std::fflush(stderr);
  const int fdSaved = dup(fileno(stderr));
  dup2(fileno(pCapture), fileno(stderr));
  const int nResult = MessageBoxShow(XT("Text of the box"), MB_OK, 0);
  std::fflush(stderr);
  dup2(fdSaved, fileno(stderr));
  close(fdSaved);
  EXPECT_EQ(nResult, IDOK);
  std::rewind(pCapture);
  char szLine[256] = {};
  ASSERT_NE(std::fgets(szLine, sizeof szLine, pCapture), nullptr);
  std::fclose(pCapture);
  EXPECT_EQ(std::string(szLine), "[colang_tests] Text of the box\n");
}
#endif

}  // namespace
