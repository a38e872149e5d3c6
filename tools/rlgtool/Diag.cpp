// Compiler-style messages and their counts.
#include "Diag.h"

#include <cstdlib>

#include <unistd.h>

namespace rlgtool {

namespace {

const char* const kBold = "\x1b[1m";
const char* const kReset = "\x1b[0m";

const char* SeverityName(XSeverity eSeverity) {
  switch (eSeverity) {
    case XSeverity::eSevError:
      return "error";
    case XSeverity::eSevWarning:
      return "warning";
    case XSeverity::eSevNote:
      break;
  }
  return "note";
}

const char* SeverityColor(XSeverity eSeverity) {
  switch (eSeverity) {
    case XSeverity::eSevError:
      return "\x1b[1;31m";
    case XSeverity::eSevWarning:
      return "\x1b[1;35m";
    case XSeverity::eSevNote:
      break;
  }
  return "\x1b[1;36m";
}

std::string Plural(int n, const char* pszWord) { return std::to_string(n) + " " + pszWord + (n == 1 ? "" : "s"); }

}  // namespace

XDiag::XDiag(std::FILE* pFile, bool bColor, bool bStrict) : m_pFile(pFile), m_bColor(bColor), m_bStrict(bStrict) {}

XDiag::XDiag(std::string* pstrOut, bool bStrict)
    : m_pFile(nullptr), m_pstrOut(pstrOut), m_bColor(false), m_bStrict(bStrict) {}

void XDiag::Report(XSeverity eSeverity, const std::string& strFile, int nLine, const std::string& strText) {
  if (m_bStrict && eSeverity == XSeverity::eSevWarning) eSeverity = XSeverity::eSevError;
  if (eSeverity == XSeverity::eSevError) ++m_nErrors;
  if (eSeverity == XSeverity::eSevWarning) ++m_nWarnings;

  std::string strWhere = strFile.empty() ? "rlgtool" : strFile;
  if (nLine > 0) strWhere += ":" + std::to_string(nLine);
  std::string strLine;
  if (m_bColor)
    strLine = std::string(kBold) + strWhere + ":" + kReset + " " + SeverityColor(eSeverity) + SeverityName(eSeverity) +
              ":" + kReset + " " + strText + "\n";
  else
    strLine = strWhere + ": " + SeverityName(eSeverity) + ": " + strText + "\n";
  if (m_pstrOut != nullptr)
    *m_pstrOut += strLine;
  else
    std::fputs(strLine.c_str(), m_pFile);
}

std::string XDiag::SummaryText() const {
  if (m_nErrors == 0 && m_nWarnings == 0) return "no problems";
  if (m_nWarnings == 0) return Plural(m_nErrors, "error");
  if (m_nErrors == 0) return Plural(m_nWarnings, "warning");
  return Plural(m_nErrors, "error") + ", " + Plural(m_nWarnings, "warning");
}

bool ColorWanted(const std::string& strWhen) {
  if (strWhen == "always") return true;
  if (strWhen == "never") return false;
  const char* pszNoColor = std::getenv("NO_COLOR");
  if (pszNoColor != nullptr && *pszNoColor != '\0') return false;
  return isatty(2) != 0;
}

}  // namespace rlgtool
