// The dictionary's maps: a text map is an array of entries with a hash index
// beside it (open addressing, linear probing over a power-of-two table at
// most half full); the identifier map is an array in identifier order. An
// empty text map gathers a batch in reading order and is put in key order
// when first walked; keyed by translation, it only keeps the batch's pairs,
// and gathers them at its first use. A filled map, like the identifier map,
// sorts the new entries, merges them with the old ones and builds its index
// anew.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "colang/detail/Compiled.h"
#include "colang/detail/DictMaps.h"
#include "colang/detail/DictText.h"
#include "colang/detail/PairBatch.h"
#include "colang/platform/Compiler.h"
#include "colang/platform/TextLength.h"

using colang::detail::Units4;

namespace {

// --- hashing ------------------------------------------------------------------

constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

// Keys hold no zero code unit (they come from zero-terminated texts), so a
// key equals text exactly when their first text.size() units agree and the
// key ends there; this holds for any length, beyond the saturated filter too.
bool KeyEquals(const XChar* pszKey, XStringView text) {
  return std::memcmp(pszKey, text.data(), text.size() * sizeof(XChar)) == 0 && pszKey[text.size()] == 0;
}

std::uint32_t LengthOf(std::size_t nLength) {
  return nLength < UINT32_MAX ? static_cast<std::uint32_t>(nLength) : UINT32_MAX;
}

// The slot's home position and its tag both come from the hash's low half,
// so that the table can grow without reading the keys again.
std::uint32_t TagOf(std::uint64_t nHash) { return static_cast<std::uint32_t>(nHash); }

// The hash takes the code units four at a time as 64-bit words in two
// lanes: the first word of each block of eight units goes into one and the
// second into the other, so that the two chains of multiplications run side
// by side; the lanes and the length are mixed at the end. A text of eight
// units or more ends with its last eight (which may overlap the block
// before them), one of four to seven is its first and its last four: the
// length decides how often the loop runs and which of four cases it is,
// and no branch on its low bits, which a run of texts of every length would
// mispredict, is taken. Both forms of TextHash give the same value: one for
// texts whose length is known, one for zero-terminated texts. The hash is
// part of the compiled catalogs' format: a change to it is a new format
// version (XCompiled::kVersion).
constexpr std::uint64_t kLane1 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t WordMix(std::uint64_t h, std::uint64_t w) {
  h = (h ^ w) * kMul;
  return h ^ (h >> 29);
}

// A text of one to three units as a word, zero-padded, without a branch.
std::uint64_t UnitsWord(const XChar* p, std::size_t n) {
  auto unit = [p](std::size_t k) { return static_cast<std::uint64_t>(static_cast<std::uint16_t>(p[k])); };
  const std::uint64_t w1 = n > 1 ? unit(1) << 16 : 0, w2 = n > 2 ? unit(2) << 32 : 0;
  return unit(0) | w1 | w2;
}

// --- sorting a batch --------------------------------------------------------------

// A key's place in the sort of a batch: eight of its code units, packed so
// that the packed values order as the texts do (keys hold no zero unit, so
// the zeros that pad a short key sort first, as a prefix does), the position
// of its pair in the batch, which orders equal keys in reading order, and its
// length (saturated), which tells most different keys apart without reading
// them.
struct XSortItem {
  std::uint64_t anUnits[2];
  std::uint64_t anNext[2];  // the eight units after them, packed while the key is at hand
  const XChar* pKey;        // so that packing further units reads the key alone
  std::uint32_t nPos;
  std::uint32_t nLength;
};

std::uint64_t UnitsPack(XStringView text, std::size_t nFrom) {
  auto unit = [](XChar c) { return static_cast<std::uint64_t>(static_cast<std::uint16_t>(c)); };
  if (nFrom + 4 <= text.size()) {
    const XChar* p = text.data() + nFrom;
    return unit(p[0]) << 48 | unit(p[1]) << 32 | unit(p[2]) << 16 | unit(p[3]);
  }
  std::uint64_t nUnits = 0;
  for (std::size_t k = nFrom; k < nFrom + 4; ++k) nUnits = nUnits << 16 | (k < text.size() ? unit(text[k]) : 0u);
  return nUnits;
}

void UnitsPackAt(XSortItem& item, XStringView key, std::size_t nDepth) {
  item.anUnits[0] = UnitsPack(key, nDepth);
  item.anUnits[1] = UnitsPack(key, nDepth + 4);
  item.anNext[0] = UnitsPack(key, nDepth + 8);
  item.anNext[1] = UnitsPack(key, nDepth + 12);
}

// An item's key; a length too large for the item is found by the key's zero.
XStringView KeyOf(const XSortItem& item) {
  return item.nLength != UINT32_MAX ? XStringView(item.pKey, item.nLength) : XStringView(item.pKey);
}

bool UnitsEqual(const XSortItem& a, const XSortItem& b) {
  return a.anUnits[0] == b.anUnits[0] && a.anUnits[1] == b.anUnits[1];
}

bool UnitsLess(const XSortItem& a, const XSortItem& b) {
  if (a.anUnits[0] != b.anUnits[0]) return a.anUnits[0] < b.anUnits[0];
  if (a.anUnits[1] != b.anUnits[1]) return a.anUnits[1] < b.anUnits[1];
  return a.nPos < b.nPos;
}

// Sorts the items by their packed units, a byte at a time from the lowest
// (least significant digit first), keeping the order of items with equal
// units. A byte that is the same in every item (the high bytes of text in
// the Latin alphabet, say) takes no pass. pTemp has room for n items.
void ItemsRadixSort(XSortItem* pItems, std::size_t n, XSortItem* pTemp) {
  constexpr int kDigits = 16;
  std::uint32_t anCounts[kDigits][256] = {};
  auto digitOf = [](const XSortItem& item, int nDigit) {
    return static_cast<unsigned>(item.anUnits[nDigit < 8 ? 1 : 0] >> (8 * (nDigit % 8))) & 0xFFu;
  };
  for (std::size_t i = 0; i < n; ++i)
    for (int d = 0; d < kDigits; ++d) ++anCounts[d][digitOf(pItems[i], d)];
  XSortItem* pFrom = pItems;
  XSortItem* pTo = pTemp;
  for (int d = 0; d < kDigits; ++d) {
    if (anCounts[d][digitOf(pFrom[0], d)] == n) continue;
    std::uint32_t anStart[256];
    std::uint32_t nSum = 0;
    for (int b = 0; b < 256; ++b) {
      anStart[b] = nSum;
      nSum += anCounts[d][b];
    }
    for (std::size_t i = 0; i < n; ++i) pTo[anStart[digitOf(pFrom[i], d)]++] = pFrom[i];
    std::swap(pFrom, pTo);
  }
  if (pFrom != pItems) std::copy(pFrom, pFrom + n, pItems);
}

// Sorts the items by their keys, equal keys in reading order. The keys are
// compared eight units at a time, as packed numbers: all items by their first
// eight units, then each run that agrees on them by the next eight, and so
// on, so that sorting never reads the texts themselves and every unit of a
// key is packed at most once. The items come packed at depth 0, in reading
// order. Large ranges are sorted by digits, small ones by comparison.
void KeysSort(XBulkVector<XSortItem>& vecItems) {
  struct XRange {
    std::size_t nBegin, nEnd, nDepth;
  };
  constexpr std::size_t kRadixMin = 512;
  XBulkVector<XSortItem> vecTemp;
  std::vector<XRange> vecTodo{{0, vecItems.size(), 0}};
  while (!vecTodo.empty()) {
    const XRange range = vecTodo.back();
    vecTodo.pop_back();
    XSortItem* const pBegin = vecItems.data() + range.nBegin;
    const std::size_t n = range.nEnd - range.nBegin;
    // Each packing takes sixteen units, so every other depth needs no
    // reading of the keys, which lie scattered by now.
    if (range.nDepth % 16 == 8) {
      for (XSortItem* p = pBegin; p != pBegin + n; ++p) {
        p->anUnits[0] = p->anNext[0];
        p->anUnits[1] = p->anNext[1];
      }
    } else if (range.nDepth != 0) {
      for (XSortItem* p = pBegin; p != pBegin + n; ++p) UnitsPackAt(*p, KeyOf(*p), range.nDepth);
    }
    // Within a range the items are in reading order, which a digit sort keeps.
    if (n >= kRadixMin) {
      if (vecTemp.size() < n) vecTemp.resize(n);
      ItemsRadixSort(pBegin, n, vecTemp.data());
    } else {
      std::sort(pBegin, pBegin + n, UnitsLess);
    }
    // A run that agrees on these units is sorted by the next ones when one
    // of its keys goes on beyond them; a key that ends here then sorts
    // first. A run whose keys all end here is of equal keys.
    for (std::size_t i = range.nBegin; i < range.nEnd;) {
      std::size_t j = i + 1;
      bool bLonger = vecItems[i].nLength > range.nDepth + 8;
      for (; j < range.nEnd && UnitsEqual(vecItems[j], vecItems[i]); ++j)
        bLonger = bLonger || vecItems[j].nLength > range.nDepth + 8;
      if (j - i > 1 && bLonger) vecTodo.push_back({i, j, range.nDepth + 8});
      i = j;
    }
  }
}

// Sort items for n keys, the i-th given by keyOf(i), sorted by key; items of
// equal keys keep the order of i.
template <typename KeyOf>
XBulkVector<XSortItem> KeysSorted(std::size_t n, KeyOf keyOf) {
  XBulkVector<XSortItem> vecItems(n);
  for (std::size_t i = 0; i < n; ++i) {
    const XStringView key = keyOf(i);
    XSortItem& item = vecItems[i];
    UnitsPackAt(item, key, 0);
    item.pKey = key.data();
    item.nPos = static_cast<std::uint32_t>(i);
    item.nLength = LengthOf(key.size());
  }
  KeysSort(vecItems);
  return vecItems;
}

// Whether two neighbours of a sort may hold the same key: equal keys end
// in the same run at every depth, so their last packed units agree, and so
// do their lengths.
bool KeysSame(const XSortItem& a, const XSortItem& b) { return a.nLength == b.nLength && UnitsEqual(a, b); }

// Ordinal order of texts by unsigned code units, a proper prefix first.
int KeyCompare(XStringView a, XStringView b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t k = 0; k < n; ++k) {
    const auto ca = static_cast<std::uint16_t>(a[k]), cb = static_cast<std::uint16_t>(b[k]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Entries in key order, for sorting them and for searching them by halves.
bool EntryKeyLess(const XTextEntry& a, const XTextEntry& b) { return KeyCompare(a.first, b.first) < 0; }
bool EntryBefore(const XTextEntry& entry, XStringView key) { return KeyCompare(entry.first, key) < 0; }

// A map's blocks and the blocks of a batch.
std::vector<XTextBlock> BlocksJoined(const std::vector<XTextBlock>& vecOld, const std::vector<XTextBlock>& vecNew) {
  std::vector<XTextBlock> vecBlocks;
  vecBlocks.reserve(vecOld.size() + vecNew.size());
  vecBlocks.insert(vecBlocks.end(), vecOld.begin(), vecOld.end());
  vecBlocks.insert(vecBlocks.end(), vecNew.begin(), vecNew.end());
  return vecBlocks;
}

// Entries are indexed by position in 32 bits; more is beyond any catalog,
// and is refused as running out of memory would be.
void EntryCountCheck(std::size_t nEntries) {
  if (nEntries >= UINT32_MAX) throw std::bad_alloc();
}

// The size of an index for nEntries keys: a power of two, at most half full.
std::size_t SlotCount(std::size_t nEntries) {
  std::size_t nSlots = 16;
  while (nSlots < 2 * nEntries) nSlots *= 2;
  return nSlots;
}

// Room for one more element without moving the others when it comes.
template <typename Vector>
void RoomForOne(Vector& vec) {
  if (vec.size() == vec.capacity()) vec.reserve(std::max<std::size_t>(8, 2 * vec.capacity()));
}

}  // namespace

// --- the text map ---------------------------------------------------------------

std::uint64_t XTextMap::TextHash(XStringView text) {
  const XChar* p = text.data();
  const std::size_t n = text.size();
  std::uint64_t h0 = kMul, h1 = kLane1;
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8) {
      h0 = WordMix(h0, Units4(p + i));
      h1 = WordMix(h1, Units4(p + i + 4));
    }
    h0 = WordMix(h0, Units4(p + n - 8));
    h1 = WordMix(h1, Units4(p + n - 4));
  } else if (n >= 4) {
    h0 = WordMix(h0, Units4(p));
    h1 = WordMix(h1, Units4(p + n - 4));
  } else if (n > 0) {
    h0 = WordMix(h0, UnitsWord(p, n));
  }
  return Mix(h0 ^ (h1 << 32 | h1 >> 32) ^ (static_cast<std::uint64_t>(n) * 0x100000001B3ull));
}

