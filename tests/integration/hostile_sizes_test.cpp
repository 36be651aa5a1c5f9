// Sizes at the edges, through the real window procedure: every routine on
// empty, single, just-below and just-above-100 and uneven arrays, and the
// requested size pushed to its ends with plus and minus.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/run_control.h"
#include "data/allocation_hooks.h"
#include "sorts/sort_catalogue.h"
#include "support/test_support.h"
#include "support/window_harness.h"

namespace {

class HostileSizes : public ::testing::Test {
protected:
  void SetUp() override {
    window = openMainWindow();
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override { closeMainWindow(window); }
  int clientWidth() {
    RECT r;
    GetClientRect(window, &r);
    return r.right;
  }
  HWND window = nullptr;
};

TEST_F(HostileSizes, EveryRoutineEndsSortedOnEdgeSizes) {
  for (uint32_t size : {0u, 1u, 99u, 101u, 1050u}) {
    for (const SortEntry &entry : sortCatalogue) {
      SCOPED_TRACE(testing::Message() << static_cast<char>(entry.key) << " on "
                                      << size << " values");
      sendKey(window, entry.key);
      requestedSize = static_cast<int32_t>(size);
      sendRightClick(window);
      ASSERT_EQ(valueCount, size);
      ASSERT_EQ(allocatedValueCount(values.load()), size);
      ASSERT_TRUE(isPermutation(sharedArray()));
      sendLeftClick(window);
      ASSERT_EQ(runUntilEnd(window), 1);
      EXPECT_EQ(valueCount, size);
      EXPECT_EQ(allocatedValueCount(values.load()), size);
      std::vector<uint32_t> result = sharedArray();
      EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
      // Distribution counting leaves class values, not the elements.
      if (entry.routine != distributionCountSort) {
        EXPECT_TRUE(isPermutation(result));
      }
      std::u16string suffix = u"틱 소요.";
      std::u16string message = status();
      EXPECT_TRUE(message.size() > suffix.size() && message.ends_with(suffix));
      EXPECT_EQ(plotDifference(readBitmap(backBuffer), result), "");
    }
  }
}

TEST_F(HostileSizes, PlusStopsAtTheLargestStepBelowTwoToThe31) {
  // Through handleKey, which the window procedure calls for every key: a
  // frame per press would take minutes for the 214745 presses.
  int32_t expected = requestedSize;
  int presses = 0;
  while (expected <= INT32_MAX - sizeStep) {
    handleKey(window, VK_OEM_PLUS);
    expected += sizeStep;
    ++presses;
    ASSERT_EQ(requestedSize, expected) << "press " << presses;
  }
  EXPECT_EQ(requestedSize, 2147480000);
  sendKey(window, VK_OEM_PLUS);
  EXPECT_EQ(requestedSize, 2147480000);
  EXPECT_EQ(status(), u"자료크기: 2147480000");
  // 8 GiB cannot be had here: the shuffle keeps the array and says so.
  uint32_t kept = valueCount;
  failNextAllocations(1);
  sendRightClick(window);
  EXPECT_EQ(valueCount, kept);
  EXPECT_EQ(requestedSize, int32_t(kept));
  EXPECT_TRUE(isPermutation(sharedArray()));
}

TEST_F(HostileSizes, MinusStopsAtTheWidthFromAnySize) {
  // The system may hold the window to a minimum size; the floor is the
  // client width it really has.
  for (int width : {640, 1, 0}) {
    resizeClient(window, width, 300);
    int floor = clientWidth();
    SCOPED_TRACE(floor);
    for (int32_t start : {2147480000, 30000, floor + 1, floor}) {
      requestedSize = start;
      int32_t previous = start;
      for (int press = 0; requestedSize != floor && press < 300000; ++press) {
        handleKey(window, VK_OEM_MINUS);
        ASSERT_EQ(requestedSize, std::max(previous - sizeStep, floor));
        previous = requestedSize;
      }
      EXPECT_EQ(requestedSize, floor);
      sendKey(window, VK_OEM_MINUS);
      EXPECT_EQ(requestedSize, floor);
      EXPECT_EQ(status(),
                formatted(messageDataSize, static_cast<unsigned>(floor)));
    }
    sendRightClick(window);
    EXPECT_EQ(valueCount, uint32_t(floor));
    EXPECT_TRUE(isPermutation(sharedArray()));
  }
}

} // namespace
