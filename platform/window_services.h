// The window calls that the graphics layer makes on the main window: its
// client area, its styles, showing or minimising it, the cursor's display
// count, the desktop's depth and refresh-rate changes.
//
// HWND is an opaque handle; the graphics layer only passes it through. The
// calls go to a swappable backend. The one in place at start is headless:
// every window has a 640x480 client area at (100, 100) on the screen,
// styles and show commands are recorded, ShowCursor keeps a real display
// count (starting at 0, returning the new count), the desktop depth is
// DisplayConfig::desktopBpp and display-setting changes succeed without
// effect. The main window's backend replaces it with the real window.
#pragma once

#include <cstdint>

#include "platform/rect.h"

namespace platform {

struct WindowHandle;
using HWND = WindowHandle*;

constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008u;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINNOACTIVE = 7;

// The fields of a DEVMODEA that the program sets.
struct DEVMODEA {
  std::uint16_t dmSize = 0;
  std::uint32_t dmFields = 0;
  std::uint32_t dmDisplayFrequency = 0;
};
constexpr std::uint32_t DM_DISPLAYFREQUENCY = 0x00400000;
constexpr std::uint32_t CDS_FULLSCREEN = 0x4;
constexpr std::uint32_t CDS_TEST = 0x2;
constexpr long DISP_CHANGE_SUCCESSFUL = 0;
constexpr long DISP_CHANGE_FAILED = -1;

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  virtual bool GetClientRect(HWND window, RECT* rect) = 0;
  virtual bool ClientToScreen(HWND window, POINT* point) = 0;
  virtual std::uint32_t SetWindowLongA(HWND window, int index, std::uint32_t value) = 0;
  virtual bool ShowWindow(HWND window, int command) = 0;
  virtual int ShowCursor(bool show) = 0;
  virtual int GetDesktopBitsPerPixel() = 0;
  virtual long ChangeDisplaySettingsA(const DEVMODEA* mode, std::uint32_t flags) = 0;
};

class HeadlessWindowServices : public WindowServices {
 public:
  bool GetClientRect(HWND window, RECT* rect) override;
  bool ClientToScreen(HWND window, POINT* point) override;
  std::uint32_t SetWindowLongA(HWND window, int index, std::uint32_t value) override;
  bool ShowWindow(HWND window, int command) override;
  int ShowCursor(bool show) override;
  int GetDesktopBitsPerPixel() override;
  long ChangeDisplaySettingsA(const DEVMODEA* mode, std::uint32_t flags) override;

  // What was recorded (for tests).
  std::uint32_t Style() const { return m_nStyle; }
  std::uint32_t ExStyle() const { return m_nExStyle; }
  int LastShowCommand() const { return m_nLastShow; }
  int CursorCount() const { return m_nCursor; }
  std::uint32_t DisplayFrequency() const { return m_nFrequency; }

 private:
  std::uint32_t m_nStyle = 0;
  std::uint32_t m_nExStyle = 0;
  int m_nLastShow = SW_SHOWNORMAL;
  int m_nCursor = 0;
  std::uint32_t m_nFrequency = 0;
};

// The calls, through the installed backend.
bool GetClientRect(HWND window, RECT* rect);
bool ClientToScreen(HWND window, POINT* point);
std::uint32_t SetWindowLongA(HWND window, int index, std::uint32_t value);
bool ShowWindow(HWND window, int command);
int ShowCursor(bool show);
int GetDesktopBitsPerPixel();
long ChangeDisplaySettingsA(const DEVMODEA* mode, std::uint32_t flags);

// Installs the backend of every later call (nullptr: the headless one of
// start-up, freshly reset); returns the one it replaced. The caller keeps
// the backend alive while it is installed. Call while no graphics call runs.
WindowServices* SetWindowServices(WindowServices* services);

}  // namespace platform
