// The game window on SDL: a 640x480 client area (in a window, or full
// screen on the desktop with the picture scaled up, aspect kept, nearest
// pixels), the main thread's event source, and the presenter that shows the
// newest frame of the frame mailbox (platform/frame_mailbox.h).
//
// Everything here runs on the main thread, which alone calls SDL. Waiting
// for events sleeps in SDL_WaitEventTimeout; a task handed to the main
// thread wakes it with an event of its own. Events reach the window
// procedure as the messages the game expects: focus gained or lost is
// WM_ACTIVATEAPP (and a loss releases every key), a key press WM_KEYDOWN
// with its virtual key, the close box WM_CLOSE, exposure WM_PAINT, a move
// WM_MOVE; keys and joysticks also update the tables the game polls
// (platform/keyboard.h, platform/joystick.h). The game paces itself (its
// frame timer and the display stand-ins' vertical blank); the presenter
// shows each frame when it comes.
//
// Frames are drawn without OpenGL: SDL's software renderer on the window's
// own surface (X shared memory), scaling in software, so that no GL driver
// is loaded and no GL thread runs beside a game that draws in software.
//
// Frames come from a frame source: given the sequence number of the frame
// shown last, it fills in a newer 640x480 frame (32-bit XRGB, 0xFFRRGGBB,
// rows top to bottom) and answers true, or answers false when there is none.
// The frame mailbox of the graphics layer is the program's source.
//
// While a GTK dialog runs modally beside the open window (its own loop on
// the main thread, platform/gtk_dialogs.h), the dialog's timer serves the
// window: newer frames are shown and exposure is repainted; keys and focus
// changes belong to the dialog and reach the key table only as releases,
// never the window procedure; a close or a move waits until the dialog has
// ended. Afterwards the window is raised, takes the keyboard focus back
// (which X does not return to it by itself) and starts with every key up.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/event_loop.h"
#include "platform/frame_mailbox.h"
#include "platform/sdl_keys.h"

namespace platform {

using PresentedFrame = Frame;
using FrameSource = std::function<bool(std::uint64_t shownSequence, PresentedFrame& frame)>;

// The frames posted to the mailbox, as a source (the mailbox must outlive it).
FrameSource FramesOf(const FrameMailbox& mailbox);

struct WindowOptions {
  std::string title;  // UTF-8
  bool bFullScreen = false;
};

class SdlWindow : public EventSource {
 public:
  SdlWindow() = default;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;
  ~SdlWindow() override { Close(); }

  // Opens the window, shown; false with SDL's reason in error.
  bool Open(const WindowOptions& options, std::string& error);
  void Close();
  void Hide();
  void SetTitle(const std::string& title);
  void SetFrameSource(FrameSource source) { m_FrameSource = std::move(source); }

  void WaitAndDeliver(HWND window, std::chrono::milliseconds timeout) override;

  // Shows the source's newest frame when it is newer than the one shown,
  // or (bAgain) shows the last one again. True when something was drawn.
  bool PresentNewest(bool bAgain = false);
  std::uint64_t ShownSequence() const { return m_nShown; }

  SDL_Window* Native() const { return m_pWindow; }

 private:
  void Deliver(HWND window, const SDL_Event& event);
  void ServeDuringDialog();
  void TakeBackFocus();
  void OnJoystickEvent(const SDL_Event& event);

  SDL_Window* m_pWindow = nullptr;
  SDL_Renderer* m_pRenderer = nullptr;
  SDL_Texture* m_pTexture = nullptr;
  Uint32 m_nWakeEvent = 0;
  SdlKeyboard m_Keyboard;
  FrameSource m_FrameSource;
  PresentedFrame m_Frame;
  std::uint64_t m_nShown = 0;
  SDL_Joystick* m_apJoysticks[8] = {};
  std::vector<SDL_Event> m_vAfterDialog;  // events held back while a dialog runs
};

}  // namespace platform
