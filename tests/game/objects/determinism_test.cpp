// Replays store only the seed and the input: stepping the same actors from
// the same seed must give the same state, bit for bit, frame after frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/random.h"
#include "game/objects/actor.h"
#include "game/objects/map_cell_run.h"
#include "model/database/database.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/state_digest.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

// A floor of solid blocks along stage row 10; five actors of different
// weights and impacts walking at each other, jumping at random, hurting
// each other on contact with a hit effect (two random draws each), and
// drawn every frame into a target that only records; some of them die.
struct ScriptRun {
  std::vector<std::uint64_t> digests;
  int hits = 0;  // contacts that hurt: the script must exercise the damage paths
  int deaths = 0;
};

ScriptRun RunScript(unsigned seed, int frames) {
  TestStage stage({30, 15, 3, 0.5});
  for (int column = 0; column < 30; ++column) stage.PutBlock(column, 10, TestStage::Solid());
  g_Database.m_vEffect.resize(2);
  g_Database.m_vEffect[1].m_vFrames.resize(3);
  cEdCharaEffect blink;
  blink.m_nKind = 6;
  blink.m_anParam[0] = 20;
  blink.m_anParam[1] = 3;
  g_Database.m_vCharaEffect.resize(2);
  g_Database.m_vCharaEffect[1] = blink;
  stage.RebuildDatabaseTables();
  g_LoadedStage.m_nCharaContactGuard = 10;
  g_LoadedStage.m_nCharaHitGuard = 4;
  SeedRandom(seed);

  std::vector<std::unique_ptr<TestActor>> actors;
  for (int i = 0; i < 5; ++i) {
    CharaBuilder def;
    def.Hp(12 + 4 * i).Power(3 + i).Impact(2 * i - 4, i).Defense(i % 2);
    def.Get().m_nEffect = 1;
    def.Get().m_nCharaEffect = i == 2 ? 1 : 0;
    auto actor = std::make_unique<TestActor>();
    actor->SetUp(def, 3 + 5 * i, 8, i + 1);
    actors.push_back(std::move(actor));
  }
  RecordingDrawTarget target;
  ScriptRun run;
  const int b = g_LoadedStage.m_nSubSteps;
  for (int frame = 0; frame < frames; ++frame) {
    for (int step = 0; step < b; ++step) {
      for (auto& actor : actors) {
        actor->TickInvincibility();
        actor->ClearBlockContacts();
        actor->SavePosition();
      }
      for (auto& actor : actors) {
        // The actors' scripted flow: walk toward the middle, jump at random.
        const int roll = Random();
        actor->m_dVX = (actor->m_dX < 960 ? 1.0 : -1.0) * (0.5 + (roll % 7) * 0.1) / b;
        if (!actor->m_bJumping && !actor->m_bFalling && roll % 97 == 0) {
          actor->m_dVY = actor->JumpSpeedForHbl(3);
          actor->m_bJumping = actor->m_bInAir = 1;
        }
        actor->m_dVX += actor->m_dImpactVX;
        actor->StepX(2);
        actor->ApplyGravity();
        actor->ApplyImpactY();
        actor->StepY(2);
        cMapCell& below = stage.MapCell(actor->m_nCellLeft, actor->m_nCellBottom);
        actor->m_pFloorCell = &below;
        if (actor->m_dVY >= 0 && GetCollision(below, actor->m_nTeam)) actor->LandOnBlock();
        actor->DecayImpactX();
        actor->DecayImpactY();
      }
      for (auto& victim : actors) {
        for (auto& attacker : actors) {
          if (victim == attacker || victim->m_bDying || attacker->m_bDying) continue;
          if (!victim->OverlapsRect(attacker->m_dX, attacker->m_dY, attacker->m_dRight, attacker->m_dBottom)) continue;
          if (victim->IsInvincibleTo(attacker->m_nId)) continue;
          const bool dead = victim->TakeContactDamage(*attacker);
          victim->StartInvincibilityFrom(attacker->m_nId);
          ++run.hits;
          if (dead && victim->Die() == 0) ++run.deaths;
        }
      }
    }
    for (auto& actor : actors) {
      if (actor->m_bDying) {
        actor->DrawDying(target, kBackBuffer, false);
      } else {
        actor->Draw(target, kBackBuffer, false);
        actor->DrawHpGauge(target, kBackBuffer);
      }
    }
    for (auto it = stage.m_EffectList.begin(); it != stage.m_EffectList.end();) {
      if (it->Draw(target, kBackBuffer, stage.m_ScrollX.m_dPos, stage.m_ScrollY.m_dPos, false)) {
        it = stage.m_EffectList.erase(it);
      } else {
        ++it;
      }
    }
    StateDigest digest;
    for (const auto& actor : actors) {
      for (double v : {actor->m_dX, actor->m_dY, actor->m_dVX, actor->m_dVY, actor->m_dImpactVX, actor->m_dImpactVY,
                       actor->m_HpGauge.dChange, actor->m_CharaEffect.dValue}) {
        digest.Add(v);
      }
      digest.Add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(actor->m_nHp)));
      digest.Add(static_cast<std::uint64_t>(actor->m_bDying));
    }
    digest.Add(static_cast<std::uint64_t>(RandomState()));
    digest.Add(static_cast<std::uint64_t>(stage.m_EffectList.size()));
    digest.Add(static_cast<std::uint64_t>(target.m_vCalls.size()));
    target.m_vCalls.clear();
    run.digests.push_back(digest.Value());
  }
  return run;
}

TEST(Determinism, SameSeedGivesTheSameStateEveryFrame) {
  const auto firstRun = RunScript(12345, 240);
  const auto secondRun = RunScript(12345, 240);
  EXPECT_GT(firstRun.hits, 5);
  EXPECT_GT(firstRun.deaths, 0);
  const auto& first = firstRun.digests;
  const auto& second = secondRun.digests;
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t frame = 0; frame < first.size(); ++frame) ASSERT_EQ(first[frame], second[frame]) << frame;
}

TEST(Determinism, AnotherSeedGivesAnotherRun) {
  EXPECT_NE(RunScript(1, 120).digests, RunScript(2, 120).digests);
}

}  // namespace
