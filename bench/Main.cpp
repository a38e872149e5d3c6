// colang_bench: generates the catalogs into a temporary directory, checks the
// gettext set-up, measures memory in fresh processes, runs every case and
// prints one table.
//
//   colang_bench [--plot-data=FILE] [--keep-data] [benchmark flags...]
//   colang_bench --memory-child CATALOG   (internal: one memory measurement)
#include <sys/stat.h>
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

// Runs this program again on one catalog and reads back its two numbers.
bool MemoryMeasure(const bench::XBenchCatalog& catalog, const std::string& strDir, bench::XMemoryRow& row) {
  // The path of this program: inside the shell that popen starts,
  // /proc/self/exe would name the shell.
  const std::string strSelf = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string strCommand = "'" + strSelf + "' --memory-child '" + catalog.strRLGPath + "'";
  FILE* pipe = popen(strCommand.c_str(), "r");
  if (pipe == nullptr) return false;
  double dResident = 0;
  const bool bRead = std::fscanf(pipe, "%lf", &dResident) == 1;
  if (pclose(pipe) != 0 || !bRead) return false;
  struct stat st {};
  ::stat((strDir + "/de/LC_MESSAGES/" + catalog.strDomain + ".mo").c_str(), &st);
  const auto dEntries = static_cast<double>(catalog.nSize);
  row = {catalog.strLabel, catalog.nSize, dResident / dEntries, static_cast<double>(st.st_size) / dEntries};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--memory-child") == 0) return bench::MemoryChildRun(argv[2]);

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
    bench::XMemoryRow row;
    if (MemoryMeasure(catalog, strDir, row))
      reporter.MemoryAdd(row);
    else
      std::fprintf(stderr, "bench: memory of %s not measured\n", catalog.strLabel.c_str());
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
