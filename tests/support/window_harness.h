// The program's real main window in a test: opened headless (SDL's dummy
// video driver on Linux, wine's display on Windows), driven by calling
// mainWindowProc as the message loop would, and read back pixel by pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

// From the program state at process start: registers the class (once),
// creates and shows the main window. WM_CREATE initialises the state and
// draws the first frame, WM_SIZE follows.
HWND openMainWindow();
// Lets a run end, destroys the window (teardown), takes the quit message off
// the queue, resets the program state and cancels allocation failures.
void closeMainWindow(HWND window);
// Resizes the client area as a user would; WM_SIZE reaches the window.
void resizeClient(HWND window, int width, int height);

// Input as the message loop would deliver it.
void sendKey(HWND window, WPARAM virtualKey);
void sendLeftClick(HWND window);
void sendRightClick(HWND window);

// One frame as the redraw timer would draw it.
void timerTick(HWND window);
// Draws frames every millisecond or so until the run has ended (or a
// generous deadline passes). Returns how many frames noticed the end (must
// be exactly one) and stores the frame count in *frames when given.
int runUntilEnd(HWND window, int *frames = nullptr);

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> data; // 0x00RRGGBB, rows top-down
  uint32_t at(int x, int y) const { return data[size_t(y) * width + x]; }
};
// A copy of a bitmap's pixels (the bitmap must not be selected in a DC).
Pixels readBitmap(HBITMAP bitmap);

// Empty when the frame plots `array` and nothing else: one black pixel per
// column for the element the plot samples there, white around it. The rows
// the status line and the listing may cover are left out. Otherwise says
// where the first difference is.
std::string plotDifference(const Pixels &frame,
                           const std::vector<uint32_t> &array);

// True when `text`, drawn with TextOutW at (x, y), matches the pixels: every
// pixel the text darkens in a reference drawing is the same in `pixels`.
bool textDrawnAt(const Pixels &pixels, int x, int y, LPCWSTR text);

constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t black = 0x000000;
