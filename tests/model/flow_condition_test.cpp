// Flows, conditions and key conditions: old files, test-only flows and the
// stored form.
#include <gtest/gtest.h>

#include "model/definitions/flow.h"
#include "model/record/play_flags.h"
#include "model/record/record_json.h"
#include "support/byte_builder.h"
#include "support/fake_definition_context.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class FlowConditionTest : public testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_bTestPlay = 0;
  }
  void TearDown() override { g_bTestPlay = 0; }
};

struct FlowBytes {
  std::uint8_t id = 0, group = 0, testOnly = 0, conditionMode = 0, conditionOnce = 0, trigger = 0,
               keyTolerance = 0, keyRepeat = 0;
};

// A flow record without conditions, key conditions or commands.
ByteBuilder& AppendFlow(ByteBuilder& b, const FlowBytes& f) {
  b.U32(8).U8(f.id).U8(f.group).U8(f.testOnly).U8(f.conditionMode).U8(f.conditionOnce).U8(f.trigger);
  return b.U8(f.keyTolerance).U8(f.keyRepeat).U32(0).U32(0).U32(0).U32(0);
}

TEST_F(FlowConditionTest, TriggersAndGroupsOfOldFlows) {
  struct Case {
    std::uint32_t version;
    int trigger, group, loadedTrigger, loadedGroup;
  } cases[] = {
      {100, 11, 0, 14, 0},   // 11 -> 12 (version 131 or below) -> 14 (below 164)
      {100, 4, 3, 4, 0},     // only flows that run always kept groups
      {100, 0, 3, 0, 3},     //
      {131, 11, 0, 14, 0},   //
      {132, 11, 0, 13, 0},   //
      {162, 2, 4, 2, 0},     //
      {163, 2, 4, 2, 4},     //
      {163, 5, 0, 7, 0},     //
      {164, 5, 0, 5, 0},     //
      {100, 200, 0, 200, 0}, // compared as a signed byte: -56 is not shifted
  };
  for (const Case& c : cases) {
    ByteBuilder file;
    file.U32(c.version);
    AppendFlow(file, {.group = static_cast<std::uint8_t>(c.group), .trigger = static_cast<std::uint8_t>(c.trigger)});
    cEdFlow flow;
    std::string error;
    ASSERT_TRUE(flow.LoadBytes(file.Get(), &error)) << error;
    EXPECT_EQ(flow.m_nTrigger, c.loadedTrigger) << c.version << " trigger " << c.trigger;
    EXPECT_EQ(flow.m_nGroup, c.loadedGroup) << c.version << " trigger " << c.trigger;
  }
}

TEST_F(FlowConditionTest, ListFlowIsStoredInTwentyEightBytes) {
  cEdFlow flow = cEdFlow::ListElement();
  const Bytes bytes = flow.SaveBytes();
  ByteBuilder expected;
  expected.U32(DATA_VERSION);
  AppendFlow(expected, {.keyTolerance = 3});
  EXPECT_EQ(bytes, expected.Get());
  EXPECT_EQ(bytes.size(), 4u + 28u);
}

struct ConditionBytes {
  std::int8_t kind = 0;
  std::int32_t value = 0, randomMin = 0, randomMax = 0;
  std::int8_t target = 0, status = 0, leftKind = 0, leftVarKind = 0;
  std::int16_t varIndex = 0;
  std::int8_t operandKind = 0, operandTarget = 0, operandStatus = 0, operandVarKind = 0;
  std::int16_t operandVarIndex = 0;
  std::int8_t op = 0, percent = 0, distanceMode = 0;
};

// A condition file of version 110 or later.
Bytes ConditionFile(std::uint32_t version, const ConditionBytes& c) {
  ByteBuilder b;
  b.U32(version).U32(17).I8(c.kind).I32(c.value).I32(c.randomMin).I32(c.randomMax).I8(c.target).I8(c.status);
  b.I8(c.leftKind).I8(c.leftVarKind).I16(c.varIndex).I8(c.operandKind).I8(c.operandTarget);
  b.I8(c.operandStatus).I8(c.operandVarKind).I16(c.operandVarIndex).I8(c.op).I8(c.percent).I8(c.distanceMode);
  return b.U32(0).Get();
}

