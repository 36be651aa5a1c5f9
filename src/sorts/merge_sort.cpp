// Bottom-up merge sort over two buffers. At the end of each pass the shared
// values pointer moves to the buffer just written, so the plot advances pass
// by pass. The buffer no longer shown at the end is handed to retiredBuffer
// instead of being released here: the plot may still be reading it.
#include <algorithm>

#include "data/value_memory.h"
#include "sorts/sort_catalogue.h"

namespace {
constexpr uint32_t mergeStepsPerPause = 1000;
}

DWORD WINAPI mergeSort(LPVOID) {
  uint32_t n = valueCount;
  uint32_t *spare = allocateScratch(n);
  if (!spare)
    return 1;
  if (n <= 1) {
    releaseValues(spare); // never shown
    return 1;
  }
  uint32_t steps = 0;
  uint32_t *source = currentValues();
  uint32_t *target = spare;
  for (uint64_t width = 1; width < n; width *= 2) {
    for (uint64_t start = 0; start < n; start += 2 * width) {
      uint32_t mid =
          static_cast<uint32_t>(std::min<uint64_t>(start + width, n));
      uint32_t end = static_cast<uint32_t>(std::min<uint64_t>(mid + width, n));
      uint32_t left = static_cast<uint32_t>(start);
      uint32_t right = mid;
      uint32_t out = left;
      while (left < mid && right < end) {
        uint32_t a = source[left];
        uint32_t b = source[right];
        // On equal heads the right run's element goes first.
        if (a < b) {
          storeShared(target, out++, a);
          ++left;
        } else {
          storeShared(target, out++, b);
          ++right;
        }
        if (++steps % mergeStepsPerPause == 0) {
          Sleep(1);
          source = currentValues();
        }
      }
      while (left < mid)
        storeShared(target, out++, source[left++]);
      while (right < end)
        storeShared(target, out++, source[right++]);
    }
    showValues(target);
    std::swap(source, target);
  }
  // `target` is now the buffer not shown. Any earlier one not yet collected
  // is released here: it belongs to a run whose end was noticed long ago.
  releaseValues(retireBuffer(target));
  return 1;
}
