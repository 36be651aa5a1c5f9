// GDI on plain memory: device contexts, bitmaps and the clipping of every
// drawing call, checked against what GDI32 documents and does.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/standin_gdi.h"
#include "platform/standin_hooks.h"
#include "platform/win32.h"

namespace {

constexpr int width = 8, height = 6;
constexpr uint32_t white = 0xFFFFFF, marked = 0x010203;
constexpr COLORREF invalid = 0xFFFFFFFF; // CLR_INVALID
const RECT all{0, 0, width, height};
HBRUSH whiteBrush() { return GetSysColorBrush(COLOR_WINDOW); }
HBRUSH blackBrush() { return GetSysColorBrush(1); } // COLOR_BACKGROUND

// A memory context with a fresh width x height bitmap selected.
class GdiTest : public ::testing::Test {
protected:
  void SetUp() override {
    context = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(context, width, height);
    original = SelectObject(context, bitmap);
    ASSERT_NE(original, nullptr);
  }
  void TearDown() override {
    SelectObject(context, original);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(context));
  }
  uint32_t pixel(int x, int y) const {
    return standinBitmapPixels(bitmap, nullptr, nullptr)[y * width + x];
  }
  // Every pixel inside `area` is `inside`, every other one `outside`.
  void expectArea(const RECT &area, uint32_t inside, uint32_t outside) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        bool in = x >= area.left && x < area.right && y >= area.top &&
                  y < area.bottom;
        ASSERT_EQ(pixel(x, y), in ? inside : outside) << x << "," << y;
      }
  }
  HDC context = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ original = nullptr;
};

TEST_F(GdiTest, SelectObjectReturnsThePreviousObject) {
  HBITMAP other = CreateCompatibleBitmap(context, 2, 2);
  EXPECT_EQ(SelectObject(context, other), bitmap);
  EXPECT_EQ(SelectObject(context, bitmap), other);
  EXPECT_TRUE(DeleteObject(other));
  // Contexts take bitmaps only: the program never selects a brush.
  EXPECT_EQ(SelectObject(context, whiteBrush()), nullptr);
  EXPECT_EQ(SelectObject(context, nullptr), nullptr);
  EXPECT_EQ(SelectObject(nullptr, bitmap), nullptr);
  // A bitmap lives in one context at a time.
  HDC second = CreateCompatibleDC(context);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  EXPECT_EQ(SelectObject(context, bitmap), bitmap);
  EXPECT_TRUE(DeleteDC(second));
}

TEST_F(GdiTest, SelectedBitmapCannotBeDeleted) {
  HBITMAP doomed = CreateCompatibleBitmap(context, 3, 3);
  HDC holder = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(holder, doomed);
  EXPECT_FALSE(DeleteObject(doomed));
  EXPECT_NE(standinBitmapPixels(doomed, nullptr, nullptr), nullptr);
  SelectObject(holder, previous);
  EXPECT_TRUE(DeleteObject(doomed));
  EXPECT_FALSE(DeleteObject(doomed)); // a stale handle
  // Deleting the context sets its bitmap free as well.
  HBITMAP kept = CreateCompatibleBitmap(context, 3, 3);
  SelectObject(holder, kept);
  EXPECT_TRUE(DeleteDC(holder));
  EXPECT_TRUE(DeleteObject(kept));
  EXPECT_FALSE(DeleteDC(holder));
}

