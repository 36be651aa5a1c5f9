// What every routine leaves in the shared array, each run on a real worker
// thread: full comparison with std::sort, the distribution classes, the
// merge sort's buffers, scratch allocation failure and the catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "data/allocation_hooks.h"
#include "sorts/sort_catalogue.h"
#include "support/routine_facts.h"
#include "support/test_support.h"

namespace {

// Every row but distribution counting, which writes classes (tested below).
std::vector<RoutineFacts> comparisonSorts() {
  std::vector<RoutineFacts> rows;
  for (const RoutineFacts &facts : routineFacts)
    if (facts.key != 'd')
      rows.push_back(facts);
  return rows;
}
SortRoutine routineOf(const RoutineFacts &facts) {
  return findSortByKey(static_cast<unsigned>(facts.key));
}

// Names the first differing index instead of printing whole arrays.
testing::AssertionResult sameArray(const std::vector<uint32_t> &actual,
                                   const std::vector<uint32_t> &expected) {
  if (actual.size() != expected.size())
    return testing::AssertionFailure()
           << "size " << actual.size() << ", expected " << expected.size();
  auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin());
  if (diff.first == actual.end())
    return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "index " << (diff.first - actual.begin()) << " holds "
         << *diff.first << ", expected " << *diff.second;
}

// Pauses would only slow these runs down; the default comes back after.
class SortRun : public testing::Test {
protected:
  void SetUp() override { yieldInterval = 0xFFFFFFFFu; }
  void TearDown() override {
    failNextAllocations(0);
    resetProgramState();
  }
};

class EachSorter : public SortRun,
                   public testing::WithParamInterface<RoutineFacts> {};

