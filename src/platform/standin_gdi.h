// The objects behind the stand-in's GDI handles, shared by its gdi, font,
// surface and window files (never by the program). The program's calls
// arrive on one interface thread, so nothing here is locked.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/win32.h"

namespace standin {

enum class GdiKind { bitmap, context };

struct GdiObject {
  explicit GdiObject(GdiKind k) : kind(k) {}
  GdiKind kind;
  bool stock = false; // owned by the system: DeleteObject leaves it alone
};

struct DeviceContext;

// Pixels are 0x00RRGGBB, rows top-down, each row `stride` pixels after the
// one before. A bitmap's pixels are its own (stride = width); a window's
// surface may instead lie in the display's framebuffer, whose rows can be
// longer than the window is wide. Every drawing call reaches rows through
// row().
struct Bitmap : GdiObject {
  Bitmap() : GdiObject(GdiKind::bitmap) {}
  int width = 0;
  int height = 0;
  uint32_t *bits = nullptr;     // row 0
  size_t stride = 0;            // in pixels
  std::vector<uint32_t> pixels; // the storage, unless bits lies elsewhere
  DeviceContext *selectedInto = nullptr;
  bool drawn = false; // changed since a window surface was last presented

  uint32_t *row(int64_t y) { return bits + static_cast<size_t>(y) * stride; }
  const uint32_t *row(int64_t y) const {
    return bits + static_cast<size_t>(y) * stride;
  }
  // Makes `pixels`, sized width x height, the storage.
  void ownPixels() {
    bits = pixels.data();
    stride = static_cast<size_t>(width);
  }
  bool ownsPixels() const { return bits == pixels.data(); }
};

constexpr RECT unlimited{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

struct DeviceContext : GdiObject {
  DeviceContext() : GdiObject(GdiKind::context) {}
  Bitmap *target = nullptr;   // selected bitmap, or the window's surface
  bool windowContext = false; // from GetDC or BeginPaint
  RECT clip = unlimited;      // BeginPaint limits drawing to rcPaint
};

// The live object behind a handle, or null.
DeviceContext *contextFromHandle(HDC context);
Bitmap *bitmapFromHandle(HBITMAP bitmap);
// Where drawing may land: the target's bounds within the clip. Empty (all
// zero) when there is no target.
RECT drawableArea(const DeviceContext &context);
// A device context drawing on a window's surface (GetDC, BeginPaint).
HDC createWindowContext(Bitmap *surface, const RECT &clip);
// Frees a context made by createWindowContext; false for any other handle.
bool deleteWindowContext(HDC context);
// A window is going away: its contexts still out draw nowhere from now on.
void detachSurface(Bitmap *surface);

inline RECT intersect(const RECT &a, const RECT &b) {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
         a.right < b.right ? a.right : b.right,
         a.bottom < b.bottom ? a.bottom : b.bottom};
  if (r.left >= r.right || r.top >= r.bottom)
    return RECT{0, 0, 0, 0};
  return r;
}
inline bool isEmpty(const RECT &r) {
  return r.left >= r.right || r.top >= r.bottom;
}

} // namespace standin
