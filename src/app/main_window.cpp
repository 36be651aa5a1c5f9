#include "app/main_window.h"

#include "app/program_state.h"
#include "app/run_control.h"
#include "render/frame.h"

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam) {
  switch (message) {
  case WM_CREATE:
    initialiseState();
    renderFrame(window);
    return 0;
  case WM_DESTROY:
    teardown();
    return 0;
  case WM_SIZE:
    // Before the first frame there is nothing to resize.
    if (backBuffer) {
      DeleteObject(backBuffer);
      uint32_t half = static_cast<uint32_t>(LOWORD(lParam)) >> 1;
      yieldInterval.store(half ? half : 2, std::memory_order_relaxed);
      backBuffer = nullptr;
      renderFrame(window);
    }
    return 0;
  case WM_TIMER:
    renderFrame(window);
    return 0;
  case WM_PAINT: {
    PAINTSTRUCT paint;
    HDC deviceContext = BeginPaint(window, &paint);
    if (backBuffer)
      presentFrame(deviceContext);
    EndPaint(window, &paint);
    return 0;
  }
  case WM_KEYDOWN:
    handleKey(window, wParam);
    renderFrame(window);
    return 0;
  case WM_LBUTTONDOWN:
    if (startRun(window))
      renderFrame(window);
    return 0;
  case WM_RBUTTONDOWN:
    if (requestShuffle())
      renderFrame(window);
    return 0;
  default:
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

ATOM registerMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = MAIN_WINDOW_CLASS;
  return RegisterClassW(&windowClass);
}

HWND createMainWindow(HINSTANCE instance) {
  return CreateWindowExW(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE,
                         WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                         instance, nullptr);
}
