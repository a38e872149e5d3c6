// Hostile inputs: catalogs that are huge, broken, cut off or changing while
// they are read, menus and windows of extreme size, names and search-path
// settings beyond every fixed room. A catalog either loads or fails as a
// failed read does, leaving the dictionary as it was.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "colang/CoLangTrans.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/etc.h"
#include "support/Sandbox.h"
#include "support/UiSupport.h"

namespace {

using namespace colang::test;

// A dictionary holding one entry and language 0407, and a way to check that
// a failed read left it exactly so.
XLMTranslDict Prefilled() { return DictMake({{XT("Keep"), XT("Behalten")}}); }

void ExpectPrefilled(const XLMTranslDict& dict) {
  EXPECT_EQ(dict.LangID(), 0x0407);
  EXPECT_TRUE(dict.RLGFilesLoaded().empty());
  EXPECT_EQ(XLMTranslDictAccess::TranslMap(dict).size(), 1u);
  EXPECT_EQ(Found(dict.CheckTranslate(XT("Keep"))), XT("Behalten"));
}

std::string Utf16(const std::u16string& text, bool bBigEndian) {
  std::string bytes = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    bytes += bBigEndian ? hi : lo;
    bytes += bBigEndian ? lo : hi;
  }
  return bytes;
}

XLMTranslDict German() {
  return DictMake({{XT("Save"), XT("Speichern")},
                   {XT("Close"), XT("Schließen")},
                   {XT("&File"), XT("&Datei")},
                   {XT("Group"), XT("Gruppe")}});
}

// Whether the platform retitles a submenu item with nDepth levels below it.
bool DeepTitleRewritable(int nDepth) {
  HMENU hTop = CreatePopupMenu();
  for (HMENU hLevel = hTop; nDepth > 0; --nDepth) {
    HMENU hSub = CreatePopupMenu();
    AppendMenuW(hLevel, MF_POPUP, AsID(hSub), XT("t"));
    hLevel = hSub;
  }
  bool bDone = ModifyMenuW(hTop, 0, MF_BYPOSITION | MF_POPUP, AsID(GetSubMenu(hTop, 0)), XT("u")) != 0;
  DestroyMenu(hTop);
  return bDone;
}

// Translates and retranslates a menu nDepth levels deep, each level a "Save"
// and a "&File" holding the next, the last a "Close". Gives the bottom item,
// a title halfway and the item above the bottom once translated, then the
// bottom item and the top title once retranslated; nothing where the
// platform refuses such a menu.
std::vector<XString> DeepMenuTranslated(int nDepth) {
  // Wine refuses more than 30 levels below a submenu item, and drops the
  // submenu of the item it refuses.
  if (!DeepTitleRewritable(64)) return {};
  std::vector<HMENU> vecLevels{CreatePopupMenu()};
  bool bMade = true;
  // Built from the top down: each new level is attached while still empty.
  for (int i = 1; i < nDepth && bMade; ++i) {
    vecLevels.push_back(CreatePopupMenu());
    HMENU hParent = vecLevels[vecLevels.size() - 2];
    bMade = vecLevels.back() != nullptr && AppendMenuW(hParent, MF_STRING, 1, XT("Save")) &&
            AppendMenuW(hParent, MF_POPUP, AsID(vecLevels.back()), XT("&File"));
  }
  std::vector<XString> vecSeen;
  if (bMade && AppendMenuW(vecLevels.back(), MF_STRING, 1, XT("Close"))) {
    XLMTranslDict dict = German();
    dict.MenuTranslate(vecLevels.front());
    vecSeen = {MenuText(vecLevels.back(), 0), MenuText(vecLevels[vecLevels.size() / 2], 1),
               MenuText(vecLevels[vecLevels.size() - 2], 0)};
    dict.MenuRetranslate(vecLevels.front());
    vecSeen.push_back(MenuText(vecLevels.back(), 0));
    vecSeen.push_back(MenuText(vecLevels.front(), 1));
  }
  // From the bottom up, so that no destruction has to recurse.
  for (auto it = vecLevels.rbegin(); it != vecLevels.rend(); ++it) DestroyMenu(*it);
  return vecSeen;
}

