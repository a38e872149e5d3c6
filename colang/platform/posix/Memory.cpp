// Memory for large arrays with POSIX mappings. A request of 2 MiB or more
// gets a mapping of its own that starts on a 2 MiB boundary, asks for large
// pages and is made resident at once, so that a few faults serve megabytes.
// Smaller requests go to operator new, whose heap reuses what the last
// dictionary gave back. Under AddressSanitizer everything goes to operator
// new, where the sanitizer watches the bounds.
#include "colang/platform/Memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

// Linux 5.14 and later; older kernels refuse it and the pages fault in as
// they are written.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

#if defined(__SANITIZE_ADDRESS__)
#define COLANG_BULK_MAPPED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COLANG_BULK_MAPPED 0
#endif
#endif
#ifndef COLANG_BULK_MAPPED
#define COLANG_BULK_MAPPED 1
#endif

namespace colang::platform {
namespace {

constexpr std::size_t nLargePage = 2 * 1024 * 1024;
constexpr std::size_t nMappedMin = nLargePage;

std::size_t PageRound(std::size_t nBytes) {
  static const std::size_t nPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return (nBytes + nPage - 1) / nPage * nPage;
}

// A mapping of nBytes (page-rounded) that starts on a large-page boundary:
// mapped with a large page to spare, the ends around it given back.
void* MapAligned(std::size_t nBytes) {
  void* pMapped = mmap(nullptr, nBytes + nLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pMapped == MAP_FAILED) throw std::bad_alloc();
  auto* pRaw = static_cast<char*>(pMapped);
  const auto nRaw = reinterpret_cast<std::uintptr_t>(pRaw);
  char* p = pRaw + ((nLargePage - nRaw % nLargePage) % nLargePage);
  if (p != pRaw) munmap(pRaw, static_cast<std::size_t>(p - pRaw));
  char* pEnd = p + nBytes;
  if (pEnd != pRaw + nBytes + nLargePage) munmap(pEnd, static_cast<std::size_t>(pRaw + nBytes + nLargePage - pEnd));
  return p;
}

}  // namespace

void* BulkAlloc(std::size_t nBytes) {
  if (!COLANG_BULK_MAPPED || nBytes < nMappedMin) return ::operator new(nBytes);
  if (nBytes > SIZE_MAX / 2) throw std::bad_alloc();
  const std::size_t nMapped = PageRound(nBytes);
  void* p = MapAligned(nMapped);
#ifdef MADV_HUGEPAGE
  madvise(p, nMapped, MADV_HUGEPAGE);
#endif
  madvise(p, nMapped, MADV_POPULATE_WRITE);
  return p;
}

// A mapping of its own is fresh from the system, which clears its pages.
bool BulkZeroed(std::size_t nBytes) noexcept { return COLANG_BULK_MAPPED && nBytes >= nMappedMin; }

void BulkFree(void* p, std::size_t nBytes) noexcept {
  if (p == nullptr) return;
  if (!COLANG_BULK_MAPPED || nBytes < nMappedMin)
    ::operator delete(p);
  else
    munmap(p, PageRound(nBytes));
}

}  // namespace colang::platform
