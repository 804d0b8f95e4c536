// The flow-change item command: adds, changes or deletes flows of an actor.
#include <cstdint>

#include "game/commands/command_workers.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"

namespace {

enum eFlowChange { FLOW_CHANGE_ADD, FLOW_CHANGE_REPLACE, FLOW_CHANGE_DELETE };

int Param(const cEdCommand& command, std::size_t i) { return i < command.m_vParam.size() ? command.m_vParam[i] : 0; }

}  // namespace

int ChangeActorFlows(cActor* pActor, const cEdCommand* pCommand, bool bApplyNow) {
  if (!pActor || !pCommand) return 0;
  // The actor's flow list must not change under the step that runs it.
  if (!bApplyNow && g_pStageScene && g_pStageScene->m_pCurActor == pActor) {
    pActor->m_vQueuedItemCommands.push_back(*pCommand);
    return 0;
  }
  const int op = Param(*pCommand, 0);
  const int id = static_cast<std::uint8_t>(Param(*pCommand, 1));
  int position = -1;
  switch (op) {
    case FLOW_CHANGE_ADD: break;
    case FLOW_CHANGE_REPLACE: position = pActor->RemoveFlowsById(id); break;
    case FLOW_CHANGE_DELETE: return pActor->RemoveFlowsById(id);
    default: return op - 2;
  }
  pActor->BuildFlows(pCommand->m_vFlow, pActor->m_Chara.m_nFacing, true, position);
  return 0;
}

void ApplyQueuedItemCommands(cActor& actor) {
  // Taken out first: applying may not queue again, but the list is the actor's.
  std::vector<cEdCommand> queued;
  queued.swap(actor.m_vQueuedItemCommands);
  for (const cEdCommand& command : queued) ChangeActorFlows(&actor, &command, true);
}
