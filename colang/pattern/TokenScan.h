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
  const size_t nSize = text.size();
  size_t i = 0;
  size_t nRunStart = 0;
  auto runFlush = [&] {
    if (i > nRunStart) sink(eKIDString, nRunStart, i - nRunStart);
  };
  // A token of length n at i, after the pending run; a new run starts behind it.
  auto tokenTake = [&](int32_t nKind, int n) {
    runFlush();
    sink(nKind, i, static_cast<size_t>(n));
    i += static_cast<size_t>(n);
    nRunStart = i;
  };
  while (i < nSize) {
    const XChar c = text[i];
    if (!MayBeginToken(c)) {
      ++i;  // part of the pending run, as are most code units of most texts
      continue;
    }
    int n = 0;
    if (c == XT('%')) {
      if (i + 1 < nSize && text[i + 1] == XT('%')) {
        i += 2;  // a doubled percent sign is plain text
        continue;
      }
      if ((n = ScanFormat(text, i)) > 0) {
        tokenTake(eKIDFormat, n);
        continue;
      }
    } else if (c == XT(' ') || c == XT('\t')) {
      tokenTake(eKIDWhites, ScanWhites(text, i));
      continue;
    } else if ((n = NumberLength(text, i)) > 0) {
      tokenTake(eKIDNumber, n);
      continue;
    }
    ++i;
  }
  runFlush();
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
  uint64_t w = token.nLength;
  const XChar* p = token.p;
  size_t n = token.nLength;
  for (; n >= 4; n -= 4, p += 4) w = mix(w, Units4(p));
  if (n > 0) {
    uint64_t nTail = 0;
    for (size_t k = 0; k < n; ++k) nTail |= static_cast<uint64_t>(static_cast<uint16_t>(p[k])) << (16 * k);
    w = mix(w, nTail);
  }
  return mix(nHash, w);
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
  // ShapeStep over the tokens, from 0.
  uint64_t ShapeHash() const { return m_nShape; }

 private:
  // Room for n tokens.
  void Reset(size_t n);
  void Add(int32_t nKind, const XChar* p, size_t nLength) {
    if (m_nTokens++ == 0) m_bFirstNumber = nKind == eKIDNumber;
    if (nKind == eKIDWhites) return;
    const XTokRef token{nKind, static_cast<uint32_t>(nLength), p};
    m_bArgument = m_bArgument || token.IsArgument();
    m_nShape = ShapeStep(m_nShape, token);
    m_vecTokens[m_nSize++] = token;
  }

  std::vector<XTokRef> m_vecTokens;  // the first m_nSize are this text's
  size_t m_nSize = 0;
  size_t m_nTokens = 0;
  bool m_bFirstNumber = false;
  bool m_bArgument = false;
  uint64_t m_nShape = 0;
};

}  // namespace colang::detail
