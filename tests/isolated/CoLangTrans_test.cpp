// The exported Co functions over the process-wide registry of dictionaries.
// They share one default dictionary and one list for the whole process, so
// the tests build on each other in the order written and run in a process of
// their own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "colang/CoLangTrans.h"
#include "support/Sandbox.h"

namespace {

using colang::test::TraceCapture;
using colang::test::Widen;
using colang::test::XTempDir;

// The sample catalogs, copied into the working directory of the tests, where
// the search path finds a bare name for every dictionary.
class CoLangTransTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pDir = new XTempDir;
    for (const char* name : {"App0407.rlg", "App040c.rlg"})
      std::filesystem::copy_file(std::filesystem::path(COLANG_EXAMPLES_DIR) / "rlg" / name, s_pDir->Path() / name);
    s_cwd = std::filesystem::current_path();
    std::filesystem::current_path(s_pDir->Path());
  }
  static void TearDownTestSuite() {
    std::filesystem::current_path(s_cwd);
    delete s_pDir;
    s_pDir = nullptr;
  }
  static std::filesystem::path s_cwd;
  static XString Dir() { return s_pDir->Text(); }
  static XString File(const char* name) { return s_pDir->Text(name); }
  static XTempDir* s_pDir;
};
XTempDir* CoLangTransTest::s_pDir = nullptr;
std::filesystem::path CoLangTransTest::s_cwd;

TEST_F(CoLangTransTest, RightAfterLoadNothingIsTranslatedAndNullArgumentsAreRefused) {
  const XChar* pszText = XT("&File");
  EXPECT_EQ(CoGetCurrentLanguageID(), 0);
  EXPECT_EQ(CoTranslateText(pszText), pszText);
  EXPECT_EQ(CoRetranslateText(pszText), pszText);
  EXPECT_EQ(CoTranslateIdRLG(1001, nullptr), nullptr);
  const XLMTranslDict* pDefault = CoLangDictPtr(nullptr);
  ASSERT_NE(pDefault, nullptr);
  EXPECT_FALSE(pDefault->IsValid());
  EXPECT_EQ(CoLangDictPtr(XT("")), pDefault);
  EXPECT_EQ(XString(CoLangRLGPathGet()), XT(""));

  // Null arguments give the documented results.
  TraceCapture capture;
  EXPECT_EQ(CoTranslateText(static_cast<const XChar*>(nullptr)), nullptr);
  EXPECT_EQ(CoTranslateText(static_cast<const char*>(nullptr)), nullptr);
  EXPECT_EQ(CoRetranslateText(nullptr), nullptr);
  EXPECT_EQ(CoTranslateTextRLG(nullptr, nullptr), nullptr);
  EXPECT_EQ(CoRetranslateTextRLG(nullptr, XT("nothing")), nullptr);
  EXPECT_EQ(CoLangLoadDict(nullptr), 0);
  EXPECT_EQ(CoLangLoadDefaultDict(nullptr), 0);
  EXPECT_EQ(CoLoadLanguage(nullptr, nullptr, 0), 0);
  EXPECT_EQ(CoLangIDExtract(nullptr), 0);
  EXPECT_EQ(CoRLGFilenameGen(nullptr, 10, XT("d"), XT("App"), 0x407), 0);
  EXPECT_EQ(CoLangRLGPathInitialize(nullptr), 0);
  CoTranslateMenu(nullptr);
  CoRetranslateWindowRLG(nullptr, nullptr);
  for (BSTR bstr :
       {CoTranslateText2(static_cast<const XChar*>(nullptr)), CoTranslateText2(static_cast<const char*>(nullptr))}) {
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(SysStringLen(bstr), 0u);
    SysFreeString(bstr);
  }
  EXPECT_EQ(CoGetCurrentLanguageID(), 0);
}

TEST_F(CoLangTransTest, FilenameGenCutsToTheBuffer) {
  struct Case {
    int nSize;
    const XChar* pszPrefix;
    int nLangID;
    int nExpected;
    const XChar* pszExpected;
  } cases[] = {
      {64, XT("App"), 0x407, 19, XT("C:\\rlg\\App0407.rlg")},
      {10, XT("App"), 0x407, 10, XT("C:\\rlg\\Ap")},
      {1, XT("App"), 0x407, 1, XT("")},
      {64, nullptr, 0x407, 1, XT("")},
      {64, XT("App"), 0, 1, XT("")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nSize);
    XChar buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), XChar('#'));
    EXPECT_EQ(CoRLGFilenameGen(buffer, c.nSize, XT("C:\\rlg"), c.pszPrefix, c.nLangID), c.nExpected);
    EXPECT_EQ(XString(buffer), c.pszExpected);
    if (c.nSize < 64) {
      EXPECT_EQ(buffer[c.nSize], XChar('#'));  // nothing written past the size
    }
  }
  XChar untouched = XChar('#');
  EXPECT_EQ(CoRLGFilenameGen(&untouched, 0, XT("C:\\rlg"), XT("App"), 0x407), 0);
  EXPECT_EQ(untouched, XChar('#'));
}

