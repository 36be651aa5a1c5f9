// A run as the user sees it, for each routine: the real main window
// (headless), 1000 pixels wide (so yieldInterval is 500), 30000 values
// shuffled the same way for every routine, the routine on a worker thread
// made with CreateThread, and the interface thread drawing a frame every
// 10 ms meanwhile. Reports counted operations, pauses (Sleep calls), elapsed
// time and the share of it the worker spent asleep.
//
// The worker's time asleep is its wall time less its CPU time, measured on
// the worker itself; it also counts time the worker was runnable but not
// running, which getrusage's involuntary context switches show.
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
#include "routine_names.h"
#include "sorts/sort_catalogue.h"

namespace {

constexpr uint32_t profileSize = 30000;
constexpr int windowWidth = 1000;
constexpr int windowHeight = 700;

thread_local bool onWorker = false;
std::atomic<unsigned long> workerSleeps{0};

void countWorkerSleep(DWORD) {
  if (onWorker)
    workerSleeps.fetch_add(1, std::memory_order_relaxed);
}

double seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct WorkerReport {
  SortRoutine routine = nullptr;
  double wall = 0;
  double cpu = 0;
  long involuntarySwitches = 0;
};

WorkerReport report;

// The routine, bracketed by the measurements; returns what it returns.
DWORD WINAPI measuredWorker(LPVOID) {
  onWorker = true;
  rusage before{}, after{};
  getrusage(RUSAGE_THREAD, &before);
  double wall = seconds(CLOCK_MONOTONIC);
  double cpu = seconds(CLOCK_THREAD_CPUTIME_ID);
  DWORD result = report.routine(nullptr);
  report.cpu = seconds(CLOCK_THREAD_CPUTIME_ID) - cpu;
  report.wall = seconds(CLOCK_MONOTONIC) - wall;
  getrusage(RUSAGE_THREAD, &after);
  report.involuntarySwitches = after.ru_nivcsw - before.ru_nivcsw;
  return result;
}

void fixedSeed() {
  uint32_t x = 0x9E3779B9u;
  for (uint32_t &word : wellState) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    word = x;
  }
  wellIndex = 0;
}

} // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  registerMainWindowClass(instance);
  HWND window = createMainWindow(instance);
  if (!window)
    return 1;
  ShowWindow(window, SW_SHOW);
  standinResizeWindow(window, windowWidth, windowHeight);
  standinSetSleepObserver(countWorkerSleep);

  std::printf("routine\tkey\tn\tyield_interval\toperations\tpauses\t"
              "elapsed_ms\tcpu_ms\tasleep_ms\tasleep_share\t"
              "involuntary_switches\n");
  for (const SortEntry &entry : sortCatalogue) {
    // The same permutation for every routine, made as a right click does.
    fixedSeed();
    requestedSize = profileSize;
    mainWindowProc(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    mainWindowProc(window, WM_KEYDOWN, std::toupper(entry.key), 0);

    // What startRun does, with the measured worker in place of the routine.
    if (selectedSort == distributionCountSort)
      prepareDistributionClasses();
    report = WorkerReport{};
    report.routine = selectedSort;
    uint32_t operationsBefore = operationCount;
    unsigned long sleepsBefore = workerSleeps.load();
    unsigned long allSleepsBefore = standinSleepCount();
    runActive = 1;
    workerThread =
        CreateThread(nullptr, 0, measuredWorker, nullptr, 0, &workerThreadId);
    if (!workerThread)
      return 1;
    // Frames every 10 ms until one notices the end, as the timer draws them.
    auto due = std::chrono::steady_clock::now();
    while (runActive) {
      due += std::chrono::milliseconds(10);
      std::this_thread::sleep_until(due);
      mainWindowProc(window, WM_TIMER, 0, 0);
      mainWindowProc(window, WM_PAINT, 0, 0);
    }
    unsigned long pauses = workerSleeps.load() - sleepsBefore;
    if (standinSleepCount() - allSleepsBefore != pauses)
      std::fprintf(stderr, "Sleep calls off the worker\n");
    double asleep = report.wall - report.cpu;
    char key = static_cast<char>(entry.key);
    std::printf("%s\t%c\t%u\t%u\t%u\t%lu\t%.1f\t%.1f\t%.1f\t%.3f\t%ld\n",
                sortRoutineName(key), key, valueCount, yieldInterval.load(),
                operationCount - operationsBefore, pauses, report.wall * 1e3,
                report.cpu * 1e3, asleep * 1e3, asleep / report.wall,
                report.involuntarySwitches);
    std::fflush(stdout);
  }
  standinSetSleepObserver(nullptr);
  DestroyWindow(window);
  return 0;
}