TEST_F(GdiTest, GetObjectDescribesADeviceDependentBitmap) {
  BITMAP description{};
  description.bmBits = &description;
  EXPECT_EQ(GetObjectW(bitmap, sizeof description, &description),
            static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(description.bmType, 0);
  EXPECT_EQ(description.bmWidth, width);
  EXPECT_EQ(description.bmHeight, height);
  EXPECT_EQ(description.bmWidthBytes, width * 4);
  EXPECT_EQ(description.bmPlanes, 1);
  EXPECT_EQ(description.bmBitsPixel, 32);
  EXPECT_EQ(description.bmBits, nullptr);
  EXPECT_EQ(GetObjectW(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(GetObjectW(bitmap, sizeof(BITMAP) - 1, &description), 0);
  EXPECT_EQ(GetObjectW(context, sizeof description, &description), 0);
}

TEST(GdiBitmaps, CreateCompatibleBitmapSizes) {
  struct Case {
    int width, height, madeWidth, madeHeight; // 0 x 0: none made
  };
  const Case cases[] = {{3, 2, 3, 2},
                        {0, 0, 1, 1},
                        {0, 5, 1, 1},
                        {5, 0, 1, 1},
                        {-1, 5, 0, 0},
                        {5, -1, 0, 0},
                        {1 << 20, 1 << 20, 0, 0}};
  HDC context = CreateCompatibleDC(nullptr);
  for (const Case &c : cases) {
    HBITMAP made = CreateCompatibleBitmap(context, c.width, c.height);
    int w = 0, h = 0;
    const uint32_t *pixels = standinBitmapPixels(made, &w, &h);
    EXPECT_EQ(w, c.madeWidth) << c.width << "x" << c.height;
    EXPECT_EQ(h, c.madeHeight) << c.width << "x" << c.height;
    for (int k = 0; k < w * h; ++k)
      ASSERT_EQ(pixels[k], 0u) << "new bitmaps are black";
    DeleteObject(made);
  }
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 2, 2), nullptr);
  DeleteDC(context);
}

TEST_F(GdiTest, FillRectIsClippedToTheBitmap) {
  struct Case {
    RECT rect, filled;
  };
  const Case cases[] = {
      {{1, 1, 3, 2}, {1, 1, 3, 2}},     // right and bottom excluded
      {{-5, -5, 2, 1}, {0, 0, 2, 1}},   // negative origin
      {{6, 4, 100, 100}, {6, 4, 8, 6}}, // partly outside
      {{8, 0, 12, 6}, {0, 0, 0, 0}},    // fully outside
      {{4, 4, 2, 2}, {0, 0, 0, 0}},     // inverted
      {{0, 0, width, height}, all},     // all
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.rect.left << "," << c.rect.top);
    FillRect(context, &all, blackBrush());
    EXPECT_NE(FillRect(context, &c.rect, whiteBrush()), 0);
    expectArea(c.filled, white, 0);
  }
  // A system colour index plus one stands for that colour's brush.
  FillRect(context, &all, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  expectArea(all, white, 0);
  EXPECT_EQ(FillRect(nullptr, &all, whiteBrush()), 0);
  EXPECT_EQ(FillRect(context, &all, nullptr), 0);
}

TEST_F(GdiTest, SetPixelStoresRgbAndIgnoresPointsOutside) {
  struct Case {
    int x, y;
    bool inside;
  };
  const Case cases[] = {{0, 0, true},   {7, 5, true},       {3, 2, true},
                        {-1, 0, false}, {0, -1, false},     {8, 0, false},
                        {0, 6, false},  {1 << 30, 1, false}};
  for (const Case &c : cases) {
    FillRect(context, &all, blackBrush());
    COLORREF result = SetPixel(context, c.x, c.y, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(result, c.inside ? RGB(0x11, 0x22, 0x33) : invalid)
        << c.x << "," << c.y;
    // Stored as 0x00RRGGBB.
    expectArea(c.inside ? RECT{c.x, c.y, c.x + 1, c.y + 1} : RECT{}, 0x112233,
               0);
  }
  EXPECT_EQ(SetPixel(nullptr, 0, 0, 0), invalid);
}

TEST_F(GdiTest, BitBltIsClippedAgainstBothBitmaps) {
  // The source: a white 4x3 bitmap whose top-left pixel is marked.
  HDC source = CreateCompatibleDC(context);
  HBITMAP sourceBitmap = CreateCompatibleBitmap(context, 4, 3);
  HGDIOBJ previous = SelectObject(source, sourceBitmap);
  RECT block{0, 0, 4, 3};
  FillRect(source, &block, whiteBrush());
  struct Case {
    int x, y, w, h, sx, sy;
    RECT copied; // where white lands; the marked pixel at its top left
  };
  const Case cases[] = {
      {2, 1, 4, 3, 0, 0, {2, 1, 6, 4}},   // inside
      {-2, -1, 4, 3, 0, 0, {0, 0, 2, 2}}, // negative destination
      {0, 0, 4, 3, -1, -2, {1, 2, 4, 3}}, // negative source
      {5, 4, 10, 10, 0, 0, {5, 4, 8, 6}}, // larger than the source
      {6, 4, 4, 3, 0, 0, {6, 4, 8, 6}},   // partly outside
      {8, 0, 4, 3, 0, 0, {}},             // outside the destination
      {0, 0, 4, 3, 4, 0, {}},             // outside the source
      {0, 0, 0, 3, 0, 0, {}},             // empty
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.x << "," << c.y << " from " << c.sx << "," << c.sy);
    FillRect(context, &all, blackBrush());
    // Marks the source pixel that must land on the area's top-left corner.
    SetPixel(source, c.copied.left - c.x + c.sx, c.copied.top - c.y + c.sy,
             RGB(1, 2, 3));
    EXPECT_TRUE(
        BitBlt(context, c.x, c.y, c.w, c.h, source, c.sx, c.sy, SRCCOPY));
    if (c.copied.right > c.copied.left) {
      EXPECT_EQ(pixel(c.copied.left, c.copied.top), marked);
      SetPixel(context, c.copied.left, c.copied.top, RGB(255, 255, 255));
    }
    expectArea(c.copied, white, 0);
    FillRect(source, &block, whiteBrush());
  }
  EXPECT_FALSE(BitBlt(context, 0, 0, 4, 3, source, 0, 0, 0x00EE0086));
  EXPECT_FALSE(BitBlt(context, 0, 0, 4, 3, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 4, 3, source, 0, 0, SRCCOPY));
  SelectObject(source, previous);
  DeleteObject(sourceBitmap);
  DeleteDC(source);
}

// Within one bitmap the copy behaves as if read completely before writing.
TEST_F(GdiTest, BitBltWithinOneBitmapHandlesOverlap) {
  const POINT moves[][2] = {{{0, 0}, {1, 1}}, {{1, 1}, {0, 0}},
                            {{0, 0}, {2, 0}}, {{2, 0}, {0, 0}},
                            {{0, 0}, {0, 2}}, {{0, 2}, {0, 0}}};
  for (const auto &move : moves) {
    POINT from = move[0], to = move[1];
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        SetPixel(context, x, y, RGB(x, y, 0));
    BitBlt(context, to.x, to.y, 5, 3, context, from.x, from.y, SRCCOPY);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        bool copied = x >= to.x && x < to.x + 5 && y >= to.y && y < to.y + 3;
        int sx = copied ? x - to.x + from.x : x;
        int sy = copied ? y - to.y + from.y : y;
        ASSERT_EQ(pixel(x, y), static_cast<uint32_t>(sx << 16 | sy << 8))
            << x << "," << y;
      }
  }
}

