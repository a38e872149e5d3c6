// Compiled catalogs: checking a mapped one, the lookups that are not inline,
// the walks that turn its indexes back into a map's entries, and writing one
// from a dictionary's maps.
#include "colang/detail/Compiled.h"

#include <algorithm>
#include <unordered_map>

namespace colang::detail {

namespace {

constexpr char kMagic[8] = {'c', 'o', 'l', 'a', 'n', 'g', 'C', 0x1A};

// Whether count elements of nSize bytes from byte nAt lie inside nFileSize
// bytes, at a multiple of nAlign.
bool SectionFits(std::uint32_t nCount, std::uint32_t nAt, std::size_t nSize, std::size_t nAlign,
                 std::uint64_t nFileSize) {
  return nAt % nAlign == 0 && nAt >= sizeof(XCompiledHeader) &&
         std::uint64_t{nAt} + std::uint64_t{nCount} * nSize <= nFileSize;
}

std::size_t Align8(std::size_t n) { return (n + 7) & ~std::size_t{7}; }

// A checksum of the words of a header.
std::uint64_t Checksum(const XCompiledHeader& h) {
  std::uint64_t aWords[sizeof h / 8];
  static_assert(sizeof h % 8 == 0, "a header is whole words");
  std::memcpy(aWords, &h, sizeof h);
  std::uint64_t nSum = sizeof h;
  for (std::uint64_t w : aWords) nSum = ((nSum ^ w) * 0x9E3779B97F4A7C15ull) ^ (nSum >> 31);
  return nSum ^ (nSum >> 29);
}

}  // namespace

std::uint64_t XCompiled::ChecksumOf(const unsigned char* p) {
  XCompiledHeader h;
  std::memcpy(&h, p, sizeof h);
  h.nChecksum = 0;
  return Checksum(h);
}

namespace {

// A key kept as bytes: every unit below 256, and no "%", so that the keys
// pattern translation looks at stay texts a map can show.
bool IsNarrow(XStringView key) {
  return std::all_of(key.begin(), key.end(), [](XChar c) { return c < 256 && c != XChar('%'); });
}

}  // namespace

std::shared_ptr<const XCompiled> XCompiled::Open(const XChar* pszName, const colang::platform::XFileStamp& stamp,
                                                 int nLangID) {
  auto pMapping = colang::platform::FileMap(pszName, 0xFFFFFFFFu);
  if (pMapping == nullptr) return nullptr;
  const unsigned char* p = pMapping->Data();
  const std::size_t nSize = pMapping->Size();
  const std::uint16_t nLastUnit = LastUnitOf(pMapping->Tail() + pMapping->TailSize(), pMapping->TailSize());
  return FromBytes(std::move(pMapping), p, nSize, stamp, nLangID, nLastUnit);
}

std::shared_ptr<const XCompiled> XCompiled::FromBytes(std::shared_ptr<const void> pOwner, const unsigned char* p,
                                                      std::size_t nSize, const colang::platform::XFileStamp& stamp,
                                                      int nLangID, std::uint16_t nLastUnit) {
  if (nSize < sizeof(XCompiledHeader)) return nullptr;
  auto pCompiled = std::make_shared<XCompiled>();
  XCompiled& c = *pCompiled;
  std::memcpy(&c.m_header, p, sizeof c.m_header);
  const XCompiledHeader& h = c.m_header;
  if (std::memcmp(h.acMagic, kMagic, sizeof kMagic) != 0 || h.nByteOrder != 0xFEFF || h.nUnitBytes != sizeof(XChar) ||
      h.nVersion != kVersion || h.nFileSize != nSize || h.nTextSize != stamp.nSize || h.nTextTime != stamp.nTime ||
      h.nLangID != static_cast<std::uint32_t>(nLangID) || h.nChecksum != ChecksumOf(p))
    return nullptr;
  const std::uint64_t nFile = h.nFileSize;
  if (!SectionFits(h.nKeys, h.nKeysAt, sizeof(XChar), 8, nFile) || !SectionFits(h.nSlots, h.nSlotsAt, 8, 8, nFile) ||
      !SectionFits(h.nIds, h.nIdsAt, 8, 8, nFile) || !SectionFits(h.nPercent, h.nPercentAt, 4, 8, nFile) ||
      !SectionFits(h.nRSlots, h.nRSlotsAt, 12, 8, nFile) || !SectionFits(h.nTexts, h.nTextsAt, sizeof(XChar), 8, nFile))
    return nullptr;
  c.m_pKeys = reinterpret_cast<const XChar*>(p + h.nKeysAt);
  c.m_pTexts = reinterpret_cast<const XChar*>(p + h.nTextsAt);
  c.m_pSlots = reinterpret_cast<const std::uint32_t*>(p + h.nSlotsAt);
  c.m_pIds = reinterpret_cast<const std::uint32_t*>(p + h.nIdsAt);
  c.m_pPercent = reinterpret_cast<const std::uint32_t*>(p + h.nPercentAt);
  c.m_pRSlots = reinterpret_cast<const XRSlot*>(p + h.nRSlotsAt);
  c.m_pOwner = std::move(pOwner);
  if (!c.Check(nLastUnit)) return nullptr;
  return pCompiled;
}

// The keys and the texts end with a zero, so that every text that starts
// inside them ends inside them; the texts end the file, and their last unit
// is nLastUnit, read through the file. Each index's count fits it. The
// tables themselves are not read here: reading them all would cost a large
// catalog's load many times over, and touch pages a process may never need.
// Every entry is checked as it is read instead.
bool XCompiled::Check(std::uint16_t nLastUnit) const {
  const XCompiledHeader& h = m_header;
  return h.nKeys > 0 && m_pKeys[h.nKeys - 1] == 0 && h.nTexts > 0 &&
         std::uint64_t{h.nTextsAt} + std::uint64_t{h.nTexts} * sizeof(XChar) == h.nFileSize && nLastUnit == 0 &&
         h.nEntries < h.nSlots + (h.nSlots == 0) && h.nREntries < h.nRSlots + (h.nRSlots == 0);
}

bool XCompiled::KeyWhole(std::uint32_t nRecord, std::size_t nLength, bool bNarrow) const {
  // A key as a map keeps it holds no zero and is followed by one.
  const XChar* pKey = m_pKeys + nRecord + kRecordHead;
  if (bNarrow) {
    const auto* pBytes = reinterpret_cast<const unsigned char*>(pKey);
    return std::find(pBytes, pBytes + nLength, 0) == pBytes + nLength && pBytes[nLength] == 0;
  }
  return std::find(pKey, pKey + nLength, XChar(0)) == pKey + nLength && pKey[nLength] == 0;
}

XStringView XCompiled::TextAt(std::uint32_t nText) const {
  // Checked inside the texts, which end with a zero.
  return XStringView(m_pTexts + nText);
}

const XChar* XCompiled::ReverseFind(XStringView text, std::uint64_t nHash) const {
  const std::uint32_t nSlots = m_header.nRSlots;
  if (nSlots == 0) return nullptr;
  const auto nTag = static_cast<std::uint32_t>(nHash);
  std::size_t i = Home(nHash, nSlots);
  for (std::uint32_t nProbes = 0; nProbes < nSlots; ++nProbes) {
    const XRSlot& slot = m_pRSlots[i];
    if (slot.nKey == kFree) return nullptr;
    if (slot.nTag == nTag && slot.nKey + std::uint64_t{text.size()} < m_header.nTexts &&
        slot.nValue < m_header.nTexts &&
        std::memcmp(m_pTexts + slot.nKey, text.data(), text.size() * sizeof(XChar)) == 0 &&
        m_pTexts[slot.nKey + text.size()] == 0)
      return m_pTexts + slot.nValue;
    if (++i == nSlots) i = 0;
  }
  return nullptr;
}

const XChar* XCompiled::IdFind(unsigned int nID) const {
  std::size_t nLow = 0, nHigh = m_header.nIds;
  while (nLow < nHigh) {
    const std::size_t nMid = nLow + (nHigh - nLow) / 2;
    if (m_pIds[2 * nMid] < nID)
      nLow = nMid + 1;
    else
      nHigh = nMid;
  }
  if (nLow == m_header.nIds || m_pIds[2 * nLow] != nID || m_pIds[2 * nLow + 1] >= m_header.nTexts) return nullptr;
  return m_pTexts + m_pIds[2 * nLow + 1];
}

void XCompiled::Entries(bool bReverse, XBulkVector<XTextEntry>& vecOut, std::vector<XTextBlock>& vecBlocks,
                        const std::shared_ptr<const XCompiled>& pSelf) const {
  vecOut.clear();
  vecOut.reserve(Count(bReverse));
  vecBlocks.push_back(XTextBlock(pSelf, m_pTexts));
  if (bReverse) {
    for (std::uint32_t i = 0; i < m_header.nRSlots; ++i) {
      const XRSlot& slot = m_pRSlots[i];
      if (slot.nKey != kFree && slot.nKey < m_header.nTexts && slot.nValue < m_header.nTexts)
        vecOut.push_back({TextAt(slot.nKey), TextAt(slot.nValue)});
    }
    return;
  }
  // Narrow keys are made wide in a block of their own, each with its zero.
  std::size_t nWide = 0;
  for (std::uint32_t i = 0; i < m_header.nSlots; ++i) {
    std::size_t nLength = 0, nValue = 0;
    bool bNarrow = false;
    if (m_pSlots[2 * i + 1] != kFree && RecordKey(m_pSlots[2 * i + 1], nLength, bNarrow, nValue) && bNarrow &&
        KeyWhole(m_pSlots[2 * i + 1], nLength, true))
      nWide += nLength + 1;
  }
  std::shared_ptr<XChar[]> pWide(new XChar[std::max<std::size_t>(nWide, 1)]);
  XChar* pNext = pWide.get();
  for (std::uint32_t i = 0; i < m_header.nSlots; ++i) {
    std::size_t nLength = 0, nValue = 0;
    bool bNarrow = false;
    const std::uint32_t nRecord = m_pSlots[2 * i + 1];
    // A record that does not lie inside the keys is found by no lookup,
    // nor, like a key with a zero, by a walk.
    if (nRecord == kFree || !RecordKey(nRecord, nLength, bNarrow, nValue) || !KeyWhole(nRecord, nLength, bNarrow))
      continue;
    XStringView key(m_pKeys + nRecord + kRecordHead, nLength);
    if (bNarrow) {
      const auto* pBytes = reinterpret_cast<const unsigned char*>(m_pKeys + nRecord + kRecordHead);
      key = XStringView(pNext, nLength);
      pNext = std::copy(pBytes, pBytes + nLength, pNext);
      *pNext++ = 0;
    }
    vecOut.push_back({key, TextAt(static_cast<std::uint32_t>(nValue))});
  }
  vecBlocks.push_back(std::move(pWide));
}

void XCompiled::IdEntries(XBulkVector<XIdEntry>& vecOut, std::vector<XTextBlock>& vecBlocks,
                          const std::shared_ptr<const XCompiled>& pSelf) const {
  vecOut.clear();
  vecOut.reserve(m_header.nIds);
  // An identifier map is in order and holds each identifier once: entries
  // out of order, or whose text lies out of the texts, are left out.
  for (std::uint32_t i = 0; i < m_header.nIds; ++i)
    if (m_pIds[2 * i + 1] < m_header.nTexts && (vecOut.empty() || m_pIds[2 * i] > vecOut.back().first))
      vecOut.push_back({m_pIds[2 * i], TextAt(m_pIds[2 * i + 1])});
  vecBlocks.push_back(XTextBlock(pSelf, m_pTexts));
}

std::vector<XTextEntry> XCompiled::PercentEntries() const {
  std::vector<XTextEntry> vecOut;
  vecOut.reserve(m_header.nPercent);
  for (std::uint32_t i = 0; i < m_header.nPercent; ++i) {
    std::size_t nLength = 0, nValue = 0;
    bool bNarrow = false;
    if (RecordKey(m_pPercent[i], nLength, bNarrow, nValue) && !bNarrow && KeyWhole(m_pPercent[i], nLength, false))
      vecOut.push_back(
          {XStringView(m_pKeys + m_pPercent[i] + kRecordHead, nLength), TextAt(static_cast<std::uint32_t>(nValue))});
  }
  return vecOut;
}

// --- writing --------------------------------------------------------------------

namespace {

// The sections as they are built, in units and 32-bit words.
class XCompiledWriter {
 public:
  // Appends a translation record; gives its offset. Its value's text is
  // placed by ValuesPlace, once every record is in.
  std::uint32_t RecordAdd(XStringView key, XStringView value) {
    const std::size_t nRecord = m_vecKeys.size();
    const bool bNarrow = IsNarrow(key);
    m_vecKeys.push_back(static_cast<XChar>(key.size() & 0xFFFFu));
    m_vecKeys.push_back(static_cast<XChar>((key.size() >> 16 & 0x7FFFu) | (bNarrow ? 0x8000u : 0u)));
    m_vecKeys.resize(m_vecKeys.size() + 2);  // the value's text, placed later
    if (bNarrow) {
      // Bytes in file order, two to a unit, low byte first.
      for (std::size_t k = 0; k < key.size() + 1; k += 2) {
        const unsigned b0 = key[k] & 0xFFu;
        const unsigned b1 = k + 1 < key.size() ? key[k + 1] & 0xFFu : 0u;
        m_vecKeys.push_back(static_cast<XChar>(b0 | b1 << 8));
      }
    } else {
      TextPut(m_vecKeys, key);
    }
    m_vecValues.push_back({static_cast<std::uint32_t>(nRecord), value});
    return static_cast<std::uint32_t>(nRecord);
  }
  // Places the records' values in the texts, in the records' order.
  void ValuesPlace() {
    for (const auto& [nRecord, value] : m_vecValues) {
      const std::uint32_t nValue = TextOffset(value);
      m_vecKeys[nRecord + XCompiled::kRecordValue] = static_cast<XChar>(nValue & 0xFFFFu);
      m_vecKeys[nRecord + XCompiled::kRecordValue + 1] = static_cast<XChar>(nValue >> 16);
    }
    m_vecValues.clear();
  }
  // The offset of a text already in the texts, or of a copy appended now.
  std::uint32_t TextOffset(XStringView text) {
    auto it = m_mapTexts.find(XString(text));
    if (it != m_mapTexts.end()) return it->second;
    const auto nAt = static_cast<std::uint32_t>(m_vecTexts.size());
    m_mapTexts.emplace(XString(text), nAt);
    TextPut(m_vecTexts, text);
    return nAt;
  }
  // Ends both sections with a zero, whatever their last text; false when
  // they do not fit the format's 32-bit offsets.
  bool Finish() {
    m_vecKeys.push_back(0);
    m_vecTexts.push_back(0);
    return m_vecKeys.size() < XCompiled::kFree && m_vecTexts.size() < XCompiled::kFree;
  }
  const std::vector<XChar>& Keys() const { return m_vecKeys; }
  const std::vector<XChar>& Texts() const { return m_vecTexts; }

