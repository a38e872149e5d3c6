// Emulated menus and windows in process memory, with the controls of
// Emulation.h. Every walk over submenus or descendants uses an explicit
// stack: menus and windows may be nested far deeper than a call stack allows.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "colang/XString.h"
#include "colang/platform/Win32.h"
#include "colang/platform/posix/Emulation.h"

namespace {

// Bits an item stores; everything else in the flags only says how to address it.
constexpr UINT kItemTypeMask = MF_BITMAP | MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MFT_RADIOCHECK |
                               MF_SEPARATOR | MFT_RIGHTORDER | MF_RIGHTJUSTIFY;
// MF_DEFAULT is no flag of these calls: Windows leaves it out.
constexpr UINT kItemStateMask = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE;
constexpr UINT kItemNone = 0xFFFFFFFFu;

struct XEmuMenuItem {
  UINT nFlags = 0;  // type and state bits
  UINT_PTR nID = 0;
  HMENU hSubMenu = nullptr;
  XString strText;  // only for string items
};

struct XEmuMenu {
  HMENU hSelf = nullptr;
  std::vector<XEmuMenuItem> vecItems;
};

struct XEmuWindow {
  XString strClass;
  XString strText;
  DWORD nStyle = 0;
  HWND hParent = nullptr;  // child windows only
  HWND hOwner = nullptr;   // top-level windows only
  HMENU hMenu = nullptr;   // menu bar, or a child's identifier
  std::vector<HWND> vecChildren;
};

// The state a desktop session would hold.
struct XEmuUser {
  std::uintptr_t nNextHandle = 0x20004;
  std::unordered_map<std::uintptr_t, std::unique_ptr<XEmuMenu>> mapMenus;
  std::unordered_map<std::uintptr_t, std::unique_ptr<XEmuWindow>> mapWindows;
  std::vector<HWND> vecTopLevel;
  std::vector<XString> vecAppClasses;
  int nFailModifyMenu = 0;
  int nFailDrawMenuBar = 0;

  std::uintptr_t HandleNew() {
    std::uintptr_t n = nNextHandle;
    nNextHandle += 4;
    return n;
  }
};

XEmuUser& User() {
  static XEmuUser user;
  return user;
}

XEmuMenu* MenuFind(HMENU hMenu) {
  auto& map = User().mapMenus;
  auto it = map.find(reinterpret_cast<std::uintptr_t>(hMenu));
  return it != map.end() ? it->second.get() : nullptr;
}

XEmuWindow* WindowFind(HWND hWnd) {
  auto& map = User().mapWindows;
  auto it = map.find(reinterpret_cast<std::uintptr_t>(hWnd));
  return it != map.end() ? it->second.get() : nullptr;
}

XString TextCopy(LPCWSTR psz) { return psz != nullptr ? XString(psz) : XString(); }

// Counts down a pending failure; true when this call is the one to fail.
bool FailureDue(int& nCountdown) {
  if (nCountdown <= 0) return false;
  return --nCountdown == 0;
}

// The item the caller names: by position in this menu, or by command
// identifier anywhere below it (submenus searched before a submenu item's
// own identifier, as Windows does).
struct XItemRef {
  XEmuMenu* pMenu = nullptr;
  size_t nIndex = 0;
  XEmuMenuItem* Item() const { return pMenu != nullptr ? &pMenu->vecItems[nIndex] : nullptr; }
};

XItemRef ItemFindByCommand(XEmuMenu* pRoot, UINT nID) {
  struct Frame {
    XEmuMenu* pMenu;
    size_t nIndex;
  };
  std::vector<Frame> stack{{pRoot, 0}};
  std::set<XEmuMenu*> setSeen{pRoot};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.nIndex >= frame.pMenu->vecItems.size()) {
      stack.pop_back();
      if (!stack.empty()) {
        // The submenu below held no match: the submenu item's own identifier counts next.
        Frame& parent = stack.back();
        const XEmuMenuItem& item = parent.pMenu->vecItems[parent.nIndex];
        if (static_cast<UINT>(item.nID) == nID) return {parent.pMenu, parent.nIndex};
        ++parent.nIndex;
      }
      continue;
    }
    XEmuMenuItem& item = frame.pMenu->vecItems[frame.nIndex];
    if (item.nFlags & MF_POPUP) {
      XEmuMenu* pSub = MenuFind(item.hSubMenu);
      if (pSub != nullptr && setSeen.insert(pSub).second) {
        stack.push_back({pSub, 0});
        continue;
      }
    }
    if (static_cast<UINT>(item.nID) == nID) return {frame.pMenu, frame.nIndex};
    ++frame.nIndex;
  }
  return {};
}

