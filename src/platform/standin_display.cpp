// The stand-in's display backend: SDL2 windows, their input translated to
// what Windows reports, and the presenting of a window's client surface.
//
// A window's client surface lives in SDL's window surface (the framebuffer)
// when that has the stand-in's own pixel format, so that presenting only
// shows it; any other format gets a copy. That surface needs no renderer
// and works the same on X11 (Xvfb included) and on SDL's dummy
// driver, where windows exist with no display at all (SDL_VIDEODRIVER=dummy,
// as the tests run). The video system starts with the first window; only
// the dummy driver's is shut down at exit.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/standin_display.h"

using namespace standin;

namespace {

struct DisplayState {
  bool started = false;
  bool failed = false;
  bool dummy = false; // SDL's dummy driver: no screen, no window manager
};

DisplayState display;

std::string utf8FromUtf16(LPCWSTR text) {
  std::string out;
  for (size_t k = 0; text && text[k]; ++k) {
    uint32_t code = text[k];
    if (code >= 0xD800 && code <= 0xDBFF && text[k + 1] >= 0xDC00 &&
        text[k + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[k + 1] - 0xDC00);
      ++k;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// Virtual-key codes of the keys the program does not name itself.
constexpr UINT VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
               VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B,
               VK_SPACE = 0x20, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
               VK_DOWN = 0x28, VK_DELETE = 0x2E, VK_ADD = 0x6B,
               VK_SUBTRACT = 0x6D, VK_F1 = 0x70, VK_NONAME = 0xFC;

struct KeyName {
  SDL_Keycode key;
  UINT virtualKey;
};

// Keys with a virtual-key code of their own.
constexpr KeyName namedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},   {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_LSHIFT, VK_SHIFT},    {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},       {SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, 0x13},         {SDLK_CAPSLOCK, 0x14},
    {SDLK_ESCAPE, VK_ESCAPE},   {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, 0x21},        {SDLK_PAGEDOWN, 0x22},
    {SDLK_END, 0x23},           {SDLK_HOME, 0x24},
    {SDLK_LEFT, VK_LEFT},       {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},     {SDLK_DOWN, VK_DOWN},
    {SDLK_PRINTSCREEN, 0x2C},   {SDLK_INSERT, 0x2D},
    {SDLK_DELETE, VK_DELETE},   {SDLK_LGUI, 0x5B},
    {SDLK_RGUI, 0x5C},          {SDLK_APPLICATION, 0x5D},
    {SDLK_KP_0, 0x60},          {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, VK_ADD},     {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, 0x6E},     {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_NUMLOCKCLEAR, 0x90},  {SDLK_SCROLLLOCK, 0x91},
    {SDLK_SEMICOLON, 0xBA},     {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_PLUS, VK_OEM_PLUS},   {SDLK_COMMA, 0xBC},
    {SDLK_MINUS, VK_OEM_MINUS}, {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},         {SDLK_BACKQUOTE, 0xC0},
    {SDLK_LEFTBRACKET, 0xDB},   {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, 0xDD},  {SDLK_QUOTE, 0xDE},
};

// Windows' virtual-key code for a key. Letters and digits follow the layout
// (as Windows' do) through the keycode; a key the layout gives no Latin
// meaning falls back to its position; anything else still arrives, as
// VK_NONAME, so that every key press reaches the window procedure.
UINT virtualKey(SDL_Keycode key, SDL_Scancode position) {
  if (key >= SDLK_a && key <= SDLK_z)
    return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9)
    return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12)
    return VK_F1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
    return 0x61 + (key - SDLK_KP_1); // VK_NUMPAD1..9
  for (const KeyName &named : namedKeys)
    if (named.key == key)
      return named.virtualKey;
  if (position >= SDL_SCANCODE_A && position <= SDL_SCANCODE_Z)
    return 'A' + (position - SDL_SCANCODE_A);
  if (position >= SDL_SCANCODE_1 && position <= SDL_SCANCODE_9)
    return '1' + (position - SDL_SCANCODE_1);
  if (position == SDL_SCANCODE_0)
    return '0';
  if (position == SDL_SCANCODE_MINUS)
    return VK_OEM_MINUS;
  if (position == SDL_SCANCODE_EQUALS)
    return VK_OEM_PLUS;
  return VK_NONAME;
}

