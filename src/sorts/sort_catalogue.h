// The catalogue of the eleven sorts and the contract every routine keeps.
//
// A routine is the whole body of the worker thread: it ignores its argument,
// sorts the valueCount elements of values into ascending unsigned order and
// returns 1 (how run control learns that the run is over). Paced routines
// call countStep at their counted operations, which sleeps 1 ms whenever
// the program-wide operationCount reaches a multiple of yieldInterval, so
// that the 10 ms redraw can follow the run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/program_state.h"
#include "platform/win32.h"

struct SortEntry {
  WCHAR key;    // lower-case letter that selects the row
  LPCWSTR name; // shown in the listing
  SortRoutine routine;
};

constexpr size_t sortCatalogueSize = 11;
extern const SortEntry sortCatalogue[sortCatalogueSize];

// The routine of the row whose key is `key`, or nullptr when none is.
SortRoutine findSortByKey(unsigned key);

// How the routines reach the shared fields. The benchmarks compile the
// routines' sources a second time with plain versions of these helpers
// (bench/plain_sorts.cpp), to measure what the atomic accesses cost.

// The array as the worker reads it: relaxed, since nothing but the worker
// writes it during a run.
inline uint32_t *currentValues() {
  return values.load(std::memory_order_relaxed);
}
// Shows `buffer` as the array (merge sort). Release: a plot that takes the
// new pointer also sees the buffer's allocation and every value in it (a
// plain move on x86).
inline void showValues(uint32_t *buffer) {
  values.store(buffer, std::memory_order_release);
}
// Hands a buffer the plot may still be reading to the interface thread,
// which releases it once it has noticed the end of the run; returns any
// buffer handed over before and not yet collected.
inline uint32_t *retireBuffer(uint32_t *buffer) {
  return retiredBuffer.exchange(buffer, std::memory_order_acq_rel);
}

// One counted operation with the pause interval given. Returns true when it
// paused, after which a routine takes the shared fields it depends on
// afresh.
inline bool countStepEvery(uint32_t interval) {
  operationCount = operationCount + 1;
  // The window never sets 0; the guard keeps a stray 0 from dividing by it.
  if (interval == 0 || operationCount % interval != 0)
    return false;
  Sleep(1);
  return true;
}
inline bool countStep() {
  return countStepEvery(yieldInterval.load(std::memory_order_relaxed));
}

// Scratch memory of a run: `count` values, or nullptr after recording the
// failure in scratchFailed (the routine then leaves the array as it is).
uint32_t *allocateScratch(uint32_t count);

// The routines (each a thread procedure returning 1).
DWORD WINAPI bubbleSort(LPVOID);
DWORD WINAPI selectionSort(LPVOID);
DWORD WINAPI insertionSort(LPVOID);
DWORD WINAPI shellSort(LPVOID);
DWORD WINAPI distributionCountSort(LPVOID);
DWORD WINAPI quickSort(LPVOID);
DWORD WINAPI mergeSort(LPVOID);
DWORD WINAPI heapSort(LPVOID);
DWORD WINAPI bottomUpHeapSort(LPVOID);
DWORD WINAPI radixExchangeSort(LPVOID);
DWORD WINAPI straightRadixSort(LPVOID);

// Recursive workers of the partition sorts, on a range of the array.
void quickSortRange(uint32_t *a, uint32_t count);
void radixExchangeRange(uint32_t *a, uint32_t count, uint32_t mask);

// Distribution counting orders classes 0..100 of the values. Run control
// replaces every value by its class on the interface thread before the
// worker starts: class = value div (n div 100), with a divisor of at least 1
// and classes above 100 put into class 100, so that any size and any value
// left by an earlier run yields a class the counters cover.
constexpr uint32_t distributionClasses = 101;
void prepareDistributionClasses();
