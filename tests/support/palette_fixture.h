// Palettes for tests of palette entries.
//
// While a cPaletteFixture lives it is the palette provider and the
// definition context: the common (source 1) and stage (source 2) lists below
// are the palettes that inheritance and validation see, also for the
// palette sizes that commands check against; database list sizes and the
// other context answers are those of FakeDefinitionContext.
#pragma once

#include <vector>

#include "model/definitions/block.h"
#include "model/definitions/chara.h"
#include "model/definitions/item.h"
#include "model/stage/palette_lookup.h"
#include "support/fake_definition_context.h"

class cPaletteFixture : public cPaletteLists, public FakeDefinitionContext {
 public:
  cPaletteFixture() { SetPaletteLists(this); }
  ~cPaletteFixture() override { SetPaletteLists(nullptr); }

  const std::vector<cEdBlock>* Blocks(int nSource) const override {
    return Pick(nSource, m_vCommonBlocks, m_vStageBlocks);
  }
  const std::vector<cEdChara>* Charas(int nSource) const override {
    return Pick(nSource, m_vCommonCharas, m_vStageCharas);
  }
  const std::vector<cEdItem>* Items(int nSource) const override {
    return Pick(nSource, m_vCommonItems, m_vStageItems);
  }

  std::optional<std::size_t> PaletteListSize(ePaletteSource source, ePaletteList list) const override {
    const int nSource = source == ePaletteSource::Common ? PALETTE_COMMON : PALETTE_STAGE;
    switch (list) {
      case ePaletteList::Block:
        return Blocks(nSource)->size();
      case ePaletteList::Chara:
        return Charas(nSource)->size();
      case ePaletteList::Item:
        return Items(nSource)->size();
    }
    return std::nullopt;
  }

  std::vector<cEdBlock> m_vCommonBlocks = std::vector<cEdBlock>(2), m_vStageBlocks = std::vector<cEdBlock>(2);
  std::vector<cEdChara> m_vCommonCharas = std::vector<cEdChara>(2), m_vStageCharas = std::vector<cEdChara>(2);
  std::vector<cEdItem> m_vCommonItems = std::vector<cEdItem>(2), m_vStageItems = std::vector<cEdItem>(2);

 private:
  template <class T>
  static const std::vector<T>* Pick(int nSource, const std::vector<T>& common, const std::vector<T>& stage) {
    return nSource == PALETTE_COMMON ? &common : &stage;
  }
};
