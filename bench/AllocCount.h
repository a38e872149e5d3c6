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

}  // namespace bench
