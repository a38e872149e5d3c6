// Pattern matching on a translator of the test's own: the token sequence
// order, which entries become patterns and which pattern a text reaches. The
// process-wide translator is tested in isolated executables.
#include <gtest/gtest.h>

#include "colang/detail/DictAccess.h"
#include "colang/pattern/MapTokVecTransl.h"
#include "support/TestSupport.h"

namespace {

using colang::test::DictMake;
using colang::test::Narrow;

// A dictionary's translation map is what a translator collects.
const XLMTranslDict::XMapTransl& MapOf(const XLMTranslDict& dict) { return XLMTranslDictAccess::TranslMap(dict); }

// The joined translation found for pszText, or "<none>".
std::string Found(const XMapTokVecTransl& translator, const XChar* pszText) {
  XTokVec tokvecOut(XT("untouched"));
  if (!translator.Translate(tokvecOut, XTokVec(pszText))) return tokvecOut.size() == 1 ? "<none>" : "<changed>";
  XString strJoined;
  for (const XToken& token : tokvecOut) strJoined += token.m_strText;
  return Narrow(strJoined);
}

TEST(TokVecCompare, OrdersTokenByTokenIgnoringWhiteSpace) {
  struct {
    const XChar *pszA, *pszB;
    XCmpResult result;
  } const cases[] = {
      {XT(" \t"), XT(""), eCmpEqual},
      {XT(""), XT("a"), eCmpLess},
      {XT(" a b"), XT("a   b "), eCmpEqual},
      {XT("Page 3 of 10"), XT("Page %d of %d"), eCmpEqual},
      {XT("page 3"), XT("Page 3"), eCmpGreater},  // case matters
      {XT("ab x"), XT("abc"), eCmpLess},          // a proper prefix first
      {XT("x 3"), XT("x 11"), eCmpLess},          // numbers by value, not by text
      {XT("x 1.50"), XT("x 1,5"), eCmpEqual},
      {XT("x 1e3"), XT("x 1000.0000001"), eCmpEqual},  // within ten digits
      {XT("x 1e3"), XT("x 1000.001"), eCmpLess},
      {XT("x %d"), XT("x %i"), eCmpLess},    // specifiers by text
      {XT("3 x"), XT("%d y"), eCmpLess},     // a number equals a specifier, then the texts decide
      {XT("12"), XT("x"), eCmpLess},         // a number against a string: texts
      {XT("\xFFFF"), XT("a"), eCmpGreater},  // code units compare unsigned
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszA) + " vs " + Narrow(c.pszB));
    EXPECT_EQ(TokVecCompare(XTokVec(c.pszA), XTokVec(c.pszB)), c.result);
    EXPECT_EQ(TokVecCompare(XTokVec(c.pszB), XTokVec(c.pszA)), c.result == eCmpEqual ? eCmpEqual : 3 - c.result);
    EXPECT_EQ(Narrow(CompareResultString(c.result)), std::string(1, "?<>="[c.result]));
  }
  EXPECT_EQ(Narrow(CompareResultString(0)), "?");
}

TEST(Translate, FindsThePatternATextFits) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(MapOf(DictMake({
      {XT("Page %d of %d"), XT("Seite %d von %d")},
      {XT("%d%% done"), XT("%d%% fertig")},
      {XT("%d files"), XT("%d Dateien")},
      {XT("%d of 10 items"), XT("%d von 10 Posten")},
      {XT("Line\n%d"), XT("Zeile\n%d")},
      {XT("File %s not found"), XT("Datei %s fehlt")},  // no patterns: %s, %%, %x, no "%"
      {XT("100%% sure %x"), XT("sicher")},
      {XT("Page 3"), XT("Seite 3")},
  })));
  EXPECT_EQ(translator.PatternCount(), 5u);
  struct {
    const XChar* pszText;
    const char* pszFound;
  } const cases[] = {
      {XT("Page 3 of 10"), "Seite %d von %d"},
      {XT(" Page\t3  of  10 "), "Seite %d von %d"},
      {XT("page 3 of 10"), "<none>"},
      {XT("50% done"), "<none>"},  // "%%" in the pattern is not "%"
      {XT("50%% done"), "%d%% fertig"},
      {XT("2.5 files"), "%d Dateien"},  // the specifier's type is not checked
      {XT("%d files"), "%d Dateien"},
      {XT("%i files"), "<none>"},
      {XT("3 of 10.0 items"), "%d von 10 Posten"},
      {XT("3 of 11 items"), "<none>"},
      {XT("Line\n7"), "Zeile\n%d"},
      {XT("Line 7"), "<none>"},  // a line feed is not white space
      {XT("File 3 not found"), "<none>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszText));
    EXPECT_EQ(Found(translator, c.pszText), c.pszFound);
  }
}

TEST(Translate, ASecondSearchReachesPlainSpecifiersBehindAStoppingPattern) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(
      MapOf(DictMake({{XT("%5.2f mm"), XT("%5.2f Millimeter")}, {XT("%d files"), XT("%d Dateien")}})));
  // The first search starts at "%5.2f mm", which stands after "12 files" and stops it.
  const XChar* pszBound = translator.PatternSource(XTokVec(XT("12 files")), false);
  ASSERT_NE(pszBound, nullptr);
  ASSERT_EQ(TokVecCompare(XTokVec(XT("12 files")), XTokVec(pszBound)), eCmpLess);
  EXPECT_EQ(Found(translator, XT("12 files")), "%d Dateien");
  EXPECT_EQ(Found(translator, XT("3.14159 mm")), "%5.2f Millimeter");
  EXPECT_EQ(Found(translator, XT(" 12 files")), "<none>") << "white space first: no second search";
}

TEST(TranslMapCheck, CollectsEachMapOnceAndTheFirstOfEqualPatternsWins) {
  XMapTokVecTransl translator;
  // Within a map "Page %d of %d" sorts first and equals "Page 3 of %d" as a pattern.
  XLMTranslDict dictFirst =
      DictMake({{XT("Page 3 of %d"), XT("Third of %d")}, {XT("Page %d of %d"), XT("Seite %d von %d")}});
  XLMTranslDict dictSecond =
      DictMake({{XT("Page %d of %d"), XT("Page %d sur %d")}, {XT("%d files"), XT("%d fichiers")}});
  EXPECT_TRUE(translator.TranslMapCheck(MapOf(dictFirst)));
  EXPECT_TRUE(translator.TranslMapCheck(MapOf(dictSecond)));
  EXPECT_EQ(Found(translator, XT("Page 3 of 10")), "Seite %d von %d");
  EXPECT_EQ(Found(translator, XT("4 files")), "%d fichiers");

  XLMTranslDictAccess::Insert(dictFirst, XT("%d items"), XT("%d Posten"));
  EXPECT_TRUE(translator.TranslMapCheck(MapOf(dictFirst)));
  EXPECT_EQ(Found(translator, XT("4 items")), "<none>") << "added after the map was collected";
}

}  // namespace
