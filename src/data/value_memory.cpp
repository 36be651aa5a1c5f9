#include "data/value_memory.h"

#include <atomic>
#include <cstdlib>

#include "data/allocation_hooks.h"

namespace {

struct AllocationState {
  std::atomic<int> failing{0};
  std::atomic<unsigned long> calls{0};
};

AllocationState allocation;

// Counts the call; true when it must fail on request.
bool injectedFailure() {
  allocation.calls.fetch_add(1, std::memory_order_relaxed);
  int left = allocation.failing.load();
  while (left > 0)
    if (allocation.failing.compare_exchange_weak(left, left - 1))
      return true;
  return false;
}

// Byte size of `count` values (at least 1), or 0 when it does not fit.
size_t byteSize(uint64_t count) {
  if (count > SIZE_MAX / sizeof(uint32_t))
    return 0;
  return count ? static_cast<size_t>(count) * sizeof(uint32_t) : 1;
}

} // namespace

uint32_t *allocateValues(uint64_t count) {
  size_t bytes = byteSize(count);
  if (injectedFailure() || bytes == 0)
    return nullptr;
  return static_cast<uint32_t *>(std::malloc(bytes));
}

bool resizeValues(uint32_t *&block, uint64_t count) {
  size_t bytes = byteSize(count);
  if (injectedFailure() || bytes == 0)
    return false;
  void *resized = std::realloc(block, bytes);
  if (!resized)
    return false;
  block = static_cast<uint32_t *>(resized);
  return true;
}

void releaseValues(uint32_t *block) { std::free(block); }

void failNextAllocations(int count) { allocation.failing.store(count); }
unsigned long allocationCalls() { return allocation.calls.load(); }
