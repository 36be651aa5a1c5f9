// A headless window whose procedure records every message it receives and
// passes it on to DefWindowProcW unless the test's handler answers it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/standin_hooks.h"
#include "platform/win32.h"

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
  // Turns a hang into a failure: a message no test expects.
  static constexpr UINT_PTR watchdogPeriod = 5000;

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
    watchdog = SetTimer(nullptr, 0, watchdogPeriod, nullptr);
  }

  void TearDown() override {
    KillTimer(nullptr, watchdog);
    for (HWND window : windows)
      DestroyWindow(window); // FALSE for those already gone
    handler = nullptr;
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

  // The next message, failing the test rather than waiting for ever.
  MSG nextMessage() {
    MSG msg{};
    GetMessageW(&msg, nullptr, 0, 0);
    EXPECT_FALSE(msg.message == WM_TIMER && msg.hwnd == nullptr &&
                 msg.wParam == watchdog)
        << "no message came for " << watchdogPeriod << " ms";
    return msg;
  }
  // The next message, which must be `message` for `window`.
  MSG expectNext(UINT message, HWND window) {
    MSG msg = nextMessage();
    EXPECT_EQ(msg.message, message);
    EXPECT_EQ(msg.hwnd, window);
    return msg;
  }
  void dispatchNext(UINT message, HWND window) {
    MSG msg = expectNext(message, window);
    DispatchMessageW(&msg);
  }

  static int countOf(UINT message) {
    int count = 0;
    for (const Received &r : received)
      count += r.message == message;
    return count;
  }

  UINT_PTR watchdog = 0;
  std::vector<HWND> windows;
};
