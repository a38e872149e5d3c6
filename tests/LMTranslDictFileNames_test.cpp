// Catalog file names: the identifier in a name, generated names, the default
// directory, completion of partial names and the search for loaded files.
#include <gtest/gtest.h>

#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictText.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;
using colang::detail::HexScan;

TEST(HexScan, CountsWhatItConsumes) {
  struct Case {
    const XChar* text;
    size_t consumed;
    std::uint32_t value;
  } cases[] = {
      {XT("0407"), 4, 0x407}, {XT("040a"), 4, 0x40A},   {XT("040A Deutsch"), 4, 0x40A},   {XT("0x07"), 4, 7},
      {XT("0X1f"), 4, 0x1F},  {XT("0x0407"), 6, 0x407}, {XT("04071"), 5, 0x4071},         {XT("04G7"), 2, 4},
      {XT(""), 0, 0},         {XT("0x"), 2, 0},         {XT("123456789"), 9, 0x23456789},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    std::uint32_t nValue = 99;
    EXPECT_EQ(HexScan(nValue, c.text), c.consumed);
    EXPECT_EQ(nValue, c.value);
  }
  std::uint32_t nValue = 99;
  EXPECT_EQ(HexScan(nValue, nullptr), 0u);
  EXPECT_EQ(nValue, 0u);
}