// The length first, then the hash of the text of that length: two quick
// passes over a text that stays in the cache.
std::uint64_t XTextMap::TextHash(const XChar* pszText, std::size_t& nLength) {
  nLength = colang::platform::UnitsToZero(pszText);
  return TextHash(XStringView(pszText, nLength));
}

// A free slot is all zeros (its key is null), which fresh memory from the
// system already is.
XBulkVector<XTextMap::XSlot> XTextMap::SlotsFree(std::size_t nSlots) {
  XBulkVector<XSlot> vecSlots;
  // Made without a value: left as the memory comes.
  vecSlots.resize(nSlots);
  if (!colang::platform::BulkZeroed(nSlots * sizeof(XSlot)))
    std::memset(static_cast<void*>(vecSlots.data()), 0, nSlots * sizeof(XSlot));
  return vecSlots;
}

XTextMap::XSlot* XTextMap::SlotFind(XStringView text, std::uint64_t nHash) const {
  if (m_vecSlots.empty()) return nullptr;
  const std::size_t nMask = m_vecSlots.size() - 1;
  const std::uint32_t nTag = TagOf(nHash);
  const std::uint32_t nLength = LengthOf(text.size());
  for (std::size_t i = nTag & nMask;; i = (i + 1) & nMask) {
    const XSlot& slot = m_vecSlots[i];
    if (slot.pszKey == nullptr) return nullptr;
    if (slot.nTag == nTag && slot.nLength == nLength && KeyEquals(slot.pszKey, text)) return const_cast<XSlot*>(&slot);
  }
}

