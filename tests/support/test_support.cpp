#include "support/test_support.h"

#include <algorithm>
#include <numeric>
#include <random>

#include "data/value_memory.h"
#include "platform/win32.h"

namespace {

// The status line at process start, taken before any test changes it (it
// is constant-initialised, so it is there before this runs).
const std::u16string
    statusAtStart(reinterpret_cast<const char16_t *>(statusText));

} // namespace

void resetProgramState() {
  releaseSharedArray();
  requestedSize = 0;
  selectedSort = nullptr;
  runActive = 0;
  workerThread = nullptr;
  workerThreadId = 0;
  counterFrequency = 0;
  startCount = 0;
  endCount = 0;
  std::copy(statusAtStart.begin(), statusAtStart.end(), statusText);
  statusText[statusAtStart.size()] = 0;
  backBuffer = nullptr;
  yieldInterval.store(1000);
  operationCount = 0;
  heapSize = 0;
  std::fill(std::begin(wellState), std::end(wellState), 0u);
  wellIndex = 0;
  scratchFailed.store(0);
}

void setSharedArray(const std::vector<uint32_t> &contents) {
  releaseSharedArray();
  uint32_t *block = allocateValues(contents.size());
  std::copy(contents.begin(), contents.end(), block);
  values.store(block);
  valueCount = static_cast<uint32_t>(contents.size());
}

std::vector<uint32_t> sharedArray() {
  const uint32_t *block = values.load();
  return std::vector<uint32_t>(block, block + valueCount);
}

void releaseSharedArray() {
  releaseValues(values.exchange(nullptr));
  releaseValues(retiredBuffer.exchange(nullptr));
  valueCount = 0;
}

DWORD runOnWorker(SortRoutine routine) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, routine, nullptr, 0, &id);
  if (!thread)
    return 0;
  DWORD code = STILL_ACTIVE;
  // Ten minutes: the slowest routines on the largest test arrays under a
  // sanitizer take seconds; this only guards against a hang.
  for (int waited = 0; waited < 600000; ++waited) {
    GetExitCodeThread(thread, &code);
    if (code != STILL_ACTIVE)
      break;
    Sleep(1);
  }
  CloseHandle(thread);
  return code;
}

void seedGeneratorFrom(uint32_t seed) {
  std::mt19937 source(seed);
  for (uint32_t &word : wellState)
    word = static_cast<uint32_t>(source());
  wellIndex = 0;
}

std::vector<uint32_t> shuffledPermutation(uint32_t n, uint32_t seed) {
  std::vector<uint32_t> result(n);
  std::iota(result.begin(), result.end(), 0u);
  std::mt19937 generator(seed);
  std::shuffle(result.begin(), result.end(), generator);
  return result;
}

std::vector<uint32_t> arbitraryValues(uint32_t n, uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<uint32_t> result(n);
  for (uint32_t &value : result) {
    uint32_t r = generator();
    // A third from a small range (many duplicates), the rest anywhere.
    value = (r % 3 == 0) ? (r >> 8) % 17 : generator();
  }
  if (n > 0)
    result[0] = 0xFFFFFFFFu;
  if (n > 2)
    result[n / 2] = 0x80000000u;
  return result;
}

bool isPermutation(const std::vector<uint32_t> &array) {
  std::vector<char> seen(array.size(), 0);
  for (uint32_t value : array) {
    if (value >= array.size() || seen[value])
      return false;
    seen[value] = 1;
  }
  return true;
}

std::u16string text(LPCWSTR s) {
  return std::u16string(reinterpret_cast<const char16_t *>(s));
}

std::u16string status() { return text(statusText); }

std::u16string formatted(LPCWSTR format, unsigned number) {
  WCHAR line[statusTextSize];
  wsprintfW(line, format, number);
  return text(line);
}
