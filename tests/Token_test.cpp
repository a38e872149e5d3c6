// The tokenizer: how texts split into tokens, the invariants every split
// keeps (also for odd input), and the diagnostic descriptions.
#include <gtest/gtest.h>

#include <random>

#include "colang/pattern/Token.h"
#include "colang/pattern/TokenScan.h"
#include "colang/sibling/NumberScan.h"
#include "support/TestSupport.h"

namespace {

using colang::test::Narrow;

// "S[Page] W[ ] N[3]": one letter per kind and the token's text.
XString Compact(const XTokVec& tokvec) {
  static const XChar kKindLetters[] = XT("?FNSW");
  XString strOut;
  for (const XToken& token : tokvec) {
    if (!strOut.empty()) strOut += XT(' ');
    strOut += (token.m_nKind >= 0 && token.m_nKind <= 4) ? kKindLetters[token.m_nKind] : XT('!');
    strOut += XT('[') + token.m_strText + XT(']');
  }
  return strOut;
}

// Tokens lie in order, cover the text without gap or overlap, are never
// empty, and string or white-space runs are never split in two.
void InvariantsExpect(const XString& strText, const XTokVec& tokvec) {
  int32_t nNextPos = 0;
  XString strJoined;
  for (size_t i = 0; i < tokvec.size(); ++i) {
    const XToken& token = tokvec[i];
    ASSERT_EQ(token.m_nPos, nNextPos) << "token " << i;
    ASSERT_GE(token.m_nLength, 1) << "token " << i;
    ASSERT_EQ(static_cast<size_t>(token.m_nLength), token.m_strText.size()) << "token " << i;
    ASSERT_EQ(strText.compare(token.m_nPos, token.m_nLength, token.m_strText), 0) << "token " << i;
    ASSERT_NE(token.m_nKind, eKIDUndef);
    if (i > 0 && (token.m_nKind == eKIDString || token.m_nKind == eKIDWhites)) {
      ASSERT_NE(tokvec[i - 1].m_nKind, token.m_nKind) << "token " << i;
    }
    nNextPos += token.m_nLength;
    strJoined += token.m_strText;
  }
  ASSERT_EQ(strJoined, strText);
}

TEST(Tokenize, SplitsTextsAsDocumented) {
  struct {
    const XChar* pszText;
    const XChar* pszTokens;
  } const cases[] = {
      {XT(""), XT("")},
      {XT("Page 3 of 10"), XT("S[Page] W[ ] N[3] W[ ] S[of] W[ ] N[10]")},
      {XT("Page %d of %d"), XT("S[Page] W[ ] F[%d] W[ ] S[of] W[ ] F[%d]")},
      {XT("%5.2f mm"), XT("F[%5.2f] W[ ] S[mm]")},
      {XT("%lu items"), XT("F[%lu] W[ ] S[items]")},
      {XT("File %s not found"), XT("S[File] W[ ] S[%s] W[ ] S[not] W[ ] S[found]")},
      {XT("x-5"), XT("S[x] N[-5]")},
      {XT("10-20"), XT("N[10] N[-20]")},
      {XT("3 - 2"), XT("N[3] W[ ] S[-] W[ ] N[2]")},
      {XT("50%% done"), XT("N[50] S[%%] W[ ] S[done]")},
      {XT("50%%d"), XT("N[50] S[%%d]")},
      {XT("100%"), XT("N[100] S[%]")},
      {XT("abc123def"), XT("S[abc] N[123] S[def]")},
      {XT("1,5 kg"), XT("N[1,5] W[ ] S[kg]")},
      {XT("1, 5"), XT("N[1] S[,] W[ ] N[5]")},
      {XT("12."), XT("N[12] S[.]")},
      {XT(".5"), XT("S[.] N[5]")},
      {XT("ver1.2.3"), XT("S[ver] N[1.2] S[.] N[3]")},
      {XT("12e3x"), XT("N[12e3] S[x]")},
      {XT("2e"), XT("N[2] S[e]")},
      {XT("2.5e-3"), XT("N[2.5e-3]")},
      {XT("+7E+2"), XT("N[+7E+2]")},
      {XT("1.5e+"), XT("N[1.5] S[e+]")},
      {XT("1.e5"), XT("N[1] S[.e] N[5]")},  // the exponent does not reach back over a bare separator
      {XT("%d%d"), XT("F[%d] F[%d]")},
      {XT(" 12"), XT("W[ ] N[12]")},
      {XT(" \t "), XT("W[ \t ]")},
      {XT("a\tb"), XT("S[a] W[\t] S[b]")},
      {XT("Page\n3"), XT("S[Page\n] N[3]")},  // a line feed is text
      {XT("a \nb"), XT("S[a] W[ ] S[\nb]")},
      {XT("no-digits_or+signs!"), XT("S[no-digits_or+signs!]")},
      {XT("%-5d|%+.3e|%05.1f|%.f|%hd|%Lg|%E|%G|%o|%u|%i"),
       XT("F[%-5d] S[|] F[%+.3e] S[|] F[%05.1f] S[|] F[%.f] S[|] F[%hd] S[|] F[%Lg] S[|] F[%E] S[|] F[%G] S[|] F[%o] "
          "S[|] F[%u] S[|] F[%i]")},
      {XT("%s|%x|%c|%*d|%+-d|%#x|% d"), XT("S[%s|%x|%c|%*d|%+-d|%#x|%] W[ ] S[d]")},
      {XT("%I64d"), XT("S[%I] N[64] S[d]")},
      {XT("%5 x"), XT("S[%] N[5] W[ ] S[x]")},
      {XT("cut %5.2"), XT("S[cut] W[ ] S[%] N[5.2]")},
      {XT("cut %l"), XT("S[cut] W[ ] S[%l]")},
      {XT("%"), XT("S[%]")},
      {XT("%%%"), XT("S[%%%]")},
      {XT("%%%d"), XT("S[%%] F[%d]")},
      {XT("-"), XT("S[-]")},
      {XT("+-1"), XT("S[+] N[-1]")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszText));
    XTokVec tokvec(c.pszText);
    EXPECT_EQ(Narrow(Compact(tokvec)), Narrow(c.pszTokens));
    InvariantsExpect(c.pszText, tokvec);
  }
}

