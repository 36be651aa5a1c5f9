// Run control against the stand-in's controllable clocks and thread
// creation: the elapsed-time messages exactly, and a worker that cannot be
// created.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/run_control.h"
#include "data/allocation_hooks.h"
#include "platform/standin_hooks.h"
#include "render/frame.h"
#include "sorts/sort_catalogue.h"
#include "support/test_support.h"
#include "support/window_harness.h"

namespace {

class RunControl : public ::testing::Test {
protected:
  void SetUp() override {
    window = openMainWindow();
    requestedSize = 2000;
    requestShuffle();
  }
  void TearDown() override {
    standinUseRealClock();
    standinFailThreadCreations(0);
    closeMainWindow(window);
  }
  HWND window = nullptr;
};

// The clock in 100 ns counter ticks, and in milliseconds.
constexpr LONGLONG counterTicks = 100, milliseconds = 1000000;

TEST_F(RunControl, ElapsedTimeIsTheRawCounterDifference) {
  standinDriveClock(5000000000LL * counterTicks);
  startRun(window);
  EXPECT_EQ(counterFrequency, 10000000);
  EXPECT_EQ(startCount, 5000000000LL);
  // The end is noticed with the counter 123456789 ticks later: the message
  // shows ticks, not seconds.
  standinDriveClock(5123456789LL * counterTicks);
  ASSERT_EQ(runUntilEnd(window), 1);
  EXPECT_EQ(endCount, 5123456789LL);
  EXPECT_EQ(status(), u"123456789틱 소요.");
}

TEST_F(RunControl, WithoutACounterElapsedTimeIsTheWrappingTickDifference) {
  standinRemoveCounter();
  standinDriveClock(0xFFFFFF00LL * milliseconds);
  startRun(window);
  EXPECT_EQ(counterFrequency, 0);
  EXPECT_EQ(startCount, 0xFFFFFF00LL);
  standinAdvanceClock(0x200 * milliseconds); // the tick count wraps
  ASSERT_EQ(runUntilEnd(window), 1);
  EXPECT_EQ(status(), u"512초 소요.");
}

TEST_F(RunControl, AWorkerThatCannotBeCreatedLeavesTheProgramIdle) {
  standinFailThreadCreations(1);
  mainWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(runActive, 0u);
  EXPECT_EQ(workerThread, nullptr);
  EXPECT_EQ(standinTimerCount(window), 0);
  EXPECT_EQ(status(), std::u16string(messageNoWorker));
  // The message is on screen at once, with the listing.
  Pixels frame = readBitmap(backBuffer);
  EXPECT_TRUE(textDrawnAt(frame, statusX, statusY, messageNoWorker));
  // And the next click runs.
  mainWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(runActive, 1u);
  EXPECT_EQ(standinTimerCount(window), 1);
  EXPECT_EQ(runUntilEnd(window), 1);
  EXPECT_EQ(standinTimerCount(window), 0);
}

TEST_F(RunControl, PlusStopsShortOfOverflowingTheRequestedSize) {
  requestedSize = INT32_MAX - 15000;
  handleKey(window, VK_OEM_PLUS);
  EXPECT_EQ(requestedSize, INT32_MAX - 5000);
  handleKey(window, VK_OEM_PLUS);
  EXPECT_EQ(requestedSize, INT32_MAX - 5000);
  EXPECT_EQ(status(), u"자료크기: 2147478647");
  // When that much memory cannot be had, the shuffle keeps the array.
  uint32_t kept = valueCount;
  failNextAllocations(1);
  requestShuffle();
  EXPECT_EQ(valueCount, kept);
  EXPECT_EQ(requestedSize, int32_t(kept));
  EXPECT_EQ(status(), u"메모리 부족: 자료크기 2000 유지.");
}

} // namespace
