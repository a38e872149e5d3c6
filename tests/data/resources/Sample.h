// Identifiers of the sample program's resources, shared by its code and its
// resource script.
#ifndef SAMPLE_RESOURCE_H
#define SAMPLE_RESOURCE_H

#define IDI_SAMPLE 1
#define IDR_MAIN 100
#define IDR_CONTEXT 101
#define IDD_FIND 200
#define IDR_DATA 300
#define IDR_BLOCK 301
#define IDR_ACCEL 302

#define IDM_OPEN 1001
#define IDM_SAVE 1002
#define IDM_RECENT 1003
#define IDM_EXIT 1004
#define IDM_ABOUT 1005
#define IDM_CONTEXT 1100
#define IDM_CUT (IDM_CONTEXT + 1)
#define IDM_COPY (IDM_CONTEXT + 2)
#define IDM_RIGHT (IDM_CONTEXT + 3)

#define IDC_FIND_TEXT 2001
#define IDC_REPLACE_TEXT 2002
#define IDC_CENTER 2003
#define IDC_CASE 2004
#define IDC_WORD 2005
#define IDC_UP 2006
#define IDC_DOWN 2007
#define IDC_WRAP 2008
#define IDC_REGEX 2009
#define IDC_LINE 2010
#define IDC_ICON 2011
#define IDC_HISTORY 2012
#define IDC_SCOPE 2013
#define IDC_PAGE 2014

#define IDS_READY 5000
#define IDS_SAVED 5001
#define IDS_LINES 5002
#define IDS_TAB 5003
#define IDS_PATH 5004
#define IDS_JOINED 5005
#define IDS_COUNT 5016
#define IDS_QUOTE 5017

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// C declarations that the program's code uses; resource compilers read only
// the #define lines of a header.
int SampleRun(const char* pszArgs);

#endif
