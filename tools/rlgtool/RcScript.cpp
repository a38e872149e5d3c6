// Resource scripts: a lexer, a small preprocessor that expands object-like
// macros, and the parser of the statements that hold texts.
#include "RcScript.h"

#include <cstdint>
#include <map>
#include <set>
#include <tuple>

#include "TextIO.h"

namespace rlgtool {

namespace {

constexpr int kMaxIncludeDepth = 32;
constexpr size_t kMaxExpansion = 1 << 16;   // tokens one identifier may expand to
constexpr int kMaxNesting = 256;            // parentheses in an expression, menu levels
constexpr size_t kMinTokenLimit = 1 << 20;  // tokens all expansions together may make, plus one per byte read
constexpr unsigned kLangDefault = 0x0409;   // what the resource compilers take without LANGUAGE

enum class XTokKind { eEnd, eIdent, eNumber, eString, ePunct, eBad };

struct XRcToken {
  XTokKind eKind = XTokKind::eEnd;
  std::string strText;  // identifier or punctuator; for eBad, what is wrong
  XString strValue;     // contents of a string
  std::int64_t nValue = 0;
  int nFile = 0;
  int nLine = 0;
  bool bLineStart = false;
  size_t nStart = 0, nEnd = 0;  // where the token stands in its file's text
  int nExpansion = 0;           // tokens that one identifier expanded to share a number
  std::string strMacro;         // that identifier, on the first of them
};

bool IsIdentStart(XChar c) {
  return (c >= XChar('A') && c <= XChar('Z')) || (c >= XChar('a') && c <= XChar('z')) || c == XChar('_');
}
bool IsIdentPart(XChar c) { return IsIdentStart(c) || (c >= XChar('0') && c <= XChar('9')); }
int HexValue(XChar c) {
  if (c >= XChar('0') && c <= XChar('9')) return c - '0';
  if (c >= XChar('a') && c <= XChar('f')) return c - 'a' + 10;
  if (c >= XChar('A') && c <= XChar('F')) return c - 'A' + 10;
  return -1;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Splits one file's text into tokens, each knowing its line and whether it
// starts a line. Comments and line continuations are dropped. A malformed
// token (unterminated string, bad number) is kept as eBad, so that it is an
// error only where the preprocessor does not skip it.
class XLexer {
 public:
  XLexer(const XString& text, int nFile) : m_text(text), m_nFile(nFile) {}

  std::vector<XRcToken> Run() {
    std::vector<XRcToken> vecTokens;
    for (;;) {
      SkipSpace();
      if (m_nPos >= m_text.size()) break;
      XRcToken tok;
      tok.nFile = m_nFile;
      tok.nLine = m_nLine;
      tok.bLineStart = m_bLineStart;
      tok.nStart = m_nPos;
      m_bLineStart = false;
      Token(tok);
      tok.nEnd = m_nPos;
      vecTokens.push_back(std::move(tok));
    }
    return vecTokens;
  }

 private:
  XChar At(size_t i) const { return i < m_text.size() ? m_text[i] : XChar(0); }

  bool NewlineSkip() {
    if (At(m_nPos) == XChar('\r')) {
      m_nPos += At(m_nPos + 1) == XChar('\n') ? 2 : 1;
    } else if (At(m_nPos) == XChar('\n')) {
      ++m_nPos;
    } else {
      return false;
    }
    ++m_nLine;
    return true;
  }

  bool ContinuationSkip() {
    if (At(m_nPos) != XChar('\\') || (At(m_nPos + 1) != XChar('\n') && At(m_nPos + 1) != XChar('\r'))) return false;
    ++m_nPos;
    NewlineSkip();
    return true;
  }

  void SkipSpace() {
    while (m_nPos < m_text.size()) {
      const XChar c = m_text[m_nPos];
      if (c == XChar(' ') || c == XChar('\t') || c == XChar('\f') || c == XChar('\v') || c == XChar(0xFEFF)) {
        ++m_nPos;
      } else if (NewlineSkip()) {
        m_bLineStart = true;
      } else if (ContinuationSkip()) {
      } else if (c == XChar('/') && At(m_nPos + 1) == XChar('/')) {
        while (m_nPos < m_text.size() && m_text[m_nPos] != XChar('\n') && m_text[m_nPos] != XChar('\r')) ++m_nPos;
      } else if (c == XChar('/') && At(m_nPos + 1) == XChar('*')) {
        m_nPos += 2;
        while (m_nPos < m_text.size() && !(m_text[m_nPos] == XChar('*') && At(m_nPos + 1) == XChar('/')))
          if (!NewlineSkip()) ++m_nPos;
        m_nPos = std::min(m_nPos + 2, m_text.size());
      } else {
        return;
      }
    }
  }

  void Token(XRcToken& tok) {
    const XChar c = m_text[m_nPos];
    if (c == XChar('L') && At(m_nPos + 1) == XChar('"')) {
      ++m_nPos;
      String(tok, true);
    } else if (IsIdentStart(c)) {
      tok.eKind = XTokKind::eIdent;
      while (IsIdentPart(At(m_nPos))) tok.strText += static_cast<char>(m_text[m_nPos++]);
    } else if (c >= XChar('0') && c <= XChar('9')) {
      Number(tok);
    } else if (c == XChar('"')) {
      String(tok, false);
    } else if (c == XChar('\'')) {
      Character(tok);
    } else {
      tok.eKind = XTokKind::ePunct;
      static const char* const kPairs[] = {"&&", "||", "==", "!=", "<=", ">=", "<<", ">>"};
      for (const char* pszPair : kPairs)
        if (c == XChar(pszPair[0]) && At(m_nPos + 1) == XChar(pszPair[1])) {
          tok.strText = pszPair;
          m_nPos += 2;
          return;
        }
      tok.strText = Utf8FromText(XStringView(&m_text[m_nPos], 1));
      ++m_nPos;
    }
  }

  void Number(XRcToken& tok) {
    std::string strDigits;
    while (IsIdentPart(At(m_nPos))) strDigits += static_cast<char>(m_text[m_nPos++]);
    tok.strText = strDigits;
    while (!strDigits.empty() &&
           (strDigits.back() == 'L' || strDigits.back() == 'l' || strDigits.back() == 'U' || strDigits.back() == 'u'))
      strDigits.pop_back();
    unsigned nBase = 10;
    size_t i = 0;
    if (strDigits.size() > 1 && strDigits[0] == '0' && (strDigits[1] == 'x' || strDigits[1] == 'X')) {
      nBase = 16;
      i = 2;
    } else if (strDigits.size() > 1 && strDigits[0] == '0') {
      nBase = 8;
    }
    std::uint64_t nValue = 0;
    bool bValid = i < strDigits.size();
    for (; i < strDigits.size() && bValid; ++i) {
      const int nDigit = HexValue(static_cast<XChar>(strDigits[i]));
      bValid = nDigit >= 0 && static_cast<unsigned>(nDigit) < nBase;
      nValue = nValue * nBase + static_cast<unsigned>(nDigit);
    }
    tok.eKind = bValid ? XTokKind::eNumber : XTokKind::eBad;
    if (!bValid) tok.strText = "an invalid number \"" + tok.strText + "\"";
    tok.nValue = static_cast<std::int64_t>(nValue & 0xFFFFFFFFu);
  }

  // One escape after a backslash, as the resource compilers read it: \a is
  // the backspace that right-aligns menu text, and an unknown escape keeps
  // its backslash.
  void Escape(XString& out, bool bWide) {
    const XChar c = At(m_nPos);
    const struct {
      char cName;
      char16_t cValue;
    } kSimple[] = {{'n', '\n'}, {'t', '\t'},  {'r', '\r'}, {'a', 0x08},  {'b', 0x08}, {'f', '\f'},
                   {'v', '\v'}, {'\\', '\\'}, {'"', '"'},  {'\'', '\''}, {'?', '?'}};
    for (const auto& simple : kSimple)
      if (c == XChar(simple.cName)) {
        out += static_cast<XChar>(simple.cValue);
        ++m_nPos;
        return;
      }
    if (c >= XChar('0') && c <= XChar('7')) {
      unsigned nValue = 0;
      for (int n = 0; n < 3 && At(m_nPos) >= XChar('0') && At(m_nPos) <= XChar('7'); ++n)
        nValue = nValue * 8 + static_cast<unsigned>(m_text[m_nPos++] - '0');
      out += static_cast<XChar>(nValue);
      return;
    }
    if (c == XChar('x') && HexValue(At(m_nPos + 1)) >= 0) {
      ++m_nPos;
      unsigned nValue = 0;
      for (int n = 0; n < (bWide ? 4 : 2) && HexValue(At(m_nPos)) >= 0; ++n)
        nValue = nValue * 16 + static_cast<unsigned>(HexValue(m_text[m_nPos++]));
      out += static_cast<XChar>(nValue);
      return;
    }
    out += XChar('\\');
  }

  void String(XRcToken& tok, bool bWide) {
    tok.eKind = XTokKind::eString;
    ++m_nPos;  // the opening quote
    for (;;) {
      const XChar c = At(m_nPos);
      if (m_nPos >= m_text.size() || c == XChar('\n') || c == XChar('\r')) {
        tok.eKind = XTokKind::eBad;
        tok.strText = "an unterminated string";
        return;
      }
      if (c == XChar('"')) {
        ++m_nPos;
        // A doubled quote stands for one quote.
        if (At(m_nPos) != XChar('"')) return;
        tok.strValue += XChar('"');
        ++m_nPos;
      } else if (ContinuationSkip()) {
      } else if (c == XChar('\\')) {
        ++m_nPos;
        Escape(tok.strValue, bWide);
      } else {
        tok.strValue += c;
        ++m_nPos;
      }
    }
  }

  void Character(XRcToken& tok) {
    ++m_nPos;
    XString strValue;
    if (At(m_nPos) == XChar('\\')) {
      ++m_nPos;
      Escape(strValue, false);
    } else if (m_nPos < m_text.size() && At(m_nPos) != XChar('\n') && At(m_nPos) != XChar('\r')) {
      strValue += m_text[m_nPos++];
    }
    if (strValue.empty() || At(m_nPos) != XChar('\'')) {
      tok.eKind = XTokKind::eBad;
      tok.strText = "an unterminated character constant";
      while (m_nPos < m_text.size() && At(m_nPos) != XChar('\n') && At(m_nPos) != XChar('\r')) ++m_nPos;
      return;
    }
    ++m_nPos;
    tok.eKind = XTokKind::eNumber;
    tok.nValue = static_cast<char16_t>(strValue[0]);
  }

  const XString& m_text;
  int m_nFile;
  size_t m_nPos = 0;
  int m_nLine = 1;
  bool m_bLineStart = true;
};

// The values scripts take from the SDK headers, which are not read: they
// act as macros defined before the script, and a script may redefine them.
const struct {
  const char* pszName;
  std::int64_t nValue;
} kPredefined[] = {
    {"RC_INVOKED", 1},
    {"_WIN32", 1},
    {"IDOK", 1},
    {"IDCANCEL", 2},
    {"IDABORT", 3},
    {"IDRETRY", 4},
    {"IDIGNORE", 5},
    {"IDYES", 6},
    {"IDNO", 7},
    {"IDCLOSE", 8},
    {"IDHELP", 9},
    {"IDTRYAGAIN", 10},
    {"IDCONTINUE", 11},
    {"IDC_STATIC", -1},
    {"LANG_NEUTRAL", 0x00},
    {"LANG_INVARIANT", 0x7f},
    {"LANG_ARABIC", 0x01},
    {"LANG_BULGARIAN", 0x02},
    {"LANG_CATALAN", 0x03},
    {"LANG_CHINESE", 0x04},
    {"LANG_CZECH", 0x05},
    {"LANG_DANISH", 0x06},
    {"LANG_GERMAN", 0x07},
    {"LANG_GREEK", 0x08},
    {"LANG_ENGLISH", 0x09},
    {"LANG_SPANISH", 0x0a},
    {"LANG_FINNISH", 0x0b},
    {"LANG_FRENCH", 0x0c},
    {"LANG_HEBREW", 0x0d},
    {"LANG_HUNGARIAN", 0x0e},
    {"LANG_ICELANDIC", 0x0f},
    {"LANG_ITALIAN", 0x10},
    {"LANG_JAPANESE", 0x11},
    {"LANG_KOREAN", 0x12},
    {"LANG_DUTCH", 0x13},
    {"LANG_NORWEGIAN", 0x14},
    {"LANG_POLISH", 0x15},
    {"LANG_PORTUGUESE", 0x16},
    {"LANG_ROMANIAN", 0x18},
    {"LANG_RUSSIAN", 0x19},
    {"LANG_CROATIAN", 0x1a},
    {"LANG_SERBIAN", 0x1a},
    {"LANG_SLOVAK", 0x1b},
    {"LANG_ALBANIAN", 0x1c},
    {"LANG_SWEDISH", 0x1d},
    {"LANG_THAI", 0x1e},
    {"LANG_TURKISH", 0x1f},
    {"LANG_INDONESIAN", 0x21},
    {"LANG_UKRAINIAN", 0x22},
    {"LANG_BELARUSIAN", 0x23},
    {"LANG_SLOVENIAN", 0x24},
    {"LANG_ESTONIAN", 0x25},
    {"LANG_LATVIAN", 0x26},
    {"LANG_LITHUANIAN", 0x27},
    {"LANG_VIETNAMESE", 0x2a},
    {"LANG_HINDI", 0x39},
    {"SUBLANG_NEUTRAL", 0x00},
    {"SUBLANG_DEFAULT", 0x01},
    {"SUBLANG_SYS_DEFAULT", 0x02},
    {"SUBLANG_ARABIC_SAUDI_ARABIA", 0x01},
    {"SUBLANG_CHINESE_TRADITIONAL", 0x01},
    {"SUBLANG_CHINESE_SIMPLIFIED", 0x02},
    {"SUBLANG_DUTCH", 0x01},
    {"SUBLANG_DUTCH_BELGIAN", 0x02},
    {"SUBLANG_ENGLISH_US", 0x01},
    {"SUBLANG_ENGLISH_UK", 0x02},
    {"SUBLANG_ENGLISH_AUS", 0x03},
    {"SUBLANG_ENGLISH_CAN", 0x04},
    {"SUBLANG_FRENCH", 0x01},
    {"SUBLANG_FRENCH_BELGIAN", 0x02},
    {"SUBLANG_FRENCH_CANADIAN", 0x03},
    {"SUBLANG_FRENCH_SWISS", 0x04},
    {"SUBLANG_GERMAN", 0x01},
    {"SUBLANG_GERMAN_SWISS", 0x02},
    {"SUBLANG_GERMAN_AUSTRIAN", 0x03},
    {"SUBLANG_ITALIAN", 0x01},
    {"SUBLANG_ITALIAN_SWISS", 0x02},
    {"SUBLANG_JAPANESE_JAPAN", 0x01},
    {"SUBLANG_KOREAN", 0x01},
    {"SUBLANG_NORWEGIAN_BOKMAL", 0x01},
    {"SUBLANG_NORWEGIAN_NYNORSK", 0x02},
    {"SUBLANG_POLISH_POLAND", 0x01},
    {"SUBLANG_PORTUGUESE", 0x02},
    {"SUBLANG_PORTUGUESE_BRAZILIAN", 0x01},
    {"SUBLANG_RUSSIAN_RUSSIA", 0x01},
    {"SUBLANG_SPANISH", 0x01},
    {"SUBLANG_SPANISH_MEXICAN", 0x02},
    {"SUBLANG_SPANISH_MODERN", 0x03},
    {"SUBLANG_SWEDISH", 0x01},
    {"SUBLANG_TURKISH_TURKEY", 0x01},
    {"SUBLANG_UKRAINIAN_UKRAINE", 0x01},
    {"SS_LEFT", 0x00},
    {"SS_CENTER", 0x01},
    {"SS_RIGHT", 0x02},
    {"SS_ICON", 0x03},
    {"SS_OWNERDRAW", 0x0d},
    {"SS_BITMAP", 0x0e},
    {"SS_ENHMETAFILE", 0x0f},
    {"MFT_STRING", 0x0000},
    {"MFT_BITMAP", 0x0004},
    {"MFT_MENUBARBREAK", 0x0020},
    {"MFT_MENUBREAK", 0x0040},
    {"MFT_OWNERDRAW", 0x0100},
    {"MFT_RADIOCHECK", 0x0200},
    {"MFT_SEPARATOR", 0x0800},
    {"MFT_RIGHTORDER", 0x2000},
    {"MFT_RIGHTJUSTIFY", 0x4000},
    {"MFS_ENABLED", 0x0000},
    {"MFS_GRAYED", 0x0003},
    {"MFS_DISABLED", 0x0003},
    {"MFS_CHECKED", 0x0008},
    {"MFS_HILITE", 0x0080},
    {"MFS_DEFAULT", 0x1000},
};

// SDK headers whose absence is not an error: their identifiers are known.
bool IsSdkHeader(std::string strName) {
  const size_t nSlash = strName.find_last_of("/\\");
  if (nSlash != std::string::npos) strName.erase(0, nSlash + 1);
  for (char& c : strName)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  static const char* const kHeaders[] = {
      "windows.h", "winres.h",  "winresrc.h", "afxres.h",   "winuser.h", "winuser.rh",  "winnt.h",    "winnt.rh",
      "winver.h",  "verrsrc.h", "commctrl.h", "richedit.h", "dlgs.h",    "ntverp.h",    "common.ver", "windef.h",
      "winbase.h", "wingdi.h",  "shellapi.h", "prsht.h",    "atlres.h",  "sdkddkver.h", "afxres.rc",  "afxprint.rc"};
  for (const char* pszHeader : kHeaders)
    if (strName == pszHeader) return true;
  return false;
}

// A file that contributes only its preprocessor lines: the resource
// compilers read C headers for their #defines and ignore the rest.
bool IsHeaderFile(const std::string& strPath) {
  const size_t nDot = strPath.rfind('.');
  if (nDot == std::string::npos || strPath.find_first_of("/\\", nDot) != std::string::npos) return false;
  std::string strExt = strPath.substr(nDot + 1);
  for (char& c : strExt)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const char* pszExt : {"h", "hh", "hpp", "hxx", "c", "cpp", "cxx", "inl"})
    if (strExt == pszExt) return true;
  return false;
}

bool Keyword(const XRcToken& tok, const char* pszWord) {
  if (tok.eKind != XTokKind::eIdent || tok.strText.size() != std::char_traits<char>::length(pszWord)) return false;
  for (size_t i = 0; i < tok.strText.size(); ++i) {
    char c = tok.strText[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != pszWord[i]) return false;
  }
  return true;
}

bool Punct(const XRcToken& tok, const char* pszText) { return tok.eKind == XTokKind::ePunct && tok.strText == pszText; }
bool IsBegin(const XRcToken& tok) { return Keyword(tok, "BEGIN") || Punct(tok, "{"); }
bool IsEnd(const XRcToken& tok) { return Keyword(tok, "END") || Punct(tok, "}"); }

std::string Describe(const XRcToken& tok) {
  switch (tok.eKind) {
    case XTokKind::eEnd:
      return "the end of the file";
    case XTokKind::eString:
      return "a string";
    case XTokKind::eNumber:
      return "the number " + (tok.strMacro.empty() ? std::to_string(tok.nValue) : tok.strMacro);
    case XTokKind::eBad:
      return tok.strText;
    default:
      return "\"" + tok.strText + "\"";
  }
}

// An expression's value and, in a resource statement, the first identifier
// that no #define gave a value (0 stands in for it).
struct XValue {
  std::int64_t nValue = 0;
  std::string strUndefined;
};

// Evaluates C expressions over tokens whose macros are already expanded:
// #if conditions and the numbers of resource statements. In the latter, the
// resource compilers' NOT clears bits from the whole expression
// ("WS_CHILD | NOT WS_VISIBLE").
class XEvaluator {
 public:
  XEvaluator(const std::vector<XRcToken>& vecTokens, size_t& nPos) : m_vecTokens(vecTokens), m_nPos(nPos) {}