TEST(Tokenize, PositionsAndLengthsAreThoseInTheText) {
  XTokVec tokvec(XT("Page %5.2f of 10"));
  ASSERT_EQ(tokvec.size(), 7u);
  EXPECT_EQ(tokvec[2].m_nPos, 5);
  EXPECT_EQ(tokvec[2].m_nLength, 5);
  EXPECT_EQ(tokvec[6].m_nPos, 14);
  EXPECT_EQ(tokvec[6].m_nLength, 2);
}

TEST(Tokenize, RetokenizingReplacesTheContentsAndNullGivesNothing) {
  XTokVec tokvec(XT("a 1"));
  tokvec.Tokenize(XT("%d"));
  EXPECT_EQ(Narrow(Compact(tokvec)), "F[%d]");
  tokvec.Tokenize(nullptr);
  EXPECT_TRUE(tokvec.empty());
}

TEST(Tokenize, OddAndHugeTextsKeepTheInvariants) {
  const XChar surrogates[] = {0xD800, XT('1'), 0xDC00, XT(' '), 0xDFFF, XT('%'), 0xD800, 0};
  std::vector<XString> texts = {
      XString(10000, XT('9')),
      XString(10000, XT('%')),
      XString(10001, XT('%')),
      XString(10000, XT(' ')) + XT("x"),
      XT("1") + XString(5000, XT('.')) + XT("e"),
      XT("%") + XString(10000, XT('5')) + XT("d"),
      XT("1.") + XString(10000, XT('0')) + XT("e-") + XString(10000, XT('9')),
      XString(surrogates),
  };
  for (const XString& strText : texts) {
    SCOPED_TRACE(strText.size());
    InvariantsExpect(strText, XTokVec(strText.c_str()));
  }
  XTokVec tokvec(XString(10000, XT('9')).c_str());
  ASSERT_EQ(tokvec.size(), 1u);
  EXPECT_EQ(tokvec[0].m_nKind, eKIDNumber);
  EXPECT_EQ(XTokVec((XT("%") + XString(10000, XT('5')) + XT("d")).c_str()).size(), 1u);
}

// Random texts over the characters the rules care about: the invariants hold,
// every number token reads back whole as a number, and every specifier token
// is exactly one specifier.
TEST(Tokenize, RandomTextsKeepTheInvariantsAndTokensRescanWhole) {
  const XStringView alphabet = XT("0123456789%%.,eE+- \t\nadfhlLsx");
  std::mt19937 rng(20240611u);
  std::uniform_int_distribution<size_t> pickChar(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> pickLength(0, 12);
  for (int n = 0; n < 3000; ++n) {
    XString strText;
    for (int k = pickLength(rng); k > 0; --k) strText += alphabet[pickChar(rng)];
    SCOPED_TRACE(Narrow(strText));
    const XTokVec tokvec(strText.c_str());
    InvariantsExpect(strText, tokvec);
    for (const XToken& token : tokvec) {
      if (token.m_nKind == eKIDNumber) {
        double value = 0.0;
        int nUsed = 0;
        ASSERT_TRUE(FloatScan(value, nUsed, token.m_strText.c_str(), 0));
        ASSERT_EQ(nUsed, token.m_nLength);
      } else if (token.m_nKind == eKIDFormat) {
        ASSERT_EQ(colang::detail::ScanFormat(token.m_strText, 0), token.m_nLength);
      }
    }
  }
}

TEST(Tokenize, HasFormatAndHasNumberOrFormat) {
  struct {
    const XChar* pszText;
    bool bFormat;
    bool bNumberOrFormat;
  } const cases[] = {
      {XT(""), false, false},      {XT("words only"), false, false}, {XT("%s and %%d"), false, false},
      {XT("page 3"), false, true}, {XT("%d"), true, true},           {XT("x %5.2f"), true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszText));
    XTokVec tokvec(c.pszText);
    EXPECT_EQ(tokvec.HasFormat(), c.bFormat);
    EXPECT_EQ(tokvec.HasNumberOrFormat(), c.bNumberOrFormat);
  }
}

