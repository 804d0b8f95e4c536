#include "model/definitions/chara.h"

#include "model/definitions/definition_context.h"
#include "model/stage/palette_inherit.h"
#include "model/definitions/shot_graphic_upgrade.h"

namespace {

constexpr int GRAPHIC_KIND_CHARA_IMAGE = 4;

// Group 36: the whole flow list; an entry never inherits an empty one (it
// gets one new flow, which the validation then drops as empty).
void InheritFlows(cEdChara& entry, const cEdChara& parent) {
  entry.m_vFlow = parent.m_vFlow;
  if (entry.m_vFlow.empty()) entry.m_vFlow.push_back(cEdFlow::ListElement());
}

const tInheritGroupTable<cEdChara, CHARA_INHERIT_GROUPS> kCharaGroups = {
    InheritName<cEdChara>,
    InheritPair<&cEdChara::m_nControl, &cEdChara::m_nPlayerNo>,
    InheritMember<&cEdChara::m_nTeam>,
    InheritMember<&cEdChara::m_nCharaId>,
    InheritConditions<cEdChara>,
    InheritMember<&cEdChara::m_nFacing>,
    InheritMember<&cEdChara::m_nRepeat>,
    [](cEdChara& entry, const cEdChara& parent) {
      entry.m_nRepeatOffsetX = parent.m_nRepeatOffsetX;
      entry.m_nRepeatStepX = parent.m_nRepeatStepX;
      entry.m_bMirrorX = parent.m_bMirrorX;
    },
    [](cEdChara& entry, const cEdChara& parent) {
      entry.m_nRepeatOffsetY = parent.m_nRepeatOffsetY;
      entry.m_nRepeatStepY = parent.m_nRepeatStepY;
      entry.m_bMirrorY = parent.m_bMirrorY;
    },
    InheritGraphic<cEdChara>,
    InheritMember<&cEdChara::m_nAnimeSet>,
    InheritMember<&cEdChara::m_nLayer>,
    InheritMember<&cEdChara::m_bTransparent>,
    [](cEdChara& entry, const cEdChara& parent) {
      entry.m_nCharaEffect = parent.m_nCharaEffect;
      entry.m_nCharaEffectMode = parent.m_nCharaEffectMode;
      entry.m_bCharaEffectLoop = parent.m_bCharaEffectLoop;
    },
    InheritPair<&cEdChara::m_nDeathEffect, &cEdChara::m_nDeathEffectMode>,
    InheritOverlay<cEdChara>,
    InheritMember<&cEdChara::m_bFixedFacing>,
    InheritMember<&cEdChara::m_nFlying>,
    InheritPair<&cEdChara::m_nInvincible, &cEdChara::m_nInvincibleColor>,
    InheritMember<&cEdChara::m_bBlockChara>,
    InheritMember<&cEdChara::m_nScale>,
    InheritMember<&cEdChara::m_bScrollSync>,
    InheritPair<&cEdChara::m_nSightShape, &cEdChara::m_nSight>,
    InheritMember<&cEdChara::m_nMaxHP>,
    InheritMember<&cEdChara::m_nMaxSP>,
    InheritMember<&cEdChara::m_nHitRange>,
    InheritMember<&cEdChara::m_nPower>,
    InheritMember<&cEdChara::m_nImpact>,
    InheritMember<&cEdChara::m_nEffect>,
    InheritMember<&cEdChara::m_nDefense>,
    InheritMember<&cEdChara::m_nImpactResist>,
    InheritMember<&cEdChara::m_nStop>,
    InheritPair<&cEdChara::m_nActiveRange, &cEdChara::m_nRangeRule>,
    InheritPair<&cEdChara::m_nActivateGroup, &cEdChara::m_bGroupActivate>,
    InheritMember<&cEdChara::m_nScore>,
    InheritMember<&cEdChara::m_bExtraFlag>,
    InheritFlows,
};

bool IsEmptyFlow(const cEdFlow& flow) {
  return flow.m_vCondition.empty() && flow.m_vKeyCondition.empty() && flow.m_vCommand.empty();
}

template <class T>
void ResetIfOutside(T& nIndex, eDatabaseList list) {
  if (DatabaseIndexOutOfRange(nIndex, list)) nIndex = 0;
}

}  // namespace

