// A stage scene set up on a stage built in code, for tests of what happens
// while a stage plays (collisions, block characters, hits, pick-ups).
//
// The stage is 30 x 15 cells with a floor on row 14, gravity 0.4 and speed
// level 4 (4 sub-steps a frame, d = 4); the hero is 32 x 32 at stage cell
// (3, 13), team 0. Objects are placed by stage cell; map pixels include
// the margin of 10 cells (Pixel).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "model/stage/common_palette.h"
#include "model/stage/stage.h"
#include "scenes/stage/stage_scene.h"
#include "support/front_end_harness.h"
#include "support/scoped_database.h"
#include "support/test_stage_builder.h"

inline cEdStage PlayTestStage() {
  cEdStage stage = FloorStage({.nCellsX = 30, .nCellsY = 15, .nSpeedLevel = 4}, 3);
  // Every box is one cell.
  stage.m_nPlayerSizeW = stage.m_nPlayerSizeH = 32;
  stage.m_nPlayerFlySizeW = stage.m_nPlayerFlySizeH = 32;
  stage.m_nPlayerFlyBox1W = stage.m_nPlayerFlyBox1H = 32;
  stage.m_nCharaFlySizeW = stage.m_nCharaFlySizeH = 32;
  stage.m_nCharaFlyBox1W = stage.m_nCharaFlyBox1H = 32;
  stage.m_nPlayerBox1W = stage.m_nPlayerBox1H = 32;
  stage.m_nPlayerBox2W = stage.m_nPlayerBox2H = 32;
  stage.m_nPlayerBox3W = stage.m_nPlayerBox3H = 32;
  stage.m_nCharaSizeW = stage.m_nCharaSizeH = 32;
  stage.m_nCharaBox1W = stage.m_nCharaBox1H = 32;
  stage.m_nCharaBox2W = stage.m_nCharaBox2H = 32;
  stage.m_nItemBoxW = stage.m_nItemBoxH = 32;
  stage.m_bHitOnlyOnScreen = 0;
  stage.m_nPlayerHitGuard = stage.m_nCharaHitGuard = 10;  // frames without damage after a hit
  stage.m_nPlayerContactGuard = stage.m_nCharaContactGuard = 10;
  return stage;
}

// A character definition of a team: a computer-controlled character with HP.
inline cEdChara CharacterDef(int nTeam, int nHp = 10) {
  cEdChara def;
  def.m_nControl = 1;
  def.m_nTeam = static_cast<std::uint8_t>(nTeam);
  def.m_nGraphicNo = 2;
  def.m_nMaxHP = nHp;
  def.m_nDropItem = -1;
  return def;
}

inline cEdChara BlockCharacterDef() {
  cEdChara def = CharacterDef(1);
  def.m_bBlockChara = 1;
  return def;
}

class PlayStageTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Window.Started());
    g_CommonPalette.m_vBlocks.assign(1, cEdBlock());
    g_LoadedStage = PlayTestStage();
    AdjustStage(g_LoadedStage);
    g_PlayStage.CopyStartState(g_LoadedStage);
    m_Scene = std::make_unique<cStageScene>();
    m_Scene->SetStage(0, 1);
    ASSERT_NE(m_Scene->m_pHero, nullptr);
  }
  void TearDown() override {
    m_Scene.reset();
    g_LoadedStage = cEdStage();
    g_PlayStage = cEdStage();
    g_CommonPalette = cEdCommonPalette();
  }
  // Changes the stage before it is set up.
  virtual void AdjustStage(cEdStage&) {}

  cStageScene& Scene() { return *m_Scene; }
  cPlayer& Hero() { return m_Scene->m_Player; }
  // The map pixel of stage cell c's left (top) edge.
  static double Pixel(int c) { return (c + 10) * 32.0; }
  cMapCell& Cell(int column, int row) { return m_Scene->MapCell(column + 10, row + 10); }
  // A block of the collision kind at a stage cell (kind 0 empties it).
  void Put(int column, int row, int kind) {
    cMapCell& cell = Cell(column, row);
    cell.m_Block = cEdBlock();
    cell.m_Block.m_nGraphicNo = kind ? 5 : 0;
    cell.m_Block.m_nCollision = static_cast<std::int8_t>(kind);
  }
  // Moves an actor's box to map pixel (x, y), keeping its size, and clears
  // its contacts.
  static void MoveTo(cActor& actor, double x, double y) {
    actor.m_dX = x;
    actor.m_dY = y;
    actor.ConstrainX();
    actor.ConstrainY();
    actor.ClearBlockContacts();
    actor.SavePosition();
  }
  // A character at a stage cell, appeared, active and in its team's list.
  cCharacter& AddCharacter(const cEdChara& def, int column, int row) {
    cCharacter& chara = m_Scene->m_CharacterList.emplace_back();
    chara.Init(m_Scene->m_nCharacterSerial++, &def, nullptr, Pixel(column) + 16, Pixel(row) + 16, 0);
    chara.PlaceAtTile(column, row);
    chara.m_bAppeared = chara.m_bActive = 1;
    chara.SavePosition();
    m_Scene->JoinTeam(chara);
    return chara;
  }

  ScopedDatabase m_Database;
  FrontEndHarness m_Window;
  std::unique_ptr<cStageScene> m_Scene;
};
