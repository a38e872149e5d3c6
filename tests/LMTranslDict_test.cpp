// The dictionary's model: insertion, lookups in three directions, validity,
// copying and the lifetime of the pointers it hands out.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "support/TestSupport.h"

namespace {

using Access = XLMTranslDictAccess;
using colang::detail::ModuleContextCurrent;
using colang::detail::ModuleContextLibrary;

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
}

TEST(LMTranslDictState, NullTextsGiveNull) {
  XLMTranslDict dict = Filled(0x407);
  EXPECT_EQ(dict.CheckTranslate(nullptr), nullptr);
  EXPECT_EQ(dict.CheckRetranslate(nullptr), nullptr);
  EXPECT_EQ(dict.StringTranslate(nullptr), nullptr);
  EXPECT_EQ(dict.StringRetranslate(nullptr), nullptr);
}

TEST(LMTranslDictState, LangIDSetSwitchesValidityAndKeepsEntries) {
  XLMTranslDict dict = Filled(0x407);
  ASSERT_NE(dict.CheckTranslate(XT("Open")), nullptr);

  dict.LangIDSet(0);
  EXPECT_FALSE(dict.IsValid());
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), nullptr);
  EXPECT_EQ(dict.CheckRetranslate(XT("Öffnen")), nullptr);
  EXPECT_EQ(dict.CheckTranslate(7u), nullptr);

  dict.LangIDSet(0x407);
  EXPECT_EQ(XString(dict.CheckTranslate(XT("Open"))), XT("Öffnen"));
  EXPECT_EQ(XString(dict.CheckRetranslate(XT("Öffnen"))), XT("Open"));
  EXPECT_EQ(XString(dict.CheckTranslate(7u)), XT("Sieben"));

  dict.LangIDSet(-1);  // any nonzero value is a language
  EXPECT_TRUE(dict.IsValid());
}

TEST(LMTranslDictState, LangIDOnAnEmptyDictionaryMakesItValidButFindsNothing) {
  XLMTranslDict dict;
  dict.LangIDSet(0x409);
  EXPECT_TRUE(dict.IsValid());
  EXPECT_EQ(dict.CheckRetranslate(XT("x")), nullptr);
  EXPECT_EQ(dict.CheckTranslate(0u), nullptr);
  EXPECT_EQ(dict.CheckTranslate(XT("")), nullptr);
}

TEST(LMTranslDictKeys, NearlyEqualTextsAreDistinctKeys) {
  const XChar* keys[] = {XT("Open"), XT("open"), XT("&Open"), XT("Open "), XT("Open..."), XT("Open\tCtrl+O")};
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  for (const XChar* key : keys) Access::Insert(dict, key, (XString(XT("T:")) + key).c_str());
  for (const XChar* key : keys) {
    SCOPED_TRACE(colang::test::Narrow(key));
    ASSERT_NE(dict.CheckTranslate(key), nullptr);
    EXPECT_EQ(XString(dict.CheckTranslate(key)), XString(XT("T:")) + key);
    EXPECT_EQ(XString(dict.CheckRetranslate((XString(XT("T:")) + key).c_str())), key);
  }
  EXPECT_EQ(Access::TranslMap(dict).size(), std::size(keys));
}

TEST(LMTranslDictKeys, OrderIsByUnsignedCodeUnit) {
  XLMTranslDict dict;
  Access::Insert(dict, XT("\xFF01"), XT("wide"));
  Access::Insert(dict, XT("b"), XT("b"));
  Access::Insert(dict, XT("ab"), XT("ab"));
  Access::Insert(dict, XT("a"), XT("a"));
  std::vector<XString> order;
  for (const auto& entry : Access::TranslMap(dict)) order.push_back(entry.first);
  EXPECT_EQ(order, (std::vector<XString>{XT("a"), XT("ab"), XT("b"), XT("\xFF01")}));
}

