// Menu translation on real menus: which items are rewritten and with which
// bits, submenu titles, nesting, the rules after a failed rewrite, and the
// round trip through retranslation.
#include <gtest/gtest.h>

#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "support/TestSupport.h"
#include "support/UiSupport.h"

namespace {

using Access = XLMTranslDictAccess;
using colang::test::MenuText;

constexpr UINT kKept = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE;

XLMTranslDict German() {
  XLMTranslDict dict;
  Access::Insert(dict, XT("Save"), XT("Speichern"));
  Access::Insert(dict, XT("Close"), XT("Schließen"));
  Access::Insert(dict, XT("&File"), XT("&Datei"));
  Access::Insert(dict, XT("&Open"), XT("Ö&ffnen"));
  Access::Insert(dict, XT("&Print...\tCtrl+P"), XT("&Drucken...\tStrg+P"));
  dict.LangIDSet(0x407);
  return dict;
}

// Owns a menu for the length of a test.
class XMenuOwner {
 public:
  explicit XMenuOwner(HMENU hMenu) : m_hMenu(hMenu) {}
  ~XMenuOwner() {
    if (IsMenu(m_hMenu)) DestroyMenu(m_hMenu);
  }
  XMenuOwner(const XMenuOwner&) = delete;
  XMenuOwner& operator=(const XMenuOwner&) = delete;
  HMENU Get() const { return m_hMenu; }

 private:
  HMENU m_hMenu;
};

UINT_PTR AsID(HMENU hMenu) { return reinterpret_cast<UINT_PTR>(hMenu); }

TEST(MenuTranslate, CommandItemsKeepOnlyGreyDisabledCheckedAndHighlight) {
  struct Case {
    UINT nFlags;
    const XChar* text;
    const XChar* expected;
  } cases[] = {
      {MF_STRING, XT("Save"), XT("Speichern")},
      {MF_CHECKED | MF_GRAYED, XT("Close"), XT("Schließen")},
      {MF_HILITE | MF_DISABLED, XT("Save"), XT("Speichern")},
      {MF_CHECKED | MF_GRAYED, XT("Untranslated"), XT("Untranslated")},
      {MF_MENUBREAK | MF_CHECKED, XT("Save"), XT("Speichern")},
      {MF_MENUBARBREAK, XT("Untranslated"), XT("Untranslated")},
      {MFT_RADIOCHECK | MF_CHECKED, XT("Close"), XT("Schließen")},
      {MF_RIGHTJUSTIFY, XT("Save"), XT("Speichern")},
      // The whole text is the key, mnemonic and accelerator included.
      {MF_STRING, XT("&Open\tCtrl+O"), XT("&Open\tCtrl+O")},
      {MF_STRING, XT("&Print...\tCtrl+P"), XT("&Drucken...\tStrg+P")},
  };
  XMenuOwner menu(CreatePopupMenu());
  UINT nID = 100;
  for (const Case& c : cases) ASSERT_TRUE(AppendMenuW(menu.Get(), c.nFlags, nID++, c.text));

  German().MenuTranslate(menu.Get());

  nID = 100;
  for (UINT nPos = 0; nPos < sizeof(cases) / sizeof(cases[0]); ++nPos) {
    const Case& c = cases[nPos];
    SCOPED_TRACE(nPos);
    EXPECT_EQ(MenuText(menu.Get(), nPos), c.expected);
    EXPECT_EQ(GetMenuItemID(menu.Get(), static_cast<int>(nPos)), nID++);
    EXPECT_EQ(GetMenuState(menu.Get(), nPos, MF_BYPOSITION), c.nFlags & kKept);
  }
}

TEST(MenuTranslate, ItemsWithoutTextAreLeftExactlyAsTheyWere) {
  XMenuOwner menu(CreatePopupMenu());
  const XChar* pszOwnerData = reinterpret_cast<const XChar*>(static_cast<UINT_PTR>(0x55));
  const XChar* pszBitmap = reinterpret_cast<const XChar*>(static_cast<UINT_PTR>(8));
  ASSERT_TRUE(AppendMenuW(menu.Get(), MF_SEPARATOR | MF_MENUBREAK, 0, nullptr));
  ASSERT_TRUE(AppendMenuW(menu.Get(), MF_OWNERDRAW | MF_CHECKED, 41, pszOwnerData));
  ASSERT_TRUE(AppendMenuW(menu.Get(), MF_BITMAP | MF_MENUBARBREAK, 42, pszBitmap));
  ASSERT_TRUE(AppendMenuW(menu.Get(), MF_STRING | MF_MENUBREAK, 43, XT("")));
  std::vector<UINT> vecBefore;
  for (UINT nPos = 0; nPos < 4; ++nPos) vecBefore.push_back(GetMenuState(menu.Get(), nPos, MF_BYPOSITION));

  XLMTranslDict dict = German();
  Access::Insert(dict, XT(""), XT("leer"));
  dict.MenuTranslate(menu.Get());
  dict.MenuRetranslate(menu.Get());

  for (UINT nPos = 0; nPos < 4; ++nPos) {
    SCOPED_TRACE(nPos);
    EXPECT_EQ(GetMenuState(menu.Get(), nPos, MF_BYPOSITION), vecBefore[nPos]);
    EXPECT_EQ(MenuText(menu.Get(), nPos), XT(""));
  }
  EXPECT_EQ(GetMenuItemID(menu.Get(), 1), 41u);
  EXPECT_EQ(GetMenuItemID(menu.Get(), 2), 42u);
}

TEST(MenuTranslate, SubmenuTitlesAndTheirItemsAtEveryLevel) {
  XMenuOwner bar(CreateMenu());
  HMENU hFile = CreatePopupMenu();
  HMENU hUntitled = CreatePopupMenu();
  HMENU hInner = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(hInner, MF_STRING, 3, XT("Close")));
  ASSERT_TRUE(AppendMenuW(hFile, MF_STRING, 1, XT("Save")));
  ASSERT_TRUE(AppendMenuW(hFile, MF_POPUP | MF_GRAYED, AsID(hInner), XT("&Open")));
  ASSERT_TRUE(AppendMenuW(hUntitled, MF_STRING, 2, XT("Save")));
  ASSERT_TRUE(AppendMenuW(bar.Get(), MF_POPUP, AsID(hFile), XT("&File")));
  ASSERT_TRUE(AppendMenuW(bar.Get(), MF_POPUP | MF_MENUBREAK, AsID(hUntitled), XT("")));

