#include <gtest/gtest.h>

#include "game/objects/actor.h"
#include "game/objects/shot.h"
#include "model/definitions/flow.h"
#include "model/user/save_data.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

class ActorDamage : public testing::Test {
 protected:
  TestStage stage;
  TestActor actor;
  void SetUp() override { actor.SetUp(CharaBuilder().Hp(100).Sp(50), 5, 5); }
};

TEST_F(ActorDamage, HealingIsCutToTheMaximumAndShowsTheGain) {
  actor.m_nHp = 90;
  EXPECT_FALSE(actor.AddHp(30, false, true));
  EXPECT_EQ(actor.m_nHp, 100);
  EXPECT_EQ(actor.m_HpGauge.nTime, 120);
  EXPECT_DOUBLE_EQ(actor.m_HpGauge.dChange, 5);  // a gain of 10 of 100
  EXPECT_EQ(actor.m_HpGauge.nLength, 50);
}

TEST_F(ActorDamage, LethalDamageReturnsDeadWithoutGauge) {
  actor.m_nHp = 90;
  EXPECT_TRUE(actor.AddHp(-200, false, true));
  EXPECT_EQ(actor.m_nHp, 0);
  EXPECT_EQ(actor.m_HpGauge.nTime, 0);
}

TEST_F(ActorDamage, InvincibleSettingIgnoresLossesUnlessForced) {
  actor.m_Chara.m_nInvincible = 1;
  EXPECT_FALSE(actor.AddHp(0, false, true));
  EXPECT_FALSE(actor.AddHp(-10, false, true));
  EXPECT_EQ(actor.m_nHp, 100);
  actor.AddHp(-10, true, true);
  EXPECT_EQ(actor.m_nHp, 90);
  actor.m_Chara.m_nInvincible = 0;
  actor.m_nHp = 0;
  EXPECT_TRUE(actor.AddHp(0, false, true));
}

// A loss of 20 of 100: value 40, lost part 10 pixels shrinking by 1/6 a
// frame for 60 frames, then 60 frames of the value alone.
TEST_F(ActorDamage, GaugeShrinksItsChangeThenHides) {
  actor.AddHp(-20, false, true);
  EXPECT_EQ(actor.m_HpGauge.nLength, 40);
  EXPECT_DOUBLE_EQ(actor.m_HpGauge.dChange, -10);
  cActor::StepGauge(actor.m_HpGauge);
  EXPECT_NEAR(actor.m_HpGauge.dChange, -10 + 1.0 / 6, 1e-12);
  for (int i = 1; i < 60; ++i) cActor::StepGauge(actor.m_HpGauge);
  EXPECT_EQ(actor.m_HpGauge.nTime, 60);
  EXPECT_NEAR(actor.m_HpGauge.dChange, 0, 1e-9);
  cActor::StepGauge(actor.m_HpGauge);
  EXPECT_DOUBLE_EQ(actor.m_HpGauge.dChange, 0);
  for (int i = 0; i < 59; ++i) cActor::StepGauge(actor.m_HpGauge);
  EXPECT_EQ(actor.m_HpGauge.nTime, 0);
}

TEST_F(ActorDamage, MaximumOfZeroShowsAnEmptyGauge) {
  actor.m_Chara.m_nMaxSP = 0;
  actor.AddSp(5, true);
  EXPECT_EQ(actor.m_nSp, 0);
  actor.m_Chara.m_nMaxHP = 0;
  actor.m_nHp = 5;
  actor.ShowHpGauge(-5);
  EXPECT_EQ(actor.m_HpGauge.nLength, 0);
  EXPECT_DOUBLE_EQ(actor.m_HpGauge.dChange, 0);
}

TEST_F(ActorDamage, SpIsClampedAndShown) {
  actor.m_nSp = 45;
  actor.AddSp(20, true);
  EXPECT_EQ(actor.m_nSp, 50);
  EXPECT_DOUBLE_EQ(actor.m_SpGauge.dChange, 5);
  actor.AddSp(-80, true);
  EXPECT_EQ(actor.m_nSp, 0);
}

