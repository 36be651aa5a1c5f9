// Display events, pushed into SDL's queue as the user would cause them, must
// reach the window procedure as the messages Windows sends.
#include "window_fixture.h"

namespace {

// Virtual-key codes the program does not name itself.
constexpr UINT VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
               VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B,
               VK_SPACE = 0x20, VK_LEFT = 0x25, VK_DOWN = 0x28, VK_ADD = 0x6B,
               VK_SUBTRACT = 0x6D, VK_F1 = 0x70, VK_NONAME = 0xFC;

class InputTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    window = createWindow(320, 240);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    dispatchNext(WM_PAINT, window); // the first paint
  }
  HWND window = nullptr;
};

TEST_F(InputTest, EveryKeyArrivesAsWmKeydownWithItsVirtualKey) {
  struct Case {
    SDL_Keycode key;
    SDL_Scancode position;
    UINT virtualKey;
  };
  const Case cases[] = {
      {SDLK_q, SDL_SCANCODE_Q, 'Q'},
      {SDLK_x, SDL_SCANCODE_X, 'X'},
      {SDLK_0, SDL_SCANCODE_0, '0'},
      {SDLK_7, SDL_SCANCODE_7, '7'},
      {SDLK_MINUS, SDL_SCANCODE_MINUS, VK_OEM_MINUS},
      {SDLK_EQUALS, SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
      {SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET, VK_OEM_PLUS}, // German layout
      {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
      {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, VK_ADD},
      {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE},
      {SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN},
      {SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
      {SDLK_TAB, SDL_SCANCODE_TAB, VK_TAB},
      {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
      {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},
      {SDLK_DOWN, SDL_SCANCODE_DOWN, VK_DOWN},
      {SDLK_F1, SDL_SCANCODE_F1, VK_F1},
      {SDLK_F12, SDL_SCANCODE_F12, VK_F1 + 11},
      {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, VK_SHIFT},
      {SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL},
      {SDLK_LALT, SDL_SCANCODE_LALT, VK_MENU},
      // A layout without Latin letters (Hangul jamo): the key's place decides.
      {0x3142, SDL_SCANCODE_Q, 'Q'},
      // Keys Windows has no name for still arrive.
      {SDLK_KBDILLUMUP, SDL_SCANCODE_KBDILLUMUP, VK_NONAME},
  };
  for (const Case &c : cases)
    pushKey(window, c.key, c.position);
  for (const Case &c : cases) {
    MSG msg = expectNext(WM_KEYDOWN, window);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(c.virtualKey))
        << SDL_GetKeyName(c.key);
    EXPECT_TRUE(TranslateMessage(&msg));
  }
}

TEST_F(InputTest, AutoRepeatArrivesAsMoreKeyDownsMarkedAsRepeats) {
  pushKey(window, SDLK_MINUS, SDL_SCANCODE_MINUS);
  pushKey(window, SDLK_MINUS, SDL_SCANCODE_MINUS, true);
  MSG first = expectNext(WM_KEYDOWN, window);
  MSG second = expectNext(WM_KEYDOWN, window);
  EXPECT_EQ(first.lParam & (1 << 30), 0);  // previous key state: up
  EXPECT_NE(second.lParam & (1 << 30), 0); // down: a repeat
  EXPECT_EQ(LOWORD(second.lParam), 1);     // repeat count
}

TEST_F(InputTest, KeysWithoutAWindowGoToTheActiveOne) {
  createWindow(100, 100);                   // created, never shown
  pushKey(nullptr, SDLK_i, SDL_SCANCODE_I); // no keyboard focus known
  expectNext(WM_KEYDOWN, window);
}

TEST_F(InputTest, LeftAndRightClicksCarryTheirPosition) {
  pushButton(window, SDL_BUTTON_MIDDLE, 1, 1); // no message for this one
  pushButton(window, SDL_BUTTON_LEFT, 12, 34);
  pushButton(window, SDL_BUTTON_RIGHT, 319, 239);
  MSG left = expectNext(WM_LBUTTONDOWN, window);
  EXPECT_EQ(left.wParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(left.lParam, MAKELPARAM(12, 34));
  MSG right = expectNext(WM_RBUTTONDOWN, window);
  EXPECT_EQ(right.wParam, static_cast<WPARAM>(MK_RBUTTON));
  EXPECT_EQ(right.lParam, MAKELPARAM(319, 239));
}

TEST_F(InputTest, MinimisingEmptiesTheClientAreaUntilRestored) {
  struct Case {
    SDL_WindowEventID event;
    WPARAM sizeType;
    int width, height;
  };
  const Case cases[] = {{SDL_WINDOWEVENT_MINIMIZED, SIZE_MINIMIZED, 0, 0},
                        {SDL_WINDOWEVENT_RESTORED, SIZE_RESTORED, 320, 240}};
  for (const Case &c : cases) {
    pushWindowEvent(window, c.event);
    MSG msg = expectNext(WM_SIZE, window);
    EXPECT_EQ(msg.wParam, c.sizeType);
    EXPECT_EQ(msg.lParam, MAKELPARAM(c.width, c.height));
    RECT rect;
    GetClientRect(window, &rect);
    EXPECT_EQ(rect.right, c.width);
    EXPECT_EQ(rect.bottom, c.height);
  }
  expectNext(WM_PAINT, window); // restored, it is painted again
}

TEST_F(InputTest, ExposureRepaints) {
  pushWindowEvent(window, SDL_WINDOWEVENT_EXPOSED);
  expectNext(WM_PAINT, window);
}

TEST_F(InputTest, CloseButtonSendsWmCloseWhichEndsTheWindow) {
  pushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
  dispatchNext(WM_CLOSE, window);
  EXPECT_EQ(countOf(WM_DESTROY), 1);
  RECT rect;
  EXPECT_FALSE(GetClientRect(window, &rect));
}

TEST_F(InputTest, InterruptAsksEveryWindowToClose) {
  HWND other = createWindow(100, 100);
  SDL_Event event{};
  event.type = SDL_QUIT; // what SDL makes of SIGINT and SIGTERM
  SDL_PushEvent(&event);
  MSG first = nextMessage(), second = nextMessage();
  EXPECT_EQ(first.message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(second.message, static_cast<UINT>(WM_CLOSE));
  EXPECT_TRUE(first.hwnd == other
                  ? second.hwnd == window
                  : first.hwnd == window && second.hwnd == other);
}

} // namespace
