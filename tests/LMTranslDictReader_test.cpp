// Reading catalogs into a dictionary: the header, the pairing of lines,
// escapes and identifier lines, replace and append, and the three failure
// reports with the dictionary left as it was.
#include <gtest/gtest.h>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/detail/DictText.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;
using Access = XLMTranslDictAccess;
using colang::detail::IDFromLine;
using colang::detail::StringUnescape;

// Everything a read may change, to compare before and after.
struct XSnapshot {
  int nLangID;
  XLMTranslDict::XVecFiles vecFiles;
  XLMTranslDict::XMapTransl mapTransl, mapRetransl;
  XLMTranslDict::XMapIdTransl mapId;
  explicit XSnapshot(const XLMTranslDict& dict)
      : nLangID(dict.LangID()),
        vecFiles(dict.RLGFilesLoaded()),
        mapTransl(Access::TranslMap(dict)),
        mapRetransl(Access::RetranslMap(dict)),
        mapId(Access::IdMap(dict)) {}
  bool operator==(const XSnapshot& o) const {
    return nLangID == o.nLangID && vecFiles == o.vecFiles && mapTransl == o.mapTransl && mapRetransl == o.mapRetransl &&
           mapId == o.mapId;
  }
};

TEST(StringUnescape, EscapesAndWhatStaysAsItIs) {
  struct Case {
    const XChar *in, *out;
  } cases[] = {
      {XT("plain"), XT("plain")},
      {XT("&Open...\\tCtrl+O"), XT("&Open...\tCtrl+O")},
      {XT("a\\nb\\rc"), XT("a\nb\rc")},
      {XT("\\a\\b\\f\\v"), XT("\x07\x08\x0C\x0B")},
      {XT("\\'\\?"), XT("'?")},
      {XT("C:\\\\dir"), XT("C:\\dir")},
      {XT("\\\\\\t"), XT("\\\t")},
      {XT("say \\\"hi\\\""), XT("say \\\"hi\\\"")},
      {XT("\\N\\x41\\0"), XT("\\N\\x41\\0")},
      {XT("end\\"), XT("end\\")},
      {XT("\\"), XT("\\")},
      {XT("\\\\"), XT("\\")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.in));
    XString str(c.in);
    StringUnescape(str);
    EXPECT_EQ(str, c.out);
  }
}

TEST(IDFromLine, OnlyHashAndDigitsAreIdentifiers) {
  struct Case {
    const XChar* line;
    unsigned id;
  } cases[] = {
      {XT("#1234"), 1234}, {XT("#0x04D2"), 1234}, {XT("#0X4d2"), 1234}, {XT("#007"), 7},
      {XT("#"), 0},        {XT("#0"), 0},         {XT("#0x"), 0},       {XT("#12a"), 0},
      {XT("#12 "), 0},     {XT("1234"), 0},       {XT("#-1"), 0},       {XT("Page #1"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.line));
    EXPECT_EQ(IDFromLine(c.line), c.id);
  }
  EXPECT_EQ(IDFromLine(XString(XT("#12")) + XChar(0) + XT("3")), 0u);
}

class ReaderTest : public XSandboxTest {
 protected:
  XString Write(const char* pszName, std::string_view bytes) {
    m_dir.Write(std::string("cwd/") + pszName, bytes);
    return m_dir.Text(std::string("cwd/") + pszName);
  }
};

