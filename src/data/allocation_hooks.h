// Test-only control of value allocations (tests/support/test_memory.cpp,
// linked into test builds only). The program's own code never includes this
// header.
#pragma once

#include <cstdint>

// The next `count` allocations or reallocations fail as if memory had run
// out.
void failNextAllocations(int count);
// Values allocated for a live block from allocateValues or resizeValues; 0
// for null or a block already released.
uint64_t allocatedValueCount(const uint32_t *block);