bool translate(const SDL_Event &event, DisplayEvent *out) {
  *out = DisplayEvent{};
  switch (event.type) {
  case SDL_KEYDOWN:
    out->kind = DisplayEventKind::keyDown;
    out->windowId = event.key.windowID;
    out->virtualKey =
        virtualKey(event.key.keysym.sym, event.key.keysym.scancode);
    out->repeat = event.key.repeat != 0;
    return true;
  case SDL_MOUSEBUTTONDOWN:
    if (event.button.button == SDL_BUTTON_LEFT)
      out->kind = DisplayEventKind::leftButtonDown;
    else if (event.button.button == SDL_BUTTON_RIGHT)
      out->kind = DisplayEventKind::rightButtonDown;
    else
      return false;
    out->windowId = event.button.windowID;
    out->x = event.button.x;
    out->y = event.button.y;
    return true;
  case SDL_QUIT:
    out->kind = DisplayEventKind::quitRequested;
    return true;
  case SDL_WINDOWEVENT:
    out->windowId = event.window.windowID;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      out->kind = DisplayEventKind::sizeChanged;
      return true;
    case SDL_WINDOWEVENT_MINIMIZED:
      out->kind = DisplayEventKind::minimised;
      return true;
    case SDL_WINDOWEVENT_RESTORED:
      out->kind = DisplayEventKind::restored;
      return true;
    case SDL_WINDOWEVENT_CLOSE:
      out->kind = DisplayEventKind::closeRequested;
      return true;
    case SDL_WINDOWEVENT_EXPOSED:
      out->kind = DisplayEventKind::exposed;
      return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      out->kind = DisplayEventKind::focusGained;
      return true;
    default:
      return false;
    }
  default:
    return false;
  }
}

} // namespace

namespace standin {

bool displayStart() {
  if (display.started || display.failed)
    return display.started;
  // The close button is answered per window (WM_CLOSE); SDL_QUIT then only
  // comes from SIGINT or SIGTERM.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Frames are drawn by the CPU: copying them straight to the window beats a
  // GL texture, which under Xvfb is software rendering on top (a sixth of
  // the CPU time). The environment variable still overrides this.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // A desktop program leaves the screen saver alone.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // With an X display named and no driver asked for, the window belongs on
  // that display: a connection refused for a moment must not send it to
  // another video system (KMSDRM on the console) where nobody sees it, as
  // happened once in a hundred starts under Xvfb. Retry X11 for a while.
  bool started = false;
  if (!SDL_getenv("SDL_VIDEODRIVER") && SDL_getenv("DISPLAY")) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    for (int attempt = 0; attempt < 30 && !started; ++attempt) {
      started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
      if (!started)
        SDL_Delay(100);
    }
    if (!started)
      std::fprintf(stderr, "cannot open the X display: %s\n", SDL_GetError());
    SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);
  }
  if (!started && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "cannot open a display: %s\n", SDL_GetError());
    display.failed = true;
    return false;
  }
  // No WM_CHAR is made, so an input method must not swallow key presses.
  SDL_StopTextInput();
  const char *driver = SDL_GetCurrentVideoDriver();
  display.dummy = driver && std::strcmp(driver, "dummy") == 0;
  // Shut down at exit only without a screen (the tests, where a leak checker
  // looks). On X11, SDL's wakeup event for the close button goes out on a
  // second connection and can reach the server after the window is gone;
  // closing that connection at exit reads the BadWindow error, and Xlib's
  // default handler ends the process with code 1. The exit releases the
  // connections anyway.
  if (display.dummy)
    std::atexit(SDL_Quit);
  display.started = true;
  return true;
}

void displayDefaultClientSize(int *width, int *height) {
  *width = 1024;
  *height = 768;
  SDL_DisplayMode mode;
  if (display.dummy || SDL_GetDesktopDisplayMode(0, &mode) != 0)
    return;
  // A good share of the screen, as Windows' default placement gives.
  *width = std::min(std::max(mode.w * 3 / 4, 800), mode.w);
  *height = std::min(std::max(mode.h * 3 / 4, 600), mode.h);
}

