// printf format specifiers in catalog texts, and the comparison of a source
// text's specifiers with its translation's: the program passes the same
// arguments to both, so number, order and argument type must agree.
#pragma once

#include <string>
#include <vector>

#include "colang/XString.h"

namespace rlgtool {

// One argument a format string consumes: a conversion such as %5.2f or %ld,
// or the int taken by a "*" width or precision.
struct XFormatArg {
  std::string strSpec;  // the specifier as written, e.g. "%-5ld"
  std::string strType;  // the argument it takes, e.g. "long int"
};

// The arguments that a text takes, in order. "%%" takes none; a "%" that
// does not start a complete specifier (as in "100% sure") is plain text. A
// blank after "%" is not read as a flag, so "50% off" has no specifier.
std::vector<XFormatArg> FormatArgsScan(XStringView text);

// Empty when the translation takes the same arguments as the source, in the
// same order; otherwise a one-line description of the first difference.
std::string FormatArgsCompare(const std::vector<XFormatArg>& vecSource, const std::vector<XFormatArg>& vecTransl);

}  // namespace rlgtool
