// The diagnostic trace: failures that a call does not return in words are
// reported as one line, "file(line): #####\t" and the message. A report is
// always raised as TraceLocationSet followed at once by TraceReport; the first
// report after a location consumes it.
#pragma once

#include "colang/XString.h"

namespace colang::detail {

// Records the location of the next report. pszFile is in the ANSI code page;
// a name that does not convert (or of 1024 characters or more) records nothing.
void TraceLocationSet(const char* pszFile, int nLine);

// Composes the report line (see Format.h for the conversions) and hands it
// to the trace sink. Never fails the caller.
void TraceReport(const XChar* pszFormat, ...);

}  // namespace colang::detail