cEdChara::cEdChara() { Reset(); }

void cEdChara::Reset() {
  Clear();
  m_nDropItem = 0;
  m_vInheritFlag.assign(CHARA_INHERIT_GROUPS, 0);
  m_nControl = 1;
  m_nTeam = 1;
  m_nLayer = 3;
  m_bCharaEffectLoop = 1;
  m_nMaxHP = 10;
  m_nDefense = 0;
  m_nGraphicKind = 1;
  m_nGraphicNo = 0;
  m_nScale = 1;
  m_nStop = 10;
  m_bFixedFacing = 1;
  m_bExtraFlag = 1;
}

void cEdChara::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_nInheritKind);
  ED_FIELD(m_nInheritIndex);
  ED_FIELD(m_nConditionMode);
  ED_FIELD(m_bConditionOnce);
  ED_FIELD(m_nFacing);
  ED_FIELD(m_nRepeat);
  ED_FIELD(m_nRepeatOffsetX);
  ED_FIELD(m_nRepeatStepX);
  ED_FIELD(m_nRepeatOffsetY);
  ED_FIELD(m_nRepeatStepY);
  ED_FIELD(m_bMirrorX);
  ED_FIELD(m_bMirrorY);
  ED_FIELD(m_nGraphicNo);
  ED_FIELD(m_nGraphicKind);
  ED_FIELD(m_nGraphicSub);
  ED_FIELD(m_nAnimeSet);
  ED_FIELD(m_nLayer);
  ED_FIELD(m_bTransparent);
  ED_FIELD(m_nCharaEffect);
  if (nVersion >= 196) ED_FIELD(m_nCharaEffectMode);
  ED_FIELD(m_bCharaEffectLoop);
  ED_FIELD(m_nDeathEffect);
  if (nVersion >= 196) ED_FIELD(m_nDeathEffectMode);
  ED_FIELD(m_bOverlay);
  ED_FIELD(m_nOverlayCell);
  ED_FIELD(m_nControl);
  ED_FIELD(m_nPlayerNo);
  ED_FIELD(m_nTeam);
  ED_FIELD(m_nCharaId);
  ED_FIELD(m_nFlying);
  ED_FIELD(m_bFixedFacing);
  ED_FIELD(m_nInvincible);
  if (nVersion >= 285) ED_FIELD(m_nInvincibleColor);
  ED_FIELD(m_bBlockChara);
  ED_FIELD(m_nScale);
  if (nVersion >= 210) ED_FIELD(m_bScrollSync);
  ED_FIELD(m_nSightShape);
  ED_FIELD(m_nSight);
  ED_FIELD(m_nMaxHP);
  ED_FIELD(m_nMaxSP);
  ED_FIELD(m_nStop);
  if (nVersion >= 201) ED_FIELD(m_nHitRange);
  ED_FIELD(m_nPower);
  ED_FIELD(m_nImpact);
  ED_FIELD(m_nEffect);
  if (nVersion >= 168) ED_FIELD(m_nDefense);
  ED_FIELD(m_nImpactResist);
  ED_FIELD(m_nScore);
  ED_FIELD(m_bExtraFlag);
  ED_FIELD(m_bGroupActivate);
  ED_FIELD(m_nActivateGroup);
  ED_FIELD(m_nActiveRange);
  ED_FIELD(m_nRangeRule);
  ED_STRING(m_strName);
}

bool cEdChara::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!f.ReadValue(m_nCellX) || !f.ReadValue(m_nCellY) || !f.ReadValue(m_nDropItem)) return false;
  if (!f.ReadValueList(m_vInheritFlag)) return false;
  if (!LoadConditionList(m_vCondition, f)) return false;
  if (!LoadFlowList(m_vFlow, f)) return false;
  RemoveTestFlowsUnlessKept(m_vFlow);
  if (g_nFileVersion < DATA_VERSION) Upgrade();
  ApplyInheritance();
  Validate();
  return !f.Failed();
}

