#include <gtest/gtest.h>

#include "game/effects/effect_play.h"
#include "game/objects/actor.h"
#include "game/objects/map_cell_run.h"
#include "model/database/database.h"
#include "model/database/effect_kinds.h"
#include "model/settings/system_data.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

constexpr sSurface Image(int n) { return {SURFACES_IMAGE, n}; }

// An actor of graphic 17 (sheet pair 1, row 2) at stage cell (2, 3); the view
// at the stage's top-left, so its sprite is at screen (64, 96).
class ActorDraw : public testing::Test {
 protected:
  void SetUp() override {
    CharaBuilder def;
    def.Hp(100);
    actor.SetUp(def, 2, 3);
    actor.m_nGraphicNo = 17;
  }
  // A character effect entry of a kind: run time 1 tenth (6 frames), value
  // 0 to 12, parameters 4 and 5 as given; started on the actor.
  void StartEffect(int kind, int p2 = 2, int p4 = 3, int p5 = 20) {
    cEdCharaEffect entry;
    entry.m_nKind = kind;
    entry.m_anParam[0] = 1;
    entry.m_anParam[1] = kind == CHARA_EFFECT_BLINK || kind == CHARA_EFFECT_TRANSLUCENT ? p2 : 0;
    entry.m_anParam[2] = 12;
    entry.m_anParam[3] = p4;
    entry.m_anParam[4] = p5;
    g_Database.m_vCharaEffect.push_back(entry);
    stage.RebuildDatabaseTables();
    actor.m_CharaEffect.Start(static_cast<int>(g_Database.m_vCharaEffect.size() - 1), 0, 0);
  }
  TestStage stage;
  TestActor actor;
  RecordingDrawTarget target;
};

TEST_F(ActorDraw, PlainSpriteFromTheFacingSheet) {
  actor.Draw(target, kBackBuffer, false);
  ASSERT_EQ(target.m_vCalls.size(), 1u);
  const sDrawCall& call = target.m_vCalls[0];
  EXPECT_EQ(call.op, "Blt");
  EXPECT_EQ(call.src, Image(6));  // sheet pair 1, facing left
  EXPECT_EQ(call.sx, 0);
  EXPECT_EQ(call.sy, 64);
  EXPECT_EQ(call.x, 64);
  EXPECT_EQ(call.y, 96);
  EXPECT_EQ(call.w, 32);
  EXPECT_EQ(call.flags, kColourKey);
  actor.m_nFacing = 1;
  target.m_vCalls.clear();
  actor.Draw(target, kBackBuffer, false);
  EXPECT_EQ(target.m_vCalls[0].src, Image(7));  // mirrored copy
}

TEST_F(ActorDraw, CellOutsideItsSheetFallsBackToTheFirstCell) {
  target.SetSize(Image(6), 64, 32);
  actor.Draw(target, kBackBuffer, false);
  EXPECT_EQ(target.m_vCalls[0].src, Image(4));
  EXPECT_EQ(target.m_vCalls[0].sx, 0);
  EXPECT_EQ(target.m_vCalls[0].sy, 0);
}

TEST_F(ActorDraw, PinnedAxisDrawsAtThePin) {
  actor.m_bPinX = 1;
  actor.m_nPinX = 300;
  actor.Draw(target, kBackBuffer, false);
  EXPECT_EQ(target.m_vCalls[0].x, 300);
  EXPECT_EQ(actor.m_SpriteRect.m_nRight, 331);
}

TEST_F(ActorDraw, ScaledSpriteStretchesTheAlternateSheet) {
  actor.m_Chara.m_nScale = 2;
  actor.SetScale(2, 1);
  actor.Draw(target, kBackBuffer, false);
  ASSERT_EQ(target.m_vCalls.size(), 1u);
  EXPECT_EQ(target.m_vCalls[0].op, "BltStretch");
  EXPECT_EQ(target.m_vCalls[0].src, Image(6 + 18));
  EXPECT_EQ(target.m_vCalls[0].w, 64);
  EXPECT_EQ(target.m_vCalls[0].sw, 32);
}

TEST_F(ActorDraw, OverlayMarkCell) {
  actor.m_Chara.m_bOverlay = 1;
  actor.m_Chara.m_nOverlayCell = 17;
  actor.Draw(target, kBackBuffer, false);
  ASSERT_EQ(target.m_vCalls.size(), 2u);
  EXPECT_EQ(target.m_vCalls[1].src, Image(IMAGE_MARKS));
  EXPECT_EQ(target.m_vCalls[1].sx, 32);
  EXPECT_EQ(target.m_vCalls[1].sy, 64);
}

struct EffectCase {
  const char* name;
  int kind;
  std::string op;
  eEffectBlit blit;
};
class CharaEffectDraw : public ActorDraw, public testing::WithParamInterface<EffectCase> {};