TEST_F(FlowConditionTest, ConditionKindsAndStatusesOfOldFiles) {
  struct Case {
    const char* what;
    std::uint32_t version;
    ConditionBytes stored;
    int kind, status, operandStatus, op;
  } cases[] = {
      {"distance moved to 7", 150, {.kind = 5}, 7, 0, 0, 0},
      {"status stays 4", 150, {.kind = 4}, 4, 0, 0, 0},
      {"distance is no status-2", 159, {.kind = 5, .status = 6}, 7, 6, 0, 0},
      {"on-block test negated", 160, {.kind = 6, .status = 2}, 6, 2, 0, 1},
      {"facing test kept", 160, {.kind = 6, .status = 1}, 6, 1, 0, 0},
      {"161 kept", 161, {.kind = 6, .status = 2}, 6, 2, 0, 0},
      {"defence and id inserted", 167, {.kind = 4, .status = 10}, 4, 12, 0, 0},
      {"below the insertions", 167, {.kind = 4, .status = 4}, 4, 4, 0, 0},
      {"system statuses", 167, {.kind = 4, .target = 2, .status = 10}, 4, 10, 0, 0},
      {"variable side", 167, {.kind = 4, .status = 10, .leftKind = 1}, 4, 10, 0, 0},
      {"operand status", 202,
       {.kind = 4, .status = 5, .operandKind = 2, .operandTarget = 1, .operandStatus = 7}, 4, 6, 8, 0},
      {"operand not a status", 202, {.kind = 4, .operandKind = 3, .operandStatus = 7}, 4, 0, 7, 0},
      {"203 kept", 203, {.kind = 4, .status = 5}, 4, 5, 0, 0},
      {"scroll sync inserted", 209, {.kind = 5, .status = 6}, 5, 7, 0, 0},
      {"system scroll switch", 209, {.kind = 5, .target = 2, .status = 6}, 5, 6, 0, 0},
      {"210 kept", 210, {.kind = 5, .status = 6}, 5, 6, 0, 0},
  };
  for (const Case& c : cases) {
    cEdCondition condition;
    std::string error;
    ASSERT_TRUE(condition.LoadBytes(ConditionFile(c.version, c.stored), &error)) << error;
    EXPECT_EQ(condition.m_nKind, c.kind) << c.what;
    EXPECT_EQ(condition.m_nStatus, c.status) << c.what;
    EXPECT_EQ(condition.m_nOperandStatus, c.operandStatus) << c.what;
    EXPECT_EQ(condition.m_nOperator, c.op) << c.what;
  }
}

TEST_F(FlowConditionTest, ConditionsBeforeVersion110DropTheirScratchValues) {
  ByteBuilder v100;
  v100.U32(100).U32(6).I8(5).I32(12).I16(-5).I16(-6).I8(1).I8(1).I8(3).U32(0);
  cEdCondition condition;
  ASSERT_TRUE(condition.LoadBytes(v100.Get()));
  EXPECT_EQ(condition.m_nKind, COND_DISTANCE);  // the distance condition was kind 5
  EXPECT_EQ(condition.m_nValue, 12);
  EXPECT_EQ(condition.m_nOperator, 1);
  EXPECT_EQ(condition.m_bPercent, 1);
  EXPECT_EQ(condition.m_nDistanceMode, 3);
  EXPECT_EQ(condition.m_nRandomMin, 0);
  EXPECT_EQ(condition.m_nRandomMax, 0);
  EXPECT_EQ(condition.m_nTarget, 0);
  EXPECT_EQ(condition.m_nVarIndex, 0);

  ByteBuilder v42;
  v42.U32(42).U32(5).I8(1).I32(-3).I16(8).I16(9).I8(2).I8(4).U32(0);
  cEdCondition old;
  ASSERT_TRUE(old.LoadBytes(v42.Get()));
  EXPECT_EQ(old.m_nKind, 1);
  EXPECT_EQ(old.m_nValue, -3);
  EXPECT_EQ(old.m_nOperator, 2);
  EXPECT_EQ(old.m_bPercent, 0);
  EXPECT_EQ(old.m_nDistanceMode, 4);
}

TEST_F(FlowConditionTest, KeyConditionsKeepTheirStoredLength) {
  EXPECT_EQ(cEdKeyCondition().m_vKeyState.size(), 19u);
  ByteBuilder file;
  file.U32(DATA_VERSION).U32(5).U8(1).I16(2).I16(30).U8(0).U8(2).U32(0).U32(10);
  for (int i = 0; i < 10; ++i) file.U8(static_cast<std::uint8_t>(i % 3));
  cEdKeyCondition key;
  ASSERT_TRUE(key.LoadBytes(file.Get()));
  EXPECT_EQ(key.m_vKeyState, (std::vector<std::uint8_t>{0, 1, 2, 0, 1, 2, 0, 1, 2, 0}));
  EXPECT_EQ(key.m_nHoldMax, 30);
  EXPECT_EQ(key.m_nKeyMode, 2);
  EXPECT_EQ(key.SaveBytes(), file.Get());
}

// A command whose flow list holds flows with the given test-only marks.
Bytes CommandWithFlows(std::initializer_list<int> testOnly) {
  ByteBuilder b;
  b.U32(DATA_VERSION).U32(8).U8(0).U8(0).I16(0).I16(0).U8(0).I16(0).U8(1).I16(0).U32(1).U32(1);
  b.U32(0).U32(0).U32(static_cast<std::uint32_t>(testOnly.size()));
  std::uint8_t id = 1;
  for (int t : testOnly) AppendFlow(b, {.id = id++, .testOnly = static_cast<std::uint8_t>(t)});
  return b.U32(0).Get();
}

std::vector<int> FlowIds(const cEdCommand& command) {
  std::vector<int> ids;
  for (const cEdFlow& flow : command.m_vFlow) ids.push_back(flow.m_nId);
  return ids;
}

