// Stand-in for the GDI32 calls the program uses: memory and window device
// contexts, 32-bpp bitmaps, system colour brushes, FillRect, SetPixel and a
// SRCCOPY BitBlt. Everything works on plain memory; a window's device context
// draws on the window's client surface, which the user layer presents.
//
// Handles are the objects' addresses, checked against the set of live
// objects so that a stale or foreign handle fails as on Windows instead of
// being dereferenced. Limits: every bitmap is 32 bpp (even the 1x1 one a new
// memory context starts with, which is monochrome on Windows), and BitBlt
// knows only SRCCOPY.
#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>

#include "platform/standin_hooks.h"
#include "platform/standin_internal.h"
#include "platform/win32.h"

using namespace standin;

namespace {

constexpr int systemColourCount = 31;

// Windows 10's default system colours, 0x00RRGGBB, by COLOR_ index.
constexpr uint32_t systemColours[systemColourCount] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464,
    0x000000, 0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7,
    0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF,
    0x696969, 0xE3E3E3, 0x000000, 0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA,
    0xD7E4F2, 0x3399FF, 0xF0F0F0};

struct GdiState {
  GdiState() {
    for (int index = 0; index < systemColourCount; ++index) {
      systemBrushes.emplace_back(systemColours[index]);
    }
    for (Brush &brush : systemBrushes)
      adopt(&brush);
    adopt(&whiteBrush);
    defaultBitmap.width = defaultBitmap.height = 1;
    defaultBitmap.pixels.assign(1, 0);
    defaultBitmap.ownPixels();
    adopt(&defaultBitmap);
  }
  void adopt(GdiObject *object) {
    object->stock = true;
    live.insert(object);
  }

  std::unordered_set<const GdiObject *> live;
  std::vector<Brush> systemBrushes; // never resized after construction
  Brush whiteBrush{0xFFFFFF};       // a new context's brush
  Bitmap defaultBitmap;             // a new memory context's bitmap
};

GdiState &gdi() {
  static GdiState state;
  return state;
}

template <typename T> T *lookup(const void *handle, GdiKind kind) {
  if (!handle)
    return nullptr;
  auto *object = static_cast<const GdiObject *>(handle);
  GdiState &state = gdi();
  if (!state.live.count(object) || object->kind != kind)
    return nullptr;
  return static_cast<T *>(const_cast<GdiObject *>(object));
}

// COLORREF is 0x00BBGGRR; pixels are 0x00RRGGBB.
uint32_t pixelFromColour(COLORREF colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// A brush handle may also be a system colour index plus one, as in
// WNDCLASSW::hbrBackground = (HBRUSH)(COLOR_WINDOW + 1).
bool brushColour(HBRUSH handle, uint32_t *colour) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  if (value >= 1 && value <= systemColourCount) {
    *colour = systemColours[value - 1];
    return true;
  }
  if (Brush *brush = lookup<Brush>(handle, GdiKind::brush)) {
    *colour = brush->colour;
    return true;
  }
  return false;
}

} // namespace

// ---- shared with the other stand-in files -----------------------------------
namespace standin {

DeviceContext *contextFromHandle(HDC context) {
  return lookup<DeviceContext>(context, GdiKind::context);
}

RECT drawableArea(const DeviceContext &context) {
  if (!context.target)
    return RECT{0, 0, 0, 0};
  RECT bounds{0, 0, context.target->width, context.target->height};
  return intersect(bounds, context.clip);
}

HDC createWindowContext(Bitmap *surface, const RECT &clip) {
  auto *context = new DeviceContext;
  context->target = surface;
  context->brush = &gdi().whiteBrush;
  context->windowContext = true;
  context->clip = clip;
  gdi().live.insert(context);
  return reinterpret_cast<HDC>(context);
}

bool deleteWindowContext(HDC handle) {
  DeviceContext *context = contextFromHandle(handle);
  if (!context || !context->windowContext)
    return false;
  gdi().live.erase(context);
  delete context;
  return true;
}

void detachSurface(Bitmap *surface) {
  for (const GdiObject *object : gdi().live) {
    if (object->kind != GdiKind::context)
      continue;
    auto *context =
        static_cast<DeviceContext *>(const_cast<GdiObject *>(object));
    if (context->target == surface)
      context->target = nullptr;
  }
}

void resizeSurface(Bitmap &surface, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == surface.width && height == surface.height &&
      surface.ownsPixels())
    return;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
  int keepWidth = std::min(width, surface.width);
  // Nothing to keep when either side has no columns, and an empty vector has
  // no row to take the address of.
  int keepHeight = keepWidth > 0 ? std::min(height, surface.height) : 0;
  for (int row = 0; row < keepHeight; ++row)
    std::memcpy(&pixels[static_cast<size_t>(row) * width], surface.row(row),
                static_cast<size_t>(keepWidth) * 4);
  surface.pixels.swap(pixels);
  surface.width = width;
  surface.height = height;
  surface.ownPixels();
}

