// The program's entry: register the class, create and show the window, run
// the message loop until the quit message.
#include "app/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  registerMainWindowClass(instance);
  HWND window = createMainWindow(instance);
  ShowWindow(window, showCommand);
  MSG message = {};
  // GetMessageW returns -1 on failure; only a positive result is a message.
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
