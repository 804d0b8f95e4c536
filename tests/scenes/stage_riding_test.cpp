// Block characters as moving pieces of the map: how a touch is classified
// (landing, ceiling, side), pushes, squeezes and burial, flying actors,
// and, while the stage plays, a hero that lands on a moving platform and
// rides it, and one that is crushed.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/definitions/flow.h"
#include "support/play_stage.h"

namespace {

class StageRidingTest : public PlayStageTest {
 protected:
  // A block character at a stage cell, moving at (vx, vy) this sub-step.
  cCharacter& Block(int column, int row, double vx = 0, double vy = 0) {
    cCharacter& block = AddCharacter(BlockCharacterDef(), column, row);
    block.m_dVX = vx;
    block.m_dVY = vy;
    return block;
  }
  // The hero's box was at (x, prevY) at the start of the sub-step and is
  // at (x, y) now, falling at vy.
  cPlayer& HeroMoved(double x, double prevY, double y, double vy) {
    cPlayer& hero = Hero();
    MoveTo(hero, x, prevY);
    hero.m_dY = y;
    hero.ConstrainY();
    hero.m_dVX = 0;
    hero.m_dVY = vy;
    return hero;
  }
};

TEST_F(StageRidingTest, AFastFallIntoTheTopHalfLandsASlowOneIsPushedAside) {
  struct Case {
    double vy;
    bool lands;
  };
  // d = 4: a fall faster than 2 / d = 0.5 pixels a sub-step lands.
  for (const Case& c : {Case{24, true}, Case{0.6, true}, Case{0.5, false}, Case{0.3, false}}) {
    m_Scene->SetStage(1, 0);
    cCharacter& platform = Block(8, 10);  // 576..607 x 640..671
    // From above the platform to 20 pixels into it: the hero's upper half
    // reaches the platform.
    cPlayer& hero = HeroMoved(Pixel(8), Pixel(10) - 34, Pixel(10) - 12, c.vy);
    EXPECT_EQ(Scene().CollideCharacters(hero), 0);
    if (c.lands) {
      EXPECT_DOUBLE_EQ(hero.m_dY, Pixel(10) - 32) << c.vy;
      EXPECT_EQ(hero.m_bOnCharacter, 1);
      EXPECT_EQ(hero.m_nRiddenId, platform.m_nId);
      EXPECT_DOUBLE_EQ(hero.m_dRiddenX, platform.m_dX);
      EXPECT_DOUBLE_EQ(hero.m_dVY, 0);
      EXPECT_EQ(hero.m_bRidden, 0) << "no character contact";
      EXPECT_EQ(platform.m_bRidden, 1) << "the platform knows its rider";
      EXPECT_EQ(platform.m_nRiderId, hero.m_nId);
    } else {
      EXPECT_DOUBLE_EQ(hero.m_dX, platform.m_dX - 32 - 0.5) << c.vy;
      EXPECT_EQ(hero.m_bHitRight, 1);
      EXPECT_EQ(hero.m_bRidden, 1) << "pushed by a block character";
      EXPECT_EQ(hero.m_bOnCharacter, 0);
    }
  }
}

TEST_F(StageRidingTest, SidePushesTakeTheActorOutUnlessBothSidesPush) {
  cPlayer& hero = Hero();
  // A block character moving left overlaps the hero's right edge by 4 pixels.
  MoveTo(hero, Pixel(8), Pixel(10));
  hero.m_dAccelX = 2;
  cCharacter& right = Block(9, 10, -2);
  right.m_dX -= 4;
  right.ConstrainX();
  EXPECT_EQ(Scene().CollideCharacters(hero), 0);
  EXPECT_DOUBLE_EQ(hero.m_dX, right.m_dX - 32 - 0.5);
  EXPECT_EQ(hero.m_bHitRight, 1);
  EXPECT_EQ(hero.m_bRidden, 1);
  EXPECT_EQ(hero.m_dAccelX, 0);

  // One on each side: neither pushes; the hero goes under the first one
  // over its upper half, but its corners were inside the two at the start
  // of the pass: it is crushed.
  MoveTo(hero, Pixel(8), Pixel(10));
  cCharacter& left = Block(7, 10);
  left.m_dX += 4;
  left.ConstrainX();
  EXPECT_EQ(Scene().CollideCharacters(hero), 2);
  EXPECT_DOUBLE_EQ(hero.m_dX, Pixel(8));
  EXPECT_DOUBLE_EQ(hero.m_dY, Pixel(11));
  EXPECT_EQ(hero.m_bHitLeft, 0);
  EXPECT_EQ(hero.m_bHitRight, 0);
}

TEST_F(StageRidingTest, StandingOnARisingPlatformUnderAFallingBlockCrushes) {
  cPlayer& hero = Hero();
  Block(8, 10, 0, -1);                               // rising under the feet
  cCharacter& falling = Block(8, 9, 0, 1);           // falling onto the head
  falling.m_dY = Pixel(10) - 32 + 1 - 32 + 2;        // its bottom 2 pixels into the hero
  falling.ConstrainY();
  MoveTo(hero, Pixel(8), Pixel(10) - 32 + 1);        // 1 pixel into the platform
  EXPECT_EQ(Scene().CollideCharacters(hero), 2);
  EXPECT_EQ(hero.m_bHitTop, 1);
  EXPECT_EQ(hero.m_bHitBottom, 1);

  // The same without the rising platform: the block above pushes the hero
  // down, and nothing holds it from below.
  m_Scene->SetStage(1, 0);
  cCharacter& above = Block(8, 9, 0, 1);
  above.m_dY = Pixel(10) - 32 + 1 - 32 + 2;
  above.ConstrainY();
  MoveTo(Hero(), Pixel(8), Pixel(10) - 32 + 1);
  EXPECT_EQ(Scene().CollideCharacters(Hero()), 0);
  EXPECT_DOUBLE_EQ(Hero().m_dY, above.m_dBottom + 1);
  EXPECT_EQ(Hero().m_bJumpBlocked, 1);
  EXPECT_DOUBLE_EQ(Hero().m_dVY, 1);
}

TEST_F(StageRidingTest, AnActorIsBuriedWhenEveryCornerIsInsideBlockCharactersNowOrBefore) {
  cPlayer& hero = Hero();
  MoveTo(hero, Pixel(8) + 10, Pixel(10) + 10);
  const double x = hero.m_dX, y = hero.m_dY, r = hero.m_dRight, b = hero.m_dBottom;
  EXPECT_EQ(Scene().IsBuriedInBlockCharacters(hero, x, y, r, b), 0);
  // Four block characters cover the four cells the box spans.
  cCharacter& a = Block(8, 10);
  Block(9, 10);
  Block(8, 11);
  cCharacter& d = Block(9, 11);
  EXPECT_EQ(Scene().IsBuriedInBlockCharacters(hero, x, y, r, b), 1);
  d.m_bDying = 1;
  EXPECT_EQ(Scene().IsBuriedInBlockCharacters(hero, x, y, r, b), 0) << "a corner is free";
  EXPECT_EQ(Scene().IsBuriedInBlockCharacters(hero, x - 10, y - 10, r - 10, b - 10), 1)
      << "that corner was covered at the start of the pass";
  d.m_bDying = 0;
  a.m_Chara.m_bBlockChara = 0;
  EXPECT_EQ(Scene().IsBuriedInBlockCharacters(hero, x, y, r, b), 0);
  a.m_Chara.m_bBlockChara = 1;
  // The contact pass crushes a buried actor.
  EXPECT_EQ(Scene().CollideCharacters(hero), 2);
  // An erased block character is gone from the passes.
  const auto node = std::find_if(Scene().m_CharacterList.begin(), Scene().m_CharacterList.end(),
                                 [&](const cCharacter& c) { return &c == &d; });
  Scene().EraseCharacter(node);
  MoveTo(hero, x, y);  // back where the pass had pushed it from
  EXPECT_EQ(Scene().IsBuriedInBlockCharacters(hero, x, y, r, b), 0);
}

TEST_F(StageRidingTest, FlyingActorsPassDieOrAreStoppedByVariant) {
  struct Case {
    int variant;
    int result;
  };
  for (const Case& c : {Case{0, 0}, Case{2, 2}, Case{1, 0}}) {
    m_Scene->SetStage(1, 0);
    cPlayer& hero = Hero();
    MoveTo(hero, Pixel(8), Pixel(10));
    hero.m_bFlying = 1;
    hero.m_nBlockMode = static_cast<std::uint8_t>(c.variant);
    hero.m_dVX = 1;
    cCharacter& block = Block(9, 10);
    block.m_dX -= 4;  // overlaps the right edge: a side contact
    block.ConstrainX();
    EXPECT_EQ(Scene().CollideCharacters(hero), c.result) << c.variant;
    EXPECT_DOUBLE_EQ(hero.m_dX, c.variant == 1 ? block.m_dX - 32 : Pixel(8)) << c.variant;
  }
}

TEST_F(StageRidingTest, ARiderStopsRidingWhenThePlatformDropsAwayMoreThanFivePixels) {
  cCharacter& platform = Block(8, 10);
  cPlayer& hero = HeroMoved(Pixel(8), Pixel(10) - 34, Pixel(10) - 30, 4);
  ASSERT_EQ(Scene().CollideCharacters(hero), 0);
  ASSERT_EQ(hero.m_bOnCharacter, 1);
  // The strip under the feet reaches 5 pixels below the bottom edge.
  for (double drop : {4.0, 5.0}) {
    platform.m_dY = Pixel(10) + drop;
    platform.ConstrainY();
    hero.m_bRidden = 0;
    EXPECT_EQ(Scene().CollideCharacters(hero), 0);
    EXPECT_EQ(hero.m_bOnCharacter, drop <= 4 ? 1 : 0) << drop;
    EXPECT_EQ(hero.m_bRidden, drop <= 4 ? 0 : 1) << drop;
  }
}

// Played frame by frame: a platform that flies right about 3 pixels every
// sub-step catches the hero settling onto it and carries it along.
TEST_F(StageRidingTest, TheHeroLandsOnAMovingPlatformAndRidesIt) {
  cEdChara def = BlockCharacterDef();
  def.m_nFlying = 1;  // flies through blocks
  cCharacter& platform = AddCharacter(def, 4, 11);
  platform.m_dAccelX = 3;
  cPlayer& hero = Hero();
  MoveTo(hero, Pixel(4), Pixel(10));  // standing on it as it starts
  for (int frame = 0; frame < 20 && !hero.m_bOnCharacter; ++frame) Scene().Play();
  ASSERT_EQ(hero.m_bOnCharacter, 1);
  EXPECT_EQ(hero.m_nRiddenId, platform.m_nId);
  EXPECT_DOUBLE_EQ(hero.m_dBottom, platform.m_dY - 1);

  const double offset = hero.m_dX - platform.m_dX;
  const double platformX = platform.m_dX;
  for (int frame = 0; frame < 5; ++frame) Scene().Play();
  EXPECT_GT(platform.m_dX - platformX, 5 * 4 * 2.0);
  EXPECT_DOUBLE_EQ(hero.m_dX - platform.m_dX, offset) << "carried as far as the platform went";
  EXPECT_DOUBLE_EQ(hero.m_dBottom, platform.m_dY - 1);
  EXPECT_EQ(hero.m_bOnCharacter, 1);
  EXPECT_EQ(hero.m_bDying, 0);
}

// Played frame by frame: a block coming down on the hero standing on the
// floor crushes it.
TEST_F(StageRidingTest, ABlockComingDownCrushesTheHeroOnTheFloor) {
  cEdChara def = BlockCharacterDef();
  def.m_nFlying = 1;
  cCharacter& block = AddCharacter(def, 3, 11);
  block.m_dAccelY = 1;
  cPlayer& hero = Hero();
  ASSERT_DOUBLE_EQ(hero.m_dY, Pixel(13));
  for (int frame = 0; frame < 30 && !hero.m_bDying; ++frame) Scene().Play();
  EXPECT_EQ(hero.m_bDying, 1);
  EXPECT_GE(block.m_dBottom, hero.m_dY);
  EXPECT_NE(std::find(m_Window.sounds.begin(), m_Window.sounds.end(), 8), m_Window.sounds.end());
}

}  // namespace
