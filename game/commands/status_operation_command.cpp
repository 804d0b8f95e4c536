// The second status-operation command: it switches states of the actor, its
// target or the stage (the first is the shared worker ApplyStatusOperation).
#include "base/checked_access.h"
#include "game/commands/command_workers.h"
#include "game/objects/player.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"
#include "model/definitions/condition.h"
#include "model/stage/stage.h"

namespace {

// The system items switch the automatic scrolling of an axis.
void SetAutoScroll(int nAxis, int value) {
  cStagePlay& stage = *g_pStageScene;
  cEdStage& def = g_LoadedStage;
  if (nAxis == 0) {
    def.m_bAutoScrollX = value;
    stage.m_ScrollX.SetAutoScroll(value, def.m_nAutoScrollSpeedX, def.m_dSubSteps);
  } else {
    def.m_bAutoScrollY = value;
    stage.m_ScrollY.SetAutoScroll(value, def.m_nAutoScrollSpeedY, def.m_dSubSteps);
  }
}

}  // namespace

void ExecStatusOperation2(cActor* pActor, const cEdCommand& command) {
  const auto p = [&command](int i) { return CheckedAt(command.m_vParam, i); };
  const int item = p(1);
  const int value = p(2);
  cStagePlay& stage = *g_pStageScene;
  if (p(0) == STATUS_TARGET_SYSTEM) {
    if (item == 0 || item == 1) SetAutoScroll(item, value);
    return;
  }
  cActor* actor = p(0) == STATUS_TARGET_TARGET ? (pActor ? pActor->m_pTarget : nullptr) : pActor;
  if (!actor) return;
  cEdChara& chara = actor->m_Chara;
  cPlayer* hero = chara.m_nControl == 0 ? dynamic_cast<cPlayer*>(actor) : nullptr;
  switch (item) {
    case STATUS2_VANISH:
      if (chara.m_nControl == 1) actor->m_bVanish = 1;
      else if (chara.m_nControl == 0) actor->m_nHp = 0;
      if (actor != stage.m_pCurActor) stage.m_bCheckDeaths = 1;
      break;
    case STATUS2_TRANSPARENT: chara.m_bTransparent = static_cast<std::uint8_t>(value); break;
    case STATUS2_FIXED_FACING: chara.m_bFixedFacing = static_cast<std::uint8_t>(value); break;
    case STATUS2_FLYING:
      if (hero) hero->SetFlyingMode(value, true);
      break;
    case STATUS2_INVINCIBLE: chara.m_nInvincible = static_cast<std::uint8_t>(value); break;
    case STATUS2_SCALE:
      actor->SetScale(value, chara.m_nScale);
      chara.m_nScale = static_cast<std::uint8_t>(value);
      if (hero) hero->BuildBoxDisplays();
      break;
    case STATUS2_SCROLL_SYNC:
      chara.m_bScrollSync = static_cast<std::uint8_t>(value);
      actor->m_bScrollSync = static_cast<std::uint8_t>(value);
      break;
    default: break;
  }
}
