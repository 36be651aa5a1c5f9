// Stand-in for the USER32 calls the program uses: window classes and
// windows, the message queue, timers, painting and the window's device
// contexts. One interface thread, as the program has: every call here comes
// from it, so nothing is locked.
//
// GetMessageW keeps Windows' order: posted messages, then input (translated
// from the display backend's events), then WM_QUIT, then WM_PAINT for a
// window with an update region, then WM_TIMER for a due timer. WM_PAINT and
// WM_TIMER are made when asked for, never queued, so they come only when
// nothing else is waiting and never pile up; a timer late by several periods
// still yields one message. With nothing due, the thread sleeps in the
// display backend until an event or the next timer.
//
// Limits: no child windows, no window frame (the sizes given to
// CreateWindowExW are the client area's; the desktop draws the decorations
// outside it), an update region kept as its bounding rectangle, and msg.pt
// always (0, 0).
#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/standin_hooks.h"
#include "platform/standin_internal.h"
#include "platform/win32.h"

using namespace standin;

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD resizableFrame = 0x00040000L; // WS_THICKFRAME
constexpr UINT timerMinimum = 10;             // USER_TIMER_MINIMUM
constexpr UINT timerMaximum = 0x7FFFFFFF;     // USER_TIMER_MAXIMUM
constexpr LPARAM previousKeyDown = LPARAM{1} << 30;

struct WindowClass {
  std::u16string name;
  ATOM atom;
  UINT style;
  WNDPROC procedure;
  HBRUSH background;
};

struct Window {
  HWND handle = nullptr;
  const WindowClass *windowClass = nullptr;
  SDL_Window *display = nullptr;
  uint32_t displayId = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  Bitmap surface;                  // what the window's device contexts draw on
  bool onFramebuffer = false;      // surface.bits are SDL's framebuffer
  std::vector<uint32_t> presented; // read back for standinWindowPixels
  int presentedWidth = 0;
  int presentedHeight = 0;
  bool visible = false;
  bool sizeSent = false; // WM_SIZE delivered at least once
  bool minimised = false;
  bool destroying = false;
  RECT update{}; // bounding box of the update region; empty when valid
  bool erase = false;
};

struct Timer {
  HWND window;
  UINT_PTR id;
  Clock::duration period;
  Clock::time_point due;
  TIMERPROC procedure;
};

struct UserState {
  std::deque<WindowClass> classes; // a deque: windows point into it
  std::map<uintptr_t, std::unique_ptr<Window>> windows;
  uintptr_t nextHandle = 0x10010;
  std::deque<MSG> posted;
  std::deque<MSG> input;
  bool quitPending = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  UINT_PTR nextThreadTimerId = 1;
  HWND active = nullptr; // receives keys the display names no window for
};

UserState user;

Window *find(HWND handle) {
  auto found = user.windows.find(reinterpret_cast<uintptr_t>(handle));
  return found == user.windows.end() ? nullptr : found->second.get();
}

Window *findByDisplayId(uint32_t id) {
  for (auto &entry : user.windows)
    if (id && entry.second->displayId == id)
      return entry.second.get();
  return nullptr;
}

