#include "scenes/colour_cycle.h"

#include <cstdint>

#include "graphics/device.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_effects.h"
#include "model/settings/system_data.h"

namespace {
std::array<sBltColour, COLOUR_CYCLE_COUNT> NoColours() {
  std::array<sBltColour, COLOUR_CYCLE_COUNT> table;
  table.fill(sBltColour{0, 0});
  return table;
}
}  // namespace

std::array<sBltColour, COLOUR_CYCLE_COUNT> g_CycleColour = NoColours();

namespace {

struct sColourCycleState {
  std::array<int, 9> anValue{};
  std::array<int, 9> anFalling{};
  int nPhase = 0;         // the ninth colour: red, green, blue, yellow
  int nPaletteFrames = 0;
};
sColourCycleState g_Cycle;

constexpr int kBlendModulate = 7;
constexpr int kBlendAdd = 10;

sBltColour Colour(int r, int g, int b, int mode) {
  const std::uint32_t argb = 0xFF000000u | static_cast<std::uint32_t>(r) << 16 |
                             static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
  return {argb, mode};
}

void CycleColours() {
  const int step = g_SystemData.m_nCycleStep;
  for (int i = 0; i < 9; ++i) {
    const int v = g_Cycle.anValue[i];
    const int ended = PingPong(&g_Cycle.anValue[i], &g_Cycle.anFalling[i], step, 0, 255);
    sBltColour& entry = g_CycleColour[i + 1];
    switch (i + 1) {
      case 1: entry = Colour(v, v, v, kBlendModulate); break;
      case 2: entry = Colour(v, v, v, kBlendAdd); break;
      case 3: entry = Colour(v, 0, 0, kBlendModulate); break;
      case 4: entry = Colour(0, v, 0, kBlendModulate); break;
      case 5: entry = Colour(0, 0, v, kBlendModulate); break;
      case 6: entry = Colour(v, v, 0, kBlendModulate); break;
      case 7: entry = Colour(v, 0, v >> 2, kBlendModulate); break;
      case 8: entry = Colour(v >> 2, 0, v, kBlendModulate); break;
      default: {
        const int phase = g_Cycle.nPhase;
        entry = Colour(phase == 0 || phase == 3 ? v : 0, phase == 1 || phase == 3 ? v : 0, phase == 2 ? v : 0,
                       kBlendModulate);
        if (ended) g_Cycle.nPhase = (g_Cycle.nPhase + 1) % 4;
        break;
      }
    }
  }
}

void RotatePaletteGroups() {
  if (++g_Cycle.nPaletteFrames < 6) return;
  g_Cycle.nPaletteFrames = 0;
  for (int group = 0; group < 8; ++group) {
    RotatePaletteRange(g_palOriginal.data(), 208 + 4 * group, 211 + 4 * group, 1, 1, g_palOriginal.data());
  }
  DDSetPaletteEntries(g_palOriginal.data(), 208, 32);
}

}  // namespace

int PingPong(int* pValue, int* pFalling, int nStep, int nLow, int nHigh) {
  const int before = *pValue;
  if (*pFalling == 0) {
    *pValue += nStep;
    if (*pValue >= nHigh) {
      *pValue = before;
      *pFalling = 1;
    }
    return 0;
  }
  *pValue -= nStep;
  if (*pValue > nLow) return 0;
  *pValue = before;
  *pFalling = 0;
  return 1;
}

void CyclePalette() {
  if (g_lpD3DState) {
    CycleColours();
  } else if (g_lpDDState && g_SystemData.m_bPaletteCycle && g_nBpp == 8) {
    RotatePaletteGroups();
  }
}

void ResetColourCycle() {
  g_Cycle = sColourCycleState{};
  g_CycleColour = NoColours();
}
