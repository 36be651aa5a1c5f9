// The allocator beneath value_memory.cpp. The program links
// system_memory.cpp (malloc, realloc, free); test builds link their own
// (tests/support/test_memory.cpp: failures on request, a count of every live
// block), so that no instrumentation ships. Sizes are in bytes, never 0.
#pragma once

#include <cstddef>

void *systemAllocate(size_t bytes);
// On failure returns null and leaves `block` as it was.
void *systemReallocate(void *block, size_t bytes);
void systemRelease(void *block);