bool isIntegerResource(LPCWSTR name) {
  return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

char16_t folded(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? unit - u'a' + u'A' : unit;
}

// Class names compare without regard to (ASCII) case; an atom names its class
// too.
const WindowClass *findClass(LPCWSTR name) {
  if (!name)
    return nullptr;
  for (const WindowClass &windowClass : user.classes) {
    if (isIntegerResource(name)) {
      if (reinterpret_cast<uintptr_t>(name) == windowClass.atom)
        return &windowClass;
      continue;
    }
    size_t k = 0;
    while (k < windowClass.name.size() && name[k] &&
           folded(name[k]) == folded(windowClass.name[k]))
      ++k;
    if (k == windowClass.name.size() && !name[k])
      return &windowClass;
  }
  return nullptr;
}

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  return msg;
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

void invalidateAll(Window &window) {
  invalidate(window, RECT{0, 0, window.clientWidth, window.clientHeight}, true);
}

// Drawing goes straight into SDL's framebuffer when its format and size
// allow: presenting is then only showing it, where copying the frame there
// cost over a quarter of a full-HD frame. An empty client area (minimised)
// stays in memory of its own.
void placeInFramebuffer(Window &window) {
  Bitmap &surface = window.surface;
  size_t stride = 0;
  uint32_t *framebuffer = displayFramebuffer(window.display, surface.width,
                                             surface.height, &stride);
  if (!framebuffer)
    return;
  placeSurface(surface, framebuffer, stride);
  window.onFramebuffer = true;
}

// After a size change SDL frees its framebuffer at the next
// SDL_GetWindowSurface, so the surface moves to memory of its own first.
void leaveFramebuffer(Window &window) {
  resizeSurface(window.surface, window.surface.width, window.surface.height);
  window.onFramebuffer = false;
}

void present(Window &window) {
  Bitmap &surface = window.surface;
  // No copy is kept here: the display holds what was presented, and the test
  // hook reads it back from there.
  window.presentedWidth = surface.width;
  window.presentedHeight = surface.height;
  surface.drawn = false;
  if (window.onFramebuffer) {
    if (displayShow(window.display))
      return;
    // SDL has dropped the framebuffer (a size change whose event is still
    // queued); it takes the next one if that has the surface's size.
    leaveFramebuffer(window);
    placeInFramebuffer(window);
    if (window.onFramebuffer) {
      displayShow(window.display);
      return;
    }
  }
  displayPresent(window.display, surface.bits, surface.width, surface.height);
}

// The client area has a new size: the surface follows, the area to redraw is
// invalidated (all of it for a class that asks for that) and WM_SIZE is
// queued, as it reaches the window procedure after a user's resize.
void applyClientSize(Window &window, int width, int height, WPARAM sizeType) {
  int oldWidth = window.clientWidth, oldHeight = window.clientHeight;
  window.clientWidth = width;
  window.clientHeight = height;
  resizeSurface(window.surface, width, height);
  window.onFramebuffer = false;
  placeInFramebuffer(window);
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
  user.posted.push_back(
      makeMessage(window.handle, WM_SIZE, sizeType, MAKELPARAM(width, height)));
}

// Keys go to the window the display names, else to the active window.
Window *inputWindow(uint32_t displayId) {
  if (Window *window = findByDisplayId(displayId))
    return window;
  return find(user.active);
}

void pumpDisplay() {
  DisplayEvent event;
  while (displayNextEvent(&event)) {
    Window *window = event.kind == DisplayEventKind::keyDown
                         ? inputWindow(event.windowId)
                         : findByDisplayId(event.windowId);
    if (!window && event.kind != DisplayEventKind::quitRequested)
      continue;
    switch (event.kind) {
    case DisplayEventKind::keyDown:
      user.input.push_back(
          makeMessage(window->handle, WM_KEYDOWN, event.virtualKey,
                      1 | (event.repeat ? previousKeyDown : 0)));
      break;
    case DisplayEventKind::leftButtonDown:
      user.input.push_back(makeMessage(window->handle, WM_LBUTTONDOWN,
                                       MK_LBUTTON,
                                       MAKELPARAM(event.x, event.y)));
      break;
    case DisplayEventKind::rightButtonDown:
      user.input.push_back(makeMessage(window->handle, WM_RBUTTONDOWN,
                                       MK_RBUTTON,
                                       MAKELPARAM(event.x, event.y)));
      break;
    case DisplayEventKind::sizeChanged: {
      // Sizes are read now, not from the event: a later event may be
      // pending, and the stand-in may have set this size itself already.
      int width = window->clientWidth, height = window->clientHeight;
      displayClientSize(window->display, &width, &height);
      if (!window->minimised &&
          (width != window->clientWidth || height != window->clientHeight)) {
        applyClientSize(*window, width, height, SIZE_RESTORED);
      } else {
        // No new size for the window, but SDL drops its framebuffer on
        // every size event; the next one may be the first of the surface's
        // size.
        leaveFramebuffer(*window);
        placeInFramebuffer(*window);
      }
      break;
    }
    case DisplayEventKind::minimised:
      if (!window->minimised) {
        window->minimised = true;
        applyClientSize(*window, 0, 0, SIZE_MINIMIZED);
      }
      break;
    case DisplayEventKind::restored:
      if (window->minimised) {
        window->minimised = false;
        int width = 0, height = 0;
        displayClientSize(window->display, &width, &height);
        applyClientSize(*window, width, height, SIZE_RESTORED);
      }
      break;
    case DisplayEventKind::closeRequested:
      user.posted.push_back(makeMessage(window->handle, WM_CLOSE, 0, 0));
      break;
    case DisplayEventKind::exposed:
      invalidateAll(*window);
      break;
    case DisplayEventKind::focusGained:
      user.active = window->handle;
      break;
    case DisplayEventKind::quitRequested:
      for (auto &entry : user.windows)
        user.posted.push_back(
            makeMessage(entry.second->handle, WM_CLOSE, 0, 0));
      break;
    }
  }
}

bool accepts(HWND filter, UINT first, UINT last, HWND window, UINT message) {
  if (filter && window != filter)
    return false;
  return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool takeQueued(std::deque<MSG> &queue, HWND filter, UINT first, UINT last,
                LPMSG msg) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    // WM_QUIT belongs to the thread: a window filter does not hold it back.
    HWND owner = it->message == WM_QUIT ? filter : it->hwnd;
    if (accepts(filter, first, last, owner, it->message)) {
      *msg = *it;
      queue.erase(it);
      return true;
    }
  }
  return false;
}

