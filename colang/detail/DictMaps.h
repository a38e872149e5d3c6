// The maps of a dictionary: texts to texts, with a hash index beside the
// entries, and identifiers to texts. Only the library's own sources and its
// tests and tools see them; a dictionary holds them in place
// (XLMTranslDict's XInPlace members), made and unmade here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/XString.h"
#include "colang/platform/Memory.h"

namespace colang::detail {
struct XPairBatch;
class XCompiled;
}  // namespace colang::detail

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
  // walked (XTextMap::OrderEnsure), and a map answered by a compiled catalog
  // makes its entries when first walked (CompiledLeave).
  mutable XBulkVector<Entry> m_vecEntries;
  mutable std::vector<XTextBlock> m_vecBlocks;
  // The compiled catalog that answers this map while it has no entries of
  // its own, or null.
  mutable std::shared_ptr<const colang::detail::XCompiled> m_pCompiled;
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
// without an index: the first use of any kind settles it. A load from a
// compiled catalog leaves the map to the catalog's index, which answers
// lookups in place; the first use other than a lookup makes the entries.
class XTextMap : public XEntryArray<XTextEntry> {
 public:
  const_iterator begin() const {
    OrderEnsure();
    return XEntryArray::begin();
  }
  const_iterator end() const {
    OrderEnsure();
    return XEntryArray::end();
  }
  // How many entries; a compiled catalog's index tells without a walk.
  std::size_t size() const;
  bool empty() const { return size() == 0; }
  // The entries as they lie, which after a load may be reading order: for a
  // walk that does not need key order and should not pay for it.
  const XEntryArray<XTextEntry>& AsStored() const {
    SettledEnsure();
    return *this;
  }
  // The entries whose key holds a "%", in no particular order: what pattern
  // translation looks at. A compiled catalog has them listed.
  std::vector<XTextEntry> PercentEntries() const;
  // The 64-bit hash of a text, which the indexes (and compiled catalogs) place
  // keys by; the second form finds the text's zero on the way.
  static std::uint64_t TextHash(XStringView text);
  static std::uint64_t TextHash(const XChar* pszText, std::size_t& nLength);
  // The value stored under the text, or null; a zero-terminated text is read
  // only once. Never fails: without memory for an index, a map that has none
  // yet is searched by halves.
  const XChar* Find(XStringView text) const;
  const XChar* Find(const XChar* pszText) const;
  // The same, giving the text's length (up to its zero) on the way.
  const XChar* Find(const XChar* pszText, std::size_t& nLength) const;
  // The same entries, texts compared by content.
  friend bool operator==(const XTextMap& a, const XTextMap& b);
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

  // The part of a key's hash that the index keeps, and places the key by.
  static std::uint32_t KeyTag(XStringView key) { return static_cast<std::uint32_t>(TextHash(key)); }
  XSlot* SlotFind(XStringView text, std::uint64_t nHash) const;
  const XChar* ValueFind(XStringView text, std::uint64_t nHash) const;
  // ValueFind for a map without an index: settles it first.
  const XChar* UnindexedFind(XStringView text, std::uint64_t nHash) const;
  // A table of nSlots free slots.
  static XBulkVector<XSlot> SlotsFree(std::size_t nSlots);
  // Puts an entry that is not indexed yet into a slot; the table has room.
  void SlotAdd(const XTextEntry& entry, std::uint64_t nHash) noexcept;
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
  void SettledEnsure() const {
    if (m_pCompiled != nullptr) CompiledLeave();
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
  // Leaves the map to the compiled catalog's index (bReverse: its
  // retranslation index); the map had no entries.
  void CompiledTake(const std::shared_ptr<const colang::detail::XCompiled>& pCompiled, bool bReverse) noexcept;
  // Makes the entries of a map that a compiled catalog answers, unsettled,
  // and lets go of the catalog; out of memory, the map stays as it was.
  void CompiledLeave() const;

  // A power of two in size, at most half full; empty while the map is, or
  // unsettled, or settled without memory for it.
  mutable XBulkVector<XSlot> m_vecSlots;
  mutable bool m_bOrdered = true;  // the entries are in key order
  mutable bool m_bSettled = true;  // one entry per key, and indexed if memory allowed
  bool m_bReverse = false;         // a compiled catalog answers with its retranslation index
};

// An entry of the identifier map: a resource identifier and its translation.
struct XIdEntry {
  unsigned int first;
  XStringView second;
};

// An ordered map from resource identifier to text, ascending by identifier;
// lookups search the array by halves.
class XIdMap : public XEntryArray<XIdEntry> {
 public:
  const_iterator begin() const {
    CompiledEnsure();
    return XEntryArray::begin();
  }
  const_iterator end() const {
    CompiledEnsure();
    return XEntryArray::end();
  }
  std::size_t size() const;
  bool empty() const { return size() == 0; }
  // The value stored under the identifier, or null.
  const XChar* Find(unsigned int nID) const;
  friend bool operator==(const XIdMap& a, const XIdMap& b);
  friend bool operator!=(const XIdMap& a, const XIdMap& b) { return !(a == b); }

 private:
  friend class XLMTranslDict;
  XIdMap Merged(const XBulkVector<XIdEntry>& vecNew, const std::vector<XTextBlock>& vecBlocks) const;
  void StoreReserve();
  void Store(const XIdEntry& entry, const XTextBlock& block) noexcept;
  void Clear() noexcept;
  // As for the text map: a compiled catalog answers until the first walk.
  void CompiledTake(const std::shared_ptr<const colang::detail::XCompiled>& pCompiled) noexcept;
  void CompiledEnsure() const {
    if (m_pCompiled != nullptr) CompiledLeave();
  }
  void CompiledLeave() const;
};

namespace colang::detail {

template <typename T, std::size_t nWords>
XInPlace<T, nWords>::XInPlace() {
  static_assert(sizeof(T) <= sizeof(m_aStorage) && alignof(T) <= alignof(void*),
                "the room held for a map in XLMTranslDict (colang/LMTranslDict.h) is too small");
  ::new (static_cast<void*>(m_aStorage)) T();
}

template <typename T, std::size_t nWords>
XInPlace<T, nWords>::~XInPlace() {
  (**this).~T();
}

}  // namespace colang::detail
