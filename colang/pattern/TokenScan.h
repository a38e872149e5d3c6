// The tokenizer's pieces, for the library and its tests: the three scanners,
// the rules that split a text with them, and tokens as views into the text
// they were cut from, which pattern translation uses so that matching a text
// copies none of its characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "colang/XString.h"
#include "colang/detail/DictText.h"
#include "colang/pattern/Token.h"
#include "colang/platform/Compiler.h"

namespace colang::detail {

// Each scanner reads from text[nPos] onward, never beyond text's end, and
// gives the length of what it found, or 0.
// A number: sign, digits, "." or "," with fraction digits, exponent with
// digits. 0 unless a digit follows the optional sign.
int ScanNumber(XStringView text, size_t nPos);
// A format specifier starting with the "%" at nPos; 0 for any other form.
int ScanFormat(XStringView text, size_t nPos);
// A run of blanks and tabs.
int ScanWhites(XStringView text, size_t nPos);

// Splits text into tokens, calling sink(kind, position, length) for each in
// text order; the rules are those of XTokVec::Tokenize, which is one caller.
// Whether a code unit may begin a token other than a string run: a sign, a
// digit, "%", a blank or a tab. All lie below 64, so one word holds them.
inline bool MayBeginToken(XChar c) {
  constexpr uint64_t kBegin = 1ull << '\t' | 1ull << ' ' | 1ull << '%' | 1ull << '+' | 1ull << '-' | 0x3FFull << '0';
  return static_cast<uint16_t>(c) < 64 && (kBegin >> static_cast<uint16_t>(c) & 1) != 0;
}

// ScanNumber, with plain digits that nothing follows which could continue
// them (most numbers in texts) read on the spot.
inline int NumberLength(XStringView text, size_t nPos) {
  size_t i = nPos;
  while (i < text.size() && text[i] >= XT('0') && text[i] <= XT('9')) ++i;
  if (i > nPos && i - nPos < 64) {
    const XChar c = i < text.size() ? text[i] : XChar(0);
    if (c != XT('.') && c != XT(',') && c != XT('e') && c != XT('E')) return static_cast<int>(i - nPos);
  }
  return ScanNumber(text, nPos);
}

template <typename Sink>
void TokensScan(XStringView text, Sink&& sink) {
  const XChar* const p = text.data();
  const size_t nSize = text.size();
  size_t i = 0;
  size_t nRunStart = 0;
  // A token of that kind from i up to nEnd, after the pending run; a new run
  // starts behind it.
  auto tokenTake = [&](int32_t nKind, size_t nEnd) {
    if (i > nRunStart) sink(eKIDString, nRunStart, i - nRunStart);
    sink(nKind, i, nEnd - i);
    i = nRunStart = nEnd;
  };
  auto isWhite = [](XChar c) { return c == XT(' ') || c == XT('\t'); };
  while (i < nSize) {
    const XChar c = p[i];
    if (!MayBeginToken(c)) {
      // Part of the pending run, as are most units of most texts. Units from
      // 64 ("@") up never begin a token: four at a time are passed, up to the
      // first below 64 (the lowest lane whose upper ten bits are all 0).
      constexpr uint64_t kOnes = 0x0001000100010001ull;
      for (++i; i + 4 <= nSize; i += 4) {
        const uint64_t nUpper = Units4(p + i) & 0xFFC0FFC0FFC0FFC0ull;
        const uint64_t nLow = (nUpper - kOnes) & ~nUpper & (kOnes << 15);
        if (nLow != 0) {
          i += platform::LowZeroBits(nLow) / 16;
          break;
        }
      }
    } else if (isWhite(c)) {
      size_t nEnd = i + 1;
      while (nEnd < nSize && isWhite(p[nEnd])) ++nEnd;
      tokenTake(eKIDWhites, nEnd);
    } else if (c == XT('%')) {
      if (i + 1 < nSize && p[i + 1] == XT('%'))
        i += 2;  // a doubled percent sign is plain text
      else if (const int n = ScanFormat(text, i))
        tokenTake(eKIDFormat, i + static_cast<size_t>(n));
      else
        ++i;
    } else if (const int n = NumberLength(text, i)) {
      tokenTake(eKIDNumber, i + static_cast<size_t>(n));
    } else {
      ++i;
    }
  }
  if (i > nRunStart) sink(eKIDString, nRunStart, i - nRunStart);
}

// A token as a view: its kind and the code units it covers, wherever they lie.
struct XTokRef {
  int32_t nKind;
  uint32_t nLength;
  const XChar* p;

