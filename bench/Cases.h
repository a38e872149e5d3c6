// colang's benchmark cases, written once for whoever runs them: the Google
// Benchmark program on Linux and the plain timing program under Wine. Every
// text case goes through the exported functions and the default dictionary,
// loaded with one catalog at a time; lookups walk their keys in a fixed
// random order, one key per operation; every case first checks all the
// answers it is about to time and ends with an error if one is wrong.
//
// A runner gives:
//   Error(text)                 ends the case with an error
//   Loop(keys, fn)              times fn(key), one key per operation, cycling
//   Repeat(setup, timed, done)  times timed() alone, each time after setup()
//                               and before done()
#pragma once

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Catalog.h"
#include "colang/CoLangTrans.h"
#include "colang/LMTranslDict.h"
#include "colang/platform/Win32.h"

namespace bench {

// The texts a case looks up, zero-terminated and laid out one after the
// other in lookup order, as a caller's own texts would be at hand; the
// library's memory, not the caller's, is what the loop walks at random.
template <typename Char>
class XKeyList {
 public:
  void Add(const std::basic_string<Char>& str) {
    m_vecOffsets.push_back(m_vecChars.size());
    m_vecChars.insert(m_vecChars.end(), str.begin(), str.end());
    m_vecChars.push_back(Char(0));
  }
  std::vector<const Char*> Pointers() const {
    std::vector<const Char*> vec;
    for (std::size_t n : m_vecOffsets) vec.push_back(m_vecChars.data() + n);
    return vec;
  }

