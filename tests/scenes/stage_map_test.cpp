// The running map of the stage scene: block changes with their modes and
// protect switches, appearance conditions of blocks and characters in both
// modes, and the floor blocks that act on the hero.
#include <gtest/gtest.h>

#include "base/close_request.h"
#include "game/flows/flow_condition.h"
#include "model/stage/common_palette.h"
#include "model/stage/stage.h"
#include "scenes/stage/stage_scene.h"
#include "support/condition_builders.h"
#include "support/front_end_harness.h"
#include "support/play_stage.h"
#include "support/scoped_database.h"

namespace {

cEdBlock Solid(int graphic = 5) {
  cEdBlock block;
  block.m_nGraphicNo = static_cast<std::int16_t>(graphic);
  block.m_nCollision = 1;
  return block;
}

// The stage of the play tests: 30 x 15 cells, a floor on row 14, the hero on (3, 13).
using StageMapTest = PlayStageTest;

TEST_F(StageMapTest, ALaunchPointSnapsToTheNearestCell) {
  cEdShot place;
  struct Case {
    double x;
    int column;
  };
  // Column c is chosen for 32c - 16.5 <= x < 32c + 15.5.
  for (const Case& c : {Case{335.0, 10}, Case{335.5, 11}, Case{303.5, 10}, Case{303.4, 9}}) {
    cStageScene& scene = *m_Scene;
    scene.SetStage(1, 0);
    scene.ChangeBlock(c.x, Pixel(5), 0, place, Solid(7));
    EXPECT_EQ(scene.MapCell(c.column, 15).m_Block.m_nGraphicNo, 7) << c.x;
  }
}

TEST_F(StageMapTest, BlockChangeModes) {
  struct Case {
    const char* name;
    int mode;
    bool fixed;
    bool startFilled;
    int expectGraphic;
  };
  for (const Case& c : {Case{"place", 0, false, false, 7}, Case{"remove", 1, false, true, 0},
                        Case{"toggle on", 2, false, false, 7}, Case{"toggle off", 2, false, true, 0},
                        Case{"fixed place", 0, true, false, 9}, Case{"fixed remove", 1, true, true, 9},
                        Case{"fixed toggle", 2, true, true, 9}, Case{"unknown mode", 3, false, false, 0}}) {
    m_Scene->SetStage(1, 0);
    cMapCell& cell = Cell(8, 5);
    if (c.startFilled || c.fixed) cell.m_Block = Solid(9);
    cell.m_Block.m_bFixed = c.fixed ? 1 : 0;
    if (c.startFilled && !c.fixed) cell.m_Block.m_nGraphicNo = 9;
    cEdShot shot;
    shot.m_nBlockMode = static_cast<std::uint8_t>(c.mode);
    m_Scene->ChangeBlock(Pixel(8), Pixel(5), 0, shot, Solid(7));
    EXPECT_EQ(cell.m_Block.m_nGraphicNo, c.expectGraphic) << c.name;
  }
}

TEST_F(StageMapTest, ToggleChangesACellOncePerPlayAndAgainAfterARestart) {
  cEdShot toggle;
  toggle.m_nBlockMode = 2;
  m_Scene->ChangeBlock(Pixel(8), Pixel(5), 0, toggle, Solid(7));
  EXPECT_EQ(Cell(8, 5).m_Block.m_nGraphicNo, 7);
  m_Scene->ChangeBlock(Pixel(8), Pixel(5), 0, toggle, Solid(7));
  EXPECT_EQ(Cell(8, 5).m_Block.m_nGraphicNo, 7);  // not toggled back
  // A restart is a fresh play (a replay never depends on what came before).
  m_Scene->SetStage(1, 0);
  m_Scene->ChangeBlock(Pixel(8), Pixel(5), 0, toggle, Solid(7));
  EXPECT_EQ(Cell(8, 5).m_Block.m_nGraphicNo, 7);
}

TEST_F(StageMapTest, ProtectSwitchesKeepTheCellOverTheHero) {
  cActor& hero = *m_Scene->m_pHero;
  for (int protect : {1, 0}) {
    m_Scene->SetStage(1, 0);
    cEdShot shot;
    shot.m_bProtectPlayer = static_cast<std::uint8_t>(protect);
    m_Scene->ChangeBlock(Pixel(3), Pixel(13), 0, shot, Solid(7));
    EXPECT_EQ(Cell(3, 13).m_Block.m_nGraphicNo, protect ? 0 : 7) << protect;
    EXPECT_EQ(hero.m_nCrushGrace, 2) << protect;
  }
  // A block the hero's team passes neither protects nor squeezes it.
  m_Scene->SetStage(1, 0);
  cEdShot shot;
  shot.m_bProtectPlayer = 1;
  cEdBlock passed = Solid(7);
  passed.m_nPassTeam = 0;
  m_Scene->ChangeBlock(Pixel(3), Pixel(13), 0, shot, passed);
  EXPECT_EQ(Cell(3, 13).m_Block.m_nGraphicNo, 7);
  EXPECT_EQ(hero.m_nCrushGrace, 0);
}

// The grace runs down with each step of the actor's flows: one a sub-step
// for those that act, none for a dying character, which acts no more.
TEST_F(StageMapTest, TheCrushGraceRunsDownWithTheActorsFlowSteps) {
  const cEdChara def = CharacterDef(1);
  cCharacter& acting = AddCharacter(def, 12, 13);
  cCharacter& idle = AddCharacter(def, 16, 13);
  idle.m_bDying = 1;
  for (cActor* actor : {static_cast<cActor*>(&Hero()), static_cast<cActor*>(&acting), static_cast<cActor*>(&idle)})
    actor->m_nCrushGrace = 3;
  m_Scene->RunSubStep(1);
  EXPECT_EQ(Hero().m_nCrushGrace, 2);
  EXPECT_EQ(acting.m_nCrushGrace, 2);
  EXPECT_EQ(idle.m_nCrushGrace, 3);
  m_Scene->RunSubStep(2);
  m_Scene->RunSubStep(3);
  m_Scene->RunSubStep(4);
  EXPECT_EQ(Hero().m_nCrushGrace, 0);
  EXPECT_EQ(acting.m_nCrushGrace, 0);
}

TEST_F(StageMapTest, LaunchPointsOutsideTheMapChangeNothing) {
  const std::vector<cMapCell> before = m_Scene->m_vPlayMap;
  cEdShot place;
  for (auto [x, y] : {std::pair{-100.0, 400.0}, std::pair{400.0, -100.0}, std::pair{50 * 32.0 + 20, 400.0},
                      std::pair{400.0, 35 * 32.0 + 20}}) {
    m_Scene->ChangeBlock(x, y, 0, place, Solid(7));
  }
  for (std::size_t i = 0; i < before.size(); ++i)
    ASSERT_EQ(m_Scene->m_vPlayMap[i].m_Block.m_nGraphicNo, before[i].m_Block.m_nGraphicNo) << i;
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(StageMapTest, AppearanceConditionsInBothModes) {
  struct Case {
    int mode;
    int var1, var2;
    int expect;
  };
  // Conditions: stage variable 1 = 1, stage variable 2 = 1.
  for (const Case& c : {Case{0, 1, 1, 1}, Case{0, 1, 0, 0}, Case{1, 1, 0, 1}, Case{1, 0, 0, 0}, Case{2, 1, 1, 0}}) {
    m_Scene->SetStage(1, 0);
    cMapCell& cell = Cell(8, 5);
    cell.m_Block = Solid(7);
    cell.m_Block.m_nConditionMode = static_cast<std::int8_t>(c.mode);
    cell.m_Block.m_vCondition = {ConditionBuilder(COND_STAGE_VAR).Var(1).Value(1),
                                 ConditionBuilder(COND_STAGE_VAR).Var(2).Value(1)};
    m_Scene->m_vStageVar[1] = c.var1;
    m_Scene->m_vStageVar[2] = c.var2;
    EXPECT_EQ(m_Scene->CheckBlockCondition(cell), c.expect) << c.mode << c.var1 << c.var2;
  }
}

TEST_F(StageMapTest, AOnceConditionKeepsItsBlockAfterTheVariableChangesBack) {
  for (int once : {1, 0}) {
    m_Scene->SetStage(1, 0);
    cMapCell& cell = Cell(8, 5);
    cell.m_Block = Solid(7);
    cell.m_Block.m_bConditionOnce = static_cast<std::int8_t>(once);
    cell.m_Block.m_vCondition = {ConditionBuilder(COND_STAGE_VAR).Var(1).Value(1)};
    m_Scene->m_vStageVar[1] = 1;
    EXPECT_EQ(m_Scene->CheckBlockCondition(cell), 1);
    m_Scene->m_vStageVar[1] = 0;
    EXPECT_EQ(m_Scene->CheckBlockCondition(cell), once);
  }
}

class FloorEffectTest : public StageMapTest {
 protected:
  // The hero stands on a floor cell with this effect.
  cPlayer& StandOn(int effect, int value) {
    cMapCell& floor = Cell(3, 14);
    floor.m_Block.m_nEffect = static_cast<std::int8_t>(effect);
    floor.m_Block.m_nEffectValue = value;
    cPlayer& hero = m_Scene->m_Player;
    hero.m_pFloorCell = &floor;
    hero.m_nFloorEffectCount = 0;
    hero.m_dVX = 2.0;
    hero.m_dVY = 0;
    return hero;
  }
};

TEST_F(FloorEffectTest, SpeedAndConveyorsActForOneFrameOfSubSteps) {
  const double unit = g_LoadedStage.m_dSubSteps;  // 4 sub-steps
  struct Case {
    int effect, value;
    double vx;
  };
  for (const Case& c : {Case{3, 50, 1.0}, Case{4, 20, 2.0 - 2.0 / unit}, Case{5, 20, 2.0 + 2.0 / unit}}) {
    cPlayer& hero = StandOn(c.effect, c.value);
    m_Scene->ApplyFloorEffect(hero);
    EXPECT_DOUBLE_EQ(hero.m_dVX, c.vx) << c.effect;
    EXPECT_EQ(hero.m_nFloorEffectCount, 3) << c.effect;
    // Off the block, the effect goes on for the rest of the frame.
    hero.m_pFloorCell = nullptr;
    for (int i = 0; i < 3; ++i) m_Scene->ApplyFloorEffect(hero);
    EXPECT_EQ(hero.m_nFloorEffectCount, 0);
    EXPECT_DOUBLE_EQ(hero.m_dVY, 1.0) << "the landing test sees the floor again";
  }
}

TEST_F(FloorEffectTest, ASpringLaunchesTheHeroWithItsSound) {
  cPlayer& hero = StandOn(1, 4);
  m_Scene->ApplyFloorEffect(hero);
  EXPECT_DOUBLE_EQ(hero.m_dVY, hero.JumpSpeedForHbl(4));
  EXPECT_LT(hero.m_dVY, 0);
  EXPECT_EQ(hero.m_bJumping, 1);
  EXPECT_EQ(hero.m_nJumpHold, hero.JumpFrames(hero.m_dVY));
  EXPECT_EQ(m_Window.sounds, std::vector<int>{10});
}

TEST_F(FloorEffectTest, ASlidingFloorHoldsItsFlagOnlyWhileStoodOn) {
  cPlayer& hero = StandOn(2, 0);
  m_Scene->ApplyFloorEffect(hero);
  EXPECT_EQ(hero.m_bNoJumpFloor, 1);
  StandOn(0, 0);
  m_Scene->ApplyFloorEffect(hero);
  EXPECT_EQ(hero.m_bNoJumpFloor, 0);
  // A flying hero is not touched.
  cPlayer& flying = StandOn(3, 50);
  flying.m_bFlying = 1;
  m_Scene->ApplyFloorEffect(flying);
  EXPECT_DOUBLE_EQ(flying.m_dVX, 2.0);
  flying.m_bFlying = 0;
}

}  // namespace

namespace {

class TileCollisionTest : public StageMapTest {
 protected:
  // The hero's box at map pixel (x, y).
  cPlayer& HeroAt(double x, double y) {
    cPlayer& hero = m_Scene->m_Player;
    hero.m_dX = x;
    hero.m_dY = y;
    hero.m_dRight = x + hero.m_nWidth - 1;
    hero.m_dBottom = y + hero.m_nHeight - 1;
    hero.m_bHitLeft = hero.m_bHitRight = hero.m_bHitTop = hero.m_bHitBottom = 0;
    return hero;
  }
  void Put(int column, int row, int collision) {
    cMapCell& cell = m_Scene->MapCell(column, row);
    cell.m_Block = Solid();
    cell.m_Block.m_nCollision = static_cast<std::int8_t>(collision);
  }
};

TEST_F(TileCollisionTest, SidesPushOutToTheNextCellEdge) {
  Put(11, 12, 1);  // map pixels 352..383 across
  cPlayer& hero = HeroAt(352 + 29, 12 * 32);
  ASSERT_EQ(hero.m_nWidth, 32);
  EXPECT_EQ(m_Scene->CollideTileLeft(hero), 0);
  EXPECT_DOUBLE_EQ(hero.m_dX, 384);
  EXPECT_EQ(hero.m_bHitLeft, 1);
  EXPECT_EQ(hero.m_nWallSide, 0);

  Put(13, 12, 1);  // 416..447: a right edge at 418 goes back by (418 & 31) + 1
  HeroAt(418 - 31, 12 * 32);
  EXPECT_EQ(m_Scene->CollideTileRight(hero), 0);
  EXPECT_DOUBLE_EQ(hero.m_dX, 418 - 31 - 3);
  EXPECT_EQ(hero.m_bHitRight, 1);
}

TEST_F(TileCollisionTest, DeadlyCellsKillTheHeroAndStopCharacters) {
  struct Case {
    int collision, flying, variant;
    int result;
    bool pushed;
  };
  for (const Case& c : {Case{2, 0, 0, 2, false}, Case{1, 0, 0, 0, true}, Case{1, 1, 0, 0, false},
                        Case{1, 1, 1, 0, true}, Case{1, 1, 2, 2, false}}) {
    m_Scene->SetStage(1, 0);
    Put(11, 12, c.collision);
    cPlayer& hero = HeroAt(352 + 29, 12 * 32);
    hero.m_bFlying = c.flying;
    hero.m_nBlockMode = static_cast<std::uint8_t>(c.variant);
    EXPECT_EQ(m_Scene->CollideTilesX(hero), c.result) << c.collision << c.flying << c.variant;
    EXPECT_EQ(hero.m_dX == 384, c.pushed) << c.collision << c.flying << c.variant;
    hero.m_bFlying = 0;
    hero.m_nBlockMode = 0;
  }
}

TEST_F(TileCollisionTest, TheLargestKindUnderAWideHeroDecides) {
  cPlayer& hero = HeroAt(11 * 32 + 16, 13 * 32 + 8);  // bottom in row 14, over columns 11 and 12
  Put(11, 14, 1);
  Put(12, 14, 2);
  EXPECT_EQ(m_Scene->CollideTileBottom(hero), 2);
  Put(12, 14, 1);
  HeroAt(11 * 32 + 16, 13 * 32 + 8);
  EXPECT_EQ(m_Scene->CollideTileBottom(hero), 0);
  EXPECT_EQ(hero.m_bHitBottom, 1);
  EXPECT_DOUBLE_EQ(hero.m_dBottom - hero.m_dY, hero.m_nHeight - 1);
  EXPECT_EQ(static_cast<int>(hero.m_dY) + hero.m_nHeight, 14 * 32) << "the box ends on the cell edge";
}

TEST_F(TileCollisionTest, AGapShorterThanTheFallDelayKeepsTheHeroOnFoot) {
  cPlayer& hero = HeroAt(20 * 32, 11 * 32);  // nothing below
  hero.m_bInAir = hero.m_bFalling = 0;
  hero.m_nFallCount = 0;
  const int delay = g_LoadedStage.m_nSubSteps8;
  for (int i = 1; i < delay; ++i) m_Scene->CollideTileBottom(hero);
  EXPECT_EQ(hero.m_bInAir, 0);
  m_Scene->CollideTileBottom(hero);
  EXPECT_EQ(hero.m_bInAir, 1);
  EXPECT_EQ(hero.m_bFalling, 1);
}

TEST_F(TileCollisionTest, BoxesPastTheMapReadEmptyCellsWithOneReportLine) {
  cPlayer& hero = HeroAt(-40, -40);
  EXPECT_EQ(m_Scene->CollideTilesY(hero), 0);
  EXPECT_EQ(m_Scene->CollideTilesX(hero), 0);
  EXPECT_EQ(m_Scene->IsCharacterBlocked(hero), 0);
  EXPECT_EQ(CloseRequestCount(), 0);
}

}  // namespace