void cEdChara::Upgrade() {
  // Groups inserted into the inherit flags: files older than the version
  // that added a group take that group from the parent.
  if (g_nFileVersion < 168) {
    m_nDefense = 0;
    InsertInheritFlag(m_vInheritFlag, CHARA_INHERIT_GROUPS, 27);
  }
  if (g_nFileVersion < 196) {
    m_nCharaEffectMode = 0;
    m_nDeathEffectMode = 0;
  }
  if (g_nFileVersion < 201) {
    m_nHitRange = 0;
    InsertInheritFlag(m_vInheritFlag, CHARA_INHERIT_GROUPS, 24);
  }
  // Hit range 2 was inserted in version 206.
  if (g_nFileVersion < 206 && m_nHitRange >= 2) ++m_nHitRange;
  if (g_nFileVersion < 210) {
    m_bScrollSync = 0;
    InsertInheritFlag(m_vInheritFlag, CHARA_INHERIT_GROUPS, 21);
  }
  UpgradeShotGraphicNo(m_nGraphicKind, m_nGraphicNo);
  if (g_nFileVersion < 285) m_nInvincibleColor = 1;
}

void cEdChara::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  f.WriteValue(m_nCellX);
  f.WriteValue(m_nCellY);
  f.WriteValue(m_nDropItem);
  f.WriteValueList(m_vInheritFlag);
  SaveRecordList(f, m_vCondition);
  SaveRecordList(f, m_vFlow);
}

void cEdChara::VisitTail(cRecordVisitor& v) {
  v.Values("m_nCellX", &m_nCellX, 1);
  v.Values("m_nCellY", &m_nCellY, 1);
  v.Values("m_nDropItem", &m_nDropItem, 1);
  v.Values("m_vInheritFlag", m_vInheritFlag.data(), m_vInheritFlag.size());
  VisitRecordList(v, "m_vCondition", m_vCondition);
  VisitRecordList(v, "m_vFlow", m_vFlow);
}

void cEdChara::ApplyInheritance() { ApplyPaletteInheritance(*this, kCharaGroups); }

void cEdChara::Validate() {
  ValidateInheritRef(*this);
  if (m_nGraphicKind == GRAPHIC_KIND_CHARA_IMAGE && DatabaseIndexOutOfRange(m_nGraphicNo, eDatabaseList::CharaImage)) {
    // Image 1 stands in for a missing one; with no image 1 either, none.
    m_nGraphicNo = IndexOutOfRange(1, DefinitionContext().DatabaseListSize(eDatabaseList::CharaImage)) ? 0 : 1;
  }
  if (static_cast<std::int8_t>(m_nScale) <= 0) m_nScale = 1;
  ResetIfOutside(m_nAnimeSet, eDatabaseList::AnimeSet);
  ResetIfOutside(m_nCharaEffect, eDatabaseList::CharaEffect);
  ResetIfOutside(m_nDeathEffect, eDatabaseList::CharaEffect);
  ResetIfOutside(m_nEffect, eDatabaseList::Effect);
  for (std::size_t i = 0; i < m_vFlow.size();) {
    m_vFlow[i].Validate();
    if (IsEmptyFlow(m_vFlow[i])) {
      m_vFlow.erase(m_vFlow.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

void cEdChara::ValidatePaletteRefs() {
  for (cEdFlow& flow : m_vFlow) flow.ValidatePaletteRefs();
}

double cEdChara::LinearX(int n, int nDir) const {
  const double offset = static_cast<double>(n) * m_nRepeatStepX + m_nRepeatOffsetX;
  return nDir == 1 && m_bMirrorX ? -offset : offset;
}

double cEdChara::LinearY(int n, int nDir) const {
  const double offset = static_cast<double>(n) * m_nRepeatStepY + m_nRepeatOffsetY;
  return nDir == 1 && m_bMirrorY ? -offset : offset;
}
