// The Windows menu and window functions as menu and window translation rely
// on them. The same checks run on the emulation and on Windows (Wine), which
// is what keeps the emulation honest.
#include <gtest/gtest.h>

#include <vector>

#include "colang/platform/Win32.h"
#include "support/TestSupport.h"
#include "support/UiSupport.h"

namespace {

using namespace colang::test;

TEST(WinUserMenu, StateTextAndIdentifierOfEachKindOfItem) {
  HMENU hSub = MenuCreate({{MF_STRING, 1, XT("a")}, {MF_STRING, 2, XT("b")}, {MF_STRING, 3, XT("c")}});
  // Bitmap 8 is predefined: valid on Windows without loading anything, and
  // none of those that Windows keeps at the end of a menu bar.
  HMENU hMenu = MenuCreate({{MF_STRING | MF_CHECKED | MF_GRAYED, 10, XT("&Open\tCtrl+O")},
                            {MF_SEPARATOR, 0, nullptr},
                            {MF_POPUP | MF_CHECKED, AsID(hSub), XT("&Edit")},
                            {MF_OWNERDRAW, 11, AsText(0x1234)},
                            {MF_BITMAP, 12, AsText(8)},
                            {MF_POPUP, AsID(CreatePopupMenu()), XT("")}});
  ASSERT_EQ(GetMenuItemCount(hMenu), 6);
  struct Case {
    UINT nState;
    int nLength;
    const XChar* text;
    UINT nID;
  } cases[] = {
      {MF_CHECKED | MF_GRAYED, 12, XT("&Open\tCtrl+O"), 10},
      {MF_SEPARATOR | MF_GRAYED | MF_DISABLED, 0, XT(""), 0},
      {(3u << 8) | MF_POPUP | MF_CHECKED, 5, XT("&Edit"), ~0u},
      {MF_OWNERDRAW, 0, XT(""), 11},
      {MF_BITMAP, 0, XT(""), 12},
      {MF_POPUP, 0, XT(""), ~0u},
  };
  for (UINT nPos = 0; nPos < 6; ++nPos) {
    const Case& c = cases[nPos];
    SCOPED_TRACE(nPos);
    EXPECT_EQ(GetMenuState(hMenu, nPos, MF_BYPOSITION), c.nState);
    XChar buffer[64] = {XChar('x')};
    EXPECT_EQ(GetMenuStringW(hMenu, nPos, buffer, 64, MF_BYPOSITION), c.nLength);
    EXPECT_EQ(XString(buffer), c.text);
    EXPECT_EQ(GetMenuItemID(hMenu, static_cast<int>(nPos)), c.nID);
    EXPECT_EQ(GetSubMenu(hMenu, static_cast<int>(nPos)) != nullptr, c.nID == ~0u);
  }
  EXPECT_EQ(GetSubMenu(hMenu, 2), hSub);
  EXPECT_EQ(GetMenuState(hMenu, 6, MF_BYPOSITION), ~0u);
  EXPECT_EQ(GetMenuItemID(hMenu, 6), ~0u);
  DestroyMenu(hMenu);
}

TEST(WinUserMenu, ModifyReplacesTypeStateAndText) {
  HMENU hSub = MenuCreate({{MF_STRING, 1, XT("a")}});
  XMenuOwner menu(
      MenuCreate({{MF_STRING | MF_CHECKED | MF_MENUBREAK, 7, XT("Old")}, {MF_POPUP, AsID(hSub), XT("Sub")}}));
  HMENU hMenu = menu.Get();
  ASSERT_TRUE(ModifyMenuW(hMenu, 0, MF_BYPOSITION | MF_GRAYED, 8, XT("New")));
  EXPECT_EQ(MenuText(hMenu, 0), XT("New"));
  EXPECT_EQ(GetMenuItemID(hMenu, 0), 8u);
  EXPECT_EQ(GetMenuState(hMenu, 0, MF_BYPOSITION), MF_GRAYED);
  EXPECT_FALSE(ModifyMenuW(hMenu, 2, MF_BYPOSITION, 9, XT("past the end")));
  EXPECT_FALSE(ModifyMenuW(nullptr, 0, MF_BYPOSITION, 9, XT("x")));
  ASSERT_TRUE(ModifyMenuW(hMenu, 1, MF_BYPOSITION | MF_POPUP | MF_HILITE, AsID(hSub), XT("Neu")));
  EXPECT_EQ(GetSubMenu(hMenu, 1), hSub);
  EXPECT_EQ(GetMenuState(hMenu, 1, MF_BYPOSITION), (1u << 8) | MF_POPUP | MF_HILITE);
  EXPECT_EQ(MenuText(hMenu, 1), XT("Neu"));
}

// Host-facing calls the library itself never makes: inserting, checking
// and enabling items by position and by command (a command is searched for
// in the submenus too).
TEST(WinUserMenu, InsertCheckAndEnableByPositionAndCommand) {
  HMENU hSub = MenuCreate({{MF_STRING, 21, XT("inner")}});
  XMenuOwner menu(MenuCreate({{MF_STRING, 20, XT("b")}, {MF_POPUP, AsID(hSub), XT("sub")}}, true));
  HMENU hMenu = menu.Get();
  ASSERT_TRUE(InsertMenuW(hMenu, 0, MF_BYPOSITION, 19, XT("a")));
  ASSERT_TRUE(InsertMenuW(hMenu, 21, MF_BYCOMMAND, 22, XT("before inner")));
  EXPECT_EQ(MenuText(hMenu, 0), XT("a"));
  EXPECT_EQ(MenuText(hSub, 0), XT("before inner"));
  EXPECT_EQ(CheckMenuItem(hMenu, 20, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(hMenu, 1, MF_BYPOSITION | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(hMenu, 99, MF_BYCOMMAND | MF_CHECKED), ~0u);
  EXPECT_EQ(EnableMenuItem(hMenu, 21, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(hSub, 1, MF_BYPOSITION), MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(hMenu, 21, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(hMenu, 7, MF_BYPOSITION | MF_GRAYED), -1);
}

struct XVisit {
  std::vector<HWND> vecSeen;
  HWND hStopAt = nullptr;  // the callback says stop after this one
};

BOOL CALLBACK VisitProc(HWND hWnd, LPARAM lParam) {
  auto* pVisit = reinterpret_cast<XVisit*>(lParam);
  pVisit->vecSeen.push_back(hWnd);
  return hWnd != pVisit->hStopAt;
}

std::vector<HWND> Visited(HWND hParent, HWND hStopAt = nullptr) {
  XVisit visit{{}, hStopAt};
  EnumChildWindows(hParent, VisitProc, reinterpret_cast<LPARAM>(&visit));
  return visit.vecSeen;
}

TEST(WinUserWindow, ChildrenAreEnumeratedDepthFirstInCreationOrder) {
  XWindowOwner top(TopLevelCreate(XT("top")));
  HWND a = ChildCreate(top.Get(), XT("STATIC"), XT("a"));
  HWND a1 = ChildCreate(a, XT("STATIC"), XT("a1"));
  HWND b = ChildCreate(top.Get(), XT("BUTTON"), XT("b"));
  HWND a2 = ChildCreate(a, XT("STATIC"), XT("a2"));
  HWND a11 = ChildCreate(a1, XT("STATIC"), XT("a11"));
  HWND c = ChildCreate(top.Get(), XT("STATIC"), XT("c"));
  ASSERT_TRUE(a && a1 && b && a2 && a11 && c);
  EXPECT_EQ(Visited(top.Get()), (std::vector<HWND>{a, a1, a11, a2, b, c}));
  EXPECT_EQ(Visited(top.Get(), a11), (std::vector<HWND>{a, a1, a11}));
  EXPECT_EQ(GetParent(a11), a1);
  EXPECT_EQ(GetParent(top.Get()), nullptr);
}

TEST(WinUserWindow, TextClassAndMenu) {
  HMENU hBar = MenuCreate({{MF_STRING, 1, XT("File")}}, true);
  XWindowOwner top(TopLevelCreate(XT("Caption"), hBar));
  ASSERT_NE(top.Get(), nullptr);
  EXPECT_EQ(GetMenu(top.Get()), hBar);
  EXPECT_TRUE(SetMenu(top.Get(), nullptr));
  EXPECT_TRUE(IsMenu(hBar)) << "SetMenu does not destroy the menu it replaces";
  EXPECT_TRUE(SetMenu(top.Get(), hBar));
  EXPECT_TRUE(DrawMenuBar(top.Get()));
  HMENU hOwned = MenuCreate({{MF_STRING, 1, XT("Edit")}}, true);
  ASSERT_TRUE(DestroyWindow(TopLevelCreate(XT("Gone"), hOwned)));
  EXPECT_FALSE(IsMenu(hOwned)) << "DestroyWindow destroys the window's menu";
  EXPECT_EQ(GetWindowTextLengthW(top.Get()), 7);
  XChar small[4] = {};
  EXPECT_EQ(GetWindowTextW(top.Get(), small, 4), 3);
  EXPECT_EQ(XString(small), XT("Cap"));
  EXPECT_TRUE(SetWindowTextW(top.Get(), XT("")));
  EXPECT_EQ(GetWindowTextW(top.Get(), small, 4), 0);
  EXPECT_EQ(small[0], 0);

  struct Case {
    const XChar* created;
    const XChar* reported;
  } cases[] = {{XT("edit"), XT("Edit")}, {XT("STATIC"), XT("Static")}, {XT("listbox"), XT("ListBox")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.created));
    HWND h = ChildCreate(top.Get(), c.created, XT("t"));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(ClassName(h), c.reported);
    XChar cut[3];
    EXPECT_EQ(GetClassNameW(h, cut, 3), 2);
  }
}

TEST(WinUser, HandlesOfTheWrongKindOrDestroyedFailEveryCall) {
  HWND hGone = TopLevelCreate(XT("gone"));
  ASSERT_TRUE(DestroyWindow(hGone));
  HMENU hMenuGone = CreatePopupMenu();
  ASSERT_TRUE(DestroyMenu(hMenuGone));
  XMenuOwner menu(CreateMenu());
  XWindowOwner window(TopLevelCreate(XT("w")));
  for (HMENU h : {HMENU(nullptr), hMenuGone, reinterpret_cast<HMENU>(window.Get())}) {
    SCOPED_TRACE(reinterpret_cast<UINT_PTR>(h));
    EXPECT_FALSE(IsMenu(h));
    EXPECT_EQ(GetMenuItemCount(h), -1);
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION), ~0u);
    EXPECT_EQ(GetSubMenu(h, 0), nullptr);
    XChar buffer[8] = {};
    EXPECT_EQ(GetMenuStringW(h, 0, buffer, 8, MF_BYPOSITION), 0);
  }
  for (HWND h : {HWND(nullptr), hGone, reinterpret_cast<HWND>(menu.Get())}) {
    SCOPED_TRACE(reinterpret_cast<UINT_PTR>(h));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DrawMenuBar(h));
    EXPECT_EQ(GetMenu(h), nullptr);
    EXPECT_EQ(GetWindowTextLengthW(h), 0);
    XChar buffer[8] = {XChar('x')};
    EXPECT_EQ(GetWindowTextW(h, buffer, 8), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_FALSE(SetWindowTextW(h, XT("x")));
    EXPECT_EQ(GetClassNameW(h, buffer, 8), 0);
  }
}

}  // namespace
