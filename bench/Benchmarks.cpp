// The benchmark cases, colang beside glibc gettext on the same generated
// catalogs. Lookups walk their keys in a fixed random order, one key per
// iteration; every case first checks all the answers it is about to time and
// stops with an error if one is wrong.
#include "Benchmarks.h"

#include <libintl.h>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "AllocCount.h"
#include "Gettext.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/platform/Win32.h"

namespace bench {
namespace {

// --- the library under test -----------------------------------------------
// The dictionary every text case uses, loaded with one catalog at a time.
XLMTranslDict g_dictDefault;
const XBenchCatalog* g_pLoaded = nullptr;

bool DefaultLoad(const XBenchCatalog& catalog) {
  if (g_pLoaded == &catalog) return true;
  g_dictDefault.Empty();
  for (const XBenchEntry& entry : catalog.vecEntries) {
    if (entry.nID != 0)
      XLMTranslDictAccess::Insert(g_dictDefault, entry.nID, entry.wstrTransl.c_str());
    else
      XLMTranslDictAccess::Insert(g_dictDefault, entry.wstrSource.c_str(), entry.wstrTransl.c_str());
  }
  g_dictDefault.LangIDSet(0x0407);
  g_pLoaded = &catalog;
  return true;
}

const XChar* TextTranslate(const XChar* pszText) { return g_dictDefault.StringTranslate(pszText); }
const XChar* TextRetranslate(const XChar* pszText) { return g_dictDefault.StringRetranslate(pszText); }
const XChar* IdTranslate(unsigned nID) { return g_dictDefault.CheckTranslate(nID); }
void MenuTranslate(HMENU hMenu) { g_dictDefault.MenuTranslate(hMenu); }
void WindowTranslate(HWND hWnd) { g_dictDefault.WindowTranslate(hWnd); }

std::unique_ptr<XLMTranslDict> CatalogLoad(const XBenchCatalog& catalog) {
  auto pDict = std::make_unique<XLMTranslDict>();
  for (const XBenchEntry& entry : catalog.vecEntries) {
    if (entry.nID != 0)
      XLMTranslDictAccess::Insert(*pDict, entry.nID, entry.wstrTransl.c_str());
    else
      XLMTranslDictAccess::Insert(*pDict, entry.wstrSource.c_str(), entry.wstrTransl.c_str());
  }
  pDict->LangIDSet(0x0407);
  return pDict;
}

// --- helpers ------------------------------------------------------------------
bool Same(const XChar* psz, const XString& wstrExpected) {
  return psz != nullptr && XStringView(psz) == XStringView(wstrExpected);
}

std::string Narrow(const XChar* psz) {
  std::string str;
  for (; psz != nullptr && *psz != 0; ++psz) str += *psz < 0x80 ? static_cast<char>(*psz) : '?';
  return str;
}

// Runs the timed loop over keys, one per iteration, and reports allocations
// per operation.
template <typename Key, typename Fn>
void LookupLoop(benchmark::State& state, const std::vector<Key>& vecKeys, Fn fn) {
  std::size_t i = 0;
  const std::size_t n = vecKeys.size();
  const std::uint64_t nAllocs = AllocCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(fn(vecKeys[i]));
    if (++i == n) i = 0;
  }
  state.counters["allocs"] = static_cast<double>(AllocCount() - nAllocs) / static_cast<double>(state.iterations());
}

// --- lookups --------------------------------------------------------------------
void HitColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  std::vector<const XChar*> vecKeys;
  for (std::size_t i : pCatalog->vecTextOrder) {
    const XBenchEntry& entry = pCatalog->vecEntries[i];
    if (!Same(TextTranslate(entry.wstrSource.c_str()), entry.wstrTransl))
      return state.SkipWithError(("no translation of " + entry.strSource).c_str());
    vecKeys.push_back(entry.wstrSource.c_str());
  }
  LookupLoop(state, vecKeys, TextTranslate);
}

void HitGettext(benchmark::State& state, const XBenchCatalog* pCatalog) {
  GettextUse(*pCatalog);
  std::vector<const char*> vecKeys;
  for (std::size_t i : pCatalog->vecTextOrder) {
    const XBenchEntry& entry = pCatalog->vecEntries[i];
    if (entry.strTransl != gettext(entry.strSource.c_str()))
      return state.SkipWithError(("gettext has no translation of " + entry.strSource).c_str());
    vecKeys.push_back(entry.strSource.c_str());
  }
  LookupLoop(state, vecKeys, [](const char* psz) { return gettext(psz); });
}

void MissColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  std::vector<const XChar*> vecKeys;
  for (const XString& wstr : pCatalog->vecMiss) {
    if (TextTranslate(wstr.c_str()) != wstr.c_str()) return state.SkipWithError("a miss was translated");
    vecKeys.push_back(wstr.c_str());
  }
  LookupLoop(state, vecKeys, TextTranslate);
}

void MissGettext(benchmark::State& state, const XBenchCatalog* pCatalog) {
  GettextUse(*pCatalog);
  std::vector<const char*> vecKeys;
  for (const std::string& str : pCatalog->vecMissUtf8) {
    if (gettext(str.c_str()) != str.c_str()) return state.SkipWithError("gettext translated a miss");
    vecKeys.push_back(str.c_str());
  }
  LookupLoop(state, vecKeys, [](const char* psz) { return gettext(psz); });
}

void RetranslateColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  std::vector<const XChar*> vecKeys;
  for (std::size_t i : pCatalog->vecTextOrder) {
    const XBenchEntry& entry = pCatalog->vecEntries[i];
    if (!Same(TextRetranslate(entry.wstrTransl.c_str()), entry.wstrSource))
      return state.SkipWithError(("no retranslation of " + entry.strTransl).c_str());
    vecKeys.push_back(entry.wstrTransl.c_str());
  }
  LookupLoop(state, vecKeys, TextRetranslate);
}

void IdColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  std::vector<unsigned> vecKeys;
  for (std::size_t i : pCatalog->vecIdOrder) {
    const XBenchEntry& entry = pCatalog->vecEntries[i];
    if (!Same(IdTranslate(entry.nID), entry.wstrTransl))
      return state.SkipWithError(("no translation of " + entry.strSource).c_str());
    vecKeys.push_back(entry.nID);
  }
  LookupLoop(state, vecKeys, IdTranslate);
}

void PatternHitColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  std::vector<const XChar*> vecKeys;
  for (const XBenchPatternCase& c : pCatalog->vecPatternHits) {
    if (!Same(TextTranslate(c.wstrText.c_str()), c.wstrExpected))
      return state.SkipWithError(("wrong pattern translation of " + Narrow(c.wstrText.c_str())).c_str());
    vecKeys.push_back(c.wstrText.c_str());
  }
  LookupLoop(state, vecKeys, TextTranslate);
}

void PatternMissColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  std::vector<const XChar*> vecKeys;
  for (const XString& wstr : pCatalog->vecPatternMisses) {
    if (TextTranslate(wstr.c_str()) != wstr.c_str())
      return state.SkipWithError(("pattern miss translated: " + Narrow(wstr.c_str())).c_str());
    vecKeys.push_back(wstr.c_str());
  }
  LookupLoop(state, vecKeys, TextTranslate);
}

// --- loading ----------------------------------------------------------------------
void LoadColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  {
    std::unique_ptr<XLMTranslDict> pDict = CatalogLoad(*pCatalog);
    for (const XBenchEntry& entry : pCatalog->vecEntries) {
      const XChar* psz =
          entry.nID != 0 ? pDict->CheckTranslate(entry.nID) : pDict->CheckTranslate(entry.wstrSource.c_str());
      if (!Same(psz, entry.wstrTransl)) return state.SkipWithError(("not loaded: " + entry.strSource).c_str());
    }
  }
  for (auto _ : state) {
    std::unique_ptr<XLMTranslDict> pDict = CatalogLoad(*pCatalog);
    benchmark::DoNotOptimize(pDict.get());
    // Freeing the entries is not part of loading.
    state.PauseTiming();
    pDict.reset();
    state.ResumeTiming();
  }
  state.counters["entries"] = static_cast<double>(pCatalog->nSize);
}

// The floor: the same file read with the standard library and split into
// lines, nothing decoded or kept.
void LoadFloor(benchmark::State& state, const XBenchCatalog* pCatalog) {
  std::size_t nExpected = 2 + 2 * pCatalog->nSize;
  for (auto _ : state) {
    std::ifstream in(pCatalog->strRLGPath, std::ios::binary);
    std::string strLine;
    std::size_t nLines = 0, nBytes = 0;
    while (std::getline(in, strLine)) {
      ++nLines;
      nBytes += strLine.size();
    }
    benchmark::DoNotOptimize(nBytes);
    if (nLines != nExpected) return state.SkipWithError("wrong line count");
  }
}

// --- menus and windows (the emulation) ------------------------------------------------
// Texts for 1,000 items or controls: every tenth stays untranslated (a text
// the catalog does not have), the others are entries of the catalog.
struct XUiText {
  XString wstrSource;
  XString wstrExpected;
};

