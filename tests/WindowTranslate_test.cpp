// Window translation on real windows: caption, menu bar and every window
// below except edit controls; the current window dictionary; a failed menu
// bar redraw; and the round trip through retranslation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/detail/Globals.h"
#include "support/TestSupport.h"
#include "support/UiSupport.h"

namespace {

using Access = XLMTranslDictAccess;
using colang::detail::g_pDictWindow;
using colang::test::ChildCreate;
using colang::test::ClassName;
using colang::test::MenuText;
using colang::test::TopLevelCreate;
using colang::test::TraceCapture;
using colang::test::WindowText;
using colang::test::XWindowOwner;

const XChar* const kReport = XT(".\\LMTranslDict(1034): #####\tXLMTranslDict::WindowTranslate: failed\n");

XLMTranslDict German() {
  XLMTranslDict dict;
  Access::Insert(dict, XT("Options"), XT("Optionen"));
  Access::Insert(dict, XT("&File"), XT("&Datei"));
  Access::Insert(dict, XT("Open"), XT("Öffnen"));
  Access::Insert(dict, XT("Name:"), XT("Name:"));
  Access::Insert(dict, XT("Cancel"), XT("Abbrechen"));
  Access::Insert(dict, XT("Group"), XT("Gruppe"));
  dict.LangIDSet(0x407);
  return dict;
}

// A dialog: a menu bar, a group box, a label, an edit field with a window of
// its own below it, and a child page holding a button.
struct XDialog {
  XWindowOwner top;
  HMENU hFile = nullptr;
  HWND hGroup = nullptr, hLabel = nullptr, hEdit = nullptr, hBelowEdit = nullptr;
  HWND hPage = nullptr, hCancel = nullptr, hEmpty = nullptr;

  explicit XDialog(const XChar* const texts[6]) : top(TopLevelCreate(texts[0], MenuBarCreate(texts))) {
    hFile = GetSubMenu(GetMenu(top.Get()), 0);
    hGroup = ChildCreate(top.Get(), XT("BUTTON"), texts[3], 10, BS_GROUPBOX);
    hLabel = ChildCreate(top.Get(), XT("STATIC"), texts[4], 11);
    hEdit = ChildCreate(top.Get(), XT("EDIT"), texts[2], 12);
    hBelowEdit = ChildCreate(hEdit, XT("STATIC"), texts[2], 13);
    hPage = ChildCreate(top.Get(), XT("STATIC"), XT(""), 14);
    hCancel = ChildCreate(hPage, XT("BUTTON"), texts[5], 15);
    hEmpty = ChildCreate(hPage, XT("STATIC"), XT(""), 16);
  }
  static HMENU MenuBarCreate(const XChar* const texts[6]) {
    HMENU hBar = CreateMenu();
    HMENU hSub = CreatePopupMenu();
    AppendMenuW(hSub, MF_STRING, 1, texts[2]);
    AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), texts[1]);
    return hBar;
  }
  bool Made() const { return top.Get() && hFile && hGroup && hLabel && hEdit && hBelowEdit && hCancel && hEmpty; }
  // Caption, menu title, menu item, group, label, edit, below the edit, button.
  std::vector<XString> Texts() const {
    return {WindowText(top.Get()),  MenuText(GetMenu(top.Get()), 0),
            MenuText(hFile, 0),     WindowText(hGroup),
            WindowText(hLabel),     WindowText(hEdit),
            WindowText(hBelowEdit), WindowText(hCancel)};
  }
};

const XChar* const kSource[6] = {XT("Options"), XT("&File"), XT("Open"), XT("Group"), XT("Name:"), XT("Cancel")};

std::vector<XString> Expected(std::initializer_list<const XChar*> texts) { return {texts.begin(), texts.end()}; }

// Puts a dictionary without language in the current window slot, which the
// translation must replace for its children and give back afterwards.
class XSlotTaken {
 public:
  XSlotTaken() : m_pSaved(g_pDictWindow) { g_pDictWindow = &m_dictNone; }
  ~XSlotTaken() { g_pDictWindow = m_pSaved; }
  bool Restored() const { return g_pDictWindow == &m_dictNone; }

 private:
  XLMTranslDict m_dictNone;
  const XLMTranslDict* m_pSaved;
};

