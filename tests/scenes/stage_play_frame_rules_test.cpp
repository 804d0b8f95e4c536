// One stage played frame by frame, its state checked against the numbers
// its settings give: the view auto-scrolls 10 tenths of a pixel a frame
// (0.25 a sub-step at 4 sub-steps), the time limit is 3 seconds, and the
// characters' screen-out rule removes them 2 cells left or 1 cell right of
// the view. The play frame's order shows in the numbers: the view steps
// before anything moves in a sub-step, so the hero it pushes stands exactly
// at the view's left edge; screen-out runs in the first sub-step only and
// measures its margins in 32-pixel cells; the time limit ticks once every
// 60 play frames; a time over does nothing more to a hero already dying;
// and a button held while the pause menu closes is ignored until every
// button has been released.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/flows/status_rules.h"
#include "game/objects/item.h"
#include "game/objects/shot.h"
#include "model/definitions/command.h"
#include "model/settings/system_data.h"
#include "support/condition_builders.h"
#include "support/definition_builders.h"
#include "support/play_stage.h"

namespace {

constexpr int kHeroDeathSound = 8;

class PlayFrameRulesTest : public PlayStageTest {
 protected:
  void AdjustStage(cEdStage& stage) override {
    stage.m_bTimeLimit = 1;
    stage.m_nTimeLimit = 3;
    stage.m_bAutoScrollX = 1;
    stage.m_nAutoScrollSpeedX = 10;
    stage.m_aScreenOut[SCREENOUT_CHARA].SetAll(1, 1, 0, 0, 2, 1, 0, 0);
    stage.m_aScreenOut[SCREENOUT_ITEM].SetAll(1, 0, 0, 0, 0, 0, 0, 0);
    // The hero jumps while button 1 is down.
    cEdFlow jump = FlowBuilder(TRIGGER_ALWAYS)
                       .Key(KeyConditionBuilder().Key(KEY_BUTTON1, KEY_PRESSED).AnyHold())
                       .Command(CommandBuilder(CMD_JUMP).Param(0, 1).Param(2, 3));
    stage.m_vPlacedCharas.front().m_vFlow = {jump};
  }
  // One play frame with button 1 down or up, as the frame's input poll leaves it.
  void Frame(bool bButton = false) {
    g_InputStates.at(0).wButton = bButton ? 1 : 0;
    Scene().Play();
    ++m_nFrame;
  }
  void FramesTo(int nFrame) {
    while (m_nFrame < nFrame) Frame();
  }
  long Sounds(int n) const { return std::count(m_Window.sounds.begin(), m_Window.sounds.end(), n); }
  bool Has(const cCharacter* chara) {
    for (const cCharacter& c : Scene().m_CharacterList)
      if (&c == chara) return true;
    return false;
  }
  // A shot of the shooter's team flying at vx pixels a frame from the
  // shooter's place, in the stage's shot list.
  cShot& FlyingShot(const cCharacter& shooter, double vx) {
    cEdShot def;
    def.m_nTeam = shooter.m_nTeam;
    def.m_nGraphicNo = 1;
    cShotLaunch launch;
    launch.nWidth = launch.nHeight = 16;
    launch.nX = static_cast<int>(shooter.m_dX);
    launch.nY = static_cast<int>(shooter.m_dY);
    launch.dSpeed = -vx;
    launch.dVX = vx;
    cShot shot;
    shot.Init(Scene().m_nCharacterSerial++, const_cast<cCharacter*>(&shooter), SHOT_KIND_SHOT, def, launch);
    return Scene().AddShotToStage(shot);
  }
  int m_nFrame = 0;  // play frames so far
};

TEST_F(PlayFrameRulesTest, OneStagePlaysToTheNumbersOfItsSettings) {
  cPlayer& hero = Hero();
  ASSERT_DOUBLE_EQ(Scene().m_ScrollX.m_dPos, Pixel(0));  // the view starts at the stage's left edge
  ASSERT_LT(hero.m_dX, Pixel(3) + 1);
  ASSERT_EQ(Scene().m_nTimeLeft, 3);
  // Right of the view (640 pixels from its left edge) with a margin of one
  // cell: one character on the margin's line, one 12 pixels inside it.
  cCharacter& onTheLine = AddCharacter(CharacterDef(1), 21, 13);
  cCharacter& inside = AddCharacter(CharacterDef(1), 20, 13);
  MoveTo(inside, Pixel(0) + 640 + 32 - 12, inside.m_dY);
  // At the stage's left edge, 32 pixels wide: it leaves once the view's
  // left edge less 2 cells reaches its right edge (x + 31), that is when
  // the view has moved 2 x 32 + 32 = 96 pixels, at the end of frame 96:
  // the removal comes in the next frame's first sub-step.
  cCharacter& left = AddCharacter(CharacterDef(1), 0, 13);
  // An item 32 pixels wide placed at the stage's left edge (half a pixel
  // in, as a placed object is) leaves with no margin once the view's left
  // edge passes its right edge, 351.5: at 352, the end of frame 32.
  const cEdItem coin = ItemBuilder().Graphic(1);
  cItem& item = Scene().m_ItemList.emplace_back();
  item.InitFromDefinition(1, &coin, false);
  item.PlaceAtCell(0, 10);
  item.m_bAppeared = 1;
  ASSERT_DOUBLE_EQ(item.m_dRight, Pixel(0) + 31.5);

  Frame();
  EXPECT_FALSE(Has(&onTheLine));
  EXPECT_TRUE(Has(&inside));
  FramesTo(32);
  EXPECT_EQ(Scene().m_ItemList.size(), 1u);
  Frame();
  EXPECT_TRUE(Scene().m_ItemList.empty());
  FramesTo(59);
  EXPECT_EQ(Scene().m_nTimeLeft, 3);
  Frame();
  EXPECT_EQ(Scene().m_nTimeLeft, 2) << "a second is 60 play frames";

  // The pause menu closed with button 1 still down: the button stays
  // ignored while held, and counts again once released and pressed anew.
  // (Standing, the hero's top settles within a pixel below row 13's top.)
  Scene().m_bHoldButtons = 1;
  double highest = hero.m_dY;
  for (int i = 0; i < 10; ++i) {
    Frame(true);
    highest = std::min(highest, hero.m_dY);
  }
  EXPECT_EQ(hero.m_bJumping, 0);
  EXPECT_GE(highest, Pixel(13));
  Frame(false);
  Frame(true);
  EXPECT_EQ(hero.m_bJumping, 1);
  Frame(true);
  EXPECT_LT(hero.m_dY, Pixel(13) - 2);

  FramesTo(96);
  EXPECT_DOUBLE_EQ(Scene().m_ScrollX.m_dPos, Pixel(0) + 96);
  EXPECT_TRUE(Has(&left)) << "screen-out runs in the first sub-step of a frame only";
  Frame();
  EXPECT_FALSE(Has(&left));
  EXPECT_TRUE(Has(&inside));

  // The view's left edge has reached the hero (about 96 pixels from the
  // start) and pushes it: stepped before the hero moves, the view and the
  // hero agree.
  FramesTo(110);
  ASSERT_EQ(hero.m_bJumping, 0);
  EXPECT_DOUBLE_EQ(Scene().m_ScrollX.m_dPos, Pixel(0) + 110);
  EXPECT_DOUBLE_EQ(hero.m_dX, Pixel(0) + 110);
  EXPECT_EQ(Scene().m_nTimeLeft, 2);
  Frame();
  EXPECT_DOUBLE_EQ(hero.m_dX, Pixel(0) + 111);

  // A wall in stage column 6: the view pushes the hero whenever the hero's
  // screen left is a whole pixel out, so at the end of each frame. In the
  // last sub-step of frame 161 (view at 161 pixels) the push takes the
  // hero's right edge x + 31 into the wall's cell; put back left of the
  // wall and pushed by the view again, it is squeezed: back where the
  // sub-step began (160, a pixel left of the view) and dying.
  Put(6, 13, 1);
  FramesTo(160);
  EXPECT_EQ(Scene().m_nTimeLeft, 1);
  ASSERT_EQ(hero.m_bDying, 0);
  EXPECT_EQ(Sounds(kHeroDeathSound), 0);
  Frame();
  EXPECT_EQ(hero.m_bDying, 1);
  EXPECT_DOUBLE_EQ(hero.m_dX, Pixel(0) + 160);
  EXPECT_EQ(Sounds(kHeroDeathSound), 1);

  // The time runs out while the hero is dying: it neither sounds nor kills
  // the hero again.
  FramesTo(180);
  EXPECT_EQ(Scene().m_nTimeLeft, 0);
  EXPECT_EQ(hero.m_bDying, 1);
  EXPECT_EQ(Sounds(kHeroDeathSound), 1);
}

// A time left above the cap of 999 (as an operation may leave it) comes
// down to 999 at the next second; run out, the time kills a living hero
// with the hero's death sound.
TEST_F(PlayFrameRulesTest, TheTimeRunningOutKillsALivingHeroWithItsSound) {
  Scene().m_nTimeLeft = 1200;
  FramesTo(60);
  EXPECT_EQ(Scene().m_nTimeLeft, 999);
  Scene().m_nTimeLeft = 2;
  FramesTo(179);
  EXPECT_EQ(Scene().m_nTimeLeft, 1);
  EXPECT_EQ(Hero().m_bDying, 0);
  EXPECT_EQ(Sounds(kHeroDeathSound), 0);
  Frame();
  EXPECT_EQ(Scene().m_nTimeLeft, 0);
  EXPECT_EQ(Hero().m_bDying, 1);
  EXPECT_EQ(Sounds(kHeroDeathSound), 1);
}

// A shot of the characters flying left at a pixel a sub-step (4 a frame)
// whose right edge starts 1.5 pixels inside the view's left edge: the
// view moves right a quarter pixel a sub-step, so the edge is out (rule 3:
// no margin) from the second sub-step on, but the shot is removed only in
// the first sub-step of the next frame.
TEST_F(PlayFrameRulesTest, AShotLeavesByTheScreenOutRuleInTheFirstSubStepOnly) {
  cCharacter& shooter = AddCharacter(CharacterDef(1), 10, 13);
  cShot& shot = FlyingShot(shooter, -4);
  shot.m_dX = Pixel(0) + 1.5 - (shot.m_dRight - shot.m_dX);
  shot.ClampX();
  ASSERT_DOUBLE_EQ(shot.m_dRight, Pixel(0) + 1.5);
  Frame();
  ASSERT_EQ(Scene().m_ShotList.size(), 1u) << "out since the second sub-step, still there";
  EXPECT_DOUBLE_EQ(Scene().m_ShotList.front().m_dRight, Pixel(0) + 1.5 - 4);
  Frame();
  EXPECT_TRUE(Scene().m_ShotList.empty());
}

// While the hero dies nothing but shots moves: no character's lifetime
// runs down, no block character and no other character moves.
TEST_F(PlayFrameRulesTest, WhileTheHeroDiesOnlyShotsMove) {
  cEdChara blockDef = BlockCharacterDef();
  blockDef.m_nFlying = 1;
  cCharacter& block = AddCharacter(blockDef, 8, 8);
  cCharacter& walker = AddCharacter(CharacterDef(1), 12, 13);
  cCharacter& mortal = AddCharacter(CharacterDef(1), 16, 13);
  mortal.m_nLifeTime = 20;  // sub-steps
  cShot& shot = FlyingShot(walker, -4);
  block.m_dAccelX = walker.m_dAccelX = 1;
  Frame();
  ASSERT_GT(block.m_dX, Pixel(8) + 1);  // they do move while the hero lives
  ASSERT_GT(walker.m_dX, Pixel(12) + 1);
  ASSERT_EQ(mortal.m_nLifeTime, 16);

  Hero().Die();
  const double blockX = block.m_dX, walkerX = walker.m_dX, shotX = shot.m_dX;
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_DOUBLE_EQ(block.m_dX, blockX);
  EXPECT_DOUBLE_EQ(walker.m_dX, walkerX);
  ASSERT_TRUE(Has(&mortal));
  EXPECT_EQ(mortal.m_nLifeTime, 16);
  EXPECT_DOUBLE_EQ(shot.m_dX, shotX - 10 * 4);
}

// Each sub-step starts by counting down the characters' no-damage times
// and saving their positions (what a push back returns them to), in the
// same walk that removes those whose lifetime ran out: the characters after
// a removed one are still counted, each once.
TEST_F(PlayFrameRulesTest, EachSubStepCountsDownNoDamageAndSavesPositionsPastARemovedCharacter) {
  cCharacter& before = AddCharacter(CharacterDef(1), 8, 13);
  cCharacter& mortal = AddCharacter(CharacterDef(1), 10, 13);
  cCharacter& after = AddCharacter(CharacterDef(1), 12, 13);
  mortal.m_nLifeTime = 1;  // gone in the second sub-step
  for (cCharacter* chara : {&before, &after}) {
    chara->m_nNoDamage = 10;
    chara->m_NoDamageFrom.push_back({7, 3});
    chara->m_dAccelX = 1;
  }
  ASSERT_TRUE(Scene().RunSubStep(1));
  ASSERT_TRUE(Has(&mortal));
  const double beforeX = before.m_dX, afterX = after.m_dX;
  ASSERT_TRUE(Scene().RunSubStep(2));
  EXPECT_FALSE(Has(&mortal));
  for (const auto& [chara, x] : {std::pair{&before, beforeX}, std::pair{&after, afterX}}) {
    EXPECT_EQ(chara->m_nNoDamage, 8);
    ASSERT_EQ(chara->m_NoDamageFrom.size(), 1u);
    EXPECT_EQ(chara->m_NoDamageFrom.front().nLeft, 1);
    EXPECT_DOUBLE_EQ(chara->m_dPrevX, x);
    EXPECT_NE(chara->m_dX, x) << "it moved in the sub-step";
  }
  ASSERT_TRUE(Scene().RunSubStep(3));
  EXPECT_TRUE(before.m_NoDamageFrom.empty());
  EXPECT_TRUE(after.m_NoDamageFrom.empty());
}

// Without multiple starts an always flow meets one trigger test per play
// frame, not one per sub-step (4 here): one of no duration that takes a hit
// point takes one a frame.
TEST_F(PlayFrameRulesTest, AnAlwaysFlowRunsOncePerPlayFrame) {
  const std::int32_t savedMultiStart = g_SystemData.m_bMultiStart;
  g_SystemData.m_bMultiStart = 0;
  cEdChara def = CharacterDef(1, 100);
  def.m_vFlow = {FlowBuilder(TRIGGER_ALWAYS)
                     .Command(CommandBuilder(CMD_STATUS_OPERATION)
                                  .Param(3, 0)
                                  .Param(4, CHARA_STATUS_HP)
                                  .Param(5, STATUSOP_SUB)
                                  .Param(7, 1))};
  cCharacter& chara = AddCharacter(def, 12, 13);
  FramesTo(3);
  EXPECT_EQ(chara.m_nHp, 97);
  g_SystemData.m_bMultiStart = savedMultiStart;
}

// A flow's request to end the stage, read in the hero's step: 1 clears the
// stage (the result, with its sound 14), 2 kills the hero (its death sound).
TEST_F(PlayFrameRulesTest, AnEndRequestClearsTheStageOrKillsTheHero) {
  Frame();
  Scene().m_nEndRequest = 1;
  Frame();
  EXPECT_EQ(Scene().m_nState, STAGE_RESULT);
  EXPECT_EQ(Sounds(14), 1);
  EXPECT_EQ(Hero().m_bDying, 0);

  Scene().SetStage(1, 0);
  Scene().m_nState = STAGE_PLAY;
  m_Window.sounds.clear();
  Frame();
  Scene().m_nEndRequest = 2;
  Frame();
  EXPECT_EQ(Hero().m_bDying, 1);
  EXPECT_EQ(Sounds(kHeroDeathSound), 1);
  EXPECT_EQ(Sounds(14), 0);
}

// Only the block characters' screen-out rule on: the removal walk still
// runs, takes the block character past the view and leaves the other.
class BlockScreenOutTest : public PlayFrameRulesTest {
 protected:
  void AdjustStage(cEdStage& stage) override {
    PlayFrameRulesTest::AdjustStage(stage);
    stage.m_aScreenOut[SCREENOUT_CHARA] = cEdScreenOutRule();
    stage.m_aScreenOut[SCREENOUT_BLOCK_CHARA].SetAll(1, 1, 0, 0, 1, 1, 0, 0);
  }
};

TEST_F(BlockScreenOutTest, BlockCharactersLeaveByTheirOwnRuleAlone) {
  const cEdChara blockDef = BlockCharacterDef(), otherDef = CharacterDef(1);
  cCharacter& block = AddCharacter(blockDef, 22, 10);
  cCharacter& other = AddCharacter(otherDef, 22, 12);
  Frame();
  EXPECT_FALSE(Has(&block));
  EXPECT_TRUE(Has(&other));
}

}  // namespace
