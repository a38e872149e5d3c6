// Carrying a catalog's translations to the next version of its application:
// the entries of a template (what the application shows now) take the
// translations of an old catalog, by text or by resource identifier, and
// texts that changed only in their mnemonic, accelerator, ellipsis, colon or
// white space take an adapted translation, marked fuzzy.
#pragma once

#include <string>
#include <vector>

#include "Diag.h"
#include "Po.h"

namespace rlgtool {

// An entry of a catalog or a PO file as merge and pseudo take it.
struct XTextEntry {
  unsigned nID = 0;      // resource identifier, 0 for a text
  int nBlankBefore = 0;  // catalog layout
  XString strSource;     // the text, or the identifier line ("#1001")
  XString strTransl;     // empty when untranslated
  bool bFuzzy = false;
  XString strFuzzyFrom;                  // the old source a fuzzy translation was made for
  std::vector<std::string> vecComments;  // PO "#." and "#:" lines
};

// The entries of a catalog (.rlg) or a PO file, and the catalog header they
// come with. nLangID (0 for none) names the language of a PO file that does
// not name it itself; bNeedLanguage false accepts a file without one, as a
// template is. Gives an exit status, eExitOk when read.
struct XTextSet {
  bool bPo = false;
  XCatHeader header;
  int nLangID = 0;
  std::vector<XTextEntry> vecEntries;
};
int TextSetRead(const std::string& strPath, int nLangID, bool bNeedLanguage, XDiag& diag, XTextSet& out);

// A user-interface text split into the parts merge adapts: "  &Open...\tCtrl+O"
// is white space, the letters with the mnemonic's place, the ending, and the
// accelerator after the tab.
struct XLabel {
  XString strLead;
  XString strCore;     // without the mnemonic's "&" ("&&" stays)
  int nMnemonic = -1;  // index in strCore of the mnemonic letter, -1 for none
  XString strEnd;      // "...", "…" or ":", with the blanks before it
  XString strTrail;
  bool bAccel = false;  // a tab, and the accelerator after it
  XString strAccel;
};
XLabel LabelSplit(XStringView text);
XString LabelJoin(const XLabel& label);

// The translation of oldSource adapted to newSource, which differs from it
// only in the parts of XLabel other than strCore.
XString TranslationAdapt(XStringView oldSource, XStringView oldTransl, XStringView newSource);

struct XMergeResult {
  std::vector<XTextEntry> vecEntries;   // the template's entries with their translations
  std::vector<XTextEntry> vecObsolete;  // old entries the template no longer has
  int nKept = 0;
  int nFuzzy = 0;
  int nNew = 0;
};

// Merges. New entries keep strTransl empty. A template's identifier entry
// carries the text it stands for as its translation (a catalog skeleton's
// form); an old identifier entry whose translation belongs to another text
// of the old catalog has been renumbered, and is not carried.
XMergeResult Merge(const std::vector<XTextEntry>& vecOld, const std::vector<XTextEntry>& vecTemplate);

// Writes entries as a catalog, or as a PO file when strOut ends in .po or
// .pot, with vecObsolete as "#~" entries (in a catalog: at the end, when
// bKeepObsolete). pvecLines receives the line of each entry's source.
// Gives an exit status.
int TextSetWrite(const std::string& strOut, const XTextSet& set, const std::vector<XTextEntry>& vecObsolete,
                 bool bKeepObsolete, XDiag& diag, std::vector<int>* pvecLines = nullptr);

// Whether the file name ends in .po or .pot, in any case.
bool IsPoName(const std::string& strPath);

}  // namespace rlgtool
