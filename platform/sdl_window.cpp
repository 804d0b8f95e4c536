#include "platform/sdl_window.h"

#include <algorithm>

#include "platform/dialogs.h"
#include "platform/gtk_dialogs.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/main_thread.h"
#include "platform/x11_title.h"

namespace platform {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A 32x32 icon drawn in code: a dark square with a light frame.
SDL_Surface* MakeIcon() {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return nullptr;
  auto* pixels = static_cast<Uint32*>(icon->pixels);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool edge = x < 3 || y < 3 || x > 28 || y > 28;
      pixels[y * (icon->pitch / 4) + x] = edge ? 0xFFE0E0F0u : 0xFF203060u;
    }
  }
  return icon;
}

bool IsJoystickEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_JOYAXISMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      return true;
    default:
      return false;
  }
}

}  // namespace

FrameSource FramesOf(const FrameMailbox& mailbox) {
  return [&mailbox](std::uint64_t shown, PresentedFrame& frame) { return mailbox.TakeNewer(shown, frame); };
}

bool SdlWindow::Open(const WindowOptions& options, std::string& error) {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // Without this SDL would back the window's surface with a GL texture.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0) {
    error = SDL_GetError();
    return false;
  }
  const Uint32 flags = SDL_WINDOW_HIDDEN | (options.bFullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  m_pWindow = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                               kHeight, flags);
  if (m_pWindow) {
    SetLegacyWindowTitle(m_pWindow, options.title);
    m_pRenderer = SDL_CreateRenderer(m_pWindow, -1, SDL_RENDERER_SOFTWARE);
  }
  if (m_pRenderer) {
    m_pTexture = SDL_CreateTexture(m_pRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kWidth,
                                   kHeight);
  }
  if (!m_pTexture) {
    error = SDL_GetError();
    Close();
    return false;
  }
  SDL_RenderSetLogicalSize(m_pRenderer, kWidth, kHeight);  // aspect kept, black bars
  if (SDL_Surface* icon = MakeIcon()) {
    SDL_SetWindowIcon(m_pWindow, icon);
    SDL_FreeSurface(icon);
  }
  SDL_StopTextInput();  // no input method pops up while playing
  m_nWakeEvent = SDL_RegisterEvents(1);
  const Uint32 wake = m_nWakeEvent;
  SetMainThreadWaker([wake] {
    SDL_Event event{};
    event.type = wake;
    SDL_PushEvent(&event);
  });
  SetDialogTickHook([this] { ServeDuringDialog(); });
  SetDialogEndHook([this] { TakeBackFocus(); });
  SDL_ShowWindow(m_pWindow);
  SDL_SetRenderDrawColor(m_pRenderer, 0, 0, 0, 255);
  SDL_RenderClear(m_pRenderer);
  SDL_RenderPresent(m_pRenderer);
  return true;
}

void SdlWindow::Close() {
  if (!m_pWindow && !m_pRenderer) return;
  SetMainThreadWaker(nullptr);
  SetDialogTickHook(nullptr);
  SetDialogEndHook(nullptr);
  m_vAfterDialog.clear();
  for (auto*& joystick : m_apJoysticks) {
    if (joystick) SDL_JoystickClose(joystick);
    joystick = nullptr;
  }
  RemoveAllJoysticks();
  if (m_pTexture) SDL_DestroyTexture(m_pTexture);
  if (m_pRenderer) SDL_DestroyRenderer(m_pRenderer);
  if (m_pWindow) SDL_DestroyWindow(m_pWindow);
  m_pTexture = nullptr;
  m_pRenderer = nullptr;
  m_pWindow = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
}

void SdlWindow::Hide() {
  if (m_pWindow) SDL_HideWindow(m_pWindow);
}

void SdlWindow::SetTitle(const std::string& title) {
  if (!m_pWindow) return;
  SDL_SetWindowTitle(m_pWindow, title.c_str());
  SetLegacyWindowTitle(m_pWindow, title);
}

void SdlWindow::WaitAndDeliver(HWND window, std::chrono::milliseconds timeout) {
  SDL_Event event;
  if (!SDL_WaitEventTimeout(&event, static_cast<int>(timeout.count()))) return;
  do {
    Deliver(window, event);
  } while (SDL_PollEvent(&event));
}

