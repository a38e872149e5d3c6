// The tables of bench/run: collects the median of every benchmark's
// repetitions (its name is "case/side/size") and, at the end, prints each
// case and size as one row, colang beside each peer with the ratio (the
// peer's time over colang's), the allocations per operation, the loads in
// fresh processes and the targets.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

// One library's first load of one catalog in fresh processes, as an
// application loads its catalog at its start: the medians over the processes.
struct XFreshRow {
  std::string strSide;  // "colang" or a peer's name
  std::string strLabel;
  std::size_t nEntries = 0;
  double dLoadNs = 0;             // the first load, wall clock
  double dPassNs = 0;             // the first load and one lookup of every text key
  double dAnonPerEntry = 0;       // growth of the anonymous resident set over both
  double dFilePerEntry = 0;       // growth of the file-backed (shareable) resident set
  double dFileBytesPerEntry = 0;  // the size of the file the library reads
  double dFloorNs = 0;            // colang: the plain read-and-split pass in the same process
};

class XTableReporter : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& vecRuns) override;
  void Finalize() override;

  // The peers, as (side name, label), in the order of the columns.
  void PeersSet(std::vector<std::pair<std::string, std::string>> vecPeers) { m_vecPeers = std::move(vecPeers); }
  void FreshAdd(const XFreshRow& row) { m_vecFresh.push_back(row); }
  // Where the hit and miss times per catalog size go for the plot.
  void PlotDataSet(const std::string& strPath) { m_strPlotData = strPath; }

 private:
  struct XResult {
    double dNs = 0;  // CPU time per operation, median of the repetitions
    std::map<std::string, double> mapCounters;
  };
  const XResult* Find(const std::string& strName) const;
  double Ns(const std::string& strName) const;
  double Allocs(const std::string& strName) const;
  const XFreshRow* FreshFind(const std::string& strSide, const std::string& strLabel) const;
  void LookupTable() const;
  void LoadTable() const;
  void FreshTable() const;
  void Targets() const;
  void PlotWrite() const;

  std::map<std::string, XResult> m_mapResults;
  std::vector<std::pair<std::string, std::string>> m_vecPeers;
  std::vector<XFreshRow> m_vecFresh;
  std::string m_strPlotData;
};

}  // namespace bench
