// Every routine runs on its worker while the interface thread draws a frame
// every 10 ms and the window changes size: under ThreadSanitizer this is the
// check that everything shared between the two threads is accessed safely.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/program_state.h"
#include "sorts/sort_catalogue.h"
#include "support/routine_facts.h"
#include "support/test_support.h"
#include "support/window_harness.h"

namespace {

TEST(ConcurrentFrames, EveryRoutineWhileFramesAreDrawnAndTheWindowResizes) {
  HWND window = openMainWindow();
  const int widths[] = {640, 1000, 320, 800};
  for (const SortEntry &entry : sortCatalogue) {
    SCOPED_TRACE(static_cast<char>(entry.key));
    mainWindowProc(window, WM_KEYDOWN, entry.key, 0);
    // The quadratic routines get fewer values, so that each run still spans
    // many frames without taking long under a sanitizer.
    requestedSize = factsOf(entry.routine).quadratic ? 4000 : 30000;
    mainWindowProc(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    mainWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    int frames = 0;
    while (runActive && frames < 60000) {
      if (++frames % 7 == 0)
        resizeClient(window, widths[(frames / 7) % 4], 480);
      timerTick(window);
      Sleep(10);
    }
    EXPECT_EQ(runActive, 0u);
    std::vector<uint32_t> result = sharedArray();
    EXPECT_TRUE(std::is_sorted(result.begin(), result.end()));
  }
  closeMainWindow(window);
}

} // namespace
