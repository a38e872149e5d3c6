// Fuzz target: pattern translation against the reference in
// PatternOracle.h. The input's lines are source/translation pairs of a
// dictionary and, last, a text. Translated are that text, and every source
// with its format specifiers replaced by numbers taken from the input, so
// that most texts fit a pattern or nearly do. The library and the reference
// must agree on every result, the comparison of every text with every source
// and the number of patterns collected.
#include <string>

#include "colang/detail/DictAccess.h"
#include "colang/pattern/PatternTranslate.h"
#include "fuzz/FuzzSplit.h"
#include "fuzz/PatternOracle.h"

namespace {

// The text with each format specifier replaced by one of the numbers, in turn.
XString NumbersInPlace(const XString& strText, const std::uint8_t* pData, std::size_t nSize) {
  static const XChar* const apszNumbers[] = {XT("3"), XT("-12"), XT("1,5"), XT("0"), XT("2.5e3"), XT("+7"), XT("10")};
  XString strOut;
  std::size_t nTurn = nSize > 0 ? pData[0] : 0;
  const XTokVec tokvec(strText.c_str());
  for (const XToken& token : tokvec)
    strOut += token.m_nKind == eKIDFormat ? XString(apszNumbers[nTurn++ % std::size(apszNumbers)]) : token.m_strText;
  return strOut;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  const std::vector<XString> vecLines = colang::fuzz::LinesFromBytes(pData, nSize);
  XLMTranslDict dict;
  std::vector<XString> vecTexts{vecLines.back()};
  for (std::size_t i = 0; i + 2 < vecLines.size(); i += 2) {
    XLMTranslDictAccess::Insert(dict, vecLines[i].c_str(), vecLines[i + 1].c_str());
    vecTexts.push_back(NumbersInPlace(vecLines[i], pData, nSize));
  }
  const XLMTranslDict::XMapTransl& mapTransl = XLMTranslDictAccess::TranslMap(dict);

  colang::oracle::XTranslator oracle;
  oracle.Collect(mapTransl);
  XMapTokVecTransl translator;
  FUZZ_CHECK(translator.TranslMapCheck(mapTransl));
  FUZZ_CHECK(translator.PatternCount() == oracle.PatternMap().size());

  colang::detail::XTextTokens tokens;
  for (const XString& strText : vecTexts) {
    const std::optional<XString> expected = colang::oracle::PatternTranslate(oracle, strText.c_str());
    const XMapTokVecTransl::XPattern* pFound =
        colang::detail::PatternFind(translator, tokens, strText.c_str(), strText.size(), mapTransl);
    FUZZ_CHECK(expected.has_value() == (pFound != nullptr));
    if (pFound != nullptr) {
      XString strResult(colang::detail::PatternAssembleBound(*pFound, tokens), XChar(0));
      strResult.resize(static_cast<std::size_t>(colang::detail::PatternAssemble(strResult.data(), *pFound, tokens) -
                                                strResult.data()));
      FUZZ_CHECK(strResult == *expected);
    }
    // The token-sequence forms: Translate, TokVecAssemble and TokVecCompare.
    const XTokVec tokvecText(strText.c_str());
    XTokVec tokvecOut;
    const XTokVec* pOracleOut = oracle.Translate(tokvecText);
    FUZZ_CHECK(translator.Translate(tokvecOut, tokvecText) == (pOracleOut != nullptr));
    if (pOracleOut != nullptr) {
      FUZZ_CHECK(tokvecOut.Dump() == pOracleOut->Dump());
      FUZZ_CHECK(TokVecAssemble(tokvecOut, tokvecText) == colang::oracle::TokVecAssemble(*pOracleOut, tokvecText));
    }
    std::size_t nCompared = 0;
    for (auto it = oracle.PatternMap().begin(); it != oracle.PatternMap().end() && nCompared++ < 64; ++it)
      FUZZ_CHECK(static_cast<int>(TokVecCompare(tokvecText, it->first)) ==
                 static_cast<int>(colang::oracle::TokVecCompare(tokvecText, it->first)));
  }
  return 0;
}
