// A small stage built in code, played by the hero from a scripted input:
// the hero walks and jumps over a floor, touches two characters (a walker
// that patrols and carries an item, and a flyer that homes in on the hero
// and rolls a die in its flow), takes items lying on the floor and the
// walker's drop, and is drawn every frame. Played twice from the same seed
// the per-frame digests of the whole state are the same; from another seed
// they part where the random draws show.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <list>
#include <memory>
#include <vector>

#include "base/random.h"
#include "game/objects/character.h"
#include "game/objects/item.h"
#include "game/objects/player.h"
#include "model/database/database.h"
#include "model/definitions/flow.h"
#include "model/definitions/move.h"
#include "support/condition_builders.h"
#include "support/definition_builders.h"
#include "support/floor_pass.h"
#include "support/key_log_feeder.h"
#include "support/recording_draw_target.h"
#include "support/state_digest.h"
#include "support/test_hero.h"
#include "support/test_stage.h"

namespace {

constexpr int kFloorRow = 12;
constexpr std::uint16_t kLeft = 1, kRight = 2, kJump = 1;

// The stage answers an item taken (or dropped to the hero) by healing the
// hero by 5 and counting the item's id into stage variable 2.
class HeroStage : public TestStage {
 public:
  // The characters' boxes of a new stage (the hero's come with TestHero).
  HeroStage() : TestStage({40, 15, 2, 0.4}) {
    cEdStage& s = g_LoadedStage;
    s.m_nCharaSizeW = 16, s.m_nCharaSizeH = 24, s.m_bCharaSizeBottom = 1;
    s.m_nCharaFlySizeW = 16, s.m_nCharaFlySizeH = 16, s.m_bCharaFlySizeBottom = 0;
    s.m_nCharaBox1W = 12, s.m_nCharaBox1H = 24, s.m_bCharaBox1Bottom = 1;
    s.m_nCharaFlyBox1W = 12, s.m_nCharaFlyBox1H = 16, s.m_bCharaFlyBox1Bottom = 0;
    s.m_nCharaBox2W = s.m_nCharaBox2H = 30;
    s.m_nItemBoxW = s.m_nItemBoxH = 28;
  }
  int ApplyItemEffect(cItem* pItem, cActor* pHero) override {
    if (!pItem || !pHero) return 0;
    ++m_nItemsApplied;
    pHero->AddHp(5, false, true);
    m_vStageVar[2] += pItem->m_nId;
    return 0;
  }
  int m_nItemsApplied = 0;
};

struct ScriptStep {
  int frames;
  std::uint16_t dir;
  std::uint16_t button;
};

// 300 frames.
const std::vector<ScriptStep> kScript = {
    {10, 0, 0},  {60, kRight, 0}, {25, kRight, kJump}, {5, 0, 0},      {3, 0, kJump},      {15, 0, 0},
    {40, kRight, 0}, {30, kRight, kJump}, {40, kLeft, 0}, {20, kLeft, kJump}, {10, 0, 0}, {42, kRight, 0},
};

cEdFlow KeyFlow(int nKey, const cEdCommand& command) {
  cEdFlow flow = FlowBuilder(TRIGGER_ALWAYS).Command(command);
  flow.m_bKeyRepeat = 1;
  flow.m_vKeyCondition.push_back(KeyConditionBuilder().Key(nKey, KEY_PRESSED).AnyHold());
  return flow;
}

CommandBuilder Walk(int nDirection, int nSpeed, int nTime) {
  CommandBuilder command(CMD_MOVE_STRAIGHT);
  command.Time(nTime);
  command.Move().m_nSpeed = static_cast<std::int16_t>(nSpeed);
  command.Move().m_nDirection = static_cast<std::uint8_t>(nDirection);
  return command;
}

cEdChara HeroDefinition() {
  CharaBuilder hero;
  hero.Hero().Hp(300).Power(4).Impact(1);
  hero.Flow(KeyFlow(KEY_RIGHT, Walk(MOVEDIR_RIGHT, 40, 1)));
  hero.Flow(KeyFlow(KEY_LEFT, Walk(MOVEDIR_LEFT, 40, 1)));
  hero.Flow(KeyFlow(KEY_BUTTON1, CommandBuilder(CMD_JUMP).Param(0, 1).Param(2, 3)));
  return hero.Get();
}

cEdChara WalkerDefinition() {
  CharaBuilder walker;
  walker.Hp(8).Power(3).Impact(2).Team(1);
  walker.Get().m_nEffect = 1;
  walker.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(Walk(MOVEDIR_LEFT, 15, 12)).Command(Walk(MOVEDIR_RIGHT, 15, 12)));
  return walker.Get();
}

