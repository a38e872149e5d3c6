// Counts the heap allocations made anywhere in the process: malloc and its
// relatives are replaced in the benchmark program, so that operator new (the
// library's included) and the peers' own calls to malloc are counted alike,
// and a benchmark can report allocations per operation. Also measures the
// resident set.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Allocations (malloc, calloc, realloc, aligned forms) since the process started.
std::uint64_t AllocCount();

// The resident set of this process in bytes that a catalog can account for:
// the anonymous pages (heap and private mappings), and the pages of files
// under strDir that the process maps, which another process mapping the same
// files shares. Pages of the libraries' code are neither. From
// /proc/self/smaps.
struct XResident {
  std::uint64_t nAnon = 0;
  std::uint64_t nFile = 0;
};
XResident ResidentSplit(const std::string& strDir);

// What the first write to a fresh 4 KiB page of memory costs on this
// machine, in microseconds: the best of a few passes over a new 16 MiB
// mapping. A load that gets its memory fresh from the system pays it for
// every page it fills.
double PageFirstWriteMicros();

}  // namespace bench
