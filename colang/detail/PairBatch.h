// XPairBatch: the entries of one catalog read, gathered so that they go into
// a dictionary together, each map filled in key order. The texts lie one
// after the other in one buffer; an entry names its texts by position.
#pragma once

#include <cstddef>
#include <vector>

#include "colang/XString.h"

namespace colang::detail {

struct XPairBatch {
  // A text of the batch: where it starts in m_vecText, and its length.
  struct XSpan {
    std::size_t nOffset;
    std::size_t nLength;
  };
  struct XTextPair {
    XSpan source;
    XSpan transl;
  };
  struct XIdPair {
    unsigned int nID;
    XSpan transl;
  };

  // The characters of a text of this batch.
  XStringView View(XSpan span) const { return XStringView(m_vecText.data() + span.nOffset, span.nLength); }

  std::vector<XChar> m_vecText;
  std::vector<XTextPair> m_vecPairs;  // in reading order: a later pair wins
  std::vector<XIdPair> m_vecIds;      // in reading order: a later pair wins
};

}  // namespace colang::detail