void placeSurface(Bitmap &surface, uint32_t *framebuffer, size_t stride) {
  for (int row = 0; row < surface.height; ++row)
    std::memcpy(framebuffer + static_cast<size_t>(row) * stride,
                surface.row(row), static_cast<size_t>(surface.width) * 4);
  surface.bits = framebuffer;
  surface.stride = stride;
  // The framebuffer is the storage now.
  std::vector<uint32_t>().swap(surface.pixels);
}

} // namespace standin

// ---- GDI32 ------------------------------------------------------------------
HDC WINAPI CreateCompatibleDC(HDC reference) {
  if (reference && !contextFromHandle(reference))
    return nullptr;
  GdiState &state = gdi();
  auto *context = new DeviceContext;
  context->target = &state.defaultBitmap;
  context->brush = &state.whiteBrush;
  state.live.insert(context);
  return reinterpret_cast<HDC>(context);
}

BOOL WINAPI DeleteDC(HDC handle) {
  DeviceContext *context = contextFromHandle(handle);
  // A window's context goes back with ReleaseDC or EndPaint.
  if (!context || context->windowContext)
    return FALSE;
  if (context->target && !context->target->stock)
    context->target->selectedInto = nullptr;
  gdi().live.erase(context);
  delete context;
  return TRUE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC reference, int width, int height) {
  if (!contextFromHandle(reference) || width < 0 || height < 0)
    return nullptr;
  // Windows answers a zero size with a 1x1 bitmap.
  if (width == 0 || height == 0)
    width = height = 1;
  // Beyond this GDI itself refuses; it also keeps the byte count in range.
  if (static_cast<int64_t>(width) * height > (int64_t{1} << 28))
    return nullptr;
  auto *bitmap = new (std::nothrow) Bitmap;
  if (!bitmap)
    return nullptr;
  try {
    bitmap->pixels.assign(static_cast<size_t>(width) * height, 0);
  } catch (const std::bad_alloc &) {
    delete bitmap;
    return nullptr;
  }
  bitmap->width = width;
  bitmap->height = height;
  bitmap->ownPixels();
  gdi().live.insert(bitmap);
  return reinterpret_cast<HBITMAP>(bitmap);
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object) {
  DeviceContext *context = contextFromHandle(handle);
  if (!context || !object)
    return nullptr;
  if (Brush *brush = lookup<Brush>(object, GdiKind::brush)) {
    Brush *previous = context->brush;
    context->brush = brush;
    return previous;
  }
  Bitmap *bitmap = lookup<Bitmap>(object, GdiKind::bitmap);
  // Only memory contexts take bitmaps, and a bitmap lives in one at a time.
  if (!bitmap || context->windowContext)
    return nullptr;
  if (!bitmap->stock && bitmap->selectedInto && bitmap->selectedInto != context)
    return nullptr;
  Bitmap *previous = context->target;
  if (previous && !previous->stock)
    previous->selectedInto = nullptr;
  context->target = bitmap;
  if (!bitmap->stock)
    bitmap->selectedInto = context;
  return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  if (!object || !gdi().live.count(static_cast<const GdiObject *>(object)))
    return FALSE;
  auto *gdiObject = static_cast<GdiObject *>(object);
  if (gdiObject->stock)
    return TRUE;
  switch (gdiObject->kind) {
  case GdiKind::bitmap: {
    auto *bitmap = static_cast<Bitmap *>(gdiObject);
    if (bitmap->selectedInto)
      return FALSE;
    gdi().live.erase(bitmap);
    delete bitmap;
    return TRUE;
  }
  case GdiKind::brush: // every brush here is a stock one
  case GdiKind::context:
    break;
  }
  return FALSE;
}

