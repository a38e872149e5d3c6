// Inside access to a dictionary for the library's own tools and tests: filling
// it entry by entry and walking its maps. Not part of the installed API.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictMaps.h"
#include "colang/detail/PairBatch.h"

struct XLMTranslDictAccess {
  static void Insert(XLMTranslDict& dict, const XChar* pszSource, const XChar* pszTransl) {
    dict.PairInsert(pszSource, pszTransl);
  }
  static void Insert(XLMTranslDict& dict, unsigned int nID, const XChar* pszTransl) { dict.PairInsert(nID, pszTransl); }
  // Inserts text pairs, in order (of one source the last wins), as a catalog
  // read does: all together.
  static void InsertAll(XLMTranslDict& dict, const std::vector<std::pair<XString, XString>>& vecPairs) {
    colang::detail::XPairBatch batch;
    // Like a text handed to PairInsert, each ends at its first zero.
    auto add = [&batch](const XString& str) {
      const XStringView text = XStringView(str).substr(0, str.find(XChar(0)));
      return batch.TextEnd(std::copy(text.begin(), text.end(), batch.TextRoom(text.size())));
    };
    for (const auto& [strSource, strTransl] : vecPairs) {
      const XStringView source = add(strSource);
      batch.PairAdd(source, add(strTransl));
    }
    dict.PairsInsert(batch);
  }
  // Leaves an empty dictionary's maps to a compiled catalog.
  static void CompiledTake(XLMTranslDict& dict, const std::shared_ptr<const colang::detail::XCompiled>& pCompiled) {
    dict.CompiledTake(pCompiled);
  }
  static const XLMTranslDict::XMapTransl& TranslMap(const XLMTranslDict& dict) { return *dict.m_mapTransl; }
  static const XLMTranslDict::XMapTransl& RetranslMap(const XLMTranslDict& dict) { return *dict.m_mapRetransl; }
  static const XLMTranslDict::XMapIdTransl& IdMap(const XLMTranslDict& dict) { return *dict.m_mapIdTransl; }
  static const XString& DefaultDir(const XLMTranslDict& dict) { return dict.m_strDefaultDir; }
};
