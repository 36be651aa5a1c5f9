// The stand-in's KERNEL32 subset: threads and their exit codes, the
// performance counter and tick count, and lstrlenW.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/standin_hooks.h"
#include "platform/win32.h"

namespace {

// Held at a gate until the test opens it, so that "still running" is
// observable for as long as the test needs.
struct Gate {
  std::atomic<bool> entered{false}, open{false}, leaving{false};
};

DWORD WINAPI waitAtGate(LPVOID parameter) {
  auto *gate = static_cast<Gate *>(parameter);
  gate->entered = true;
  while (!gate->open)
    std::this_thread::yield();
  gate->leaving = true;
  return 42;
}

// Polls for the exit code with a generous deadline (a hang guard only).
DWORD waitForExit(HANDLE thread) {
  DWORD code = STILL_ACTIVE;
  for (int tries = 0; tries < 100000 && code == STILL_ACTIVE; ++tries) {
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return code;
}

TEST(KernelThreads, ExitCodeIsStillActiveUntilTheProcedureReturns) {
  Gate gate;
  DWORD id = 0, otherId = 0;
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, &id);
  ASSERT_NE(thread, nullptr);
  while (!gate.entered)
    std::this_thread::yield();
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 259u);
  gate.open = true;
  EXPECT_EQ(waitForExit(thread), 42u);
  EXPECT_TRUE(CloseHandle(thread));

  HANDLE other = CreateThread(nullptr, 0, waitAtGate, &gate, 0, &otherId);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(waitForExit(other), 42u);
  CloseHandle(other);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, otherId);
  EXPECT_FALSE(GetExitCodeThread(nullptr, &code));
}

// The window may be closed mid-run: the handle goes first, the thread later.
TEST(KernelThreads, ClosingTheHandleOfARunningThreadIsSafe) {
  static Gate gate; // outlives the thread, which nothing joins
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(CloseHandle(thread));
  gate.open = true;
  while (!gate.leaving)
    std::this_thread::yield();
  // Time for the thread to drop its own reference (ASan sees any misuse).
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(KernelThreads, RequestedCreationFailuresReturnNoHandle) {
  Gate gate;
  gate.open = true;
  standinFailThreadCreations(1);
  EXPECT_EQ(CreateThread(nullptr, 0, waitAtGate, &gate, 0, nullptr), nullptr);
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(waitForExit(thread), 42u);
  CloseHandle(thread);
}

TEST(KernelCounter, RunsAtTenMegahertzAndNeverGoesBack) {
  standinUseRealClock();
  LARGE_INTEGER frequency{}, previous{}, now{};
  EXPECT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 10000000);
  QueryPerformanceCounter(&previous);
  for (int read = 0; read < 10000; ++read, previous = now) {
    EXPECT_TRUE(QueryPerformanceCounter(&now));
    ASSERT_GE(now.QuadPart, previous.QuadPart);
  }
  // A sleep of at least 2 ms is at least 20000 counts at 10 MHz.
  Sleep(2);
  QueryPerformanceCounter(&now);
  EXPECT_GE(now.QuadPart - previous.QuadPart, 20000);
}

// The counter (10 MHz) and the tick count (1 kHz, wrapping at 2^32) read
// one clock.
TEST(KernelCounter, CounterAndTickCountReadOneClock) {
  struct Case {
    LONGLONG nanoseconds, counter;
    DWORD ticks;
  };
  const Case cases[] = {
      {0, 0, 0},
      {123456789, 1234567, 123},
      {4294967295999999LL, 42949672959999LL, 0xFFFFFFFFu},
      {4294967296000000LL, 42949672960000LL, 0},
  };
  for (const Case &c : cases) {
    standinDriveClock(c.nanoseconds);
    LARGE_INTEGER count{};
    EXPECT_TRUE(QueryPerformanceCounter(&count));
    EXPECT_EQ(count.QuadPart, c.counter) << c.nanoseconds;
    EXPECT_EQ(GetTickCount(), c.ticks) << c.nanoseconds;
  }
  LARGE_INTEGER frequency{};
  frequency.QuadPart = 123;
  standinRemoveCounter();
  EXPECT_FALSE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 0);
  standinUseRealClock();
  EXPECT_TRUE(QueryPerformanceFrequency(&frequency));
}

TEST(KernelText, LstrlenWCountsUtf16Units) {
  EXPECT_EQ(lstrlenW(TEXT("")), 0);
  EXPECT_EQ(lstrlenW(TEXT("abc")), 3);
  EXPECT_EQ(lstrlenW(TEXT("거품 정렬")), 5);
  EXPECT_EQ(lstrlenW(nullptr), 0);
}

} // namespace
