// The user-interface resources of a Win32 program as rlgtool extracts them:
// menus, dialogs and string tables, each in one language, read from a
// program or library (PE), a compiled resource file (.res) or a resource
// script (.rc). Only what carries or places a text is kept.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "colang/XString.h"

namespace rlgtool {

// Resource type numbers, as in programs and .res files.
enum XResType : unsigned { eResMenu = 4, eResDialog = 5, eResString = 6 };

// A resource name, a control class or a control title: a number or a text.
struct XResName {
  bool bOrdinal = true;
  unsigned nOrdinal = 0;
  XString strText;
  std::string strSymbol;  // the script's identifier for the number ("IDD_FIND"), when there is one

  static XResName Ordinal(unsigned nValue, std::string strSymbol = "");
  static XResName Text(XString strText);
  // "102", "IDD_FIND" (a symbol wins over its number), or the text name.
  std::string Display() const;
};
// Order of names in a program: numbers first, ascending, then texts. Symbols do not count.
bool operator<(const XResName& a, const XResName& b);
bool operator==(const XResName& a, const XResName& b);

// One item of a menu, or (the root) the menu itself.
struct XMenuNode {
  XString strText;
  unsigned nID = 0;
  bool bPopup = false;
  bool bText = true;  // false for separators, bitmap and owner-drawn items
  int nLine = 0;      // line in a script, 0 in compiled files
  std::string strSymbol;
  std::vector<XMenuNode> vecItems;
};

// Predefined window classes of dialog controls, by their ordinal in a template.
enum XCtlClass : unsigned {
  eCtlButton = 0x80,
  eCtlEdit = 0x81,
  eCtlStatic = 0x82,
  eCtlListBox = 0x83,
  eCtlScrollBar = 0x84,
  eCtlComboBox = 0x85
};

// A control class given by name: the predefined classes ("Button", "BUTTON",
// ...) become their ordinal, so that a script, a .res file and a program
// agree however the class was spelt.
XResName ControlClass(const XString& strName);

struct XDlgControl {
  XResName title;  // a number is an icon or bitmap, not a text
  int nID = -1;    // -1 for a control without identifier
  XResName cls;    // a predefined class by its ordinal (whatever the spelling), else its name
  unsigned nStyle = 0;
  int nLine = 0;
  std::string strSymbol;  // the script's identifier for nID
  // Whether the control shows its title as a text that the library
  // translates: not an image, not an edit control.
  bool ShowsText() const;
};

struct XDialog {
  bool bCaption = false;
  XString strCaption;
  int nCaptionLine = 0;
  std::vector<XDlgControl> vecControls;
};

struct XResString {
  unsigned nID = 0;
  XString strText;
  int nLine = 0;
  std::string strSymbol;
};

struct XResource {
  unsigned nType = 0;  // eResMenu, eResDialog or eResString
  XResName name;       // a string table block is named (identifier / 16) + 1
  unsigned nLang = 0;
  std::string strFile;  // the script file that defines it; empty in compiled files
  int nLine = 0;
  XMenuNode menu;                      // eResMenu: the root, its items are the menu bar or popup
  XDialog dialog;                      // eResDialog
  std::vector<XResString> vecStrings;  // eResString: the block's texts that are not empty

  // "MENU 101", "DIALOG IDD_FIND", "STRINGTABLE 63"
  std::string Display() const;
};

// The resources of one input file.
struct XResFile {
  std::string strPath;
  std::string strKind;                  // "64-bit program (PE32+)", "resource file", "resource script"
  std::vector<XResource> vecResources;  // menus, dialogs and string table blocks, sorted by ResourcesSort
  std::map<unsigned, int> mapOther;     // language -> number of other resources (icons, ...)
};

// Sorts the resources by type, name and language, as a program holds them.
void ResourcesSort(std::vector<XResource>& vecResources);

// The resource the Windows loader takes for nType/name in language nLang:
// that exact language, else the neutral sublanguage of its primary
// language, else its default sublanguage, else the neutral language; null
// when none of them is present.
const XResource* ResourceFind(const XResFile& file, unsigned nType, const XResName& name, unsigned nLang);

// For each type and name in the file, the resource ResourceFind takes for
// nLang, in the file's order.
std::vector<const XResource*> ResourcesForLanguage(const XResFile& file, unsigned nLang);

// Language identifier as rlgtool writes it: four hex digits ("0409").
std::string LangIDText(unsigned nLang);

}  // namespace rlgtool
