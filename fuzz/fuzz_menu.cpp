// Fuzz target: menu translation on random menu trees (the emulated menus on
// Linux). The input is a little program that builds the tree and fills the
// dictionary; translation and retranslation must keep the tree's shape.
#include <vector>

#include "colang/detail/DictAccess.h"
#include "colang/platform/Win32.h"
#include "fuzz/FuzzSupport.h"

namespace {

struct XReader {
  const std::uint8_t* p;
  std::size_t n;
  bool More() const { return n > 0; }
  std::uint8_t Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
};

XString TextRead(XReader& in) {
  const std::size_t nLength = in.Byte() % 24;
  XString strText;
  for (std::size_t i = 0; i < nLength && in.More(); ++i) {
    const XChar c = in.Byte();
    if (c != 0) strText += c;
  }
  return strText;
}

// The item counts and submenu handles of the tree, depth first.
void ShapeGet(HMENU hMenu, std::vector<std::uintptr_t>& vecShape) {
  const int nCount = GetMenuItemCount(hMenu);
  vecShape.push_back(static_cast<std::uintptr_t>(nCount));
  for (int i = 0; i < nCount; ++i) {
    HMENU hSub = GetSubMenu(hMenu, i);
    vecShape.push_back(reinterpret_cast<std::uintptr_t>(hSub));
    if (hSub != nullptr) ShapeGet(hSub, vecShape);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  static const UINT anFlags[] = {MF_CHECKED,      MF_GRAYED, MF_DISABLED, MF_MENUBREAK,
                                 MF_MENUBARBREAK, MF_HILITE, 0x1000,      0x4000};
  XReader in{pData, nSize};
  XLMTranslDict dict;
  XLMTranslDictAccess::Insert(dict, XT("%d items"), XT("%d Dinge"));
  std::vector<HMENU> vecStack{(in.Byte() & 1) != 0 ? CreateMenu() : CreatePopupMenu()};
  const HMENU hRoot = vecStack.front();
  UINT nID = 100;
  while (in.More()) {
    const std::uint8_t nOp = in.Byte();
    UINT nFlags = 0;
    for (int i = 0; i < 8; ++i)
      if ((nOp >> i) & 1) nFlags |= anFlags[i];
    switch (nOp % 7) {
      case 0:
      case 1: {
        const XString strText = TextRead(in);
        AppendMenuW(vecStack.back(), MF_STRING | nFlags, ++nID, strText.c_str());
        if ((nOp & 0x10) != 0) XLMTranslDictAccess::Insert(dict, strText.c_str(), TextRead(in).c_str());
        break;
      }
      case 2:
        AppendMenuW(vecStack.back(), MF_SEPARATOR, 0, nullptr);
        break;
      case 3: {
        HMENU hSub = CreatePopupMenu();
        const XString strText = (nOp & 0x20) != 0 ? XString() : TextRead(in);
        if (AppendMenuW(vecStack.back(), MF_POPUP | MF_STRING | nFlags, reinterpret_cast<UINT_PTR>(hSub),
                        strText.c_str()))
          vecStack.push_back(hSub);
        else
          DestroyMenu(hSub);
        break;
      }
      case 4:
        if (vecStack.size() > 1) vecStack.pop_back();
        break;
      case 5: {
        // Texts around the 10000-character buffer of the walk.
        const XString strText(9990 + in.Byte() % 20, static_cast<XChar>('a' + nOp % 26));
        AppendMenuW(vecStack.back(), MF_STRING, ++nID, strText.c_str());
        break;
      }
      default:
        XLMTranslDictAccess::Insert(dict, TextRead(in).c_str(), TextRead(in).c_str());
        break;
    }
  }
  dict.LangIDSet(0x0407);

  std::vector<std::uintptr_t> vecBefore, vecAfter;
  ShapeGet(hRoot, vecBefore);
  dict.MenuTranslate(hRoot);
  dict.MenuRetranslate(hRoot);
  ShapeGet(hRoot, vecAfter);
  FUZZ_CHECK(vecBefore == vecAfter);
  // Handles that are not menus (any more) are left alone.
  DestroyMenu(hRoot);
  dict.MenuTranslate(hRoot);
  dict.MenuRetranslate(reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(nSize)));
  return 0;
}
