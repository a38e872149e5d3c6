// Pattern translation through a dictionary, in a process of its own: the
// process-wide translator collects the dictionary's patterns at first use,
// and results live in the pool of the last 55.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/pattern/PatternTranslate.h"
#include "support/TestSupport.h"

namespace {

using colang::detail::nPatternPoolSize;
using colang::detail::PatternPoolHolds;
using colang::test::Narrow;
using colang::test::Widen;

// One dictionary for the whole process: its translation map is collected once,
// and a map at the same address is never collected again.
XLMTranslDict& Dict() {
  static XLMTranslDict s_dict = [] {
    XLMTranslDict dict;
    const XChar* entries[][2] = {
        {XT("Item %d"), XT("#%d")},  // short results, stored inside the string object
        {XT("Long %d"), XT("Ein recht langer Posten mit der Nummer %d")},
        {XT("Page %d of %d"), XT("Seite %d von %d")},
        {XT("%d files"), XT("Dateien")},
        {XT("%d of %d"), XT("%d")},
        {XT("%d folders"), XT("%d Ordner (%d)")},
        {XT("Value: %d"), XT("Wert: %d")},
        {XT("Exact 1"), XT("Genau eins")},
    };
    for (const auto& entry : entries) XLMTranslDictAccess::Insert(dict, entry[0], entry[1]);
    dict.LangIDSet(0x407);
    return dict;
  }();
  return s_dict;
}

std::string Translated(const XChar* pszText) {
  const XChar* pszResult = Dict().CheckTranslate(pszText);
  return pszResult != nullptr ? Narrow(pszResult) : "<null>";
}

TEST(PatternTranslateByDictionary, AssemblesTheTextsNumbersIntoTheTranslation) {
  struct {
    const XChar* pszText;
    const char* pszResult;
  } const cases[] = {
      {XT("Page 3 of 10"), "Seite 3 von 10"},
      {XT("Page   3 of 10"), "Seite 3 von 10"},
      {XT("12 files"), "Dateien12"},
      {XT("3 of 10"), "310"},
      {XT("12 folders"), "12 Ordner ()"},
      {XT("Value:  %d"), "Wert: %d"},
      {XT("Exact 1"), "Genau eins"},  // an entry of its own comes first
      {XT("Exact 2"), "<null>"},
      {XT("page 3 of 10"), "<null>"},
      {XT("Item"), "<null>"},
      {XT("12"), "<null>"},
      {XT(""), "<null>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszText));
    EXPECT_EQ(Translated(c.pszText), c.pszResult);
  }
  const XChar* pszLone = XT("12");
  EXPECT_EQ(Dict().StringTranslate(pszLone), pszLone);
}

TEST(PatternTranslateByDictionary, EntriesAddedAfterTheFirstPatternTranslationAreNoPatterns) {
  ASSERT_EQ(Translated(XT("Item 1")), "#1");  // the map is collected by now
  XLMTranslDictAccess::Insert(Dict(), XT("%d apples"), XT("%d Äpfel"));
  EXPECT_EQ(Translated(XT("3 apples")), "<null>");
  EXPECT_EQ(Translated(XT("%d apples")), "%d Äpfel");  // an entry of its own all the same
}

TEST(PatternPool, ResultsStayInPlaceForTheNext54AndThe56thDropsTheOldest) {
  struct XHanded {
    const XChar* psz;
    XString strCopy;
  };
  std::vector<XHanded> vecHanded;
  for (size_t n = 1; n <= nPatternPoolSize + 1; ++n) {
    // Alternate short and long results: both must stay where they are.
    const XString strText = Widen((n % 2 ? "Item " : "Long ") + std::to_string(n));
    const XChar* pszResult = Dict().CheckTranslate(strText.c_str());
    ASSERT_NE(pszResult, nullptr) << n;
    vecHanded.push_back({pszResult, pszResult});
    // Every result of the last 55 is still held, unchanged, at its pointer.
    const size_t nFirstHeld = vecHanded.size() > nPatternPoolSize ? vecHanded.size() - nPatternPoolSize : 0;
    for (size_t k = nFirstHeld; k < vecHanded.size(); ++k) {
      ASSERT_TRUE(PatternPoolHolds(vecHanded[k].psz)) << "result " << k + 1 << " after " << n;
      ASSERT_EQ(XString(vecHanded[k].psz), vecHanded[k].strCopy) << "result " << k + 1 << " after " << n;
    }
  }
  EXPECT_EQ(Narrow(vecHanded[0].strCopy), "#1");
  EXPECT_EQ(Narrow(vecHanded[55].strCopy), "Ein recht langer Posten mit der Nummer 56");
  EXPECT_FALSE(PatternPoolHolds(vecHanded[0].psz)) << "the 56th result drops the first";

  // A miss and a rejected text add nothing and drop nothing.
  EXPECT_EQ(Dict().CheckTranslate(XT("Nothing 5")), nullptr);
  EXPECT_EQ(Dict().CheckTranslate(XT("no digits")), nullptr);
  EXPECT_TRUE(PatternPoolHolds(vecHanded[1].psz));
  EXPECT_EQ(XString(vecHanded[1].psz), vecHanded[1].strCopy);
}

TEST(PatternPool, TheSameTextTwiceTakesTwoEntries) {
  const XChar* pszFirst = Dict().CheckTranslate(XT("Long 7"));
  const XChar* pszSecond = Dict().CheckTranslate(XT("Long 7"));
  ASSERT_NE(pszFirst, nullptr);
  ASSERT_NE(pszSecond, nullptr);
  EXPECT_NE(pszFirst, pszSecond);
  EXPECT_EQ(XString(pszFirst), XString(pszSecond));
  EXPECT_TRUE(PatternPoolHolds(pszFirst));
  EXPECT_TRUE(PatternPoolHolds(pszSecond));
}

TEST(PatternPool, OddTextsThroughTheDictionaryNeverCrash) {
  const XChar surrogates[] = {0xD800, XT(' '), XT('1'), 0xDC00, XT('%'), XT('d'), 0xDFFF, 0};
  const XString texts[] = {
      XT("%"),
      XT("%%%%"),
      XT("% 1"),
      XString(10000, XT('3')),
      XT("Item ") + XString(10000, XT('3')),
      XString(10000, XT('3')) + XT(" files"),
      XString(10000, XT('%')) + XT("1"),
      XString(surrogates),
  };
  for (const XString& strText : texts) {
    SCOPED_TRACE(strText.size());
    Dict().CheckTranslate(strText.c_str());
  }
  const XChar* pszResult = Dict().CheckTranslate((XT("Item ") + XString(10000, XT('3'))).c_str());
  ASSERT_NE(pszResult, nullptr);
  EXPECT_EQ(XString(pszResult), XT("#") + XString(10000, XT('3')));
}

}  // namespace
