// Appearance conditions of the stage's objects and the floor blocks that
// act on the hero standing on them.
#include <algorithm>

#include "base/requests.h"
#include "game/flows/flow_condition.h"
#include "game/objects/character.h"
#include "game/objects/map_cell_run.h"
#include "game/objects/player.h"
#include "model/definitions/item.h"
#include "model/stage/stage.h"
#include "scenes/stage/stage_scene.h"

namespace {

enum eFloorEffect {
  FLOOR_SPRING = 1,
  FLOOR_SLIDING = 2,
  FLOOR_SPEED = 3,
  FLOOR_CONVEYOR_LEFT = 4,
  FLOOR_CONVEYOR_RIGHT = 5,
};

}  // namespace

int cStageScene::EvalConditionList(const std::vector<cEdCondition>& conditions, int nMode, cActor* pActor) {
  return ::EvalConditionList(conditions, nMode, pActor);
}

int cStageScene::CheckCharacterCondition(cCharacter& chara) {
  const cEdChara& def = chara.m_Chara;
  return CheckOwnerConditions(*this, def.m_vCondition, def.m_nConditionMode, def.m_bConditionOnce,
                              chara.m_bAppearedOnce, &chara);
}

int cStageScene::CheckItemCondition(cItem& item) {
  const cEdItem& def = item.m_Item;
  return CheckOwnerConditions(*this, def.m_vCondition, def.m_nConditionMode, def.m_bConditionOnce,
                              item.m_bAppearedOnce, m_pHero);
}

void cStageScene::UpdateAppearance(bool bNewFrame) {
  if (m_pHero) {
    m_pHero->m_bAppeared = 1;
    m_pHero->m_bOnScreen = 1;
  }
  std::fill(m_vGroupSwitch.begin(), m_vGroupSwitch.end(), 0);
  for (cCharacter& chara : m_CharacterList) {
    // Appearance conditions read no trigger flags: clearing them here is as
    // clearing them all before the walk. A dying character keeps its own.
    if (bNewFrame) {
      if (!chara.m_bDying) chara.ResetFlowFrameFlags();
      chara.m_bBlockChanged1 = chara.m_bBlockChanged2 = 0;
    }
    if (CheckCharacterCondition(chara)) {
      chara.m_bAppeared = 1;
      chara.m_bOnScreen = chara.IsOnScreen() ? 1 : 0;
      chara.CheckInView(m_vGroupSwitch);
    } else {
      chara.m_bAppeared = chara.m_bOnScreen = 0;
    }
  }
  // A second walk, so that a switch turned on by any character in view is
  // seen by every character of this pass.
  for (cCharacter& chara : m_CharacterList)
    chara.m_bActive = chara.m_bAppeared && chara.CheckActive(m_vGroupSwitch) ? 1 : 0;
  for (cItem& item : m_ItemList) {
    if (CheckItemCondition(item)) {
      item.m_bAppeared = 1;
      item.m_bOnScreen = item.IsOnScreen() ? 1 : 0;
    } else {
      item.m_bAppeared = item.m_bOnScreen = 0;
    }
  }
  for (cShot& shot : m_ShotList) {
    shot.m_bAppeared = 1;
    shot.m_bOnScreen = shot.IsOnScreen() ? 1 : 0;
  }
}

int cStageScene::ApplyFloorEffect(cPlayer& player) {
  if (player.m_bFlying) return 0;
  const cEdStage& stage = g_LoadedStage;
  cMapCell* floor = player.m_pFloorCell;
  if (floor && player.m_nFloorEffectCount == 0 && GetCollision(*floor, player.m_nTeam) != 0) {
    const cEdBlock& block = floor->m_Block;
    switch (block.m_nEffect) {
      case FLOOR_SPRING:
        RequestSystemSound(10);
        player.m_dVY = player.JumpSpeedForHbl(static_cast<std::int8_t>(block.m_nEffectValue));
        player.m_bJumping = player.m_bInAir = 1;
        player.m_bFalling = 0;
        // Counted as a jump held to its end: the launch is not cut short.
        player.m_nJumpHold = player.JumpFrames(player.m_dVY);
        break;
      case FLOOR_SLIDING:
        player.m_bNoJumpFloor = 1;
        break;
      case FLOOR_SPEED:
        player.m_nFloorEffect = FLOOR_SPEED;
        player.m_dFloorEffectValue = block.m_nEffectValue * 0.01;
        player.m_nFloorEffectCount = stage.m_nSubSteps;
        break;
      case FLOOR_CONVEYOR_LEFT:
      case FLOOR_CONVEYOR_RIGHT:
        player.m_nFloorEffect = block.m_nEffect;
        player.m_dFloorEffectValue = block.m_nEffectValue * 0.1 / stage.m_dSubSteps;
        player.m_nFloorEffectCount = stage.m_nSubSteps;
        break;
      default:
        break;
    }
    if (block.m_nEffect != FLOOR_SLIDING) player.m_bNoJumpFloor = 0;
  }
  if (player.m_nFloorEffectCount != 0) {
    switch (player.m_nFloorEffect) {
      case FLOOR_SPEED:
        player.m_dVX *= player.m_dFloorEffectValue;
        break;
      case FLOOR_CONVEYOR_LEFT:
        player.m_dVX -= player.m_dFloorEffectValue;
        if (player.m_dAccelX > 0) player.m_dAccelX = 0;
        break;
      case FLOOR_CONVEYOR_RIGHT:
        player.m_dVX += player.m_dFloorEffectValue;
        if (player.m_dAccelX < 0) player.m_dAccelX = 0;
        break;
      default:
        break;
    }
    if (--player.m_nFloorEffectCount <= 0) {
      player.m_nFloorEffectCount = 0;
      // The landing test sees the floor again.
      if (player.m_dVY >= 0) player.m_dVY += 1.0;
    }
  }
  return 0;
}

int cStageScene::ApplyFloorItem(cPlayer& player) {
  if (player.m_bFlying) return 0;
  bool applied = false;
  cMapCell* floor = player.m_pFloorCell;
  if (floor && player.m_nBlockItemWait == 0 && GetCollision(*floor, player.m_nTeam) != 0) {
    const cEdBlock& block = floor->m_Block;
    const cEdItem* def = block.m_nItemKind != 0 ? FindPaletteItem(block.m_nItemKind, block.m_nItemIndex) : nullptr;
    if (def) {
      cItem item;
      item.InitFromDefinition(0, def, false);
      item.m_bAppeared = 1;
      if (const int result = ApplyItemEffect(&item, &player)) return result;
      player.m_nBlockItemWait = g_LoadedStage.m_nSubSteps * 60;
      applied = true;
    }
  }
  if (player.m_nBlockItemWait != 0) {
    if (player.m_bInAir) {
      player.m_nBlockItemWait = 0;
    } else {
      player.m_nBlockItemWait = std::max(player.m_nBlockItemWait - 1, 0);
      if (player.m_pFloorCell && player.m_nFloorCell != player.m_nPrevFloorCell && !applied) {
        player.m_nBlockItemWait = 0;
        if (player.m_dVY >= 0) player.m_dVY += 1.0;
      }
    }
  }
  return 0;
}