int WINAPI GetObjectW(HANDLE object, int size, LPVOID buffer) {
  Bitmap *bitmap = lookup<Bitmap>(object, GdiKind::bitmap);
  if (!bitmap)
    return 0;
  if (!buffer)
    return sizeof(BITMAP);
  if (size < static_cast<int>(sizeof(BITMAP)))
    return 0;
  BITMAP description{};
  description.bmType = 0;
  description.bmWidth = bitmap->width;
  description.bmHeight = bitmap->height;
  description.bmWidthBytes = bitmap->width * 4;
  description.bmPlanes = 1;
  description.bmBitsPixel = 32;
  description.bmBits = nullptr; // a device-dependent bitmap shows no bits
  std::memcpy(buffer, &description, sizeof description);
  return sizeof(BITMAP);
}

HBRUSH WINAPI GetSysColorBrush(int index) {
  if (index < 0 || index >= systemColourCount)
    return nullptr;
  return reinterpret_cast<HBRUSH>(&gdi().systemBrushes[index]);
}

int WINAPI FillRect(HDC handle, const RECT *rect, HBRUSH brush) {
  DeviceContext *context = contextFromHandle(handle);
  uint32_t colour = 0;
  if (!context || !rect || !brushColour(brush, &colour))
    return 0;
  RECT area = intersect(*rect, drawableArea(*context));
  if (isEmpty(area))
    return 1;
  Bitmap &target = *context->target;
  for (LONG y = area.top; y < area.bottom; ++y) {
    uint32_t *row = target.row(y);
    std::fill(row + area.left, row + area.right, colour);
  }
  target.drawn = true;
  return 1;
}

COLORREF WINAPI SetPixel(HDC handle, int x, int y, COLORREF colour) {
  DeviceContext *context = contextFromHandle(handle);
  if (!context)
    return static_cast<COLORREF>(-1);
  RECT area = drawableArea(*context);
  if (x < area.left || x >= area.right || y < area.top || y >= area.bottom)
    return static_cast<COLORREF>(-1);
  Bitmap &target = *context->target;
  target.row(y)[x] = pixelFromColour(colour);
  target.drawn = true;
  return colour & 0xFFFFFF;
}

BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height,
                   HDC source, int sourceX, int sourceY, DWORD rop) {
  DeviceContext *to = contextFromHandle(destination);
  DeviceContext *from = contextFromHandle(source);
  if (rop != SRCCOPY || !to || !from)
    return FALSE;
  if (width <= 0 || height <= 0 || !to->target || !from->target)
    return TRUE;
  // In 64 bits: x + width may not fit an int.
  int64_t left = x, top = y, right = left + width, bottom = top + height;
  RECT drawable = drawableArea(*to);
  left = std::max<int64_t>(left, drawable.left);
  top = std::max<int64_t>(top, drawable.top);
  right = std::min<int64_t>(right, drawable.right);
  bottom = std::min<int64_t>(bottom, drawable.bottom);
  // Pixels that would come from outside the source are not copied at all.
  int64_t shiftX = int64_t{sourceX} - x, shiftY = int64_t{sourceY} - y;
  left = std::max<int64_t>(left, -shiftX);
  top = std::max<int64_t>(top, -shiftY);
  right = std::min<int64_t>(right, from->target->width - shiftX);
  bottom = std::min<int64_t>(bottom, from->target->height - shiftY);
  if (left >= right || top >= bottom)
    return TRUE;

  Bitmap &target = *to->target;
  const Bitmap &origin = *from->target;
  size_t bytes = static_cast<size_t>(right - left) * 4;
  // Within one bitmap, copy rows away from the overlap (memmove handles it
  // within a row).
  bool upwards = &target == &origin && shiftY < 0;
  for (int64_t k = 0; k < bottom - top; ++k) {
    int64_t row = upwards ? bottom - 1 - k : top + k;
    uint32_t *toRow = target.row(row) + left;
    const uint32_t *fromRow = origin.row(row + shiftY) + left + shiftX;
    std::memmove(toRow, fromRow, bytes);
  }
  target.drawn = true;
  return TRUE;
}

// ---- test hooks -------------------------------------------------------------
const uint32_t *standinBitmapPixels(HBITMAP handle, int *width, int *height) {
  Bitmap *bitmap = lookup<Bitmap>(handle, GdiKind::bitmap);
  if (width)
    *width = bitmap ? bitmap->width : 0;
  if (height)
    *height = bitmap ? bitmap->height : 0;
  return bitmap ? bitmap->bits : nullptr;
}
