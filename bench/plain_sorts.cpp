// The plain copy: each routine below is its src/sorts/ counterpart line for
// line, with storeShared(a, i, v) written a[i] = v and the shared pointer and
// interval read plainly. Keep the two in step when a routine changes.
#include "plain_sorts.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/program_state.h"
#include "data/value_memory.h"
#include "sorts/sort_catalogue.h"

namespace plain {

uint32_t *values = nullptr;
uint32_t yieldInterval = 1000;
uint32_t *retiredBuffer = nullptr;
uint32_t scratchFailed = 0;

namespace {

inline bool countStep() {
  operationCount = operationCount + 1;
  uint32_t interval = yieldInterval;
  if (interval == 0 || operationCount % interval != 0)
    return false;
  Sleep(1);
  return true;
}

} // namespace

// ---- elementary ---------------------------------------------------------
DWORD WINAPI bubbleSort(LPVOID) {
  uint32_t *a = values;
  uint32_t n = valueCount;
  if (n == 0)
    return 1;
  for (uint32_t limit = n - 1; limit > 0; --limit) {
    bool exchanged = false;
    for (uint32_t j = 0; j < limit; ++j) {
      uint32_t left = a[j];
      uint32_t right = a[j + 1];
      if (left > right) {
        a[j] = right;
        a[j + 1] = left;
        exchanged = true;
      }
    }
    if (!exchanged)
      break;
  }
  return 1;
}

DWORD WINAPI selectionSort(LPVOID) {
  uint32_t *a = values;
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
      a[minIndex] = a[i];
      a[i] = min;
    }
  }
  return 1;
}

DWORD WINAPI insertionSort(LPVOID) {
  uint32_t *a = values;
  uint32_t n = valueCount;
  for (uint32_t i = 1; i < n; ++i) {
    uint32_t key = a[i];
    uint32_t j = i;
    while (j > 0 && a[j - 1] > key) {
      a[j] = a[j - 1];
      --j;
    }
    a[j] = key;
  }
  return 1;
}

DWORD WINAPI shellSort(LPVOID) {
  uint32_t n = valueCount;
  uint64_t h = 1;
  if (n > 1)
    while (h < n)
      h = 3 * h + 1;
  uint32_t *a = values;
  for (uint32_t gap = static_cast<uint32_t>(h / 3); gap > 0; gap /= 3) {
    for (uint32_t chain = 0; chain < gap; ++chain) {
      for (uint64_t i = uint64_t{chain} + gap; i < n; i += gap) {
        uint32_t key = a[i];
        int64_t t = static_cast<int64_t>(i) - gap;
        while (t >= 0 && a[t] > key) {
          a[static_cast<size_t>(t) + gap] = a[t];
          if (countStep())
            a = values;
          t -= gap;
        }
        a[static_cast<size_t>(t + gap)] = key;
      }
    }
  }
  return 1;
}

// ---- partition ----------------------------------------------------------
namespace {
constexpr uint32_t quickSortCutoff = 300;
}

// External, as the real ones are, so that the compiler treats both alike.
void quickSortRange(uint32_t *a, uint32_t count);
void radixExchangeRange(uint32_t *a, uint32_t count, uint32_t mask);

void quickSortRange(uint32_t *a, uint32_t count) {
  while (count > quickSortCutoff) {
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
      a[i] = a[j];
      a[j] = held;
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
      a[j] = a[j - 1];
      countStep();
      --j;
    }
    a[j] = key;
  }
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
      a[i] = a[j];
      a[j] = held;
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

DWORD WINAPI quickSort(LPVOID) {
  quickSortRange(values, valueCount);
  return 1;
}

DWORD WINAPI radixExchangeSort(LPVOID) {
  radixExchangeRange(values, valueCount, 0x80000000u);
  return 1;
}

// ---- heap ---------------------------------------------------------------
namespace {

inline uint32_t at(const uint32_t *a, uint32_t k) { return a[k - 1]; }
inline void put(uint32_t *a, uint32_t k, uint32_t v) { a[k - 1] = v; }

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

void extractAll(uint32_t m) {
  uint32_t *a = values;
  for (uint32_t i = m; i >= 1; --i) {
    uint32_t top = at(a, 1);
    uint32_t last = at(a, heapSize);
    put(a, 1, last);
    heapSize = heapSize - 1;
    siftDown(a, 1, heapSize, last);
    put(a, i, top);
    if (countStep())
      a = values;
  }
}

} // namespace

