// The tokenizer's three scanners, for the library and its tests. Each reads
// from text[nPos] onward, never beyond text's end, and gives the length of
// what it found, or 0.
#pragma once

#include "colang/XString.h"

namespace colang::detail {

// A number: sign, digits, "." or "," with fraction digits, exponent with
// digits. 0 unless a digit follows the optional sign.
int ScanNumber(XStringView text, size_t nPos);
// A format specifier starting with the "%" at nPos; 0 for any other form.
int ScanFormat(XStringView text, size_t nPos);
// A run of blanks and tabs.
int ScanWhites(XStringView text, size_t nPos);

}  // namespace colang::detail
