// The stand-in's system layer in test builds, in place of
// src/platform/standin_system.cpp, and the hooks of standin_hooks.h: a
// clock the tests can drive, counted and observed sleeps, thread creations
// refused on request and a count of live threads; and read access to
// bitmaps, windows and timers.
#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/standin_gdi.h"
#include "platform/standin_hooks.h"
#include "platform/standin_system.h"
#include "platform/standin_window.h"

using namespace standin;

namespace {

struct TestSystem {
  std::atomic<bool> driven{false};
  std::atomic<int64_t> now{0}; // the driven clock's reading
  std::atomic<bool> counter{true};
  std::atomic<unsigned long> sleeps{0};
  std::atomic<SleepObserver> sleepObserver{nullptr};
  std::atomic<int> failingThreads{0};
  std::atomic<int> liveThreads{0};
  std::vector<uint32_t> shown; // standinWindowPixels' copy
};

TestSystem test;

} // namespace

// ---- the system layer -------------------------------------------------------
namespace standin {

int64_t clockNanoseconds() {
  return test.driven.load() ? test.now.load() : hostNanoseconds();
}

bool counterAvailable() { return test.counter.load(); }

void sleepMilliseconds(DWORD milliseconds) {
  test.sleeps.fetch_add(1, std::memory_order_relaxed);
  if (SleepObserver observer = test.sleepObserver.load())
    observer(milliseconds);
  hostSleep(milliseconds);
}

bool startThread(void *(*entry)(void *), void *argument) {
  int left = test.failingThreads.load();
  while (left > 0)
    if (test.failingThreads.compare_exchange_weak(left, left - 1))
      return false;
  test.liveThreads.fetch_add(1);
  if (hostStartThread(entry, argument))
    return true;
  test.liveThreads.fetch_sub(1);
  return false;
}

// Before the exit code is published: whoever sees the thread end and starts
// the next one must not count both.
void threadFinishing() { test.liveThreads.fetch_sub(1); }

void idleUntil(int64_t due) {
  // A driven clock jumps to the next timer instead of waiting for it.
  if (test.driven.load() && due != INT64_MAX) {
    if (due > test.now.load())
      test.now.store(due);
    return;
  }
  waitForDisplay(due);
}

} // namespace standin

// ---- hooks ------------------------------------------------------------------
void standinDriveClock(LONGLONG nanoseconds) {
  test.now.store(nanoseconds);
  test.driven.store(true);
}
void standinAdvanceClock(LONGLONG nanoseconds) {
  test.now.fetch_add(nanoseconds);
}
void standinUseRealClock() {
  test.driven.store(false);
  test.counter.store(true);
}
void standinRemoveCounter() { test.counter.store(false); }

void standinSetSleepObserver(SleepObserver observer) {
  test.sleepObserver.store(observer);
}
unsigned long standinSleepCount() { return test.sleeps.load(); }

void standinFailThreadCreations(int count) { test.failingThreads.store(count); }
int standinLiveThreadCount() { return test.liveThreads.load(); }

const uint32_t *standinBitmapPixels(HBITMAP handle, int *width, int *height) {
  Bitmap *bitmap = bitmapFromHandle(handle);
  if (width)
    *width = bitmap ? bitmap->width : 0;
  if (height)
    *height = bitmap ? bitmap->height : 0;
  return bitmap ? bitmap->bits : nullptr;
}

const uint32_t *standinWindowPixels(HWND handle, int *width, int *height) {
  Window *window = findWindow(handle);
  const Surface *surface = window ? &window->surface : nullptr;
  int shownWidth = surface ? surface->shownWidth : 0;
  int shownHeight = surface ? surface->shownHeight : 0;
  if (width)
    *width = shownWidth;
  if (height)
    *height = shownHeight;
  if (!surface)
    return nullptr;
  test.shown.assign(static_cast<size_t>(shownWidth) * shownHeight, 0);
  // Where the surface is smaller now (resized since), the rest is left 0.
  if (surface->onFramebuffer) {
    // From the surface itself: asking SDL for its framebuffer could free the
    // one being drawn on.
    const Bitmap &bitmap = surface->bitmap;
    int copyWidth = std::min(shownWidth, bitmap.width);
    int copyHeight = copyWidth > 0 ? std::min(shownHeight, bitmap.height) : 0;
    for (int row = 0; row < copyHeight; ++row)
      for (int column = 0; column < copyWidth; ++column)
        test.shown[static_cast<size_t>(row) * shownWidth + column] =
            bitmap.row(row)[column] & 0xFFFFFF;
    return test.shown.data();
  }
  // Otherwise what was copied into SDL's window surface.
  SDL_Surface *shown = SDL_GetWindowSurface(surface->display);
  int copyWidth = shown ? std::min(shownWidth, shown->w) : 0;
  int copyHeight = shown ? std::min(shownHeight, shown->h) : 0;
  if (copyWidth > 0 && copyHeight > 0) {
    SDL_LockSurface(shown);
    SDL_ConvertPixels(copyWidth, copyHeight, shown->format->format,
                      shown->pixels, shown->pitch, SDL_PIXELFORMAT_RGB888,
                      test.shown.data(), shownWidth * 4);
    SDL_UnlockSurface(shown);
    for (uint32_t &pixel : test.shown)
      pixel &= 0xFFFFFF; // RGB888's top byte is padding
  }
  return test.shown.data();
}

void standinResizeWindow(HWND handle, int width, int height) {
  Window *window = findWindow(handle);
  if (!window)
    return;
  width = std::max(width, 0);
  height = std::max(height, 0);
  window->minimised = false;
  // The display's own report of this change then finds nothing new. SDL
  // keeps windows at least 1 x 1.
  if (width > 0 && height > 0)
    SDL_SetWindowSize(window->surface.display, width, height);
  // As SetWindowPos does on Windows, the size message is sent, not posted.
  MSG size = applyClientSize(*window, width, height, SIZE_RESTORED);
  sendMessage(handle, size.message, size.wParam, size.lParam);
}

int standinTimerCount(HWND handle) { return timerCount(handle); }

uint32_t standinDisplayWindowId(HWND handle) {
  Window *window = findWindow(handle);
  return window ? window->displayId : 0;
}
