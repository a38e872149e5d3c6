// Memory for large arrays on Windows: the process heap, through operator new.
#include "colang/platform/Memory.h"

namespace colang::platform {

void* BulkAlloc(std::size_t nBytes) { return ::operator new(nBytes); }

void BulkFree(void* p, std::size_t) noexcept { ::operator delete(p); }

// The heap reuses memory, so nothing it gives is known to be clear.
bool BulkZeroed(std::size_t) noexcept { return false; }

}  // namespace colang::platform
