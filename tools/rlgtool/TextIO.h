// Whole files in and out, and the conversions between file bytes and the
// library's UTF-16 lines. Catalogs are read as the library reads them: UTF-16
// with a byte order mark, UTF-8 with or without one, and a file without a
// mark that is not valid UTF-8 as a whole in Windows-1252. PO files come
// here as UTF-8, once their own charset has been decoded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "colang/XString.h"
#include "colang/detail/TextCodec.h"

namespace rlgtool {

enum class XEncoding { eEncUtf8, eEncUtf8Bom, eEncUtf16LE, eEncUtf16BE, eEncCp1252 };

// Name used in messages and in exported PO headers ("UTF-8", "UTF-8 BOM",
// "UTF-16LE", "UTF-16BE"); EncodingFromName gives false for other names.
const char* EncodingName(XEncoding eEncoding);
bool EncodingFromName(std::string_view strName, XEncoding& eEncoding);

// The bytes of a file, or an empty-bodied result with strError set to why it
// could not be read ("no such file or directory", "is a directory", ...).
struct XFileBytes {
  std::string strBytes;
  std::string strError;
};
XFileBytes FileBytesRead(const std::string& strPath);

// Writes the bytes through a temporary file renamed into place, so a failed
// write leaves an existing file untouched. False with strError on failure.
bool FileBytesWrite(const std::string& strPath, const std::string& strBytes, std::string& strError);

// UTF-8 of a UTF-16 text and back, as the library converts them: an
// unpaired surrogate, and each maximal ill-formed subpart of UTF-8, becomes
// U+FFFD.
using colang::detail::TextFromUtf8;
using colang::detail::Utf8FromText;

// A file name or command-line text in the platform's narrow encoding (the
// ANSI code page on Windows, UTF-8 elsewhere) as UTF-16.
XString XFromNative(const std::string& strText);

// A byte sequence that is not valid in the file's encoding.
struct XDecodeProblem {
  int nLine;
  int nColumn;  // byte offset in the line, from 1
  std::string strText;
};

// A text file split into lines. Line ends are LF, CR LF or CR, and are not
// part of the line. A final line end does not start another line.
struct XDecodedText {
  XEncoding eEncoding = XEncoding::eEncUtf8;
  bool bCRLF = false;         // most lines end in CR LF
  bool bFinalNewline = true;  // the last line has a line end (or there is none)
  std::vector<XString> vecLines;
  std::vector<XDecodeProblem> vecProblems;  // sequences read as U+FFFD
  int nNulLine = 0;                         // first line holding a NUL character, 0 when none: not a text file
  // Read as Windows-1252: where the first byte that is not UTF-8 stands, and
  // the first line that held valid UTF-8 beyond ASCII (0 when none), which
  // the code page garbles.
  XDecodeProblem notUtf8{0, 0, ""};
  int nUtf8Line = 0;
};
// bCodePage false reads a file without byte order mark as UTF-8 whatever it
// holds, reporting invalid bytes, as PO files are read.
XDecodedText TextDecode(std::string_view bytes, bool bCodePage = true);

// The lines written in the given encoding, each followed by a line end.
// Characters that Windows-1252 lacks are written as "?" and counted in
// *pnUnmappable when given.
std::string TextEncode(const std::vector<XString>& vecLines, XEncoding eEncoding, bool bCRLF,
                       int* pnUnmappable = nullptr);

}  // namespace rlgtool
