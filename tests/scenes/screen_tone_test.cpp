// The screen tone: the ramp of its strength, full tint held, flashes that
// repeat and stop, returns (ignored when nothing is tinted), paused frames,
// intensities and durations out of range, on Direct3D (the back buffer
// tinted), at 8 bits (the palette blended) and in the other modes (no tone).
#include "scenes/stage/screen_tone.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "graphics/blit.h"
#include "support/fixture_frame.h"
#include "support/graphics_device.h"

namespace {

using Params = std::int32_t[8];

cScreenTone Started(const Params& p) {
  cScreenTone tone;
  tone.Start(p);
  return tone;
}

std::vector<int> Strengths(cScreenTone& tone, int frames) {
  std::vector<int> out;
  for (int i = 0; i < frames; ++i) {
    tone.Update(0);
    out.push_back(tone.m_bRunning ? tone.m_nStrength : -1);
  }
  return out;
}

TEST(ScreenToneDirect3D, RampsInOverItsDurationAndHoldsTheTint) {
  StartedGraphicsMode mode("D3D32");
  const Params p = {255, 0, 0, 100, 0, 1, 0, 0};  // 6 frames to full red
  cScreenTone tone = Started(p);
  EXPECT_EQ(Strengths(tone, 8), (std::vector<int>{255, 212, 170, 127, 85, 42, 0, 0}));
  DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, 77);
  tone.Update(0);
  EXPECT_TRUE(tone.m_bRunning) << "a tone stays until it is returned";
  EXPECT_EQ(BackBufferPicture(640, 480).at(320, 240), 0xFF0000u);
}

TEST(ScreenToneDirect3D, IntensityIsKeptWithinAHundredPercent) {
  StartedGraphicsMode mode("D3D32");
  for (int intensity : {250, INT_MAX, -40}) {
    const Params p = {0, 0, 255, intensity, 0, 0, 0, 0};
    cScreenTone tone = Started(p);
    tone.Update(0);
    EXPECT_EQ(tone.m_nStrength, intensity > 0 ? 0 : 255) << intensity;
    // A tone of no intensity ends once its time is up.
    EXPECT_EQ(tone.m_bRunning, intensity > 0 ? 1 : 0) << intensity;
  }
}

TEST(ScreenToneDirect3D, AFlashRepeatsItsCountAndStops) {
  StartedGraphicsMode mode("D3D32");
  for (int count : {1, 3}) {
    const Params p = {255, 255, 255, 100, 0, 1, 1, count};
    cScreenTone tone = Started(p);
    int frames = 0;
    while (tone.m_bRunning && frames < 1000) {
      tone.Update(0);
      ++frames;
    }
    EXPECT_EQ(frames, count * 7) << count;  // six frames of ramp and the frame that clears it
    EXPECT_EQ(tone.m_nStrength, 255);
  }
}

TEST(ScreenToneDirect3D, AReturnRampsBackFromTheToneInForce) {
  StartedGraphicsMode mode("D3D32");
  const Params ignored = {1, 2, 3, 50, 1, 1, 0, 0};
  cScreenTone tone = Started(ignored);
  EXPECT_FALSE(tone.m_bRunning) << "nothing tinted: the return is ignored";

  const Params half = {0, 255, 0, 50, 0, 0, 0, 0};
  tone.Start(half);
  tone.Update(0);
  EXPECT_EQ(tone.m_nStrength, 127);
  const Params back = {9, 9, 9, 9, 1, 1, 0, 0};
  tone.Start(back);
  EXPECT_EQ(tone.m_nGreen, 255) << "the return keeps the tone's colour";
  EXPECT_EQ(Strengths(tone, 8), (std::vector<int>{127, 148, 169, 191, 212, 233, -1, -1}));
}

TEST(ScreenToneDirect3D, APausedFrameDrawsWithoutAdvancing) {
  StartedGraphicsMode mode("D3D32");
  const Params p = {255, 0, 0, 100, 0, 1, 0, 0};
  cScreenTone tone = Started(p);
  tone.Update(0);
  tone.Update(0);
  for (int i = 0; i < 5; ++i) tone.Update(1);
  EXPECT_EQ(tone.m_nFrame, 2);
  EXPECT_EQ(tone.m_nStrength, 170);
}

