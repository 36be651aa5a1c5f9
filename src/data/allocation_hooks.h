// Test-only control of value allocations: make the next allocations fail as
// if memory had run out. The program's own code never includes this header.
#pragma once

#include <cstdint>

// The next `count` calls of allocateValues or resizeValues fail.
void failNextAllocations(int count);
// Calls of allocateValues and resizeValues since the start of the process.
unsigned long allocationCalls();
// Values allocated for a live block from allocateValues or resizeValues; 0
// for null or a block already released.
uint64_t allocatedValueCount(const uint32_t *block);
