// Frame cadence during a run, on the real message loop: the real main window
// (its class registered with a thin procedure that counts and forwards to
// mainWindowProc), a run of each routine started by WM_LBUTTONDOWN, and the
// WM_TIMER frames drawn while it lasts counted per second of run. The timer
// asks for 100 frames a second.
//
// Each routine starts at 30000 values; a run shorter than a second is
// repeated with more values until it lasts one.
//
// Builds for Linux (the stand-in) and Windows (runs under wine64). Output:
// one tab-separated line per routine after a header line.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "app/program_state.h"
#include "sorts/sort_catalogue.h"
#include "support/routine_facts.h"
#include "support/window_harness.h"

namespace {

constexpr int windowWidth = 1000;
constexpr int windowHeight = 700;
constexpr uint32_t startSize = 30000;
constexpr double shortestRun = 1.0; // seconds

struct Cadence {
  bool ended = false;
  int timerFrames = 0; // frames drawn while the run was active
  int paints = 0;
  LONGLONG start = 0;
  LONGLONG end = 0;
  LONGLONG lastFrame = 0;
  LONGLONG longestGap = 0; // between two frames, or the start and a frame
};

Cadence cadence;
LONGLONG frequency = 1;

LONGLONG counter() {
  LARGE_INTEGER reading;
  QueryPerformanceCounter(&reading);
  return reading.QuadPart;
}

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam) {
  switch (message) {
  case WM_LBUTTONDOWN:
    cadence.start = cadence.lastFrame = counter();
    break;
  case WM_TIMER: {
    bool active = runActive != 0;
    LRESULT result = mainWindowProc(window, message, wParam, lParam);
    if (active) {
      LONGLONG now = counter();
      ++cadence.timerFrames;
      cadence.longestGap =
          std::max(cadence.longestGap, now - cadence.lastFrame);
      cadence.lastFrame = now;
      if (!runActive) {
        cadence.end = now;
        cadence.ended = true;
      }
    }
    return result;
  }
  case WM_PAINT:
    if (runActive)
      ++cadence.paints;
    break;
  default:
    break;
  }
  return mainWindowProc(window, message, wParam, lParam);
}

// Shuffles `n` values, selects the routine and starts it, as the message
// loop would deliver the clicks and the key, then runs the loop until the
// run has ended.
bool runOnce(HWND window, char key, uint32_t n) {
  cadence = Cadence{};
  requestedSize = static_cast<int32_t>(n);
  countingProc(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
  countingProc(window, WM_KEYDOWN, static_cast<WPARAM>(std::toupper(key)), 0);
  countingProc(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  MSG message;
  while (!cadence.ended) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0)
      return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

} // namespace

int main() {
#if !defined(_WIN32)
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  const char *platform = "linux";
#else
  const char *platform = "windows";
#endif
  LARGE_INTEGER reading;
  QueryPerformanceFrequency(&reading);
  frequency = reading.QuadPart;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registerMainWindowClass(instance, countingProc))
    return 1;
  HWND window = createMainWindow(instance);
  if (!window)
    return 1;
  ShowWindow(window, SW_SHOW);
  resizeClient(window, windowWidth, windowHeight);

  std::printf("platform\troutine\tkey\tn\trun_s\ttimer_frames\tframes_per_s\t"
              "paints\tlongest_gap_ms\n");
  for (const SortEntry &entry : sortCatalogue) {
    char key = static_cast<char>(entry.key);
    const RoutineFacts &facts = factsOf(entry.routine);
    uint32_t n = startSize;
    double seconds = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (!runOnce(window, key, n))
        return 1;
      seconds = double(cadence.end - cadence.start) / double(frequency);
      if (seconds >= shortestRun)
        break;
      // Aim a little past a second: the quadratic sorts grow with n squared.
      double factor =
          std::min(16.0, 1.3 * shortestRun / std::max(seconds, 1e-3));
      double grown = n * (facts.quadratic ? std::sqrt(factor) : factor);
      n = static_cast<uint32_t>(std::ceil(grown / 10000.0) * 10000.0);
    }
    std::printf("%s\t%s\t%c\t%u\t%.3f\t%d\t%.1f\t%d\t%.1f\n", platform,
                facts.label, key, n, seconds, cadence.timerFrames,
                cadence.timerFrames / seconds, cadence.paints,
                double(cadence.longestGap) * 1e3 / double(frequency));
    std::fflush(stdout);
  }
  DestroyWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
  return 0;
}
