// Reading printf formats and comparing a translation's with its source's.
#include "Printf.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "TextIO.h"

namespace rlgtool {

namespace {

// Written after a specifier for the argument of its "*".
constexpr const char* kStarSuffix = " (its *)";

// Argument numbers beyond this are taken for a typing slip, not a format.
constexpr int kMaxArgNumber = 1000;

bool IsDigit(XChar c) { return c >= XChar('0') && c <= XChar('9'); }

bool IsOneOf(XChar c, const char* pszSet) {
  return c > 0 && c < 0x80 && std::strchr(pszSet, static_cast<char>(c)) != nullptr;
}

// An argument of one directive before it is placed: the number it names (0
// for the next one in order), its type and role.
struct XPart {
  int nNumber;
  XFormatArg arg;
};

// One directive: its length (0 when the text there is no directive, with
// strInvalid saying why) and the arguments it takes in order, "*"s first.
struct XDirective {
  size_t nLength = 0;
  std::string strInvalid;
  std::vector<XPart> vecParts;
  bool bLocaleDigits = false;
  bool bWindows = false;  // a size prefix only Windows reads
  bool bBlankFlag = false;
};

std::string SizedInt(const std::string& strSize, bool bUnsigned) {
  static const std::pair<const char*, const char*> kSizes[] = {
      {"hh", "char-sized"}, {"h", "short"}, {"l", "long"}, {"ll", "long long"}};
  if (strSize == "j") return bUnsigned ? "uintmax_t" : "intmax_t";
  if (strSize == "z") return bUnsigned ? "size_t" : "ssize_t";
  if (strSize == "t") return bUnsigned ? "unsigned ptrdiff_t" : "ptrdiff_t";
  std::string strBase = bUnsigned ? "unsigned int" : "int";
  for (const auto& size : kSizes)
    if (strSize == size.first) return std::string(size.second) + " " + strBase;
  return strBase;
}

std::string TypeName(const std::string& strSize, XChar conv) {
  if (IsOneOf(conv, "di")) return SizedInt(strSize, false);
  if (IsOneOf(conv, "ouxX")) return SizedInt(strSize, true);
  if (IsOneOf(conv, "eEfFgGaA")) return strSize == "ll" ? "long double" : "double";
  if (conv == XChar('C') || (conv == XChar('c') && strSize == "l")) return "wide char";
  if (conv == XChar('c')) return "char";
  if (conv == XChar('S') || (conv == XChar('s') && strSize == "l")) return "wide string";
  if (conv == XChar('s')) return strSize.empty() || strSize == "h" ? "string" : strSize + " string";
  if (conv == XChar('p')) return "pointer";
  return SizedInt(strSize, false) + " pointer";  // %n
}

// The type of an <inttypes.h> macro directive such as %<PRId64>, or an empty string.
std::string MacroType(const std::string& strName) {
  if (strName.size() < 5 || strName.compare(0, 3, "PRI") != 0 || std::strchr("diouxX", strName[3]) == nullptr)
    return "";
  bool bUnsigned = std::strchr("ouxX", strName[3]) != nullptr;
  std::string strWidth = strName.substr(4);
  static const char* const kWidths[] = {"8",       "16",    "32",     "64",     "LEAST8", "LEAST16", "LEAST32",
                                        "LEAST64", "FAST8", "FAST16", "FAST32", "FAST64", "MAX",     "PTR"};
  for (const char* pszWidth : kWidths) {
    if (strWidth != pszWidth) continue;
    std::string strBase = std::string(bUnsigned ? "uint" : "int");
    if (strWidth == "MAX") return strBase + "max_t";
    if (strWidth == "PTR") return strBase + "ptr_t";
    std::string strLower;
    for (char c : strWidth) strLower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (strLower.compare(0, 5, "least") == 0 || strLower.compare(0, 4, "fast") == 0)
      strLower.insert(strLower.find_first_of("0123456789"), "_");
    return strBase + strLower + "_t";
  }
  return "";
}

XDirective DirectiveRead(XStringView text, size_t i) {
  XDirective d;
  auto at = [&](size_t k) { return k < text.size() ? text[k] : XChar(0); };
  auto written = [&](size_t nEnd) { return Utf8FromText(text.substr(i, nEnd - i)); };
  auto invalid = [&](size_t k) {
    if (k >= text.size())
      d.strInvalid = "\"" + written(k) + "\" at the end is an unfinished format specifier";
    else
      d.strInvalid = "\"" + written(k + 1) + "\" is not a format specifier";
    return d;
  };
  // Digits then "$": an argument number; k is left after the "$".
  auto numberRead = [&](size_t& k, int& nNumber) {
    size_t j = k;
    long nValue = 0;
    while (IsDigit(at(j)) && nValue <= kMaxArgNumber) nValue = nValue * 10 + (at(j++) - XChar('0'));
    if (j == k || at(j) != XChar('$')) return false;
    nNumber = static_cast<int>(nValue);
    k = j + 1;
    return true;
  };
  size_t k = i + 1;
  if (at(k) == XChar('%')) {
    d.nLength = 2;
    return d;
  }
  int nNumber = 0;
  if (numberRead(k, nNumber) && (nNumber == 0 || nNumber > kMaxArgNumber)) {
    d.strInvalid = "\"" + written(k) + "\" names no argument that can exist";
    return d;
  }
  std::vector<std::pair<int, XArgRole>> stars;
  for (;; ++k) {
    XChar c = at(k);
    bool bWindowsSize = c == XChar('I') && ((at(k + 1) == XChar('6') && at(k + 2) == XChar('4')) ||
                                            (at(k + 1) == XChar('3') && at(k + 2) == XChar('2')));
    if (bWindowsSize) break;
    if (!IsOneOf(c, "-+ #0'I")) break;
    if (c == XChar('I')) d.bLocaleDigits = true;
    if (c == XChar(' ')) d.bBlankFlag = true;
  }
  for (XArgRole eRole : {XArgRole::eArgWidth, XArgRole::eArgPrecision}) {
    if (eRole == XArgRole::eArgPrecision) {
      if (at(k) != XChar('.')) break;
      ++k;
    }
    if (at(k) == XChar('*')) {
      ++k;
      int nStar = 0;
      if (numberRead(k, nStar) && (nStar == 0 || nStar > kMaxArgNumber)) {
        d.strInvalid = "\"" + written(k) + "\" names no argument that can exist";
        return d;
      }
      stars.emplace_back(nStar, eRole);
    } else {
      while (IsDigit(at(k))) ++k;
    }
  }
  std::string strSize;
  d.bWindows = IsOneOf(at(k), "Iw");
  if (at(k) == XChar('I') && at(k + 1) == XChar('6') && at(k + 2) == XChar('4')) {
    strSize = "ll", k += 3;
  } else if (at(k) == XChar('I') && at(k + 1) == XChar('3') && at(k + 2) == XChar('2')) {
    k += 3;
  } else if (at(k) == XChar('h') || at(k) == XChar('l')) {
    strSize = std::string(at(k + 1) == at(k) ? 2 : 1, static_cast<char>(at(k)));
    k += strSize.size();
  } else if (IsOneOf(at(k), "LqjzZtIw")) {
    static const std::pair<char, const char*> kOne[] = {{'L', "ll"}, {'q', "ll"}, {'j', "j"}, {'z', "z"},
                                                        {'Z', "z"},  {'t', "t"},  {'I', "z"}, {'w', "l"}};
    for (const auto& one : kOne)
      if (at(k) == XChar(one.first)) strSize = one.second;
    ++k;
  }
  XChar conv = at(k);
  std::string strType;
  if (conv == XChar('<')) {
    size_t nClose = k + 1;
    while (nClose < text.size() && text[nClose] != XChar('>') && nClose - k < 20) ++nClose;
    if (at(nClose) != XChar('>') || !strSize.empty() ||
        (strType = MacroType(Utf8FromText(text.substr(k + 1, nClose - k - 1)))).empty())
      return invalid(k);
    k = nClose;
  } else if (conv == XChar('%') || conv == XChar('m')) {
    d.nLength = k + 1 - i;  // a literal, or glibc's error text: no argument
    return d;
  } else if (IsOneOf(conv, "diouxXeEfFgGaAcCsSpn")) {
    strType = TypeName(strSize, conv);
  } else {
    return invalid(k);
  }
  d.nLength = k + 1 - i;
  std::string strWritten = written(k + 1);
  for (const auto& star : stars) d.vecParts.push_back({star.first, {strWritten + kStarSuffix, "int", star.second}});
  d.vecParts.push_back({nNumber, {strWritten, strType, XArgRole::eArgValue}});
  return d;
}

std::string SpecsList(const std::vector<XFormatArg>& vec) {
  if (vec.empty()) return "none";
  std::string out;
  for (const XFormatArg& arg : vec) out += (out.empty() ? "" : " ") + arg.strWritten;
  return out;
}

std::string Counted(const std::vector<XFormatArg>& vec) {
  if (vec.empty()) return "no format specifier";
  return std::to_string(vec.size()) + " format specifier" + (vec.size() == 1 ? "" : "s") + " (" + SpecsList(vec) + ")";
}

// Empty when the arguments agree; otherwise the first difference.
std::string ArgsCompare(const XFormat& source, const XFormat& transl) {
  const std::vector<XFormatArg>& s = source.vecArgs;
  const std::vector<XFormatArg>& t = transl.vecArgs;
  if (s.size() != t.size()) return "the translation has " + Counted(t) + " where the source has " + Counted(s);
  size_t nDiff = 0;
  while (nDiff < s.size() && s[nDiff].strType == t[nDiff].strType) ++nDiff;
  if (nDiff == s.size()) return {};
  auto types = [](const std::vector<XFormatArg>& vec) {
    std::vector<std::string> vecTypes;
    for (const XFormatArg& arg : vec) vecTypes.push_back(arg.strType);
    std::sort(vecTypes.begin(), vecTypes.end());
    return vecTypes;
  };
  bool bNumbered = source.bNumbered || transl.bNumbered;
  if (!bNumbered && types(s) == types(t))
    return "format specifiers in a different order (source: " + SpecsList(s) + "; translation: " + SpecsList(t) +
           "); arguments cannot be reordered";
  return std::string(bNumbered ? "argument " : "format specifier ") + std::to_string(nDiff + 1) + " is " +
         t[nDiff].strWritten + " (" + t[nDiff].strType + ") in the translation but " + s[nDiff].strWritten + " (" +
         s[nDiff].strType + ") in the source";
}

const char* RoleName(XArgRole eRole) { return eRole == XArgRole::eArgWidth ? "a width" : "a precision"; }

std::string StarOwner(const XFormatArg& arg) { return arg.strWritten.substr(0, arg.strWritten.rfind(kStarSuffix)); }

}  // namespace

size_t FormatDirectiveLength(XStringView text, size_t i) { return DirectiveRead(text, i).nLength; }

XFormat FormatParse(XStringView text) {
  XFormat out;
  std::map<int, XFormatArg> mapNumbered;
  std::string strFirstNumbered, strFirstUnnumbered;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != XChar('%')) continue;
    XDirective d = DirectiveRead(text, i);
    if (d.nLength == 0) {
      if (out.strInvalid.empty()) out.strInvalid = d.strInvalid;
      continue;
    }
    ++out.nDirectives;
    if (!d.vecParts.empty()) {
      if (d.bBlankFlag && out.strBlankFlag.empty()) out.strBlankFlag = Utf8FromText(text.substr(i, d.nLength));
      if (!d.bBlankFlag) out.bUnblanked = true;
    }
    if (d.bLocaleDigits && out.strLocaleDigits.empty()) out.strLocaleDigits = Utf8FromText(text.substr(i, d.nLength));
    if ((d.bLocaleDigits || d.bWindows) && out.strWindows.empty())
      out.strWindows = Utf8FromText(text.substr(i, d.nLength));
    i += d.nLength - 1;
    for (XPart& part : d.vecParts) {
      if (part.nNumber == 0) {
        if (strFirstUnnumbered.empty()) strFirstUnnumbered = part.arg.strWritten;
        out.vecArgs.push_back(part.arg);
        continue;
      }
      if (strFirstNumbered.empty()) strFirstNumbered = part.arg.strWritten;
      auto [it, bNew] = mapNumbered.emplace(part.nNumber, part.arg);
      if (!bNew && it->second.strType != part.arg.strType && out.strInvalid.empty())
        out.strInvalid = "argument " + std::to_string(part.nNumber) + " is taken both as " + it->second.strWritten +
                         " (" + it->second.strType + ") and as " + part.arg.strWritten + " (" + part.arg.strType + ")";
    }
  }
  if (!mapNumbered.empty()) {
    out.bNumbered = true;
    if (!strFirstUnnumbered.empty() && out.strInvalid.empty())
      out.strInvalid =
          "numbered (" + strFirstNumbered + ") and unnumbered (" + strFirstUnnumbered + ") format specifiers are mixed";
    int nExpected = 1;
    for (const auto& [nNumber, arg] : mapNumbered) {
      if (nNumber != nExpected && out.strInvalid.empty())
        out.strInvalid =
            "argument " + std::to_string(nNumber) + " is taken but argument " + std::to_string(nExpected) + " is not";
      nExpected = nNumber + 1;
    }
    if (out.strInvalid.empty())
      for (const auto& numbered : mapNumbered) out.vecArgs.push_back(numbered.second);
  }
  return out;
}

