// Memory for large arrays with POSIX mappings, in large pages where the
// kernel offers them, made resident at once, so that a few faults serve
// megabytes; on some machines every small page's first write costs more
// than filling it does.
//  - A request of 2 MiB or more gets a mapping of its own, whole large pages
//    that start on a large-page boundary.
//  - A request from 256 KiB is cut from a shared large page, one after the
//    other. A page goes back to the system when its last block is given
//    back; the page blocks are being cut from is instead used again from its
//    start, so that a process that loads and drops dictionaries in turn
//    faults no new memory in.
//  - Smaller requests go to operator new, whose heap reuses what the last
//    dictionary gave back.
// Under AddressSanitizer everything goes to operator new, where the
// sanitizer watches the bounds.
#include "colang/platform/Memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <type_traits>

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

constexpr std::size_t kLargePage = 2 * 1024 * 1024;
constexpr std::size_t kPooledMin = 256 * 1024;

// nBytes rounded up to a multiple of nUnit.
constexpr std::size_t RoundUp(std::size_t nBytes, std::size_t nUnit) { return (nBytes + nUnit - 1) / nUnit * nUnit; }

// The rest of a last large page costs less memory than the small pages that
// would hold it cost time, as each small page faults in on its own.
std::size_t LargePageRound(std::size_t nBytes) { return RoundUp(nBytes, kLargePage); }

// A mapping of nBytes (whole large pages) that starts on a large-page
// boundary: mapped with a large page to spare, the ends around it given
// back; then made resident.
void* LargePagesMap(std::size_t nBytes) {
  void* pMapped = mmap(nullptr, nBytes + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pMapped == MAP_FAILED) throw std::bad_alloc();
  auto* pRaw = static_cast<char*>(pMapped);
  const auto nRaw = reinterpret_cast<std::uintptr_t>(pRaw);
  char* p = pRaw + ((kLargePage - nRaw % kLargePage) % kLargePage);
  if (p != pRaw) munmap(pRaw, static_cast<std::size_t>(p - pRaw));
  char* pEnd = p + nBytes;
  if (pEnd != pRaw + nBytes + kLargePage) munmap(pEnd, static_cast<std::size_t>(pRaw + nBytes + kLargePage - pEnd));
#ifdef MADV_HUGEPAGE
  madvise(p, nBytes, MADV_HUGEPAGE);
#endif
  madvise(p, nBytes, MADV_POPULATE_WRITE);
  return p;
}

// --- the shared large pages ------------------------------------------------------

// A shared large page begins with its account; blocks follow, each on a
// boundary of kBlockAlign, so that the page a block lies in is found from
// its address alone.
struct XPoolPage {
  std::size_t nUsed;  // bytes from the page's start cut so far, the account included
  std::size_t nLive;  // blocks not yet given back
};
constexpr std::size_t kBlockAlign = 64;
constexpr std::size_t kPageHead = RoundUp(sizeof(XPoolPage), kBlockAlign);
constexpr std::size_t kPooledMax = kLargePage - kPageHead;

struct XPool {
  std::mutex mutex;
  XPoolPage* pCurrent = nullptr;  // the page blocks are being cut from
};

// Dictionaries that live as long as the process give their blocks back at
// exit, perhaps after this pool's turn to be destroyed has come: it has
// nothing to destroy, so it is there for them.
static_assert(std::is_trivially_destructible<XPool>::value, "the pool must outlive every dictionary");

XPool& Pool() {
  static XPool pool;
  return pool;
}

void* PoolAlloc(std::size_t nBytes) {
  const std::size_t nRounded = RoundUp(nBytes, kBlockAlign);
  XPool& pool = Pool();
  std::lock_guard<std::mutex> lock(pool.mutex);
  if (pool.pCurrent == nullptr || pool.pCurrent->nUsed + nRounded > kLargePage) {
    // A page with no block left was started anew when its last block went,
    // so a full page still has blocks: it goes when they do.
    auto* pPage = static_cast<XPoolPage*>(LargePagesMap(kLargePage));
    *pPage = {kPageHead, 0};
    pool.pCurrent = pPage;
  }
  char* p = reinterpret_cast<char*>(pool.pCurrent) + pool.pCurrent->nUsed;
  pool.pCurrent->nUsed += nRounded;
  ++pool.pCurrent->nLive;
  return p;
}

void PoolFree(void* p) noexcept {
  auto* pPage = reinterpret_cast<XPoolPage*>(reinterpret_cast<std::uintptr_t>(p) & ~(kLargePage - 1));
  XPool& pool = Pool();
  std::lock_guard<std::mutex> lock(pool.mutex);
  if (--pPage->nLive != 0) return;
  if (pPage == pool.pCurrent)
    pPage->nUsed = kPageHead;
  else
    munmap(pPage, kLargePage);
}

enum class EKind { eHeap, ePooled, eMapped };

EKind KindOf(std::size_t nBytes) {
  if (!COLANG_BULK_MAPPED || nBytes < kPooledMin) return EKind::eHeap;
  return nBytes <= kPooledMax ? EKind::ePooled : EKind::eMapped;
}

}  // namespace

void* BulkAlloc(std::size_t nBytes) {
  switch (KindOf(nBytes)) {
    case EKind::eHeap:
      return ::operator new(nBytes);
    case EKind::ePooled:
      return PoolAlloc(nBytes);
    case EKind::eMapped:
      break;
  }
  if (nBytes > SIZE_MAX / 2) throw std::bad_alloc();
  return LargePagesMap(LargePageRound(nBytes));
}

// A mapping of its own is fresh from the system, which clears its pages; a
// shared page may be used again.
bool BulkZeroed(std::size_t nBytes) noexcept { return KindOf(nBytes) == EKind::eMapped; }

void BulkFree(void* p, std::size_t nBytes) noexcept {
  if (p == nullptr) return;
  switch (KindOf(nBytes)) {
    case EKind::eHeap:
      ::operator delete(p);
      break;
    case EKind::ePooled:
      PoolFree(p);
      break;
    case EKind::eMapped:
      munmap(p, LargePageRound(nBytes));
      break;
  }
}

}  // namespace colang::platform
