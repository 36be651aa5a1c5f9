// Stand-in for the GDI32 calls the program uses: memory and window device
// contexts, 32-bpp bitmaps, system colour brushes, FillRect, SetPixel and a
// SRCCOPY BitBlt. Everything works on plain memory; a window's device context
// draws on the window's client surface, which the window layer presents.
//
// Handles are the objects' addresses, checked against the set of live
// objects so that a stale or foreign handle fails as on Windows instead of
// being dereferenced. Limits: every bitmap is 32 bpp (even the 1x1 one a new
// memory context starts with, which is monochrome on Windows), contexts take
// bitmaps only (the program fills with a brush, never selects one), and
// BitBlt knows only SRCCOPY.
#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>

#include "platform/standin_gdi.h"
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
    defaultBitmap.stock = true;
    defaultBitmap.width = defaultBitmap.height = 1;
    defaultBitmap.pixels.assign(1, 0);
    defaultBitmap.ownPixels();
    live.insert(&defaultBitmap);
  }

  std::unordered_set<const GdiObject *> live;
  Bitmap defaultBitmap; // a new memory context's bitmap
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

// A system colour brush is the address of its colour in the table: nothing
// selects or deletes brushes here. A brush handle may also be a system
// colour index plus one, as in WNDCLASSW::hbrBackground = (HBRUSH)(COLOR_WINDOW
// + 1).
bool brushColour(HBRUSH handle, uint32_t *colour) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  if (value >= 1 && value <= systemColourCount) {
    *colour = systemColours[value - 1];
    return true;
  }
  auto first = reinterpret_cast<uintptr_t>(systemColours);
  if (value >= first && value < first + sizeof systemColours &&
      (value - first) % sizeof(uint32_t) == 0) {
    *colour = systemColours[(value - first) / sizeof(uint32_t)];
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

Bitmap *bitmapFromHandle(HBITMAP bitmap) {
  return lookup<Bitmap>(bitmap, GdiKind::bitmap);
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

} // namespace standin

// ---- GDI32 ------------------------------------------------------------------
HDC WINAPI CreateCompatibleDC(HDC reference) {
  if (reference && !contextFromHandle(reference))
    return nullptr;
  GdiState &state = gdi();
  auto *context = new DeviceContext;
  context->target = &state.defaultBitmap;
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
  Bitmap *bitmap = lookup<Bitmap>(object, GdiKind::bitmap);
  // Only memory contexts take bitmaps, and a bitmap lives in one at a time.
  if (!context || !bitmap || context->windowContext)
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
  Bitmap *bitmap = lookup<Bitmap>(object, GdiKind::bitmap);
  if (!bitmap || bitmap->selectedInto)
    return FALSE;
  if (bitmap->stock)
    return TRUE;
  gdi().live.erase(bitmap);
  delete bitmap;
  return TRUE;
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
  return reinterpret_cast<HBRUSH>(
      const_cast<uint32_t *>(&systemColours[index]));
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
