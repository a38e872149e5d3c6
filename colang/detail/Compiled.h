// Compiled catalogs: what a dictionary holds after reading one catalog file,
// written to a file beside it (the catalog's name with "c" added) in the
// form that lookups use as it lies, so that a later load maps that file into
// memory instead of reading and decoding the catalog. The text catalog stays
// the truth: a compiled catalog serves only when its header names this
// format and the catalog's size, modification time and language. It is never
// trusted: its header (with a checksum of its own), its size and where its
// sections lie are checked when it is mapped, and every table entry and
// record is checked to lie inside it when a lookup or a walk reads it, so
// that no content can make the reader leave the file or loop.
//
// The format, little-endian, each section at a multiple of 8 bytes:
//   header   XCompiledHeader
//   slots    the translation index: nSlots x {tag, record}; a free slot's
//            record is kFree
//   keys     UTF-16 code units ending with a zero: the translation records,
//            in key order
//   ids      nIds x {identifier, text}, identifiers ascending
//   percent  nPercent x record: the records whose key holds "%", in key order
//   rslots   the retranslation index: nRSlots x {tag, key text, value text}
//   texts    UTF-16 code units ending with a zero, the last of the file: the
//            values, identifiers' texts and the retranslation index's keys
//            and values, each kept once
// A text is an offset into texts and runs to its zero. A record is two
// units giving the key's length L (the low 16 bits, then 15 more bits and,
// in the top bit, whether the key is narrow), two giving its value's text
// (low half first), and the key. A narrow key, one whose units all lie below
// 256 and hold no "%", is kept as L bytes and a zero byte, padded to whole
// units; any other key as L units and a zero. A lookup reads one slot and
// one record, which lie together near the file's start; a pass over every
// key touches neither the values nor the other texts. That the texts end
// with a zero is checked in the file's last bytes as read through the file
// (XFileMapping::Tail), so that the check maps none of the file's last
// pages into the process. An index finds a key from its 64-bit hash
// (XTextMap::TextHash): the tag is its low half, the home slot its high half
// times the number of slots, over 2^32; the slots after it are tried in turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "colang/XString.h"
#include "colang/detail/DictMaps.h"
#include "colang/platform/AsciiRun.h"
#include "colang/platform/FileMap.h"

namespace colang::detail {

struct XCompiledHeader {
  char acMagic[8];
  std::uint16_t nByteOrder;  // 0xFEFF
  std::uint16_t nUnitBytes;  // 2
  std::uint32_t nVersion;
  std::int64_t nTextSize;  // the text catalog's stamp
  std::int64_t nTextTime;
  std::uint32_t nLangID;  // the value of the catalog's language line
  std::uint32_t nFileSize;
  std::uint32_t nKeys, nKeysAt;  // count, and byte offset of the section
  std::uint32_t nSlots, nSlotsAt;
  std::uint32_t nIds, nIdsAt;
  std::uint32_t nPercent, nPercentAt;
  std::uint32_t nRSlots, nRSlotsAt;
  std::uint32_t nTexts, nTextsAt;
  std::uint32_t nEntries, nREntries;  // how many slots of each index are taken
  std::uint64_t nChecksum;            // of this header, this field taken as 0
};

class XCompiled {
 public:
  static constexpr std::uint32_t kFree = 0xFFFFFFFFu;
  static constexpr std::uint32_t kVersion = 3;
  // The units of a record before its key: the key's length (two), then its
  // value's text (two, from kRecordValue).
  static constexpr std::uint32_t kRecordValue = 2, kRecordHead = 4;

  // The compiled catalog's name for a catalog's path.
  static XString NameOf(const XString& strPath) { return strPath + XChar('c'); }

  // Maps the compiled catalog pszName and checks it; null when it cannot be
  // mapped, is damaged, or does not belong to a catalog of that stamp and
  // language.
  static std::shared_ptr<const XCompiled> Open(const XChar* pszName, const colang::platform::XFileStamp& stamp,
                                               int nLangID);
  // The same for nSize bytes at p, 8-byte aligned, which pOwner keeps;
  // nLastUnit is the bytes' last unit as read through the file, or, without
  // a file, from the bytes (LastUnitOf).
  static std::shared_ptr<const XCompiled> FromBytes(std::shared_ptr<const void> pOwner, const unsigned char* p,
                                                    std::size_t nSize, const colang::platform::XFileStamp& stamp,
                                                    int nLangID, std::uint16_t nLastUnit);
  // The last code unit of nSize bytes ending at pEnd; not a zero when there
  // is none.
  static std::uint16_t LastUnitOf(const unsigned char* pEnd, std::size_t nSize) {
    return static_cast<std::uint16_t>(nSize < 2 ? 0xFFFFu : pEnd[-2] | pEnd[-1] << 8);
  }
  // The compiled catalog of what a dictionary holds after reading one
  // catalog (its three maps), for the catalog of that stamp and language;
  // empty when the entries do not fit the format's 32-bit offsets.
  static std::string Bytes(const XTextMap& mapTransl, const XTextMap& mapRetransl, const XIdMap& mapIds,
                           const colang::platform::XFileStamp& stamp, int nLangID);

  // The checksum the header at p must hold: of the header, the checksum
  // field taken as 0.
  static std::uint64_t ChecksumOf(const unsigned char* p);

