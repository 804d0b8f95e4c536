// The legacy X window title (WM_NAME) of an SDL window. SDL writes
// _NET_WM_NAME in UTF-8 but WM_NAME in the locale's encoding, so a Japanese
// title read by tools that only know WM_NAME came out garbled under a C or
// non-Japanese locale. The title is written again as COMPOUND_TEXT, which
// every reader of WM_NAME decodes whatever its locale (UTF8_STRING when a
// character has no compound-text form). Nothing is done outside X11.
#pragma once

#include <SDL2/SDL.h>

#include <string>

namespace platform {

void SetLegacyWindowTitle(SDL_Window* window, const std::string& utf8Title);

}  // namespace platform
