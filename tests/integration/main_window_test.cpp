// The real window procedure in a headless window: first frame, keys, clicks,
// runs of every routine, resizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/run_control.h"
#include "data/allocation_hooks.h"
#include "render/frame.h"
#include "sorts/sort_catalogue.h"
#include "support/test_support.h"
#include "support/window_harness.h"

namespace {

// A worker that runs until the test lets it go.
std::atomic<bool> releaseWorker{false};
DWORD WINAPI blockedSort(LPVOID) {
  while (!releaseWorker.load())
    Sleep(1);
  return 1;
}

class MainWindow : public ::testing::Test {
protected:
  void SetUp() override {
    window = openMainWindow();
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    releaseWorker.store(true);
    closeMainWindow(window);
    releaseWorker.store(false);
  }
  RECT client() {
    RECT r;
    GetClientRect(window, &r);
    return r;
  }
  void key(WPARAM code) { mainWindowProc(window, WM_KEYDOWN, code, 0); }
  void leftClick() { mainWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, 0); }
  void rightClick() { mainWindowProc(window, WM_RBUTTONDOWN, MK_RBUTTON, 0); }
  bool listingShown(const Pixels &frame) {
    int x = frame.width - listingInset;
    for (size_t row = 0; row < sortCatalogueSize; ++row) {
      WCHAR line[listingLineSize];
      formatListingLine(line, sortCatalogue[row]);
      if (!textDrawnAt(frame, x, listingRowHeight * int(row), line))
        return false;
    }
    return true;
  }
  // The frame on screen plots `array` and shows the status line.
  void expectOnScreen(const std::vector<uint32_t> &array) {
    Pixels frame = readBitmap(backBuffer);
    EXPECT_EQ(plotDifference(frame, array), "");
    EXPECT_TRUE(textDrawnAt(frame, statusX, statusY, statusText));
  }
  // The program still works: a shuffle and a run of insertion sort on 2000
  // values end sorted, and the frame shows it.
  void sortsToTheEnd() {
    key('I');
    requestedSize = 2000;
    rightClick();
    leftClick();
    EXPECT_EQ(runUntilEnd(window), 1);
    std::vector<uint32_t> result = sharedArray();
    EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
    EXPECT_TRUE(isPermutation(result));
    expectOnScreen(result);
  }
  HWND window = nullptr;
};

TEST_F(MainWindow, FirstFrameShowsShuffledPlotHelpLineAndListing) {
  EXPECT_EQ(valueCount, 30000u);
  EXPECT_EQ(requestedSize, 30000);
  EXPECT_EQ(selectedSort, insertionSort);
  EXPECT_TRUE(isPermutation(sharedArray()));
  EXPECT_FALSE(std::is_sorted(sharedArray().begin(), sharedArray().end()));
  ASSERT_NE(backBuffer, nullptr);
  // The size message after creation set the pace from the width.
  RECT r = client();
  EXPECT_EQ(yieldInterval.load(), std::max<uint32_t>(r.right / 2, 2));

  Pixels frame = readBitmap(backBuffer);
  ASSERT_EQ(frame.width, r.right);
  ASSERT_EQ(frame.height, r.bottom);
  EXPECT_TRUE(textDrawnAt(frame, statusX, statusY, statusText));
  EXPECT_TRUE(textDrawnAt(frame, frame.width - listingInset,
                          2 * listingRowHeight, TEXT("-> i: 삽입 정렬")));
  EXPECT_FALSE(textDrawnAt(frame, frame.width - listingInset, 0,
                           TEXT("-> b: 거품 정렬")));
  EXPECT_TRUE(listingShown(frame));

  // Below the text, every column has its element's pixel and nothing else.
  uint32_t step = valueCount / frame.width;
  const uint32_t *a = values.load();
  int checked = 0;
  for (int x = 0; x < frame.width - listingInset; ++x) {
    int y = int(uint64_t(a[x * step]) * frame.height / valueCount);
    if (y < 250)
      continue;
    for (int row = 250; row < frame.height; ++row)
      ASSERT_EQ(frame.at(x, row), row == y ? black : white) << x << "," << row;
    ++checked;
  }
  EXPECT_GT(checked, 100);
}

