#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/report.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/database/database.h"
#include "model/definitions/command.h"
#include "support/definition_builders.h"
#include "support/flow_command_recorder.h"
#include "support/temp_folder.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

// A recorded command: blocking or no-wait, lasting so many sub-steps.
struct TimedCommand {
  bool bNoWait;
  int nFrames;
};

class FlowTest : public testing::Test {
 protected:
  void Build(const std::vector<cEdFlow>& flows) {
    m_Actor.InitCommon(nullptr, 0, 0, 0);
    m_Actor.m_nHp = 10;
    m_Actor.BuildFlows(flows, 0, false, 0);
    g_pStageScene->m_pCurActor = &m_Actor;
  }
  // One flow of recorded commands with the given durations.
  cFlowInstance& BuildTimed(const std::vector<TimedCommand>& commands) {
    FlowBuilder flow(TRIGGER_NONE);
    for (const TimedCommand& c : commands) {
      CommandBuilder command(CMD_STOP_MOVE);
      if (c.bNoWait) command.NoWait();
      flow.Command(command);
    }
    Build({flow});
    cFlowInstance& instance = m_Actor.m_vFlows[0];
    for (std::size_t i = 0; i < commands.size(); ++i) instance.m_vCommands[i].m_nTotalFrames = commands[i].nFrames;
    return instance;
  }

  TestStage m_Stage;
  TestActor m_Actor;
  FlowCommandRecorder m_Recorder{{CMD_STOP_MOVE, CMD_MOVE_STRAIGHT, CMD_STATUS_OPERATION}};
};

struct StepCase {
  const char* name;
  std::vector<TimedCommand> commands;
  // The commands that ran in each step; the flow finishes in the last.
  std::vector<std::string> steps;
};

class FlowSteps : public FlowTest, public testing::WithParamInterface<StepCase> {};

