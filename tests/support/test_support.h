// Helpers shared by the test suites and benchmarks: the program state reset,
// the shared array set up from a vector, and a routine run to its end on a
// real worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/program_state.h"

// Every field of the program state back to its value at process start, the
// arrays released. No worker may be running.
void resetProgramState();

// Replaces the shared array (values, valueCount) by a copy of `contents`,
// releasing the previous one and any retired buffer.
void setSharedArray(const std::vector<uint32_t> &contents);
// The shared array as it is now.
std::vector<uint32_t> sharedArray();
// Releases the shared array and any retired buffer; valueCount becomes 0.
void releaseSharedArray();

// Starts `routine` with CreateThread and waits (polling GetExitCodeThread,
// generous deadline) until it reports an exit code other than STILL_ACTIVE.
// Returns that code, or STILL_ACTIVE on timeout.
DWORD runOnWorker(SortRoutine routine);

// True when `array` holds each of 0..n-1 exactly once.
bool isPermutation(const std::vector<uint32_t> &array);

// UTF-16 text as a u16string (WCHAR is wchar_t on Windows, char16_t here).
std::u16string text(LPCWSTR s);
// The status line as it is now.
std::u16string status();
// A message formatted with one unsigned argument, as run control does.
std::u16string formatted(LPCWSTR format, unsigned number);

// The WELL1024a generator's state from a fixed seed (std::mt19937), index
// 0: the same shuffles every time.
void seedGeneratorFrom(uint32_t seed);

// A shuffled permutation of 0..n-1 from a fixed seed (std::mt19937).
std::vector<uint32_t> shuffledPermutation(uint32_t n, uint32_t seed);
// Arbitrary 32-bit values, duplicates and top bits included.
std::vector<uint32_t> arbitraryValues(uint32_t n, uint32_t seed);
