// Number reading and digit-precision comparison of the sibling library.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "colang/sibling/NumberScan.h"
#include "support/TestSupport.h"

namespace {

using colang::test::Narrow;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(FloatScan, ReadsNumbersExactlyAndReportsTheirLength) {
  struct {
    const XChar* pszText;
    XChar cDecimal;
    double value;
    int nUsed;
  } const cases[] = {
      {XT("12"), 0, 12.0, 2},
      {XT("-3"), 0, -3.0, 2},
      {XT("+2.5e-3"), 0, 2.5e-3, 7},
      {XT("1,5"), 0, 1.5, 3},
      {XT("1.5"), 0, 1.5, 3},
      {XT("1,5"), XT('.'), 1.0, 1},  // a named separator is the only one
      {XT("1,5"), XT(','), 1.5, 3},
      {XT("0.1"), 0, 0.1, 3},  // correctly rounded, not 1 * 0.1 or 1 / 10 by luck
      {XT("2.2250738585072011e-308"), 0, 2.2250738585072011e-308, 23},
      {XT("9007199254740993"), 0, 9007199254740992.0, 16},  // ties to even
      {XT("123456789012345678901234567890"), 0, 1.2345678901234568e29, 30},
      {XT("000.000100"), 0, 1e-4, 10},
      {XT("12e3x"), 0, 12e3, 4},
      {XT("2e"), 0, 2.0, 1},
      {XT("2E+"), 0, 2.0, 1},
      {XT("1."), 0, 1.0, 2},
      {XT(".5"), 0, 0.5, 2},
      {XT("1.e5"), 0, 1e5, 4},
      {XT("1e400"), 0, kInf, 5},
      {XT("-1e400"), 0, -kInf, 6},
      {XT("1e-400"), 0, 0.0, 6},
      {XT("4.9e-324"), 0, 4.9e-324, 8},
      {XT("1e99999999999999999999"), 0, kInf, 22},
      {XT("0e99999999999999999999"), 0, 0.0, 22},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.pszText));
    double value = 0.0;
    int nUsed = -1;
    ASSERT_TRUE(FloatScan(value, nUsed, c.pszText, c.cDecimal));
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(nUsed, c.nUsed);
  }
}

TEST(FloatScan, FailsWithoutADigitAndLeavesTheValueAlone) {
  const XChar* texts[] = {XT(""), XT("-"), XT("+e5"), XT("."), XT(",5x") /* with '.' only */, XT("abc"), XT("e5")};
  for (const XChar* pszText : texts) {
    SCOPED_TRACE(Narrow(pszText));
    double value = 7.0;
    int nUsed = 3;
    EXPECT_FALSE(FloatScan(value, nUsed, pszText, XT('.')));
    EXPECT_EQ(value, 7.0);
    EXPECT_EQ(nUsed, 0);
  }
  double value = 7.0;
  int nUsed = 3;
  EXPECT_FALSE(FloatScan(value, nUsed, nullptr, 0));
  EXPECT_EQ(value, 7.0);
}

TEST(FloatScan, NegativeZeroKeepsItsSign) {
  double value = 1.0;
  int nUsed = 0;
  ASSERT_TRUE(FloatScan(value, nUsed, XT("-0.0"), 0));
  EXPECT_EQ(value, 0.0);
  EXPECT_TRUE(std::signbit(value));
}

TEST(FloatScan, TenThousandDigitsReadCorrectly) {
  double value = 0.0;
  int nUsed = 0;
  XString strText(10000, XT('1'));
  ASSERT_TRUE(FloatScan(value, nUsed, strText.c_str(), 0));
  EXPECT_EQ(value, kInf);
  EXPECT_EQ(nUsed, 10000);

  strText += XT("e-9990");
  ASSERT_TRUE(FloatScan(value, nUsed, strText.c_str(), 0));
  EXPECT_EQ(value, 1111111111.1111112);

  strText = XT("0.") + XString(10000, XT('0')) + XT("1e10000");
  ASSERT_TRUE(FloatScan(value, nUsed, strText.c_str(), 0));
  EXPECT_EQ(value, 0.1);
  EXPECT_EQ(nUsed, static_cast<int>(strText.size()));
}

TEST(IsDblEqual, AgreesToTenSignificantDigits) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct {
    double a;
    double b;
    bool bEqual;
  } const cases[] = {
      {1.5, 1.5, true},
      {1.0, 1.0 + 4e-10, true},
      {1.0, 1.0 + 6e-10, false},
      {1e300, 1.0000000004e300, true},
      {1e-300, 1.0000000004e-300, true},
      {1e-300, 1.000000001e-300, false},
      {123456789.0, 123456789.04, true},
      {-2.0, 2.0, false},
      {0.0, -0.0, true},
      {0.0, 1e-300, false},  // zero equals only zero
      {kInf, kInf, true},
      {kInf, -kInf, false},
      {kInf, 1e308, false},
      {kNaN, kNaN, false},
      {1e308, -1e308, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
    EXPECT_EQ(IsDblEqual(c.a, c.b, 10), c.bEqual);
    EXPECT_EQ(IsDblEqual(c.b, c.a, 10), c.bEqual);
  }
  EXPECT_TRUE(IsDblEqual(1.0, 1.4, 1));
  EXPECT_FALSE(IsDblEqual(1.0, 1.4, 2));
  EXPECT_TRUE(IsDblEqual(1.0, 1.4, -5));  // taken as 1 digit
}

}  // namespace
