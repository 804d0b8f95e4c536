#include "platform/x11_title.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform {

void SetLegacyWindowTitle(SDL_Window* window, const std::string& utf8Title) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  std::string copy = utf8Title;
  char* list[] = {copy.data()};
  XTextProperty property{};
  // A positive result counts the characters that had to be replaced.
  int result = Xutf8TextListToTextProperty(display, list, 1, XCompoundTextStyle, &property);
  if (result > 0) {
    XFree(property.value);
    property = {};
    result = Xutf8TextListToTextProperty(display, list, 1, XUTF8StringStyle, &property);
  }
  if (result != Success) return;
  XSetWMName(display, info.info.x11.window, &property);
  XFree(property.value);
  XFlush(display);
}

}  // namespace platform
