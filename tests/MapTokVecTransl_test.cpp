// Pattern matching on a translator of the test's own: the token sequence
// order, which entries become patterns, and which pattern a text reaches.
// The process-wide translator and its overflow message are tested in
// isolated executables.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "colang/pattern/MapTokVecTransl.h"
#include "support/TestSupport.h"

namespace {

using colang::test::Narrow;
using XMapTransl = XLMTranslDict::XMapTransl;

XMapTransl MapMake(std::initializer_list<std::pair<const XChar*, const XChar*>> entries) {
  XMapTransl map;
  for (const auto& [pszSource, pszTransl] : entries) map.emplace(pszSource, pszTransl);
  return map;
}

// The joined tokens of the translation found for pszText, or "<none>".
std::string Found(const XMapTokVecTransl& translator, const XChar* pszText) {
  XTokVec tokvecOut;
  if (!translator.Translate(tokvecOut, XTokVec(pszText))) return "<none>";
  XString strJoined;
  for (const XToken& token : tokvecOut) strJoined += token.m_strText;
  return Narrow(strJoined);
}

TEST(TokVecCompare, OrdersTokenByTokenIgnoringWhiteSpace) {
  struct {
    const XChar* pszA;
    const XChar* pszB;
    XCmpResult result;
  } const cases[] = {
      {XT(""), XT(""), eCmpEqual},
      {XT(" \t"), XT(""), eCmpEqual},
      {XT(""), XT("a"), eCmpLess},
      {XT("a b"), XT("a   b "), eCmpEqual},
      {XT(" a"), XT("a"), eCmpEqual},
      {XT("Page 3 of 10"), XT("Page %d of %d"), eCmpEqual},
      {XT("page 3"), XT("Page 3"), eCmpGreater},  // case matters, 'p' > 'P'
      {XT("ab"), XT("abc"), eCmpLess},            // a proper prefix first
      {XT("ab x"), XT("abc"), eCmpLess},
      {XT("x 3"), XT("x 11"), eCmpLess},       // numbers by value, not by text
      {XT("x 1.50"), XT("x 1,5"), eCmpEqual},  // and with a tolerance
      {XT("x 1e3"), XT("x 1000.0000001"), eCmpEqual},
      {XT("x 1e3"), XT("x 1000.001"), eCmpLess},
      {XT("x %d"), XT("x %i"), eCmpLess},  // specifiers by text
      {XT("%5d"), XT("%d"), eCmpLess},
      {XT("%d"), XT("%d x"), eCmpLess},
      {XT("3 x"), XT("%d y"), eCmpLess},  // a number equals a specifier, then the texts decide
      {XT("%d files"), XT("12 files"), eCmpEqual},
      {XT("12"), XT("x"), eCmpLess},  // number against string: texts
      {XT("%d"), XT("x"), eCmpLess},
      {XT("\xFFFF"), XT("a"), eCmpGreater},  // code units compare unsigned
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszA) + " vs " + Narrow(c.pszB));
    const XTokVec a(c.pszA);
    const XTokVec b(c.pszB);
    EXPECT_EQ(TokVecCompare(a, b), c.result);
    const XCmpResult reverse = c.result == eCmpLess ? eCmpGreater : c.result == eCmpGreater ? eCmpLess : eCmpEqual;
    EXPECT_EQ(TokVecCompare(b, a), reverse);
  }
}

TEST(TokVecCompare, ResultNames) {
  EXPECT_EQ(Narrow(CompareResultString(eCmpLess)), "<");
  EXPECT_EQ(Narrow(CompareResultString(eCmpGreater)), ">");
  EXPECT_EQ(Narrow(CompareResultString(eCmpEqual)), "=");
  EXPECT_EQ(Narrow(CompareResultString(0)), "?");
  EXPECT_EQ(Narrow(CompareResultString(4)), "?");
}

TEST(TranslMapCollect, OnlyEntriesWithARealSpecifierBecomePatterns) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(MapMake({
      {XT("File %s not found"), XT("Datei %s fehlt")},
      {XT("100%% sure"), XT("100%% sicher")},
      {XT("%x bytes"), XT("%x Bytes")},
      {XT("Page 3"), XT("Seite 3")},
      {XT("Open"), XT("Öffnen")},
      {XT("%d files"), XT("%d Dateien")},
  }));
  ASSERT_EQ(translator.PatternMap().size(), 1u);
  EXPECT_EQ(Narrow(translator.PatternMap().begin()->first.Dump()),
            "eKIDFormat:\"%d\",eKIDWhites:\" \",eKIDString:\"files\"");
}

TEST(TranslMapCollect, AmongEqualPatternsTheFirstCollectedWins) {
  XMapTokVecTransl translator;
  // "Page %d of %d" sorts before "Page 3 of %d" in the map and equals it as a pattern.
  translator.TranslMapCollect(MapMake({
      {XT("Page 3 of %d"), XT("Third page of %d")},
      {XT("Page %d of %d"), XT("Seite %d von %d")},
  }));
  translator.TranslMapCollect(MapMake({{XT("Page %d of %d"), XT("Page %d sur %d")}}));
  EXPECT_EQ(translator.PatternMap().size(), 1u);
  EXPECT_EQ(Found(translator, XT("Page 3 of 10")), "Seite %d von %d");
  EXPECT_EQ(Found(translator, XT("Page 4 of 10")), "Seite %d von %d");
}

