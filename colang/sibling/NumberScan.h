// Number functions of the sibling library: reading a decimal number from wide
// text without regard to the C locale, and comparing two doubles to a given
// number of significant decimal digits.
#pragma once

#include "colang/XString.h"

// Reads a number at the start of pszText: an optional sign, digits, an optional
// decimal separator with digits, an optional exponent ("e" or "E", an optional
// sign, digits). The mantissa needs a digit before or after the separator; a
// separator or exponent letter without digits of its own is not read. cDecimal
// 0 accepts both "." and "," as the separator, any other value only itself.
// On success value holds the correctly rounded double (an overflow gives an
// infinity, an underflow a zero) and nUsed the number of code units read; on
// failure (null text, no number) value is untouched and nUsed is 0.
bool FloatScan(double& value, int& nUsed, const XChar* pszText, XChar cDecimal);

// Whether a and b agree to nDigits significant decimal digits, that is
// |a - b| <= 0.5 * 10^(1 - nDigits) * max(|a|, |b|); with 10 digits the
// tolerance is 0.5e-9 of the larger magnitude. Zero therefore equals only zero
// (of either sign), equal infinities are equal and a NaN equals nothing.
// nDigits is taken within 1 to 17.
bool IsDblEqual(double a, double b, int nDigits);