TEST(ScreenToneDirect3D, DurationsOutOfRange) {
  StartedGraphicsMode mode("D3D32");
  const Params negative = {255, 0, 0, 100, 0, -5, 0, 0};
  EXPECT_EQ(Started(negative).m_nDuration, 0);
  const Params huge = {255, 0, 0, 100, 0, INT_MAX, 0, 0};
  cScreenTone tone = Started(huge);
  EXPECT_EQ(tone.m_nDuration, INT_MAX);
  tone.m_nFrame = INT_MAX;
  tone.Update(0);
  EXPECT_EQ(tone.m_nFrame, INT_MAX) << "a held tone does not wrap its counter";
  EXPECT_EQ(tone.m_nStrength, 0);
}

TEST(ScreenTonePalette, BlendsTheShownPaletteAndReturnsToTheLoadedOne) {
  StartedGraphicsMode mode("DD8");
  const Params ignored = {1, 2, 3, 50, 1, 0, 0, 0};
  cScreenTone tone = Started(ignored);
  EXPECT_FALSE(tone.m_bRunning);

  const Params blue = {0, 0, 255, 100, 0, 0, 0, 0};
  tone.Start(blue);
  tone.Update(0);
  EXPECT_FALSE(tone.m_bRunning) << "at 8 bits the palette keeps the tint";
  const platform::PALETTEENTRY& shown = g_lpDDPalette->Entries()[40];
  EXPECT_EQ(shown.peRed, 0);
  EXPECT_EQ(shown.peBlue, 255);

  const Params back = {0, 0, 0, 0, 1, 1, 0, 0};
  tone.Start(back);
  tone.Update(1);
  EXPECT_EQ(tone.m_nFrame, 0) << "paused: nothing at 8 bits";
  EXPECT_EQ(g_lpDDPalette->Entries()[40].peBlue, 255);
  while (tone.m_bRunning) tone.Update(0);
  for (int n : {0, 40, 255}) {
    EXPECT_EQ(g_lpDDPalette->Entries()[n].peRed, g_palCurrent[n].r) << n;
    EXPECT_EQ(g_lpDDPalette->Entries()[n].peGreen, g_palCurrent[n].g) << n;
    EXPECT_EQ(g_lpDDPalette->Entries()[n].peBlue, g_palCurrent[n].b) << n;
  }
}

TEST(ScreenTonePalette, AFlashEndsOnTheLoadedPalette) {
  StartedGraphicsMode mode("DD8");
  const Params p = {255, 255, 255, 100, 0, 1, 1, 2};
  cScreenTone tone = Started(p);
  int frames = 0;
  while (tone.m_bRunning && frames < 100) {
    tone.Update(0);
    ++frames;
  }
  EXPECT_EQ(frames, 14);
  EXPECT_EQ(g_lpDDPalette->Entries()[40].peRed, g_palCurrent[40].r);
}

TEST(ScreenToneOtherModes, StopsAtOnceWithoutDrawing) {
  StartedGraphicsMode mode("DD32");
  DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, 77);
  const GoldenImage before = BackBufferPicture(640, 480);
  const Params p = {255, 0, 0, 100, 0, 0, 0, 0};
  cScreenTone tone = Started(p);
  tone.Update(0);
  EXPECT_FALSE(tone.m_bRunning);
  EXPECT_EQ(BackBufferPicture(640, 480), before);
}

// The frame after three of six frames of a tone toward orange at 60 %: the
// frame tinted in Direct3D, the shown palette blended at 8 bits.
class ScreenToneGolden : public testing::TestWithParam<const char*> {};

TEST_P(ScreenToneGolden, HalfWayToTheToneMatchesTheGolden) {
  StartedGraphicsMode mode(GetParam());
  const Params p = {255, 128, 0, 60, 0, 1, 0, 0};
  cScreenTone tone = Started(p);
  for (int frame = 0; frame < 4; ++frame) {
    DrawFixtureFrame();  // every frame is drawn anew before its tone
    tone.Update(0);
  }
  EXPECT_EQ(tone.m_nStrength, 178);
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(640, 480), std::string("tone/half_way_") + GetParam()));
}

INSTANTIATE_TEST_SUITE_P(At32And8Bits, ScreenToneGolden, testing::Values("D3D32", "DD8"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
