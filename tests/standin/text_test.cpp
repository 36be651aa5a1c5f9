// TextOutW with the default font: black glyphs on an opaque white cell whose
// top-left corner is the reference point, Hangul included, clipped to the
// bitmap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/standin_hooks.h"
#include "platform/win32.h"

namespace {

constexpr uint32_t white = 0xFFFFFF, black = 0, blue = 0x0078D7;

// A bitmap in a memory context, filled with a colour text never uses.
struct Canvas {
  Canvas(int w, int h) : width(w), height(h) {
    context = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(context, w, h);
    original = SelectObject(context, bitmap);
    clear();
  }
  ~Canvas() {
    SelectObject(context, original);
    DeleteObject(bitmap);
    DeleteDC(context);
  }
  void clear() {
    RECT all{0, 0, width, height};
    FillRect(context, &all, GetSysColorBrush(13)); // COLOR_HIGHLIGHT: blue
  }
  uint32_t at(int x, int y) const {
    return standinBitmapPixels(bitmap, nullptr, nullptr)[y * width + x];
  }
  BOOL text(int x, int y, const std::u16string &line) {
    return TextOutW(context, x, y, line.c_str(), static_cast<int>(line.size()));
  }
  std::vector<uint32_t> pixels() const {
    const uint32_t *p = standinBitmapPixels(bitmap, nullptr, nullptr);
    return std::vector<uint32_t>(p, p + width * height);
  }
  // Bounding box of everything drawn.
  RECT drawn() const {
    RECT box{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (at(x, y) != blue) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }
  int count(uint32_t colour) const {
    int n = 0;
    for (uint32_t p : pixels())
      n += p == colour;
    return n;
  }
  int width, height;
  HDC context;
  HBITMAP bitmap;
  HGDIOBJ original;
};

const std::u16string latin = u"Taverell";
const std::u16string korean = u"거품 정렬";

TEST(TextOut, DrawsBlackGlyphsOnAnOpaqueWhiteCell) {
  struct Case {
    const char *name;
    std::u16string line;
  };
  const Case cases[] = {{"Latin", latin},
                        {"Hangul", korean},
                        {"status line", u"정렬 중... 30000항목"}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(300, 40);
    EXPECT_TRUE(canvas.text(10, 7, c.line));
    RECT cell = canvas.drawn();
    EXPECT_EQ(cell.left, 10);
    EXPECT_EQ(cell.top, 7);
    // About the 16-pixel line of Windows' default font.
    EXPECT_GE(cell.bottom - cell.top, 13);
    EXPECT_LE(cell.bottom - cell.top, 17);
    EXPECT_GE(cell.right - cell.left, 4 * static_cast<LONG>(c.line.size()));
    int ink = 0;
    for (LONG y = cell.top; y < cell.bottom; ++y)
      for (LONG x = cell.left; x < cell.right; ++x) {
        uint32_t p = canvas.at(x, y);
        ASSERT_TRUE(p == white || p == black) << x << "," << y;
        ink += p == black;
      }
    // Real glyphs, not a few dots: several pixels per character.
    EXPECT_GE(ink, 5 * static_cast<int>(c.line.size()));
  }
}

TEST(TextOut, HangulSyllablesAreDrawnAsDistinctGlyphs) {
  Canvas first(60, 20), second(60, 20);
  first.text(0, 0, u"거");
  second.text(0, 0, u"품");
  EXPECT_GE(first.count(black), 10);
  EXPECT_GE(second.count(black), 10);
  EXPECT_NE(first.pixels(), second.pixels());
}

TEST(TextOut, RepeatedLineIsDrawnIdentically) {
  Canvas first(300, 20), second(300, 20);
  const std::u16string line = u"-> q: 퀵 정렬 (Quick) 0123456789";
  first.text(3, 2, line);
  second.text(3, 2, line); // from the glyph cache
  EXPECT_EQ(first.pixels(), second.pixels());
}

TEST(TextOut, CellWidthIsTheSumOfTheAdvances) {
  Canvas whole(300, 20), parts(300, 20);
  whole.text(0, 0, latin + korean);
  parts.text(0, 0, latin);
  parts.text(parts.drawn().right, 0, korean);
  EXPECT_EQ(whole.pixels(), parts.pixels());
}

TEST(TextOut, IsClippedToTheBitmap) {
  Canvas reference(200, 40);
  reference.text(20, 10, korean + latin);
  struct Case {
    int x, y;
  };
  // Each position puts the line partly (or wholly) outside a bitmap whose
  // pixels must match the unclipped reference shifted accordingly.
  const Case cases[] = {{-7, -3}, {-30, 5},  {150, 30},
                        {5, -20}, {-500, 0}, {0, 100}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    Canvas clipped(160, 35);
    EXPECT_TRUE(clipped.text(c.x, c.y, korean + latin));
    for (int y = 0; y < clipped.height; ++y)
      for (int x = 0; x < clipped.width; ++x) {
        int rx = x - c.x + 20, ry = y - c.y + 10;
        uint32_t expected =
            rx >= 0 && rx < reference.width && ry >= 0 && ry < reference.height
                ? reference.at(rx, ry)
                : blue;
        ASSERT_EQ(clipped.at(x, y), expected) << x << "," << y;
      }
  }
}

TEST(TextOut, SurrogatePairIsOneBox) {
  Canvas pair(100, 20), single(100, 20);
  pair.text(0, 0, u"\U0001F600"); // one character, two code units
  single.text(0, 0, u"\xD800");   // a lone surrogate: also a box
  EXPECT_EQ(pair.pixels(), single.pixels());
  EXPECT_GT(pair.count(black), 0);
}

TEST(TextOut, RejectsBadArgumentsAndDrawsNothingForNoText) {
  Canvas canvas(50, 20);
  EXPECT_FALSE(TextOutW(nullptr, 0, 0, u"x", 1));
  EXPECT_FALSE(TextOutW(canvas.context, 0, 0, u"x", -1));
  EXPECT_FALSE(TextOutW(canvas.context, 0, 0, nullptr, 3));
  EXPECT_TRUE(TextOutW(canvas.context, 0, 0, u"x", 0));
  EXPECT_EQ(canvas.count(blue), 50 * 20);
}

// Run by its own test (TextOut.WithoutAnyFont) with a fontconfig
// configuration that names no font; skipped where fonts are found.
TEST(TextOutWithoutFonts, StillFillsTheCellWithBoxes) {
  const char *configuration = std::getenv("FONTCONFIG_FILE");
  if (!configuration || !std::strstr(configuration, "no_fonts.conf"))
    GTEST_SKIP() << "needs FONTCONFIG_FILE=tests/standin/no_fonts.conf";
  Canvas canvas(200, 30);
  EXPECT_TRUE(canvas.text(4, 3, latin));
  RECT cell = canvas.drawn();
  EXPECT_EQ(cell.left, 4);
  EXPECT_EQ(cell.top, 3);
  EXPECT_GT(cell.right - cell.left, static_cast<LONG>(latin.size()));
  EXPECT_GT(canvas.count(black), 0);
  EXPECT_GT(canvas.count(white), 0);
}

} // namespace