void SdlWindow::Deliver(HWND window, const SDL_Event& event) {
  m_Keyboard.Apply(event);
  switch (event.type) {
    case SDL_KEYDOWN:
      if (!event.key.repeat) {
        const auto vks = VirtualKeysOf(event.key.keysym.scancode, event.key.keysym.sym,
                                       (event.key.keysym.mod & KMOD_NUM) != 0);
        for (const int vk : vks) SendMessage(window, WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
      }
      break;
    case SDL_QUIT:
      SendMessage(window, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          SendMessage(window, WM_ACTIVATEAPP, 1, 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          SendMessage(window, WM_ACTIVATEAPP, 0, 0);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          SendMessage(window, WM_CLOSE, 0, 0);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          PresentNewest(true);
          SendMessage(window, WM_PAINT, 0, 0);
          break;
        case SDL_WINDOWEVENT_MOVED:
          SendMessage(window, WM_MOVE, 0,
                      static_cast<LPARAM>((event.window.data1 & 0xFFFF) | ((event.window.data2 & 0xFFFF) << 16)));
          break;
      }
      break;
    default:
      if (IsJoystickEvent(event)) OnJoystickEvent(event);
      break;
  }
}

void SdlWindow::ServeDuringDialog() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    m_Keyboard.Apply(event);  // a focus loss releases every key
    switch (event.type) {
      case SDL_QUIT:
        m_vAfterDialog.push_back(event);
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) PresentNewest(true);
        if (event.window.event == SDL_WINDOWEVENT_CLOSE || event.window.event == SDL_WINDOWEVENT_MOVED)
          m_vAfterDialog.push_back(event);
        break;
      default:
        if (IsJoystickEvent(event)) OnJoystickEvent(event);
        break;
    }
  }
  PresentNewest();
}

void SdlWindow::TakeBackFocus() {
  // Key releases may have gone to the dialog.
  m_Keyboard.ReleaseAll();
  if (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_SHOWN) {
    SDL_RaiseWindow(m_pWindow);
    SDL_SetWindowInputFocus(m_pWindow);
  }
  for (SDL_Event& event : m_vAfterDialog) SDL_PushEvent(&event);
  m_vAfterDialog.clear();
}

void SdlWindow::OnJoystickEvent(const SDL_Event& event) {
  if (event.type == SDL_JOYDEVICEADDED) {
    for (auto*& slot : m_apJoysticks) {
      if (slot) continue;
      slot = SDL_JoystickOpen(event.jdevice.which);
      break;
    }
  } else if (event.type == SDL_JOYDEVICEREMOVED) {
    for (auto*& slot : m_apJoysticks) {
      if (slot && SDL_JoystickInstanceID(slot) == event.jdevice.which) {
        SDL_JoystickClose(slot);
        slot = nullptr;
      }
    }
  }
  // The ids are the slots, in the order the joysticks came.
  for (unsigned id = 0; id < 8; ++id) {
    SDL_Joystick* joystick = m_apJoysticks[id];
    if (!joystick) {
      RemoveJoystick(id);
      continue;
    }
    std::uint32_t buttons = 0;
    const int count = std::min(SDL_JoystickNumButtons(joystick), 32);
    for (int b = 0; b < count; ++b) {
      if (SDL_JoystickGetButton(joystick, b)) buttons |= 1u << b;
    }
    SetJoystickState(id, static_cast<std::uint32_t>(SDL_JoystickGetAxis(joystick, 0) + 32768),
                     static_cast<std::uint32_t>(SDL_JoystickGetAxis(joystick, 1) + 32768), buttons);
  }
}

bool SdlWindow::PresentNewest(bool bAgain) {
  if (!m_pRenderer) return false;
  const bool bNewer = m_FrameSource && m_FrameSource(m_nShown, m_Frame);
  if (!bNewer && !(bAgain && m_nShown != 0)) return false;
  if (m_Frame.width != kWidth || m_Frame.height != kHeight) return false;
  m_nShown = m_Frame.sequence;
  SDL_UpdateTexture(m_pTexture, nullptr, m_Frame.pixels.data(), kWidth * 4);
  SDL_RenderClear(m_pRenderer);
  SDL_RenderCopy(m_pRenderer, m_pTexture, nullptr, nullptr);
  SDL_RenderPresent(m_pRenderer);
  return true;
}

}  // namespace platform
