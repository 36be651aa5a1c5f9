// Test-only controls of the Linux stand-in. The program's own code never
// includes this header; tests use it to make time, sleeping, thread creation
// and pixels observable without changing any code path of the program.
#pragma once

#include "platform/win32.h"

#if !defined(_WIN32)

// Performance counter: a fixed reading instead of the clock, or none at all
// (QueryPerformanceFrequency then fails and reports 0, as on old hardware).
void standinSetPerformanceCounter(LONGLONG reading);
void standinSetPerformanceCounterAvailable(bool available);
void standinSetTickCount(DWORD ticks);
void standinUseRealClock();

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

// Pixels of a window's client area as last presented.
const uint32_t *standinWindowPixels(HWND window, int *width, int *height);

// Resizes the client area as SetWindowPos would: WM_SIZE is sent to the
// window procedure before this returns.
void standinResizeWindow(HWND window, int width, int height);

// Number of timers currently set on a window (null: the thread's timers).
int standinTimerCount(HWND window);

// The display backend's (SDL's) identifier of a window, for tests that push
// backend events (keys, clicks, minimising) through the real translation.
uint32_t standinDisplayWindowId(HWND window);

// TextOutW's font from this file instead of fontconfig's choice; null goes
// back to fontconfig. A file that cannot be opened leaves boxes only.
void standinSetFontFile(const char *path);

#endif
