// A limit on the size of one global or local memory block, for tests of out-of-memory paths.
//
// Not part of the platform's interface: only the platform layer itself and tests use it.
#pragma once

#include <cstddef>

namespace host {

// GlobalAlloc, LocalAlloc and their ReAlloc refuse a block larger than this many bytes
// (ERROR_NOT_ENOUGH_MEMORY), as on a machine out of memory; 0 lifts the limit.
void SetMemoryBlockLimit(std::size_t bytes);

}  // namespace host