TEST_F(FlowConditionTest, TestOnlyFlowsAreRemovedOutsideTestPlay) {
  const Bytes file = CommandWithFlows({0, 1, 1, 0, 1});
  cEdCommand command;
  ASSERT_TRUE(command.LoadBytes(file));
  EXPECT_EQ(FlowIds(command), (std::vector<int>{1, 4}));

  g_bTestPlay = 1;
  ASSERT_TRUE(command.LoadBytes(file));
  EXPECT_EQ(FlowIds(command), (std::vector<int>{1, 2, 3, 4, 5}));
  g_bTestPlay = 0;

  FakeDefinitionContext context;
  context.keepTestFlows = true;
  ASSERT_TRUE(command.LoadBytes(file));
  EXPECT_EQ(FlowIds(command), (std::vector<int>{1, 2, 3, 4, 5}));
}

// A flow with every kind of content, none of it at its default.
cEdFlow FilledFlow() {
  cEdFlow flow = cEdFlow::ListElement();
  flow.m_nId = 3;
  flow.m_nGroup = 2;
  flow.m_nConditionMode = 1;
  flow.m_bConditionOnce = 1;
  flow.m_nTrigger = TRIGGER_HIT_SHOT;
  flow.m_nKeyTolerance = 5;
  flow.m_bKeyRepeat = 1;
  cEdCondition condition;
  condition.m_nKind = COND_STATUS;
  condition.m_nValue = -70000;
  condition.m_nRandomMin = 3;
  condition.m_nRandomMax = 9;
  condition.m_nTarget = 1;
  condition.m_nStatus = 12;
  condition.m_nVarIndex = 300;
  condition.m_nOperandKind = 2;
  condition.m_nOperandVarIndex = -2;
  condition.m_nOperator = 4;
  condition.m_bPercent = 1;
  condition.m_nDistanceMode = 6;
  flow.m_vCondition = {condition, cEdCondition()};
  cEdKeyCondition key;
  key.m_vKeyState[2] = KEY_PRESSED;
  key.m_vKeyState[18] = KEY_RELEASED;
  key.m_nHoldMin = 4;
  key.m_nHoldMax = 400;
  key.m_bFacingRelative = 1;
  flow.m_vKeyCondition = {key};
  cEdCommand command;
  command.m_nKind = CMD_MESSAGE;
  command.m_strText = "こんにちは";
  command.m_vParam.assign(17, 7);
  command.m_nTime = 25;
  command.m_nTimeCoef = -3;
  command.m_bNoWait = 1;
  command.m_nSound = 2;
  command.m_bSoundOnScreen = 0;
  command.m_nAnime = 1;
  NewMove(command.m_pMove);
  command.m_pMove->m_nDistance = 99;
  command.m_pMove->m_dTurnFactor = 0.25;
  command.m_pShot = cEdShot::Create();
  command.m_pShot->m_nPower = 123456;
  command.m_pShot->m_anMoveParam[2] = -8;
  command.m_pShot->m_nImpact = -4;
  cEdFlow inner = cEdFlow::ListElement();
  inner.m_nTrigger = TRIGGER_NONE;
  command.m_vFlow = {inner};
  flow.m_vCommand = {command, cEdCommand()};
  return flow;
}

TEST_F(FlowConditionTest, SaveLoadSaveIsByteIdentical) {
  cEdFlow flow = FilledFlow();
  const Bytes first = flow.SaveBytes();
  cEdFlow loaded;
  std::string error;
  ASSERT_TRUE(loaded.LoadBytes(first, &error)) << error;
  EXPECT_EQ(loaded.SaveBytes(), first);
  ASSERT_EQ(loaded.m_vCommand.size(), 2u);
  EXPECT_EQ(loaded.m_vCommand[0].m_strText, "こんにちは");
  EXPECT_EQ(loaded.m_vCommand[0].m_pMove->m_dTurnFactor, 0.25);
  EXPECT_EQ(loaded.m_vCondition[0].m_nValue, -70000);
}

TEST_F(FlowConditionTest, PrintedFlowNamesEveryPart) {
  cEdFlow flow = FilledFlow();
  const std::string json = RecordToJson(flow);
  for (const char* name : {"m_vCondition", "m_vKeyState", "m_pMove", "m_dTurnFactor", "m_pShot", "m_nSummonIndex",
                           "m_vFlow", "m_vParam", "m_strText"}) {
    EXPECT_NE(json.find(name), std::string::npos) << name;
  }
}

TEST_F(FlowConditionTest, DamagedFlowFilesLeaveTheFlowUnchanged) {
  const Bytes whole = FilledFlow().SaveBytes();
  cEdFlow flow = cEdFlow::ListElement();
  flow.m_nId = 9;
  const Bytes before = flow.SaveBytes();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    std::string error;
    EXPECT_FALSE(flow.LoadBytes(cut, &error)) << size;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(flow.SaveBytes(), before);

  ByteBuilder hugeList;
  hugeList.U32(DATA_VERSION).U32(8).U32(0).U32(0).U32(0).U32(0xFFFFFFFF);
  EXPECT_FALSE(flow.LoadBytes(hugeList.Get()));
}

}  // namespace
