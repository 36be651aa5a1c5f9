// The main window: its class, its creation and its window procedure.
#pragma once

#include "platform/win32.h"

#define MAIN_WINDOW_CLASS TEXT("Taverell")
#define MAIN_WINDOW_TITLE TEXT("Taverell")

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam);
// Registers the window class; 0 when it failed. (A benchmark registers it
// with a procedure of its own that passes every message on.)
ATOM registerMainWindowClass(HINSTANCE instance,
                             WNDPROC procedure = mainWindowProc);
// Creates the main window (the class must be registered); the state is
// initialised and the first frame drawn during creation.
HWND createMainWindow(HINSTANCE instance);
