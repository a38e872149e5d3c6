// The Windows menu and window functions as menu and window translation rely
// on them. The same checks run on the emulation and on Windows (Wine), which
// is what keeps the emulation honest.
#include <gtest/gtest.h>

#include <vector>

#include "colang/platform/Win32.h"
#include "support/TestSupport.h"
#include "support/UiSupport.h"

namespace {

using colang::test::ChildCreate;
using colang::test::ClassName;
using colang::test::MenuText;
using colang::test::TopLevelCreate;
using colang::test::UiClassRegister;
using colang::test::UiClassUnregister;
using colang::test::WindowText;
using colang::test::XWindowOwner;

const XChar* const kOwnerData = reinterpret_cast<const XChar*>(static_cast<UINT_PTR>(0x1234));
// A predefined menu bitmap: valid on Windows without loading anything, and
// none of those that Windows keeps at the end of a menu bar.
const XChar* const kBitmap = reinterpret_cast<const XChar*>(static_cast<UINT_PTR>(8));

TEST(WinUserMenu, StateTextAndIdentifierOfEachKindOfItem) {
  HMENU hMenu = CreatePopupMenu();
  HMENU hSub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(hSub, MF_STRING, 1, XT("a")));
  ASSERT_TRUE(AppendMenuW(hSub, MF_STRING, 2, XT("b")));
  ASSERT_TRUE(AppendMenuW(hSub, MF_STRING, 3, XT("c")));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_STRING | MF_CHECKED | MF_GRAYED, 10, XT("&Open\tCtrl+O")));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_POPUP | MF_CHECKED, reinterpret_cast<UINT_PTR>(hSub), XT("&Edit")));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_OWNERDRAW, 11, kOwnerData));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_BITMAP, 12, kBitmap));
  HMENU hEmptyTitled = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hEmptyTitled), XT("")));
  ASSERT_EQ(GetMenuItemCount(hMenu), 6);

  struct Case {
    UINT nPos;
    UINT nState;
    int nLength;
    const XChar* text;
    UINT nID;
    bool bSub;
  } cases[] = {
      {0, MF_CHECKED | MF_GRAYED, 12, XT("&Open\tCtrl+O"), 10, false},
      {1, MF_SEPARATOR | MF_GRAYED | MF_DISABLED, 0, XT(""), 0, false},
      {2, (3u << 8) | MF_POPUP | MF_CHECKED, 5, XT("&Edit"), 0xFFFFFFFFu, true},
      {3, MF_OWNERDRAW, 0, XT(""), 11, false},
      {4, MF_BITMAP, 0, XT(""), 12, false},
      {5, MF_POPUP, 0, XT(""), 0xFFFFFFFFu, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nPos);
    EXPECT_EQ(GetMenuState(hMenu, c.nPos, MF_BYPOSITION), c.nState);
    XChar buffer[64] = {XChar('x')};
    EXPECT_EQ(GetMenuStringW(hMenu, c.nPos, buffer, 64, MF_BYPOSITION), c.nLength);
    EXPECT_EQ(XString(buffer), c.text);
    EXPECT_EQ(GetMenuItemID(hMenu, static_cast<int>(c.nPos)), c.nID);
    EXPECT_EQ(GetSubMenu(hMenu, static_cast<int>(c.nPos)) != nullptr, c.bSub);
  }
  EXPECT_EQ(GetSubMenu(hMenu, 2), hSub);
  EXPECT_EQ(GetMenuState(hMenu, 6, MF_BYPOSITION), 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuItemID(hMenu, 6), 0xFFFFFFFFu);
  // By command the search reaches into submenus.
  EXPECT_EQ(GetMenuState(hMenu, 2, MF_BYCOMMAND), 0u);
  EXPECT_TRUE(DestroyMenu(hMenu));
  EXPECT_FALSE(IsMenu(hSub)) << "a menu takes its submenus with it";
}

TEST(WinUserMenu, TextIsCutToTheBuffer) {
  HMENU hMenu = CreatePopupMenu();
  XString strLong(11000, XChar('w'));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_STRING, 1, strLong.c_str()));
  std::vector<XChar> buffer(10000, XChar('x'));
  EXPECT_EQ(GetMenuStringW(hMenu, 0, buffer.data(), 10000, MF_BYPOSITION), 9999);
  EXPECT_EQ(XString(buffer.data()), strLong.substr(0, 9999));
  EXPECT_EQ(GetMenuStringW(hMenu, 0, nullptr, 0, MF_BYPOSITION), 11000);
  DestroyMenu(hMenu);
}