 private:
  std::vector<Char> m_vecChars;
  std::vector<std::size_t> m_vecOffsets;
};

// How many keys the lookup cases cycle through, whatever the catalog's size:
// the same working set for every size, so that the growth from 1k to 100k
// entries shows the lookup's own cost. The "every key" cases walk them all.
constexpr std::size_t kLookupSample = 500;

// How many of the catalog's text entries, in vecTextOrder, a case looks up.
inline std::size_t TextSample(const XBenchCatalog& catalog, bool bAll) {
  return bAll ? catalog.vecTextOrder.size() : std::min(kLookupSample, catalog.vecTextOrder.size());
}

// A time in ns as the tables show it: ns, us or ms; nothing for none (NaN).
inline std::string TimeText(double dNs) {
  char sz[32];
  if (!(dNs == dNs)) return std::string();
  if (dNs < 1e3)
    std::snprintf(sz, sizeof sz, "%.1f ns", dNs);
  else if (dNs < 1e6)
    std::snprintf(sz, sizeof sz, "%.2f us", dNs / 1e3);
  else
    std::snprintf(sz, sizeof sz, "%.2f ms", dNs / 1e6);
  return sz;
}

namespace cases {

// The catalog the default dictionary holds: its compiled form, or, with
// bText, its copy read as text.
inline bool DefaultLoad(const XBenchCatalog& catalog, bool bText = false) {
  static const std::string* s_pLoaded = nullptr;
  const std::string& strPath = bText ? catalog.strTextPath : catalog.strRLGPath;
  if (s_pLoaded == &strPath) return true;
  s_pLoaded = nullptr;
  if (CoLangLoadDefaultDict(Widen(strPath).c_str()) != 1) return false;
  s_pLoaded = &strPath;
  return true;
}

// Compiles the catalog as a host that sets COLANG_COMPILE gets it compiled:
// by a load, which writes the compiled catalog beside it; false when none
// is there after.
inline bool Compile(const XBenchCatalog& catalog) {
  SetEnvironmentVariableW(XT("COLANG_COMPILE"), XT("1"));
  const bool bRead = XLMTranslDict(Widen(catalog.strRLGPath).c_str()).IsValid();
  SetEnvironmentVariableW(XT("COLANG_COMPILE"), nullptr);
  return bRead && std::ifstream(catalog.strRLGPath + "c").good();
}

inline const XChar* TextTranslate(const XChar* pszText) { return CoTranslateText(pszText); }
inline const XChar* TextRetranslate(const XChar* pszText) { return CoRetranslateText(pszText); }
inline const XChar* IdTranslate(unsigned nID) { return CoTranslateIdRLG(nID, nullptr); }

inline bool Same(const XChar* psz, const XString& wstrExpected) {
  return psz != nullptr && XStringView(psz) == XStringView(wstrExpected);
}

inline std::string Narrow(const XChar* psz) {
  std::string str;
  for (; psz != nullptr && *psz != 0; ++psz) str += *psz < 0x80 ? static_cast<char>(*psz) : '?';
  return str;
}

// Translation (bRetranslate false) or retranslation hits of the sample, or of
// every text entry.
template <typename Run>
void TextHits(Run& run, const XBenchCatalog& catalog, bool bAll, bool bRetranslate, bool bText = false) {
  if (!DefaultLoad(catalog, bText)) return run.Error("catalog not loaded");
  XKeyList<XChar> keys;
  std::vector<const XString*> vecExpected;
  for (std::size_t k = 0; k < TextSample(catalog, bAll); ++k) {
    const XBenchEntry& entry = catalog.vecEntries[catalog.vecTextOrder[k]];
    keys.Add(bRetranslate ? entry.wstrTransl : entry.wstrSource);
    vecExpected.push_back(bRetranslate ? &entry.wstrSource : &entry.wstrTransl);
  }
  const std::vector<const XChar*> vecKeys = keys.Pointers();
  auto fn = bRetranslate ? TextRetranslate : TextTranslate;
  for (std::size_t k = 0; k < vecKeys.size(); ++k)
    if (!Same(fn(vecKeys[k]), *vecExpected[k])) return run.Error("wrong answer for " + Narrow(vecKeys[k]));
  run.Loop(vecKeys, fn);
}

// Texts that the catalog does not hold, and that either hold no digit (plain
// misses) or fit no pattern (pattern misses): each must come back unchanged.
template <typename Run>
void TextMisses(Run& run, const XBenchCatalog& catalog, const std::vector<XString>& vecTexts, std::size_t nMax,
                bool bText = false) {
  if (!DefaultLoad(catalog, bText)) return run.Error("catalog not loaded");
  XKeyList<XChar> keys;
  for (std::size_t k = 0; k < nMax && k < vecTexts.size(); ++k) keys.Add(vecTexts[k]);
  const std::vector<const XChar*> vecKeys = keys.Pointers();
  for (const XChar* psz : vecKeys)
    if (TextTranslate(psz) != psz) return run.Error("a miss was translated: " + Narrow(psz));
  run.Loop(vecKeys, TextTranslate);
}

template <typename Run>
void Misses(Run& run, const XBenchCatalog& catalog, bool bText = false) {
  TextMisses(run, catalog, catalog.vecMiss, kLookupSample, bText);
}

template <typename Run>
void PatternMisses(Run& run, const XBenchCatalog& catalog) {
  TextMisses(run, catalog, catalog.vecPatternMisses, catalog.vecPatternMisses.size());
}

template <typename Run>
void Ids(Run& run, const XBenchCatalog& catalog) {
  if (!DefaultLoad(catalog)) return run.Error("catalog not loaded");
  std::vector<unsigned> vecKeys;
  for (std::size_t i : catalog.vecIdOrder) {
    if (vecKeys.size() == kLookupSample) break;
    const XBenchEntry& entry = catalog.vecEntries[i];
    if (!Same(IdTranslate(entry.nID), entry.wstrTransl)) return run.Error("no translation of " + entry.strSource);
    vecKeys.push_back(entry.nID);
  }
  run.Loop(vecKeys, IdTranslate);
}

template <typename Run>
void PatternHits(Run& run, const XBenchCatalog& catalog) {
  if (!DefaultLoad(catalog)) return run.Error("catalog not loaded");
  XKeyList<XChar> keys;
  for (const XBenchPatternCase& c : catalog.vecPatternHits) keys.Add(c.wstrText);
  const std::vector<const XChar*> vecKeys = keys.Pointers();
  for (std::size_t k = 0; k < vecKeys.size(); ++k)
    if (!Same(TextTranslate(vecKeys[k]), catalog.vecPatternHits[k].wstrExpected))
      return run.Error("wrong pattern translation of " + Narrow(vecKeys[k]));
  run.Loop(vecKeys, TextTranslate);
}

// A new dictionary read from the catalog, compiled or (bText) as text, as a
// host makes one; freeing it is not part of loading.
template <typename Run>
void Loads(Run& run, const XBenchCatalog& catalog, bool bText) {
  const XString wstrPath = Widen(bText ? catalog.strTextPath : catalog.strRLGPath);
  {
    XLMTranslDict dict(wstrPath.c_str());
    for (const XBenchEntry& entry : catalog.vecEntries) {
      const XChar* psz =
          entry.nID != 0 ? dict.CheckTranslate(entry.nID) : dict.CheckTranslate(entry.wstrSource.c_str());
      if (!Same(psz, entry.wstrTransl)) return run.Error("not loaded: " + entry.strSource);
    }
  }
  std::unique_ptr<XLMTranslDict> pDict;
  run.Repeat([] {}, [&] { pDict = std::make_unique<XLMTranslDict>(wstrPath.c_str()); }, [&] { pDict.reset(); });
}

// The floor: the same file read with the standard library and split into
// lines, nothing decoded or kept; the number of lines.
inline std::size_t FloorPass(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::string strLine;
  std::size_t nLines = 0, nBytes = 0;
  while (std::getline(in, strLine)) {
    ++nLines;
    nBytes += strLine.size();
  }
  return nBytes > 0 ? nLines : 0;
}

template <typename Run>
void Floors(Run& run, const XBenchCatalog& catalog) {
  if (FloorPass(catalog.strTextPath) != 2 + 2 * catalog.nSize) return run.Error("wrong line count");
  std::size_t nLines = 0;
  run.Repeat([] {}, [&] { nLines += FloorPass(catalog.strTextPath); }, [] {});
}

// --- menus and windows ----------------------------------------------------------------
// Texts for 1,000 items or controls: every tenth stays untranslated (a text
// the catalog does not have), the others are entries of the catalog.
struct XUiText {
  XString wstrSource;
  XString wstrExpected;
};

inline std::vector<XUiText> UiTexts(const XBenchCatalog& catalog, std::size_t n) {
  std::vector<XUiText> vecTexts;
  std::size_t k = 0;
  for (std::size_t i : catalog.vecTextOrder) {
    if (vecTexts.size() == n) break;
    const XBenchEntry& entry = catalog.vecEntries[i];
    if (entry.bPattern) continue;
    if (vecTexts.size() % 10 == 9) {
      const XString& wstrMiss = catalog.vecMiss[k++ % catalog.vecMiss.size()];
      vecTexts.push_back({wstrMiss, wstrMiss});
    } else {
      vecTexts.push_back({entry.wstrSource, entry.wstrTransl});
    }
  }
  return vecTexts;
}

inline constexpr std::size_t kMenuPopups = 10;
inline constexpr std::size_t kUiItems = 1000;

// A menu bar of 10 popups with 99 items each: 1,000 items with the popups.
inline HMENU MenuBuild(const std::vector<XUiText>& vecTexts) {
  HMENU hBar = CreateMenu();
  std::size_t k = 0;
  const std::size_t nPerPopup = kUiItems / kMenuPopups - 1;
  for (std::size_t p = 0; p < kMenuPopups; ++p) {
    HMENU hPopup = CreatePopupMenu();
    const XChar* pszTitle = vecTexts[k++].wstrSource.c_str();
    for (std::size_t i = 0; i < nPerPopup; ++i)
      AppendMenuW(hPopup, MF_STRING, 1000 + k, vecTexts[k].wstrSource.c_str()), ++k;
    AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), pszTitle);
  }
  return hBar;
}

