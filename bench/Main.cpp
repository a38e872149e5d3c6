// colang_bench: generates the catalogs into a temporary directory, checks the
// gettext set-up, measures memory and the first load in fresh processes,
// runs every case and prints one table.
//
//   colang_bench [--plot-data=FILE] [--keep-data] [benchmark flags...]
//   colang_bench --fresh-child CATALOG   (internal: one fresh-process measurement)
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Benchmarks.h"
#include "Catalog.h"
#include "Gettext.h"
#include "Report.h"

namespace {

double Median(std::vector<double> vec) {
  std::sort(vec.begin(), vec.end());
  return vec[vec.size() / 2];
}

// Runs this program again on one catalog, in nRuns fresh processes, and reads
// back their numbers.
bool FreshMeasure(const bench::XBenchCatalog& catalog, const std::string& strDir, bench::XFreshRow& row) {
  // The path of this program: inside the shell that popen starts,
  // /proc/self/exe would name the shell.
  const std::string strSelf = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string strCommand = "'" + strSelf + "' --fresh-child '" + catalog.strRLGPath + "'";
  constexpr int nRuns = 5;
  std::vector<double> vecResident, vecLoad, vecFloor;
  for (int i = 0; i < nRuns; ++i) {
    FILE* pipe = popen(strCommand.c_str(), "r");
    if (pipe == nullptr) return false;
    double dResident = 0, dLoad = 0, dFloor = 0;
    const bool bRead = std::fscanf(pipe, "%lf %lf %lf", &dResident, &dLoad, &dFloor) == 3;
    if (pclose(pipe) != 0 || !bRead) return false;
    vecResident.push_back(dResident);
    vecLoad.push_back(dLoad);
    vecFloor.push_back(dFloor);
  }
  struct stat st {};
  ::stat((strDir + "/de/LC_MESSAGES/" + catalog.strDomain + ".mo").c_str(), &st);
  const auto dEntries = static_cast<double>(catalog.nSize);
  row = {catalog.strLabel, catalog.nSize,   Median(vecResident) / dEntries, static_cast<double>(st.st_size) / dEntries,
         Median(vecLoad),  Median(vecFloor)};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--fresh-child") == 0) return bench::FreshChildRun(argv[2]);

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
  const std::pair<std::size_t, const char*> aSizes[] = {{1000, "1k"}, {10000, "10k"}, {100000, "100k"}};
  for (const auto& [nSize, pszLabel] : aSizes) {
    vecCatalogs.push_back(bench::CatalogGenerate(nSize, pszLabel));
    if (!bench::CatalogWrite(vecCatalogs.back(), strDir) || !bench::GettextPrepare(vecCatalogs.back(), strDir))
      return 1;
  }

  bench::XTableReporter reporter;
  reporter.PlotDataSet(strPlotData);
  for (const bench::XBenchCatalog& catalog : vecCatalogs) {
    bench::XFreshRow row;
    if (FreshMeasure(catalog, strDir, row))
      reporter.FreshAdd(row);
    else
      std::fprintf(stderr, "bench: %s not measured in fresh processes\n", catalog.strLabel.c_str());
  }

  if (!bench::PatternsPin(vecCatalogs.at(1))) {
    std::fprintf(stderr, "bench: pattern translation does not work on the 10k catalog\n");
    return 1;
  }
  bench::BenchmarksRegister(vecCatalogs);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  if (!bKeep) std::filesystem::remove_all(strDir);
  return 0;
}
