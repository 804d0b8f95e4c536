// The fourteen screen effects: a golden of each at one frame over a picture
// made in code (a grid of coloured cells with the hero's square off the
// centre), at 32 bits and in the 8-bit palette mode; their stepping (paused
// frames, the end of an effect, loops, the shake's swing); the ends of the
// zoom and the circle; parameters that would divide by zero or give
// negative sizes; effect numbers outside the database.
#include "scenes/stage/screen_effect.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "base/close_request.h"
#include "game/objects/game_object.h"
#include "graphics/blit.h"
#include "graphics/surface.h"
#include "model/database/database.h"
#include "scenes/stage/stage_draw_layers.h"
#include "support/fixture_frame.h"
#include "support/graphics_device.h"
#include "support/scoped_database.h"

namespace {

constexpr int kHeroX = kFixtureHeroX, kHeroY = kFixtureHeroY;

class ScreenEffects : public testing::Test {
 protected:
  explicit ScreenEffects(const char* mode = "DD32") : m_Mode(mode) {}
  void SetUp() override {
    ASSERT_TRUE(m_Mode.device.Started());
    ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[67], 640, 480, 1, 0, 0, 0, 0));
    ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[68], 640, 480, 1, 1, 0, 0, 0));
    DrawFixtureFrame();
    m_View.nCentreX = kHeroX;
    m_View.nCentreY = kHeroY;
    m_View.drawBackgrounds = [] {
      for (int y = 0; y < 480; y += 40) DDFillRectPal(&g_sdBackBuffer, 0, y, 640, 20, 140);
    };
    ResetCloseRequests();
  }
  void TearDown() override {
    DDReleaseSurface(&g_SurfaceTable[67]);
    DDReleaseSurface(&g_SurfaceTable[68]);
    ResetCloseRequests();
  }
  // Entry 1 of the database with this kind and these parameters, started.
  cScrEffectRun Start(int kind, std::vector<int> params, int loop = 0) {
    cEdScrEffect& entry = g_Database.m_vScrEffect[1];
    entry.m_nKind = kind;
    params.resize(EFFECT_PARAM_COUNT);
    for (int i = 0; i < EFFECT_PARAM_COUNT; ++i) entry.m_anParam[i] = params[static_cast<std::size_t>(i)];
    m_Database.Rebuild();
    cScrEffectRun run;
    run.Start(1, EFFECT_RUN_NORMAL, loop);
    return run;
  }
  std::uint32_t Rgb(int n) { return m_Mode.device.PaletteRgb(n) & 0xFFFFFF; }

  StartedGraphicsMode m_Mode;
  ScopedDatabase m_Database;
  sScreenEffectView m_View;
};

// One frame of each kind in the middle of its run.
struct GoldenCase {
  const char* name;
  int kind;
  std::vector<int> params;
  double value;
  double second;  // the shake position
  int a, b;       // the handlers' state
};

const GoldenCase kGoldenCases[] = {
    {"none", SCR_EFFECT_NONE, {10}, 0, 0, 0, 0},
    {"move", SCR_EFFECT_MOVE, {10, 0, 0, 100, 50}, 4, 0, 40, 20},
    {"shake_x", SCR_EFFECT_SHAKE_H, {10, 8, 3}, 2, 6.4, 0, 0},
    {"shake_y", SCR_EFFECT_SHAKE_V, {10, 8, 3}, 2, -5, 1, 0},
    {"split_x", SCR_EFFECT_SPLIT_H, {10, 0, 40, 6}, 20, 0, 0, 0},
    {"split_y", SCR_EFFECT_SPLIT_V, {10, 0, 40, 8}, 24, 0, 0, 0},
    {"wave_x", SCR_EFFECT_WAVE_H, {10, 0, 16, 3, 4}, 12, 0, 30, 0},
    {"wave_y", SCR_EFFECT_WAVE_V, {10, 0, 16, 3, 4}, 12, 0, 30, 0},
    {"blink", SCR_EFFECT_BLINK, {10, 4}, 1, 0, 2, 0},
    {"rotate", SCR_EFFECT_ROTATE, {10, 0, 90}, 30, 0, 0, 0},
    {"circle", SCR_EFFECT_CIRCLE, {10, 300, 0, 8}, 150, 0, 0, 0},
    {"zoom", SCR_EFFECT_ZOOM, {10, 640, 1280}, 960, 0, 0, 0},
    {"lens", SCR_EFFECT_LENS, {10, 400, 100, -40, 20}, 200, 0, 0, 0},
    {"mosaic", SCR_EFFECT_MOSAIC, {10, 1, 30}, 12, 0, 0, 0},
};

class ScreenEffectGoldens : public ScreenEffects, public testing::WithParamInterface<const char*> {
 protected:
  ScreenEffectGoldens() : ScreenEffects(GetParam()) {}
};

