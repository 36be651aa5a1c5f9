// Windows, the message queue, timers and painting of the stand-in, checked
// against what USER32 documents and does. Timers run on the clock the test
// drives: every due time is checked exactly.
#include <algorithm>
#include <cstring>

#include "window_fixture.h"

namespace {

constexpr LONGLONG millisecond = 1000000; // on the clock, in nanoseconds
constexpr LONGLONG start = 1000 * millisecond;

struct Size {
  int cx, cy;
};

RECT clientRect(HWND window) {
  RECT rect{-1, -1, -1, -1};
  GetClientRect(window, &rect);
  return rect;
}

// Where the next WM_TIMER for `window` falls, on the driven clock.
LONGLONG nextTimerAt(HWND window, UINT_PTR id) {
  MSG msg = WindowTest::expectNext(WM_TIMER, window);
  EXPECT_EQ(msg.wParam, id);
  return LONGLONG(GetTickCount()) * millisecond;
}

TEST_F(WindowTest, ClassesAreFoundByTheirName) {
  WNDCLASSW duplicate{};
  duplicate.lpfnWndProc = procedure;
  duplicate.lpszClassName = className;
  EXPECT_EQ(RegisterClassW(&duplicate), 0);
  EXPECT_EQ(CreateWindowExW(0, TEXT("NoSuchClass"), TEXT(""),
                            WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                            nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(WindowTest, CreationSendsWmCreateWithTheFinalClientSize) {
  bool returned = false;
  RECT duringCreate{};
  handler = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT *) {
    if (message == WM_CREATE) {
      EXPECT_FALSE(returned);
      duringCreate = clientRect(window);
    }
    return false;
  };
  HWND window = createWindow();
  returned = true;
  ASSERT_NE(window, nullptr);
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received.front().message, static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(countOf(WM_SIZE), 0); // not before ShowWindow
  RECT after = clientRect(window);
  EXPECT_EQ(duringCreate.right, after.right);
  EXPECT_EQ(duringCreate.bottom, after.bottom);
  const char *driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "dummy") == 0) {
    EXPECT_EQ(after.right, 1024);
    EXPECT_EQ(after.bottom, 768);
  }
  handler = nullptr;
  RECT explicitSize = clientRect(createWindow(640, 480));
  EXPECT_EQ(explicitSize.right, 640);
  EXPECT_EQ(explicitSize.bottom, 480);
}

TEST_F(WindowTest, WmCreateAnsweringMinusOneFailsTheCreation) {
  handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT *result) {
    *result = -1;
    return message == WM_CREATE;
  };
  EXPECT_EQ(createWindow(), nullptr);
  EXPECT_EQ(countOf(WM_CREATE), 1);
}

