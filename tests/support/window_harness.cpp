#include "support/window_harness.h"

#include "app/main_window.h"
#include "app/program_state.h"
#include "data/allocation_hooks.h"
#include "render/frame.h"
#include "sorts/sort_catalogue.h"
#include "support/test_support.h"

#if !defined(_WIN32)
#include "platform/standin_hooks.h"
#endif

HWND openMainWindow() {
  resetProgramState();
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registered)
    registered = registerMainWindowClass(instance) != 0;
  HWND window = createMainWindow(instance);
  ShowWindow(window, SW_SHOW);
  return window;
}

void closeMainWindow(HWND window) {
  runUntilEnd(window);
  DestroyWindow(window);
  // Everything left in the queue, up to and including the quit message.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
  resetProgramState();
  failNextAllocations(0);
}

void resizeClient(HWND window, int width, int height) {
#if defined(_WIN32)
  RECT frame = {0, 0, width, height};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
#else
  standinResizeWindow(window, width, height);
#endif
}

void sendKey(HWND window, WPARAM virtualKey) {
  mainWindowProc(window, WM_KEYDOWN, virtualKey, 0);
}
void sendLeftClick(HWND window) {
  mainWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
}
void sendRightClick(HWND window) {
  mainWindowProc(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
}

void timerTick(HWND window) { mainWindowProc(window, WM_TIMER, 0, 0); }

int runUntilEnd(HWND window, int *frames) {
  int ends = 0;
  int drawn = 0;
  for (int waited = 0; runActive && waited < 600000; ++waited) {
    HANDLE worker = workerThread;
    timerTick(window);
    ++drawn;
    if (worker && !workerThread)
      ++ends;
    Sleep(1);
  }
  // Frames after the end must not report it again.
  for (int k = 0; k < 3; ++k) {
    HANDLE worker = workerThread;
    timerTick(window);
    if (worker && !workerThread)
      ++ends;
  }
  if (frames)
    *frames = drawn;
  return ends;
}

Pixels readBitmap(HBITMAP bitmap) {
  Pixels result;
#if defined(_WIN32)
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  result.width = info.bmWidth;
  result.height = info.bmHeight;
  result.data.resize(size_t(result.width) * result.height);
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = result.width;
  format.bmiHeader.biHeight = -result.height; // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, result.height, result.data.data(), &format,
            DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (uint32_t &pixel : result.data)
    pixel &= 0xFFFFFF;
#else
  const uint32_t *data =
      standinBitmapPixels(bitmap, &result.width, &result.height);
  result.data.assign(data, data + size_t(result.width) * result.height);
#endif
  return result;
}

std::string plotDifference(const Pixels &frame,
                           const std::vector<uint32_t> &array) {
  // Text cells are opaque: below these rows nothing but the plot is drawn.
  const int belowStatus = statusY + 27;
  const int belowListing = listingRowHeight * int(sortCatalogueSize) + 12;
  uint64_t n = array.size();
  uint64_t step = frame.width > 0 ? n / uint64_t(frame.width) : 0;
  for (int x = 0; x < frame.width; ++x) {
    int64_t mark = -1;
    if (n > 0)
      mark = int64_t(uint64_t(array[x * step]) * uint64_t(frame.height) / n);
    int top = x >= frame.width - listingInset ? belowListing : belowStatus;
    for (int y = top; y < frame.height; ++y) {
      uint32_t expected = y == mark ? black : white;
      if (frame.at(x, y) != expected)
        return "pixel " + std::to_string(x) + "," + std::to_string(y) +
               " should be " + (expected == black ? "black" : "white");
    }
  }
  return "";
}

bool textDrawnAt(const Pixels &pixels, int x, int y, LPCWSTR text) {
  const int width = 320;
  const int height = 24;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP reference = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, reference);
  RECT all = {0, 0, width, height};
  FillRect(memory, &all, GetSysColorBrush(COLOR_WINDOW));
  TextOutW(memory, 0, 0, text, lstrlenW(text));
  SelectObject(memory, previous);
  DeleteDC(memory);
  Pixels drawn = readBitmap(reference);
  DeleteObject(reference);

  int darkened = 0;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      uint32_t expected = drawn.at(column, row);
      if (expected == white)
        continue;
      int px = x + column;
      int py = y + row;
      if (px < 0 || py < 0 || px >= pixels.width || py >= pixels.height)
        continue;
      if (pixels.at(px, py) != expected)
        return false;
      ++darkened;
    }
  }
  return darkened > 0;
}