TEST_F(CoLangTransTest, LoadLanguageSelectsTheDefaultDictionaryByEveryName) {
  ASSERT_EQ(CoLoadLanguage(Dir().c_str(), XT("App"), 0x407), 1);
  EXPECT_EQ(CoGetCurrentLanguageID(), 0x407);
  const XChar* pszText = XT("&File");
  const XString strExpected = XT("&Datei");
  EXPECT_EQ(XString(CoTranslateText(pszText)), strExpected);
  EXPECT_EQ(XString(CoRetranslateText(XT("&Datei"))), XT("&File"));
  for (const XString& selector : {XString(XT("App0407.rlg")), XString(XT("App")), File("App0407.rlg"), XString()}) {
    SCOPED_TRACE(colang::test::Narrow(selector));
    EXPECT_EQ(CoLangDictPtr(selector.c_str()), CoLangDictPtr(nullptr));
    EXPECT_EQ(XString(CoTranslateTextRLG(pszText, selector.c_str())), strExpected);
  }
  const XChar* pszID = CoTranslateIdRLG(1001, nullptr);
  ASSERT_NE(pszID, nullptr);
  EXPECT_EQ(pszID, CoTranslateIdRLG(1001, XT("App")));
}

TEST_F(CoLangTransTest, ListDictionariesAreSelectedByTheirFileAndNeverMove) {
  ASSERT_EQ(CoLangLoadDict(File("App040c.rlg").c_str()), 1);
  const XLMTranslDict* pFrench = CoLangDictPtr(XT("App040c.rlg"));
  ASSERT_NE(pFrench, nullptr);
  EXPECT_NE(pFrench, CoLangDictPtr(nullptr));
  EXPECT_EQ(pFrench->LangID(), 0x40c);
  EXPECT_EQ(CoLangDictPtr(File("App040c.rlg").c_str()), pFrench);
  // Every spelling of the file selects it: a detour, and where the file
  // system ignores letter case, another case.
  XString strOtherCase = File("App040c.rlg");
  for (XChar& c : strOtherCase)
    if (c >= 'a' && c <= 'z') c = static_cast<XChar>(c - 'a' + 'A');
  const XString strDetour = Dir() + XT("\\..\\") + Widen(s_pDir->Path().filename().u8string()) + XT("\\.\\App040c.rlg");
  EXPECT_EQ(CoLangDictPtr(strDetour.c_str()), pFrench);
  EXPECT_EQ(CoLangDictPtr(strOtherCase.c_str()), colang::test::OnWindows() ? pFrench : nullptr);
  const XChar* pszFrench = CoTranslateTextRLG(XT("&File"), XT("App040c.rlg"));
  EXPECT_EQ(XString(pszFrench), XT("&Fichier"));

  // Growing the list moves no dictionary and no text; a second load of the
  // same file adds a dictionary that the first one hides.
  for (int i = 0; i < 40; ++i) ASSERT_EQ(CoLangLoadDict(File("App040c.rlg").c_str()), 1);
  EXPECT_EQ(CoLangDictPtr(XT("App040c.rlg")), pFrench);
  EXPECT_EQ(CoTranslateTextRLG(XT("&File"), XT("App040c.rlg")), pszFrench);

  // A file loaded by both the default and a list dictionary selects the default.
  ASSERT_EQ(CoLangLoadDict(File("App0407.rlg").c_str()), 1);
  EXPECT_EQ(CoLangDictPtr(XT("App0407.rlg")), CoLangDictPtr(nullptr));

  // A selector that names no loaded file selects nothing.
  const XChar* pszText = XT("&File");
  EXPECT_EQ(CoLangDictPtr(XT("Other0409.rlg")), nullptr);
  EXPECT_EQ(CoTranslateTextRLG(pszText, XT("Other0409.rlg")), pszText);
  EXPECT_EQ(CoTranslateIdRLG(1001, XT("Other0409.rlg")), nullptr);
  EXPECT_EQ(CoLangIDSet(0x409, XT("Other0409.rlg")), 0);
}