TEST(Translate, FindsThePatternATextFits) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(MapMake({
      {XT("Page %d of %d"), XT("Seite %d von %d")},
      {XT("%d%% done"), XT("%d%% fertig")},
      {XT("%5.2f mm"), XT("%5.2f Millimeter")},
      {XT("%d files"), XT("%d Dateien")},
      {XT("%d of 10 items"), XT("%d von 10 Posten")},
      {XT("Line\n%d"), XT("Zeile\n%d")},
  }));
  struct {
    const XChar* pszText;
    const char* pszFound;
  } const cases[] = {
      {XT("Page 3 of 10"), "Seite %d von %d"},
      {XT("Page 3  of  10"), "Seite %d von %d"},
      {XT(" Page\t3 of 10 "), "Seite %d von %d"},
      {XT("page 3 of 10"), "<none>"},
      {XT("Page 3 of"), "<none>"},
      {XT("50% done"), "<none>"},  // "%%" in the pattern is not "%"
      {XT("50%% done"), "%d%% fertig"},
      {XT("2.5 files"), "%d Dateien"},  // the specifier's type is not checked
      {XT("%d files"), "%d Dateien"},
      {XT("%i files"), "<none>"},
      {XT("3 of 10 items"), "%d von 10 Posten"},
      {XT("3 of 10.0 items"), "%d von 10 Posten"},
      {XT("3 of 11 items"), "<none>"},
      {XT("Line\n7"), "Zeile\n%d"},
      {XT("Line 7"), "<none>"},  // a line feed is text, not white space
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszText));
    EXPECT_EQ(Found(translator, c.pszText), c.pszFound);
  }
}

TEST(Translate, ASecondSearchReachesPlainSpecifiersBehindAStoppingPattern) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(MapMake({
      {XT("%5.2f mm"), XT("%5.2f Millimeter")},
      {XT("%d files"), XT("%d Dateien")},
  }));
  XTokVec tokvecOut;
  // The first search starts at "%5.2f mm", which stands after "12 files"
  // ("mm" > "files") and stops it.
  auto it = translator.PatternMap().lower_bound(XTokVec(XT("12 files")));
  ASSERT_NE(it, translator.PatternMap().end());
  ASSERT_EQ(TokVecCompare(XTokVec(XT("12 files")), it->first), eCmpLess);

  EXPECT_EQ(Found(translator, XT("12 files")), "%d Dateien");
  EXPECT_EQ(Found(translator, XT("12 files 3")), "<none>");
  EXPECT_EQ(Found(translator, XT(" 12 files")), "<none>") << "white space first: no second search";
  EXPECT_EQ(Found(translator, XT("3 mm")), "%5.2f Millimeter");
  EXPECT_EQ(Found(translator, XT("3.14159 mm")), "%5.2f Millimeter");
}

TEST(Translate, LeavesTheOutputAloneOnAMiss) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(MapMake({{XT("%d files"), XT("%d Dateien")}}));
  XTokVec tokvecOut(XT("kept 1"));
  EXPECT_FALSE(translator.Translate(tokvecOut, XTokVec(XT("12 folders"))));
  EXPECT_EQ(Narrow(tokvecOut.Dump()), "eKIDString:\"kept\",eKIDWhites:\" \",eKIDNumber:\"1\"");
  EXPECT_FALSE(XMapTokVecTransl().Translate(tokvecOut, XTokVec(XT("12 files"))));
}

TEST(TranslMapCheck, CollectsEachMapOnceByItsAddress) {
  XMapTokVecTransl translator;
  XMapTransl mapFirst = MapMake({{XT("Page %d of %d"), XT("Seite %d von %d")}});
  XMapTransl mapSecond = MapMake({{XT("Page %d of %d"), XT("Page %d sur %d")}, {XT("%d files"), XT("%d fichiers")}});
  EXPECT_TRUE(translator.TranslMapCheck(mapFirst));
  EXPECT_TRUE(translator.TranslMapCheck(mapSecond));
  EXPECT_EQ(Found(translator, XT("Page 1 of 2")), "Seite %d von %d");
  EXPECT_EQ(Found(translator, XT("4 files")), "%d fichiers");

  // Entries added after a map was collected never become patterns.
  mapFirst.emplace(XT("%d items"), XT("%d Posten"));
  EXPECT_TRUE(translator.TranslMapCheck(mapFirst));
  EXPECT_EQ(Found(translator, XT("4 items")), "<none>");
}

TEST(Translate, OddTextsNeverCrashTheMatcher) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(MapMake({
      {XT("%d"), XT("%d")},
      {XT("%d %d"), XT("%d-%d")},
      {XT("%%%d%%"), XT("x")},
      {XT("x 1e400 %d"), XT("inf")},
  }));
  const XChar surrogates[] = {0xD800, XT('1'), 0xDC00, XT(' '), 0xDFFF, XT('%'), XT('d'), 0};
  const XString texts[] = {
      XT("%"),
      XT("%%%%"),
      XString(10000, XT('7')),
      XString(10000, XT('7')) + XT(" ") + XString(10000, XT('8')),
      XString(10000, XT('%')),
      XT("x 1e400 2"),
      XT("1e99999 2"),
      XString(surrogates),
  };
  for (const XString& strText : texts) {
    SCOPED_TRACE(strText.size());
    XTokVec tokvecOut;
    translator.Translate(tokvecOut, XTokVec(strText.c_str()));
  }
  EXPECT_EQ(Found(translator, XT("x 1e999 2")), "inf");  // infinities are equal
  EXPECT_EQ(Found(translator, XT("x 1e308 2")), "<none>");
}

}  // namespace
