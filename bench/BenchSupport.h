// What the cases of colang and of its peers share: the keys they look up,
// laid out as a caller holds them, the timed loop, and the cases of a peer
// that takes narrow (UTF-8) texts, written once for all of them.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AllocCount.h"
#include "Cases.h"
#include "Catalog.h"
#include "Peers.h"

namespace bench {

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

// The cases of a peer that takes UTF-8 texts. Peer provides:
//   kName, kLabel  its side in benchmark names, and its name in the tables
//   kLoads         whether it can load a catalog again (a "load" case)
//   Files(catalog) writes what it needs beside the catalog's files; false,
//                  with a message on stderr, when that fails
//   Loaded         what Load gives: the catalog in the peer's memory
//   Setup()        what an application does once before it loads a catalog
//   Load(catalog)  reads the catalog as an application does at its start
//   Use(catalog)   makes the catalog, loaded once and kept, the one looked in
//   Lookup(key)    the timed call, as the peer's documentation writes it
//   Answer(key)    the translation Lookup gives, as UTF-8, for the checks
template <typename Peer>
void PeerHits(benchmark::State& state, const XBenchCatalog* pCatalog, bool bAll) {
  Peer::Use(*pCatalog);
  XKeyList<char> keys;
  std::vector<const std::string*> vecExpected;
  for (std::size_t k = 0; k < TextSample(*pCatalog, bAll); ++k) {
    const std::size_t i = pCatalog->vecTextOrder[k];
    keys.Add(pCatalog->vecEntries[i].strSource);
    vecExpected.push_back(&pCatalog->vecEntries[i].strTransl);
  }
  const std::vector<const char*> vecKeys = keys.Pointers();
  for (std::size_t k = 0; k < vecKeys.size(); ++k)
    if (Peer::Answer(vecKeys[k]) != *vecExpected[k])
      return state.SkipWithError((std::string(Peer::kName) + " has no translation of " + vecKeys[k]).c_str());
  LookupLoop(state, vecKeys, [](const char* psz) { return Peer::Lookup(psz); });
}

template <typename Peer>
void PeerMisses(benchmark::State& state, const XBenchCatalog* pCatalog) {
  Peer::Use(*pCatalog);
  XKeyList<char> keys;
  for (std::size_t k = 0; k < kLookupSample && k < pCatalog->vecMissUtf8.size(); ++k)
    keys.Add(pCatalog->vecMissUtf8[k]);
  const std::vector<const char*> vecKeys = keys.Pointers();
  for (const char* psz : vecKeys)
    if (Peer::Answer(psz) != psz) return state.SkipWithError((std::string(Peer::kName) + " translated a miss").c_str());
  LookupLoop(state, vecKeys, [](const char* psz) { return Peer::Lookup(psz); });
}

// Loading the catalog again and again; giving it back is not timed.
template <typename Peer>
void PeerLoads(benchmark::State& state, const XBenchCatalog* pCatalog) {
  for (auto _ : state) {
    auto pLoaded = Peer::Load(*pCatalog);
    benchmark::DoNotOptimize(pLoaded.get());
    state.PauseTiming();
    pLoaded.reset();
    state.ResumeTiming();
  }
}

// One peer's cases over every catalog, named "case/<Peer::kName>/<size>".
template <typename Peer>
void PeerRegister(const std::vector<XBenchCatalog>& vecCatalogs, bool bLoads) {
  const std::string strSide = Peer::kName;
  for (const XBenchCatalog& c : vecCatalogs) {
    benchmark::RegisterBenchmark(("hit/" + strSide + "/" + c.strLabel).c_str(), PeerHits<Peer>, &c, false);
    benchmark::RegisterBenchmark(("hit_all/" + strSide + "/" + c.strLabel).c_str(), PeerHits<Peer>, &c, true);
    benchmark::RegisterBenchmark(("miss/" + strSide + "/" + c.strLabel).c_str(), PeerMisses<Peer>, &c);
    if (bLoads) benchmark::RegisterBenchmark(("load/" + strSide + "/" + c.strLabel).c_str(), PeerLoads<Peer>, &c);
  }
}

// In a fresh process: loads the catalog as an application does at its
// start, then looks up every text key once, and prints the times of both
// (the second including the first) and the growth of the resident set over
// them, as "nsLoad nsLoadAndPass anonBytes fileBytes".
template <typename Peer>
int PeerFreshRun(const XBenchCatalog& catalog) {
  std::vector<const char*> vecKeys;
  for (std::size_t i : catalog.vecTextOrder) vecKeys.push_back(catalog.vecEntries[i].strSource.c_str());
  Peer::Setup();
  const XResident before = ResidentSplit(catalog.strDir);
  const auto t0 = std::chrono::steady_clock::now();
  auto pLoaded = Peer::Load(catalog);
  const auto t1 = std::chrono::steady_clock::now();
  for (const char* psz : vecKeys) benchmark::DoNotOptimize(Peer::Lookup(psz));
  const auto t2 = std::chrono::steady_clock::now();
  const XResident after = ResidentSplit(catalog.strDir);
  if (Peer::Answer(vecKeys.front()) != catalog.vecEntries[catalog.vecTextOrder.front()].strTransl) return 1;
  std::printf("%.0f %.0f %lld %lld\n", std::chrono::duration<double, std::nano>(t1 - t0).count(),
              std::chrono::duration<double, std::nano>(t2 - t0).count(),
              static_cast<long long>(after.nAnon - before.nAnon), static_cast<long long>(after.nFile - before.nFile));
  return 0;
}

// Writes the peer's files for the catalog and checks that it translates
// the catalog's first text entry; false, with a message, when it does not.
template <typename Peer>
bool PeerPrepare(const XBenchCatalog& catalog) {
  if (!Peer::Files(catalog)) return false;
  Peer::Setup();
  Peer::Use(catalog);
  const XBenchEntry& entry = catalog.vecEntries[catalog.vecTextOrder.front()];
  const std::string strGot = Peer::Answer(entry.strSource.c_str());
  if (strGot == entry.strTransl) return true;
  std::fprintf(stderr, "bench: %s gives \"%s\" for \"%s\", not the translation\n", Peer::kLabel, strGot.c_str(),
               entry.strSource.c_str());
  return false;
}

template <typename Peer>
XPeer PeerMake() {
  return {Peer::kName, Peer::kLabel, PeerPrepare<Peer>,
          [](const std::vector<XBenchCatalog>& vecCatalogs) { PeerRegister<Peer>(vecCatalogs, Peer::kLoads); },
          PeerFreshRun<Peer>};
}

}  // namespace bench
