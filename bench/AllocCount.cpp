// The counting operator new: every form of global new and delete, on malloc
// and free. The counter is a plain integer: the benchmarks run on one thread.
#include "AllocCount.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

double PageFirstWriteMicros() {
  constexpr std::size_t nBytes = 16u << 20, nPage = 4096;
  double dBest = -1;
  for (int nPass = 0; nPass < 5; ++nPass) {
    void* p = mmap(nullptr, nBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return -1;
    const auto t0 = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < nBytes; i += nPage) static_cast<volatile char*>(p)[i] = 1;
    const auto t1 = std::chrono::steady_clock::now();
    munmap(p, nBytes);
    const double d = std::chrono::duration<double, std::micro>(t1 - t0).count() / (nBytes / nPage);
    dBest = dBest < 0 ? d : std::min(dBest, d);
  }
  return dBest;
}

}  // namespace bench
