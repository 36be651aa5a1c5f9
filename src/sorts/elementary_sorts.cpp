// Bubble, selection, insertion and shell sort. The first three never pause
// and run at the worker's full speed; shell sort counts every move.
#include "sorts/sort_catalogue.h"

DWORD WINAPI bubbleSort(LPVOID) {
  uint32_t *a = currentValues();
  uint32_t n = valueCount;
  if (n == 0)
    return 1;
  for (uint32_t limit = n - 1; limit > 0; --limit) {
    bool exchanged = false;
    for (uint32_t j = 0; j < limit; ++j) {
      uint32_t left = a[j];
      uint32_t right = a[j + 1];
      if (left > right) {
        storeShared(a, j, right);
        storeShared(a, j + 1, left);
        exchanged = true;
      }
    }
    if (!exchanged)
      break;
  }
  return 1;
}

DWORD WINAPI selectionSort(LPVOID) {
  uint32_t *a = currentValues();
  uint32_t n = valueCount;
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t min = a[i];
    uint32_t minIndex = i;
    for (uint32_t j = i + 1; j < n; ++j) {
      if (a[j] < min) {
        min = a[j];
        minIndex = j;
      }
    }
    if (min != a[i]) {
      storeShared(a, minIndex, a[i]);
      storeShared(a, i, min);
    }
  }
  return 1;
}

DWORD WINAPI insertionSort(LPVOID) {
  uint32_t *a = currentValues();
  uint32_t n = valueCount;
  for (uint32_t i = 1; i < n; ++i) {
    uint32_t key = a[i];
    // Walked by pointer: the store then needs no address of its own.
    uint32_t *hole = a + i;
    while (hole > a && hole[-1] > key) {
      storeShared(hole, 0, hole[-1]);
      --hole;
    }
    storeShared(hole, 0, key);
  }
  return 1;
}

DWORD WINAPI shellSort(LPVOID) {
  uint32_t n = valueCount;
  // Largest term of 1, 4, 13, 40, ... below n (0 for n <= 1). In 64 bits,
  // since the term past the largest 32-bit size does not fit 32 bits.
  uint64_t h = 1;
  if (n > 1)
    while (h < n)
      h = 3 * h + 1;
  uint32_t *a = currentValues();
  for (uint32_t gap = static_cast<uint32_t>(h / 3); gap > 0; gap /= 3) {
    for (uint32_t chain = 0; chain < gap; ++chain) {
      for (uint64_t i = uint64_t{chain} + gap; i < n; i += gap) {
        uint32_t key = a[i];
        int64_t t = static_cast<int64_t>(i) - gap;
        while (t >= 0 && a[t] > key) {
          storeShared(a, static_cast<size_t>(t) + gap, a[t]);
          if (countStep())
            a = currentValues();
          t -= gap;
        }
        storeShared(a, static_cast<size_t>(t + gap), key);
      }
    }
  }
  return 1;
}
