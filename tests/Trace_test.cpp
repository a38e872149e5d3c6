// Composition of trace lines: the location prefix, its consumption, and file
// names that cannot be converted.
#include <gtest/gtest.h>

#include "colang/detail/Trace.h"
#include "colang/platform/Win32.h"
#include "support/TestSupport.h"

namespace {

using colang::detail::TraceLocationSet;
using colang::detail::TraceReport;
using colang::test::TraceCapture;

TEST(Trace, LocationPrefixIsComposedAndConsumedByTheFirstReport) {
  TraceCapture capture;
  TraceLocationSet(".\\LMTranslDict", 1034);
  TraceReport(XT("XLMTranslDict::WindowTranslate: failed\n"));
  TraceReport(XT("XLMTranslDict::WindowTranslate: failed\n"));
  ASSERT_EQ(capture.Lines().size(), 2u);
  EXPECT_EQ(capture.Lines()[0], XT(".\\LMTranslDict(1034): #####\tXLMTranslDict::WindowTranslate: failed\n"));
  EXPECT_EQ(capture.Lines()[1], XT("#####\tXLMTranslDict::WindowTranslate: failed\n"));
}

TEST(Trace, MessagesAreFormattedWithWideArguments) {
  struct Case {
    const XChar* format;
    const XChar* expected;
  } cases[] = {
      {XT("RLGFileRead(\"%s\"): contradiction to current LangID 0x%04x\n"),
       XT("RLGFileRead(\"Ä.rlg\"): contradiction to current LangID 0x0407\n")},
      {XT("%d|%5d|%-4d|%u|%x|%%"), XT("-12|   42|7   |3000000000|ff|%")},
  };
  TraceCapture capture;
  TraceReport(cases[0].format, XT("Ä.rlg"), 0x407u);
  TraceReport(cases[1].format, -12, 42, 7, 3000000000u, 255u);
  ASSERT_EQ(capture.Lines().size(), 2u);
  for (size_t i = 0; i < 2; ++i) EXPECT_EQ(capture.Lines()[i], XString(XT("#####\t")) + cases[i].expected);
}

TEST(Trace, LineZeroIsALocationAndNegativeLinesAreNone) {
  TraceCapture capture;
  TraceLocationSet("f", 0);
  TraceReport(XT("a"));
  TraceLocationSet("f", -5);
  TraceReport(XT("b"));
  ASSERT_EQ(capture.Lines().size(), 2u);
  EXPECT_EQ(capture.Lines()[0], XT("f(0): #####\ta"));
  EXPECT_EQ(capture.Lines()[1], XT("#####\tb"));
}

TEST(Trace, UnconvertibleFileNamesRecordNoLocation) {
  TraceCapture capture;
  // Invalid in UTF-8; under Windows-1252 it converts, so only the emulation's
  // code page can refuse it. A name of 1024 characters fails everywhere.
  std::string tooLong(1024, 'x');
  TraceLocationSet(tooLong.c_str(), 3);
  TraceReport(XT("long"));
  TraceLocationSet(nullptr, 4);
  TraceReport(XT("null"));

  TraceLocationSet("kept.cpp", 9);
  TraceLocationSet(tooLong.c_str(), 10);  // keeps the earlier location pending
  TraceReport(XT("earlier"));

  ASSERT_EQ(capture.Lines().size(), 3u);
  EXPECT_EQ(capture.Lines()[0], XT("#####\tlong"));
  EXPECT_EQ(capture.Lines()[1], XT("#####\tnull"));
  EXPECT_EQ(capture.Lines()[2], XT("kept.cpp(9): #####\tearlier"));
}

TEST(Trace, ANameIsRecordedExactlyWhenTheAnsiCodePageConvertsIt) {
  // Invalid UTF-8 (the ANSI code page of the emulation); Windows-1252 maps it.
  const char* pszName = "\xC3\x28.cpp";
  XChar converted[16] = {};
  bool bConverts = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pszName, -1, converted, 16) > 0;
  TraceCapture capture;
  TraceLocationSet(pszName, 5);
  TraceReport(XT("m"));
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0], bConverts ? XString(converted) + XT("(5): #####\tm") : XString(XT("#####\tm")));
}

TEST(Trace, ALongestConvertibleNameIsKept) {
  TraceCapture capture;
  std::string name(1023, 'n');
  TraceLocationSet(name.c_str(), 1);
  TraceReport(XT("m"));
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0], colang::test::Widen(name) + XT("(1): #####\tm"));
}

}  // namespace
