// Who hits whom: shots against actors of other teams (invincibility, shot
// immunity, shots without damage, swords and piercing shots that hit once,
// vanishing shots), contact damage between teams, shots against shots by
// strength, deaths kept or erased, pick-ups once and at every touch; and,
// while the stage plays, a shot that kills an enemy and an item that
// clears the stage.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/definitions/item_command.h"
#include "model/settings/system_data.h"
#include "support/play_stage.h"

namespace {

class StageHitsTest : public PlayStageTest {
 protected:
  // A shot of the team whose hit box covers the box (l, t, r, b).
  cShot& ShotOver(int nTeam, int nPower, const sHitBox& target, int nId = 0) {
    cShot shot;
    shot.m_nId = nId;
    shot.m_nTeam = nTeam;
    shot.m_Shot.m_nPower = nPower;
    shot.m_HitBox.m_dLeft = target.m_dLeft;
    shot.m_HitBox.m_dTop = target.m_dTop;
    shot.m_HitBox.m_dRight = target.m_dRight;
    shot.m_HitBox.m_dBottom = target.m_dBottom;
    return Scene().AddShotToStage(shot);
  }
  int Hits() {
    Scene().m_nSubStep = 1;
    return Scene().CheckHits();
  }
  long Sounds(int n) const { return std::count(m_Window.sounds.begin(), m_Window.sounds.end(), n); }
  bool HasShot(const cShot* shot) {
    for (const cShot& s : Scene().m_ShotList)
      if (&s == shot) return true;
    return false;
  }
};

TEST_F(StageHitsTest, ShotsHitOtherTeamsOnlyWithoutInvincibilityOrImmunity) {
  struct Case {
    const char* what;
    int team, power;
    bool invincible;
    int immunity;
    bool sword, pierce;
    int hp;
    bool shotStays;
  };
  const Case cases[] = {
      {"hit", 0, 3, false, 0, false, false, 7, false},
      {"same team", 1, 3, false, 0, false, false, 10, true},
      {"invincible", 0, 3, true, 0, false, false, 10, true},
      {"shots pass through", 0, 3, false, 2, false, false, 10, true},
      {"no damage from shots", 0, 3, false, 1, false, false, 10, false},
      {"no damage", 0, 0, false, 0, false, false, 10, true},
      {"sword", 0, 3, false, 0, true, false, 7, true},
      {"piercing", 0, 3, false, 0, false, true, 7, true},
  };
  for (const Case& c : cases) {
    m_Scene->SetStage(1, 0);
    m_Window.sounds.clear();
    cCharacter& enemy = AddCharacter(CharacterDef(1, 10), 10, 12);
    if (c.invincible) enemy.m_nNoDamage = 5;
    enemy.m_Chara.m_nInvincible = static_cast<std::uint8_t>(c.immunity);
    cShot& shot = ShotOver(c.team, c.power, enemy.m_ShotBox);
    shot.m_bIsShot = c.sword ? 0 : 1;
    shot.m_Shot.m_bPierce = c.pierce ? 1 : 0;
    EXPECT_EQ(Hits(), 0) << c.what;
    EXPECT_EQ(enemy.m_nHp, c.hp) << c.what;
    EXPECT_EQ(HasShot(&shot), c.shotStays) << c.what;
    const bool hit = !c.shotStays || c.sword || c.pierce;
    EXPECT_EQ(Sounds(7), hit ? 1 : 0) << c.what;
    if (hit) {
      EXPECT_GT(enemy.m_nNoDamage, 0) << c.what;
    }
    if (hit && c.shotStays) {
      EXPECT_TRUE(shot.HasHit(enemy)) << c.what;
    }
  }
}

TEST_F(StageHitsTest, ASwordHitsEachActorOnceAVanishingShotEveryActorItOverlaps) {
  cCharacter& first = AddCharacter(CharacterDef(1, 10), 10, 12);
  cCharacter& second = AddCharacter(CharacterDef(1, 10), 10, 12);
  cShot& sword = ShotOver(0, 3, first.m_ShotBox);
  sword.m_bIsShot = 0;
  Hits();
  EXPECT_EQ(first.m_nHp, 7);
  EXPECT_EQ(second.m_nHp, 7);
  first.m_nNoDamage = second.m_nNoDamage = 0;
  Hits();
  EXPECT_EQ(first.m_nHp, 7) << "hit once in the sword's life";
  EXPECT_TRUE(HasShot(&sword));

  first.m_nNoDamage = second.m_nNoDamage = 0;
  cShot& shot = ShotOver(0, 2, first.m_ShotBox);
  Hits();
  EXPECT_EQ(first.m_nHp, 5);
  EXPECT_EQ(second.m_nHp, 5) << "the shot vanishes after the whole team list";
  EXPECT_FALSE(HasShot(&shot));
  EXPECT_EQ(Scene().m_vTeamShot[0].size(), 1u);
}

TEST_F(StageHitsTest, ContactHurtsBothSidesOnceWithOneSound) {
  cPlayer& hero = Hero();
  hero.m_Chara.m_nPower = 2;
  cEdChara def = CharacterDef(1, 10);
  def.m_nPower = 3;
  cCharacter& enemy = AddCharacter(def, 3, 13);  // on the hero
  const int heroHp = hero.m_nHp;
  EXPECT_EQ(Hits(), 0);
  EXPECT_EQ(hero.m_nHp, heroHp - 3);
  EXPECT_EQ(enemy.m_nHp, 8);
  EXPECT_EQ(Sounds(7), 1);
  EXPECT_TRUE(hero.IsInvincibleTo(enemy.m_nId));
  Hits();
  EXPECT_EQ(enemy.m_nHp, 8) << "not again while invincible to each other";

  // Same team, or a block character: no contact damage.
  MoveTo(enemy, Pixel(20), Pixel(13));
  cEdChara friendDef = def;
  friendDef.m_nTeam = 0;
  cCharacter& ally = AddCharacter(friendDef, 3, 13);
  cEdChara blockDef = BlockCharacterDef();
  blockDef.m_nPower = 3;
  blockDef.m_nTeam = 2;
  cCharacter& block = AddCharacter(blockDef, 3, 13);
  m_Window.sounds.clear();
  Hits();
  EXPECT_EQ(ally.m_nHp, 10);
  EXPECT_EQ(block.m_nHp, 10);
  EXPECT_EQ(Sounds(7), 0);
}

// Two shot-hit tests a frame at 4 sub-steps run in sub-steps 1 and 3
// (at 0 and 4 / 2 = 2, counted from 0); and in one sub-step the shot hits
// come before the contacts: a shot and the hero's touch reaching an enemy
// together, the shot's 3 counts and the no-damage time it starts keeps the
// touch's 2 off.
TEST_F(StageHitsTest, ShotsHitInTheScheduledSubStepsAndBeforeContacts) {
  g_LoadedStage.m_nHitCheckLevel = g_PlayStage.m_nHitCheckLevel = 2;
  for (int k = 1; k <= 4; ++k) {
    m_Scene->SetStage(1, 0);
    cCharacter& enemy = AddCharacter(CharacterDef(1, 10), 10, 12);
    ShotOver(0, 3, enemy.m_ShotBox);
    Scene().m_nSubStep = k;
    Scene().CheckHits();
    EXPECT_EQ(enemy.m_nHp, k == 1 || k == 3 ? 7 : 10) << "sub-step " << k;
  }

  m_Scene->SetStage(1, 0);
  Hero().m_Chara.m_nPower = 2;
  cCharacter& enemy = AddCharacter(CharacterDef(1, 10), 3, 13);  // on the hero
  ShotOver(0, 3, enemy.m_ShotBox);
  EXPECT_EQ(Hits(), 0);
  EXPECT_EQ(enemy.m_nHp, 7);
}

TEST_F(StageHitsTest, ShotsAgainstShotsByCancellingAndUnsignedStrength) {
  struct Case {
    bool cancelU, cancelW;
    int strengthU, strengthW;
    bool uStays, wStays;
  };
  const Case cases[] = {
      {true, true, 5, 5, false, false},  {true, true, 5, 3, true, false},   {true, true, 3, 5, false, true},
      {true, false, 5, 9, false, true},  {false, true, 5, 1, true, false},  {false, false, 5, 5, true, true},
      {true, true, 200, 100, true, false},  // strengths are unsigned bytes
  };
  for (const Case& c : cases) {
    m_Scene->SetStage(1, 0);
    sHitBox box;
    box.m_dLeft = Pixel(20);
    box.m_dTop = Pixel(3);
    box.m_dRight = Pixel(20) + 15;
    box.m_dBottom = Pixel(3) + 15;
    cShot& u = ShotOver(0, 1, box, 1);
    box.m_dLeft += 15;  // touching edges meet
    box.m_dRight += 15;
    cShot& w = ShotOver(1, 1, box, 2);
    u.m_Shot.m_bHitShots = c.cancelU;
    w.m_Shot.m_bHitShots = c.cancelW;
    u.m_Shot.m_nShotStrength = static_cast<std::uint8_t>(c.strengthU);
    w.m_Shot.m_nShotStrength = static_cast<std::uint8_t>(c.strengthW);
    EXPECT_EQ(Hits(), 0);
    EXPECT_EQ(HasShot(&u), c.uStays) << c.cancelU << c.cancelW << " " << c.strengthU << " " << c.strengthW;
    EXPECT_EQ(HasShot(&w), c.wStays) << c.cancelU << c.cancelW << " " << c.strengthU << " " << c.strengthW;
    EXPECT_EQ(Scene().m_vTeamShot[0].size() + Scene().m_vTeamShot[1].size(), Scene().m_ShotList.size());
  }
}

TEST_F(StageHitsTest, AKilledCharacterKeptDyingIsNotHitOrKilledAgain) {
  g_SystemData.m_bKeepDeadCharas = 1;
  cCharacter& enemy = AddCharacter(CharacterDef(1, 3), 10, 12);
  ShotOver(0, 5, enemy.m_ShotBox);
  EXPECT_EQ(Hits(), 0);
  EXPECT_EQ(Sounds(9), 1);
  EXPECT_EQ(enemy.m_bDying, 1);
  cShot& next = ShotOver(0, 5, enemy.m_ShotBox);
  Hits();
  EXPECT_TRUE(HasShot(&next)) << "a dying character is not hit";
  EXPECT_EQ(Scene().CheckDeaths(), 0);
  EXPECT_EQ(Scene().CheckDeaths(), 0);
  EXPECT_EQ(Sounds(9), 1) << "nor killed again";
  EXPECT_EQ(Scene().m_CharacterList.size(), 1u);

  // Without the switch the death check erases it with its links.
  g_SystemData.m_bKeepDeadCharas = 0;
  EXPECT_EQ(Scene().CheckDeaths(), 0);
  EXPECT_TRUE(Scene().m_CharacterList.empty());
  EXPECT_TRUE(Scene().m_vTeamCharacter[1].empty());
}

TEST_F(StageHitsTest, TheDeathCheckErasesVanishingCharactersAndKillsTheHero) {
  cCharacter& gone = AddCharacter(CharacterDef(1), 10, 12);
  gone.m_bVanish = 1;
  Scene().m_bCheckDeaths = 1;
  EXPECT_EQ(Scene().CheckDeaths(), 0);
  EXPECT_TRUE(Scene().m_CharacterList.empty());
  EXPECT_EQ(Scene().m_bCheckDeaths, 0);
  EXPECT_EQ(Sounds(9), 0) << "vanishing is not dying";

  Hero().m_nHp = 0;
  EXPECT_EQ(Scene().CheckDeaths(), 1);
  EXPECT_EQ(Sounds(8), 1);
  EXPECT_EQ(Hero().m_bDying, 1);
  EXPECT_EQ(Scene().CheckDeaths(), 1);
  EXPECT_EQ(Sounds(8), 1) << "the dying hero does not die again";
}

// An item with the stage-clear command: its effect shows in the result 1.
cEdItem ClearingItem(int nPickup) {
  cEdItem item;
  item.m_nGraphicNo = 3;
  item.m_nPickup = static_cast<std::uint8_t>(nPickup);
  cEdCommand clear;
  clear.m_nKind = ICMD_STAGE_CLEAR;
  clear.m_vParam.assign(5, 0);
  item.m_vCommand.push_back(clear);
  return item;
}

TEST_F(StageHitsTest, ARepeatableItemActsOncePerTouchAOnceItemIsTakenAway) {
  const cEdItem def = ClearingItem(PICKUP_ALWAYS);
  cItem& item = Scene().m_ItemList.emplace_back();
  item.InitFromDefinition(1, &def, false);
  item.PlaceAtCell(3, 13);  // under the hero
  item.m_bAppeared = 1;
  cPlayer& hero = Hero();
  EXPECT_EQ(Scene().PickUpItems(hero), 1);
  EXPECT_EQ(Scene().PickUpItems(hero), 0) << "still touching";
  MoveTo(hero, Pixel(8), Pixel(13));
  EXPECT_EQ(Scene().PickUpItems(hero), 0);
  MoveTo(hero, Pixel(3), Pixel(13));
  EXPECT_EQ(Scene().PickUpItems(hero), 1) << "touched again";
  EXPECT_EQ(Scene().m_ItemList.size(), 1u);
  EXPECT_EQ(Scene().m_MessageList.size(), 2u) << "its graphic popped up each time";

  item.m_Item.m_nPickup = PICKUP_ONCE;
  MoveTo(hero, Pixel(8), Pixel(13));
  Scene().PickUpItems(hero);
  MoveTo(hero, Pixel(3), Pixel(13));
  EXPECT_EQ(Scene().PickUpItems(hero), 1);
  EXPECT_TRUE(Scene().m_ItemList.empty());
}

// Played frame by frame: a shot flying at an enemy kills it; an item under
// the hero clears the stage.
TEST_F(StageHitsTest, AShotKillsAnEnemyAndAnItemClearsTheStageWhileThePlayRuns) {
  cCharacter& enemy = AddCharacter(CharacterDef(1, 3), 8, 13);
  cShot shot;
  shot.m_nTeam = 0;
  shot.m_bFlying = 1;
  shot.m_Shot.m_nPower = 5;
  shot.m_Shot.m_bThroughBlocks = 1;
  shot.m_nWidth = shot.m_nHeight = 16;
  shot.m_HitBox.m_nWidth = shot.m_HitBox.m_nHeight = 16;
  shot.m_dBaseVX = 2;
  shot.m_dX = Pixel(5);
  shot.m_dY = Pixel(13) + 8;
  shot.ClampToStageX(2);
  shot.ClampToStageY(2);
  Scene().AddShotToStage(shot);
  for (int frame = 0; frame < 40 && Sounds(9) == 0; ++frame) Scene().Play();
  EXPECT_EQ(Sounds(9), 1);
  // Dying, or already gone once its death display ended.
  EXPECT_TRUE(Scene().m_CharacterList.empty() || (enemy.m_bDying && enemy.m_nHp == 0));
  EXPECT_TRUE(Scene().m_ShotList.empty()) << "the shot vanished with its hit";

  const cEdItem def = ClearingItem(PICKUP_ONCE);
  cItem& item = Scene().m_ItemList.emplace_back();
  item.InitFromDefinition(1, &def, false);
  item.PlaceAtCell(3, 13);
  item.m_bAppeared = 1;
  Scene().m_nState = STAGE_PLAY;
  Scene().Play();
  EXPECT_EQ(Scene().m_nState, STAGE_RESULT);
  EXPECT_TRUE(Scene().m_ItemList.empty());
}

}  // namespace
