// XLMTranslDict: the hash index beside each text map. Open addressing with
// linear probing over a power-of-two table, at most half full. A slot holds
// part of the key's hash, its length and pointers to the key's and the
// value's characters, so that a hit reads the slot and the key's characters
// and nothing of the map's tree, and a miss mostly reads the slot alone.
#include <cstdint>
#include <cstring>

#include "colang/LMTranslDict.h"

namespace {

constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

// The slot's home position and its tag both come from the hash's low half,
// so that the table can grow without reading the keys again.
std::uint32_t TagOf(std::size_t nHash) { return static_cast<std::uint32_t>(nHash); }

std::uint32_t LengthOf(std::size_t nLength) {
  return nLength < UINT32_MAX ? static_cast<std::uint32_t>(nLength) : UINT32_MAX;
}

// Keys hold no zero code unit (they come from zero-terminated texts), so a
// key equals text exactly when their first text.size() units agree and the
// key ends there; this holds for any length, beyond the saturated filter too.
bool KeyEquals(const XChar* pszKey, XStringView text) {
  return std::memcmp(pszKey, text.data(), text.size() * sizeof(XChar)) == 0 && pszKey[text.size()] == 0;
}

// The hash takes the code units four at a time as one 64-bit word, the last
// word padded with zeros, and the length at the end. Both forms below give
// the same value: one for texts whose length is known, one that finds the
// terminating zero on the way, so that a lookup reads its text only once.
std::uint64_t WordMix(std::uint64_t h, std::uint64_t w) {
  h = (h ^ w) * kMul;
  return h ^ (h >> 29);
}

std::uint64_t HashEnd(std::uint64_t h, std::size_t nLength) {
  return Mix(h ^ (static_cast<std::uint64_t>(nLength) * 0x100000001B3ull));
}

std::uint64_t UnitsWord(const XChar* p, std::size_t n) {
  std::uint64_t w = 0;
  for (std::size_t k = 0; k < n; ++k) w |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(p[k])) << (16 * k);
  return w;
}

}  // namespace

std::size_t XLMTranslDict::XTextIndex::TextHash(XStringView text) {
  const XChar* p = text.data();
  const std::size_t n = text.size();
  std::uint64_t h = kMul;
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) h = WordMix(h, UnitsWord(p + i, 4));
  if (i < n) h = WordMix(h, UnitsWord(p + i, n - i));
  return static_cast<std::size_t>(HashEnd(h, n));
}

std::size_t XLMTranslDict::XTextIndex::TextHash(const XChar* pszText, std::size_t& nLength) {
  std::uint64_t h = kMul;
  const XChar* p = pszText;
  for (;;) {
    std::uint64_t w = 0;
    int k = 0;
    for (; k < 4 && p[k] != 0; ++k) w |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(p[k])) << (16 * k);
    if (k > 0) h = WordMix(h, w);
    p += k;
    if (k < 4) break;
  }
  nLength = static_cast<std::size_t>(p - pszText);
  return static_cast<std::size_t>(HashEnd(h, nLength));
}

XLMTranslDict::XTextIndex::XSlot* XLMTranslDict::XTextIndex::SlotFind(XStringView text, std::size_t nHash) const {
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

const XChar* XLMTranslDict::XTextIndex::Find(XStringView text, std::size_t nHash) const {
  const XSlot* pSlot = SlotFind(text, nHash);
  return pSlot != nullptr ? pSlot->pszValue : nullptr;
}

void XLMTranslDict::XTextIndex::Add(const XMapTransl::value_type& entry, std::size_t nHash) {
  if (2 * (m_nCount + 1) > m_vecSlots.size()) SlotsResize(m_vecSlots.empty() ? 16 : 2 * m_vecSlots.size());
  const std::size_t nMask = m_vecSlots.size() - 1;
  std::size_t i = TagOf(nHash) & nMask;
  while (m_vecSlots[i].pszKey != nullptr) i = (i + 1) & nMask;
  m_vecSlots[i] = {TagOf(nHash), LengthOf(entry.first.size()), entry.first.c_str(), entry.second.c_str()};
  ++m_nCount;
}

void XLMTranslDict::XTextIndex::ValueUpdate(const XMapTransl::value_type& entry, std::size_t nHash) {
  if (XSlot* pSlot = SlotFind(entry.first, nHash)) pSlot->pszValue = entry.second.c_str();
}

void XLMTranslDict::XTextIndex::SlotsResize(std::size_t nSlots) {
  std::vector<XSlot> vecOld(nSlots, XSlot{0, 0, nullptr, nullptr});
  vecOld.swap(m_vecSlots);
  const std::size_t nMask = nSlots - 1;
  for (const XSlot& slot : vecOld) {
    if (slot.pszKey == nullptr) continue;
    std::size_t i = slot.nTag & nMask;
    while (m_vecSlots[i].pszKey != nullptr) i = (i + 1) & nMask;
    m_vecSlots[i] = slot;
  }
}

void XLMTranslDict::XTextIndex::Reserve(std::size_t nMore) {
  std::size_t nSlots = m_vecSlots.empty() ? 16 : m_vecSlots.size();
  while (nSlots < 2 * (m_nCount + nMore)) nSlots *= 2;
  if (nSlots != m_vecSlots.size()) SlotsResize(nSlots);
}

void XLMTranslDict::XTextIndex::Rebuild(const XMapTransl& map) {
  Clear();
  std::size_t nSlots = 16;
  while (nSlots < 2 * map.size()) nSlots *= 2;
  m_vecSlots.assign(nSlots, XSlot{0, 0, nullptr, nullptr});
  for (const auto& entry : map) Add(entry, TextHash(entry.first));
}

void XLMTranslDict::XTextIndex::Clear() {
  std::vector<XSlot>().swap(m_vecSlots);
  m_nCount = 0;
}

const XChar* XLMTranslDict::TextFind(const XTextIndex& index, const XChar* pszText) {
  std::size_t nLength = 0;
  const std::size_t nHash = XTextIndex::TextHash(pszText, nLength);
  return index.Find(XStringView(pszText, nLength), nHash);
}

void XLMTranslDict::TextStore(XMapTransl& map, XTextIndex& index, const XChar* pszKey, const XChar* pszValue) {
  const XStringView key(pszKey);
  const std::size_t nHash = XTextIndex::TextHash(key);
  if (index.Find(key, nHash) != nullptr) {
    // A replacement: rare, so the tree is searched for the entry.
    auto it = map.find(key);
    it->second.assign(pszValue);
    index.ValueUpdate(*it, nHash);
    return;
  }
  auto result = map.emplace(XString(key), pszValue);
  // Growing the index may run out of memory; an entry it does not know would
  // be missed by every lookup and never replaced, so it leaves the map too.
  try {
    index.Add(*result.first, nHash);
  } catch (...) {
    map.erase(result.first);
    throw;
  }
}
