// XLMTranslDict: the translations of one language, read from catalog (RLG)
// files. It translates texts, retranslates translated texts back to their
// source, and translates numeric resource identifiers; it also rewrites whole
// menus and windows in place.
//
// What a caller may rely on:
// - A dictionary is valid exactly when LangID() is not 0; an invalid one
//   misses every lookup, whatever entries it holds.
// - Texts are compared exactly, code unit by code unit: "Open", "open",
//   "&Open", "Open " and "Open..." are five different keys.
// - Lookups return pointers into the dictionary's own storage (or, for a text
//   found by pattern, into a pool of the last 55 such results). A pointer
//   stays valid until its entry is overwritten by a new insertion under the
//   same key, or the dictionary is emptied, assigned to or destroyed; other
//   insertions and moving the dictionary object do not end it.
// - Check... lookups give null on a miss, String... lookups give the caller's
//   own pointer back.
// - Assigning a dictionary to itself leaves it unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "colang/XString.h"
#include "colang/platform/Export.h"
#include "colang/platform/Win32.h"

class XIntlStdioFile;
struct IQV_SessionDataMng;
namespace colang::detail {
struct XPairBatch;
}
struct XLMTranslDictAccess;

class COLANG_API XLMTranslDict {
 public:
  // Text keys order ordinally; std::less<> lets a lookup use the caller's text
  // as a view, so a hit allocates nothing.
  using XMapTransl = std::map<XString, XString, std::less<>>;
  using XMapIdTransl = std::map<unsigned int, XString>;
  using XVecFiles = std::vector<XString>;

  // Empty and not valid, no default directory.
  XLMTranslDict();
  // Same language, files and entries as other; the default directory starts empty.
  XLMTranslDict(const XLMTranslDict& other);
  // Reads the named catalog (completed and searched as RLGFileRead does);
  // when that fails the dictionary is empty and not valid.
  explicit XLMTranslDict(const XChar* pszRLGFilename);
  // Takes other's language, files and entries without copying them: texts
  // handed out by other stay valid and now belong to this dictionary. other
  // is left empty and not valid; its default directory stays with it.
  XLMTranslDict(XLMTranslDict&& other) noexcept;
  virtual ~XLMTranslDict();
  // Takes other's language, files and entries; keeps this default directory.
  const XLMTranslDict& operator=(const XLMTranslDict& other);
  // As the move constructor; this default directory stays.
  const XLMTranslDict& operator=(XLMTranslDict&& other) noexcept;

  // Forgets all entries, files and the language; keeps the default directory.
  void Empty();
  bool IsValid() const { return m_nLangID != 0; }
  int LangID() const { return m_nLangID; }
  // Stores any value, 0 included; entries stay.
  void LangIDSet(int nLangID);
  // Paths of the catalogs read, in reading order.
  const XVecFiles& RLGFilesLoaded() const { return m_vecRLGFilesLoaded; }

  // Translation of a text, by entry and else by pattern; null on a miss, for
  // a null text, or when the dictionary is not valid.
  const XChar* CheckTranslate(const XChar* pszText) const;
  // Translation of a resource identifier; null on a miss. No pattern step.
  const XChar* CheckTranslate(unsigned int nID) const;
  // Source text of a translated text; null on a miss. No pattern step.
  const XChar* CheckRetranslate(const XChar* pszText) const;
  // CheckTranslate, or pszText itself on a miss.
  const XChar* StringTranslate(const XChar* pszText) const;
  // CheckRetranslate, or pszText itself on a miss.
  const XChar* StringRetranslate(const XChar* pszText) const;

  // Reads a catalog; bAppend false replaces the contents, true adds to them.
  // The name may lack directory, language digits and extension. True also
  // when this dictionary has read the file already (it is not read again).
  bool RLGFileRead(const XChar* pszRLGFilename, bool bAppend);
  // Opens exactly pszFilename and checks its header. strPath receives the
  // file's path once it is open, is emptied when it cannot be opened, and is
  // untouched for a null name.
  static bool RLGFileCheck(XString& strPath, const XChar* pszFilename);

