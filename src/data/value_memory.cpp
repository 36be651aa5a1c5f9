#include "data/value_memory.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "data/allocation_hooks.h"

namespace {

struct AllocationState {
  std::atomic<int> failing{0};
  std::atomic<unsigned long> calls{0};
};

AllocationState allocation;

// Count of every live block, for the tests' check that valueCount matches
// what was really allocated. The worker allocates too, hence the lock; a few
// calls per run, so the cost is nothing. Never destroyed: a worker still
// running when the process exits may release its scratch copy after static
// destructors have run.
struct LiveBlocks {
  std::mutex lock;
  std::unordered_map<const uint32_t *, uint64_t> counts;
};

LiveBlocks &liveBlocks() {
  static LiveBlocks *blocks = new LiveBlocks;
  return *blocks;
}

void recordBlock(const uint32_t *released, const uint32_t *block,
                 uint64_t count) {
  LiveBlocks &live = liveBlocks();
  std::lock_guard<std::mutex> held(live.lock);
  if (released)
    live.counts.erase(released);
  if (block)
    live.counts[block] = count;
}

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
  auto *block = static_cast<uint32_t *>(std::malloc(bytes));
  recordBlock(nullptr, block, count);
  return block;
}

bool resizeValues(uint32_t *&block, uint64_t count) {
  size_t bytes = byteSize(count);
  if (injectedFailure() || bytes == 0)
    return false;
  void *resized = std::realloc(block, bytes);
  if (!resized)
    return false;
  recordBlock(block, static_cast<uint32_t *>(resized), count);
  block = static_cast<uint32_t *>(resized);
  return true;
}

void releaseValues(uint32_t *block) {
  recordBlock(block, nullptr, 0);
  std::free(block);
}

void failNextAllocations(int count) { allocation.failing.store(count); }
unsigned long allocationCalls() { return allocation.calls.load(); }
uint64_t allocatedValueCount(const uint32_t *block) {
  LiveBlocks &live = liveBlocks();
  std::lock_guard<std::mutex> held(live.lock);
  auto found = live.counts.find(block);
  return found == live.counts.end() ? 0 : found->second;
}
