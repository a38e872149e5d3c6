// XPairBatch: the entries of one catalog read, gathered so that they go into
// a dictionary together. The texts are written straight into blocks, each
// text followed by a zero; the blocks are handed to the dictionary as they
// are, and its entries point into them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "colang/detail/DictMaps.h"
#include "colang/platform/Memory.h"

namespace colang::detail {

struct XPairBatch {
  // Room for the texts to come: the next block is made this large, or as
  // large as the text that needs it. A reader that knows a bound on what a
  // file holds sets it so that one block takes the whole file.
  void UnitsExpect(std::size_t nUnits) { m_nBlockUnits = std::max(nUnits, kBlockUnitsMin); }

  // Room for the pairs of a whole file of nBytesAll bytes, judged by the
  // pairs of either kind already read from its first nBytesRead bytes, so
  // that the arrays are not moved again and again as they grow. A guess:
  // more pairs still fit.
  void PairsExpect(std::size_t nBytesAll, std::size_t nBytesRead) {
    if (nBytesRead == 0 || nBytesAll / nBytesRead > 1024 * 1024) return;
    const double dScale = static_cast<double>(nBytesAll) / static_cast<double>(nBytesRead) * 1.0625;
    const std::size_t nPairs = static_cast<std::size_t>(static_cast<double>(m_vecPairs.size()) * dScale) + 16;
    m_vecPairs.reserve(nPairs);
    m_vecTags.reserve(nPairs);
    m_vecIds.reserve(static_cast<std::size_t>(static_cast<double>(m_vecIds.size()) * dScale) + 16);
  }

  // Adds a pair, and the hash tag of its source text, taken while the text
  // is still at hand. (The translations are keys of the retranslation map,
  // whose index a first load leaves for later.)
  void PairAdd(XStringView source, XStringView transl) {
    m_vecPairs.push_back({source, transl});
    m_vecTags.push_back(XTextMap::KeyTag(source));
  }

  // Where a text of at most nMax units goes: room for it and its zero.
  XChar* TextRoom(std::size_t nMax) {
    if (m_nFree < nMax + 1) {
      const std::size_t nUnits = std::max(m_nBlockUnits, nMax + 1);
      m_vecBlocks.push_back(BlockMake(nUnits));
      m_pNext = const_cast<XChar*>(m_vecBlocks.back().get());
      m_nFree = nUnits;
      m_nBlockUnits = kBlockUnitsMin;
    }
    return m_pNext;
  }
  // Ends the text written from TextRoom's pointer up to pEnd with its zero.
  XStringView TextEnd(XChar* pEnd) {
    const XStringView text(m_pNext, static_cast<std::size_t>(pEnd - m_pNext));
    *pEnd = XChar(0);
    m_nFree -= text.size() + 1;
    m_pNext = pEnd + 1;
    return text;
  }

  std::vector<XTextBlock> m_vecBlocks;
  // Pairs go in through PairAdd, which keeps their tags beside them.
  XBulkVector<XTextEntry> m_vecPairs;    // source and translation, in reading order: a later pair wins
  XBulkVector<std::uint32_t> m_vecTags;  // of each pair, the hash tag of its source
  XBulkVector<XIdEntry> m_vecIds;        // in reading order: a later pair wins

 private:
  static constexpr std::size_t kBlockUnitsMin = 16 * 1024;

  // A block of nUnits code units from the bulk memory, shared by the maps.
  static XTextBlock BlockMake(std::size_t nUnits) {
    if (nUnits > static_cast<std::size_t>(-1) / sizeof(XChar)) throw std::bad_alloc();
    auto* p = static_cast<XChar*>(colang::platform::BulkAlloc(nUnits * sizeof(XChar)));
    // Should the shared pointer fail to take it, it hands the block to the
    // deleter itself before it throws.
    return XTextBlock(p, [nUnits](const XChar* pBlock) {
      colang::platform::BulkFree(const_cast<XChar*>(pBlock), nUnits * sizeof(XChar));
    });
  }

  XChar* m_pNext = nullptr;
  std::size_t m_nFree = 0;
  std::size_t m_nBlockUnits = kBlockUnitsMin;
};

}  // namespace colang::detail
