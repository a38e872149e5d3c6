// Code page conversion as the library relies on it, on the emulation and on
// Windows alike.
#include <gtest/gtest.h>

#include "colang/platform/Win32.h"
#include "support/TestSupport.h"

namespace {

TEST(CodePage, Utf8ToUtf16) {
  struct Case {
    const char* bytes;
    const XChar* expected;
  } cases[] = {
      {"", XT("")},
      {"Open", XT("Open")},
      {"\xC3\x96"
       "ffnen",
       XT("\x00D6"
          "ffnen")},
      {"\xE2\x82\xAC", XT("\x20AC")},
      {"\xF0\x9F\x98\x80", XT("\xD83D\xDE00")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    XChar buffer[32];
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, c.bytes, -1, buffer, 32);
    ASSERT_GT(n, 0);
    EXPECT_EQ(XString(buffer, static_cast<size_t>(n - 1)), c.expected);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, c.bytes, -1, nullptr, 0), n);
  }
}

TEST(CodePage, InvalidUtf8FailsUnderTheStrictFlagAndIsReplacedOtherwise) {
  const char* invalid[] = {"\xC3\x28", "\xFF", "\xED\xA0\x80", "\xC0\xAF", "abc\xE2\x82"};
  for (const char* bytes : invalid) {
    SCOPED_TRACE(bytes);
    XChar buffer[32];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, -1, buffer, 32), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes, -1, buffer, 32);
    ASSERT_GT(n, 0);
    EXPECT_NE(XString(buffer).find(XChar(0xFFFD)), XString::npos);
  }
}

TEST(CodePage, ShortBufferFailsAndExplicitLengthsStopThere) {
  XChar buffer[3];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", -1, buffer, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", 3, buffer, 3), 3);
  EXPECT_EQ(XString(buffer, 3), XT("abc"));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 0, buffer, 3), 0);
}

TEST(CodePage, Windows1252MapsEveryByte) {
  XChar buffer[8];
  int n = MultiByteToWideChar(1252, 0, "\x80\x96\xE4", 3, buffer, 8);
  ASSERT_EQ(n, 3);
  EXPECT_EQ(XString(buffer, 3), XT("\x20AC\x2013\x00E4"));
}

TEST(CodePage, Utf16ToUtf8RoundTripsAndReplacesLoneSurrogates) {
  const XChar* text = XT("\x00D6\x20AC\xD83D\xDE00!");
  char buffer[32];
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, 32, nullptr, nullptr);
  ASSERT_GT(n, 0);
  EXPECT_STREQ(buffer, "\xC3\x96\xE2\x82\xAC\xF0\x9F\x98\x80!");
  const XChar lone[] = {XChar('a'), XChar(0xD800), XChar('b'), 0};
  n = WideCharToMultiByte(CP_UTF8, 0, lone, -1, buffer, 32, nullptr, nullptr);
  ASSERT_GT(n, 0);
  EXPECT_STREQ(buffer,
               "a\xEF\xBF\xBD"
               "b");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, buffer, 32, nullptr, nullptr), 0);
}

}  // namespace
