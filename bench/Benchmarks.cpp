// The benchmark cases, colang beside glibc gettext on the same generated
// catalogs. Lookups walk their keys in a fixed random order, one key per
// iteration; every case first checks all the answers it is about to time and
// stops with an error if one is wrong.
#include "Benchmarks.h"

#include <libintl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "AllocCount.h"
#include "Gettext.h"
#include "colang/CoLangTrans.h"
#include "colang/LMTranslDict.h"
#include "colang/platform/Win32.h"

namespace bench {
namespace {

// --- the library under test -----------------------------------------------
// Every text case goes through the exported functions and the default
// dictionary, loaded with one catalog at a time.
const XBenchCatalog* g_pLoaded = nullptr;

bool DefaultLoad(const XBenchCatalog& catalog) {
  if (g_pLoaded == &catalog) return true;
  g_pLoaded = nullptr;
  if (CoLangLoadDefaultDict(Widen(catalog.strRLGPath).c_str()) != 1) return false;
  g_pLoaded = &catalog;
  return true;
}

const XChar* TextTranslate(const XChar* pszText) { return CoTranslateText(pszText); }
const XChar* TextRetranslate(const XChar* pszText) { return CoRetranslateText(pszText); }
const XChar* IdTranslate(unsigned nID) { return CoTranslateIdRLG(nID, nullptr); }

// A new dictionary read from the catalog file, as a host makes one.
std::unique_ptr<XLMTranslDict> CatalogLoad(const XString& wstrPath) {
  return std::make_unique<XLMTranslDict>(wstrPath.c_str());
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

// The texts a case looks up, zero-terminated and laid out one after the
// other in lookup order, as a caller's own texts would be at hand; the
// dictionary's memory, not the caller's, is what the loop walks at random.
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
// entries shows the lookup's own cost. The "cold" case walks every key.
constexpr std::size_t kLookupSample = 500;

std::vector<std::size_t> TextSample(const XBenchCatalog& catalog, bool bAll) {
  const auto& vec = catalog.vecTextOrder;
  return {vec.begin(), bAll ? vec.end() : vec.begin() + std::min(kLookupSample, vec.size())};
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

const char* GettextLookup(const char* psz) { return gettext(psz); }

// --- lookups --------------------------------------------------------------------
// Translation (bRetranslate false) or retranslation hits of the sample, or of
// every text entry.
void TextHits(benchmark::State& state, const XBenchCatalog& catalog, bool bAll, bool bRetranslate) {
  if (!DefaultLoad(catalog)) return state.SkipWithError("catalog not loaded");
  XKeyList<XChar> keys;
  std::vector<const XString*> vecExpected;
  for (std::size_t i : TextSample(catalog, bAll)) {
    const XBenchEntry& entry = catalog.vecEntries[i];
    keys.Add(bRetranslate ? entry.wstrTransl : entry.wstrSource);
    vecExpected.push_back(bRetranslate ? &entry.wstrSource : &entry.wstrTransl);
  }
  const std::vector<const XChar*> vecKeys = keys.Pointers();
  auto fn = bRetranslate ? TextRetranslate : TextTranslate;
  for (std::size_t k = 0; k < vecKeys.size(); ++k)
    if (!Same(fn(vecKeys[k]), *vecExpected[k]))
      return state.SkipWithError(("wrong answer for " + Narrow(vecKeys[k])).c_str());
  LookupLoop(state, vecKeys, fn);
}

void HitColang(benchmark::State& state, const XBenchCatalog* pCatalog) { TextHits(state, *pCatalog, false, false); }
void HitAllColang(benchmark::State& state, const XBenchCatalog* pCatalog) { TextHits(state, *pCatalog, true, false); }
void RetranslateColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  TextHits(state, *pCatalog, false, true);
}

void GettextHits(benchmark::State& state, const XBenchCatalog& catalog, bool bAll) {
  GettextUse(catalog);
  XKeyList<char> keys;
  std::vector<const std::string*> vecExpected;
  for (std::size_t i : TextSample(catalog, bAll)) {
    keys.Add(catalog.vecEntries[i].strSource);
    vecExpected.push_back(&catalog.vecEntries[i].strTransl);
  }
  const std::vector<const char*> vecKeys = keys.Pointers();
  for (std::size_t k = 0; k < vecKeys.size(); ++k)
    if (*vecExpected[k] != gettext(vecKeys[k]))
      return state.SkipWithError((std::string("gettext has no translation of ") + vecKeys[k]).c_str());
  LookupLoop(state, vecKeys, GettextLookup);
}

void HitGettext(benchmark::State& state, const XBenchCatalog* pCatalog) { GettextHits(state, *pCatalog, false); }
void HitAllGettext(benchmark::State& state, const XBenchCatalog* pCatalog) { GettextHits(state, *pCatalog, true); }

void MissColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  if (!DefaultLoad(*pCatalog)) return state.SkipWithError("catalog not loaded");
  XKeyList<XChar> keys;
  for (std::size_t k = 0; k < kLookupSample && k < pCatalog->vecMiss.size(); ++k) keys.Add(pCatalog->vecMiss[k]);
  const std::vector<const XChar*> vecKeys = keys.Pointers();
  for (const XChar* psz : vecKeys)
    if (TextTranslate(psz) != psz) return state.SkipWithError("a miss was translated");
  LookupLoop(state, vecKeys, TextTranslate);
}

void MissGettext(benchmark::State& state, const XBenchCatalog* pCatalog) {
  GettextUse(*pCatalog);
  XKeyList<char> keys;
  for (std::size_t k = 0; k < kLookupSample && k < pCatalog->vecMissUtf8.size(); ++k)
    keys.Add(pCatalog->vecMissUtf8[k]);
  const std::vector<const char*> vecKeys = keys.Pointers();
  for (const char* psz : vecKeys)
    if (gettext(psz) != psz) return state.SkipWithError("gettext translated a miss");
  LookupLoop(state, vecKeys, GettextLookup);
}

void IdColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  if (!DefaultLoad(*pCatalog)) return state.SkipWithError("catalog not loaded");
  std::vector<unsigned> vecKeys;
  for (std::size_t i : pCatalog->vecIdOrder) {
    if (vecKeys.size() == kLookupSample) break;
    const XBenchEntry& entry = pCatalog->vecEntries[i];
    if (!Same(IdTranslate(entry.nID), entry.wstrTransl))
      return state.SkipWithError(("no translation of " + entry.strSource).c_str());
    vecKeys.push_back(entry.nID);
  }
  LookupLoop(state, vecKeys, IdTranslate);
}

void PatternHitColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  if (!DefaultLoad(*pCatalog)) return state.SkipWithError("catalog not loaded");
  XKeyList<XChar> keys;
  for (const XBenchPatternCase& c : pCatalog->vecPatternHits) keys.Add(c.wstrText);
  const std::vector<const XChar*> vecKeys = keys.Pointers();
  for (std::size_t k = 0; k < vecKeys.size(); ++k)
    if (!Same(TextTranslate(vecKeys[k]), pCatalog->vecPatternHits[k].wstrExpected))
      return state.SkipWithError(("wrong pattern translation of " + Narrow(vecKeys[k])).c_str());
  LookupLoop(state, vecKeys, TextTranslate);
}

void PatternMissColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  if (!DefaultLoad(*pCatalog)) return state.SkipWithError("catalog not loaded");
  XKeyList<XChar> keys;
  for (const XString& wstr : pCatalog->vecPatternMisses) keys.Add(wstr);
  const std::vector<const XChar*> vecKeys = keys.Pointers();
  for (const XChar* psz : vecKeys)
    if (TextTranslate(psz) != psz) return state.SkipWithError(("pattern miss translated: " + Narrow(psz)).c_str());
  LookupLoop(state, vecKeys, TextTranslate);
}

// --- loading ----------------------------------------------------------------------
void LoadColang(benchmark::State& state, const XBenchCatalog* pCatalog) {
  const XString wstrPath = Widen(pCatalog->strRLGPath);
  {
    std::unique_ptr<XLMTranslDict> pDict = CatalogLoad(wstrPath);
    for (const XBenchEntry& entry : pCatalog->vecEntries) {
      const XChar* psz =
          entry.nID != 0 ? pDict->CheckTranslate(entry.nID) : pDict->CheckTranslate(entry.wstrSource.c_str());
      if (!Same(psz, entry.wstrTransl)) return state.SkipWithError(("not loaded: " + entry.strSource).c_str());
    }
  }
  for (auto _ : state) {
    std::unique_ptr<XLMTranslDict> pDict = CatalogLoad(wstrPath);
    benchmark::DoNotOptimize(pDict.get());
    // Freeing the entries is not part of loading.
    state.PauseTiming();
    pDict.reset();
    state.ResumeTiming();
  }
}

