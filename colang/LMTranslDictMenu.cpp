// XLMTranslDict: translating and retranslating a menu and all its submenus
// in place.
//
// The walk visits a menu's items in order and descends into each submenu as
// soon as its title is done, exactly as a recursive walk would; but it keeps
// one small frame per open menu level on an explicit stack and shares one
// text buffer on the heap, so that a menu nested thousands of levels deep
// costs memory, not call stack.
#include <memory>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictLookup.h"
#include "colang/detail/ModuleContext.h"
#include "colang/detail/UntranslatedLog.h"

using colang::detail::TextLookup;
using colang::detail::XDirection;
using colang::detail::XModuleContextGuard;

namespace {

// Room for 9999 characters and the terminating zero.
constexpr int kItemTextRoom = 10000;
// Bits an item keeps when it is rewritten: grey, disabled, checked, highlighted.
constexpr UINT kItemKeptMask = 0x8B;
constexpr UINT kItemStateNone = 0xFFFFFFFFu;

// One open menu level: its rewrite flag is its own, untouched by its submenus.
struct XMenuLevel {
  HMENU hMenu;
  int nCount;
  int nPos;
  bool bRewrite;
};

void MenuWalk(const XLMTranslDict& dict, HMENU hRoot, XDirection eDirection) {
  colang::detail::XUntranslatedOrigin origin(XT("menu"));
  std::unique_ptr<XChar[]> pszText(new XChar[kItemTextRoom]);
  std::vector<XMenuLevel> stack;
  auto levelEnter = [&stack](HMENU hMenu) {
    int nCount = GetMenuItemCount(hMenu);
    if (nCount >= 0) stack.push_back({hMenu, nCount, 0, true});
  };

  levelEnter(hRoot);
  while (!stack.empty()) {
    XMenuLevel& level = stack.back();
    if (level.nPos >= level.nCount) {
      stack.pop_back();
      continue;
    }
    HMENU hMenu = level.hMenu;
    int nPos = level.nPos++;
    UINT nPosition = static_cast<UINT>(nPos);

    UINT nState = GetMenuState(hMenu, nPosition, MF_BYPOSITION);
    // For a submenu item the mask also removes the item count in the upper bits.
    UINT nKept = nState == kItemStateNone ? 0 : (nState & kItemKeptMask);
    HMENU hSubMenu = GetSubMenu(hMenu, nPos);
    pszText[0] = 0;
    int nLength = GetMenuStringW(hMenu, nPosition, pszText.get(), kItemTextRoom, MF_BYPOSITION);
    pszText[kItemTextRoom - 1] = 0;

    if (hSubMenu == nullptr) {
      if (nLength <= 0) continue;
      XString strNew = TextLookup(dict, pszText.get(), eDirection);
      UINT nID = GetMenuItemID(hMenu, nPos);
      // Translation rewrites every command item and only remembers a failure
      // for the submenu titles; retranslation stops at the first failure.
      if (eDirection == colang::detail::eDirTranslate || level.bRewrite) {
        BOOL bDone = ModifyMenuW(hMenu, nPosition, MF_BYPOSITION | nKept, nID, strNew.c_str());
        level.bRewrite = level.bRewrite && bDone;
      }
      continue;
    }

    if (nLength > 0) {
      XString strNew = TextLookup(dict, pszText.get(), eDirection);
      if (level.bRewrite) {
        UINT_PTR nSubMenu = reinterpret_cast<UINT_PTR>(GetSubMenu(hMenu, nPos));
        level.bRewrite = ModifyMenuW(hMenu, nPosition, MF_BYPOSITION | MF_POPUP | nKept, nSubMenu, strNew.c_str()) != 0;
      }
    }
    // level is not used past this point: entering the submenu may move it.
    levelEnter(hSubMenu);
  }
}

}  // namespace

void XLMTranslDict::MenuTranslate(HMENU hMenu) const {
  XModuleContextGuard guard;
  MenuWalk(*this, hMenu, colang::detail::eDirTranslate);
}

void XLMTranslDict::MenuRetranslate(HMENU hMenu) const {
  XModuleContextGuard guard;
  MenuWalk(*this, hMenu, colang::detail::eDirRetranslate);
}
