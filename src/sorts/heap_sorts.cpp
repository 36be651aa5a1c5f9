// Heap sort (build by insertion) and bottom-up heap sort, sharing the
// extraction phase. Heap position k (1-based) lives at array index k - 1, so
// the heap covers all n elements; the sentinel above the root is the bound
// test k > 1 rather than a stored value, so no element is overwritten and
// values of any size climb correctly.
#include "sorts/sort_catalogue.h"

namespace {

// Value at heap position k.
inline uint32_t at(const uint32_t *a, uint32_t k) { return a[k - 1]; }
inline void put(uint32_t *a, uint32_t k, uint32_t v) {
  storeShared(a, k - 1, v);
}

// Places v starting at heap position k in a heap of `size` elements: a child
// moves up only when strictly greater; of equal children the left is taken.
void siftDown(uint32_t *a, uint32_t k, uint32_t size, uint32_t v) {
  uint32_t half = size / 2;
  while (k <= half) {
    uint32_t p = 2 * k;
    if (p < size && at(a, p) < at(a, p + 1))
      ++p;
    uint32_t child = at(a, p);
    if (child <= v)
      break;
    put(a, k, child);
    k = p;
  }
  put(a, k, v);
}

// Moves the maximum to the end m times; the sorted tail grows downwards.
void extractAll(uint32_t m) {
  uint32_t *a = currentValues();
  for (uint32_t i = m; i >= 1; --i) {
    uint32_t top = at(a, 1);
    uint32_t last = at(a, heapSize);
    put(a, 1, last);
    heapSize = heapSize - 1;
    siftDown(a, 1, heapSize, last);
    put(a, i, top);
    if (countStep())
      a = currentValues();
  }
}

} // namespace

DWORD WINAPI heapSort(LPVOID) {
  uint32_t m = valueCount;
  uint32_t *a = currentValues();
  heapSize = 0;
  for (uint32_t j = 1; j <= m; ++j) {
    heapSize = j;
    uint32_t v = at(a, j);
    uint32_t k = j;
    // An equal parent stops the climb; the root stops it at the latest.
    while (k > 1 && at(a, k / 2) < v) {
      put(a, k, at(a, k / 2));
      k /= 2;
    }
    put(a, k, v);
    if (countStep())
      a = currentValues();
  }
  extractAll(m);
  return 1;
}

DWORD WINAPI bottomUpHeapSort(LPVOID) {
  uint32_t m = valueCount;
  uint32_t *a = currentValues();
  heapSize = m;
  for (uint32_t i = m / 2; i >= 1; --i) {
    siftDown(a, i, heapSize, at(a, i));
    if (countStep())
      a = currentValues();
  }
  extractAll(m);
  return 1;
}