TEST_F(MainWindow, CatalogueKeysInBothCasesSelectTheirRow) {
  for (const SortEntry &entry : sortCatalogue) {
    key(entry.key);
    EXPECT_EQ(selectedSort, entry.routine);
    key(insertionSort == entry.routine ? 'B' : 'I');
    key(entry.key - u'a' + 'A');
    EXPECT_EQ(selectedSort, entry.routine);
    EXPECT_EQ(status(), formatted(messageDataSize, 30000));
    Pixels frame = readBitmap(backBuffer);
    EXPECT_TRUE(listingShown(frame));
  }
}

TEST_F(MainWindow, OtherKeysOnlyRewriteTheStatusLine) {
  key('Q');
  // Escape, space and the numeric keypad's plus among them.
  for (WPARAM code : {WPARAM('A'), WPARAM('Z'), WPARAM('1'), WPARAM(0x1B),
                      WPARAM(0x20), WPARAM(0x6B), WPARAM(0xFFFF)}) {
    wsprintfW(statusText, TEXT("-"));
    key(code);
    EXPECT_EQ(selectedSort, quickSort) << code;
    EXPECT_EQ(requestedSize, 30000) << code;
    EXPECT_EQ(status(), formatted(messageDataSize, 30000)) << code;
  }
}

TEST_F(MainWindow, PlusAndMinusChangeTheRequestedSizeDownToTheWidth) {
  key(VK_OEM_PLUS);
  key(VK_OEM_PLUS);
  EXPECT_EQ(requestedSize, 50000);
  EXPECT_EQ(status(), formatted(messageDataSize, 50000));
  EXPECT_EQ(valueCount, 30000u); // until the next shuffle
  int width = client().right;
  for (int press = 0; press < 8; ++press)
    key(VK_OEM_MINUS);
  EXPECT_EQ(requestedSize, width);
  EXPECT_EQ(status(), formatted(messageDataSize, unsigned(width)));
  rightClick();
  EXPECT_EQ(valueCount, unsigned(width));
  EXPECT_TRUE(isPermutation(sharedArray()));
}

TEST_F(MainWindow, ClicksDuringARun) {
  selectedSort = blockedSort;
  leftClick();
  ASSERT_EQ(runActive, 1u);
  HANDLE worker = workerThread;
  std::vector<uint32_t> before = sharedArray();

  rightClick(); // refused
  EXPECT_EQ(sharedArray(), before);
  wsprintfW(statusText, TEXT("-"));
  leftClick(); // only the status line
  EXPECT_EQ(workerThread, worker);
  EXPECT_EQ(status(), formatted(messageRunning, 30000));

  timerTick(window);
  EXPECT_FALSE(listingShown(readBitmap(backBuffer)));
  releaseWorker.store(true);
  EXPECT_EQ(runUntilEnd(window), 1);
  EXPECT_TRUE(listingShown(readBitmap(backBuffer)));
}

TEST_F(MainWindow, EveryRoutineRunsToItsEndWithOneElapsedTimeMessage) {
  requestedSize = 3000;
  for (const SortEntry &entry : sortCatalogue) {
    SCOPED_TRACE(static_cast<char>(entry.key));
    key(entry.key);
    rightClick();
    ASSERT_EQ(valueCount, 3000u);
    leftClick();
    EXPECT_EQ(status(), formatted(messageRunning, 3000));
    EXPECT_EQ(runUntilEnd(window), 1);
    EXPECT_EQ(runActive, 0u);
    EXPECT_EQ(retiredBuffer.load(), nullptr);
    std::u16string message = status();
    std::u16string suffix = text(TEXT("틱 소요."));
    ASSERT_GT(message.size(), suffix.size());
    EXPECT_EQ(message.substr(message.size() - suffix.size()), suffix);
    std::vector<uint32_t> result = sharedArray();
    EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
    if (entry.routine != distributionCountSort) {
      EXPECT_TRUE(isPermutation(result));
    }
    EXPECT_TRUE(listingShown(readBitmap(backBuffer)));
    // The sorted array is a falling diagonal.
    Pixels frame = readBitmap(backBuffer);
    int x = frame.width / 3;
    int y =
        int(uint64_t(result[x * (3000 / frame.width)]) * frame.height / 3000);
    EXPECT_EQ(frame.at(x, y), black);
  }
}