cEdChara FlyerDefinition() {
  CharaBuilder flyer;
  flyer.Hp(20).Power(2).Impact(-1).Team(1).Flying(1);
  flyer.Get().m_nEffect = 1;
  CommandBuilder homing(CMD_MOVE_HOMING);
  homing.Time(3).Move().m_nSpeed = 12;
  homing.Move().m_nRadius = 3;
  cEdCommand dice = CommandBuilder(CMD_RUN_CODE);
  dice.m_strText = "S1 = (S1 % 100000) * 10 + rand(1, 6)";
  flyer.Flow(FlowBuilder(TRIGGER_ALWAYS).Command(homing).Command(CommandBuilder(CMD_WAIT).Time(2)).Command(dice));
  return flyer.Get();
}

struct PlayRun {
  std::vector<std::uint64_t> digests;
  int heroHits = 0;
  int characterHits = 0;
  int deaths = 0;
  int itemsApplied = 0;
  int dice = 0;  // the flyer's last six rolls, one decimal digit each
  double highestHeroTop = 1e9;
  double furthestHeroX = 0;
};

class HeroStagePlay {
 public:
  explicit HeroStagePlay(unsigned seed) {
    for (int column = 0; column < 40; ++column) m_Stage.PutBlock(column, kFloorRow, TestStage::Solid());
    g_Database.m_vEffect.resize(2);
    g_Database.m_vEffect[1].m_vFrames.resize(3);
    m_Stage.RebuildDatabaseTables();
    g_LoadedStage.m_nPlayerContactGuard = 30;
    g_LoadedStage.m_nCharaContactGuard = 20;
    g_LoadedStage.m_nShowPlayerBox1 = 2;  // the box displays count while drawn
    SeedRandom(seed);

    m_HeroDef = HeroDefinition();
    m_Hero.SetUp(m_HeroDef, 3, kFloorRow - 1, 1);
    FloorPass(m_Stage, hero());

    m_ItemDefs.resize(3);
    m_ItemDefs[0] = ItemBuilder().Graphic(3);
    m_ItemDefs[1] = ItemBuilder().Graphic(4);
    m_ItemDefs[1].m_nPickup = PICKUP_ALWAYS;
    m_ItemDefs[2] = ItemBuilder().Graphic(5);
    cItem drop;
    drop.InitFromDefinition(40, &m_ItemDefs[2], true);

    m_Walker.Init(2, &m_WalkerDef, &drop, 0, 0, 0);
    m_Walker.PlaceAtTile(14, kFloorRow - 1);
    m_Flyer.Init(3, &m_FlyerDef, nullptr, 0, 0, 0);
    m_Flyer.PlaceAtTile(18, kFloorRow - 6);

    int id = 10;
    for (const auto& [def, column] : {std::pair{0, 7}, std::pair{1, 10}, std::pair{0, 20}, std::pair{1, 30}}) {
      cItem& item = m_Stage.m_ItemList.emplace_back();
      item.InitFromDefinition(id++, &m_ItemDefs[static_cast<std::size_t>(def)], false);
      item.PlaceAtCell(column, kFloorRow - 1);
      item.m_bAppeared = 1;
    }
  }

  PlayRun Play() {
    PlayRun run;
    for (const ScriptStep& step : kScript) {
      for (int f = 0; f < step.frames; ++f) {
        m_Input.Hold(1, step.dir, step.button);
        Frame(run);
        run.digests.push_back(Digest());
        run.highestHeroTop = std::min(run.highestHeroTop, hero().m_dY);
        run.furthestHeroX = std::max(run.furthestHeroX, hero().m_dX);
      }
    }
    run.itemsApplied = m_Stage.m_nItemsApplied;
    run.dice = m_Stage.m_vStageVar[1];
    return run;
  }

