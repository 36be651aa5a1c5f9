// Shared by the stand-in's gdi, font, user and display files (never by the
// program): the objects behind the GDI handles and the few calls the files
// make on one another. The program's calls arrive on one interface thread,
// so nothing here is locked.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/win32.h"

struct SDL_Window;

namespace standin {

// ---- GDI objects (standin_gdi.cpp) ------------------------------------------
enum class GdiKind { bitmap, brush, context };

struct GdiObject {
  explicit GdiObject(GdiKind k) : kind(k) {}
  GdiKind kind;
  bool stock = false; // owned by the system: DeleteObject leaves it alone
};

struct DeviceContext;

// Pixels are 0x00RRGGBB, rows top-down, each row `stride` pixels after the
// one before. A bitmap's pixels are its own (stride = width); a window's
// surface may instead lie in the display's framebuffer, whose rows can be
// longer than the window is wide. Every drawing call reaches rows through
// row().
struct Bitmap : GdiObject {
  Bitmap() : GdiObject(GdiKind::bitmap) {}
  int width = 0;
  int height = 0;
  uint32_t *bits = nullptr;     // row 0
  size_t stride = 0;            // in pixels
  std::vector<uint32_t> pixels; // the storage, unless bits lies elsewhere
  DeviceContext *selectedInto = nullptr;
  bool drawn = false; // changed since a window surface was last presented

  uint32_t *row(int64_t y) { return bits + static_cast<size_t>(y) * stride; }
  const uint32_t *row(int64_t y) const {
    return bits + static_cast<size_t>(y) * stride;
  }
  // Makes `pixels`, sized width x height, the storage.
  void ownPixels() {
    bits = pixels.data();
    stride = static_cast<size_t>(width);
  }
  bool ownsPixels() const { return bits == pixels.data(); }
};

struct Brush : GdiObject {
  explicit Brush(uint32_t c) : GdiObject(GdiKind::brush), colour(c) {}
  uint32_t colour; // 0x00RRGGBB
};

constexpr RECT unlimited{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

struct DeviceContext : GdiObject {
  DeviceContext() : GdiObject(GdiKind::context) {}
  Bitmap *target = nullptr; // selected bitmap, or the window's surface
  Brush *brush = nullptr;
  bool windowContext = false; // from GetDC or BeginPaint
  RECT clip = unlimited;      // BeginPaint limits drawing to rcPaint
};

// The live context behind a handle, or null.
DeviceContext *contextFromHandle(HDC context);
// Where drawing may land: the target's bounds within the clip. Empty (all
// zero) when there is no target.
RECT drawableArea(const DeviceContext &context);
// A device context drawing on a window's surface (GetDC, BeginPaint).
HDC createWindowContext(Bitmap *surface, const RECT &clip);
// Frees a context made by createWindowContext; false for any other handle.
bool deleteWindowContext(HDC context);
// A window is going away: its contexts still out draw nowhere from now on.
void detachSurface(Bitmap *surface);
// New size of a window surface, in memory of its own (also at the same size,
// to leave the display's framebuffer before it may be freed); the overlap
// keeps its pixels.
void resizeSurface(Bitmap &surface, int width, int height);
// A window surface moves into the display's framebuffer (rows `stride`
// pixels apart, the surface's size), taking its pixels along.
void placeSurface(Bitmap &surface, uint32_t *framebuffer, size_t stride);

inline RECT intersect(const RECT &a, const RECT &b) {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
         a.right < b.right ? a.right : b.right,
         a.bottom < b.bottom ? a.bottom : b.bottom};
  if (r.left >= r.right || r.top >= r.bottom)
    return RECT{0, 0, 0, 0};
  return r;
}
inline bool isEmpty(const RECT &r) {
  return r.left >= r.right || r.top >= r.bottom;
}

// ---- display backend (standin_display.cpp) ----------------------------------

// Starts the video system on first use; false (once reported on stderr) when
// there is no display to open.
bool displayStart();
// The client size CW_USEDEFAULT stands for.
void displayDefaultClientSize(int *width, int *height);
SDL_Window *displayCreateWindow(LPCWSTR title, int x, int y, int width,
                                int height, bool resizable);
void displayDestroyWindow(SDL_Window *window);
void displayShowWindow(SDL_Window *window, bool show);
void displaySetClientSize(SDL_Window *window, int width, int height);
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
// What the last displayPresent showed, as 0x00RRGGBB pixels, into a buffer of
// width x height (where the window's surface is smaller, the rest is left).
void displayReadBack(SDL_Window *window, uint32_t *pixels, int width,
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
  int x, y;          // mouse position in the client area
  int width, height; // new client size
};

// The next event the window layer understands, without waiting.
bool displayNextEvent(DisplayEvent *event);
// Sleeps until an event arrives or timeoutMs passes (negative: no limit).
void displayWait(int timeoutMs);

} // namespace standin