inline bool MenuCheck(HMENU hBar, const std::vector<XUiText>& vecTexts) {
  XChar sz[512];
  std::size_t k = 0;
  for (int p = 0; p < GetMenuItemCount(hBar); ++p) {
    GetMenuStringW(hBar, static_cast<UINT>(p), sz, 512, MF_BYPOSITION);
    if (!Same(sz, vecTexts[k++].wstrExpected)) return false;
    HMENU hPopup = GetSubMenu(hBar, p);
    for (int i = 0; i < GetMenuItemCount(hPopup); ++i) {
      GetMenuStringW(hPopup, static_cast<UINT>(i), sz, 512, MF_BYPOSITION);
      if (!Same(sz, vecTexts[k++].wstrExpected)) return false;
    }
  }
  return k == kUiItems;
}

template <typename Run>
void Menus(Run& run, const XBenchCatalog& catalog) {
  if (!DefaultLoad(catalog)) return run.Error("catalog not loaded");
  const std::vector<XUiText> vecTexts = UiTexts(catalog, kUiItems);
  HMENU hBar = MenuBuild(vecTexts);
  CoTranslateMenu(hBar);
  const bool bOk = MenuCheck(hBar, vecTexts);
  DestroyMenu(hBar);
  if (!bOk) return run.Error("menu not translated as expected");
  run.Repeat([&] { hBar = MenuBuild(vecTexts); }, [&] { CoTranslateMenu(hBar); }, [&] { DestroyMenu(hBar); });
}