TEST_F(WindowTest, FirstShowWindowSendsWmSizeBeforeReturning) {
  HWND window = createWindow(800, 600);
  received.clear();
  EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(received[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
  EXPECT_EQ(received[0].lParam, MAKELPARAM(800, 600));
  EXPECT_TRUE(ShowWindow(window, SW_SHOW));
  EXPECT_EQ(countOf(WM_SIZE), 1);
  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(ShowWindow(window, SW_HIDE));
}

// A destroyed window takes its timers and queued messages along.
TEST_F(WindowTest, DefWindowProcTurnsWmCloseIntoDestruction) {
  HWND window = createWindow(100, 100);
  ShowWindow(window, SW_SHOW); // active: the keys go to it
  ASSERT_NE(SetTimer(window, 1, 10, nullptr), 0u);
  pushKey(nullptr, SDLK_a, SDL_SCANCODE_A);
  pushKey(nullptr, SDLK_b, SDL_SCANCODE_B);
  expectNext(WM_KEYDOWN, window); // 'B' waits in the queue
  DefWindowProcW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(countOf(WM_DESTROY), 1);
  RECT rect;
  EXPECT_FALSE(GetClientRect(window, &rect));
  EXPECT_EQ(standinTimerCount(window), 0);
  EXPECT_FALSE(DestroyWindow(window));
  PostQuitMessage(3);
  expectNext(WM_QUIT, nullptr);
}

// Posted messages, then input, then WM_QUIT, then WM_PAINT, then WM_TIMER,
// whatever order they became pending in.
TEST_F(WindowTest, MessagesComeInWindowsOrder) {
  standinDriveClock(start);
  HWND window = createWindow(320, 240);
  ASSERT_NE(SetTimer(window, 5, 10, nullptr), 0u);
  ShowWindow(window, SW_SHOW); // the whole window becomes invalid
  standinAdvanceClock(30 * millisecond);
  PostQuitMessage(7);
  pushKey(nullptr, SDLK_q, SDL_SCANCODE_Q);
  pushWindowEvent(window, SDL_WINDOWEVENT_CLOSE); // posts WM_CLOSE

  expectNext(WM_CLOSE, window);
  EXPECT_EQ(expectNext(WM_KEYDOWN, window).wParam, static_cast<WPARAM>('Q'));
  MSG msg{};
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  dispatchNext(WM_PAINT, window); // DefWindowProcW validates
  EXPECT_EQ(expectNext(WM_TIMER, window).wParam, 5u);
  // The program asks for all messages of the thread; nothing else is kept.
  EXPECT_EQ(GetMessageW(&msg, window, 0, 0), -1);
  EXPECT_EQ(GetMessageW(&msg, nullptr, WM_TIMER, WM_TIMER), -1);
}

// A timer's messages fall exactly on its period, the first one period after
// it was set; below Windows' 10 ms minimum the minimum holds.
TEST_F(WindowTest, TimerMessagesFallOnThePeriod) {
  HWND window = createWindow(100, 100);
  for (UINT elapse : {10u, 1u, 25u}) {
    standinDriveClock(start);
    SetTimer(window, 2, elapse, nullptr);
    LONGLONG period = std::max(elapse, 10u) * millisecond;
    EXPECT_EQ(nextTimerAt(window, 2), start + period) << elapse;
    EXPECT_EQ(nextTimerAt(window, 2), start + 2 * period) << elapse;
    EXPECT_TRUE(KillTimer(window, 2));
  }
}

// Fifteen periods missed make one message at once, then the next comes on
// the next period boundary: no backlog.
TEST_F(WindowTest, LateTimerDeliversOneMessageNotABacklog) {
  standinDriveClock(start);
  HWND window = createWindow(100, 100);
  SetTimer(window, 4, 10, nullptr);
  standinAdvanceClock(155 * millisecond);
  EXPECT_EQ(nextTimerAt(window, 4), start + 155 * millisecond);
  EXPECT_EQ(nextTimerAt(window, 4), start + 160 * millisecond);
}

// Setting a timer again restarts it with the new period.
TEST_F(WindowTest, SettingATimerAgainRestartsIt) {
  standinDriveClock(start);
  HWND window = createWindow(100, 100);
  SetTimer(window, 9, 10, nullptr);
  standinAdvanceClock(7 * millisecond);
  EXPECT_NE(SetTimer(window, 9, 50, nullptr), 0u);
  EXPECT_EQ(standinTimerCount(window), 1);
  EXPECT_EQ(nextTimerAt(window, 9), start + 57 * millisecond);
}

TEST_F(WindowTest, TimerIdentifiers) {
  HWND window = createWindow(100, 100);
  EXPECT_NE(SetTimer(window, 0, 10, nullptr), 0u); // 0 is an identifier too
  EXPECT_NE(SetTimer(window, 9, 10, nullptr), 0u);
  EXPECT_EQ(standinTimerCount(window), 2);
  EXPECT_TRUE(KillTimer(window, 0));
  EXPECT_FALSE(KillTimer(window, 0));
  EXPECT_FALSE(KillTimer(window, 77));
  EXPECT_EQ(standinTimerCount(window), 1);
  // Only window timers without a TIMERPROC, as the program sets them.
  EXPECT_EQ(SetTimer(nullptr, 1, 10, nullptr), 0u);
  auto procedure = [](HWND, UINT, UINT_PTR, DWORD) {};
  EXPECT_EQ(SetTimer(window, 3, 10, procedure), 0u);
  DestroyWindow(window);
  EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
}

TEST_F(WindowTest, ResizeSendsWmSizeAndResizesTheClientArea) {
  HWND window = createWindow(640, 480);
  ShowWindow(window, SW_SHOW);
  dispatchNext(WM_PAINT, window);
  received.clear();
  standinResizeWindow(window, 300, 200);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(received[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
  EXPECT_EQ(received[0].lParam, MAKELPARAM(300, 200));
  RECT rect = clientRect(window);
  EXPECT_EQ(rect.right, 300);
  EXPECT_EQ(rect.bottom, 200);
  // The class redraws on resize: the next paint shows the new size, erased
  // to the class background.
  dispatchNext(WM_PAINT, window);
  int width = 0, height = 0;
  const uint32_t *pixels = standinWindowPixels(window, &width, &height);
  ASSERT_EQ(width, 300);
  ASSERT_EQ(height, 200);
  EXPECT_EQ(pixels[0], 0xFFFFFFu);
  EXPECT_EQ(pixels[300 * 200 - 1], 0xFFFFFFu);
}

TEST_F(WindowTest, ResizeThroughAZeroWidthClientArea) {
  HWND window = createWindow(640, 480);
  ShowWindow(window, SW_SHOW);
  dispatchNext(WM_PAINT, window);
  // An empty client area has nothing to paint; the way back keeps nothing.
  standinResizeWindow(window, 0, 200);
  EXPECT_EQ(clientRect(window).right, 0);
  standinResizeWindow(window, 300, 200);
  dispatchNext(WM_PAINT, window);
  int width = 0, height = 0;
  const uint32_t *pixels = standinWindowPixels(window, &width, &height);
  ASSERT_EQ(width, 300);
  ASSERT_EQ(height, 200);
  EXPECT_EQ(pixels[300 * 200 - 1], 0xFFFFFFu);
}

TEST_F(WindowTest, PaintPresentsWhatWasCopiedToThePaintContext) {
  constexpr int width = 64, height = 48;
  HWND window = createWindow(width, height);
  HDC windowContext = GetDC(window);
  HDC memory = CreateCompatibleDC(windowContext);
  HBITMAP picture = CreateCompatibleBitmap(windowContext, width, height);
  ReleaseDC(window, windowContext);
  HGDIOBJ previous = SelectObject(memory, picture);
  for (int x = 0; x < width; ++x)
    SetPixel(memory, x, (x * 7) % height, RGB(x, 255 - x, 3));
  handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT *) {
    if (message != WM_PAINT)
      return false;
    PAINTSTRUCT paint;
    HDC context = BeginPaint(hwnd, &paint);
    BitBlt(context, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    EndPaint(hwnd, &paint);
    return true;
  };
  ShowWindow(window, SW_SHOW);
  dispatchNext(WM_PAINT, window);
  int shownWidth = 0, shownHeight = 0;
  const uint32_t *shown =
      standinWindowPixels(window, &shownWidth, &shownHeight);
  ASSERT_EQ(shownWidth, width);
  ASSERT_EQ(shownHeight, height);
  EXPECT_EQ(std::memcmp(shown, standinBitmapPixels(picture, nullptr, nullptr),
                        width * height * 4),
            0);
  EXPECT_EQ(shown[7 * width + 1], 0x01FE03u);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(picture);
}

TEST_F(WindowTest, BeginPaintLimitsDrawingToTheUpdateRectangle) {
  HWND window = createWindow(40, 30);
  ShowWindow(window, SW_SHOW);
  dispatchNext(WM_PAINT, window); // erased to white
  RECT invalid{10, 10, 20, 15}, painted{};
  InvalidateRect(window, &invalid, FALSE);
  handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT *) {
    if (message != WM_PAINT)
      return false;
    PAINTSTRUCT paint;
    HDC context = BeginPaint(hwnd, &paint);
    painted = paint.rcPaint;
    RECT all{0, 0, 40, 30};
    FillRect(context, &all, GetSysColorBrush(8)); // COLOR_WINDOWTEXT: black
    EndPaint(hwnd, &paint);
    return true;
  };
  dispatchNext(WM_PAINT, window);
  EXPECT_TRUE(std::memcmp(&painted, &invalid, sizeof(RECT)) == 0);
  const uint32_t *pixels = standinWindowPixels(window, nullptr, nullptr);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      bool inside = x >= 10 && x < 20 && y >= 10 && y < 15;
      ASSERT_EQ(pixels[y * 40 + x], inside ? 0u : 0xFFFFFFu) << x << "," << y;
    }
}

TEST_F(WindowTest, DrawingThroughGetDcShowsOnRelease) {
  HWND window = createWindow(20, 10);
  HDC context = GetDC(window);
  SetPixel(context, 3, 4, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(ReleaseDC(window, context), 1);
  int width = 0;
  const uint32_t *pixels = standinWindowPixels(window, &width, nullptr);
  ASSERT_EQ(width, 20);
  EXPECT_EQ(pixels[4 * 20 + 3], 0x123456u);
  EXPECT_EQ(ReleaseDC(window, context), 0); // already released
}

// The window's surface may be SDL's framebuffer, which SDL frees and re-makes
// after a size change: a context got before must draw on the new one.
TEST_F(WindowTest, ContextKeptAcrossAResizeDrawsOnTheNewSurface) {
  HWND window = createWindow(64, 48);
  ShowWindow(window, SW_SHOW);
  dispatchNext(WM_PAINT, window);
  HDC context = GetDC(window);
  for (Size size : {Size{100, 30}, Size{0, 0}, Size{20, 70}}) {
    standinResizeWindow(window, size.cx, size.cy);
    SetPixel(context, 5, 6, RGB(0x12, 0x34, 0x56));
    RECT line{0, 9, 200, 10};
    FillRect(context, &line, GetSysColorBrush(8)); // COLOR_WINDOWTEXT: black
  }
  EXPECT_EQ(ReleaseDC(window, context), 1);
  int width = 0, height = 0;
  const uint32_t *pixels = standinWindowPixels(window, &width, &height);
  ASSERT_EQ(width, 20);
  ASSERT_EQ(height, 70);
  EXPECT_EQ(pixels[6 * 20 + 5], 0x123456u);
  for (int x = 0; x < 20; ++x)
    ASSERT_EQ(pixels[9 * 20 + x], 0u) << x;
}

// A size change the stand-in did not make (the user's, on X11): SDL drops
// its framebuffer at once but the event is read later. What is drawn in
// between still shows, and the window then follows the new size.
TEST_F(WindowTest, SizeChangedBySdlBehindTheWindowsBack) {
  HWND window = createWindow(64, 48);
  ShowWindow(window, SW_SHOW);
  dispatchNext(WM_PAINT, window);
  SDL_Window *display = SDL_GetWindowFromID(standinDisplayWindowId(window));
  ASSERT_NE(display, nullptr);
  for (Size size : {Size{32, 40}, Size{90, 20}}) {
    SCOPED_TRACE(size.cx);
    SDL_SetWindowSize(display, size.cx, size.cy);
    HDC context = GetDC(window);
    SetPixel(context, 3, 4, RGB(0x12, 0x34, 0x56));
    ReleaseDC(window, context);
    const uint32_t *pixels = standinWindowPixels(window, nullptr, nullptr);
    EXPECT_EQ(pixels[4 * 64 + 3], 0x123456u);
    MSG msg = expectNext(WM_SIZE, window);
    EXPECT_EQ(msg.lParam, MAKELPARAM(size.cx, size.cy));
    // Repainted (erased to white) at the new size, back to the old one.
    dispatchNext(WM_PAINT, window);
    int width = 0, height = 0;
    pixels = standinWindowPixels(window, &width, &height);
    ASSERT_EQ(width, size.cx);
    ASSERT_EQ(height, size.cy);
    EXPECT_EQ(pixels[4 * size.cx + 3], 0xFFFFFFu);
    EXPECT_EQ(pixels[size.cx * size.cy - 1], 0xFFFFFFu);
    standinResizeWindow(window, 64, 48);
    dispatchNext(WM_PAINT, window);
  }
}

} // namespace
