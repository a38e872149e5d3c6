// Identifiers of the Win32 demo's resources (win32demo.rc), used by its code.
#ifndef WIN32DEMO_H
#define WIN32DEMO_H

#define IDR_MAINMENU 1
#define IDD_MAIN 2

#define IDM_NEW 100
#define IDM_OPEN 101
#define IDM_SAVE 102
#define IDM_SAVEAS 103
#define IDM_RECENT1 104
#define IDM_RECENT2 105
#define IDM_EXIT 106
#define IDM_CUT 107
#define IDM_COPY 108
#define IDM_PASTE 109
#define IDM_FIND 110
#define IDM_REPLACE 111
#define IDM_ABOUT 112

#define IDC_MATCHCASE 200
#define IDC_WHOLEWORD 201
#define IDC_FINDWHAT 202
#define IDC_PAGE 203

#endif
