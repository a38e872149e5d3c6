// Reading a catalog gathers its entries and inserts them together: into an
// empty map in reading order, into a filled one merged in key order.
// Whatever the order, the duplicates and the texts of a file,
// the dictionary must end as inserting the pairs one by one would leave it:
// compared here against exactly that, on random catalogs read anew and added
// to a filled dictionary.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/detail/DictText.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;
using Access = XLMTranslDictAccess;

// One line of a catalog, as bytes (UTF-8) and as the text it reads as.
struct XLine {
  std::string bytes;
  XString text;
};

// Texts that share long beginnings, repeat, hold escapes, zeros and
// characters beyond ASCII, and identifier lines.
XLine LineRandom(std::mt19937& rng) {
  static const char* const apszParts[] = {"Open", "Open ", "\xC3\x96", "ffnen", "\\t",   "\\\\",        "\\n",
                                          "%d",   "&",     "...",      "Datei", "Datei", "\xE2\x82\xAC"};
  XLine line;
  if (rng() % 10 == 0) {
    line.bytes = "#" + std::to_string(1 + rng() % 40);
  } else {
    // Long shared beginnings make the sort look far into the texts.
    if (rng() % 3 == 0) line.bytes = std::string(8 + rng() % 20, 'x');
    for (unsigned n = 1 + rng() % 6; n > 0; --n) line.bytes += apszParts[rng() % std::size(apszParts)];
    if (rng() % 25 == 0) line.bytes += std::string(1, '\0') + "tail";
  }
  line.text = Widen(line.bytes);
  return line;
}

// What inserting the pairs one by one leaves.
void ReferenceInsert(XLMTranslDict& dict, const std::vector<std::pair<XLine, XLine>>& vecPairs) {
  for (const auto& [source, transl] : vecPairs) {
    XString strTransl = transl.text;
    colang::detail::StringUnescape(strTransl);
    if (unsigned nID = colang::detail::IDFromLine(source.text)) {
      Access::Insert(dict, nID, strTransl.c_str());
    } else {
      XString strSource = source.text;
      colang::detail::StringUnescape(strSource);
      Access::Insert(dict, strSource.c_str(), strTransl.c_str());
    }
  }
}

std::string Catalog(const std::vector<std::pair<XLine, XLine>>& vecPairs) {
  std::string bytes = "0407\nDeutsch\n";
  for (const auto& [source, transl] : vecPairs) bytes += source.bytes + "\n" + transl.bytes + "\n";
  return bytes;
}

void ExpectSame(const XLMTranslDict& dict, const XLMTranslDict& expected) {
  const auto& mapTransl = Access::TranslMap(dict);
  const auto& mapRetransl = Access::RetranslMap(dict);
  EXPECT_EQ(mapTransl, Access::TranslMap(expected));
  // The first key that differs, readably.
  for (const auto& [strKey, strValue] : Access::TranslMap(expected)) {
    const XChar* pszFound = mapTransl.Find(strKey);
    if (pszFound == nullptr || strValue != pszFound) {
      ADD_FAILURE() << Narrow(strKey) << ": " << (pszFound == nullptr ? "missing" : Narrow(pszFound)) << " instead of "
                    << Narrow(strValue);
      break;
    }
  }
  EXPECT_EQ(mapRetransl, Access::RetranslMap(expected));
  EXPECT_EQ(Access::IdMap(dict), Access::IdMap(expected));
  // The lookups find what the maps hold, and point into them.
  for (const auto& [key, value] : mapTransl) EXPECT_EQ(dict.CheckTranslate(key.data()), value.data());
  for (const auto& [key, value] : mapRetransl) EXPECT_EQ(dict.CheckRetranslate(key.data()), value.data());
}

TEST(LMTranslDictBatch, ReadEndsAsInsertingOneByOne) {
  XTempDir dir;
  std::mt19937 rng(7);
  for (int nRound = 0; nRound < 20; ++nRound) {
    SCOPED_TRACE(nRound);
    std::vector<std::pair<XLine, XLine>> vecFirst, vecSecond;
    // Small files merge after a sort by comparison, large ones by digits.
    auto count = [&rng, nRound] {
      return nRound % 2 == 0 ? 1 + static_cast<int>(rng() % 300) : 600 + static_cast<int>(rng() % 2000);
    };
    for (int i = 0, n = count(); i < n; ++i) vecFirst.emplace_back(LineRandom(rng), LineRandom(rng));
    for (int i = 0, n = count(); i < n; ++i) vecSecond.emplace_back(LineRandom(rng), LineRandom(rng));
    // The second file repeats some keys of the first, to be replaced.
    for (int i = 0; i < 20; ++i) vecSecond.emplace_back(vecFirst[rng() % vecFirst.size()].first, LineRandom(rng));
    const std::string strRound = std::to_string(nRound);
    XString strFirst = TextFromPath(dir.Write("a" + strRound + "0407.rlg", Catalog(vecFirst)));
    XString strSecond = TextFromPath(dir.Write("b" + strRound + "0407.rlg", Catalog(vecSecond)));

    XLMTranslDict dict, expected;
    ASSERT_TRUE(dict.RLGFileRead(strFirst.c_str(), false));
    ReferenceInsert(expected, vecFirst);
    ExpectSame(dict, expected);

    // Added to a filled dictionary: new keys merge in, repeated ones are
    // replaced, and the texts of entries not replaced stay where they were.
    std::vector<const XChar*> vecKept;
    for (const auto& entry : Access::TranslMap(dict)) vecKept.push_back(entry.second.data());
    ASSERT_TRUE(dict.RLGFileRead(strSecond.c_str(), true));
    ReferenceInsert(expected, vecSecond);
    ExpectSame(dict, expected);
    EXPECT_EQ(dict.RLGFilesLoaded().size(), 2u);
    size_t nStill = 0;
    for (const auto& entry : Access::TranslMap(dict))
      nStill += std::find(vecKept.begin(), vecKept.end(), entry.second.data()) != vecKept.end();
    EXPECT_GT(nStill, 0u);
  }
}

