// The exported Co functions: a process-wide default dictionary and a list of
// further dictionaries, each chosen by a selector, the name of a catalog file
// loaded into it.
//
// What a caller may rely on:
// - A null or empty selector, or one naming a file the default dictionary has
//   loaded, selects the default dictionary; otherwise the first dictionary of
//   the list that has loaded the named file; otherwise none.
// - Text results point into storage the library owns; only CoTranslateText2
//   allocates (the caller frees its result with SysFreeString).
// - The list's dictionaries never move: a pointer from CoLangDictPtr, and every
//   text a list dictionary hands out, stays valid when the list grows (until
//   that dictionary is emptied or the library is unloaded).
// - Narrow texts are in the calling thread's ANSI code page (UTF-8 on Linux).
//   The narrow CoTranslateText keeps the converted text of a miss in a pool of
//   the last 64 such misses: the pointer stays valid for 63 further narrow misses.
// - Null arguments never crash; reports of failures go to the diagnostic trace,
//   where a null name is written as "(null)".
#pragma once

#include "colang/LMTranslDict.h"
#include "colang/XString.h"
#include "colang/platform/Export.h"
#include "colang/platform/Win32.h"

struct IQV_SessionDataMng;

// The full path of the first file found under the name: the name itself,
// then in the parent of its directory (or of the working directory), the
// settings directory, and each directory of PATH. Empty when found nowhere
// (also for a null name); a missing PATH is reported to the trace.
COLANG_API XString FilePathSearch(const XChar* pszFilename);

// Reads dir\prefix<langid>.rlg into the default dictionary, replacing it; a
// non-empty dir also becomes its default directory. 1 on success, else 0.
COLANG_API long CoLoadLanguage(const XChar* pszDir, const XChar* pszPrefix, int nLangID);
// Reads a catalog into the default dictionary, replacing it. 1 or 0.
COLANG_API int CoLangLoadDefaultDict(const XChar* pszRLGFilename);
// Adds a catalog to the default dictionary. 1 or 0 (and a trace report).
COLANG_API int CoLangAddDefaultDict(const XChar* pszRLGFilename);
// Reads a catalog into a new dictionary appended to the list. 1 or 0; on 0
// the list is unchanged.
COLANG_API int CoLangLoadDict(const XChar* pszRLGFilename);
// Adds a catalog to the selected dictionary. 1 or 0 (and a trace report).
COLANG_API int CoLangAddDict(const XChar* pszSelector, const XChar* pszRLGFilename);
// Empties the selected dictionary (it stays in the list); nothing if none.
COLANG_API void CoUnloadLanguageRLG(const XChar* pszSelector);

// Language identifier of the default dictionary, 0 for none.
COLANG_API int CoGetCurrentLanguageID();
// Sets the selected dictionary's language identifier. 1, or 0 if none is selected.
COLANG_API int CoLangIDSet(int nLangID, const XChar* pszSelector);
// Language identifier carried by a file name, or 0.
COLANG_API int CoLangIDExtract(const XChar* pszFilename);
// Writes the generated file name into pszBuffer, cut to nSize - 1 characters
// and always terminated. Returns the characters written with the zero; 0 for
// a null buffer or a size below 1 (nothing is written then).
COLANG_API int CoRLGFilenameGen(XChar* pszBuffer, int nSize, const XChar* pszDir, const XChar* pszPrefix, int nLangID);
// Null selector: the default dictionary; otherwise the selected one, or null.
COLANG_API const XLMTranslDict* CoLangDictPtr(const XChar* pszSelector);

// Translation by the default dictionary, or pszText itself.
COLANG_API const XChar* CoTranslateText(const XChar* pszText);
// Translation of a narrow text; on a miss the converted text (kept in the
// miss pool); null for a null text or one that does not convert.
COLANG_API const XChar* CoTranslateText(const char* pszText);
// Translation (or the text itself) as a new string; empty for null.
COLANG_API BSTR CoTranslateText2(const XChar* pszText);
// Narrow form: the miss gives the converted text, a null or unconvertible text
// an empty string.
COLANG_API BSTR CoTranslateText2(const char* pszText);
// Translation by the selected dictionary, or pszText itself.
COLANG_API const XChar* CoTranslateTextRLG(const XChar* pszText, const XChar* pszSelector);
// Source text of a translation by the default dictionary, or pszText itself.
COLANG_API const XChar* CoRetranslateText(const XChar* pszText);
// Source text of a translation by the selected dictionary, or pszText itself.
COLANG_API const XChar* CoRetranslateTextRLG(const XChar* pszText, const XChar* pszSelector);
// Translation of a resource identifier by the selected dictionary, or null.
COLANG_API const XChar* CoTranslateIdRLG(unsigned int nID, const XChar* pszSelector);

// The settings directory of the search path; valid until it changes.
COLANG_API const XChar* CoLangRLGPathGet();
// Takes the settings directory from the host's session data. 1 or 0.
COLANG_API int CoLangRLGPathInitialize(IQV_SessionDataMng* pSessionDataMng);

// Menus and windows, translated in place by the default or the selected
// dictionary; nothing happens when no dictionary is selected. Handles are
// passed on as they are: one that is no menu or window is left alone.
COLANG_API void CoTranslateMenu(HMENU hMenu);
COLANG_API void CoTranslateMenuRLG(HMENU hMenu, const XChar* pszSelector);
COLANG_API void CoRetranslateMenu(HMENU hMenu);
COLANG_API void CoRetranslateMenuRLG(HMENU hMenu, const XChar* pszSelector);
COLANG_API void CoTranslateWindow(HWND hWnd);
COLANG_API void CoTranslateWindowRLG(HWND hWnd, const XChar* pszSelector);
COLANG_API void CoRetranslateWindow(HWND hWnd);
COLANG_API void CoRetranslateWindowRLG(HWND hWnd, const XChar* pszSelector);