  // dir + "\" + prefix + four lower-case hex digits + ".rlg"; empty for a null
  // prefix or an identifier of 0 or less; a null or empty dir gives ".\".
  static XString RLGFilenameGen(const XChar* pszDir, const XChar* pszPrefix, int nLangID);
  // Completes a partial name with this dictionary's language and default
  // directory and searches for it; false (output untouched) for a null name,
  // or a name without language digits when this dictionary has no language.
  bool RLGFilenameComplete(XString& strOut, const XChar* pszFilename) const;
  // True, and the identifier stored, when the name carries one above 0.
  static bool RLGFilenameCheck(int& nLangID, const XChar* pszFilename);
  // The identifier at the end of the name's base name, or 0.
  static int LangIDFromFilename(const XChar* pszFilename);
  // Whether the completed name is one of the files read; pnIndex (optional)
  // receives its position in RLGFilesLoaded().
  bool RLGFileLoadedSearch(const XChar* pszFilename, unsigned* pnIndex = nullptr) const;
  // Directory for completing bare names; a final separator is added. Null
  // keeps the old directory, an empty one clears it.
  void SetDefaultDir(const XChar* pszDir);

  // The search path's settings directory, as taken from the host.
  static const XString& RLGPathGet();
  // Takes the settings directory from the host's session data; false (and
  // nothing changed) for a null manager or a failed query.
  static bool RLGPathInitialize(IQV_SessionDataMng* pSessionDataMng);

  // Rewrite every item of the menu and its submenus with its translation
  // (or retranslation). A handle that is not a menu is left alone.
  void MenuTranslate(HMENU hMenu) const;
  void MenuRetranslate(HMENU hMenu) const;
  // Rewrite the window's menu bar, caption and the texts of all windows below
  // it except edit controls. A handle that is not a window is left alone.
  void WindowTranslate(HWND hWnd) const;
  void WindowRetranslate(HWND hWnd) const;

 private:
  friend struct XLMTranslDictAccess;

  const XLMTranslDict& Assign(const XLMTranslDict& other);
  void PairInsert(const XChar* pszSource, const XChar* pszTransl);
  void PairInsert(unsigned int nID, const XChar* pszTransl);
  // Inserts every pair of a batch as PairInsert would one after the other,
  // in fewer steps: each map is filled in key order.
  void PairsInsert(const colang::detail::XPairBatch& batch);
  static bool AuxRLGFileOpen(XString& strPath, XIntlStdioFile& file, const XChar* pszFilename);

  // A hash index beside a text map: exact lookups in constant time. Its
  // slots point at the characters of the map's keys and values, which stay
  // where they are while the entries are in the map (moving the map moves
  // them along); a value that is replaced is pointed at anew.
  class XTextIndex {
   public:
    // The hash of a text, as the members below expect it.
    static std::size_t TextHash(XStringView text);
    // The same for a zero-terminated text, whose length it stores in nLength.
    static std::size_t TextHash(const XChar* pszText, std::size_t& nLength);
    // The characters of the value stored under text, or null.
    const XChar* Find(XStringView text, std::size_t nHash) const;
    // Indexes an entry whose key is not indexed yet.
    void Add(const XMapTransl::value_type& entry, std::size_t nHash);
    // Points an indexed key at its entry's value again, after the value changed.
    void ValueUpdate(const XMapTransl::value_type& entry, std::size_t nHash);
    // Makes room for nMore further entries, so that adding them moves nothing.
    void Reserve(std::size_t nMore);
    // Indexes every entry of map, forgetting what was indexed before.
    void Rebuild(const XMapTransl& map);
    // Forgets every entry and releases the slots.
    void Clear();

   private:
    struct XSlot {
      std::uint32_t nTag;     // the low half of the key's hash
      std::uint32_t nLength;  // the key's length, saturated: a filter only
      const XChar* pszKey;    // null: the slot is free
      const XChar* pszValue;
    };
    XSlot* SlotFind(XStringView text, std::size_t nHash) const;
    void SlotsResize(std::size_t nSlots);

    std::vector<XSlot> m_vecSlots;  // a power of two in size, or empty
    std::size_t m_nCount = 0;
  };
  // Looks text up in one map through its index.
  static const XChar* TextFind(const XTextIndex& index, const XChar* pszText);
  // Replaces the value under the key, or inserts the entry and indexes it.
  static void TextStore(XMapTransl& map, XTextIndex& index, const XChar* pszKey, const XChar* pszValue);
  // Stores the pairs of a batch in one map, keyed by their source texts
  // (bBySource) or by their translations.
  static void TextBatchStore(XMapTransl& map, XTextIndex& index, const colang::detail::XPairBatch& batch,
                             bool bBySource);

  int m_nLangID;
  XMapTransl m_mapTransl;
  XMapTransl m_mapRetransl;
  XMapIdTransl m_mapIdTransl;
  XVecFiles m_vecRLGFilesLoaded;
  XString m_strDefaultDir;
  XTextIndex m_idxTransl;    // over the keys of m_mapTransl
  XTextIndex m_idxRetransl;  // over the keys of m_mapRetransl

  static XString m_strRLGPath;
};
