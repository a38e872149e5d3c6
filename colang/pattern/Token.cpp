// Tokens, the tokenizer and its scanners. The tokenizer works on a view of
// the whole text, so that every scanner is bounded by the text's end and
// nothing is read past the terminating zero, however the text ends.
#include "colang/pattern/Token.h"

#include <algorithm>
#include <climits>

#include "colang/detail/Format.h"
#include "colang/pattern/TokenScan.h"

namespace {

bool IsDigit(XChar c) { return c >= XT('0') && c <= XT('9'); }
bool IsSign(XChar c) { return c == XT('-') || c == XT('+'); }
bool IsWhite(XChar c) { return c == XT(' ') || c == XT('\t'); }
bool IsOneOf(XChar c, XStringView set) { return set.find(c) != XStringView::npos; }

// Digits from nPos on; nPos is moved past them.
size_t DigitsSkip(XStringView text, size_t& nPos) {
  const size_t nStart = nPos;
  while (nPos < text.size() && IsDigit(text[nPos])) ++nPos;
  return nPos - nStart;
}

// Length of a zero-terminated text, but looking at no more than nMax units.
size_t LengthBounded(const XChar* psz, size_t nMax) {
  size_t n = 0;
  while (n < nMax && psz[n] != 0) ++n;
  return n;
}

int ClampToInt(size_t n) { return static_cast<int>(std::min<size_t>(n, INT_MAX)); }

}  // namespace

namespace colang::detail {

int ScanNumber(XStringView text, size_t nPos) {
  const size_t nStart = nPos;
  if (nPos < text.size() && IsSign(text[nPos])) ++nPos;
  if (DigitsSkip(text, nPos) == 0) return 0;

  if (nPos < text.size() && (text[nPos] == XT('.') || text[nPos] == XT(','))) {
    size_t nAfter = nPos + 1;
    // A bare separator ends the number before it, and an exponent behind
    // that separator does not reach back over it.
    if (DigitsSkip(text, nAfter) == 0) return ClampToInt(nPos - nStart);
    nPos = nAfter;
  }
  if (nPos < text.size() && (text[nPos] == XT('e') || text[nPos] == XT('E'))) {
    size_t nAfter = nPos + 1;
    if (nAfter < text.size() && IsSign(text[nAfter])) ++nAfter;
    if (DigitsSkip(text, nAfter) > 0) nPos = nAfter;
  }
  return ClampToInt(nPos - nStart);
}

int ScanFormat(XStringView text, size_t nPos) {
  const size_t nStart = nPos;
  if (nPos >= text.size() || text[nPos] != XT('%')) return 0;
  ++nPos;
  if (nPos < text.size() && IsSign(text[nPos])) ++nPos;
  DigitsSkip(text, nPos);
  if (nPos < text.size() && text[nPos] == XT('.')) {
    ++nPos;
    DigitsSkip(text, nPos);
  }
  if (nPos < text.size() && IsOneOf(text[nPos], XT("hlL"))) ++nPos;
  if (nPos < text.size() && IsOneOf(text[nPos], XT("dEeifgGou"))) return ClampToInt(nPos + 1 - nStart);
  return 0;
}

int ScanWhites(XStringView text, size_t nPos) {
  const size_t nStart = nPos;
  while (nPos < text.size() && IsWhite(text[nPos])) ++nPos;
  return ClampToInt(nPos - nStart);
}

}  // namespace colang::detail

// --- XToken -------------------------------------------------------------------

XToken::XToken(int32_t nKind, const XChar* pszText)
    : XToken(nKind, pszText != nullptr ? XStringView(pszText) : XStringView()) {}

XToken::XToken(int32_t nKind, XStringView text)
    : m_nKind(nKind), m_nLength(ClampToInt(text.size())), m_nPos(0), m_strText(text.substr(0, m_nLength)) {}

const XChar* XToken::PartKindString(int32_t nKind) {
  switch (nKind) {
    case eKIDUndef:
      return XT("eKIDUndef");
    case eKIDFormat:
      return XT("eKIDFormat");
    case eKIDNumber:
      return XT("eKIDNumber");
    case eKIDString:
      return XT("eKIDString");
    case eKIDWhites:
      return XT("eKIDWhites");
    default:
      break;
  }
  // Made at first use, so that unload destroys it before the load-time objects.
  // Its buffer outgrows the longest text once, so every later text is written
  // over the same characters that earlier callers were given.
  static XString s_strUnknown(64, XT('\0'));
  const XString strText = colang::detail::Format(XT("unknown XToken::PartKindString: %d"), static_cast<int>(nKind));
  s_strUnknown.assign(strText.data(), strText.size());
  return s_strUnknown.c_str();
}

