// The counting operator new: every form of global new and delete, on malloc
// and free. The counter is a plain integer: the benchmarks run on one thread.
#include "AllocCount.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {
std::uint64_t g_nAllocs = 0;

void* AllocCounted(std::size_t n) {
  ++g_nAllocs;
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) { return AllocCounted(n); }
void* operator new[](std::size_t n) { return AllocCounted(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  ++g_nAllocs;
  return std::malloc(n == 0 ? 1 : n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  ++g_nAllocs;
  return std::malloc(n == 0 ? 1 : n);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace bench {

std::uint64_t AllocCount() { return g_nAllocs; }

std::uint64_t ResidentBytes() {
  unsigned long nPages = 0, nResident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%lu %lu", &nPages, &nResident) != 2) nResident = 0;
    std::fclose(f);
  }
  return static_cast<std::uint64_t>(nResident) * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace bench
