// The per-pixel work of the fade without a palette (DDFade_UnPal) and of
// the locked tint (DDChangeColor with the virtual back buffer on).
//
// FadePixels: destination = source blended toward a colour, the source
// weighing level / 256 (level 256 copies, 0 fills with the colour). 16 bits:
// each channel goes to 0-255 (value * 255 / maximum), is blended with
// (v * level + colour * (256 - level)) >> 8 and goes back (* maximum / 255).
// 32 bits: the R, G, B bytes are blended, the destination's fourth byte is
// kept. Other depths: nothing. Only the area both surfaces cover is drawn.
//
// TintPixels: the rectangle, clipped to the surface, keeps alpha / 256 of
// its own colour: 16 bits with the tint scaled to the channel maxima first
// and the alpha bit set; 32 bits on the bytes, the fourth byte becoming 255.
//
// level and alpha are limited to 0..256.
#pragma once

#include <cstdint>

#include "graphics/bitmap_copy.h"
#include "graphics/colour_format.h"

struct TintColour {
  std::uint8_t red = 0, green = 0, blue = 0;
};

void FadePixels(const SurfacePixels& destination, const SurfacePixels& source, int level, TintColour colour,
                const DDCOLORFORMAT& format);

void TintPixels(const SurfacePixels& surface, int x, int y, int width, int height, int alpha, TintColour colour,
                const DDCOLORFORMAT& format);
