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
using colang::test::Widen;

TEST(Trace, TheLocationPrefixIsComposedAndConsumedByTheFirstReport) {
  // Invalid UTF-8 (the ANSI code page of the emulation), which Windows-1252 maps.
  const char* pszAnsi = "\xC3\x28.cpp";
  XChar converted[16] = {};
  const bool bAnsiConverts = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pszAnsi, -1, converted, 16) > 0;
  const std::string strLongest(1023, 'n'), strTooLong(1024, 'x');
  struct Case {
    const char* pszFile;
    int nLine;
    XString strPrefix;  // of the first report; none for the second
  } cases[] = {
      {".\\LMTranslDict", 1034, XT(".\\LMTranslDict(1034): ")},
      {"f", 0, XT("f(0): ")},
      {"f", -5, XT("")},  // negative lines are no location
      {nullptr, 4, XT("")},
      {strLongest.c_str(), 1, Widen(strLongest) + XT("(1): ")},
      {strTooLong.c_str(), 3, XT("")},
      {pszAnsi, 5, bAnsiConverts ? XString(converted) + XT("(5): ") : XString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nLine);
    TraceCapture capture;
    TraceLocationSet(c.pszFile, c.nLine);
    TraceReport(XT("XLMTranslDict::WindowTranslate: failed\n"));
    TraceReport(XT("again"));
    EXPECT_EQ(capture.Lines(),
              (std::vector<XString>{c.strPrefix + XT("#####\tXLMTranslDict::WindowTranslate: failed\n"),
                                    XT("#####\tagain")}));
  }
  // A name that cannot be converted leaves the earlier location pending.
  TraceCapture capture;
  TraceLocationSet("kept.cpp", 9);
  TraceLocationSet(strTooLong.c_str(), 10);
  TraceReport(XT("earlier"));
  EXPECT_EQ(capture.Lines(), std::vector<XString>{XT("kept.cpp(9): #####\tearlier")});
}

TEST(Trace, MessagesAreFormattedWithWideArguments) {
  TraceCapture capture;
  TraceReport(XT("RLGFileRead(\"%s\"): contradiction to current LangID 0x%04x\n"), XT("Ä.rlg"), 0x407u);
  TraceReport(XT("%d|%5d|%-4d|%u|%x|%%"), -12, 42, 7, 3000000000u, 255u);
  EXPECT_EQ(capture.Lines(),
            (std::vector<XString>{XT("#####\tRLGFileRead(\"Ä.rlg\"): contradiction to current LangID 0x0407\n"),
                                  XT("#####\t-12|   42|7   |3000000000|ff|%")}));
}

}  // namespace
