// The search path: the order of the places a bare name is looked for, the
// settings directory from the host or the registry, and PATH.
#include <gtest/gtest.h>

#include "colang/LMTranslDict.h"
#include "colang/etc.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;

// A tree of directories, the working directory at app/bin, PATH made of
// two directories of the tree; everything put back afterwards.
class SearchPathTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::current_path(m_dir.Dir("app/bin"));
    for (const char* psz : {"app/bin", "settings", "path1", "path2"}) m_dir.Dir(psz);
    PathSet(m_dir.Text("path1") + XT(";") + m_dir.Text("path2"));
  }
  static void PathSet(const XString& strPath) { SetEnvironmentVariableW(XT("PATH"), strPath.c_str()); }
  // Puts App0407.rlg into the directory and gives its expected full path.
  XString Place(const char* pszDir) {
    std::string name = std::string(pszDir) + "/App0407.rlg";
    m_dir.Write(name, "0407\nTitle\n");
    return m_dir.Text(name);
  }
  void Remove(const char* pszDir) { fs::remove(m_dir.Path() / pszDir / "App0407.rlg"); }

  XProcessStateGuard m_state;
  XTempDir m_dir;
  XSettingsDirGuard m_settings;
  XRegistryKeyGuard m_regVarnok{HKEY_LOCAL_MACHINE, {XT("SOFTWARE"), XT("VARNOK"), XT("Tessaloc"), XT("common")}};
  XRegistryKeyGuard m_regGorva{HKEY_LOCAL_MACHINE, {XT("SOFTWARE"), XT("GORVA"), XT("Tessaloc"), XT("common")}};
};

TEST_F(SearchPathTest, EachPlaceIsTriedInTurn) {
  XString strHere = Place("app/bin");
  XString strParent = Place("app");
  XString strSettings = Place("settings");
  XString strPath2 = Place("path2");
  ASSERT_TRUE(XSettingsDirGuard::Set(m_dir.Text("settings").c_str()));

  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strHere);
  Remove("app/bin");
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strParent);
  Remove("app");
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strSettings);
  Remove("settings");
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strPath2);
  // Elements are split at semicolons, empty ones skipped, a trailing separator allowed.
  PathSet(m_dir.Text("path1") + XT(";;") + m_dir.Text("path2") + XT("\\"));
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strPath2);
  Remove("path2");
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), XT(""));
  EXPECT_EQ(FilePathSearch(nullptr), XT(""));
}

TEST_F(SearchPathTest, NameWithDirectoryLooksInItsParentBuiltWithBackslashes) {
  XString strParent = Place("app");
  // The directory does not exist; its parent holds the file.
  XString strName = m_dir.Text("app") + XT("\\missing\\App0407.rlg");
  EXPECT_EQ(FilePathSearch(strName.c_str()), strParent);
  // Only one level up.
  strName = m_dir.Text("app") + XT("\\missing\\deeper\\App0407.rlg");
  EXPECT_EQ(FilePathSearch(strName.c_str()), XT(""));
}

TEST_F(SearchPathTest, SettingsDirectoryGetsASeparatorWhateverItEndsWith) {
  XString strSettings = Place("settings");
  for (XString strDir : {m_dir.Text("settings"), m_dir.Text("settings") + XT("/"), m_dir.Text("settings") + XT("\\")}) {
    SCOPED_TRACE(Narrow(strDir));
    ASSERT_TRUE(XSettingsDirGuard::Set(strDir.c_str()));
    EXPECT_EQ(XLMTranslDict::RLGPathGet(), strDir);
    EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strSettings);
  }
}

TEST_F(SearchPathTest, MissingOrEmptyPathIsReportedOnceNothingElseFound) {
  for (const XChar* pszPath : {static_cast<const XChar*>(nullptr), XT("")}) {
    SetEnvironmentVariableW(XT("PATH"), pszPath);
    TraceCapture trace;
    EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), XT(""));
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(trace.Lines()[0],
              XT(".\\etc(214): #####\tFilePathSearch(\"App0407.rlg\"): no PATH-environment variable\n"));
  }
  // Found before PATH is needed: no report.
  XString strHere = Place("app/bin");
  TraceCapture trace;
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strHere);
  EXPECT_TRUE(trace.Lines().empty());
}

