// File access and text encodings for the tool.
#include "TextIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "colang/platform/Win32.h"

namespace rlgtool {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void CodePointAppend(XString& out, char32_t c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<XChar>(0xD800 + (c >> 10));
    out += static_cast<XChar>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<XChar>(c);
  }
}

// Length of the valid UTF-8 sequence at p (1 to 4), or 0; c receives the code point.
size_t Utf8SequenceRead(std::string_view s, size_t p, char32_t& c) {
  auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char b0 = b(p);
  if (b0 < 0x80) {
    c = b0;
    return 1;
  }
  size_t n = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (p + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((b(p + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b(p + i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

std::string HexByte(unsigned char b) {
  char sz[8];
  std::snprintf(sz, sizeof sz, "0x%02X", b);
  return sz;
}

// Splits UTF-16 text into lines at LF, CR LF and CR, and records NULs.
void LinesSplit(const XString& text, XDecodedText& out) {
  size_t nStart = 0;
  int nCRLF = 0, nOther = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == 0 && out.nNulLine == 0) out.nNulLine = static_cast<int>(out.vecLines.size()) + 1;
    if (text[i] != XChar('\n') && text[i] != XChar('\r')) continue;
    out.vecLines.emplace_back(text, nStart, i - nStart);
    if (text[i] == XChar('\r') && i + 1 < text.size() && text[i + 1] == XChar('\n')) {
      ++nCRLF;
      ++i;
    } else {
      ++nOther;
    }
    nStart = i + 1;
  }
  if (nStart < text.size()) out.vecLines.emplace_back(text, nStart, text.size() - nStart);
  out.bFinalNewline = nStart == text.size();
  out.bCRLF = nCRLF > nOther;
}

// Windows-1252 characters of the bytes 0x80 to 0x9F; the five unassigned bytes map to themselves.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

XChar Cp1252Decode(unsigned char b) { return static_cast<XChar>(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b); }

// The Windows-1252 byte of a character, or -1.
int Cp1252Encode(XChar c) {
  auto u = static_cast<char16_t>(c);
  if (u < 0x80 || (u >= 0xA0 && u < 0x100)) return u;
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == u) return 0x80 + i;
  return -1;
}

}  // namespace

const char* EncodingName(XEncoding eEncoding) {
  switch (eEncoding) {
    case XEncoding::eEncUtf8:
      return "UTF-8";
    case XEncoding::eEncUtf8Bom:
      return "UTF-8 BOM";
    case XEncoding::eEncUtf16LE:
      return "UTF-16LE";
    case XEncoding::eEncUtf16BE:
      return "UTF-16BE";
    case XEncoding::eEncCp1252:
      return "Windows-1252";
  }
  return "UTF-8";
}

bool EncodingFromName(std::string_view strName, XEncoding& eEncoding) {
  for (XEncoding e : {XEncoding::eEncUtf8, XEncoding::eEncUtf8Bom, XEncoding::eEncUtf16LE, XEncoding::eEncUtf16BE,
                      XEncoding::eEncCp1252}) {
    if (strName == EncodingName(e)) {
      eEncoding = e;
      return true;
    }
  }
  return false;
}

XFileBytes FileBytesRead(const std::string& strPath) {
  XFileBytes result;
  std::error_code ec;
  std::filesystem::path path(strPath);
  if (std::filesystem::is_directory(path, ec)) {
    result.strError = "is a directory";
    return result;
  }
  errno = 0;
  std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
  if (pFile == nullptr) {
    int nErr = errno;
    if (!std::filesystem::exists(path, ec))
      result.strError = "no such file";
    else
      result.strError = std::string("cannot open: ") + (nErr != 0 ? std::strerror(nErr) : "access denied");
    return result;
  }
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pFile)) > 0) result.strBytes.append(buffer, n);
  if (std::ferror(pFile)) {
    result.strError = std::string("read error: ") + std::strerror(errno);
    result.strBytes.clear();
  }
  std::fclose(pFile);
  return result;
}

bool FileBytesWrite(const std::string& strPath, const std::string& strBytes, std::string& strError) {
  std::error_code ec;
  std::filesystem::path path(strPath);
  if (std::filesystem::is_directory(path, ec)) {
    strError = "is a directory";
    return false;
  }
  std::filesystem::path temp = path;
  temp += ".rlgtool-tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      strError = "cannot create the file";
      return false;
    }
    out.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(temp, ec);
      strError = "write error";
      return false;
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    strError = "cannot replace the file";
    return false;
  }
  return true;
}

std::string Utf8FromX(XStringView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char16_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && static_cast<char16_t>(text[i + 1]) >= 0xDC00 &&
        static_cast<char16_t>(text[i + 1]) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

XString XFromUtf8(std::string_view text) {
  XString out;
  out.reserve(text.size());
  for (size_t p = 0; p < text.size();) {
    char32_t c = 0;
    size_t n = Utf8SequenceRead(text, p, c);
    CodePointAppend(out, n == 0 ? kReplacement : c);
    p += n == 0 ? 1 : n;
  }
  return out;
}

XString XFromNative(const std::string& strText) {
  if (strText.empty()) return XString();
  int n = MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
  if (n <= 0) return XFromUtf8(strText);
  XString out(static_cast<size_t>(n), XChar(0));
  MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), out.data(), n);
  return out;
}