 private:
  static void TextPut(std::vector<XChar>& vec, XStringView text) {
    vec.insert(vec.end(), text.begin(), text.end());
    vec.push_back(0);
  }
  std::vector<XChar> m_vecKeys, m_vecTexts;
  std::unordered_map<XString, std::uint32_t> m_mapTexts;
  std::vector<std::pair<std::uint32_t, XStringView>> m_vecValues;  // records waiting for their value
};

// An index of nSlots slots of nWords words, the first the tag and the
// second kFree in a free slot; each key goes to the first free slot from its
// home.
std::vector<std::uint32_t> SlotsFree(std::size_t nSlots, std::size_t nWords) {
  std::vector<std::uint32_t> vec(nSlots * nWords, 0);
  for (std::size_t i = 0; i < nSlots; ++i) vec[i * nWords + 1] = XCompiled::kFree;
  return vec;
}

// At most half full: a miss then tries two or three slots on average.
std::size_t SlotsFor(std::size_t nKeys) { return nKeys == 0 ? 0 : 2 * nKeys + 1; }

template <std::size_t nWords>
void SlotPut(std::vector<std::uint32_t>& vecSlots, XStringView key, const std::uint32_t (&aWords)[nWords - 1]) {
  const std::size_t nSlots = vecSlots.size() / nWords;
  const std::uint64_t nHash = XTextMap::TextHash(key);
  std::size_t i = static_cast<std::size_t>(((nHash >> 32) * nSlots) >> 32);
  while (vecSlots[i * nWords + 1] != XCompiled::kFree) i = i + 1 == nSlots ? 0 : i + 1;
  vecSlots[i * nWords] = static_cast<std::uint32_t>(nHash);
  std::copy(aWords, aWords + nWords - 1, vecSlots.begin() + static_cast<std::ptrdiff_t>(i * nWords + 1));
}

template <typename T>
void BytesPut(std::string& strOut, std::size_t nAt, const T* p, std::size_t n) {
  if (n > 0) std::memcpy(&strOut[nAt], p, n * sizeof(T));
}

}  // namespace

std::string XCompiled::Bytes(const XTextMap& mapTransl, const XTextMap& mapRetransl, const XIdMap& mapIds,
                             const colang::platform::XFileStamp& stamp, int nLangID) {
  XCompiledWriter writer;
  // The translation records in key order: nearby keys (a menu's items) lie
  // near one another.
  std::vector<std::uint32_t> vecSlots = SlotsFree(SlotsFor(mapTransl.size()), 2);
  std::vector<std::uint32_t> vecPercent;
  for (const XTextEntry& entry : mapTransl) {
    const std::uint32_t nRecord = writer.RecordAdd(entry.first, entry.second);
    SlotPut<2>(vecSlots, entry.first, {nRecord});
    if (entry.first.find(XChar('%')) != XStringView::npos) vecPercent.push_back(nRecord);
  }
  writer.ValuesPlace();
  std::vector<std::uint32_t> vecIds;
  for (const XIdEntry& entry : mapIds) {
    vecIds.push_back(entry.first);
    vecIds.push_back(writer.TextOffset(entry.second));
  }
  std::vector<std::uint32_t> vecRSlots = SlotsFree(SlotsFor(mapRetransl.size()), 3);
  for (const XTextEntry& entry : mapRetransl) {
    const std::uint32_t nKey = writer.TextOffset(entry.first);
    SlotPut<3>(vecRSlots, entry.first, {nKey, writer.TextOffset(entry.second)});
  }
  if (!writer.Finish()) return std::string();

  XCompiledHeader h{};
  std::memcpy(h.acMagic, kMagic, sizeof kMagic);
  h.nByteOrder = 0xFEFF;
  h.nUnitBytes = sizeof(XChar);
  h.nVersion = kVersion;
  h.nTextSize = stamp.nSize;
  h.nTextTime = stamp.nTime;
  h.nLangID = static_cast<std::uint32_t>(nLangID);
  std::size_t nAt = Align8(sizeof h);
  auto place = [&nAt](std::uint32_t& nCount, std::uint32_t& nSectionAt, std::size_t nElements, std::size_t nSize) {
    nCount = static_cast<std::uint32_t>(nElements);
    nSectionAt = static_cast<std::uint32_t>(nAt);
    nAt = Align8(nAt + nElements * nSize);
  };
  place(h.nSlots, h.nSlotsAt, vecSlots.size() / 2, 8);
  place(h.nKeys, h.nKeysAt, writer.Keys().size(), sizeof(XChar));
  place(h.nIds, h.nIdsAt, vecIds.size() / 2, 8);
  place(h.nPercent, h.nPercentAt, vecPercent.size(), 4);
  place(h.nRSlots, h.nRSlotsAt, vecRSlots.size() / 3, 12);
  // The file ends where the texts do, so that their last unit is its last.
  const std::size_t nTextsAt = nAt;
  place(h.nTexts, h.nTextsAt, writer.Texts().size(), sizeof(XChar));
  nAt = nTextsAt + writer.Texts().size() * sizeof(XChar);
  if (nAt >= 0xFFFFFFFFu) return std::string();
  h.nFileSize = static_cast<std::uint32_t>(nAt);
  h.nEntries = static_cast<std::uint32_t>(mapTransl.size());
  h.nREntries = static_cast<std::uint32_t>(mapRetransl.size());

  std::string strOut(nAt, '\0');
  BytesPut(strOut, h.nSlotsAt, vecSlots.data(), vecSlots.size());
  BytesPut(strOut, h.nKeysAt, writer.Keys().data(), writer.Keys().size());
  BytesPut(strOut, h.nIdsAt, vecIds.data(), vecIds.size());
  BytesPut(strOut, h.nPercentAt, vecPercent.data(), vecPercent.size());
  BytesPut(strOut, h.nRSlotsAt, vecRSlots.data(), vecRSlots.size());
  BytesPut(strOut, h.nTextsAt, writer.Texts().data(), writer.Texts().size());
  BytesPut(strOut, 0, &h, 1);
  h.nChecksum = ChecksumOf(reinterpret_cast<const unsigned char*>(strOut.data()));
  BytesPut(strOut, 0, &h, 1);
  return strOut;
}

}  // namespace colang::detail