TEST(TokenAppend, CutsItsTextFromTheSourceAndIgnoresEmptyOrOutsideRanges) {
  const XChar* pszSource = XT("Page 12");
  XTokVec tokvec;
  tokvec.TokenAppend(eKIDNumber, pszSource, 5, 2);
  tokvec.TokenAppend(eKIDString, pszSource, 0, 0);
  tokvec.TokenAppend(eKIDString, pszSource, 3, -1);
  tokvec.TokenAppend(eKIDString, pszSource, 7, 1);  // at the terminating zero
  tokvec.TokenAppend(eKIDString, pszSource, -1, 2);
  tokvec.TokenAppend(eKIDString, static_cast<const XChar*>(nullptr), 0, 3);
  tokvec.TokenAppend(eKIDString, pszSource, 5, 100);  // cut off at the source's end
  ASSERT_EQ(tokvec.size(), 2u);
  EXPECT_EQ(Narrow(tokvec[0].m_strText), "12");
  EXPECT_EQ(tokvec[0].m_nPos, 5);
  EXPECT_EQ(tokvec[0].m_nLength, 2);
  EXPECT_EQ(Narrow(tokvec[1].m_strText), "12");
}

TEST(XTokenText, KindAndTextConstructionAndCuttingFromASource) {
  XToken token(eKIDFormat, XT("%A"));
  EXPECT_EQ(token.m_nKind, eKIDFormat);
  EXPECT_EQ(token.m_nLength, 2);
  EXPECT_EQ(token.m_nPos, 0);
  EXPECT_EQ(Narrow(token.m_strText), "%A");
  EXPECT_EQ(XToken(eKIDString, static_cast<const XChar*>(nullptr)).m_nLength, 0);

  XToken def;
  EXPECT_EQ(def.m_nKind, eKIDUndef);
  EXPECT_EQ(def.m_nLength, 0);
  EXPECT_TRUE(def.TextCut(XT("abc")).empty());

  XTokVec tokvec(XT("Page 12"));
  EXPECT_EQ(Narrow(tokvec[2].TextCut(XT("Page 12"))), "12");
  EXPECT_EQ(Narrow(tokvec[2].TextCut(XT("Page 1"))), "1");  // a shorter source is not overrun
  EXPECT_EQ(Narrow(tokvec[2].TextCut(XT("Pa"))), "");
  EXPECT_EQ(Narrow(tokvec[2].TextCut(nullptr)), "");
}

TEST(XTokenDump, KindNamesAndTheKeptTextForUnknownKinds) {
  const char* names[] = {"eKIDUndef", "eKIDFormat", "eKIDNumber", "eKIDString", "eKIDWhites"};
  for (int32_t nKind = 0; nKind < 5; ++nKind) EXPECT_EQ(Narrow(XToken::PartKindString(nKind)), names[nKind]);

  const XChar* pszFive = XToken::PartKindString(5);
  EXPECT_EQ(Narrow(pszFive), "unknown XToken::PartKindString: 5");
  const XChar* pszMinus = XToken::PartKindString(-1);
  EXPECT_EQ(Narrow(pszMinus), "unknown XToken::PartKindString: -1");
  EXPECT_EQ(Narrow(pszFive), Narrow(pszMinus)) << "one kept text, overwritten by the next unknown kind";
}

TEST(XTokenDump, TheThreeDescriptions) {
  const XChar* pszText = XT("Page 3");
  XTokVec tokvec(pszText);
  EXPECT_EQ(Narrow(tokvec[0].Dump(pszText)), "eKIDString \"Page\"");
  EXPECT_EQ(Narrow(tokvec[2].Dump()), "eKIDNumber:\"3\"");
  EXPECT_EQ(Narrow(tokvec.Dump()), "eKIDString:\"Page\",eKIDWhites:\" \",eKIDNumber:\"3\"");
  EXPECT_EQ(Narrow(XTokVec().Dump()), "");
  XToken odd;
  odd.m_nKind = 9;
  EXPECT_EQ(Narrow(odd.Dump()), "unknown XToken::PartKindString: 9:\"\"");
}

}  // namespace
