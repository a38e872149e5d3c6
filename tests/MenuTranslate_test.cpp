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

using namespace colang::test;
using Access = XLMTranslDictAccess;

constexpr UINT kKept = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE;

XLMTranslDict German() {
  // Only the first 9999 characters of a menu text are read, so only they can be a key.
  const XString strLong(9999, XChar('x'));
  return DictMake({{XT("Save"), XT("Speichern")},
                   {XT("Close"), XT("Schließen")},
                   {XT("&File"), XT("&Datei")},
                   {XT("&Open"), XT("Ö&ffnen")},
                   {XT("&Print...\tCtrl+P"), XT("&Drucken...\tStrg+P")},
                   {strLong.c_str(), XT("kurz")}});
}

TEST(MenuTranslate, CommandItemsKeepOnlyGreyDisabledCheckedAndHighlight) {
  const XString strLong(11000, XChar('x'));
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
      {MF_STRING, strLong.c_str(), XT("kurz")},  // cut to 9999 characters
  };
  XMenuOwner menu(CreatePopupMenu());
  for (UINT nPos = 0; nPos < std::size(cases); ++nPos)
    ASSERT_TRUE(AppendMenuW(menu.Get(), cases[nPos].nFlags, 100 + nPos, cases[nPos].text));

  German().MenuTranslate(menu.Get());

  for (UINT nPos = 0; nPos < std::size(cases); ++nPos) {
    SCOPED_TRACE(nPos);
    EXPECT_EQ(MenuText(menu.Get(), nPos), cases[nPos].expected);
    EXPECT_EQ(GetMenuItemID(menu.Get(), static_cast<int>(nPos)), 100 + nPos);
    EXPECT_EQ(GetMenuState(menu.Get(), nPos, MF_BYPOSITION), cases[nPos].nFlags & kKept);
  }
}

TEST(MenuTranslate, ItemsWithoutTextAreLeftExactlyAsTheyWere) {
  XMenuOwner menu(MenuCreate({{MF_SEPARATOR | MF_MENUBREAK, 0, nullptr},
                              {MF_OWNERDRAW | MF_CHECKED, 41, AsText(0x55)},
                              {MF_BITMAP | MF_MENUBARBREAK, 42, AsText(8)},
                              {MF_STRING | MF_MENUBREAK, 43, XT("")}}));
  ASSERT_NE(menu.Get(), nullptr);
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

// Translated and retranslated back: submenu titles and items at every level.
TEST(MenuTranslate, SubmenuTitlesAndTheirItemsAtEveryLevelAndBack) {
  HMENU hInner = MenuCreate({{MF_STRING, 3, XT("Close")}});
  HMENU hFile = MenuCreate({{MF_STRING, 1, XT("Save")},
                            {MF_POPUP | MF_GRAYED, AsID(hInner), XT("&Open")},
                            {MF_STRING | MF_GRAYED, 4, XT("&Print...\tCtrl+P")},
                            {MF_STRING, 5, XT("Untranslated")}});
  HMENU hUntitled = MenuCreate({{MF_STRING, 2, XT("Save")}});
  XMenuOwner bar(
      MenuCreate({{MF_POPUP, AsID(hFile), XT("&File")}, {MF_POPUP | MF_MENUBREAK, AsID(hUntitled), XT("")}}, true));
  ASSERT_NE(bar.Get(), nullptr);
  struct Item {
    HMENU hMenu;
    UINT nPos;
    const XChar *pszSource, *pszTranslated;
    UINT nState;  // the same in both languages
  } items[] = {
      {bar.Get(), 0, XT("&File"), XT("&Datei"), (4u << 8) | MF_POPUP},
      {hFile, 0, XT("Save"), XT("Speichern"), 0},
      {hFile, 1, XT("&Open"), XT("Ö&ffnen"), (1u << 8) | MF_POPUP | MF_GRAYED},
      {hFile, 2, XT("&Print...\tCtrl+P"), XT("&Drucken...\tStrg+P"), MF_GRAYED},
      {hFile, 3, XT("Untranslated"), XT("Untranslated"), 0},
      {hInner, 0, XT("Close"), XT("Schließen"), 0},
      // An empty title is not rewritten, so it keeps its bits too; its items are translated.
      {bar.Get(), 1, XT(""), XT(""), (1u << 8) | MF_POPUP | MF_MENUBREAK},
      {hUntitled, 0, XT("Save"), XT("Speichern"), 0},
  };
  XLMTranslDict dict = German();
  for (bool bBack : {false, true}) {
    bBack ? dict.MenuRetranslate(bar.Get()) : dict.MenuTranslate(bar.Get());
    for (const Item& item : items) {
      SCOPED_TRACE(testing::Message() << (bBack ? "back: " : "") << Narrow(item.pszSource));
      EXPECT_EQ(MenuText(item.hMenu, item.nPos), bBack ? item.pszSource : item.pszTranslated);
      EXPECT_EQ(GetMenuState(item.hMenu, item.nPos, MF_BYPOSITION), item.nState);
    }
    EXPECT_EQ(GetSubMenu(bar.Get(), 0), hFile);
  }
}

// One level with two command items, a submenu and a command item after it:
// a failed rewrite of the first item, or of the title, or inside the submenu.
TEST(MenuTranslate, AFailedRewriteStopsLaterRewritesOfItsLevelByDirection) {
  struct Case {
    const char* name;
    bool bRetranslate;
    int nFailAt;              // nth ModifyMenuW of the walk
    const char* pszExpected;  // item 0, item 1, title, submenu item, item 3: S source, T translated
  } cases[] = {
      {"translate, first item fails", false, 1, "STSTT"},   {"translate, title fails", false, 3, "TTSTT"},
      {"translate, submenu item fails", false, 4, "TTTST"}, {"retranslate, first item fails", true, 1, "TTTST"},
      {"retranslate, second item fails", true, 2, "STTST"}, {"retranslate, submenu item fails", true, 4, "SSSTS"},
  };
  const XChar* const kTexts[2][5] = {
      {XT("Save"), XT("Close"), XT("&File"), XT("Save"), XT("Close")},
      {XT("Speichern"), XT("Schließen"), XT("&Datei"), XT("Speichern"), XT("Schließen")}};
  XLMTranslDict dict = German();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const XChar* const* texts = kTexts[c.bRetranslate];
    HMENU hSub = MenuCreate({{MF_STRING, 3, texts[3]}});
    XMenuOwner menu(MenuCreate({{MF_STRING, 1, texts[0]},
                                {MF_STRING, 2, texts[1]},
                                {MF_POPUP, AsID(hSub), texts[2]},
                                {MF_STRING, 4, texts[4]}}));
    ASSERT_NE(menu.Get(), nullptr);
    if (!ModifyMenuFailNth(c.nFailAt)) GTEST_SKIP() << kNoFailureControl;
    c.bRetranslate ? dict.MenuRetranslate(menu.Get()) : dict.MenuTranslate(menu.Get());
    ModifyMenuFailNth(0);

    const XString actual[5] = {MenuText(menu.Get(), 0), MenuText(menu.Get(), 1), MenuText(menu.Get(), 2),
                               MenuText(hSub, 0), MenuText(menu.Get(), 3)};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(actual[i], kTexts[c.pszExpected[i] == 'T'][i]) << "text " << i;
  }
}

}  // namespace