bool makePaintMessage(HWND filter, UINT first, UINT last, LPMSG msg) {
  for (auto &entry : user.windows) {
    Window &window = *entry.second;
    if (window.visible && !isEmpty(window.update) &&
        accepts(filter, first, last, window.handle, WM_PAINT)) {
      *msg = makeMessage(window.handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  return false;
}

// The earliest due timer makes the message; its next due time is the first
// period boundary after now, so missed periods are not made up. Otherwise
// tells when the next timer falls due.
bool makeTimerMessage(HWND filter, UINT first, UINT last, LPMSG msg,
                      Clock::time_point *nextDue) {
  Clock::time_point now = Clock::now();
  Timer *chosen = nullptr;
  *nextDue = Clock::time_point::max();
  for (Timer &timer : user.timers) {
    if (!accepts(filter, first, last, timer.window, WM_TIMER))
      continue;
    if (timer.due <= now && (!chosen || timer.due < chosen->due))
      chosen = &timer;
    *nextDue = std::min(*nextDue, timer.due);
  }
  if (!chosen)
    return false;
  chosen->due += ((now - chosen->due) / chosen->period + 1) * chosen->period;
  *msg = makeMessage(chosen->window, WM_TIMER, chosen->id,
                     reinterpret_cast<LPARAM>(chosen->procedure));
  return true;
}

void waitFor(Clock::time_point due) {
  if (due == Clock::time_point::max()) {
    displayWait(-1);
    return;
  }
  auto remaining = due - Clock::now();
  if (remaining <= Clock::duration::zero())
    return;
  // Rounded up: waking before the due time would only mean waiting again.
  auto milliseconds =
      std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
  displayWait(static_cast<int>(
      std::min<decltype(milliseconds)>(milliseconds, 0x7FFFFFFF)));
}

LRESULT callProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window *window = find(handle);
  if (!window)
    return 0;
  return window->windowClass->procedure(handle, message, wParam, lParam);
}

} // namespace

// ---- classes and windows ----------------------------------------------------
ATOM WINAPI RegisterClassW(const WNDCLASSW *description) {
  if (!description || !description->lpfnWndProc ||
      !description->lpszClassName ||
      isIntegerResource(description->lpszClassName) ||
      findClass(description->lpszClassName))
    return 0;
  // Registered classes take atoms from 0xC000 up, as on Windows.
  auto atom = static_cast<ATOM>(0xC000 + user.classes.size());
  user.classes.push_back(WindowClass{
      std::u16string(description->lpszClassName), atom, description->style,
      description->lpfnWndProc, description->hbrBackground});
  return atom;
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
  auto key = user.nextHandle;
  user.nextHandle += 4;
  HWND handle = reinterpret_cast<HWND>(key);
  window->handle = handle;
  window->windowClass = windowClass;
  window->display = display;
  window->displayId = displayWindowId(display);
  window->clientWidth = width;
  window->clientHeight = height;
  resizeSurface(window->surface, width, height);
  placeInFramebuffer(*window);
  user.windows.emplace(key, std::move(window));

  // The window already has its final client size while it handles WM_CREATE.
  if (SendMessageW(handle, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  return find(handle) ? handle : nullptr; // it may have destroyed itself
}

BOOL WINAPI DestroyWindow(HWND handle) {
  Window *window = find(handle);
  if (!window || window->destroying)
    return FALSE;
  window->destroying = true;
  SendMessageW(handle, WM_DESTROY, 0, 0);

  std::erase_if(user.timers, [handle](const Timer &timer) {
    return timer.window == handle;
  });
  auto addressed = [handle](const MSG &msg) { return msg.hwnd == handle; };
  std::erase_if(user.posted, addressed);
  std::erase_if(user.input, addressed);
  detachSurface(&window->surface);
  displayDestroyWindow(window->display);
  if (user.active == handle)
    user.active = nullptr;
  user.windows.erase(reinterpret_cast<uintptr_t>(handle));
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND handle, int showCommand) {
  Window *window = find(handle);
  if (!window)
    return FALSE;
  BOOL wasVisible = window->visible;
  if (showCommand == SW_HIDE) {
    if (wasVisible)
      displayShowWindow(window->display, false);
    window->visible = false;
    return wasVisible;
  }
  if (!wasVisible) {
    window->visible = true;
    user.active = handle;
    displayShowWindow(window->display, true);
    invalidateAll(*window);
  }
  // A window whose size it has not been told yet learns it now, before
  // ShowWindow returns.
  if (!window->sizeSent) {
    window->sizeSent = true;
    SendMessageW(handle, WM_SIZE, SIZE_RESTORED,
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

LRESULT WINAPI SendMessageW(HWND handle, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  return callProcedure(handle, message, wParam, lParam);
}

BOOL WINAPI PostMessageW(HWND handle, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  // A null window posts to the thread itself.
  if (handle && !find(handle))
    return FALSE;
  user.posted.push_back(makeMessage(handle, message, wParam, lParam));
  return TRUE;
}

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
  // The system's own icons only; the program has no resources.
  static char systemIcon;
  if (instance || !isIntegerResource(name))
    return nullptr;
  return reinterpret_cast<HICON>(&systemIcon);
}

HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  static char systemCursor;
  if (instance || !isIntegerResource(name))
    return nullptr;
  return reinterpret_cast<HCURSOR>(&systemCursor);
}

// ---- the message loop -------------------------------------------------------
BOOL WINAPI GetMessageW(LPMSG msg, HWND filter, UINT first, UINT last) {
  if (!msg)
    return -1;
  for (;;) {
    if (filter && !find(filter)) // destroyed while we waited
      return -1;
    pumpDisplay();
    if (takeQueued(user.posted, filter, first, last, msg))
      return msg->message != WM_QUIT;
    if (takeQueued(user.input, filter, first, last, msg))
      return TRUE;
    if (user.quitPending && accepts(nullptr, first, last, nullptr, WM_QUIT)) {
      user.quitPending = false;
      *msg =
          makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(user.quitCode), 0);
      return FALSE;
    }
    if (makePaintMessage(filter, first, last, msg))
      return TRUE;
    Clock::time_point nextDue;
    if (makeTimerMessage(filter, first, last, msg, &nextDue))
      return TRUE;
    waitFor(nextDue);
  }
}

BOOL WINAPI TranslateMessage(const MSG *msg) {
  // No character messages are made; Windows still reports key messages as
  // translated.
  return msg && msg->message == WM_KEYDOWN;
}

LRESULT WINAPI DispatchMessageW(const MSG *msg) {
  if (!msg)
    return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam,
                                             GetTickCount());
    return 0;
  }
  return callProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
  user.quitPending = true;
  user.quitCode = exitCode;
}

// ---- painting ---------------------------------------------------------------
HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
  Window *window = find(handle);
  if (!window || !paint)
    return nullptr;
  *paint = PAINTSTRUCT{};
  paint->rcPaint = window->update;
  bool erase = window->erase;
  window->update = RECT{};
  window->erase = false;
  // Drawing is limited to what was invalid.
  HDC context = createWindowContext(&window->surface, paint->rcPaint);
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
  if (Window *window = find(handle))
    present(*window);
  return TRUE;
}