// The floor: the same file read with the standard library and split into
// lines, nothing decoded or kept.
std::size_t FloorPass(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::string strLine;
  std::size_t nLines = 0, nBytes = 0;
  while (std::getline(in, strLine)) {
    ++nLines;
    nBytes += strLine.size();
  }
  benchmark::DoNotOptimize(nBytes);
  return nLines;
}

void LoadFloor(benchmark::State& state, const XBenchCatalog* pCatalog) {
  const std::size_t nExpected = 2 + 2 * pCatalog->nSize;
  for (auto _ : state) {
    if (FloorPass(pCatalog->strRLGPath) != nExpected) return state.SkipWithError("wrong line count");
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
  if (!DefaultLoad(*pCatalog)) return state.SkipWithError("catalog not loaded");
  const std::vector<XUiText> vecTexts = UiTexts(*pCatalog, kUiItems);
  HMENU hBar = MenuBuild(vecTexts);
  CoTranslateMenu(hBar);
  const bool bOk = MenuCheck(hBar, vecTexts);
  DestroyMenu(hBar);
  if (!bOk) return state.SkipWithError("menu not translated as expected");
  for (auto _ : state) {
    state.PauseTiming();
    hBar = MenuBuild(vecTexts);
    state.ResumeTiming();
    CoTranslateMenu(hBar);
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
  if (!DefaultLoad(*pCatalog)) return state.SkipWithError("catalog not loaded");
  const std::vector<XUiText> vecTexts = UiTexts(*pCatalog, kUiItems);
  HWND hDialog = nullptr;
  const std::vector<HWND> vecControls = WindowBuild(vecTexts, hDialog);
  CoTranslateWindow(hDialog);
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
    CoTranslateWindow(hDialog);
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
    Register("hit_all/colang/" + c.strLabel, HitAllColang, c);
    Register("hit_all/gettext/" + c.strLabel, HitAllGettext, c);
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
  if (!DefaultLoad(catalog)) return false;
  const XBenchPatternCase& c = catalog.vecPatternHits.front();
  return Same(TextTranslate(c.wstrText.c_str()), c.wstrExpected);
}

int FreshChildRun(const std::string& strRLGPath) {
  const XString wstrPath = Widen(strRLGPath);
  // The floor first, so that both passes find the file in the page cache
  // alike; it keeps nothing, so the resident set it leaves is its buffer's.
  auto tFloor = std::chrono::steady_clock::now();
  if (FloorPass(strRLGPath) < 2) return 1;
  const double dFloorNs = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - tFloor).count();
  const std::uint64_t nResident = ResidentBytes();
  auto tLoad = std::chrono::steady_clock::now();
  XLMTranslDict dict(wstrPath.c_str());
  const double dLoadNs = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - tLoad).count();
  if (!dict.IsValid()) return 1;
  std::printf("%llu %.0f %.0f\n", static_cast<unsigned long long>(ResidentBytes() - nResident), dLoadNs, dFloorNs);
  return 0;
}

}  // namespace bench