XItemRef ItemFind(HMENU hMenu, UINT nItem, UINT nFlags) {
  XEmuMenu* pMenu = MenuFind(hMenu);
  if (pMenu == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return {};
  }
  if (nFlags & MF_BYPOSITION) {
    if (nItem < pMenu->vecItems.size()) return {pMenu, nItem};
  } else {
    XItemRef ref = ItemFindByCommand(pMenu, nItem);
    if (ref.pMenu != nullptr) return ref;
  }
  SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return {};
}

// Whether hTarget is hSub itself or one of the menus below it.
bool MenuReaches(HMENU hSub, HMENU hTarget) {
  std::vector<HMENU> stack{hSub};
  std::set<HMENU> setSeen{hSub};
  while (!stack.empty()) {
    HMENU h = stack.back();
    stack.pop_back();
    if (h == hTarget) return true;
    XEmuMenu* pMenu = MenuFind(h);
    if (pMenu == nullptr) continue;
    for (const XEmuMenuItem& item : pMenu->vecItems)
      if ((item.nFlags & MF_POPUP) && setSeen.insert(item.hSubMenu).second) stack.push_back(item.hSubMenu);
  }
  return false;
}

// Builds the item the flags describe for the menu hOwner; false when a
// submenu is no menu or would contain hOwner. Keeping the submenu the item
// opens already (hSubKept) adds no edge, so it needs no search for a cycle.
bool ItemMake(XEmuMenuItem& item, HMENU hOwner, HMENU hSubKept, UINT nFlags, UINT_PTR nID, LPCWSTR pszItem) {
  item = XEmuMenuItem();
  item.nFlags = nFlags & (kItemTypeMask | kItemStateMask);
  if (nFlags & MF_POPUP) {
    HMENU hSub = reinterpret_cast<HMENU>(nID);
    if (MenuFind(hSub) == nullptr || (hSub != hSubKept && MenuReaches(hSub, hOwner))) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return false;
    }
    item.hSubMenu = hSub;
  }
  item.nID = nID;
  bool bString = (nFlags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) == 0;
  if (bString && pszItem == nullptr) {
    item.nFlags |= MF_SEPARATOR;
    bString = false;
  }
  if (bString) item.strText = pszItem;
  // Windows shows a separator grey and never lets it be chosen.
  if (item.nFlags & MF_SEPARATOR) item.nFlags |= MF_GRAYED | MF_DISABLED;
  return true;
}

void MenusDestroy(HMENU hMenu) {
  std::vector<HMENU> stack{hMenu};
  auto& map = User().mapMenus;
  while (!stack.empty()) {
    auto it = map.find(reinterpret_cast<std::uintptr_t>(stack.back()));
    stack.pop_back();
    if (it == map.end()) continue;
    std::unique_ptr<XEmuMenu> pMenu = std::move(it->second);
    map.erase(it);
    for (const XEmuMenuItem& item : pMenu->vecItems)
      if (item.nFlags & MF_POPUP) stack.push_back(item.hSubMenu);
  }
}

HMENU MenuCreate() {
  XEmuUser& user = User();
  auto pMenu = std::make_unique<XEmuMenu>();
  pMenu->hSelf = reinterpret_cast<HMENU>(user.HandleNew());
  HMENU hMenu = pMenu->hSelf;
  user.mapMenus.emplace(reinterpret_cast<std::uintptr_t>(hMenu), std::move(pMenu));
  return hMenu;
}

XChar FoldCase(XChar c) { return c >= 'a' && c <= 'z' ? static_cast<XChar>(c - 'a' + 'A') : c; }

