// rlgtool extract: a resource script, and the .res file and 32-bit and
// 64-bit programs that windres compiles from it, give the same catalogs; a
// paired catalog translates the first language's menus, dialogs and strings
// into the second; the Windows loader shows the texts that are extracted;
// the demo program is translated end to end; bad input is refused.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Extract.h"
#include "ResourceLoader.h"
#include "TextIO.h"
#include "colang/LMTranslDict.h"
#include "support/Sandbox.h"
#include "support/UiSupport.h"

namespace rlgtool {
namespace {

using colang::test::XTempDir;
using test::LoaderMissing;
using test::XLoadedProgram;

constexpr unsigned kEnglish = 0x0409, kGerman = 0x0407;
const std::string kSourceDir = COLANG_TEST_DATA_DIR "/resources";
const std::string kBuiltDir = RLGTOOL_RESOURCES_DIR;  // empty where windres was not found
constexpr const char* kNotBuilt = "windres and the MinGW-w64 compilers were not found at build time";

XResFile Read(const std::string& strPath) {
  XResFile file;
  std::string strMessages;
  XDiag diag(&strMessages, false);
  EXPECT_TRUE(ResourcesRead(strPath, {}, diag, file)) << strMessages;
  return file;
}

// The dictionary of the catalog that translates the file's English texts into their German partners.
XLMTranslDict PairedDict(const XTempDir& dir, const XResFile& file, XStringsAs eStrings) {
  std::string strMessages;
  XDiag diag(&strMessages, false);
  XExtractor extractor(eStrings, false, diag);
  extractor.PairsAdd(file, kEnglish, kGerman);
  EXPECT_EQ(strMessages, "");
  dir.Write("App0407.rlg", TextEncode(ExtractCatalog(extractor.Entries(), kGerman), XEncoding::eEncUtf8, true));
  XLMTranslDict dict;
  EXPECT_TRUE(dict.RLGFileRead(dir.Text("App0407.rlg").c_str(), false));
  return dict;
}

// --- menus and dialogs made from the model, as the loader would make them --------
const XChar* ClassOf(const XResName& cls) {
  static const XString kNames[] = {XT("Button"),  XT("Edit"),      XT("Static"),
                                   XT("ListBox"), XT("ScrollBar"), XT("ComboBox")};
  if (cls.bOrdinal && cls.nOrdinal >= eCtlButton && cls.nOrdinal <= eCtlComboBox)
    return kNames[cls.nOrdinal - eCtlButton].c_str();
  return cls.bOrdinal ? XT("Static") : cls.strText.c_str();
}

HMENU MenuBuild(const XMenuNode& node, bool bBar) {
  HMENU hMenu = bBar ? CreateMenu() : CreatePopupMenu();
  for (const XMenuNode& item : node.vecItems) {
    if (item.bPopup)
      AppendMenuW(hMenu, MF_POPUP | MF_STRING, colang::test::AsID(MenuBuild(item, false)), item.strText.c_str());
    else if (item.bText)
      AppendMenuW(hMenu, MF_STRING, item.nID, item.strText.c_str());
    else
      AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
  }
  return hMenu;
}

HWND DialogBuild(const XDialog& dialog) {
  HWND hWnd = colang::test::TopLevelCreate(dialog.strCaption.c_str());
  for (const XDlgControl& control : dialog.vecControls)
    colang::test::ChildCreate(hWnd, ClassOf(control.cls), control.ShowsText() ? control.title.strText.c_str() : XT(""),
                              control.nID);
  return hWnd;
}

// The texts of a menu and its submenus, depth first; separators give "".
std::vector<XString> MenuTexts(HMENU hMenu, std::vector<XString> vecTexts = {}) {
  for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
    vecTexts.push_back(colang::test::MenuText(hMenu, static_cast<UINT>(i)));
    if (HMENU hSub = GetSubMenu(hMenu, i)) vecTexts = MenuTexts(hSub, std::move(vecTexts));
  }
  return vecTexts;
}
std::vector<XString> MenuTexts(const XMenuNode& node) {
  const colang::test::XMenuOwner menu(MenuBuild(node, true));
  return MenuTexts(menu.Get());
}

BOOL CALLBACK ChildCollect(HWND hChild, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hChild);
  return TRUE;
}