XString XToken::TextCut(const XChar* pszSource) const {
  if (pszSource == nullptr || m_nLength < 1 || m_nPos < 0) return XString();
  const size_t nEnd = static_cast<size_t>(m_nPos) + static_cast<size_t>(m_nLength);
  const size_t nAvailable = LengthBounded(pszSource, nEnd);
  if (nAvailable <= static_cast<size_t>(m_nPos)) return XString();
  return XString(pszSource + m_nPos, nAvailable - static_cast<size_t>(m_nPos));
}

XString XToken::Dump(const XChar* pszSource) const {
  return colang::detail::Format(XT("%s \"%s\""), PartKindString(m_nKind), TextCut(pszSource).c_str());
}

XString XToken::Dump() const {
  return colang::detail::Format(XT("%s:\"%s\""), PartKindString(m_nKind), m_strText.c_str());
}

// --- XTokVec ------------------------------------------------------------------

void XTokVec::TokenAppend(int32_t nKind, XStringView source, int32_t nPos, int32_t nLength) {
  if (nLength < 1 || nPos < 0 || static_cast<size_t>(nPos) >= source.size()) return;
  XToken& token = m_vecTokens.emplace_back();
  token.m_nKind = nKind;
  token.m_nPos = nPos;
  token.m_nLength = nLength;
  token.m_strText.assign(source.substr(static_cast<size_t>(nPos), static_cast<size_t>(nLength)));
}

void XTokVec::TokenAppend(int32_t nKind, const XChar* pszSource, int32_t nPos, int32_t nLength) {
  if (pszSource == nullptr || nLength < 1 || nPos < 0) return;
  const size_t nEnd = static_cast<size_t>(nPos) + static_cast<size_t>(nLength);
  TokenAppend(nKind, XStringView(pszSource, LengthBounded(pszSource, nEnd)), nPos, nLength);
}

void XTokVec::Tokenize(const XChar* pszText) {
  m_vecTokens.clear();
  if (pszText == nullptr) return;
  // Positions are 32-bit: a text beyond that is tokenized up to there.
  const XStringView text(pszText, LengthBounded(pszText, INT_MAX));
  colang::detail::TokensScan(text, [&](int32_t nKind, size_t nPos, size_t nLength) {
    TokenAppend(nKind, text, ClampToInt(nPos), ClampToInt(nLength));
  });
}

bool XTokVec::HasFormat() const {
  return std::any_of(m_vecTokens.begin(), m_vecTokens.end(),
                     [](const XToken& token) { return token.m_nKind == eKIDFormat; });
}

bool XTokVec::HasNumberOrFormat() const {
  return std::any_of(m_vecTokens.begin(), m_vecTokens.end(),
                     [](const XToken& token) { return token.m_nKind == eKIDNumber || token.m_nKind == eKIDFormat; });
}

XString XTokVec::Dump() const {
  XString strDump;
  for (const XToken& token : m_vecTokens) {
    if (!strDump.empty()) strDump += XT(',');
    strDump += token.Dump();
  }
  return strDump;
}

// --- XTextTokens --------------------------------------------------------------

namespace colang::detail {

namespace {
// A buffer grown beyond this many tokens by one long text is given back
// rather than kept for the next.
constexpr size_t kTokensKept = 1024;
}  // namespace

void XTextTokens::Reset(size_t n) {
  // A text has at most as many tokens as code units; room beyond what is
  // kept is given back once a shorter text comes.
  const size_t nRoom = std::max(n, std::min(m_vecTokens.size(), kTokensKept));
  if (m_vecTokens.size() != nRoom) std::vector<XTokRef>(nRoom).swap(m_vecTokens);
  m_nSize = 0;
  m_nTokens = 0;
  m_nNumberUnits = 0;
  m_bFirstNumber = false;
  m_bArgument = false;
  m_nShape = 0;
}

void XTextTokens::Scan(XStringView text) {
  text = text.substr(0, INT_MAX);
  Reset(text.size());
  TokensScan(text, [&](int32_t nKind, size_t nPos, size_t nLength) { Add(nKind, text.data() + nPos, nLength); });
  // Tokens cover the text from its start: the first one kept is the very
  // first if it starts there.
  m_bFirstNumber = m_nSize > 0 && m_vecTokens[0].nKind == eKIDNumber && m_vecTokens[0].p == text.data();
}

void XTextTokens::Assign(const XTokVec& tokvec) {
  Reset(tokvec.size());
  for (const XToken& token : tokvec) Add(token.m_nKind, token.m_strText.data(), token.m_strText.size());
  m_bFirstNumber = !tokvec.empty() && tokvec[0].m_nKind == eKIDNumber;
}

}  // namespace colang::detail