SDL_Window *displayCreateWindow(LPCWSTR title, int x, int y, int width,
                                int height, bool resizable) {
  Uint32 flags = SDL_WINDOW_HIDDEN | (resizable ? SDL_WINDOW_RESIZABLE : 0);
  int left = x == CW_USEDEFAULT ? SDL_WINDOWPOS_UNDEFINED : x;
  int top = x == CW_USEDEFAULT ? SDL_WINDOWPOS_UNDEFINED : y;
  SDL_Window *window =
      SDL_CreateWindow(utf8FromUtf16(title).c_str(), left, top,
                       std::max(width, 1), std::max(height, 1), flags);
  if (!window)
    std::fprintf(stderr, "cannot create a window: %s\n", SDL_GetError());
  return window;
}

void displayDestroyWindow(SDL_Window *window) {
  if (window)
    SDL_DestroyWindow(window);
}

void displayShowWindow(SDL_Window *window, bool show) {
  if (!window)
    return;
  if (show)
    SDL_ShowWindow(window);
  else
    SDL_HideWindow(window);
}

void displayClientSize(SDL_Window *window, int *width, int *height) {
  if (window)
    SDL_GetWindowSize(window, width, height);
}

uint32_t displayWindowId(SDL_Window *window) {
  return window ? SDL_GetWindowID(window) : 0;
}

uint32_t *displayFramebuffer(SDL_Window *window, int width, int height,
                             size_t *stride) {
  if (!window || width <= 0 || height <= 0)
    return nullptr;
  SDL_Surface *surface = SDL_GetWindowSurface(window);
  // RGB888 is SDL's name for XRGB8888: the dummy driver's format, and X11's
  // at depth 24 or 32. A framebuffer needing a lock is not drawn on directly.
  if (!surface || surface->format->format != SDL_PIXELFORMAT_RGB888 ||
      surface->w != width || surface->h != height || surface->pitch % 4 != 0 ||
      SDL_MUSTLOCK(surface))
    return nullptr;
  *stride = static_cast<size_t>(surface->pitch / 4);
  return static_cast<uint32_t *>(surface->pixels);
}

bool displayShow(SDL_Window *window) {
  // Fails, touching nothing, when SDL has marked the framebuffer for
  // re-creation; the old one lives on until SDL_GetWindowSurface.
  return window && SDL_UpdateWindowSurface(window) == 0;
}

void displayPresent(SDL_Window *window, const uint32_t *pixels, int width,
                    int height) {
  if (!window)
    return;
  SDL_Surface *surface = SDL_GetWindowSurface(window);
  if (!surface)
    return;
  // During a resize the two sizes may differ for a moment.
  int copyWidth = std::min(width, surface->w);
  int copyHeight = std::min(height, surface->h);
  if (copyWidth > 0 && copyHeight > 0) {
    if (SDL_MUSTLOCK(surface))
      SDL_LockSurface(surface);
    SDL_ConvertPixels(copyWidth, copyHeight, SDL_PIXELFORMAT_RGB888, pixels,
                      width * 4, surface->format->format, surface->pixels,
                      surface->pitch);
    if (SDL_MUSTLOCK(surface))
      SDL_UnlockSurface(surface);
  }
  SDL_UpdateWindowSurface(window);
}

bool displayNextEvent(DisplayEvent *out) {
  if (!display.started)
    return false;
  SDL_Event event;
  while (SDL_PollEvent(&event))
    if (translate(event, out))
      return true;
  return false;
}

void displayWait(int timeoutMs) {
  if (!display.started) {
    // Nothing can arrive from a display that is not there.
    std::this_thread::sleep_for(
        std::chrono::milliseconds(timeoutMs < 0 ? 1000 : timeoutMs));
    return;
  }
  if (timeoutMs < 0)
    SDL_WaitEvent(nullptr);
  else
    SDL_WaitEventTimeout(nullptr, timeoutMs);
}

} // namespace standin
