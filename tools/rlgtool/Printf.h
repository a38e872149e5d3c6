// printf format specifiers in catalog texts, and the comparison of a source
// text's specifiers with its translation's: the program passes the same
// arguments to both, so their number and argument types must agree.
//
// A text is read as a format the way gettext's C format check reads it, so
// that a pair gettext accepts is accepted here too: numbered specifiers
// (%2$s, %1$.250s, %*2$d) take their argument by number, a blank after "%"
// is a flag, "%%" is a literal. The Windows size prefixes I64, I32 and w are
// read as the Windows printf reads them.
#pragma once

#include <string>
#include <vector>

#include "colang/XString.h"

namespace rlgtool {

// What one argument of a format is used for.
enum class XArgRole { eArgValue, eArgWidth, eArgPrecision };

// One argument a format string consumes: a conversion such as %5.2f or %ld,
// or the int taken by a "*" width or precision.
struct XFormatArg {
  std::string strWritten;  // the specifier as written, e.g. "%-5ld", "%2$s", "%.*s (its *)"
  std::string strType;     // the argument it takes, e.g. "long int"
  XArgRole eRole = XArgRole::eArgValue;
};

// A text read as a printf format.
struct XFormat {
  std::vector<XFormatArg> vecArgs;  // the arguments in order: argument n at n - 1
  int nDirectives = 0;              // specifiers, "%%" included
  bool bNumbered = false;           // takes its arguments by number (%1$s)
  std::string strLocaleDigits;      // the first specifier with glibc's I flag (%Id), empty when none
  std::string strWindows;           // the first with I, I32, I64 or w, which gettext does not read, or empty
  std::string strInvalid;           // why the text is not a valid format; empty when it is
  std::string strBlankFlag;         // the first specifier with a blank flag ("% o" in "100% of"), or empty
  bool bUnblanked = false;          // a specifier that takes an argument has no blank flag

  bool IsValid() const { return strInvalid.empty(); }
  // Every specifier that takes an argument has a blank flag, as a percent
  // sign before a word has ("100% of"): rarely a format in a program.
  bool IsProse() const { return !strBlankFlag.empty() && !bUnblanked; }
};

XFormat FormatParse(XStringView text);

// The directive of a text at text[i] == '%' read leniently: its length when
// it is a complete specifier ("%%" included), else 0.
size_t FormatDirectiveLength(XStringView text, size_t i);

// Whether the format check applies to an entry: decided from its source
// text, or by a PO flag (c-format, no-c-format).
enum class XFormatFlag { eFFAuto, eFFYes, eFFNo };

struct XFormatVerdict {
  std::string strError;  // empty when the specifiers agree
  std::vector<std::string> vecWarnings;
};

// Compares the specifiers of a translation with its source's. Without a flag
// the source is a format when it holds a "%" and is a valid format, as
// gettext decides before it checks; bPattern says the source is a pattern
// entry of the library, which fills in the text's numbers in order. A
// source with the Windows prefixes is checked as Windows reads it, but
// gettext does not take it for a format: its differences are warnings, and
// so are those of a source whose specifiers all have a blank flag.
XFormatVerdict FormatCheck(XStringView source, XStringView transl, XFormatFlag eFlag, bool bPattern);

// Whether the source is checked as a format without a flag; PO export marks
// these entries c-format.
bool FormatIsChecked(XStringView source);

}  // namespace rlgtool
