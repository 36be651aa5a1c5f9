// A window's client surface: the bitmap its device contexts draw on, and
// the presenting of it on the display. Shared by the stand-in's window
// file and the tests' hooks.
#pragma once

#include "platform/standin_gdi.h"

struct SDL_Window;

namespace standin {

struct Surface {
  Bitmap bitmap;
  SDL_Window *display = nullptr;
  bool onFramebuffer = false; // bitmap.bits lie in SDL's framebuffer
  int shownWidth = 0;         // the size last presented
  int shownHeight = 0;
};

// A new window's surface, width x height, black (all zero).
void surfaceOpen(Surface &surface, SDL_Window *display, int width, int height);
// A new client size; the overlap keeps its pixels.
void surfaceResize(Surface &surface, int width, int height);
// The display changed the window's size behind the stand-in's back (SDL
// drops its framebuffer at once, the event comes later): the surface takes
// memory of its own until the framebuffer has its size again.
void surfaceDisplayResized(Surface &surface);
// Shows what was drawn.
void surfacePresent(Surface &surface);
// The window is going away: contexts still out draw nowhere from now on.
void surfaceClose(Surface &surface);

} // namespace standin
