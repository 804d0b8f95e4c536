// A stage frame drawn in code for the tests of what is laid over a whole
// frame (screen effects, the tone): 8 x 6 cells of 80 pixels in palette
// colours 32 to 79 with a line of colour 200 along their top and left
// edges, and the hero's 40 x 40 square of colour 250 around (400, 300).
#pragma once

#include "graphics/blit.h"
#include "graphics/device.h"

constexpr int kFixtureHeroX = 400, kFixtureHeroY = 300;

inline void DrawFixtureFrame() {
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 8; ++c) {
      DDFillRectPal(&g_sdBackBuffer, 80 * c, 80 * r, 80, 80, static_cast<std::uint32_t>(32 + 8 * r + c));
      DDFillRectPal(&g_sdBackBuffer, 80 * c, 80 * r, 80, 2, 200);
      DDFillRectPal(&g_sdBackBuffer, 80 * c, 80 * r, 2, 80, 200);
    }
  DDFillRectPal(&g_sdBackBuffer, kFixtureHeroX - 20, kFixtureHeroY - 20, 40, 40, 250);
}