// A first load leaves the retranslation map as it was read, with no index
// and a translation perhaps more than once; whatever uses the dictionary
// first, it answers as if the map had been built at once.
TEST(LMTranslDictBatch, RetranslationsRightWhateverComesFirstAfterALoad) {
  XTempDir dir;
  std::mt19937 rng(11);
  std::vector<std::pair<XLine, XLine>> vecFirst, vecSecond;
  // Few different texts, so that translations and sources repeat often.
  for (int i = 0; i < 1500; ++i) vecFirst.emplace_back(LineRandom(rng), LineRandom(rng));
  for (int i = 0; i < 50; ++i) vecSecond.emplace_back(LineRandom(rng), LineRandom(rng));
  const XString strFirst = TextFromPath(dir.Write("first0407.rlg", Catalog(vecFirst)));
  const XString strSecond = TextFromPath(dir.Write("second0407.rlg", Catalog(vecSecond)));
  XLMTranslDict expected;
  ReferenceInsert(expected, vecFirst);
  const auto& mapExpected = Access::RetranslMap(expected);

  auto lookupsMatch = [&mapExpected](const XLMTranslDict& dict) {
    EXPECT_EQ(dict.CheckRetranslate(XT("not a translation")), nullptr);
    for (const auto& [key, value] : mapExpected) EXPECT_EQ(Found(dict.CheckRetranslate(key.data())), value);
  };
  struct Case {
    const char* pszName;
    std::function<void(XLMTranslDict&, XLMTranslDict&)> first;
  } cases[] = {
      {"lookup", [&](XLMTranslDict& dict, XLMTranslDict&) { lookupsMatch(dict); }},
      {"walk", [&](XLMTranslDict& dict, XLMTranslDict&) { EXPECT_EQ(Access::RetranslMap(dict), mapExpected); }},
      {"size",
       [&](XLMTranslDict& dict, XLMTranslDict&) { EXPECT_EQ(Access::RetranslMap(dict).size(), mapExpected.size()); }},
      {"copy",
       [&](XLMTranslDict& dict, XLMTranslDict& ref) {
         const XLMTranslDict copy(dict);
         lookupsMatch(copy);
         ExpectSame(copy, ref);
       }},
      {"move",
       [&](XLMTranslDict& dict, XLMTranslDict&) {
         XLMTranslDict moved(std::move(dict));
         dict = std::move(moved);
       }},
      {"insert",
       [&](XLMTranslDict& dict, XLMTranslDict& ref) {
         Access::Insert(dict, XT("Neu"), XT("New"));
         Access::Insert(ref, XT("Neu"), XT("New"));
       }},
      {"append",
       [&](XLMTranslDict& dict, XLMTranslDict& ref) {
         ASSERT_TRUE(dict.RLGFileRead(strSecond.c_str(), true));
         ReferenceInsert(ref, vecSecond);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pszName);
    XLMTranslDict dict, ref(expected);
    ASSERT_TRUE(dict.RLGFileRead(strFirst.c_str(), false));
    c.first(dict, ref);
    ExpectSame(dict, ref);
  }
}

TEST(LMTranslDictBatch, EqualLongTextsKeepTheLastPair) {
  // Texts far longer than the units the sort packs at a time, equal or
  // differing only at their very end.
  XTempDir dir;
  const std::string strLong(5000, 'q');
  std::string bytes = "0407\nDeutsch\n";
  bytes += strLong + "\nfirst\n" + strLong + "b\nother\n" + strLong + "\nlast\n" + strLong + "a\nsame\n";
  // A text that ends where a longer one goes on, both ways round.
  bytes += "12345678\nshort\n12345678x\nlonger\n12345678\nagain\n";
  XString strName = TextFromPath(dir.Write("long0407.rlg", bytes));
  // Added to a filled dictionary, so that the pairs are sorted.
  XString strBase = TextFromPath(dir.Write("base0407.rlg", "0407\nDeutsch\n0\nnull\n"));
  XLMTranslDict dict;
  ASSERT_TRUE(dict.RLGFileRead(strBase.c_str(), false));
  ASSERT_TRUE(dict.RLGFileRead(strName.c_str(), true));
  const auto& mapTransl = Access::TranslMap(dict);
  ASSERT_EQ(mapTransl.size(), 6u);
  EXPECT_EQ(Found(dict.CheckTranslate(XT("12345678"))), XT("again"));
  EXPECT_EQ(Found(dict.CheckRetranslate(XT("short"))), XT("12345678"));
  EXPECT_EQ(Found(dict.CheckTranslate(Widen(strLong).c_str())), XT("last"));
  EXPECT_EQ(Found(dict.CheckRetranslate(XT("first"))), Widen(strLong));
  EXPECT_EQ(std::prev(mapTransl.end(), 2)->first, Widen(strLong + "a"));
}

}  // namespace