  German().MenuTranslate(bar.Get());

  EXPECT_EQ(MenuText(bar.Get(), 0), XT("&Datei"));
  EXPECT_EQ(GetSubMenu(bar.Get(), 0), hFile);
  EXPECT_EQ(GetMenuState(bar.Get(), 0, MF_BYPOSITION), (2u << 8) | MF_POPUP);
  EXPECT_EQ(MenuText(hFile, 0), XT("Speichern"));
  EXPECT_EQ(MenuText(hFile, 1), XT("Ö&ffnen"));
  EXPECT_EQ(GetMenuState(hFile, 1, MF_BYPOSITION), (1u << 8) | MF_POPUP | MF_GRAYED);
  EXPECT_EQ(MenuText(hInner, 0), XT("Schließen"));
  // An empty title is not rewritten, so it keeps its bits too; its items are translated.
  EXPECT_EQ(MenuText(bar.Get(), 1), XT(""));
  EXPECT_EQ(GetMenuState(bar.Get(), 1, MF_BYPOSITION), (1u << 8) | MF_POPUP | MF_MENUBREAK);
  EXPECT_EQ(MenuText(hUntitled, 0), XT("Speichern"));
}

// Whether the platform retitles a submenu item with nDepth levels below it.
bool DeepTitleRewritable(int nDepth) {
  HMENU hTop = CreatePopupMenu();
  HMENU hLevel = hTop;
  for (int i = 0; i < nDepth; ++i) {
    HMENU hSub = CreatePopupMenu();
    AppendMenuW(hLevel, MF_POPUP, AsID(hSub), XT("t"));
    hLevel = hSub;
  }
  bool bDone = ModifyMenuW(hTop, 0, MF_BYPOSITION | MF_POPUP, AsID(GetSubMenu(hTop, 0)), XT("u")) != 0;
  DestroyMenu(hTop);
  return bDone;
}

