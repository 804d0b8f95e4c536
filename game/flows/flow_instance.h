// The run-time records of an actor's flows: one cFlowInstance per flow of
// the actor's own definition copy, one cCommandInstance per command.
//
// cActor::BuildFlows creates them (durations, speeds, offsets, angles and
// lead-in animation requests are prepared there); starting, stepping and
// stopping flows belongs to the flow engine (game/flows/). Definitions are
// reached by pointers into the actor's own copy; every change of that copy's
// flow list is followed by cActor::RelinkFlows.
//
// Stepping: each sub-step, Step visits the commands from the first to the
// current one. A blocking command holds the flow until it finishes; a no-wait
// command lets the next command start in the same step and keeps running
// alongside it. The flow finishes when its last command finishes, which cuts
// off no-wait commands still running. A command acts max(1, duration) times.
// Executors run with g_pStageScene's m_pCurActor, m_pCurFlow and
// m_pCurCommand set; an executor that stops, restarts, pauses or deletes the
// running flow sets its m_bAbort, which ends the step after that command.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

class cActor;
class cEdCommand;
class cEdFlow;
class cEdKeyCondition;

// A target point waiting in a homing command's queue.
struct sHomingPoint {
  double x = 0;
  double y = 0;
};

// Every member starts defined: executors tell their first frame by the
// scratch members that Reset clears, and an instant run calls them without
// Reset.
struct cCommandInstance {
  const cEdCommand* m_pCommand = nullptr;
  std::int32_t m_bDone = 0;
  std::int32_t m_nTotalFrames = 0;   // sub-steps
  std::int32_t m_nRemainFrames = 0;  // sub-steps left; 0 not started
  // Executor state of the movement commands.
  std::uint8_t m_nMoveDir = 0;
  std::int32_t m_nOffsetX = 0;
  std::int32_t m_nOffsetY = 0;
  double m_dMoveSpeed = 0;
  std::int32_t m_nMoveAngle = 0;
  std::int32_t m_nMoveRadius = 0;  // circle: radius x sub-steps; homing: homing time
  std::int32_t m_nStartAngle = 0;
  std::int32_t m_nEndAngle = 0;
  std::list<sHomingPoint> m_HomingQueue;
  double m_dCmdVX = 0;
  double m_dCmdVY = 0;
  std::int32_t m_nTurn = 0;
  std::int32_t m_nCount = 0;
  std::int32_t m_bStarted = 0;
  std::int32_t m_nStepState = 0;
  double m_dPhaseX = 0;
  double m_dPhaseY = 0;
  double m_dMaxSpeed = 0;
  std::int32_t m_nPrevFacing = 0;

  // Before a command's first frame: the full duration, not done, and the
  // per-run scratch members (count, started, circle phases) cleared.
  void Reset();
  // One frame of the command through the dispatch table for the stage's
  // current actor; 1 when it finished.
  int RunFrame();
  // With the move's timing mode 1 the distance fixes the speed, with mode 2
  // the duration; n is the actor's linear index.
  void ResolveMoveTiming(const cEdCommand& command, std::int16_t n);
};

// An animation that a command's lead-in starts from the flow step.
struct ANIMEREQ {
  std::int32_t nStart = 0;       // value of m_nFrames at which it starts
  std::int16_t nAnime = 0;       // database animation
  std::int16_t nSkip = 0;        // frames skipped at the start
  std::int16_t nLength = 0;      // frames played before the hold frame
  std::int16_t nHold = 0;        // hold time in display frames
  std::int32_t bExtendHold = 0;
};

struct cFlowInstance {
  std::int32_t m_nIndex = 0;
  std::int32_t m_nSerial = 0;
  const cEdFlow* m_pFlow = nullptr;
  // m_pFlow's trigger, set when the instance is built (a copied or moved
  // instance keeps it): every trigger test of every actor reads it, and the
  // definition lies in another allocation.
  std::uint8_t m_nTrigger = 0;
  std::int8_t m_bConditionsMet = 0;
  std::vector<const cEdKeyCondition*> m_vpKeyConditions;
  std::int32_t m_bKeyHeld = 0;
  std::vector<cCommandInstance> m_vCommands;
  std::vector<ANIMEREQ> m_vAnimeRequests;
  std::int32_t m_bRunning = 0;
  std::int32_t m_bPaused = 0;
  std::int32_t m_bStoppedForGood = 0;
  std::int32_t m_bDelete = 0;
  std::int32_t m_nCurCommand = 0;
  std::int32_t m_nFrames = 0;
  std::int32_t m_nTriggerKey = 0;
  std::int32_t m_bFiredThisFrame = 0;
  std::int32_t m_bStartedThisFrame = 0;
  std::int32_t m_bFollowsMessage = 0;
  std::int32_t m_bAbort = 0;
  // The commands of a flow that fires before the stage starts are running
  // at once; starting it again meanwhile is refused.
  std::int32_t m_bInstantRun = 0;

  // Starts the flow for the stage's current actor; a flow that fires before
  // the stage starts runs its no-wait commands from the flow-control command
  // on at once and stops.
  void Start();
  // Ends a running flow and frees its group on the actor.
  void Stop(cActor& actor);
  // One sub-step; 1 when the last command finished.
  int Step();
  void Pause() { m_bPaused = 1; }
  void Resume() { m_bPaused = 0; }
  // Neither fires nor steps again; a running flow stays flagged running.
  void StopForGood(cActor& actor);
  bool IsLastCommandDone() const;

 private:
  void RunInstantCommands();
  void ReleaseGroup(cActor& actor) const;
};
