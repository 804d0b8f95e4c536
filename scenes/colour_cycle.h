// Colour cycling, one step per drawn frame. In Direct3D mode nine colours
// swing up and down between 0 and 255 (g_CycleColour, which the characters'
// colour change reads; entry 0 means no change). In DirectDraw at 8 bits,
// when the project asks for it, palette entries 208 to 239 rotate in groups
// of four every 6 frames.
#pragma once

#include <array>

#include "game/draw/draw_target.h"

// value += step while rising, -= step while falling; the value turns one
// step short of high and of low (it never takes them). Returns 1 when a
// falling phase has just ended.
int PingPong(int* pValue, int* pFalling, int nStep, int nLow, int nHigh);

constexpr int COLOUR_CYCLE_COUNT = 10;
extern std::array<sBltColour, COLOUR_CYCLE_COUNT> g_CycleColour;

void CyclePalette();
// Back to the start: every value 0 and rising, no colour.
void ResetColourCycle();