TEST_P(FlowSteps, CommandsRunInTheirSteps) {
  const StepCase& c = GetParam();
  cFlowInstance& flow = BuildTimed(c.commands);
  flow.Start();
  for (std::size_t step = 0; step < c.steps.size(); ++step) {
    const bool last = step + 1 == c.steps.size();
    EXPECT_EQ(flow.Step(), last ? 1 : 0) << "step " << step + 1;
    EXPECT_EQ(FlowCommandRecorder::Take(), c.steps[step]) << "step " << step + 1;
  }
  EXPECT_EQ(flow.m_nFrames, static_cast<int>(c.steps.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlowSteps,
    testing::Values(
        // The flow ends with its last command; the no-wait one is cut off.
        StepCase{"NoWaitAlongsideBlocking", {{true, 30}, {false, 10}}, std::vector<std::string>(10, "AB")},
        StepCase{"BlockingOfNoDurationTakesOneStep", {{false, 0}, {false, 2}}, {"A", "B", "B"}},
        StepCase{"NoWaitChainStartsInOneStep", {{true, 0}, {true, 0}, {false, 1}}, {"ABC"}},
        StepCase{"NoWaitOutlivesTheBlockingBesideIt", {{true, 3}, {false, 1}, {false, 2}}, {"AB", "AC", "AC"}},
        StepCase{"LastNoWaitRunsToItsEnd", {{false, 1}, {true, 3}}, {"A", "B", "B", "B"}},
        StepCase{"OnlyANoWait", {{true, 2}}, {"A", "A"}},
        StepCase{"LastNoWaitOfNoDuration", {{true, 5}, {true, 0}}, {"AB"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, FinishingCutsOffNoWaitCommandsThroughStop) {
  cFlowInstance& flow = BuildTimed({{true, 30}, {false, 2}});
  flow.Start();
  EXPECT_EQ(flow.Step(), 0);
  EXPECT_EQ(flow.Step(), 1);
  EXPECT_EQ(flow.m_vCommands[0].m_nRemainFrames, 28);
  flow.Stop(m_Actor);
  EXPECT_EQ(flow.m_bRunning, 0);
  EXPECT_EQ(flow.m_vCommands[0].m_nRemainFrames, 0);
  // Started again, every command runs from its beginning.
  flow.Start();
  FlowCommandRecorder::Take();
  EXPECT_EQ(flow.Step(), 0);
  EXPECT_EQ(flow.m_vCommands[0].m_nRemainFrames, 29);
  EXPECT_EQ(FlowCommandRecorder::Take(), "AB");
}

TEST_F(FlowTest, DurationsAreTenthsOfASecondInSubSteps) {
  TestStage stage({20, 15, 3});
  Build({FlowBuilder(TRIGGER_NONE).Command(CommandBuilder(CMD_STOP_MOVE).Time(1))});
  cFlowInstance& flow = m_Actor.m_vFlows[0];
  flow.Start();
  int steps = 1;
  while (flow.Step() == 0) ++steps;
  EXPECT_EQ(steps, 18);  // 6 display frames of 3 sub-steps
}

TEST_F(FlowTest, ResetClearsTheScratchOfEachRun) {
  cFlowInstance& flow = BuildTimed({{false, 2}});
  cCommandInstance& command = flow.m_vCommands[0];
  command.m_nCount = 5;
  command.m_bStarted = 1;
  command.m_dPhaseX = 1.5;
  command.m_dMoveSpeed = 2.5;  // prepared when the flows were built: kept
  command.Reset();
  EXPECT_EQ(command.m_nRemainFrames, 2);
  EXPECT_EQ(command.m_nCount, 0);
  EXPECT_EQ(command.m_bStarted, 0);
  EXPECT_EQ(command.m_dPhaseX, 0);
  EXPECT_EQ(command.m_dMoveSpeed, 2.5);
}

TEST_F(FlowTest, MoveTimingNeverDividesByZero) {
  CommandBuilder bySpeed(CMD_MOVE_STRAIGHT);
  bySpeed.Move().m_nTiming = 2;
  bySpeed.Move().m_nDistance = 4;
  CommandBuilder byTime(CMD_MOVE_STRAIGHT);
  byTime.Move().m_nTiming = 1;
  byTime.Move().m_nDistance = 4;
  cCommandInstance instance;
  instance.m_nTotalFrames = 12;
  instance.ResolveMoveTiming(bySpeed, 0);  // speed 0: the duration stays
  EXPECT_EQ(instance.m_nTotalFrames, 12);
  instance.m_nTotalFrames = 0;
  instance.ResolveMoveTiming(byTime, 0);  // no duration: the distance in one sub-step
  EXPECT_DOUBLE_EQ(instance.m_dMoveSpeed, 64);
}

TEST_F(FlowTest, BeforeStageStartRunsOnlyItsNoWaitCommandsFromFlowControlOn) {
  Build({FlowBuilder(TRIGGER_BEFORE_STAGE_START)
             .Command(CommandBuilder(CMD_MOVE_STRAIGHT).NoWait())         // A: a movement: skipped
             .Command(CommandBuilder(CMD_STATUS_OPERATION).NoWait())      // B
             .Command(CommandBuilder(CMD_STATUS_OPERATION))               // C: blocking: skipped
             .Command(CommandBuilder(CMD_STATUS_OPERATION).Time(2).NoWait())});  // D: runs once all the same
  cFlowInstance& flow = m_Actor.m_vFlows[0];
  flow.Start();
  EXPECT_EQ(FlowCommandRecorder::Take(), "BD");
  EXPECT_EQ(flow.m_bRunning, 0);
  EXPECT_EQ(flow.m_vCommands[1].m_bDone, 1);
  EXPECT_EQ(flow.m_vCommands[2].m_bDone, 0);
  EXPECT_EQ(flow.m_vCommands[3].m_bDone, 1);
  EXPECT_EQ(flow.m_vCommands[3].m_nRemainFrames, 0);
}

CommandBuilder ControlCommand(int nOp, int nTarget, int nId = 0) {
  CommandBuilder command(CMD_FLOW_CONTROL);
  command.NoWait().Param(0, nOp).Param(1, nTarget).Param(2, nId);
  return command;
}

TEST_F(FlowTest, AFlowThatStartsItselfDuringItsInstantRunIsRefusedAndReported) {
  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
  // One restarts itself; two more restart each other by ID.
  Build({FlowBuilder(TRIGGER_BEFORE_STAGE_START)
             .Command(ControlCommand(0, 0))
             .Command(CommandBuilder(CMD_STATUS_OPERATION).NoWait()),
         FlowBuilder(TRIGGER_BEFORE_STAGE_START).Id(1).Command(ControlCommand(0, 2, 2)),
         FlowBuilder(TRIGGER_BEFORE_STAGE_START).Id(2).Command(ControlCommand(0, 2, 1))});
  m_Actor.m_vFlows[0].Start();
  EXPECT_EQ(FlowCommandRecorder::Take(), "");  // the restart aborted the run
  EXPECT_EQ(m_Actor.m_vFlows[0].m_bRunning, 0);
  m_Actor.m_vFlows[2].Start();
  for (const cFlowInstance& flow : m_Actor.m_vFlows) EXPECT_EQ(flow.m_bInstantRun, 0);
  EXPECT_EQ(m_Actor.m_vFlows[2].m_bRunning, 0);
  const std::string report = ReadTextFile(folder / "Report_Game.txt");
  EXPECT_NE(report.find("flow 0 started again during its own run before the stage start"), std::string::npos)
      << report;
  EXPECT_NE(report.find("flow 2 started again"), std::string::npos) << report;
}

TEST_F(FlowTest, AnInstantRunStartedFromAStepLeavesTheSteppedFlowCurrent) {
  Build({FlowBuilder(TRIGGER_NONE)
             .Command(ControlCommand(0, 2, 3))
             .Command(CommandBuilder(CMD_STOP_MOVE).NoWait())
             .Command(CommandBuilder(CMD_STOP_MOVE)),
         FlowBuilder(TRIGGER_BEFORE_STAGE_START).Id(3).Command(CommandBuilder(CMD_STATUS_OPERATION).NoWait())});
  cFlowInstance& flow = m_Actor.m_vFlows[0];
  flow.Start();
  EXPECT_EQ(flow.Step(), 1);
  // The instant run ran its command, and the stepped flow went on with its own.
  EXPECT_EQ(FlowCommandRecorder::Take(), "ABC");
  EXPECT_EQ(m_Stage.m_pCurFlow, &flow);
}

// Flow 0 runs a flow-control command then a recorded one in the same step;
// flows 1 and 2 (ID 2) and flow 0 (ID 1) are running.
struct ControlCase {
  const char* name;
  int nOp, nTarget, nId;
  bool bAborted;                   // the recorded command of flow 0 did not run
  std::vector<std::string> states;  // per flow: R running, - stopped, P paused, G for good, D deleted
};

class FlowControl : public FlowTest, public testing::WithParamInterface<ControlCase> {};

std::string StateOf(const cFlowInstance& flow) {
  if (flow.m_bDelete) return "D";
  if (flow.m_bStoppedForGood) return "G";
  if (flow.m_bPaused) return "P";
  return flow.m_bRunning ? "R" : "-";
}

TEST_P(FlowControl, ActsOnItsTargetsAndAbortsTheRunningFlowWhenHit) {
  const ControlCase& c = GetParam();
  Build({FlowBuilder(TRIGGER_NONE)
             .Id(1)
             .Command(ControlCommand(c.nOp, c.nTarget, c.nId))
             .Command(CommandBuilder(CMD_STOP_MOVE).Time(1)),
         FlowBuilder(TRIGGER_NONE).Id(2).Command(CommandBuilder(CMD_WAIT).Time(1)),
         FlowBuilder(TRIGGER_NONE).Id(2).Command(CommandBuilder(CMD_WAIT).Time(1))});
  for (cFlowInstance& flow : m_Actor.m_vFlows) flow.Start();
  if (c.nOp == 3) m_Actor.m_vFlows[1].Pause();
  EXPECT_EQ(m_Actor.m_vFlows[0].Step(), 0);
  EXPECT_EQ(FlowCommandRecorder::Take(), c.bAborted ? "" : "B");
  std::vector<std::string> states;
  for (const cFlowInstance& flow : m_Actor.m_vFlows) states.push_back(StateOf(flow));
  EXPECT_EQ(states, c.states);
  EXPECT_EQ(m_Actor.m_bFlowDeleted, c.nOp == 4 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlowControl,
    testing::Values(ControlCase{"RestartItself", 0, 0, 0, true, {"R", "R", "R"}},
                    ControlCase{"EndItself", 1, 0, 0, true, {"-", "R", "R"}},
                    ControlCase{"PauseItself", 2, 0, 0, true, {"P", "R", "R"}},
                    ControlCase{"ResumeOthers", 3, 1, 0, false, {"R", "R", "R"}},
                    ControlCase{"DeleteItself", 4, 0, 0, true, {"D", "R", "R"}},
                    ControlCase{"StopItselfForGood", 5, 0, 0, true, {"G", "R", "R"}},
                    ControlCase{"EndOthers", 1, 1, 0, false, {"R", "-", "-"}},
                    ControlCase{"PauseById", 2, 2, 2, false, {"R", "P", "P"}},
                    ControlCase{"EndByOwnId", 1, 2, 1, true, {"-", "R", "R"}},
                    ControlCase{"NoFlowHasIdZero", 1, 2, 0, false, {"R", "R", "R"}},
                    ControlCase{"UnknownOperation", 9, 0, 0, false, {"R", "R", "R"}},
                    ControlCase{"UnknownTarget", 1, 3, 0, false, {"R", "R", "R"}}),
    [](const auto& info) { return std::string(info.param.name); });

sOverlayAnime OverlayOf(int nSerial) {
  sOverlayAnime overlay;
  overlay.nSerial = nSerial;
  return overlay;
}

TEST_F(FlowTest, DeletionWaitsForTheEndOfTheFlowStep) {
  Build({FlowBuilder(TRIGGER_NONE).Group(3).Command(ControlCommand(4, 0)),
         FlowBuilder(TRIGGER_NONE).Command(CommandBuilder(CMD_STOP_MOVE).Time(1))});
  for (cFlowInstance& flow : m_Actor.m_vFlows) flow.Start();
  const int deletedSerial = m_Actor.m_vFlows[0].m_nSerial;
  const int keptSerial = m_Actor.m_vFlows[1].m_nSerial;
  m_Actor.m_Overlays = {OverlayOf(deletedSerial), OverlayOf(keptSerial)};

  EXPECT_EQ(m_Actor.StepFlows(false, true), 0);
  // Both flows were stepped; the deleted one is still there.
  ASSERT_EQ(m_Actor.m_vFlows.size(), 2u);
  EXPECT_EQ(FlowCommandRecorder::Take(), "A");
  EXPECT_EQ(m_Actor.m_vFlows[0].m_bDelete, 1);

  m_Actor.EndFlowStep();
  ASSERT_EQ(m_Actor.m_vFlows.size(), 1u);
  ASSERT_EQ(m_Actor.m_Chara.m_vFlow.size(), 1u);
  const cFlowInstance& kept = m_Actor.m_vFlows[0];
  EXPECT_EQ(kept.m_nSerial, keptSerial);
  EXPECT_EQ(kept.m_nIndex, 0);
  EXPECT_EQ(kept.m_pFlow, &m_Actor.m_Chara.m_vFlow[0]);
  EXPECT_EQ(kept.m_vCommands[0].m_pCommand, &m_Actor.m_Chara.m_vFlow[0].m_vCommand[0]);
  ASSERT_EQ(m_Actor.m_Overlays.size(), 1u);
  EXPECT_EQ(m_Actor.m_Overlays.front().nSerial, keptSerial);
  EXPECT_EQ(m_Actor.m_bFlowDeleted, 0);
  // The deleted flow's group was freed as it stopped.
  EXPECT_EQ(m_Actor.m_vGroupStopped[3], 0);
  EXPECT_EQ(m_Actor.m_bGroupStopped, 0);
}

TEST_F(FlowTest, RemovingByIdExaminesTheMovedUpFlowAgain) {
  Build({FlowBuilder(TRIGGER_NONE).Id(1).Command(CommandBuilder(CMD_WAIT)),
         FlowBuilder(TRIGGER_NONE).Id(2).Command(CommandBuilder(CMD_WAIT)),
         FlowBuilder(TRIGGER_NONE).Id(1).Command(CommandBuilder(CMD_WAIT)),
         FlowBuilder(TRIGGER_NONE).Id(1).Command(CommandBuilder(CMD_WAIT)),
         FlowBuilder(TRIGGER_NONE).Id(3).Command(CommandBuilder(CMD_WAIT))});
  EXPECT_EQ(m_Actor.RemoveFlowsById(1), 0);
  ASSERT_EQ(m_Actor.m_vFlows.size(), 2u);
  EXPECT_EQ(m_Actor.m_vFlows[0].m_pFlow->m_nId, 2);
  EXPECT_EQ(m_Actor.m_vFlows[1].m_pFlow->m_nId, 3);
  EXPECT_EQ(m_Actor.m_vFlows[1].m_nIndex, 1);
  EXPECT_EQ(m_Actor.RemoveFlowsById(7), -1);
  EXPECT_EQ(m_Actor.RemoveFlowsById(3), 1);
  m_Actor.m_Overlays = {OverlayOf(99)};
  EXPECT_EQ(m_Actor.RemoveFlowsById(0), 0);
  EXPECT_TRUE(m_Actor.m_vFlows.empty());
  EXPECT_TRUE(m_Actor.m_Chara.m_vFlow.empty());
  EXPECT_TRUE(m_Actor.m_Overlays.empty());
}

TEST_F(FlowTest, StepFlowsStopsEmptyFlowsAndEndsWhenTheActorDies) {
  Build({FlowBuilder(TRIGGER_NONE),
         FlowBuilder(TRIGGER_NONE).Command(CommandBuilder(CMD_STOP_MOVE).Time(1)),
         FlowBuilder(TRIGGER_DEATH).Command(CommandBuilder(CMD_STOP_MOVE).Time(1)),
         FlowBuilder(TRIGGER_NONE).Command(CommandBuilder(CMD_STOP_MOVE).Time(1))});
  for (cFlowInstance& flow : m_Actor.m_vFlows) flow.Start();
  m_Actor.m_vFlows[3].StopForGood(m_Actor);
  EXPECT_EQ(m_Actor.StepFlows(true, true), 0);  // only the death flow
  EXPECT_EQ(m_Actor.m_vFlows[0].m_bRunning, 0);
  EXPECT_EQ(FlowCommandRecorder::Take(), "A");
  m_Actor.m_nHp = 0;
  EXPECT_EQ(m_Actor.StepFlows(false, true), 1);  // ends after the first flow that is not a death flow
  EXPECT_EQ(FlowCommandRecorder::Take(), "A");
  m_Actor.m_nHp = 5;
  m_Actor.m_bVanish = 1;
  EXPECT_EQ(m_Actor.StepFlows(false, true), 1);
  EXPECT_EQ(m_Actor.StepFlows(false, false), 0);  // the hero does not vanish
}

TEST_F(FlowTest, LeadInRequestsStartOverlaysAtTheirStep) {
  cEdAnime anime;
  anime.m_vFrames.resize(3);
  for (cEdAnimeFrame& frame : anime.m_vFrames) frame.m_nDuration = 1;  // 6 frames each
  anime.m_vFrames[0].m_nImage = 10;
  anime.m_vFrames[1].m_nImage = 11;
  anime.m_vFrames[2].m_nImage = 12;
  anime.m_vFrames[2].m_bHold = 1;
  g_Database.m_vAnime.resize(2);
  g_Database.m_vAnime[1] = anime;
  m_Stage.RebuildDatabaseTables();
  cFlowInstance& flow = BuildTimed({{false, 20}});
  flow.m_vAnimeRequests = {ANIMEREQ{0, 1, 8, 4, 3, 1}, ANIMEREQ{2, 1, 0, 12, 1, 0}};
  flow.Start();
  m_Actor.StartAnimeRequests();
  ASSERT_EQ(m_Actor.m_Overlays.size(), 1u);
  sOverlayAnime& overlay = m_Actor.m_Overlays.front();
  EXPECT_EQ(overlay.nSerial, flow.m_nSerial);
  EXPECT_EQ(overlay.bPriority, 1);
  EXPECT_EQ(overlay.nDelay, 4);
  EXPECT_EQ(overlay.nValue, 3);
  // The 8 skipped frames overrun the first frame: the next step shows the
  // second frame from its start, whatever the overrun.
  EXPECT_EQ(overlay.m_Anime.GetFrame(), 10);
  EXPECT_EQ(overlay.m_Anime.Step(), 11);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(overlay.m_Anime.Step(), 11);
  EXPECT_EQ(overlay.m_Anime.Step(), 12);
  // The hold frame lasts 6 + 3 - 1 frames.
  for (int i = 0; i < 7; ++i) EXPECT_EQ(overlay.m_Anime.Step(), 12);
  EXPECT_EQ(overlay.m_Anime.Step(), ANIME_END);

  // Nothing due at step 1; the second request at step 2, not while paused.
  flow.m_nFrames = 1;
  m_Actor.StartAnimeRequests();
  EXPECT_EQ(m_Actor.m_Overlays.size(), 1u);
  flow.m_nFrames = 2;
  flow.Pause();
  m_Actor.StartAnimeRequests();
  EXPECT_EQ(m_Actor.m_Overlays.size(), 1u);
  flow.Resume();
  m_Actor.StartAnimeRequests();
  EXPECT_EQ(m_Actor.m_Overlays.size(), 2u);
}

TEST_F(FlowTest, AssignedFlowsPointIntoTheActorsOwnDefinition) {
  Build({FlowBuilder(TRIGGER_NONE).Id(4).Command(CommandBuilder(CMD_WAIT))});
  TestActor copy;
  copy.InitCommon(nullptr, 0, 0, 0);
  copy.m_Chara.m_vFlow = m_Actor.m_Chara.m_vFlow;
  copy.AssignFlows(m_Actor.m_vFlows);
  ASSERT_EQ(copy.m_vFlows.size(), 1u);
  EXPECT_EQ(copy.m_vFlows[0].m_pFlow, &copy.m_Chara.m_vFlow[0]);
  EXPECT_EQ(copy.m_vFlows[0].m_vCommands[0].m_pCommand, &copy.m_Chara.m_vFlow[0].m_vCommand[0]);
}

}  // namespace