// A window's surface may lie in the display's framebuffer, whose rows can be
// longer than the window is wide (the stand-in's internals are used here to
// make such a surface: SDL's dummy driver pads no rows). Every drawing call
// must step from row to row by the stride and leave the padding alone.
TEST(GdiSurfaces, DrawingOnAFramebufferFollowsItsRowStride) {
  constexpr int w = 40, h = 30;
  constexpr size_t stride = w + 7;
  constexpr uint32_t guard = 0xABCDEF;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP plain = CreateCompatibleBitmap(memory, w, h);
  HGDIOBJ previous = SelectObject(memory, plain);
  std::vector<uint32_t> framebuffer(stride * h, guard);
  standin::Bitmap surface;
  surface.width = w;
  surface.height = h;
  surface.bits = framebuffer.data();
  surface.stride = stride;
  HDC onSurface = standin::createWindowContext(&surface, standin::unlimited);
  HDC source = CreateCompatibleDC(nullptr);
  HBITMAP pattern = CreateCompatibleBitmap(source, 5, 4);
  HGDIOBJ sourcePrevious = SelectObject(source, pattern);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      SetPixel(source, x, y, RGB(x * 40, y * 60, 9));

  // The same drawing on a plain bitmap and on the framebuffer.
  for (HDC context : {memory, onSurface}) {
    RECT wide{0, 0, w, h}, band{3, 5, 17, 9};
    FillRect(context, &wide, whiteBrush());
    FillRect(context, &band, blackBrush());
    SetPixel(context, w - 1, h - 1, RGB(1, 2, 3));
    BitBlt(context, 20, 10, 5, 4, source, 0, 0, SRCCOPY);
    BitBlt(context, 2, 6, 30, 20, context, 1, 4, SRCCOPY); // rows overlap
    TextOutW(context, 1, 12, TEXT("Ab"), 2);
  }
  const uint32_t *expected = standinBitmapPixels(plain, nullptr, nullptr);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(framebuffer[y * stride + x], expected[y * w + x])
          << x << "," << y;
    for (size_t x = w; x < stride; ++x)
      ASSERT_EQ(framebuffer[y * stride + x], guard) << x << "," << y;
  }

  EXPECT_TRUE(standin::deleteWindowContext(onSurface));
  SelectObject(source, sourcePrevious);
  DeleteObject(pattern);
  DeleteDC(source);
  SelectObject(memory, previous);
  DeleteObject(plain);
  DeleteDC(memory);
}

} // namespace
