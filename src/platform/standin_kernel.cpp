// Stand-in for the KERNEL32 calls the program uses: threads, Sleep, the
// performance counter, GetTickCount and lstrlenW.
//
// A thread's exit code is published with release ordering and read with
// acquire, so that a caller who sees the thread's return value also sees
// its writes, as the end of a thread does on Windows. The counter runs at
// 10 MHz, as Windows reports it on current systems.
#include <atomic>

#include "platform/standin_system.h"
#include "platform/win32.h"

using namespace standin;

namespace {

struct ThreadRecord {
  std::atomic<DWORD> exitCode{STILL_ACTIVE};
  std::atomic<int> references{2}; // the caller's handle and the thread itself
  LPTHREAD_START_ROUTINE routine = nullptr;
  LPVOID parameter = nullptr;
};

struct KernelState {
  std::atomic<DWORD> nextThreadId{1000};
};

KernelState kernel;

void releaseRecord(ThreadRecord *record) {
  if (record->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
    delete record;
}

void *threadStart(void *argument) {
  auto *record = static_cast<ThreadRecord *>(argument);
  DWORD code = record->routine(record->parameter);
  threadFinishing();
  record->exitCode.store(code, std::memory_order_release);
  releaseRecord(record);
  return nullptr;
}

} // namespace

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T,
                           LPTHREAD_START_ROUTINE startAddress,
                           LPVOID parameter, DWORD, LPDWORD threadId) {
  auto *record = new ThreadRecord;
  record->routine = startAddress;
  record->parameter = parameter;
  if (!startThread(threadStart, record)) {
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

void WINAPI Sleep(DWORD milliseconds) { sleepMilliseconds(milliseconds); }

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *frequency) {
  if (!counterAvailable()) {
    frequency->QuadPart = 0;
    return FALSE;
  }
  frequency->QuadPart = 10000000;
  return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *count) {
  count->QuadPart = clockNanoseconds() / 100;
  return TRUE;
}

DWORD WINAPI GetTickCount(void) {
  // Wraps after 49.7 days, as on Windows.
  return static_cast<DWORD>(clockNanoseconds() / 1000000);
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
