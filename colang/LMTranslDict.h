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
#include <memory>
#include <vector>

#include "colang/XString.h"
#include "colang/platform/Export.h"
#include "colang/platform/Memory.h"
#include "colang/platform/Win32.h"

class XIntlStdioFile;
struct IQV_SessionDataMng;
namespace colang::detail {
struct XPairBatch;
}
struct XLMTranslDictAccess;
class XLMTranslDict;

// The texts of a dictionary's entries lie in blocks, each text followed by a
// zero. A block never changes once written and is shared by every map that
// points into it; it goes when the last of them lets go of it. So a text
// stays where it is while any map holds it, whatever else is inserted, and
// copying a map copies no text.
using XTextBlock = std::shared_ptr<const XChar[]>;

// The arrays of the maps, which are large and written in full when made.
template <typename T>
using XBulkVector = std::vector<T, colang::platform::XBulkAllocator<T>>;

// The entries of a map in one array, in key order, and the blocks their
// texts lie in; a walk reads memory in order.
template <typename Entry>
class XEntryArray {
 public:
  using value_type = Entry;
  using const_iterator = const Entry*;
  const_iterator begin() const { return m_vecEntries.data(); }
  const_iterator end() const { return m_vecEntries.data() + m_vecEntries.size(); }
  std::size_t size() const { return m_vecEntries.size(); }
  bool empty() const { return m_vecEntries.empty(); }

 protected:
  // Mutable: a text map may put its entries in order when they are first
  // walked (XTextMap::OrderEnsure).
  mutable XBulkVector<Entry> m_vecEntries;
  std::vector<XTextBlock> m_vecBlocks;
};

// An entry of a text map: key and value, each zero-terminated where its
// view ends.
struct XTextEntry {
  XStringView first;
  XStringView second;
};

// An ordered map from text to text: one entry per key, in ascending order of
// the keys compared ordinally, code unit by code unit (a proper prefix
// first). A hash index beside the entries answers exact lookups without a
// search. Only the dictionary changes a map. A map that is looked up but
// never walked need not be in order: a load may leave its entries in
// reading order, and the first walk puts them in key order. A load may
// even leave a map as the pairs were read, a key perhaps more than once,
// without an index: the first use of any kind settles it.
class COLANG_API XTextMap : public XEntryArray<XTextEntry> {
 public:
  const_iterator begin() const {
    OrderEnsure();
    return XEntryArray::begin();
  }
  const_iterator end() const {
    OrderEnsure();
    return XEntryArray::end();
  }
  std::size_t size() const {
    SettledEnsure();
    return XEntryArray::size();
  }
  // The entries as they lie, which after a load may be reading order: for a
  // walk that does not need key order and should not pay for it.
  const XEntryArray<XTextEntry>& AsStored() const {
    SettledEnsure();
    return *this;
  }
  // The value stored under the text, or null; a zero-terminated text is read
  // only once. Never fails: without memory for an index, a map that has none
  // yet is searched by halves.
  const XChar* Find(XStringView text) const;
  const XChar* Find(const XChar* pszText) const;
  // The same, giving the text's length (up to its zero) on the way.
  const XChar* Find(const XChar* pszText, std::size_t& nLength) const;
  // The same entries, texts compared by content.
  friend COLANG_API bool operator==(const XTextMap& a, const XTextMap& b);
  friend bool operator!=(const XTextMap& a, const XTextMap& b) { return !(a == b); }

 private:
  friend class XLMTranslDict;
  friend struct colang::detail::XPairBatch;
  // A slot of the index: part of the key's hash, the key's length (a filter
  // only, saturated) and the characters of the key and of its value, so that
  // a hit reads the slot and the key, and a miss mostly the slot alone.
  struct XSlot {
    std::uint32_t nTag;
    std::uint32_t nLength;
    const XChar* pszKey;  // null: the slot is free
    const XChar* pszValue;
  };

  static std::size_t TextHash(XStringView text);
  static std::size_t TextHash(const XChar* pszText, std::size_t& nLength);
  // The part of a key's hash that the index keeps, and places the key by.
  static std::uint32_t KeyTag(XStringView key) { return static_cast<std::uint32_t>(TextHash(key)); }
  XSlot* SlotFind(XStringView text, std::size_t nHash) const;
  const XChar* ValueFind(XStringView text, std::size_t nHash) const;
  // ValueFind for a map without an index: settles it first.
  const XChar* UnindexedFind(XStringView text, std::size_t nHash) const;
  // A table of nSlots free slots.
  static XBulkVector<XSlot> SlotsFree(std::size_t nSlots);
  // Puts an entry that is not indexed yet into a slot; the table has room.
  void SlotAdd(const XTextEntry& entry, std::size_t nHash) noexcept;
  // Indexes every entry anew in a table sized for nEntries; pHashes, when
  // given, holds the hash of each entry's key.
  void IndexBuild(std::size_t nEntries, const std::uint32_t* pHashes = nullptr);

