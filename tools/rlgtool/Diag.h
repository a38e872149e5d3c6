// Compiler-style messages on standard error: "file:line: error: text", with
// counts for the closing summary line. Color only when asked for (or when
// standard error is a terminal and NO_COLOR is not set).
#pragma once

#include <cstdio>
#include <string>

namespace rlgtool {

enum class XSeverity { eSevError, eSevWarning, eSevNote };

class XDiag {
 public:
  // Messages go to pFile; bStrict reports warnings as errors.
  XDiag(std::FILE* pFile, bool bColor, bool bStrict);
  // Messages are appended to *pstrOut, without color.
  XDiag(std::string* pstrOut, bool bStrict);

  // One message. nLine 0 leaves the line out ("file: error: text"); an empty
  // file name gives "rlgtool: error: text".
  void Report(XSeverity eSeverity, const std::string& strFile, int nLine, const std::string& strText);
  void Error(const std::string& strFile, int nLine, const std::string& strText) {
    Report(XSeverity::eSevError, strFile, nLine, strText);
  }
  void Warning(const std::string& strFile, int nLine, const std::string& strText) {
    Report(XSeverity::eSevWarning, strFile, nLine, strText);
  }
  void Note(const std::string& strFile, int nLine, const std::string& strText) {
    Report(XSeverity::eSevNote, strFile, nLine, strText);
  }

  int ErrorCount() const { return m_nErrors; }
  int WarningCount() const { return m_nWarnings; }
  // "2 errors, 1 warning", or "no problems" when there were none.
  std::string SummaryText() const;

 private:
  std::FILE* m_pFile;
  std::string* m_pstrOut = nullptr;
  bool m_bColor;
  bool m_bStrict;
  int m_nErrors = 0;
  int m_nWarnings = 0;
};

// Whether messages to standard error should be colored: strWhen is "auto",
// "always" or "never"; auto means a terminal and no NO_COLOR in the environment.
bool ColorWanted(const std::string& strWhen);

}  // namespace rlgtool
