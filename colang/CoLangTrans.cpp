// The exported Co functions over the default dictionary and the dictionary list.
#include "colang/CoLangTrans.h"

#include <cstring>
#include <deque>

#include "colang/detail/Globals.h"
#include "colang/detail/Trace.h"

using colang::detail::g_dictDefault;
using colang::detail::g_listDict;
using colang::detail::TraceLocationSet;
using colang::detail::TraceReport;

namespace {

// The default dictionary for a null or empty selector or one naming a file it
// has loaded; else the first list dictionary that has loaded it; else null.
// Each dictionary completes the selector in its own context, and one that
// cannot complete it reports that to the trace.
XLMTranslDict* LangDictSearch(const XChar* pszSelector) {
  if (pszSelector == nullptr || *pszSelector == 0) return &g_dictDefault;
  if (g_dictDefault.RLGFileLoadedSearch(pszSelector)) return &g_dictDefault;
  for (XLMTranslDict& dict : g_listDict)
    if (dict.RLGFileLoadedSearch(pszSelector)) return &dict;
  return nullptr;
}

// A narrow text in the thread's ANSI code page as wide text; false for a
// null text, one too long to convert, or one that does not convert.
bool NarrowToWide(const char* pszText, XString& strWide) {
  if (pszText == nullptr) return false;
  size_t n = std::strlen(pszText) + 1;
  if (n > 0x3FFFFFFF) return false;
  strWide.resize(n);
  int nConverted = MultiByteToWideChar(CP_THREAD_ACP, 0, pszText, -1, strWide.data(), static_cast<int>(n));
  if (nConverted <= 0) return false;
  strWide.resize(static_cast<size_t>(nConverted) - 1);
  return true;
}

// Converted texts of narrow misses, kept so that the pointer handed out stays
// valid for a while; a deque never moves the entries it keeps.
const XChar* NarrowMissKeep(XString&& strText) {
  constexpr size_t kKept = 64;
  static std::deque<XString> s_dequeKept;
  while (s_dequeKept.size() >= kKept) s_dequeKept.pop_front();
  s_dequeKept.push_back(std::move(strText));
  return s_dequeKept.back().c_str();
}

BSTR BstrOf(const XChar* pszText) {
  if (pszText == nullptr) return SysAllocStringLen(XT(""), 0);
  return SysAllocStringLen(pszText, static_cast<UINT>(std::char_traits<XChar>::length(pszText)));
}

XLMTranslDict* DictPtr(const XChar* pszSelector) {
  return pszSelector == nullptr ? &g_dictDefault : LangDictSearch(pszSelector);
}

}  // namespace

long CoLoadLanguage(const XChar* pszDir, const XChar* pszPrefix, int nLangID) {
  XString strName = XLMTranslDict::RLGFilenameGen(pszDir, pszPrefix, nLangID);
  if (pszDir != nullptr && *pszDir != 0) g_dictDefault.SetDefaultDir(pszDir);
  return g_dictDefault.RLGFileRead(strName.c_str(), false) ? 1 : 0;
}

int CoLangLoadDefaultDict(const XChar* pszRLGFilename) {
  return g_dictDefault.RLGFileRead(pszRLGFilename, false) ? 1 : 0;
}

int CoLangAddDefaultDict(const XChar* pszRLGFilename) {
  if (g_dictDefault.RLGFileRead(pszRLGFilename, true)) return 1;
  TraceLocationSet(".\\CoLangTrans", 98);
  TraceReport(XT("CoLangAddDefaultDict(\"%s\"): error\n"), pszRLGFilename);
  return 0;
}

int CoLangLoadDict(const XChar* pszRLGFilename) {
  XLMTranslDict dict;
  if (!dict.RLGFileRead(pszRLGFilename, false)) return 0;
  g_listDict.push_back(std::move(dict));
  return 1;
}

int CoLangAddDict(const XChar* pszSelector, const XChar* pszRLGFilename) {
  XLMTranslDict* pDict = LangDictSearch(pszSelector);
  if (pDict != nullptr && pDict->RLGFileRead(pszRLGFilename, true)) return 1;
  TraceLocationSet(".\\CoLangTrans", 87);
  TraceReport(XT("CoLangAddDict(\"%s\",\"%s\"): error\n"), pszSelector, pszRLGFilename);
  return 0;
}

void CoUnloadLanguageRLG(const XChar* pszSelector) {
  if (XLMTranslDict* pDict = DictPtr(pszSelector)) pDict->Empty();
}

int CoGetCurrentLanguageID() { return g_dictDefault.LangID(); }

int CoLangIDSet(int nLangID, const XChar* pszSelector) {
  XLMTranslDict* pDict = DictPtr(pszSelector);
  if (pDict == nullptr) return 0;
  pDict->LangIDSet(nLangID);
  return 1;
}