inline const XChar* XTextMap::ValueFind(XStringView text, std::uint64_t nHash) const {
  // A map with an index is settled, so the lookup costs no more than the
  // index; one without is answered by a compiled catalog, or is empty, or
  // unsettled, or without memory for it.
  if (m_vecSlots.empty()) {
    if (m_pCompiled != nullptr) return m_pCompiled->Find(m_bReverse, text, nHash);
    return UnindexedFind(text, nHash);
  }
  const XSlot* pSlot = SlotFind(text, nHash);
  return pSlot != nullptr ? pSlot->pszValue : nullptr;
}

// Out of the lookups' way: a map without an index is rare, and settling it
// happens once.
COLANG_NOINLINE_COLD const XChar* XTextMap::UnindexedFind(XStringView text, std::uint64_t nHash) const {
  SettledEnsure();
  if (const XSlot* pSlot = SlotFind(text, nHash)) return pSlot->pszValue;
  if (!m_vecSlots.empty() || m_vecEntries.empty()) return nullptr;
  // Settled without memory for an index: the entries are in key order.
  auto it = std::lower_bound(m_vecEntries.begin(), m_vecEntries.end(), text, EntryBefore);
  return it != m_vecEntries.end() && it->first == text ? it->second.data() : nullptr;
}

const XChar* XTextMap::Find(XStringView text) const { return ValueFind(text, TextHash(text)); }

