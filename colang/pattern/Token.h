// Tokens of pattern translation: a text is split into format specifiers
// ("%d", "%5.2f"), numbers ("12", "-3", "1,5", "2.5e-3"), runs of blanks and
// tabs, and runs of everything else, so that texts can be compared piece by
// piece and a number can stand in for a specifier.
//
// What a caller may rely on:
// - The tokens of a text lie in text order and cover it without gap or
//   overlap; joined, their texts give the text back. No token is empty; two
//   string tokens never stand side by side, nor do two white-space tokens.
// - A format specifier is "%", at most one flag "-" or "+", width digits,
//   optionally "." and precision digits, at most one of "hlL", and one of
//   "dEeifgGou". "%%" is always text, as is every other form (%s, %x, %*d).
// - A number is an optional sign, digits, optionally "." or "," with at least
//   one fraction digit, optionally "e" or "E" with an optional sign and at
//   least one digit. The exponent belongs to the number only when it follows
//   its last digit: "1.e5" is the number 1, the text ".e" and the number 5,
//   just as "12." is the number 12 and the text ".".
// - A line feed (and a carriage return) is text, not white space, for the
//   patterns and the texts alike: texts that differ in their line breaks do not
//   match, and a line break next to a blank stays part of the string run.
#pragma once

#include <cstdint>
#include <vector>

#include "colang/XString.h"
#include "colang/platform/Export.h"

// The kind of a token; the values are fixed.
enum XTokenKind : int32_t {
  eKIDUndef = 0,   // a default-constructed token; the tokenizer never makes one
  eKIDFormat = 1,  // one printf-style format specifier
  eKIDNumber = 2,  // one number literal
  eKIDString = 3,  // a run of any other characters
  eKIDWhites = 4,  // a run of blanks and tabs
};

class COLANG_API XToken {
 public:
  // Kind eKIDUndef, length and position 0, no text.
  XToken() = default;
  // The given kind and text, position 0; a null text counts as empty.
  XToken(int32_t nKind, const XChar* pszText);
  XToken(int32_t nKind, XStringView text);

  // The name of a kind ("eKIDFormat"); an unknown kind gives "unknown
  // XToken::PartKindString: <value>" in one kept string that the next call
  // with an unknown kind overwrites.
  static const XChar* PartKindString(int32_t nKind);

  // The code units that this token covers in pszSource, cut off where the
  // source ends; empty for a null source or a length below 1.
  XString TextCut(const XChar* pszSource) const;
  // Kind name, a blank and the characters cut from pszSource in quotes.
  XString Dump(const XChar* pszSource) const;
  // Kind name, ":" and the stored text in quotes.
  XString Dump() const;

  int32_t m_nKind = eKIDUndef;
  int32_t m_nLength = 0;  // code units covered in the source text
  int32_t m_nPos = 0;     // index of the first covered code unit
  XString m_strText;      // copy of the covered code units
};

class COLANG_API XTokVec {
 public:
  // Empty.
  XTokVec() = default;
  // The tokens of pszText (see Tokenize).
  explicit XTokVec(const XChar* pszText) { Tokenize(pszText); }

  // Replaces the contents with the tokens of the zero-terminated pszText; a
  // null or empty text gives no token.
  void Tokenize(const XChar* pszText);
  // Appends a token of that kind whose text is cut from source at nPos; does
  // nothing for a length below 1 or a position outside the source. The text
  // is cut off where the source ends.
  void TokenAppend(int32_t nKind, XStringView source, int32_t nPos, int32_t nLength);
  // The same for a zero-terminated source; a null source appends nothing.
  void TokenAppend(int32_t nKind, const XChar* pszSource, int32_t nPos, int32_t nLength);

  // Whether a format specifier token is present.
  bool HasFormat() const;
  // Whether a number or format specifier token is present.
  bool HasNumberOrFormat() const;
  // XToken::Dump() of every token, joined by ","; empty for no token.
  XString Dump() const;

  size_t size() const { return m_vecTokens.size(); }
  bool empty() const { return m_vecTokens.empty(); }
  // Indexed access, 0 up to size() - 1.
  const XToken& operator[](size_t nIndex) const { return m_vecTokens[nIndex]; }
  XToken& operator[](size_t nIndex) { return m_vecTokens[nIndex]; }
  std::vector<XToken>::const_iterator begin() const { return m_vecTokens.begin(); }
  std::vector<XToken>::const_iterator end() const { return m_vecTokens.end(); }

 private:
  std::vector<XToken> m_vecTokens;
};