TEST(LangIDFromFilename, LastFourCharactersOfTheBaseName) {
  struct Case {
    const XChar* name;
    int id;
  } cases[] = {
      {XT("C:\\rlg\\App0407.rlg"), 0x407},
      {XT("/x.y/App0407.txt"), 0x407},
      {XT("App0407"), 0x407},
      {XT("App040A.rlg"), 0x40A},
      {XT("App040a"), 0x40A},
      {XT("App0x07.rlg"), 7},
      {XT("App12345.rlg"), 0x2345},
      {XT("407.rlg"), 0},
      {XT("App04G7.rlg"), 0},
      {XT("App0000.rlg"), 0},
      {XT("0407\\App.rlg"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    EXPECT_EQ(XLMTranslDict::LangIDFromFilename(c.name), c.id);
    int nOut = -5;
    EXPECT_EQ(XLMTranslDict::RLGFilenameCheck(nOut, c.name), c.id > 0);
    EXPECT_EQ(nOut, c.id > 0 ? c.id : -5);
  }
  EXPECT_EQ(XLMTranslDict::LangIDFromFilename(nullptr), 0);
}

TEST(RLGFilenameGen, DirectoryPrefixDigitsExtension) {
  struct Case {
    const XChar *dir, *prefix;
    int id;
    const XChar* expected;
  } cases[] = {
      {XT("C:\\rlg"), XT("App"), 0x407, XT("C:\\rlg\\App0407.rlg")},
      {XT("C:\\rlg\\"), XT("App"), 0x407, XT("C:\\rlg\\App0407.rlg")},
      {XT("C:/rlg/"), XT("App"), 0x407, XT("C:/rlg/\\App0407.rlg")},
      {XT("/some/dir"), XT("App"), 0x407, XT("/some/dir\\App0407.rlg")},
      {nullptr, XT("App"), 0x407, XT(".\\App0407.rlg")},
      {XT(""), XT("App"), 0x40c, XT(".\\App040c.rlg")},
      {XT("d"), XT("App"), 0x12345, XT("d\\App12345.rlg")},
      {XT("d"), XT(""), 0x407, XT("d\\0407.rlg")},
      {XT("d"), nullptr, 0x407, XT("")},
      {XT("d"), XT("App"), 0, XT("")},
      {XT("d"), XT("App"), -1, XT("")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.expected));
    EXPECT_EQ(XLMTranslDict::RLGFilenameGen(c.dir, c.prefix, c.id), c.expected);
  }
}

// A dictionary of language 0407, the working directory and PATH inside a
// temporary directory.
class CompletionTest : public XSandboxTest {
 protected:
  CompletionTest() { m_dict.LangIDSet(0x407); }
  XString Complete(const XChar* pszName) {
    XString strOut = XT("untouched");
    if (!m_dict.RLGFilenameComplete(strOut, pszName)) {
      EXPECT_EQ(strOut, XT("untouched"));
    }
    return strOut;
  }

  XLMTranslDict m_dict;
};

TEST_F(CompletionTest, DefaultDirectoryFirstAsJoined) {
  m_dir.Write("rlg/App0407.rlg", "");
  m_dir.Write("cwd/App0407.rlg", "");
  m_dict.SetDefaultDir((m_dir.Text() + XT("\\rlg")).c_str());
  EXPECT_EQ(Complete(XT("App0407")), m_dir.Text() + XT("\\rlg\\App0407.rlg"));
  EXPECT_EQ(Complete(XT("App")), m_dir.Text() + XT("\\rlg\\App0407.rlg"));
  // Not in the default directory: the search finds it.
  EXPECT_EQ(Complete(XT("App.dat")), XT("App0407.dat"));
  m_dir.Write("cwd/App0407.dat", "");
  EXPECT_EQ(Complete(XT("App.dat")), m_dir.Text("cwd/App0407.dat"));
}

TEST_F(CompletionTest, NamesWithADirectoryAreNotSearched) {
  m_dir.Write("cwd/App0407.rlg", "");
  EXPECT_EQ(Complete(XT("D:\\x\\App0407.rlg")), XT("D:\\x\\App0407.rlg"));
  EXPECT_EQ(Complete(XT("sub\\App")), XT("sub\\App0407.rlg"));
  EXPECT_EQ(Complete(XT("App0409")), XT("App0409.rlg"));
  // Without a language in the name or the dictionary nothing can be completed.
  m_dict.LangIDSet(0);
  EXPECT_EQ(Complete(XT("App")), XT("untouched"));
  EXPECT_EQ(Complete(nullptr), XT("untouched"));
  EXPECT_EQ(Complete(XT("App040c")), XT("App040c.rlg"));
}

// A loaded file is found by every spelling of its path, a bare name
// completed through the search included, and reading it again by any of
// them reads nothing: the replacing read keeps the catalog added since, the
// appending one lists nothing twice.
TEST_F(CompletionTest, EverySpellingOfALoadedFileIsAlreadyLoaded) {
  m_dir.Write("Catalog Files/App0407.rlg", "0407\nDeutsch\nOpen\nÖffnen\n");
  m_dir.Write("Catalog Files/More0407.rlg", "0407\nDeutsch\nSave\nSpeichern\n");
  fs::current_path(m_dir.Path() / "Catalog Files");
  const XString strPath = m_dir.Text("Catalog Files/App0407.rlg");
  // Another letter case names the same file only where the file system ignores case.
  XString strUpper = strPath;
  for (XChar& c : strUpper)
    if (c >= 'a' && c <= 'z') c = static_cast<XChar>(c - 'a' + 'A');
  std::vector<std::pair<XString, bool>> vecSpellings{{strPath, true},
                                                     {m_dir.Text("cwd/../Catalog Files/./App0407.rlg"), true},
                                                     {XT("App0407.rlg"), true},
                                                     {XT("App"), true},
                                                     {strUpper, OnWindows()}};
#if defined(_WIN32)
  // The file system may give the file a short name.
  XChar szShort[MAX_PATH];
  DWORD n = GetShortPathNameW(strPath.c_str(), szShort, MAX_PATH);
  if (n > 0 && n < MAX_PATH && XString(szShort) != strPath) {
    vecSpellings.emplace_back(szShort, true);
    EXPECT_NE(XString(szShort).find(XChar('~')), XString::npos);
  }
#endif
  for (const auto& [strSpelling, bFound] : vecSpellings) {
    SCOPED_TRACE(Narrow(strSpelling));
    XLMTranslDict dict;
    ASSERT_TRUE(dict.RLGFileRead(strPath.c_str(), false));
    ASSERT_TRUE(dict.RLGFileRead(XT("More0407"), true));
    unsigned nIndex = 99;
    EXPECT_EQ(dict.RLGFileLoadedSearch(strSpelling.c_str(), &nIndex), bFound);
    if (!bFound) continue;
    EXPECT_EQ(nIndex, 0u);
    EXPECT_TRUE(dict.RLGFileRead(strSpelling.c_str(), false));
    EXPECT_TRUE(dict.RLGFileRead(strSpelling.c_str(), true));
    EXPECT_EQ(dict.RLGFilesLoaded().size(), 2u);
    EXPECT_EQ(XString(dict.StringTranslate(XT("Save"))), XT("Speichern"));
  }

  XLMTranslDict empty;
  TraceCapture trace;
  EXPECT_FALSE(empty.RLGFileLoadedSearch(XT("App")));
  EXPECT_FALSE(empty.RLGFileLoadedSearch(nullptr));
  const XString strPrefix = XT(".\\LMTranslDict(250): #####\tXLMTranslDict::RLGFileLoadedSearch(\"");
  EXPECT_EQ(trace.Lines(),
            (std::vector<XString>{strPrefix + XT("App\"): error\n"), strPrefix + XT("(null)\"): error\n")}));
}

}  // namespace
