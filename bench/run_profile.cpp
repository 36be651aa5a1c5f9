// A run as the user sees it, for each routine: the real main window
// (headless), 1000 pixels wide (so yieldInterval is 500), 30000 values
// shuffled the same way for every routine, the run started by a left click
// and the interface thread drawing a frame every 10 ms meanwhile. Reports
// counted operations, pauses (the worker's Sleep calls), the elapsed time
// the program reports (from its counter readings) and the share of it the
// worker spent asleep.
//
// The worker's CPU time is the process's less the interface thread's (SDL's
// few other threads sleep). Its time asleep is the elapsed time less its
// CPU time; it also counts time the worker was runnable but not running,
// which the involuntary context switches (likewise the process's less the
// interface thread's) show.
//
// Output: one tab-separated line per routine after a header line.
#include <sys/resource.h>
#include <time.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/main_window.h"
#include "app/program_state.h"
#include "platform/standin_hooks.h"
#include "sorts/sort_catalogue.h"
#include "support/routine_facts.h"
#include "support/test_support.h"
#include "support/window_harness.h"

namespace {

constexpr uint32_t profileSize = 30000;
constexpr int windowWidth = 1000;
constexpr int windowHeight = 700;

// Sleep calls off the interface thread: the worker's.
thread_local bool onInterfaceThread = false;
std::atomic<unsigned long> workerSleeps{0};

void countWorkerSleep(DWORD) {
  if (!onInterfaceThread)
    workerSleeps.fetch_add(1, std::memory_order_relaxed);
}

double seconds(const timeval &t) { return t.tv_sec + t.tv_usec * 1e-6; }

struct Usage {
  double cpu = 0; // seconds
  long involuntarySwitches = 0;
};

Usage usage(int who) {
  rusage r{};
  getrusage(who, &r);
  return Usage{seconds(r.ru_utime) + seconds(r.ru_stime), r.ru_nivcsw};
}

// The worker's share of the process's usage since `process` and `thread`.
Usage workerUsage(const Usage &process, const Usage &thread) {
  Usage p = usage(RUSAGE_SELF), t = usage(RUSAGE_THREAD);
  return Usage{(p.cpu - process.cpu) - (t.cpu - thread.cpu),
               (p.involuntarySwitches - process.involuntarySwitches) -
                   (t.involuntarySwitches - thread.involuntarySwitches)};
}

} // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  onInterfaceThread = true;
  HWND window = openMainWindow();
  if (!window)
    return 1;
  resizeClient(window, windowWidth, windowHeight);
  standinSetSleepObserver(countWorkerSleep);

  std::printf("routine\tkey\tn\tyield_interval\toperations\tpauses\t"
              "elapsed_ms\tcpu_ms\tasleep_ms\tasleep_share\t"
              "involuntary_switches\n");
  for (const SortEntry &entry : sortCatalogue) {
    // The same permutation for every routine, made as a right click does.
    seedGeneratorFrom(1);
    requestedSize = profileSize;
    mainWindowProc(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    mainWindowProc(window, WM_KEYDOWN, std::toupper(entry.key), 0);

    uint32_t operationsBefore = operationCount;
    unsigned long sleepsBefore = workerSleeps.load();
    Usage process = usage(RUSAGE_SELF), thread = usage(RUSAGE_THREAD);
    mainWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    if (!runActive)
      return 1;
    // Frames every 10 ms until one notices the end, as the timer draws them.
    auto due = std::chrono::steady_clock::now();
    while (runActive) {
      due += std::chrono::milliseconds(10);
      std::this_thread::sleep_until(due);
      mainWindowProc(window, WM_TIMER, 0, 0);
      mainWindowProc(window, WM_PAINT, 0, 0);
    }
    Usage worker = workerUsage(process, thread);
    double elapsed = double(endCount - startCount) / double(counterFrequency);
    double asleep = elapsed - worker.cpu;
    char key = static_cast<char>(entry.key);
    std::printf("%s\t%c\t%u\t%u\t%u\t%lu\t%.1f\t%.1f\t%.1f\t%.3f\t%ld\n",
                factsOf(entry.routine).label, key, valueCount,
                yieldInterval.load(), operationCount - operationsBefore,
                workerSleeps.load() - sleepsBefore, elapsed * 1e3,
                worker.cpu * 1e3, asleep * 1e3, asleep / elapsed,
                worker.involuntarySwitches);
    std::fflush(stdout);
  }
  standinSetSleepObserver(nullptr);
  closeMainWindow(window);
  return 0;
}
