#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/input_state.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "model/definitions/command.h"
#include "model/settings/system_data.h"
#include "support/definition_builders.h"
#include "support/flow_command_recorder.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

// An actor whose triggers start its flows.
class FlowActor : public TestActor {
 public:
  void FireTrigger(int nTrigger) override { cActor::FireTrigger(nTrigger); }
};

class TriggerTest : public testing::Test {
 protected:
  explicit TriggerTest(int nSubSteps = 1) : m_Stage({20, 15, nSubSteps}) {}
  ~TriggerTest() override {
    g_SystemData.m_bMultiStart = m_bSavedMultiStart;
    g_InputStates[0].ResetKeyLogs();
  }

  void Build(const std::vector<cEdFlow>& flows) {
    m_Actor.InitCommon(nullptr, 0, 0, 0);
    m_Actor.m_nHp = 10;
    m_Actor.BuildFlows(flows, 0, false, 0);
  }
  // One sub-step as the stage runs it for the actor: the always-trigger,
  // then the flow step.
  void RunSubStep() {
    m_Actor.FireTrigger(TRIGGER_ALWAYS);
    Step();
  }
  void Step() {
    m_Stage.m_pCurActor = &m_Actor;
    m_Actor.StepFlows(false, true);
    m_Stage.m_pCurActor = nullptr;
    m_Stage.m_pCurFlow = nullptr;
    m_Stage.m_pCurCommand = nullptr;
    m_Actor.EndFlowStep();
  }

  TestStage m_Stage;
  FlowActor m_Actor;
  FlowCommandRecorder m_Recorder{{CMD_STOP_MOVE, CMD_STATUS_OPERATION}};
  std::int32_t m_bSavedMultiStart = g_SystemData.m_bMultiStart;
};

class TwoSubStepTriggerTest : public TriggerTest {
 protected:
  TwoSubStepTriggerTest() : TriggerTest(2) {}
  // Which of the two flows run, after each sub-step of n display frames.
  std::string RunFrames(int nFrames) {
    std::string states;
    for (int frame = 0; frame < nFrames; ++frame) {
      m_Actor.ResetFlowFrameFlags();
      for (int sub = 0; sub < 2; ++sub) {
        RunSubStep();
        for (const cFlowInstance& flow : m_Actor.m_vFlows) states += flow.m_bRunning ? "R" : "-";
        states += sub == 0 ? " " : " | ";
      }
    }
    return states;
  }
};

TEST_F(TwoSubStepTriggerTest, AGroupsNextFlowStartsInTheFrameAfterTheLastStopped) {
  g_SystemData.m_bMultiStart = 0;
  Build({FlowBuilder(TRIGGER_ALWAYS).Group(2).Command(CommandBuilder(CMD_STOP_MOVE)),
         FlowBuilder(TRIGGER_ALWAYS).Group(2).Command(CommandBuilder(CMD_STOP_MOVE))});
  m_Actor.m_vFlows[0].m_vCommands[0].m_nTotalFrames = 3;
  m_Actor.m_vFlows[1].m_vCommands[0].m_nTotalFrames = 3;
  // The first starts; it stops in the second frame and starts again first
  // in the third.
  EXPECT_EQ(RunFrames(3), "R- R- | -- -- | R- R- | ");
  // Paused, it lets the second start in the frame after it stopped.
  RunFrames(1);
  m_Actor.m_vFlows[0].Pause();
  EXPECT_EQ(RunFrames(2), "-R -R | -- -- | ");
}

TEST_F(TwoSubStepTriggerTest, WithMultipleStartsTheGroupIsFreeForTheNextSubStep) {
  g_SystemData.m_bMultiStart = 1;
  Build({FlowBuilder(TRIGGER_ALWAYS).Group(2).Command(CommandBuilder(CMD_STOP_MOVE)),
         FlowBuilder(TRIGGER_ALWAYS).Group(2).Command(CommandBuilder(CMD_STOP_MOVE))});
  m_Actor.m_vFlows[0].m_vCommands[0].m_nTotalFrames = 3;
  m_Actor.m_vFlows[1].m_vCommands[0].m_nTotalFrames = 3;
  // Freed in the first sub-step of the second frame, the group takes the
  // earliest flow again in the second.
  EXPECT_EQ(RunFrames(2), "R- R- | -- R- | ");
}