TEST(MenuTranslate, AMenuTenThousandLevelsDeepIsTranslatedToTheBottom) {
  constexpr int kDepth = 10000;
  // Wine refuses more than 30 levels below a submenu item, and drops the
  // submenu of the item it refuses.
  if (!DeepTitleRewritable(64)) GTEST_SKIP() << "the platform refuses to retitle a submenu nested 64 levels deep";
  std::vector<HMENU> vecLevels{CreatePopupMenu()};
  // Built from the top down: each new level is attached while still empty.
  for (int i = 1; i < kDepth; ++i) {
    HMENU hSub = CreatePopupMenu();
    if (hSub == nullptr || !AppendMenuW(vecLevels.back(), MF_STRING, 1, XT("Save")) ||
        !AppendMenuW(vecLevels.back(), MF_POPUP, AsID(hSub), XT("&File"))) {
      for (auto it = vecLevels.rbegin(); it != vecLevels.rend(); ++it) DestroyMenu(*it);
      if (hSub != nullptr) DestroyMenu(hSub);
      GTEST_SKIP() << "the platform refused a menu nested " << i << " levels deep";
    }
    vecLevels.push_back(hSub);
  }
  ASSERT_TRUE(AppendMenuW(vecLevels.back(), MF_STRING, 1, XT("Close")));

  XLMTranslDict dict = German();
  dict.MenuTranslate(vecLevels.front());
  EXPECT_EQ(MenuText(vecLevels.back(), 0), XT("Schließen"));
  EXPECT_EQ(MenuText(vecLevels[kDepth / 2], 1), XT("&Datei"));
  EXPECT_EQ(MenuText(vecLevels[kDepth - 2], 0), XT("Speichern"));
  dict.MenuRetranslate(vecLevels.front());
  EXPECT_EQ(MenuText(vecLevels.back(), 0), XT("Close"));
  EXPECT_EQ(MenuText(vecLevels.front(), 1), XT("&File"));

  // Destroyed from the bottom up, so that no destruction has to recurse.
  for (auto it = vecLevels.rbegin(); it != vecLevels.rend(); ++it) DestroyMenu(*it);
}

// One level with two command items, a submenu and a command item after it:
// a failed rewrite of the first item, or of the title, or inside the submenu.
TEST(MenuTranslate, AFailedRewriteStopsLaterRewritesOfItsLevelByDirection) {
  struct Case {
    const char* name;
    bool bRetranslate;
    int nFailAt;               // nth ModifyMenuW of the walk
    const XChar* expected[5];  // item 0, item 1, title, submenu item, item 3
  } cases[] = {
      {"translate, first item fails",
       false,
       1,
       {XT("Save"), XT("Schließen"), XT("&File"), XT("Speichern"), XT("Schließen")}},
      {"translate, title fails",
       false,
       3,
       {XT("Speichern"), XT("Schließen"), XT("&File"), XT("Speichern"), XT("Schließen")}},
      {"translate, submenu item fails",
       false,
       4,
       {XT("Speichern"), XT("Schließen"), XT("&Datei"), XT("Save"), XT("Schließen")}},
      {"retranslate, first item fails",
       true,
       1,
       {XT("Speichern"), XT("Schließen"), XT("&Datei"), XT("Save"), XT("Schließen")}},
      {"retranslate, second item fails",
       true,
       2,
       {XT("Save"), XT("Schließen"), XT("&Datei"), XT("Save"), XT("Schließen")}},
      {"retranslate, submenu item fails",
       true,
       4,
       {XT("Save"), XT("Close"), XT("&File"), XT("Speichern"), XT("Close")}},
  };
  const XChar* const kSource[] = {XT("Save"), XT("Close"), XT("&File"), XT("Save"), XT("Close")};
  const XChar* const kTranslated[] = {XT("Speichern"), XT("Schließen"), XT("&Datei"), XT("Speichern"), XT("Schließen")};
  XLMTranslDict dict = German();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const XChar* const* texts = c.bRetranslate ? kTranslated : kSource;
    XMenuOwner menu(CreatePopupMenu());
    HMENU hSub = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(hSub, MF_STRING, 3, texts[3]));
    ASSERT_TRUE(AppendMenuW(menu.Get(), MF_STRING, 1, texts[0]));
    ASSERT_TRUE(AppendMenuW(menu.Get(), MF_STRING, 2, texts[1]));
    ASSERT_TRUE(AppendMenuW(menu.Get(), MF_POPUP, AsID(hSub), texts[2]));
    ASSERT_TRUE(AppendMenuW(menu.Get(), MF_STRING, 4, texts[4]));
    if (!colang::test::ModifyMenuFailNth(c.nFailAt)) GTEST_SKIP() << colang::test::kNoFailureControl;

    if (c.bRetranslate)
      dict.MenuRetranslate(menu.Get());
    else
      dict.MenuTranslate(menu.Get());
    colang::test::ModifyMenuFailNth(0);

    const XString actual[5] = {MenuText(menu.Get(), 0), MenuText(menu.Get(), 1), MenuText(menu.Get(), 2),
                               MenuText(hSub, 0), MenuText(menu.Get(), 3)};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(actual[i], c.expected[i]) << "text " << i;
  }
}

