// The plot drawn into a memory bitmap: one pixel per column at the row
// value * H / n.
#include <gtest/gtest.h>

#include <numeric>

#include "app/program_state.h"
#include "render/frame.h"
#include "support/test_support.h"
#include "support/window_harness.h"

namespace {

// Plots the shared array into a fresh white W x H bitmap.
Pixels plot(int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(memory, &all, GetSysColorBrush(COLOR_WINDOW));
  plotValues(memory, width, height);
  SelectObject(memory, previous);
  DeleteDC(memory);
  Pixels result = readBitmap(bitmap);
  DeleteObject(bitmap);
  return result;
}

// Row of the single black pixel in column x, or -1 when there is none.
int blackRow(const Pixels &pixels, int x) {
  int found = -1;
  for (int y = 0; y < pixels.height; ++y) {
    if (pixels.at(x, y) == black) {
      if (found >= 0)
        return -2;
      found = y;
    } else if (pixels.at(x, y) != white) {
      return -3;
    }
  }
  return found;
}

std::vector<uint32_t> ascending(uint32_t n) {
  std::vector<uint32_t> v(n);
  std::iota(v.begin(), v.end(), 0u);
  return v;
}

class Plot : public ::testing::Test {
protected:
  void TearDown() override { resetProgramState(); }
};

TEST_F(Plot, FewerValuesThanColumnsShowElementZeroEverywhere) {
  setSharedArray({7, 1, 2, 3, 4, 5, 6, 0, 8, 9});
  Pixels pixels = plot(200, 100);
  for (int x = 0; x < 200; ++x)
    ASSERT_EQ(blackRow(pixels, x), 70) << x;
}

TEST_F(Plot, ThirtyThousandValuesOnAThousandColumnsSampleEveryThirtieth) {
  std::vector<uint32_t> v = shuffledPermutation(30000, 5);
  setSharedArray(v);
  Pixels pixels = plot(1000, 600);
  for (int x = 0; x < 1000; ++x)
    ASSERT_EQ(blackRow(pixels, x), int(uint64_t(v[30 * x]) * 600 / 30000)) << x;
}

TEST_F(Plot, AnAscendingArrayIsAFallingDiagonal) {
  setSharedArray(ascending(30000));
  Pixels pixels = plot(1000, 1000);
  for (int x = 0; x < 1000; ++x)
    ASSERT_EQ(blackRow(pixels, x), x) << x;
}

TEST_F(Plot, LargeArraysDoNotWrapTheRow) {
  // 5 million values on 1000 rows: value * H passes 2^32.
  setSharedArray(ascending(5000000));
  Pixels pixels = plot(1000, 1000);
  for (int x = 0; x < 1000; ++x)
    ASSERT_EQ(blackRow(pixels, x), x) << x;
}

TEST_F(Plot, NothingToDivideByDrawsNothing) {
  setSharedArray({});
  Pixels empty = plot(50, 50);
  for (int x = 0; x < 50; ++x)
    EXPECT_EQ(blackRow(empty, x), -1);
  setSharedArray({1, 2, 3});
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  plotValues(memory, 0, 100); // a minimised window
  plotValues(memory, 100, 0);
  DeleteDC(memory);
}

TEST_F(Plot, ValuesAboveTheSizeStayOffThePlot) {
  // Left by a distribution-counting run (class 100 writes n) or anything
  // larger: no pixel, and certainly not a wrapped one.
  setSharedArray({4, 0xFFFFFFFFu, 0x80000000u, 3});
  Pixels pixels = plot(4, 40);
  EXPECT_EQ(blackRow(pixels, 0), -1);
  EXPECT_EQ(blackRow(pixels, 1), -1);
  EXPECT_EQ(blackRow(pixels, 2), -1);
  EXPECT_EQ(blackRow(pixels, 3), 30);
}

} // namespace