const XChar* XTextMap::Find(const XChar* pszText) const {
  std::size_t nLength = 0;
  return Find(pszText, nLength);
}

const XChar* XTextMap::Find(const XChar* pszText, std::size_t& nLength) const {
  const std::uint64_t nHash = TextHash(pszText, nLength);
  return ValueFind(XStringView(pszText, nLength), nHash);
}

void XTextMap::SlotAdd(const XTextEntry& entry, std::uint64_t nHash) noexcept {
  const std::size_t nMask = m_vecSlots.size() - 1;
  std::size_t i = TagOf(nHash) & nMask;
  while (m_vecSlots[i].pszKey != nullptr) i = (i + 1) & nMask;
  m_vecSlots[i] = {TagOf(nHash), LengthOf(entry.first.size()), entry.first.data(), entry.second.data()};
}

void XTextMap::IndexBuild(std::size_t nEntries, const std::uint32_t* pHashes) {
  if (nEntries == 0) {
    XBulkVector<XSlot>().swap(m_vecSlots);
    return;
  }
  XBulkVector<XSlot> vecSlots = SlotsFree(SlotCount(nEntries));
  m_vecSlots.swap(vecSlots);
  for (std::size_t i = 0; i < m_vecEntries.size(); ++i)
    SlotAdd(m_vecEntries[i], pHashes != nullptr ? pHashes[i] : TextHash(m_vecEntries[i].first));
}