// A dialog with 1,000 controls: buttons and labels, every tenth an edit field,
// which keeps its text.
inline std::vector<HWND> WindowBuild(const std::vector<XUiText>& vecTexts, HWND& hDialog) {
  hDialog = CreateWindowExW(0, XT("#32770"), XT("Options"), WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                            nullptr, nullptr);
  std::vector<HWND> vecControls;
  for (std::size_t i = 0; i < vecTexts.size(); ++i) {
    const XChar* pszClass = i % 10 == 4 ? XT("Edit") : i % 2 == 0 ? XT("Button") : XT("Static");
    vecControls.push_back(CreateWindowExW(0, pszClass, vecTexts[i].wstrSource.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 80,
                                          20, hDialog, reinterpret_cast<HMENU>(1000 + i), nullptr, nullptr));
  }
  return vecControls;
}

inline void WindowTextsReset(const std::vector<HWND>& vecControls, const std::vector<XUiText>& vecTexts) {
  for (std::size_t i = 0; i < vecControls.size(); ++i) SetWindowTextW(vecControls[i], vecTexts[i].wstrSource.c_str());
}

template <typename Run>
void Windows(Run& run, const XBenchCatalog& catalog) {
  if (!DefaultLoad(catalog)) return run.Error("catalog not loaded");
  const std::vector<XUiText> vecTexts = UiTexts(catalog, kUiItems);
  HWND hDialog = nullptr;
  const std::vector<HWND> vecControls = WindowBuild(vecTexts, hDialog);
  CoTranslateWindow(hDialog);
  XChar sz[512];
  for (std::size_t i = 0; i < vecControls.size(); ++i) {
    GetWindowTextW(vecControls[i], sz, 512);
    const XString& wstrExpected = i % 10 == 4 ? vecTexts[i].wstrSource : vecTexts[i].wstrExpected;
    if (!Same(sz, wstrExpected)) {
      DestroyWindow(hDialog);
      return run.Error("window not translated as expected");
    }
  }
  run.Repeat([&] { WindowTextsReset(vecControls, vecTexts); }, [&] { CoTranslateWindow(hDialog); }, [] {});
  DestroyWindow(hDialog);
}

// Loads the catalog into the library once, before any case runs, so that
// pattern translation collects its patterns; false if the library does not
// give the expected pattern translation.
inline bool PatternsPin(const XBenchCatalog& catalog) {
  if (!DefaultLoad(catalog)) return false;
  const XBenchPatternCase& c = catalog.vecPatternHits.front();
  return Same(TextTranslate(c.wstrText.c_str()), c.wstrExpected);
}

}  // namespace cases
}  // namespace bench