TEST(WindowTranslate, ADialogIsTranslatedExceptItsEditField) {
  XDialog dialog(kSource);
  ASSERT_TRUE(dialog.Made());
  ASSERT_EQ(ClassName(dialog.hEdit), XT("Edit"));
  colang::test::HostContext host;
  TraceCapture capture;
  XSlotTaken slot;

  German().WindowTranslate(dialog.top.Get());

  EXPECT_EQ(dialog.Texts(), Expected({XT("Optionen"), XT("&Datei"), XT("Öffnen"), XT("Gruppe"), XT("Name:"), XT("Open"),
                                      XT("Öffnen"), XT("Abbrechen")}));
  EXPECT_EQ(WindowText(dialog.hEmpty), XT(""));
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_TRUE(slot.Restored());
  EXPECT_EQ(colang::detail::ModuleContextCurrent(), host.Get());
}

TEST(WindowTranslate, TranslatingAndRetranslatingRestoresTheDialog) {
  XDialog dialog(kSource);
  ASSERT_TRUE(dialog.Made());
  std::vector<XString> before = dialog.Texts();
  XLMTranslDict dict = German();
  dict.WindowTranslate(dialog.top.Get());
  ASSERT_NE(dialog.Texts(), before);
  XSlotTaken slot;
  dict.WindowRetranslate(dialog.top.Get());
  EXPECT_EQ(dialog.Texts(), before);
  EXPECT_TRUE(slot.Restored());
}

TEST(WindowTranslate, OnlyTheExactEditAndFirstRichEditClassNamesAreSkipped) {
  colang::test::RichEditLoad();
  // The translated window itself is rewritten whatever its class.
  XWindowOwner top(TopLevelCreate(XT("Options"), nullptr, XT("EDIT")));
  struct Case {
    const XChar* created;
    const XChar* reported;
    bool bTranslated;
  } cases[] = {
      {XT("edit"), XT("Edit"), false},
      {XT("RICHEDIT"), XT("RICHEDIT"), false},
      {XT("RichEdit20W"), XT("RichEdit20W"), true},
      {XT("STATIC"), XT("Static"), true},
  };
  std::vector<HWND> vecControls;
  for (const Case& c : cases) {
    HWND h = ChildCreate(top.Get(), c.created, XT("Open"));
    ASSERT_NE(h, nullptr) << colang::test::Narrow(c.created);
    ASSERT_EQ(ClassName(h), c.reported);
    vecControls.push_back(h);
  }
  // A class spelt EDIT of the application's own is no edit control of the system's.
  const XChar* pszOwnClass = XT("EDIT");
  ASSERT_TRUE(colang::test::UiClassRegister(pszOwnClass));
  HWND hOwn = ChildCreate(top.Get(), pszOwnClass, XT("Open"));
  ASSERT_NE(hOwn, nullptr);
  XString strOwnClass = ClassName(hOwn);

  German().WindowTranslate(top.Get());

  EXPECT_EQ(WindowText(top.Get()), XT("Optionen"));
  for (size_t i = 0; i < vecControls.size(); ++i) {
    SCOPED_TRACE(colang::test::Narrow(cases[i].created));
    EXPECT_EQ(WindowText(vecControls[i]), cases[i].bTranslated ? XT("Öffnen") : XT("Open"));
  }
  XString strOwnText = WindowText(hOwn);
  DestroyWindow(hOwn);
  colang::test::UiClassUnregister(pszOwnClass);
  if (strOwnClass != pszOwnClass) GTEST_SKIP() << "this platform reports the system spelling for an own class EDIT";
  EXPECT_EQ(strOwnText, XT("Öffnen"));
}

TEST(WindowTranslate, AnEmptyCaptionIsSetButAnEmptyControlIsNot) {
  XLMTranslDict dict = German();
  Access::Insert(dict, XT(""), XT("(leer)"));
  XWindowOwner top(TopLevelCreate(XT("")));
  HWND hEmpty = ChildCreate(top.Get(), XT("STATIC"), XT(""));
  ASSERT_NE(hEmpty, nullptr);
  dict.WindowTranslate(top.Get());
  EXPECT_EQ(WindowText(top.Get()), XT("(leer)"));
  EXPECT_EQ(WindowText(hEmpty), XT(""));
}

