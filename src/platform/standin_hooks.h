// Test-only controls of the Linux stand-in. Linked into test builds only
// (tests/support/standin_test_system.cpp, which also provides the system
// layer of standin_system.h there): no shipped executable carries them, and
// the program's own code never includes this header.
#pragma once

#include "platform/win32.h"

#if !defined(_WIN32)

// The one clock behind the performance counter (nanoseconds / 100), the
// tick count (nanoseconds / 1000000, wrapping) and the timers. Real time
// unless a test drives it: a driven clock moves only when the test sets or
// advances it, or when GetMessageW waits for a timer, which brings the
// clock to that timer's due time at once.
void standinDriveClock(LONGLONG nanoseconds);
void standinAdvanceClock(LONGLONG nanoseconds);
void standinUseRealClock();
// Without a counter QueryPerformanceFrequency fails and reports 0, as on old
// hardware. standinUseRealClock brings the counter back.
void standinRemoveCounter();

// Every Sleep call is counted and, when an observer is set, reported to it on
// the sleeping thread before the sleep begins.
typedef void (*SleepObserver)(DWORD milliseconds);
void standinSetSleepObserver(SleepObserver observer);
unsigned long standinSleepCount();

// The next `count` calls of CreateThread fail (return no handle).
void standinFailThreadCreations(int count);
// Threads made by CreateThread whose routine has not yet returned.
int standinLiveThreadCount();

// Pixels of a 32-bpp bitmap (0x00RRGGBB per pixel, rows top-down).
const uint32_t *standinBitmapPixels(HBITMAP bitmap, int *width, int *height);
// Pixels of a window's client area as last presented, valid until the next
// call.
const uint32_t *standinWindowPixels(HWND window, int *width, int *height);
// Resizes the client area as SetWindowPos would: WM_SIZE is sent to the
// window procedure before this returns.
void standinResizeWindow(HWND window, int width, int height);
// Number of timers set on a window.
int standinTimerCount(HWND window);
// The display backend's (SDL's) identifier of a window, for tests that push
// backend events (keys, clicks, minimising) through the real translation.
uint32_t standinDisplayWindowId(HWND window);

#endif