bool FormatIsChecked(XStringView source) {
  return source.find(XChar('%')) != XStringView::npos && FormatParse(source).IsValid();
}

XFormatVerdict FormatCheck(XStringView source, XStringView transl, XFormatFlag eFlag, bool bPattern) {
  XFormatVerdict verdict;
  if (eFlag == XFormatFlag::eFFNo) return verdict;
  if (eFlag == XFormatFlag::eFFAuto && source.find(XChar('%')) == XStringView::npos) return verdict;
  XFormat s = FormatParse(source);
  if (!s.IsValid()) return verdict;  // not a format, so the program does not format it
  XFormat t = FormatParse(transl);
  if (!t.IsValid()) {
    verdict.strError = "the translation is not a valid format, unlike the source: " + t.strInvalid;
    if (s.IsProse()) verdict.strError += "; unless the source's " + s.strBlankFlag + " is a percent sign before a word";
    if (!s.strWindows.empty() || s.IsProse()) {
      verdict.vecWarnings.push_back(verdict.strError);
      verdict.strError.clear();
    }
    return verdict;
  }
  verdict.strError = ArgsCompare(s, t);
  if (!verdict.strError.empty() && !s.strWindows.empty()) {
    verdict.vecWarnings.push_back(verdict.strError + " (as Windows reads " + s.strWindows +
                                  "; gettext takes the source for no format)");
    verdict.strError.clear();
  }
  if (!verdict.strError.empty() && s.IsProse()) {
    verdict.vecWarnings.push_back(verdict.strError + "; unless the source's " + s.strBlankFlag +
                                  " is a percent sign before a word, not a format");
    verdict.strError.clear();
  }
  if (!verdict.strError.empty() || !verdict.vecWarnings.empty()) return verdict;
  if (t.bNumbered && !s.bNumbered) {
    std::string strWrittenList;
    for (size_t i = 0; i < t.vecArgs.size() && i < 3; ++i)
      strWrittenList += (i == 0 ? "" : " ") + t.vecArgs[i].strWritten;
    verdict.vecWarnings.push_back(
        bPattern ? "the translation numbers its format specifiers (" + strWrittenList +
                       "); pattern translation fills in the text's numbers in order and takes only plain ones "
                       "like %d"
                 : "the translation numbers its format specifiers (" + strWrittenList +
                       "); on Windows only the _p functions (_swprintf_p, ...) take numbered specifiers");
  }
  for (size_t i = 0; i < s.vecArgs.size(); ++i) {
    const XFormatArg& a = s.vecArgs[i];
    const XFormatArg& b = t.vecArgs[i];
    if (a.eRole != b.eRole && a.eRole != XArgRole::eArgValue && b.eRole != XArgRole::eArgValue)
      verdict.vecWarnings.push_back("the * of " + StarOwner(b) + " is " + RoleName(b.eRole) +
                                    " in the translation but the * of " + StarOwner(a) + " is " + RoleName(a.eRole) +
                                    " in the source");
  }
  if (!t.strLocaleDigits.empty() && s.strLocaleDigits.empty())
    verdict.vecWarnings.push_back(t.strLocaleDigits +
                                  ": the Windows printf reads I as a size prefix (a 64-bit argument in 64-bit "
                                  "programs), not as the glibc flag for the locale's digits");
  return verdict;
}

}  // namespace rlgtool
