#include "model/definitions/item.h"

#include "model/definitions/definition_context.h"
#include "model/stage/palette_inherit.h"
#include "model/stage/palette_lookup.h"
#include "model/definitions/shot_graphic_upgrade.h"

namespace {

const tInheritGroupTable<cEdItem, ITEM_INHERIT_GROUPS> kItemGroups = {
    InheritName<cEdItem>,
    InheritConditions<cEdItem>,
    InheritMember<&cEdItem::m_nOffsetX>,
    InheritMember<&cEdItem::m_nOffsetY>,
    InheritGraphic<cEdItem>,
    InheritMember<&cEdItem::m_nLayer>,
    InheritMember<&cEdItem::m_bHidden>,
    InheritOverlay<cEdItem>,
    InheritMember<&cEdItem::m_nSize>,
    InheritMember<&cEdItem::m_nPickup>,
    InheritMember<&cEdItem::m_bShowIcon>,
    InheritMember<&cEdItem::m_nSound>,
    InheritMember<&cEdItem::m_vCommand>,
};

}  // namespace

cEdItem::cEdItem() { Reset(); }

void cEdItem::Reset() {
  Clear();
  m_vInheritFlag.assign(ITEM_INHERIT_GROUPS, 0);
  m_nGraphicKind = 2;
  m_nGraphicNo = 0;
  m_bShowIcon = 1;
  m_nSize = 1;
  m_nLayer = 6;
}

void cEdItem::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nInheritKind);
  ED_FIELD(m_nInheritIndex);
  ED_FIELD(m_nConditionMode);
  ED_FIELD(m_bConditionOnce);
  ED_FIELD(m_nOffsetX);
  ED_FIELD(m_nOffsetY);
  ED_FIELD(m_nGraphicNo);
  ED_FIELD(m_nGraphicKind);
  ED_FIELD(m_nGraphicSub);
  ED_FIELD(m_nLayer);
  ED_FIELD(m_bHidden);
  ED_FIELD(m_bOverlay);
  ED_FIELD(m_nOverlayCell);
  ED_FIELD(m_bShowIcon);
  ED_FIELD(m_nPickup);
  ED_FIELD(m_nSize);
  ED_FIELD(m_nSound);
  ED_STRING(m_strName);
}

bool cEdItem::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!f.ReadValue(m_nCellX) || !f.ReadValue(m_nCellY)) return false;
  if (!f.ReadValueList(m_vInheritFlag)) return false;
  if (!LoadConditionList(m_vCondition, f)) return false;
  if (!LoadCommandList(m_vCommand, f)) return false;
  UpgradeShotGraphicNo(m_nGraphicKind, m_nGraphicNo);
  ApplyInheritance();
  Validate();
  return !f.Failed();
}

void cEdItem::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  f.WriteValue(m_nCellX);
  f.WriteValue(m_nCellY);
  f.WriteValueList(m_vInheritFlag);
  SaveRecordList(f, m_vCondition);
  SaveRecordList(f, m_vCommand);
}

void cEdItem::VisitTail(cRecordVisitor& v) {
  v.Values("m_nCellX", &m_nCellX, 1);
  v.Values("m_nCellY", &m_nCellY, 1);
  v.Values("m_vInheritFlag", m_vInheritFlag.data(), m_vInheritFlag.size());
  VisitRecordList(v, "m_vCondition", m_vCondition);
  VisitRecordList(v, "m_vCommand", m_vCommand);
}

void cEdItem::ApplyInheritance() { ApplyPaletteInheritance(*this, kItemGroups); }

void cEdItem::Validate() {
  ValidateInheritRef(*this);
  if (m_nSize == 0) m_nSize = 1;
  if (DatabaseIndexOutOfRange(m_nSound, eDatabaseList::Sound)) m_nSound = 0;
  for (cEdCommand& command : m_vCommand) command.Validate();
}

void cEdItem::ClampPaletteRefs() {
  for (cEdCommand& command : m_vCommand) command.ValidatePaletteRefs();
}

const cEdItem* FindPaletteItem(int nKind, int nIndex) { return FindPaletteEntry<cEdItem>(nKind, nIndex); }