TEST_P(ScreenEffectGoldens, EachKindAtOneFrameMatchesItsGolden) {
  ASSERT_EQ(std::size(kGoldenCases), static_cast<std::size_t>(SCR_EFFECT_KIND_COUNT));
  for (const GoldenCase& c : kGoldenCases) {
    DrawFixtureFrame();
    cScrEffectRun run = Start(c.kind, c.params);
    run.dValue = c.value;
    run.dSpare = c.second;
    run.anState[0] = c.a;
    run.anState[1] = c.b;
    DrawScreenEffect(run, m_View, 0);
    EXPECT_EQ(run.nIndex, 1) << c.name;
    EXPECT_TRUE(MatchesGolden(BackBufferPicture(640, 480),
                              std::string("screen_effects/") + c.name + "_" + GetParam()))
        << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(At32And8Bits, ScreenEffectGoldens, testing::Values("DD32", "DD8"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST_F(ScreenEffects, APausedFrameDrawsWithoutStepping) {
  cScrEffectRun run = Start(SCR_EFFECT_WAVE_H, {1, 0, 30, 2, 4});
  const double value = run.dValue;
  for (int i = 0; i < 20; ++i) DrawScreenEffect(run, m_View, 1);
  EXPECT_EQ(run.dValue, value);
  EXPECT_EQ(run.anState[0], 0);
  EXPECT_EQ(run.nIndex, 1);
}

TEST_F(ScreenEffects, AnEffectEndsAfterItsRunTimeUnlessItLoops) {
  // Split from 0 to 6 in one tenth: one pixel a frame, over once past 6.
  cScrEffectRun run = Start(SCR_EFFECT_SPLIT_H, {1, 0, 6, 4});
  int frames = 0;
  while (run.nIndex != 0 && frames < 100) {
    DrawScreenEffect(run, m_View, 0);
    ++frames;
  }
  EXPECT_EQ(frames, 7);
  // The frame after the end is left alone.
  DrawFixtureFrame();
  const GoldenImage before = BackBufferPicture(640, 480);
  DrawScreenEffect(run, m_View, 0);
  EXPECT_EQ(BackBufferPicture(640, 480), before);

  cScrEffectRun looping = Start(SCR_EFFECT_SPLIT_H, {1, 0, 6, 4}, 1);
  for (int i = 0; i < 100; ++i) DrawScreenEffect(looping, m_View, 0);
  EXPECT_EQ(looping.nIndex, 1);
  EXPECT_LE(looping.dValue, 7);
}

TEST_F(ScreenEffects, TheShakeSwingsBetweenItsWidths) {
  // Run time 1 s, width 8, three swings: 8 x 3 x 4 / 60 = 1.6 pixels a frame.
  cScrEffectRun run = Start(SCR_EFFECT_SHAKE_H, {10, 8, 3});
  std::vector<double> positions;
  for (int i = 0; i < 12; ++i) {
    DrawScreenEffect(run, m_View, 0);
    positions.push_back(std::round(run.dSpare * 10) / 10);
  }
  EXPECT_EQ(positions, (std::vector<double>{1.6, 3.2, 4.8, 6.4, 8, 6.4, 4.8, 3.2, 1.6, 0, -1.6, -3.2}));
  int frames = 12;
  while (run.nIndex != 0 && frames < 200) {
    DrawScreenEffect(run, m_View, 0);
    ++frames;
    EXPECT_LE(std::abs(run.dSpare), 8);
  }
  EXPECT_NEAR(frames, 66, 1);  // the timer runs past 10 tenths
}

TEST_F(ScreenEffects, AZoomToDoubleShowsTheQuarterAroundTheHeroWithinTheFrame) {
  m_View.nCentreX = 600;
  m_View.nCentreY = 450;
  const GoldenImage frame = BackBufferPicture(640, 480);
  cScrEffectRun run = Start(SCR_EFFECT_ZOOM, {1, 1280, 1280});
  DrawScreenEffect(run, m_View, 1);
  const GoldenImage zoomed = BackBufferPicture(640, 480);
  EXPECT_EQ(zoomed.at(0, 0), frame.at(320, 240));
  EXPECT_EQ(zoomed.at(639, 479), frame.at(639, 479));
  EXPECT_EQ(zoomed.at(100, 100), frame.at(370, 290));

  // Shrunk to half in the middle of the backdrop; a negative width shows nothing.
  DrawFixtureFrame();
  cScrEffectRun half = Start(SCR_EFFECT_ZOOM, {1, 320, 320});
  DrawScreenEffect(half, m_View, 1);
  EXPECT_EQ(BackBufferPicture(640, 480).at(100, 100), Rgb(kBackdropColour));
  EXPECT_EQ(BackBufferPicture(640, 480).at(160 + 100, 120 + 100), frame.at(200, 200));
  DrawFixtureFrame();
  cScrEffectRun negative = Start(SCR_EFFECT_ZOOM, {1, -640, -640});
  DrawScreenEffect(negative, m_View, 0);
  EXPECT_EQ(BackBufferPicture(640, 480).at(320, 240), Rgb(kBackdropColour));
}

TEST_F(ScreenEffects, ACircleOfNoRadiusLeavesTheBackdrop) {
  for (int radius : {0, -50}) {
    DrawFixtureFrame();
    cScrEffectRun run = Start(SCR_EFFECT_CIRCLE, {1, radius, radius, 8});
    DrawScreenEffect(run, m_View, 1);
    const GoldenImage picture = BackBufferPicture(640, 480);
    for (int y = 0; y < 480; y += 7)
      for (int x = 0; x < 640; x += 7) ASSERT_EQ(picture.at(x, y), Rgb(kBackdropColour)) << radius;
  }
  // A huge radius shows the whole frame.
  DrawFixtureFrame();
  const GoldenImage frame = BackBufferPicture(640, 480);
  cScrEffectRun huge = Start(SCR_EFFECT_CIRCLE, {1, INT_MAX, INT_MAX, 8});
  DrawScreenEffect(huge, m_View, 1);
  EXPECT_EQ(BackBufferPicture(640, 480).at(5, 5), frame.at(5, 5));
}

TEST_F(ScreenEffects, ParametersThatWouldDivideByZeroOrGiveNegativeSizesAreClamped) {
  const struct {
    int kind;
    std::vector<int> params;
  } cases[] = {
      {SCR_EFFECT_MOVE, {0, 0, 0, 100, 100}},     // no run time
      {SCR_EFFECT_SHAKE_H, {0, 8, 3}},
      {SCR_EFFECT_SHAKE_V, {-3, INT_MAX, INT_MAX}},
      {SCR_EFFECT_SPLIT_H, {1, 0, 10, 0}},        // no parts
      {SCR_EFFECT_SPLIT_V, {1, 0, 10, -4}},
      {SCR_EFFECT_WAVE_H, {1, 0, 10, 2, 0}},      // bands of no lines
      {SCR_EFFECT_WAVE_V, {1, 0, 10, 2, -5}},
      {SCR_EFFECT_BLINK, {0, 0}},
      {SCR_EFFECT_ROTATE, {0, INT_MIN, INT_MAX}},
      {SCR_EFFECT_CIRCLE, {1, -100, 50, 0}},      // negative radius, no band
      {SCR_EFFECT_ZOOM, {0, -1000, 0}},
      {SCR_EFFECT_LENS, {1, -50, 10, INT_MAX, INT_MIN}},
      {SCR_EFFECT_MOSAIC, {1, 0, -20}},           // cells of no size
  };
  for (const auto& c : cases) {
    cScrEffectRun run = Start(c.kind, c.params);
    for (int i = 0; i < 8 && run.nIndex != 0; ++i) DrawScreenEffect(run, m_View, 0);
    EXPECT_TRUE(std::isfinite(run.dValue)) << c.kind;
    EXPECT_TRUE(std::isfinite(run.dSpare)) << c.kind;
    if (c.kind == SCR_EFFECT_MOVE) {
      EXPECT_GE(run.anState[0], 0);  // no run time: moves as over one tenth
      EXPECT_LE(run.anState[0], 100);
    }
  }
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(ScreenEffects, NoEffectOrKindZeroDrawsNothingAndNeverEnds) {
  const GoldenImage frame = BackBufferPicture(640, 480);
  cScrEffectRun none;
  DrawScreenEffect(none, m_View, 0);
  cScrEffectRun kindZero = Start(SCR_EFFECT_NONE, {1});
  for (int i = 0; i < 30; ++i) DrawScreenEffect(kindZero, m_View, 0);
  EXPECT_EQ(kindZero.nIndex, 1);
  EXPECT_EQ(BackBufferPicture(640, 480), frame);
}

TEST_F(ScreenEffects, ANumberOutsideTheDatabaseAsksToCloseAndDrawsNothing) {
  const GoldenImage frame = BackBufferPicture(640, 480);
  cScrEffectRun run = Start(SCR_EFFECT_MOSAIC, {1, 8, 8});
  run.nIndex = 77;
  DrawScreenEffect(run, m_View, 0);
  EXPECT_GE(CloseRequestCount(), 1);
  EXPECT_EQ(BackBufferPicture(640, 480), frame);
}

TEST(ScreenEffectView, TheHerosCentreOnTheScreen) {
  EXPECT_EQ(ScreenEffectViewOf(nullptr).nCentreX, 320);
  EXPECT_EQ(ScreenEffectViewOf(nullptr).nCentreY, 240);
  cGameObject hero;
  hero.m_SpriteRect.m_nLeft = 100;
  hero.m_SpriteRect.m_nTop = -10;
  hero.m_SpriteRect.m_nDrawW = 33;
  hero.m_SpriteRect.m_nDrawH = 64;
  const sScreenEffectView view = ScreenEffectViewOf(&hero);
  EXPECT_EQ(view.nCentreX, 116);
  EXPECT_EQ(view.nCentreY, 22);
}

}  // namespace
