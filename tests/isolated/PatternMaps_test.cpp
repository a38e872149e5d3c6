// The process-wide translator's five slots, in a process of its own: the
// patterns of the first five translation maps serve every dictionary, the
// sixth map shows the overflow message once, and no later map is collected.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colang/Hooks.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "support/TestSupport.h"

namespace {

using colang::test::Narrow;
using colang::test::Widen;

std::vector<std::string> g_vecShown;  // text, type and help context of each message box

int MessageBoxRecord(const XChar* pszText, unsigned nType, unsigned nHelpContext) {
  g_vecShown.push_back(Narrow(pszText) + " " + std::to_string(nType) + " " + std::to_string(nHelpContext));
  return 1;
}

// Dictionary k translates "Box<letter k> %d" and has its own "Page %d of %d".
std::string Translated(int k, const std::string& strText) {
  static XLMTranslDict s_aDict[7];
  XLMTranslDict& dict = s_aDict[k];
  if (!dict.IsValid()) {
    const std::string strLetter(1, static_cast<char>('A' + k));
    XLMTranslDictAccess::Insert(dict, Widen("Box" + strLetter + " %d").c_str(),
                                Widen("Kiste" + strLetter + " %d").c_str());
    XLMTranslDictAccess::Insert(dict, XT("Page %d of %d"), Widen("Seite" + strLetter + " %d von %d").c_str());
    dict.LangIDSet(0x407);
  }
  const XChar* pszResult = dict.CheckTranslate(Widen(strText).c_str());
  return pszResult != nullptr ? Narrow(pszResult) : "<null>";
}

TEST(PatternMaps, FiveMapsAreCollectedTheSixthShowsOneMessageAndNoneAfterIsCollected) {
  XMessageBoxHook pfnPrevious = MessageBoxHookSet(MessageBoxRecord);
  // Texts rejected before the search take no slot.
  EXPECT_EQ(Translated(6, "plain words"), "<null>");
  EXPECT_EQ(Translated(6, "12"), "<null>");

  for (int k = 0; k < 5; ++k) {
    const std::string strLetter(1, static_cast<char>('A' + k));
    EXPECT_EQ(Translated(k, "Box" + strLetter + " 3"), "Kiste" + strLetter + " 3");
    EXPECT_EQ(Translated(k, "Page 1 of 2"), "SeiteA 1 von 2") << "the pattern collected first serves all";
  }
  EXPECT_TRUE(g_vecShown.empty());

  EXPECT_EQ(Translated(5, "BoxF 3"), "<null>");
  EXPECT_EQ(Translated(5, "BoxA 4"), "KisteA 4");
  EXPECT_EQ(Translated(6, "BoxG 3"), "<null>");
  EXPECT_EQ(Translated(6, "BoxE 7"), "KisteE 7");
  EXPECT_EQ(g_vecShown,
            std::vector<std::string>{
                "XMapTokVecTransl::TranslMapCheck: more than 5 different translation maps encountered 0 0"});
  MessageBoxHookSet(pfnPrevious);
}

}  // namespace