// Translates a window of nControls buttons, every other one on a page of
// its own: how many buttons are translated, and the page's text.
std::vector<XString> ControlsTranslated(int nControls) {
  XLMTranslDict dict = German();
  XWindowOwner top(TopLevelCreate(XT("Options")));
  HWND hPage = ChildCreate(top.Get(), XT("STATIC"), XT("Group"));
  std::vector<HWND> vecControls;
  for (int i = 0; i < nControls; ++i) {
    const XString strText = Widen("Item " + std::to_string(i));
    XLMTranslDictAccess::Insert(dict, strText.c_str(), Widen("Eintrag " + std::to_string(i)).c_str());
    vecControls.push_back(ChildCreate(i % 2 ? hPage : top.Get(), XT("BUTTON"), strText.c_str(), 100 + i));
    if (vecControls.back() == nullptr) return {Widen("no control " + std::to_string(i))};
  }
  dict.WindowTranslate(top.Get());
  int nTranslated = 0;
  for (int i = 0; i < nControls; ++i)
    nTranslated += WindowText(vecControls[static_cast<size_t>(i)]) == Widen("Eintrag " + std::to_string(i));
  return {Widen(std::to_string(nTranslated)), WindowText(hPage)};
}

class HostileTest : public XSandboxTest {
 protected:
  // The translations of the sources once the catalog is read ("<none>" for
  // a source it lacks), or "<fails>" when it does not load.
  std::vector<XString> Read(const std::string& bytes, std::initializer_list<const XChar*> sources) {
    m_dir.Write("cwd/Hostile0407.rlg", bytes);
    TraceCapture trace;
    XLMTranslDict dict;
    if (!dict.RLGFileRead(XT("Hostile0407.rlg"), false)) {
      EXPECT_FALSE(dict.IsValid());
      return {XT("<fails>")};
    }
    EXPECT_TRUE(dict.IsValid());
    // A translation found leads back to its source.
    for (const XChar* pszSource : sources) {
      if (const XChar* psz = dict.CheckTranslate(pszSource)) {
        EXPECT_EQ(XString(dict.StringRetranslate(psz)), pszSource);
      }
    }
    return Translations(dict, sources);
  }
  XSettingsDirGuard m_settings;
};

