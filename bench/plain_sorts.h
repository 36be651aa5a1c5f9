// A plain copy of the eleven sort routines, for the benchmarks only: the same
// steps, counted operations and pacing test as src/sorts/, but with plain
// loads and stores and a plain array pointer instead of std::atomic and
// std::atomic_ref. Measured against the real routines in the same binary, it
// shows what the atomic accesses cost. operationCount, valueCount and
// heapSize are the program's own (they are plain there too).
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace plain {

// The array the plain routines sort, and their pause interval.
extern uint32_t *values;
extern uint32_t yieldInterval;
// What the plain merge sort leaves behind, as retiredBuffer does.
extern uint32_t *retiredBuffer;
extern uint32_t scratchFailed;

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

} // namespace plain
