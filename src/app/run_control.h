// Run control: turns the user's commands into changes of the program state
// and runs a sort on a worker thread. Interface thread only; drawing is left
// to the caller (the window procedure).
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Status messages.
inline constexpr WCHAR messageDataSize[] = TEXT("자료크기: %u");
inline constexpr WCHAR messageRunning[] = TEXT("정렬 중... %u항목");
inline constexpr WCHAR messageElapsedTicks[] = TEXT("%I64u틱 소요.");
inline constexpr WCHAR messageElapsedMilliseconds[] = TEXT("%I64u초 소요.");
inline constexpr WCHAR messageNoMemoryForData[] =
    TEXT("메모리 부족: 자료를 만들지 못했습니다.");
inline constexpr WCHAR messageNoMemoryForSize[] =
    TEXT("메모리 부족: 자료크기 %u 유지.");
inline constexpr WCHAR messageNoMemoryForRun[] =
    TEXT("메모리 부족: 정렬하지 못했습니다.");
inline constexpr WCHAR messageNoWorker[] =
    TEXT("정렬 스레드를 만들지 못했습니다.");

// Size steps of the plus and minus keys.
constexpr int32_t sizeStep = 10000;
constexpr int32_t initialSize = 30000;
// Redraw timer during a run.
constexpr UINT_PTR redrawTimer = 0;
constexpr UINT redrawPeriod = 10;

// Window creation: seed, allocate 30000 values, select insertion sort,
// shuffle.
void initialiseState();
// A key press: select a sort or change the requested size, then show the
// requested size.
void handleKey(HWND window, WPARAM virtualKey);
// A right click: shuffle unless a run is active. True when the array changed
// (the caller draws a frame).
bool requestShuffle();
// A left click: start the selected sort on a worker. True when the status
// line changed without a run whose timer would show it (the caller draws).
bool startRun(HWND window);
// Start of every frame: notices the end of a run. True when it did.
bool pollRun(HWND window);
// Window destruction: releases the bitmap and, unless a worker still uses
// it, the array; posts the quit message.
void teardown();
