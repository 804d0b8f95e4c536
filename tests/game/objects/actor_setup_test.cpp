#include <gtest/gtest.h>

#include <cmath>

#include "game/objects/actor.h"
#include "model/database/database.h"
#include "model/definitions/command.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

TEST(ActorSetUp, HeroTargetsItselfAndOthersTargetTheHero) {
  TestStage stage;
  TestActor hero;
  stage.m_pHero = &hero;
  hero.SetUp(CharaBuilder().Hero().Hp(30).Sp(4), 2, 2);
  EXPECT_EQ(hero.m_pTarget, &hero);
  EXPECT_EQ(hero.m_vTargetedBy, (std::vector<cActor*>{&hero}));
  EXPECT_EQ(hero.m_nHp, 30);
  EXPECT_EQ(hero.m_nSp, 4);
  TestActor other;
  other.SetUp(CharaBuilder(), 4, 2, 2);
  EXPECT_EQ(other.m_pTarget, &hero);
  EXPECT_EQ(hero.m_vTargetedBy, (std::vector<cActor*>{&hero, &other}));
  EXPECT_EQ(other.m_bFalling, 1);
  EXPECT_EQ(other.m_nWallSide, -1);
}

TEST(ActorSetUp, InertiaDecayAndSightFromTheDefinition) {
  TestStage stage({20, 15, 3});
  TestActor actor;
  CharaBuilder def;
  def.Get().m_nStop = 45;
  def.Get().m_nSight = 0xFE;  // -2 half-blocks as a signed byte
  actor.SetUp(def, 1, 1);
  EXPECT_DOUBLE_EQ(actor.m_dInertiaDecay, 45 * 0.01 / 9.0);
  EXPECT_EQ(actor.m_nSight, -32);
}

struct DurationCase {
  const char* name;
  int level, time, coef, linear;
  int frames;
};
class CommandDuration : public testing::TestWithParam<DurationCase> {};

TEST_P(CommandDuration, TenthsBecomeSubSteps) {
  const DurationCase& c = GetParam();
  TestStage stage({20, 15, c.level});
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, static_cast<std::int16_t>(c.linear));
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_WAIT).Time(c.time, c.coef))}, 0, false, 0);
  ASSERT_EQ(actor.m_vFlows.size(), 1u);
  EXPECT_EQ(actor.m_vFlows[0].m_vCommands[0].m_nTotalFrames, c.frames);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandDuration,
                         testing::Values(DurationCase{"OnePointFiveSeconds", 3, 15, 0, 0, 270},
                                         DurationCase{"WithLinearStep", 3, 15, 5, 2, 450},
                                         DurationCase{"Zero", 3, 0, 0, 0, 0},
                                         DurationCase{"HugeIsCapped", 9, 32767, 32767, 32767, 2147483647}),
                         [](const auto& info) { return std::string(info.param.name); });

cEdFlow NumberedFlow(int n) {
  FlowBuilder flow(TRIGGER_ALWAYS);
  flow.Command(CommandBuilder(CMD_WAIT).Time(n));
  return flow;
}

TEST(ActorFlows, InsertingKeepsIndexesAndSerials) {
  TestStage stage;
  TestActor actor;
  std::vector<cEdFlow> five;
  for (int i = 0; i < 5; ++i) five.push_back(NumberedFlow(i));
  actor.InitCommon(nullptr, 0, 0, 0);
  actor.BuildFlows(five, 0, false, 0);
  actor.BuildFlows({NumberedFlow(10), NumberedFlow(11)}, 0, true, 2);
  ASSERT_EQ(actor.m_vFlows.size(), 7u);
  const std::vector<int> serials = {0, 1, 5, 6, 2, 3, 4};
  const std::vector<int> times = {0, 1, 10, 11, 2, 3, 4};
  for (std::size_t i = 0; i < 7; ++i) {
    const cFlowInstance& inst = actor.m_vFlows[i];
    EXPECT_EQ(inst.m_nIndex, static_cast<int>(i));
    EXPECT_EQ(inst.m_nSerial, serials[i]) << i;
    EXPECT_EQ(inst.m_pFlow, &actor.m_Chara.m_vFlow[i]);
    EXPECT_EQ(inst.m_vCommands[0].m_pCommand, &actor.m_Chara.m_vFlow[i].m_vCommand[0]);
    EXPECT_EQ(inst.m_pFlow->m_vCommand[0].m_nTime, times[i]) << i;
  }
  actor.BuildFlows({NumberedFlow(12)}, 0, true, -1);
  EXPECT_EQ(actor.m_vFlows.back().m_nSerial, 7);
  EXPECT_EQ(actor.m_vFlows.back().m_nIndex, 7);
}

TEST(ActorFlows, EmptyDefinitionGivesNoInstances) {
  TestStage stage;
  TestActor actor;
  actor.SetUp(CharaBuilder(), 1, 1);
  actor.BuildFlows(actor.m_Chara.m_vFlow, 0, false, 0);
  EXPECT_TRUE(actor.m_vFlows.empty());
}

