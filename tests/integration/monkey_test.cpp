// A seeded random stream of input to the real window procedure, with the
// program's invariants checked after every message. A failure prints the
// seed; TAVERELL_MONKEY_SEED=<seed> replays the same stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/run_control.h"
#include "data/allocation_hooks.h"
#include "sorts/sort_catalogue.h"
#include "support/routine_facts.h"
#include "support/test_support.h"
#include "support/window_harness.h"

#if !defined(_WIN32)
#include "platform/standin_hooks.h"
#endif

namespace {

constexpr int messageCount = 100000;
constexpr unsigned long long defaultSeed = 20240615;
// Plus is not pressed above this size, and the routines that never pause
// run only up to quadraticLimit values, so that runs stay short.
constexpr int32_t plusLimit = 20000;
constexpr uint32_t quadraticLimit = 5000;
// A run is left to messages for at most this many, then waited for.
constexpr int longestRunInMessages = 1500;

unsigned long long monkeySeed() {
  const char *text = std::getenv("TAVERELL_MONKEY_SEED");
  return text && *text ? std::strtoull(text, nullptr, 0) : defaultSeed;
}

class Monkey : public ::testing::Test {
protected:
  void SetUp() override {
    window = openMainWindow();
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override { closeMainWindow(window); }

  // One message, then every invariant. `step` names it in failures.
  void send(const char *step, UINT message, WPARAM wParam = 0,
            LPARAM lParam = 0) {
    lastStep = step;
    HANDLE before = workerThread;
    mainWindowProc(window, message, wParam, lParam);
    afterMessage(before);
  }
  void resize(int width, int height) {
    lastStep = "resize";
    HANDLE before = workerThread;
    resizeClient(window, width, height);
    afterMessage(before);
  }

  void afterMessage(HANDLE workerBefore) {
    ++messages;
    std::string where =
        "message " + std::to_string(messages) + " (" + lastStep + ")";
    ASSERT_NE(std::find(statusText, statusText + statusTextSize, 0),
              statusText + statusTextSize)
        << where;
    uint32_t *block = values.load();
    ASSERT_EQ(valueCount, allocatedValueCount(block)) << where;
    ASSERT_EQ(runActive != 0, workerThread != nullptr) << where;
    ASSERT_NE(backBuffer, nullptr) << where;
    ASSERT_GE(requestedSize, 0) << where;
#if !defined(_WIN32)
    ASSERT_LE(standinLiveThreadCount(), 1) << where;
#endif
    if (workerBefore && !workerThread) {
      // The end of a run was noticed: the array is sorted (a distribution
      // count leaves non-decreasing classes), unless the run had no memory.
      std::vector<uint32_t> result(block, block + valueCount);
      where += ", end of a run of " + std::string(1, routineKey(runRoutine)) +
               " on " + std::to_string(valueCount) + " values";
      if (scratchFailureExpected) {
        ASSERT_EQ(
            std::u16string(reinterpret_cast<const char16_t *>(statusText)),
            std::u16string(
                reinterpret_cast<const char16_t *>(messageNoMemoryForRun)))
            << where;
        // Left as it was (a distribution count's classes are made before
        // the worker starts).
        if (runRoutine != distributionCountSort) {
          ASSERT_TRUE(result == runInput) << where;
        }
      } else {
        ASSERT_TRUE(std::is_sorted(result.begin(), result.end())) << where;
        if (runRoutine != distributionCountSort) {
          // The same elements as at the start (which, after a distribution
          // count, need not be a permutation).
          std::sort(runInput.begin(), runInput.end());
          ASSERT_TRUE(result == runInput) << where;
        }
        ++finishedRuns[static_cast<unsigned char>(routineKey(runRoutine))];
      }
      scratchFailureExpected = false;
    }
  }

  char routineKey(SortRoutine routine) {
    for (const SortEntry &entry : sortCatalogue)
      if (entry.routine == routine)
        return static_cast<char>(entry.key);
    return '?';
  }

  // Lets the current run end: a wide window pauses the least (one reported
  // as 0 or 1 wide pauses every second step), then redraws until the end.
  void finishRun() {
    if (yieldInterval.load() < 1000) {
      resize(4000, 50);
      // The system may hold the window to a smaller size, or leave it as it
      // was without a size message: report the size as a restore would.
      RECT client;
      GetClientRect(window, &client);
      send("restored", WM_SIZE, SIZE_RESTORED,
           MAKELPARAM(client.right, client.bottom));
    }
    for (int waited = 0; runActive && waited < 120000; ++waited) {
      send("timer while waiting", WM_TIMER);
      if (HasFatalFailure())
        return;
      Sleep(1);
    }
    ASSERT_EQ(runActive, 0u) << "a run did not end within two minutes";
  }

  void leftClick() {
    if (runActive) {
      HANDLE worker = workerThread;
      send("left click during a run", WM_LBUTTONDOWN, MK_LBUTTON);
      ASSERT_EQ(workerThread, worker) << "a second worker";
      return;
    }
    if (factsOf(selectedSort).quadratic && valueCount > quadraticLimit)
      return; // minutes at this size: not part of the stream
    runRoutine = selectedSort;
    const uint32_t *block = values.load();
    runInput.assign(block, block + valueCount);
    runBudget =
        std::uniform_int_distribution<int>(0, longestRunInMessages)(random);
    send("left click", WM_LBUTTONDOWN, MK_LBUTTON);
  }

  void rightClick(bool failing) {
    bool idle = !runActive;
    uint32_t countBefore = valueCount;
    bool resizing = idle && requestedSize != int32_t(valueCount);
    if (failing)
      failNextAllocations(1);
    send(failing ? "right click without memory" : "right click", WM_RBUTTONDOWN,
         MK_RBUTTON);
    failNextAllocations(0);
    if (!idle)
      return;
    if (failing && resizing) {
      ASSERT_EQ(valueCount, countBefore);
      ASSERT_EQ(requestedSize, int32_t(countBefore));
    }
    const uint32_t *block = values.load();
    ASSERT_TRUE(isPermutation(std::vector<uint32_t>(block, block + valueCount)))
        << "after message " << messages;
  }

  void key(WPARAM code) {
    // Plus only while the size is small; minus otherwise.
    if (code == VK_OEM_PLUS && requestedSize > plusLimit)
      code = VK_OEM_MINUS;
    send("key", WM_KEYDOWN, code);
  }

  // Half the time a catalogue key, otherwise any letter; either case.
  WPARAM letter() {
    std::uniform_int_distribution<int> coin(0, 1);
    WPARAM lower =
        coin(random) ? sortCatalogue[std::uniform_int_distribution<size_t>(
                                         0, sortCatalogueSize - 1)(random)]
                           .key
                     : 'a' + std::uniform_int_distribution<int>(0, 25)(random);
    return coin(random) ? lower - 'a' + 'A' : lower;
  }

  // Client sizes: empty, a few pixels, very wide and low, or small enough
  // that clearing the frame (most of a frame's cost) stays cheap.
  void randomResize() {
    std::uniform_int_distribution<int> kind(0, 9);
    auto side = [&](int largest) {
      switch (kind(random)) {
      case 0:
        return 0;
      case 1:
        return std::uniform_int_distribution<int>(1, 3)(random);
      default:
        return std::uniform_int_distribution<int>(20, largest)(random);
      }
    };
    if (kind(random) == 0)
      resize(4000, side(60));
    else
      resize(side(640), side(320));
  }

  HWND window = nullptr;
  std::mt19937_64 random;
  int messages = 0;
  const char *lastStep = "";
  SortRoutine runRoutine = nullptr;
  int runBudget = 0;
  bool scratchFailureExpected = false;
  int finishedRuns[256] = {};
  std::vector<uint32_t> runInput;
};

TEST_F(Monkey, RandomInputKeepsTheProgramConsistent) {
  unsigned long long seed = monkeySeed();
  SCOPED_TRACE(testing::Message() << "TAVERELL_MONKEY_SEED=" << seed);
  random.seed(seed);

  // A smaller window than the default, and a size the quadratic routines
  // may run on.
  randomResize();
  for (int press = 0; press < 3; ++press)
    key(VK_OEM_MINUS);
  rightClick(false);

  std::discrete_distribution<int> action({
      200, // 0 letter key, either case
      50,  // 1 plus
      60,  // 2 minus
      120, // 3 any key code
      40,  // 4 left click
      70,  // 5 right click
      400, // 6 timer tick
      15,  // 7 resize
      5,   // 8 minimised
      5,   // 9 right click without memory
      5,   // 10 left click without memory for the scratch copy
  });
  while (messages < messageCount && !HasFatalFailure()) {
    if (runActive && --runBudget < 0) {
      finishRun();
      continue;
    }
    switch (action(random)) {
    case 0:
      key(letter());
      break;
    case 1:
      key(VK_OEM_PLUS);
      break;
    case 2:
      key(VK_OEM_MINUS);
      break;
    case 3:
      key(std::uniform_int_distribution<WPARAM>(0, 0xFFFF)(random));
      break;
    case 4:
      leftClick();
      break;
    case 5:
      rightClick(false);
      break;
    case 6:
      send("timer", WM_TIMER);
      break;
    case 7:
      randomResize();
      break;
    case 8:
      send("minimised", WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
      break;
    case 9:
      rightClick(true);
      break;
    case 10:
      // Only these routines allocate.
      if (!runActive &&
          (selectedSort == mergeSort || selectedSort == straightRadixSort ||
           selectedSort == distributionCountSort)) {
        failNextAllocations(1);
        scratchFailureExpected = true;
        leftClick();
        // The worker takes the failure at its first allocation; wait for
        // it so that no later allocation inherits it.
        finishRun();
      }
      break;
    }
  }
  if (runActive)
    finishRun();
  ASSERT_FALSE(HasFatalFailure());
  for (const SortEntry &entry : sortCatalogue)
    EXPECT_GT(finishedRuns[entry.key], 0)
        << "no run of " << static_cast<char>(entry.key) << " was finished";
  int runs = 0;
  for (int count : finishedRuns)
    runs += count;
  std::printf("%d messages, %d runs to their end\n", messages, runs);
}

} // namespace
