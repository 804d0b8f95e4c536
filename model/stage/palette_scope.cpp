#include "model/stage/palette_scope.h"

#include "model/stage/common_palette.h"
#include "model/stage/stage.h"

namespace {
// The innermost scope alive; palettes are read by one thread at a time.
const cPaletteScope* g_pInnermostScope = nullptr;
}  // namespace

cPaletteScope::cPaletteScope(const cEdCommonPalette* pCommon, const cEdStage* pStage)
    : m_pCommon(pCommon),
      m_pStage(pStage),
      m_pOuterScope(g_pInnermostScope),
      m_pOuterLists(&PaletteLists()),
      m_pOuterContext(&DefinitionContext()) {
  g_pInnermostScope = this;
  SetPaletteLists(this);
  SetDefinitionContext(this);
}

cPaletteScope::~cPaletteScope() {
  SetDefinitionContext(m_pOuterContext);
  SetPaletteLists(m_pOuterLists);
  g_pInnermostScope = m_pOuterScope;
}

const cEdCommonPalette& cPaletteScope::Common() const {
  if (m_pCommon != nullptr) return *m_pCommon;
  return m_pOuterScope != nullptr ? m_pOuterScope->Common() : g_CommonPalette;
}

const cEdStage& cPaletteScope::Stage() const {
  if (m_pStage != nullptr) return *m_pStage;
  return m_pOuterScope != nullptr ? m_pOuterScope->Stage() : g_LoadedStage;
}

const std::vector<cEdBlock>* cPaletteScope::Blocks(int nSource) const {
  if (nSource == PALETTE_COMMON) return &Common().m_vBlocks;
  if (nSource == PALETTE_STAGE) return &Stage().m_vPaletteBlocks;
  return nullptr;
}

const std::vector<cEdChara>* cPaletteScope::Charas(int nSource) const {
  if (nSource == PALETTE_COMMON) return &Common().m_vCharas;
  if (nSource == PALETTE_STAGE) return &Stage().m_vPaletteCharas;
  return nullptr;
}

const std::vector<cEdItem>* cPaletteScope::Items(int nSource) const {
  if (nSource == PALETTE_COMMON) return &Common().m_vItems;
  if (nSource == PALETTE_STAGE) return &Stage().m_vPaletteItems;
  return nullptr;
}

std::optional<std::size_t> cPaletteScope::DatabaseListSize(eDatabaseList list) const {
  return m_pOuterContext->DatabaseListSize(list);
}

std::vector<std::int32_t> cPaletteScope::SwordFrameDurations(std::size_t swordType) const {
  return m_pOuterContext->SwordFrameDurations(swordType);
}

std::optional<std::size_t> cPaletteScope::PaletteListSize(ePaletteSource source, ePaletteList list) const {
  const int nSource = source == ePaletteSource::Common ? PALETTE_COMMON : PALETTE_STAGE;
  switch (list) {
    case ePaletteList::Block: return Blocks(nSource)->size();
    case ePaletteList::Chara: return Charas(nSource)->size();
    case ePaletteList::Item: return Items(nSource)->size();
  }
  return std::nullopt;
}

bool cPaletteScope::KeepTestFlows() const { return m_pOuterContext->KeepTestFlows(); }
