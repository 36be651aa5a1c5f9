// The stand-in's windows (standin_window.cpp) and message queue
// (standin_queue.cpp): what each file asks of the other, and what the
// tests' hooks read. One interface thread, as the program has: nothing
// here is locked.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/standin_surface.h"
#include "platform/win32.h"

namespace standin {

struct WindowClass {
  std::vector<WCHAR> name; // zero-terminated
  UINT style;
  WNDPROC procedure;
  HBRUSH background;
};

struct Window {
  HWND handle = nullptr;
  const WindowClass *windowClass = nullptr;
  uint32_t displayId = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  Surface surface;
  bool visible = false;
  bool sizeSent = false; // WM_SIZE delivered at least once
  bool minimised = false;
  bool destroying = false;
  RECT update{}; // bounding box of the update region; empty when valid
  bool erase = false;
};

// ---- windows (standin_window.cpp) -------------------------------------------
Window *findWindow(HWND handle);
Window *findDisplayWindow(uint32_t displayId);
std::vector<HWND> windowHandles();
// A visible window with something to repaint, or null.
Window *windowToPaint();
// The window that takes keys the display names no window for.
HWND activeWindow();
void setActiveWindow(HWND handle);
// The client area has a new size: the surface follows, what must be redrawn
// is invalidated (all of it for a class that asks for that), and the
// WM_SIZE telling the window is returned, for the caller to post (a user's
// resize) or send (as SetWindowPos does).
MSG applyClientSize(Window &window, int width, int height, WPARAM sizeType);
void invalidateAll(Window &window);
LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// ---- the queue (standin_queue.cpp) ------------------------------------------
MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void postMessage(const MSG &message);
// A window is gone: its timers and queued messages go too.
void forgetWindow(HWND handle);
int timerCount(HWND handle);
// Waits for a display event, or until the clock reads `due` (INT64_MAX:
// no limit).
void waitForDisplay(int64_t due);

} // namespace standin