// The caption, then the text of each control the dialog made, in order;
// "?" where vecExpected has "?", which is not compared.
std::vector<XString> WindowTexts(HWND hWnd, const std::vector<XString>& vecExpected) {
  std::vector<HWND> vecChildren;
  EnumChildWindows(hWnd, ChildCollect, reinterpret_cast<LPARAM>(&vecChildren));
  std::vector<XString> vecTexts{colang::test::WindowText(hWnd)};
  for (HWND hChild : vecChildren)
    if (GetParent(hChild) == hWnd) vecTexts.push_back(colang::test::WindowText(hChild));
  for (size_t i = 0; i < vecTexts.size() && i < vecExpected.size(); ++i)
    if (vecExpected[i] == XT("?")) vecTexts[i] = vecExpected[i];
  return vecTexts;
}

// What the dialog en should show once translated into the language of de:
// the caption and each text control's partner there, by identifier or by
// position among the controls without one. Other controls give "?", and
// are not compared.
std::vector<XString> DialogExpected(const XDialog& en, const XDialog& de) {
  std::vector<XString> vecTexts{de.strCaption};
  int nWithout = 0;
  for (const XDlgControl& control : en.vecControls) {
    const int nOrdinal = control.nID == -1 ? ++nWithout : 0;
    XString strText = XT("?");
    int nSeen = 0;
    for (const XDlgControl& partner : de.vecControls)
      if (control.ShowsText() &&
          (control.nID != -1 ? partner.nID == control.nID : partner.nID == -1 && ++nSeen == nOrdinal))
        strText = partner.title.strText;
    vecTexts.push_back(strText);
  }
  return vecTexts;
}

TEST(ExtractTest, PairedCatalogTranslatesEveryEnglishTextIntoItsGermanPlace) {
  const XResFile file = Read(kSourceDir + "/Sample.rc");
  XTempDir dir;
  const XLMTranslDict dict = PairedDict(dir, file, XStringsAs::eIds);
  int nChecked = 0;
  for (const XResource* pEn : ResourcesForLanguage(file, kEnglish)) {
    SCOPED_TRACE(pEn->Display());
    const XResource* pDe = ResourceFind(file, pEn->nType, pEn->name, kGerman);
    ASSERT_NE(pDe, nullptr);
    if (pEn->nType == eResMenu) {
      colang::test::XMenuOwner menu(MenuBuild(pEn->menu, true));
      dict.MenuTranslate(menu.Get());
      EXPECT_EQ(MenuTexts(menu.Get()), MenuTexts(pDe->menu));
    } else if (pEn->nType == eResDialog) {
      colang::test::XWindowOwner window(DialogBuild(pEn->dialog));
      dict.WindowTranslate(window.Get());
      const std::vector<XString> vecExpected = DialogExpected(pEn->dialog, pDe->dialog);
      EXPECT_EQ(WindowTexts(window.Get(), vecExpected), vecExpected);
    } else {
      for (size_t i = 0; i < pEn->vecStrings.size(); ++i) {
        const XChar* pszTransl = dict.CheckTranslate(pEn->vecStrings[i].nID);
        EXPECT_EQ(XString(pszTransl != nullptr ? pszTransl : XT("(none)")), pDe->vecStrings.at(i).strText);
      }
    }
    ++nChecked;
  }
  EXPECT_EQ(nChecked, 6);  // two menus, two dialogs, two string blocks
}

TEST(ExtractTest, WindowsLoadsTheTextsThatAreExtracted) {
  if (!LoaderMissing().empty()) GTEST_SKIP() << LoaderMissing();
  if (kBuiltDir.empty()) GTEST_SKIP() << kNotBuilt;
  for (const char* pszName : {"/Sample32.exe", "/Sample64.exe"}) {
    SCOPED_TRACE(pszName);
    const XResFile file = Read(kBuiltDir + pszName);
    const XLoadedProgram program(kBuiltDir + pszName);
    ASSERT_TRUE(program.Loaded());
    for (unsigned nLang : {kEnglish, kGerman}) {
      for (const XResource* pRes : ResourcesForLanguage(file, nLang)) {
        SCOPED_TRACE(pRes->Display() + " " + LangIDText(nLang));
        if (pRes->nType == eResMenu) {
          colang::test::XMenuOwner menu(program.Menu(nLang, pRes->name));
          EXPECT_EQ(MenuTexts(menu.Get()), MenuTexts(pRes->menu));
        } else if (pRes->nType == eResDialog) {
          colang::test::XWindowOwner window(program.Dialog(nLang, pRes->name));
          ASSERT_NE(window.Get(), nullptr);
          const std::vector<XString> vecExpected = DialogExpected(pRes->dialog, pRes->dialog);
          EXPECT_EQ(WindowTexts(window.Get(), vecExpected), vecExpected);
        } else {
          for (const XResString& str : pRes->vecStrings) {
            XString strLoaded;
            EXPECT_TRUE(program.String(nLang, str.nID, strLoaded));
            EXPECT_EQ(strLoaded, str.strText);
          }
        }
      }
    }
  }
}

