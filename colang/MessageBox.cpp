// The library's modal message box: the host's hook when one is set, else the
// host application's own box.
#include "colang/detail/MessageBox.h"

#include <vector>

#include "colang/detail/Globals.h"
#include "colang/detail/PathSplit.h"
#include "colang/platform/Win32.h"

namespace colang::detail {

namespace {

// The host's name, as its windows are titled: its program's file name
// without directory and extension.
XString HostName() {
  std::vector<XChar> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  XString strName;
  PathSplit(buffer.data(), nullptr, nullptr, &strName, nullptr);
  return strName;
}

}  // namespace

int MessageBoxShow(const XChar* pszText, unsigned nType, unsigned nHelpContext) {
  if (g_pfnMessageBoxHook != nullptr) return g_pfnMessageBoxHook(pszText, nType, nHelpContext);
  // The host application's own box: owned by the window the user works in,
  // which waits for it, and titled with the host's name.
  const XString strCaption = HostName();
  MSGBOXPARAMSW params{};
  params.cbSize = sizeof params;
  params.hwndOwner = GetActiveWindow();
  params.lpszText = pszText;
  params.lpszCaption = strCaption.empty() ? nullptr : strCaption.c_str();
  params.dwStyle = nType;
  params.dwContextHelpId = nHelpContext;
  return MessageBoxIndirectW(&params);
}

}  // namespace colang::detail