int CoLangIDExtract(const XChar* pszFilename) {
  int nLangID = 0;
  return XLMTranslDict::RLGFilenameCheck(nLangID, pszFilename) ? nLangID : 0;
}

int CoRLGFilenameGen(XChar* pszBuffer, int nSize, const XChar* pszDir, const XChar* pszPrefix, int nLangID) {
  // A size below 1 leaves no room even for the terminating zero.
  if (pszBuffer == nullptr || nSize < 1) return 0;
  XString strName = XLMTranslDict::RLGFilenameGen(pszDir, pszPrefix, nLangID);
  size_t n = strName.size() + 1;
  if (n > static_cast<size_t>(nSize)) n = static_cast<size_t>(nSize);
  std::memcpy(pszBuffer, strName.c_str(), n * sizeof(XChar));
  pszBuffer[n - 1] = 0;
  return static_cast<int>(n);
}

const XLMTranslDict* CoLangDictPtr(const XChar* pszSelector) { return DictPtr(pszSelector); }

const XChar* CoTranslateText(const XChar* pszText) { return g_dictDefault.StringTranslate(pszText); }

const XChar* CoTranslateText(const char* pszText) {
  XString strWide;
  if (!NarrowToWide(pszText, strWide)) return nullptr;
  const XChar* pszHit = g_dictDefault.CheckTranslate(strWide.c_str());
  return pszHit != nullptr ? pszHit : NarrowMissKeep(std::move(strWide));
}

BSTR CoTranslateText2(const XChar* pszText) { return BstrOf(g_dictDefault.StringTranslate(pszText)); }

BSTR CoTranslateText2(const char* pszText) {
  XString strWide;
  if (!NarrowToWide(pszText, strWide)) return BstrOf(nullptr);
  return BstrOf(g_dictDefault.StringTranslate(strWide.c_str()));
}

const XChar* CoTranslateTextRLG(const XChar* pszText, const XChar* pszSelector) {
  const XLMTranslDict* pDict = LangDictSearch(pszSelector);
  const XChar* pszResult = pDict != nullptr ? pDict->CheckTranslate(pszText) : nullptr;
  return pszResult != nullptr ? pszResult : pszText;
}

const XChar* CoRetranslateText(const XChar* pszText) { return g_dictDefault.StringRetranslate(pszText); }

const XChar* CoRetranslateTextRLG(const XChar* pszText, const XChar* pszSelector) {
  const XLMTranslDict* pDict = LangDictSearch(pszSelector);
  const XChar* pszResult = pDict != nullptr ? pDict->CheckRetranslate(pszText) : nullptr;
  return pszResult != nullptr ? pszResult : pszText;
}

const XChar* CoTranslateIdRLG(unsigned int nID, const XChar* pszSelector) {
  const XLMTranslDict* pDict = LangDictSearch(pszSelector);
  return pDict != nullptr ? pDict->CheckTranslate(nID) : nullptr;
}

const XChar* CoLangRLGPathGet() { return XLMTranslDict::RLGPathGet().c_str(); }

int CoLangRLGPathInitialize(IQV_SessionDataMng* pSessionDataMng) {
  return XLMTranslDict::RLGPathInitialize(pSessionDataMng) ? 1 : 0;
}

void CoTranslateMenu(HMENU hMenu) { g_dictDefault.MenuTranslate(hMenu); }

void CoTranslateMenuRLG(HMENU hMenu, const XChar* pszSelector) {
  if (const XLMTranslDict* pDict = LangDictSearch(pszSelector)) pDict->MenuTranslate(hMenu);
}

void CoRetranslateMenu(HMENU hMenu) { g_dictDefault.MenuRetranslate(hMenu); }

void CoRetranslateMenuRLG(HMENU hMenu, const XChar* pszSelector) {
  if (const XLMTranslDict* pDict = LangDictSearch(pszSelector)) pDict->MenuRetranslate(hMenu);
}

void CoTranslateWindow(HWND hWnd) { g_dictDefault.WindowTranslate(hWnd); }

void CoTranslateWindowRLG(HWND hWnd, const XChar* pszSelector) {
  if (const XLMTranslDict* pDict = LangDictSearch(pszSelector)) pDict->WindowTranslate(hWnd);
}

void CoRetranslateWindow(HWND hWnd) { g_dictDefault.WindowRetranslate(hWnd); }

void CoRetranslateWindowRLG(HWND hWnd, const XChar* pszSelector) {
  if (const XLMTranslDict* pDict = LangDictSearch(pszSelector)) pDict->WindowRetranslate(hWnd);
}