// The demo's own resources give a catalog that translates its running menu
// and window from English into German: the real program under Windows, its
// resource script and the emulation elsewhere.
TEST(ExtractTest, DemoProgramIsTranslatedByACatalogPairedFromItsOwnResources) {
  const std::string strProgram = RLGTOOL_DEMO_PROGRAM;
  const bool bLoader = LoaderMissing().empty() && !strProgram.empty();
  const XResFile file = Read(bLoader ? strProgram : COLANG_EXAMPLES_DIR "/win32demo.rc");
  XTempDir dir;
  const XLMTranslDict dict = PairedDict(dir, file, XStringsAs::eBoth);
  const XLoadedProgram program(bLoader ? strProgram : "");
  const XResource *pMenu = nullptr, *pDialog = nullptr;
  for (const XResource* pRes : ResourcesForLanguage(file, kEnglish)) (pRes->nType == eResMenu ? pMenu : pDialog) = pRes;
  ASSERT_TRUE(pMenu != nullptr && pDialog != nullptr);

  colang::test::XWindowOwner window(bLoader ? program.Dialog(kEnglish, pDialog->name) : DialogBuild(pDialog->dialog));
  SetMenu(window.Get(), bLoader ? program.Menu(kEnglish, pMenu->name) : MenuBuild(pMenu->menu, true));
  dict.WindowTranslate(window.Get());

  const XResource* pMenuDe = ResourceFind(file, eResMenu, pMenu->name, kGerman);
  const XResource* pDialogDe = ResourceFind(file, eResDialog, pDialog->name, kGerman);
  colang::test::XMenuOwner german(bLoader ? program.Menu(kGerman, pMenu->name) : MenuBuild(pMenuDe->menu, true));
  EXPECT_EQ(MenuTexts(GetMenu(window.Get())), MenuTexts(german.Get()));
  EXPECT_EQ(MenuTexts(german.Get())[0], XT("&Datei"));
  const std::vector<XString> vecExpected = DialogExpected(pDialog->dialog, pDialogDe->dialog);
  EXPECT_EQ(WindowTexts(window.Get(), vecExpected), vecExpected);
  EXPECT_EQ(vecExpected[0], XT("Suchen und Ersetzen"));
}

// --- bad input ------------------------------------------------------------------------
std::string Messages(const std::string& strName, std::string_view bytes, const XRcOptions& options = {}) {
  std::string strMessages;
  XDiag diag(&strMessages, false);
  XResFile file;
  const bool bRead = ResourcesParse(strName, bytes, options, diag, file);
  EXPECT_EQ(bRead, strMessages.empty()) << strMessages;
  return strMessages;
}

unsigned U32(const std::string& s, size_t p) {
  return static_cast<unsigned>(static_cast<unsigned char>(s.at(p)) | static_cast<unsigned char>(s.at(p + 1)) << 8 |
                               static_cast<unsigned char>(s.at(p + 2)) << 16 |
                               static_cast<unsigned>(static_cast<unsigned char>(s.at(p + 3))) << 24);
}
void U32Set(std::string& s, size_t p, unsigned n) {
  for (int i = 0; i < 4; ++i) s.at(p + static_cast<size_t>(i)) = static_cast<char>(n >> (8 * i));
}

// Where a PE file's resource directory lies: its data directory entry and its offset in the file.
std::pair<size_t, size_t> ResourceDirectory(const std::string& pe) {
  const size_t nHeader = U32(pe, 0x3C), nOptional = nHeader + 24;
  const size_t nSizeOfOptional = U32(pe, nHeader + 20) & 0xFFFF, nSections = U32(pe, nHeader + 6) & 0xFFFF;
  const size_t nEntry = nOptional + ((U32(pe, nOptional) & 0xFFFF) == 0x20B ? 112 : 96) + 2 * 8;
  const unsigned nRva = U32(pe, nEntry);
  for (size_t i = 0; i < nSections; ++i) {
    const size_t nSection = nOptional + nSizeOfOptional + i * 40;
    const unsigned nVirtual = U32(pe, nSection + 12), nRawSize = U32(pe, nSection + 16);
    if (nRva >= nVirtual && nRva < nVirtual + nRawSize) return {nEntry, U32(pe, nSection + 20) + nRva - nVirtual};
  }
  return {nEntry, 0};
}