void XTextMap::EntriesGather(const std::uint32_t* pTags) const noexcept {
  XSlot* const pSlots = m_vecSlots.data();
  const std::size_t nMask = m_vecSlots.size() - 1;
  XTextEntry* const pEntries = m_vecEntries.data();
  const std::size_t n = m_vecEntries.size();
  // The slots are filled with the slot a few keys ahead already on its way
  // from memory, as a large table's slots are scattered far beyond the
  // caches.
  constexpr std::size_t kAhead = 16;
  std::size_t nKept = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k + kAhead < n) COLANG_PREFETCH_WRITE(pSlots + (pTags[k + kAhead] & nMask));
    const XTextEntry entry = pEntries[k];
    const std::uint32_t nTag = pTags[k];
    const std::uint32_t nLength = LengthOf(entry.first.size());
    for (std::size_t i = nTag & nMask;; i = (i + 1) & nMask) {
      XSlot& slot = pSlots[i];
      if (slot.pszKey == nullptr) {
        slot = {nTag, nLength, entry.first.data(), entry.second.data()};
        pEntries[nKept++] = entry;
        break;
      }
      if (slot.nTag == nTag && slot.nLength == nLength && KeyEquals(slot.pszKey, entry.first)) {
        slot.pszValue = entry.second.data();
        break;
      }
    }
  }
  // A key read again kept its first entry, whose value its slot now has.
  if (nKept != n) {
    m_vecEntries.resize(nKept);
    for (XTextEntry& entry : m_vecEntries) {
      const XChar* pszValue = SlotFind(entry.first, TextHash(entry.first))->pszValue;
      entry.second = XStringView(pszValue, std::char_traits<XChar>::length(pszValue));
    }
  }
}

XTextMap XTextMap::Gathered(colang::detail::XPairBatch& batch) const {
  const std::size_t n = batch.m_vecPairs.size();
  EntryCountCheck(n);
  XTextMap result;
  // The entries are the pairs themselves, less those whose key comes again:
  // the batch's array is taken over and closed up in place. The keys' tags
  // were taken as they were read.
  result.m_vecSlots = SlotsFree(SlotCount(n));
  result.m_vecEntries.swap(batch.m_vecPairs);
  result.EntriesGather(batch.m_vecTags.data());
  result.m_vecBlocks = BlocksJoined(m_vecBlocks, batch.m_vecBlocks);
  result.m_bOrdered = result.m_vecEntries.size() <= 1;
  return result;
}

