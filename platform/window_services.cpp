#include "platform/window_services.h"

#include <atomic>

#include "platform/video/display_config.h"

namespace platform {

namespace {

constexpr RECT kHeadlessClient{0, 0, 640, 480};
constexpr POINT kHeadlessClientOrigin{100, 100};

HeadlessWindowServices& Headless() {
  static HeadlessWindowServices services;
  return services;
}

std::atomic<WindowServices*> g_pServices{&Headless()};

}  // namespace

bool HeadlessWindowServices::GetClientRect(HWND, RECT* rect) {
  if (!rect) return false;
  *rect = kHeadlessClient;
  return true;
}

bool HeadlessWindowServices::ClientToScreen(HWND, POINT* point) {
  if (!point) return false;
  point->x += kHeadlessClientOrigin.x;
  point->y += kHeadlessClientOrigin.y;
  return true;
}

std::uint32_t HeadlessWindowServices::SetWindowLongA(HWND, int index, std::uint32_t value) {
  std::uint32_t& field = index == GWL_EXSTYLE ? m_nExStyle : m_nStyle;
  const std::uint32_t previous = field;
  if (index == GWL_EXSTYLE || index == GWL_STYLE) field = value;
  return previous;
}

bool HeadlessWindowServices::ShowWindow(HWND, int command) {
  const bool wasVisible = m_nLastShow != SW_SHOWMINNOACTIVE;
  m_nLastShow = command;
  return wasVisible;
}

int HeadlessWindowServices::ShowCursor(bool show) { return show ? ++m_nCursor : --m_nCursor; }

int HeadlessWindowServices::GetDesktopBitsPerPixel() { return GetDisplayConfig().desktopBpp; }

long HeadlessWindowServices::ChangeDisplaySettingsA(const DEVMODEA* mode, std::uint32_t flags) {
  if (flags & CDS_TEST)
    return GetDisplayConfig().changeDisplaySettingsTestFails ? DISP_CHANGE_FAILED : DISP_CHANGE_SUCCESSFUL;
  if (mode && (mode->dmFields & DM_DISPLAYFREQUENCY)) m_nFrequency = mode->dmDisplayFrequency;
  return DISP_CHANGE_SUCCESSFUL;
}

bool GetClientRect(HWND window, RECT* rect) { return g_pServices.load()->GetClientRect(window, rect); }
bool ClientToScreen(HWND window, POINT* point) { return g_pServices.load()->ClientToScreen(window, point); }
std::uint32_t SetWindowLongA(HWND window, int index, std::uint32_t value) {
  return g_pServices.load()->SetWindowLongA(window, index, value);
}
bool ShowWindow(HWND window, int command) { return g_pServices.load()->ShowWindow(window, command); }
int ShowCursor(bool show) { return g_pServices.load()->ShowCursor(show); }
int GetDesktopBitsPerPixel() { return g_pServices.load()->GetDesktopBitsPerPixel(); }
long ChangeDisplaySettingsA(const DEVMODEA* mode, std::uint32_t flags) {
  return g_pServices.load()->ChangeDisplaySettingsA(mode, flags);
}

WindowServices* SetWindowServices(WindowServices* services) {
  if (!services) {
    Headless() = HeadlessWindowServices{};
    services = &Headless();
  }
  return g_pServices.exchange(services);
}

}  // namespace platform
