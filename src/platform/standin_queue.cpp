// Stand-in for the USER32 message queue: GetMessageW, TranslateMessage,
// DispatchMessageW, PostQuitMessage and window timers, with the display
// backend's events translated into the messages Windows sends.
//
// GetMessageW keeps Windows' order: posted messages, then input, then
// WM_QUIT, then WM_PAINT for a window with an update region, then WM_TIMER
// for a due timer. WM_PAINT and WM_TIMER are made when asked for, never
// queued, so they come only when nothing else is waiting and never pile up:
// a timer late by several periods still yields one message. With nothing
// due, the thread waits in the display backend until an event or the next
// timer. Every time is read from the one clock of standin_system.h.
//
// Limits, as the program needs no more: GetMessageW takes no window or
// message filter, timers belong to a window and have no TIMERPROC, and
// msg.pt is always (0, 0).
#include <algorithm>
#include <deque>

#include "platform/standin_display.h"
#include "platform/standin_system.h"
#include "platform/standin_window.h"
#include "platform/win32.h"

using namespace standin;

namespace {

constexpr UINT timerMinimum = 10;         // USER_TIMER_MINIMUM
constexpr UINT timerMaximum = 0x7FFFFFFF; // USER_TIMER_MAXIMUM
constexpr int64_t nanosecondsPerMillisecond = 1000000;
constexpr int64_t never = INT64_MAX;
constexpr LPARAM previousKeyDown = LPARAM{1} << 30;

struct Timer {
  HWND window;
  UINT_PTR id;
  int64_t period; // nanoseconds
  int64_t due;    // clock reading
};

struct QueueState {
  std::deque<MSG> posted;
  std::deque<MSG> input;
  bool quitPending = false;
  int quitCode = 0;
  std::vector<Timer> timers;
};

QueueState queue;

void postInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  queue.input.push_back(makeMessage(window, message, wParam, lParam));
}

void handleDisplayEvent(const DisplayEvent &event) {
  if (event.kind == DisplayEventKind::quitRequested) {
    for (HWND handle : windowHandles())
      postMessage(makeMessage(handle, WM_CLOSE, 0, 0));
    return;
  }
  Window *window = findDisplayWindow(event.windowId);
  // Keys go to the window the display names, else to the active window.
  if (!window && event.kind == DisplayEventKind::keyDown)
    window = findWindow(activeWindow());
  if (!window)
    return;
  HWND handle = window->handle;
  switch (event.kind) {
  case DisplayEventKind::keyDown:
    postInput(handle, WM_KEYDOWN, event.virtualKey,
              1 | (event.repeat ? previousKeyDown : 0));
    break;
  case DisplayEventKind::leftButtonDown:
    postInput(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(event.x, event.y));
    break;
  case DisplayEventKind::rightButtonDown:
    postInput(handle, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(event.x, event.y));
    break;
  case DisplayEventKind::sizeChanged: {
    // The size is read now, not from the event: a later event may be
    // pending, and the stand-in may have set this size itself already.
    int width = window->clientWidth, height = window->clientHeight;
    displayClientSize(window->surface.display, &width, &height);
    if (!window->minimised &&
        (width != window->clientWidth || height != window->clientHeight))
      postMessage(applyClientSize(*window, width, height, SIZE_RESTORED));
    else
      surfaceDisplayResized(window->surface);
    break;
  }
  case DisplayEventKind::minimised:
    if (!window->minimised) {
      window->minimised = true;
      postMessage(applyClientSize(*window, 0, 0, SIZE_MINIMIZED));
    }
    break;
  case DisplayEventKind::restored:
    if (window->minimised) {
      window->minimised = false;
      int width = 0, height = 0;
      displayClientSize(window->surface.display, &width, &height);
      postMessage(applyClientSize(*window, width, height, SIZE_RESTORED));
    }
    break;
  case DisplayEventKind::closeRequested:
    postMessage(makeMessage(handle, WM_CLOSE, 0, 0));
    break;
  case DisplayEventKind::exposed:
    invalidateAll(*window);
    break;
  case DisplayEventKind::focusGained:
    setActiveWindow(handle);
    break;
  case DisplayEventKind::quitRequested:
    break;
  }
}

bool takeFirst(std::deque<MSG> &messages, LPMSG msg) {
  if (messages.empty())
    return false;
  *msg = messages.front();
  messages.pop_front();
  return true;
}