XTextMap XTextMap::Kept(const colang::detail::XPairBatch& batch, bool bReversed) {
  const std::size_t n = batch.m_vecPairs.size();
  EntryCountCheck(n);
  XTextMap result;
  result.m_vecEntries.reserve(n);
  for (const XTextEntry& pair : batch.m_vecPairs)
    result.m_vecEntries.push_back(bReversed ? XTextEntry{pair.second, pair.first} : pair);
  result.m_vecBlocks = batch.m_vecBlocks;
  result.m_bOrdered = n <= 1;
  result.m_bSettled = n == 0;
  return result;
}

void XTextMap::Settle() const noexcept {
  if (!m_vecEntries.empty()) {
    try {
      const std::size_t n = m_vecEntries.size();
      XBulkVector<std::uint32_t> vecTags(n);
      for (std::size_t k = 0; k < n; ++k) vecTags[k] = KeyTag(m_vecEntries[k].first);
      m_vecSlots = SlotsFree(SlotCount(n));
      EntriesGather(vecTags.data());
    } catch (const std::bad_alloc&) {
      // Put in key order, which needs no memory: a stable sort keeps equal
      // keys in reading order, and the last of them is the one kept.
      std::stable_sort(m_vecEntries.begin(), m_vecEntries.end(), EntryKeyLess);
      auto itOut = m_vecEntries.begin();
      for (auto it = m_vecEntries.begin(); it != m_vecEntries.end(); ++it)
        if (std::next(it) == m_vecEntries.end() || std::next(it)->first != it->first) *itOut++ = *it;
      m_vecEntries.erase(itOut, m_vecEntries.end());
      m_bOrdered = true;
    }
  }
  m_bSettled = true;
}

void XTextMap::EntriesOrder() const {
  // Keys are unique, so no two entries compare equal.
  try {
    // Sorted as a batch's keys are, by packed units, which reads each key
    // only a few times; the entries are then taken in that order.
    const XBulkVector<XSortItem> vecItems =
        KeysSorted(m_vecEntries.size(), [this](std::size_t i) { return m_vecEntries[i].first; });
    XBulkVector<XTextEntry> vecOrdered(m_vecEntries.size());
    for (std::size_t i = 0; i < vecItems.size(); ++i) vecOrdered[i] = m_vecEntries[vecItems[i].nPos];
    m_vecEntries.swap(vecOrdered);
  } catch (const std::bad_alloc&) {
    // Without memory to spare, a walk still finds its entries in order.
    std::sort(m_vecEntries.begin(), m_vecEntries.end(), EntryKeyLess);
  }
  m_bOrdered = true;
}

