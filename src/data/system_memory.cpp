// The program's allocator: the C library's, nothing added.
#include "data/system_memory.h"

#include <cstdlib>

void *systemAllocate(size_t bytes) { return std::malloc(bytes); }
void *systemReallocate(void *block, size_t bytes) {
  return std::realloc(block, bytes);
}
void systemRelease(void *block) { std::free(block); }
