// The lookup index beside the text maps: whatever a dictionary went through,
// every key of each map is found, at the very value the map stores, and
// nothing else is found.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"

namespace {

using Access = XLMTranslDictAccess;

// Letters only, so that no miss can fall through to pattern translation.
XString Word(size_t n, const XChar* pszPrefix) {
  XString str(pszPrefix);
  do {
    str += static_cast<XChar>(XT('a') + n % 26);
    n /= 26;
  } while (n != 0);
  return str;
}

void Fill(XLMTranslDict& dict, size_t nCount, const XChar* pszPrefix) {
  for (size_t i = 0; i < nCount; ++i)
    Access::Insert(dict, Word(i, pszPrefix).c_str(), Word(i, XT("T")).append(pszPrefix).c_str());
  dict.LangIDSet(0x407);
}

void ExpectIndexMatchesMaps(const XLMTranslDict& dict) {
  for (const auto& [key, value] : Access::TranslMap(dict)) {
    EXPECT_EQ(dict.CheckTranslate(key.data()), value.data());
    EXPECT_EQ(dict.CheckTranslate((XString(key) + XT("~")).c_str()), nullptr);
  }
  for (const auto& [key, value] : Access::RetranslMap(dict)) {
    EXPECT_EQ(dict.CheckRetranslate(key.data()), value.data());
    EXPECT_EQ(dict.CheckRetranslate((XString(key) + XT("~")).c_str()), nullptr);
  }
}

TEST(LMTranslDictIndex, StaysConsistentWithTheMaps) {
  struct {
    const char* pszName;
    std::function<XLMTranslDict()> build;
    size_t nTransl;  // entries expected in m_mapTransl
  } cases[] = {
      {"many insertions, several index growths",
       [] {
         XLMTranslDict dict;
         Fill(dict, 1500, XT("K"));
         return dict;
       },
       1500},
      {"replacing insertions",
       [] {
         XLMTranslDict dict;
         Fill(dict, 40, XT("K"));
         Fill(dict, 40, XT("K"));  // the same pairs again
         Access::Insert(dict, XT("Ka"), XT("Other"));
         Access::Insert(dict, XT("New"), XT("Other"));
         Access::Insert(dict, XT(""), XT("Empty key"));
         return dict;
       },
       42},
      {"emptied and filled again",
       [] {
         XLMTranslDict dict;
         Fill(dict, 300, XT("Old"));
         dict.Empty();
         Fill(dict, 20, XT("New"));
         return dict;
       },
       20},
      {"copy",
       [] {
         XLMTranslDict other;
         Fill(other, 200, XT("K"));
         XLMTranslDict dict(other);
         other.Empty();
         return dict;
       },
       200},
      {"assigned over a filled dictionary",
       [] {
         XLMTranslDict other;
         Fill(other, 100, XT("A"));
         XLMTranslDict dict;
         Fill(dict, 300, XT("B"));
         dict = other;
         Fill(other, 5, XT("C"));
         return dict;
       },
       100},
      {"moved and move-assigned",
       [] {
         XLMTranslDict first;
         Fill(first, 120, XT("A"));
         XLMTranslDict second(std::move(first));
         XLMTranslDict dict;
         Fill(dict, 50, XT("B"));
         dict = std::move(second);
         Fill(first, 3, XT("C"));  // the emptied source is usable again
         Fill(dict, 10, XT("D"));
         return dict;
       },
       130},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.pszName);
    XLMTranslDict dict = c.build();
    EXPECT_EQ(Access::TranslMap(dict).size(), c.nTransl);
    ExpectIndexMatchesMaps(dict);
  }
}

}  // namespace
