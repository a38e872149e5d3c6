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

using namespace colang::test;
using Access = XLMTranslDictAccess;
using colang::detail::g_pDictWindow;

// Caption, menu title, menu item, group, label and button of a dialog, in
// the source language and translated.
const XChar* const kTexts[2][6] = {
    {XT("Options"), XT("&File"), XT("Open"), XT("Group"), XT("Name:"), XT("Cancel")},
    {XT("Optionen"), XT("&Datei"), XT("Öffnen"), XT("Gruppe"), XT("Name:"), XT("Abbrechen")}};

XLMTranslDict German() {
  XLMTranslDict dict;
  for (int i = 0; i < 6; ++i) Access::Insert(dict, kTexts[0][i], kTexts[1][i]);
  Access::Insert(dict, XT(""), XT("(leer)"));
  dict.LangIDSet(0x407);
  return dict;
}

// A dialog: a menu bar, a group box, a label, an edit field with a window of
// its own below it, and a child page holding a button and an empty label.
struct XDialog {
  XWindowOwner top;
  HMENU hFile;
  HWND hGroup, hLabel, hEdit, hBelowEdit, hPage, hCancel, hEmpty;

  explicit XDialog(const XChar* const texts[6])
      : top(TopLevelCreate(texts[0],
                           MenuCreate({{MF_POPUP, AsID(MenuCreate({{MF_STRING, 1, texts[2]}})), texts[1]}}, true))),
        hFile(GetSubMenu(GetMenu(top.Get()), 0)),
        hGroup(ChildCreate(top.Get(), XT("BUTTON"), texts[3], 10, BS_GROUPBOX)),
        hLabel(ChildCreate(top.Get(), XT("STATIC"), texts[4], 11)),
        hEdit(ChildCreate(top.Get(), XT("EDIT"), texts[2], 12)),
        hBelowEdit(ChildCreate(hEdit, XT("STATIC"), texts[2], 13)),
        hPage(ChildCreate(top.Get(), XT("STATIC"), XT(""), 14)),
        hCancel(ChildCreate(hPage, XT("BUTTON"), texts[5], 15)),
        hEmpty(ChildCreate(hPage, XT("STATIC"), XT(""), 16)) {}
  bool Made() const { return top.Get() && hFile && hGroup && hLabel && hEdit && hBelowEdit && hCancel && hEmpty; }
  // Caption, menu title, menu item, group, label, edit, below the edit, button.
  std::vector<XString> Texts() const {
    return {WindowText(top.Get()),  MenuText(GetMenu(top.Get()), 0),
            MenuText(hFile, 0),     WindowText(hGroup),
            WindowText(hLabel),     WindowText(hEdit),
            WindowText(hBelowEdit), WindowText(hCancel)};
  }
};

// What Texts() gives when each is in the language its letter says: S source, T translated.
std::vector<XString> Expected(const char* pszLanguages) {
  const int kIndex[8] = {0, 1, 2, 3, 4, 2, 2, 5};
  std::vector<XString> vec;
  for (int i = 0; i < 8; ++i) vec.push_back(kTexts[pszLanguages[i] == 'T'][kIndex[i]]);
  return vec;
}

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

TEST(WindowTranslate, ADialogIsTranslatedExceptItsEditFieldAndRetranslatedBack) {
  XDialog dialog(kTexts[0]);
  ASSERT_TRUE(dialog.Made());
  ASSERT_EQ(ClassName(dialog.hEdit), XT("Edit"));
  HostContext host;
  TraceCapture capture;
  XSlotTaken slot;
  XLMTranslDict dict = German();

  dict.WindowTranslate(dialog.top.Get());
  EXPECT_EQ(dialog.Texts(), Expected("TTTTTSTT"));
  EXPECT_EQ(WindowText(dialog.hEmpty), XT("")) << "an empty control is not set";
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_TRUE(slot.Restored());
  EXPECT_EQ(colang::detail::ModuleContextCurrent(), host.Get());

  dict.WindowRetranslate(dialog.top.Get());
  EXPECT_EQ(dialog.Texts(), Expected("SSSSSSSS"));
  EXPECT_TRUE(slot.Restored());
}

TEST(WindowTranslate, OnlyTheExactEditAndFirstRichEditClassNamesAreSkipped) {
  RichEditLoad();
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
    vecControls.push_back(ChildCreate(top.Get(), c.created, XT("Open")));
    ASSERT_NE(vecControls.back(), nullptr) << Narrow(c.created);
    ASSERT_EQ(ClassName(vecControls.back()), c.reported);
  }
  // A class spelt EDIT of the application's own is no edit control of the system's.
  ASSERT_TRUE(UiClassRegister(XT("EDIT")));
  HWND hOwn = ChildCreate(top.Get(), XT("EDIT"), XT("Open"));
  ASSERT_NE(hOwn, nullptr);
  XString strOwnClass = ClassName(hOwn);

  German().WindowTranslate(top.Get());

  EXPECT_EQ(WindowText(top.Get()), XT("Optionen"));
  for (size_t i = 0; i < vecControls.size(); ++i) {
    SCOPED_TRACE(Narrow(cases[i].created));
    EXPECT_EQ(WindowText(vecControls[i]), cases[i].bTranslated ? XT("Öffnen") : XT("Open"));
  }
  XString strOwnText = WindowText(hOwn);
  DestroyWindow(hOwn);
  UiClassUnregister(XT("EDIT"));
  if (strOwnClass != XT("EDIT")) GTEST_SKIP() << "this platform reports the system spelling for an own class EDIT";
  EXPECT_EQ(strOwnText, XT("Öffnen"));
}

TEST(WindowTranslate, AFailedMenuBarRedrawKeepsTheCaptionAndIsReportedByTranslationOnly) {
  XLMTranslDict dict = German();
  for (bool bRetranslate : {false, true}) {
    SCOPED_TRACE(bRetranslate ? "retranslate" : "translate");
    XDialog dialog(kTexts[bRetranslate]);
    ASSERT_TRUE(dialog.Made());
    if (!DrawMenuBarFailNth(1)) GTEST_SKIP() << kNoFailureControl;
    TraceCapture capture;
    bRetranslate ? dict.WindowRetranslate(dialog.top.Get()) : dict.WindowTranslate(dialog.top.Get());
    DrawMenuBarFailNth(0);
    EXPECT_EQ(dialog.Texts(), Expected(bRetranslate ? "TSSSSTSS" : "STTTTSTT"));
    const XString strReport = XT(".\\LMTranslDict(1034): #####\tXLMTranslDict::WindowTranslate: failed\n");
    EXPECT_EQ(capture.Lines(), bRetranslate ? std::vector<XString>{} : std::vector<XString>{strReport});
  }
}

TEST(WindowTranslate, AWindowWithoutMenuBarIsNotRedrawnAndItsEmptyCaptionIsSet) {
  XWindowOwner top(TopLevelCreate(XT("")));
  bool bArmed = DrawMenuBarFailNth(1);
  TraceCapture capture;
  German().WindowTranslate(top.Get());
  EXPECT_EQ(WindowText(top.Get()), XT("(leer)"));
  EXPECT_TRUE(capture.Lines().empty());
  if (!bArmed) return;
  // The failure arranged for the next redraw is still pending.
  EXPECT_FALSE(DrawMenuBar(top.Get()));
  DrawMenuBarFailNth(0);
}

}  // namespace
