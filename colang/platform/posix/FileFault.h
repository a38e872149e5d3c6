// Emulation-only control for tests: makes file reads fail part-way, which a
// real file system offers no portable way to do.
#pragma once

namespace colang::platform {

// From now on, reads fail once nBytes bytes have been read through all
// handles together; a negative count ends the fault.
void FileReadFaultSet(long long nBytes);

}  // namespace colang::platform