TEST(ExtractBadInputTest, EveryCutOfAProgramOrResFileIsReadOrRefused) {
  if (kBuiltDir.empty()) GTEST_SKIP() << kNotBuilt;
  for (const char* pszName : {"/Sample.res", "/Sample64.exe"}) {
    const std::string strBytes = FileBytesRead(kBuiltDir + pszName).strBytes;
    ASSERT_GT(strBytes.size(), 1000u);
    for (size_t n = 0; n < strBytes.size(); ++n) {
      const std::string strMessages = Messages("cut", std::string_view(strBytes).substr(0, n));
      ASSERT_TRUE(strMessages.empty() || strMessages.rfind("cut:", 0) == 0) << n << ": " << strMessages;
    }
  }
}

TEST(ExtractBadInputTest, DamagedResourceDirectoriesAreRefused) {
  if (kBuiltDir.empty()) GTEST_SKIP() << kNotBuilt;
  const std::string strExe = FileBytesRead(kBuiltDir + "/Sample64.exe").strBytes;
  const auto [nEntry, nTree] = ResourceDirectory(strExe);
  ASSERT_NE(nTree, 0u);
  const size_t nFirstSub = U32(strExe, nTree + 20) & 0x7FFFFFFF;
  const size_t nLeafEntry = U32(strExe, nTree + nFirstSub + 20) & 0x7FFFFFFF;
  const size_t nDataEntry = U32(strExe, nTree + nLeafEntry + 20);
  const std::string strRes = FileBytesRead(kBuiltDir + "/Sample.res").strBytes;
  struct {
    const char* pszWhat;
    const std::string& strBytes;
    size_t nOffset;
    unsigned nValue;
    const char* pszMessage;
  } cases[] = {
      {"a type points back to the root", strExe, nTree + 20, 0x80000000u, "overlaps another one (a loop)"},
      {"a name points to its own type", strExe, nTree + nFirstSub + 20, 0x80000000u | static_cast<unsigned>(nFirstSub),
       "overlaps another one (a loop)"},
      {"more entries than the section holds", strExe, nTree + 12, 0xFFFFFFFFu, "lies outside the resource section"},
      {"the directory beyond the file", strExe, nEntry, 0x7FFFFF00u, "lies outside the file"},
      {"data beyond the file", strExe, nTree + nDataEntry + 4, 0x7FFFFFFFu, "lies outside the file"},
      {"a data entry beyond the section", strExe, nTree + nLeafEntry + 20, 0x00FFFFF0u,
       "lies outside the resource section"},
      {"a name beyond the section", strExe, nTree + 16, 0xFFFFFFF0u, "lies outside the resource section"},
      {"a resource larger than the file", strRes, 32, 0x7FFFFFFFu, "is cut short"},
      {"a header larger than the file", strRes, 36, 0xFFFFFFF0u, "is cut short"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszWhat);
    std::string strDamaged = c.strBytes;
    U32Set(strDamaged, c.nOffset, c.nValue);
    EXPECT_NE(Messages("bad", strDamaged).find(c.pszMessage), std::string::npos) << Messages("bad", strDamaged);
  }
}

// A 64-bit program whose nNames menus all lead to the same menu of nItems
// items: small, but a reader that decodes each leaf's data anew makes
// nNames copies of a large menu.
std::string SharedDataProgram(unsigned nNames, unsigned nItems) {
  std::string tree;
  auto put = [](std::string& s, unsigned n, int nBytes) {
    for (int i = 0; i < nBytes; ++i) s += static_cast<char>(n >> (8 * i));
  };
  auto directory = [&](unsigned nEntries) { put(tree, 0, 12), put(tree, 0, 2), put(tree, nEntries, 2); };
  const unsigned nLangs = 24 + 16 + 8 * nNames, nData = nLangs + 24 * nNames;
  directory(1);
  put(tree, 4, 4), put(tree, 0x80000000u | 24, 4);  // RT_MENU
  directory(nNames);
  for (unsigned i = 0; i < nNames; ++i) put(tree, i + 1, 4), put(tree, 0x80000000u | (nLangs + 24 * i), 4);
  for (unsigned i = 0; i < nNames; ++i) directory(1), put(tree, 0x0409, 4), put(tree, nData, 4);
  put(tree, 0x1000 + nData + 16, 4), put(tree, 4 + 8 * nItems, 4), put(tree, 0, 8);
  put(tree, 0, 4);  // menu header
  for (unsigned i = 0; i < nItems; ++i) put(tree, i + 1 == nItems ? 0x80 : 0, 2), put(tree, i, 2), put(tree, 'x', 4);
  std::string pe = "MZ" + std::string(0x3A, '\0');
  put(pe, 0x40, 4), put(pe, 0x00004550, 4), put(pe, 0x8664, 2), put(pe, 1, 2), put(pe, 0, 12), put(pe, 240, 2);
  put(pe, 0, 2), put(pe, 0x20B, 2), pe += std::string(106, '\0'), put(pe, 16, 4), pe += std::string(16, '\0');
  put(pe, 0x1000, 4), put(pe, static_cast<unsigned>(tree.size()), 4), pe += std::string(13 * 8, '\0');
  pe += ".rsrc" + std::string(3, '\0');
  put(pe, static_cast<unsigned>(tree.size()), 4), put(pe, 0x1000, 4), put(pe, static_cast<unsigned>(tree.size()), 4);
  put(pe, 0x200, 4), pe += std::string(16, '\0');
  pe.resize(0x200, '\0');
  return pe + tree;
}