TEST(WinUserMenu, ModifyReplacesTypeStateAndText) {
  HMENU hMenu = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(hMenu, MF_STRING | MF_CHECKED | MF_MENUBREAK, 7, XT("Old")));
  ASSERT_TRUE(ModifyMenuW(hMenu, 0, MF_BYPOSITION | MF_GRAYED, 8, XT("New")));
  EXPECT_EQ(MenuText(hMenu, 0), XT("New"));
  EXPECT_EQ(GetMenuItemID(hMenu, 0), 8u);
  EXPECT_EQ(GetMenuState(hMenu, 0, MF_BYPOSITION), MF_GRAYED);
  EXPECT_FALSE(ModifyMenuW(hMenu, 1, MF_BYPOSITION, 9, XT("past the end")));
  EXPECT_FALSE(ModifyMenuW(nullptr, 0, MF_BYPOSITION, 9, XT("x")));

  HMENU hSub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(hSub, MF_STRING, 1, XT("a")));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), XT("Sub")));
  ASSERT_TRUE(ModifyMenuW(hMenu, 1, MF_BYPOSITION | MF_POPUP | MF_HILITE, reinterpret_cast<UINT_PTR>(hSub), XT("Neu")));
  EXPECT_EQ(GetSubMenu(hMenu, 1), hSub);
  EXPECT_EQ(GetMenuState(hMenu, 1, MF_BYPOSITION), (1u << 8) | MF_POPUP | MF_HILITE);
  EXPECT_EQ(MenuText(hMenu, 1), XT("Neu"));
  DestroyMenu(hMenu);
}