  XStringView Text() const { return XStringView(p, nLength); }
  // Numbers and format specifiers: a text's arguments, a pattern's placeholders.
  bool IsArgument() const { return nKind == eKIDNumber || nKind == eKIDFormat; }
};

// One step of the hash of a token sequence's shape: how many tokens it has,
// the text of each word, and where the arguments stand, whatever they are.
// A text equal to a pattern has the pattern's shape: its words must be the
// pattern's, code unit for code unit, and an argument matches only an
// argument (a word holds no digit and is never a whole format specifier, so
// it can never equal one).
inline uint64_t ShapeStep(uint64_t nHash, const XTokRef& token) {
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
  auto mix = [](uint64_t h, uint64_t w) {
    h = (h ^ w) * kMul;
    return h ^ (h >> 32);
  };
  if (token.IsArgument()) return mix(nHash, 0xA5A5A5A5u);
  // Four code units at a time; the last four overlap the ones before when
  // the length is no multiple of four, so no word needs a loop for its tail.
  const XChar* p = token.p;
  const size_t n = token.nLength;
  uint64_t w = n;
  if (n < 4) {
    uint64_t nUnits = 0;
    for (size_t k = 0; k < n; ++k) nUnits |= static_cast<uint64_t>(static_cast<uint16_t>(p[k])) << (16 * k);
    return mix(nHash, mix(w, nUnits));
  }
  for (size_t k = 4; k < n; k += 4, p += 4) w = mix(w, Units4(p));
  return mix(nHash, mix(w, Units4(token.p + n - 4)));
}

// The tokens of one text that take part in matching, that is all but white
// space, as views into the text, with the hash of their shape. The buffer is
// kept from text to text, so that splitting a text allocates nothing once it
// has grown.
class XTextTokens {
 public:
  // Splits text (at most INT_MAX code units of it are looked at).
  void Scan(XStringView text);
  // The tokens of a token sequence, viewing the sequence's own texts.
  void Assign(const XTokVec& tokvec);

  const XTokRef* data() const { return m_vecTokens.data(); }
  size_t size() const { return m_nSize; }
  const XTokRef& operator[](size_t i) const { return m_vecTokens[i]; }
  // How many tokens the text has, white space included.
  size_t TokenCount() const { return m_nTokens; }
  // Whether the very first token, white space included, is a number.
  bool FirstIsNumber() const { return m_bFirstNumber; }
  // Whether a number or a format specifier is among the tokens.
  bool HasArgument() const { return m_bArgument; }
  // How many code units the numbers among the tokens have together.
  size_t NumberUnits() const { return m_nNumberUnits; }
  // ShapeStep over the tokens, from 0.
  uint64_t ShapeHash() const { return m_nShape; }

 private:
  // Room for n tokens.
  void Reset(size_t n);
  void Add(int32_t nKind, const XChar* p, size_t nLength) {
    ++m_nTokens;
    if (nKind == eKIDWhites) return;
    const XTokRef token{nKind, static_cast<uint32_t>(nLength), p};
    m_bArgument = m_bArgument || token.IsArgument();
    m_nNumberUnits += nKind == eKIDNumber ? nLength : 0;
    m_nShape = ShapeStep(m_nShape, token);
    m_vecTokens[m_nSize++] = token;
  }

  std::vector<XTokRef> m_vecTokens;  // the first m_nSize are this text's
  size_t m_nSize = 0;
  size_t m_nTokens = 0;
  size_t m_nNumberUnits = 0;
  bool m_bFirstNumber = false;
  bool m_bArgument = false;
  uint64_t m_nShape = 0;
};

}  // namespace colang::detail
