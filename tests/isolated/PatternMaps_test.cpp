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

struct XShown {
  std::string strText;
  unsigned nType;
  unsigned nHelpContext;
};
std::vector<XShown> g_vecShown;

int MessageBoxRecord(const XChar* pszText, unsigned nType, unsigned nHelpContext) {
  g_vecShown.push_back({Narrow(pszText), nType, nHelpContext});
  return 1;
}

// Dictionary k holds "Box<letter k> %d" and its own translation of "Page %d of %d".
XLMTranslDict& Dict(int k) {
  static XLMTranslDict s_aDict[7];
  XLMTranslDict& dict = s_aDict[k];
  if (!dict.IsValid()) {
    const std::string strLetter(1, static_cast<char>('A' + k));
    XLMTranslDictAccess::Insert(dict, Widen("Box" + strLetter + " %d").c_str(),
                                Widen("Kiste" + strLetter + " %d").c_str());
    XLMTranslDictAccess::Insert(dict, XT("Page %d of %d"), Widen("Seite" + strLetter + " %d von %d").c_str());
    dict.LangIDSet(0x407);
  }
  return dict;
}

std::string Translated(int k, const std::string& strText) {
  const XChar* pszResult = Dict(k).CheckTranslate(Widen(strText).c_str());
  return pszResult != nullptr ? Narrow(pszResult) : "<null>";
}

TEST(PatternMaps, FiveMapsAreCollectedTheSixthShowsOneMessageAndNoneAfterIsCollected) {
  XMessageBoxHook pfnPrevious = MessageBoxHookSet(MessageBoxRecord);

  // Texts rejected before the search do not take a slot.
  EXPECT_EQ(Translated(6, "plain words"), "<null>");
  EXPECT_EQ(Translated(6, "12"), "<null>");

  for (int k = 0; k < 5; ++k) {
    const std::string strLetter(1, static_cast<char>('A' + k));
    SCOPED_TRACE(strLetter);
    EXPECT_EQ(Translated(k, "Box" + strLetter + " 3"), "Kiste" + strLetter + " 3");
    // The pattern collected first serves every dictionary.
    EXPECT_EQ(Translated(k, "Page 1 of 2"), "SeiteA 1 von 2");
  }
  EXPECT_TRUE(g_vecShown.empty());

  EXPECT_EQ(Translated(5, "BoxF 3"), "<null>");
  ASSERT_EQ(g_vecShown.size(), 1u);
  EXPECT_EQ(g_vecShown[0].strText,
            "XMapTokVecTransl::TranslMapCheck: more than 5 different translation maps encountered");
  EXPECT_EQ(g_vecShown[0].nType, 0u);
  EXPECT_EQ(g_vecShown[0].nHelpContext, 0u);
  EXPECT_EQ(Translated(5, "BoxA 4"), "KisteA 4");
  EXPECT_EQ(Translated(5, "Page 5 of 6"), "SeiteA 5 von 6");

  EXPECT_EQ(Translated(6, "BoxG 3"), "<null>");
  EXPECT_EQ(Translated(6, "BoxE 7"), "KisteE 7");
  EXPECT_EQ(Translated(5, "BoxF 8"), "<null>");
  EXPECT_EQ(g_vecShown.size(), 1u) << "the message shows once per process";

  MessageBoxHookSet(pfnPrevious);
}

}  // namespace