  // False with strError when the tokens are not an expression.
  bool Evaluate(XValue& value, std::string& strError) {
    const std::int64_t n = Conditional();
    if (!m_strError.empty()) {
      strError = m_strError;
      return false;
    }
    value.nValue = static_cast<std::int64_t>(static_cast<std::uint64_t>(n) & ~m_nNotBits);
    value.strUndefined = m_strUndefined;
    return true;
  }

 private:
  const XRcToken& Peek() const {
    static const XRcToken s_end;
    return m_nPos < m_vecTokens.size() ? m_vecTokens[m_nPos] : s_end;
  }
  bool Accept(const char* pszOp) {
    if (!Punct(Peek(), pszOp)) return false;
    ++m_nPos;
    return true;
  }
  std::int64_t Fail(const std::string& strText) {
    if (m_strError.empty()) m_strError = strText;
    m_nPos = m_vecTokens.size();
    return 0;
  }

  std::int64_t Conditional() {
    const std::int64_t nCond = Binary(0);
    if (!Accept("?")) return nCond;
    const std::int64_t nThen = Conditional();
    if (!Accept(":")) return Fail("expected \":\" in a conditional expression, found " + Describe(Peek()));
    const std::int64_t nElse = Conditional();
    return nCond != 0 ? nThen : nElse;
  }