 private:
  cPlayer& hero() { return m_Hero.m_Hero; }

  void StepActor(cActor& actor) {
    actor.TickInvincibility();
    actor.ClearBlockContacts();
    actor.SavePosition();
    actor.FireTrigger(TRIGGER_ALWAYS);
    actor.RunFlows(false);
    actor.MoveX();
    actor.ApplyGravity();
    actor.MoveY();
    FloorPass(m_Stage, actor);
    actor.DecayImpactX();
    actor.DecayImpactY();
  }

  void Contact(cActor& victim, cActor& attacker, int& hits, PlayRun& run) {
    const sHitBox& a = attacker.m_BodyBox;
    if (victim.m_bDying || attacker.m_bDying || victim.IsInvincibleTo(attacker.m_nId)) return;
    if (!victim.OverlapsRect(a.m_dLeft, a.m_dTop, a.m_dRight, a.m_dBottom)) return;
    ++hits;
    if (victim.TakeContactDamage(attacker) && victim.Die() == 0) ++run.deaths;
    victim.StartInvincibilityFrom(attacker.m_nId);
  }

  void PickUpItems() {
    cPlayer& h = hero();
    const sHitBox& box = h.m_ItemBox;
    for (auto it = m_Stage.m_ItemList.begin(); it != m_Stage.m_ItemList.end();) {
      cItem& item = *it;
      if (!item.OverlapsRect(box.m_dLeft, box.m_dTop, box.m_dRight, box.m_dBottom)) {
        if (item.m_Item.m_nPickup == PICKUP_ALWAYS) h.ForgetTouchedItem(&item);
        ++it;
        continue;
      }
      if (item.m_Item.m_nPickup == PICKUP_ALWAYS) {
        if (!h.IsItemUntouched(&item)) {
          ++it;
          continue;
        }
        h.m_TouchedItems.push_back(&item);
      }
      m_Stage.ApplyItemEffect(&item, &h);
      it = item.m_Item.m_nPickup == PICKUP_ONCE ? m_Stage.m_ItemList.erase(it) : std::next(it);
    }
  }

  void Frame(PlayRun& run) {
    const int b = g_LoadedStage.m_nSubSteps;
    cPlayer& h = hero();
    std::vector<cCharacter*> characters = {&m_Walker, &m_Flyer};
    h.ResetFlowFrameFlags();
    for (cCharacter* c : characters)
      if (!c->m_bDying) c->ResetFlowFrameFlags();
    for (int s = 1; s <= b; ++s) {
      m_Stage.m_nSubStep = s;
      m_Stage.m_vGroupSwitch.assign(60, 0);
      for (cCharacter* c : characters) {
        c->m_bAppeared = 1;
        c->m_bOnScreen = c->IsOnScreen();
        c->CheckInView(m_Stage.m_vGroupSwitch);
      }
      for (cCharacter* c : characters) c->m_bActive = !c->m_bDying && c->CheckActive(m_Stage.m_vGroupSwitch);
      h.StorePreviousFloor();
      h.StorePreviousFacing();
      StepActor(h);
      for (cCharacter* c : characters)
        if (c->m_bActive) StepActor(*c);
      for (cCharacter* c : characters) {
        Contact(h, *c, run.heroHits, run);
        Contact(*c, h, run.characterHits, run);
      }
      PickUpItems();
    }
    h.Draw(m_Target, kBackBuffer, false);
    for (cCharacter* c : characters) {
      if (c->m_bDying) {
        c->DrawDying(m_Target, kBackBuffer, false);
      } else {
        c->Draw(m_Target, kBackBuffer, false);
      }
    }
    for (cItem& item : m_Stage.m_ItemList) item.Draw(m_Target, kBackBuffer, false);
    for (auto it = m_Stage.m_EffectList.begin(); it != m_Stage.m_EffectList.end();) {
      const bool over = it->Draw(m_Target, kBackBuffer, m_Stage.m_ScrollX.m_dPos, m_Stage.m_ScrollY.m_dPos, false);
      it = over ? m_Stage.m_EffectList.erase(it) : std::next(it);
    }
  }

