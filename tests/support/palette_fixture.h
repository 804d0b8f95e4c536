// Palettes and database list sizes for tests of palette entries.
//
// While a cPaletteFixture lives it is the palette provider and the
// definition context: the common (source 1) and stage (source 2) lists below
// are the palettes that inheritance and validation see, and database lists
// have the sizes set in m_DatabaseSizes (lists not set are unknown).
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "model/block.h"
#include "model/chara.h"
#include "model/definition_context.h"
#include "model/item.h"
#include "model/palette_lookup.h"

class cPaletteFixture : public cPaletteLists, public cDefinitionContext {
 public:
  cPaletteFixture() {
    SetPaletteLists(this);
    SetDefinitionContext(this);
  }
  ~cPaletteFixture() override {
    SetPaletteLists(nullptr);
    SetDefinitionContext(nullptr);
  }
  cPaletteFixture(const cPaletteFixture&) = delete;
  cPaletteFixture& operator=(const cPaletteFixture&) = delete;

  const std::vector<cEdBlock>* Blocks(int nSource) const override { return Pick(nSource, m_vCommonBlocks, m_vStageBlocks); }
  const std::vector<cEdChara>* Charas(int nSource) const override { return Pick(nSource, m_vCommonCharas, m_vStageCharas); }
  const std::vector<cEdItem>* Items(int nSource) const override { return Pick(nSource, m_vCommonItems, m_vStageItems); }

  std::optional<std::size_t> DatabaseListSize(eDatabaseList list) const override {
    const auto found = m_DatabaseSizes.find(list);
    if (found == m_DatabaseSizes.end()) return std::nullopt;
    return found->second;
  }
  std::optional<std::size_t> PaletteListSize(ePaletteSource source, ePaletteList list) const override {
    const int nSource = source == ePaletteSource::Common ? PALETTE_COMMON : PALETTE_STAGE;
    switch (list) {
      case ePaletteList::Block: return Blocks(nSource)->size();
      case ePaletteList::Chara: return Charas(nSource)->size();
      case ePaletteList::Item: return Items(nSource)->size();
    }
    return std::nullopt;
  }

  std::vector<cEdBlock> m_vCommonBlocks = std::vector<cEdBlock>(2), m_vStageBlocks = std::vector<cEdBlock>(2);
  std::vector<cEdChara> m_vCommonCharas = std::vector<cEdChara>(2), m_vStageCharas = std::vector<cEdChara>(2);
  std::vector<cEdItem> m_vCommonItems = std::vector<cEdItem>(2), m_vStageItems = std::vector<cEdItem>(2);
  std::map<eDatabaseList, std::size_t> m_DatabaseSizes;

 private:
  template <class T>
  static const std::vector<T>* Pick(int nSource, const std::vector<T>& common, const std::vector<T>& stage) {
    return nSource == PALETTE_COMMON ? &common : &stage;
  }
};