TEST_P(EachSorter, MatchesStdSort) {
  std::vector<std::vector<uint32_t>> inputs = {
      {},
      {7},
      {1, 0},
      {3, 2},
      {4, 3, 2, 1, 0},
      {5, 2, 6, 0, 3, 1, 4},
      {9, 9, 9, 9},
      {0, 1, 2, 3, 4},
      {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0, 1, 0xFFFFFFFFu}};
  for (uint32_t n : {3u, 17u, 300u, 301u, 1000u, 2500u, 4097u, 30000u}) {
    if (GetParam().quadratic && n > 3000)
      continue; // the quadratic sorts stay small
    inputs.push_back(shuffledPermutation(n, n));
    inputs.push_back(arbitraryValues(n, n + 1));
    inputs.emplace_back(n, 0x80000001u);
    inputs.emplace_back(n);
    std::iota(inputs.back().rbegin(), inputs.back().rend(), 0u);
  }
  for (const auto &input : inputs) {
    setSharedArray(input);
    ASSERT_EQ(runOnWorker(routineOf(GetParam())), 1u);
    std::vector<uint32_t> expected = input;
    std::sort(expected.begin(), expected.end());
    EXPECT_TRUE(sameArray(sharedArray(), expected)) << "n = " << input.size();
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EachSorter,
                         testing::ValuesIn(comparisonSorts()),
                         [](const testing::TestParamInfo<RoutineFacts> &info) {
                           return std::string(info.param.label);
                         });

// Distribution counting orders the classes min(value, 100) it is given and
// writes class k of n values as k * n div 100 (of 1001 values, 1000 is class
// 100, the one class whose value is n itself). Odd sizes and values no class
// covers must stay inside the array (run under the asan preset too).
TEST_F(SortRun, DistributionSortWritesOrderedClassValues) {
  for (uint32_t n : {0u, 1u, 5u, 99u, 100u, 102u, 250u, 1001u, 1050u, 30000u}) {
    for (bool prepared : {true, false}) {
      setSharedArray(prepared ? shuffledPermutation(n, n)
                              : arbitraryValues(n, n));
      if (prepared)
        prepareDistributionClasses();
      std::vector<uint32_t> expected = sharedArray();
      for (uint32_t &value : expected)
        value =
            static_cast<uint32_t>(std::min(value, 100u) * uint64_t{n} / 100);
      std::sort(expected.begin(), expected.end());
      if (prepared && n == 1001) {
        EXPECT_EQ(expected.back(), 1001u);
      }
      ASSERT_EQ(runOnWorker(distributionCountSort), 1u);
      EXPECT_TRUE(sameArray(sharedArray(), expected))
          << "n = " << n << (prepared ? " prepared" : " unprepared");
    }
  }
  // 100 values are their own classes.
  std::vector<uint32_t> identity(100);
  std::iota(identity.begin(), identity.end(), 0u);
  setSharedArray(shuffledPermutation(100, 1));
  prepareDistributionClasses();
  ASSERT_EQ(runOnWorker(distributionCountSort), 1u);
  EXPECT_TRUE(sameArray(sharedArray(), identity));
}

TEST_F(SortRun, DistributionClassesAreBounded) {
  const struct {
    uint32_t n, value, expectedClass;
  } cases[] = {{5, 3, 3},          {5, 100, 100},   {5, 0xFFFFFFFFu, 100},
               {250, 199, 99},     {250, 200, 100}, {250, 0x7FFFFFFF, 100},
               {30000, 29999, 99}, {30000, 299, 0}, {30000, 300, 1}};
  for (const auto &c : cases) {
    std::vector<uint32_t> input(c.n, 0);
    input.back() = c.value;
    setSharedArray(input);
    prepareDistributionClasses();
    EXPECT_EQ(sharedArray().back(), c.expectedClass)
        << "n = " << c.n << ", value " << c.value;
  }
}

// Pass count p is the least with 2^p >= n; each pass moves values to the
// buffer just written, so odd p ends on the new buffer, the original
// retired. With no pass (n <= 1) nothing moves and nothing is retired.
TEST_F(SortRun, MergeSortEndsOnTheBufferOfItsLastPass) {
  enum Ending { unmoved, onNewBuffer, onOriginal };
  const struct {
    uint32_t n;
    Ending ending;
  } cases[] = {{0, unmoved},       {1, unmoved},       {2, onNewBuffer},
               {3, onOriginal},    {4, onOriginal},    {7, onNewBuffer},
               {8, onNewBuffer},   {9, onOriginal},    {1000, onOriginal},
               {1024, onOriginal}, {1025, onNewBuffer}};
  for (const auto &c : cases) {
    setSharedArray(shuffledPermutation(c.n, c.n));
    uint32_t *original = values.load();
    ASSERT_EQ(runOnWorker(mergeSort), 1u);
    uint32_t *shown = values.load(), *retired = retiredBuffer.load();
    EXPECT_EQ(shown == original, c.ending != onNewBuffer) << "n = " << c.n;
    EXPECT_EQ(retired == nullptr, c.ending == unmoved) << "n = " << c.n;
    EXPECT_EQ(retired == original, c.ending == onNewBuffer) << "n = " << c.n;
  }
}

TEST_F(SortRun, FailedScratchAllocationLeavesTheArrayAlone) {
  for (SortRoutine routine :
       {mergeSort, distributionCountSort, straightRadixSort}) {
    const std::vector<uint32_t> input = arbitraryValues(500, 3);
    setSharedArray(input);
    uint32_t *original = values.load();
    failNextAllocations(1);
    EXPECT_EQ(runOnWorker(routine), 1u);
    EXPECT_EQ(scratchFailed.exchange(0), 1u);
    EXPECT_EQ(values.load(), original);
    EXPECT_EQ(retiredBuffer.load(), nullptr);
    EXPECT_TRUE(sameArray(sharedArray(), input));
  }
  failNextAllocations(0);
}

TEST(SortCatalogue, ListsTheElevenRowsInOrder) {
  const struct {
    WCHAR key;
    LPCWSTR name;
    SortRoutine routine;
  } expected[] = {
      {TEXT('b'), TEXT("거품 정렬"), bubbleSort},
      {TEXT('s'), TEXT("선택 정렬"), selectionSort},
      {TEXT('i'), TEXT("삽입 정렬"), insertionSort},
      {TEXT('l'), TEXT("쉘 정렬"), shellSort},
      {TEXT('d'), TEXT("분포 수 세기"), distributionCountSort},
      {TEXT('q'), TEXT("퀵 정렬"), quickSort},
      {TEXT('m'), TEXT("병합 정렬"), mergeSort},
      {TEXT('h'), TEXT("힙 정렬"), heapSort},
      {TEXT('u'), TEXT("상향식 힙 정렬"), bottomUpHeapSort},
      {TEXT('r'), TEXT("기수교환정렬"), radixExchangeSort},
      {TEXT('x'), TEXT("직접기수정렬"), straightRadixSort},
  };
  ASSERT_EQ(sortCatalogueSize, std::size(expected));
  for (size_t row = 0; row < sortCatalogueSize; ++row) {
    const SortEntry &entry = sortCatalogue[row];
    EXPECT_EQ(entry.key, expected[row].key) << "row " << row;
    EXPECT_TRUE(std::basic_string<WCHAR>(entry.name) == expected[row].name)
        << "row " << row;
    EXPECT_EQ(entry.routine, expected[row].routine) << "row " << row;
    EXPECT_EQ(findSortByKey(entry.key), expected[row].routine);
    // The tests' own table of the routines follows the catalogue.
    EXPECT_EQ(routineFacts[row].key, char(entry.key)) << "row " << row;
  }
  for (unsigned key : {unsigned('a'), unsigned('Q'), unsigned('B'), 0u})
    EXPECT_EQ(findSortByKey(key), nullptr) << "key " << key;
}

} // namespace
