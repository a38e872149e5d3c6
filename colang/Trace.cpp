// Composition of trace lines and their hand-over to the sink.
#include "colang/detail/Trace.h"

#include <cstdarg>

#include "colang/detail/Format.h"
#include "colang/detail/Globals.h"
#include "colang/platform/Win32.h"

namespace colang::detail {

void TraceLocationSet(const char* pszFile, int nLine) {
  if (pszFile == nullptr) return;
  constexpr int kRoom = 1024;
  XChar buffer[kRoom];
  int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pszFile, -1, buffer, kRoom);
  if (n < 1) return;
  g_strTracePendingFile.assign(buffer);
  g_nTracePendingLine = nLine;
}

void TraceReport(const XChar* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  XString strMessage = FormatV(pszFormat, args);
  va_end(args);

  XString strLine;
  if (g_nTracePendingLine >= 0) {
    strLine = Format(XT("%s(%d): "), g_strTracePendingFile.c_str(), g_nTracePendingLine);
    g_strTracePendingFile.clear();
    g_nTracePendingLine = -1;
  }
  strLine += XT("#####\t");
  strLine += strMessage;

  if (g_pfnTraceSink != nullptr)
    g_pfnTraceSink(strLine.c_str());
  else
    OutputDebugStringW(strLine.c_str());
}

}  // namespace colang::detail
