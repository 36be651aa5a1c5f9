// A headless window whose procedure records every message it receives and
// passes it on to DefWindowProcW unless the test's handler answers it.
#pragma once

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "platform/standin_hooks.h"
#include "platform/win32.h"
#include "support/watchdog.h"

// Display events pushed into SDL's queue, as the user would cause them.
inline void pushKey(HWND window, SDL_Keycode key, SDL_Scancode position,
                    bool repeat = false) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  // A null window: the display knows of no keyboard focus.
  event.key.windowID = window ? standinDisplayWindowId(window) : 0;
  event.key.state = SDL_PRESSED;
  event.key.repeat = repeat;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = position;
  SDL_PushEvent(&event);
}

inline void pushButton(HWND window, Uint8 button, int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.windowID = standinDisplayWindowId(window);
  event.button.button = button;
  event.button.state = SDL_PRESSED;
  event.button.x = x;
  event.button.y = y;
  SDL_PushEvent(&event);
}

inline void pushWindowEvent(HWND window, SDL_WindowEventID kind) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = standinDisplayWindowId(window);
  event.window.event = kind;
  SDL_PushEvent(&event);
}

struct Received {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class WindowTest : public ::testing::Test {
public:
  // Answers a message itself by returning true and setting *result.
  using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT *)>;

  static inline std::vector<Received> received;
  static inline Handler handler;

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    received.push_back(Received{window, message, wParam, lParam});
    LRESULT result = 0;
    if (handler && handler(window, message, wParam, lParam, &result))
      return result;
    return DefWindowProcW(window, message, wParam, lParam);
  }

  static constexpr LPCWSTR className = TEXT("StandinTestWindow");

  // The next message; a hang ends the test program instead.
  static MSG nextMessage() {
    Watchdog watchdog(std::chrono::seconds(10), "the next message");
    MSG msg{};
    GetMessageW(&msg, nullptr, 0, 0);
    return msg;
  }
  // The next message, which must be `message` for `window`.
  static MSG expectNext(UINT message, HWND window) {
    MSG msg = nextMessage();
    EXPECT_EQ(msg.message, message);
    EXPECT_EQ(msg.hwnd, window);
    return msg;
  }
  static void dispatchNext(UINT message, HWND window) {
    MSG msg = expectNext(message, window);
    DispatchMessageW(&msg);
  }

protected:
  void SetUp() override {
    // Headless unless the caller chose a video driver.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    static const bool registered = [] {
      WNDCLASSW description{};
      description.style = CS_HREDRAW | CS_VREDRAW;
      description.lpfnWndProc = procedure;
      description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      description.lpszClassName = className;
      return RegisterClassW(&description) != 0;
    }();
    ASSERT_TRUE(registered);
    received.clear();
    handler = nullptr;
  }

  void TearDown() override {
    for (HWND window : windows)
      DestroyWindow(window); // FALSE for those already gone
    handler = nullptr;
    standinUseRealClock();
  }

  HWND createWindow(int width = CW_USEDEFAULT, int height = CW_USEDEFAULT) {
    HWND window =
        CreateWindowExW(0, className, TEXT("standin test"), WS_OVERLAPPEDWINDOW,
                        CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window)
      windows.push_back(window);
    return window;
  }

  static int countOf(UINT message) {
    int count = 0;
    for (const Received &r : received)
      count += r.message == message;
    return count;
  }

  std::vector<HWND> windows;
};
