// The flow-control command: acts on flows of the same actor while one of
// its flows is being stepped.
#include "base/checked_access.h"
#include "game/commands/flow_executors.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"

namespace {

enum eFlowControlOp {
  FLOWOP_START,
  FLOWOP_END,
  FLOWOP_PAUSE,
  FLOWOP_RESUME,
  FLOWOP_DELETE,
  FLOWOP_STOP_FOR_GOOD
};

enum eFlowControlTarget { FLOWTARGET_RUNNING, FLOWTARGET_OTHERS, FLOWTARGET_BY_ID };

// A flow hit by any operation but resume ends its step after this command
// when it is the running flow; another flow clears the flag at its next step.
void ApplyFlowControl(int nOp, cActor& actor, cFlowInstance& flow) {
  switch (nOp) {
    case FLOWOP_START:
      flow.Stop(actor);
      actor.RemoveOverlaysOfFlow(flow.m_nSerial);
      flow.Start();
      break;
    case FLOWOP_END:
      flow.Stop(actor);
      actor.RemoveOverlaysOfFlow(flow.m_nSerial);
      break;
    case FLOWOP_PAUSE:
      flow.Pause();
      actor.PauseOverlaysOfFlow(flow.m_nSerial);
      break;
    case FLOWOP_RESUME:
      flow.Resume();
      actor.ResumeOverlaysOfFlow(flow.m_nSerial);
      return;
    case FLOWOP_DELETE:
      // Removed when the actor's flow step ends (cActor::EndFlowStep).
      flow.m_bDelete = 1;
      actor.m_bFlowDeleted = 1;
      break;
    case FLOWOP_STOP_FOR_GOOD:
      flow.StopForGood(actor);
      actor.RemoveOverlaysOfFlow(flow.m_nSerial);
      break;
    default:
      return;
  }
  flow.m_bAbort = 1;
}

}  // namespace

void FlowCmdFlowControl(cActor* pActor, cCommandInstance& command) {
  if (!pActor) return;
  const std::vector<std::int32_t>& param = command.m_pCommand->m_vParam;
  const int op = CheckedAt(param, 0);
  const int target = CheckedAt(param, 1);
  const int id = CheckedAt(param, 2);
  cFlowInstance* const running = g_pStageScene->m_pCurFlow;
  if (target == FLOWTARGET_RUNNING) {
    if (running) ApplyFlowControl(op, *pActor, *running);
    return;
  }
  // Starting a flow may run it at once, but no flow is added or removed
  // during a flow step, so the indexes stay valid.
  for (std::size_t i = 0; i < pActor->m_vFlows.size(); ++i) {
    cFlowInstance& flow = pActor->m_vFlows[i];
    const bool hit = target == FLOWTARGET_OTHERS ? &flow != running
                     : target == FLOWTARGET_BY_ID ? flow.m_pFlow->m_nId != 0 && flow.m_pFlow->m_nId == id
                                                  : false;
    if (hit) ApplyFlowControl(op, *pActor, flow);
  }
}
