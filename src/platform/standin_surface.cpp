// Window surfaces and the one fast path of the display: drawing goes
// straight into SDL's framebuffer when its format and size allow, so that
// presenting is only showing it (copying a frame there cost over a quarter
// of a full-HD frame). Otherwise, and for an empty client area (minimised),
// the surface is memory of its own and presenting copies it.
#include "platform/standin_surface.h"

#include <algorithm>
#include <cstring>

#include "platform/standin_display.h"

namespace standin {

namespace {

// New size in memory of its own (also at the same size, to leave the
// framebuffer before SDL may free it); the overlap keeps its pixels.
void ownMemory(Bitmap &bitmap, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == bitmap.width && height == bitmap.height && bitmap.ownsPixels())
    return;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
  int keepWidth = std::min(width, bitmap.width);
  // Nothing to keep when either side has no columns, and an empty vector has
  // no row to take the address of.
  int keepHeight = keepWidth > 0 ? std::min(height, bitmap.height) : 0;
  for (int row = 0; row < keepHeight; ++row)
    std::memcpy(&pixels[static_cast<size_t>(row) * width], bitmap.row(row),
                static_cast<size_t>(keepWidth) * 4);
  bitmap.pixels.swap(pixels);
  bitmap.width = width;
  bitmap.height = height;
  bitmap.ownPixels();
}

// Into SDL's framebuffer, pixels and all, if it has the surface's size and
// format.
void enterFramebuffer(Surface &surface) {
  Bitmap &bitmap = surface.bitmap;
  size_t stride = 0;
  uint32_t *framebuffer =
      displayFramebuffer(surface.display, bitmap.width, bitmap.height, &stride);
  if (!framebuffer)
    return;
  for (int row = 0; row < bitmap.height; ++row)
    std::memcpy(framebuffer + static_cast<size_t>(row) * stride,
                bitmap.row(row), static_cast<size_t>(bitmap.width) * 4);
  bitmap.bits = framebuffer;
  bitmap.stride = stride;
  std::vector<uint32_t>().swap(bitmap.pixels);
  surface.onFramebuffer = true;
}

// SDL frees its framebuffer at the next SDL_GetWindowSurface after a size
// change, so the surface moves out first.
void leaveFramebuffer(Surface &surface) {
  ownMemory(surface.bitmap, surface.bitmap.width, surface.bitmap.height);
  surface.onFramebuffer = false;
}

} // namespace

void surfaceOpen(Surface &surface, SDL_Window *display, int width, int height) {
  surface.display = display;
  ownMemory(surface.bitmap, width, height);
  enterFramebuffer(surface);
}

void surfaceResize(Surface &surface, int width, int height) {
  ownMemory(surface.bitmap, width, height);
  surface.onFramebuffer = false;
  enterFramebuffer(surface);
}

void surfaceDisplayResized(Surface &surface) {
  leaveFramebuffer(surface);
  enterFramebuffer(surface);
}

void surfacePresent(Surface &surface) {
  Bitmap &bitmap = surface.bitmap;
  surface.shownWidth = bitmap.width;
  surface.shownHeight = bitmap.height;
  bitmap.drawn = false;
  if (surface.onFramebuffer) {
    if (displayShow(surface.display))
      return;
    // SDL has dropped the framebuffer (a size change whose event is still
    // queued); it takes the next one if that has the surface's size.
    surfaceDisplayResized(surface);
    if (surface.onFramebuffer) {
      displayShow(surface.display);
      return;
    }
  }
  displayPresent(surface.display, bitmap.bits, bitmap.width, bitmap.height);
}

void surfaceClose(Surface &surface) {
  detachSurface(&surface.bitmap);
  surface.display = nullptr;
}

} // namespace standin
