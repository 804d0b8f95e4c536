// A character: every actor on a stage that is not the hero (enemies,
// platforms, block characters, summoned characters). The stage creates it
// from a placement (Init, then PlaceAtTile) or from the summon command,
// decides each sub-step whether it acts (CheckInView for every appeared
// character, then CheckActive), and runs its flows and movement through the
// operations here. It carries one item (its drop item), which is given to
// the hero when it dies.
//
// Codes of MoveX: StepX's edge codes, with 4 (reached a map edge: the
// stage removes it) in place of 3. MoveY: StepY's codes, with 8 for a
// flying character at the map top or bottom (removed) and 7 for a walking
// one below the stage bottom (killed).
#pragma once

#include <cstdint>
#include <vector>

#include "game/objects/actor.h"
#include "game/objects/item.h"

class cCharacter : public cActor {
 public:
  cCharacter() = default;

  // Set-up from a definition: the map box and hit boxes from the stage's
  // character size settings, the size scale, the carried item (a copy of
  // pDropItem, or none), the view skips of the activity range, the first
  // animation and the flows. dSpawnX/Y is the spawn point in map pixels.
  void Init(int nId, const cEdChara* pDef, const cItem* pDropItem, double dSpawnX, double dSpawnY,
            std::int16_t nLinearIndex);

  void ScaleHitBoxes(int nScale) override;
  void UpdateHitBoxesX() override;
  void UpdateHitBoxesY() override;
  cItem* GetDropItem() override { return &m_DropItem; }
  int ConstrainX() override { return ClampToStageX(2); }
  int ConstrainY() override { return ClampToStageY(2); }
  int MoveX() override;
  int MoveY() override;
  // Steps the flows (with bDeathOnly only the death flows); true when the
  // character is dead or asked to vanish. The stage's current actor, flow
  // and command are cleared on every exit.
  int RunFlows(bool bDeathOnly) override;
  void Jump(cCommandInstance* pInst) override;

  // The per-sub-step tests. switches is the stage's group-switch vector
  // (cStagePlay::m_vGroupSwitch): coming into view sets the character's
  // group switch, which makes every character of the group act.
  bool CheckInView(std::vector<std::uint8_t>& switches);
  bool CheckActive(const std::vector<std::uint8_t>& switches);

  // The carried item's icon over the character, during frames 64 to 95 of
  // every 96 while the character is on screen.
  void DrawDropItemIcon(cDrawTarget& target, sSurface dst);

  std::int32_t m_bInView = 0;
  std::int32_t m_bActive = 0;
  cItem m_DropItem;  // carried exactly when m_DropItem.m_bCarried is set
  std::int32_t m_nIconTimer = 0;
  std::int32_t m_bViewSkipX = 0, m_bViewSkipY = 0;
  std::int32_t m_bActivated = 0;
};
