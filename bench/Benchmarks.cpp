// colang's benchmark cases (Cases.h) run by Google Benchmark, and colang's
// measurement in a fresh process. The peers' cases are in Peer*.cpp.
#include "Benchmarks.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "Cases.h"

namespace bench {
namespace {

// Runs a case of Cases.h under Google Benchmark.
class XStateRun {
 public:
  explicit XStateRun(benchmark::State& state) : m_state(state) {}
  void Error(const std::string& strText) { m_state.SkipWithError(strText.c_str()); }
  template <typename Key, typename Fn>
  void Loop(const std::vector<Key>& vecKeys, Fn fn) {
    LookupLoop(m_state, vecKeys, fn);
  }
  template <typename Setup, typename Timed, typename Done>
  void Repeat(Setup setup, Timed timed, Done done) {
    for (auto _ : m_state) {
      m_state.PauseTiming();
      setup();
      m_state.ResumeTiming();
      timed();
      m_state.PauseTiming();
      done();
      m_state.ResumeTiming();
    }
  }

 private:
  benchmark::State& m_state;
};

template <typename Case>
void Register(const std::string& strName, const XBenchCatalog& catalog, Case fnCase) {
  benchmark::RegisterBenchmark(strName.c_str(), [&catalog, fnCase](benchmark::State& state) {
    XStateRun run(state);
    fnCase(run, catalog);
  });
}

}  // namespace

void BenchmarksRegister(const std::vector<XBenchCatalog>& vecCatalogs) {
  using Run = XStateRun;
  for (const XBenchCatalog& c : vecCatalogs) {
    Register("hit/colang/" + c.strLabel, c,
             [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, false, false); });
    Register("hit_all/colang/" + c.strLabel, c,
             [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, true, false); });
    Register("miss/colang/" + c.strLabel, c, [](Run& run, const XBenchCatalog& cc) { cases::Misses(run, cc); });
  }
  // The same lookups in the maps a load of the text builds.
  for (const XBenchCatalog& c : vecCatalogs) {
    Register("hit/colang_text/" + c.strLabel, c,
             [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, false, false, true); });
    Register("hit_all/colang_text/" + c.strLabel, c,
             [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, true, false, true); });
    Register("miss/colang_text/" + c.strLabel, c,
             [](Run& run, const XBenchCatalog& cc) { cases::Misses(run, cc, true); });
  }
  for (const XBenchCatalog& c : vecCatalogs)
    Register("retranslate/colang/" + c.strLabel, c,
             [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, false, true); });
  for (const XBenchCatalog& c : vecCatalogs) Register("id/colang/" + c.strLabel, c, cases::Ids<Run>);
  const XBenchCatalog& c10k = vecCatalogs.at(1);
  Register("pattern_hit/colang/" + c10k.strLabel, c10k, cases::PatternHits<Run>);
  Register("pattern_miss/colang/" + c10k.strLabel, c10k, cases::PatternMisses<Run>);
  for (const XBenchCatalog& c : vecCatalogs) {
    Register("load/colang/" + c.strLabel, c, [](Run& run, const XBenchCatalog& cc) { cases::Loads(run, cc, false); });
    Register("load/colang_text/" + c.strLabel, c,
             [](Run& run, const XBenchCatalog& cc) { cases::Loads(run, cc, true); });
    Register("load/floor/" + c.strLabel, c, cases::Floors<Run>);
  }
  Register("menu/colang/1000", c10k, cases::Menus<Run>);
  Register("window/colang/1000", c10k, cases::Windows<Run>);
}

bool PatternsPin(const XBenchCatalog& catalog) { return cases::PatternsPin(catalog); }

int FreshChildRun(const XBenchCatalog& catalog, bool bText) {
  const XString wstrPath = Widen(bText ? catalog.strTextPath : catalog.strRLGPath);
  std::vector<XString> vecKeys;
  for (std::size_t i : catalog.vecTextOrder) vecKeys.push_back(catalog.vecEntries[i].wstrSource);
  // The floor first, so that both passes find the file in the page cache
  // alike; it keeps nothing, so the resident set it leaves is its buffer's.
  auto tFloor = std::chrono::steady_clock::now();
  if (cases::FloorPass(catalog.strTextPath) < 2) return 1;
  const double dFloorNs = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - tFloor).count();
  const XResident before = ResidentSplit(catalog.strDir);
  const auto t0 = std::chrono::steady_clock::now();
  XLMTranslDict dict(wstrPath.c_str());
  const auto t1 = std::chrono::steady_clock::now();
  for (const XString& wstrKey : vecKeys) benchmark::DoNotOptimize(dict.CheckTranslate(wstrKey.c_str()));
  const auto t2 = std::chrono::steady_clock::now();
  const XResident after = ResidentSplit(catalog.strDir);
  if (!dict.IsValid()) return 1;
  std::printf("%.0f %.0f %lld %lld %.0f\n", std::chrono::duration<double, std::nano>(t1 - t0).count(),
              std::chrono::duration<double, std::nano>(t2 - t0).count(),
              static_cast<long long>(after.nAnon - before.nAnon), static_cast<long long>(after.nFile - before.nFile),
              dFloorNs);
  return 0;
}

}  // namespace bench
