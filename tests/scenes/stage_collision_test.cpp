// Tile collision of the stage scene: which cell an edge or the hero's feet
// stand on, pushes out of solid cells by the edge arithmetic, deadly cells
// for the hero against characters, the fall delay, keeping the hero in a
// view that scrolls by itself, the blocked test of summons and warps, and
// a hero that falls onto the floor and walks into a wall while the stage
// plays.
#include <gtest/gtest.h>

#include <tuple>

#include "game/objects/map_cell_run.h"
#include "support/play_stage.h"

namespace {

class StageCollisionTest : public PlayStageTest {
 protected:
  cCharacter& Walker() { return AddCharacter(CharacterDef(1), 20, 5); }
  // The actor of a case: the hero, or a character.
  cActor& Actor(bool bHero) { return bHero ? static_cast<cActor&>(Hero()) : Walker(); }
};

TEST_F(StageCollisionTest, EdgeSamplesTakeTheLargestKindThenTheOneNearestTheMiddle) {
  struct Case {
    int scale;
    int kind5, kind6, kind7;
    int expectedColumn;
  };
  // A bottom edge from map pixel 496 (stage column 5) across 32 (scale 1)
  // or 64 pixels (scale 2: samples at 496, 527 and 558).
  for (const Case& c : {Case{1, 1, 1, 0, 5}, Case{1, 1, 2, 0, 6}, Case{1, 2, 1, 0, 5}, Case{1, 0, 1, 0, 6},
                        Case{2, 1, 1, 1, 6}, Case{2, 2, 1, 1, 5}, Case{2, 1, 1, 2, 7}}) {
    cEdChara def = CharacterDef(1);
    def.m_nScale = static_cast<std::uint8_t>(c.scale);
    cCharacter& chara = AddCharacter(def, 20, 2);
    ASSERT_EQ(chara.m_nWidth, 32 * c.scale);
    ASSERT_EQ(chara.m_nBaseWidth, 32);
    MoveTo(chara, 496, Pixel(7) - chara.m_nHeight + 8);
    Put(5, 7, c.kind5);
    Put(6, 7, c.kind6);
    Put(7, 7, c.kind7);
    const int bottom = static_cast<int>(chara.m_dBottom);
    cMapCell& cell = Scene().FindEdgeCell(chara, 496, bottom, static_cast<int>(chara.m_dRight), bottom);
    EXPECT_EQ(&cell, &Cell(c.expectedColumn, 7)) << c.scale << ": " << c.kind5 << c.kind6 << c.kind7;
  }
}

TEST_F(StageCollisionTest, AVerticalEdgeTakesTheFirstOfTheLargestKind) {
  cPlayer& hero = Hero();
  MoveTo(hero, Pixel(5) + 8, Pixel(6) + 16);  // the left edge in rows 6 and 7
  Put(5, 6, 1);
  Put(5, 7, 1);
  EXPECT_EQ(&Scene().FindEdgeCell(hero, Pixel(5) + 8, Pixel(6) + 16, Pixel(5) + 8, Pixel(6) + 47), &Cell(5, 6));
  Put(5, 7, 2);
  EXPECT_EQ(&Scene().FindEdgeCell(hero, Pixel(5) + 8, Pixel(6) + 16, Pixel(5) + 8, Pixel(6) + 47), &Cell(5, 7));
}

TEST_F(StageCollisionTest, TheHeroStandsOnTheCellUnderItsMiddleACharacterOnTheEdgeSample) {
  // Both over columns 5 (496..511) and 6 (512..527), floor cells of kind 1.
  Put(5, 7, 1);
  Put(6, 7, 1);
  cPlayer& hero = Hero();
  MoveTo(hero, 496, Pixel(7) - 32 + 3);
  EXPECT_EQ(Scene().CollideTilesY(hero), 0);
  EXPECT_EQ(hero.m_pFloorCell, &Cell(6, 7));
  EXPECT_EQ(hero.m_pLandedCell, &Cell(6, 7));
  EXPECT_DOUBLE_EQ(hero.m_dY, Pixel(7) - 32) << "the box ends on the cell edge";

  cCharacter& chara = Walker();
  MoveTo(chara, 496, Pixel(7) - 32 + 3);
  EXPECT_EQ(Scene().CollideTilesY(chara), 0);
  EXPECT_EQ(chara.m_pFloorCell, &Cell(5, 7));
}

TEST_F(StageCollisionTest, SidesPushOutByTheEdgeArithmetic) {
  struct Case {
    bool hero;
    int kind;
    int flying, variant;
    double x;  // map pixels
    int result;
    double expectedX;
    int contactLeft, contactRight;
  };
  // A wall in stage column 1 (352..383) and one in column 3 (416..447).
  const Case cases[] = {
      {true, 1, 0, 0, 381, 0, 384, 1, 0},   // entered by 3 pixels at stage x 61: pushed to 64
      {true, 1, 0, 0, 387, 0, 384, 0, 1},   // right edge at 418 (stage 98): back by (418 & 31) + 1
      {false, 1, 0, 0, 387, 0, 384, 0, 1},  //
      {true, 2, 0, 0, 381, 2, 381, 0, 0},   // the hero dies on a deadly cell
      {false, 2, 0, 0, 381, 0, 384, 1, 0},  // a character takes it as solid
      {true, 1, 1, 0, 381, 0, 381, 0, 0},   // flying through blocks
      {true, 1, 1, 1, 381, 0, 384, 1, 0},   // flying, stopped
      {true, 1, 1, 2, 381, 2, 381, 0, 0},   // flying, killed
      {false, 2, 1, 2, 381, 2, 381, 0, 0},
  };
  for (const Case& c : cases) {
    m_Scene->SetStage(1, 0);
    Put(1, 12, c.kind);
    Put(3, 12, c.kind);
    cActor& actor = Actor(c.hero);
    actor.m_bFlying = c.flying;
    actor.m_nBlockMode = static_cast<std::uint8_t>(c.variant);
    MoveTo(actor, c.x, Pixel(12));
    actor.m_dAccelX = 1;
    EXPECT_EQ(Scene().CollideTilesX(actor), c.result) << c.hero << c.kind << c.flying << c.variant << " " << c.x;
    EXPECT_DOUBLE_EQ(actor.m_dX, c.expectedX) << c.hero << c.kind << c.flying << c.variant << " " << c.x;
    EXPECT_EQ(actor.m_bHitLeft, c.contactLeft);
    EXPECT_EQ(actor.m_bHitRight, c.contactRight);
    if (c.contactLeft || c.contactRight) {
      EXPECT_EQ(actor.m_nWallSide, c.contactRight);
      EXPECT_EQ(actor.m_dAccelX, 0);
    }
  }
}

TEST_F(StageCollisionTest, FallingStartsAfterTheFallDelayUnlessTheHeroStandsOnACharacter) {
  const int delay = g_LoadedStage.m_nSubSteps8;
  ASSERT_EQ(delay, 32);
  for (int who = 0; who < 3; ++who) {
    cActor& actor = Actor(who != 1);
    MoveTo(actor, Pixel(20), Pixel(3));  // nothing below
    actor.m_bFalling = actor.m_bInAir = 0;
    actor.m_nFallCount = 0;
    actor.m_bOnCharacter = who == 2;
    for (int i = 1; i < delay; ++i) Scene().CollideTilesY(actor);
    EXPECT_EQ(actor.m_bFalling, 0) << who;
    EXPECT_EQ(actor.m_pFloorCell, nullptr);
    Scene().CollideTilesY(actor);
    EXPECT_EQ(actor.m_bFalling, who == 2 ? 0 : 1) << who;
    actor.m_bOnCharacter = 0;
  }
}

TEST_F(StageCollisionTest, TheRecheckLandsCharactersOnDeadlyCellsAndKillsTheHero) {
  Put(20, 8, 2);
  for (bool hero : {true, false}) {
    cActor& actor = Actor(hero);
    MoveTo(actor, Pixel(20), Pixel(8) - 30);
    EXPECT_EQ(Scene().RecheckTilesY(actor), hero ? 2 : 0) << hero;
    EXPECT_EQ(actor.m_pLandedCell, &Cell(20, 8));
    if (!hero) {
      EXPECT_DOUBLE_EQ(actor.m_dBottom, Pixel(8) - 1);
    }
  }
}

TEST_F(StageCollisionTest, AViewThatScrollsByItselfHoldsTheHeroAndAWalkerPushedOutBelowDies) {
  cPlayer& hero = Hero();
  cScrollAxis& axis = Scene().m_ScrollY;
  axis.m_bAuto = 1;
  const double top = axis.m_dPos;
  struct Case {
    int flying;
    double y;
    int result;
    double expectedY;
  };
  for (const Case& c : {Case{0, top + 470, 2, top + 480 - 32 - 1}, Case{1, top + 470, 0, top + 480 - 32 - 1},
                        Case{0, top - 5, 0, top}, Case{0, top + 200, 0, top + 200}}) {
    hero.m_bFlying = c.flying;
    hero.m_dY = c.y;
    hero.m_dBottom = c.y + 31;
    hero.ClearBlockContacts();
    EXPECT_EQ(Scene().KeepPlayerInViewY(hero), c.result) << c.flying << " " << c.y - top;
    EXPECT_DOUBLE_EQ(hero.m_dY, c.expectedY) << c.flying << " " << c.y - top;
  }
  hero.m_bFlying = 0;
  hero.m_dY = top + 200;
  hero.m_dBottom = top + 231;

  // Across: held at both edges, without a result.
  cScrollAxis& across = Scene().m_ScrollX;
  across.m_bAuto = 1;
  const double left = across.m_dPos;
  for (const auto& [x, expectedX, contactLeft] :
       {std::tuple{left - 3, left, 1}, std::tuple{left + 620, left + 640 - 32 - 1, 0}, std::tuple{left + 100, left + 100, 0}}) {
    hero.m_dX = x;
    hero.m_dRight = x + 31;
    hero.ClearBlockContacts();
    Scene().KeepPlayerInViewX(hero);
    EXPECT_DOUBLE_EQ(hero.m_dX, expectedX) << x - left;
    EXPECT_EQ(hero.m_bHitLeft, contactLeft) << x - left;
    EXPECT_EQ(hero.m_bHitRight, x - left == 620 ? 1 : 0) << x - left;
  }
  across.m_bAuto = 0;

  axis.m_bAuto = 0;
  hero.m_dY = top - 5;
  EXPECT_EQ(Scene().KeepPlayerInViewY(hero), 0);
  EXPECT_DOUBLE_EQ(hero.m_dY, top - 5) << "a view that follows the hero holds nothing";
}

TEST_F(StageCollisionTest, SummonsAndWarpsAreBlockedBySolidCellsAndBlockCharacters) {
  cCharacter& chara = Walker();
  MoveTo(chara, Pixel(20) + 4, Pixel(5) + 4);  // over columns 20, 21 and rows 5, 6
  EXPECT_EQ(Scene().IsCharacterBlocked(chara), 0);
  Put(21, 6, 1);
  EXPECT_EQ(Scene().IsCharacterBlocked(chara), 1);
  chara.m_bFlying = 1;
  chara.m_nBlockMode = 0;
  EXPECT_EQ(Scene().IsCharacterBlocked(chara), 0) << "it flies through blocks";
  chara.m_bFlying = 0;
  Put(21, 6, 0);

  cCharacter& block = AddCharacter(BlockCharacterDef(), 21, 6);
  EXPECT_EQ(Scene().IsCharacterBlocked(chara), 1);
  block.m_bDying = 1;
  EXPECT_EQ(Scene().IsCharacterBlocked(chara), 0) << "a dying block character holds nothing";
  block.m_bDying = 0;
  EXPECT_EQ(Scene().IsCharacterBlocked(block), 0) << "a block character does not block itself";
}

TEST_F(StageCollisionTest, ACellPastTheMapIsEmptyAndReportedOnce) {
  cCharacter& chara = Walker();
  EXPECT_EQ(GetCollision(Scene().CellAt(-1, 3), chara.m_nTeam), 0);
  EXPECT_EQ(GetCollision(Scene().CellAt(3, Scene().m_ScrollY.m_nPitch), chara.m_nTeam), 0);
  EXPECT_EQ(Scene().m_bOutsideCellReported, 1);
  m_Scene->SetStage(1, 0);
  EXPECT_EQ(Scene().m_bOutsideCellReported, 0) << "every start reports again";
  // Inside the map the cell is the map's own.
  EXPECT_EQ(&Scene().CellAt(12, 24), &Cell(2, 14));
}

// Played frame by frame: the hero drops from the air onto the floor, where
// the landing snaps its box to end on the floor's top edge, and then walks
// into a wall.
TEST_F(StageCollisionTest, TheHeroFallsOntoTheFloorAndWalksIntoAWall) {
  cPlayer& hero = Hero();
  const double start = Pixel(9) + 5;  // 4 rows and 5 pixels above its place on the floor
  MoveTo(hero, Pixel(3), start);
  hero.m_dVY = 0;
  // The arithmetic of the fall: per sub-step gravity, then the move; once
  // the bottom edge is in the floor's row, y goes up by (bottom & 31) + 1.
  const double g = g_LoadedStage.m_dGravityStep;
  double y = start, vy = 0;
  int landings = 0;
  const int frames = 40;
  for (int step = 0; step < frames * g_LoadedStage.m_nSubSteps; ++step) {
    vy += g;
    y += vy;
    const int bottom = static_cast<int>(y + 31);
    if (bottom >= Pixel(14)) {
      y -= (bottom & 31) + 1;
      vy = 0;
      ++landings;
    }
  }
  ASSERT_GT(landings, 1);
  for (int frame = 0; frame < frames; ++frame) Scene().Play();
  EXPECT_DOUBLE_EQ(hero.m_dY, y);
  EXPECT_EQ(static_cast<int>(hero.m_dBottom), Pixel(14) - 1) << "standing on the floor's top edge";
  EXPECT_EQ(hero.m_bFalling, 0);
  EXPECT_EQ(hero.m_pLandedCell, &Cell(3, 14));

  Put(6, 13, 1);
  hero.m_dAccelX = 1.5;
  for (int frame = 0; frame < 40; ++frame) Scene().Play();
  EXPECT_EQ(static_cast<int>(hero.m_dRight), Pixel(6) - 1) << "stopped at the wall's left edge";
  EXPECT_EQ(hero.m_nWallSide, 1);
  EXPECT_EQ(hero.m_dAccelX, 0);
  const double stopped = hero.m_dX;
  Scene().Play();
  EXPECT_DOUBLE_EQ(hero.m_dX, stopped);
  EXPECT_EQ(static_cast<int>(hero.m_dBottom), Pixel(14) - 1);
  EXPECT_EQ(hero.m_bDying, 0);
}

}  // namespace
