// The pattern translator: the format-specifier entries of up to five
// translation maps, kept as patterns in one ordered tree, and the search
// that finds the pattern a text's tokens fit.
//
// A text fits a pattern when, white space aside, every token pair matches: a
// number and a format specifier match each other, two numbers match when
// their values agree to 10 significant digits, everything else must be equal
// code unit by code unit. Because a number matches every specifier while the
// specifiers differ among themselves, this order is not a strict weak order;
// the tree is searched exactly as described at Translate, and which of several
// candidate patterns is reached may depend on the tree's shape.
//
// Patterns are compared with texts as views, without copying a character:
// a pattern keeps its source and translation once, and its tokens point into
// them. Beside the tree lies an index by shape (the words of a pattern, and
// where its placeholders stand), which turns away at once a text that no
// pattern can fit, and finds the pattern of a text directly wherever the
// patterns around it prove that the tree's search would reach that very
// pattern (see DirectMark in the .cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/pattern/Token.h"
#include "colang/pattern/TokenScan.h"

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

namespace colang::detail {

// TokVecCompare of two sequences without white space.
XCmpResult TokensCompare(const XTokRef* a, size_t na, const XTokRef* b, size_t nb);

// A collected pattern: a source text with a format specifier and its
// translation, both as the map held them up to a first zero, with their
// tokens as views into them. Pattern, tokens and texts lie in one block, so
// that matching a text against a pattern reads a few neighbouring cache
// lines.
struct XPattern {
  XStringView source;  // each text followed by a zero
  XStringView transl;
  const XTokRef* pKey;  // the source's tokens but white space
  size_t nKey;
  const XTokRef* pHolders;  // the translation's numbers and specifiers, in order
  size_t nHolders;
  bool bDirect;  // a text equal to this pattern finds it by its shape
};

// Gives a pattern's block back.
struct XPatternFree {
  void operator()(XPattern* pPattern) const;
};
using XPatternPtr = std::unique_ptr<XPattern, XPatternFree>;

}  // namespace colang::detail

class XMapTokVecTransl {
 public:
  using XMapTransl = XLMTranslDict::XMapTransl;
  using XPattern = colang::detail::XPattern;
  using XTextTokens = colang::detail::XTextTokens;
  using XTokRef = colang::detail::XTokRef;
  // How many translation maps are ever collected.
  static constexpr int kTranslMapSlots = 5;

  XMapTokVecTransl() = default;
  // The patterns are one object's: they are neither copied nor moved.
  XMapTokVecTransl(const XMapTokVecTransl&) = delete;
  XMapTokVecTransl& operator=(const XMapTokVecTransl&) = delete;

  // Collects mapTransl's patterns unless this map (by address) was collected
  // before or all slots are taken; the first map beyond the slots shows a
  // message box once per process. Always true.
  bool TranslMapCheck(const XMapTransl& mapTransl);
  // Whether TranslMapCheck would change nothing for mapTransl: it was
  // collected, or all slots are taken and the overflow message was shown.
  bool MapKnown(const XMapTransl& mapTransl) const;
  // Adds the patterns of mapTransl: entries whose source text holds a format
  // specifier. A pattern equal to one present already is not added.
  void TranslMapCollect(const XMapTransl& mapTransl);
  // The translation of the pattern that tokvecText fits, assigned to
  // tokvecOut; false (tokvecOut untouched) when none fits.
  bool Translate(XTokVec& tokvecOut, const XTokVec& tokvecText) const;
  // The same for the tokens of a text split by XTextTokens::Scan: the
  // pattern found, or null. Allocates nothing.
  const XPattern* Search(const XTextTokens& tokens) const;

  // For inspection: how many patterns there are, and the source text of the
  // pattern at the lower bound of tokvec in the tree (bEqual false) or of the
  // pattern equal to it as the tree finds it (bEqual true); null for none.
  size_t PatternCount() const { return m_setPatterns.size(); }
  const XChar* PatternSource(const XTokVec& tokvec, bool bEqual) const;

 private:
  // A sequence to search for: tokens without white space.
  struct XQuery {
    const XTokRef* p;
    size_t n;
  };
  // The tree's order, between patterns and between a pattern and a query.
  struct XPatternLess {
    using is_transparent = void;
    bool operator()(const colang::detail::XPatternPtr& a, const colang::detail::XPatternPtr& b) const;
    bool operator()(const colang::detail::XPatternPtr& a, const XQuery& b) const;
    bool operator()(const XQuery& a, const colang::detail::XPatternPtr& b) const;
  };
  using XPatternSet = std::set<colang::detail::XPatternPtr, XPatternLess>;
  // A slot of the shape index: a shape's hash and one pattern of that shape.
  struct XShapeSlot {
    uint64_t nHash;
    const XPattern* pPattern;  // null: the slot is free
  };

  // Translate's two searches through the tree.
  const XPattern* TreeSearch(const XTokRef* pText, size_t nText, bool bFirstIsNumber) const;
  // From the lower bound of key on, the first pattern that the text fits,
  // stopping at the first pattern that stands after the text.
  const XPattern* PatternSearch(const XQuery& key, const XQuery& text) const;
  // Marks the patterns that a text equal to them finds by shape, and indexes
  // every pattern by its shape.
  void DirectMark();
  void ShapesIndex();

  XPatternSet m_setPatterns;
  std::vector<XShapeSlot> m_vecShapes;  // a power of two in size, at most half full
  // The key of Translate's second search, kept so that searching allocates nothing.
  mutable std::vector<XTokRef> m_vecKeyScratch;
  // Identities of the collected maps, filled from the front, never emptied.
  const XMapTransl* m_apMapTransl[kTranslMapSlots] = {};
};