// Each kind draws through its blit with the run's current value, which
// advances frame by frame while not paused; the run of 6 frames ends the
// effect.
TEST_P(CharaEffectDraw, DrawsWithTheCurrentValueAndAdvances) {
  const EffectCase& c = GetParam();
  StartEffect(c.kind);
  std::vector<double> values;
  for (int frame = 0; frame < 8 && actor.m_CharaEffect.nIndex != 0; ++frame) {
    target.m_vCalls.clear();
    actor.Draw(target, kBackBuffer, false);
    ASSERT_FALSE(target.m_vCalls.empty()) << frame;
    const sDrawCall& call = target.m_vCalls[0];
    EXPECT_EQ(call.op, c.op) << frame;
    if (c.op == "Effect") {
      EXPECT_EQ(call.effect, c.blit);
      EXPECT_EQ(call.args.src, Image(6 + 18));  // the alternate sheet
      EXPECT_EQ(call.args.x, 64);
      EXPECT_EQ(call.args.y, 96);
      values.push_back(call.args.value);
    }
  }
  EXPECT_EQ(actor.m_CharaEffect.nIndex, 0);  // finished and cleared
  if (!values.empty()) {
    EXPECT_DOUBLE_EQ(values[0], 0);
    EXPECT_DOUBLE_EQ(values[1], 2);
    EXPECT_DOUBLE_EQ(values[5], 10);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CharaEffectDraw,
    testing::Values(EffectCase{"Burst", CHARA_EFFECT_BURST, "Effect", EFFECT_BLIT_QUARTERS},
                    EffectCase{"SplitH", CHARA_EFFECT_SPLIT_H, "Effect", EFFECT_BLIT_INTERLACE},
                    EffectCase{"SplitV", CHARA_EFFECT_SPLIT_V, "Effect", EFFECT_BLIT_INTERLACE},
                    EffectCase{"WaveH", CHARA_EFFECT_WAVE_H, "Effect", EFFECT_BLIT_WAVE},
                    EffectCase{"WaveV", CHARA_EFFECT_WAVE_V, "Effect", EFFECT_BLIT_WAVE},
                    EffectCase{"RotateA", CHARA_EFFECT_ROTATE_A, "Effect", EFFECT_BLIT_ROTATE},
                    EffectCase{"RotateB", CHARA_EFFECT_ROTATE_B, "Effect", EFFECT_BLIT_ROTATE},
                    EffectCase{"CardFlip", CHARA_EFFECT_ROTATE_DEPTH, "Effect", EFFECT_BLIT_CARD_FLIP},
                    EffectCase{"Circle", CHARA_EFFECT_CIRCLE, "Effect", EFFECT_BLIT_CIRCLE},
                    EffectCase{"Zoom", CHARA_EFFECT_ZOOM, "BltStretch", EFFECT_BLIT_QUARTERS},
                    EffectCase{"Colour", CHARA_EFFECT_COLOR, "Effect", EFFECT_BLIT_ALPHA},
                    EffectCase{"Mosaic", CHARA_EFFECT_MOSAIC, "Effect", EFFECT_BLIT_MOSAIC},
                    EffectCase{"Blur", CHARA_EFFECT_BLUR, "Effect", EFFECT_BLIT_BLUR}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActorDraw, PausedEffectDoesNotAdvance) {
  StartEffect(CHARA_EFFECT_MOSAIC);
  actor.Draw(target, kBackBuffer, true);
  actor.Draw(target, kBackBuffer, true);
  EXPECT_DOUBLE_EQ(actor.m_CharaEffect.dValue, 0);
  actor.Draw(target, kBackBuffer, false);
  EXPECT_DOUBLE_EQ(actor.m_CharaEffect.dValue, 2);
}

TEST_F(ActorDraw, WaveArgumentsAndPhase) {
  StartEffect(CHARA_EFFECT_WAVE_H, 2, 4, 24);
  actor.Draw(target, kBackBuffer, false);
  actor.Draw(target, kBackBuffer, false);
  const sEffectBlitArgs& a = target.m_vCalls[1].args;
  EXPECT_EQ(a.period, 4);  // parameter 4: waves over the box
  EXPECT_EQ(a.band, 24);   // parameter 5: band height
  EXPECT_EQ(a.phase, 1);
  EXPECT_FALSE(a.vertical);
}

TEST_F(ActorDraw, CircleBandsAreParameterFour) {
  StartEffect(CHARA_EFFECT_CIRCLE, 2, 3);
  actor.Draw(target, kBackBuffer, false);
  EXPECT_EQ(target.m_vCalls[0].args.band, 3);
  EXPECT_EQ(target.m_vCalls[0].args.centreX, 64 + 16);
}

// The lens draws from the whole work image cleared with the sprite at its
// top-left, the lens centre moved by parameters 4 and 5.
TEST_F(ActorDraw, LensDrawsThroughTheClearedWorkImage) {
  target.SetSize(Image(IMAGE_WORK), 640, 480);
  StartEffect(CHARA_EFFECT_LENS, 2, 3, -5);
  actor.Draw(target, kBackBuffer, false);
  ASSERT_EQ(target.m_vCalls.size(), 3u);
  EXPECT_EQ(target.m_vCalls[0].op, "Fill");
  EXPECT_EQ(target.m_vCalls[0].w, 640);
  EXPECT_EQ(target.m_vCalls[1].op, "BltStretch");
  EXPECT_EQ(target.m_vCalls[1].dst, Image(IMAGE_WORK));
  EXPECT_EQ(target.m_vCalls[1].src, Image(6 + 18));
  const sEffectBlitArgs& a = target.m_vCalls[2].args;
  EXPECT_EQ(target.m_vCalls[2].effect, EFFECT_BLIT_LENS);
  EXPECT_EQ(a.src, Image(IMAGE_WORK));
  EXPECT_EQ(a.srcX, 0);
  EXPECT_EQ(a.centreX, 64 + 16 + 3);
  EXPECT_EQ(a.centreY, 96 + 16 - 5);
}

TEST_F(ActorDraw, SplitBandsWithAZeroParameterCountAsOne) {
  StartEffect(CHARA_EFFECT_SPLIT_V, 2, 0);
  actor.Draw(target, kBackBuffer, false);
  EXPECT_EQ(target.m_vCalls[0].args.band, 32);
  EXPECT_TRUE(target.m_vCalls[0].args.vertical);
}

// Blink toggles every parameter-2 frames: hidden for 2, shown for 2, ...
TEST_F(ActorDraw, BlinkShowsTheSpriteEveryOtherPeriod) {
  StartEffect(CHARA_EFFECT_BLINK, 2);
  std::vector<int> shown;
  for (int frame = 0; frame < 6; ++frame) {
    target.m_vCalls.clear();
    actor.Draw(target, kBackBuffer, false);
    shown.push_back(static_cast<int>(target.m_vCalls.size()));
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 1, 0, 0}));
}

