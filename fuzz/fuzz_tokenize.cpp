// Fuzz target: the tokenizer and its invariants. Tokens cover the text in
// order without gap or overlap, none is empty, no two string or two
// white-space tokens stand side by side, and their texts join to the input.
#include "colang/pattern/Token.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  const XString strText = colang::fuzz::TextTerminated(colang::fuzz::TextFromBytes(pData, nSize));
  const XTokVec tokvec(strText.c_str());
  XString strJoined;
  std::int32_t nPos = 0;
  std::int32_t nKindBefore = eKIDUndef;
  bool bNumberOrFormat = false;
  for (const XToken& token : tokvec) {
    FUZZ_CHECK(token.m_nKind >= eKIDFormat && token.m_nKind <= eKIDWhites);
    FUZZ_CHECK(token.m_nLength > 0);
    FUZZ_CHECK(token.m_nPos == nPos);
    FUZZ_CHECK(token.m_strText.size() == static_cast<std::size_t>(token.m_nLength));
    FUZZ_CHECK(token.TextCut(strText.c_str()) == token.m_strText);
    FUZZ_CHECK(!(token.m_nKind == eKIDString && nKindBefore == eKIDString));
    FUZZ_CHECK(!(token.m_nKind == eKIDWhites && nKindBefore == eKIDWhites));
    if (token.m_nKind == eKIDWhites) FUZZ_CHECK(token.m_strText.find_first_not_of(XT(" \t")) == XString::npos);
    if (token.m_nKind == eKIDFormat) FUZZ_CHECK(token.m_strText[0] == XT('%'));
    bNumberOrFormat = bNumberOrFormat || token.m_nKind == eKIDNumber || token.m_nKind == eKIDFormat;
    strJoined += token.m_strText;
    nPos += token.m_nLength;
    nKindBefore = token.m_nKind;
  }
  FUZZ_CHECK(strJoined == strText);
  FUZZ_CHECK(tokvec.HasNumberOrFormat() == bNumberOrFormat);
  (void)tokvec.Dump();
  return 0;
}
