// Stand-in for the USER32 calls about windows: classes, windows, showing,
// DefWindowProcW, and painting through the window's device contexts.
//
// Limits: no child windows, no window frame (the sizes given to
// CreateWindowExW are the client area's; the desktop draws the decorations
// outside it), class names compared exactly and never atoms (the program
// registers one class by name), and an update region
// kept as its bounding rectangle.
#include <algorithm>
#include <deque>
#include <map>
#include <memory>

#include "platform/standin_display.h"
#include "platform/standin_window.h"
#include "platform/win32.h"

using namespace standin;

namespace {

constexpr DWORD resizableFrame = 0x00040000L; // WS_THICKFRAME

struct WindowState {
  std::deque<WindowClass> classes; // a deque: windows point into it
  std::map<uintptr_t, std::unique_ptr<Window>> windows;
  uintptr_t nextHandle = 0x10010;
  HWND active = nullptr;
};

WindowState state;

bool sameName(const std::vector<WCHAR> &name, LPCWSTR other) {
  size_t k = 0;
  while (other[k] && k + 1 < name.size() && other[k] == name[k])
    ++k;
  return !other[k] && !name[k];
}

// A name is never taken for an atom: in WebAssembly's memory a string may
// well lie below 64 KiB, where Windows keeps none.
const WindowClass *findClass(LPCWSTR name) {
  if (!name)
    return nullptr;
  for (const WindowClass &windowClass : state.classes)
    if (sameName(windowClass.name, name))
      return &windowClass;
  return nullptr;
}

void invalidate(Window &window, const RECT &rect, bool erase) {
  RECT area =
      intersect(rect, RECT{0, 0, window.clientWidth, window.clientHeight});
  if (isEmpty(area))
    return;
  RECT &update = window.update;
  if (isEmpty(update))
    update = area;
  else
    update =
        RECT{std::min(update.left, area.left), std::min(update.top, area.top),
             std::max(update.right, area.right),
             std::max(update.bottom, area.bottom)};
  if (erase)
    window.erase = true;
}

} // namespace

// ---- shared with the queue and the tests' hooks -----------------------------
namespace standin {

Window *findWindow(HWND handle) {
  auto found = state.windows.find(reinterpret_cast<uintptr_t>(handle));
  return found == state.windows.end() ? nullptr : found->second.get();
}

Window *findDisplayWindow(uint32_t displayId) {
  for (auto &entry : state.windows)
    if (displayId && entry.second->displayId == displayId)
      return entry.second.get();
  return nullptr;
}

std::vector<HWND> windowHandles() {
  std::vector<HWND> handles;
  for (auto &entry : state.windows)
    handles.push_back(entry.second->handle);
  return handles;
}

Window *windowToPaint() {
  for (auto &entry : state.windows)
    if (entry.second->visible && !isEmpty(entry.second->update))
      return entry.second.get();
  return nullptr;
}

HWND activeWindow() { return state.active; }
void setActiveWindow(HWND handle) { state.active = handle; }

void invalidateAll(Window &window) {
  invalidate(window, RECT{0, 0, window.clientWidth, window.clientHeight}, true);
}

MSG applyClientSize(Window &window, int width, int height, WPARAM sizeType) {
  int oldWidth = window.clientWidth, oldHeight = window.clientHeight;
  window.clientWidth = width;
  window.clientHeight = height;
  surfaceResize(window.surface, width, height);
  window.update = intersect(window.update, RECT{0, 0, width, height});
  UINT style = window.windowClass->style;
  if (((style & CS_HREDRAW) && width != oldWidth) ||
      ((style & CS_VREDRAW) && height != oldHeight)) {
    invalidateAll(window);
  } else {
    if (width > oldWidth)
      invalidate(window, RECT{oldWidth, 0, width, height}, true);
    if (height > oldHeight)
      invalidate(window, RECT{0, oldHeight, width, height}, true);
  }
  window.sizeSent = true;
  return makeMessage(window.handle, WM_SIZE, sizeType,
                     MAKELPARAM(width, height));
}

LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window *window = findWindow(handle);
  if (!window)
    return 0;
  return window->windowClass->procedure(handle, message, wParam, lParam);
}

} // namespace standin

// ---- classes and windows ----------------------------------------------------
ATOM WINAPI RegisterClassW(const WNDCLASSW *description) {
  if (!description || !description->lpfnWndProc ||
      !description->lpszClassName || findClass(description->lpszClassName))
    return 0;
  LPCWSTR name = description->lpszClassName;
  state.classes.push_back(WindowClass{
      std::vector<WCHAR>(name, name + lstrlenW(name) + 1), description->style,
      description->lpfnWndProc, description->hbrBackground});
  // Registered classes take atoms from 0xC000 up, as on Windows.
  return static_cast<ATOM>(0xC000 + state.classes.size() - 1);
}

