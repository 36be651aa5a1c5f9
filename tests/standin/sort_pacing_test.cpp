// Where the routines pause, seen through the stand-in's Sleep observer, and
// the array as it stands at the first pause.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <utility>
#include <vector>

#include "platform/standin_hooks.h"
#include "sorts/sort_catalogue.h"
#include "support/routine_facts.h"
#include "support/test_support.h"

namespace {

// runOnWorker polls with Sleep on the test thread; only the worker's count.
thread_local bool pollingThread = false;

constexpr size_t pauseCapacity = 4096;
uint32_t pauseCounts[pauseCapacity];
std::atomic<size_t> pauses{0};

void recordPause(DWORD) {
  if (pollingThread)
    return;
  size_t slot = pauses.fetch_add(1);
  if (slot < pauseCapacity)
    pauseCounts[slot] = operationCount;
}

std::vector<uint32_t> arrayAtFirstPause;

void snapshotAtFirstPause(DWORD) {
  if (pollingThread || pauses.fetch_add(1) != 0)
    return;
  const uint32_t *a = values.load();
  arrayAtFirstPause.assign(a, a + valueCount);
}

class SortPacing : public testing::Test {
protected:
  void SetUp() override {
    pollingThread = true;
    pauses = 0;
  }
  void TearDown() override {
    standinSetSleepObserver(nullptr);
    resetProgramState();
  }
  // The pause counts recorded since the last call.
  static std::vector<uint32_t> takePauses() {
    size_t n = std::min(pauses.exchange(0), pauseCapacity);
    return std::vector<uint32_t>(pauseCounts, pauseCounts + n);
  }
};

// Pauses follow the program-wide count, which carries on from run to run:
// starting from an odd count catches a pause kept per run instead. Bubble,
// selection and insertion sort neither count nor pause.
TEST_F(SortPacing, PausesWhereTheContinuingCountMeetsTheInterval) {
  standinSetSleepObserver(recordPause);
  yieldInterval = 2;
  operationCount = 1;
  for (const SortEntry &entry : sortCatalogue) {
    Pacing pacing = factsOf(entry.routine).pacing;
    if (pacing == Pacing::ownCounter)
      continue;
    bool paced = pacing == Pacing::countStep;
    for (uint32_t seed : {1u, 2u}) {
      setSharedArray(shuffledPermutation(50, seed));
      uint32_t start = operationCount;
      ASSERT_EQ(runOnWorker(entry.routine), 1u);
      std::vector<uint32_t> expected;
      for (uint32_t count = start + 1; count <= operationCount; ++count)
        if (count % 2 == 0)
          expected.push_back(count);
      EXPECT_EQ(expected.empty(), !paced) << char(entry.key);
      EXPECT_EQ(takePauses(), expected)
          << char(entry.key) << " from count " << start;
    }
  }
}

// Merge sort pauses after every 1000 merge steps of its own run. Ascending
// 0..244 takes exactly 1000 steps; in 0, 2, ..., 486, 483 the last value
// falls between 482 and 484 and saves one step of the four-wide merge.
TEST_F(SortPacing, MergeSortPausesAfterEachThousandMergeSteps) {
  std::vector<uint32_t> thousand(245);
  std::iota(thousand.begin(), thousand.end(), 0u);
  std::vector<uint32_t> fewer(244);
  for (uint32_t k = 0; k < 244; ++k)
    fewer[k] = 2 * k;
  fewer.push_back(483);
  standinSetSleepObserver(recordPause);
  yieldInterval = 1;
  for (const auto &[input, expectedPauses] :
       {std::pair{thousand, size_t{1}}, std::pair{fewer, size_t{0}}}) {
    setSharedArray(input);
    uint32_t before = operationCount;
    ASSERT_EQ(runOnWorker(mergeSort), 1u);
    EXPECT_EQ(takePauses().size(), expectedPauses) << input.size();
    EXPECT_EQ(operationCount, before);
    std::vector<uint32_t> result = sharedArray();
    EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
  }
}

// The array at the first pause shows the order of the work. Heap position k
// is index k - 1 over all n values, so a heap just built from 1..6 holds
// every value. Shell sort finishes the gap-4 chain 0, 4, 8, 12 before it
// touches the next chain (index 0 still waits for the held 0).
TEST_F(SortPacing, ArrayAtTheFirstPauseShowsTheOrderOfTheWork) {
  std::vector<uint32_t> reversed13(13);
  std::iota(reversed13.rbegin(), reversed13.rend(), 0u);
  struct Case {
    SortRoutine routine;
    std::vector<uint32_t> input;
    uint32_t stepsBeforePause;
    std::vector<uint32_t> atPause;
  } cases[] = {
      {heapSort, {1, 2, 3, 4, 5, 6}, 6, {6, 4, 5, 1, 3, 2}},
      {bottomUpHeapSort, {1, 2, 3, 4, 5, 6}, 3, {6, 5, 3, 4, 2, 1}},
      {shellSort, reversed13, 6, {4, 11, 10, 9, 4, 7, 6, 5, 8, 3, 2, 1, 12}},
  };
  standinSetSleepObserver(snapshotAtFirstPause);
  for (const Case &c : cases) {
    setSharedArray(c.input);
    yieldInterval = c.stepsBeforePause;
    operationCount = 0;
    pauses = 0;
    arrayAtFirstPause.clear();
    ASSERT_EQ(runOnWorker(c.routine), 1u);
    EXPECT_EQ(arrayAtFirstPause, c.atPause);
    std::vector<uint32_t> result = sharedArray();
    EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
  }
}

} // namespace
