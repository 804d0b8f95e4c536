// The hero's drawing: box displays over the sprite with their cycling
// colours, and the sight mask around the hero.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/objects/player.h"
#include "game/overlays/message_window.h"
#include "model/settings/system_data.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/test_hero.h"
#include "support/test_stage.h"

namespace {

constexpr sSurface kSightMask{SURFACES_IMAGE, IMAGE_SIGHT_MASK};

class PlayerDraw : public testing::Test {
 protected:
  void TearDown() override { g_SystemData.m_bPaletteCycle = 0; }
  TestStage stage{{40, 30, 1, 0.4}};
  TestHero hero{stage};
  cPlayer& h = hero.m_Hero;
  RecordingDrawTarget target;
};

TEST_F(PlayerDraw, ShownBoxesAreDrawnOverTheSpriteLargestFirst) {
  g_LoadedStage.m_nShowPlayerSize = 1;  // filled
  g_LoadedStage.m_nPlayerSizeColour = 5;
  g_LoadedStage.m_nShowPlayerBox2 = 2;  // outline of the shot box
  g_LoadedStage.m_nPlayerBox2Colour = 1;
  hero.SetUp(CharaBuilder().Hero(), 10, 10);
  h.Draw(target, kBackBuffer, false);
  ASSERT_EQ(target.m_vCalls.size(), 3u);
  EXPECT_EQ(target.m_vCalls[0].op, "Blt");
  const int left = h.m_SpriteRect.m_nLeft + 8;
  const int top = h.m_SpriteRect.m_nTop + 8;
  const sDrawCall& map = target.m_vCalls[1];
  EXPECT_EQ(map.op, "Fill");
  EXPECT_EQ(std::vector<int>({map.x, map.y, map.w, map.h, map.pal}), std::vector<int>({left, top, 16, 24, 228}));
  const sDrawCall& shot = target.m_vCalls[2];
  EXPECT_EQ(shot.op, "Frame");
  EXPECT_EQ(std::vector<int>({shot.x, shot.y, shot.w, shot.h, shot.pal, shot.thick}),
            std::vector<int>({left + 2, top + 4, 12, 8, 212, 1}));
}

struct CycleCase {
  const char* name;
  int bits;
  int paletteCycle;
  std::vector<int> colours;  // at frames 0, 7, 8, 15, 16, 24, 31, 32
};
class PlayerBoxColours : public PlayerDraw, public testing::WithParamInterface<CycleCase> {};

TEST_P(PlayerBoxColours, CycleFourEntriesEightFramesEach) {
  const CycleCase& c = GetParam();
  g_SystemData.m_bPaletteCycle = c.paletteCycle;
  target.m_nBits = c.bits;
  g_LoadedStage.m_nShowPlayerBox3 = 1;
  hero.SetUp(CharaBuilder().Hero(), 10, 10);
  std::vector<int> colours;
  for (int frame = 0; frame <= 32; ++frame) {
    target.m_vCalls.clear();
    h.Draw(target, kBackBuffer, false);
    ASSERT_EQ(target.m_vCalls.size(), 2u);
    if (frame == 0 || frame == 7 || frame == 8 || frame == 15 || frame == 16 || frame == 24 || frame == 31 ||
        frame == 32) {
      colours.push_back(target.m_vCalls[1].pal);
    }
  }
  EXPECT_EQ(colours, c.colours);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerBoxColours,
    testing::Values(CycleCase{"SixteenBits", 16, 1, {208, 208, 209, 209, 210, 211, 211, 208}},
                    CycleCase{"EightBitsWithoutPaletteCycling", 8, 0, {208, 208, 209, 209, 210, 211, 211, 208}},
                    CycleCase{"EightBitsWithPaletteCycling", 8, 1, {208, 208, 208, 208, 208, 208, 208, 208}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerDraw, BoxesOffDrawNothingAndDoNotCount) {
  hero.SetUp(CharaBuilder().Hero(), 10, 10);
  h.Draw(target, kBackBuffer, false);
  EXPECT_EQ(target.m_vCalls.size(), 1u);
  for (const sBoxDisplay& box : h.m_vBoxDisplays) EXPECT_EQ(box.nCounter, 0);
}

// The sight mask: the part of the mask image centred on the hero (shapes 2
// and 4 shifted ahead by the sight range less half the sprite) covers the
// screen; the source stays within the image.
struct SightCase {
  const char* name;
  int shape;
  int facing;
  int sightHbl;
  int maskW, maskH;
  bool drawn;
  int expectSx, expectSy;  // relative to the centred source
  bool clampedToZero;
};
class PlayerSightMask : public PlayerDraw, public testing::WithParamInterface<SightCase> {};

TEST_P(PlayerSightMask, CoversTheScreenAroundTheHero) {
  const SightCase& c = GetParam();
  CharaBuilder def;
  def.Hero().Get().m_nSightShape = static_cast<std::uint8_t>(c.shape);
  def.Get().m_nSight = static_cast<std::uint8_t>(c.sightHbl);
  def.Get().m_nFacing = static_cast<std::uint8_t>(c.facing);
  hero.SetUp(def, 10, 10);
  h.UpdateScreenRect();
  target.SetSize(kSightMask, c.maskW, c.maskH);
  h.DrawSightMask(target, kBackBuffer);
  if (!c.drawn) {
    EXPECT_TRUE(target.m_vCalls.empty());
    return;
  }
  ASSERT_EQ(target.m_vCalls.size(), 1u);
  const sDrawCall& call = target.m_vCalls[0];
  EXPECT_EQ(call.src, kSightMask);
  EXPECT_EQ(std::vector<int>({call.x, call.y, call.w, call.h, call.flags}),
            std::vector<int>({0, 0, 640, 480, kColourKey}));
  if (c.clampedToZero) {
    EXPECT_EQ(call.sx, 0);
    EXPECT_EQ(call.sy, 0);
    return;
  }
  const int centredX = c.maskW / 2 - 16 - h.m_SpriteRect.m_nLeft;
  const int centredY = c.maskH / 2 - 16 - h.m_SpriteRect.m_nTop;
  EXPECT_EQ(call.sx, centredX + c.expectSx);
  EXPECT_EQ(call.sy, centredY + c.expectSy);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerSightMask,
    testing::Values(SightCase{"WholeScreenShowsNoMask", 0, 0, 4, 1280, 960, false, 0, 0, false},
                    SightCase{"AroundTheHero", 1, 0, 4, 1280, 960, true, 0, 0, false},
                    // Ahead: facing right shifts by 16 - 64, facing left the other way.
                    SightCase{"AheadFacingRight", 2, 1, 4, 1280, 960, true, -48, 0, false},
                    SightCase{"AheadFacingLeft", 4, 0, 4, 1280, 960, true, 48, 0, false},
                    SightCase{"SquareAroundTheHero", 3, 0, 4, 1280, 960, true, 0, 0, false},
                    // A mask smaller than the screen is drawn from its corner.
                    SightCase{"MaskNarrowerThanTheScreen", 1, 0, 4, 320, 240, true, 0, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerDraw, NoSightMaskImageDrawsNothing) {
  CharaBuilder def;
  def.Hero().Get().m_nSightShape = 1;
  hero.SetUp(def, 10, 10);
  h.DrawSightMask(target, kBackBuffer);
  EXPECT_TRUE(target.m_vCalls.empty());
}

TEST_F(PlayerDraw, ATakenItemsIconPopsUpOverTheHeroForHalfASecond) {
  hero.SetUp(CharaBuilder().Hero(), 10, 10, 9);
  h.UpdateScreenRect();
  h.ShowItemIcon(2, 16, 3);
  ASSERT_EQ(stage.m_MessageList.size(), 1u);
  cMessageWindow& window = stage.m_MessageList.back();
  EXPECT_EQ(std::vector<int>({window.m_nKind, window.m_nGraphicKind, window.m_nGraphicNo, window.m_nGraphicSub,
                              window.m_nPosMode, window.m_nObjectId, window.m_nDisplayMode, window.m_bFixed}),
            std::vector<int>({MESSAGE_GRAPHIC, 2, 16, 3, 4, 9, 2, 1}));
  std::vector<int> ys;
  for (int frame = 0; frame < 30; ++frame) {
    target.m_vCalls.clear();
    ASSERT_EQ(window.UpdateAndDraw(target, kBackBuffer, 0), 0);
    ASSERT_EQ(target.m_vCalls.size(), 1u);
    EXPECT_EQ(target.m_vCalls[0].src, (sSurface{SURFACES_IMAGE, IMAGE_ITEM_ICONS}));
    ys.push_back(target.m_vCalls[0].y);
  }
  // Over the hero's sprite, rising a pixel every four frames; over after 30.
  EXPECT_EQ(ys.front(), h.m_SpriteRect.m_nTop - 16);
  EXPECT_EQ(ys.front() - ys.back(), 7);
  EXPECT_EQ(window.UpdateAndDraw(target, kBackBuffer, 0), 1);
}

}  // namespace