  // Binary operators by precedence, lowest first.
  std::int64_t Binary(int nLevel) {
    static const std::vector<std::vector<const char*>> kLevels = {
        {"||"},       {"&&"},     {"|"},          {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="},
        {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
    if (nLevel == static_cast<int>(kLevels.size())) return Unary();
    std::int64_t nLeft = Binary(nLevel + 1);
    for (;;) {
      const char* pszOp = nullptr;
      for (const char* pszCandidate : kLevels[static_cast<size_t>(nLevel)])
        if (Punct(Peek(), pszCandidate)) pszOp = pszCandidate;
      if (pszOp == nullptr) return nLeft;
      ++m_nPos;
      const std::int64_t nRight = Binary(nLevel + 1);
      nLeft = Apply(pszOp, nLeft, nRight);
    }
  }

  std::int64_t Apply(const std::string& op, std::int64_t a, std::int64_t b) {
    const auto ua = static_cast<std::uint64_t>(a), ub = static_cast<std::uint64_t>(b);
    if (op == "||") return (a != 0 || b != 0) ? 1 : 0;
    if (op == "&&") return (a != 0 && b != 0) ? 1 : 0;
    if (op == "|") return static_cast<std::int64_t>(ua | ub);
    if (op == "^") return static_cast<std::int64_t>(ua ^ ub);
    if (op == "&") return static_cast<std::int64_t>(ua & ub);
    if (op == "==") return a == b ? 1 : 0;
    if (op == "!=") return a != b ? 1 : 0;
    if (op == "<") return a < b ? 1 : 0;
    if (op == ">") return a > b ? 1 : 0;
    if (op == "<=") return a <= b ? 1 : 0;
    if (op == ">=") return a >= b ? 1 : 0;
    if (op == "<<") return static_cast<std::int64_t>(ua << (ub & 63));
    if (op == ">>") return a >> (ub & 63);
    if (op == "+") return static_cast<std::int64_t>(ua + ub);
    if (op == "-") return static_cast<std::int64_t>(ua - ub);
    if (op == "*") return static_cast<std::int64_t>(ua * ub);
    if (b == 0) return Fail("division by zero");
    // The one quotient that does not fit.
    if (b == -1) return op == "/" ? static_cast<std::int64_t>(0 - ua) : 0;
    return op == "/" ? a / b : a % b;
  }

  std::int64_t Unary() {
    if (++m_nDepth > kMaxNesting) return Fail("expression nested too deeply");
    std::int64_t n = 0;
    const XRcToken& tok = Peek();
    if (Accept("-")) {
      n = static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(Unary()));
    } else if (Accept("+")) {
      n = Unary();
    } else if (Accept("~")) {
      n = ~Unary();
    } else if (Accept("!")) {
      n = Unary() == 0 ? 1 : 0;
    } else if (Keyword(tok, "NOT")) {
      ++m_nPos;
      m_nNotBits |= static_cast<std::uint64_t>(Unary());
    } else if (Accept("(")) {
      n = Conditional();
      if (!Accept(")")) Fail("expected \")\", found " + Describe(Peek()));
    } else if (tok.eKind == XTokKind::eNumber) {
      ++m_nPos;
      n = tok.nValue;
    } else if (tok.eKind == XTokKind::eIdent) {
      ++m_nPos;
      if (m_strUndefined.empty()) m_strUndefined = tok.strText;
    } else {
      Fail("expected a number, found " + Describe(tok));
    }
    --m_nDepth;
    return n;
  }

  const std::vector<XRcToken>& m_vecTokens;
  size_t& m_nPos;
  std::string m_strError;
  std::string m_strUndefined;
  std::uint64_t m_nNotBits = 0;
  int m_nDepth = 0;
};

struct XMacro {
  bool bFunction = false;  // function-like macros are not expanded
  std::vector<XRcToken> vecBody;
};

// One argument of a resource statement: a string (adjacent strings joined)
// or an expression.
struct XArg {
  bool bString = false;
  XString strText;
  XValue value;
  std::string strSymbol;  // the macro a lone number came from
  const XRcToken* pFirst = nullptr;
};

// Reads a script and the files it includes into one token stream, then
// parses its statements.
class XRcReader {
 public:
  XRcReader(const XRcOptions& options, XDiag& diag, XResFile& out) : m_options(options), m_diag(diag), m_out(out) {}

  bool Run(const std::string& strPath, std::string_view bytes) {
    if (!Preprocess(strPath, bytes, 0, nullptr)) return false;
    Parse();
    if (m_bFailed) return false;
    return Finish();
  }

 private:
  // --- errors -------------------------------------------------------------------
  const std::string& FileName(int nFile) const { return m_vecFiles[static_cast<size_t>(nFile)]; }

  bool Fail(const XRcToken& tok, const std::string& strText) {
    if (!m_bFailed) {
      const bool bEnd = tok.eKind == XTokKind::eEnd;
      m_diag.Error(FileName(bEnd ? m_endToken.nFile : tok.nFile), bEnd ? m_endToken.nLine : tok.nLine, strText);
    }
    m_bFailed = true;
    m_nPos = m_vecTokens.size();
    return false;
  }

  // --- preprocessing -------------------------------------------------------------
  bool Preprocess(const std::string& strPath, std::string_view bytes, int nDepth, const XRcToken* pFrom) {
    m_nMaxTokens += bytes.size();
    XDecodedText text = TextDecode(bytes);
    if (text.nNulLine != 0) {
      if (pFrom != nullptr) return Fail(*pFrom, strPath + " is a binary file, not a script or header");
      m_diag.Error(strPath, 0, "binary file, but not a program or library (PE) nor a .res file");
      return false;
    }
    XString strText;
    for (size_t i = 0; i < text.vecLines.size(); ++i) {
      if (i > 0) strText += XChar('\n');
      strText += text.vecLines[i];
    }
    const int nFile = static_cast<int>(m_vecFiles.size());
    m_vecFiles.push_back(strPath);
    const std::vector<XRcToken> vecTokens = XLexer(strText, nFile).Run();
    const bool bHeader = IsHeaderFile(strPath);
    const size_t nCondBase = m_vecConds.size();
    m_endToken.nFile = nFile;
    m_endToken.nLine = static_cast<int>(text.vecLines.size());

    for (size_t i = 0; i < vecTokens.size() && !m_bFailed;) {
      const XRcToken& tok = vecTokens[i];
      size_t nLineEnd = i + 1;
      while (nLineEnd < vecTokens.size() && !vecTokens[nLineEnd].bLineStart) ++nLineEnd;
      if (tok.bLineStart && Punct(tok, "#")) {
        Directive(strText, vecTokens, i, nLineEnd, nDepth);
        i = nLineEnd;
        continue;
      }
      if (!Active() || bHeader) {
        i = nLineEnd;
        continue;
      }
      // A malformed token is an error only where the parser reads it: an
      // unquoted file name such as res\2x.ico is skipped with its statement.
      for (; i < nLineEnd && !m_bFailed; ++i) ExpandTop(vecTokens[i], m_vecTokens);
    }
    if (m_bFailed) return false;
    if (m_vecConds.size() > nCondBase) {
      const XCond& open = m_vecConds[nCondBase];
      m_diag.Error(strPath, open.nLine, "#if without #endif");
      m_bFailed = true;
      return false;
    }
    m_endToken.nFile = nFile;
    m_endToken.nLine = static_cast<int>(text.vecLines.size());
    return true;
  }

  // Appends tok to out with its object-like macros expanded. The tokens of
  // one expansion are numbered alike, so that an identifier written for a
  // number can be told from a longer expression that starts with it.
  void ExpandTop(const XRcToken& tok, std::vector<XRcToken>& out) {
    const size_t nFirst = out.size();
    std::set<std::string> setExpanding;
    size_t nBudget = kMaxExpansion;
    Expand(tok, tok, out, setExpanding, nBudget);
    if (out.size() == nFirst + 1 && out[nFirst].eKind == tok.eKind && out[nFirst].strText == tok.strText) return;
    ++m_nExpansions;
    for (size_t i = nFirst; i < out.size(); ++i) out[i].nExpansion = m_nExpansions;
    if (out.size() > nFirst) out[nFirst].strMacro = tok.strText;
  }

  // The expansion takes the place (file and line) of the identifier that was written.
  void Expand(const XRcToken& tok, const XRcToken& at, std::vector<XRcToken>& out, std::set<std::string>& setExpanding,
              size_t& nBudget) {
    if (nBudget == 0) {
      Fail(at, "a macro expands to more than " + std::to_string(kMaxExpansion) + " tokens");
      return;
    }
    --nBudget;
    const XMacro* pMacro = tok.eKind == XTokKind::eIdent ? MacroFind(tok.strText) : nullptr;
    if (pMacro == nullptr || pMacro->bFunction || setExpanding.count(tok.strText) != 0) {
      if (++m_nTokens > m_nMaxTokens) {
        Fail(at, "the script expands to more than " + std::to_string(m_nMaxTokens) + " tokens");
        return;
      }
      out.push_back(tok);
      out.back().nFile = at.nFile;
      out.back().nLine = at.nLine;
      out.back().bLineStart = at.bLineStart;
      return;
    }
    setExpanding.insert(tok.strText);
    for (const XRcToken& bodyTok : pMacro->vecBody) Expand(bodyTok, at, out, setExpanding, nBudget);
    setExpanding.erase(tok.strText);
  }

  // The macro of that name: one the script defined, else one the SDK headers
  // would have defined, unless the script undefined it.
  const XMacro* MacroFind(const std::string& strName) const {
    auto it = m_mapMacros.find(strName);
    if (it != m_mapMacros.end()) return &it->second;
    if (m_setUndefined.count(strName) != 0) return nullptr;
    static const std::map<std::string, XMacro> s_mapPredefined = [] {
      std::map<std::string, XMacro> mapPredefined;
      for (const auto& predefined : kPredefined) {
        XRcToken tok;
        tok.eKind = XTokKind::eNumber;
        tok.nValue = predefined.nValue;
        mapPredefined[predefined.pszName].vecBody.push_back(tok);
      }
      return mapPredefined;
    }();
    auto itPredefined = s_mapPredefined.find(strName);
    return itPredefined != s_mapPredefined.end() ? &itPredefined->second : nullptr;
  }

  struct XCond {
    bool bActive;        // this branch is being read
    bool bTaken;         // some branch of this #if has been read
    bool bParentActive;  // the surroundings are being read
    bool bElse;
    int nLine;
  };

  bool Active() const { return m_vecConds.empty() || m_vecConds.back().bActive; }

  bool Condition(const std::vector<XRcToken>& vecLine, size_t nFirst, const XRcToken& at, bool& bValue) {
    // defined X and defined(X) first, then macros, then the arithmetic.
    std::vector<XRcToken> vecExpanded;
    for (size_t i = nFirst; i < vecLine.size() && !m_bFailed; ++i) {
      if (vecLine[i].eKind == XTokKind::eIdent && vecLine[i].strText == "defined") {
        size_t k = i + 1;
        const bool bParen = k < vecLine.size() && Punct(vecLine[k], "(");
        if (bParen) ++k;
        if (k >= vecLine.size() || vecLine[k].eKind != XTokKind::eIdent ||
            (bParen && (k + 1 >= vecLine.size() || !Punct(vecLine[k + 1], ")"))))
          return Fail(at, "malformed \"defined\" in #if");
        XRcToken number = vecLine[k];
        number.eKind = XTokKind::eNumber;
        number.nValue = MacroFind(vecLine[k].strText) != nullptr ? 1 : 0;
        vecExpanded.push_back(number);
        i = bParen ? k + 1 : k;
        continue;
      }
      if (vecLine[i].eKind == XTokKind::eBad) return Fail(vecLine[i], vecLine[i].strText + " in #if");
      ExpandTop(vecLine[i], vecExpanded);
    }
    if (m_bFailed) return false;
    size_t nPos = 0;
    XValue value;
    std::string strError;
    if (vecExpanded.empty()) return Fail(at, "#if without a condition");
    if (!XEvaluator(vecExpanded, nPos).Evaluate(value, strError)) return Fail(at, strError + " in #if");
    if (nPos < vecExpanded.size()) return Fail(at, "unexpected " + Describe(vecExpanded[nPos]) + " in #if");
    bValue = value.nValue != 0;
    return true;
  }

  void Directive(const XString& strText, const std::vector<XRcToken>& vecTokens, size_t nHash, size_t nLineEnd,
                 int nDepth) {
    const std::vector<XRcToken> vecLine(vecTokens.begin() + static_cast<std::ptrdiff_t>(nHash) + 1,
                                        vecTokens.begin() + static_cast<std::ptrdiff_t>(nLineEnd));
    const XRcToken& at = vecTokens[nHash];
    if (vecLine.empty() || vecLine[0].eKind != XTokKind::eIdent) return;  // "#" alone
    const std::string& strName = vecLine[0].strText;
    if (strName == "if" || strName == "ifdef" || strName == "ifndef") {
      bool bValue = false;
      if (Active()) {
        if (strName == "if") {
          if (!Condition(vecLine, 1, at, bValue)) return;
        } else {
          if (vecLine.size() < 2 || vecLine[1].eKind != XTokKind::eIdent) {
            Fail(at, "#" + strName + " without a macro name");
            return;
          }
          bValue = (MacroFind(vecLine[1].strText) != nullptr) == (strName == "ifdef");
        }
      }
      m_vecConds.push_back({Active() && bValue, bValue, Active(), false, at.nLine});
      return;
    }
    if (strName == "elif" || strName == "else" || strName == "endif") {
      if (m_vecConds.empty()) {
        Fail(at, "#" + strName + " without #if");
        return;
      }
      XCond& cond = m_vecConds.back();
      if (strName == "endif") {
        m_vecConds.pop_back();
        return;
      }
      if (cond.bElse) {
        Fail(at, "#" + strName + " after #else");
        return;
      }
      bool bValue = !cond.bTaken;
      if (strName == "elif" && bValue && cond.bParentActive && !Condition(vecLine, 1, at, bValue)) return;
      if (strName == "else") cond.bElse = true;
      cond.bActive = cond.bParentActive && !cond.bTaken && bValue;
      cond.bTaken = cond.bTaken || cond.bActive;
      return;
    }
    if (!Active()) return;
    if (strName == "define") {
      if (vecLine.size() < 2 || vecLine[1].eKind != XTokKind::eIdent) {
        Fail(at, "#define without a macro name");
        return;
      }
      XMacro macro;
      size_t nBody = 2;
      // "NAME(" without a blank between is a function-like macro.
      if (vecLine.size() > 2 && Punct(vecLine[2], "(") && vecLine[2].nStart == vecLine[1].nEnd) {
        macro.bFunction = true;
        nBody = vecLine.size();
      }
      macro.vecBody.assign(vecLine.begin() + static_cast<std::ptrdiff_t>(nBody), vecLine.end());
      m_mapMacros[vecLine[1].strText] = std::move(macro);
      m_setUndefined.erase(vecLine[1].strText);
    } else if (strName == "undef") {
      if (vecLine.size() >= 2) {
        m_mapMacros.erase(vecLine[1].strText);
        m_setUndefined.insert(vecLine[1].strText);
      }
    } else if (strName == "include") {
      Include(strText, vecLine, at, nDepth);
    } else if (strName == "error") {
      const size_t nStart = vecLine.size() > 1 ? vecLine[1].nStart : vecLine[0].nEnd;
      const size_t nEnd = vecLine.back().nEnd;
      Fail(at, "#error " + Utf8FromText(XStringView(strText).substr(nStart, nEnd > nStart ? nEnd - nStart : 0)));
    }
    // #pragma (code_page among them), #line and others change nothing here.
  }

  void Include(const XString& strText, const std::vector<XRcToken>& vecLine, const XRcToken& at, int nDepth) {
    std::string strName;
    bool bQuoted = false;
    if (vecLine.size() == 2 && vecLine[1].eKind == XTokKind::eString) {
      strName = Utf8FromText(vecLine[1].strValue);
      bQuoted = true;
    } else if (vecLine.size() >= 3 && Punct(vecLine[1], "<") && Punct(vecLine.back(), ">")) {
      strName = Utf8FromText(XStringView(strText).substr(vecLine[1].nEnd, vecLine.back().nStart - vecLine[1].nEnd));
    } else {
      Fail(at, "#include expects \"FILE\" or <FILE>");
      return;
    }
    if (nDepth >= kMaxIncludeDepth) {
      Fail(at, "#include nested more than " + std::to_string(kMaxIncludeDepth) + " levels deep");
      return;
    }
    std::vector<std::string> vecCandidates;
    const bool bAbsolute =
        !strName.empty() && (strName[0] == '/' || strName[0] == '\\' || (strName.size() > 1 && strName[1] == ':'));
    if (bAbsolute) {
      vecCandidates.push_back(strName);
    } else {
      if (bQuoted) {
        const std::string& strFrom = FileName(at.nFile);
        const size_t nSlash = strFrom.find_last_of("/\\");
        vecCandidates.push_back(nSlash == std::string::npos ? strName : strFrom.substr(0, nSlash + 1) + strName);
      }
      for (const std::string& strDir : m_options.vecIncludeDirs) vecCandidates.push_back(strDir + "/" + strName);
    }
    for (std::string strPath : vecCandidates) {
      std::string strBytes;
      if (m_options.fnLoad) {
        if (!m_options.fnLoad(strPath, strBytes)) continue;
      } else {
        // Scripts written on Windows name their includes with backslashes.
        for (char& c : strPath)
          if (c == '\\') c = '/';
        XFileBytes file = FileBytesRead(strPath);
        if (!file.strError.empty()) continue;
        strBytes = std::move(file.strBytes);
      }
      const XRcToken saved = m_endToken;
      Preprocess(strPath, strBytes, nDepth + 1, &at);
      m_endToken = saved;
      return;
    }
    if (!IsSdkHeader(strName)) Fail(at, "cannot open include file \"" + strName + "\"");
  }

  // --- parsing ----------------------------------------------------------------------
  const XRcToken& Peek(size_t nAhead = 0) const {
    return m_nPos + nAhead < m_vecTokens.size() ? m_vecTokens[m_nPos + nAhead] : m_endToken;
  }
  const XRcToken& Next() {
    const XRcToken& tok = Peek();
    if (m_nPos < m_vecTokens.size()) ++m_nPos;
    return tok;
  }
  bool AtEnd() const { return m_nPos >= m_vecTokens.size(); }
  bool Accept(const char* pszPunct) {
    if (!Punct(Peek(), pszPunct)) return false;
    ++m_nPos;
    return true;
  }

  // The identifier that tokens [nBegin, nEnd) were expanded from, when they
  // are exactly its expansion; else an empty text.
  std::string Symbol(size_t nBegin, size_t nEnd) const {
    if (nBegin >= nEnd || nEnd > m_vecTokens.size()) return "";
    const int nExpansion = m_vecTokens[nBegin].nExpansion;
    if (nExpansion == 0 || (nEnd < m_vecTokens.size() && m_vecTokens[nEnd].nExpansion == nExpansion)) return "";
    for (size_t i = nBegin; i < nEnd; ++i)
      if (m_vecTokens[i].nExpansion != nExpansion) return "";
    return m_vecTokens[nBegin].strMacro;
  }

  bool Expression(XValue& value, std::string* pstrSymbol = nullptr) {
    std::string strError;
    const XRcToken& at = Peek();
    const size_t nBegin = m_nPos;
    if (!XEvaluator(m_vecTokens, m_nPos).Evaluate(value, strError)) return Fail(at, strError);
    if (pstrSymbol != nullptr) *pstrSymbol = Symbol(nBegin, m_nPos);
    return true;
  }

  // A number that must not rest on an undefined identifier (identifiers of
  // controls, menu items and strings).
  bool Number(XValue& value, std::string* pstrSymbol = nullptr) {
    const XRcToken& at = Peek();
    if (!Expression(value, pstrSymbol)) return false;
    if (!value.strUndefined.empty()) return Fail(at, value.strUndefined + " is not defined");
    return true;
  }

  bool Strings(XString& strText, int& nLine) {
    const XRcToken& tok = Peek();
    if (tok.eKind != XTokKind::eString) return Fail(tok, "expected a string, found " + Describe(tok));
    nLine = tok.nLine;
    while (Peek().eKind == XTokKind::eString) strText += Next().strValue;
    return true;
  }

  // The comma-separated arguments of a statement. An argument may be left
  // empty ("MENUITEM "x", , MFT_STRING") where bEmptyAllowed.
  bool Args(std::vector<XArg>& vecArgs, bool bEmptyAllowed) {
    do {
      XArg arg;
      arg.pFirst = &Peek();
      if (Peek().eKind == XTokKind::eString) {
        int nLine = 0;
        arg.bString = true;
        if (!Strings(arg.strText, nLine)) return false;
      } else if (bEmptyAllowed && (Punct(Peek(), ",") || IsBegin(Peek()))) {
        arg.pFirst = nullptr;
      } else if (!Expression(arg.value, &arg.strSymbol)) {
        return false;
      }
      vecArgs.push_back(std::move(arg));
    } while (Accept(","));
    return true;
  }

  void MemoryFlagsSkip() {
    static const char* const kFlags[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                         "PURE",    "IMPURE",     "SHARED", "NONSHARED"};
    for (bool bFound = true; bFound;) {
      bFound = false;
      for (const char* pszFlag : kFlags)
        if (Keyword(Peek(), pszFlag)) {
          Next();
          bFound = true;
        }
    }
  }

  // The optional statements every resource may carry before BEGIN.
  bool CommonOption(unsigned& nLang) {
    if (Keyword(Peek(), "LANGUAGE")) {
      Next();
      return Language(nLang);
    }
    if (Keyword(Peek(), "CHARACTERISTICS") || Keyword(Peek(), "VERSION")) {
      Next();
      XValue value;
      return Expression(value);
    }
    return false;
  }

  bool Language(unsigned& nLang) {
    XValue primary, sub;
    if (!Expression(primary)) return false;
    if (!Accept(",")) return Fail(Peek(), "LANGUAGE needs a language and a sublanguage");
    if (!Expression(sub)) return false;
    nLang = static_cast<unsigned>(((sub.nValue & 0x3F) << 10) | (primary.nValue & 0x3FF));
    return true;
  }

  bool BeginExpect(const char* pszWhat) {
    if (IsBegin(Peek())) {
      m_vecBegins.push_back(&Next());
      return true;
    }
    return Fail(Peek(), std::string("expected BEGIN of the ") + pszWhat + ", found " + Describe(Peek()));
  }

  // Whether the block opened last ends here; at the end of the file, the
  // error names the BEGIN that has no END.
  bool BlockEnds() {
    if (IsEnd(Peek())) {
      Next();
      m_vecBegins.pop_back();
      return true;
    }
    if (AtEnd() && !m_bFailed) {
      const XRcToken& begin = *m_vecBegins.back();
      Fail(begin, "BEGIN without END");
    }
    return m_bFailed;
  }

  void BlockSkip() {
    m_vecBegins.push_back(&Next());
    const size_t nDepth = m_vecBegins.size();
    while (!m_bFailed) {
      if (IsBegin(Peek())) {
        m_vecBegins.push_back(&Next());
      } else if (BlockEnds()) {
        if (m_vecBegins.size() < nDepth) return;
      } else {
        Next();
      }
    }
  }

  void Parse() {
    while (!AtEnd() && !m_bFailed) {
      const XRcToken& tok = Peek();
      if (Keyword(tok, "LANGUAGE")) {
        Next();
        Language(m_nLang);
      } else if (Keyword(tok, "STRINGTABLE")) {
        Next();
        StringTable();
      } else if (Keyword(tok, "CHARACTERISTICS") || Keyword(tok, "VERSION")) {
        Next();
        XValue value;
        Expression(value);
      } else if (IsEnd(tok)) {
        Fail(tok, "END without BEGIN");
      } else if (IsBegin(tok)) {
        Fail(tok, "BEGIN without a resource statement before it");
      } else {
        Resource();
      }
    }
  }

  void Resource() {
    const XRcToken& first = Peek();
    XResource res;
    res.nLang = m_nLang;
    res.strFile = FileName(first.nFile);
    res.nLine = first.nLine;
    if (first.eKind == XTokKind::eIdent || first.eKind == XTokKind::eString) {
      // A name that no #define made a number is a text name, in capitals as the compilers store it.
      res.name = XResName::Text(
          TextFromUtf8(Upper(first.eKind == XTokKind::eIdent ? first.strText : Utf8FromText(first.strValue))));
      Next();
    } else {
      XValue value;
      std::string strSymbol;
      if (!Number(value, &strSymbol)) return;
      res.name = XResName::Ordinal(static_cast<unsigned>(value.nValue) & 0xFFFF, strSymbol);
    }
    const XRcToken& type = Next();
    if (type.eKind == XTokKind::eEnd) {
      Fail(first, "a resource name without a type");
    } else if (Keyword(type, "MENU") || Keyword(type, "MENUEX")) {
      res.nType = eResMenu;
      if (Menu(res, Keyword(type, "MENUEX"))) ResourceKeep(std::move(res), first);
    } else if (Keyword(type, "DIALOG") || Keyword(type, "DIALOGEX")) {
      res.nType = eResDialog;
      if (Dialog(res, Keyword(type, "DIALOGEX"))) ResourceKeep(std::move(res), first);
    } else {
      OtherSkip(type);
    }
  }

  // Any other resource: a file name on the statement's line, or a block
  // (after optional statements such as VERSIONINFO's), or both.
  void OtherSkip(const XRcToken& type) {
    bool bFileName = false;
    ++m_out.mapOther[m_nLang];
    if (!Keyword(type, "VERSIONINFO")) {
      while (!AtEnd() && Peek().nFile == type.nFile && Peek().nLine == type.nLine && !IsBegin(Peek())) {
        MemoryFlagsSkip();
        if (!AtEnd() && Peek().nFile == type.nFile && Peek().nLine == type.nLine && !IsBegin(Peek())) {
          Next();
          bFileName = true;
        }
      }
    }
    if (!bFileName)
      while (!AtEnd() && !IsBegin(Peek())) Next();
    if (IsBegin(Peek())) {
      BlockSkip();
    } else if (!bFileName) {
      Fail(type, "a resource of type " + Describe(type) + " without a file name or a BEGIN ... END block");
    }
  }

  void ResourceKeep(XResource res, const XRcToken& at) {
    auto [it, bNew] = m_mapDefined.emplace(std::make_tuple(res.nType, res.name, res.nLang), m_out.vecResources.size());
    if (!bNew) {
      const XResource& other = m_out.vecResources[it->second];
      Fail(at, res.Display() + " in language " + LangIDText(res.nLang) + " is defined twice (first at " +
                   other.strFile + ":" + std::to_string(other.nLine) + ")");
      return;
    }
    m_out.vecResources.push_back(std::move(res));
  }

  // --- STRINGTABLE ------------------------------------------------------------------
  void StringTable() {
    unsigned nLang = m_nLang;
    MemoryFlagsSkip();
    while (CommonOption(nLang) && !m_bFailed) {
    }
    if (m_bFailed || !BeginExpect("STRINGTABLE")) return;
    while (!BlockEnds()) {
      XValue id;
      XResString str;
      const XRcToken& at = Peek();
      if (!Number(id, &str.strSymbol)) return;
      str.nID = static_cast<unsigned>(id.nValue) & 0xFFFF;
      Accept(",");
      if (!Strings(str.strText, str.nLine)) return;
      auto [it, bNew] = m_mapStrings.emplace(std::make_pair(nLang, str.nID), str);
      if (!bNew) {
        Fail(at, "string " + std::to_string(str.nID) + " in language " + LangIDText(nLang) +
                     " is defined twice (first at line " + std::to_string(it->second.nLine) + ")");
        return;
      }
    }
  }

  // --- MENU and MENUEX ------------------------------------------------------------
  bool Menu(XResource& res, bool bEx) {
    MemoryFlagsSkip();
    while (CommonOption(res.nLang) && !m_bFailed) {
    }
    if (m_bFailed || !BeginExpect("menu")) return false;
    return MenuItems(res.menu, bEx, 1);
  }

  bool MenuItems(XMenuNode& parent, bool bEx, int nDepth) {
    if (nDepth > kMaxNesting)
      return Fail(Peek(), "menu nested more than " + std::to_string(kMaxNesting) + " levels deep");
    while (!BlockEnds()) {
      const XRcToken& kw = Next();
      const bool bPopup = Keyword(kw, "POPUP");
      if (!bPopup && !Keyword(kw, "MENUITEM"))
        return Fail(kw, "expected MENUITEM, POPUP or END in a menu, found " + Describe(kw));
      XMenuNode item;
      item.bPopup = bPopup;
      item.nLine = kw.nLine;
      if (!bPopup && Keyword(Peek(), "SEPARATOR")) {
        Next();
        item.bText = false;
        parent.vecItems.push_back(std::move(item));
        continue;
      }
      if (!Strings(item.strText, item.nLine)) return false;
      if (bEx) {
        std::vector<XArg> vecArgs;
        if (Accept(",") && !Args(vecArgs, true)) return false;
        if (!vecArgs.empty() && vecArgs[0].pFirst != nullptr) {
          if (!vecArgs[0].value.strUndefined.empty())
            return Fail(*vecArgs[0].pFirst, vecArgs[0].value.strUndefined + " is not defined");
          item.nID = static_cast<unsigned>(vecArgs[0].value.nValue);
          item.strSymbol = vecArgs[0].strSymbol;
        }
        if (vecArgs.size() > 1 && (vecArgs[1].value.nValue & 0x0904) != 0) item.bText = false;
      } else {
        if (!bPopup) {
          Accept(",");
          XValue id;
          if (!Number(id, &item.strSymbol)) return false;
          item.nID = static_cast<unsigned>(id.nValue) & 0xFFFF;
        }
        MenuOptionsSkip();
      }
      if (item.strText.empty()) item.bText = false;
      if (bPopup) {
        if (!BeginExpect("popup menu") || !MenuItems(item, bEx, nDepth + 1)) return false;
      }
      parent.vecItems.push_back(std::move(item));
    }
    return !m_bFailed;
  }

  void MenuOptionsSkip() {
    static const char* const kOptions[] = {"CHECKED", "GRAYED", "HELP", "INACTIVE", "MENUBARBREAK", "MENUBREAK"};
    for (;;) {
      const bool bComma = Punct(Peek(), ",");
      const XRcToken& option = Peek(bComma ? 1 : 0);
      bool bKnown = false;
      for (const char* pszOption : kOptions) bKnown = bKnown || Keyword(option, pszOption);
      if (!bKnown) return;
      Next();
      if (bComma) Next();
    }
  }

  // --- DIALOG and DIALOGEX --------------------------------------------------------
  bool Dialog(XResource& res, bool bEx) {
    MemoryFlagsSkip();
    std::vector<XArg> vecRect;
    if (!Args(vecRect, false)) return false;
    while (!m_bFailed && !IsBegin(Peek())) {
      if (CommonOption(res.nLang)) continue;
      const XRcToken& kw = Next();
      XValue value;
      if (Keyword(kw, "STYLE") || Keyword(kw, "EXSTYLE")) {
        Expression(value);
      } else if (Keyword(kw, "CAPTION")) {
        res.dialog.bCaption = true;
        Strings(res.dialog.strCaption, res.dialog.nCaptionLine);
      } else if (Keyword(kw, "CLASS") || Keyword(kw, "MENU")) {
        if (Peek().eKind == XTokKind::eString || Peek().eKind == XTokKind::eIdent)
          Next();
        else
          Expression(value);
      } else if (Keyword(kw, "FONT")) {
        std::vector<XArg> vecFont;
        Args(vecFont, false);
      } else {
        return Fail(kw, "expected BEGIN or a dialog option, found " + Describe(kw));
      }
    }
    if (res.dialog.strCaption.empty()) res.dialog.bCaption = false;
    if (m_bFailed || !BeginExpect("dialog")) return false;
    while (!BlockEnds()) {
      if (!Control(res.dialog, bEx)) return false;
    }
    return !m_bFailed;
  }

  bool Control(XDialog& dialog, bool bEx) {
    const XRcToken& kw = Next();
    std::vector<XArg> vecArgs;
    if (kw.eKind != XTokKind::eIdent) return Fail(kw, "expected a control or END in a dialog, found " + Describe(kw));
    if (!Args(vecArgs, false)) return false;
    // A DIALOGEX control may carry creation data in a block.
    if (bEx && IsBegin(Peek())) BlockSkip();

    static const struct {
      const char* pszKeyword;
      XCtlClass eClass;
      unsigned nStyle;
      int nForm;  // 0: text, id, rectangle; 1: id, rectangle; 2: CONTROL
    } kControls[] = {
        {"LTEXT", eCtlStatic, 0x00, 0},
        {"CTEXT", eCtlStatic, 0x01, 0},
        {"RTEXT", eCtlStatic, 0x02, 0},
        {"ICON", eCtlStatic, 0x03, 0},
        {"PUSHBUTTON", eCtlButton, 0, 0},
        {"DEFPUSHBUTTON", eCtlButton, 0, 0},
        {"PUSHBOX", eCtlButton, 0, 0},
        {"GROUPBOX", eCtlButton, 0, 0},
        {"CHECKBOX", eCtlButton, 0, 0},
        {"AUTOCHECKBOX", eCtlButton, 0, 0},
        {"STATE3", eCtlButton, 0, 0},
        {"AUTO3STATE", eCtlButton, 0, 0},
        {"RADIOBUTTON", eCtlButton, 0, 0},
        {"AUTORADIOBUTTON", eCtlButton, 0, 0},
        {"USERBUTTON", eCtlButton, 0, 0},
        {"SPLITBUTTON", eCtlButton, 0, 0},
        {"DEFSPLITBUTTON", eCtlButton, 0, 0},
        {"COMMANDLINK", eCtlButton, 0, 0},
        {"DEFCOMMANDLINK", eCtlButton, 0, 0},
        {"EDITTEXT", eCtlEdit, 0, 1},
        {"BEDIT", eCtlEdit, 0, 1},
        {"HEDIT", eCtlEdit, 0, 1},
        {"IEDIT", eCtlEdit, 0, 1},
        {"LISTBOX", eCtlListBox, 0, 1},
        {"COMBOBOX", eCtlComboBox, 0, 1},
        {"SCROLLBAR", eCtlScrollBar, 0, 1},
        {"CONTROL", eCtlStatic, 0, 2},
    };
    for (const auto& known : kControls) {
      if (!Keyword(kw, known.pszKeyword)) continue;
      const size_t nNeeded = known.nForm == 0   ? (known.eClass == eCtlStatic && known.nStyle == 0x03 ? 4 : 6)
                             : known.nForm == 1 ? 5
                                                : 8;
      if (vecArgs.size() < nNeeded)
        return Fail(kw, Upper(kw.strText) + " needs " + std::to_string(nNeeded) + " arguments, found " +
                            std::to_string(vecArgs.size()));
      XDlgControl control;
      control.nLine = kw.nLine;
      control.cls = XResName::Ordinal(known.eClass);
      control.nStyle = known.nStyle;
      const XArg& id = vecArgs[known.nForm == 1 ? 0 : 1];
      if (id.bString) return Fail(*id.pFirst, "a control identifier must be a number");
      if (!id.value.strUndefined.empty()) return Fail(*id.pFirst, id.value.strUndefined + " is not defined");
      control.nID = bEx ? static_cast<int>(static_cast<std::int32_t>(id.value.nValue))
                        : static_cast<std::int16_t>(id.value.nValue & 0xFFFF);
      control.strSymbol = id.strSymbol;
      if (known.nForm != 1) {
        const XArg& title = vecArgs[0];
        control.title = title.bString ? XResName::Text(title.strText)
                                      : XResName::Ordinal(static_cast<unsigned>(title.value.nValue) & 0xFFFF);
        control.nLine = title.pFirst->nLine;
      }
      if (known.nForm == 2) {
        const XArg& cls = vecArgs[2];
        if (cls.bString)
          control.cls = ControlClass(cls.strText);
        else if (!cls.value.strUndefined.empty())
          control.cls = ControlClass(TextFromUtf8(cls.value.strUndefined));
        else
          control.cls = XResName::Ordinal(static_cast<unsigned>(cls.value.nValue) & 0xFFFF);
        control.nStyle = static_cast<unsigned>(vecArgs[3].value.nValue);
      } else if (known.nForm == 0 && vecArgs.size() > 6 && !vecArgs[6].bString) {
        control.nStyle |= static_cast<unsigned>(vecArgs[6].value.nValue);
      }
      dialog.vecControls.push_back(std::move(control));
      return true;
    }
    return Fail(kw, "unknown control statement \"" + kw.strText + "\" in a dialog");
  }

  // --- the result ---------------------------------------------------------------------
  bool Finish() {
    // String tables become blocks of 16, one resource per block and language, as compiled.
    std::map<std::pair<unsigned, unsigned>, XResource> mapBlocks;
    for (auto& [key, str] : m_mapStrings) {
      if (str.strText.empty()) continue;
      const unsigned nBlock = str.nID / 16 + 1;
      XResource& block = mapBlocks[{key.first, nBlock}];
      if (block.vecStrings.empty()) {
        block.nType = eResString;
        block.name = XResName::Ordinal(nBlock);
        block.nLang = key.first;
        block.strFile = FileName(0);
        block.nLine = str.nLine;
      }
      block.vecStrings.push_back(str);
    }
    for (auto& entry : mapBlocks) m_out.vecResources.push_back(std::move(entry.second));
    ResourcesSort(m_out.vecResources);
    return true;
  }

  const XRcOptions& m_options;
  XDiag& m_diag;
  XResFile& m_out;
  std::vector<std::string> m_vecFiles;
  std::map<std::string, XMacro> m_mapMacros;
  std::set<std::string> m_setUndefined;  // predefined macros the script undefined
  size_t m_nTokens = 0;                  // tokens that preprocessing has made
  size_t m_nMaxTokens = kMinTokenLimit;  // grows with the bytes read
  std::vector<XCond> m_vecConds;
  std::vector<XRcToken> m_vecTokens;
  XRcToken m_endToken;  // stands for the end of the file, at its last line
  size_t m_nPos = 0;
  bool m_bFailed = false;
  unsigned m_nLang = kLangDefault;
  std::vector<const XRcToken*> m_vecBegins;
  std::map<std::pair<unsigned, unsigned>, XResString> m_mapStrings;         // (language, identifier) -> text
  std::map<std::tuple<unsigned, XResName, unsigned>, size_t> m_mapDefined;  // (type, name, language) -> index
  int m_nExpansions = 0;
};

}  // namespace

bool RcRead(const std::string& strPath, std::string_view bytes, const XRcOptions& options, XDiag& diag, XResFile& out) {
  out.strKind = "resource script";
  return XRcReader(options, diag, out).Run(strPath, bytes);
}

}  // namespace rlgtool