TEST(ExtractBadInputTest, LeavesThatShareTheirDataAreReadOnlyAsOftenAsTheFileAllows) {
  EXPECT_EQ(Messages("few", SharedDataProgram(3, 100)), "");
  EXPECT_EQ(Messages("many", SharedDataProgram(2000, 5000)),
            "many: error: the resource entries share their data more often than a program can\n");
}

TEST(ExtractBadInputTest, ScriptErrorsNameTheirFileAndLine) {
  std::string strDeep = "STRINGTABLE\nBEGIN\n" + std::string(300, '(') + "1 \"x\"\nEND\n";
  std::string strWide = "#define A0 1\n";
  for (int i = 1; i <= 20; ++i)
    strWide += "#define A" + std::to_string(i) + " A" + std::to_string(i - 1) + " A" + std::to_string(i - 1) + "\n";
  strWide += "STRINGTABLE\nBEGIN\n A20 \"x\"\nEND\n";
  const struct {
    std::string strScript;
    const char* pszMessage;
  } cases[] = {
      {"1 MENU\nBEGIN\nEND\nEND\n", "x.rc:4: error: END without BEGIN\n"},
      {"\n#include \"missing.h\"\n", "x.rc:2: error: cannot open include file \"missing.h\"\n"},
      {"#include \"bad.h\"\n", "bad.h:3: error: #if without #endif\n"},
      {"#include \"x.rc\"\n", "x.rc:1: error: #include nested more than 32 levels deep\n"},
      {"STRINGTABLE\nBEGIN\n  1 \"open\nEND\n", "x.rc:3: error: expected a string, found an unterminated string\n"},
      {"#if 1\n#else\n#else\n#endif\n", "x.rc:3: error: #else after #else\n"},
      {"#endif\n", "x.rc:1: error: #endif without #if\n"},
      {"#if 1 / 0\n#endif\n", "x.rc:1: error: division by zero in #if\n"},
      {"1 DIALOG 0, 0, 9, 9\nBEGIN\n  LTEXT \"a\", IDC_NOPE, 1, 1, 1, 1\nEND\n",
       "x.rc:3: error: IDC_NOPE is not defined\n"},
      {"1 DIALOG 0, 0, 9, 9\nBEGIN\n  LTEXT \"a\", 1, 1\nEND\n", "x.rc:3: error: LTEXT needs 6 arguments, found 3\n"},
      {"1 DIALOG 0, 0, 9, 9\nBEGIN\n  SLIDER 1, 2\nEND\n",
       "x.rc:3: error: unknown control statement \"SLIDER\" in a dialog\n"},
      {"STRINGTABLE\nBEGIN\n  1 \"a\"\n  1 \"b\"\nEND\n",
       "x.rc:4: error: string 1 in language 0409 is defined twice (first at line 3)\n"},
      {"1 MENU\nBEGIN\nEND\n1 MENU\nBEGIN\nEND\n",
       "x.rc:4: error: MENU 1 in language 0409 is defined twice (first at x.rc:1)\n"},
      {"IDR_X ICON\n", "x.rc:1: error: a resource of type \"ICON\" without a file name or a BEGIN ... END block\n"},
      {strDeep, "x.rc:3: error: expression nested too deeply\n"},
      {strWide, "x.rc:24: error: a macro expands to more than 65536 tokens\n"},
  };
  XRcOptions options;
  options.fnLoad = [&](const std::string& strPath, std::string& strBytes) {
    if (strPath == "bad.h") strBytes = "#define OK 1\n\n#if OK\n";
    if (strPath == "x.rc") strBytes = "#include \"x.rc\"\n";
    return strPath == "bad.h" || strPath == "x.rc";
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.strScript);
    EXPECT_EQ(Messages("x.rc", c.strScript, options), c.pszMessage);
  }
}

}  // namespace
}  // namespace rlgtool
