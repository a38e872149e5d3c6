// Tokenizing: the documented splits, the invariants every split keeps (odd
// and huge texts included), and the diagnostic descriptions.
#include <gtest/gtest.h>

#include <random>

#include "colang/pattern/Token.h"
#include "colang/sibling/NumberScan.h"
#include "support/TestSupport.h"

namespace {

using colang::test::Narrow;

// "S[Page] W[ ] N[3]": a letter per kind and the token's text.
std::string Compact(const XTokVec& tokvec) {
  XString strOut;
  for (const XToken& token : tokvec) {
    if (!strOut.empty()) strOut += XT(' ');
    strOut += XT("?FNSW")[token.m_nKind >= 0 && token.m_nKind <= 4 ? token.m_nKind : 0];
    strOut += XT('[') + token.m_strText + XT(']');
  }
  return Narrow(strOut);
}

// Tokens cover the text in order, without gap, overlap or empty token, and
// never split a string or white-space run in two.
void InvariantsExpect(const XString& strText, const XTokVec& tokvec) {
  size_t nPos = 0;
  for (size_t i = 0; i < tokvec.size(); ++i) {
    const XToken& token = tokvec[i];
    ASSERT_EQ(static_cast<size_t>(token.m_nPos), nPos) << i;
    ASSERT_GE(token.m_nLength, 1) << i;
    ASSERT_EQ(strText.substr(nPos, static_cast<size_t>(token.m_nLength)), token.m_strText) << i;
    const bool bRun = token.m_nKind == eKIDString || token.m_nKind == eKIDWhites;
    ASSERT_FALSE(bRun && i > 0 && tokvec[i - 1].m_nKind == token.m_nKind) << i;
    nPos += static_cast<size_t>(token.m_nLength);
  }
  ASSERT_EQ(nPos, strText.size());
}

TEST(Tokenize, SplitsTextsAsDocumented) {
  struct {
    const XChar* pszText;
    const char* pszTokens;
  } const cases[] = {
      {XT(""), ""},
      {XT("Page 3 of 10"), "S[Page] W[ ] N[3] W[ ] S[of] W[ ] N[10]"},
      {XT("Page %d of %d"), "S[Page] W[ ] F[%d] W[ ] S[of] W[ ] F[%d]"},
      {XT("%5.2f mm"), "F[%5.2f] W[ ] S[mm]"},
      {XT("%lu items"), "F[%lu] W[ ] S[items]"},
      {XT("File %s not found"), "S[File] W[ ] S[%s] W[ ] S[not] W[ ] S[found]"},
      {XT("x-5"), "S[x] N[-5]"},
      {XT("10-20"), "N[10] N[-20]"},
      {XT("3 - 2"), "N[3] W[ ] S[-] W[ ] N[2]"},
      {XT("+-1"), "S[+] N[-1]"},
      {XT("50%% done"), "N[50] S[%%] W[ ] S[done]"},
      {XT("50%%d"), "N[50] S[%%d]"},
      {XT("%%%d"), "S[%%] F[%d]"},
      {XT("100%"), "N[100] S[%]"},
      {XT("abc123def"), "S[abc] N[123] S[def]"},
      {XT("1,5 kg"), "N[1,5] W[ ] S[kg]"},
      {XT("1, 5"), "N[1] S[,] W[ ] N[5]"},
      {XT("12."), "N[12] S[.]"},
      {XT(".5"), "S[.] N[5]"},
      {XT("ver1.2.3"), "S[ver] N[1.2] S[.] N[3]"},
      {XT("12e3x"), "N[12e3] S[x]"},
      {XT("+2.5E-3 1.5e+"), "N[+2.5E-3] W[ ] N[1.5] S[e+]"},
      {XT("1.e5"), "N[1] S[.e] N[5]"},  // the exponent does not reach back over a bare separator
      {XT("%d%d"), "F[%d] F[%d]"},
      {XT(" 12\t "), "W[ ] N[12] W[\t ]"},
      {XT("Page\n3 \nx"), "S[Page\n] N[3] W[ ] S[\nx]"},  // a line feed is text
      {XT("%-5d|%+.3e|%05.1f|%.f|%hd|%Lg|%E|%G|%o|%u|%i"),
       "F[%-5d] S[|] F[%+.3e] S[|] F[%05.1f] S[|] F[%.f] S[|] F[%hd] S[|] F[%Lg] S[|] F[%E] S[|] F[%G] S[|] F[%o] "
       "S[|] F[%u] S[|] F[%i]"},
      {XT("%s|%x|%c|%*d|%+-d|%#x|% d"), "S[%s|%x|%c|%*d|%+-d|%#x|%] W[ ] S[d]"},
      {XT("%I64d %5 x"), "S[%I] N[64] S[d] W[ ] S[%] N[5] W[ ] S[x]"},
      {XT("cut %5.2"), "S[cut] W[ ] S[%] N[5.2]"},
      {XT("cut %l"), "S[cut] W[ ] S[%l]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszText));
    XTokVec tokvec(c.pszText);
    EXPECT_EQ(Compact(tokvec), c.pszTokens);
    InvariantsExpect(c.pszText, tokvec);
  }
}

// Also: every number token reads back whole as a number.
TEST(Tokenize, OddHugeAndRandomTextsKeepTheInvariants) {
  const XChar surrogates[] = {0xD800, XT('1'), 0xDC00, XT(' '), 0xDFFF, XT('%'), 0xD800, 0};
  std::vector<XString> texts = {XString(10000, XT('9')), XString(10001, XT('%')), XT("%") + XString(9999, XT('5')),
                                XString(surrogates)};
  const XStringView alphabet = XT("0123456789%%.,eE+- \t\nadfhlLsx");
  std::mt19937 rng(20240611u);
  for (int n = 0; n < 3000; ++n) {
    XString& strText = texts.emplace_back();
    for (size_t k = rng() % 13; k > 0; --k) strText += alphabet[rng() % alphabet.size()];
  }
  for (const XString& strText : texts) {
    SCOPED_TRACE(Narrow(strText.substr(0, 40)));
    const XTokVec tokvec(strText.c_str());
    InvariantsExpect(strText, tokvec);
    for (const XToken& token : tokvec) {
      double value = 0.0;
      int nUsed = 0;
      ASSERT_TRUE(token.m_nKind != eKIDNumber ||
                  (FloatScan(value, nUsed, token.m_strText.c_str(), 0) && nUsed == token.m_nLength))
          << Narrow(token.m_strText);
    }
  }
}

TEST(TokenAppend, IgnoresEmptyOrOutsideRangesAndCutsAtTheSourcesEnd) {
  XTokVec tokvec;
  for (int32_t nPos : {-1, 0, 7}) tokvec.TokenAppend(eKIDString, XT("Page 12"), nPos, nPos == 0 ? 0 : 2);
  tokvec.TokenAppend(eKIDString, static_cast<const XChar*>(nullptr), 0, 3);
  tokvec.TokenAppend(eKIDNumber, XT("Page 12"), 5, 100);
  EXPECT_EQ(Compact(tokvec), "N[12]");
  EXPECT_EQ(Narrow(tokvec[0].TextCut(XT("Page 1"))), "1");  // a shorter source is not overrun
}

TEST(XTokenDump, KindNamesDescriptionsAndTheKeptTextOfUnknownKinds) {
  const XChar* pszText = XT("Page 3");
  XTokVec tokvec(pszText);
  EXPECT_EQ(Narrow(tokvec[0].Dump(pszText)), "eKIDString \"Page\"");
  EXPECT_EQ(Narrow(tokvec.Dump()), "eKIDString:\"Page\",eKIDWhites:\" \",eKIDNumber:\"3\"");
  EXPECT_EQ(Narrow(XTokVec().Dump()), "");
  EXPECT_EQ(Narrow(XToken(eKIDFormat, XT("%A")).Dump()), "eKIDFormat:\"%A\"");
  EXPECT_EQ(Narrow(XToken::PartKindString(eKIDUndef)), "eKIDUndef");

  const XChar* pszFive = XToken::PartKindString(5);
  EXPECT_EQ(Narrow(pszFive), "unknown XToken::PartKindString: 5");
  XToken::PartKindString(-1);
  EXPECT_EQ(Narrow(pszFive), "unknown XToken::PartKindString: -1") << "one kept text, overwritten";
}

}  // namespace
