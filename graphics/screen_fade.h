// The whole-screen fades, one step per call, and palette rotation.
//
// DDFadeOut and DDFadeIn draw one step of a fade to black (Direct3D: a black
// quad of alpha 255 - trunc(sin(angle) * 255) over the back buffer, or the
// virtual back buffer; the palette arguments are not used) or to the colour
// R, G, B (DirectDraw: at 8 bits the palette entries nFirst..nLast blended
// by DDBlendPalette and shown; at 16 and 32 bits the back buffer rewritten
// from the screen copy taken at the fade's first step). Their progress is
// graphics/fade_progress.h: the call that draws the end state returns true
// and puts the angle back; bEnd jumps to the end state. A Direct3D step that
// cannot open the scene or set the target returns false without advancing.
//
// DDRotatePalette copies all 256 entries, then rotates nFirst..nLast by
// nCount places (graphics/palette_effects.h), at 8, 16 and 32 bits only.
// Game thread only.
#pragma once

#include <cstdint>

#include "graphics/colour_format.h"

bool DDFadeOut(PaletteColour* lpPalOut, int nFirst, int nLast, std::uint8_t R, std::uint8_t G, std::uint8_t B,
               double dStep, const PaletteColour* lpPalSrc, std::uint8_t bEnd);
bool DDFadeIn(PaletteColour* lpPalOut, int nFirst, int nLast, std::uint8_t R, std::uint8_t G, std::uint8_t B,
              double dStep, const PaletteColour* lpPalSrc, std::uint8_t bEnd);

void DDRotatePalette(PaletteColour* lpPalOut, int nFirst, int nLast, int nCount, int nRotateDir,
                     const PaletteColour* lpPalSrc);
