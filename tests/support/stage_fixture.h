// A stage with something in every list, for tests of stage files.
//
// Built in code from the model's own records: a stage palette with entries
// beside the empty entry 0, placed blocks, a hero, another character
// carrying a placed item, backgrounds, stage strings and screen-out rules
// that differ from the defaults. Every value is one that validation keeps,
// so that saving it, loading it and saving it again gives the same bytes.
#pragma once

#include "model/stage/stage.h"

inline cEdStage MakeTestStage() {
  cEdStage stage;
  stage.m_strName = "テストステージ";
  stage.m_nWidth = 60;
  stage.m_nHeight = 20;
  stage.m_nReserved1 = 7;
  stage.m_bLimitRight = 1;
  stage.m_nLimitRight = 50;
  stage.m_nFps = 50;
  stage.m_bTimeLimit = 1;
  stage.m_nTimeLimit = 120;
  stage.m_bAutoScrollX = 1;
  stage.m_nAutoScrollSpeedX = 15;
  stage.m_dGravity = 0.35;
  stage.m_nSpeedLevel = 15;
  stage.m_nHitCheckLevel = 2;
  stage.m_bBgmLoop = 1;
  stage.m_nPlayerBox2W = 10;
  stage.m_nCharaFlySizeH = 20;
  stage.m_nAreaExtraX = 64;
  stage.m_nCharaHitGuard = 12;
  stage.m_vRankingFlags = {1, 0, 1, 1, 0};
  stage.m_aScreenOut[SCREENOUT_CHARA].SetAll(1, 1, 0, 1, 2, 3, 0, 4);
  stage.m_aScreenOut[SCREENOUT_PLAYER_SHOT].SetAll(1, 0, 1, 0, 5, 5, 5, 5);

  cEdBlock wall;
  wall.m_strName = "壁";
  wall.m_nGraphicNo = 12;
  wall.m_nCollision = 1;
  wall.m_vCondition.resize(1);
  wall.m_vCondition[0].m_nValue = 3;
  stage.m_vPaletteBlocks.push_back(wall);
  cEdBlock spikes;
  spikes.m_nGraphicNo = 40;
  spikes.m_nCollision = 2;
  spikes.m_nItemKind = 2;
  spikes.m_nItemIndex = 1;
  stage.m_vPaletteBlocks.push_back(spikes);

  cEdChara walker;
  walker.m_strName = "歩き";
  walker.m_nGraphicNo = 3;
  walker.m_nMaxHP = 25;
  stage.m_vPaletteCharas.push_back(walker);

  cEdItem coin;
  coin.m_strName = "コイン";
  coin.m_nGraphicNo = 8;
  coin.m_nPickup = PICKUP_ALWAYS;
  stage.m_vPaletteItems.push_back(coin);

  for (int x = 0; x < 3; ++x) {
    cEdBlock placed = wall;
    placed.m_nCellX = static_cast<std::int16_t>(x);
    placed.m_nCellY = 19;
    stage.m_vPlacedBlocks.push_back(placed);
  }

  cEdChara hero;
  hero.m_strName = "主人公";
  hero.m_nControl = 0;
  hero.m_nGraphicNo = 1;
  hero.m_nCellX = 2;
  hero.m_nCellY = 18;
  hero.m_nDropItem = -1;
  stage.m_vPlacedCharas.push_back(hero);
  cEdChara enemy = walker;
  enemy.m_nCellX = 10;
  enemy.m_nCellY = 18;
  enemy.m_nDropItem = 0;
  stage.m_vPlacedCharas.push_back(enemy);

  cEdItem placedCoin = coin;
  placedCoin.m_nCellX = 5;
  placedCoin.m_nCellY = 15;
  stage.m_vPlacedItems.push_back(placedCoin);

  cEdBackground sky;
  sky.m_bFill = 0;
  sky.m_strImage = "bmp\\空.bmp";
  sky.m_bAutoX = 1;
  sky.m_dSpeedX = 0.25;
  stage.m_vBackgrounds.push_back(sky);
  stage.m_vStageStrings.resize(2);
  stage.m_vStageStrings[0].m_strText = "はじめ";
  stage.m_vStageStrings[1].m_strText = "second";
  return stage;
}