bool NameEqualNoCase(XStringView a, XStringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// The spelling a class name resolves to: an application class first, then
// a system class, else the name as given.
XString ClassResolve(XStringView name) {
  for (const XString& strClass : User().vecAppClasses)
    if (NameEqualNoCase(strClass, name)) return strClass;
  static const XChar* const kSystemClasses[] = {XT("Button"),    XT("ComboBox"), XT("Edit"),      XT("ListBox"),
                                                XT("MDIClient"), XT("Static"),   XT("ScrollBar"), XT("ComboLBox")};
  for (const XChar* pszClass : kSystemClasses)
    if (NameEqualNoCase(pszClass, name)) return pszClass;
  return XString(name);
}

void HandleListRemove(std::vector<HWND>& vec, HWND hWnd) {
  for (auto it = vec.begin(); it != vec.end(); ++it) {
    if (*it == hWnd) {
      vec.erase(it);
      return;
    }
  }
}

// Copies at most cchMax - 1 characters, always terminated; the count copied.
int TextDeliver(const XString& str, LPWSTR pszOut, int cchMax) {
  if (pszOut == nullptr || cchMax <= 0) return 0;
  size_t n = str.size();
  if (n > static_cast<size_t>(cchMax - 1)) n = static_cast<size_t>(cchMax - 1);
  str.copy(pszOut, n);
  pszOut[n] = 0;
  return static_cast<int>(n);
}

}  // namespace

extern "C" {

HMENU WINAPI CreateMenu() { return MenuCreate(); }

HMENU WINAPI CreatePopupMenu() { return MenuCreate(); }

BOOL WINAPI DestroyMenu(HMENU hMenu) {
  if (MenuFind(hMenu) == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  MenusDestroy(hMenu);
  return TRUE;
}

BOOL WINAPI IsMenu(HMENU hMenu) { return MenuFind(hMenu) != nullptr ? TRUE : FALSE; }

BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
  return InsertMenuW(hMenu, kItemNone, uFlags | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL WINAPI InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
  XEmuMenu* pMenu = MenuFind(hMenu);
  if (pMenu == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  size_t nIndex = pMenu->vecItems.size();
  if (uFlags & MF_BYPOSITION) {
    if (uPosition < nIndex) nIndex = uPosition;
  } else {
    XItemRef ref = ItemFindByCommand(pMenu, uPosition);
    if (ref.pMenu != nullptr) {
      pMenu = ref.pMenu;
      nIndex = ref.nIndex;
    } else if (uPosition != kItemNone) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return FALSE;
    }
  }
  XEmuMenuItem item;
  if (!ItemMake(item, pMenu->hSelf, nullptr, uFlags, uIDNewItem, lpNewItem)) return FALSE;
  pMenu->vecItems.insert(pMenu->vecItems.begin() + static_cast<std::ptrdiff_t>(nIndex), std::move(item));
  return TRUE;
}

int WINAPI GetMenuItemCount(HMENU hMenu) {
  XEmuMenu* pMenu = MenuFind(hMenu);
  if (pMenu == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return -1;
  }
  return static_cast<int>(pMenu->vecItems.size());
}

UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
  const XEmuMenuItem* pItem = ItemFind(hMenu, uId, uFlags).Item();
  if (pItem == nullptr) return kItemNone;
  if (!(pItem->nFlags & MF_POPUP)) return pItem->nFlags;
  const XEmuMenu* pSub = MenuFind(pItem->hSubMenu);
  if (pSub == nullptr) return kItemNone;
  return (static_cast<UINT>(pSub->vecItems.size()) << 8) | (pItem->nFlags & 0xFFu);
}

HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos) {
  if (nPos < 0) return nullptr;
  const XEmuMenuItem* pItem = ItemFind(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION).Item();
  if (pItem == nullptr || !(pItem->nFlags & MF_POPUP)) return nullptr;
  return pItem->hSubMenu;
}

int WINAPI GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags) {
  const XEmuMenuItem* pItem = ItemFind(hMenu, uIDItem, flags).Item();
  if (pItem == nullptr) return 0;
  if (lpString == nullptr || cchMax <= 0) return static_cast<int>(pItem->strText.size());
  return TextDeliver(pItem->strText, lpString, cchMax);
}

UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
  if (nPos < 0) return kItemNone;
  const XEmuMenuItem* pItem = ItemFind(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION).Item();
  if (pItem == nullptr || (pItem->nFlags & MF_POPUP)) return kItemNone;
  return static_cast<UINT>(pItem->nID);
}