TEST(WinUserMenu, CheckEnableAndInsertByPositionAndCommand) {
  HMENU hMenu = CreateMenu();
  HMENU hSub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(hSub, MF_STRING, 21, XT("inner")));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_STRING, 20, XT("b")));
  ASSERT_TRUE(AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), XT("sub")));
  ASSERT_TRUE(InsertMenuW(hMenu, 0, MF_BYPOSITION, 19, XT("a")));
  ASSERT_TRUE(InsertMenuW(hMenu, 21, MF_BYCOMMAND, 22, XT("before inner")));
  EXPECT_EQ(MenuText(hMenu, 0), XT("a"));
  EXPECT_EQ(MenuText(hSub, 0), XT("before inner"));

  EXPECT_EQ(CheckMenuItem(hMenu, 20, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(hMenu, 1, MF_BYPOSITION | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(hMenu, 99, MF_BYCOMMAND | MF_CHECKED), 0xFFFFFFFFu);
  EXPECT_EQ(EnableMenuItem(hMenu, 21, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(hSub, 1, MF_BYPOSITION), MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(hMenu, 21, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(hMenu, 7, MF_BYPOSITION | MF_GRAYED), -1);
  DestroyMenu(hMenu);
}

struct XVisit {
  std::vector<HWND> vecSeen;
  HWND hStopAt = nullptr;  // the callback says stop after this one
  HWND hVictim = nullptr;  // destroyed by the callback on its first call
};

BOOL CALLBACK VisitProc(HWND hWnd, LPARAM lParam) {
  auto* pVisit = reinterpret_cast<XVisit*>(lParam);
  pVisit->vecSeen.push_back(hWnd);
  if (pVisit->hVictim != nullptr && IsWindow(pVisit->hVictim)) DestroyWindow(pVisit->hVictim);
  return hWnd != pVisit->hStopAt;
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
  EXPECT_EQ(GetParent(a11), a1);
  EXPECT_EQ(GetParent(a), top.Get());
  EXPECT_EQ(GetParent(top.Get()), nullptr);

  XVisit visit;
  EnumChildWindows(top.Get(), VisitProc, reinterpret_cast<LPARAM>(&visit));
  EXPECT_EQ(visit.vecSeen, (std::vector<HWND>{a, a1, a11, a2, b, c}));

  visit.vecSeen.clear();
  visit.hStopAt = a11;
  EnumChildWindows(top.Get(), VisitProc, reinterpret_cast<LPARAM>(&visit));
  EXPECT_EQ(visit.vecSeen, (std::vector<HWND>{a, a1, a11}));

  visit.vecSeen.clear();
  visit.hStopAt = nullptr;
  EXPECT_TRUE(DestroyWindow(a));
  EXPECT_FALSE(IsWindow(a11)) << "descendants go with their parent";
  visit.hVictim = c;  // destroyed while the enumeration is at b
  EnumChildWindows(top.Get(), VisitProc, reinterpret_cast<LPARAM>(&visit));
  EXPECT_EQ(visit.vecSeen, (std::vector<HWND>{b}));
}

TEST(WinUserWindow, TextClassAndMenu) {
  HMENU hBar = CreateMenu();
  AppendMenuW(hBar, MF_STRING, 1, XT("File"));
  XWindowOwner top(TopLevelCreate(XT("Caption"), hBar));
  ASSERT_NE(top.Get(), nullptr);
  EXPECT_EQ(GetMenu(top.Get()), hBar);
  EXPECT_TRUE(DrawMenuBar(top.Get()));
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
  } cases[] = {{XT("edit"), XT("Edit")},     {XT("EDIT"), XT("Edit")},     {XT("Edit"), XT("Edit")},
               {XT("button"), XT("Button")}, {XT("STATIC"), XT("Static")}, {XT("listbox"), XT("ListBox")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(colang::test::Narrow(c.created));
    HWND h = ChildCreate(top.Get(), c.created, XT("t"));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(ClassName(h), c.reported);
    XChar cut[3];
    EXPECT_EQ(GetClassNameW(h, cut, 3), 2);
  }

  ASSERT_TRUE(UiClassRegister(XT("colangTestClass")));
  HWND hOwn = ChildCreate(top.Get(), XT("COLANGTESTCLASS"), XT("t"));
  EXPECT_EQ(ClassName(hOwn), XT("colangTestClass"));
  DestroyWindow(hOwn);
  UiClassUnregister(XT("colangTestClass"));

  EXPECT_TRUE(SetMenu(top.Get(), nullptr));
  EXPECT_EQ(GetMenu(top.Get()), nullptr);
  EXPECT_TRUE(IsMenu(hBar)) << "SetMenu does not destroy the menu it replaces";
  EXPECT_TRUE(SetMenu(top.Get(), hBar));
  EXPECT_TRUE(DestroyWindow(top.Get()));
  EXPECT_FALSE(IsMenu(hBar)) << "a window takes its menu bar with it";
}

TEST(WinUser, HandlesOfTheWrongKindOrDestroyedFailEveryCall) {
  HWND hGone = TopLevelCreate(XT("gone"));
  ASSERT_TRUE(DestroyWindow(hGone));
  HMENU hMenuGone = CreatePopupMenu();
  ASSERT_TRUE(DestroyMenu(hMenuGone));
  HMENU hMenu = CreateMenu();
  XWindowOwner window(TopLevelCreate(XT("w")));
  HMENU menus[] = {nullptr, hMenuGone, reinterpret_cast<HMENU>(window.Get())};
  for (HMENU h : menus) {
    SCOPED_TRACE(reinterpret_cast<UINT_PTR>(h));
    EXPECT_FALSE(IsMenu(h));
    EXPECT_EQ(GetMenuItemCount(h), -1);
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION), 0xFFFFFFFFu);
    EXPECT_EQ(GetSubMenu(h, 0), nullptr);
    XChar buffer[8] = {};
    EXPECT_EQ(GetMenuStringW(h, 0, buffer, 8, MF_BYPOSITION), 0);
    EXPECT_FALSE(AppendMenuW(h, MF_STRING, 1, XT("x")));
    EXPECT_FALSE(DestroyMenu(h));
  }
  HWND windows[] = {nullptr, hGone, reinterpret_cast<HWND>(hMenu)};
  for (HWND h : windows) {
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
    EXPECT_FALSE(DestroyWindow(h));
  }
  DestroyMenu(hMenu);
  // A child window needs a live parent.
  EXPECT_EQ(ChildCreate(hGone, XT("STATIC"), XT("orphan")), nullptr);
}

}  // namespace
