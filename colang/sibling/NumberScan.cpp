// Locale-independent number reading and digit-precision comparison. The
// digits are gathered from the wide text into a short narrow buffer and
// converted by std::from_chars, which rounds correctly and never consults the
// C locale, so "1,5" and "1.5" read the same whatever the host has set.
#include "colang/sibling/NumberScan.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace {

bool IsDigit(XChar c) { return c >= XT('0') && c <= XT('9'); }

bool IsSeparator(XChar c, XChar cDecimal) {
  if (cDecimal == 0) return c == XT('.') || c == XT(',');
  return c == cDecimal;
}

// Beyond these decimal exponents of the leading digit a double is certainly
// infinite or zero; cutting off there keeps absurd exponents away from the
// converter.
constexpr int64_t kExp10Overflow = 310;
constexpr int64_t kExp10Underflow = -330;
// Exponent digits beyond this magnitude cannot change the outcome.
constexpr int64_t kExpSaturate = 1000000000;

// The unsigned value of the significant digits times 10^nExp10. strDigits has
// no leading or trailing zeros and is not empty.
double DecimalToDouble(std::string& strDigits, int64_t nExp10) {
  const int64_t nLeadExp10 = nExp10 + static_cast<int64_t>(strDigits.size()) - 1;
  if (nLeadExp10 > kExp10Overflow) return std::numeric_limits<double>::infinity();
  if (nLeadExp10 < kExp10Underflow) return 0.0;

  // Up to 15 digits are exact in a double; integers need no rounding at all.
  if (nExp10 == 0 && strDigits.size() <= 15) {
    uint64_t nValue = 0;
    for (char c : strDigits) nValue = nValue * 10 + static_cast<uint64_t>(c - '0');
    return static_cast<double>(nValue);
  }

  const size_t nMantissa = strDigits.size();
  char szExp[24];
  auto [pEnd, ec] = std::to_chars(szExp, szExp + sizeof szExp, nExp10);
  (void)ec;  // an int64_t always fits
  strDigits.push_back('e');
  strDigits.append(szExp, pEnd);

  double value = 0.0;
  auto result = std::from_chars(strDigits.data(), strDigits.data() + strDigits.size(), value);
  strDigits.resize(nMantissa);
  if (result.ec == std::errc::result_out_of_range)
    return nLeadExp10 >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return value;
}

}  // namespace

bool FloatScan(double& value, int& nUsed, const XChar* pszText, XChar cDecimal) {
  nUsed = 0;
  if (pszText == nullptr) return false;

  const XChar* p = pszText;
  bool bNegative = false;
  if (*p == XT('-') || *p == XT('+')) {
    bNegative = *p == XT('-');
    ++p;
  }

  // Significant digits only: leading zeros say nothing, trailing zeros move
  // into the exponent.
  std::string strDigits;
  int64_t nExp10 = 0;
  size_t nMantissaDigits = 0;
  for (; IsDigit(*p); ++p, ++nMantissaDigits) {
    if (strDigits.empty() && *p == XT('0')) continue;
    strDigits.push_back(static_cast<char>(*p));
  }
  if (IsSeparator(*p, cDecimal)) {
    const XChar* q = p + 1;
    size_t nFraction = 0;
    for (; IsDigit(*q); ++q, ++nFraction) {
      if (strDigits.empty() && *q == XT('0')) continue;
      strDigits.push_back(static_cast<char>(*q));
    }
    // A separator counts only next to a digit of the mantissa.
    if (nMantissaDigits + nFraction > 0) {
      // The kept digits form an integer; each fraction position, a skipped
      // leading zero included, divides it by ten.
      nExp10 -= static_cast<int64_t>(nFraction);
      nMantissaDigits += nFraction;
      p = q;
    }
  }
  if (nMantissaDigits == 0) return false;

  if (*p == XT('e') || *p == XT('E')) {
    const XChar* q = p + 1;
    bool bExpNegative = false;
    if (*q == XT('-') || *q == XT('+')) {
      bExpNegative = *q == XT('-');
      ++q;
    }
    if (IsDigit(*q)) {
      int64_t nExp = 0;
      for (; IsDigit(*q); ++q) nExp = std::min(kExpSaturate, nExp * 10 + (*q - XT('0')));
      nExp10 += bExpNegative ? -nExp : nExp;
      p = q;
    }
  }

  while (!strDigits.empty() && strDigits.back() == '0') {
    strDigits.pop_back();
    ++nExp10;
  }
  double magnitude = strDigits.empty() ? 0.0 : DecimalToDouble(strDigits, nExp10);
  value = bNegative ? -magnitude : magnitude;
  nUsed = static_cast<int>(std::min<ptrdiff_t>(p - pszText, INT_MAX));
  return true;
}

bool IsDblEqual(double a, double b, int nDigits) {
  if (a == b) return true;  // zeros of either sign, equal infinities
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  static constexpr double kToleranceOfDigits[] = {0.5,     0.5e-1,  0.5e-2,  0.5e-3,  0.5e-4,  0.5e-5,
                                                  0.5e-6,  0.5e-7,  0.5e-8,  0.5e-9,  0.5e-10, 0.5e-11,
                                                  0.5e-12, 0.5e-13, 0.5e-14, 0.5e-15, 0.5e-16};
  nDigits = std::clamp(nDigits, 1, 17);
  const double tolerance = kToleranceOfDigits[nDigits - 1];
  return std::fabs(a - b) <= tolerance * std::max(std::fabs(a), std::fabs(b));
}
