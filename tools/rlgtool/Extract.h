// From resources to catalog entries: the texts of one language (each
// translating to itself), or the texts of one language paired with those of
// another, and the catalog or PO file made of them.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Diag.h"
#include "RcScript.h"
#include "Resources.h"

namespace rlgtool {

// Reads the resources of a program or library (PE), a .res file or a
// resource script, told apart by their first bytes. Errors go to diag and
// give false. ResourcesParse takes the file's bytes.
bool ResourcesRead(const std::string& strPath, const XRcOptions& options, XDiag& diag, XResFile& out);
bool ResourcesParse(const std::string& strPath, std::string_view bytes, const XRcOptions& options, XDiag& diag,
                    XResFile& out);

// How string-table entries are written: as identifier entries (#1234), as
// text entries, or as both.
enum class XStringsAs { eIds, eTexts, eBoth };

// One entry of the output: a text (nID 0) or a string-table identifier, its
// translation, and where it was found.
struct XExtractEntry {
  unsigned nID = 0;
  XString strSource;
  XString strTransl;
  std::vector<std::string> vecRefs;      // "app.exe:MENU:101", "app.rc:12"
  std::vector<std::string> vecComments;  // "dialog IDD_FIND, control IDC_CASE"
};

struct XSlot;  // a text's place in a resource

class XExtractor {
 public:
  // bSites keeps where each text was found (references and comments), for a PO file.
  XExtractor(XStringsAs eStrings, bool bSites, XDiag& diag) : m_eStrings(eStrings), m_bSites(bSites), m_diag(diag) {}

  // The texts that file shows in language nLang, each translating to itself.
  void TextsAdd(const XResFile& file, unsigned nLang);
  // The texts of language nSrc translated by those of nDst: menu items by
  // position, dialog controls by identifier (by position among those without
  // one), strings by identifier. A menu or dialog whose structure differs
  // between the two is reported and left out, as are resources and strings
  // without a nDst version.
  void PairsAdd(const XResFile& file, unsigned nSrc, unsigned nDst);

  // The entries in the order they were first found. A source with several
  // translations is reported; the one found most often (the first of them
  // on a tie) is kept, and the others are named in the entry's comments.
  std::vector<XExtractEntry> Entries();

 private:
  static constexpr size_t kMaxCandidates = 16;  // translations of one text that are told apart
  struct XCandidate {
    XString strTransl;
    size_t nPlaces;                                        // texts that give this translation
    std::vector<std::pair<size_t, std::string>> vecWhere;  // the first inputs and resources that give it
    bool bMoreWhere;
  };
  struct XCollected {
    XExtractEntry entry;
    size_t nFile = 0;  // the input it was first found in
    std::vector<XCandidate> vecCandidates;
    size_t nMoreCandidates = 0;  // translations beyond kMaxCandidates
  };

  // Adds a text of a resource as the entries that --strings asks for; a
  // text that a catalog cannot hold is reported and left out.
  void SlotAdd(size_t nFile, const XResFile& file, const XResource& res, const XSlot& slot, XStringView source,
               XStringView transl);
  void Add(unsigned nID, XStringView source, XStringView transl, size_t nFile, const XResFile& file,
           const XResource& res, const XSlot& slot);

  XStringsAs m_eStrings;
  bool m_bSites;
  XDiag& m_diag;
  std::vector<std::string> m_vecFiles;  // the inputs, in the order they were added
  std::vector<XCollected> m_vecCollected;
  std::unordered_map<XString, size_t> m_mapTexts;  // text -> its entry
  std::unordered_map<unsigned, size_t> m_mapIDs;   // identifier -> its entry
  std::unordered_set<std::string> m_setSites;      // entry, kind and text of each reference and comment
};

// The lines of the catalog for language nTarget.
std::vector<XString> ExtractCatalog(const std::vector<XExtractEntry>& vecEntries, unsigned nTarget);
// The PO file: a template (empty translations) when bTemplate, else a PO
// file for language nTarget. strProject names the program.
std::string ExtractPo(const std::vector<XExtractEntry>& vecEntries, bool bTemplate, unsigned nTarget,
                      const std::string& strProject);

// What --list prints for a file: its kind, then per language the number of
// menus, dialogs, strings, texts and other resources.
std::string ExtractList(const XResFile& file);

}  // namespace rlgtool
