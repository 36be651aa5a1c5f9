// The allocator of test builds, in place of src/data/system_memory.cpp: the
// C library's, with failures on request and a record of every live block
// for the tests' check that valueCount matches what was really allocated.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "data/allocation_hooks.h"
#include "data/system_memory.h"

namespace {

struct TestMemory {
  std::atomic<int> failing{0};
  std::mutex lock; // the worker allocates too
  // By address as a number: a reallocated block's old address is only a key
  // (and GCC warns of any use of a pointer after realloc).
  std::unordered_map<uintptr_t, size_t> bytes;
};

// Never destroyed: a worker still running when the process exits may
// release its scratch copy after static destructors have run.
TestMemory &memory() {
  static TestMemory *state = new TestMemory;
  return *state;
}

bool failsNow() {
  std::atomic<int> &failing = memory().failing;
  int left = failing.load();
  while (left > 0)
    if (failing.compare_exchange_weak(left, left - 1))
      return true;
  return false;
}

uintptr_t address(const void *block) {
  return reinterpret_cast<uintptr_t>(block);
}

void record(uintptr_t released, const void *block, size_t bytes) {
  TestMemory &state = memory();
  std::lock_guard<std::mutex> held(state.lock);
  if (released)
    state.bytes.erase(released);
  if (block)
    state.bytes[address(block)] = bytes;
}

} // namespace

void *systemAllocate(size_t bytes) {
  if (failsNow())
    return nullptr;
  void *block = std::malloc(bytes);
  record(0, block, bytes);
  return block;
}

void *systemReallocate(void *block, size_t bytes) {
  if (failsNow())
    return nullptr;
  uintptr_t old = address(block);
  void *resized = std::realloc(block, bytes);
  if (resized)
    record(old, resized, bytes);
  return resized;
}

void systemRelease(void *block) {
  record(address(block), nullptr, 0);
  std::free(block);
}

void failNextAllocations(int count) { memory().failing.store(count); }

uint64_t allocatedValueCount(const uint32_t *block) {
  TestMemory &state = memory();
  std::lock_guard<std::mutex> held(state.lock);
  auto found = state.bytes.find(address(block));
  return found == state.bytes.end() ? 0 : found->second / sizeof(uint32_t);
}
