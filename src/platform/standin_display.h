// The stand-in's display backend (standin_display.cpp, SDL2): windows, the
// framebuffer, and input translated to what Windows reports. Used by the
// window, queue and surface files.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

struct SDL_Window;

namespace standin {

// Starts the video system on first use; false (once reported on stderr) when
// there is no display to open.
bool displayStart();
// The client size CW_USEDEFAULT stands for.
void displayDefaultClientSize(int *width, int *height);
SDL_Window *displayCreateWindow(LPCWSTR title, int x, int y, int width,
                                int height, bool resizable);
void displayDestroyWindow(SDL_Window *window);
void displayShowWindow(SDL_Window *window, bool show);
void displayClientSize(SDL_Window *window, int *width, int *height);
uint32_t displayWindowId(SDL_Window *window);
// SDL's framebuffer of the window, when it is width x height and 32-bit
// XRGB so that the window's surface can be drawn there directly; null
// otherwise. Getting it may free the one got before.
uint32_t *displayFramebuffer(SDL_Window *window, int width, int height,
                             size_t *stride);
// Shows what was drawn in the framebuffer from displayFramebuffer; false
// when SDL no longer has that framebuffer (the window changed size).
bool displayShow(SDL_Window *window);
// Copies pixels into SDL's framebuffer and shows them: for framebuffers of
// any other format or size.
void displayPresent(SDL_Window *window, const uint32_t *pixels, int width,
                    int height);

enum class DisplayEventKind {
  keyDown,
  leftButtonDown,
  rightButtonDown,
  sizeChanged,
  minimised,
  restored,
  closeRequested,
  exposed,
  focusGained,
  quitRequested, // SIGINT or SIGTERM: every window is asked to close
};

struct DisplayEvent {
  DisplayEventKind kind;
  uint32_t windowId; // 0: no particular window (keyboard without focus)
  UINT virtualKey;
  bool repeat;
  int x, y; // mouse position in the client area
};

// The next event the window layer understands, without waiting.
bool displayNextEvent(DisplayEvent *event);
// Sleeps until an event arrives or timeoutMs passes (negative: no limit).
void displayWait(int timeoutMs);

} // namespace standin