  std::uint64_t Digest() {
    StateDigest digest;
    for (const cActor* a : {static_cast<const cActor*>(&hero()), static_cast<const cActor*>(&m_Walker),
                            static_cast<const cActor*>(&m_Flyer)}) {
      for (double v : {a->m_dX, a->m_dY, a->m_dVX, a->m_dVY, a->m_dAccelX, a->m_dAccelY, a->m_dImpactVX,
                       a->m_dImpactVY}) {
        digest.Add(v);
      }
      for (int v : {a->m_nHp, a->m_bDying, a->m_nFacing, a->m_bInAir, a->m_bJumping, a->m_nNoDamage}) digest.AddInt(v);
      for (const cFlowInstance& flow : a->m_vFlows) digest.AddInt(flow.m_bRunning * 1000 + flow.m_nCurCommand);
    }
    const cPlayer& h = m_Hero.m_Hero;
    for (int v : {h.m_nJumpHold, h.m_bJumpReleased, static_cast<int>(h.m_TouchedItems.size())}) digest.AddInt(v);
    for (const sBoxDisplay& box : h.m_vBoxDisplays) digest.AddInt(box.nCounter);
    digest.Add(m_Stage.m_ScrollX.m_dPos);
    digest.Add(m_Stage.m_ScrollY.m_dPos);
    for (const cItem& item : m_Stage.m_ItemList) {
      digest.AddInt(item.m_nId);
      digest.Add(item.m_dX);
    }
    for (const cEffectPlay& effect : m_Stage.m_EffectList) {
      digest.Add(effect.dX);
      digest.Add(effect.dY);
    }
    for (int i = 1; i <= 2; ++i) digest.AddInt(m_Stage.m_vStageVar[static_cast<std::size_t>(i)]);
    digest.AddInt(RandomState());
    digest.AddInt(static_cast<std::int64_t>(m_Target.m_vCalls.size()));
    m_Target.m_vCalls.clear();
    return digest.Value();
  }

  HeroStage m_Stage;
  TestHero m_Hero{m_Stage};
  KeyLogFeeder m_Input;
  RecordingDrawTarget m_Target;
  cEdChara m_HeroDef;
  cEdChara m_WalkerDef = WalkerDefinition();
  cEdChara m_FlyerDef = FlyerDefinition();
  std::vector<cEdItem> m_ItemDefs;
  cCharacter m_Walker;
  cCharacter m_Flyer;
};

PlayRun PlayFromSeed(unsigned seed) {
  HeroStagePlay play(seed);
  return play.Play();
}

TEST(HeroStageDeterminism, TheSameSeedAndInputGiveTheSameStateEveryFrame) {
  const PlayRun first = PlayFromSeed(7);
  const PlayRun second = PlayFromSeed(7);
  ASSERT_EQ(first.digests.size(), 300u);
  for (std::size_t frame = 0; frame < first.digests.size(); ++frame) {
    ASSERT_EQ(first.digests[frame], second.digests[frame]) << "frame " << frame;
  }
  // The script reaches what the digest is meant to cover.
  EXPECT_GT(first.furthestHeroX, 320 + 20 * 32);  // walked past the middle of the stage
  EXPECT_LT(first.highestHeroTop, (kFloorRow + 10) * 32 - 24 - 40);  // jumped
  EXPECT_GT(first.heroHits, 0);
  EXPECT_GT(first.characterHits, 0);
  EXPECT_GE(first.itemsApplied, 3);
  EXPECT_GE(first.dice, 100000);  // six rolls and more
  std::printf("hero stage: %d hero hits, %d character hits, %d deaths, %d items, dice %d, final digest %016llx\n",
              first.heroHits, first.characterHits, first.deaths, first.itemsApplied, first.dice,
              static_cast<unsigned long long>(first.digests.back()));
}

TEST(HeroStageDeterminism, AnotherSeedRollsOtherDice) {
  const PlayRun first = PlayFromSeed(7);
  const PlayRun other = PlayFromSeed(8);
  EXPECT_NE(first.dice, other.dice);
  EXPECT_NE(first.digests.back(), other.digests.back());
}

}  // namespace