// Conditions that fail in the first sub-step of a frame and hold in the second.
struct MultiStartCase {
  const char* name;
  int bMultiStart;
  int nStartSubStep;  // counted from 0 over two frames of two sub-steps
};

class MultiStart : public TwoSubStepTriggerTest, public testing::WithParamInterface<MultiStartCase> {};

TEST_P(MultiStart, ARefusedFlowIsTestedAgainInTheFrameOnlyWithMultipleStarts) {
  const MultiStartCase& c = GetParam();
  g_SystemData.m_bMultiStart = c.bMultiStart;
  Build({FlowBuilder(TRIGGER_ALWAYS).Conditioned().Command(CommandBuilder(CMD_STOP_MOVE).Time(5))});
  int started = -1;
  for (int subStep = 0; subStep < 4 && started < 0; ++subStep) {
    if (subStep % 2 == 0) m_Actor.ResetFlowFrameFlags();
    m_Stage.m_nConditionAnswer = subStep == 0 ? 0 : 1;
    RunSubStep();
    if (m_Actor.m_vFlows[0].m_bRunning) started = subStep;
  }
  EXPECT_EQ(started, c.nStartSubStep);
}

INSTANTIATE_TEST_SUITE_P(Cases, MultiStart,
                         testing::Values(MultiStartCase{"Off", 0, 2}, MultiStartCase{"On", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

class OncePerFrame : public TriggerTest, public testing::WithParamInterface<int> {};

TEST_P(OncePerFrame, AFlowStartsAtMostOncePerDisplayFrame) {
  g_SystemData.m_bMultiStart = GetParam();
  Build({FlowBuilder(TRIGGER_DAMAGED).Command(CommandBuilder(CMD_STOP_MOVE))});
  // Twice damaged in a frame: the flow of no duration runs once.
  m_Actor.ResetFlowFrameFlags();
  for (int hit = 0; hit < 2; ++hit) {
    m_Actor.FireTrigger(TRIGGER_DAMAGED);
    Step();
  }
  EXPECT_EQ(FlowCommandRecorder::Take(), "A");
  // A longer run is not restarted by damage in later frames.
  m_Actor.m_vFlows[0].m_vCommands[0].m_nTotalFrames = 5;
  m_Actor.ResetFlowFrameFlags();
  m_Actor.FireTrigger(TRIGGER_DAMAGED);
  Step();
  m_Actor.ResetFlowFrameFlags();
  m_Actor.FireTrigger(TRIGGER_DAMAGED);
  Step();
  EXPECT_EQ(m_Actor.m_vFlows[0].m_vCommands[0].m_nRemainFrames, 3);
}

INSTANTIATE_TEST_SUITE_P(MultiStartOffAndOn, OncePerFrame, testing::Values(0, 1));

TEST_F(TriggerTest, OnlyTheFiredTriggersFlowsStartWithTheKeyOfTheMoment) {
  Build({FlowBuilder(TRIGGER_HIT_SHOT).Command(CommandBuilder(CMD_STOP_MOVE).Time(1)),
         FlowBuilder(TRIGGER_DAMAGED).Command(CommandBuilder(CMD_STOP_MOVE).Time(1)),
         FlowBuilder(TRIGGER_NONE).Command(CommandBuilder(CMD_STOP_MOVE).Time(1))});
  g_InputStates[0].vecDirKeyLog[4][0].bPressed = 1;  // down
  g_InputStates[0].vecDirKeyLog[9][0].bPressed = 1;  // any direction
  m_Actor.ResetFlowFrameFlags();
  m_Actor.FireTrigger(TRIGGER_DAMAGED);
  EXPECT_EQ(m_Actor.m_vFlows[0].m_bRunning, 0);
  EXPECT_EQ(m_Actor.m_vFlows[1].m_bRunning, 1);
  EXPECT_EQ(m_Actor.m_vFlows[1].m_nTriggerKey, 4);
  EXPECT_EQ(m_Actor.m_vFlows[2].m_bRunning, 0);
  EXPECT_EQ(m_Stage.m_pCurActor, nullptr);
  m_Actor.FireTrigger(TRIGGER_HIT_SHOT);
  EXPECT_EQ(m_Actor.m_vFlows[0].m_bRunning, 1);
}

// Flows added into the list (an item's flow change, at a position or at the
// end) and removed from it: each fires on its own definition's trigger.
struct FlowListChange {
  const char* name;
  int nInsertAt;      // -1 appends
  int nRemoveAt = -1; // after the insertion; -1 removes none
};

class ChangedFlowList : public TriggerTest, public testing::WithParamInterface<FlowListChange> {};

TEST_P(ChangedFlowList, EachFlowFiresOnItsOwnTrigger) {
  const FlowListChange& c = GetParam();
  const auto flow = [](int nTrigger) { return FlowBuilder(nTrigger).Command(CommandBuilder(CMD_STOP_MOVE).Time(5)); };
  Build({flow(TRIGGER_DAMAGED), flow(TRIGGER_HIT_SHOT), flow(TRIGGER_DEATH)});
  m_Actor.BuildFlows({flow(TRIGGER_HIT_CHARACTER), flow(TRIGGER_HIT_ITEM)}, 0, true, c.nInsertAt);
  if (c.nRemoveAt >= 0) m_Actor.RemoveFlow(c.nRemoveAt);
  for (int trigger : {TRIGGER_DAMAGED, TRIGGER_HIT_SHOT, TRIGGER_DEATH, TRIGGER_HIT_CHARACTER, TRIGGER_HIT_ITEM}) {
    for (cFlowInstance& inst : m_Actor.m_vFlows) inst.Stop(m_Actor);
    m_Actor.ResetFlowFrameFlags();
    m_Actor.FireTrigger(trigger);
    for (const cFlowInstance& inst : m_Actor.m_vFlows)
      EXPECT_EQ(inst.m_bRunning, inst.m_pFlow->m_nTrigger == trigger ? 1 : 0) << "flow " << inst.m_nIndex << " trigger " << trigger;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangedFlowList,
                         testing::Values(FlowListChange{"InsertedFirst", 0}, FlowListChange{"InsertedBetween", 1},
                                         FlowListChange{"Appended", -1}, FlowListChange{"InsertedThenOneRemoved", 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TriggerTest, FlowsThatFailTheirConditionsDoNotStart) {
  Build({FlowBuilder(TRIGGER_DAMAGED).Conditioned().Command(CommandBuilder(CMD_STOP_MOVE).Time(1))});
  m_Stage.m_nConditionAnswer = 0;
  m_Actor.ResetFlowFrameFlags();
  m_Actor.FireTrigger(TRIGGER_DAMAGED);
  EXPECT_EQ(m_Actor.m_vFlows[0].m_bRunning, 0);
  EXPECT_EQ(m_Stage.m_nConditionEvaluations, 1);
}

TEST_F(TriggerTest, BeforeStageStartFlowsRunAtOnceWhenFired) {
  Build({FlowBuilder(TRIGGER_BEFORE_STAGE_START)
             .Command(CommandBuilder(CMD_STOP_MOVE).NoWait())
             .Command(CommandBuilder(CMD_STATUS_OPERATION).NoWait())
             .Command(CommandBuilder(CMD_STATUS_OPERATION).NoWait()),
         FlowBuilder(TRIGGER_BEFORE_STAGE_START)});
  m_Actor.FireTrigger(TRIGGER_BEFORE_STAGE_START);
  EXPECT_EQ(FlowCommandRecorder::Take(), "BC");
  EXPECT_EQ(m_Actor.m_vFlows[0].m_bRunning, 0);
  // A flow without commands stays running until the flow step stops it.
  EXPECT_EQ(m_Actor.m_vFlows[1].m_bRunning, 1);
  Step();
  EXPECT_EQ(m_Actor.m_vFlows[1].m_bRunning, 0);
  EXPECT_EQ(m_Stage.m_pCurFlow, nullptr);
}

}  // namespace
