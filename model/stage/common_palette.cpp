#include "model/stage/common_palette.h"

#include <algorithm>

#include "model/stage/palette_scope.h"

cEdCommonPalette g_CommonPalette;

namespace {

template <class T>
void ClearInheritFlags(std::vector<T>& list) {
  for (T& entry : list) std::fill(entry.m_vInheritFlag.begin(), entry.m_vInheritFlag.end(), 0);
}

}  // namespace

cEdCommonPalette::cEdCommonPalette() {
  m_vBlocks.assign(1, cEdBlock());
  m_vCharas.assign(1, cEdChara());
  m_vItems.assign(1, cEdItem());
}

void cEdCommonPalette::DeclareFields(int /*nVersion*/) { DeclareNothing(); }

bool cEdCommonPalette::Load(cDataReader& f) {
  // Entries inheriting from the common palette take from the one being read.
  cPaletteScope palette(this, nullptr);
  if (!cEdRecord::Load(f)) return false;
  if (!LoadBlockList(m_vBlocks, f) || !LoadCharaList(m_vCharas, f) || !LoadItemList(m_vItems, f)) {
    return false;
  }
  SetEmptyPaletteEntry(m_vBlocks);
  SetEmptyPaletteEntry(m_vCharas);
  SetEmptyPaletteEntry(m_vItems);
  // Templates keep what they inherited, but no inheritance of their own.
  ClearInheritFlags(m_vBlocks);
  ClearInheritFlags(m_vCharas);
  ClearInheritFlags(m_vItems);
  Validate();
  return !f.Failed();
}

void cEdCommonPalette::Save(cDataWriter& f) {
  cPaletteScope palette(this, nullptr);
  Validate();
  cEdRecord::Save(f);
  SaveRecordList(f, m_vBlocks);
  SaveRecordList(f, m_vCharas);
  SaveRecordList(f, m_vItems);
}

void cEdCommonPalette::VisitTail(cRecordVisitor& visitor) {
  VisitRecordList(visitor, "m_vBlocks", m_vBlocks);
  VisitRecordList(visitor, "m_vCharas", m_vCharas);
  VisitRecordList(visitor, "m_vItems", m_vItems);
}

void cEdCommonPalette::Validate() {
  cPaletteScope palette(this, nullptr);
  FillPaletteList(m_vBlocks);
  FillPaletteList(m_vCharas);
  FillPaletteList(m_vItems);
  ValidateEntryRefs(m_vBlocks, m_vCharas, m_vItems);
}

bool LoadBlockList(std::vector<cEdBlock>& list, cDataReader& f) { return LoadRecordList(f, list); }
bool LoadCharaList(std::vector<cEdChara>& list, cDataReader& f) { return LoadRecordList(f, list); }
bool LoadItemList(std::vector<cEdItem>& list, cDataReader& f) { return LoadRecordList(f, list); }

void ValidateEntryRefs(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                         std::vector<cEdItem>& items) {
  for (cEdBlock& block : blocks) {
    block.Validate();
    block.ValidateItemRef();
  }
  for (cEdChara& chara : charas) {
    chara.Validate();
    chara.ValidatePaletteRefs();
  }
  for (cEdItem& item : items) {
    item.Validate();
    item.ClampPaletteRefs();
  }
}