// Inputs far beyond every usual size, and bytes that are no catalog. A
// catalog either loads or fails cleanly; each case gives what its input
// shows afterwards, or nothing where the platform refuses to build it.
TEST_F(HostileTest, HugeAndBrokenInputs) {
  std::mt19937 random(407);
  std::string garbage(100000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  struct Case {
    const char* name;
    std::function<std::vector<XString>()> run;
    std::vector<XString> expected;
  } cases[] = {
      {"a header line of 100 MB",
       [&] {
         std::string bytes = "0407 ";
         bytes.append(std::size_t{100} << 20, 'x');
         bytes += "\nDeutsch\nOpen\nAuf\n";
         return Read(bytes, {XT("Open")});
       },
       {XT("Auf")}},
      {"a million entries",
       [&] {
         std::string bytes = "0407\nDeutsch\n";
         for (int i = 0; i < 1000000; ++i)
           bytes += "Source " + std::to_string(i) + "\nZiel " + std::to_string(i) + "\n";
         return Read(bytes, {XT("Source 0"), XT("Source 1"), XT("Source 499999"), XT("Source 999999")});
       },
       {XT("Ziel 0"), XT("Ziel 1"), XT("Ziel 499999"), XT("Ziel 999999")}},
      {"garbage", [&] { return Read(garbage, {}); }, {XT("<fails>")}},
      {"garbage after a header", [&] { return Read("0407\nDeutsch\n" + garbage, {}); }, {}},
      {"header only", [&] { return Read("0407\nDeutsch", {}); }, {}},
      {"utf-16 of an odd size", [&] { return Read(Utf16(u"0407\nD\na\n", false).substr(0, 19), {}); }, {}},
      {"utf-16 without a mark", [&] { return Read(Utf16(u"0407\nD\n", false).substr(2), {}); }, {XT("<fails>")}},
      {"a menu 10,000 levels deep",
       [] { return DeepMenuTranslated(10000); },
       {XT("Schließen"), XT("&Datei"), XT("Speichern"), XT("Close"), XT("&File")}},
      {"a window of 5,000 controls", [] { return ControlsTranslated(5000); }, {XT("5000"), XT("Gruppe")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<XString> vecSeen = c.run();
    if (vecSeen.empty() && !c.expected.empty()) {
      std::printf("[   INFO   ] %s: the platform refuses to build it\n", c.name);
      continue;
    }
    EXPECT_EQ(vecSeen, c.expected);
  }
}

TEST_F(HostileTest, TruncatedUtf16FilesLoadAPrefixOrFail) {
  // Cut after every byte: in the byte order mark, in the header, between the
  // two halves of a code unit and of a surrogate pair.
  const std::u16string text =
      u"0407\r\nDeutsch\r\nOpen\r\n\xD83D\xDE00 \xD6"
      u"ffnen\r\nSave\r\nSichern\r\n";
  for (bool bBigEndian : {false, true}) {
    const std::string full = Utf16(text, bBigEndian);
    for (size_t nCut = 0; nCut <= full.size(); ++nCut) {
      SCOPED_TRACE(testing::Message() << (bBigEndian ? "BE" : "LE") << " cut at " << nCut);
      m_dir.Write("cwd/Cut0407.rlg", std::string_view(full).substr(0, nCut));
      XLMTranslDict dict = Prefilled();
      if (!dict.RLGFileRead(m_dir.Text("cwd/Cut0407.rlg").c_str(), true)) {
        ExpectPrefilled(dict);
        continue;
      }
      // The header is complete by now (a title cut to half a code unit reads
      // as U+FFFD, which is not empty); every entry read is one of the file's,
      // a cut translation the file's text cut short.
      EXPECT_GT(nCut, Utf16(u"0407\r", bBigEndian).size());
      for (const auto& [strSource, strTransl] : XLMTranslDictAccess::TranslMap(dict)) {
        if (strSource == XT("Keep")) continue;
        EXPECT_TRUE(strSource == XT("Open") || strSource == XT("Save")) << Narrow(strSource);
        const XString strExpected = strSource == XT("Open") ? XString(XT("\xD83D\xDE00 \xD6"
                                                                         "ffnen"))
                                                            : XString(XT("Sichern"));
        // A code unit cut in half, and the high half of a surrogate pair cut
        // off, each read as U+FFFD.
        XString strRead(strTransl);
        while (!strRead.empty() && strRead.back() == XChar(0xFFFD)) strRead.pop_back();
        EXPECT_EQ(strExpected.substr(0, strRead.size()), strRead);
      }
    }
  }
}

TEST_F(HostileTest, CatalogRewrittenWhileItIsRead) {
  // Another process rewriting the catalog meanwhile: as far as the platform
  // lets it (Windows denies writes while the reader has the file open), the
  // file shrinks, grows and changes its language under the reader. Every read
  // either succeeds with language 0407 or leaves the dictionary as it was.
  std::string big = "0407\nDeutsch\n";
  for (int i = 0; i < 20000; ++i) big += "S" + std::to_string(i) + "\nT" + std::to_string(i) + "\n";
  const std::string versions[] = {big, "0409\nEnglish\nA\nB\n", "", "0407\nDeutsch\nA\n", "04"};
  const fs::path path = m_dir.Write("cwd/Live0407.rlg", big);
  std::atomic<bool> bStop{false};
  std::thread writer([&] {
    for (size_t n = 0; !bStop.load(); ++n) {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << versions[n % std::size(versions)];
    }
  });
  int nLoaded = 0;
  for (int nRound = 0; nRound < 200; ++nRound) {
    XLMTranslDict dict = Prefilled();
    if (dict.RLGFileRead(m_dir.Text("cwd/Live0407.rlg").c_str(), true)) {
      ++nLoaded;
      EXPECT_EQ(dict.LangID(), 0x0407);
      EXPECT_EQ(dict.RLGFilesLoaded().size(), 1u);
    } else {
      ExpectPrefilled(dict);
    }
    if (HasFailure()) break;
  }
  bStop = true;
  writer.join();
  RecordProperty("loaded", nLoaded);
}

TEST_F(HostileTest, NamesOfAnyLength) {
  // Parts of any length are split: the language digits are read, the name is
  // completed, and a name that names no file fails only as a file that does
  // not open.
  struct Case {
    const char* name;
    XString strName;
  } cases[] = {
      {"base name of 304", XString(300, XChar('b')) + XT("0407.rlg")},
      {"extension of 300", XT("App0407.") + XString(300, XChar('e'))},
      {"directory of 304", XT("C:\\") + XString(300, XChar('d')) + XT("\\App0407.rlg")},
      {"directory of 10000", XString(10000, XChar('\\')) + XT("App0407.rlg")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(XLMTranslDict::LangIDFromFilename(c.strName.c_str()), 0x0407);
    XLMTranslDict dict = Prefilled();
    XString strOut;
    EXPECT_TRUE(dict.RLGFilenameComplete(strOut, c.strName.c_str()));
    TraceCapture trace;
    EXPECT_FALSE(dict.RLGFileRead(c.strName.c_str(), true));
    ExpectPrefilled(dict);
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_NE(trace.Lines()[0].find(XT("file open error")), XString::npos);
    EXPECT_EQ(FilePathSearch(c.strName.c_str()), XT(""));
  }

  // A real file with the longest base name the file system allows is found
  // and read by its bare name as well as by its path, though its full path is
  // longer than Windows' MAX_PATH.
  const std::string name = std::string(247, 'b') + "0407.rlg";
  m_dir.Write("cwd/" + name, "0407\nDeutsch\nLong\nLang\n");
  for (const XString& strName : {Widen(name), m_dir.Text("cwd/" + name)}) {
    XLMTranslDict dict;
    ASSERT_TRUE(dict.RLGFileRead(strName.c_str(), false)) << Narrow(strName).size();
    EXPECT_EQ(XString(dict.StringTranslate(XT("Long"))), XT("Lang"));
    TraceCapture trace;
    EXPECT_TRUE(dict.RLGFileRead(strName.c_str(), true));
    EXPECT_EQ(dict.RLGFilesLoaded().size(), 1u);
    EXPECT_TRUE(trace.Lines().empty());
  }
}

TEST_F(HostileTest, PathLongerThanItsRoom) {
  // The directory that holds the catalog stands after the first 4096
  // characters of PATH; it is still searched, and nothing is read past the
  // value's end.
  m_dir.Write("far/App0407.rlg", "0407\nDeutsch\n");
  XString strPath;
  while (strPath.size() < 6000) strPath += m_dir.Text("nowhere") + XT(";");
  strPath += m_dir.Text("far");
  ASSERT_TRUE(SetEnvironmentVariableW(XT("PATH"), strPath.c_str()));
  EXPECT_EQ(FilePathSearch(XT("App0407.rlg")), m_dir.Text("far/App0407.rlg"));
  XLMTranslDict dict;
  EXPECT_TRUE(dict.RLGFileRead(XT("App0407"), false));

  // A PATH of exactly the room's size and one of a single huge element.
  for (size_t nLength : {size_t{4095}, size_t{4096}, size_t{4097}, size_t{32000}}) {
    SCOPED_TRACE(nLength);
    ASSERT_TRUE(SetEnvironmentVariableW(XT("PATH"), XString(nLength, XChar('p')).c_str()));
    EXPECT_EQ(FilePathSearch(XT("Missing0407.rlg")), XT(""));
  }
}

TEST_F(HostileTest, DeepWorkingDirectory) {
  if (OnWindows()) GTEST_SKIP() << "Windows refuses a working directory longer than MAX_PATH";
  // 300 characters of working directory below the temporary directory; one
  // catalog lies in it, one in its parent, found by the parent-directory step.
  std::string deep = "cwd";
  while (deep.size() < 300) deep += "/" + std::string(40, 'w');
  const fs::path dir = m_dir.Dir(deep);
  ASSERT_GT(TextFromPath(dir).size(), 255u);
  const std::string up = fs::path(deep).parent_path().string() + "/Up0407.rlg";
  m_dir.Write(up, "0407\nDeutsch\nUp\nHoch\n");
  m_dir.Write(deep + "/Here0407.rlg", "0407\nDeutsch\nHere\nHier\n");
  fs::current_path(dir);
  EXPECT_EQ(FilePathSearch(XT("Up0407.rlg")), m_dir.Text(up));
  EXPECT_EQ(FilePathSearch(XT("Nowhere0407.rlg")), XT(""));
  // Both read, and a second read of either is known as already loaded.
  XLMTranslDict dict;
  TraceCapture trace;
  for (int nRound = 0; nRound < 2; ++nRound) {
    EXPECT_TRUE(dict.RLGFileRead(XT("Up0407"), true));
    EXPECT_TRUE(dict.RLGFileRead(XT("Here0407.rlg"), true));
  }
  EXPECT_EQ(dict.RLGFilesLoaded().size(), 2u);
  EXPECT_EQ(XString(dict.StringTranslate(XT("Up"))), XT("Hoch"));
  EXPECT_EQ(XString(dict.StringTranslate(XT("Here"))), XT("Hier"));
  EXPECT_TRUE(trace.Lines().empty());
}

TEST_F(HostileTest, RegistryValuesThatDoNotFit) {
  XRegistryKeyGuard reg{HKEY_LOCAL_MACHINE, {XT("SOFTWARE"), XT("VARNOK"), XT("Tessaloc"), XT("common")}};
  HKEY hKey = reg.Create();
  if (hKey == nullptr) GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written here, or the settings exist already";
  // 255 characters and the zero fill the 512 bytes of data room; one more does not fit.
  const XString strFits = m_dir.Text() + XT("/") + XString(255 - m_dir.Text().size() - 1, XChar('s'));
  ASSERT_EQ(strFits.size(), 255u);
  ASSERT_EQ(RegStringSet(hKey, XT("Rlg_Path"), strFits.c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RLGPathLookup(), strFits);
  ASSERT_EQ(RegStringSet(hKey, XT("Rlg_Path"), (strFits + XT("s")).c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RLGPathLookup(), XT(""));

  // A value whose name does not fit ends the enumeration: a fitting
  // "Rlg_Path" after it is not reached, and the search goes on along PATH.
  ASSERT_EQ(RegDeleteValueW(hKey, XT("Rlg_Path")), ERROR_SUCCESS);
  ASSERT_EQ(RegStringSet(hKey, XString(300, XChar('n')).c_str(), XT("x")), ERROR_SUCCESS);
  ASSERT_EQ(RegStringSet(hKey, XT("Rlg_Path"), m_dir.Text("settings").c_str()), ERROR_SUCCESS);
  m_dir.Write("settings/Reg0407.rlg", "0407\nDeutsch\n");
  m_dir.Write("bin/Reg0407.rlg", "0407\nDeutsch\n");
  const XString strLookup = RLGPathLookup();
  EXPECT_TRUE(strLookup.empty() || strLookup == m_dir.Text("settings")) << Narrow(strLookup);
  if (strLookup.empty()) {
    EXPECT_EQ(FilePathSearch(XT("Reg0407.rlg")), m_dir.Text("bin/Reg0407.rlg"));
  }
  RegCloseKey(hKey);
}

}  // namespace
