// Trigger firing: which flows of an actor a trigger starts.
#include "base/checked_access.h"
#include "base/input_state.h"
#include "game/flows/flow_condition.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/settings/system_data.h"

void cActor::FireTrigger(int nTrigger) {
  g_pStageScene->m_pCurActor = this;
  for (std::size_t i = 0; i < m_vFlows.size(); ++i) {
    cFlowInstance& flow = m_vFlows[i];
    if (flow.m_nTrigger != nTrigger) continue;
    // Without multiple starts a flow meets one trigger test per display
    // frame, even when that test refuses it.
    if (!g_SystemData.m_bMultiStart) {
      if (flow.m_bFiredThisFrame) continue;
      flow.m_bFiredThisFrame = 1;
    }
    if (flow.m_bRunning || flow.m_bPaused || flow.m_bStoppedForGood || flow.m_bStartedThisFrame) continue;
    const int group = flow.m_pFlow->m_nGroup;
    if (nTrigger == TRIGGER_ALWAYS && group != 0 &&
        (CheckedAt(m_vGroupRunning, group) || CheckedAt(m_vGroupStarted, group))) {
      continue;
    }
    if (!CheckFlowCondition(flow, this) || !CheckKeyConditions(flow)) continue;
    // The computer's actors read the first input; a player's actor its own.
    const int input = m_nControl != 0 ? 0 : static_cast<std::int8_t>(m_Chara.m_nPlayerNo);
    flow.m_nTriggerKey = GetTriggerKey(CheckedAt(g_InputStates, input));
    flow.Start();
  }
  g_pStageScene->m_pCurActor = nullptr;
  g_pStageScene->m_pCurFlow = nullptr;
  g_pStageScene->m_pCurCommand = nullptr;
}