XTextMap XTextMap::Merged(colang::detail::XPairBatch& batch, bool bReversed) const {
  SettledEnsure();
  if (m_vecEntries.empty()) return bReversed ? Kept(batch, true) : Gathered(batch);
  OrderEnsure();
  const XBulkVector<XTextEntry>& vecPairs = batch.m_vecPairs;
  auto keyOf = [&vecPairs, bReversed](std::size_t nPos) {
    return bReversed ? vecPairs[nPos].second : vecPairs[nPos].first;
  };
  EntryCountCheck(vecPairs.size());
  XBulkVector<XSortItem> vecItems = KeysSorted(vecPairs.size(), keyOf);

  XTextMap result;
  XBulkVector<XTextEntry>& vecOut = result.m_vecEntries;
  XBulkVector<std::uint32_t> vecOutHashes;
  vecOut.reserve(m_vecEntries.size() + vecPairs.size());
  vecOutHashes.reserve(vecOut.capacity());
  auto oldPush = [&](const XTextEntry& entry) {
    vecOut.push_back(entry);
    vecOutHashes.push_back(static_cast<std::uint32_t>(TextHash(entry.first)));
  };
  auto itOld = m_vecEntries.begin();
  for (std::size_t k = 0; k < vecItems.size(); ++k) {
    const std::uint32_t nPos = vecItems[k].nPos;
    const XStringView key = keyOf(nPos);
    // Of the pairs with one key, the one read last is the one kept.
    if (k + 1 < vecItems.size() && KeysSame(vecItems[k], vecItems[k + 1]) && keyOf(vecItems[k + 1].nPos) == key)
      continue;
    const XStringView value = bReversed ? vecPairs[nPos].first : vecPairs[nPos].second;
    int nCmp = -1;
    for (; itOld != m_vecEntries.end() && (nCmp = KeyCompare(itOld->first, key)) < 0; ++itOld) oldPush(*itOld);
    if (itOld != m_vecEntries.end() && nCmp == 0) ++itOld;
    vecOut.push_back({key, value});
    vecOutHashes.push_back(bReversed ? static_cast<std::uint32_t>(TextHash(key)) : batch.m_vecTags[nPos]);
  }
  for (; itOld != m_vecEntries.end(); ++itOld) oldPush(*itOld);
  EntryCountCheck(vecOut.size());
  // What the sort needed goes before the index comes, which may reuse it.
  XBulkVector<XSortItem>().swap(vecItems);

  result.m_vecBlocks = BlocksJoined(m_vecBlocks, batch.m_vecBlocks);
  result.IndexBuild(vecOut.size(), vecOutHashes.data());
  return result;
}

void XTextMap::StoreReserve() {
  OrderEnsure();
  EntryCountCheck(m_vecEntries.size() + 1);
  RoomForOne(m_vecEntries);
  RoomForOne(m_vecBlocks);
  if (2 * (m_vecEntries.size() + 1) > m_vecSlots.size()) IndexBuild(m_vecEntries.size() + 1);
}

void XTextMap::Store(const XTextEntry& entry, const XTextBlock& block) noexcept {
  auto it = std::lower_bound(m_vecEntries.begin(), m_vecEntries.end(), entry.first, EntryBefore);
  const std::uint64_t nHash = TextHash(entry.first);
  if (it != m_vecEntries.end() && it->first == entry.first) {
    it->second = entry.second;
    SlotFind(entry.first, nHash)->pszValue = entry.second.data();
  } else {
    // StoreReserve made room, so inserting moves entries but allocates nothing.
    m_vecEntries.insert(it, entry);
    SlotAdd(entry, nHash);
  }
  m_vecBlocks.push_back(block);
}

void XTextMap::Clear() noexcept {
  m_pCompiled.reset();
  m_bOrdered = true;
  m_bSettled = true;
  XBulkVector<XTextEntry>().swap(m_vecEntries);
  XBulkVector<XSlot>().swap(m_vecSlots);
  std::vector<XTextBlock>().swap(m_vecBlocks);
}

std::size_t XTextMap::size() const {
  if (m_pCompiled != nullptr) return m_pCompiled->Count(m_bReverse);
  SettledEnsure();
  return m_vecEntries.size();
}

std::vector<XTextEntry> XTextMap::PercentEntries() const {
  if (m_pCompiled != nullptr && !m_bReverse) return m_pCompiled->PercentEntries();
  std::vector<XTextEntry> vecOut;
  for (const XTextEntry& entry : AsStored())
    if (entry.first.find(XChar('%')) != XStringView::npos) vecOut.push_back(entry);
  return vecOut;
}

void XTextMap::CompiledTake(const std::shared_ptr<const colang::detail::XCompiled>& pCompiled, bool bReverse) noexcept {
  Clear();
  m_pCompiled = pCompiled;
  m_bReverse = bReverse;
}

void XTextMap::CompiledLeave() const {
  XBulkVector<XTextEntry> vecEntries;
  std::vector<XTextBlock> vecBlocks;
  m_pCompiled->Entries(m_bReverse, vecEntries, vecBlocks, m_pCompiled);
  // Each key is there once, in the index's order; settling indexes them.
  m_vecEntries.swap(vecEntries);
  m_vecBlocks.swap(vecBlocks);
  m_bOrdered = m_vecEntries.size() <= 1;
  m_bSettled = m_vecEntries.empty();
  m_pCompiled.reset();
}

