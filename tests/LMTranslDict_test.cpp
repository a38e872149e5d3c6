// The dictionary's model: insertion, lookups in three directions, validity,
// copying and the lifetime of the pointers it hands out.
#include <gtest/gtest.h>

#include <stdexcept>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "support/TestSupport.h"

namespace {

using Access = XLMTranslDictAccess;
using colang::detail::ModuleContextCurrent;
using colang::detail::ModuleContextLibrary;
using colang::test::Found;

XLMTranslDict Filled(int nLangID) {
  XLMTranslDict dict;
  Access::Insert(dict, XT("Open"), XT("Öffnen"));
  Access::Insert(dict, XT("Close"), XT("Schließen"));
  Access::Insert(dict, 7u, XT("Sieben"));
  dict.LangIDSet(nLangID);
  return dict;
}

TEST(LMTranslDictState, NewDictionaryMissesEverythingAndGivesTheCallersPointerBack) {
  XLMTranslDict dict;
  const XChar* pszText = XT("Open");
  EXPECT_FALSE(dict.IsValid());
  EXPECT_EQ(dict.LangID(), 0);
  EXPECT_TRUE(dict.RLGFilesLoaded().empty());
  EXPECT_EQ(dict.CheckTranslate(pszText), nullptr);
  EXPECT_EQ(dict.CheckRetranslate(pszText), nullptr);
  EXPECT_EQ(dict.CheckTranslate(7u), nullptr);
  EXPECT_EQ(dict.StringTranslate(pszText), pszText);
  EXPECT_EQ(dict.StringRetranslate(pszText), pszText);
  // A language alone makes it valid; it still finds nothing.
  dict.LangIDSet(0x409);
  EXPECT_TRUE(dict.IsValid());
  EXPECT_EQ(dict.CheckRetranslate(XT("x")), nullptr);
  EXPECT_EQ(dict.CheckTranslate(0u), nullptr);
  EXPECT_EQ(dict.CheckTranslate(XT("")), nullptr);
}

TEST(LMTranslDictState, LangIDSetSwitchesValidityAndKeepsEntries) {
  XLMTranslDict dict = Filled(0x407);
  EXPECT_EQ(dict.CheckTranslate(nullptr), nullptr);
  EXPECT_EQ(dict.CheckRetranslate(nullptr), nullptr);
  EXPECT_EQ(dict.StringTranslate(nullptr), nullptr);
  EXPECT_EQ(dict.StringRetranslate(nullptr), nullptr);

  dict.LangIDSet(0);
  EXPECT_FALSE(dict.IsValid());
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), nullptr);
  EXPECT_EQ(dict.CheckRetranslate(XT("Öffnen")), nullptr);
  EXPECT_EQ(dict.CheckTranslate(7u), nullptr);

  dict.LangIDSet(0x407);
  EXPECT_EQ(Found(dict.CheckTranslate(XT("Open"))), XT("Öffnen"));
  EXPECT_EQ(Found(dict.CheckRetranslate(XT("Öffnen"))), XT("Open"));
  EXPECT_EQ(Found(dict.CheckTranslate(7u)), XT("Sieben"));
  dict.LangIDSet(-1);  // any nonzero value is a language
  EXPECT_TRUE(dict.IsValid());
}

// Keys differ by case, mnemonic, white space and accelerator, and sort by unsigned code unit.
TEST(LMTranslDictKeys, NearlyEqualTextsAreDistinctKeysInCodeUnitOrder) {
  const XChar* keys[] = {XT("&Open"),   XT("Open"), XT("Open\tCtrl+O"), XT("Open "),
                         XT("Open..."), XT("open"), XT("\xFF01")};
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  for (size_t i = std::size(keys); i > 0; --i)
    Access::Insert(dict, keys[i - 1], (XT("T:") + XString(keys[i - 1])).c_str());
  std::vector<XString> vecOrder;
  for (const auto& entry : Access::TranslMap(dict)) vecOrder.emplace_back(entry.first);
  EXPECT_EQ(vecOrder, std::vector<XString>(std::begin(keys), std::end(keys)));
  for (const XChar* key : keys) {
    SCOPED_TRACE(colang::test::Narrow(key));
    EXPECT_EQ(Found(dict.CheckTranslate(key)), XT("T:") + XString(key));
    EXPECT_EQ(Found(dict.CheckRetranslate((XT("T:") + XString(key)).c_str())), key);
  }
}

