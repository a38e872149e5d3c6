// Scanning and comparing printf format specifiers.
#include "Printf.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "TextIO.h"

namespace rlgtool {

namespace {

bool IsDigit(XChar c) { return c >= XChar('0') && c <= XChar('9'); }

bool IsOneOf(XChar c, const char* pszSet) {
  return c > 0 && c < 0x80 && std::strchr(pszSet, static_cast<char>(c)) != nullptr;
}

// Length modifier at i, normalised to the C spelling of the argument size ("l",
// "ll", "h", ...); the Microsoft forms I64, I32 and I are mapped to their sizes.
size_t LengthScan(XStringView text, size_t i, std::string& strLength) {
  auto at = [&](size_t k) { return k < text.size() ? text[k] : XChar(0); };
  if (at(i) == XChar('I') && at(i + 1) == XChar('6') && at(i + 2) == XChar('4')) return strLength = "ll", 3;
  if (at(i) == XChar('I') && at(i + 1) == XChar('3') && at(i + 2) == XChar('2')) return strLength = "", 3;
  if (at(i) == XChar('I')) return strLength = "z", 1;
  if (at(i) == XChar('h') && at(i + 1) == XChar('h')) return strLength = "hh", 2;
  if (at(i) == XChar('l') && at(i + 1) == XChar('l')) return strLength = "ll", 2;
  if (at(i) == XChar('q')) return strLength = "ll", 1;
  if (at(i) == XChar('w')) return strLength = "l", 1;
  if (IsOneOf(at(i), "hlLjzt")) return strLength = std::string(1, static_cast<char>(at(i))), 1;
  strLength.clear();
  return 0;
}

std::string TypeName(const std::string& strLength, XChar conv) {
  std::string strBase;
  if (IsOneOf(conv, "di")) {
    strBase = "int";
  } else if (IsOneOf(conv, "ouxX")) {
    strBase = "unsigned int";
  } else if (IsOneOf(conv, "eEfFgGaA")) {
    return strLength == "L" ? "long double" : "double";
  } else if (IsOneOf(conv, "cC")) {
    strBase = conv == XChar('C') ? "wide char" : "char";
  } else if (IsOneOf(conv, "sS")) {
    strBase = conv == XChar('S') ? "wide string" : "string";
  } else if (conv == XChar('p')) {
    return "pointer";
  } else {
    strBase = "int pointer";
  }
  static const std::pair<const char*, const char*> kSizes[] = {{"hh", "char-sized"}, {"h", "short"},    {"l", "long"},
                                                               {"ll", "long long"},  {"j", "intmax_t"}, {"z", "size_t"},
                                                               {"t", "ptrdiff_t"}};
  for (const auto& size : kSizes)
    if (strLength == size.first) return std::string(size.second) + " " + strBase;
  return strBase;
}

std::string SpecsList(const std::vector<XFormatArg>& vec) {
  if (vec.empty()) return "none";
  std::string out;
  for (const XFormatArg& arg : vec) out += (out.empty() ? "" : " ") + arg.strSpec;
  return out;
}

}  // namespace

std::vector<XFormatArg> FormatArgsScan(XStringView text) {
  std::vector<XFormatArg> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != XChar('%')) continue;
    if (i + 1 < text.size() && text[i + 1] == XChar('%')) {
      ++i;
      continue;
    }
    size_t k = i + 1;
    std::vector<XFormatArg> stars;
    while (k < text.size() && IsOneOf(text[k], "-+#0")) ++k;
    if (k < text.size() && text[k] == XChar('*')) {
      stars.push_back({"*", "int"});
      ++k;
    }
    while (k < text.size() && IsDigit(text[k])) ++k;
    if (k < text.size() && text[k] == XChar('.')) {
      ++k;
      if (k < text.size() && text[k] == XChar('*')) {
        stars.push_back({"*", "int"});
        ++k;
      }
      while (k < text.size() && IsDigit(text[k])) ++k;
    }
    std::string strLength;
    k += LengthScan(text, k, strLength);
    if (k >= text.size() || !IsOneOf(text[k], "diouxXeEfFgGaAcCsSpn")) continue;
    std::string strSpec = Utf8FromX(text.substr(i, k - i + 1));
    for (XFormatArg& star : stars) {
      star.strSpec = strSpec + " (its *)";
      out.push_back(star);
    }
    out.push_back({strSpec, TypeName(strLength, text[k])});
    i = k;
  }
  return out;
}

std::string FormatArgsCompare(const std::vector<XFormatArg>& vecSource, const std::vector<XFormatArg>& vecTransl) {
  size_t n = std::min(vecSource.size(), vecTransl.size());
  size_t nFirstDiff = n;
  for (size_t i = 0; i < n; ++i) {
    if (vecSource[i].strType != vecTransl[i].strType) {
      nFirstDiff = i;
      break;
    }
  }
  if (nFirstDiff == n && vecSource.size() == vecTransl.size()) return {};

  auto types = [](const std::vector<XFormatArg>& vec) {
    std::vector<std::string> t;
    for (const XFormatArg& arg : vec) t.push_back(arg.strType);
    std::sort(t.begin(), t.end());
    return t;
  };
  if (vecSource.size() != vecTransl.size()) {
    auto counted = [](const std::vector<XFormatArg>& vec) {
      if (vec.empty()) return std::string("no format specifier");
      return std::to_string(vec.size()) + " format specifier" + (vec.size() == 1 ? "" : "s") + " (" + SpecsList(vec) +
             ")";
    };
    return "the translation has " + counted(vecTransl) + " where the source has " + counted(vecSource);
  }
  if (types(vecSource) == types(vecTransl)) {
    return "format specifiers in a different order (source: " + SpecsList(vecSource) +
           "; translation: " + SpecsList(vecTransl) + "); arguments cannot be reordered";
  }
  const XFormatArg& s = vecSource[nFirstDiff];
  const XFormatArg& t = vecTransl[nFirstDiff];
  return "format specifier " + std::to_string(nFirstDiff + 1) + " is " + t.strSpec + " (" + t.strType +
         ") in the translation but " + s.strSpec + " (" + s.strType + ") in the source";
}

}  // namespace rlgtool