TEST(WindowTranslate, AFailedMenuBarRedrawKeepsTheCaptionAndIsReportedByTranslationOnly) {
  struct Case {
    bool bRetranslate;
    std::vector<XString> expected;
    size_t nReports;
  } cases[] = {
      {false,
       Expected({XT("Options"), XT("&Datei"), XT("Öffnen"), XT("Gruppe"), XT("Name:"), XT("Open"), XT("Öffnen"),
                 XT("Abbrechen")}),
       1},
      {true,
       Expected(
           {XT("Optionen"), XT("&File"), XT("Open"), XT("Group"), XT("Name:"), XT("Öffnen"), XT("Open"), XT("Cancel")}),
       0},
  };
  const XChar* const kTranslated[6] = {XT("Optionen"), XT("&Datei"), XT("Öffnen"),
                                       XT("Gruppe"),   XT("Name:"),  XT("Abbrechen")};
  XLMTranslDict dict = German();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bRetranslate ? "retranslate" : "translate");
    XDialog dialog(c.bRetranslate ? kTranslated : kSource);
    ASSERT_TRUE(dialog.Made());
    if (!colang::test::DrawMenuBarFailNth(1)) GTEST_SKIP() << colang::test::kNoFailureControl;
    TraceCapture capture;
    if (c.bRetranslate)
      dict.WindowRetranslate(dialog.top.Get());
    else
      dict.WindowTranslate(dialog.top.Get());
    colang::test::DrawMenuBarFailNth(0);
    EXPECT_EQ(dialog.Texts(), c.expected);
    ASSERT_EQ(capture.Lines().size(), c.nReports);
    if (c.nReports == 1) {
      EXPECT_EQ(capture.Lines()[0], kReport);
    }
  }
}

TEST(WindowTranslate, AWindowWithoutMenuBarIsNotRedrawn) {
  XWindowOwner top(TopLevelCreate(XT("Options")));
  bool bArmed = colang::test::DrawMenuBarFailNth(1);
  TraceCapture capture;
  German().WindowTranslate(top.Get());
  EXPECT_EQ(WindowText(top.Get()), XT("Optionen"));
  EXPECT_TRUE(capture.Lines().empty());
  if (!bArmed) return;
  // The failure arranged for the next redraw is still pending.
  EXPECT_FALSE(DrawMenuBar(top.Get()));
  colang::test::DrawMenuBarFailNth(0);
}

TEST(WindowTranslate, HandlesThatAreNoWindowAreLeftAlone) {
  HWND hGone = TopLevelCreate(XT("Options"));
  DestroyWindow(hGone);
  HMENU hMenu = CreateMenu();
  AppendMenuW(hMenu, MF_STRING, 1, XT("Open"));
  HWND handles[] = {nullptr, hGone, reinterpret_cast<HWND>(hMenu)};
  XLMTranslDict dict = German();
  TraceCapture capture;
  for (HWND h : handles) {
    dict.WindowTranslate(h);
    dict.WindowRetranslate(h);
  }
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_EQ(MenuText(hMenu, 0), XT("Open"));
  EXPECT_EQ(g_pDictWindow, nullptr);
  DestroyMenu(hMenu);
}

TEST(WindowTranslate, FiveThousandControlsAreAllTranslated) {
  constexpr int kControls = 5000;
  XLMTranslDict dict = German();
  XWindowOwner top(TopLevelCreate(XT("Options")));
  std::vector<HWND> vecControls;
  HWND hPage = ChildCreate(top.Get(), XT("STATIC"), XT("Group"));
  for (int i = 0; i < kControls; ++i) {
    std::string text = "Item " + std::to_string(i);
    XString strText = colang::test::Widen(text);
    Access::Insert(dict, strText.c_str(), colang::test::Widen("Eintrag " + std::to_string(i)).c_str());
    HWND h = ChildCreate(i % 2 ? hPage : top.Get(), XT("BUTTON"), strText.c_str(), 100 + i);
    ASSERT_NE(h, nullptr) << i;
    vecControls.push_back(h);
  }
  dict.WindowTranslate(top.Get());
  int nTranslated = 0;
  for (int i = 0; i < kControls; ++i)
    if (WindowText(vecControls[static_cast<size_t>(i)]) == colang::test::Widen("Eintrag " + std::to_string(i)))
      ++nTranslated;
  EXPECT_EQ(nTranslated, kControls);
  EXPECT_EQ(WindowText(hPage), XT("Gruppe"));
}

}  // namespace
