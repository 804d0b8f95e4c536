// A character definition: the template of a character (looks, size, team,
// control, statuses, appearance conditions, copies per placement, activation
// and its flows). It is a palette entry (the character lists of the common
// palette and of a stage palette), a character placed on a stage map (cell
// and carried item), and the definition every actor embeds a copy of.
//
// The record has 53 fields at data version 566 (gates at 168, 196, 201, 210
// and 285), the string m_strName, then its tail: int16 cell column, int16
// cell row, int32 m_nDropItem, the inherit flags (u32 count, one byte each),
// the appearance conditions and the flows (lists). Load removes test-only
// flows outside a test play, upgrades old files, inherits from the parent
// entry and validates; Save validates first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/definitions/condition.h"
#include "model/definitions/flow.h"
#include "model/record/record.h"

// One inherit flag per group of members a character can take from its parent.
constexpr int CHARA_INHERIT_GROUPS = 37;

class cEdChara : public cEdRecordOf<cEdChara> {
 public:
  cEdChara();

  // The defaults of a new definition on an existing one; the lists are kept.
  void Reset();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  void ApplyInheritance();
  // Repairs references into the palettes and the database and drops flows
  // that hold nothing.
  void Validate();
  // The palette checks of every flow's commands, once the palettes exist.
  void ValidatePaletteRefs();

  // Pixel offset of copy n of a placement facing nDir (1 right): n x step +
  // offset, mirrored for a right-facing placement when the mirror flag is set.
  double LinearX(int n, int nDir) const;
  double LinearY(int n, int nDir) const;

  // Tail members.
  std::int16_t m_nCellX = 0;
  std::int16_t m_nCellY = 0;
  std::int32_t m_nDropItem = 0;  // placed item carried (index in the stage's placed items); -1 none
  std::vector<std::uint8_t> m_vInheritFlag;
  std::vector<cEdCondition> m_vCondition;
  std::vector<cEdFlow> m_vFlow;
  std::string m_strName;

  std::uint8_t m_nInheritKind = 0;    // 0 none, 1 common palette, 2 stage palette
  std::int16_t m_nInheritIndex = 0;   // 0 none
  std::uint8_t m_nConditionMode = 0;  // 0 all hold, 1 one holds, else never
  std::uint8_t m_bConditionOnce = 0;
  std::uint8_t m_nFacing = 0;  // 0 left, 1 right
  std::int8_t m_nRepeat = 0;   // extra copies per placement; none when negative
  std::int16_t m_nRepeatOffsetX = 0;
  std::int16_t m_nRepeatStepX = 0;
  std::int16_t m_nRepeatOffsetY = 0;
  std::int16_t m_nRepeatStepY = 0;
  std::uint8_t m_bMirrorX = 0;
  std::uint8_t m_bMirrorY = 0;
  std::int16_t m_nGraphicNo = 0;  // kind 4: index into the character images
  std::uint8_t m_nGraphicKind = 1;
  std::int16_t m_nGraphicSub = 0;
  std::int16_t m_nAnimeSet = 0;
  std::uint8_t m_nLayer = 3;
  std::uint8_t m_bTransparent = 0;
  std::int16_t m_nCharaEffect = 0;
  std::uint8_t m_nCharaEffectMode = 0;  // 0 normal, 1 reversed, 2 there and back
  std::uint8_t m_bCharaEffectLoop = 1;
  std::int16_t m_nDeathEffect = 0;
  std::uint8_t m_nDeathEffectMode = 0;
  std::uint8_t m_bOverlay = 0;
  std::int16_t m_nOverlayCell = 0;
  std::uint8_t m_nControl = 1;  // 0 a player, 1 the computer
  std::uint8_t m_nPlayerNo = 0;
  std::uint8_t m_nTeam = 1;
  std::uint8_t m_nCharaId = 0;
  std::uint8_t m_nFlying = 0;
  std::uint8_t m_bFixedFacing = 1;
  std::uint8_t m_nInvincible = 0;
  std::uint8_t m_nInvincibleColor = 0;
  std::uint8_t m_bBlockChara = 0;
  std::uint8_t m_nScale = 1;  // covers n x n cells; compared as a signed byte
  std::uint8_t m_bScrollSync = 0;
  std::uint8_t m_nSightShape = 0;
  std::uint8_t m_nSight = 0;
  std::int32_t m_nMaxHP = 10;
  std::int32_t m_nMaxSP = 0;
  std::int16_t m_nStop = 10;
  std::uint8_t m_nHitRange = 0;
  std::int32_t m_nPower = 0;
  std::int8_t m_nImpact = 0;
  std::int16_t m_nEffect = 0;
  std::int32_t m_nDefense = 0;
  std::uint8_t m_nImpactResist = 0;
  std::int32_t m_nScore = 0;
  std::uint8_t m_bExtraFlag = 1;
  std::uint8_t m_bGroupActivate = 0;
  std::int16_t m_nActivateGroup = 0;
  std::uint8_t m_nActiveRange = 0;  // 0 in view, 1 x in view, 2 y in view, 3 everywhere
  std::uint8_t m_nRangeRule = 0;

 private:
  void Upgrade();
};