TEST_F(ReaderTest, HeaderChecks) {
  struct Case {
    const char* name;
    std::string_view bytes;
    bool valid;
  } cases[] = {
      {"A0407.rlg", "0407\nDeutsch\n", true},
      {"A0407.rlg", "0407 German\nDeutsch\n", true},
      {"A0407.rlg", "0407\xC3\xA4\nDeutsch\n", true},
      {"A0409.rlg", "0407\nDeutsch\n", false},
      {"A0407.rlg", "04071\nDeutsch\n", false},
      {"A0407.rlg", "407\nDeutsch\n", false},
      {"A0407.rlg", "0x0407\nDeutsch\n", false},
      {"A0007.rlg", "0x07\nDeutsch\n", true},
      {"A0407.rlg", "0407\n\nOpen\nÖffnen\n", false},
      {"A0407.rlg", "0407\n", false},
      {"A0407.rlg", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    XString strName = Write(c.name, c.bytes);
    XString strPath = XT("untouched");
    EXPECT_EQ(XLMTranslDict::RLGFileCheck(strPath, strName.c_str()), c.valid);
    // The path is filled once the file is open, valid header or not.
    EXPECT_EQ(strPath, strName);
  }
  XString strPath = XT("untouched");
  EXPECT_FALSE(XLMTranslDict::RLGFileCheck(strPath, m_dir.Text("cwd/absent0407.rlg").c_str()));
  EXPECT_EQ(strPath, XT(""));
  strPath = XT("untouched");
  EXPECT_FALSE(XLMTranslDict::RLGFileCheck(strPath, nullptr));
  EXPECT_EQ(strPath, XT("untouched"));
}

TEST_F(ReaderTest, LinesPairUpAndEmptySourceLinesAreSkipped) {
  XString strName = Write("App0407.rlg",
                          "0407\nDeutsch\n"
                          "\n\nOpen\nÖffnen\n"
                          "Empty\n\n"
                          "  \nBlanks\n"
                          "#1001\nWillkommen\n"
                          "#0x3F2\nDrucken\\t...\n"
                          "Tab\\there\nTab\\there\n"
                          "Open\nAuf\n"
                          "Dangling\n");
  XLMTranslDict dict;
  ASSERT_TRUE(dict.RLGFileRead(strName.c_str(), false));
  EXPECT_EQ(dict.LangID(), 0x407);
  EXPECT_EQ(dict.RLGFilesLoaded(), std::vector<XString>{strName});
  // A later entry overwrites an earlier one.
  EXPECT_EQ(Translations(dict, {XT("Open"), XT("Empty"), XT("  "), XT("Tab\there"), XT("Dangling")}),
            (std::vector<XString>{XT("Auf"), XT(""), XT("Blanks"), XT("Tab\there"), XT("<none>")}));
  EXPECT_EQ(Found(dict.CheckTranslate(1001u)), XT("Willkommen"));
  EXPECT_EQ(Found(dict.CheckTranslate(0x3F2u)), XT("Drucken\t..."));
  EXPECT_EQ(Access::TranslMap(dict).size(), 4u);
  EXPECT_EQ(Access::IdMap(dict).size(), 2u);
}

TEST_F(ReaderTest, EveryEncodingAndLineEndLoadsTheSameEntries) {
  const fs::path dir = fs::u8path(COLANG_TEST_DATA_DIR) / "encodings";
  XLMTranslDict reference(TextFromPath(dir / "utf8-lf-0407.rlg").c_str());
  ASSERT_TRUE(reference.IsValid());
  EXPECT_EQ(
      Translations(reference, {XT("&Open...\tCtrl+O"), XT("Größe"), XT("Path \\server"), XT("Empty"), XT("Last")}),
      (std::vector<XString>{XT("Ö&ffnen...\tStrg+O"), XT("Größe: 5 €"), XT("Pfad \\Server"), XT(""), XT("Zuletzt")}));
  EXPECT_EQ(Found(reference.CheckTranslate(1001u)), XT("Willkommen"));
  for (const char* pszEncoding : {"utf8", "utf8bom", "utf16le", "utf16be", "cp1252"}) {
    for (const char* pszEnd : {"lf", "crlf", "cr"}) {
      std::string name = std::string(pszEncoding) + "-" + pszEnd + "-0407.rlg";
      SCOPED_TRACE(name);
      XLMTranslDict dict;
      ASSERT_TRUE(dict.RLGFileRead(TextFromPath(dir / name).c_str(), false));
      EXPECT_EQ(Access::TranslMap(dict), Access::TranslMap(reference));
      EXPECT_EQ(Access::RetranslMap(dict), Access::RetranslMap(reference));
      EXPECT_EQ(Access::IdMap(dict), Access::IdMap(reference));
    }
  }
}

TEST_F(ReaderTest, FailuresReportAndLeaveTheDictionaryAsItWas) {
  XString strDe = Write("App0407.rlg", "0407\nDeutsch\nOpen\nÖffnen\n");
  Write("App0409.rlg", "0409\nEnglish\nOpen\nOpen\n");
  Write("Bad0407.rlg", "0409\nDeutsch\nOpen\nAuf\n");
  XLMTranslDict dict;
  ASSERT_TRUE(dict.RLGFileRead(strDe.c_str(), false));
  XSnapshot before(dict);

  struct Case {
    const XChar* name;
    bool append;
    const XChar* report;
  } cases[] = {
      {nullptr, false,
       XT(".\\LMTranslDict(353): #####\tXLMTranslDict::RLGFileRead(\"(null)\"): cannot adapt file name\n")},
      {XT("App0409"), true,
       XT(".\\LMTranslDict(362): #####\tXLMTranslDict::RLGFileRead(\"App0409\"): contradiction to current LangID "
          "0x0407\n")},
      {XT("Absent0407.rlg"), false,
       XT(".\\LMTranslDict(372): #####\tXLMTranslDict::RLGFileRead(Absent0407.rlg): file open error\n")},
      {XT("Bad"), false, XT(".\\LMTranslDict(372): #####\tXLMTranslDict::RLGFileRead(Bad): file open error\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.report));
    TraceCapture trace;
    EXPECT_FALSE(dict.RLGFileRead(c.name, c.append));
    EXPECT_EQ(trace.Lines(), std::vector<XString>{c.report});
    EXPECT_TRUE(XSnapshot(dict) == before);
  }
}

TEST_F(ReaderTest, ReplaceAndAppend) {
  Write("App0407.rlg", "0407\nDeutsch\nOpen\nÖffnen\n");
  Write("More0407.rlg", "0407\nDeutsch\nClose\nSchließen\n");
  Write("App0409.rlg", "0409\nEnglish\nOpen\nOpen!\n");

  XLMTranslDict dict;
  ASSERT_TRUE(dict.RLGFileRead(XT("App0407.rlg"), true));  // adding to no language sets it
  EXPECT_EQ(dict.LangID(), 0x407);
  // Without digits, the dictionary's language completes the name.
  ASSERT_TRUE(dict.RLGFileRead(XT("More"), true));
  EXPECT_EQ(Found(dict.CheckTranslate(XT("Open"))), XT("Öffnen"));
  EXPECT_EQ(Found(dict.CheckTranslate(XT("Close"))), XT("Schließen"));
  EXPECT_EQ(dict.RLGFilesLoaded().size(), 2u);

  ASSERT_TRUE(dict.RLGFileRead(XT("App0409.rlg"), false));
  EXPECT_EQ(dict.LangID(), 0x409);
  EXPECT_EQ(Found(dict.CheckTranslate(XT("Open"))), XT("Open!"));
  EXPECT_EQ(Found(dict.CheckTranslate(XT("Close"))), XT("<none>"));
  EXPECT_EQ(dict.RLGFilesLoaded().size(), 1u);
}

TEST_F(ReaderTest, ReadErrorInTheMiddleKeepsWhatWasRead) {
  std::string bytes =
      "\xEF\xBB\xBF"
      "0407\nDeutsch\nOpen\nAuf\n";
  size_t nGood = bytes.size();
  bytes += std::string(70000, 'y') + "\nLost\n";
  XString strName = Write("Cut0407.rlg", bytes);
  XLMTranslDict dict;
  // Only the first chunk's bytes come through; the mark was read at opening.
  struct XFaultGuard {
    ~XFaultGuard() { FileReadFaultAfter(-1); }
  } guard;
  if (!FileReadFaultAfter(static_cast<long long>(nGood) + 4 + 10)) GTEST_SKIP() << "read faults need the emulation";
  ASSERT_TRUE(dict.RLGFileRead(strName.c_str(), false));
  EXPECT_EQ(Found(dict.CheckTranslate(XT("Open"))), XT("Auf"));
  EXPECT_EQ(Access::TranslMap(dict).size(), 1u);
  EXPECT_EQ(dict.RLGFilesLoaded(), std::vector<XString>{strName});
  EXPECT_EQ(dict.LangID(), 0x407);
}

}  // namespace
