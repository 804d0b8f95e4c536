// The launching commands: shots, swords and the block, character and item
// summons. Each launches once per run of its command, on its first frame,
// after the command's sound.
#include "base/checked_access.h"
#include "base/requests.h"
#include "game/commands/flow_executors.h"
#include "game/objects/actor.h"
#include "game/objects/shot_launch.h"
#include "game/stage/stage_play.h"
#include "model/database/database.h"
#include "model/definitions/command.h"

namespace {

void PlayCommandSound(const cActor& actor, const cEdCommand& command) {
  if (command.m_bSoundOnScreen && !actor.m_bOnScreen) return;
  RequestDbSound(static_cast<std::int16_t>(command.m_nSound));
}

// The first frame of a launching command: its sound, then the launch.
template <void (*Launch)(cActor&, const cEdShot&)>
void LaunchOnce(cActor* pActor, cCommandInstance& command) {
  const cEdCommand& def = *command.m_pCommand;
  if (pActor && command.m_nCount == 0 && def.m_pShot) {
    PlayCommandSound(*pActor, def);
    Launch(*pActor, *def.m_pShot);
  }
  ++command.m_nCount;
}

// The sword of the command's type joins the stage beside its owner.
void LaunchSword(cActor& actor, const cEdShot& shot) {
  const cEdSwordType& type = CheckedAt(g_Database.m_vSwordType, static_cast<std::int8_t>(shot.m_nMoveKind));
  // A sword type without frames has no sword to show.
  if (type.m_vFrames.empty()) return;
  const cEdSwordFrame& first = type.m_vFrames.front();
  cShotLaunch launch;
  launch.nWidth = first.m_nWidth;
  launch.nHeight = first.m_nHeight;
  launch.nSize = shot.m_nSize;
  cStagePlay& stage = *g_pStageScene;
  cShot sword;
  sword.Init(stage.m_nShotSerial, &actor, SHOT_KIND_SWORD, shot, launch);
  cShot& added = stage.AddShotToStage(sword);
  ++stage.m_nShotSerial;
  added.m_pShotTarget = nullptr;
}

}  // namespace

void FlowCmdShot(cActor* pActor, cCommandInstance& command) { LaunchOnce<FireShots>(pActor, command); }
void FlowCmdSword(cActor* pActor, cCommandInstance& command) { LaunchOnce<LaunchSword>(pActor, command); }
void FlowCmdSummonBlock(cActor* pActor, cCommandInstance& command) { LaunchOnce<FireBlockSummon>(pActor, command); }
void FlowCmdSummonCharacter(cActor* pActor, cCommandInstance& command) {
  LaunchOnce<FireCharaSummon>(pActor, command);
}
void FlowCmdSummonItem(cActor* pActor, cCommandInstance& command) { LaunchOnce<FireItemSummon>(pActor, command); }