TEST(LMTranslDictInsert, LastInsertWinsInEachDirection) {
  struct Case {
    const char* name;
    std::vector<std::pair<const XChar*, const XChar*>> pairs;
    std::vector<std::pair<const XChar*, const XChar*>> translations;
    std::vector<std::pair<const XChar*, const XChar*>> retranslations;
  } cases[] = {
      {"same pair twice", {{XT("A"), XT("X")}, {XT("A"), XT("X")}}, {{XT("A"), XT("X")}}, {{XT("X"), XT("A")}}},
      {"source repeated",
       {{XT("A"), XT("X")}, {XT("A"), XT("Y")}},
       {{XT("A"), XT("Y")}},
       {{XT("X"), XT("A")}, {XT("Y"), XT("A")}}},
      {"translation repeated",
       {{XT("A"), XT("X")}, {XT("B"), XT("X")}},
       {{XT("A"), XT("X")}, {XT("B"), XT("X")}},
       {{XT("X"), XT("B")}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    XLMTranslDict dict;
    dict.LangIDSet(0x407);
    for (const auto& pair : c.pairs) Access::Insert(dict, pair.first, pair.second);
    for (const auto& t : c.translations) EXPECT_EQ(XString(dict.CheckTranslate(t.first)), t.second);
    for (const auto& r : c.retranslations) EXPECT_EQ(XString(dict.CheckRetranslate(r.first)), r.second);
    EXPECT_EQ(Access::TranslMap(dict).size(), c.translations.size());
    EXPECT_EQ(Access::RetranslMap(dict).size(), c.retranslations.size());
  }
}

TEST(LMTranslDictInsert, IdentifierEntriesAreSeparateFromTexts) {
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  Access::Insert(dict, 7u, XT("X"));
  Access::Insert(dict, 0u, XT("zero"));
  Access::Insert(dict, 0xFFFFFFFFu, XT("max"));
  EXPECT_EQ(XString(dict.CheckTranslate(7u)), XT("X"));
  EXPECT_EQ(XString(dict.CheckTranslate(0u)), XT("zero"));
  EXPECT_EQ(XString(dict.CheckTranslate(0xFFFFFFFFu)), XT("max"));
  EXPECT_EQ(dict.CheckRetranslate(XT("X")), nullptr);
  EXPECT_EQ(dict.CheckTranslate(XT("7")), nullptr);
  Access::Insert(dict, 7u, XT("Y"));
  EXPECT_EQ(XString(dict.CheckTranslate(7u)), XT("Y"));
}

TEST(LMTranslDictInsert, EmptyTranslationIsAHitNotAMiss) {
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  Access::Insert(dict, XT("Blank me"), XT(""));
  const XChar* pszText = XT("Blank me");
  ASSERT_NE(dict.CheckTranslate(pszText), nullptr);
  EXPECT_EQ(XString(dict.CheckTranslate(pszText)), XT(""));
  EXPECT_NE(dict.StringTranslate(pszText), pszText);
  EXPECT_EQ(XString(dict.StringTranslate(pszText)), XT(""));
}

TEST(LMTranslDictCopy, CopyTakesEverythingButTheDefaultDirectory) {
  XLMTranslDict source = Filled(0x407);
  source.SetDefaultDir(XT("C:\\rlg"));

  XLMTranslDict copy(source);
  EXPECT_EQ(copy.LangID(), 0x407);
  EXPECT_EQ(XString(copy.CheckTranslate(XT("Close"))), XT("Schließen"));
  EXPECT_EQ(XString(copy.CheckTranslate(7u)), XT("Sieben"));
  EXPECT_TRUE(Access::DefaultDir(copy).empty());
  // The copy owns its texts.
  EXPECT_NE(copy.CheckTranslate(XT("Close")), source.CheckTranslate(XT("Close")));

  XLMTranslDict target;
  target.SetDefaultDir(XT("D:\\mine\\"));
  Access::Insert(target, XT("Old"), XT("Alt"));
  target = source;
  EXPECT_EQ(XString(Access::DefaultDir(target)), XT("D:\\mine\\"));
  EXPECT_EQ(target.CheckTranslate(XT("Old")), nullptr);
  EXPECT_EQ(XString(target.CheckTranslate(XT("Open"))), XT("Öffnen"));
}

TEST(LMTranslDictCopy, SelfAssignmentKeepsTheDictionary) {
  XLMTranslDict dict = Filled(0x407);
  const XChar* pszBefore = dict.CheckTranslate(XT("Open"));
  XLMTranslDict& alias = dict;
  dict = alias;
  EXPECT_EQ(dict.LangID(), 0x407);
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), pszBefore);
}

