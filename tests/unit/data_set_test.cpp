// The WELL1024a generator against an independent rendering of the authors'
// reference recurrence, and the shuffle of the shared array.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "data/allocation_hooks.h"
#include "data/data_set.h"
#include "data/value_memory.h"
#include "support/test_support.h"

namespace {

// WELL1024a as published (R = 32, M1 = 3, M2 = 24, M3 = 10), written from
// the MAT0POS / MAT0NEG formulation rather than from the program's code.
struct ReferenceWell {
  uint32_t v[32];
  uint32_t i;

  static uint32_t mat0pos(int t, uint32_t x) { return x ^ (x >> t); }
  static uint32_t mat0neg(int t, uint32_t x) { return x ^ (x << -t); }
  uint32_t next() {
    uint32_t z0 = v[(i + 31) & 31];
    uint32_t z1 = v[i] ^ mat0pos(8, v[(i + 3) & 31]);
    uint32_t z2 =
        mat0neg(-19, v[(i + 24) & 31]) ^ mat0neg(-14, v[(i + 10) & 31]);
    v[i] = z1 ^ z2;
    v[(i + 31) & 31] = mat0neg(-11, z0) ^ mat0neg(-7, z1) ^ mat0neg(-13, z2);
    i = (i + 31) & 31;
    return v[i];
  }
};

ReferenceWell programGenerator() {
  ReferenceWell copy;
  std::copy(std::begin(wellState), std::end(wellState), copy.v);
  copy.i = wellIndex;
  return copy;
}

// Fails unless the program's generator is exactly where `expected` is.
void expectGeneratorAt(const ReferenceWell &expected) {
  EXPECT_EQ(wellIndex, expected.i);
  EXPECT_TRUE(std::equal(expected.v, expected.v + 32, wellState));
}

TEST(WellGenerator, FollowsTheReferenceRecurrence) {
  for (uint32_t seed : {1u, 2u, 3u, 12345u}) {
    seedGeneratorFrom(seed);
    ReferenceWell reference = programGenerator();
    for (int step = 0; step < 5000; ++step)
      ASSERT_EQ(wellNext(), reference.next())
          << "seed " << seed << ", step " << step;
    expectGeneratorAt(reference);
  }
}

class Shuffle : public testing::Test {
protected:
  void SetUp() override { seedGeneratorFrom(99); }
  void TearDown() override {
    failNextAllocations(0);
    resetProgramState();
  }
};

TEST_F(Shuffle, ResizesToTheRequestedSizeAndLeavesAPermutation) {
  for (uint32_t n : {1u, 2u, 10u, 1000u, 30000u, 25u, 0u, 5u}) {
    requestedSize = static_cast<int32_t>(n);
    EXPECT_TRUE(shuffleValues());
    ASSERT_EQ(valueCount, n);
    std::vector<uint32_t> result = sharedArray();
    EXPECT_TRUE(isPermutation(result)) << "n = " << n;
    // 3n transpositions practically never restore the order.
    if (n >= 1000) {
      EXPECT_FALSE(std::is_sorted(result.begin(), result.end()));
    }
  }
}

// Each of the 3n transpositions draws two numbers; none without values.
TEST_F(Shuffle, DrawsSixNumbersPerValue) {
  for (uint32_t n : {0u, 1u, 7u}) {
    setSharedArray(std::vector<uint32_t>(n, 0));
    requestedSize = static_cast<int32_t>(n);
    ReferenceWell expected = programGenerator();
    for (uint32_t draw = 0; draw < 6 * n; ++draw)
      expected.next();
    shuffleValues();
    expectGeneratorAt(expected);
  }
}

TEST_F(Shuffle, FailedResizeKeepsTheOldArray) {
  setSharedArray(std::vector<uint32_t>(10, 0));
  uint32_t *original = values.load();
  requestedSize = 20;
  failNextAllocations(1);
  EXPECT_FALSE(shuffleValues());
  EXPECT_EQ(values.load(), original);
  EXPECT_EQ(valueCount, 10u);
  EXPECT_EQ(requestedSize, 10);
  EXPECT_TRUE(isPermutation(sharedArray()));
}

TEST_F(Shuffle, ChangesNothingDuringARun) {
  const std::vector<uint32_t> input = {3, 1, 2};
  setSharedArray(input);
  requestedSize = 7;
  runActive = 1;
  ReferenceWell before = programGenerator();
  shuffleValues();
  EXPECT_EQ(valueCount, 3u);
  EXPECT_EQ(requestedSize, 7);
  EXPECT_EQ(sharedArray(), input);
  expectGeneratorAt(before);
}

} // namespace

// Sizes whose byte count does not fit the address space fail like any
// refused allocation instead of wrapping to a small block.
TEST(ValueMemory, SizesBeyondTheAddressSpaceFail) {
  const uint64_t tooMany = uint64_t(SIZE_MAX / sizeof(uint32_t)) + 1;
  EXPECT_EQ(allocateValues(tooMany), nullptr);
  uint32_t *block = allocateValues(4);
  ASSERT_NE(block, nullptr);
  uint32_t *kept = block;
  EXPECT_FALSE(resizeValues(block, tooMany));
  EXPECT_EQ(block, kept);
  releaseValues(block);
  uint32_t *empty = allocateValues(0); // a block of its own even for nothing
  EXPECT_NE(empty, nullptr);
  releaseValues(empty);
}
