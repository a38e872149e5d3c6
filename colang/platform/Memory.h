// Memory for the large arrays of a dictionary and of reading a catalog:
// arrays that are written in full as soon as they are made. Where the system
// allows it, large requests are mapped on their own and made resident in one
// step, in large pages when the size is worth one, rather than page by page
// as each page is first written; on some systems that first write costs far
// more than filling the page does.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace colang::platform {

// nBytes of memory aligned for any type; throws std::bad_alloc.
void* BulkAlloc(std::size_t nBytes);
// Gives back memory from BulkAlloc; nBytes as it was asked for.
void BulkFree(void* p, std::size_t nBytes) noexcept;
// Whether memory that BulkAlloc gives for nBytes reads as zeros: fresh from
// the system, not reused, so that a caller needs not clear it again.
bool BulkZeroed(std::size_t nBytes) noexcept;

// BulkAlloc for the standard containers. Elements made without a value are
// left as they come, not zeroed: these arrays are written in full right
// after they are made.
template <typename T>
struct XBulkAllocator {
  using value_type = T;
  XBulkAllocator() = default;
  template <typename U>
  XBulkAllocator(const XBulkAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(BulkAlloc(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { BulkFree(p, n * sizeof(T)); }
  template <typename U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible<U>::value) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <typename U>
  bool operator==(const XBulkAllocator<U>&) const noexcept {
    return true;
  }
  template <typename U>
  bool operator!=(const XBulkAllocator<U>&) const noexcept {
    return false;
  }
};

}  // namespace colang::platform
