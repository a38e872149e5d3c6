// rlgtool extract on a program of some 10 MB (bench/extract/run): reading
// the file and its resource directory, decoding every menu, dialog and
// string table, and making the catalog of one language, or of a pair.
#include <benchmark/benchmark.h>

#include "BigProgram.h"
#include "Extract.h"
#include "ResBinary.h"
#include "TextIO.h"

namespace {

using namespace rlgtool;

// The catalog of the program's English texts, or of English paired with German.
std::vector<XString> Catalog(const std::string& strBytes, bool bPair, size_t& nEntries) {
  XResFile file;
  std::string strError, strMessages;
  if (!PeRead(strBytes, file, strError)) return {};
  XDiag diag(&strMessages, false);
  XExtractor extractor(XStringsAs::eIds, false, diag);
  if (bPair)
    extractor.PairsAdd(file, 0x0409, 0x0407);
  else
    extractor.TextsAdd(file, 0x0409);
  const std::vector<XExtractEntry> vecEntries = extractor.Entries();
  nEntries = vecEntries.size();
  return ExtractCatalog(vecEntries, bPair ? 0x0407 : 0x0409);
}

void BM_Extract(benchmark::State& state) {
  const bool bPair = state.range(0) != 0;
  const std::string strBytes = FileBytesRead(EXTRACT_BENCH_PROGRAM).strBytes;
  size_t nEntries = 0;
  // Every text of the program is in the catalog, and they are all different.
  if (Catalog(strBytes, bPair, nEntries).empty() || nEntries != static_cast<size_t>(extract_bench::kEntries)) {
    state.SkipWithError("the program does not give the expected catalog");
    return;
  }
  for (auto _ : state) {
    const XFileBytes file = FileBytesRead(EXTRACT_BENCH_PROGRAM);
    benchmark::DoNotOptimize(Catalog(file.strBytes, bPair, nEntries));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * strBytes.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * nEntries));
  state.counters["MB"] = static_cast<double>(strBytes.size()) / 1e6;
}
BENCHMARK(BM_Extract)->Arg(0)->Arg(1)->ArgName("pair")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
