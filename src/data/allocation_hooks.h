// Test-only control of value allocations: make the next allocations fail as
// if memory had run out. The program's own code never includes this header.
#pragma once

// The next `count` calls of allocateValues or resizeValues fail.
void failNextAllocations(int count);
// Calls of allocateValues and resizeValues since the start of the process.
unsigned long allocationCalls();