TEST_F(ActorDraw, TranslucentWhileBlinkStateIsOff) {
  StartEffect(CHARA_EFFECT_TRANSLUCENT, 1);
  actor.Draw(target, kBackBuffer, false);
  actor.Draw(target, kBackBuffer, false);
  ASSERT_EQ(target.m_vCalls.size(), 1u);
  EXPECT_EQ(target.m_vCalls[0].effect, EFFECT_BLIT_TRANSLUCENT);
}

TEST_F(ActorDraw, ScaledEffectGoesThroughTheWorkImageWithScaledValue) {
  actor.m_Chara.m_nScale = 2;
  actor.SetScale(2, 1);
  StartEffect(CHARA_EFFECT_CIRCLE);
  actor.Draw(target, kBackBuffer, false);
  actor.Draw(target, kBackBuffer, false);
  ASSERT_EQ(target.m_vCalls.size(), 4u);
  EXPECT_EQ(target.m_vCalls[2].op, "BltStretch");
  EXPECT_EQ(target.m_vCalls[2].dst, Image(IMAGE_WORK));
  EXPECT_EQ(target.m_vCalls[3].args.src, Image(IMAGE_WORK));
  EXPECT_DOUBLE_EQ(target.m_vCalls[3].args.value, 4);
}

TEST_F(ActorDraw, ColourChangeWrapsTheEffectInTheBlitColour) {
  target.m_bDirect3D = true;
  const std::int32_t saved = g_SystemData.m_bColourChange;
  g_SystemData.m_bColourChange = 1;
  stage.m_vColourCycle.assign(4, sBltColour{0x80FF0000u, 2});
  actor.m_Chara.m_nInvincible = 1;
  actor.m_Chara.m_nInvincibleColor = 3;
  StartEffect(CHARA_EFFECT_MOSAIC);
  actor.Draw(target, kBackBuffer, false);
  g_SystemData.m_bColourChange = saved;
  ASSERT_EQ(target.m_vCalls.size(), 3u);
  EXPECT_EQ(target.m_vCalls[0].op, "SetBltColour");
  EXPECT_EQ(target.m_vCalls[0].colour, (sBltColour{0x80FF0000u, 2}));
  EXPECT_EQ(target.m_vCalls[2].op, "ResetBltColour");
}

TEST_F(ActorDraw, HiddenActorOnlyStepsItsEffect) {
  StartEffect(CHARA_EFFECT_MOSAIC);
  actor.m_bHidden = 1;
  actor.Draw(target, kBackBuffer, false);
  EXPECT_TRUE(target.m_vCalls.empty());
  EXPECT_DOUBLE_EQ(actor.m_CharaEffect.dValue, 2);
}