HWND WINAPI CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName,
                            DWORD style, int x, int y, int width, int height,
                            HWND, HMENU, HINSTANCE, LPVOID) {
  const WindowClass *windowClass = findClass(className);
  if (!windowClass || !displayStart())
    return nullptr;
  if (width == CW_USEDEFAULT)
    displayDefaultClientSize(&width, &height);
  width = std::max(width, 0);
  height = std::max(height, 0);
  SDL_Window *display =
      displayCreateWindow(windowName ? windowName : TEXT(""), x, y, width,
                          height, (style & resizableFrame) != 0);
  if (!display)
    return nullptr;

  auto window = std::make_unique<Window>();
  auto key = state.nextHandle;
  state.nextHandle += 4;
  HWND handle = reinterpret_cast<HWND>(key);
  window->handle = handle;
  window->windowClass = windowClass;
  window->displayId = displayWindowId(display);
  window->clientWidth = width;
  window->clientHeight = height;
  surfaceOpen(window->surface, display, width, height);
  state.windows.emplace(key, std::move(window));

  // The window already has its final client size while it handles WM_CREATE.
  if (sendMessage(handle, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  return findWindow(handle) ? handle : nullptr; // it may have destroyed itself
}

BOOL WINAPI DestroyWindow(HWND handle) {
  Window *window = findWindow(handle);
  if (!window || window->destroying)
    return FALSE;
  window->destroying = true;
  sendMessage(handle, WM_DESTROY, 0, 0);
  forgetWindow(handle);
  SDL_Window *display = window->surface.display;
  surfaceClose(window->surface);
  displayDestroyWindow(display);
  if (state.active == handle)
    state.active = nullptr;
  state.windows.erase(reinterpret_cast<uintptr_t>(handle));
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND handle, int showCommand) {
  Window *window = findWindow(handle);
  if (!window)
    return FALSE;
  BOOL wasVisible = window->visible;
  if (showCommand == SW_HIDE) {
    if (wasVisible)
      displayShowWindow(window->surface.display, false);
    window->visible = false;
    return wasVisible;
  }
  if (!wasVisible) {
    window->visible = true;
    state.active = handle;
    displayShowWindow(window->surface.display, true);
    invalidateAll(*window);
  }
  // A window whose size it has not been told yet learns it now, before
  // ShowWindow returns.
  if (!window->sizeSent) {
    window->sizeSent = true;
    sendMessage(handle, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(window->clientWidth, window->clientHeight));
  }
  return wasVisible;
}

LRESULT WINAPI DefWindowProcW(HWND handle, UINT message, WPARAM, LPARAM) {
  switch (message) {
  case WM_CLOSE:
    DestroyWindow(handle);
    return 0;
  case WM_PAINT: {
    PAINTSTRUCT paint;
    if (BeginPaint(handle, &paint))
      EndPaint(handle, &paint);
    return 0;
  }
  default:
    return 0;
  }
}

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
  // The system's own icons only; the program has no resources.
  static char systemIcon;
  if (instance || (reinterpret_cast<uintptr_t>(name) >> 16) != 0)
    return nullptr;
  return reinterpret_cast<HICON>(&systemIcon);
}

HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  static char systemCursor;
  if (instance || (reinterpret_cast<uintptr_t>(name) >> 16) != 0)
    return nullptr;
  return reinterpret_cast<HCURSOR>(&systemCursor);
}

// ---- painting ---------------------------------------------------------------
HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
  Window *window = findWindow(handle);
  if (!window || !paint)
    return nullptr;
  *paint = PAINTSTRUCT{};
  paint->rcPaint = window->update;
  bool erase = window->erase;
  window->update = RECT{};
  window->erase = false;
  // Drawing is limited to what was invalid.
  HDC context = createWindowContext(&window->surface.bitmap, paint->rcPaint);
  // DefWindowProcW's answer to WM_ERASEBKGND: the class background, if any.
  HBRUSH background = window->windowClass->background;
  if (erase && background)
    FillRect(context, &paint->rcPaint, background);
  paint->fErase = erase && !background;
  paint->hdc = context;
  return context;
}

BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT *paint) {
  if (!paint)
    return FALSE;
  deleteWindowContext(paint->hdc);
  if (Window *window = findWindow(handle))
    surfacePresent(window->surface);
  return TRUE;
}

HDC WINAPI GetDC(HWND handle) {
  if (!handle) // the screen: nothing the stand-in can draw on
    return createWindowContext(nullptr, unlimited);
  Window *window = findWindow(handle);
  return window ? createWindowContext(&window->surface.bitmap, unlimited)
                : nullptr;
}

int WINAPI ReleaseDC(HWND handle, HDC context) {
  DeviceContext *found = contextFromHandle(context);
  if (!found || !found->windowContext)
    return 0;
  Window *window = findWindow(handle);
  bool drawn = window && found->target == &window->surface.bitmap &&
               window->surface.bitmap.drawn;
  deleteWindowContext(context);
  // What was drawn through GetDC shows at once, as on Windows.
  if (drawn)
    surfacePresent(window->surface);
  return 1;
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT *rect, BOOL erase) {
  Window *window = findWindow(handle);
  if (!window)
    return FALSE;
  invalidate(*window,
             rect ? *rect
                  : RECT{0, 0, window->clientWidth, window->clientHeight},
             erase);
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
  Window *window = findWindow(handle);
  if (!window || !rect)
    return FALSE;
  *rect = RECT{0, 0, window->clientWidth, window->clientHeight};
  return TRUE;
}
