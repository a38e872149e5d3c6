// Compiled catalogs: a dictionary loaded from one answers and walks as one
// loaded from the catalog; a changed catalog wins over it; a damaged one is
// ignored; the loaded-file rules hold.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "colang/detail/Compiled.h"
#include "colang/detail/DictAccess.h"
#include "colang/detail/Globals.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;
using colang::detail::XCompiled;

// A catalog with what makes compiling hard: repeated sources and
// translations, identifiers, escapes, empty translations, "%", keys beyond
// Latin-1 and one beyond 65,535 units.
std::string CatalogMake(unsigned nSeed) {
  std::mt19937 rng(nSeed);
  const char* const apszWords[] = {
      "Open",     "&File", "Page %d of %d", "Tab\\there", "caf\xC3\xA9", "\xCE\xA3\xCE\xB1",
      "%5.2f mm", "#12",   "#0x1F",         "x",          "50%% done"};
  auto word = [&] { return std::string(apszWords[rng() % std::size(apszWords)]); };
  std::string strOut = "0407 Deutsch\nTest\n";
  for (int i = 0; i < 300; ++i) {
    std::string strSource = word() + (rng() % 3 == 0 ? "" : " " + std::to_string(rng() % 40));
    std::string strTransl = rng() % 17 == 0 ? "" : word() + " " + std::to_string(rng() % 25);
    if (rng() % 9 == 0) strOut += "\n";  // an empty line between entries
    strOut += strSource + "\n" + strTransl + "\n";
  }
  strOut += std::string(70000, 'L') + "\nlong\n";
  return strOut;
}

// The same answers, texts compared by content, for every key of either map
// and a few texts of no entry.
void ExpectSame(const XLMTranslDict& a, const XLMTranslDict& b) {
  ASSERT_EQ(a.LangID(), b.LangID());
  ASSERT_EQ(a.RLGFilesLoaded(), b.RLGFilesLoaded());
  auto same = [](const XChar* p, const XChar* q) {
    return (p == nullptr) == (q == nullptr) && (p == nullptr || XStringView(p) == XStringView(q));
  };
  for (const XTextEntry& entry : XLMTranslDictAccess::TranslMap(a)) {
    const XString strKey(entry.first);
    ASSERT_TRUE(same(a.CheckTranslate(strKey.c_str()), b.CheckTranslate(strKey.c_str()))) << Narrow(strKey);
  }
  for (const XTextEntry& entry : XLMTranslDictAccess::RetranslMap(a)) {
    const XString strKey(entry.first);
    ASSERT_TRUE(same(a.CheckRetranslate(strKey.c_str()), b.CheckRetranslate(strKey.c_str()))) << Narrow(strKey);
  }
  for (unsigned nID : {12u, 0x1Fu, 13u}) ASSERT_TRUE(same(a.CheckTranslate(nID), b.CheckTranslate(nID))) << nID;
  for (const XChar* psz : {XT("Page 7 of 9"), XT("none"), XT("")})
    ASSERT_TRUE(same(a.CheckTranslate(psz), b.CheckTranslate(psz))) << Narrow(psz);
  EXPECT_TRUE(XLMTranslDictAccess::TranslMap(a) == XLMTranslDictAccess::TranslMap(b));
  EXPECT_TRUE(XLMTranslDictAccess::RetranslMap(a) == XLMTranslDictAccess::RetranslMap(b));
  EXPECT_TRUE(XLMTranslDictAccess::IdMap(a) == XLMTranslDictAccess::IdMap(b));
}

class CompiledTest : public testing::Test {
 protected:
  void SetUp() override { colang::detail::g_bCompileAlways = false; }
  void TearDown() override { colang::detail::g_bCompileAlways = false; }
  // Reads the catalog with compiling on; the compiled catalog is then there.
  void Compile(const XString& strName) {
    colang::detail::g_bCompileAlways = true;
    XLMTranslDict dict(strName.c_str());
    colang::detail::g_bCompileAlways = false;
    ASSERT_TRUE(fs::exists(PathFromText(XCompiled::NameOf(dict.RLGFilesLoaded().at(0)))));
  }
  XTempDir m_dir;
  // Each dictionary here is a translation map the process-wide pattern
  // translator has not seen: beyond its five, it shows its message once.
  MessageBoxCapture m_boxes;
};

TEST_F(CompiledTest, AnswersAndWalksAsTheCatalogDoes) {
  for (unsigned nSeed : {1u, 2u, 3u}) {
    SCOPED_TRACE(nSeed);
    const std::string strName = "Cat" + std::to_string(nSeed) + "0407.rlg";
    m_dir.Write(strName, CatalogMake(nSeed));
    const XString strPath = m_dir.Text(strName);
    const XLMTranslDict dictText(strPath.c_str());
    ASSERT_TRUE(dictText.IsValid());
    Compile(strPath);
    // Two loads from the compiled catalog: one walked at once, one looked up
    // first (answered in place) and walked after.
    const XLMTranslDict dictWalked(strPath.c_str());
    ExpectSame(dictText, dictWalked);
    XLMTranslDict dictAppended;
    ASSERT_TRUE(dictAppended.RLGFileRead(strPath.c_str(), true));
    ExpectSame(dictAppended, dictText);
  }
}

