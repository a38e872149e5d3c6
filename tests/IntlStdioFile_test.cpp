// The sibling text file reader: encodings, line ends, invalid input, file
// paths and open failures, on real files.
#include <gtest/gtest.h>

#include "colang/sibling/IntlStdioFile.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;

// Every line of the file, or the result that ended the reading when it was not eRSEnd.
struct XReadResult {
  long nOpen = -1;
  long nLast = -1;
  std::vector<XString> vecLines;
};

XReadResult ReadAll(const XString& strPath, bool bStrict = false) {
  XReadResult result;
  XIntlStdioFile file(bStrict);
  result.nOpen = file.Open(strPath, XIntlStdioFile::eOFShareDenyWrite, -1, XIntlStdioFile::eFTText);
  if (result.nOpen != 0) return result;
  XString strLine;
  while ((result.nLast = file.ReadString(strLine)) == 0) result.vecLines.push_back(strLine);
  // The end stays the end.
  EXPECT_EQ(file.ReadString(strLine), result.nLast);
  EXPECT_TRUE(strLine.empty());
  return result;
}

class IntlStdioFileTest : public testing::Test {
 protected:
  XReadResult Read(std::string_view bytes, bool bStrict = false) {
    m_dir.Write("f.txt", bytes);
    return ReadAll(m_dir.Text("f.txt"), bStrict);
  }
  XTempDir m_dir;
};

