// File access and text encodings for the tool.
#include "TextIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "colang/platform/Win32.h"

namespace rlgtool {

// The library's text codec.
namespace codec = colang::detail;

namespace {

// What a decoding problem says of an ill-formed UTF-8 sequence, the n bytes
// at p that read as one replacement character.
std::string Utf8ProblemText(const unsigned char* p, size_t n) {
  std::string out = n == 1 ? "invalid UTF-8 byte" : "incomplete UTF-8 sequence";
  for (size_t i = 0; i < n; ++i) {
    char sz[8];
    std::snprintf(sz, sizeof sz, " 0x%02X", p[i]);
    out += sz;
  }
  return out;
}

// Whether the unit at i ends a line: LF, or CR that no LF follows. A CR LF
// ends its line at the LF.
template <class Text>
bool LineEndAt(const Text& text, size_t i) {
  return text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
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

XString XFromNative(const std::string& strText) {
  if (strText.empty()) return XString();
  int n = MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
  if (n <= 0) return TextFromUtf8(strText);
  XString out(static_cast<size_t>(n), XChar(0));
  MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), out.data(), n);
  return out;
}

XDecodedText TextDecode(std::string_view bytes, bool bCodePage) {
  XDecodedText out;
  XString text;
  const auto* pBytes = reinterpret_cast<const unsigned char*>(bytes.data());
  auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
  if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    const bool bLE = starts("\xFF\xFE");
    out.eEncoding = bLE ? XEncoding::eEncUtf16LE : XEncoding::eEncUtf16BE;
    for (size_t p = 2; p + 1 < bytes.size(); p += 2) text += codec::Utf16Unit(pBytes + p, bLE);
    // Unpaired surrogates cannot be stored as UTF-8 later; report them with their line.
    int nLine = 1, nColumn = 0;  // code units before this one in its line
    for (size_t i = 0; i < text.size();) {
      if (LineEndAt(text, i)) {
        ++nLine;
        nColumn = 0;
        ++i;
        continue;
      }
      char32_t c;
      bool bOk;
      const size_t n = codec::Utf16Decode(text.data() + i, text.size() - i, c, bOk);
      if (!bOk) {
        out.vecProblems.push_back({nLine, nColumn * 2 + 1, "unpaired UTF-16 surrogate"});
        text[i] = static_cast<XChar>(codec::kReplacementChar);
      }
      nColumn += static_cast<int>(n);
      i += n;
    }
    if (bytes.size() % 2 != 0) {
      out.vecProblems.push_back({nLine, nColumn * 2 + 1, "odd number of bytes in a UTF-16 file"});
      text += static_cast<XChar>(codec::kReplacementChar);
    }
  } else {
    size_t p = 0;
    if (starts("\xEF\xBB\xBF")) {
      out.eEncoding = XEncoding::eEncUtf8Bom;
      p = 3;
    }
    int nLine = 1;
    size_t nLineStart = p;
    text.resize(bytes.size());
    size_t k = 0;
    while (p < bytes.size()) {
      char32_t c;
      bool bOk;
      const size_t n = codec::Utf8Decode(pBytes + p, bytes.size() - p, c, bOk);
      if (!bOk) {
        out.vecProblems.push_back({nLine, static_cast<int>(p - nLineStart) + 1, Utf8ProblemText(pBytes + p, n)});
      } else if (LineEndAt(bytes, p)) {
        ++nLine;
        nLineStart = p + 1;
      } else if (n > 1 && out.nUtf8Line == 0) {
        out.nUtf8Line = nLine;
      }
      k += codec::Utf16Put(c, text.data() + k);
      p += n;
    }
    text.resize(k);
    // Like the library, read a file without a mark that is not UTF-8 as a whole in the code page.
    if (bCodePage && out.eEncoding == XEncoding::eEncUtf8 && !out.vecProblems.empty()) {
      out.eEncoding = XEncoding::eEncCp1252;
      out.notUtf8 = out.vecProblems.front();
      out.vecProblems.clear();
      text.resize(bytes.size());
      std::transform(pBytes, pBytes + bytes.size(), text.begin(), codec::Cp1252Decode);
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
      return Utf8FromText(text);
    case XEncoding::eEncUtf8Bom:
      return "\xEF\xBB\xBF" + Utf8FromText(text);
    case XEncoding::eEncCp1252: {
      std::string out;
      int nUnmappable = 0;
      for (XChar c : text) {
        int b = codec::Cp1252Encode(c);
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
  const bool bLE = eEncoding == XEncoding::eEncUtf16LE;
  std::string out(bLE ? "\xFF\xFE" : "\xFE\xFF");
  codec::Utf16BytesEncode(text, bLE, out);
  return out;
}

}  // namespace rlgtool
