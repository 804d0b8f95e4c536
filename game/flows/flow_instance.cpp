#include "game/flows/flow_instance.h"

#include "base/checked_access.h"
#include "base/report.h"
#include "game/commands/flow_command_table.h"
#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"

namespace {

// A message that neither waits for its time nor closes a window: the
// blocking message after it follows on without opening again.
bool IsPlainMessage(const cEdCommand& command) {
  return command.m_nKind == CMD_MESSAGE && CheckedAt(command.m_vParam, 6) == 0 &&
         CheckedAt(command.m_vParam, 15) == 0;
}

}  // namespace

void cCommandInstance::Reset() {
  m_nRemainFrames = m_nTotalFrames;
  m_bDone = 0;
  m_nCount = 0;
  m_bStarted = 0;
  m_dPhaseX = 0;
  m_dPhaseY = 0;
}

int cCommandInstance::RunFrame() {
  g_pStageScene->m_pCurCommand = this;
  DispatchFlowCommand(g_pStageScene->m_pCurActor, *this);
  m_nRemainFrames = WrapSub32(m_nRemainFrames, 1);
  if (m_nRemainFrames >= 1) return 0;
  m_nRemainFrames = 0;
  return 1;
}

void cCommandInstance::ResolveMoveTiming(const cEdCommand& command, std::int16_t n) {
  const cEdMove* move = command.m_pMove.get();
  if (!move) return;
  double distance = static_cast<double>(move->m_nDistanceCoef) * n + move->m_nDistance;
  if (move->m_nDistanceUnit != 1) distance *= 16;
  if (move->m_nTiming == 1) {
    // A command of no duration still acts once.
    m_dMoveSpeed = distance / (m_nTotalFrames < 1 ? 1 : m_nTotalFrames);
  } else if (move->m_nTiming == 2 && m_dMoveSpeed != 0) {
    m_nTotalFrames = TruncToInt(distance / m_dMoveSpeed);
  }
}

void cFlowInstance::Start() {
  if (m_bInstantRun) {
    // A flow-control command of the instant run started its own flow (or a
    // flow that starts this one): running it again would never end.
    ReportF("flow %d started again during its own run before the stage start: not started", m_nIndex);
    return;
  }
  m_bRunning = 1;
  m_nCurCommand = 0;
  m_nFrames = 0;
  m_bFollowsMessage = 0;
  for (cCommandInstance& command : m_vCommands) command.m_bDone = 0;
  m_bStartedThisFrame = 1;
  cActor& actor = *g_pStageScene->m_pCurActor;
  if (m_pFlow->m_nTrigger == TRIGGER_ALWAYS && m_pFlow->m_nGroup != 0) {
    CheckedAt(actor.m_vGroupRunning, m_pFlow->m_nGroup) = 1;
    CheckedAt(actor.m_vGroupStarted, m_pFlow->m_nGroup) = 1;
  }
  if (m_pFlow->m_nTrigger == TRIGGER_BEFORE_STAGE_START && !m_vCommands.empty()) {
    RunInstantCommands();
    Stop(actor);
  }
}

void cFlowInstance::RunInstantCommands() {
  // The flow whose step started this one goes on with its own commands.
  cFlowInstance* const outer = g_pStageScene->m_pCurFlow;
  g_pStageScene->m_pCurFlow = this;
  m_bAbort = 0;
  m_bInstantRun = 1;
  for (cCommandInstance& command : m_vCommands) {
    if (command.m_pCommand->m_nKind < CMD_FLOW_CONTROL || command.m_pCommand->m_bNoWait == 0) continue;
    if (!command.RunFrame()) DebugErrorBoxF("使用時間0なので、ここにくることはあり得ないはず！");
    if (m_bAbort) break;
    command.m_bDone = 1;
  }
  m_bInstantRun = 0;
  if (outer) g_pStageScene->m_pCurFlow = outer;
}

void cFlowInstance::ReleaseGroup(cActor& actor) const {
  if (m_pFlow->m_nGroup == 0) return;
  CheckedAt(actor.m_vGroupStopped, m_pFlow->m_nGroup) = 1;
  actor.m_bGroupStopped = 1;
}

void cFlowInstance::Stop(cActor& actor) {
  if (!m_bRunning) return;
  m_bRunning = 0;
  for (cCommandInstance& command : m_vCommands) command.m_nRemainFrames = 0;
  ReleaseGroup(actor);
}

void cFlowInstance::StopForGood(cActor& actor) {
  m_bStoppedForGood = 1;
  if (!m_bRunning) return;
  for (cCommandInstance& command : m_vCommands) command.m_nRemainFrames = 0;
  ReleaseGroup(actor);
}

bool cFlowInstance::IsLastCommandDone() const { return m_vCommands.empty() || m_vCommands.back().m_bDone; }

int cFlowInstance::Step() {
  g_pStageScene->m_pCurFlow = this;
  m_bAbort = 0;
  const int last = static_cast<int>(m_vCommands.size()) - 1;
  // The current command passes the last one when that one is a no-wait
  // command still running: the loop stays within the commands.
  for (int i = 0; i <= m_nCurCommand && i <= last; ++i) {
    cCommandInstance& command = m_vCommands[static_cast<std::size_t>(i)];
    if (command.m_bDone) continue;
    const cEdCommand& def = *command.m_pCommand;
    const bool plainMessage = IsPlainMessage(def);
    if (command.m_nRemainFrames == 0) {
      command.Reset();
      if (!plainMessage && def.m_bNoWait == 0) m_bFollowsMessage = 0;
    }
    if (def.m_bNoWait == 1) {
      if (command.RunFrame()) {
        command.m_bDone = 1;
        if (i == last) return 1;
      }
      if (i == m_nCurCommand) ++m_nCurCommand;
      if (m_bAbort) return 0;
    } else if (!command.RunFrame()) {
      if (m_bAbort) return 0;
    } else {
      command.m_bDone = 1;
      if (plainMessage) m_bFollowsMessage = 1;
      if (i == last) return 1;
      ++m_nCurCommand;
      break;
    }
  }
  if (IsLastCommandDone()) return 1;
  m_nFrames = WrapAdd32(m_nFrames, 1);
  return 0;
}
