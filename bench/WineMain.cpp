// colang_bench_wine: colang's lookup, menu and window cases (Cases.h) built
// for Windows, where the menus and windows are the system's own, and timed
// without Google Benchmark, which is not built for Windows here: each case
// runs five batches of at least 0.1 s, and the median batch gives the time
// per operation. bench/run starts it under Wine; Wine's timings are Wine's,
// not those of Windows itself.
//
//   colang_bench_wine [FILTER]   only the cases whose name holds FILTER
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Cases.h"
#include "Catalog.h"

namespace bench {
namespace {

using XClock = std::chrono::steady_clock;

// Runs a case of Cases.h with the clock.
class XClockRun {
 public:
  void Error(const std::string& strText) { m_strError = strText; }
  template <typename Key, typename Fn>
  void Loop(const std::vector<Key>& vecKeys, Fn fn) {
    std::uintptr_t nSink = 0;
    auto batch = [&](std::size_t nOps) {
      const XClock::time_point t0 = XClock::now();
      for (std::size_t i = 0, k = 0; i < nOps; ++i) {
        nSink += reinterpret_cast<std::uintptr_t>(fn(vecKeys[k]));
        if (++k == vecKeys.size()) k = 0;
      }
      return std::chrono::duration<double, std::nano>(XClock::now() - t0).count();
    };
    std::size_t nOps = vecKeys.size();
    while (batch(nOps) < kBatchNs) nOps *= 2;
    Median([&] { return batch(nOps) / static_cast<double>(nOps); });
    m_nSink += nSink;
  }
  template <typename Setup, typename Timed, typename Done>
  void Repeat(Setup setup, Timed timed, Done done) {
    auto batch = [&](std::size_t& nOps) {
      double dNs = 0;
      for (nOps = 0; dNs < kBatchNs; ++nOps) {
        setup();
        const XClock::time_point t0 = XClock::now();
        timed();
        dNs += std::chrono::duration<double, std::nano>(XClock::now() - t0).count();
        done();
      }
      return dNs / static_cast<double>(nOps);
    };
    Median([&] {
      std::size_t nOps = 0;
      return batch(nOps);
    });
  }

  const std::string& ErrorText() const { return m_strError; }
  double Ns() const { return m_dNs; }
  std::uintptr_t Sink() const { return m_nSink; }

 private:
  static constexpr double kBatchNs = 1e8;
  template <typename Batch>
  void Median(Batch batch) {
    std::vector<double> vecNs;
    for (int i = 0; i < 5; ++i) vecNs.push_back(batch());
    std::sort(vecNs.begin(), vecNs.end());
    m_dNs = vecNs[vecNs.size() / 2];
  }

  std::string m_strError;
  double m_dNs = NAN;
  std::uintptr_t m_nSink = 0;
};

template <typename Case>
void CaseRun(const std::string& strFilter, const char* pszLabel, const XBenchCatalog& catalog, Case fnCase) {
  const std::string strName = std::string(pszLabel) + " " + catalog.strLabel;
  if (strName.find(strFilter) == std::string::npos) return;
  XClockRun run;
  fnCase(run, catalog);
  if (!run.ErrorText().empty())
    std::printf("| %s | %s | FAILED: %s |\n", pszLabel, catalog.strLabel.c_str(), run.ErrorText().c_str());
  else
    std::printf("| %s | %s | %s |\n", pszLabel, catalog.strLabel.c_str(), TimeText(run.Ns()).c_str());
  std::fflush(stdout);
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  using namespace bench;
  const std::string strFilter = argc > 1 ? argv[1] : "";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("colang-bench-wine-" + std::to_string(XClock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);

  std::vector<XBenchCatalog> vecCatalogs;
  for (const auto& [nSize, pszLabel] :
       {std::pair<std::size_t, const char*>{1000, "1k"}, {10000, "10k"}, {100000, "100k"}}) {
    vecCatalogs.push_back(CatalogGenerate(nSize, pszLabel));
    if (!CatalogRlgWrite(vecCatalogs.back(), dir.string()) || !cases::Compile(vecCatalogs.back())) return 1;
  }
  if (!cases::PatternsPin(vecCatalogs.at(1))) {
    std::fprintf(stderr, "bench: pattern translation does not work on the 10k catalog\n");
    return 1;
  }

  using Run = XClockRun;
  std::printf("| case | size | colang under Wine |\n|---|---|---|\n");
  for (const XBenchCatalog& c : vecCatalogs)
    CaseRun(strFilter, "hit lookup", c,
            [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, false, false); });
  for (const XBenchCatalog& c : vecCatalogs)
    CaseRun(strFilter, "hit lookup, every key", c,
            [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, true, false); });
  for (const XBenchCatalog& c : vecCatalogs)
    CaseRun(strFilter, "miss lookup, no digits", c, [](Run& run, const XBenchCatalog& cc) { cases::Misses(run, cc); });
  for (const XBenchCatalog& c : vecCatalogs)
    CaseRun(strFilter, "retranslation hit", c,
            [](Run& run, const XBenchCatalog& cc) { cases::TextHits(run, cc, false, true); });
  for (const XBenchCatalog& c : vecCatalogs) CaseRun(strFilter, "identifier hit", c, cases::Ids<Run>);
  const XBenchCatalog& c10k = vecCatalogs.at(1);
  CaseRun(strFilter, "pattern hit, 1k patterns", c10k, cases::PatternHits<Run>);
  CaseRun(strFilter, "pattern miss, 1k patterns", c10k, cases::PatternMisses<Run>);
  CaseRun(strFilter, "menu translation, 1000 items", c10k, cases::Menus<Run>);
  CaseRun(strFilter, "window translation, 1000 controls", c10k, cases::Windows<Run>);

  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return 0;
}
