#include "app/run_control.h"

#include <cctype>

#include "app/program_state.h"
#include "data/data_set.h"
#include "data/value_memory.h"
#include "sorts/sort_catalogue.h"

void initialiseState() {
  seedGenerator();
  requestedSize = initialSize;
  uint32_t *block = allocateValues(initialSize);
  values.store(block, std::memory_order_relaxed);
  // Without memory the program starts empty; the next right click tries
  // the requested size again.
  valueCount = block ? initialSize : 0;
  selectedSort = insertionSort;
  // Shuffling now would retry the allocation at once: with data on screen
  // under the message that there is none, or, failing again, with the size
  // set back to 0 so that the right click would never try it again.
  if (block)
    shuffleValues();
  else
    wsprintfW(statusText, messageNoMemoryForData);
}

void handleKey(HWND window, WPARAM virtualKey) {
  // tolower is defined only for unsigned char values.
  unsigned key =
      virtualKey <= 0xFF
          ? static_cast<unsigned>(std::tolower(static_cast<int>(virtualKey)))
          : static_cast<unsigned>(virtualKey);
  if (key == VK_OEM_MINUS) {
    RECT client;
    GetClientRect(window, &client);
    int32_t lowered = requestedSize - sizeStep;
    requestedSize = lowered > client.right ? lowered : client.right;
  } else if (key == VK_OEM_PLUS) {
    // No upper bound but the type's: the size stays where it is rather than
    // overflow.
    if (requestedSize <= INT32_MAX - sizeStep)
      requestedSize += sizeStep;
  } else if (SortRoutine routine = findSortByKey(key)) {
    selectedSort = routine;
  }
  wsprintfW(statusText, messageDataSize, static_cast<UINT>(requestedSize));
}

bool requestShuffle() {
  if (runActive)
    return false;
  if (!shuffleValues())
    wsprintfW(statusText, messageNoMemoryForSize, valueCount);
  return true;
}

bool startRun(HWND window) {
  wsprintfW(statusText, messageRunning, valueCount);
  if (runActive)
    return false;
  runActive = 1;
  if (selectedSort == distributionCountSort)
    prepareDistributionClasses();
  LARGE_INTEGER reading;
  if (QueryPerformanceFrequency(&reading)) {
    counterFrequency = reading.QuadPart;
    QueryPerformanceCounter(&reading);
    startCount = reading.QuadPart;
  } else {
    counterFrequency = 0;
    startCount = GetTickCount();
  }
  workerThread =
      CreateThread(nullptr, 0, selectedSort, nullptr, 0, &workerThreadId);
  if (!workerThread) {
    // Without a worker nothing would ever end the run: back to idle.
    runActive = 0;
    wsprintfW(statusText, messageNoWorker);
    return true;
  }
  SetTimer(window, redrawTimer, redrawPeriod, nullptr);
  return false;
}

bool pollRun(HWND window) {
  if (!workerThread)
    return false;
  DWORD exitCode = 0;
  GetExitCodeThread(workerThread, &exitCode);
  if (exitCode != 1)
    return false;
  KillTimer(window, redrawTimer);
  CloseHandle(workerThread);
  workerThread = nullptr;
  runActive = 0;
  // Only now, with the worker gone and no plot running, is the buffer the
  // merge sort stopped showing safe to release.
  releaseValues(retiredBuffer.exchange(nullptr, std::memory_order_acq_rel));
  if (counterFrequency != 0) {
    LARGE_INTEGER reading;
    QueryPerformanceCounter(&reading);
    endCount = reading.QuadPart;
    wsprintfW(statusText, messageElapsedTicks,
              static_cast<ULONGLONG>(endCount - startCount));
  } else {
    DWORD elapsed = GetTickCount() - static_cast<DWORD>(startCount);
    wsprintfW(statusText, messageElapsedMilliseconds,
              static_cast<ULONGLONG>(elapsed));
  }
  if (scratchFailed.exchange(0, std::memory_order_relaxed))
    wsprintfW(statusText, messageNoMemoryForRun);
  return true;
}

void teardown() {
  if (backBuffer) {
    DeleteObject(backBuffer);
    backBuffer = nullptr;
  }
  // A running worker still uses the array (and the merge sort its second
  // buffer): leave them to the end of the process, which follows at once.
  if (!runActive) {
    releaseValues(values.exchange(nullptr, std::memory_order_relaxed));
    releaseValues(retiredBuffer.exchange(nullptr, std::memory_order_acq_rel));
    valueCount = 0;
  }
  PostQuitMessage(0);
}
