// The untranslated-text log: off by default, records each distinct miss once
// with where it was seen, never changes a lookup's result, and writes a
// catalog that loads or a PO template.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "colang/CoLangTrans.h"
#include "colang/detail/DictAccess.h"
#include "colang/detail/Globals.h"
#include "support/Sandbox.h"

namespace {

using colang::test::XTempDir;

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class UntranslatedLogTest : public testing::Test {
 protected:
  void SetUp() override {
    XLMTranslDict& dict = colang::detail::g_dictDefault;
    dict.Empty();
    XLMTranslDictAccess::Insert(dict, XT("&File"), XT("&Datei"));
    XLMTranslDictAccess::Insert(dict, XT("Page %d of %d"), XT("Seite %d von %d"));
    dict.LangIDSet(0x407);
  }
  XTempDir m_dir;
};

TEST_F(UntranslatedLogTest, OffByDefaultAndStopWithoutStartFails) {
  EXPECT_FALSE(colang::detail::UntranslatedLogActive());
  EXPECT_EQ(CoUntranslatedLogStop(), 0);
  EXPECT_EQ(CoUntranslatedLogStart(nullptr), 0);
  EXPECT_EQ(CoUntranslatedLogStart(XT("")), 0);
  EXPECT_FALSE(colang::detail::UntranslatedLogActive());
}

TEST_F(UntranslatedLogTest, CatalogSkeletonHoldsEachMissOnceAndLoads) {
  const XString strPath = m_dir.Text("Missing0407.rlg");
  ASSERT_EQ(CoUntranslatedLogStart(strPath.c_str()), 1);
  const XChar* pszMiss = XT("Tab\there \\ and a line\nfeed");
  // Lookups give what they give without the log.
  EXPECT_EQ(CoTranslateText(pszMiss), pszMiss);
  EXPECT_EQ(CoTranslateText(pszMiss), pszMiss);
  EXPECT_EQ(XString(CoTranslateText(XT("&File"))), XT("&Datei"));
  EXPECT_EQ(XString(CoTranslateText(XT("Page 2 of 5"))), XT("Seite 2 von 5"));
  EXPECT_EQ(XString(CoTranslateText(XT("Help"))), XT("Help"));
  EXPECT_EQ(XString(CoTranslateText(XT("#12"))), XT("#12"));
  CoRetranslateText(XT("not logged: retranslation"));
  ASSERT_EQ(CoUntranslatedLogStop(), 1);
  EXPECT_FALSE(colang::detail::UntranslatedLogActive());

  XLMTranslDict skeleton(strPath.c_str());
  ASSERT_TRUE(skeleton.IsValid());
  EXPECT_EQ(skeleton.LangID(), 0x407);
  const auto& map = XLMTranslDictAccess::TranslMap(skeleton);
  EXPECT_EQ(map.size(), 2u);  // "#12" would be read as an identifier
  EXPECT_EQ(XString(skeleton.CheckTranslate(pszMiss)), pszMiss);
  EXPECT_EQ(XString(skeleton.CheckTranslate(XT("Help"))), XT("Help"));
}

TEST_F(UntranslatedLogTest, PoTemplateSaysWhereEachTextWasSeen) {
  const XString strPath = m_dir.Text("missing.po");
  ASSERT_EQ(CoUntranslatedLogStart(strPath.c_str()), 1);
  CoTranslateText(XT("Say \"hi\""));
  CoTranslateText(XT("Bell\a, start\x01, \xFC"));

  HMENU hMenu = CreatePopupMenu();
  AppendMenuW(hMenu, MF_STRING, 1, XT("&File"));
  AppendMenuW(hMenu, MF_STRING, 2, XT("&Window"));
  CoTranslateMenu(hMenu);
  DestroyMenu(hMenu);
  HWND hWnd = CreateWindowExW(0, XT("STATIC"), XT("Caption"), 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CreateWindowExW(0, XT("BUTTON"), XT("&Window"), WS_CHILD, 0, 0, 10, 10, hWnd, nullptr, nullptr, nullptr);
  CoTranslateWindow(hWnd);
  DestroyWindow(hWnd);
  ASSERT_EQ(CoUntranslatedLogStop(), 1);

  const std::string text = FileText(colang::test::PathFromText(strPath));
  EXPECT_NE(text.find("#. text\nmsgid \"Say \\\"hi\\\"\"\nmsgstr \"\"\n"), std::string::npos) << text;
  // Control characters escaped so that the text survives editing; UTF-8 as it is.
  EXPECT_NE(text.find("msgid \"Bell\\a, start\\001, \xC3\xBC\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("#. menu\n#. window Button\nmsgid \"&Window\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("#. window caption\nmsgid \"Caption\"\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("msgid \"&File\""), std::string::npos) << text;
}

TEST_F(UntranslatedLogTest, ARunningLogIsWrittenWhenReplacedOrUnloaded) {
  const XString strFirst = m_dir.Text("first0407.rlg");
  ASSERT_EQ(CoUntranslatedLogStart(strFirst.c_str()), 1);
  CoTranslateText(XT("one"));
  ASSERT_EQ(CoUntranslatedLogStart(m_dir.Text("second0407.rlg").c_str()), 1);
  EXPECT_NE(FileText(colang::test::PathFromText(strFirst)).find("\none\none\n"), std::string::npos);
  // Unloading destroys the running log, which writes it.
  CoTranslateText(XT("two"));
  colang::detail::g_ptrUntranslatedLog.reset();
  EXPECT_NE(FileText(m_dir.Path() / "second0407.rlg").find("\ntwo\ntwo\n"), std::string::npos);
}

TEST_F(UntranslatedLogTest, AnUnwritablePathFailsTheStop) {
  ASSERT_EQ(CoUntranslatedLogStart(m_dir.Text("no/such/dir/x.rlg").c_str()), 1);
  CoTranslateText(XT("lost"));
  EXPECT_EQ(CoUntranslatedLogStop(), 0);
}

}  // namespace
