// Code page conversion as the library relies on it, on the emulation and on
// Windows alike.
#include <gtest/gtest.h>

#include "colang/platform/Win32.h"
#include "support/TestSupport.h"

namespace {

// The text the bytes convert to (without the terminating zero), or "<failed>"
// with the last error set.
XString FromBytes(UINT nCodePage, DWORD nFlags, const char* pszBytes, int nBytes = -1) {
  XChar buffer[40];
  SetLastError(0);
  int n = MultiByteToWideChar(nCodePage, nFlags, pszBytes, nBytes, buffer, 40);
  if (n == 0) return XT("<failed>");
  EXPECT_EQ(MultiByteToWideChar(nCodePage, nFlags, pszBytes, nBytes, nullptr, 0), n) << "the length asked first";
  return XString(buffer, static_cast<size_t>(nBytes < 0 ? n - 1 : n));
}

TEST(CodePage, MultiByteToWideChar) {
  EXPECT_EQ(FromBytes(CP_UTF8, MB_ERR_INVALID_CHARS, ""), XT(""));
  EXPECT_EQ(FromBytes(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3\x84rger \xE2\x82\xAC \xF0\x9F\x98\x80"),
            XT("\x00C4rger \x20AC \xD83D\xDE00"));
  // Windows-1252's 32 bytes that differ from Latin-1, the five undefined ones as C1 controls.
  const char* const pszHigh =
      "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
      "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F\xE4";
  EXPECT_EQ(
      FromBytes(1252, 0, pszHigh, 33),
      XT("\x20AC\x0081\x201A\x0192\x201E\x2026\x2020\x2021\x02C6\x2030\x0160\x2039\x0152\x008D\x017D\x008F"
         "\x0090\x2018\x2019\x201C\x201D\x2022\x2013\x2014\x02DC\x2122\x0161\x203A\x0153\x009D\x017E\x0178\x00E4"));
  // Invalid UTF-8 fails under the strict flag and is replaced otherwise.
  for (const char* pszBytes : {"\xC3\x28", "\xFF", "\xED\xA0\x80", "\xC0\xAF", "abc\xE2\x82"}) {
    SCOPED_TRACE(pszBytes);
    EXPECT_EQ(FromBytes(CP_UTF8, MB_ERR_INVALID_CHARS, pszBytes), XT("<failed>"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_NE(FromBytes(CP_UTF8, 0, pszBytes).find(XChar(0xFFFD)), XString::npos);
  }
  // A short buffer fails; explicit lengths stop where they say.
  XChar buffer[3];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", -1, buffer, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", 3, buffer, 3), 3);
  EXPECT_EQ(XString(buffer, 3), XT("abc"));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 0, buffer, 3), 0);
}

TEST(CodePage, Utf16ToUtf8RoundTripsAndReplacesLoneSurrogates) {
  const XChar* text = XT("\x00D6\x20AC\xD83D\xDE00!");
  char buffer[32];
  ASSERT_GT(WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, 32, nullptr, nullptr), 0);
  EXPECT_STREQ(buffer, "\xC3\x96\xE2\x82\xAC\xF0\x9F\x98\x80!");
  const XChar lone[] = {XChar('a'), XChar(0xD800), XChar('z'), 0};
  ASSERT_GT(WideCharToMultiByte(CP_UTF8, 0, lone, -1, buffer, 32, nullptr, nullptr), 0);
  EXPECT_STREQ(buffer, "a\xEF\xBF\xBDz");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, buffer, 32, nullptr, nullptr), 0);
  // UTF-8 takes no other flag, WC_COMPOSITECHECK (0x200) for one. Wine takes any.
  if (colang::test::UnderWine()) return;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0x200, text, -1, buffer, 32, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

}  // namespace
