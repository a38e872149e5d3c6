// colang_bench: generates the catalogs into a temporary directory, writes
// each peer's files for them, measures the first load of every catalog by
// colang and by each peer in fresh processes, runs every case and prints the
// tables.
//
//   colang_bench [--plot-data=FILE] [--keep-data] [benchmark flags...]
//   colang_bench --fresh-child SIDE LABEL DIR   (internal: one fresh-process measurement)
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Benchmarks.h"
#include "Cases.h"
#include "Catalog.h"
#include "Peers.h"
#include "Report.h"

namespace {

constexpr std::pair<std::size_t, const char*> kSizes[] = {{1000, "1k"}, {10000, "10k"}, {100000, "100k"}};

double Median(std::vector<double> vec) {
  std::sort(vec.begin(), vec.end());
  return vec[vec.size() / 2];
}

double FileBytes(const std::string& strPath) {
  struct stat st {};
  return ::stat(strPath.c_str(), &st) == 0 ? static_cast<double>(st.st_size) : 0.0;
}

// Runs this program again for one side and catalog, in nRuns fresh
// processes, and reads back their numbers.
bool FreshMeasure(const std::string& strSide, const bench::XBenchCatalog& catalog, bench::XFreshRow& row) {
  // The path of this program: inside the shell that popen starts,
  // /proc/self/exe would name the shell.
  const std::string strSelf = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string strCommand =
      "'" + strSelf + "' --fresh-child " + strSide + " " + catalog.strLabel + " '" + catalog.strDir + "'";
  constexpr int nRuns = 5;
  std::vector<double> vecLoad, vecPass, vecAnon, vecFile, vecFloor;
  for (int i = 0; i < nRuns; ++i) {
    FILE* pipe = popen(strCommand.c_str(), "r");
    if (pipe == nullptr) return false;
    double dLoad = 0, dPass = 0, dAnon = 0, dFile = 0, dFloor = 0;
    const int nRead = std::fscanf(pipe, "%lf %lf %lf %lf %lf", &dLoad, &dPass, &dAnon, &dFile, &dFloor);
    if (pclose(pipe) != 0 || nRead < 4) return false;
    vecLoad.push_back(dLoad);
    vecPass.push_back(dPass);
    vecAnon.push_back(dAnon);
    vecFile.push_back(dFile);
    vecFloor.push_back(dFloor);
  }
  const auto dEntries = static_cast<double>(catalog.nSize);
  std::string strFile = catalog.strDir + "/de/LC_MESSAGES/" + catalog.strDomain + ".mo";
  if (strSide == "colang") strFile = catalog.strRLGPath + "c";
  if (strSide == "colang_text") strFile = catalog.strTextPath;
  if (strSide == "qt") strFile = catalog.strDir + "/" + catalog.strDomain + "_de.qm";
  row = {strSide,
         catalog.strLabel,
         catalog.nSize,
         Median(vecLoad),
         Median(vecPass),
         Median(vecAnon) / dEntries,
         Median(vecFile) / dEntries,
         FileBytes(strFile) / dEntries,
         Median(vecFloor)};
  return true;
}

int FreshChild(const std::string& strSide, const std::string& strLabel, const std::string& strDir) {
  for (const auto& [nSize, pszLabel] : kSizes) {
    if (strLabel != pszLabel) continue;
    bench::XBenchCatalog catalog = bench::CatalogGenerate(nSize, pszLabel);
    bench::CatalogPlace(catalog, strDir);
    if (strSide == "colang" || strSide == "colang_text") return bench::FreshChildRun(catalog, strSide == "colang_text");
    for (const bench::XPeer& peer : bench::Peers())
      if (strSide == peer.pszName) return peer.pfnFreshRun(catalog);
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // gettext translates only in a locale other than "C", and honours LANGUAGE
  // there; Qt sets the locale from the environment when its application
  // object is made, so the environment names the locale gettext needs.
  setenv("LC_ALL", "C.UTF-8", 1);
  setenv("LANGUAGE", "de", 1);
  if (argc == 5 && std::strcmp(argv[1], "--fresh-child") == 0) return FreshChild(argv[2], argv[3], argv[4]);

  std::string strPlotData;
  bool bKeep = false;
  std::vector<char*> vecArgs;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--plot-data=", 12) == 0)
      strPlotData = argv[i] + 12;
    else if (std::strcmp(argv[i], "--keep-data") == 0)
      bKeep = true;
    else
      vecArgs.push_back(argv[i]);
  }
  int nArgs = static_cast<int>(vecArgs.size());
  benchmark::Initialize(&nArgs, vecArgs.data());
  if (benchmark::ReportUnrecognizedArguments(nArgs, vecArgs.data())) return 2;

  char szDir[] = "/tmp/colang-bench-XXXXXX";
  if (mkdtemp(szDir) == nullptr) {
    std::perror("bench: mkdtemp");
    return 1;
  }
  const std::string strDir = szDir;
  std::fprintf(stderr, "bench: catalogs in %s\n", strDir.c_str());

  std::vector<bench::XBenchCatalog> vecCatalogs;
  for (const auto& [nSize, pszLabel] : kSizes) {
    vecCatalogs.push_back(bench::CatalogGenerate(nSize, pszLabel));
    if (!bench::CatalogWrite(vecCatalogs.back(), strDir)) return 1;
    // A library that compiles no catalogs (an older one, measured for
    // comparison) loads the text in the compiled rows too.
    if (!bench::cases::Compile(vecCatalogs.back()))
      std::fprintf(stderr, "bench: %s not compiled: the compiled rows load the text\n", pszLabel);
    for (const bench::XPeer& peer : bench::Peers())
      if (!peer.pfnPrepare(vecCatalogs.back())) return 1;
  }

  bench::XTableReporter reporter;
  reporter.PlotDataSet(strPlotData);
  std::vector<std::string> vecSides{"colang", "colang_text"};
  std::vector<std::pair<std::string, std::string>> vecPeers;
  for (const bench::XPeer& peer : bench::Peers()) {
    vecSides.push_back(peer.pszName);
    vecPeers.emplace_back(peer.pszName, peer.pszLabel);
  }
  reporter.PeersSet(vecPeers);
  for (const bench::XBenchCatalog& catalog : vecCatalogs) {
    for (const std::string& strSide : vecSides) {
      bench::XFreshRow row;
      if (FreshMeasure(strSide, catalog, row))
        reporter.FreshAdd(row);
      else
        std::fprintf(stderr, "bench: %s %s not measured in fresh processes\n", strSide.c_str(),
                     catalog.strLabel.c_str());
    }
  }

  if (!bench::PatternsPin(vecCatalogs.at(1))) {
    std::fprintf(stderr, "bench: pattern translation does not work on the 10k catalog\n");
    return 1;
  }
  bench::BenchmarksRegister(vecCatalogs);
  for (const bench::XPeer& peer : bench::Peers()) peer.pfnRegister(vecCatalogs);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  if (!bKeep) std::filesystem::remove_all(strDir);
  return 0;
}