std::vector<XUiText> UiTexts(const XBenchCatalog& catalog, std::size_t n) {
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

constexpr std::size_t kMenuPopups = 10;
constexpr std::size_t kUiItems = 1000;

// A menu bar of 10 popups with 99 items each: 1,000 items with the popups.
HMENU MenuBuild(const std::vector<XUiText>& vecTexts) {
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

bool MenuCheck(HMENU hBar, const std::vector<XUiText>& vecTexts) {
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

void MenuColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  const std::vector<XUiText> vecTexts = UiTexts(*pCatalog, kUiItems);
  HMENU hBar = MenuBuild(vecTexts);
  MenuTranslate(hBar);
  const bool bOk = MenuCheck(hBar, vecTexts);
  DestroyMenu(hBar);
  if (!bOk) return state.SkipWithError("menu not translated as expected");
  for (auto _ : state) {
    state.PauseTiming();
    hBar = MenuBuild(vecTexts);
    state.ResumeTiming();
    MenuTranslate(hBar);
    state.PauseTiming();
    DestroyMenu(hBar);
    state.ResumeTiming();
  }
}

// A dialog with 1,000 controls: buttons and labels, every tenth an edit field,
// which keeps its text.
std::vector<HWND> WindowBuild(const std::vector<XUiText>& vecTexts, HWND& hDialog) {
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

void WindowTextsReset(const std::vector<HWND>& vecControls, const std::vector<XUiText>& vecTexts) {
  for (std::size_t i = 0; i < vecControls.size(); ++i) SetWindowTextW(vecControls[i], vecTexts[i].wstrSource.c_str());
}

void WindowColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  DefaultLoad(*pCatalog);
  const std::vector<XUiText> vecTexts = UiTexts(*pCatalog, kUiItems);
  HWND hDialog = nullptr;
  const std::vector<HWND> vecControls = WindowBuild(vecTexts, hDialog);
  WindowTranslate(hDialog);
  XChar sz[512];
  for (std::size_t i = 0; i < vecControls.size(); ++i) {
    GetWindowTextW(vecControls[i], sz, 512);
    const XString& wstrExpected = i % 10 == 4 ? vecTexts[i].wstrSource : vecTexts[i].wstrExpected;
    if (!Same(sz, wstrExpected)) {
      DestroyWindow(hDialog);
      return state.SkipWithError("window not translated as expected");
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    WindowTextsReset(vecControls, vecTexts);
    state.ResumeTiming();
    WindowTranslate(hDialog);
  }
  DestroyWindow(hDialog);
}

template <typename Fn>
void Register(const std::string& strName, Fn fn, const XBenchCatalog& catalog) {
  benchmark::RegisterBenchmark(strName.c_str(), fn, &catalog);
}

}  // namespace

void BenchmarksRegister(const std::vector<XBenchCatalog>& vecCatalogs) {
  for (const XBenchCatalog& c : vecCatalogs) {
    Register("hit/colang/" + c.strLabel, HitColang, c);
    Register("hit/gettext/" + c.strLabel, HitGettext, c);
  }
  for (const XBenchCatalog& c : vecCatalogs) {
    Register("miss/colang/" + c.strLabel, MissColang, c);
    Register("miss/gettext/" + c.strLabel, MissGettext, c);
  }
  for (const XBenchCatalog& c : vecCatalogs) Register("retranslate/colang/" + c.strLabel, RetranslateColang, c);
  for (const XBenchCatalog& c : vecCatalogs) Register("id/colang/" + c.strLabel, IdColang, c);
  const XBenchCatalog& c10k = vecCatalogs.at(1);
  Register("pattern_hit/colang/" + c10k.strLabel, PatternHitColang, c10k);
  Register("pattern_miss/colang/" + c10k.strLabel, PatternMissColang, c10k);
  for (const XBenchCatalog& c : vecCatalogs) {
    Register("load/colang/" + c.strLabel, LoadColang, c);
    Register("load/floor/" + c.strLabel, LoadFloor, c);
  }
  Register("menu/colang/1000", MenuColang, c10k);
  Register("window/colang/1000", WindowColang, c10k);
}

bool PatternsPin(const XBenchCatalog& catalog) {
  DefaultLoad(catalog);
  const XBenchPatternCase& c = catalog.vecPatternHits.front();
  return Same(TextTranslate(c.wstrText.c_str()), c.wstrExpected);
}

int MemoryChildRun(const std::string& strRLGPath) {
  (void)strRLGPath;
  return 1;
}

}  // namespace bench