TEST(LMTranslDictInsert, LastInsertWinsInEachDirection) {
  struct Case {
    const char* name;
    const XChar *pszSource, *pszTarget;  // inserted after A = X
    const XChar *pszA, *pszX, *pszY;     // what A translates to, X and Y retranslate to
    size_t nTransl, nRetransl;
  } cases[] = {
      {"same pair twice", XT("A"), XT("X"), XT("X"), XT("A"), XT("<none>"), 1, 1},
      {"source repeated", XT("A"), XT("Y"), XT("Y"), XT("A"), XT("A"), 1, 2},
      {"translation repeated", XT("B"), XT("X"), XT("X"), XT("B"), XT("<none>"), 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    XLMTranslDict dict;
    dict.LangIDSet(0x407);
    Access::Insert(dict, XT("A"), XT("X"));
    Access::Insert(dict, c.pszSource, c.pszTarget);
    EXPECT_EQ(Found(dict.CheckTranslate(XT("A"))), c.pszA);
    EXPECT_EQ(Found(dict.CheckTranslate(c.pszSource)), c.pszTarget);
    EXPECT_EQ(Found(dict.CheckRetranslate(XT("X"))), c.pszX);
    EXPECT_EQ(Found(dict.CheckRetranslate(XT("Y"))), c.pszY);
    EXPECT_EQ(Access::TranslMap(dict).size(), c.nTransl);
    EXPECT_EQ(Access::RetranslMap(dict).size(), c.nRetransl);
  }
}

TEST(LMTranslDictInsert, IdentifierEntriesAreSeparateFromTexts) {
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  for (std::uint32_t nID : {7u, 0u, 0xFFFFFFFFu}) Access::Insert(dict, nID, XT("old"));
  Access::Insert(dict, 7u, XT("X"));
  EXPECT_EQ(Found(dict.CheckTranslate(7u)), XT("X"));
  EXPECT_EQ(Found(dict.CheckTranslate(0u)), XT("old"));
  EXPECT_EQ(Found(dict.CheckTranslate(0xFFFFFFFFu)), XT("old"));
  EXPECT_EQ(dict.CheckRetranslate(XT("X")), nullptr);
  EXPECT_EQ(dict.CheckTranslate(XT("7")), nullptr);
}

TEST(LMTranslDictInsert, EmptyTranslationIsAHitNotAMiss) {
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  Access::Insert(dict, XT("Blank me"), XT(""));
  const XChar* pszText = XT("Blank me");
  EXPECT_EQ(Found(dict.CheckTranslate(pszText)), XT(""));
  EXPECT_NE(dict.StringTranslate(pszText), pszText);
  EXPECT_EQ(XString(dict.StringTranslate(pszText)), XT(""));
}

TEST(LMTranslDictCopy, CopyTakesEverythingButTheDefaultDirectoryAndEmptyKeepsIt) {
  XLMTranslDict source = Filled(0x407);
  source.SetDefaultDir(XT("C:\\rlg"));
  XLMTranslDict copy(source);
  EXPECT_EQ(copy.LangID(), 0x407);
  EXPECT_EQ(Found(copy.CheckTranslate(XT("Close"))), XT("Schließen"));
  EXPECT_EQ(Found(copy.CheckTranslate(7u)), XT("Sieben"));
  EXPECT_TRUE(Access::DefaultDir(copy).empty());

  XLMTranslDict target;
  target.SetDefaultDir(XT("D:\\mine\\"));
  Access::Insert(target, XT("Old"), XT("Alt"));
  target = source;
  EXPECT_EQ(XString(Access::DefaultDir(target)), XT("D:\\mine\\"));
  EXPECT_EQ(target.CheckTranslate(XT("Old")), nullptr);
  EXPECT_EQ(Found(target.CheckTranslate(XT("Open"))), XT("Öffnen"));

  const XChar* pszBefore = target.CheckTranslate(XT("Open"));
  XLMTranslDict& alias = target;
  target = alias;
  EXPECT_EQ(target.LangID(), 0x407);
  EXPECT_EQ(target.CheckTranslate(XT("Open")), pszBefore) << "self-assignment keeps the dictionary";

  target.Empty();
  EXPECT_FALSE(target.IsValid());
  EXPECT_TRUE(Access::TranslMap(target).empty());
  EXPECT_TRUE(Access::IdMap(target).empty());
  EXPECT_EQ(XString(Access::DefaultDir(target)), XT("D:\\mine\\"));
}

TEST(LMTranslDictPointers, PointersSurviveOtherInsertionsAndMoves) {
  XLMTranslDict dict = Filled(0x407);
  const XChar* pszHit = dict.CheckTranslate(XT("Open"));
  EXPECT_EQ(dict.StringTranslate(XT("Open")), pszHit);
  for (int i = 0; i < 2000; ++i) Access::Insert(dict, colang::test::Widen("key" + std::to_string(i)).c_str(), XT("v"));
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), pszHit);
  EXPECT_EQ(XString(pszHit), XT("Öffnen"));
  std::vector<XLMTranslDict> moved;
  moved.push_back(std::move(dict));
  EXPECT_EQ(moved.front().CheckTranslate(XT("Open")), pszHit);
  // The dictionary moved from finds nothing, even with a language again.
  dict.LangIDSet(0x407);
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), nullptr);
  EXPECT_EQ(dict.CheckRetranslate(XT("Öffnen")), nullptr);
}

TEST(LMTranslDictModuleContext, GuardSwitchesToTheLibraryAndRestoresOnException) {
  colang::test::HostContext host;
  try {
    colang::detail::XModuleContextGuard outer;
    {
      colang::detail::XModuleContextGuard nested;
      EXPECT_EQ(ModuleContextCurrent(), &ModuleContextLibrary());
    }
    EXPECT_EQ(ModuleContextCurrent(), &ModuleContextLibrary()) << "the inner guard leaves the outer one's context";
    throw std::runtime_error("out");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(ModuleContextCurrent(), host.Get());
}

}  // namespace
