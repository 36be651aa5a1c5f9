// The program state: one set of program-wide variables for the life of the
// process. The interface thread owns it; during a run the worker writes the
// array elements, operationCount, heapSize, retiredBuffer, scratchFailed and
// (merge sort) the values pointer.
//
// No locks. Whatever one thread writes while the other may read is accessed
// atomically (plain moves on x86): the elements written by the worker
// (storeShared) and read by the plot (loadShared), relaxed; yieldInterval,
// relaxed; the values pointer, which the merge sort moves to a buffer it
// allocated, with release and acquire so that the plot sees that buffer's
// contents. The worker reads elements plainly: nothing writes them
// concurrently, so only its own stores need to be visible to the plot.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

// Shape of a catalogue routine: a thread procedure that ignores its argument
// and returns 1.
typedef DWORD(WINAPI *SortRoutine)(LPVOID);

// The data array and its element count.
extern std::atomic<uint32_t *> values;
extern uint32_t valueCount;
// Size chosen with plus and minus; becomes valueCount at the next shuffle.
extern int32_t requestedSize;
// Routine of the next run.
extern SortRoutine selectedSort;
// Non-zero from the start of a run until its end is noticed.
extern uint32_t runActive;
// The current run's worker and its thread identifier.
extern HANDLE workerThread;
extern DWORD workerThreadId;
// Performance-counter frequency at the last run start; 0 without a counter.
extern LONGLONG counterFrequency;
// Counter (or tick count) at the run's start, counter at its noticed end.
extern LONGLONG startCount;
extern LONGLONG endCount;
// The status line; always zero-terminated within its 256 units.
constexpr int statusTextSize = 256;
extern WCHAR statusText[statusTextSize];
// Off-screen bitmap of the client area's size; absent (null) after a resize.
extern HBITMAP backBuffer;
// Counted operations between two pauses of a paced sort; never 0.
extern std::atomic<uint32_t> yieldInterval;
// Counted operations over the life of the process; never reset.
extern uint32_t operationCount;
// Current heap size of the two heap sorts.
extern uint32_t heapSize;
// WELL1024a generator state.
extern uint32_t wellState[32];
extern uint32_t wellIndex;

// A buffer the merge sort stopped showing at the end of its run. The plot may
// still be reading it, so the interface thread releases it once it has
// noticed the end of the run.
extern std::atomic<uint32_t *> retiredBuffer;
// Set by a routine whose scratch memory could not be allocated (it then left
// the array untouched); read and cleared by run control at the end of a run.
extern std::atomic<uint32_t> scratchFailed;

// Elements the worker writes while the plot reads them.
inline void storeShared(uint32_t *array, size_t index, uint32_t value) {
  std::atomic_ref<uint32_t>(array[index])
      .store(value, std::memory_order_relaxed);
}
inline uint32_t loadShared(uint32_t *array, size_t index) {
  return std::atomic_ref<uint32_t>(array[index])
      .load(std::memory_order_relaxed);
}