TEST_F(MainWindow, ResizeDuringARunChangesThePaceAndTheFrameSize) {
  selectedSort = blockedSort;
  leftClick();
  for (int width : {640, 900, 333}) {
    resizeClient(window, width, 480);
    RECT r = client(); // the system may hold the window to a minimum size
    EXPECT_EQ(yieldInterval.load(), std::max<uint32_t>(r.right / 2, 2));
    ASSERT_NE(backBuffer, nullptr);
    Pixels frame = readBitmap(backBuffer);
    EXPECT_EQ(frame.width, r.right);
    EXPECT_EQ(frame.height, r.bottom);
  }
  // Widths whose half is 0, as a minimised window reports: the pace never
  // becomes 0, and the frame has nothing to divide by.
  for (int width : {1, 0}) {
    mainWindowProc(window, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(width, 0));
    EXPECT_EQ(yieldInterval.load(), 2u);
    timerTick(window);
  }
}

TEST_F(MainWindow, MergeSortPointerExchangeNeverLeavesThePlotOnFreedMemory) {
  // Frames are drawn throughout; under AddressSanitizer any read of a
  // released buffer fails the test.
  uint32_t *original = values.load();
  key('M');
  leftClick();
  EXPECT_EQ(runUntilEnd(window), 1);
  // 15 passes over 30000 values: the run ends on the merge sort's buffer,
  // and the original was released only after the end was noticed.
  EXPECT_NE(values.load(), original);
  EXPECT_EQ(retiredBuffer.load(), nullptr);
  std::vector<uint32_t> result = sharedArray();
  EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
  EXPECT_TRUE(isPermutation(result));
}

TEST_F(MainWindow, AllocationFailuresAreReportedAndLoseNothing) {
  // A shuffle to a larger size that cannot be allocated keeps the old array.
  key(VK_OEM_PLUS);
  failNextAllocations(1);
  rightClick();
  EXPECT_EQ(valueCount, 30000u);
  EXPECT_EQ(requestedSize, 30000);
  EXPECT_TRUE(isPermutation(sharedArray()));
  EXPECT_EQ(status(), formatted(messageNoMemoryForSize, 30000));
  expectOnScreen(sharedArray());
  sortsToTheEnd();

  // Scratch memory of a run: the array is left as it was.
  for (WPARAM routineKey : {'M', 'X', 'D'}) {
    SCOPED_TRACE(static_cast<char>(routineKey));
    key(routineKey);
    rightClick();
    std::vector<uint32_t> before = sharedArray();
    if (routineKey == 'D') // the run starts from the classes
      for (uint32_t &value : before)
        value = std::min(value / (valueCount / 100), 100u);
    failNextAllocations(1);
    leftClick();
    EXPECT_EQ(runUntilEnd(window), 1);
    EXPECT_EQ(status(), text(messageNoMemoryForRun));
    EXPECT_EQ(sharedArray(), before);
    expectOnScreen(before);
    // The program goes on working.
    rightClick();
    EXPECT_TRUE(isPermutation(sharedArray()));
    sortsToTheEnd();
  }
}

TEST_F(MainWindow, WithoutMemoryAtStartTheProgramStartsEmpty) {
  closeMainWindow(window);
  failNextAllocations(1);
  window = openMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(valueCount, 0u);
  EXPECT_EQ(allocatedValueCount(values.load()), 0u);
  EXPECT_EQ(status(), text(messageNoMemoryForData));
  expectOnScreen({});
  // Nothing to sort, and no array at all: every routine ends at once.
  for (const SortEntry &entry : sortCatalogue) {
    key(entry.key);
    leftClick();
    EXPECT_EQ(runUntilEnd(window), 1) << static_cast<char>(entry.key);
    EXPECT_EQ(valueCount, 0u);
  }
  // The next right click tries the size again.
  rightClick();
  EXPECT_EQ(valueCount, 30000u);
  EXPECT_EQ(allocatedValueCount(values.load()), 30000u);
  EXPECT_TRUE(isPermutation(sharedArray()));
  expectOnScreen(sharedArray());
  sortsToTheEnd();
}

TEST_F(MainWindow, ClosingDuringARunReleasesNothingUnderTheWorker) {
  selectedSort = blockedSort;
  leftClick();
  uint32_t *array = values.load();
  DestroyWindow(window);
  EXPECT_EQ(values.load(), array); // still there for the worker
  releaseWorker.store(true);
  while (runActive && workerThread) {
    DWORD code = 0;
    GetExitCodeThread(workerThread, &code);
    if (code == 1)
      break;
    Sleep(1);
  }
  // Clean up what the process exit would have reclaimed.
  CloseHandle(workerThread);
  workerThread = nullptr;
  runActive = 0;
  releaseSharedArray();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
  window = openMainWindow();
}

} // namespace