BOOL WINAPI ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
  if (FailureDue(User().nFailModifyMenu)) return FALSE;
  XItemRef ref = ItemFind(hMnu, uPosition, uFlags);
  if (ref.pMenu == nullptr) return FALSE;
  HMENU hOldSub = ref.Item()->hSubMenu;
  XEmuMenuItem item;
  if (!ItemMake(item, ref.pMenu->hSelf, hOldSub, uFlags, uIDNewItem, lpNewItem)) return FALSE;
  // A submenu that the item no longer opens goes with the old item.
  ref.pMenu->vecItems[ref.nIndex] = std::move(item);
  if (hOldSub != nullptr && hOldSub != ref.pMenu->vecItems[ref.nIndex].hSubMenu) MenusDestroy(hOldSub);
  return TRUE;
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
  XEmuMenuItem* pItem = ItemFind(hMenu, uIDCheckItem, uCheck).Item();
  if (pItem == nullptr) return kItemNone;
  DWORD nPrevious = pItem->nFlags & MF_CHECKED;
  pItem->nFlags = (pItem->nFlags & ~MF_CHECKED) | (uCheck & MF_CHECKED);
  return nPrevious;
}

BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  XEmuMenuItem* pItem = ItemFind(hMenu, uIDEnableItem, uEnable).Item();
  if (pItem == nullptr) return -1;
  constexpr UINT kEnableMask = MF_GRAYED | MF_DISABLED;
  BOOL nPrevious = static_cast<BOOL>(pItem->nFlags & kEnableMask);
  pItem->nFlags = (pItem->nFlags & ~kEnableMask) | (uEnable & kEnableMask);
  return nPrevious;
}