TEST_F(ActorDraw, DyingComputerActorWithoutEffectIsOverAtOnce) {
  EXPECT_TRUE(actor.DrawDying(target, kBackBuffer, false));
  StartEffect(CHARA_EFFECT_BURST);
  int calls = 0;
  while (!actor.DrawDying(target, kBackBuffer, false)) ++calls;
  EXPECT_EQ(calls, 6);  // values 0 to 12 by 2: the seventh frame ends the run
}

TEST_F(ActorDraw, DyingHeroWithoutEffectIsOverAfterFpsPlusOneFrames) {
  actor.m_nControl = 0;
  stage.m_nFps = 30;
  int calls = 0;
  while (!actor.DrawDying(target, kBackBuffer, calls % 2 == 0 && calls < 10)) ++calls;
  EXPECT_EQ(calls + 1, 31 + 5);  // five paused calls do not count
  EXPECT_TRUE(target.m_vCalls.empty());
}

TEST_F(ActorDraw, GaugeAfterALossShowsValueAndLostPart) {
  actor.AddHp(-20, false, true);
  actor.UpdateScreenRect();
  actor.DrawHpGauge(target, kBackBuffer);
  ASSERT_EQ(target.m_vCalls.size(), 3u);
  const int x = 64 + 16 - 25;
  EXPECT_EQ(target.m_vCalls[0].w, 50);
  EXPECT_EQ(target.m_vCalls[0].sy, 128);
  EXPECT_EQ(target.m_vCalls[1].w, 40);
  EXPECT_EQ(target.m_vCalls[1].sy, 144);
  EXPECT_EQ(target.m_vCalls[2].x, x + 40);
  EXPECT_EQ(target.m_vCalls[2].w, 10);
  EXPECT_EQ(target.m_vCalls[2].sy, 176);
  EXPECT_EQ(target.m_vCalls[0].y, 96 - 3);
  EXPECT_EQ(actor.m_HpGauge.nTime, 119);
}

TEST_F(ActorDraw, TallAccessorySheetUsesItsPackedRowsAndLowValueRow) {
  target.SetSize(Image(IMAGE_ACCESSORY), 256, 240);
  actor.AddHp(-70, false, true);
  actor.UpdateScreenRect();
  actor.DrawHpGauge(target, kBackBuffer);
  EXPECT_EQ(target.m_vCalls[1].w, 15);
  EXPECT_EQ(target.m_vCalls[1].sy, 212);  // low value
}

TEST(MapCellDraw, BlockCellAndOverlay) {
  TestStage stage;
  RecordingDrawTarget target;
  cMapCell cell;
  cell.m_Block = TestStage::Solid(17);
  cell.m_Block.m_bOverlay = 1;
  cell.m_Block.m_nOverlayCell = 17;
  DrawMapCell(cell, target, kBackBuffer, 10, 20);
  ASSERT_EQ(target.m_vCalls.size(), 2u);
  EXPECT_EQ(target.m_vCalls[0].src, Image(IMAGE_BLOCKS));
  EXPECT_EQ(target.m_vCalls[0].sx, 32);
  EXPECT_EQ(target.m_vCalls[0].sy, 64);
  EXPECT_EQ(target.m_vCalls[1].src, Image(IMAGE_MARKS));
  EXPECT_EQ(target.m_vCalls[1].sx, 32);
  EXPECT_EQ(target.m_vCalls[1].sy, 64);
  cell.m_Block.m_bOverlay = 2;  // editor only
  target.m_vCalls.clear();
  DrawMapCell(cell, target, kBackBuffer, 10, 20);
  EXPECT_EQ(target.m_vCalls.size(), 1u);
}

TEST(EffectPlayDraw, DrawsTheCurrentFrameRelativeToTheView) {
  TestStage stage;
  cEdEffect effect;
  effect.m_nCellWidth = 24;
  effect.m_nCellHeight = 16;
  effect.m_vFrames.resize(2);
  g_Database.m_vEffect.push_back(effect);
  stage.RebuildDatabaseTables();
  const auto index = static_cast<std::int16_t>(g_Database.m_vEffect.size() - 1);
  cEffectPlay play;
  play.InitFromCommand(index, 500.5, 420, 24, 16, 0);
  RecordingDrawTarget target;
  EXPECT_EQ(play.Draw(target, kBackBuffer, 320, 320, false), 0);
  ASSERT_EQ(target.m_vCalls.size(), 1u);
  EXPECT_EQ(target.m_vCalls[0].src, (sSurface{SURFACES_EFFECT, 2 * index - 2}));
  EXPECT_EQ(target.m_vCalls[0].x, 180);
  EXPECT_EQ(target.m_vCalls[0].y, 100);
}

}  // namespace
