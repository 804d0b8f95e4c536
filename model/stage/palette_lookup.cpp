#include "model/stage/palette_lookup.h"

namespace {

const cPaletteLists g_NoPaletteLists;
const cPaletteLists* g_pPaletteLists = &g_NoPaletteLists;

bool IsPaletteSource(int nSource) { return nSource == PALETTE_COMMON || nSource == PALETTE_STAGE; }

}  // namespace

const cPaletteLists& PaletteLists() { return *g_pPaletteLists; }

void SetPaletteLists(const cPaletteLists* lists) {
  g_pPaletteLists = lists != nullptr ? lists : &g_NoPaletteLists;
}

template <>
const std::vector<cEdBlock>* FindPaletteList<cEdBlock>(int nSource) {
  return IsPaletteSource(nSource) ? PaletteLists().Blocks(nSource) : nullptr;
}

template <>
const std::vector<cEdChara>* FindPaletteList<cEdChara>(int nSource) {
  return IsPaletteSource(nSource) ? PaletteLists().Charas(nSource) : nullptr;
}

template <>
const std::vector<cEdItem>* FindPaletteList<cEdItem>(int nSource) {
  return IsPaletteSource(nSource) ? PaletteLists().Items(nSource) : nullptr;
}