HDC WINAPI GetDC(HWND handle) {
  if (!handle) // the screen: nothing the stand-in can draw on
    return createWindowContext(nullptr, unlimited);
  Window *window = find(handle);
  return window ? createWindowContext(&window->surface, unlimited) : nullptr;
}

int WINAPI ReleaseDC(HWND handle, HDC context) {
  DeviceContext *found = contextFromHandle(context);
  if (!found || !found->windowContext)
    return 0;
  Window *window = find(handle);
  bool drawn =
      window && found->target == &window->surface && window->surface.drawn;
  deleteWindowContext(context);
  // What was drawn through GetDC shows at once, as on Windows.
  if (drawn)
    present(*window);
  return 1;
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT *rect, BOOL erase) {
  if (!handle) {
    for (auto &entry : user.windows)
      invalidate(*entry.second,
                 rect ? *rect
                      : RECT{0, 0, entry.second->clientWidth,
                             entry.second->clientHeight},
                 erase);
    return TRUE;
  }
  Window *window = find(handle);
  if (!window)
    return FALSE;
  invalidate(*window,
             rect ? *rect
                  : RECT{0, 0, window->clientWidth, window->clientHeight},
             erase);
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
  Window *window = find(handle);
  if (!window || !rect)
    return FALSE;
  *rect = RECT{0, 0, window->clientWidth, window->clientHeight};
  return TRUE;
}