TEST(ActorFlows, StraightMoveAngleAndOffsetsMirrorForFacingRight) {
  TestStage stage({20, 15, 2});
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  CommandBuilder move(CMD_MOVE_STRAIGHT);
  move.Move().m_nAngle = 30;
  move.Move().m_bMirrorAngle = 1;
  move.Move().m_nPositionMode = 1;
  move.Move().m_nTargetCellX = 2;
  move.Move().m_nTargetDotX = 5;
  move.Move().m_nTargetCellY = 1;
  move.Move().m_nSpeed = 30;
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Command(move)}, 1, false, 0);
  const cCommandInstance& ci = actor.m_vFlows[0].m_vCommands[0];
  EXPECT_EQ(ci.m_nMoveAngle, 330);
  EXPECT_EQ(ci.m_nOffsetX, -69);
  EXPECT_EQ(ci.m_nOffsetY, 32);  // vertical mirror off by default
  EXPECT_DOUBLE_EQ(ci.m_dMoveSpeed, 30 * 0.1 / 2);
}

TEST(ActorFlows, TimingFromDistanceSetsSpeedOrDuration) {
  TestStage stage;
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  CommandBuilder bySpeed(CMD_MOVE_STRAIGHT);
  bySpeed.Time(10).Move().m_nTiming = 1;
  bySpeed.Move().m_nDistance = 6;  // half-blocks: 96 pixels over 60 sub-steps
  CommandBuilder byTime(CMD_MOVE_STRAIGHT);
  byTime.Move().m_nTiming = 2;
  byTime.Move().m_nDistance = 100;
  byTime.Move().m_nDistanceUnit = 1;
  byTime.Move().m_nSpeed = 30;  // 3 pixels per sub-step
  CommandBuilder zero(CMD_MOVE_STRAIGHT);
  zero.Move().m_nTiming = 1;
  zero.Move().m_nDistance = 2;
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Command(bySpeed).Command(byTime).Command(zero)}, 0, false, 0);
  const auto& commands = actor.m_vFlows[0].m_vCommands;
  EXPECT_DOUBLE_EQ(commands[0].m_dMoveSpeed, 96.0 / 60);
  EXPECT_EQ(commands[1].m_nTotalFrames, 33);
  EXPECT_DOUBLE_EQ(commands[2].m_dMoveSpeed, 32);  // no duration: one sub-step
}

TEST(ActorFlows, CircleOfNoDurationStaysFinite) {
  TestStage stage({20, 15, 2});
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  CommandBuilder circle(CMD_MOVE_CIRCLE);
  circle.Move().m_nAngle = 0;
  circle.Move().m_nDistance = 90;
  circle.Move().m_nRadius = 25;  // kept within 20 half-blocks
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Command(circle)}, 0, false, 0);
  const cCommandInstance& ci = actor.m_vFlows[0].m_vCommands[0];
  EXPECT_EQ(ci.m_nMoveRadius, 20 * 16 * 2);
  EXPECT_EQ(ci.m_nEndAngle, 180);
  EXPECT_TRUE(std::isfinite(ci.m_dMoveSpeed));
  EXPECT_DOUBLE_EQ(ci.m_dMoveSpeed, 180.0 / 1 / 2);
}

TEST(ActorFlows, CircleMirroredForFacingRightTurnsTheOtherWay) {
  TestStage stage;
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  CommandBuilder circle(CMD_MOVE_CIRCLE);
  circle.Time(10).Move().m_nDirection = 0;
  circle.Move().m_nAngle = 10;
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Command(circle)}, 1, false, 0);
  const cCommandInstance& ci = actor.m_vFlows[0].m_vCommands[0];
  EXPECT_EQ(ci.m_nMoveDir, 1);
  EXPECT_EQ(ci.m_nStartAngle, 190);
}

TEST(ActorFlows, JumpCommandTakesItsDurationFromTheHeight) {
  TestStage stage({20, 15, 1, 0.4});
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_JUMP).Param(2, 4).Time(99))}, 0, false, 0);
  const cCommandInstance& ci = actor.m_vFlows[0].m_vCommands[0];
  EXPECT_DOUBLE_EQ(ci.m_dMoveSpeed, actor.JumpSpeedForHbl(4));
  EXPECT_EQ(actor.m_Chara.m_vFlow[0].m_vCommand[0].m_nTime, actor.JumpTimeForHbl(4));
  EXPECT_EQ(ci.m_nTotalFrames, actor.JumpTimeForHbl(4) * 6);
}

