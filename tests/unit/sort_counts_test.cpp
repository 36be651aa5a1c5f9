// Counted operations per routine: the pacing of every run and the figures
// the status line reports depend on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "sorts/sort_catalogue.h"
#include "support/test_support.h"

namespace {

std::vector<uint32_t> ascending(uint32_t n) {
  std::vector<uint32_t> result(n);
  std::iota(result.begin(), result.end(), 0u);
  return result;
}

std::vector<uint32_t> descending(uint32_t n) {
  std::vector<uint32_t> result(n);
  std::iota(result.rbegin(), result.rend(), 0u);
  return result;
}

struct CountCase {
  const char *what;
  SortRoutine routine;
  std::vector<uint32_t> input;
  uint32_t expectedCount;
};

TEST(SortCounts, CountsEachRoutinesOperations) {
  const std::vector<CountCase> cases = {
      // Never paced.
      {"bubble", bubbleSort, descending(100), 0},
      {"selection", selectionSort, descending(100), 0},
      {"insertion", insertionSort, descending(100), 0},
      {"merge", mergeSort, arbitraryValues(1000, 1), 0},
      // One per move by one gap: gap 4 moves the 0, gap 1 three more.
      {"shell 4..0", shellSort, {4, 3, 2, 1, 0}, 4},
      {"shell sorted", shellSort, ascending(1000), 0},
      {"shell empty", shellSort, {}, 0},
      // Insertion-sorted up to 300 values, one per shift.
      {"quick {1,0}", quickSort, {1, 0}, 1},
      {"quick 10 descending", quickSort, descending(10), 45},
      {"quick 300 descending", quickSort, descending(300), 300 * 299 / 2},
      // 301 values are partitioned (swaps uncounted) into sorted halves.
      {"quick 301 ascending", quickSort, ascending(301), 0},
      {"quick 301 descending", quickSort, descending(301), 0},
      {"quick 1000 equal", quickSort, std::vector<uint32_t>(1000, 42), 0},
      // One per exchange.
      {"radix exchange 0..3", radixExchangeSort, {0, 1, 2, 3}, 0},
      {"radix exchange 3..0", radixExchangeSort, {3, 2, 1, 0}, 2},
      {"radix exchange 7", radixExchangeSort, {5, 2, 6, 0, 3, 1, 4}, 6},
      {"radix exchange {1,0}", radixExchangeSort, {1, 0}, 1},
      {"radix exchange {3,2}", radixExchangeSort, {3, 2}, 1},
      // n insertions, n extractions.
      {"heap 6", heapSort, {1, 2, 3, 4, 5, 6}, 12},
      {"heap 1000", heapSort, arbitraryValues(1000, 2), 2000},
      {"heap empty", heapSort, {}, 0},
      // n div 2 sift-downs, n extractions.
      {"bottom-up heap empty", bottomUpHeapSort, {}, 0},
      {"bottom-up heap 1", bottomUpHeapSort, {9}, 1},
      {"bottom-up heap 7", bottomUpHeapSort, {5, 2, 6, 0, 3, 1, 4}, 10},
      {"bottom-up heap 1001", bottomUpHeapSort, arbitraryValues(1001, 3), 1501},
      // One per placement.
      {"distribution 250", distributionCountSort, descending(250), 250},
      {"straight radix empty", straightRadixSort, {}, 0},
      {"straight radix 1", straightRadixSort, {0xFFFFFFFFu}, 4},
      {"straight radix 1000", straightRadixSort, arbitraryValues(1000, 4),
       4000},
  };
  yieldInterval = 0xFFFFFFFFu;
  for (const CountCase &c : cases) {
    setSharedArray(c.input);
    uint32_t before = operationCount;
    ASSERT_EQ(runOnWorker(c.routine), 1u) << c.what;
    EXPECT_EQ(operationCount - before, c.expectedCount) << c.what;
    std::vector<uint32_t> result = sharedArray();
    EXPECT_TRUE(std::is_sorted(result.begin(), result.end())) << c.what;
  }
  releaseSharedArray();
  yieldInterval = 1000;
}

// With no values a routine must not touch the memory behind the array.
TEST(SortCounts, EmptyArrayIsNeverWritten) {
  for (const SortEntry &entry : sortCatalogue) {
    setSharedArray({0xA5A5A5A5u});
    valueCount = 0;
    uint32_t *block = values.load();
    uint32_t before = operationCount;
    ASSERT_EQ(runOnWorker(entry.routine), 1u);
    EXPECT_EQ(operationCount, before);
    EXPECT_EQ(values.load(), block);
    EXPECT_EQ(block[0], 0xA5A5A5A5u) << "key " << char(entry.key);
    releaseSharedArray();
  }
}

} // namespace
