// Number reading without the C locale, and the digit-precision comparison.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "colang/sibling/NumberScan.h"
#include "support/TestSupport.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(FloatScan, ReadsCorrectlyRoundedValuesAndTheirLength) {
  struct {
    XString strText;
    XChar cDecimal;
    double value;  // 7.0: no number, value untouched
    int nUsed;
  } const cases[] = {
      {XT("-3"), 0, -3.0, 2},
      {XT("+2.5e-3"), 0, 2.5e-3, 7},
      {XT("1,5"), 0, 1.5, 3},
      {XT("1,5"), XT('.'), 1.0, 1},  // a named separator is the only one
      {XT("0.1"), 0, 0.1, 3},
      {XT("9007199254740993"), 0, 9007199254740992.0, 16},  // ties to even
      {XT("000.000100"), 0, 1e-4, 10},
      {XT("12e3x"), 0, 12e3, 4},
      {XT("2E+"), 0, 2.0, 1},
      {XT(".5"), 0, 0.5, 2},
      {XT("-1e400"), 0, -kInf, 6},
      {XT("1e-400"), 0, 0.0, 6},
      {XT("1e-325"), 0, 0.0, 6},  // below the smallest subnormal, within the cut-off
      {XT("1e99999999999999999999"), 0, kInf, 22},
      {XString(10000, XT('1')) + XT("e-9990"), 0, 1111111111.1111112, 10006},
      {XT("0.") + XString(10000, XT('0')) + XT("1e10000"), 0, 0.1, 10009},
      {XT(""), 0, 7.0, 0},
      {XT("-e5"), 0, 7.0, 0},
      {XT("."), 0, 7.0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(colang::test::Narrow(c.strText.substr(0, 30)));
    double value = 7.0;
    int nUsed = -1;
    EXPECT_EQ(FloatScan(value, nUsed, c.strText.c_str(), c.cDecimal), c.nUsed > 0);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(nUsed, c.nUsed);
  }
  double value = 7.0;
  int nUsed = 0;
  EXPECT_FALSE(FloatScan(value, nUsed, nullptr, 0));
  ASSERT_TRUE(FloatScan(value, nUsed, XT("-0"), 0));
  EXPECT_TRUE(value == 0.0 && std::signbit(value));
}

TEST(IsDblEqual, AgreesToTenSignificantDigits) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct {
    double a, b;
    bool bEqual;
  } const cases[] = {
      {1.0, 1.0 + 4e-10, true},
      {1.0, 1.0 + 6e-10, false},
      {1e300, 1.0000000004e300, true},
      {1e-300, 1.000000001e-300, false},
      {0.0, -0.0, true},
      {0.0, 1e-300, false},
      {kInf, kInf, true},
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
}

}  // namespace
