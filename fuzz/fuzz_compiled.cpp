// Fuzz target: a compiled catalog that nothing vouches for. The input is the
// file's bytes; the stamp and language its header names are taken as those
// of the catalog beside it, and its header's checksum is made right, as a
// file forged to match would have them.
// Checked, under the sanitizers: whatever is accepted, no lookup and no walk
// of a dictionary it answers reads outside the bytes, and every text found
// ends inside them.
#include <cstring>
#include <memory>

#include "colang/detail/Compiled.h"
#include "colang/detail/DictAccess.h"
#include "colang/pattern/PatternTranslate.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The text ends at a zero within the bytes (or is a result of pattern
// translation, in its pool).
void TextCheck(const XChar* psz, const unsigned char* pBytes, std::size_t nSize) {
  if (psz == nullptr || colang::detail::PatternPoolHolds(psz)) return;
  const auto* p = reinterpret_cast<const unsigned char*>(psz);
  FUZZ_CHECK(p >= pBytes && p < pBytes + nSize);
  FUZZ_CHECK(std::char_traits<XChar>::length(psz) * sizeof(XChar) < nSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  using colang::detail::XCompiled;
  // Exactly the input's size, so that a read beyond it is caught; new[]
  // aligns it as a mapping is.
  std::shared_ptr<unsigned char[]> pBytes(new unsigned char[nSize > 0 ? nSize : 1]);
  if (nSize > 0) std::memcpy(pBytes.get(), pData, nSize);
  colang::detail::XCompiledHeader header{};
  if (nSize >= sizeof header) {
    std::memcpy(&header, pData, sizeof header);
    header.nChecksum = XCompiled::ChecksumOf(pBytes.get());
    std::memcpy(pBytes.get(), &header, sizeof header);
  }
  const std::shared_ptr<const XCompiled> pCompiled =
      XCompiled::FromBytes(pBytes, pBytes.get(), nSize, {header.nTextSize, header.nTextTime},
                           static_cast<int>(header.nLangID), XCompiled::LastUnitOf(pData + nSize, nSize));
  if (pCompiled == nullptr) return 0;

  XLMTranslDict dict;
  XLMTranslDictAccess::CompiledTake(dict, pCompiled);
  dict.LangIDSet(0x0407);
  // Lookups in place, of every key the indexes hold and of every
  // identifier, then the same through a copy whose maps make their entries.
  XBulkVector<XTextEntry> vecEntries, vecReverse;
  XBulkVector<XIdEntry> vecIds;
  std::vector<XTextBlock> vecBlocks;
  pCompiled->Entries(false, vecEntries, vecBlocks, pCompiled);
  pCompiled->Entries(true, vecReverse, vecBlocks, pCompiled);
  pCompiled->IdEntries(vecIds, vecBlocks, pCompiled);
  auto lookUp = [&](const XLMTranslDict& d) {
    for (const XTextEntry& entry : vecEntries)
      TextCheck(d.CheckTranslate(XString(entry.first).c_str()), pBytes.get(), nSize);
    for (const XTextEntry& entry : vecReverse)
      TextCheck(d.CheckRetranslate(XString(entry.first).c_str()), pBytes.get(), nSize);
    for (const XIdEntry& entry : vecIds) TextCheck(d.CheckTranslate(entry.first), pBytes.get(), nSize);
  };
  lookUp(dict);
  (void)pCompiled->PercentEntries();
  (void)dict.CheckTranslate(XT("Page 3 of 10"));
  XLMTranslDict copy(dict);
  std::size_t nWalked = 0;
  for (const XTextEntry& entry : XLMTranslDictAccess::TranslMap(copy)) nWalked += entry.first.size();
  for (const XTextEntry& entry : XLMTranslDictAccess::RetranslMap(copy)) nWalked += entry.second.size();
  for (const XIdEntry& entry : XLMTranslDictAccess::IdMap(copy)) nWalked += entry.second.size();
  (void)nWalked;
  (void)copy.CheckTranslate(XT("Page 3 of 10"));
  return 0;
}