// Lead-in: an animation of 3 tenths (18 frames) before its stop frame, b = 1.
TEST(ActorFlows, LeadInAnimationStartsEarlyOrSkipsWhatItCannotPlay) {
  TestStage stage;
  cEdAnime anime;
  anime.m_vFrames.resize(3);
  anime.m_vFrames[0].m_nDuration = 1;
  anime.m_vFrames[1].m_nDuration = 2;
  anime.m_vFrames[2].m_bHold = 1;
  g_Database.m_vAnime.resize(2);
  g_Database.m_vAnime[1] = anime;
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  actor.BuildFlows({FlowBuilder(TRIGGER_ALWAYS)
                        .Command(CommandBuilder(CMD_WAIT).Time(5))           // 30 sub-steps
                        .Command(CommandBuilder(CMD_WAIT).Time(1).NoWait())  // does not count
                        .Command(CommandBuilder(CMD_SWORD).Time(2).Anime(1)),
                    FlowBuilder(TRIGGER_ALWAYS)
                        .Command(CommandBuilder(CMD_WAIT).Time(1))  // 6 of 18 absorbed
                        .Command(CommandBuilder(CMD_WAIT).Time(0).Anime(1))},
                   0, false, 0);
  const auto& first = actor.m_vFlows[0].m_vAnimeRequests;
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].nStart, 30 - 18);
  EXPECT_EQ(first[0].nSkip, 0);
  EXPECT_EQ(first[0].nLength, 18);
  EXPECT_EQ(first[0].nHold, 12);
  EXPECT_EQ(first[0].bExtendHold, 0);  // a sword
  const auto& second = actor.m_vFlows[1].m_vAnimeRequests;
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].nStart, 0);
  EXPECT_EQ(second[0].nSkip, 12);
  EXPECT_EQ(second[0].nLength, 6);
  EXPECT_EQ(second[0].bExtendHold, 1);
}

TEST(ActorAnime, SetAnimeSetBuildsLoopingSequencesAndKeepsTheSequence) {
  TestStage stage;
  cEdAnimeSet set;
  set.m_vSlots.resize(2);
  set.m_vSlots[1].m_vFrames.resize(2);
  set.m_vSlots[1].m_vFrames[0].m_nImage = 4;
  set.m_vSlots[1].m_vFrames[0].m_nDuration = 1;
  set.m_vSlots[1].m_vFrames[1].m_nImage = 5;
  g_Database.m_vAnimeSet.push_back(set);
  const auto index = static_cast<std::int16_t>(g_Database.m_vAnimeSet.size() - 1);
  TestActor actor;
  actor.InitCommon(nullptr, 0, 0, 0);
  actor.SetAnimeSet(index, true);
  actor.m_Anime.Play(1, true);
  EXPECT_EQ(actor.m_Anime.GetFrame(), 4);
  for (int i = 0; i < 3; ++i) actor.m_Anime.Step();
  const int row = actor.m_Anime.Row();
  actor.SetAnimeSet(index, false);  // already in place: untouched
  EXPECT_EQ(actor.m_Anime.Row(), row);
  actor.SetAnimeSet(index, true);
  EXPECT_EQ(actor.m_Anime.Sequence(), 1);
  EXPECT_EQ(actor.m_Anime.Row(), 0);
  // A set with fewer animations falls back to the first.
  actor.m_Anime.Play(1, true);
  g_Database.m_vAnimeSet.push_back(cEdAnimeSet{});
  g_Database.m_vAnimeSet.back().m_vSlots.resize(1);
  actor.SetAnimeSet(static_cast<std::int16_t>(index + 1), true);
  EXPECT_EQ(actor.m_Anime.Sequence(), 0);
}

TEST(ActorCentre, SetCenterXMovesBySpriteCentreAndConstrains) {
  TestStage stage;
  TestActor actor;
  actor.SetUp(CharaBuilder(), 3, 3);
  actor.UpdateScreenRect();
  const double x = actor.m_dX;
  actor.SetCenterX(actor.CenterX());
  EXPECT_DOUBLE_EQ(actor.m_dX, x);
  actor.SetCenterX(actor.CenterX() + 10);
  EXPECT_DOUBLE_EQ(actor.m_dX, x + 10);
  EXPECT_DOUBLE_EQ(actor.m_dRight, x + 10 + 31);
  cCommandInstance inst;
  inst.m_dCmdVX = inst.m_dCmdVY = 3;
  actor.SetCenterStop(-100000, 0, &inst);
  EXPECT_DOUBLE_EQ(actor.m_dX, 0);  // clamped to the map
  EXPECT_DOUBLE_EQ(inst.m_dCmdVX, 0);
  EXPECT_DOUBLE_EQ(inst.m_dCmdVY, 0);
}

TEST(ActorCopy, CopyRelinksFlowsToItsOwnDefinitionAndDoesNotRegisterTheTarget) {
  TestStage stage;
  TestActor hero;
  stage.m_pHero = &hero;
  hero.SetUp(CharaBuilder().Hero(), 1, 1);
  TestActor original;
  original.SetUp(CharaBuilder().Flow(NumberedFlow(3)), 2, 2, 2);
  original.BuildFlows(original.m_Chara.m_vFlow, 0, false, 0);
  TestActor copy;
  copy.CopyActorFrom(original);
  EXPECT_EQ(copy.m_pTarget, &hero);
  EXPECT_EQ(hero.m_vTargetedBy.size(), 2u);  // the hero and the original
  ASSERT_EQ(copy.m_vFlows.size(), 1u);
  EXPECT_EQ(copy.m_vFlows[0].m_pFlow, &copy.m_Chara.m_vFlow[0]);
  EXPECT_EQ(copy.m_vFlows[0].m_vCommands[0].m_pCommand, &copy.m_Chara.m_vFlow[0].m_vCommand[0]);
}

}  // namespace
