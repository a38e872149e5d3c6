// colang's benchmark cases. Each is registered as "case/side/size" (side
// colang or floor) and checks every answer it will time before timing.
#pragma once

#include <string>
#include <vector>

#include "Catalog.h"
#include "Report.h"

namespace bench {

// Registers every case over the catalogs (1k, 10k, 100k, in this order).
// The 10k catalog provides the pattern, menu and window cases.
void BenchmarksRegister(const std::vector<XBenchCatalog>& vecCatalogs);

// Loads the catalog into the library once, before any benchmark runs, so that
// pattern translation collects the 10k catalog's patterns; false if the
// library does not give the expected pattern translation.
bool PatternsPin(const XBenchCatalog& catalog);

// In a fresh process: reads the catalog once as the floor does, then loads
// it (compiled, or with bText its copy as text) and looks up every text key once, and prints the times of the load and
// of load and pass together, the growth of the resident set over them
// (anonymous and file-backed) and the floor pass's time (wall clock, ns):
// "nsLoad nsLoadAndPass anonBytes fileBytes nsFloor". Returns the process
// exit code.
int FreshChildRun(const XBenchCatalog& catalog, bool bText);

}  // namespace bench
