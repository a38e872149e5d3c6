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

using colang::detail::kPatternPoolSize;
using colang::detail::PatternPoolHolds;
using colang::test::Narrow;

// One dictionary for the process: a map is collected once, by its address.
XLMTranslDict& Dict() {
  // Short results live inside the string object.
  static XLMTranslDict s_dict =
      colang::test::DictMake({{XT("Item %d"), XT("#%d")},
                              {XT("Long %d"), XT("Ein recht langer Posten mit der Nummer %d")},
                              {XT("Page %d of %d"), XT("Seite %d von %d")},
                              {XT("Exact 1"), XT("Genau eins")},
                              {XT("%d items"), XT("%d Posten")}});
  return s_dict;
}

std::string Translated(const XString& strText) {
  const XChar* pszResult = Dict().CheckTranslate(strText.c_str());
  return pszResult != nullptr ? Narrow(pszResult) : "<null>";
}

TEST(PatternTranslateByDictionary, MissesFallBackOnPatternsCollectedAtFirstUse) {
  EXPECT_EQ(Translated(XT("Page   3 of 10")), "Seite 3 von 10");
  EXPECT_EQ(Translated(XT("Exact 1")), "Genau eins");  // an entry of its own comes first
  EXPECT_EQ(Translated(XT("Exact 2")), "<null>");
  const XChar* pszLone = XT("12");
  EXPECT_EQ(Dict().StringTranslate(pszLone), pszLone);

  XLMTranslDictAccess::Insert(Dict(), XT("%d apples"), XT("%d Äpfel"));
  EXPECT_EQ(Translated(XT("3 apples")), "<null>") << "added after the map was collected";

  const XChar surrogates[] = {0xD800, XT(' '), XT('1'), 0xDC00, XT('%'), XT('d'), 0xDFFF, 0};
  for (const XString& strOdd : {XString(XT("%")), XString(XT("%%%% 1")), XString(10000, XT('3')),
                                XString(10000, XT('%')) + XT("1"), XString(surrogates)})
    Translated(strOdd);  // must not crash
  EXPECT_EQ(Translated(XT("Item ") + XString(10000, XT('3'))), "#" + std::string(10000, '3'));
}

// Texts without a digit or "%" are turned away before tokenizing, four
// units at a time: an argument at every place within those steps still
// reaches the patterns, whatever the units around it.
TEST(PatternTranslateByDictionary, AnArgumentAnywhereReachesThePatterns) {
  for (size_t nPad = 0; nPad < 9; ++nPad) {
    SCOPED_TRACE(nPad);
    const XString strPad(nPad, XT(' '));
    EXPECT_EQ(Translated(strPad + XT("7 items")), "7 Posten");
    EXPECT_EQ(Translated(strPad + XT("%d items")), "%d Posten");
    EXPECT_EQ(Translated(strPad + XT("\x8035 items")), "<null>");
  }
}

TEST(PatternPool, ResultsStayInPlaceForTheNext54AndThe56thDropsTheOldest) {
  std::vector<std::pair<const XChar*, XString>> vecHanded;  // pointer and a copy of its text
  for (size_t n = 1; n <= kPatternPoolSize + 1; ++n) {
    // Alternate short and long results: both must stay where they are.
    const XString strText = (n % 2 ? XT("Item ") : XT("Long ")) + colang::test::Widen(std::to_string(n));
    const XChar* pszResult = Dict().CheckTranslate(strText.c_str());
    ASSERT_NE(pszResult, nullptr) << n;
    vecHanded.emplace_back(pszResult, pszResult);
    for (size_t k = n > kPatternPoolSize ? n - kPatternPoolSize : 0; k < n; ++k) {
      ASSERT_TRUE(PatternPoolHolds(vecHanded[k].first)) << "result " << k + 1 << " after " << n;
      ASSERT_EQ(XString(vecHanded[k].first), vecHanded[k].second) << "result " << k + 1 << " after " << n;
    }
  }
  EXPECT_EQ(Narrow(vecHanded[55].second), "Ein recht langer Posten mit der Nummer 56");
  EXPECT_FALSE(PatternPoolHolds(vecHanded[0].first)) << "the 56th result drops the first";

  // A miss and a rejected text add nothing and drop nothing.
  EXPECT_EQ(Translated(XT("Nothing 5")), "<null>");
  EXPECT_EQ(Translated(XT("no digits")), "<null>");
  EXPECT_TRUE(PatternPoolHolds(vecHanded[1].first));

  // The same text twice takes two entries.
  const XChar* pszFirst = Dict().CheckTranslate(XT("Long 7"));
  const XChar* pszSecond = Dict().CheckTranslate(XT("Long 7"));
  EXPECT_NE(pszFirst, pszSecond);
  EXPECT_EQ(XString(pszFirst), XString(pszSecond));
  EXPECT_FALSE(PatternPoolHolds(vecHanded[2].first));
}

}  // namespace
