// A stage built in code where the hero shoots a spread, swings a sword and
// summons a character and a block from scripted input while two enemies
// fire homing bursts with a random spread back at it: played twice from
// the start, it gives the same state digest on every frame.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/settings/system_data.h"
#include "scenes/stage/stage_scene.h"
#include "support/condition_builders.h"
#include "support/definition_builders.h"
#include "support/stage_harness.h"
#include "support/temp_folder.h"
#include "support/test_stage_builder.h"
#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_images.h"

namespace {

cEdFlow OnButton(int nButton, const cEdCommand& command) {
  return FlowBuilder(TRIGGER_ALWAYS).Key(KeyConditionBuilder().Key(KEY_BUTTON1 + nButton, KEY_PRESSED).AnyHold())
      .Command(command);
}

CommandBuilder Launch(int nKind, int nTenths) {
  CommandBuilder command(nKind);
  command.Time(nTenths);
  cEdShot& shot = command.Shot();
  shot.m_nShotCount = 1;
  shot.m_nGraphicNo = 1;
  shot.m_nSpeed = 60;
  return command;
}

cEdStage CombatStage() {
  cEdStage stage = FloorStage({.nCellsX = 30, .nCellsY = 15, .nSpeedLevel = 2}, 2);
  SetPlayedStageBoxes(stage);
  stage.m_nCharaBox2W = stage.m_nCharaBox2H = 28;
  stage.m_nPlayerBox1W = stage.m_nPlayerBox1H = 24;
  stage.m_nPlayerBox2W = stage.m_nPlayerBox2H = 24;
  stage.m_nPlayerShotSizeW = stage.m_nPlayerShotSizeH = 8;
  stage.m_nPlayerShotBoxW = stage.m_nPlayerShotBoxH = 8;
  stage.m_nCharaShotSizeW = stage.m_nCharaShotSizeH = 8;
  stage.m_nCharaShotBoxW = stage.m_nCharaShotBoxH = 8;

  cEdBlock wall;
  wall.m_nCollision = 1;
  wall.m_nGraphicNo = 2;
  stage.m_vPaletteBlocks.push_back(wall);

  cEdChara helper = CharaBuilder().Hp(5);
  helper.m_nTeam = 0;
  helper.m_nDropItem = -1;
  stage.m_vPaletteCharas.push_back(helper);

  // The hero: a spread of three on Z, a sword on X, a helper and a wall on C.
  cEdChara& hero = stage.m_vPlacedCharas.front();
  hero.m_nMaxHP = 500;
  hero.m_nFacing = 1;
  CommandBuilder spread = Launch(CMD_SHOT, 3);
  spread.Shot().m_nPattern = PATTERN_SPREAD;
  spread.Shot().m_nShotCount = 3;
  spread.Shot().m_anPatternParam[0] = 15;
  spread.Shot().m_nPower = 2;
  CommandBuilder sword = Launch(CMD_SWORD, 3);
  sword.Shot().m_nPower = 3;
  CommandBuilder helperSummon = Launch(CMD_SUMMON_CHARACTER, 1);
  helperSummon.Shot().m_nSummonPalette = 1;
  helperSummon.Shot().m_nDirection = SHOTDIR_FRONT;
  CommandBuilder wallSummon = Launch(CMD_SUMMON_BLOCK, 1);
  wallSummon.Shot().m_nSummonPalette = 1;
  wallSummon.Shot().m_nDirection = SHOTDIR_UP;
  hero.m_vFlow = {OnButton(0, spread), OnButton(1, sword),
                  FlowBuilder(TRIGGER_ALWAYS)
                      .Key(KeyConditionBuilder().Key(KEY_BUTTON1 + 2, KEY_PRESSED).AnyHold())
                      .Command(helperSummon)
                      .Command(wallSummon)};

  // Enemies: bursts of five homing on the hero, turned by a random spread.
  cEdChara enemy = CharaBuilder().Hp(20);
  enemy.m_nTeam = 1;
  enemy.m_nGraphicNo = 2;
  enemy.m_nCellY = 13;
  enemy.m_nDropItem = -1;
  CommandBuilder burst = Launch(CMD_SHOT, 8);
  burst.Shot().m_nPattern = PATTERN_EXPLOSION;
  burst.Shot().m_nShotCount = 5;
  burst.Shot().m_nAngleRandom = 20;
  burst.Shot().m_nSpeed = 30;
  burst.Shot().m_nMoveKind = SHOTMOVE_HOME_PLAYER;
  burst.Shot().m_anMoveParam[0] = 1;
  burst.Shot().m_anMoveParam[1] = 6;
  burst.Shot().m_bLifetime = 1;
  burst.Shot().m_nLifetime = 30;
  burst.Shot().m_nPower = 1;
  enemy.m_vFlow = {FlowBuilder(TRIGGER_ALWAYS).Command(burst)};
  for (int x : {14, 22}) {
    enemy.m_nCellX = static_cast<std::int16_t>(x);
    stage.m_vPlacedCharas.push_back(enemy);
  }
  return stage;
}

// Buttons pressed for a few frames each, the hero walking right between.
const char* const kInput =
    "10 Z down\n14 Z up\n30 X down\n34 X up\n50 C down\n53 C up\n"
    "60 RIGHT down\n90 Z down\n95 Z up\n120 RIGHT up\n140 X down\n144 X up\n"
    "170 Z down\n175 Z up\n200 C down\n203 C up\n230 Z down\n236 Z up\n";

struct Play {
  std::vector<std::string> digests;
  std::size_t mostShots = 0;
  bool swordSeen = false;
  std::size_t characters = 0;
};

Play PlayOnce() {
  Play play;
  StageHarness harness;
  EXPECT_TRUE(harness.Started()) << harness.Error();
  g_SystemData.m_bRecordReplay = 0;
  harness.StartStage(CombatStage());
  EXPECT_TRUE(harness.RunUntilState(STAGE_PLAY));
  EXPECT_TRUE(harness.SetInput(kInput));
  for (int frame = 0; frame < 300 && harness.Stage(); ++frame) {
    harness.Frame();
    const cStageScene& stage = *harness.Stage();
    play.digests.push_back(harness.Digest());
    play.mostShots = std::max(play.mostShots, stage.m_ShotList.size());
    for (const cShot& shot : stage.m_ShotList) play.swordSeen = play.swordSeen || !shot.m_bIsShot;
    play.characters = std::max(play.characters, stage.m_CharacterList.size());
  }
  return play;
}

TEST(CombatStage, PlaysTheSameTwiceWithShotsSwordsAndSummons) {
  TempFolder folder;
  ScopedCurrentFolder current(folder.path());
  std::string error;
  ASSERT_TRUE(demo::WriteDemoImages(folder.path(), error) && demo::WriteDemoData(folder.path(), error)) << error;
  const Play first = PlayOnce();
  const Play second = PlayOnce();
  EXPECT_GE(first.mostShots, 6u);
  EXPECT_TRUE(first.swordSeen);
  EXPECT_GT(first.characters, 2u);  // a helper joined the two enemies
  ASSERT_EQ(first.digests.size(), second.digests.size());
  for (std::size_t i = 0; i < first.digests.size(); ++i) {
    ASSERT_EQ(first.digests[i], second.digests[i]) << "frame " << i;
  }
}

}  // namespace
