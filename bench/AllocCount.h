// Counts the heap allocations made through operator new anywhere in the
// process, the library included (its calls resolve to the benchmark's
// replacement), so that a benchmark can report allocations per operation.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Allocations through operator new since the process started.
std::uint64_t AllocCount();

// Resident set size of this process in bytes, from /proc/self/statm.
std::uint64_t ResidentBytes();

// What the first write to a fresh 4 KiB page of memory costs on this
// machine, in microseconds: the best of a few passes over a new 16 MiB
// mapping. A load that gets its memory fresh from the system pays it for
// every page it fills.
double PageFirstWriteMicros();

}  // namespace bench
