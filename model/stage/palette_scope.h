// Which palettes the palette references of blocks, characters and items see.
//
// Source 1 is the common palette and source 2 the stage palette: normally
// g_CommonPalette and the palette of g_LoadedStage. While a palette file is
// read, saved or validated, the palette being worked on takes that place, so
// that its entries inherit from and are checked against their own lists
// (the record being read is a copy that becomes the target only when the
// whole file was read). A cPaletteScope sets this up for its lifetime; scopes
// nest, and a scope that names only one palette keeps the other of the
// scope around it.
//
// A scope is both the palette provider (palette_lookup.h) and the
// definition context: it answers palette list sizes from the same lists and
// passes every other question to the context in force when it began.
// Start-up keeps an outermost scope with no palette of its own for the whole
// run. A definition context installed inside a scope should answer palette
// sizes from PaletteLists().
#pragma once

#include "model/definitions/definition_context.h"
#include "model/stage/palette_lookup.h"

class cEdCommonPalette;
class cEdStage;

class cPaletteScope : public cPaletteLists, public cDefinitionContext {
 public:
  // Null keeps the palette of the enclosing scope, or the global one.
  cPaletteScope(const cEdCommonPalette* pCommon, const cEdStage* pStage);
  ~cPaletteScope() override;
  cPaletteScope(const cPaletteScope&) = delete;
  cPaletteScope& operator=(const cPaletteScope&) = delete;

  const std::vector<cEdBlock>* Blocks(int nSource) const override;
  const std::vector<cEdChara>* Charas(int nSource) const override;
  const std::vector<cEdItem>* Items(int nSource) const override;

  std::optional<std::size_t> DatabaseListSize(eDatabaseList list) const override;
  std::vector<std::int32_t> SwordFrameDurations(std::size_t swordType) const override;
  std::optional<std::size_t> PaletteListSize(ePaletteSource source, ePaletteList list) const override;
  bool KeepTestFlows() const override;

 private:
  const cEdCommonPalette& Common() const;
  const cEdStage& Stage() const;

  const cEdCommonPalette* m_pCommon;
  const cEdStage* m_pStage;
  const cPaletteScope* m_pOuterScope;
  const cPaletteLists* m_pOuterLists;
  const cDefinitionContext* m_pOuterContext;
};
