#include "app/program_state.h"
#include "data/data_set.h"
#include "data/value_memory.h"

bool shuffleValues() {
  if (runActive)
    return true;
  bool resized = true;
  if (requestedSize >= 0 &&
      valueCount != static_cast<uint32_t>(requestedSize)) {
    uint32_t *block = values.load(std::memory_order_relaxed);
    if (resizeValues(block, static_cast<uint32_t>(requestedSize))) {
      values.store(block, std::memory_order_relaxed);
      valueCount = static_cast<uint32_t>(requestedSize);
    } else {
      // Keep the old block and its size rather than lose the data set.
      resized = false;
      requestedSize = static_cast<int32_t>(valueCount);
    }
  }
  // No worker exists here, so plain stores are safe.
  uint32_t *a = values.load(std::memory_order_relaxed);
  uint32_t n = valueCount;
  for (uint32_t k = 0; k < n; ++k)
    a[k] = k;
  // 3n in 64 bits: in 32 bits it would wrap for n above 1431655765.
  for (uint64_t round = 3ull * n; round > 0; --round) {
    uint32_t first = wellNext() % n;
    uint32_t second = wellNext() % n;
    uint32_t held = a[first];
    a[first] = a[second];
    a[second] = held;
  }
  return resized;
}
