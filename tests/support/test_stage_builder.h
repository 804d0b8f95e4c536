// Stages built in code for tests: the size and motion every test stage
// sets the same way, and a stage to play with a floor and the hero on it.
//
// The whole play map (the stage and its margin of 10 cells on each side) is
// the area in which objects may be, as the editor sets it.
#pragma once

#include <cstdint>

#include "game/stage/stage_play.h"
#include "model/stage/stage.h"

struct TestStageSize {
  int nCellsX = 20;
  int nCellsY = 15;
  int nSpeedLevel = 1;  // sub-steps per frame (levels 11 to 19 cap the speed)
  double dGravity = 0.4;
};

inline void SetStageSize(cEdStage& stage, const TestStageSize& size) {
  stage.m_nWidth = size.nCellsX;
  stage.m_nHeight = size.nCellsY;
  stage.m_dGravity = size.dGravity;
  stage.m_nAreaExtraX = (size.nCellsX + 20) * kTileSize - 640;
  stage.m_nAreaExtraY = (size.nCellsY + 20) * kTileSize - 640;
  stage.SetSpeedLevel(size.nSpeedLevel);
}

// A new stage (the editor's defaults: 60 fps, one filled background, every
// ranking kind) of that size with solid blocks (graphic 1) along its bottom
// row and the hero (team 0, graphic 1, carrying nothing) standing on them at
// nHeroColumn: the first placed character, facing left. Blocks and
// characters a test places come after these.
inline cEdStage FloorStage(const TestStageSize& size, int nHeroColumn) {
  cEdStage stage;
  SetStageSize(stage, size);
  const int floorRow = size.nCellsY - 1;
  for (int x = 0; x < size.nCellsX; ++x) {
    cEdBlock floor;
    floor.m_nCellX = static_cast<std::int16_t>(x);
    floor.m_nCellY = static_cast<std::int16_t>(floorRow);
    floor.m_nGraphicNo = 1;
    floor.m_nCollision = 1;
    stage.m_vPlacedBlocks.push_back(floor);
  }
  cEdChara hero;
  hero.m_nControl = 0;
  hero.m_nTeam = 0;
  hero.m_nGraphicNo = 1;
  hero.m_nCellX = static_cast<std::int16_t>(nHeroColumn);
  hero.m_nCellY = static_cast<std::int16_t>(floorRow - 1);
  hero.m_nDropItem = -1;
  stage.m_vPlacedCharas.push_back(hero);
  return stage;
}

// The boxes of the stages the demo tests play whole: characters 32 x 32
// with 28 x 28 bodies, the hero 24 x 30 and items 20 x 20.
inline void SetPlayedStageBoxes(cEdStage& stage) {
  stage.m_nCharaSizeW = stage.m_nCharaSizeH = 32;
  stage.m_nCharaBox1W = stage.m_nCharaBox1H = 28;
  stage.m_nPlayerSizeW = 24;
  stage.m_nPlayerSizeH = 30;
  stage.m_nItemBoxW = stage.m_nItemBoxH = 20;
}
