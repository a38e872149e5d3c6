// The pattern translator: the format-specifier entries of up to five
// translation maps, kept as token sequences (pattern -> translation) in one
// ordered map, and the search that finds the pattern a text's tokens fit.
//
// A text fits a pattern when, white space aside, every token pair matches: a
// number and a format specifier match each other, two numbers match when
// their values agree to 10 significant digits, everything else must be equal
// code unit by code unit. Because a number matches every specifier while the
// specifiers differ among themselves, this order is not a strict weak order;
// the map is searched exactly as described at Translate, and which of several
// candidate patterns is reached may depend on the tree's shape.
#pragma once

#include <cstdint>
#include <map>

#include "colang/LMTranslDict.h"
#include "colang/pattern/Token.h"

// The result of comparing two token sequences; the values are fixed.
enum XCmpResult : int32_t {
  eCmpLess = 1,
  eCmpGreater = 2,
  eCmpEqual = 3,
};

// Compares a and b token by token, skipping white space (see above).
XCmpResult TokVecCompare(const XTokVec& a, const XTokVec& b);

// "<", ">" or "=" for a comparison result, "?" for any other value.
const XChar* CompareResultString(int32_t nResult);

// The pattern map's order: a before b when TokVecCompare(a, b) is eCmpLess.
struct XTokVecLess {
  bool operator()(const XTokVec& a, const XTokVec& b) const { return TokVecCompare(a, b) == eCmpLess; }
};

class XMapTokVecTransl {
 public:
  using XMapPattern = std::map<XTokVec, XTokVec, XTokVecLess>;
  using XMapTransl = XLMTranslDict::XMapTransl;
  // How many translation maps are ever collected.
  static constexpr int kTranslMapSlots = 5;

  // Collects mapTransl's patterns unless this map (by address) was collected
  // before or all slots are taken; the first map beyond the slots shows a
  // message box once per process. Always true.
  bool TranslMapCheck(const XMapTransl& mapTransl);
  // Adds the patterns of mapTransl: entries whose source text holds a format
  // specifier. A pattern equal to one present already is not added.
  void TranslMapCollect(const XMapTransl& mapTransl);
  // The translation of the pattern that tokvecText fits, assigned to
  // tokvecOut; false (tokvecOut untouched) when none fits.
  bool Translate(XTokVec& tokvecOut, const XTokVec& tokvecText) const;

  // The collected patterns, for inspection.
  const XMapPattern& PatternMap() const { return m_mapPattern; }

 private:
  // From the lower bound of tokvecKey on, the first pattern that tokvecText
  // fits, stopping at the first pattern that stands after tokvecText.
  const XTokVec* PatternSearch(const XTokVec& tokvecKey, const XTokVec& tokvecText) const;

  XMapPattern m_mapPattern;
  // Identities of the collected maps, filled from the front, never emptied.
  const XMapTransl* m_apMapTransl[kTranslMapSlots] = {};
};
