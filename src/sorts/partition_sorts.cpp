// Quick sort (insertion sort below 301 elements) and radix exchange sort.
// The lower part of every split is recursed into, the upper part handled by
// the same invocation's loop.
#include "sorts/sort_catalogue.h"

namespace {
constexpr uint32_t quickSortCutoff = 300;
}

void quickSortRange(uint32_t *a, uint32_t count) {
  while (count > quickSortCutoff) {
    // The sum in 64 bits keeps the pivot between the two end values for any
    // 32-bit input; the scans below rely on that, as they test no bounds.
    uint32_t pivot = static_cast<uint32_t>((uint64_t{a[0]} + a[count - 1]) / 2);
    uint32_t i = 0;
    uint32_t j = count - 1;
    for (;;) {
      while (a[i] < pivot)
        ++i;
      while (a[j] > pivot)
        --j;
      if (j <= i)
        break;
      uint32_t held = a[i];
      storeShared(a, i, a[j]);
      storeShared(a, j, held);
      ++i;
      --j;
    }
    uint32_t boundary = j + 1;
    quickSortRange(a, boundary);
    a += boundary;
    count -= boundary;
  }
  for (uint32_t i = 1; i < count; ++i) {
    uint32_t key = a[i];
    uint32_t j = i;
    while (j > 0 && a[j - 1] > key) {
      storeShared(a, j, a[j - 1]);
      countStep();
      --j;
    }
    storeShared(a, j, key);
  }
}

DWORD WINAPI quickSort(LPVOID) {
  quickSortRange(currentValues(), valueCount);
  return 1;
}

void radixExchangeRange(uint32_t *a, uint32_t count, uint32_t mask) {
  while (count > 1) {
    uint32_t i = 0;
    uint32_t j = count - 1;
    uint32_t boundary;
    for (;;) {
      while ((a[i] & mask) == 0 && i < j)
        ++i;
      bool ended = false;
      while (a[j] & mask) {
        if (i >= j) {
          boundary = j;
          ended = true;
          break;
        }
        --j;
      }
      if (ended)
        break;
      if (i >= j) {
        boundary = j + 1;
        break;
      }
      uint32_t held = a[i];
      storeShared(a, i, a[j]);
      storeShared(a, j, held);
      countStep();
      ++i;
      --j;
    }
    if (mask == 1)
      return;
    radixExchangeRange(a, boundary, mask >> 1);
    a += boundary;
    count -= boundary;
    mask >>= 1;
  }
}

DWORD WINAPI radixExchangeSort(LPVOID) {
  radixExchangeRange(currentValues(), valueCount, 0x80000000u);
  return 1;
}