XDecodedText TextDecode(std::string_view bytes, bool bCodePage) {
  XDecodedText out;
  XString text;
  auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
  if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    bool bLE = starts("\xFF\xFE");
    out.eEncoding = bLE ? XEncoding::eEncUtf16LE : XEncoding::eEncUtf16BE;
    int nLine = 1;
    for (size_t p = 2; p + 1 < bytes.size(); p += 2) {
      auto lo = static_cast<unsigned char>(bytes[bLE ? p : p + 1]);
      auto hi = static_cast<unsigned char>(bytes[bLE ? p + 1 : p]);
      text += static_cast<XChar>(lo | (hi << 8));
    }
    // Unpaired surrogates cannot be stored as UTF-8 later; report them with their line.
    int nColumn = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      auto c = static_cast<char16_t>(text[i]);
      ++nColumn;
      if (c == u'\n') {
        ++nLine;
        nColumn = 0;
        continue;
      }
      bool bHigh = c >= 0xD800 && c <= 0xDBFF, bLow = c >= 0xDC00 && c <= 0xDFFF;
      if (bHigh && i + 1 < text.size() && static_cast<char16_t>(text[i + 1]) >= 0xDC00 &&
          static_cast<char16_t>(text[i + 1]) <= 0xDFFF) {
        ++i;
        continue;
      }
      if (bHigh || bLow) {
        out.vecProblems.push_back({nLine, nColumn * 2 - 1, "unpaired UTF-16 surrogate"});
        text[i] = static_cast<XChar>(kReplacement);
      }
    }
    if (bytes.size() % 2 != 0)
      out.vecProblems.push_back({nLine, nColumn * 2 + 1, "odd number of bytes in a UTF-16 file"});
  } else {
    size_t p = 0;
    if (starts("\xEF\xBB\xBF")) {
      out.eEncoding = XEncoding::eEncUtf8Bom;
      p = 3;
    }
    int nLine = 1;
    size_t nLineStart = p;
    text.reserve(bytes.size());
    while (p < bytes.size()) {
      char32_t c = 0;
      size_t n = Utf8SequenceRead(bytes, p, c);
      if (n == 0) {
        out.vecProblems.push_back({nLine, static_cast<int>(p - nLineStart) + 1,
                                   "invalid UTF-8 byte " + HexByte(static_cast<unsigned char>(bytes[p]))});
        c = kReplacement;
        n = 1;
      } else if (c == U'\n') {
        ++nLine;
        nLineStart = p + 1;
      } else if (n > 1 && out.nUtf8Line == 0) {
        out.nUtf8Line = nLine;
      }
      CodePointAppend(text, c);
      p += n;
    }
    // Like the library, read a file without a mark that is not UTF-8 as a whole in the code page.
    if (bCodePage && out.eEncoding == XEncoding::eEncUtf8 && !out.vecProblems.empty()) {
      out.eEncoding = XEncoding::eEncCp1252;
      out.notUtf8 = out.vecProblems.front();
      out.vecProblems.clear();
      text.clear();
      for (char b : bytes) text += Cp1252Decode(static_cast<unsigned char>(b));
    }
  }
  LinesSplit(text, out);
  return out;
}

std::string TextEncode(const std::vector<XString>& vecLines, XEncoding eEncoding, bool bCRLF, int* pnUnmappable) {
  if (pnUnmappable != nullptr) *pnUnmappable = 0;
  XString text;
  for (const XString& line : vecLines) {
    text += line;
    if (bCRLF) text += XChar('\r');
    text += XChar('\n');
  }
  switch (eEncoding) {
    case XEncoding::eEncUtf8:
      return Utf8FromX(text);
    case XEncoding::eEncUtf8Bom:
      return "\xEF\xBB\xBF" + Utf8FromX(text);
    case XEncoding::eEncCp1252: {
      std::string out;
      int nUnmappable = 0;
      for (XChar c : text) {
        int b = Cp1252Encode(c);
        if (b < 0) ++nUnmappable;
        out += static_cast<char>(b < 0 ? '?' : b);
      }
      if (pnUnmappable != nullptr) *pnUnmappable = nUnmappable;
      return out;
    }
    case XEncoding::eEncUtf16LE:
    case XEncoding::eEncUtf16BE:
      break;
  }
  bool bLE = eEncoding == XEncoding::eEncUtf16LE;
  std::string out(bLE ? "\xFF\xFE" : "\xFE\xFF");
  for (XChar c : text) {
    auto u = static_cast<char16_t>(c);
    char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    out += bLE ? lo : hi;
    out += bLE ? hi : lo;
  }
  return out;
}

}  // namespace rlgtool