bool operator==(const XTextMap& a, const XTextMap& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const XTextEntry& x, const XTextEntry& y) {
    return x.first == y.first && x.second == y.second;
  });
}

// --- the identifier map ---------------------------------------------------------

const XChar* XIdMap::Find(unsigned int nID) const {
  if (m_pCompiled != nullptr) return m_pCompiled->IdFind(nID);
  auto it = std::lower_bound(m_vecEntries.begin(), m_vecEntries.end(), nID,
                             [](const XIdEntry& e, unsigned int n) { return e.first < n; });
  return it != m_vecEntries.end() && it->first == nID ? it->second.data() : nullptr;
}

std::size_t XIdMap::size() const { return m_pCompiled != nullptr ? m_pCompiled->IdCount() : m_vecEntries.size(); }

void XIdMap::CompiledTake(const std::shared_ptr<const colang::detail::XCompiled>& pCompiled) noexcept {
  Clear();
  m_pCompiled = pCompiled;
}

void XIdMap::CompiledLeave() const {
  XBulkVector<XIdEntry> vecEntries;
  std::vector<XTextBlock> vecBlocks;
  m_pCompiled->IdEntries(vecEntries, vecBlocks, m_pCompiled);
  m_vecEntries.swap(vecEntries);
  m_vecBlocks.swap(vecBlocks);
  m_pCompiled.reset();
}

XIdMap XIdMap::Merged(const XBulkVector<XIdEntry>& vecNew, const std::vector<XTextBlock>& vecBlocks) const {
  CompiledEnsure();
  XBulkVector<std::uint32_t> vecOrder(vecNew.size());
  for (std::size_t i = 0; i < vecOrder.size(); ++i) vecOrder[i] = static_cast<std::uint32_t>(i);
  std::stable_sort(vecOrder.begin(), vecOrder.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return vecNew[a].first < vecNew[b].first; });

  XIdMap result;
  XBulkVector<XIdEntry>& vecOut = result.m_vecEntries;
  vecOut.reserve(m_vecEntries.size() + vecNew.size());
  auto itOld = m_vecEntries.begin();
  for (std::size_t k = 0; k < vecOrder.size(); ++k) {
    const XIdEntry& entry = vecNew[vecOrder[k]];
    if (k + 1 < vecOrder.size() && vecNew[vecOrder[k + 1]].first == entry.first) continue;
    for (; itOld != m_vecEntries.end() && itOld->first < entry.first; ++itOld) vecOut.push_back(*itOld);
    if (itOld != m_vecEntries.end() && itOld->first == entry.first) ++itOld;
    vecOut.push_back(entry);
  }
  vecOut.insert(vecOut.end(), itOld, m_vecEntries.end());

  result.m_vecBlocks = BlocksJoined(m_vecBlocks, vecBlocks);
  return result;
}

void XIdMap::StoreReserve() {
  CompiledEnsure();
  RoomForOne(m_vecEntries);
  RoomForOne(m_vecBlocks);
}

void XIdMap::Store(const XIdEntry& entry, const XTextBlock& block) noexcept {
  auto it = std::lower_bound(m_vecEntries.begin(), m_vecEntries.end(), entry.first,
                             [](const XIdEntry& e, unsigned int n) { return e.first < n; });
  if (it != m_vecEntries.end() && it->first == entry.first)
    it->second = entry.second;
  else
    m_vecEntries.insert(it, entry);
  m_vecBlocks.push_back(block);
}

void XIdMap::Clear() noexcept {
  m_pCompiled.reset();
  XBulkVector<XIdEntry>().swap(m_vecEntries);
  std::vector<XTextBlock>().swap(m_vecBlocks);
}

bool operator==(const XIdMap& a, const XIdMap& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const XIdEntry& x, const XIdEntry& y) { return x.first == y.first && x.second == y.second; });
}
