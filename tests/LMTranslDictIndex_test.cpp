// The lookup index beside the text maps: whatever a dictionary went through,
// every key of each map is found, at the very value the map stores, and
// nothing else is found.
#include <gtest/gtest.h>

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
  XLMTranslDict many;  // several growths of the index
  Fill(many, 1500, XT("K"));
  XLMTranslDict replaced;
  Fill(replaced, 40, XT("K"));
  Fill(replaced, 40, XT("K"));  // the same pairs again
  Access::Insert(replaced, XT("Ka"), XT("Other"));
  Access::Insert(replaced, XT("New"), XT("Other"));
  Access::Insert(replaced, XT(""), XT("Empty key"));
  XLMTranslDict refilled;
  Fill(refilled, 300, XT("Old"));
  refilled.Empty();
  Fill(refilled, 20, XT("New"));
  XLMTranslDict original;
  Fill(original, 200, XT("K"));
  XLMTranslDict copied(original);
  original.Empty();
  XLMTranslDict other, assigned;
  Fill(other, 100, XT("A"));
  Fill(assigned, 300, XT("B"));
  assigned = other;
  Fill(other, 5, XT("C"));
  XLMTranslDict first, moved;
  Fill(first, 120, XT("A"));
  XLMTranslDict second(std::move(first));
  Fill(moved, 50, XT("B"));
  moved = std::move(second);
  Fill(first, 3, XT("C"));  // the emptied source is usable again
  Fill(moved, 10, XT("D"));
  const struct {
    const char* pszName;
    const XLMTranslDict& dict;
    size_t nTransl;  // entries expected in the translation map
  } cases[] = {
      {"many insertions", many, 1500},
      {"replacing insertions", replaced, 42},
      {"emptied and filled again", refilled, 20},
      {"copy of a dictionary emptied since", copied, 200},
      {"assigned over a filled dictionary", assigned, 100},
      {"moved and move-assigned", moved, 130},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszName);
    EXPECT_EQ(Access::TranslMap(c.dict).size(), c.nTransl);
    ExpectIndexMatchesMaps(c.dict);
  }
}

}  // namespace
