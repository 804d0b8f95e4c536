#include "model/definitions/block.h"

#include "model/definitions/item.h"
#include "model/stage/palette_inherit.h"
#include "model/definitions/shot_graphic_upgrade.h"

namespace {

const tInheritGroupTable<cEdBlock, BLOCK_INHERIT_GROUPS> kBlockGroups = {
    InheritName<cEdBlock>,
    InheritConditions<cEdBlock>,
    InheritGraphic<cEdBlock>,
    InheritMember<&cEdBlock::m_nLayer>,
    InheritMember<&cEdBlock::m_bHidden>,
    InheritOverlay<cEdBlock>,
    InheritMember<&cEdBlock::m_nCollision>,
    InheritMember<&cEdBlock::m_nPassTeam>,
    InheritPair<&cEdBlock::m_nEffect, &cEdBlock::m_nEffectValue>,
    InheritPair<&cEdBlock::m_nItemKind, &cEdBlock::m_nItemIndex>,
    InheritMember<&cEdBlock::m_bFixed>,
};

}  // namespace

cEdBlock::cEdBlock() { Reset(); }

void cEdBlock::Reset() {
  Clear();
  m_nCollision = 1;
  m_vInheritFlag.assign(BLOCK_INHERIT_GROUPS, 0);
  m_nPassTeam = 255;
  m_nGraphicNo = 0;
}

void cEdBlock::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nInheritKind);
  ED_FIELD(m_nInheritIndex);
  ED_FIELD(m_nConditionMode);
  ED_FIELD(m_bConditionOnce);
  ED_FIELD(m_nGraphicNo);
  ED_FIELD(m_nGraphicKind);
  ED_FIELD(m_nGraphicSub);
  ED_FIELD(m_nLayer);
  ED_FIELD(m_bHidden);
  ED_FIELD(m_bOverlay);
  ED_FIELD(m_nOverlayCell);
  ED_FIELD(m_nCollision);
  ED_FIELD(m_nPassTeam);
  ED_FIELD(m_nEffect);
  ED_FIELD(m_nEffectValue);
  ED_FIELD(m_nItemKind);
  ED_FIELD(m_nItemIndex);
  ED_FIELD(m_bFixed);
  ED_STRING(m_strName);
}

bool cEdBlock::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!f.ReadValue(m_nCellX) || !f.ReadValue(m_nCellY)) return false;
  if (!f.ReadValueList(m_vInheritFlag)) return false;
  if (!LoadConditionList(m_vCondition, f)) return false;
  UpgradeShotGraphicNo(m_nGraphicKind, m_nGraphicNo);
  ApplyInheritance();
  Validate();
  return !f.Failed();
}

void cEdBlock::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  f.WriteValue(m_nCellX);
  f.WriteValue(m_nCellY);
  f.WriteValueList(m_vInheritFlag);
  SaveRecordList(f, m_vCondition);
}

void cEdBlock::VisitTail(cRecordVisitor& v) {
  v.Values("m_nCellX", &m_nCellX, 1);
  v.Values("m_nCellY", &m_nCellY, 1);
  v.Values("m_vInheritFlag", m_vInheritFlag.data(), m_vInheritFlag.size());
  VisitRecordList(v, "m_vCondition", m_vCondition);
}

void cEdBlock::ApplyInheritance() { ApplyPaletteInheritance(*this, kBlockGroups); }

void cEdBlock::Validate() {
  ValidateInheritRef(*this);
  if (m_nGraphicNo == 0) {
    m_nCollision = 0;
    m_bFixed = 0;
  }
}

void cEdBlock::ValidateItemRef() {
  const std::vector<cEdItem>* items = FindPaletteList<cEdItem>(m_nItemKind);
  if (items != nullptr && IndexOutOfRange(m_nItemIndex, items->size())) {
    m_nItemKind = 0;
    m_nItemIndex = 0;
  }
}
