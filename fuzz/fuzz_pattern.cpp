// Fuzz target: pattern translation. The input's lines are source/translation
// pairs of a dictionary and, last, the text to translate. Checked: no crash,
// a found pattern assembles, and the result pool never holds more than its 55.
#include "colang/detail/DictAccess.h"
#include "colang/pattern/MapTokVecTransl.h"
#include "colang/pattern/PatternTranslate.h"
#include "fuzz/FuzzSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  const std::vector<XString> vecLines = colang::fuzz::LinesFromBytes(pData, nSize);
  const XString& strText = vecLines.back();
  XLMTranslDict dict;
  for (std::size_t i = 0; i + 2 < vecLines.size() + 1 && i + 1 < vecLines.size() - 1; i += 2)
    XLMTranslDictAccess::Insert(dict, vecLines[i].c_str(), vecLines[i + 1].c_str());
  dict.LangIDSet(0x0407);
  const XLMTranslDict::XMapTransl& mapTransl = XLMTranslDictAccess::TranslMap(dict);

  // A translator of this input's own, so that every input's patterns are
  // collected; the process-wide one collects only the first maps it sees.
  XMapTokVecTransl translator;
  FUZZ_CHECK(translator.TranslMapCheck(mapTransl));
  FUZZ_CHECK(translator.PatternCount() <= mapTransl.size());
  const XTokVec tokvecText(strText.c_str());
  XTokVec tokvecOut;
  if (translator.Translate(tokvecOut, tokvecText)) (void)TokVecAssemble(tokvecOut, tokvecText);

  const XChar* pszResult = PatternTranslate(strText.c_str(), mapTransl);
  if (pszResult != nullptr) FUZZ_CHECK(colang::detail::PatternPoolHolds(pszResult));
  (void)dict.CheckTranslate(strText.c_str());
  (void)dict.StringRetranslate(strText.c_str());
  FUZZ_CHECK(colang::detail::PatternPoolCount() <= colang::detail::kPatternPoolSize);
  return 0;
}
