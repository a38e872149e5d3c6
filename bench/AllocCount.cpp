// The counting allocator: malloc and its relatives replaced in the program,
// each counting and then calling glibc's own implementation. The counter is
// a plain integer: the benchmarks run on one thread.
#include "AllocCount.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <string>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {
std::uint64_t g_nAllocs = 0;
}  // namespace

extern "C" {
void* malloc(std::size_t n) {
  ++g_nAllocs;
  return __libc_malloc(n);
}
void* calloc(std::size_t n, std::size_t nSize) {
  ++g_nAllocs;
  return __libc_calloc(n, nSize);
}
void* realloc(void* p, std::size_t n) {
  ++g_nAllocs;
  return __libc_realloc(p, n);
}
void* memalign(std::size_t nAlign, std::size_t n) {
  ++g_nAllocs;
  return __libc_memalign(nAlign, n);
}
void* aligned_alloc(std::size_t nAlign, std::size_t n) { return memalign(nAlign, n); }
int posix_memalign(void** pp, std::size_t nAlign, std::size_t n) {
  void* p = memalign(nAlign, n);
  if (p == nullptr) return 12;  // ENOMEM
  *pp = p;
  return 0;
}
void free(void* p) { __libc_free(p); }
}

namespace bench {

std::uint64_t AllocCount() { return g_nAllocs; }

XResident ResidentSplit(const std::string& strDir) {
  XResident resident;
  std::ifstream in("/proc/self/smaps");
  std::string strLine;
  bool bCatalog = false;
  while (std::getline(in, strLine)) {
    unsigned long long nKb = 0;
    const std::size_t nSpace = strLine.find(' ');
    if (nSpace != std::string::npos && strLine.find('-') < nSpace) {
      // A mapping's first line: "start-end perms offset dev inode [path]".
      const std::size_t nPath = strLine.find('/');
      bCatalog = nPath != std::string::npos && strLine.compare(nPath, strDir.size(), strDir) == 0;
    } else if (std::sscanf(strLine.c_str(), "Anonymous: %llu kB", &nKb) == 1) {
      resident.nAnon += nKb * 1024;
    } else if (bCatalog && std::sscanf(strLine.c_str(), "Rss: %llu kB", &nKb) == 1) {
      resident.nFile += nKb * 1024;
    }
  }
  return resident;
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