TEST(LMTranslDictCopy, EmptyKeepsTheDefaultDirectory) {
  XLMTranslDict dict = Filled(0x407);
  dict.SetDefaultDir(XT("C:\\rlg\\"));
  dict.Empty();
  EXPECT_FALSE(dict.IsValid());
  EXPECT_TRUE(Access::TranslMap(dict).empty());
  EXPECT_TRUE(Access::IdMap(dict).empty());
  EXPECT_EQ(XString(Access::DefaultDir(dict)), XT("C:\\rlg\\"));
}

TEST(LMTranslDictPointers, PointersSurviveOtherInsertionsAndMoves) {
  XLMTranslDict dict;
  dict.LangIDSet(0x407);
  Access::Insert(dict, XT("Open"), XT("Öffnen"));
  const XChar* pszHit = dict.CheckTranslate(XT("Open"));
  for (int i = 0; i < 2000; ++i) Access::Insert(dict, colang::test::Widen("key" + std::to_string(i)).c_str(), XT("v"));
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), pszHit);
  EXPECT_EQ(XString(pszHit), XT("Öffnen"));

  std::vector<XLMTranslDict> moved;
  moved.push_back(std::move(dict));
  EXPECT_EQ(moved.front().CheckTranslate(XT("Open")), pszHit);
}

TEST(LMTranslDictPointers, HitsFindTheStoredTextNotACopy) {
  XLMTranslDict dict = Filled(0x407);
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), Access::TranslMap(dict).find(XStringView(XT("Open")))->second.c_str());
  EXPECT_EQ(dict.CheckTranslate(XT("Open")), dict.StringTranslate(XT("Open")));
}

// Every guarded member hands the caller's module context back on its way out.
TEST(LMTranslDictModuleContext, GuardedMembersRestoreTheCallersContext) {
  XLMTranslDict dict = Filled(0x407);
  XLMTranslDict other = Filled(0x409);
  std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"Assign", [&] { dict = other; }},
      {"Empty", [&] { dict.Empty(); }},
      {"LangIDSet", [&] { dict.LangIDSet(0x407); }},
      {"PairInsert text", [&] { Access::Insert(dict, XT("a"), XT("b")); }},
      {"PairInsert id", [&] { Access::Insert(dict, 1u, XT("b")); }},
      {"CheckTranslate text", [&] { dict.CheckTranslate(XT("a")); }},
      {"CheckTranslate miss", [&] { dict.CheckTranslate(XT("Page 3 of 10")); }},
      {"CheckTranslate id", [&] { dict.CheckTranslate(1u); }},
      {"CheckRetranslate", [&] { dict.CheckRetranslate(XT("b")); }},
      {"StringTranslate", [&] { dict.StringTranslate(XT("a")); }},
      {"StringRetranslate", [&] { dict.StringRetranslate(XT("b")); }},
  };
  colang::test::HostContext host;
  for (auto& call : calls) {
    SCOPED_TRACE(call.first);
    call.second();
    EXPECT_EQ(ModuleContextCurrent(), host.Get());
  }
}

TEST(LMTranslDictModuleContext, GuardSwitchesToTheLibraryAndRestoresOnException) {
  colang::test::HostContext host;
  try {
    colang::detail::XModuleContextGuard outer;
    EXPECT_EQ(ModuleContextCurrent(), &ModuleContextLibrary());
    {
      colang::detail::XModuleContextGuard nested;
      EXPECT_EQ(ModuleContextCurrent(), &ModuleContextLibrary());
    }
    EXPECT_EQ(ModuleContextCurrent(), &ModuleContextLibrary());
    throw std::runtime_error("out");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(ModuleContextCurrent(), host.Get());
}

}  // namespace