DWORD WINAPI heapSort(LPVOID) {
  uint32_t m = valueCount;
  uint32_t *a = values;
  heapSize = 0;
  for (uint32_t j = 1; j <= m; ++j) {
    heapSize = j;
    uint32_t v = at(a, j);
    uint32_t k = j;
    while (k > 1 && at(a, k / 2) < v) {
      put(a, k, at(a, k / 2));
      k /= 2;
    }
    put(a, k, v);
    if (countStep())
      a = values;
  }
  extractAll(m);
  return 1;
}

DWORD WINAPI bottomUpHeapSort(LPVOID) {
  uint32_t m = valueCount;
  uint32_t *a = values;
  heapSize = m;
  for (uint32_t i = m / 2; i >= 1; --i) {
    siftDown(a, i, heapSize, at(a, i));
    if (countStep())
      a = values;
  }
  extractAll(m);
  return 1;
}

// ---- merge --------------------------------------------------------------
namespace {
constexpr uint32_t mergeStepsPerPause = 1000;
}

DWORD WINAPI mergeSort(LPVOID) {
  uint32_t n = valueCount;
  uint32_t *spare = allocateValues(n);
  if (!spare) {
    scratchFailed = 1;
    return 1;
  }
  if (n <= 1) {
    releaseValues(spare);
    return 1;
  }
  uint32_t steps = 0;
  uint32_t *source = values;
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
        if (a < b) {
          target[out++] = a;
          ++left;
        } else {
          target[out++] = b;
          ++right;
        }
        if (++steps % mergeStepsPerPause == 0) {
          Sleep(1);
          source = values;
        }
      }
      while (left < mid)
        target[out++] = source[left++];
      while (right < end)
        target[out++] = source[right++];
    }
    values = target;
    std::swap(source, target);
  }
  releaseValues(std::exchange(retiredBuffer, target));
  return 1;
}

// ---- distribution -------------------------------------------------------
namespace {
inline uint32_t boundedClass(uint32_t value) {
  return value < distributionClasses ? value : distributionClasses - 1;
}
} // namespace

DWORD WINAPI distributionCountSort(LPVOID) {
  uint32_t n = valueCount;
  uint32_t *copy = allocateValues(n);
  if (!copy) {
    scratchFailed = 1;
    return 1;
  }
  uint32_t *a = values;
  if (n)
    std::memcpy(copy, a, size_t{n} * sizeof(uint32_t));
  uint32_t counter[distributionClasses] = {};
  for (uint32_t i = 0; i < n; ++i)
    ++counter[boundedClass(copy[i])];
  for (uint32_t j = 1; j < distributionClasses; ++j)
    counter[j] += counter[j - 1];
  for (uint32_t i = n; i-- > 0;) {
    uint32_t k = boundedClass(copy[i]);
    --counter[k];
    a[counter[k]] = static_cast<uint32_t>(uint64_t{k} * n / 100);
    if (countStep())
      a = values;
  }
  releaseValues(copy);
  return 1;
}

DWORD WINAPI straightRadixSort(LPVOID) {
  uint32_t n = valueCount;
  uint32_t *copy = allocateValues(n);
  if (!copy) {
    scratchFailed = 1;
    return 1;
  }
  uint32_t *a = values;
  for (uint32_t shift = 0; shift < 32; shift += 8) {
    uint32_t counter[256] = {};
    if (n)
      std::memcpy(copy, a, size_t{n} * sizeof(uint32_t));
    for (uint32_t i = 0; i < n; ++i)
      ++counter[(copy[i] >> shift) & 0xFF];
    for (uint32_t j = 1; j < 256; ++j)
      counter[j] += counter[j - 1];
    for (uint32_t i = n; i-- > 0;) {
      uint32_t digit = (copy[i] >> shift) & 0xFF;
      a[--counter[digit]] = copy[i];
      if (countStep())
        a = values;
    }
  }
  releaseValues(copy);
  return 1;
}

} // namespace plain
