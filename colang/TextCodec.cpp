// The text codec's conversions of whole runs of text.
#include "colang/detail/TextCodec.h"

namespace colang::detail {

namespace {

void Utf8Put(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

int Cp1252Encode(XChar c) {
  const auto u = static_cast<char32_t>(c);
  if (u < 0x80 || (u >= 0xA0 && u < 0x100)) return static_cast<int>(u);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == u) return 0x80 + i;
  return -1;
}

std::size_t Utf8TextDecode(const unsigned char* p, std::size_t n, XChar* pOut, bool& bOk) {
  bOk = true;
  std::size_t k = 0;
  for (std::size_t i = 0; i < n;) {
    char32_t cp;
    bool bWellFormed;
    i += Utf8Decode(p + i, n - i, cp, bWellFormed);
    bOk = bOk && bWellFormed;
    k += Utf16Put(cp, pOut + k);
  }
  return k;
}

bool Utf8TextEncode(XStringView text, std::string& out) {
  bool bOk = true;
  out.reserve(out.size() + text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp;
    bool bPaired;
    i += Utf16Decode(text.data() + i, text.size() - i, cp, bPaired);
    bOk = bOk && bPaired;
    Utf8Put(cp, out);
  }
  return bOk;
}

XString TextFromUtf8(std::string_view utf8) {
  XString out(utf8.size(), XChar(0));
  bool bOk;
  out.resize(Utf8TextDecode(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(), out.data(), bOk));
  return out;
}

std::string Utf8FromText(XStringView text) {
  std::string out;
  Utf8TextEncode(text, out);
  return out;
}

std::size_t Utf16BytesDecode(const unsigned char* p, std::size_t n, bool bLE, XChar* pOut, bool& bOk) {
  const std::size_t nUnits = n / 2;
  for (std::size_t i = 0; i < nUnits; ++i) pOut[i] = Utf16Unit(p + 2 * i, bLE);
  bOk = true;
  for (std::size_t i = 0; i < nUnits;) {
    char32_t cp;
    bool bPaired;
    const std::size_t nLength = Utf16Decode(pOut + i, nUnits - i, cp, bPaired);
    if (!bPaired) {
      pOut[i] = static_cast<XChar>(kReplacementChar);
      bOk = false;
    }
    i += nLength;
  }
  if (n % 2 == 0) return nUnits;
  pOut[nUnits] = static_cast<XChar>(kReplacementChar);
  bOk = false;
  return nUnits + 1;
}

void Utf16BytesEncode(XStringView text, bool bLE, std::string& out) {
  out.reserve(out.size() + 2 * text.size());
  for (XChar c : text) {
    const auto u = static_cast<unsigned>(c);
    const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    out += bLE ? lo : hi;
    out += bLE ? hi : lo;
  }
}

}  // namespace colang::detail
