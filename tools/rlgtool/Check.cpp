// Catalog checks: header, encoding, escapes, identifiers, format specifiers,
// repeated sources and shared translations.
#include "Check.h"
#include "colang/detail/DictText.h"

#include <algorithm>
#include <map>
#include <utility>

#include "Patterns.h"
#include "Printf.h"
#include "colang/pattern/Token.h"

namespace rlgtool {

namespace {

struct XFinding {
  int nLine;
  XSeverity eSeverity;
  std::string strText;
};

class XChecker {
 public:
  explicit XChecker(const XCatalog& cat) : m_cat(cat) {}

  std::vector<XFinding> Run() {
    HeaderCheck();
    const XDecodedText& text = m_cat.text;
    if (text.eEncoding == XEncoding::eEncCp1252 && text.nUtf8Line != 0)
      Add(text.notUtf8.nLine, XSeverity::eSevError,
          text.notUtf8.strText + " at column " + std::to_string(text.notUtf8.nColumn) +
              ": the file is not UTF-8, so the library reads all of it as Windows-1252 and garbles the UTF-8 text "
              "from line " +
              std::to_string(text.nUtf8Line) + " on");
    else if (text.eEncoding == XEncoding::eEncCp1252)
      Add(text.notUtf8.nLine, XSeverity::eSevWarning,
          text.notUtf8.strText + " at column " + std::to_string(text.notUtf8.nColumn) +
              ": the file is read as Windows-1252; save it as UTF-8 to keep every character");
    for (const XDecodeProblem& problem : m_cat.text.vecProblems)
      Add(problem.nLine, XSeverity::eSevError,
          problem.strText + " at column " + std::to_string(problem.nColumn) +
              "; catalogs are UTF-8, or UTF-16 with a byte order mark");
    for (const XCatEntry& entry : m_cat.vecEntries) EntryCheck(entry);
    PatternsCheck();
    if (m_cat.nDanglingLine != 0)
      Add(m_cat.nDanglingLine, XSeverity::eSevError,
          "source line without a translation at the end of the file is dropped (if a line went missing earlier, "
          "the entries after it are shifted)");
    std::stable_sort(m_vecFindings.begin(), m_vecFindings.end(),
                     [](const XFinding& a, const XFinding& b) { return a.nLine < b.nLine; });
    return std::move(m_vecFindings);
  }

 private:
  void Add(int nLine, XSeverity eSeverity, std::string strText) {
    m_vecFindings.push_back({nLine, eSeverity, std::move(strText)});
  }

  void HeaderCheck() {
    const std::vector<XString>& lines = m_cat.text.vecLines;
    if (m_cat.nLangIDName == 0)
      Add(0, XSeverity::eSevError,
          "the file name carries no language identifier; name it like App0407.rlg (stem, four hex digits, .rlg)");
    if (lines.empty()) {
      Add(0, XSeverity::eSevError, "empty file; a catalog starts with a language line and a title line");
      return;
    }
    if (m_cat.nHexConsumed != 4) {
      Add(1, XSeverity::eSevError,
          "the language line " + Quoted(lines[0]) +
              " must start with the language identifier as four hex digits (like 0407) or 0x and two digits");
    } else if (m_cat.nLangIDName != 0 && m_cat.nLangIDHeader != m_cat.nLangIDName) {
      Add(1, XSeverity::eSevError,
          "language " + Hex(m_cat.nLangIDHeader) + " does not match " + Hex(m_cat.nLangIDName) +
              " in the file name; the library refuses the file");
    }
    if (lines.size() < 2)
      Add(1, XSeverity::eSevError, "missing title line; line 2 names the language");
    else if (lines[1].empty())
      Add(2, XSeverity::eSevError, "empty title line; the library refuses the file");
  }

  static std::string Hex(int nValue) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "0x%04x", static_cast<unsigned>(nValue));
    return sz;
  }