TEST(MenuTranslate, ATextOfTenThousandCharactersOrMoreIsCut) {
  XString strLong(11000, XChar('x'));
  XString strCut = strLong.substr(0, 9999);
  XMenuOwner menu(CreatePopupMenu());
  ASSERT_TRUE(AppendMenuW(menu.Get(), MF_STRING, 1, strLong.c_str()));
  XLMTranslDict dict = German();
  // Only the first 9999 characters are read, so only they can be the key.
  Access::Insert(dict, strCut.c_str(), XT("kurz"));
  dict.MenuTranslate(menu.Get());
  EXPECT_EQ(MenuText(menu.Get(), 0), XT("kurz"));
}

TEST(MenuTranslate, TranslatingAndRetranslatingRestoresTheSourceTexts) {
  XMenuOwner bar(CreateMenu());
  HMENU hFile = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(hFile, MF_STRING, 1, XT("Save")));
  ASSERT_TRUE(AppendMenuW(hFile, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenuW(hFile, MF_STRING | MF_GRAYED, 2, XT("&Print...\tCtrl+P")));
  ASSERT_TRUE(AppendMenuW(hFile, MF_STRING, 3, XT("Untranslated")));
  ASSERT_TRUE(AppendMenuW(bar.Get(), MF_POPUP, AsID(hFile), XT("&File")));
  XLMTranslDict dict = German();
  colang::test::HostContext host;

  dict.MenuTranslate(bar.Get());
  EXPECT_EQ(MenuText(hFile, 2), XT("&Drucken...\tStrg+P"));
  dict.MenuRetranslate(bar.Get());

  EXPECT_EQ(colang::detail::ModuleContextCurrent(), host.Get());
  EXPECT_EQ(MenuText(bar.Get(), 0), XT("&File"));
  EXPECT_EQ(MenuText(hFile, 0), XT("Save"));
  EXPECT_EQ(GetMenuState(hFile, 1, MF_BYPOSITION), MF_SEPARATOR | MF_GRAYED | MF_DISABLED);
  EXPECT_EQ(MenuText(hFile, 2), XT("&Print...\tCtrl+P"));
  EXPECT_EQ(GetMenuState(hFile, 2, MF_BYPOSITION), MF_GRAYED);
  EXPECT_EQ(MenuText(hFile, 3), XT("Untranslated"));
}

TEST(MenuTranslate, HandlesThatAreNoMenuAreLeftAlone) {
  HMENU hGone = CreatePopupMenu();
  AppendMenuW(hGone, MF_STRING, 1, XT("Save"));
  DestroyMenu(hGone);
  colang::test::XWindowOwner window(colang::test::TopLevelCreate(XT("Save")));
  HMENU handles[] = {nullptr, hGone, reinterpret_cast<HMENU>(window.Get())};
  XLMTranslDict dict = German();
  for (HMENU h : handles) {
    dict.MenuTranslate(h);
    dict.MenuRetranslate(h);
  }
  EXPECT_EQ(colang::test::WindowText(window.Get()), XT("Save"));
}

}  // namespace
