// The layer between the stand-in and the system beneath it: the monotonic
// clock, sleeping, starting threads and waiting for the next message. The
// program links standin_system.cpp, which passes each call straight to the
// host (standin_host.cpp); test builds link their own layer instead
// (tests/support/standin_test_system.cpp: a clock the tests drive, counted
// sleeps, threads refused on request), so that no hook ships.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace standin {

// Nanoseconds of a monotonic clock. The performance counter, the tick count
// and the timers all read this one clock.
int64_t clockNanoseconds();
// Whether there is a high-resolution counter (QueryPerformanceFrequency).
bool counterAvailable();
void sleepMilliseconds(DWORD milliseconds);
// Runs entry(argument) on a new detached thread; false when none could be
// made.
bool startThread(void *(*entry)(void *), void *argument);
// Called on a thread from startThread when its routine has returned, before
// its exit code is published.
void threadFinishing();
// The message queue has nothing to deliver until the clock reads `due`
// (INT64_MAX: nothing at all): waits for that or a display event.
void idleUntil(int64_t due);

// The host's own calls (standin_host.cpp), which both layers build on:
// CLOCK_MONOTONIC, nanosleep and detached POSIX threads (a worker still
// running when the process exits must not abort it, as std::thread's
// destructor would).
int64_t hostNanoseconds();
void hostSleep(DWORD milliseconds);
bool hostStartThread(void *(*entry)(void *), void *argument);

} // namespace standin
