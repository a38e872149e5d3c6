// The log of untranslated texts: while it runs, every distinct text that a
// dictionary could not translate, with where it was seen (a plain text, a
// menu, a window and its class), is kept and finally written as a catalog a
// translator can fill in. When it does not run, a missed lookup pays one test
// of a null pointer.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "colang/XString.h"

namespace colang::detail {

class XUntranslatedLog {
 public:
  explicit XUntranslatedLog(XString strPath) : m_strPath(std::move(strPath)) {}
  // A log still running when the library is unloaded is written then.
  ~XUntranslatedLog();
  XUntranslatedLog(const XUntranslatedLog&) = delete;
  XUntranslatedLog& operator=(const XUntranslatedLog&) = delete;

  // Keeps the text (not empty) missed by a dictionary of language nLangID.
  void Record(const XChar* pszText, int nLangID);
  // Writes the file: a PO template when the path ends in ".po" (where each
  // text was seen goes into its comments), else a catalog whose every entry
  // translates a text to itself, so that loading it unfilled changes nothing.
  // False when the file cannot be written.
  bool Write();

 private:
  XString m_strPath;
  int m_nLangID = 0;
  bool m_bWritten = false;
  std::map<XString, std::set<XString>> m_mapTexts;  // text -> where it was seen
};

// Where the text now being looked up comes from, for the log; null for a
// plain text. Set for the length of a menu or window translation.
class XUntranslatedOrigin {
 public:
  explicit XUntranslatedOrigin(const XChar* pszOrigin);
  ~XUntranslatedOrigin();
  XUntranslatedOrigin(const XUntranslatedOrigin&) = delete;
  XUntranslatedOrigin& operator=(const XUntranslatedOrigin&) = delete;

 private:
  const XChar* m_pszSaved;
};

// Whether the log runs (so that callers build an origin text only then).
bool UntranslatedLogActive();

}  // namespace colang::detail
