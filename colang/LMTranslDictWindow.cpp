// XLMTranslDict: translating and retranslating a window in place: its menu
// bar, its caption and the texts of every window below it except edit
// controls, whose texts are the user's data.
#include <climits>
#include <memory>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictLookup.h"
#include "colang/detail/Globals.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/Trace.h"
#include "colang/detail/UntranslatedLog.h"

using colang::detail::g_pDictWindow;
using colang::detail::TextLookup;
using colang::detail::XDirection;
using colang::detail::XModuleContextGuard;

namespace {

constexpr int kClassNameRoom = 10000;

// Room for the window's text and the terminating zero.
int WindowTextRoom(HWND hWnd) {
  int nLength = GetWindowTextLengthW(hWnd);
  return nLength > 0 && nLength < INT_MAX ? nLength + 1 : 1;
}

// The window's text, read into a buffer of nRoom characters; nRead receives
// what GetWindowTextW reports as copied.
XString WindowTextRead(HWND hWnd, int nRoom, int& nRead) {
  std::vector<XChar> buffer(static_cast<size_t>(nRoom), XChar(0));
  nRead = GetWindowTextW(hWnd, buffer.data(), nRoom);
  buffer.back() = 0;
  return XString(buffer.data());
}

bool ClassExcluded(const XChar* pszClass) {
  XStringView name(pszClass);
  return name == XT("Edit") || name == XT("RICHEDIT");
}

// The direction comes through the child enumeration's lParam.
BOOL CALLBACK WindowChildTextProc(HWND hWnd, LPARAM nDirection) {
  XModuleContextGuard guard;
  const XLMTranslDict* pDict = g_pDictWindow;
  if (pDict == nullptr || !pDict->IsValid()) return TRUE;
  if (!IsWindow(hWnd)) return TRUE;
  int nRead = 0;
  XString strText = WindowTextRead(hWnd, WindowTextRoom(hWnd), nRead);
  std::unique_ptr<XChar[]> pszClass(new XChar[kClassNameRoom]);
  pszClass[0] = 0;
  GetClassNameW(hWnd, pszClass.get(), kClassNameRoom);
  pszClass[kClassNameRoom - 1] = 0;
  if (nRead < 1 || ClassExcluded(pszClass.get())) return TRUE;
  if (nDirection != colang::detail::eDirTranslate && nDirection != colang::detail::eDirRetranslate) return TRUE;
  XString strOrigin;
  if (colang::detail::UntranslatedLogActive()) strOrigin = XString(XT("window ")) + pszClass.get();
  colang::detail::XUntranslatedOrigin origin(strOrigin.empty() ? nullptr : strOrigin.c_str());
  XString strNew = TextLookup(*pDict, strText.c_str(), static_cast<XDirection>(nDirection));
  SetWindowTextW(hWnd, strNew.c_str());
  return TRUE;
}

// Puts a dictionary in the current window slot and the earlier one back.
class XDictWindowScope {
 public:
  explicit XDictWindowScope(const XLMTranslDict* pDict) : m_pSaved(g_pDictWindow) { g_pDictWindow = pDict; }
  ~XDictWindowScope() { g_pDictWindow = m_pSaved; }
  XDictWindowScope(const XDictWindowScope&) = delete;
  XDictWindowScope& operator=(const XDictWindowScope&) = delete;

 private:
  const XLMTranslDict* m_pSaved;
};

// Both directions; false when the menu bar could not be redrawn.
bool WindowWalk(const XLMTranslDict& dict, HWND hWnd, XDirection eDirection) {
  if (!IsWindow(hWnd)) return true;
  bool bRewrite = true;
  HMENU hMenu = GetMenu(hWnd);
  if (IsMenu(hMenu)) {
    if (eDirection == colang::detail::eDirTranslate)
      dict.MenuTranslate(hMenu);
    else
      dict.MenuRetranslate(hMenu);
    bRewrite = DrawMenuBar(hWnd) != 0;
  }
  // A window whose menu bar could not be redrawn keeps its caption; its
  // children are translated all the same.
  int nRoom = WindowTextRoom(hWnd);
  XString strCaption;
  int nRead = 0;
  if (bRewrite) strCaption = WindowTextRead(hWnd, nRoom, nRead);
  XString strNew;
  {
    colang::detail::XUntranslatedOrigin origin(XT("window caption"));
    strNew = TextLookup(dict, strCaption.c_str(), eDirection);
  }
  if (bRewrite) SetWindowTextW(hWnd, strNew.c_str());
  {
    XDictWindowScope scope(&dict);
    EnumChildWindows(hWnd, WindowChildTextProc, static_cast<LPARAM>(eDirection));
  }
  return bRewrite;
}

}  // namespace

void XLMTranslDict::WindowTranslate(HWND hWnd) const {
  XModuleContextGuard guard;
  if (!WindowWalk(*this, hWnd, colang::detail::eDirTranslate)) {
    colang::detail::TraceLocationSet(".\\LMTranslDict", 1034);
    colang::detail::TraceReport(XT("XLMTranslDict::WindowTranslate: failed\n"));
  }
}

void XLMTranslDict::WindowRetranslate(HWND hWnd) const {
  XModuleContextGuard guard;
  WindowWalk(*this, hWnd, colang::detail::eDirRetranslate);
}
