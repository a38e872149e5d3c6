// The one table of bench/run: collects the median of every benchmark's
// repetitions (its name is "case/side/size") and, at the end, prints each
// case and size as one row, colang beside its peer (gettext or the plain
// file pass), with the ratio, the allocations per operation and the targets.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

// A catalog loaded in fresh processes, as an application loads it at its
// start: memory and time, the medians over the processes.
struct XFreshRow {
  std::string strLabel;
  std::size_t nEntries = 0;
  double dResidentPerEntry = 0;  // growth of the resident set
  double dMoPerEntry = 0;        // gettext's .mo file size, for comparison
  double dLoadNs = 0;            // the first load, wall clock
  double dFloorNs = 0;           // the plain read-and-split pass in the same process
};

class XTableReporter : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& vecRuns) override;
  void Finalize() override;

  void FreshAdd(const XFreshRow& row) { m_vecFresh.push_back(row); }
  // Where the hit and miss times per catalog size go for the plot.
  void PlotDataSet(const std::string& strPath) { m_strPlotData = strPath; }

 private:
  struct XResult {
    double dNs = 0;  // CPU time per operation, median of the repetitions
    std::map<std::string, double> mapCounters;
  };
  const XResult* Find(const std::string& strName) const;

  std::map<std::string, XResult> m_mapResults;
  std::vector<std::string> m_vecOrder;
  std::vector<XFreshRow> m_vecFresh;
  std::string m_strPlotData;
  std::string m_strContext;
};

}  // namespace bench