HWND WINAPI CreateWindowExW(DWORD, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int, int, int, int,
                            HWND hWndParent, HMENU hMenu, HINSTANCE, LPVOID) {
  // Values below 0x10000 are class atoms, which nothing here registers.
  if (reinterpret_cast<std::uintptr_t>(lpClassName) < 0x10000 || lpClassName[0] == 0) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  XEmuWindow* pParent = nullptr;
  if (hWndParent != nullptr) {
    pParent = WindowFind(hWndParent);
    if (pParent == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
  }
  bool bChild = (dwStyle & (WS_CHILD | WS_POPUP)) == WS_CHILD;
  if (bChild && pParent == nullptr) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (!bChild && hMenu != nullptr && MenuFind(hMenu) == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  auto pWindow = std::make_unique<XEmuWindow>();
  pWindow->strClass = ClassResolve(lpClassName);
  pWindow->strText = TextCopy(lpWindowName);
  pWindow->nStyle = dwStyle;
  pWindow->hMenu = hMenu;
  XEmuUser& user = User();
  HWND hWnd = reinterpret_cast<HWND>(user.HandleNew());
  if (bChild) {
    pWindow->hParent = hWndParent;
    pParent->vecChildren.push_back(hWnd);
  } else {
    pWindow->hOwner = hWndParent;
    user.vecTopLevel.push_back(hWnd);
  }
  user.mapWindows.emplace(reinterpret_cast<std::uintptr_t>(hWnd), std::move(pWindow));
  return hWnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  XEmuWindow* pWindow = WindowFind(hWnd);
  if (pWindow == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  XEmuUser& user = User();
  if (pWindow->hParent != nullptr) {
    if (XEmuWindow* pParent = WindowFind(pWindow->hParent)) HandleListRemove(pParent->vecChildren, hWnd);
  }
  std::vector<HWND> stack{hWnd};
  while (!stack.empty()) {
    HWND h = stack.back();
    stack.pop_back();
    auto it = user.mapWindows.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == user.mapWindows.end()) continue;
    std::unique_ptr<XEmuWindow> pGone = std::move(it->second);
    user.mapWindows.erase(it);
    if (pGone->hParent == nullptr) {
      HandleListRemove(user.vecTopLevel, h);
      if (pGone->hMenu != nullptr) MenusDestroy(pGone->hMenu);
      for (HWND hOther : user.vecTopLevel)
        if (WindowFind(hOther)->hOwner == h) stack.push_back(hOther);
    }
    stack.insert(stack.end(), pGone->vecChildren.begin(), pGone->vecChildren.end());
  }
  return TRUE;
}

HWND WINAPI GetActiveWindow() { return nullptr; }

BOOL WINAPI IsWindow(HWND hWnd) { return WindowFind(hWnd) != nullptr ? TRUE : FALSE; }

HWND WINAPI GetParent(HWND hWnd) {
  XEmuWindow* pWindow = WindowFind(hWnd);
  if (pWindow == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (pWindow->hParent != nullptr) return pWindow->hParent;
  return (pWindow->nStyle & WS_POPUP) ? pWindow->hOwner : nullptr;
}

HMENU WINAPI GetMenu(HWND hWnd) {
  XEmuWindow* pWindow = WindowFind(hWnd);
  return pWindow != nullptr ? pWindow->hMenu : nullptr;
}

BOOL WINAPI SetMenu(HWND hWnd, HMENU hMenu) {
  XEmuWindow* pWindow = WindowFind(hWnd);
  if (pWindow == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (pWindow->hParent != nullptr) return FALSE;
  if (hMenu != nullptr && MenuFind(hMenu) == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  pWindow->hMenu = hMenu;
  return TRUE;
}

BOOL WINAPI DrawMenuBar(HWND hWnd) {
  if (FailureDue(User().nFailDrawMenuBar)) return FALSE;
  if (WindowFind(hWnd) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
  XEmuWindow* pWindow = WindowFind(hWnd);
  return pWindow != nullptr ? static_cast<int>(pWindow->strText.size()) : 0;
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (lpString != nullptr && nMaxCount > 0) lpString[0] = 0;
  XEmuWindow* pWindow = WindowFind(hWnd);
  if (pWindow == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return TextDeliver(pWindow->strText, lpString, nMaxCount);
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  XEmuWindow* pWindow = WindowFind(hWnd);
  if (pWindow == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  pWindow->strText = TextCopy(lpString);
  return TRUE;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  XEmuWindow* pWindow = WindowFind(hWnd);
  if (pWindow == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return TextDeliver(pWindow->strClass, lpClassName, nMaxCount);
}

BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (lpEnumFunc == nullptr) return FALSE;
  std::vector<HWND> vecFirst;
  if (hWndParent == nullptr) {
    vecFirst = User().vecTopLevel;
  } else {
    XEmuWindow* pParent = WindowFind(hWndParent);
    if (pParent == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    vecFirst = pParent->vecChildren;
  }
  // One snapshot of siblings per level, each taken before the callback sees
  // their parent, so that windows made by the callback are not visited.
  struct Level {
    std::vector<HWND> vecWindows;
    size_t nNext;
  };
  std::vector<Level> stack;
  stack.push_back({std::move(vecFirst), 0});
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.nNext >= level.vecWindows.size()) {
      stack.pop_back();
      continue;
    }
    HWND hWnd = level.vecWindows[level.nNext++];
    XEmuWindow* pWindow = WindowFind(hWnd);
    if (pWindow == nullptr) continue;
    std::vector<HWND> vecChildren = pWindow->vecChildren;
    if (!lpEnumFunc(hWnd, lParam)) return FALSE;
    if (!vecChildren.empty()) stack.push_back({std::move(vecChildren), 0});
  }
  return TRUE;
}

void WINAPI EmuFailNthModifyMenu(int nNth) { User().nFailModifyMenu = nNth > 0 ? nNth : 0; }

void WINAPI EmuFailNthDrawMenuBar(int nNth) { User().nFailDrawMenuBar = nNth > 0 ? nNth : 0; }

BOOL WINAPI EmuWindowClassRegister(LPCWSTR lpClassName) {
  if (lpClassName == nullptr || lpClassName[0] == 0) return FALSE;
  auto& vec = User().vecAppClasses;
  for (const XString& strClass : vec)
    if (NameEqualNoCase(strClass, lpClassName)) return FALSE;
  vec.emplace_back(lpClassName);
  return TRUE;
}

BOOL WINAPI EmuWindowClassUnregister(LPCWSTR lpClassName) {
  if (lpClassName == nullptr) return FALSE;
  auto& vec = User().vecAppClasses;
  for (auto it = vec.begin(); it != vec.end(); ++it) {
    if (NameEqualNoCase(*it, lpClassName)) {
      vec.erase(it);
      return TRUE;
    }
  }
  return FALSE;
}
}
