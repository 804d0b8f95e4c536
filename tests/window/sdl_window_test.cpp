// The real SDL window under a virtual X server (run through xvfb-run): a
// known frame is shown and read back from the X server, a key pressed
// through the X test extension reaches the key table and the window
// procedure, the close box closes the program, and the title reads right
// in both X title properties.
#include <gtest/gtest.h>

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "base/close_request.h"
#include "base/input_state.h"
#include "base/requests.h"
#include "platform/frame_mailbox.h"
#include "platform/keyboard.h"
#include "platform/main_thread.h"
#include "platform/sdl_window.h"
#include "shell/main_window.h"
#include "support/utf8.h"

using namespace std::chrono_literals;
using namespace platform;

namespace {

class WindowServices : public cMainWindowServices {
 public:
  explicit WindowServices(SdlWindow& window) : m_Window(window) {}
  void RepaintWindow() override { m_Window.PresentNewest(true); }
  void HideWindow() override { m_Window.Hide(); }

 private:
  SdlWindow& m_Window;
};

class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    m_pDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(m_pDisplay, nullptr) << "no X server: run under xvfb-run";
    ClaimMainThread();
    std::string error;
    ASSERT_TRUE(m_Window.Open({"test window", false}, error)) << error;
    g_MainWindow.SetServices(&m_Services);
    g_MainWindow.Create();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(m_Window.Native(), &info));
    m_XWindow = info.info.x11.window;
  }
  void TearDown() override {
    if (IsWindow(g_hWnd.load())) DestroyWindowHandle(g_hWnd.exchange(nullptr));
    g_MainWindow.SetServices(nullptr);
    m_Window.Close();
    ReleaseMainThread();
    ReleaseAllKeys();
    if (m_pDisplay) XCloseDisplay(m_pDisplay);
  }

  // Serves the window's events until done() or two seconds have passed.
  bool PumpUntil(const std::function<bool()>& done) {
    for (int turn = 0; turn < 200; ++turn) {
      if (done()) return true;
      m_Window.WaitAndDeliver(g_hWnd.load(), 10ms);
      RunMainThreadTasks();
    }
    return done();
  }

  std::vector<std::uint32_t> ReadWindowPixels() {
    XSync(m_pDisplay, False);
    XImage* image = XGetImage(m_pDisplay, m_XWindow, 0, 0, 640, 480, AllPlanes, ZPixmap);
    std::vector<std::uint32_t> pixels;
    if (!image) return pixels;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) pixels.push_back(0xFF000000u | (XGetPixel(image, x, y) & 0xFFFFFF));
    }
    XDestroyImage(image);
    return pixels;
  }

  SdlWindow m_Window;
  WindowServices m_Services{m_Window};
  Display* m_pDisplay = nullptr;
  ::Window m_XWindow = 0;
};

std::vector<std::uint32_t> TestPattern() {
  std::vector<std::uint32_t> pixels(640 * 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const std::uint32_t r = x & 0xFF, g = y & 0xFF, b = ((x / 32 + y / 32) & 1) ? 0xC0 : 0x20;
      pixels[y * 640 + x] = 0xFF000000u | r << 16 | g << 8 | b;
    }
  }
  return pixels;
}

TEST_F(SdlWindowTest, ShowsAFrameTakesAKeyAndClosesWithTheCloseBox) {
  const auto pattern = TestPattern();
  m_Window.SetFrameSource([&](std::uint64_t shown, PresentedFrame& frame) {
    if (shown >= 1) return false;
    frame = {640, 480, pattern, 1};
    return true;
  });
  ASSERT_TRUE(m_Window.PresentNewest());
  std::vector<std::uint32_t> shown;
  EXPECT_TRUE(PumpUntil([&] { return (shown = ReadWindowPixels()) == pattern; }))
      << "the window does not show the frame";

  XSetInputFocus(m_pDisplay, m_XWindow, RevertToPointerRoot, CurrentTime);
  XSync(m_pDisplay, False);
  ASSERT_TRUE(PumpUntil([] { return g_bActive.load() == 1; })) << "no focus";
  XTestFakeKeyEvent(m_pDisplay, XKeysymToKeycode(m_pDisplay, XK_z), True, 0);
  XFlush(m_pDisplay);
  EXPECT_TRUE(PumpUntil([] { return (GetAsyncKeyState('Z') & 0x8000) != 0; }));
  cInputState input;
  input.SetJoyButtonMasks();
  input.Poll(0, 3, 60);
  EXPECT_EQ(input.wButton, 1) << "Z is button 1";
  XTestFakeKeyEvent(m_pDisplay, XKeysymToKeycode(m_pDisplay, XK_z), False, 0);
  XFlush(m_pDisplay);
  EXPECT_TRUE(PumpUntil([] { return GetAsyncKeyState('Z') == 0; }));

  // The close box: the window manager's delete request.
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = m_XWindow;
  close.xclient.message_type = XInternAtom(m_pDisplay, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(m_pDisplay, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(m_pDisplay, m_XWindow, False, NoEventMask, &close);
  XFlush(m_pDisplay);
  EXPECT_TRUE(PumpUntil([] { return !IsWindow(g_hWnd.load()); })) << "the close box did not close";
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
}

// The program's source: frames the game thread posts to the frame mailbox.
TEST_F(SdlWindowTest, TheMailboxIsAFrameSource) {
  TheFrameMailbox().Clear();
  m_Window.SetFrameSource(FramesOf(TheFrameMailbox()));
  const auto pattern = TestPattern();
  std::thread game([&] { TheFrameMailbox().Post(640, 480, pattern); });
  game.join();
  ASSERT_TRUE(m_Window.PresentNewest());
  EXPECT_FALSE(m_Window.PresentNewest()) << "nothing newer";
  EXPECT_TRUE(PumpUntil([&] { return ReadWindowPixels() == pattern; })) << "the posted frame is not shown";
  TheFrameMailbox().Clear();
}

// Both X titles carry a Japanese title whatever the locale: _NET_WM_NAME in
// UTF-8 from SDL, and the legacy WM_NAME that older tools read.
TEST_F(SdlWindowTest, TheLegacyTitleReadsAsTheTitle) {
  const std::string title = Utf8(u8"デモ・アドベンチャー");
  m_Window.SetTitle(title);
  XSync(m_pDisplay, False);
  XTextProperty property{};
  ASSERT_TRUE(XGetWMName(m_pDisplay, m_XWindow, &property));
  char** list = nullptr;
  int count = 0;
  ASSERT_EQ(Xutf8TextPropertyToTextList(m_pDisplay, &property, &list, &count), Success);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(std::string(list[0]), title);
  EXPECT_EQ(property.encoding, XInternAtom(m_pDisplay, "COMPOUND_TEXT", False));
  XFreeStringList(list);
  XFree(property.value);
}

}  // namespace