  // This map with the batch's pairs stored in it (keyed by their source
  // texts, or by their translations when bReversed; in reading order: of
  // one key the last wins, over an entry already here too), and the blocks
  // they lie in kept. This map is not changed.
  // An empty map gathers the pairs in reading order instead, which the
  // first walk puts in order: keyed by source, it takes the batch's array of
  // pairs over, so the batch serves no other map after it; keyed by
  // translation, it keeps them unsettled (Kept), as many hosts never
  // retranslate.
  XTextMap Merged(colang::detail::XPairBatch& batch, bool bReversed) const;
  XTextMap Gathered(colang::detail::XPairBatch& batch) const;
  // Indexes the entries, in reading order, into the free slots of the
  // table, and closes them up in place: of a key read again, the first entry
  // stays and takes the value of the last. pTags[k] is the tag of the k-th
  // entry's key. Allocates nothing.
  void EntriesGather(const std::uint32_t* pTags) const noexcept;
  // The batch's pairs as they were read, unsettled: no index yet, and a key
  // read again is there again (the last one counts). The batch stays whole.
  static XTextMap Kept(const colang::detail::XPairBatch& batch, bool bReversed);
  // Builds the index of an unsettled map and keeps one entry per key, in
  // reading order. Without memory for the index, the entries are put in key
  // order instead, with no memory needed, and lookups search them by halves.
  void SettledEnsure() const noexcept {
    if (!m_bSettled) Settle();
  }
  void Settle() const noexcept;
  // Puts the entries in key order if a load left them in reading order.
  void OrderEnsure() const {
    SettledEnsure();
    if (!m_bOrdered) EntriesOrder();
  }
  void EntriesOrder() const;
  // Makes room for one more entry and one more block, so that Store cannot
  // fail; nothing observable changes.
  void StoreReserve();
  // Replaces the value under the key, or inserts the entry, after StoreReserve.
  void Store(const XTextEntry& entry, const XTextBlock& block) noexcept;
  void Clear() noexcept;

  // A power of two in size, at most half full; empty while the map is, or
  // unsettled, or settled without memory for it.
  mutable XBulkVector<XSlot> m_vecSlots;
  mutable bool m_bOrdered = true;  // the entries are in key order
  mutable bool m_bSettled = true;  // one entry per key, and indexed if memory allowed
};

// An entry of the identifier map: a resource identifier and its translation.
struct XIdEntry {
  unsigned int first;
  XStringView second;
};

// An ordered map from resource identifier to text, ascending by identifier;
// lookups search the array by halves.
class COLANG_API XIdMap : public XEntryArray<XIdEntry> {
 public:
  // The value stored under the identifier, or null.
  const XChar* Find(unsigned int nID) const;
  friend COLANG_API bool operator==(const XIdMap& a, const XIdMap& b);
  friend bool operator!=(const XIdMap& a, const XIdMap& b) { return !(a == b); }

 private:
  friend class XLMTranslDict;
  XIdMap Merged(const XBulkVector<XIdEntry>& vecNew, const std::vector<XTextBlock>& vecBlocks) const;
  void StoreReserve();
  void Store(const XIdEntry& entry, const XTextBlock& block) noexcept;
  void Clear() noexcept;
};

class COLANG_API XLMTranslDict {
 public:
  using XMapTransl = XTextMap;
  using XMapIdTransl = XIdMap;
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
  // Source text of a translated text; null on a miss. No pattern step. The
  // first use of the retranslations after a load builds their index (some
  // 3 ms for 100,000 entries), which hosts that never retranslate are spared.
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
  // in fewer steps; the maps keep the batch's blocks and may take its
  // arrays. Running out of memory leaves the dictionary as it was.
  void PairsInsert(colang::detail::XPairBatch& batch);
  static bool AuxRLGFileOpen(XString& strPath, XIntlStdioFile& file, const XChar* pszFilename);

  int m_nLangID;
  XMapTransl m_mapTransl;
  XMapTransl m_mapRetransl;
  XMapIdTransl m_mapIdTransl;
  XVecFiles m_vecRLGFilesLoaded;
  XString m_strDefaultDir;

  static XString m_strRLGPath;
};