TEST_F(CoLangTransTest, FailedLoadsAndAddsReportAndLeaveEverythingAsItWas) {
  TraceCapture capture;
  const XLMTranslDict* pFrench = CoLangDictPtr(XT("App040c.rlg"));
  EXPECT_EQ(CoLangLoadDict(File("Missing0407.rlg").c_str()), 0);
  EXPECT_EQ(CoLangDictPtr(XT("App040c.rlg")), pFrench);
  EXPECT_EQ(CoGetCurrentLanguageID(), 0x407);
  EXPECT_EQ(CoLangLoadDefaultDict(File("Missing0407.rlg").c_str()), 0);
  EXPECT_EQ(XString(CoTranslateText(XT("&File"))), XT("&Datei"));

  // Adding reports after the reader's own report.
  capture.Clear();
  const XString strMissing = File("Missing0407.rlg");
  EXPECT_EQ(CoLangAddDefaultDict(strMissing.c_str()), 0);
  ASSERT_EQ(capture.Lines().size(), 2u);
  EXPECT_NE(capture.Lines()[0].find(XT("(372): #####\tXLMTranslDict::RLGFileRead(")), XString::npos);
  EXPECT_EQ(capture.Lines()[1],
            XT(".\\CoLangTrans(98): #####\tCoLangAddDefaultDict(\"") + strMissing + XT("\"): error\n"));

  capture.Clear();
  EXPECT_EQ(CoLangAddDict(XT("Nowhere0409.rlg"), XT("x.rlg")), 0);
  ASSERT_FALSE(capture.Lines().empty());
  EXPECT_EQ(capture.Lines().back(),
            XT(".\\CoLangTrans(87): #####\tCoLangAddDict(\"Nowhere0409.rlg\",\"x.rlg\"): error\n"));

  capture.Clear();
  EXPECT_EQ(CoLangAddDict(XT("App040c.rlg"), File("App0407.rlg").c_str()), 0);  // another language
  ASSERT_EQ(capture.Lines().size(), 2u);
  EXPECT_NE(capture.Lines()[0].find(XT("(362): ")), XString::npos);
  EXPECT_NE(capture.Lines()[1].find(XT("(87): ")), XString::npos);
}

TEST_F(CoLangTransTest, NarrowTextsAreInTheThreadsCodePage) {
  // "Öffnen" in UTF-8; Windows reads the bytes in its ANSI code page (1252 here).
  const char* pszNarrow = "Öffnen";
  const XString strConverted = colang::test::OnWindows() ? XT("Ã–ffnen") : XT("Öffnen");
  const XChar* pszMiss = CoTranslateText(pszNarrow);
  ASSERT_NE(pszMiss, nullptr);
  EXPECT_EQ(XString(pszMiss), strConverted);
  // The kept copy outlives the next misses.
  for (int i = 0; i < 10; ++i) CoTranslateText("no such text");
  EXPECT_EQ(XString(pszMiss), strConverted);

  EXPECT_EQ(XString(CoTranslateText("&File")), XT("&Datei"));
  EXPECT_EQ(CoTranslateText("&File"), CoTranslateText(XT("&File")));

  BSTR bstrHit = CoTranslateText2("&File");
  BSTR bstrMiss = CoTranslateText2(pszNarrow);
  BSTR bstrWide = CoTranslateText2(XT("Page 3 of 10"));
  EXPECT_EQ(XString(bstrHit, SysStringLen(bstrHit)), XT("&Datei"));
  EXPECT_EQ(XString(bstrMiss, SysStringLen(bstrMiss)), strConverted);
  EXPECT_EQ(XString(bstrWide, SysStringLen(bstrWide)), XT("Seite 3 von 10"));
  for (BSTR bstr : {bstrHit, bstrMiss, bstrWide}) SysFreeString(bstr);
}

TEST_F(CoLangTransTest, LangIDSetAndUnloadWorkThroughSelectors) {
  const XLMTranslDict* pFrench = CoLangDictPtr(XT("App040c.rlg"));
  ASSERT_NE(pFrench, nullptr);
  ASSERT_EQ(CoLangIDSet(0, XT("App040c.rlg")), 1);
  EXPECT_FALSE(pFrench->IsValid());
  const XChar* pszText = XT("&File");
  EXPECT_EQ(CoTranslateTextRLG(pszText, XT("App040c.rlg")), pszText);
  ASSERT_EQ(CoLangIDSet(0x40c, XT("App040c.rlg")), 1);

  // Unloading empties the dictionary but leaves it in the list, where no
  // selector finds it any more; the next list dictionary that loaded the
  // file is found instead.
  CoUnloadLanguageRLG(XT("App040c.rlg"));
  EXPECT_TRUE(pFrench->RLGFilesLoaded().empty());
  const XLMTranslDict* pNext = CoLangDictPtr(XT("App040c.rlg"));
  ASSERT_NE(pNext, nullptr);
  EXPECT_NE(pNext, pFrench);

  CoUnloadLanguageRLG(nullptr);
  EXPECT_EQ(CoGetCurrentLanguageID(), 0);
  EXPECT_EQ(CoTranslateText(pszText), pszText);
  ASSERT_EQ(CoLangIDSet(0x407, nullptr), 1);
  EXPECT_TRUE(CoLangDictPtr(nullptr)->IsValid());
}

}  // namespace