TEST_F(SearchPathTest, RegistryValueIsTheSettingsDirectoryUntilTheHostGivesOne) {
  HKEY hKey = m_regVarnok.Create();
  if (hKey == nullptr) GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written here, or the settings exist already";
  XString strSettings = Place("settings");
  XString strPath1 = Place("path1");

  // Another type under the name is passed over; the name compares without case.
  EXPECT_EQ(RegStringSet(hKey, XT("Rlg_Path"), XT("nowhere"), REG_EXPAND_SZ), ERROR_SUCCESS);
  EXPECT_EQ(RLGPathLookup(), XT(""));
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strPath1);
  EXPECT_EQ(RegStringSet(hKey, XT("RLG_PATH"), m_dir.Text("settings").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RLGPathLookup(), m_dir.Text("settings"));
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strSettings);
  RegCloseKey(hKey);

  // The host's directory wins and stops the registry reads; an empty one brings them back.
  ASSERT_TRUE(XSettingsDirGuard::Set(m_dir.Text("path1").c_str()));
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strPath1);
  ASSERT_TRUE(XSettingsDirGuard::Set(XT("")));
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), strSettings);
}

TEST_F(SearchPathTest, SecondRegistryKeyServesOnlyWhenTheFirstIsMissing) {
  HKEY hGorva = m_regGorva.Create();
  if (hGorva == nullptr) GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written here, or the settings exist already";
  EXPECT_EQ(RegStringSet(hGorva, XT("Other"), XT("x")), ERROR_SUCCESS);
  EXPECT_EQ(RegStringSet(hGorva, XT("Rlg_Path"), XT("C:\\gorva")), ERROR_SUCCESS);
  RegCloseKey(hGorva);
  EXPECT_EQ(RLGPathLookup(), XT("C:\\gorva"));

  HKEY hVarnok = m_regVarnok.Create();
  ASSERT_NE(hVarnok, nullptr);
  RegCloseKey(hVarnok);
  EXPECT_EQ(RLGPathLookup(), XT(""));
}

TEST(RLGPathInitialize, AsksTheHostForItsDirectoryAndKeepsItOnlyOnSuccess) {
  XSettingsDirGuard guard;
  ASSERT_TRUE(XSettingsDirGuard::Set(XT("C:\\kept")));

  XSessionDataStub stub;
  stub.varAnswer.vt = VT_I4;
  stub.varAnswer.lVal = 1234;
  EXPECT_TRUE(XLMTranslDict::RLGPathInitialize(&stub));
  EXPECT_EQ(XLMTranslDict::RLGPathGet(), XT("1234"));
  // ValueGet("common", "Rlg_Path", 8, an empty variant, 4), once.
  EXPECT_EQ(stub.strSection + XT("|") + stub.strKey, XT("common|Rlg_Path"));
  EXPECT_TRUE(stub.nCalls == 1 && stub.nArg3 == 8 && stub.nArg5 == 4 && stub.vtOnEntry == VT_EMPTY);

  for (HRESULT hr : {S_FALSE, E_FAIL}) {
    stub.hrResult = hr;
    EXPECT_FALSE(XLMTranslDict::RLGPathInitialize(&stub));
    EXPECT_EQ(XLMTranslDict::RLGPathGet(), XT("1234"));
  }
  stub.hrResult = S_OK;
  stub.varAnswer.vt = VT_NULL;  // converts to no string
  EXPECT_FALSE(XLMTranslDict::RLGPathInitialize(&stub));
  EXPECT_EQ(XLMTranslDict::RLGPathGet(), XT("1234"));

  EXPECT_FALSE(XLMTranslDict::RLGPathInitialize(nullptr));
  stub.varAnswer.vt = VT_EMPTY;
  EXPECT_TRUE(XLMTranslDict::RLGPathInitialize(&stub));
  EXPECT_EQ(XLMTranslDict::RLGPathGet(), XT(""));
}

}  // namespace
