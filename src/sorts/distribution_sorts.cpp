// Distribution counting over 101 classes and straight radix sort (four
// passes over 8-bit digits). Both count over a private scratch copy and place
// the elements back, one counted operation per placement.
#include <cstring>

#include "data/value_memory.h"
#include "sorts/sort_catalogue.h"

namespace {

// Class of a value for distribution counting, bounded to the counters.
inline uint32_t boundedClass(uint32_t value) {
  return value < distributionClasses ? value : distributionClasses - 1;
}

} // namespace

void prepareDistributionClasses() {
  uint32_t *a = currentValues();
  uint32_t n = valueCount;
  uint32_t divisor = n / 100;
  if (divisor == 0)
    divisor = 1; // below 100 values every value is its own class
  for (uint32_t i = 0; i < n; ++i)
    a[i] = boundedClass(a[i] / divisor);
}

DWORD WINAPI distributionCountSort(LPVOID) {
  uint32_t n = valueCount;
  uint32_t *copy = allocateScratch(n);
  if (!copy)
    return 1;
  uint32_t *a = currentValues();
  if (n) // an empty array may have no block at all
    std::memcpy(copy, a, size_t{n} * sizeof(uint32_t));
  uint32_t counter[distributionClasses] = {};
  for (uint32_t i = 0; i < n; ++i)
    ++counter[boundedClass(copy[i])];
  for (uint32_t j = 1; j < distributionClasses; ++j)
    counter[j] += counter[j - 1];
  for (uint32_t i = n; i-- > 0;) {
    uint32_t k = boundedClass(copy[i]);
    --counter[k];
    // The class value k * n div 100 is at most n; in 64 bits it cannot wrap.
    storeShared(a, counter[k], static_cast<uint32_t>(uint64_t{k} * n / 100));
    if (countStep())
      a = currentValues();
  }
  releaseValues(copy);
  return 1;
}

DWORD WINAPI straightRadixSort(LPVOID) {
  uint32_t n = valueCount;
  uint32_t *copy = allocateScratch(n);
  if (!copy)
    return 1;
  uint32_t *a = currentValues();
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
      storeShared(a, --counter[digit], copy[i]);
      if (countStep())
        a = currentValues();
    }
  }
  releaseValues(copy);
  return 1;
}