// Line ends, encodings by mark and content, and invalid sequences, which the
// strict reader refuses.
TEST_F(IntlStdioFileTest, LinesOfEveryEncodingAndLineEnd) {
  struct Case {
    const char* name;
    std::string_view bytes;
    std::vector<XString> lines;
    bool bStrict = false;
    long nLast = XIntlStdioFile::eRSEnd;
  } cases[] = {
      {"empty", "", {}},
      {"lf, none at the end", "a\nb", {XT("a"), XT("b")}},
      {"lf", "a\nb\n", {XT("a"), XT("b")}},
      {"crlf", "a\r\nb\r\n", {XT("a"), XT("b")}},
      {"cr", "a\rb\r", {XT("a"), XT("b")}},
      {"empty line", "a\n\nb", {XT("a"), XT(""), XT("b")}},
      {"cr before crlf", "a\r\r\nb", {XT("a"), XT(""), XT("b")}},
      {"lf before cr", "a\n\rb\r\n\n", {XT("a"), XT(""), XT("b"), XT("")}},
      {"crlf only", "\r\n", {XT("")}},
      {"white space", " \t ", {XT(" \t ")}},
      {"utf-8", "\xC3\xB6\n\xE2\x82\xAC", {XT("\x00F6"), XT("\x20AC")}},
      {"utf-8 bom", "\xEF\xBB\xBF\xC3\xB6", {XT("\x00F6")}},
      {"utf-8 bom only", "\xEF\xBB\xBF", {}},
      {"utf-16le", std::string_view("\xFF\xFE\xF6\x00\n\x00\x3D\xD8\x00\xDE", 10), {XT("\x00F6"), XT("\xD83D\xDE00")}},
      {"utf-16be", std::string_view("\xFE\xFF\x00\xF6\x00\r\x00\n\x20\xAC", 10), {XT("\x00F6"), XT("\x20AC")}},
      {"1252", "\xE4\x80\n\x96", {XT("\x00E4\x20AC"), XT("\x2013")}},
      {"utf-8 invalid after mark",
       "\xEF\xBB\xBF"
       "a\xFF"
       "b",
       {XT("a\xFFFD"
           "b")}},
      {"utf-8 cut at the end",
       "\xEF\xBB\xBF"
       "a\xE2\x82",
       {XT("a\xFFFD")}},
      {"utf-16 lone surrogates",
       std::string_view("\xFF\xFE\x00\xD8"
                        "a\x00\x00\xDC",
                        8),
       {XT("\xFFFD"
           "a\xFFFD")}},
      {"utf-16 odd size",
       std::string_view("\xFF\xFE"
                        "a\x00"
                        "b",
                        5),
       {XT("a\xFFFD")}},
      {"nul byte", std::string_view("a\0b\n", 4), {XString(XT("a")) + XChar(0) + XT("b")}},
      {"strict, utf-8 invalid after mark",
       "\xEF\xBB\xBF"
       "a\xFF",
       {},
       true,
       XIntlStdioFile::eRSInvalidText},
      {"strict, utf-16 lone surrogate",
       std::string_view("\xFF\xFE\x00\xD8", 4),
       {},
       true,
       XIntlStdioFile::eRSInvalidText},
      // A file without a mark that is not UTF-8 is a code page file, not invalid.
      {"strict, 1252", "\xE4", {XT("\x00E4")}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    XReadResult result = Read(c.bytes, c.bStrict);
    ASSERT_EQ(result.nOpen, 0);
    EXPECT_EQ(result.nLast, c.nLast);
    EXPECT_EQ(result.vecLines, c.lines);
  }
}

// The UTF-8 check and decoding go eight bytes at a time while the bytes are
// ASCII: a sequence and a line end at every offset within those steps, and a
// 1252 byte far behind the start, which still makes the whole file 1252.
TEST_F(IntlStdioFileTest, SequencesAtEveryOffsetOfTheEightByteSteps) {
  for (size_t nPad = 0; nPad < 16; ++nPad) {
    SCOPED_TRACE(nPad);
    const std::vector<XString> vecExpected{XString(nPad, XChar('x')) + XT("€"), XT("\xD83D\xDE00"), XT("z")};
    EXPECT_EQ(Read(std::string(nPad, 'x') + "€\r\n\xF0\x9F\x98\x80\r\nz").vecLines, vecExpected);
  }
  const std::vector<XString> vecLate{XString(200000, XChar('a')), XT("\x00E4")};
  EXPECT_EQ(Read(std::string(200000, 'a') + "\n\xE4").vecLines, vecLate);
}

// LineRead decodes as ReadString does, in groups of sixteen and eight bytes
// where it can, and tells of a zero or the marked byte wherever it stands:
// a stop at every offset of those groups, after every kind of line end.
TEST_F(IntlStdioFileTest, LineReadMatchesReadStringAndFindsTheMark) {
  const std::string_view astrStops[] = {"", "\\", std::string_view("\0", 1), "\t", "\xC3\xA9", "\xE2\x82\xAC"};
  const char* const apszEnds[] = {"\n", "\r\n", "\r"};
  std::string bytes;
  std::vector<bool> vecMarked;
  for (size_t nPad = 0; nPad < 40; ++nPad) {
    for (std::string_view strStop : astrStops) {
      bytes += std::string(nPad, 'x') + std::string(strStop) + "yz" + apszEnds[(nPad + bytes.size()) % 3];
      vecMarked.push_back(strStop == "\\" || strStop == std::string_view("\0", 1));
    }
  }
  bytes += "last";
  vecMarked.push_back(false);
  XReadResult expected = Read(bytes);
  ASSERT_EQ(expected.vecLines.size(), vecMarked.size());

  XIntlStdioFile file(false);
  ASSERT_EQ(file.Open(m_dir.Text("f.txt"), XIntlStdioFile::eOFShareDenyWrite, -1, XIntlStdioFile::eFTText), 0);
  for (size_t i = 0; i < vecMarked.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<XChar> vecRoom(file.BytesUnread() + 1);
    size_t nLength = 0;
    bool bMarked = false;
    ASSERT_EQ(file.LineRead(vecRoom.data(), nLength, '\\', bMarked), 0);
    EXPECT_EQ(XString(vecRoom.data(), nLength), expected.vecLines[i]);
    EXPECT_EQ(bMarked, vecMarked[i]);
  }
  size_t nLength = 0;
  bool bMarked = false;
  XChar cRoom = 0;
  EXPECT_EQ(file.LineRead(&cRoom, nLength, '\\', bMarked), XIntlStdioFile::eRSEnd);
}

TEST_F(IntlStdioFileTest, FilePathIsOneFormForEverySpelling) {
  XProcessStateGuard state;
  m_dir.Write("sub/f.txt", "x");
  fs::current_path(m_dir.Path());
  XString strExpected = m_dir.Text("sub/f.txt");
  for (XString strName : {XString(XT("sub\\f.txt")), XString(XT("./sub/../sub/f.txt")),
                          m_dir.Text() + XT("\\sub\\f.txt"), m_dir.Text() + XT("/sub//f.txt")}) {
    SCOPED_TRACE(Narrow(strName));
    XIntlStdioFile file;
    ASSERT_EQ(file.Open(strName, XIntlStdioFile::eOFShareDenyWrite, -1, XIntlStdioFile::eFTText), 0);
    EXPECT_EQ(file.GetFilePath(), strExpected);
    file.Close();
    EXPECT_EQ(file.GetFilePath(), XT(""));
  }
}

TEST_F(IntlStdioFileTest, WhatCannotBeOpened) {
  m_dir.Write("f.txt", "x");
  m_dir.Dir("d");
  XIntlStdioFile file;
  XString strLine;
  EXPECT_EQ(file.ReadString(strLine), XIntlStdioFile::eRSNotOpen);
  for (const XString& strName : {m_dir.Text("absent.txt"), m_dir.Text("d"), XString()}) {
    EXPECT_EQ(file.Open(strName, 0x20, -1, XIntlStdioFile::eFTText), XIntlStdioFile::eRSOpenError);
  }
  EXPECT_EQ(file.Open(m_dir.Text("f.txt"), 0x20 | XIntlStdioFile::eOFModeWrite, -1, XIntlStdioFile::eFTText),
            XIntlStdioFile::eRSBadArgument);
  EXPECT_EQ(file.Open(m_dir.Text("f.txt"), 0x20, -7, XIntlStdioFile::eFTText), XIntlStdioFile::eRSBadArgument);
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(IntlStdioFileTest, OtherWritersAreKeptOutWhileOpen) {
#if defined(_WIN32)
  m_dir.Write("f.txt", "x");
  XIntlStdioFile file;
  ASSERT_EQ(file.Open(m_dir.Text("f.txt"), XIntlStdioFile::eOFShareDenyWrite, -1, XIntlStdioFile::eFTText), 0);
  HANDLE hWriter = CreateFileW(m_dir.Text("f.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(hWriter, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (hWriter != INVALID_HANDLE_VALUE) CloseHandle(hWriter);
  // A second reader is welcome.
  XIntlStdioFile reader;
  EXPECT_EQ(reader.Open(m_dir.Text("f.txt"), XIntlStdioFile::eOFShareDenyWrite, -1, XIntlStdioFile::eFTText), 0);
#else
  GTEST_SKIP() << "POSIX has no share modes; only Windows keeps other writers out";
#endif
}

TEST_F(IntlStdioFileTest, ReadErrorEndsTheLinesAndStays) {
  m_dir.Write("f.txt",
              "\xEF\xBB\xBF"
              "one\ntwo\nthree\n");
  XIntlStdioFile file;
  ASSERT_EQ(file.Open(m_dir.Text("f.txt"), 0x20, -1, XIntlStdioFile::eFTText), 0);
  if (!FileReadFaultAfter(3 + 4)) GTEST_SKIP() << "read faults need the emulation";  // the mark and the first line
  XString strLine;
  EXPECT_EQ(file.ReadString(strLine), XIntlStdioFile::eRSOk);
  EXPECT_EQ(strLine, XT("one"));
  EXPECT_EQ(file.ReadString(strLine), XIntlStdioFile::eRSReadError);
  FileReadFaultAfter(-1);
  EXPECT_EQ(file.ReadString(strLine), XIntlStdioFile::eRSReadError);
}

}  // namespace
