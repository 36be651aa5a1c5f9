// Stand-in for the KERNEL32 calls the program uses: threads, Sleep, the
// performance counter, GetTickCount and lstrlenW.
//
// Threads are detached POSIX threads so that a worker still running when the
// process exits does not abort it (std::thread would call std::terminate).
// The exit code is published with release ordering and read with acquire, so
// that a caller who sees the thread's return value also sees its writes, as
// the end of a thread does on Windows.
#include <pthread.h>
#include <time.h>

#include <atomic>
#include <cstdlib>

#include "platform/standin_hooks.h"
#include "platform/win32.h"

namespace {

struct ThreadRecord {
  std::atomic<DWORD> exitCode{STILL_ACTIVE};
  std::atomic<int> references{2}; // the caller's handle and the thread itself
  LPTHREAD_START_ROUTINE routine = nullptr;
  LPVOID parameter = nullptr;
};

struct KernelState {
  std::atomic<DWORD> nextThreadId{1000};
  std::atomic<int> failingThreadCreations{0};
  std::atomic<int> liveThreads{0};
  std::atomic<bool> counterAvailable{true};
  std::atomic<bool> counterFixed{false};
  std::atomic<LONGLONG> fixedCounter{0};
  std::atomic<bool> ticksFixed{false};
  std::atomic<DWORD> fixedTicks{0};
  std::atomic<unsigned long> sleepCount{0};
  std::atomic<SleepObserver> sleepObserver{nullptr};
};

KernelState kernel;

void releaseRecord(ThreadRecord *record) {
  if (record->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
    delete record;
}

void *threadStart(void *argument) {
  auto *record = static_cast<ThreadRecord *>(argument);
  DWORD code = record->routine(record->parameter);
  // Before the exit code is published: whoever sees the thread end and
  // starts the next one must not count both.
  kernel.liveThreads.fetch_sub(1);
  record->exitCode.store(code, std::memory_order_release);
  releaseRecord(record);
  return nullptr;
}

LONGLONG monotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<LONGLONG>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

} // namespace

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize,
                           LPTHREAD_START_ROUTINE startAddress,
                           LPVOID parameter, DWORD, LPDWORD threadId) {
  if (kernel.failingThreadCreations.load() > 0) {
    kernel.failingThreadCreations.fetch_sub(1);
    return nullptr;
  }
  auto *record = new ThreadRecord;
  record->routine = startAddress;
  record->parameter = parameter;

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  // Windows' default stack is 1 MiB; the recursive sorts need far less, but
  // keep at least the platform default.
  if (stackSize > 0)
    pthread_attr_setstacksize(&attributes, stackSize);
  pthread_t thread;
  kernel.liveThreads.fetch_add(1);
  int failed = pthread_create(&thread, &attributes, threadStart, record);
  pthread_attr_destroy(&attributes);
  if (failed) {
    kernel.liveThreads.fetch_sub(1);
    delete record;
    return nullptr;
  }
  if (threadId)
    *threadId = kernel.nextThreadId.fetch_add(1);
  return record;
}

BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  if (!thread || !exitCode)
    return FALSE;
  *exitCode = static_cast<ThreadRecord *>(thread)->exitCode.load(
      std::memory_order_acquire);
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE object) {
  if (!object)
    return FALSE;
  releaseRecord(static_cast<ThreadRecord *>(object));
  return TRUE;
}

void WINAPI Sleep(DWORD milliseconds) {
  kernel.sleepCount.fetch_add(1, std::memory_order_relaxed);
  if (SleepObserver observer = kernel.sleepObserver.load())
    observer(milliseconds);
  timespec delay{static_cast<time_t>(milliseconds / 1000),
                 static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&delay, &delay) != 0) {
  }
}

// Windows reports 10 MHz on current systems; the stand-in does the same.
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *frequency) {
  if (!kernel.counterAvailable.load()) {
    frequency->QuadPart = 0;
    return FALSE;
  }
  frequency->QuadPart = 10000000;
  return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *count) {
  if (kernel.counterFixed.load())
    count->QuadPart = kernel.fixedCounter.load();
  else
    count->QuadPart = monotonicNanoseconds() / 100;
  return TRUE;
}

DWORD WINAPI GetTickCount(void) {
  if (kernel.ticksFixed.load())
    return kernel.fixedTicks.load();
  return static_cast<DWORD>(monotonicNanoseconds() / 1000000);
}

int WINAPI lstrlenW(LPCWSTR string) {
  if (!string)
    return 0;
  int length = 0;
  while (string[length])
    ++length;
  return length;
}

HINSTANCE WINAPI GetModuleHandleW(LPCWSTR) {
  // Any non-null value: the stand-in has one module.
  static char module;
  return reinterpret_cast<HINSTANCE>(&module);
}

// ---- test hooks
// ----------------------------------------------------------------
void standinSetPerformanceCounter(LONGLONG reading) {
  kernel.fixedCounter.store(reading);
  kernel.counterFixed.store(true);
}
void standinSetPerformanceCounterAvailable(bool available) {
  kernel.counterAvailable.store(available);
}
void standinSetTickCount(DWORD ticks) {
  kernel.fixedTicks.store(ticks);
  kernel.ticksFixed.store(true);
}
void standinUseRealClock() {
  kernel.counterFixed.store(false);
  kernel.ticksFixed.store(false);
  kernel.counterAvailable.store(true);
}
void standinSetSleepObserver(SleepObserver observer) {
  kernel.sleepObserver.store(observer);
}
unsigned long standinSleepCount() { return kernel.sleepCount.load(); }
void standinFailThreadCreations(int count) {
  kernel.failingThreadCreations.store(count);
}
int standinLiveThreadCount() { return kernel.liveThreads.load(); }
