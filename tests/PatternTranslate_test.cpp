// Assembling a translation from a pattern's translation and a text's numbers,
// and the texts rejected before any search. Searches through the process-wide
// translator are tested in isolated executables.
#include <gtest/gtest.h>

#include "colang/detail/DictAccess.h"
#include "colang/pattern/PatternTranslate.h"
#include "support/TestSupport.h"

namespace {

using colang::test::Narrow;

TEST(TokVecAssemble, PutsTheTextsArgumentsIntoTheTranslationsPlaceholders) {
  struct {
    const XChar *pszTransl, *pszText;
    const char* pszResult;
  } const cases[] = {
      {XT("Seite  %d\tvon %d."), XT("Page   3 of 10"), "Seite  3\tvon 10."},  // the translation's own spacing
      {XT("%d von %d"), XT("-1,5e3 of +2.50"), "-1,5e3 von +2.50"},           // numbers as written
      {XT("Dateien"), XT("12 files"), "Dateien12"},                           // surplus numbers appended
      {XT("%d"), XT("3 of 10"), "310"},
      {XT("%d Dateien (%d)"), XT("12 files"), "12 Dateien ()"},  // surplus placeholders dropped
      {XT("Wert: %d"), XT("Value:  %d"), "Wert: %d"},            // a specifier in the text keeps the placeholder
      {XT("Wert: %5.2f"), XT("%d and 7"), "Wert: %5.2f7"},
      {XT("Wert"), XT("%d %d"), "Wert"},  // surplus specifiers dropped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszTransl) + " <- " + Narrow(c.pszText));
    EXPECT_EQ(Narrow(TokVecAssemble(XTokVec(c.pszTransl), XTokVec(c.pszText))), c.pszResult);
  }
}

TEST(PatternTranslate, TextsWithoutTwoTokensAndAnArgumentAreRejected) {
  const XLMTranslDict dict = colang::test::DictMake({{XT("%d"), XT("Zahl %d")}, {XT("%d x"), XT("%d y")}});
  const XLMTranslDict::XMapTransl& mapTransl = XLMTranslDictAccess::TranslMap(dict);
  for (const XChar* pszText : {XT(""), XT("12"), XT("%d"), XT("two words"), XT("%s and %%d"), XT("\t")}) {
    SCOPED_TRACE(Narrow(pszText));
    EXPECT_EQ(PatternTranslate(pszText, mapTransl), nullptr);
  }
}

}  // namespace