TEST_F(ActorDamage, NoDamageTimesCountSubStepsPerAttacker) {
  TestStage twoSteps({20, 15, 2});
  g_LoadedStage.m_nCharaHitGuard = 3;
  g_LoadedStage.m_nCharaContactGuard = 5;
  actor.StartInvincibilityFrom(7);
  EXPECT_EQ(actor.m_nNoDamage, 6);
  for (int i = 0; i < 6; ++i) actor.TickInvincibility();
  EXPECT_FALSE(actor.IsInvincible());
  EXPECT_TRUE(actor.IsInvincibleTo(7));
  EXPECT_FALSE(actor.IsInvincibleTo(8));
  for (int i = 0; i < 4; ++i) actor.TickInvincibility();
  EXPECT_FALSE(actor.IsInvincibleTo(7));
  EXPECT_TRUE(actor.m_NoDamageFrom.empty());
}

struct ContactCase {
  const char* name;
  int power, defense, impact;
  int hp;
  std::vector<int> triggers;
};
class ContactDamage : public ActorDamage, public testing::WithParamInterface<ContactCase> {};

TEST_P(ContactDamage, DamageAndTriggers) {
  const ContactCase& c = GetParam();
  actor.m_Chara.m_nDefense = c.defense;
  actor.m_nHp = 50;
  TestActor attacker;
  attacker.SetUp(CharaBuilder().Power(c.power).Impact(c.impact), 4, 5, 2);
  attacker.m_dVX = 1;
  actor.TakeContactDamage(attacker);
  EXPECT_EQ(actor.m_nHp, c.hp);
  EXPECT_EQ(actor.m_vTriggers, c.triggers);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContactDamage,
    testing::Values(ContactCase{"PowerBelowDefence", 5, 8, 0, 50, {TRIGGER_DAMAGED}},
                    ContactCase{"ImpactOnly", 0, 0, 3, 50, {TRIGGER_IMPACT}},
                    ContactCase{"PowerLessDefence", 12, 2, 1, 40, {TRIGGER_DAMAGED, TRIGGER_IMPACT}},
                    ContactCase{"NegativePowerHeals", -7, 100, 0, 57, {TRIGGER_DAMAGED}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActorDamage, ShotDamageAppendsTheHitEffect) {
  cShot shot;
  shot.m_Shot = ShotBuilder().Power(30).Impact(2);
  shot.m_Shot.m_nHitEffect = 1;
  shot.m_dVX = 3;
  EXPECT_FALSE(actor.TakeShotDamage(shot));
  EXPECT_EQ(actor.m_nHp, 70);
  EXPECT_EQ(stage.m_EffectList.size(), 1u);
  EXPECT_GT(actor.m_dImpactVX, 0);
  EXPECT_EQ(actor.m_vTriggers, (std::vector<int>{TRIGGER_DAMAGED, TRIGGER_IMPACT}));
}

TEST_F(ActorDamage, DieRunsDeathFlowsScoresUnlinksAndStartsDying) {
  TestActor hunter;
  hunter.SetUp(CharaBuilder(), 2, 2, 2);
  hunter.SetTarget(&actor);
  cShot shot;
  shot.m_pShotTarget = &actor;
  actor.m_vShots.push_back(&shot);
  actor.m_Chara.m_nScore = 250;
  g_SaveData.m_nScore = 999900;
  EXPECT_EQ(actor.Die(), 0);
  EXPECT_EQ(actor.m_vTriggers, (std::vector<int>{TRIGGER_DEATH}));
  EXPECT_EQ(actor.m_vFlowRuns, (std::vector<bool>{true}));
  EXPECT_EQ(g_SaveData.m_nScore, 999999);
  EXPECT_EQ(hunter.m_pTarget, nullptr);
  EXPECT_TRUE(actor.m_vTargetedBy.empty());
  EXPECT_EQ(shot.m_pShotTarget, nullptr);
  EXPECT_TRUE(actor.m_vShots.empty());
  EXPECT_EQ(actor.m_bDying, 1);
}

TEST_F(ActorDamage, ScoreNeverFallsBelowZero) {
  actor.m_Chara.m_nScore = -500;
  g_SaveData.m_nScore = 100;
  actor.Die();
  EXPECT_EQ(g_SaveData.m_nScore, 0);
}

TEST_F(ActorDamage, DropItemThatEndsThePlayLeavesTheLinks) {
  TestActor hunter;
  hunter.SetUp(CharaBuilder(), 2, 2, 2);
  hunter.SetTarget(&actor);
  actor.m_pDropItem = reinterpret_cast<cItem*>(&hunter);  // only passed to the stage
  stage.m_nItemEffectResult = 1;
  EXPECT_EQ(actor.Die(), 1);
  EXPECT_EQ(hunter.m_pTarget, &actor);
  EXPECT_EQ(actor.m_bDying, 0);
  EXPECT_EQ(stage.m_vCalls, (std::vector<std::string>{"ApplyItemEffect"}));
}

TEST_F(ActorDamage, EndRequestMakesDieEndThePlay) {
  stage.m_nEndRequest = 1;
  EXPECT_EQ(actor.Die(), 1);
  EXPECT_EQ(actor.m_bDying, 0);
}

// An actor destroyed while others still point at it leaves no dangling link.
TEST(ActorLinks, DestroyedActorIsUnlinkedEverywhere) {
  TestStage stage;
  TestActor hunter;
  cShot shot;
  {
    TestActor prey;
    hunter.SetTarget(&prey);
    prey.SetTarget(&hunter);
    shot.m_pShotTarget = &prey;
    prey.m_vShots.push_back(&shot);
  }
  EXPECT_EQ(hunter.m_pTarget, nullptr);
  EXPECT_TRUE(hunter.m_vTargetedBy.empty());
  EXPECT_EQ(shot.m_pShotTarget, nullptr);
}

sOverlayAnime Overlay(int frame, int delay, int priority, int serial = 1) {
  sOverlayAnime o;
  o.m_Anime.Assign({{{frame, 1000, 0}}});
  o.nDelay = delay;
  o.bPriority = priority;
  o.nSerial = serial;
  return o;
}

TEST_F(ActorDamage, SingleNonPriorityOverlayIsShownEvenWhileDelayed) {
  actor.m_Overlays.push_back(Overlay(7, 5, 0));
  EXPECT_EQ(actor.UpdateAnimation(true), 7);
}

TEST_F(ActorDamage, PriorityOverlayWithSmallestDelayWins) {
  actor.m_Overlays.push_back(Overlay(7, 0, 0));
  actor.m_Overlays.push_back(Overlay(8, 3, 1));
  actor.m_Overlays.push_back(Overlay(9, 2, 1));
  EXPECT_EQ(actor.UpdateAnimation(true), 9);
  actor.m_Overlays.push_back(Overlay(10, 0, 1));
  EXPECT_EQ(actor.UpdateAnimation(true), 10);
}

TEST_F(ActorDamage, OverlayControlByFlowSerial) {
  actor.m_Overlays.push_back(Overlay(7, 0, 0, 1));   // 0 + 0 - 1 < 0: removed on pause
  actor.m_Overlays.push_back(Overlay(8, 4, 0, 1));
  actor.m_Overlays.push_back(Overlay(9, 0, 0, 2));
  actor.PauseOverlaysOfFlow(1);
  ASSERT_EQ(actor.m_Overlays.size(), 2u);
  EXPECT_EQ(actor.m_Overlays.front().bPaused, 1);
  actor.ResumeOverlaysOfFlow(1);
  EXPECT_EQ(actor.m_Overlays.front().bPaused, 0);
  actor.RemoveOverlaysOfFlow(1);
  ASSERT_EQ(actor.m_Overlays.size(), 1u);
  EXPECT_EQ(actor.m_Overlays.front().nSerial, 2);
}

}  // namespace