  // The value stored under text (whose hash is nHash) in the translation
  // index (bReverse false) or the retranslation index, or null.
  const XChar* Find(bool bReverse, XStringView text, std::uint64_t nHash) const {
    return bReverse ? ReverseFind(text, nHash) : ForwardFind(text, nHash);
  }
  const XChar* IdFind(unsigned int nID) const;
  std::size_t Count(bool bReverse) const { return bReverse ? m_header.nREntries : m_header.nEntries; }
  std::size_t IdCount() const { return m_header.nIds; }

  // The entries of an index as a map holds them, in no particular order,
  // and the blocks their texts lie in: the catalog's own units, and a block
  // of the narrow keys made wide.
  void Entries(bool bReverse, XBulkVector<XTextEntry>& vecOut, std::vector<XTextBlock>& vecBlocks,
               const std::shared_ptr<const XCompiled>& pSelf) const;
  void IdEntries(XBulkVector<XIdEntry>& vecOut, std::vector<XTextBlock>& vecBlocks,
                 const std::shared_ptr<const XCompiled>& pSelf) const;
  // The translation entries whose key holds "%", in key order.
  std::vector<XTextEntry> PercentEntries() const;

 private:
  struct XRSlot {
    std::uint32_t nTag, nKey, nValue;
  };

  static std::size_t Home(std::uint64_t nHash, std::uint32_t nSlots) {
    return static_cast<std::size_t>(((nHash >> 32) * nSlots) >> 32);
  }
  // The key of the record at nRecord as a view, and whether it is narrow
  // (bytes), and its value's text; false when the record does not lie inside
  // the keys or the value's start inside the texts.
  bool RecordKey(std::uint32_t nRecord, std::size_t& nLength, bool& bNarrow, std::size_t& nValue) const;
  // Whether the key of a record inside the keys holds no zero and ends with one.
  bool KeyWhole(std::uint32_t nRecord, std::size_t nLength, bool bNarrow) const;
  XStringView TextAt(std::uint32_t nText) const;

  const XChar* ForwardFind(XStringView text, std::uint64_t nHash) const;
  const XChar* ReverseFind(XStringView text, std::uint64_t nHash) const;
  bool Check(std::uint16_t nLastUnit) const;

  std::shared_ptr<const void> m_pOwner;  // what keeps the bytes: the mapping
  XCompiledHeader m_header{};
  const XChar* m_pKeys = nullptr;
  const XChar* m_pTexts = nullptr;
  const std::uint32_t* m_pSlots = nullptr;  // pairs {tag, record}
  const std::uint32_t* m_pIds = nullptr;    // pairs {identifier, text}
  const std::uint32_t* m_pPercent = nullptr;
  const XRSlot* m_pRSlots = nullptr;
};

// A record's key: the length, the units (or bytes) and its value's text.
// Checked: the key lies before the keys' last unit, which is a zero, and the
// value's first unit inside the texts.
inline bool XCompiled::RecordKey(std::uint32_t nRecord, std::size_t& nLength, bool& bNarrow,
                                 std::size_t& nValue) const {
  const std::uint64_t nKeys = m_header.nKeys;
  if (nRecord + std::uint64_t{kRecordHead} >= nKeys) return false;
  const XChar* pHead = m_pKeys + nRecord;
  const auto h1 = static_cast<std::uint16_t>(pHead[1]);
  nLength = static_cast<std::size_t>(static_cast<std::uint16_t>(pHead[0])) | static_cast<std::size_t>(h1 & 0x7FFFu)
                                                                                 << 16;
  bNarrow = (h1 & 0x8000u) != 0;
  nValue = static_cast<std::size_t>(static_cast<std::uint16_t>(pHead[kRecordValue])) |
           static_cast<std::size_t>(static_cast<std::uint16_t>(pHead[kRecordValue + 1])) << 16;
  const std::uint64_t nKeyUnits = bNarrow ? nLength / 2 + 1 : nLength + 1;
  return nRecord + std::uint64_t{kRecordHead} + nKeyUnits < nKeys && nValue < m_header.nTexts;
}

inline const XChar* XCompiled::ForwardFind(XStringView text, std::uint64_t nHash) const {
  const std::uint32_t nSlots = m_header.nSlots;
  if (nSlots == 0) return nullptr;
  const auto nTag = static_cast<std::uint32_t>(nHash);
  std::size_t i = Home(nHash, nSlots);
  // Bounded, so that a table without a free slot cannot hold a lookup.
  for (std::uint32_t nProbes = 0; nProbes < nSlots; ++nProbes) {
    const std::uint32_t nRecord = m_pSlots[2 * i + 1];
    if (nRecord == kFree) return nullptr;
    std::size_t nLength = 0, nValue = 0;
    bool bNarrow = false;
    if (m_pSlots[2 * i] == nTag && RecordKey(nRecord, nLength, bNarrow, nValue) && nLength == text.size()) {
      const XChar* pKey = m_pKeys + nRecord + kRecordHead;
      const bool bSame = bNarrow ? colang::platform::UnitsEqualBytes(
                                       text.data(), reinterpret_cast<const unsigned char*>(pKey), nLength)
                                 : std::memcmp(pKey, text.data(), nLength * sizeof(XChar)) == 0;
      if (bSame) return m_pTexts + nValue;
    }
    if (++i == nSlots) i = 0;
  }
  return nullptr;
}

}  // namespace colang::detail
