#include "data/value_memory.h"

#include "data/system_memory.h"

namespace {

// Byte size of `count` values (at least 1), or 0 when it does not fit.
size_t byteSize(uint64_t count) {
  if (count > SIZE_MAX / sizeof(uint32_t))
    return 0;
  return count ? static_cast<size_t>(count) * sizeof(uint32_t) : 1;
}

} // namespace

uint32_t *allocateValues(uint64_t count) {
  size_t bytes = byteSize(count);
  return bytes ? static_cast<uint32_t *>(systemAllocate(bytes)) : nullptr;
}

bool resizeValues(uint32_t *&block, uint64_t count) {
  size_t bytes = byteSize(count);
  void *resized = bytes ? systemReallocate(block, bytes) : nullptr;
  if (!resized)
    return false;
  block = static_cast<uint32_t *>(resized);
  return true;
}

void releaseValues(uint32_t *block) { systemRelease(block); }