TEST_F(CompiledTest, TheCatalogStaysTheTruth) {
  // Times in whole seconds, which every file system and clock keeps exactly.
  const fs::path pathText = m_dir.Write("Truth0407.rlg", "0407 Deutsch\nT\nOpen\nAuf\n");
  const auto timeFixed =
      std::chrono::time_point_cast<std::chrono::seconds>(fs::last_write_time(pathText)) - std::chrono::hours(1);
  fs::last_write_time(pathText, timeFixed);
  const XString strPath = m_dir.Text("Truth0407.rlg");
  Compile(strPath);

  // Same size and time: the compiled catalog answers, as the rule says.
  m_dir.Write("Truth0407.rlg", "0407 Deutsch\nT\nOpen\nZu!\n");
  fs::last_write_time(pathText, timeFixed);
  EXPECT_EQ(XString(XLMTranslDict(strPath.c_str()).StringTranslate(XT("Open"))), XT("Auf"));

  // Another size: the catalog is read, and compiled anew for the next load,
  // which the new compiled catalog answers.
  m_dir.Write("Truth0407.rlg", "0407 Deutsch\nT\nOpen\nOffen\n");
  fs::last_write_time(pathText, timeFixed);
  EXPECT_EQ(XString(XLMTranslDict(strPath.c_str()).StringTranslate(XT("Open"))), XT("Offen"));
  m_dir.Write("Truth0407.rlg", "0407 Deutsch\nT\nOpen\nZu!!!\n");
  fs::last_write_time(pathText, timeFixed);
  EXPECT_EQ(XString(XLMTranslDict(strPath.c_str()).StringTranslate(XT("Open"))), XT("Offen"));

  // A catalog that cannot be read to its end is not compiled.
  m_dir.Write("Bad0407.rlg", "0407 Deutsch\n");
  const XString strBad = m_dir.Text("Bad0407.rlg");
  colang::detail::g_bCompileAlways = true;
  EXPECT_FALSE(XLMTranslDict(strBad.c_str()).IsValid());
  EXPECT_FALSE(fs::exists(PathFromText(XCompiled::NameOf(strBad))));
}

TEST_F(CompiledTest, DamagedFilesAreIgnored) {
  m_dir.Write("Dmg0407.rlg", CatalogMake(7));
  const XString strPath = m_dir.Text("Dmg0407.rlg");
  const XLMTranslDict dictText(strPath.c_str());
  Compile(strPath);
  const fs::path pathCompiled = PathFromText(XCompiled::NameOf(dictText.RLGFilesLoaded().at(0)));
  std::string strGood;
  {
    std::ifstream in(pathCompiled, std::ios::binary);
    strGood.assign(std::istreambuf_iterator<char>(in), {});
  }
  colang::detail::XCompiledHeader h{};
  std::memcpy(&h, strGood.data(), sizeof h);
  // Each damage leaves a file that is not used: the catalog is read. Damage
  // to the header is tried with its checksum made right again, so that each
  // check is tried, not only the checksum.
  struct {
    const char* pszWhat;
    std::size_t nCut;  // the length to cut to, or 0
    std::size_t nAt;   // a byte to change
    bool bReseal;
  } const damages[] = {
      {"cut to the header", sizeof h, 0, false},
      {"cut short", strGood.size() - 8, 0, false},
      {"the header's checksum", 0, offsetof(colang::detail::XCompiledHeader, nChecksum), false},
      {"magic", 0, 0, true},
      {"version", 0, offsetof(colang::detail::XCompiledHeader, nVersion), true},
      {"the file's size", 0, offsetof(colang::detail::XCompiledHeader, nFileSize), true},
      {"the text catalog's size", 0, offsetof(colang::detail::XCompiledHeader, nTextSize), true},
      {"a section beyond the end", 0, offsetof(colang::detail::XCompiledHeader, nRSlotsAt) + 3, true},
      {"the keys' last zero", 0, h.nKeysAt + 2 * (h.nKeys - 1), false},
      {"the texts' last zero", 0, h.nTextsAt + 2 * (h.nTexts - 1), false},
  };
  for (const auto& d : damages) {
    SCOPED_TRACE(d.pszWhat);
    std::string strBad = strGood;
    if (d.nCut != 0) {
      strBad.resize(d.nCut);
    } else {
      strBad[d.nAt] = static_cast<char>(strBad[d.nAt] ^ 0x5A);
      if (d.bReseal) {
        colang::detail::XCompiledHeader hBad;
        std::memcpy(&hBad, strBad.data(), sizeof hBad);
        hBad.nChecksum = XCompiled::ChecksumOf(reinterpret_cast<const unsigned char*>(strBad.data()));
        std::memcpy(strBad.data(), &hBad, sizeof hBad);
      }
    }
    fs::remove(pathCompiled);
    m_dir.Write(pathCompiled.filename().u8string(), strBad);
    const XLMTranslDict dict(strPath.c_str());
    ExpectSame(dictText, dict);
  }
}

TEST_F(CompiledTest, AFileLoadedAlreadyIsNotReadAgain) {
  m_dir.Write("One0407.rlg", "0407 Deutsch\nT\nOpen\nAuf\n");
  m_dir.Write("Two0407.rlg", "0407 Deutsch\nT\nOpen\nOffen\nClose\nZu\n");
  const XString strOne = m_dir.Text("One0407.rlg"), strTwo = m_dir.Text("Two0407.rlg");
  Compile(strOne);
  Compile(strTwo);
  XLMTranslDict dict(strOne.c_str());
  EXPECT_TRUE(dict.RLGFileRead(strTwo.c_str(), true));
  EXPECT_TRUE(dict.RLGFileRead(strOne.c_str(), false));  // loaded: nothing changes
  EXPECT_EQ(dict.RLGFilesLoaded().size(), 2u);
  EXPECT_EQ(XString(dict.StringTranslate(XT("Open"))), XT("Offen"));
  EXPECT_EQ(XString(dict.StringRetranslate(XT("Auf"))), XT("Open"));
  EXPECT_EQ(XString(dict.StringTranslate(XT("Close"))), XT("Zu"));
}

}  // namespace