// ---- timers -----------------------------------------------------------------
UINT_PTR WINAPI SetTimer(HWND handle, UINT_PTR id, UINT elapse,
                         TIMERPROC procedure) {
  if (handle && !find(handle))
    return 0;
  elapse = std::clamp(elapse, timerMinimum, timerMaximum);
  Clock::duration period = std::chrono::milliseconds(elapse);
  auto existing = std::find_if(
      user.timers.begin(), user.timers.end(), [&](const Timer &timer) {
        return timer.window == handle && timer.id == id;
      });
  // Setting a timer again restarts it with the new period.
  if (existing != user.timers.end()) {
    existing->period = period;
    existing->due = Clock::now() + period;
    existing->procedure = procedure;
    return id ? id : 1;
  }
  if (!handle) { // a thread timer gets a fresh identifier
    auto taken = [](UINT_PTR candidate) {
      return std::any_of(user.timers.begin(), user.timers.end(),
                         [&](const Timer &timer) {
                           return !timer.window && timer.id == candidate;
                         });
    };
    do
      id = user.nextThreadTimerId++;
    while (id == 0 || taken(id));
  }
  user.timers.push_back(
      Timer{handle, id, period, Clock::now() + period, procedure});
  return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND handle, UINT_PTR id) {
  auto removed = std::erase_if(user.timers, [&](const Timer &timer) {
    return timer.window == handle && timer.id == id;
  });
  return removed > 0;
}

// ---- test hooks -------------------------------------------------------------
const uint32_t *standinWindowPixels(HWND handle, int *width, int *height) {
  Window *window = find(handle);
  if (width)
    *width = window ? window->presentedWidth : 0;
  if (height)
    *height = window ? window->presentedHeight : 0;
  if (!window)
    return nullptr;
  int shownWidth = window->presentedWidth;
  int shownHeight = window->presentedHeight;
  window->presented.assign(static_cast<size_t>(shownWidth) * shownHeight, 0);
  const Bitmap &surface = window->surface;
  if (!window->onFramebuffer) {
    displayReadBack(window->display, window->presented.data(), shownWidth,
                    shownHeight);
    return window->presented.data();
  }
  // Read from the surface itself: asking SDL for its framebuffer could free
  // the one being drawn on. Where the surface is smaller (resized since),
  // the rest is left.
  int copyWidth = std::min(shownWidth, surface.width);
  int copyHeight = copyWidth > 0 ? std::min(shownHeight, surface.height) : 0;
  for (int row = 0; row < copyHeight; ++row) {
    const uint32_t *from = surface.row(row);
    uint32_t *to = &window->presented[static_cast<size_t>(row) * shownWidth];
    for (int column = 0; column < copyWidth; ++column)
      to[column] = from[column] & 0xFFFFFF;
  }
  return window->presented.data();
}

void standinResizeWindow(HWND handle, int width, int height) {
  Window *window = find(handle);
  if (!window)
    return;
  width = std::max(width, 0);
  height = std::max(height, 0);
  window->minimised = false;
  // The backend's own report of this change then finds nothing new.
  displaySetClientSize(window->display, width, height);
  applyClientSize(*window, width, height, SIZE_RESTORED);
  // As SetWindowPos does on Windows, the size message is sent, not posted.
  MSG size = user.posted.back();
  user.posted.pop_back();
  SendMessageW(handle, size.message, size.wParam, size.lParam);
}

int standinTimerCount(HWND handle) {
  return static_cast<int>(std::count_if(
      user.timers.begin(), user.timers.end(),
      [handle](const Timer &timer) { return timer.window == handle; }));
}

uint32_t standinDisplayWindowId(HWND handle) {
  Window *window = find(handle);
  return window ? window->displayId : 0;
}