  void EscapesCheck(int nLine, const XString& line) {
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] != XChar('\\')) continue;
      if (i + 1 == line.size()) {
        Add(nLine, XSeverity::eSevWarning,
            "backslash at the end of the line stays as written; write \\\\ for a backslash");
        break;
      }
      XChar c = line[i + 1];
      bool bKnown = c == XChar('\\') || c == XChar('\'') || c == XChar('?') || c == XChar('a') || c == XChar('b') ||
                    c == XChar('f') || c == XChar('n') || c == XChar('r') || c == XChar('t') || c == XChar('v');
      if (!bKnown) {
        std::string strPair = Utf8FromText(line.substr(i, 2));
        Add(nLine, XSeverity::eSevWarning,
            "unknown escape " + strPair + " stays as written; write \\" + strPair + " for a backslash");
      }
      ++i;
    }
  }

  // Source lines that start like an identifier but are read as a text, or the other way round.
  void IdentifierCheck(const XCatEntry& entry) {
    const XString& raw = entry.strSourceRaw;
    if (raw.empty() || raw[0] != XChar('#') || raw.size() < 2) return;
    XStringView rest = XStringView(raw).substr(1);
    bool bHex = rest.size() >= 2 && rest[0] == XChar('0') && (rest[1] == XChar('x') || rest[1] == XChar('X'));
    XStringView digits = bHex ? rest.substr(2) : rest;
    auto all = [&](XStringView s, bool bHexDigits) {
      return !s.empty() && std::all_of(s.begin(), s.end(), [&](XChar c) {
        return (c >= XChar('0') && c <= XChar('9')) ||
               (bHexDigits && ((c >= XChar('a') && c <= XChar('f')) || (c >= XChar('A') && c <= XChar('F'))));
      });
    };
    std::string strLine = Quoted(raw);
    if (all(digits, bHex)) {
      // Full identifier syntax: value 0, or a value that does not fit in 32 bits.
      size_t nSignificant = digits.find_first_not_of(XChar('0'));
      size_t nLen = nSignificant == XStringView::npos ? 0 : digits.size() - nSignificant;
      bool bOverflow = bHex ? nLen > 8 : (nLen > 10 || (nLen == 10 && digits.substr(nSignificant) > XT("4294967295")));
      if (entry.nID == 0) {
        Add(entry.nSourceLine, XSeverity::eSevError,
            strLine + (bOverflow ? " overflows to identifier 0" : " is identifier 0") +
                ", which cannot be used; the line is read as a text");
      } else if (bOverflow) {
        Add(entry.nSourceLine, XSeverity::eSevWarning,
            strLine + " does not fit in 32 bits; it is read as identifier " + std::to_string(entry.nID));
      }
      return;
    }
    // Near misses: blanks, a sign, or hex digits without 0x.
    XString strTrimmed;
    for (XChar c : raw)
      if (c != XChar(' ') && c != XChar('\t')) strTrimmed += c;
    if (colang::detail::IDFromLine(strTrimmed) != 0) {
      Add(entry.nSourceLine, XSeverity::eSevWarning,
          strLine + " is read as a text because of its blanks; write " + Quoted(strTrimmed) +
              " for a resource identifier");
    } else if (!bHex && all(rest, true)) {
      Add(entry.nSourceLine, XSeverity::eSevWarning,
          strLine + " is read as a text; hexadecimal identifiers are written with 0x, like #0x04D2");
    } else if ((rest[0] == XChar('-') || rest[0] == XChar('+')) && all(rest.substr(1), false)) {
      Add(entry.nSourceLine, XSeverity::eSevWarning, strLine + " is read as a text; identifiers have no sign");
    }
  }

  void EntryCheck(const XCatEntry& entry) {
    bool bText = entry.nID == 0;
    if (bText) EscapesCheck(entry.nSourceLine, entry.strSourceRaw);
    EscapesCheck(entry.nTranslLine, entry.strTranslRaw);
    IdentifierCheck(entry);
    if (bText && entry.strSource.find_first_not_of(XT(" \t")) == XString::npos)
      Add(entry.nSourceLine, XSeverity::eSevWarning,
          "source text of blanks only; a blank line between entries must be empty");

    if (entry.strTransl.empty()) {
      Add(entry.nTranslLine, XSeverity::eSevWarning,
          "empty translation; the text " + Quoted(entry.strSource) + " will be shown blank");
    } else if (bText) {
      XFormatVerdict verdict = FormatCheck(entry.strSource, entry.strTransl, XFormatFlag::eFFAuto,
                                           XTokVec(entry.strSource.c_str()).HasFormat());
      if (!verdict.strError.empty()) Add(entry.nTranslLine, XSeverity::eSevError, verdict.strError);
      for (std::string& strWarning : verdict.vecWarnings)
        Add(entry.nTranslLine, XSeverity::eSevWarning, std::move(strWarning));
      LineFeedsCheck(entry);
    }

    auto key = std::make_pair(entry.nID, bText ? entry.strSource : XString());
    auto [itSource, bNewSource] = m_mapSources.emplace(key, &entry);
    if (!bNewSource) {
      const XCatEntry& first = *itSource->second;
      std::string strWhat = bText ? Quoted(entry.strSource) : "identifier " + std::to_string(entry.nID);
      if (first.strTransl == entry.strTransl)
        Add(entry.nSourceLine, XSeverity::eSevWarning,
            "repeated entry for " + strWhat + " (first at line " + std::to_string(first.nSourceLine) + ")");
      else
        Add(entry.nSourceLine, XSeverity::eSevWarning,
            strWhat + " is translated differently at line " + std::to_string(first.nSourceLine) +
                "; this later translation wins");
      itSource->second = &entry;
      return;
    }
    if (!bText || entry.strTransl.empty()) return;
    auto [itTransl, bNewTransl] = m_mapTranslations.emplace(entry.strTransl, &entry);
    if (!bNewTransl) {
      const XCatEntry& first = *itTransl->second;
      Add(entry.nTranslLine, XSeverity::eSevWarning,
          "the translation " + Quoted(entry.strTransl) + " is shared with " + Quoted(first.strSource) + " (line " +
              std::to_string(first.nSourceLine) + "); it retranslates only to " + Quoted(entry.strSource));
    }
  }

  // An entry whose pattern equals an earlier one in the library's order never translates by pattern.
  void PatternsCheck() {
    XTextPairs vecTexts;
    std::map<XString, int> mapLines;
    for (const XCatEntry& entry : m_cat.vecEntries) {
      if (entry.nID != 0) continue;
      vecTexts.emplace_back(entry.strSource, entry.strTransl);
      mapLines[entry.strSource] = entry.nSourceLine;
    }
    for (const XPatternInfo& pattern : PatternsCollect(vecTexts)) {
      if (pattern.strShadowedBy.empty()) continue;
      Add(mapLines[pattern.strSource], XSeverity::eSevWarning,
          "the pattern " + Quoted(pattern.strSource) + " is never used: " + Quoted(pattern.strShadowedBy) + " (line " +
              std::to_string(mapLines[pattern.strShadowedBy]) + ") matches the same texts first");
    }
  }

  // A line feed at the start or end of the source is layout the translation must keep.
  void LineFeedsCheck(const XCatEntry& entry) {
    const XString& s = entry.strSource;
    const XString& t = entry.strTransl;
    if ((s.front() == XChar('\n')) != (t.front() == XChar('\n')))
      Add(entry.nTranslLine, XSeverity::eSevWarning,
          std::string(s.front() == XChar('\n') ? "the source starts with \\n but the translation does not"
                                               : "the translation starts with \\n but the source does not"));
    if ((s.back() == XChar('\n')) != (t.back() == XChar('\n')))
      Add(entry.nTranslLine, XSeverity::eSevWarning,
          std::string(s.back() == XChar('\n') ? "the source ends with \\n but the translation does not"
                                              : "the translation ends with \\n but the source does not"));
  }

  const XCatalog& m_cat;
  std::vector<XFinding> m_vecFindings;
  std::map<std::pair<unsigned, XString>, const XCatEntry*> m_mapSources;
  std::map<XString, const XCatEntry*> m_mapTranslations;
};

}  // namespace

void CatalogCheck(const XCatalog& cat, const std::string& strFile, XDiag& diag) {
  for (const XFinding& finding : XChecker(cat).Run())
    diag.Report(finding.eSeverity, strFile, finding.nLine, finding.strText);
}

}  // namespace rlgtool