// The earliest due timer makes the message; its next due time is the first
// period boundary after now, so missed periods are not made up. Otherwise
// tells when the next timer falls due.
bool makeTimerMessage(LPMSG msg, int64_t *nextDue) {
  int64_t now = clockNanoseconds();
  Timer *chosen = nullptr;
  *nextDue = never;
  for (Timer &timer : queue.timers) {
    if (timer.due <= now && (!chosen || timer.due < chosen->due))
      chosen = &timer;
    *nextDue = std::min(*nextDue, timer.due);
  }
  if (!chosen)
    return false;
  chosen->due += ((now - chosen->due) / chosen->period + 1) * chosen->period;
  *msg = makeMessage(chosen->window, WM_TIMER, chosen->id, 0);
  return true;
}

} // namespace

// ---- shared with the window file and the system layer -----------------------
namespace standin {

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(clockNanoseconds() / nanosecondsPerMillisecond);
  return msg;
}

void postMessage(const MSG &message) { queue.posted.push_back(message); }

void forgetWindow(HWND handle) {
  std::erase_if(queue.timers, [handle](const Timer &timer) {
    return timer.window == handle;
  });
  auto addressed = [handle](const MSG &msg) { return msg.hwnd == handle; };
  std::erase_if(queue.posted, addressed);
  std::erase_if(queue.input, addressed);
}

int timerCount(HWND handle) {
  return static_cast<int>(std::count_if(
      queue.timers.begin(), queue.timers.end(),
      [handle](const Timer &timer) { return timer.window == handle; }));
}

void waitForDisplay(int64_t due) {
  if (due == never) {
    displayWait(-1);
    return;
  }
  int64_t remaining = due - clockNanoseconds();
  if (remaining <= 0)
    return;
  // Rounded up: waking before the due time would only mean waiting again.
  int64_t milliseconds =
      (remaining + nanosecondsPerMillisecond - 1) / nanosecondsPerMillisecond;
  displayWait(static_cast<int>(std::min<int64_t>(milliseconds, 0x7FFFFFFF)));
}

} // namespace standin

// ---- the message loop -------------------------------------------------------
BOOL WINAPI GetMessageW(LPMSG msg, HWND filter, UINT first, UINT last) {
  if (!msg || filter || first || last)
    return -1;
  for (;;) {
    DisplayEvent event;
    while (displayNextEvent(&event))
      handleDisplayEvent(event);
    if (takeFirst(queue.posted, msg))
      return msg->message != WM_QUIT;
    if (takeFirst(queue.input, msg))
      return TRUE;
    if (queue.quitPending) {
      queue.quitPending = false;
      *msg =
          makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
      return FALSE;
    }
    if (Window *window = windowToPaint()) {
      *msg = makeMessage(window->handle, WM_PAINT, 0, 0);
      return TRUE;
    }
    int64_t nextDue;
    if (makeTimerMessage(msg, &nextDue))
      return TRUE;
    idleUntil(nextDue);
  }
}

BOOL WINAPI TranslateMessage(const MSG *msg) {
  // No character messages are made; Windows still reports key messages as
  // translated.
  return msg && msg->message == WM_KEYDOWN;
}

LRESULT WINAPI DispatchMessageW(const MSG *msg) {
  return msg ? sendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam)
             : 0;
}

void WINAPI PostQuitMessage(int exitCode) {
  queue.quitPending = true;
  queue.quitCode = exitCode;
}

// ---- timers -----------------------------------------------------------------
UINT_PTR WINAPI SetTimer(HWND handle, UINT_PTR id, UINT elapse,
                         TIMERPROC procedure) {
  if (!findWindow(handle) || procedure)
    return 0;
  int64_t period = int64_t{std::clamp(elapse, timerMinimum, timerMaximum)} *
                   nanosecondsPerMillisecond;
  int64_t due = clockNanoseconds() + period;
  auto existing = std::find_if(
      queue.timers.begin(), queue.timers.end(), [&](const Timer &timer) {
        return timer.window == handle && timer.id == id;
      });
  // Setting a timer again restarts it with the new period.
  if (existing != queue.timers.end())
    *existing = Timer{handle, id, period, due};
  else
    queue.timers.push_back(Timer{handle, id, period, due});
  return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND handle, UINT_PTR id) {
  auto removed = std::erase_if(queue.timers, [&](const Timer &timer) {
    return timer.window == handle && timer.id == id;
  });
  return removed > 0;
}
